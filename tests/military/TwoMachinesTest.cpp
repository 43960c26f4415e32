// Two machines of one network game, a host and a client, in this program
// over the loopback hub, play the generated world's known world of 1492 and
// hold the same world after two years. The host's clock decides the days
// (one day per message, as the clock sends them) and every roll of the host
// travels as a message; the client only follows what it receives.
//
// The world is the program's own global state, so the machines run one
// after the other: the host plays its two years and its messages wait in the
// hub's queues; then the world is started afresh as the client's, which
// takes the messages in the order they arrived. A follower that depends only
// on what it receives ends where the host ended, whenever it reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "country/Country.h"
#include "data/Keywords.h"
#include "data/WorldStateHash.h"
#include "engine/GameTimer.h"
#include "military/StartupTables.h"
#include "military/combat/Battle.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/Unit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "platform/Files.h"
#include "platform/Network.h"
#include "tests/TestSupport.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr const char* kScenario = "scenarios\\world_1492.ovg";
constexpr int kMonths = 24;
constexpr uint32_t kHostCountry = 1;
constexpr uint32_t kClientCountry = 2;

// One machine's end of the session: its network of the hub, the slot table
// of two players, this machine's slot and whether it hosts.
std::unique_ptr<CNetSession> MakeSession(std::unique_ptr<platform::net::Network> network,
                                         bool host) {
    auto session = std::make_unique<CNetSession>(std::move(network));
    session->m_active = 1;
    session->m_isHost = host ? 1 : 0;
    session->m_slotCount = 2;
    for (uint32_t i = 0; i < 2; ++i) {
        NetSlot& slot = session->GetSlot(i);
        slot.playerId = i + 1;
        slot.name = i == 0 ? "Host" : "Client";
        slot.country = static_cast<int32_t>(i == 0 ? kHostCountry : kClientCountry);
        slot.ready = slot.started = slot.present = 1;
    }
    session->m_localSlot = host ? 0 : 1;
    session->m_localPlayerId = session->GetNetwork()->LocalPlayer();
    return session;
}

class TwoMachinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        test::CopyDemoWorld(m_dir.Path());
        SetCountryTagSource(FindCountryTagOfNumber);

        // No time-outs and no flood limit: the client reads two years of
        // messages at once.
        platform::net::NetConfig config;
        config.port = 0;
        config.floodMessages = 0;
        config.floodBytes = 0;
        config.clock = [] { return uint64_t{0}; };
        auto hostNetwork = m_hub.CreateNetwork(config);
        auto clientNetwork = m_hub.CreateNetwork(config);
        platform::net::SessionDesc desc;
        desc.name = "Two machines";
        desc.maxPlayers = 2;
        ASSERT_TRUE(hostNetwork->Host(desc, "Host"));
        ASSERT_EQ(
            clientNetwork->Join("127.0.0.1:" + std::to_string(hostNetwork->Port()), 0, "Client"),
            platform::net::JoinResult::Joined);
        m_host = MakeSession(std::move(hostNetwork), true);
        m_client = MakeSession(std::move(clientNetwork), false);
    }

    void TearDown() override {
        StopGame();
        g_netSession = nullptr;
        m_client.reset();
        m_host.reset();
        SetCountryTagSource(nullptr);
    }

    // Starts the scenario as the main loop does on the machine: the slot's
    // country played here, the other one at the other machine.
    void StartGame(CNetSession& session) {
        g_netSession = &session;
        g_countryController.fill(0);
        const bool host = session.IsHost();
        g_countryController[kHostCountry] = host ? 1 : 2;
        g_countryController[kClientCountry] = host ? 2 : 1;
        g_gameType = 0;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
        g_scenario = std::make_unique<CScenario>(kScenario, 7);
        ASSERT_EQ(g_gameStarted, 1);
        // The clock starts at the scenario's first day.
        g_gameTimer->SetDate(g_globals.startDate);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }

    void StopGame() {
        g_scenario.reset();
        g_globals.Shutdown();
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_countryController.fill(0);
    }

    static int MonthsSince(const CDate& start) {
        const CDate now = g_gameTimer->GetDate();
        return (now.year - start.year) * 12 + (now.month - start.month);
    }

    // Keeps the saved game of a machine beside the test's output when the
    // machines differ, for a diff.
    static void KeepForDiff(const std::string& text, const char* name) {
        std::ofstream(std::filesystem::temp_directory_path() / name) << text;
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
    platform::net::LoopbackHub m_hub;
    std::unique_ptr<CNetSession> m_host;
    std::unique_ptr<CNetSession> m_client;
};

