// The demo world the generator wrote into the build tree, read with the
// game's own loaders and checked for what the game relies on: the map
// tables load without a report, the province table has a row for every id,
// every province's unit position lies inside it at every zoom, the
// neighbour lists agree with the pixels that touch, every land province can
// be reached by land from the rest of its continent, every coast has its
// port, and the bounding boxes and fog cells agree with the pixels.
//
// The world is loaded once per process and the zoom-0 tiles of the whole
// map are decoded once, by the first test that needs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"
#include "world/WorldNames.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kSlots = kProvinceSlots;

bool IsLandTerrain(int32_t terrain) {
    return terrain >= 0 && terrain < kFirstSeaProvinceType;
}

// A sea zone or a lake: the water a port may lie on (the game counts a land
// province beside either as coastal).
bool IsPortWater(const CProvince& province) {
    return province.terrain == kFirstSeaProvinceType &&
           (province.area == kSeaArea || province.area == kLakeArea);
}

bool IsStraitPair(int32_t a, int32_t b) {
    for (const StraitPair& pair : kStraitPairs)
        if ((pair.a == a && pair.b == b) || (pair.a == b && pair.b == a))
            return true;
    return false;
}

// A list of findings, shown (the first few of them) when a check fails.
class Findings {
public:
    void Add(const std::string& text) { m_texts.push_back(text); }
    bool Empty() const { return m_texts.empty(); }
    std::string Text() const {
        std::string out = std::to_string(m_texts.size()) + " finding(s):\n";
        for (size_t i = 0; i < m_texts.size() && i < 40; ++i)
            out += "  " + m_texts[i] + "\n";
        if (m_texts.size() > 40)
            out += "  ...\n";
        return out;
    }

private:
    std::vector<std::string> m_texts;
};

std::string Id(int32_t id) {
    return std::to_string(id);
}

// What the zoom-0 tiles of the whole map hold.
struct DecodedMap {
    std::vector<Rect> extent = std::vector<Rect>(kSlots, Rect{INT32_MAX, INT32_MAX, -1, -1});
    std::vector<int64_t> pixels = std::vector<int64_t>(kSlots, 0);
    // touching[a x kSlots + b]: a pixel of a and one of b are side by side
    // or one above the other (across the east-west seam too).
    std::vector<uint8_t> touching = std::vector<uint8_t>(kSlots * kSlots, 0);
    int32_t damagedTiles = 0;
    Findings fogCells;

    void Touch(int32_t a, int32_t b) {
        if (a == b || a < 0 || b < 0 || a >= kProvinceSlots || b >= kProvinceSlots)
            return;
        touching[static_cast<size_t>(a) * kSlots + static_cast<size_t>(b)] = 1;
        touching[static_cast<size_t>(b) * kSlots + static_cast<size_t>(a)] = 1;
    }
    bool Touches(int32_t a, int32_t b) const {
        return touching[static_cast<size_t>(a) * kSlots + static_cast<size_t>(b)] != 0;
    }
};

