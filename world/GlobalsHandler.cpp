#include "world/GlobalsHandler.h"

#include "net/Receivers.h"

namespace {
CGlobalsHandler s_globalsHandler;
}

CMessageReceiver* g_globalsHandler = &s_globalsHandler;

namespace {

// The globals take every broadcast message once the game has started.
const bool g_globalsHandlerRegistered =
    RegisterBroadcastReceiver(kSlotGlobals, &OfferToHolder<g_globalsHandler>);

} // namespace

int CGlobalsHandler::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
