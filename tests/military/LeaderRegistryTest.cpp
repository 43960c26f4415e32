// The leader registry's requests on the host, random leaders and monarchs,
// and the random leader names.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryTags.h"
#include "engine/Random.h"
#include "military/server/HostDispatcher.h"
#include "military/server/UnitRequests.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/TestSupport.h"
#include "tests/military/MilitaryBlockFixture.h"

namespace {

constexpr int32_t kCapital = 20;

class LeaderRegistryTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        AddCountry(std::make_unique<CCountry>(1));
        AddCountry(std::make_unique<CCountry>(2));
        CountryOfNumber(1)->m_capital = kCapital;
    }
    void TearDown() override {
        DeleteAllCountries();
        for (auto& list : g_randomLeaderNames)
            list.Clear();
        MilitaryBlockTest::TearDown();
    }

    template <class T> static T& Unit(uint32_t country, float size, int leaders = 0) {
        auto* unit = new T(CountryOfNumber(country));
        unit->AssignNewId();
        unit->SetLocation(kCapital);
        unit->SetStrength(2, size);
        for (int i = 0; i < leaders; ++i)
            unit->AttachLeader(&Spare());
        unit->GetOwner()->AddUnit(unit);
        return *unit;
    }
    // Leaders the units hold; they outlive the units.
    static CLeader& Spare() {
        static CLeader spares[16];
        static size_t next = 0;
        return spares[next++ % 16];
    }

    // The messages sent to the other machines since the last call.
    static std::vector<std::unique_ptr<COVEvent>> TakeSent() {
        std::vector<std::unique_ptr<COVEvent>> sent;
        g_scheduler.ForEachSend(
            [&sent](const COVEvent& event) { sent.push_back(std::make_unique<COVEvent>(event)); });
        g_scheduler.Clear();
        return sent;
    }
    static std::vector<uint32_t> Types(const std::vector<std::unique_ptr<COVEvent>>& events) {
        std::vector<uint32_t> types;
        for (const auto& event : events)
            types.push_back(event->GetType());
        return types;
    }

    static void Arrive(const ObjectId& leader) {
        COVDataEvent arrival(EVT_ARRIVE_LEADER, g_leaderRequestsId);
        arrival.Payload().Set(LeaderArrivalPayload::kLeader, leader);
        EXPECT_EQ(g_leaderRegistry->HandleEvent(arrival), 0);
    }

    // A historical leader of country 1 in the registry.
    CHistoricalLeader& Historical(int32_t category, uint32_t number) {
        auto leader = std::make_unique<CHistoricalLeader>();
        leader->SetId({kLeaderIdType, number});
        leader->category = category;
        leader->SetCountry(CountryOfNumber(1));
        g_leaderRegistry->SetSlot(number, leader.get());
        m_leaders.push_back(std::move(leader));
        return *m_leaders.back();
    }

    std::vector<std::unique_ptr<CHistoricalLeader>> m_leaders;
    test::ScopedGameDir m_folder;
};

