// The country's handlers of game events and missions, lost battles and
// sieges, the change of religion, improvements and cancelled
// constructions, white peace, merged wars and new peace offers, and the
// interface sounds of the handlers, each driven through a message handed
// to the country on the host (or a client).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/CountryAI.h"
#include "country/CountryMilitary.h"
#include "country/CountryMissions.h"
#include "country/Ledger.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "tests/engine/DirectSoundSupport.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/GameNotices.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr int32_t kFirstProvince = 640;
constexpr int32_t kProvinces = 4;
constexpr uint32_t kBattle = 2;
constexpr uint32_t kMissions = 6;

std::vector<GameNotice> g_notices;

// The missions and game events of the test, standing in for the game
// dialogs' objects.
struct FakeMissions {
    std::map<uint32_t, MissionFacts> missions; // by id number
    std::map<uint32_t, CDate> deadlines;
    std::vector<uint32_t> deleted;
    bool offer = false;
    MissionValues offered;
    std::vector<std::pair<uint32_t, MissionValues>> taken; // country, values
    std::map<uint32_t, GameEventFacts> events;             // by id number
};
FakeMissions* g_fake = nullptr;

// The host's requests (their type and first alliance value), recorded in
// place of the request dispatcher above the countries.
std::vector<std::pair<uint32_t, uint32_t>> g_requests;
class RequestRecorder : public CEventHandler {
public:
    int HandleEvent(COVEvent& event) override {
        g_requests.emplace_back(event.GetType(), event.Payload().Get(COVAllianceEvent::kFirst));
        return EVENT_CONSUMED;
    }
};
RequestRecorder g_requestRecorder;

class EventHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
        g_notices.clear();
        g_requests.clear();
        m_notices = g_gameNotices;
        m_missions = g_countryMissions;
        g_gameNotices.post = [](const GameNotice& notice) { g_notices.push_back(notice); };
        g_fake = &fake;
        g_countryMissions.findMission = [](const ObjectId& id, MissionFacts& facts) {
            const auto found = g_fake->missions.find(id.number);
            if (found == g_fake->missions.end())
                return false;
            facts = found->second;
            return true;
        };
        g_countryMissions.setDeadline = [](const ObjectId& id, const CDate& date) {
            g_fake->deadlines[id.number] = date;
        };
        g_countryMissions.requestMission = [](CCountry&, int32_t kind, MissionValues& values) {
            values = g_fake->offered;
            values.kind = kind;
            return g_fake->offer;
        };
        g_countryMissions.takeMission = [](CCountry& country, const MissionValues& values) {
            g_fake->taken.emplace_back(country.GetNumber(), values);
        };
        g_countryMissions.deleteMission = [](const ObjectId& id) {
            g_fake->deleted.push_back(id.number);
        };
        g_countryMissions.findGameEvent = [](const ObjectId& id, GameEventFacts& facts) {
            const auto found = g_fake->events.find(id.number);
            if (found == g_fake->events.end())
                return false;
            facts = found->second;
            return true;
        };
        g_sound = &sound;
        ResetProvinces();
    }
    void TearDown() override {
        g_sound = nullptr;
        FreeTerritories();
        ResetProvinces();
        g_countryMissions = m_missions;
        g_gameNotices = m_notices;
        g_fake = nullptr;
        g_peaceOffers.clear();
        g_wars.clear();
        g_alliances.clear();
        EconomyTest::TearDown();
    }

    static void ResetProvinces() {
        for (int32_t id = kFirstProvince; id < kFirstProvince + kProvinces; ++id) {
            CProvince& province = *GetProvince(id);
            province.ResetForGame();
            province.GetConstructions().Clear();
            province.terrain = 0;
            province.name = "Province " + std::to_string(id);
        }
    }

    static CCity* PlaceCity(CCountry& country, int32_t id, float population) {
        CProvince& province = *GetProvince(id);
        province.SetOwner(&country);
        province.SetControllerField(&country);
        auto city = std::make_unique<CCity>();
        city->SetProvinceId(id);
        city->SetPopulation(population);
        CCity* placed = city.get();
        province.SetCity(std::move(city));
        country.m_cities.AddTail(placed);
        return placed;
    }

    // Country n played by a human at this machine.
    CCountry& MakeHuman(uint32_t n) {
        g_countryController[n] = 1;
        return Make(n);
    }

    static int Send(CCountry& country, COVEvent& event) { return country.HandleMessage(event); }

    static float Points(const CCountry& country, uint32_t category) {
        return country.m_baseVp.values[category];
    }
    static float Relation(uint32_t a, uint32_t b) {
        return CountryOfNumber(a)->m_diplomacy.GetRelation(b)->GetValue();
    }

    static std::vector<int32_t> NoticeKinds() {
        std::vector<int32_t> kinds;
        for (const GameNotice& notice : g_notices)
            kinds.push_back(notice.type);
        return kinds;
    }

    // The queued messages of the type.
    std::vector<COVEvent*> QueuedOfType(uint32_t type) const {
        std::vector<COVEvent*> found;
        for (COVEvent* event : Queued())
            if (event->GetType() == type)
                found.push_back(event);
        return found;
    }

    static COVDataEvent MissionMessage(uint32_t type, const CCountry& country, uint32_t mission) {
        COVDataEvent event(type, country.GetId());
        event.Payload().Set(MissionPayload::kDate, GetGameDate());
        event.Payload().Set(MissionPayload::kMission, ObjectId(4712, mission));
        return event;
    }

    // A war of the attackers against the defenders, everyone at war with
    // everyone of the other side.
    CWar& War(std::vector<uint32_t> attackers, std::vector<uint32_t> defenders, uint32_t number) {
        auto war = std::make_unique<CWar>();
        war->id = ObjectId(4712, number);
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->Init();
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->id = ObjectId(4712, number + 1);
        war->attackers->participants = attackers;
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->Init();
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->id = ObjectId(4712, number + 2);
        war->defenders->participants = defenders;
        for (uint32_t a : attackers)
            for (uint32_t d : defenders) {
                CountryOfNumber(a)->SetAtWarWith(d);
                CountryOfNumber(d)->SetAtWarWith(a);
            }
        g_wars.push_back(std::move(war));
        RebuildDiplomaticStatus();
        return *g_wars.back();
    }

    FakeMissions fake;
    soundtest::RecordingOutput output;
    soundtest::CountingSound sound;
    GameNoticeHooks m_notices;
    CountryMissionHooks m_missions;
};

