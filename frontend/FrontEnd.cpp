#include "frontend/FrontEnd.h"

CFrontEnd* g_frontEnd = nullptr;
uint8_t g_inFrontEnd = 0;

bool IsInFrontEnd() {
    return g_inFrontEnd != 0;
}

int CFrontEnd::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
