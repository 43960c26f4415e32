#pragma once
// Loading the province table at scenario start: the goods table, the rows of
// "db\province.csv" for provinces 0..1472, the area groups, the strait links
// and the strait points of "db\straits.csv".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/MapView.h"
#include "world/WorldNames.h"

// The strait crossings, each linked in both directions: kStraitPairs of
// world/WorldNames.h.

// The map points of the strait markers read from "db\straits.csv".
extern std::vector<MapPoint> g_straitPoints;

// Loads the goods, resets every province and reads its row, fills the area
// groups and the area neighbours, then the straits. False when the table is
// unusable (missing, fewer than 1473 rows, a row whose id is not its row
// index, a row cut short): the reason is in GetProvinceLoadError and in
// "log.txt", and the caller shows the box. Recoverable faults of a row
// (an unknown goods keyword, a linked id out of range, a cut cell) are
// written to "log.txt" and the load goes on.
bool LoadProvinces();
const std::string& GetProvinceLoadError();

// The fixed strait links, then the strait points of the file (game path):
// two integers a row, up to and including the first row with a negative
// value, or to the end of the file.
void LoadStraits(const char* path);
