#include "world/GlobalsHandler.h"

namespace {
CGlobalsHandler s_globalsHandler;
}

CMessageReceiver* g_globalsHandler = &s_globalsHandler;

int CGlobalsHandler::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
