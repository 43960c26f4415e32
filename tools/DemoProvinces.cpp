// The province tables of the demo world, laid out on the grid of
// tools/DemoMapLayout.h:
//   db\goods.csv    a header, one row per good (keyword, base price, flag A,
//                   flag B, value);
//   db\province.csv a header and the rows of provinces 0..1472, 51 columns
//                   each: record 0 is the blank "-", the sea cells are sea
//                   zones (area "Sea", a sea region by ocean and latitude),
//                   the land cells belong to the three continents (west
//                   "America", middle "Europe", east "Asia"), their areas
//                   (blocks of 3 x 3 cells) and regions (bands of rows);
//   db\straits.csv  the map points of the strait markers, closed by a row
//                   of -1.
// The province ids the game gives special rules were chosen to meet
// sensible cells of this layout:
// - the nine strait pairs the game links (kStraitPairs, world/WorldNames.h)
//   keep their ids; each strait marker stands half way
//   between the centres of the pair's two cells;
// - province 399, the capital of a country without provinces, is the land
//   cell (14, 6) inside the western continent, far from every shore.
// Lines end in CR LF, as the game's tables do.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "tools/DemoGoods.h"
#include "tools/DemoMapLayout.h"
#include "tools/DemoWorld.h"
#include "world/WorldNames.h"

