#pragma once
// The demo world's map: every province of the generated world with where it
// lies, what it touches and what it is. Made once, from a fixed seed, by
// TheWorldMap(); every writer whose files must agree on the map (the map
// tables, the province table, the pictures of the map, the scenarios) reads
// it from here. The map wraps east-west at x = 0; no province crosses that
// seam (it runs through open sea).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace demo {

constexpr int32_t kMapWidth = 18944;
constexpr int32_t kMapHeight = 7296;
constexpr int32_t kLastProvince = 1472;

enum class ProvinceKind : uint8_t {
    kNone,      // record 0
    kLand,      // terrain 0..4
    kSea,       // a sea zone: terrain 5, area "Sea"
    kLake,      // terrain 5, area "Lake"
    kLinked,    // terrain 6: land discovered together with its linked provinces
    kWasteland, // terrain 8: land that cannot be selected
};

struct MapRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // inclusive map pixels
};

struct WorldProvince {
    int32_t id = 0;
    ProvinceKind kind = ProvinceKind::kNone;
    std::string name;
    // Indices into the fixed name lists of world/WorldNames.h (0 = "-").
    int32_t continent = 0;
    int32_t region = 0;
    int32_t area = 0;
    int32_t terrain = 0; // the province table's terrain code
    MapRect box;         // the bounding box of its pixels
    // A map point that lies inside the province, away from its border (its
    // units, symbols and name are placed around it).
    int32_t insideX = 0, insideY = 0;
    // Provinces whose pixels touch this one's (sideways or up and down,
    // across the seam too), in id order with the kind-6 ones last.
    std::vector<int32_t> neighbours;
    // Land beside the sea: the sea zone of its port and a point inside that
    // sea zone near the shore (0 for a province without a port).
    int32_t portSeaZone = 0;
    int32_t portX = 0, portY = 0;
    int32_t climate = 0; // winter class 0, 5, 7, 8 (others: no winter)
    int32_t ice = 0;     // freezes in winter
    int32_t storm = 0;   // storms can strike
    int32_t height = 0;  // mean height of its land, 0..255 (0 for water)
    int32_t pixels = 0;  // its area in map pixels

    bool IsLand() const {
        return kind == ProvinceKind::kLand || kind == ProvinceKind::kLinked ||
               kind == ProvinceKind::kWasteland;
    }
    bool IsWater() const { return kind == ProvinceKind::kSea || kind == ProvinceKind::kLake; }
};

class WorldMap {
public:
    // The province covering a map point: x wraps, y is held to the map.
    int32_t ProvinceAt(int32_t x, int32_t y) const;
    // Records 0..1472, index = province id.
    const std::vector<WorldProvince>& Provinces() const { return provinces_; }
    const WorldProvince& Province(int32_t id) const {
        return provinces_.at(static_cast<size_t>(id));
    }
    // The nine strait crossings the game links (in its fixed order of
    // pairs), each with the map point half way across the water.
    struct Strait {
        int32_t a = 0, b = 0;
        int32_t x = 0, y = 0;
    };
    const std::vector<Strait>& Straits() const { return straits_; }

    // How far a map point lies inside its province: the steps from cell to
    // side-by-side cell to the nearest cell of another province, in pixels.
    int32_t DepthAt(int32_t x, int32_t y) const;

    // The land height (0 = sea level .. 255) at a map point; water gives 0.
    int32_t HeightAt(int32_t x, int32_t y) const;

    // The raster the map is made of: one province id per square of
    // kCellSize x kCellSize map pixels.
    static constexpr int32_t kCellSize = 4;
    static constexpr int32_t kColumns = kMapWidth / kCellSize;
    static constexpr int32_t kRows = kMapHeight / kCellSize;
    const std::vector<uint16_t>& Cells() const { return cells_; }
    const std::vector<uint8_t>& Heights() const { return heights_; }

    // The map point of the province nearest to (x, y) that lies at least
    // `margin` pixels inside its border (less where the province is too
    // narrow for that): a place for a symbol or a unit.
    std::pair<int32_t, int32_t> PointInside(int32_t id, int32_t x, int32_t y, int32_t margin) const;

    // Made once on first use (deterministic: the same on every run).
    friend const WorldMap& TheWorldMap();

private:
    WorldMap() = default;
    // The raster cell of a map point (x wraps, y is held to the map).
    static size_t CellIndex(int32_t x, int32_t y);
    std::vector<WorldProvince> provinces_;
    std::vector<uint16_t> cells_;  // kColumns x kRows, row by row
    std::vector<uint8_t> heights_; // kColumns x kRows
    std::vector<uint16_t> depths_; // cells from the province's border
    std::vector<Strait> straits_;
    friend class WorldMapBuilder;
};

const WorldMap& TheWorldMap();

} // namespace demo
