#pragma once
// The historical monarch and religious events of
// "db\historical events monarchs.csv", loaded at start-up and freed at
// shutdown.
#include <cstdint>

bool LoadHistoricalMonarchEvents();
void FreeHistoricalMonarchEvents();

// Events loaded (0 when none).
extern uint32_t g_historicalEventCount;