TEST_F(LeaderRegistryTest, NamesArePerTagAndBadRowsAndTheTwoHundredFiftySeventhAreDropped) {
    const std::string eng = GetCountryTag(1);
    const std::string fra = GetCountryTag(2);
    std::string file =
        eng + ";Ann\r\n" + eng + ";Bob\r\nXYZ;Nobody\r\n" + eng + ";\r\n" + eng + ";Cid\r\n\r\n";
    for (int i = 0; i < 300; ++i)
        file += fra + ";Jean " + std::to_string(i) + "\r\n";
    m_folder.WriteFile("db/leaders/randomleaders.csv", file);
    ASSERT_TRUE(LoadRandomLeaderNames());
    EXPECT_EQ(g_randomLeaderNames[1].Items(), (std::vector<std::string>{"Ann", "Bob", "Cid"}));
    EXPECT_EQ(g_randomLeaderNames[2].GetCount(), 256);
    EXPECT_EQ(g_randomLeaderNames[2].Items().back(), "Jean 255");
    EXPECT_TRUE(g_randomLeaderNames[0].IsEmpty());

    struct Case {
        uint32_t country;
        int32_t seed;
        std::string name;
    };
    const Case cases[] = {
        {1, 7, "Bob"},  // 7 mod 3 = 1
        {1, 3, "Ann"},  // 3 mod 3 = 0
        {1, -4, "Ann"}, // out of range: the first
        {3, 7, GetCountryDisplayName(3)},
        {500, 1, GetCountryDisplayName(500)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetRandomLeaderName(c.country, c.seed), c.name) << c.country << " " << c.seed;

    // A file read again replaces the lists; a missing one leaves them empty.
    m_folder.WriteFile("db/leaders/randomleaders.csv", "");
    EXPECT_TRUE(LoadRandomLeaderNames());
    EXPECT_TRUE(g_randomLeaderNames[1].IsEmpty());
    std::filesystem::remove(m_folder.Path() / "db/leaders/randomleaders.csv");
    EXPECT_FALSE(LoadRandomLeaderNames());
    EXPECT_TRUE(BoxShown("excel file not found"));
}

// An arriving general joins the army with the best size for one more
// leader, size / (n x n + 1); an admiral the best fleet.
TEST_F(LeaderRegistryTest, AnArrivingLeaderJoinsTheUnitWithTheBestSizeRatio) {
    Unit<CLandUnit>(1, 10000, 1);                  // 5000
    CLandUnit& best = Unit<CLandUnit>(1, 6000);    // 6000
    Unit<CLandUnit>(1, 12000, 2);                  // 2400
    CLandUnit& tie = Unit<CLandUnit>(1, 6000);     // a tie: the first stays
    CNavalUnit& fleet = Unit<CNavalUnit>(1, 5, 1); // ships for admirals only
    Unit<CLandUnit>(2, 90000);                     // another country's

    struct Case {
        int32_t category;
        ObjectId unit;
    };
    const Case cases[] = {
        {LEADER_GENERAL, best.GetId()},
        // The general took command in the best army (6000 / 2 now).
        {LEADER_MONARCH, tie.GetId()},
        {LEADER_ADMIRAL, fleet.GetId()},
    };
    uint32_t number = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        CLeader& leader = Historical(c.category, number++);
        Arrive(leader.GetId());
        const auto sent = TakeSent();
        ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_ACTIVATE_LEADER}));
        EXPECT_EQ(sent[0]->GetReceiver(), MakeCountryId(1));
        EXPECT_EQ(sent[0]->Payload().Get(ActivateLeaderPayload::kUnit), c.unit);
        EXPECT_EQ(sent[0]->Payload().Get(ActivateLeaderPayload::kLeader), leader.GetId());
    }
}