TEST_F(TwoMachinesTest, HostAndClientHoldTheSameWorldAfterTwoYears) {
    // The host: its clock sends a day at a time until two years have passed.
    StartGame(*m_host);
    const CDate start = g_gameTimer->GetDate();
    ASSERT_EQ(start.year, 1492) << (m_boxes.texts.empty() ? "" : m_boxes.texts.front());
    std::string startText;
    ASSERT_EQ(WriteGameToMemory(startText), FIELD_WRITTEN);
    int days = 0;
    while (MonthsSince(start) < kMonths && days < 800) {
        PostAndSendEventNow(std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 1));
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        ++days;
    }
    ASSERT_EQ(MonthsSince(start), kMonths);
    const CDate hostDate = g_gameTimer->GetDate();
    std::string hostText;
    ASSERT_EQ(WriteGameToMemory(hostText), FIELD_WRITTEN);
    const uint64_t hostHash = Fnv1a64(hostText);
    EXPECT_NE(hostHash, Fnv1a64(startText)) << "two years changed nothing";
    StopGame();

    // The client: the same scenario, then every message of the host in the
    // order it arrived.
    StartGame(*m_client);
    std::string clientStart;
    ASSERT_EQ(WriteGameToMemory(clientStart), FIELD_WRITTEN);
    if (clientStart != startText) {
        KeepForDiff(startText, "orvandel_host_start.ovg");
        KeepForDiff(clientStart, "orvandel_client_start.ovg");
    }
    EXPECT_EQ(Fnv1a64(clientStart), Fnv1a64(startText))
        << "the machines started from different worlds";
    platform::net::Message message;
    int received = 0;
    while (m_client->GetNetwork()->Receive(message)) {
        m_client->HandleNetworkMessage(message);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        received += message.kind == platform::net::MessageKind::Data;
    }
    EXPECT_GE(received, days);
    EXPECT_EQ(g_gameTimer->GetDate(), hostDate);
    std::string clientText;
    ASSERT_EQ(WriteGameToMemory(clientText), FIELD_WRITTEN);
    const uint64_t clientHash = Fnv1a64(clientText);
    if (clientHash != hostHash) {
        KeepForDiff(hostText, "orvandel_host.ovg");
        KeepForDiff(clientText, "orvandel_client.ovg");
    }
    EXPECT_EQ(WorldStateHashText(clientHash), WorldStateHashText(hostHash))
        << "saved games kept in " << std::filesystem::temp_directory_path().string();
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
}

} // namespace

namespace {

// A land (or sea) province two steps from the province, of the same kind;
// 0 when none.
int32_t TwoStepsAway(int32_t from) {
    const CProvince* start = GetProvince(from);
    if (!start || from < kFirstProvinceId)
        return 0;
    const bool sea = start->IsSea();
    for (int32_t i = 0; i < start->neighbourCount; ++i) {
        const CProvince* next = GetProvince(start->neighbours[static_cast<size_t>(i)].id);
        if (!next || next->IsSea() != sea)
            continue;
        for (int32_t j = 0; j < next->neighbourCount; ++j) {
            const int32_t id = next->neighbours[static_cast<size_t>(j)].id;
            const CProvince* far = GetProvince(id);
            if (far && id != from && far->IsSea() == sea && !start->IsNeighbour(id))
                return id;
        }
    }
    return 0;
}

// The host orders the first units of every country two provinces away;
// the orders go through the unit lists as a player's would.
int OrderCampaign() {
    int orders = 0;
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        std::vector<CUnit*> units;
        country->m_units.ForEach([&units](CUnit* unit) {
            if (units.size() < 3)
                units.push_back(unit);
        });
        for (CUnit* unit : units) {
            const int32_t destination = TwoStepsAway(unit->GetLocation());
            if (!destination)
                continue;
            CUnitList one;
            one.AddTail(unit);
            one.MoveTo(destination);
            ++orders;
        }
    }
    return orders;
}

// Runs what is due on this machine and sends what it queued.
void RunAndSend() {
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
}

// The other army of the owner in the army's province, the last in the
// owner's list; null when none.
CUnit* OtherArmyBeside(const CUnit& army) {
    CUnit* other = nullptr;
    army.GetOwner()->m_units.ForEach([&](CUnit* unit) {
        if (unit != &army && unit->IsArmy() && unit->GetLocation() == army.GetLocation())
            other = unit;
    });
    return other;
}

