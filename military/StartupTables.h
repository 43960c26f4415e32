#pragma once
// Tables of the military subsystem that start-up loads once: terrain
// types, the pools of leader, unit and colony names, the combat tables, and
// the status bar's colours.

bool LoadTerrainTypes();
bool LoadRandomLeaderNames();
bool LoadUnitNames();
bool LoadColonyNames();
bool LoadCombatTables();
void FreeCombatTables();
// The status bar's band and country colours from the status-bar palette
// (military/units/UnitWidgets.cpp).
void InitStatusBarColours();
