#include "dialogs/events/HistoricalEvents.h"

uint32_t g_historicalEventCount = 0;

// The event rows are not read yet: no event is loaded.
bool LoadHistoricalMonarchEvents() {
    g_historicalEventCount = 0;
    return true;
}

void FreeHistoricalMonarchEvents() {
    g_historicalEventCount = 0;
}