// --- game events ---

// Random and historical events tell the player at this machine and are
// archived with the message's date; another kind, or an unknown event, is
// neither told nor archived; a computer's country archives silently.
TEST_F(EventHandlersTest, GameEventIsToldByItsKindAndArchived) {
    struct Case {
        const char* name;
        int32_t kind; // 0: no such event
        bool human;
        std::vector<int32_t> notices;
        bool archived;
    };
    const Case cases[] = {
        {"random", 1, true, {4}, true},     {"historical", 2, true, {6}, true},
        {"other kind", 3, true, {}, false}, {"unknown", 0, true, {}, false},
        {"computer's", 1, false, {}, true},
    };
    CDate due(3, 4, 1560);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_notices.clear();
        fake.events.clear();
        if (c.kind != 0)
            fake.events[21] = GameEventFacts{c.kind, "Plague", "The plague strikes", "-2"};
        CCountry& country = c.human ? MakeHuman(3) : Make(3);
        COVDataEvent event(EVT_EXECUTE_EVENT, country.GetId());
        event.SetDueDate(due);
        event.Payload().Set(ExecuteEventPayload::kEvent, ObjectId(7, 21));
        event.Payload().Set(ExecuteEventPayload::kSubject, country.GetId());
        Send(country, event);
        EXPECT_EQ(NoticeKinds(), c.notices);
        if (!c.notices.empty()) {
            EXPECT_EQ(g_notices[0].values,
                      (std::vector<NoticeArg>{"Plague", "The plague strikes", "-2"}));
        }
        std::vector<DatedId> archived;
        country.m_archivedEvents.ForEach([&archived](DatedId entry) { archived.push_back(entry); });
        const std::vector<DatedId> expected =
            c.archived ? std::vector<DatedId>{{due, ObjectId(7, 21)}} : std::vector<DatedId>{};
        EXPECT_EQ(archived, expected);
        DeleteAllCountries();
        g_countryController.fill(0);
    }
}

// --- missions ---

TEST_F(EventHandlersTest, ActivatedMissionRunsForItsDurationInAFreeSlot) {
    CCountry& country = Make(4);
    fake.missions[31] = MissionFacts{2, CDate(0, 6, 1), 10.0f, 4.0f};
    COVDataEvent event = MissionMessage(EVT_MISSION_ACTIVATED, country, 31);
    Send(country, event);
    EXPECT_EQ(fake.deadlines[31], GetGameDate().Plus(CDate(0, 6, 1)));
    EXPECT_EQ(country.m_activeMissionCount, 1u);
    EXPECT_EQ(country.m_activeMissionIds[0], ObjectId(4712, 31));

    // A mission nobody knows takes no slot.
    COVDataEvent unknown = MissionMessage(EVT_MISSION_ACTIVATED, country, 99);
    Send(country, unknown);
    EXPECT_EQ(country.m_activeMissionCount, 1u);
}

// A mission that ends counts its reward or penalty, leaves its slot and is
// deleted on every machine; only the host asks for the next one of its kind.
TEST_F(EventHandlersTest, EndedMissionIsDeletedEverywhereButReplacedOnlyByTheHost) {
    struct Case {
        const char* name;
        uint32_t type;
        bool client;
        float points;
    };
    const Case cases[] = {
        {"completed on the host", EVT_MISSION_COMPLETED, false, 10.0f},
        {"failed on the host", EVT_MISSION_FAILED, false, -4.0f},
        {"completed on a client", EVT_MISSION_COMPLETED, true, 10.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.client)
            BecomeClient();
        g_scheduler.Clear();
        fake.deleted.clear();
        fake.missions[31] = MissionFacts{7, CDate(0, 6, 1), 10.0f, 4.0f};
        CCountry& country = Make(4);
        country.AddActiveMission(ObjectId(4712, 31));
        COVDataEvent event = MissionMessage(c.type, country, 31);
        Send(country, event);
        EXPECT_FLOAT_EQ(Points(country, kMissions), c.points);
        EXPECT_EQ(country.m_activeMissionCount, 0u);
        EXPECT_EQ(fake.deleted, std::vector<uint32_t>{31});
        const std::vector<COVEvent*> requests = QueuedOfType(EVT_REQUEST_NEW_MISSION);
        if (c.client) {
            EXPECT_TRUE(requests.empty());
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0]->GetReceiver(), country.GetId());
            EXPECT_EQ(requests[0]->Payload().Get(RequestMissionPayload::kKind), 7);
        }
        DeleteAllCountries();
    }
}

