#include "dialogs/missions/MissionTable.h"

uint32_t g_missionCount = 0;

// The table's rows are not read yet: the table stays empty.
bool LoadMissionTable() {
    g_missionCount = 0;
    return true;
}

void FreeMissionTable() {
    g_missionCount = 0;
}
