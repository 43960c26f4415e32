#include "world/GlobalsHandler.h"

#include "net/Receivers.h"

namespace {
CGlobalsHandler s_globalsHandler;
}

CMessageReceiver* g_globalsHandler = &s_globalsHandler;

namespace {

// The globals take every broadcast message once the game has started.
const bool g_globalsHandlerRegistered = [] {
    g_broadcastReceivers[kSlotGlobals] = [](COVEvent& event) {
        return g_globalsHandler ? g_globalsHandler->HandleMessage(event) : EVENT_NOT_HANDLED;
    };
    return true;
}();

} // namespace

int CGlobalsHandler::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
