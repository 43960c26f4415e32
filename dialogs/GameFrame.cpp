#include "dialogs/GameFrame.h"

#include "net/Receivers.h"

CGameFrame* g_gameFrame = nullptr;

namespace {

// The game frame takes the broadcast messages once the game has started,
// before the countries, and every input event.
const bool g_gameFrameRegistered =
    RegisterBroadcastReceiver(kSlotGameFrame, &OfferToHolder<g_gameFrame>);

} // namespace

int CGameFrame::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
