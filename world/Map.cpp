#include "world/Map.h"

CMap* g_map = nullptr;

int CMap::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
