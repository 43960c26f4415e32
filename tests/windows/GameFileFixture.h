#pragma once
// A game folder with an empty world around each test: the keyword index,
// the demo countries' tags, a main game screen, a clock at the demo
// scenario's start, and every piece of world state the game files fill
// emptied before and after.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "military/combat/Combat.h"
#include "military/units/Unit.h"
#include "net/MousePosition.h"
#include "net/Scheduler.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "tests/data/TextFormatFixture.h"
#include "ui/MainScreen.h"
#include "windows/YearBook.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace test {

class GameFileTest : public TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        ResetWorld();
    }

    void TearDown() override {
        ResetWorld();
        delete g_mainScreen;
        g_mainScreen = nullptr;
        g_gameTimer.reset();
    }

    // Everything a loaded file leaves behind goes; the clock stands at the
    // demo scenario's start, 1 March 1560.
    void ResetWorld() {
        g_scheduler.Clear();
        delete g_mainScreen;
        g_mainScreen = new CMainScreen();
        DeleteAllCombats(); // before the units their sides list
        DeleteAllCountries();
        for (CProvince& province : g_provinces) {
            province.lootEndDate = CDate();
            province.nationalismDate = CDate();
            province.looted = province.winter = province.storm = province.whiteman = 0;
            province.natives = province.tax = province.wilderness = 0;
            province.negotiation = province.tolerance = province.maxNatives = 0;
            province.ferocity = province.efficiency = 0.0f;
            province.religion = province.initialReligion = RELIGION_PROTESTANT;
            province.initialTax = 0;
        }
        g_scenarioInfo.reset();
        if (g_globalsTreaties.clearAll)
            g_globalsTreaties.clearAll();
        g_globals = CGlobals();
        g_cotCalc.Clear();
        g_yearBook.CreatePages();
        g_mousePos = MousePosition();
        SetViewCentre(0, 0);
        RecolourMap(0, 0);
        SetZoomShift(0);
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(0, 2, 1560);
    }

    // Copies the demo world's scenario and the files it uses into the game
    // folder.
    void CopyDemoScenario() const {
        const std::filesystem::path demo = DemoWorldDir();
        for (const char* name :
             {"scenarios/amber_coast.ovg", "scenarios/amber_coast_provinces.inc", "ai/default.ai",
              "db/monarchs/monarchs.brn", "db/leaders/leaders.brn"}) {
            std::filesystem::create_directories((dir.Path() / name).parent_path());
            std::filesystem::copy_file(demo / name, dir.Path() / name,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        platform::ForgetPathCache();
    }

    // Every box shown so far, for failure messages.
    std::string AllBoxes() const {
        std::string all;
        for (const std::string& text : boxes.texts)
            all += text + "\n";
        return all;
    }
};

} // namespace test
