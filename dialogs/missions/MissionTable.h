#pragma once
// The mission table of "db\missions.csv", loaded once at start-up and freed
// at shutdown.
#include <cstdint>

// Loads the table; true when it is ready.
bool LoadMissionTable();
void FreeMissionTable();

// Rows of the loaded table (0 when none is loaded).
extern uint32_t g_missionCount;
