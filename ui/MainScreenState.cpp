// The parts of the main game screen that a saved game keeps.
#include "engine/CriticalError.h"
#include "ui/MainScreen.h"
#include "world/Mecenat.h"

namespace {

// A traveller read from a saved game joins the screen's traveller list.
const bool g_travellerFilerRegistered = [] {
    g_fileTraveller = [](CMecenat* traveller) {
        return g_mainScreen && g_mainScreen->travellers.AddTail(traveller);
    };
    g_travellerList = []() -> CMecenatList* {
        return g_mainScreen ? &g_mainScreen->travellers : nullptr;
    };
    return true;
}();

} // namespace

CMainScreen::~CMainScreen() {
    ClearTravellers();
}

CObjectIdList& CMainScreen::GetUnitGroup(int index) {
    if (index < 0 || index >= kUnitGroupCount) {
        DebugPrint("Array bounds violation.\n");
        index = 0;
    }
    return m_unitGroups[static_cast<size_t>(index)];
}

void CMainScreen::ClearTravellers() {
    travellers.DeleteAll();
}