// Decodes every zoom-0 tile once with the game's decoder (owner borders
// off, so that every border entry resolves to its province) and walks the
// leaves: their squares give the extents, their right and lower edges and
// the tiles' edges give the touching pairs. Each tile is also the fog cell
// of the same column and row, whose main province must be one of its own.
DecodedMap DecodeWholeMap() {
    DecodedMap out;
    const uint32_t flags = g_mapModeFlags;
    g_mapModeFlags = 0;
    MapTile tile;
    // Tiles of one province share one record: decoded once, answered from
    // its offset after that.
    std::map<uint32_t, int32_t> wholeTiles;
    const std::vector<uint8_t>& grid = g_idGrid.Level(0).grid;
    std::vector<int32_t> above(kMapWidth, -1);
    std::vector<int32_t> below(kMapWidth, -1);
    std::array<int32_t, kTileSize> firstLeft{};
    std::array<int32_t, kTileSize> lastRight{};
    for (int32_t row = 0; row < kTileRows; ++row) {
        for (int32_t column = 0; column < kTileColumns; ++column) {
            const size_t cellAt = (static_cast<size_t>(row) * kTileColumns + column) * 3;
            const uint32_t offset = grid[cellAt] | grid[cellAt + 1] << 8 | grid[cellAt + 2] << 16;
            const auto known = wholeTiles.find(offset);
            int32_t whole = known == wholeTiles.end() ? -1 : known->second;
            if (whole < 0) {
                if (!g_idGrid.DecodeTile(0, column, row, tile))
                    ++out.damagedTiles;
                else if (tile.leaves.size() == 1)
                    wholeTiles[offset] = tile.entries[tile.leaves[0].index];
            }
            const auto at = [&](int32_t x, int32_t y) {
                return whole >= 0 ? whole : tile.ProvinceAtPixel(x, y);
            };
            const int32_t x0 = column * kTileSize;
            const int32_t y0 = row * kTileSize;
            std::set<int32_t> present;
            const MapTileLeaf wholeLeaf{0, 0, kTileSize, 0, 0};
            const size_t leaves = whole >= 0 ? 1 : tile.leaves.size();
            for (size_t l = 0; l < leaves; ++l) {
                const MapTileLeaf& leaf = whole >= 0 ? wholeLeaf : tile.leaves[l];
                const int32_t id = whole >= 0 ? whole : tile.entries[leaf.index];
                present.insert(id);
                Rect& box = out.extent[static_cast<size_t>(id)];
                box.left = std::min(box.left, x0 + leaf.x);
                box.top = std::min(box.top, y0 + leaf.y);
                box.right = std::max(box.right, x0 + leaf.x + leaf.size - 1);
                box.bottom = std::max(box.bottom, y0 + leaf.y + leaf.size - 1);
                out.pixels[static_cast<size_t>(id)] += int64_t{leaf.size} * leaf.size;
                if (leaf.x + leaf.size < kTileSize)
                    for (int32_t y = leaf.y; y < leaf.y + leaf.size; ++y)
                        out.Touch(id, at(leaf.x + leaf.size, y));
                if (leaf.y + leaf.size < kTileSize)
                    for (int32_t x = leaf.x; x < leaf.x + leaf.size; ++x)
                        out.Touch(id, at(x, leaf.y + leaf.size));
            }
            for (int32_t i = 0; i < kTileSize; ++i) {
                const int32_t left = at(0, i);
                if (column == 0)
                    firstLeft[static_cast<size_t>(i)] = left;
                else
                    out.Touch(lastRight[static_cast<size_t>(i)], left);
                lastRight[static_cast<size_t>(i)] = at(kTileSize - 1, i);
                if (row > 0)
                    out.Touch(above[static_cast<size_t>(x0 + i)], at(i, 0));
                below[static_cast<size_t>(x0 + i)] = at(i, kTileSize - 1);
            }
            const IncGridCell& cell =
                g_incGrid.records[static_cast<size_t>(row * kFogColumns + column)];
            const int32_t main = g_idGrid.GetSlotProvince(x0, y0, cell.main);
            if (cell.main == 0 || main == 0 || !present.count(main))
                out.fogCells.Add("fog cell " + Id(column) + "," + Id(row) + ": main slot " +
                                 Id(cell.main) + " names province " + Id(main) +
                                 ", which is not in the cell");
            for (size_t k = 0; k < cell.near.size(); ++k)
                if (cell.near[k] != 0 && g_idGrid.GetSlotProvince(x0, y0, cell.near[k]) == 0)
                    out.fogCells.Add("fog cell " + Id(column) + "," + Id(row) + ": near slot " +
                                     Id(cell.near[k]) + " names no province");
        }
        // The map wraps east-west: the last column touches the first.
        for (size_t i = 0; i < kTileSize; ++i)
            out.Touch(lastRight[i], firstLeft[i]);
        above.swap(below);
    }
    g_mapModeFlags = flags;
    return out;
}

// The demo world as the game reads it: the map tables (CMap::Load at
// start-up), then the province table (at scenario start), from a copy of
// the world's "map" and "db" folders and the minimap pictures.
class LoadedWorld {
public:
    static LoadedWorld& Get() {
        static LoadedWorld world;
        return world;
    }

