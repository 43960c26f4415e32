#include "dialogs/GameMenu.h"

#include "net/Receivers.h"

CGameMenu* g_openGameMenu = nullptr;

namespace {

// The open menu is offered every broadcast message first.
const bool g_gameMenuRegistered =
    RegisterBroadcastReceiver(kSlotGameMenu, &OfferToHolder<g_openGameMenu>);

} // namespace

int CGameMenu::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
