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
