// Fuzz target: arbitrary bytes as a whole scenario or saved-game file, read
// with the file reader into an empty world (the file may include itself or
// the other file of the folder), then saved. Reading must end, and must not
// touch memory it does not own, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "country/Country.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/ObjectId.h"
#include "military/combat/Combat.h"
#include "military/units/Unit.h"
#include "net/Scheduler.h"
#include "tests/fuzz/FuzzSupport.h"
#include "ui/MainScreen.h"
#include "windows/YearBook.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"

namespace {

void ResetWorld() {
    g_scheduler.Clear();
    // The combats go before the units their sides list.
    DeleteAllCombats();
    DeleteAllCountries();
    g_scenarioInfo.reset();
    g_globals = CGlobals();
    g_cotCalc.Clear();
    if (g_globalsTreaties.clearAll)
        g_globalsTreaties.clearAll();
    g_yearBook.CreatePages();
    InitIdRegistries(g_nullId);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        BuildKeywordIndex();
        g_mainScreen = new CMainScreen();
        // Every top-level object has its owner linked in, so the bytes reach
        // the readers of the whole game.
        for (uint32_t keyword : {KW_GLOBALDATA, KW_PROVINCE, KW_COT, KW_COUNTRY, KW_MISSION, KW_EYR,
                                 KW_INTERFACE, KW_MECENAT, KW_COMBAT, KW_PEACE})
            fuzz::Check(FindGameFileObject(keyword) != nullptr);
        return true;
    }();
    (void)ready;

    fuzz::InScratchFolder folder;
    folder.WriteFile("game.ovg", data, size);
    static const uint8_t kOther[] =
        "include = \"game.ovg\"\nglobaldata = { startdate = { year = 1500 } }\n";
    folder.WriteFile("other.ovg", kOther, sizeof(kOther) - 1);

    ResetWorld();
    CFieldReader in;
    in.Open("game.ovg", "r");
    const int32_t result = ReadGameFile(in);
    in.Close();
    fuzz::Check(result == FIELD_BLOCK_END || result == FIELD_ERROR);
    SaveGameFile("saved.ovg");
    ResetWorld();
    g_mainScreen->ClearTravellers();
    return 0;
}