void RequestTransfer(uint32_t type, const CUnit& from, const CUnit& to, uint32_t amount) {
    auto request = std::make_unique<COVDataEvent>(type, g_unitRequestsId);
    request->Payload().Set(UnitTransferRequestPayload::kFrom, from.GetId());
    request->Payload().Set(UnitTransferRequestPayload::kTo, to.GetId());
    request->Payload().Set(UnitTransferRequestPayload::kAmount, amount);
    ExecuteAndSendEvent(std::move(request));
}

struct Reorganised {
    int splits = 0;
    int transfers = 0;
    int merges = 0;
};

// The host reorganises the first idle army of a number of countries as a
// player's windows would: it splits the army, sends troops from the new
// army back to the old one and, in every other country, merges the two
// again. A transfer to an army of another country in another province is
// refused and changes nothing.
Reorganised ReorganiseArmies(int countries) {
    Reorganised done;
    CUnit* foreign = nullptr;
    for (CCountry* country : g_countries) {
        if (!country || done.splits >= countries)
            continue;
        CUnit* army = nullptr;
        country->m_units.ForEach([&army](CUnit* unit) {
            if (!army && unit->IsArmy() && unit->GetStrength(2) >= 4000.0f &&
                unit->CanReorganise() && !OtherArmyBeside(*unit))
                army = unit;
        });
        if (!army)
            continue;
        SendRequestSplitArmy(army->GetId());
        RunAndSend();
        CUnit* split = OtherArmyBeside(*army);
        if (!split)
            continue;
        ++done.splits;
        const float before = army->GetStrength(2);
        RequestTransfer(EVT_REQUEST_TRANSFER_INFANTRY, *split, *army, 1000);
        RunAndSend();
        done.transfers += army->GetStrength(2) > before ? 1 : 0;
        if (foreign && foreign->GetLocation() != split->GetLocation()) {
            const float kept = split->GetStrength(2);
            RequestTransfer(EVT_REQUEST_TRANSFER_INFANTRY, *split, *foreign, 1000);
            RunAndSend();
            EXPECT_EQ(split->GetStrength(2), kept) << "a transfer across the map went ahead";
        }
        foreign = army;
        if (done.splits % 2 == 0) {
            const ObjectId gone = split->GetId();
            SendRequestMerge({army->GetId(), gone});
            RunAndSend();
            done.merges += ResolveId(gone) == nullptr ? 1 : 0;
        }
    }
    return done;
}

std::map<std::pair<uint16_t, uint32_t>, int32_t> UnitLocations() {
    std::map<std::pair<uint16_t, uint32_t>, int32_t> locations;
    for (CCountry* country : g_countries)
        if (country)
            country->m_units.ForEach([&locations](CUnit* unit) {
                locations[{unit->GetId().type, unit->GetId().number}] = unit->GetLocation();
            });
    return locations;
}

// Whether any unit of any country has a path left.
bool AnyUnitMoving() {
    bool moving = false;
    for (CCountry* country : g_countries)
        if (country)
            country->m_units.ForEach(
                [&moving](CUnit* unit) { moving = moving || !unit->IsPathEmpty(); });
    return moving;
}

// A campaign on the host: the units' provinces before and after, and what
// the host's world holds at the end.
struct CampaignRun {
    std::map<std::pair<uint16_t, uint32_t>, int32_t> before;
    std::map<std::pair<uint16_t, uint32_t>, int32_t> after;
    std::string hostText;
};

} // namespace