    const DecodedMap& Decoded() {
        if (!m_decoded)
            m_decoded = std::make_unique<DecodedMap>(DecodeWholeMap());
        return *m_decoded;
    }

    bool mapLoaded = false;
    bool provincesLoaded = false;
    std::vector<std::string> boxes;
    std::string provinceError;
    std::string log;
    size_t tableRows = 0;
    // The neighbour lists as the map tables give them, before the province
    // table's straits are added.
    std::vector<std::vector<ProvinceNeighbour>> fileNeighbours;

private:
    LoadedWorld() {
        const fs::path world = test::DemoWorldDir();
        fs::copy(world / "map", m_dir.Path() / "map", fs::copy_options::recursive);
        fs::copy(world / "db", m_dir.Path() / "db", fs::copy_options::recursive);
        // The minimap's two pictures, which the map load reads too.
        fs::create_directories(m_dir.Path() / "gfx" / "map");
        for (const char* name : {"minimapempty.bmp", "minimapfull.bmp"})
            fs::copy(world / "gfx" / "map" / name, m_dir.Path() / "gfx" / "map" / name);
        test::InFolder inFolder(m_dir.Path());
        test::BoxRecorder recorder;
        for (CProvince& province : g_provinces) {
            province.ClearNeighbours();
            province.terrain = 0;
        }
        g_zoomShift = 0;
        m_map = std::make_unique<CMap>();
        mapLoaded = m_map->Load();
        fileNeighbours.resize(kSlots);
        for (size_t id = 0; id < kSlots; ++id)
            fileNeighbours[id] = g_provinces[id].neighbours;
        provincesLoaded = LoadProvinces();
        provinceError = GetProvinceLoadError();
        boxes = recorder.texts;
        log = m_dir.ReadFile("log.txt");
        std::ifstream table(m_dir.Path() / "db" / "province.csv", std::ios::binary);
        for (std::string line; std::getline(table, line);)
            if (!line.empty() && line != "\r")
                ++tableRows;
    }

    test::TempDir m_dir;
    std::unique_ptr<CMap> m_map;
    std::unique_ptr<DecodedMap> m_decoded;
};

class WorldConsistency : public ::testing::Test {
protected:
    void SetUp() override {
        world = &LoadedWorld::Get();
        ASSERT_TRUE(world->mapLoaded);
        ASSERT_TRUE(world->provincesLoaded) << world->provinceError;
    }
    void TearDown() override { g_zoomShift = 0; }

    static const CProvince& P(int32_t id) { return g_provinces[static_cast<size_t>(id)]; }

    LoadedWorld* world = nullptr;
};

TEST_F(WorldConsistency, TablesLoadWithoutAReportAndTheProvinceTableHasEveryRow) {
    std::string shown;
    for (const std::string& text : world->boxes)
        shown += text + "\n";
    EXPECT_TRUE(world->boxes.empty()) << shown;
    EXPECT_EQ(world->log, "");
    // The header and one row for each id 0..1472 (the loader has checked
    // that each row holds its own id).
    EXPECT_EQ(world->tableRows, 1u + kProvinceSlots);
}

