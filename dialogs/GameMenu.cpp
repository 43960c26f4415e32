#include "dialogs/GameMenu.h"

#include "net/Receivers.h"

CGameMenu* g_openGameMenu = nullptr;

namespace {

// The open menu is offered every broadcast message first.
const bool g_gameMenuRegistered = [] {
    g_broadcastReceivers[kSlotGameMenu] = [](COVEvent& event) {
        return g_openGameMenu ? g_openGameMenu->HandleMessage(event) : EVENT_NOT_HANDLED;
    };
    return true;
}();

} // namespace

int CGameMenu::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