// Conquistadors raise an army of their own; without a unit to join, every
// other land leader does too, and an admiral without a port gets nothing.
TEST_F(LeaderRegistryTest, AConquistadorRaisesANewArmyWhereItArrives) {
    Unit<CLandUnit>(1, 20000);
    CLeader& conquistador = Historical(LEADER_CONQUISTADOR, 40);
    Arrive(conquistador.GetId());
    auto sent = TakeSent();
    ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_CREATE_ARMY, EVT_ACTIVATE_LEADER}));
    EXPECT_EQ(sent[0]->Payload().Get(NewUnitHead::kProvince), static_cast<uint32_t>(kCapital));
    EXPECT_EQ(sent[0]->Payload().Get(COVArmyEvent::kInfantry), 1000u);
    EXPECT_EQ(sent[0]->Payload().Get(NewUnitHead::kCountry), MakeCountryId(1));
    EXPECT_EQ(sent[1]->Payload().Get(ActivateLeaderPayload::kUnit),
              sent[0]->Payload().Get(NewUnitHead::kUnit));

    DeleteAllCountries();
    AddCountry(std::make_unique<CCountry>(1));
    CountryOfNumber(1)->m_capital = kCapital;
    CLeader& general = Historical(LEADER_GENERAL, 41);
    general.SetCountry(CountryOfNumber(1));
    Arrive(general.GetId());
    EXPECT_EQ(Types(TakeSent()), (std::vector<uint32_t>{EVT_CREATE_ARMY, EVT_ACTIVATE_LEADER}));

    CLeader& admiral = Historical(LEADER_ADMIRAL, 42);
    admiral.SetCountry(CountryOfNumber(1));
    Arrive(admiral.GetId());
    EXPECT_TRUE(TakeSent().empty());

    // A leader of a country that is gone, or an id that names nothing.
    CHistoricalLeader orphan; // of no country
    orphan.SetId({kLeaderIdType, 43});
    g_leaderRegistry->SetSlot(43, &orphan);
    Arrive(orphan.GetId());
    Arrive({kLeaderIdType, 4999});
    Arrive({kLeaderIdType, 70000});
    EXPECT_TRUE(TakeSent().empty());
}

// The computer player hears of each leader that took up a command, with
// the country and the leader's category; not of one that found none.
TEST_F(LeaderRegistryTest, AnArrivalIsToldToTheComputerPlayer) {
    static std::vector<std::array<uint32_t, 3>> told;
    told.clear();
    const auto saved = g_countryAI.notifyListeners;
    g_countryAI.notifyListeners = [](uint32_t kind, uint32_t a, uint32_t b) {
        told.push_back({kind, a, b});
    };
    Arrive(Historical(LEADER_CONQUISTADOR, 60).GetId());
    Arrive(Historical(LEADER_EXPLORER, 61).GetId());
    // No port for an admiral: no command, nothing told.
    Arrive(Historical(LEADER_ADMIRAL, 62).GetId());
    g_countryAI.notifyListeners = saved;
    using Told = std::vector<std::array<uint32_t, 3>>;
    EXPECT_EQ(told, (Told{{kAINoticeLeaderArrived, 1, LEADER_CONQUISTADOR},
                          {kAINoticeLeaderArrived, 1, LEADER_EXPLORER}}));
}

TEST_F(LeaderRegistryTest, AtItsEndDateTheLeaderIsRemovedFromItsCountry) {
    CLeader& leader = Historical(LEADER_GENERAL, 50);
    // The kill runs here too and deletes the leader.
    const ObjectId id = leader.GetId();
    COVDataEvent replacement(EVT_REQUEST_REPLACEMENT_LEADER, g_leaderRequestsId);
    replacement.Payload().Set(ReplacementLeaderPayload::kCountry, 1u);
    replacement.Payload().Set(ReplacementLeaderPayload::kLeader, leader.GetId());
    g_leaderRegistry->HandleEvent(replacement);
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_KILL_LEADER}));
    EXPECT_EQ(sent[0]->GetReceiver(), MakeCountryId(1));
    EXPECT_EQ(sent[0]->Payload().Get(LeaderArrivalPayload::kLeader), id);

    // Nothing for a leader or a country that does not exist, nor on a
    // client.
    replacement.Payload().Set(ReplacementLeaderPayload::kLeader, ObjectId(kLeaderIdType, 51));
    g_leaderRegistry->HandleEvent(replacement);
    replacement.Payload().Set(ReplacementLeaderPayload::kLeader, id);
    replacement.Payload().Set(ReplacementLeaderPayload::kCountry, 99u);
    g_leaderRegistry->HandleEvent(replacement);
    BecomeClient();
    replacement.Payload().Set(ReplacementLeaderPayload::kCountry, 1u);
    g_leaderRegistry->HandleEvent(replacement);
    EXPECT_TRUE(TakeSent().empty());
}