class TwoMachinesCampaignTest : public TwoMachinesTest {
protected:
    // The host reorganises its armies (splits, transfers and merges, when
    // `reorganise`), orders the campaign and plays `minDays` days; with
    // `untilStill` on until every move has ended (1100 days at most).
    CampaignRun PlayCampaign(int minDays, bool untilStill, bool reorganise) {
        CampaignRun run;
        // The neighbour lists of the map, which the province table reads
        // again at the start of each machine's game.
        std::filesystem::create_directories(m_dir.Path() / "map");
        std::filesystem::copy_file(test::DemoWorldDir() / "map" / "adjacent.tbl",
                                   m_dir.Path() / "map" / "adjacent.tbl");
        platform::ForgetPathCache();
        StartGame(*m_host);
        run.before = UnitLocations();
        if (reorganise) {
            const Reorganised reorganised = ReorganiseArmies(8);
            EXPECT_EQ(reorganised.splits, 8);
            EXPECT_EQ(reorganised.transfers, 8);
            EXPECT_EQ(reorganised.merges, 4);
        }
        EXPECT_GT(OrderCampaign(), 10);
        g_scheduler.FlushSend();
        int days = 0;
        while ((days < minDays || (untilStill && AnyUnitMoving())) && days < 1100) {
            PostAndSendEventNow(
                std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 1));
            g_scheduler.RunDue();
            g_scheduler.FlushSend();
            ++days;
        }
        if (untilStill) { // every move has come to its end
            for (CCountry* country : g_countries)
                if (country)
                    country->m_units.ForEach([](CUnit* unit) { EXPECT_TRUE(unit->IsPathEmpty()); });
        } else {
            EXPECT_TRUE(AnyUnitMoving());
        }
        run.after = UnitLocations();
        EXPECT_EQ(WriteGameToMemory(run.hostText), FIELD_WRITTEN);
        StopGame();
        return run;
    }

    // The client takes every message the host sent and ends with the
    // host's units where they were and the host's world-state hash.
    void FollowOnClientAndCompare(const CampaignRun& run) {
        StartGame(*m_client);
        platform::net::Message message;
        while (m_client->GetNetwork()->Receive(message)) {
            m_client->HandleNetworkMessage(message);
            g_scheduler.RunDue();
            g_scheduler.FlushSend();
        }
        EXPECT_EQ(UnitLocations(), run.after);
        std::string clientText;
        ASSERT_EQ(WriteGameToMemory(clientText), FIELD_WRITTEN);
        if (clientText != run.hostText) {
            KeepForDiff(run.hostText, "orvandel_campaign_host.ovg");
            KeepForDiff(clientText, "orvandel_campaign_client.ovg");
        }
        EXPECT_EQ(WorldStateHashText(Fnv1a64(clientText)),
                  WorldStateHashText(Fnv1a64(run.hostText)));
        for (CProvince& province : g_provinces)
            province.ClearNeighbours();
    }
};

TEST_F(TwoMachinesCampaignTest, TheClientsUnitsFollowTheHostsMovesAlongTheirPaths) {
    const CampaignRun run = PlayCampaign(4 * 30, true, true);
    int moved = 0;
    for (const auto& [id, province] : run.after)
        moved += run.before.count(id) && run.before.at(id) != province;
    EXPECT_GT(moved, 10);
    FollowOnClientAndCompare(run);
}

// Halfway through the moves the host alone knows when each next step is
// due; what both machines share still hashes alike.
TEST_F(TwoMachinesCampaignTest, HostAndClientAgreeWhileUnitsAreOnTheMove) {
    const CampaignRun run = PlayCampaign(3, false, false);
    FollowOnClientAndCompare(run);
}

namespace {

// Two land provinces side by side, owned by the host's and the client's
// countries where the map has such a pair (the host's province first); 0
// when none. Provinces with units or a fortress are passed over, so that
// the battle is fought by the two armies alone.
std::pair<int32_t, int32_t> BorderPair() {
    auto clear = [](const CProvince& p) {
        CUnitList units;
        CollectProvinceUnits(p.GetNumber(), units);
        return !p.IsSea() && units.IsEmpty() && !p.combats &&
               (!p.GetCity() || p.GetCity()->GetFortress().level < 1.0f);
    };
    for (CProvince& from : g_provinces) {
        if (from.GetOwnerNumber() != static_cast<int32_t>(kHostCountry) || !clear(from))
            continue;
        for (int32_t i = 0; i < from.neighbourCount; ++i) {
            const CProvince* to = GetProvince(from.neighbours[static_cast<size_t>(i)].id);
            if (to && to->GetNumber() != from.GetNumber() && clear(*to))
                return {from.GetNumber(), to->GetNumber()};
        }
    }
    return {0, 0};
}

// An army of the country standing in the province, made alike on both
// machines (the same id from the same counter).
CUnit* RaiseArmy(uint32_t country, int32_t province, float infantry) {
    CCountry* owner = CountryOfNumber(country);
    if (!owner)
        return nullptr;
    auto* army = new CLandUnit(owner);
    army->AssignNewId();
    army->SetLocation(province);
    army->SetStrength(2, infantry);
    army->morale = owner->GetLandMorale();
    army->SetIdleState();
    owner->AddUnit(army);
    return army;
}

} // namespace

