// The province tables of the demo world, from the generated map of
// tools/WorldMap.h:
//   db\goods.csv    a header, one row per good (keyword, base price, flag A,
//                   flag B, value);
//   db\province.csv a header and the rows of provinces 0..1472, 51 columns
//                   each: record 0 is the blank "-"; each province's name,
//                   kind, terrain, climate, place names and positions come
//                   from the map, its faith, wealth, goods and natives from
//                   where it lies;
//   db\straits.csv  the map points of the strait markers (half way across
//                   each of the game's fixed strait pairs), closed by a row
//                   of -1.
// Lines end in CR LF, as the game's tables do.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "tools/DemoGoods.h"
#include "tools/DemoWorld.h"
#include "tools/WorldMap.h"
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

std::string AreaName(int32_t area) {
    return g_areaNames[static_cast<size_t>(area)];
}
std::string RegionName(int32_t region) {
    return g_regionNames[static_cast<size_t>(region)];
}

// The faith of a land province in the year the world begins, by region and
// area.
const char* ReligionOf(const WorldProvince& p) {
    const std::string region = RegionName(p.region);
    const std::string area = AreaName(p.area);
    if (region == "British Isles" || region == "Western Europe" || region == "HRE" ||
        region == "Central Europe" || region == "Southern Europe" || region == "Scandinavia")
        return area == "Balkans" ? "orthodox" : "catholic";
    if (region == "Eastern Europe")
        return area == "Russia" || area == "Ukraine" ? "orthodox" : "catholic";
    if (region == "Caucasus")
        return "orthodox";
    if (region == "Middle East")
        return area == "Persia" || area == "Bahk" ? "shiite" : "sunni";
    if (region == "North Africa")
        return "sunni";
    if (region == "Indonesia")
        return area == "Ajeh" || area == "Sumatra" || area == "Java" ? "sunni" : "pagan";
    if (region == "India")
        return area == "Lahore" || area == "Punjab" || area == "Delhi" ? "sunni" : "pagan";
    return "pagan";
}

// The province window key: one picture per terrain.
const char* WindowKey(int32_t terrain) {
    static const char* const kKeys[9] = {"plains", "forest", "mountain", "desert",  "marsh",
                                         "sea",    "desert", "sea",      "mountain"};
    return kKeys[terrain];
}

// Whether the land is the old world's settled heart (no natives there).
bool IsSettled(const WorldProvince& p) {
    const std::string region = RegionName(p.region);
    return p.continent == 2 || region == "Middle East" || region == "North Africa" ||
           region == "India" || region == "China" || region == "Japan" || region == "Indochina";
}

// Goods by terrain and latitude.
const char* GoodsOf(const WorldProvince& p, uint32_t h) {
    const int32_t latitude = std::abs(p.insideY - kMapHeight / 2);
    const bool tropical = latitude < 900;
    const bool cold = latitude > 2200;
    switch (p.terrain) {
    case 1: {
        static const char* const kForest[] = {"NAVS", "FURS", "WOOL", "NAVS"};
        return cold ? "FURS" : kForest[h % 4];
    }
    case 2: {
        static const char* const kHills[] = {"METAL", "MINERAL", "GOLD", "METAL", "SALT"};
        return kHills[h % 5];
    }
    case 3: {
        static const char* const kDry[] = {"SALT", "IVOR", "SLAV", "SPIC"};
        return kDry[h % 4];
    }
    case 4:
        return tropical ? "SUG" : "FISH";
    default:
        break;
    }
    if (tropical) {
        static const char* const kWarm[] = {"SPIC", "SUG", "TOB", "COT", "ORIENT", "IVOR"};
        return kWarm[h % 6];
    }
    static const char* const kTemperate[] = {"GRAI", "WINE", "CLO", "WOOL", "GRAI", "FISH"};
    return cold ? "FURS" : kTemperate[h % 6];
}