TEST_F(EventHandlersTest, NewMissionFromTheTableIsPostedToAllMachinesAndTaken) {
    CCountry& country = Make(6);
    fake.offer = true;
    fake.offered.goals = {640, 2, 90};
    fake.offered.date = CDate(1, 1, 1600);
    fake.offered.id = ObjectId(4712, 55);
    COVDataEvent request(EVT_REQUEST_NEW_MISSION, country.GetId());
    request.Payload().Set(RequestMissionPayload::kKind, 3);
    Send(country, request);
    const std::vector<COVEvent*> taken = QueuedOfType(EVT_UNNAMED_191);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0]->GetSendFlag(), 1);
    const COVEventData& payload = taken[0]->Payload();
    EXPECT_EQ(payload.Get(MissionTakenPayload::kKind), 3);
    EXPECT_EQ(payload.Get(MissionTakenPayload::kGoals[2]), 90u);
    EXPECT_EQ(payload.Get(MissionTakenPayload::kMission), ObjectId(4712, 55));
    EXPECT_EQ(payload.Get(MissionTakenPayload::kCountry), 6u);

    // The message, when it runs, hands the values to the mission and files
    // the mission in the country's history.
    Send(country, *taken[0]);
    ASSERT_EQ(fake.taken.size(), 1u);
    EXPECT_EQ(fake.taken[0].first, 6u);
    EXPECT_EQ(fake.taken[0].second.goals, (std::array<uint32_t, 3>{640, 2, 90}));
    std::vector<DatedId> history;
    country.m_archivedMissions.ForEach([&history](DatedId entry) { history.push_back(entry); });
    EXPECT_EQ(history, (std::vector<DatedId>{{GetGameDate(), ObjectId(4712, 55)}}));

    // No mission from the table, or a kind outside 0..10: nothing is posted.
    g_scheduler.Clear();
    fake.offer = false;
    Send(country, request);
    fake.offer = true;
    request.Payload().Set(RequestMissionPayload::kKind, 11);
    Send(country, request);
    EXPECT_TRUE(QueuedOfType(EVT_UNNAMED_191).empty());
}

// --- lost battles and sieges ---

