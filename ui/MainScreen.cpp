#include "ui/MainScreen.h"

#include "net/Receivers.h"

CMainScreen* g_mainScreen = nullptr;

namespace {

// The main screen takes the game-winner broadcast.
const bool g_mainScreenRegistered = [] {
    g_broadcastReceivers[kSlotMainScreen] = [](COVEvent& event) {
        return g_mainScreen ? g_mainScreen->HandleMessage(event) : EVENT_NOT_HANDLED;
    };
    return true;
}();

} // namespace

int CMainScreen::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
