// The terrain types table, "map\terrain types.csv": a header, then one row
// per province type 0..9 (an unused first cell, the name, the movement
// factor). Plains are the measure; the sea is quick, mountains and marshes
// slow; the last rows are kinds no land unit stands in.
#include <string>

#include "tools/DemoWorld.h"

namespace {

constexpr const char* kTerrainTable = "id;name;movement\r\n"
                                      "0;plains;1.0\r\n"
                                      "1;forest;1.25\r\n"
                                      "2;mountain;1.75\r\n"
                                      "3;desert;1.5\r\n"
                                      "4;marsh;1.5\r\n"
                                      "5;sea;0.5\r\n"
                                      "6;lake;0.75\r\n"
                                      "7;river;1.0\r\n"
                                      "8;ice;2.0\r\n"
                                      "9;wasteland;2.0\r\n";

bool WriteTerrainTypes(const std::filesystem::path& game) {
    return demo::WriteFile(game / "map" / "terrain types.csv", std::string(kTerrainTable));
}

const demo::DemoWriter kTerrainTypesWriter("map/terrain types.csv", &WriteTerrainTypes);

} // namespace
