#include "ui/MainScreen.h"

#include "data/GameFile.h"
#include "data/Keywords.h"
#include "net/Receivers.h"
#include "ui/InterfaceSection.h"
#include "world/Mecenat.h"

CMainScreen* g_mainScreen = nullptr;

namespace {

// The main screen takes the game-winner broadcast.
const bool g_mainScreenRegistered =
    RegisterBroadcastReceiver(kSlotMainScreen, &OfferToHolder<g_mainScreen>);

} // namespace

int CMainScreen::HandleMessage(COVEvent& event) {
    travellers.HandleEvent(event);
    return EVENT_NOT_HANDLED;
}

// ---------------------------------------------------------------------------
// The main screen in saved games: the player's screen ("interface") and the
// travellers ("mecenat")

namespace {

void WriteInterface(CGameFileOutput& out) {
    out.Write(WriteInterfaceSection());
}

// The file goes on after every traveller, whether it was kept or not.
int32_t ReadTraveller(CFieldReader& in) {
    CMecenat::ReadAndFile(in);
    return FIELD_BLOCK_END;
}

// The travellers in the order they were filed.
void WriteTravellers(CGameFileOutput& out) {
    if (g_mainScreen)
        g_mainScreen->travellers.ForEach(
            [&](CMecenat* traveller) { out.Write(traveller->Write()); });
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_INTERFACE, {&ReadInterfaceSection, &WriteInterface});
    RegisterGameFileObject(KW_MECENAT, {&ReadTraveller, &WriteTravellers});
    return true;
}();

} // namespace