std::string Row(const WorldMap& map, int32_t id) {
    std::string cells[52];
    auto set = [&](int column, const std::string& value) { cells[column] = value; };
    auto num = [&](int column, long long value) { cells[column] = std::to_string(value); };
    for (int c = 1; c <= 51; ++c)
        num(c, 0);
    num(1, id);
    for (int c = 33; c <= 44; c += 3)
        num(c, -1);
    set(48, "#N/A");
    if (id == 0) {
        for (int c : {2, 3, 45, 46, 47})
            set(c, "-");
        set(4, "pagan");
        set(15, "NOTHING");
        set(20, "0.000");
        set(21, "0.000");
    } else {
        const WorldProvince& p = map.Province(id);
        const uint32_t h = Mix(static_cast<uint32_t>(id), 2);
        set(2, p.name);
        set(3, WindowKey(p.terrain));
        num(6, p.climate);
        num(7, p.ice);
        num(8, p.storm);
        num(12, p.terrain);
        num(24, p.insideX);
        num(25, p.insideY);
        num(26, p.insideX);
        num(27, p.insideY);
        set(15, "NOTHING");
        set(20, "0.000");
        set(21, "0.000");
        set(45, AreaName(p.area));
        set(46, RegionName(p.region));
        set(47, g_continentNames[static_cast<size_t>(p.continent)]);
        set(4, "pagan");
        if (p.kind == ProvinceKind::kLand) {
            const bool settled = IsSettled(p);
            set(4, ReligionOf(p));
            num(9, h % 7 == 0 ? 1 : 0);
            num(10, (settled ? 2 : 1) + static_cast<int32_t>(h / 10 % 4));
            num(11, (settled ? 4 : 2) + static_cast<int32_t>(h / 50 % (settled ? 9 : 5)));
            const char* goods = GoodsOf(p, h / 550);
            set(15, goods);
            if (std::string(goods) == "GOLD")
                num(14, 10 + static_cast<int32_t>(h % 20));
            num(17, p.continent == 2 ? static_cast<int32_t>(h / 7 % 3) : 0);
            num(18, settled ? 0 : static_cast<int32_t>(h / 9900 % 10));
            const int32_t natives = settled ? 0 : 5 + static_cast<int32_t>(h / 99000 % 76);
            num(19, natives);
            set(20, natives ? std::to_string(h / 7 % 4) + ".000" : "0.000");
            set(21, natives ? "1.000" : "0.000");
            num(22, 1 + static_cast<int32_t>(h / 3 % 9));
            num(23, 1 + static_cast<int32_t>(h / 11 % 9));
            // Units above the settlement, the manufactory beside it.
            const auto unit = map.PointInside(id, p.insideX, p.insideY - 40, 12);
            num(24, unit.first);
            num(25, unit.second);
            const auto manufactory = map.PointInside(id, p.insideX + 50, p.insideY + 20, 12);
            num(30, manufactory.first);
            num(31, manufactory.second);
            if (p.portSeaZone) {
                num(28, p.portX);
                num(29, p.portY);
                num(32, p.portSeaZone);
            }
            if (p.terrain == 1 || p.terrain == 2) {
                const auto decoration = map.PointInside(id, p.insideX - 60, p.insideY + 30, 16);
                num(33, decoration.first);
                num(34, decoration.second);
                num(35, static_cast<int32_t>(h % 4));
            }
        }
        // Links: a linked (kind 6) province and its leading land neighbours
        // are discovered together.
        int link = 49;
        if (p.kind == ProvinceKind::kLinked) {
            for (int32_t other : p.neighbours)
                if (link <= 51 && map.Province(other).kind == ProvinceKind::kLand)
                    num(link++, other);
        } else if (p.kind == ProvinceKind::kLand) {
            for (int32_t other : p.neighbours)
                if (link <= 51 && map.Province(other).kind == ProvinceKind::kLinked)
                    num(link++, other);
        }
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
    const WorldMap& map = TheWorldMap();
    for (int32_t id = 0; id <= kLastProvince; ++id)
        csv += Row(map, id);
    return WriteFile(game / "db" / "province.csv", csv);
}

bool WriteStraits(const std::filesystem::path& game) {
    std::string csv;
    for (const WorldMap::Strait& strait : TheWorldMap().Straits())
        csv += std::to_string(strait.x) + ";" + std::to_string(strait.y) + "\r\n";
    csv += "-1;-1\r\n";
    return WriteFile(game / "db" / "straits.csv", csv);
}

const DemoWriter kProvincesWriter("db/province.csv", &WriteProvinces);
const DemoWriter kStraitsWriter("db/straits.csv", &WriteStraits);

} // namespace
