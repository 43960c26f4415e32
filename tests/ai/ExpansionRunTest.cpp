// The generated world with every nation on the computer runs a few game
// years: the computer players send colonists or traders, and their building
// agents run one building plan each.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "ai/AICountry.h"
#include "ai/king/King.h"
#include "ai/king/StandingAgents.h"
#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "tests/ai/DemoWorldFixture.h"
#include "world/Globals.h"
#include "world/MapTables.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr int32_t kYears = 5;

class ExpansionRunTest : public test::DemoWorldTest {};

TEST_F(ExpansionRunTest, ComputerPlayersSettleTradeAndBuild) {
    g_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    ASSERT_EQ(g_gameStarted, 1);
    g_scheduler.RunDue();
    ASSERT_TRUE(IsGameStarted());

    // The requests each machine would be sent, counted by type.
    std::map<uint32_t, int32_t> sent;
    auto count = [&sent] {
        g_scheduler.ForEachSend([&sent](const COVEvent& event) { ++sent[event.GetType()]; });
        g_scheduler.FlushSend();
    };
    count();
    for (int32_t day = 0; day < kYears * 360; ++day) {
        g_gameTimer->AdvanceDays(1);
        g_scheduler.RunDue();
        count();
    }
    // The building plans running, each having asked its King for its price.
    int32_t buildingPlans = 0;
    for (CCountry* country : g_countries) {
        auto* ai = dynamic_cast<CAICountry*>(country);
        if (!ai || !ai->HasKing())
            continue;
        const_cast<CLinkedList<CAIAgent>&>(ai->GetKing()->GetChildren())
            .ForEach([&buildingPlans](CAIAgent* child) {
                if (auto* agent = dynamic_cast<CAIBuildingAgent*>(child)) {
                    EXPECT_LE(agent->GetChildren().GetCount(), 1u);
                    buildingPlans += static_cast<int32_t>(agent->GetChildren().GetCount());
                }
            });
    }
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    const int32_t settlers = sent[EVT_SEND_COLONIST] + sent[EVT_SEND_TRADER];
    const int32_t buildings =
        sent[EVT_REQ_START_BUILD_IMPROVEMENT] + sent[EVT_REQ_START_EXPANDING_FORTRESS];
    std::printf("colonists %d, traders %d, building plans %d, improvements %d, fortresses %d\n",
                sent[EVT_SEND_COLONIST], sent[EVT_SEND_TRADER], buildingPlans,
                sent[EVT_REQ_START_BUILD_IMPROVEMENT], sent[EVT_REQ_START_EXPANDING_FORTRESS]);
    EXPECT_GT(settlers, 0);
    EXPECT_GT(buildingPlans + buildings, 0);
}

} // namespace