TEST_F(EventHandlersTest, LostBattleCostsPointsAndSoundsByTheSea) {
    struct Case {
        const char* name;
        bool scores;
        bool sea;
        bool human;
        float points;
        std::vector<uint32_t> sounds;
    };
    const Case cases[] = {
        {"scored on land", true, false, true, -3.0f, {17}},
        {"unscored at sea", false, true, true, -0.5f, {19}},
        {"computer's", true, true, false, -3.0f, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCountry& country = c.human ? MakeHuman(2) : Make(2);
        GetProvince(kFirstProvince)->terrain = c.sea ? kFirstSeaProvinceType : 0;
        const size_t before = sound.Plays().size();
        COVProvinceBattleEvent event(EVT_PROVBATTLELOST, country.GetId(), {5});
        event.Payload().Set(COVCountedEvent::kFirstValue, static_cast<uint32_t>(kFirstProvince));
        event.Payload().Set(COVCountedEvent::kSecondValue, c.scores ? 1u : 0u);
        Send(country, event);
        EXPECT_FLOAT_EQ(Points(country, kBattle), c.points);
        const std::vector<uint32_t> plays = sound.Plays();
        EXPECT_EQ(
            std::vector<uint32_t>(plays.begin() + static_cast<ptrdiff_t>(before), plays.end()),
            c.sounds);
        DeleteAllCountries();
        g_countryController.fill(0);
    }
}

TEST_F(EventHandlersTest, LostSiegeCostsTheCitySizeAndOne) {
    CCountry& loser = Make(2);
    CCountry& owner = Make(3);
    const CCity* city = PlaceCity(owner, kFirstProvince, 12000.0f);
    COVProvinceBattleEvent event(EVT_PROVSIEGELOST, loser.GetId(), {3});
    event.Payload().Set(COVCountedEvent::kFirstValue, static_cast<uint32_t>(kFirstProvince));
    Send(loser, event);
    EXPECT_FLOAT_EQ(Points(loser, kBattle), -(static_cast<float>(city->GetSizeLevel()) + 1.0f));

    // A province outside the map changes nothing.
    event.Payload().Set(COVCountedEvent::kFirstValue, 5000u);
    Send(loser, event);
    EXPECT_FLOAT_EQ(Points(loser, kBattle), -(static_cast<float>(city->GetSizeLevel()) + 1.0f));
}

// --- religion ---

// A catholic country turning protestant: co-religionists of its old faith
// (the counter-reformed among them) cool by 100, those of the new faith
// warm by 50, the rest stay; it leaves the alliances it shares with
// catholics; it takes 25 a province; its tolerances become protestant.
TEST_F(EventHandlersTest, ReligionChangeMovesRelationsByFaith) {
    struct Other {
        uint32_t number;
        uint32_t religion;
        float change;
    };
    const Other others[] = {{11, RELIGION_CATHOLIC, -100.0f},
                            {12, RELIGION_COUNTERREFORM, -100.0f},
                            {13, RELIGION_PROTESTANT, 50.0f},
                            {14, RELIGION_ORTHODOX, 0.0f}};
    const auto dispatcher = g_directReceivers.hostDispatcher;
    g_directReceivers.hostDispatcher = []() -> CEventHandler* { return &g_requestRecorder; };
    CCountry& country = MakeHuman(10);
    country.m_religion = GetDefaultTolerances(RELIGION_CATHOLIC);
    country.SetStability(3);
    for (const Other& other : others)
        Make(other.number).m_religion = GetDefaultTolerances(other.religion);
    for (int32_t id = kFirstProvince; id < kFirstProvince + 2; ++id)
        country.m_ownedProvinces.AddTail(id);
    auto alliance = std::make_unique<CAlliance>();
    alliance->Init();
    alliance->id = ObjectId(4712, 77);
    alliance->type = ALLIANCE_MILITARY;
    alliance->participants = {10, 11};
    g_alliances.push_back(std::move(alliance));
    const float treasury = country.m_treasury;

    COVDataEvent event(EVT_EXEC_CHANGE_RELIGION, country.GetId());
    event.Payload().Set(ChangeReligionPayload::kCountry, 10u);
    event.Payload().Set(ChangeReligionPayload::kReligion,
                        static_cast<uint32_t>(RELIGION_PROTESTANT));
    Send(country, event);
    g_directReceivers.hostDispatcher = dispatcher;

    for (const Other& other : others) {
        SCOPED_TRACE(other.number);
        EXPECT_FLOAT_EQ(Relation(10, other.number), other.change);
        EXPECT_FLOAT_EQ(Relation(other.number, 10), other.change);
    }
    EXPECT_EQ(country.m_religion.stateReligion, static_cast<uint32_t>(RELIGION_PROTESTANT));
    EXPECT_EQ(country.m_religion.tolerance, GetDefaultTolerances(RELIGION_PROTESTANT).tolerance);
    EXPECT_EQ(country.m_changedReligion, 1);
    EXPECT_EQ(country.m_religiousChanges, 1);
    EXPECT_EQ(country.GetStability(), -2.0);
    EXPECT_FLOAT_EQ(country.m_treasury - treasury, 50.0f);
    ASSERT_EQ(g_requests.size(), 1u);
    EXPECT_EQ(g_requests[0].first, static_cast<uint32_t>(EVT_REQ_LEAVE_ALLIANCE));
    EXPECT_EQ(g_requests[0].second, 77u);
    EXPECT_EQ(NoticeKinds(), std::vector<int32_t>{134});
    EXPECT_EQ(g_notices[0].values.back(), NoticeArg(g_textDatabase.GetText("DECREASE")));
}

// A change to or from the counter-reformation costs no stability and moves
// no relation.
TEST_F(EventHandlersTest, CounterReformationChangeKeepsRelationsAndStability) {
    struct Case {
        uint32_t from;
        uint32_t to;
    };
    const Case cases[] = {{RELIGION_CATHOLIC, RELIGION_COUNTERREFORM},
                          {RELIGION_COUNTERREFORM, RELIGION_CATHOLIC}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        CCountry& country = Make(10);
        country.m_religion = GetDefaultTolerances(c.from);
        country.SetStability(2);
        Make(11).m_religion = GetDefaultTolerances(RELIGION_CATHOLIC);
        COVDataEvent event(EVT_EXEC_CHANGE_RELIGION, country.GetId());
        event.Payload().Set(ChangeReligionPayload::kReligion, c.to);
        Send(country, event);
        EXPECT_EQ(country.m_religion.stateReligion, c.to);
        EXPECT_EQ(country.GetStability(), 2.0);
        EXPECT_EQ(country.m_religiousChanges, 0);
        EXPECT_FLOAT_EQ(Relation(10, 11), 0.0f);
        EXPECT_EQ(NoticeKinds().back(), 133); // told to the player as another's
        DeleteAllCountries();
    }
}

// Every tenth year one change of religion is forgiven, never below none.
TEST_F(EventHandlersTest, ReligiousChangesFallOnEveryTenthYear) {
    struct Case {
        int32_t year;
        int32_t before;
        int32_t after;
    };
    const Case cases[] = {{1600, 2, 1}, {1601, 2, 2}, {1610, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        g_gameTimer->currentDate = CDate(1, 0, c.year);
        CCountry& country = Make(10);
        country.m_religiousChanges = c.before;
        COVTimerEvent year(EVT_TIMER_YEAR, country.GetId(), g_gameTimer->currentDate);
        Send(country, year);
        EXPECT_EQ(country.m_religiousChanges, c.after);
        DeleteAllCountries();
    }
}

// --- improvements and constructions ---

TEST_F(EventHandlersTest, ImprovementCostsItsPriceAndIsBuiltForItsMonths) {
    struct Case {
        uint32_t kind;
        int32_t months;
        float price; // at inflation 0.5
        int32_t construction;
    };
    const Case cases[] = {
        {0, 36, 1500.0f, CONSTRUCTION_SHIPYARD},   {1, 12, 375.0f, CONSTRUCTION_BARRACK},
        {2, 12, 75.0f, CONSTRUCTION_IMPROVEMENT},  {3, 1, 75.0f, CONSTRUCTION_IMPROVEMENT},
        {4, 24, 150.0f, CONSTRUCTION_IMPROVEMENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        g_scheduler.Clear();
        ResetProvinces();
        CCountry& country = Make(8);
        CCity* city = PlaceCity(country, kFirstProvince, 3000.0f);
        country.m_inflation = 0.5f;
        country.m_treasury = 2000.0f;
        COVImprovementEvent event(EVT_EXEC_START_BUILD_IMPROVEMENT, country.GetId(),
                                  {static_cast<uint32_t>(kFirstProvince), c.kind, 0, 0, 8});
        Send(country, event);
        CDate end = GetGameDate();
        end.AddMonths(c.months);
        EXPECT_FLOAT_EQ(country.m_treasury, 2000.0f - c.price);
        const CConstructionList& orders = GetProvince(kFirstProvince)->GetConstructions();
        ASSERT_EQ(orders.GetCount(), 1u);
        EXPECT_EQ(orders.GetOrder(0).GetKind(), c.construction);
        EXPECT_EQ(orders.GetOrder(0).endDate, end);
        EXPECT_EQ(city->dateCompleted, end);
        const std::vector<COVEvent*> finish = QueuedOfType(EVT_FINISH_BUILD_IMPROVEMENT);
        ASSERT_EQ(finish.size(), 1u);
        EXPECT_EQ(finish[0]->GetDueDate(), end);
        EXPECT_EQ(finish[0]->Payload().Get(COVImprovementEvent::kKind), c.kind);
        DeleteAllCountries();
    }
}

TEST_F(EventHandlersTest, ImprovementOutsideTheKindsOrWithoutCityDoesNothing) {
    CCountry& country = Make(8);
    PlaceCity(country, kFirstProvince, 3000.0f);
    country.m_treasury = 2000.0f;
    const std::array<uint32_t, 5> bad[] = {
        {static_cast<uint32_t>(kFirstProvince), 5, 0, 0, 8},
        {static_cast<uint32_t>(kFirstProvince + 1), 0, 0, 0, 8}, // no city
        {5000, 0, 0, 0, 8},
    };
    for (const auto& values : bad) {
        COVImprovementEvent event(EVT_EXEC_START_BUILD_IMPROVEMENT, country.GetId(), values);
        Send(country, event);
    }
    EXPECT_FLOAT_EQ(country.m_treasury, 2000.0f);
    EXPECT_TRUE(GetProvince(kFirstProvince)->GetConstructions().IsEmpty());
    EXPECT_TRUE(Queued().empty());
}

TEST_F(EventHandlersTest, ClientStartsTheImprovementButPostsNoCompletion) {
    BecomeClient();
    CCountry& country = Make(8);
    PlaceCity(country, kFirstProvince, 3000.0f);
    COVImprovementEvent event(EVT_EXEC_START_BUILD_IMPROVEMENT, country.GetId(),
                              {static_cast<uint32_t>(kFirstProvince), 2, 0, 0, 8});
    Send(country, event);
    EXPECT_EQ(GetProvince(kFirstProvince)->GetConstructions().GetCount(), 1u);
    EXPECT_TRUE(QueuedOfType(EVT_FINISH_BUILD_IMPROVEMENT).empty());
}

// A cancelled construction takes back the country's waiting message of the
// type its kind names, in its province only, and removes the order.
TEST_F(EventHandlersTest, CancelledConstructionTakesBackTheMessageOfItsKind) {
    struct Case {
        int32_t kind;
        uint32_t cancelled; // 0: none
    };
    const Case cases[] = {
        {CONSTRUCTION_FORTRESS, EVT_EXPAND_FORTRESS},
        {CONSTRUCTION_TRADING_POST, EVT_SEND_TRADER},
        {CONSTRUCTION_COLONY, EVT_SEND_COLONIST},
        {CONSTRUCTION_MANUFACTORY, EVT_BUILD_FACILITY},
        {CONSTRUCTION_SHIPYARD, EVT_FINISH_BUILD_IMPROVEMENT},
        {CONSTRUCTION_BARRACK, EVT_FINISH_BUILD_IMPROVEMENT},
        {CONSTRUCTION_IMPROVEMENT, EVT_FINISH_BUILD_IMPROVEMENT},
        {11, 0},
    };
    const uint32_t waitingTypes[] = {EVT_EXPAND_FORTRESS, EVT_SEND_TRADER, EVT_SEND_COLONIST,
                                     EVT_BUILD_FACILITY, EVT_FINISH_BUILD_IMPROVEMENT};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        g_scheduler.Clear();
        ResetProvinces();
        CCountry& country = Make(9);
        CCity* city = PlaceCity(country, kFirstProvince, 3000.0f);
        city->GetFortress().increase = 1;
        city->manufactory = 2;
        CDate end = GetGameDate();
        end.AddMonths(6);
        CConstructionOrder* order = ScheduleExpireConstruction(
            9, static_cast<uint32_t>(c.kind), static_cast<uint32_t>(kFirstProvince), end);
        ASSERT_NE(order, nullptr);
        const ObjectId id = order->GetId();
        for (uint32_t type : waitingTypes)
            for (int32_t province : {kFirstProvince, kFirstProvince + 1}) {
                auto waiting = std::make_unique<COVDataEvent>(type, country.GetId());
                // Every one of these types names its province first.
                waiting->Payload().Set(COVProvinceEvent::kProvince,
                                       static_cast<uint32_t>(province));
                PostEventAt(std::move(waiting), end);
            }
        COVDataEvent cancel(EVT_CANCEL_CONSTRUCTION, country.GetId());
        cancel.Payload().Set(CancelConstructionPayload::kOrder, id);
        Send(country, cancel);

        EXPECT_TRUE(GetProvince(kFirstProvince)->GetConstructions().IsEmpty());
        for (COVEvent* waiting : Queued()) {
            if (waiting->GetType() == EVT_EXPIRE_CONSTRUCTION)
                continue;
            const bool gone = waiting->GetType() == c.cancelled &&
                              waiting->Payload().Get(COVProvinceEvent::kProvince) ==
                                  static_cast<uint32_t>(kFirstProvince);
            EXPECT_EQ(waiting->GetReceiver().IsNull(), gone)
                << waiting->GetType() << " in "
                << waiting->Payload().Get(COVProvinceEvent::kProvince);
        }
        EXPECT_EQ(city->GetFortress().increase, c.kind == CONSTRUCTION_FORTRESS ? 0 : 1);
        EXPECT_EQ(city->manufactory,
                  c.kind == CONSTRUCTION_MANUFACTORY ? CCity::MANUFACTORY_NONE : 2);
        DeleteAllCountries();
    }
}

TEST_F(EventHandlersTest, CancelForAnUnknownConstructionDoesNothing) {
    CCountry& country = Make(9);
    CDate end = GetGameDate();
    end.AddMonths(6);
    ScheduleExpireConstruction(9, CONSTRUCTION_COLONY, static_cast<uint32_t>(kFirstProvince), end);
    auto waiting = std::make_unique<COVDataEvent>(EVT_SEND_COLONIST, country.GetId());
    waiting->Payload().Set(COVColonistEvent::kProvince, static_cast<uint32_t>(kFirstProvince));
    PostEventAt(std::move(waiting), end);
    COVDataEvent cancel(EVT_CANCEL_CONSTRUCTION, country.GetId());
    cancel.Payload().Set(CancelConstructionPayload::kOrder, ObjectId(4712, 987654));
    Send(country, cancel);
    EXPECT_EQ(GetProvince(kFirstProvince)->GetConstructions().GetCount(), 1u);
    for (COVEvent* queued : Queued())
        EXPECT_FALSE(queued->GetReceiver().IsNull());
}

// A unit that is no CUnit: the country only hands its pointer to the
// military's hooks.
struct FakeUnit {
    uint32_t number = 0;
    bool fleet = false;
    int32_t province = 0;
};
std::vector<std::string> g_unitCalls;

// A cancelled army or fleet takes the country's units being built in the
// province off its second list; the computer player hears of each first.
TEST_F(EventHandlersTest, CancelledArmyOrFleetRemovesTheUnitsBeingBuiltThere) {
    const CountryMilitaryHooks military = g_countryMilitary;
    const CountryAIHooks ai = g_countryAI;
    const auto fake = [](const CUnit& unit) -> const FakeUnit& {
        return *reinterpret_cast<const FakeUnit*>(&unit);
    };
    g_countryMilitary.describeUnit = [](const CUnit& unit, UnitFacts& facts) {
        const auto& held = *reinterpret_cast<const FakeUnit*>(&unit);
        facts.fleet = held.fleet;
        facts.province = held.province;
    };
    g_countryMilitary.retireUnit = [](CUnit& unit) {
        g_unitCalls.push_back("retire " +
                              std::to_string(reinterpret_cast<FakeUnit*>(&unit)->number));
    };
    g_countryMilitary.deleteUnits = [](const std::vector<CUnit*>& units) {
        for (CUnit* unit : units)
            g_unitCalls.push_back("delete " +
                                  std::to_string(reinterpret_cast<FakeUnit*>(unit)->number));
    };
    g_countryAI.armyDeleted = [](CUnit& unit) {
        g_unitCalls.push_back("ai army " +
                              std::to_string(reinterpret_cast<FakeUnit*>(&unit)->number));
    };
    g_countryAI.fleetDeleted = [](CUnit& unit) {
        g_unitCalls.push_back("ai fleet " +
                              std::to_string(reinterpret_cast<FakeUnit*>(&unit)->number));
    };
    FakeUnit army{1, false, kFirstProvince};
    FakeUnit fleet{2, true, kFirstProvince};
    FakeUnit elsewhere{3, false, kFirstProvince + 1};
    for (int32_t kind : {CONSTRUCTION_ARMY, CONSTRUCTION_NAVY, CONSTRUCTION_NAVY_IN_SHIPYARD}) {
        SCOPED_TRACE(kind);
        g_unitCalls.clear();
        CCountry& country = Make(9);
        for (FakeUnit* unit : {&army, &fleet, &elsewhere})
            country.m_unitsInDevelopment.AddTail(reinterpret_cast<CUnit*>(unit));
        CDate end = GetGameDate();
        end.AddMonths(6);
        const ObjectId id = ScheduleExpireConstruction(9, static_cast<uint32_t>(kind),
                                                       static_cast<uint32_t>(kFirstProvince), end)
                                ->GetId();
        COVDataEvent cancel(EVT_CANCEL_CONSTRUCTION, country.GetId());
        cancel.Payload().Set(CancelConstructionPayload::kOrder, id);
        Send(country, cancel);
        EXPECT_EQ(g_unitCalls, (std::vector<std::string>{"ai army 1", "retire 1", "ai fleet 2",
                                                         "retire 2", "delete 1", "delete 2"}));
        std::vector<uint32_t> left;
        country.m_unitsInDevelopment.ForEach(
            [&left, &fake](CUnit* unit) { left.push_back(fake(*unit).number); });
        EXPECT_EQ(left, std::vector<uint32_t>{3});
        country.m_unitsInDevelopment.Remove(reinterpret_cast<CUnit*>(&elsewhere));
        DeleteAllCountries();
    }
    g_countryMilitary = military;
    g_countryAI = ai;
}

// --- wars and peace ---

TEST_F(EventHandlersTest, WhitePeaceEndsTheWarBetweenEveryPairAndRemovesIt) {
    for (bool playerFights : {true, false}) {
        SCOPED_TRACE(playerFights ? "player fights" : "player looks on");
        g_notices.clear();
        for (uint32_t n : {20u, 21u, 22u, 23u})
            (playerFights && n == 22 ? MakeHuman(n) : Make(n));
        CCountry& player = playerFights ? *CountryOfNumber(22) : MakeHuman(24);
        War({20, 21}, {22, 23}, 500);
        // 20 holds a province of 22, which goes back.
        CProvince& held = *GetProvince(kFirstProvince);
        held.SetOwner(CountryOfNumber(22));
        held.SetControllerField(CountryOfNumber(20));
        CountryOfNumber(20)->m_controlledProvinces.AddTail(kFirstProvince);
        const size_t before = sound.Plays().size();

        COVDataEvent event(EVT_WHITE_PEACE, player.GetId());
        event.Payload().Set(WhitePeacePayload::kWar, ObjectId(4712, 500));
        Send(player, event);

        EXPECT_TRUE(g_wars.empty());
        for (uint32_t a : {20u, 21u})
            for (uint32_t d : {22u, 23u}) {
                EXPECT_FALSE(CountryOfNumber(a)->IsHostileTo(d)) << a << " " << d;
                EXPECT_FALSE(CountryOfNumber(d)->IsHostileTo(a)) << d << " " << a;
            }
        EXPECT_EQ(held.GetControllerNumber(), 22);
        EXPECT_EQ(NoticeKinds(), std::vector<int32_t>{playerFights ? 96 : 97});
        const std::vector<uint32_t> plays = sound.Plays();
        EXPECT_EQ(
            std::vector<uint32_t>(plays.begin() + static_cast<ptrdiff_t>(before), plays.end()),
            playerFights ? std::vector<uint32_t>{55} : std::vector<uint32_t>{});
        FreeTerritories();
        ResetProvinces();
        DeleteAllCountries();
        g_countryController.fill(0);
    }
}

TEST_F(EventHandlersTest, WhitePeaceForAnUnknownWarChangesNothing) {
    Make(20);
    Make(22);
    War({20}, {22}, 500);
    COVDataEvent event(EVT_WHITE_PEACE, CountryOfNumber(20)->GetId());
    event.Payload().Set(WhitePeacePayload::kWar, ObjectId(4712, 501));
    Send(*CountryOfNumber(20), event);
    EXPECT_EQ(g_wars.size(), 1u);
    EXPECT_TRUE(CountryOfNumber(20)->IsHostileTo(22));
}

// The side that holds the named country joins the same side of the other
// war, its points against each enemy copied within 0..7.
TEST_F(EventHandlersTest, MergedWarKeepsScoresWithinZeroAndSeven) {
    for (uint32_t n : {30u, 31u, 32u, 33u, 34u})
        Make(n);
    CWar& into = War({30}, {32}, 600);
    CWar& from = War({31, 34}, {33}, 700);
    from.attackerScore.rows[31][33] = 9;
    from.attackerScore.rows[31][32] = -2;
    from.attackerScore.rows[34][33] = 4;
    COVMergeWarEvent event(EVT_MERGE_WAR, CountryOfNumber(30)->GetId(), {4712, 600, 4712, 700, 31});
    Send(*CountryOfNumber(30), event);
    EXPECT_EQ(into.attackers->participants, (std::vector<uint32_t>{30, 31, 34}));
    EXPECT_EQ(into.defenders->participants, (std::vector<uint32_t>{32}));
    EXPECT_EQ(into.attackerScore.rows[31][33], 7);
    EXPECT_EQ(into.attackerScore.rows[31][32], 0);
    EXPECT_EQ(into.attackerScore.rows[34][33], 4);

    // A country in neither side of the second war, or a war that does not
    // exist, merges nothing.
    const std::array<uint32_t, 5> bad[] = {
        {4712, 600, 4712, 700, 32}, {4712, 600, 4712, 999, 31}, {4712, 600, 4712, 600, 30}};
    for (const auto& values : bad) {
        COVMergeWarEvent wrong(EVT_MERGE_WAR, CountryOfNumber(30)->GetId(), values);
        Send(*CountryOfNumber(30), wrong);
    }
    EXPECT_EQ(into.attackers->participants.size(), 3u);
    EXPECT_EQ(into.defenders->participants.size(), 1u);
}

TEST_F(EventHandlersTest, PeaceOfferIsBuiltFromTheMessagesTerms) {
    Make(40);
    Make(41);
    COVPeaceOfferEvent event(EVT_EXEC_CREATE_PEACE_OFFER, CountryOfNumber(40)->GetId());
    COVEventData& payload = event.Payload();
    payload.Set(COVPeaceEvent::kOffer, ObjectId(4712, 808));
    payload.Set(COVPeaceEvent::kCountry, 40u);
    const auto term = [&payload](size_t index, uint32_t value) {
        payload.Set(COVPeaceOfferEvent::kTerms[index], value);
    };
    term(PeaceOfferTerms::kWarType, 4712);
    term(PeaceOfferTerms::kWarNumber, 500);
    term(PeaceOfferTerms::kTo, 41);
    term(PeaceOfferTerms::kDemanding, 1);
    term(PeaceOfferTerms::kProvinceCount, 2);
    term(PeaceOfferTerms::kProvinces, 640);
    term(PeaceOfferTerms::kProvinces + 1, 641);
    term(PeaceOfferTerms::kNewOwners, 40);
    term(PeaceOfferTerms::kNewOwners + 1, 0);
    term(PeaceOfferTerms::kCash, std::bit_cast<uint32_t>(250.0f));
    term(PeaceOfferTerms::kValue, static_cast<uint32_t>(-2));
    term(PeaceOfferTerms::kFlags, 0x01000100); // separate to, annexation
    Send(*CountryOfNumber(40), event);

    ASSERT_EQ(g_peaceOffers.size(), 1u);
    const CPeaceOffer& offer = *g_peaceOffers[0];
    EXPECT_EQ(offer.id, ObjectId(4712, 808));
    EXPECT_EQ(offer.war, ObjectId(4712, 500));
    EXPECT_EQ(offer.from, 40u);
    EXPECT_EQ(offer.to, 41u);
    EXPECT_EQ(offer.provinceCount, 2u);
    EXPECT_EQ(offer.provinces[1], 641u);
    EXPECT_EQ(offer.newOwners[0], 40u);
    EXPECT_FLOAT_EQ(offer.cash, 250.0f);
    EXPECT_EQ(offer.value, -2);
    EXPECT_EQ(offer.demanding, 1);
    EXPECT_EQ(offer.separateFrom, 0);
    EXPECT_EQ(offer.separateTo, 1);
    EXPECT_EQ(offer.isBetter, 0);
    EXPECT_EQ(offer.annexation, 1);
    EXPECT_EQ(offer.religion, 0);

    // The same offer again, four provinces, a province outside the map, or
    // a peer's payload of the short peace layout: refused.
    Send(*CountryOfNumber(40), event);
    payload.Set(COVPeaceEvent::kOffer, ObjectId(4712, 809));
    term(PeaceOfferTerms::kProvinceCount, 4);
    Send(*CountryOfNumber(40), event);
    term(PeaceOfferTerms::kProvinceCount, 1);
    term(PeaceOfferTerms::kProvinces, 5000);
    Send(*CountryOfNumber(40), event);
    COVPeaceEvent shortOffer(EVT_EXEC_CREATE_PEACE_OFFER, CountryOfNumber(40)->GetId(), 41,
                             ObjectId(4712, 810), 40);
    Send(*CountryOfNumber(40), shortOffer);
    EXPECT_EQ(g_peaceOffers.size(), 1u);

    // A peer's value and cash at the ends of their ranges are held as a
    // file's are, so that weighing the offer stays in range.
    payload.Set(COVPeaceEvent::kOffer, ObjectId(4712, 811));
    term(PeaceOfferTerms::kProvinces, 640);
    term(PeaceOfferTerms::kValue, 0x80000000u);
    term(PeaceOfferTerms::kCash, std::bit_cast<uint32_t>(3.0e38f));
    term(PeaceOfferTerms::kFlags, 0);
    Send(*CountryOfNumber(40), event);
    ASSERT_EQ(g_peaceOffers.size(), 2u);
    EXPECT_EQ(g_peaceOffers[1]->value, -CPeaceOffer::kValueLimit);
    EXPECT_FLOAT_EQ(g_peaceOffers[1]->cash, CPeaceOffer::kCashLimit);
    EXPECT_FALSE(g_peaceOffers[1]->IsAcceptable());
}

// --- the sounds of the other handlers ---

TEST_F(EventHandlersTest, HandlersPlayTheirSoundForThePlayerOnly) {
    struct Case {
        const char* name;
        std::function<void(CCountry&)> send;
        uint32_t effect;
    };
    const Case cases[] = {
        {"improvement built",
         [](CCountry& c) {
             COVImprovementEvent event(EVT_FINISH_BUILD_IMPROVEMENT, c.GetId(),
                                       {static_cast<uint32_t>(kFirstProvince), 1, 0, 0, 50});
             c.HandleMessage(event);
         },
         60},
        {"annexation declined",
         [](CCountry& c) {
             COVAnnexationEvent event(EVT_EXEC_DECLINE_ANNEXATION, c.GetId(), 50, 51);
             c.HandleMessage(event);
         },
         50},
        {"land battle won",
         [](CCountry& c) {
             COVProvinceBattleEvent event(EVT_PROVBATTLEWON, c.GetId(), {51});
             event.Payload().Set(COVCountedEvent::kFirstValue,
                                 static_cast<uint32_t>(kFirstProvince));
             c.HandleMessage(event);
         },
         16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool human : {true, false}) {
            ResetProvinces();
            CCountry& country = human ? MakeHuman(50) : Make(50);
            Make(51);
            PlaceCity(country, kFirstProvince, 3000.0f);
            const size_t before = sound.Plays().size();
            c.send(country);
            const std::vector<uint32_t> plays = sound.Plays();
            EXPECT_EQ(
                std::vector<uint32_t>(plays.begin() + static_cast<ptrdiff_t>(before), plays.end()),
                human ? std::vector<uint32_t>{c.effect} : std::vector<uint32_t>{});
            DeleteAllCountries();
            g_countryController.fill(0);
        }
    }
}

} // namespace