namespace {

using namespace demo;

// The names of the goods, with a line of description and of demand.
struct GoodsTexts {
    GoodsTexts() {
        for (const Goods& goods : kGoods) {
            const std::string key = goods.keyword;
            const std::string name = goods.name;
            DemoText(key.c_str(), name.c_str());
            DemoText((key + "DESC").c_str(), (name + " traded at the markets.").c_str());
            DemoText((key + "DEMAND").c_str(),
                     ("Demand for " + name + " follows the cities.").c_str());
        }
    }
};
const GoodsTexts kGoodsTexts;

// A small deterministic hash of the province id.
uint32_t Mix(uint32_t id, uint32_t salt) {
    uint32_t h = id * 2654435761u ^ (salt * 40503u + 0x9e37u);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

std::string NameOf(int32_t id) {
    static const char* const kFirst[] = {"Var", "Ost", "Bel", "Mor", "Kel", "Ard", "Sil",
                                         "Tor", "Ely", "Hal", "Dun", "Cal", "Fen", "Rav"};
    static const char* const kMiddle[] = {"an", "er", "i", "o", "al", "en", "ur", "a"};
    static const char* const kLast[] = {"holm", "mark", "dor",  "wick", "stead", "gard",
                                        "mere", "vale", "burg", "heim", "ford",  "moor"};
    const uint32_t h = Mix(static_cast<uint32_t>(id), 1);
    std::string name = kFirst[h % 14];
    name += kMiddle[(h / 14) % 8];
    name += kLast[(h / 112) % 12];
    return name;
}

const char* SeaRegion(int32_t id) {
    const int32_t row = RowOf(id);
    const int32_t column = ColumnOf(id);
    if (row == 0)
        return "ArcticSeaSea";
    if (row == kGridRows - 1)
        return "SWAtlanticSea";
    const int32_t band = row <= 7 ? 0 : (row <= 14 ? 1 : 2);
    static const char* const kWest[] = {"AlaskaSea", "EPacificSea", "SEPacificSea"};
    static const char* const kMiddle[] = {"NAtlanticSea", "NCAtlanticSea", "SEAtlanticSea"};
    static const char* const kEast[] = {"NWIndianSea", "NEIndianSea", "SEIndianSea"};
    if (column >= 20 && column <= 23)
        return kMiddle[band];
    if (column >= 44 && column <= 47)
        return kEast[band];
    return kWest[band];
}

struct ContinentInfo {
    const char* name;
    int32_t firstColumn;
    int32_t firstArea;
    int32_t areaCount;
    // Regions by band of rows (1..7, 8..14, 15..21), west and east half.
    std::array<std::array<const char*, 2>, 3> regions;
    std::array<const char*, 3> religions;
};

// Area numbers are those of the area table (world/Areas.cpp).
const std::array<ContinentInfo, 3> kContinents = {{
    {"America",
     2,
     1,
     41,
     {{{"North America", "North America"},
       {"Central America", "Carribean"},
       {"South America", "South America"}}},
     {"pagan", "pagan", "catholic"}},
    {"Europe",
     24,
     42,
     22,
     {{{"British Isles", "Scandinavia"},
       {"Western Europe", "HRE"},
       {"Southern Europe", "Eastern Europe"}}},
     {"protestant", "catholic", "orthodox"}},
    {"Asia",
     48,
     64,
     48,
     {{{"Siberia", "Siberia"}, {"Middle East", "China"}, {"India", "Indochina"}}},
     {"sunni", "shiite", "pagan"}},
}};

// The sea cell beside a land cell (west, east, north, south), 0 when none.
int32_t SeaBeside(int32_t id) {
    for (int32_t other : GridNeighbours(id))
        if (IsSea(other))
            return other;
    return 0;
}

// A point inside the sea cell, 24 pixels from the edge it shares with the
// land cell.
std::pair<int32_t, int32_t> PortPoint(int32_t land, int32_t sea) {
    const CellRect l = CellOf(land);
    const CellRect s = CellOf(sea);
    const int32_t midX = (l.left + l.right) / 2;
    const int32_t midY = (l.top + l.bottom) / 2;
    if (RowOf(sea) < RowOf(land))
        return {midX, s.bottom - 24};
    if (RowOf(sea) > RowOf(land))
        return {midX, s.top + 24};
    // West or east, east-west wrapping.
    const bool west = ColumnOf(sea) == (ColumnOf(land) + kGridColumns - 1) % kGridColumns;
    return {west ? s.right - 24 : s.left + 24, midY};
}

std::string Row(int32_t id, const char* const* areaNames) {
    std::string cells[52];
    auto set = [&](int column, const std::string& value) { cells[column] = value; };
    auto num = [&](int column, long long value) { cells[column] = std::to_string(value); };
    for (int c = 1; c <= 51; ++c)
        num(c, 0);
    num(1, id);
    if (id == 0) {
        for (int c : {2, 3, 45, 46, 47})
            set(c, "-");
        set(4, "pagan");
        set(15, "NOTHING");
        set(20, "0.000");
        set(21, "0.000");
        set(48, "#N/A");
        for (int c = 33; c <= 44; c += 3)
            num(c, -1);
        std::string row;
        for (int c = 1; c <= 51; ++c)
            row += cells[c] + (c < 51 ? ";" : "\r\n");
        return row;
    }
    const uint32_t h = Mix(static_cast<uint32_t>(id), 2);
    const CellRect cell = CellOf(id);
    const int32_t cx = (cell.left + cell.right) / 2;
    const int32_t cy = (cell.top + cell.bottom) / 2;
    const int32_t row = RowOf(id);
    const int32_t column = ColumnOf(id);
    for (int c = 33; c <= 44; c += 3)
        num(c, -1);
    set(48, "#N/A");
    if (IsSea(id)) {
        set(2, "Sea of " + NameOf(id));
        set(3, "sea");
        set(4, "pagan");
        num(7, row == 0 || row == kGridRows - 1 ? 1 : 0);
        num(8, row >= 8 && row <= 14 ? 1 : 0);
        num(12, 5);
        set(15, "NOTHING");
        set(20, "0.000");
        set(21, "0.000");
        num(24, cx);
        num(25, cy);
        num(26, cx);
        num(27, cy);
        set(45, "Sea");
        set(46, SeaRegion(id));
        set(47, "-");
    } else {
        const int32_t continentIndex = ContinentOf(id);
        const ContinentInfo& continent = kContinents[static_cast<size_t>(continentIndex)];
        const int32_t band = row <= 7 ? 0 : (row <= 14 ? 1 : 2);
        const int32_t localColumn = column - continent.firstColumn;
        const int32_t half = localColumn < 9 ? 0 : 1;
        const int32_t blocksPerRow = 7;
        const int32_t block = (row - 1) / 3 * blocksPerRow + localColumn / 3;
        const int32_t area = continent.firstArea + block % continent.areaCount;
        // Mostly plains; forest, mountain, desert and marsh.
        static const int32_t kTerrains[10] = {0, 0, 0, 0, 0, 1, 1, 2, 3, 4};
        const int32_t terrain = kTerrains[h % 10];
        set(2, NameOf(id));
        set(3, terrain == 2 ? "mountain" : "land");
        set(4, continent.religions[static_cast<size_t>(band)]);
        num(5, 0);
        const int32_t fromPole = std::min(row, kGridRows - 1 - row);
        num(6, fromPole <= 3 ? 8
                             : (fromPole <= 5 ? 7 : (fromPole <= 6 ? 5 : (fromPole <= 7 ? 0 : 2))));
        num(7, fromPole <= 2 ? 1 : 0);
        num(9, h % 7 == 0 ? 1 : 0);
        num(10, 1 + static_cast<int32_t>(h / 10 % 5));
        num(11, 2 + static_cast<int32_t>(h / 50 % 11));
        num(12, terrain);
        num(14, 0);
        const Goods& goods = kGoods[1 + (h / 550) % 18];
        set(15, goods.keyword);
        if (goods.keyword == std::string("GOLD"))
            num(14, 10 + static_cast<int32_t>(h % 20));
        num(18, static_cast<int32_t>(h / 9900 % 10));
        num(19, continentIndex == 1 ? 0 : static_cast<int32_t>(h / 99000 % 80));
        set(20, std::to_string(h / 7 % 4) + ".000");
        set(21, "1.000");
        num(22, 1 + static_cast<int32_t>(h / 3 % 9));
        num(23, 1 + static_cast<int32_t>(h / 11 % 9));
        num(24, cx);
        num(25, cy - 60);
        num(26, cx);
        num(27, cy + 60);
        const int32_t sea = SeaBeside(id);
        if (sea) {
            const auto [px, py] = PortPoint(id, sea);
            num(28, px);
            num(29, py);
            num(32, sea);
        }
        num(30, cx + 80);
        num(31, cy);
        if (terrain == 1 || terrain == 2) {
            num(33, cx - 90);
            num(34, cy - 20);
            num(35, static_cast<int32_t>(h % 4));
        }
        set(45, areaNames[area]);
        set(46, continent.regions[static_cast<size_t>(band)][static_cast<size_t>(half)]);
        set(47, continent.name);
    }
    std::string line;
    for (int c = 1; c <= 51; ++c)
        line += cells[c] + (c < 51 ? ";" : "\r\n");
    return line;
}

bool WriteProvinces(const std::filesystem::path& game) {
    std::string csv = "id;name;window;religion;c5;climate;ice;storm;c9;manpower;tax;terrain;c13;"
                      "gold;goods;c16;c17;wilderness;natives;ferocity;efficiency;negotiation;"
                      "tolerance;unitx;unity;symbolx;symboly;portx;porty;manux;manuy;portsea;"
                      "d1x;d1y;d1v;d2x;d2y;d2v;d3x;d3y;d3v;d4x;d4y;d4v;area;region;continent;"
                      "display;link1;link2;link3\r\n";
    for (int32_t id = 0; id <= kLastProvince; ++id)
        csv += Row(id, g_areaNames.data());
    return WriteFile(game / "db" / "province.csv", csv);
}

bool WriteStraits(const std::filesystem::path& game) {
    std::string csv;
    for (const auto& [a, b] : kStraitPairs) {
        const CellRect first = CellOf(a);
        const CellRect second = CellOf(b);
        csv += std::to_string((first.left + first.right + second.left + second.right) / 4) + ";" +
               std::to_string((first.top + first.bottom + second.top + second.bottom) / 4) + "\r\n";
    }
    csv += "-1;-1\r\n";
    return WriteFile(game / "db" / "straits.csv", csv);
}

const DemoWriter kProvincesWriter("db/province.csv", &WriteProvinces);
const DemoWriter kStraitsWriter("db/straits.csv", &WriteStraits);

} // namespace
