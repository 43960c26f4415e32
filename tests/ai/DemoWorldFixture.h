#pragma once
// The generated demo world in a scratch game folder, ready for a scenario
// to be started in it (g_scenario); torn down in order after the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/Globals.h"
#include "world/MapTables.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace test {

class DemoWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        CopyDemoWorld(m_dir.Path());
        std::filesystem::create_directories(m_dir.Path() / "map");
        std::filesystem::copy_file(DemoWorldDir() / "map" / "adjacent.tbl",
                                   m_dir.Path() / "map" / "adjacent.tbl");
        ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_gameType = 0;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
    }

    void TearDown() override {
        g_scenario.reset();
        g_globals.Shutdown();
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_countryController.fill(0);
        SetCountryTagSource(nullptr);
        for (CProvince& province : g_provinces)
            province.ClearNeighbours();
    }

    ScopedGameDir m_dir;
    BoxRecorder m_boxes;
};

} // namespace test