TEST_F(TwoMachinesTest, AHostsBattleIsFollowedByTheClientFromItsMessagesAlone) {
    std::filesystem::create_directories(m_dir.Path() / "map");
    std::filesystem::copy_file(test::DemoWorldDir() / "map" / "adjacent.tbl",
                               m_dir.Path() / "map" / "adjacent.tbl");
    platform::ForgetPathCache();
    // The same world on both machines: the two countries at war, an army of
    // each on either side of a border.
    std::pair<int32_t, int32_t> border;
    ObjectId attackerId;
    ObjectId defenderId;
    auto prepare = [&]() {
        ASSERT_TRUE(LoadCombatTables());
        CountryOfNumber(kHostCountry)->SetAtWarWith(kClientCountry);
        CountryOfNumber(kClientCountry)->SetAtWarWith(kHostCountry);
        border = BorderPair();
        ASSERT_NE(border.first, 0) << "no border between the two countries";
        CUnit* attacker = RaiseArmy(kHostCountry, border.first, 20000.0f);
        CUnit* defender = RaiseArmy(kClientCountry, border.second, 8000.0f);
        ASSERT_TRUE(attacker && defender);
        attackerId = attacker->GetId();
        defenderId = defender->GetId();
    };

    StartGame(*m_host);
    prepare();
    const ObjectId hostAttacker = attackerId;
    std::string startText;
    ASSERT_EQ(WriteGameToMemory(startText), FIELD_WRITTEN);
    CUnitList attackers;
    attackers.AddTail(FindUnitById(attackerId));
    attackers.MoveTo(border.second);
    g_scheduler.FlushSend();

    // Days go by until the armies have met, the battle is over and every
    // move has ended.
    bool fought = false;
    auto battleGoesOn = [&]() {
        const CProvince* field = GetProvince(border.second);
        for (size_t i = 0; field->combats && i < field->combats->GetCount(); ++i)
            if (dynamic_cast<CCombat*>(field->combats->At(i))) {
                fought = true;
                return true;
            }
        return false;
    };
    int days = 0;
    auto moving = [] {
        bool any = false;
        for (CCountry* country : g_countries)
            if (country)
                country->m_units.ForEach(
                    [&any](CUnit* unit) { any = any || !unit->IsPathEmpty(); });
        return any;
    };
    while ((moving() || battleGoesOn()) && days < 400) {
        PostAndSendEventNow(std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 1));
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        battleGoesOn();
        ++days;
    }
    EXPECT_TRUE(fought) << "the armies never met";
    EXPECT_FALSE(battleGoesOn()) << "the battle did not end in " << days << " days";
    const CUnit* winner = FindUnitById(attackerId);
    const CUnit* loser = FindUnitById(defenderId);
    ASSERT_NE(winner, nullptr);
    EXPECT_LT(winner->GetStrength(2), 20000.0f) << "no losses for the attacker";
    EXPECT_TRUE(!loser || loser->GetStrength(2) < 8000.0f) << "no losses for the defender";
    const std::map<std::pair<uint16_t, uint32_t>, int32_t> hostLocations = UnitLocations();
    std::string hostText;
    ASSERT_EQ(WriteGameToMemory(hostText), FIELD_WRITTEN);
    FreeCombatTables();
    StopGame();

    // The client: the same start, then only what the host sent.
    StartGame(*m_client);
    prepare();
    EXPECT_EQ(attackerId, hostAttacker);
    std::string clientStart;
    ASSERT_EQ(WriteGameToMemory(clientStart), FIELD_WRITTEN);
    EXPECT_EQ(Fnv1a64(clientStart), Fnv1a64(startText));
    platform::net::Message message;
    while (m_client->GetNetwork()->Receive(message)) {
        m_client->HandleNetworkMessage(message);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    EXPECT_EQ(UnitLocations(), hostLocations);
    std::string clientText;
    ASSERT_EQ(WriteGameToMemory(clientText), FIELD_WRITTEN);
    if (clientText != hostText) {
        KeepForDiff(hostText, "orvandel_battle_host.ovg");
        KeepForDiff(clientText, "orvandel_battle_client.ovg");
    }
    EXPECT_EQ(WorldStateHashText(Fnv1a64(clientText)), WorldStateHashText(Fnv1a64(hostText)));
    FreeCombatTables();
    for (CProvince& province : g_provinces)
        province.ClearNeighbours();
}

