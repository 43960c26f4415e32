// The generated world with every nation on the computer runs ten game years
// day by day: nothing fails, nothing is reported, and every King ticks on.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ai/AICountry.h"
#include "ai/AINotify.h"
#include "ai/king/King.h"
#include "ai/military/AICombat.h"
#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "tests/ai/DemoWorldFixture.h"
#include "world/Globals.h"
#include "world/MapTables.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/Territory.h"

namespace {

constexpr int32_t kYears = 10;

class WorldSmokeTest : public test::DemoWorldTest {};

TEST_F(WorldSmokeTest, EveryNationOnTheComputerRunsYearsWithEveryKingTicking) {
    // As the main loop does: the running scenario is the global one, and
    // its game-started message waits in the scheduler.
    g_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    ASSERT_EQ(g_gameStarted, 1);
    g_scheduler.RunDue();
    ASSERT_TRUE(IsGameStarted());
    ASSERT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();

    int32_t kings = 0;
    uint32_t admirals = 0;
    for (CCountry* country : g_countries) {
        auto* ai = dynamic_cast<CAICountry*>(country);
        if (!ai)
            continue;
        ASSERT_TRUE(ai->HasKing()) << country->GetTag();
        EXPECT_TRUE(ai->GetKing()->IsActive()) << country->GetTag();
        EXPECT_EQ(ai->GetKing()->GetGenerals().GetCount(), country->m_territories.GetCount())
            << country->GetTag();
        admirals += ai->GetKing()->GetAdmirals().GetCount();
        ++kings;
    }
    ASSERT_GT(kings, 10);
    EXPECT_GT(admirals, 0u);

    const CDate start = g_gameTimer->GetDate();
    for (int32_t day = 0; day < kYears * 360; ++day) {
        g_gameTimer->AdvanceDays(1);
        g_scheduler.RunDue();
    }
    EXPECT_GE(g_gameTimer->GetDate().year, start.year + kYears);
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();

    for (CCountry* country : g_countries) {
        auto* ai = dynamic_cast<CAICountry*>(country);
        if (!ai)
            continue;
        ASSERT_TRUE(ai->HasKing()) << country->GetTag();
        EXPECT_TRUE(ai->GetKing()->IsActive()) << country->GetTag();
        // At least one tick in every 40 days.
        EXPECT_GE(ai->GetKing()->GetTickCount(), kYears * 360 / 40) << country->GetTag();
        // The King's money never leaves the treasury.
        EXPECT_LE(ai->GetKing()->GetMoney(), country->m_treasury + 0.01f) << country->GetTag();
    }
}

// Two neighbouring nations go to war: within months the attacker's
// Generals have plans against the enemy's provinces holding its armies,
// and those armies march.
TEST_F(WorldSmokeTest, AtWarComputerArmiesMarchOnTheEnemy) {
    g_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    g_scheduler.RunDue();
    ASSERT_TRUE(IsGameStarted());

    // The first computer nation with armies whose territory touches another
    // computer nation's.
    CCountry* attacker = nullptr;
    CCountry* defender = nullptr;
    for (CCountry* country : g_countries) {
        if (!dynamic_cast<CAICountry*>(country) || attacker)
            continue;
        bool armed = false;
        country->m_units.ForEach([&armed](CUnit* unit) { armed = armed || !unit->IsFleet(); });
        if (!armed)
            continue;
        country->m_territories.ForEach([&](CLandTerritory* territory) {
            territory->GetLinks().ForEach([&](CTerritoryLink* link) {
                CCountry* other = link->territory ? link->territory->GetOwner() : nullptr;
                if (!attacker && other && other != country && dynamic_cast<CAICountry*>(other) &&
                    !country->IsAlliedWith(other->GetNumber())) {
                    attacker = country;
                    defender = other;
                }
            });
        });
    }
    ASSERT_NE(attacker, nullptr);
    attacker->SetAtWarWith(defender->GetNumber());
    defender->SetAtWarWith(attacker->GetNumber());
    NotifyAIListeners(19, &CAIEventListener::OnWar, static_cast<int32_t>(attacker->GetNumber()),
                      static_cast<int32_t>(defender->GetNumber()));

    int32_t marching = 0;
    for (int32_t day = 0; day < 120 && marching == 0; ++day) {
        g_gameTimer->AdvanceDays(1);
        g_scheduler.RunDue();
        attacker->m_units.ForEach([&](CUnit* unit) {
            auto* plan = dynamic_cast<CAILandCombat*>(unit->GetAIAgent());
            if (!plan || !plan->GetObjective())
                return;
            const CCountry* held = plan->GetObjective()->GetController();
            if (held == defender &&
                (!unit->IsPathEmpty() || unit->GetLocation() == plan->GetObjective()->GetNumber()))
                ++marching;
        });
    }
    EXPECT_GT(marching, 0) << attacker->GetTag() << " against " << defender->GetTag();
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
}

} // namespace