// A unit without a leader asks for one: the new random leader is made
// known to the other machines and then takes command.
TEST_F(LeaderRegistryTest, ANewRandomLeaderIsMadeForAUnitWithoutOne) {
    g_randomLeaderNames[1].Add("Drake");
    CNavalUnit& fleet = Unit<CNavalUnit>(1, 4);
    CLandUnit& led = Unit<CLandUnit>(1, 4000, 1);
    COVDataEvent request(EVT_REQUEST_NEW_LEADER, g_leaderRequestsId);
    request.Payload().Set(NewLeaderRequestPayload::kCountry, 1u);
    request.Payload().Set(NewLeaderRequestPayload::kUnit, fleet.GetId());
    g_leaderRegistry->HandleEvent(request);
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_CREATE_LEADER, EVT_ACTIVATE_LEADER}));
    const COVEventData& made = sent[0]->Payload();
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kName), "Drake");
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kCategory), static_cast<uint32_t>(LEADER_ADMIRAL));
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kRank), 25u);
    // Country 1's sea leaders: manoeuvre 3, fire 1, shock 1, no siege.
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kManoeuvre), 3u);
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kFire), 1u);
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kShock), 1u);
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kSiege), 0u);
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kStartDate), kToday);
    EXPECT_EQ(made.Get(COVCreateLeaderEvent::kEndDate).year, kToday.year + 15);
    EXPECT_EQ(sent[1]->Payload().Get(ActivateLeaderPayload::kUnit), fleet.GetId());
    EXPECT_EQ(sent[1]->Payload().Get(ActivateLeaderPayload::kLeader),
              made.Get(COVCreateLeaderEvent::kLeader));
    EXPECT_NE(ResolveId(made.Get(COVCreateLeaderEvent::kLeader)), nullptr);

    // A unit that has a leader, a unit or a country that does not exist.
    request.Payload().Set(NewLeaderRequestPayload::kUnit, led.GetId());
    g_leaderRegistry->HandleEvent(request);
    request.Payload().Set(NewLeaderRequestPayload::kUnit, ObjectId(fleet.GetId().type, 999));
    g_leaderRegistry->HandleEvent(request);
    request.Payload().Set(NewLeaderRequestPayload::kUnit, fleet.GetId());
    request.Payload().Set(NewLeaderRequestPayload::kCountry, 77u);
    g_leaderRegistry->HandleEvent(request);
    // Nor for another country's unit.
    request.Payload().Set(NewLeaderRequestPayload::kCountry, 2u);
    g_leaderRegistry->HandleEvent(request);
    EXPECT_TRUE(TakeSent().empty());
}

