#include "military/HostDispatcher.h"

CHostDispatcher* g_hostDispatcher = nullptr;

int CHostDispatcher::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}

int CHostDispatcher::DispatchHostRequest(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