TEST_F(WorldConsistency, UnitPositionLiesInsideItsProvinceAtEveryZoom) {
    Findings findings;
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince& province = P(id);
        const MapPoint at = province.unitPosition;
        const Rect& box = province.box;
        if (at.x < box.left || at.x > box.right || at.y < box.top || at.y > box.bottom) {
            findings.Add("province " + Id(id) + ": unit position " + Id(at.x) + "," + Id(at.y) +
                         " lies outside its bounding box");
            continue;
        }
        for (int32_t zoom = 0; zoom < kZoomLevels; ++zoom) {
            g_zoomShift = zoom;
            const int32_t found = ProvinceAtMapPoint(at.x, at.y);
            if (found != id)
                findings.Add("province " + Id(id) + ": at its unit position " + Id(at.x) + "," +
                             Id(at.y) + " zoom " + Id(zoom) + " shows province " + Id(found));
        }
    }
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_F(WorldConsistency, SymbolAndManufactoryPositionsLieInsideTheirProvince) {
    Findings findings;
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince& province = P(id);
        std::vector<std::pair<const char*, MapPoint>> points = {
            {"symbol", province.symbolPosition}};
        if (IsLandTerrain(province.terrain))
            points.push_back({"manufactory", province.manufactoryPosition});
        for (const auto& [what, at] : points) {
            const int32_t found = ProvinceAtMapPoint(at.x, at.y);
            if (found != id)
                findings.Add("province " + Id(id) + ": its " + what + " position " + Id(at.x) +
                             "," + Id(at.y) + " lies in province " + Id(found));
        }
    }
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_F(WorldConsistency, NeighbourListsAreSymmetricAndAgreeWithTouchingPixels) {
    const DecodedMap& decoded = world->Decoded();
    EXPECT_EQ(decoded.damagedTiles, 0);
    Findings findings;
    for (int32_t a = 1; a <= kLastProvinceId; ++a) {
        const std::vector<ProvinceNeighbour>& links = world->fileNeighbours[static_cast<size_t>(a)];
        std::set<int32_t> listed;
        for (const ProvinceNeighbour& link : links) {
            const int32_t b = link.id;
            if (b < 1 || b == a || !listed.insert(b).second) {
                findings.Add("province " + Id(a) + " lists " + Id(b) +
                             (b == a  ? " (itself)"
                              : b < 1 ? " (no province)"
                                      : " twice"));
                continue;
            }
            const auto& back = world->fileNeighbours[static_cast<size_t>(b)];
            if (std::none_of(back.begin(), back.end(),
                             [&](const ProvinceNeighbour& l) { return l.id == a; }))
                findings.Add("province " + Id(a) + " lists " + Id(b) + " but not the other way");
            const bool crossing = link.kind == kProvinceLinkStrait || IsStraitPair(a, b);
            if (!decoded.Touches(a, b) && !crossing)
                findings.Add("province " + Id(a) + " lists " + Id(b) +
                             ", whose pixels do not touch");
        }
        for (int32_t b = 1; b <= kLastProvinceId; ++b)
            if (decoded.Touches(a, b) && !listed.count(b))
                findings.Add("provinces " + Id(a) + " and " + Id(b) + " touch but " + Id(a) +
                             " does not list " + Id(b));
    }
    // The lists the game plays with, straits added, stay symmetric.
    for (int32_t a = 1; a <= kLastProvinceId; ++a)
        for (const ProvinceNeighbour& link : P(a).neighbours)
            if (link.id > 0 && link.id <= kLastProvinceId &&
                std::none_of(P(link.id).neighbours.begin(), P(link.id).neighbours.end(),
                             [&](const ProvinceNeighbour& l) { return l.id == a; }))
                findings.Add("after the straits province " + Id(a) + " lists " + Id(link.id) +
                             " but not the other way");
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_F(WorldConsistency, EveryLandProvinceReachesItsWholeContinentByLand) {
    // Components of the land graph: leading links (the straits among them)
    // between land provinces, whatever their continent.
    std::vector<int32_t> component(kSlots, -1);
    int32_t components = 0;
    for (int32_t start = 1; start <= kLastProvinceId; ++start) {
        if (!IsLandTerrain(P(start).terrain) || component[static_cast<size_t>(start)] >= 0)
            continue;
        std::vector<int32_t> stack = {start};
        component[static_cast<size_t>(start)] = components;
        while (!stack.empty()) {
            const CProvince& province = P(stack.back());
            stack.pop_back();
            for (int32_t i = 0; i < province.neighbourCount; ++i) {
                const int32_t next = province.neighbours[static_cast<size_t>(i)].id;
                if (next < 1 || next > kLastProvinceId || !IsLandTerrain(P(next).terrain) ||
                    component[static_cast<size_t>(next)] >= 0)
                    continue;
                component[static_cast<size_t>(next)] = components;
                stack.push_back(next);
            }
        }
        ++components;
    }
    // Per continent the largest component is the mainland; every land
    // province outside it is unreachable.
    std::map<int32_t, std::map<int32_t, std::vector<int32_t>>> byContinent;
    for (int32_t id = 1; id <= kLastProvinceId; ++id)
        if (IsLandTerrain(P(id).terrain))
            byContinent[P(id).continent][component[static_cast<size_t>(id)]].push_back(id);
    Findings findings;
    // Movement takes the leading links: one between two land provinces
    // must lead both ways, or a province could be entered and not left.
    for (int32_t a = 1; a <= kLastProvinceId; ++a) {
        if (!IsLandTerrain(P(a).terrain))
            continue;
        for (int32_t i = 0; i < P(a).neighbourCount; ++i) {
            const int32_t b = P(a).neighbours[static_cast<size_t>(i)].id;
            if (b >= 1 && b <= kLastProvinceId && IsLandTerrain(P(b).terrain) &&
                !P(b).IsNeighbour(a))
                findings.Add("land province " + Id(a) + " leads to " + Id(b) +
                             ", which does not lead back");
        }
    }
    for (const auto& [continent, parts] : byContinent) {
        if (parts.size() < 2)
            continue;
        auto mainland =
            std::max_element(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
                return a.second.size() < b.second.size();
            });
        for (const auto& [part, ids] : parts) {
            if (part == mainland->first)
                continue;
            std::string list;
            for (int32_t id : ids)
                list += " " + Id(id);
            findings.Add(std::string("continent ") +
                         g_continentNames[static_cast<size_t>(continent)] +
                         ": unreachable by land from its mainland (" +
                         Id(mainland->second.front()) + " ...):" + list);
        }
    }
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_F(WorldConsistency, EveryCoastHasAPortOnTheWaterBesideIt) {
    Findings findings;
    int32_t coasts = 0;
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince& province = P(id);
        if (!IsLandTerrain(province.terrain))
            continue;
        bool besideSea = false;
        for (const ProvinceNeighbour& link : province.neighbours)
            besideSea = besideSea || (link.id > 0 && IsPortWater(P(link.id)));
        coasts += besideSea ? 1 : 0;
        const int32_t sea = province.portSeaZone;
        if (sea == 0) {
            if (besideSea)
                findings.Add("province " + Id(id) + " lies beside the sea but has no port");
            continue;
        }
        if (sea < 1 || sea > kLastProvinceId || !IsPortWater(P(sea))) {
            findings.Add("province " + Id(id) + ": its port sea zone " + Id(sea) +
                         " is no sea zone");
            continue;
        }
        if (!province.IsNeighbour(sea))
            findings.Add("province " + Id(id) + ": its port sea zone " + Id(sea) +
                         " is not its neighbour");
        const MapPoint at = province.portPosition;
        const int32_t found = ProvinceAtMapPoint(at.x, at.y);
        if (found != sea)
            findings.Add("province " + Id(id) + ": its port point " + Id(at.x) + "," + Id(at.y) +
                         " lies in province " + Id(found) + ", not in sea zone " + Id(sea));
    }
    EXPECT_GT(coasts, 0);
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_F(WorldConsistency, BoundingBoxesAndFogCellsAgreeWithThePixels) {
    const DecodedMap& decoded = world->Decoded();
    Findings findings;
    if (decoded.pixels[0] != 0)
        findings.Add(std::to_string(decoded.pixels[0]) + " map pixels belong to no province");
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const Rect& box = P(id).box;
        const Rect& seen = decoded.extent[static_cast<size_t>(id)];
        if (decoded.pixels[static_cast<size_t>(id)] == 0) {
            findings.Add("province " + Id(id) + " has no pixel on the map");
            continue;
        }
        if (box.left != seen.left || box.top != seen.top || box.right != seen.right ||
            box.bottom != seen.bottom)
            findings.Add("province " + Id(id) + ": bounding box " + Id(box.left) + "," +
                         Id(box.top) + "-" + Id(box.right) + "," + Id(box.bottom) +
                         ", its pixels " + Id(seen.left) + "," + Id(seen.top) + "-" +
                         Id(seen.right) + "," + Id(seen.bottom));
    }
    EXPECT_TRUE(findings.Empty()) << findings.Text();
    EXPECT_TRUE(decoded.fogCells.Empty()) << decoded.fogCells.Text();
}

} // namespace