// The successor's reign is complete, its end day and month drawn, before
// the message that makes it known to the other machines is built.
TEST_F(LeaderRegistryTest, ARandomMonarchsEndDateIsDrawnBeforeItIsAnnounced) {
    g_gameTimer->currentDate = CDate(0, 0, 1600); // day and month 0
    GameSrand(11);
    CCountry& country = *CountryOfNumber(1);
    auto reigning = std::make_unique<CMonarch>();
    reigning->GetLeader().SetId({kLeaderIdType, 60});
    country.m_monarch.reset(reigning.release());

    COVDataEvent request(EVT_REQUEST_REPLACEMENT_MONARCH, g_leaderRequestsId);
    request.Payload().Set(ReplacementMonarchPayload::kMonarch, ObjectId(kLeaderIdType, 60));
    request.Payload().Set(ReplacementMonarchPayload::kCountry, 1u);
    g_leaderRegistry->HandleEvent(request);

    ASSERT_TRUE(country.m_monarch);
    const CLeader& successor = country.m_monarch->GetLeader();
    EXPECT_EQ(successor.category, LEADER_MONARCH);
    ASSERT_FALSE(successor.endDate.day == 0 && successor.endDate.month == 0);
    const int years = successor.endDate.year - 1600;
    EXPECT_GE(years, 5);
    EXPECT_LE(years, 44);

    // Its own replacement is asked for at that date.
    int replacements = 0;
    g_scheduler.ForEachEvent([&](COVEvent* event) {
        if (event->GetType() != EVT_REQUEST_REPLACEMENT_MONARCH)
            return;
        ++replacements;
        EXPECT_EQ(event->GetReceiver(), g_leaderRequestsId);
        EXPECT_EQ(event->GetDueDate(), successor.endDate);
        EXPECT_EQ(event->Payload().Get(ReplacementMonarchPayload::kMonarch), successor.GetId());
        EXPECT_EQ(event->Payload().Get(ReplacementMonarchPayload::kCountry), 1u);
    });
    EXPECT_EQ(replacements, 1);
    // The announcement carries the end date the monarch holds.
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_CREATE_MONARCH}));
    EXPECT_EQ(sent[0]->GetReceiver(), MakeCountryId(1));
    EXPECT_EQ(sent[0]->Payload().Get(COVCreateMonarchEvent::kEndDate), successor.endDate);
    EXPECT_EQ(sent[0]->Payload().Get(COVCreateMonarchEvent::kLeader), successor.GetId());

    // A monarch id that is no longer the reigning one, or no such country.
    const CMonarch* now = country.m_monarch.get();
    g_leaderRegistry->HandleEvent(request);
    request.Payload().Set(ReplacementMonarchPayload::kMonarch, successor.GetId());
    request.Payload().Set(ReplacementMonarchPayload::kCountry, 3u);
    g_leaderRegistry->HandleEvent(request);
    EXPECT_EQ(country.m_monarch.get(), now);
    EXPECT_TRUE(TakeSent().empty());
}

// The host's dispatcher hands the leader requests to the registry and the
// unit requests to their handler.
class RoutingDispatcher : public CHostDispatcher {
public:
    int DispatchHostRequest(COVEvent& event) override {
        const uint32_t category = event.GetReceiver().number;
        if (category == g_leaderRequestsId.number && g_leaderRegistry)
            return g_leaderRegistry->HandleEvent(event);
        if (category == 1 || category == g_unitRequestsId.number)
            return HandleUnitRequest(event);
        return EVENT_NOT_HANDLED;
    }
};

// A leader read from a scenario arrives on its start date and goes on its
// end date, by the messages the registry scheduled for itself.
TEST_F(LeaderRegistryTest, ALeaderArrivesAtItsStartDateAndIsRemovedAtItsEndDate) {
    RoutingDispatcher dispatcher;
    CHostDispatcher* kept = g_hostDispatcher;
    g_hostDispatcher = &dispatcher;
    Unit<CLandUnit>(1, 5000); // the army the general joins
    CHistoricalLeader leader;
    leader.SetId({kLeaderIdType, 70});
    leader.SetCountry(CountryOfNumber(1));
    leader.startDate = CDate(0, 6, 1600);
    leader.endDate = CDate(14, 2, 1603);
    g_leaderRegistry->AddLeader(&leader);

    const auto runUntil = [](const CDate& date) {
        g_gameTimer->currentDate = date;
        g_scheduler.RunDue();
        std::vector<uint32_t> types;
        g_scheduler.ForEachSend(
            [&types](const COVEvent& event) { types.push_back(event.GetType()); });
        g_scheduler.FlushSend();
        return types;
    };
    EXPECT_TRUE(runUntil(CDate(29, 5, 1600)).empty());
    EXPECT_EQ(runUntil(CDate(0, 6, 1600)), (std::vector<uint32_t>{EVT_ACTIVATE_LEADER}));
    EXPECT_TRUE(runUntil(CDate(13, 2, 1603)).empty());
    EXPECT_EQ(runUntil(CDate(14, 2, 1603)), (std::vector<uint32_t>{EVT_KILL_LEADER}));
    g_hostDispatcher = kept;
}

} // namespace