namespace {

// A fortified town held by another country than the host's, without units,
// beside a land province without units, combats or fortress (that province
// first); 0 when the map has none.
std::pair<int32_t, int32_t> TownBeside() {
    auto empty = [](const CProvince& p) {
        CUnitList units;
        CollectProvinceUnits(p.GetNumber(), units);
        return !p.IsSea() && units.IsEmpty() && !p.combats;
    };
    for (CProvince& town : g_provinces) {
        if (town.GetControllerNumber() == static_cast<int32_t>(kHostCountry) ||
            !town.GetController() || !empty(town) || !town.GetCity() ||
            town.GetCity()->GetFortress().level < 1.0f)
            continue;
        for (int32_t i = 0; i < town.neighbourCount; ++i) {
            const CProvince* from = GetProvince(town.neighbours[static_cast<size_t>(i)].id);
            if (from && from->GetNumber() != town.GetNumber() && empty(*from) &&
                (!from->GetCity() || from->GetCity()->GetFortress().level < 1.0f))
                return {from->GetNumber(), town.GetNumber()};
        }
    }
    return {0, 0};
}

} // namespace

TEST_F(TwoMachinesTest, AHostsSiegeIsFollowedByTheClientFromItsMessagesAlone) {
    std::filesystem::create_directories(m_dir.Path() / "map");
    std::filesystem::copy_file(test::DemoWorldDir() / "map" / "adjacent.tbl",
                               m_dir.Path() / "map" / "adjacent.tbl");
    platform::ForgetPathCache();
    // The same world on both machines: the host's country at war with the
    // town's and an army of the host's strong enough to besiege the town
    // from next door.
    std::pair<int32_t, int32_t> road;
    ObjectId besiegerId;
    auto prepare = [&]() {
        ASSERT_TRUE(LoadCombatTables());
        road = TownBeside();
        ASSERT_NE(road.first, 0) << "no fortified town of another country";
        CCountry* holder = GetProvince(road.second)->GetController();
        // The host's country knows the way.
        for (int32_t id : {road.first, road.second})
            GetProvince(id)->discoveredBy[kHostCountry] = 1;
        CountryOfNumber(kHostCountry)->SetAtWarWith(holder->GetNumber());
        holder->SetAtWarWith(kHostCountry);
        CUnit* besieger = RaiseArmy(kHostCountry, road.first, 60000.0f);
        ASSERT_NE(besieger, nullptr);
        besiegerId = besieger->GetId();
    };

    StartGame(*m_host);
    prepare();
    CUnitList besiegers;
    besiegers.AddTail(FindUnitById(besiegerId));
    besiegers.MoveTo(road.second);
    g_scheduler.FlushSend();

    // Days go by: the siege is laid, its first monthly rolls are made, the
    // assault is ordered; until the siege ends or a year and a half has
    // passed (both machines must agree either way).
    bool laid = false;
    auto siegeGoesOn = [&]() {
        const CCity* city = GetProvince(road.second)->GetCity();
        const bool on = city && !city->GetSiegeId().IsNull();
        laid = laid || on;
        return on;
    };
    int days = 0;
    int besieged = 0;
    while ((!laid || siegeGoesOn()) && days < 540) {
        PostAndSendEventNow(std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 1));
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        if (siegeGoesOn() && ++besieged == 70) {
            const ObjectId siege = GetProvince(road.second)->GetCity()->GetSiegeId();
            ExecuteEvent(std::make_unique<COVCombatEvent>(EVT_SIEGE_ASSAULT, g_combatRequestsId, 0,
                                                          siege, CDate()));
            g_scheduler.FlushSend();
        }
        ++days;
    }
    ASSERT_TRUE(laid) << "no siege was laid";
    std::string hostText;
    ASSERT_EQ(WriteGameToMemory(hostText), FIELD_WRITTEN);
    FreeCombatTables();
    StopGame();

    // The client: the same start, then only what the host sent.
    StartGame(*m_client);
    prepare();
    platform::net::Message message;
    while (m_client->GetNetwork()->Receive(message)) {
        m_client->HandleNetworkMessage(message);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    std::string clientText;
    ASSERT_EQ(WriteGameToMemory(clientText), FIELD_WRITTEN);
    if (clientText != hostText) {
        KeepForDiff(hostText, "orvandel_siege_host.ovg");
        KeepForDiff(clientText, "orvandel_siege_client.ovg");
    }
    EXPECT_EQ(WorldStateHashText(Fnv1a64(clientText)), WorldStateHashText(Fnv1a64(hostText)));
    FreeCombatTables();
    for (CProvince& province : g_provinces)
        province.ClearNeighbours();
}
