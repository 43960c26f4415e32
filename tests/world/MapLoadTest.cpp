// The map tables of the demo world as CMap::Load reads them, checked
// against the raw tables and against each other (every zoom level agrees
// with the full-size one); and the files Load must refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Minimap.h"
#include "world/Province.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kLastProvince = 1472;

// The terrain column of the demo world's province table, by id.
const std::vector<int32_t>& TableTerrain() {
    static const std::vector<int32_t> terrain = [] {
        std::vector<int32_t> out(kLastProvince + 1, 0);
        std::ifstream in(test::DemoWorldDir() / "db" / "province.csv");
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            std::vector<std::string> cells;
            size_t start = 0;
            for (size_t at = line.find(';'); at != std::string::npos; at = line.find(';', start)) {
                cells.push_back(line.substr(start, at - start));
                start = at + 1;
            }
            const int32_t id = std::stoi(cells.at(0));
            if (id >= 0 && id <= kLastProvince)
                out[static_cast<size_t>(id)] = std::stoi(cells.at(11));
        }
        return out;
    }();
    return terrain;
}

void SetLayoutTerrain() {
    for (int32_t id = 1; id <= kLastProvince; ++id)
        g_provinces[static_cast<size_t>(id)].terrain = TableTerrain()[static_cast<size_t>(id)];
}

uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(bytes[at + static_cast<size_t>(i)]) << (8 * i);
    return value;
}

void ClearProvinces() {
    for (CProvince& province : g_provinces) {
        province.ClearNeighbours();
        province.terrain = 0;
        province.box = {};
    }
}

// A copy of the demo world's map folder, the current folder while the
// object lives.
class MapFolder : public test::ScopedGameDir {
public:
    MapFolder() {
        fs::copy(test::DemoWorldDir() / "map", Path() / "map", fs::copy_options::recursive);
        // The minimap's two pictures.
        fs::create_directories(Path() / "gfx" / "map");
        for (const char* name : {"minimapempty.bmp", "minimapfull.bmp"})
            fs::copy(test::DemoWorldDir() / "gfx" / "map" / name, Path() / "gfx" / "map" / name);
    }
    fs::path File(const std::string& name) const { return Path() / "map" / name; }
    void Truncate(const std::string& name, uintmax_t size) const {
        fs::resize_file(File(name), size);
    }
    std::vector<uint8_t> Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(File(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
};

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

class MapLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearProvinces();
        SetLayoutTerrain();
        g_zoomShift = 0;
        g_selectedProvince = 0;
    }
    void TearDown() override {
        FreeMapData();
        ClearProvinces();
        g_zoomShift = 0;
        g_selectedProvince = 0;
        RecolourMap(0, 0);
        SetViewRect(0, 0, 800, 600);
    }
    test::BoxRecorder m_boxes;
};

TEST_F(MapLoadTest, DemoWorldLoadsBoxesNeighboursAndCoasts) {
    MapFolder folder;
    CMap map;
    ASSERT_TRUE(map.Load());
    EXPECT_TRUE(m_boxes.texts.empty());
    ASSERT_NE(g_minimap, nullptr);
    EXPECT_EQ(g_mapMode, MAPMODE_TERRAIN);

    // Province 0: a box from record 0, no neighbours.
    EXPECT_EQ(g_provinces[0].box.right, 0);
    EXPECT_EQ(g_provinces[0].GetNeighbourTotal(), 0);
    // Boxes and neighbour lists as the raw tables hold them.
    const std::vector<uint8_t> boxes = folder.Read("boundbox.tbl");
    const std::vector<uint8_t> adjacency = folder.Read("adjacent.tbl");
    for (int32_t id : {1, 64, 65, 300, 737, 1000, 1409, 1472}) {
        SCOPED_TRACE(id);
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        const size_t at = static_cast<size_t>(id) * 16;
        const int32_t left = static_cast<int32_t>(GetU32(boxes, at));
        const int32_t top = static_cast<int32_t>(GetU32(boxes, at + 4));
        const int32_t right = static_cast<int32_t>(GetU32(boxes, at + 8));
        const int32_t bottom = static_cast<int32_t>(GetU32(boxes, at + 12));
        EXPECT_EQ(province.box.left, left);
        EXPECT_EQ(province.box.top, top);
        EXPECT_EQ(province.box.right, right);
        EXPECT_EQ(province.box.bottom, bottom);
        MapPoint centre;
        GetProvinceCentre(centre, id);
        EXPECT_EQ(centre.x, left + (right - left) / 2);
        EXPECT_EQ(centre.y, top + (bottom - top) / 2);
        const uint32_t first = GetU32(adjacency, static_cast<size_t>(id) * 4);
        const uint32_t end = GetU32(adjacency, static_cast<size_t>(id + 1) * 4);
        ASSERT_EQ(province.GetNeighbourTotal(), static_cast<int32_t>(end - first));
        for (uint32_t k = first; k < end; ++k)
            EXPECT_EQ(
                province.neighbours[k - first].id,
                static_cast<int32_t>(GetU32(adjacency, 1474 * 4 + static_cast<size_t>(k) * 12)));
    }
    // A land province beside a sea zone is coastal, the sea zone a coastal
    // sea zone; a land province among land only is not.
    int32_t coast = 0, sea = 0, inland = 0;
    for (int32_t id = 1; id <= kLastProvince && (!coast || !inland); ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (province.terrain >= 5)
            continue;
        bool water = false;
        for (int32_t k = 0; k < province.GetNeighbourTotal(); ++k)
            if (g_provinces[static_cast<size_t>(province.neighbours[k].id)].terrain == 5) {
                water = true;
                if (!coast) {
                    coast = id;
                    sea = province.neighbours[k].id;
                }
            }
        if (!water && !inland)
            inland = id;
    }
    ASSERT_TRUE(coast && sea && inland);
    g_provinces[static_cast<size_t>(sea)].area = kSeaArea;
    ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
    EXPECT_EQ(g_provinces[static_cast<size_t>(coast)].coastal, 1);
    EXPECT_EQ(g_provinces[static_cast<size_t>(inland)].coastal, 0);
    EXPECT_EQ(g_provinces[static_cast<size_t>(sea)].coastalSeaZone, 1);
    g_provinces[static_cast<size_t>(sea)].area = 0;
}

TEST_F(MapLoadTest, LeadingCountStopsAtTheFirstNeighbourOfKindSix) {
    MapFolder folder;
    // A land province with at least four neighbours, none of them of kind 6.
    const std::vector<uint8_t> adjacency = folder.Read("adjacent.tbl");
    int32_t id = 0;
    std::vector<int32_t> around;
    for (int32_t candidate = 1; candidate <= kLastProvince && !id; ++candidate) {
        const uint32_t first = GetU32(adjacency, static_cast<size_t>(candidate) * 4);
        const uint32_t end = GetU32(adjacency, static_cast<size_t>(candidate + 1) * 4);
        std::vector<int32_t> list;
        for (uint32_t k = first; k < end; ++k)
            list.push_back(
                static_cast<int32_t>(GetU32(adjacency, 1474 * 4 + static_cast<size_t>(k) * 12)));
        bool plain = TableTerrain()[static_cast<size_t>(candidate)] < 5 && list.size() >= 4;
        for (int32_t other : list)
            plain = plain && TableTerrain()[static_cast<size_t>(other)] != 6;
        if (plain) {
            id = candidate;
            around = list;
        }
    }
    ASSERT_NE(id, 0);
    const int32_t total = static_cast<int32_t>(around.size());
    const struct {
        size_t kindSixAt;
        int32_t leading;
    } cases[] = {{0, 0}, {2, 2}, {3, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kindSixAt);
        SetLayoutTerrain();
        g_provinces[static_cast<size_t>(around[c.kindSixAt])].terrain = 6;
        ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
        EXPECT_EQ(g_provinces[static_cast<size_t>(id)].neighbourCount, c.leading);
        EXPECT_EQ(g_provinces[static_cast<size_t>(id)].GetNeighbourTotal(), total);
    }
}

TEST_F(MapLoadTest, ProvinceAtMapPointAgreesAtEveryZoom) {
    MapFolder folder;
    CMap map;
    ASSERT_TRUE(map.Load());
    // Corners, edges and centres of every tenth province's box and the
    // pixels on both sides of its edges; at each zoom the province found
    // is the one the full-size level shows at the pixel that zoom samples.
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t id = 1; id <= kLastProvince; id += 10) {
        const Rect& c = g_provinces[static_cast<size_t>(id)].box;
        for (int32_t x : {c.left, c.left + 1, (c.left + c.right) / 2, c.right - 1, c.right})
            for (int32_t y : {c.top, c.top + 1, (c.top + c.bottom) / 2, c.bottom - 1, c.bottom})
                points.emplace_back(x, y);
    }
    g_zoomShift = 0;
    std::vector<int32_t> full;
    for (const auto& [x, y] : points)
        full.push_back(ProvinceAtMapPoint(x, y));
    for (int32_t zoom = 1; zoom < kZoomLevels; ++zoom) {
        SCOPED_TRACE(zoom);
        const int32_t pixel = ~((1 << zoom) - 1);
        int failures = 0;
        for (const auto& [x, y] : points) {
            if ((y & pixel) == 0)
                continue; // the top row has no province at zoom 0 only
            g_zoomShift = 0;
            const int32_t expected = ProvinceAtMapPoint(x & pixel, y & pixel);
            g_zoomShift = zoom;
            const int32_t found = ProvinceAtMapPoint(x, y);
            if (found != expected && ++failures < 5)
                ADD_FAILURE() << "(" << x << ", " << y << "): " << found << " not " << expected;
        }
        EXPECT_EQ(failures, 0);
    }
    for (int32_t zoom = 0; zoom < kZoomLevels; ++zoom) {
        g_zoomShift = zoom;
        // Row 0 and points off the map have no province; x = -1 and 18944
        // are off the map too.
        EXPECT_EQ(ProvinceAtMapPoint(5000, 0), 0);
        EXPECT_EQ(ProvinceAtMapPoint(-1, 3000), 0);
        EXPECT_EQ(ProvinceAtMapPoint(18944, 3000), 0);
        EXPECT_EQ(ProvinceAtMapPoint(5000, 7296), 0);
    }
    // Every sampled province lies inside its own box.
    for (size_t i = 0; i < points.size(); ++i) {
        const int32_t id = full[i];
        if (id <= 0)
            continue;
        const Rect& box = g_provinces[static_cast<size_t>(id)].box;
        const auto [x, y] = points[i];
        EXPECT_TRUE(x >= box.left && x <= box.right && y >= box.top && y <= box.bottom)
            << id << " at (" << x << ", " << y << ")";
    }
    EXPECT_EQ(g_idGrid.DamagedTileCount(), 0u);
}

TEST_F(MapLoadTest, IdGridAndFogCellsNameTheCoveringProvince) {
    MapFolder folder;
    CMap map;
    ASSERT_TRUE(map.Load());
    for (int32_t row : {3, 50, 100, 227})
        for (int32_t column : {0, 9, 300, 591}) {
            const IncGridCell& cell =
                g_incGrid.records[static_cast<size_t>(row * kFogColumns + column)];
            const int32_t x = column * 32;
            const int32_t y = row * 32;
            g_zoomShift = 0;
            EXPECT_EQ(g_idGrid.GetSlotProvince(x, y, cell.main),
                      ProvinceAtMapPoint(x + 16, std::min(y + 16, 7295)))
                << column << "," << row;
            for (size_t k = 0; k < 3; ++k)
                if (cell.near[k] != 0) {
                    EXPECT_NE(g_idGrid.GetSlotProvince(x, y, cell.near[k]), 0);
                }
        }
    EXPECT_EQ(g_idGrid.GetSlotProvince(0, 0, 0), 0);
    EXPECT_EQ(g_idGrid.GetSlotProvince(0, 0, 256), 0);
    g_incGrid.fog[5] = 0;
    g_incGrid.ResetFog();
    EXPECT_EQ(g_incGrid.fog[5], 127);
}

TEST_F(MapLoadTest, MissingOrShortMapFileFailsTheLoad) {
    const std::string files[] = {"boundbox.tbl",  "adjacent.tbl",   "idgrid.tbl",
                                 "lightmap1.tbl", "lightmap3.tbl",  "lightmap5.tbl",
                                 "incgrid.tbl",   "colorscales.csv"};
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        {
            MapFolder folder;
            folder.Truncate(name, fs::file_size(folder.File(name)) / 2);
            CMap map;
            EXPECT_FALSE(map.Load());
            EXPECT_TRUE(m_boxes.Shown(name) || m_boxes.Shown("excel file")) << "short";
        }
        if (name == "incgrid.tbl")
            continue; // may be missing: every cell stays without a province
        MapFolder folder;
        fs::remove(folder.File(name));
        CMap map;
        EXPECT_FALSE(map.Load()) << "missing";
    }
    MapFolder folder;
    fs::remove(folder.File("incgrid.tbl"));
    CMap map;
    EXPECT_TRUE(map.Load());
}

TEST_F(MapLoadTest, BadTablesAreRefusedAndNothingIsLost) {
    MapFolder folder;
    ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
    ASSERT_TRUE(LoadBoundBoxes(kBoundBoxFile));
    const std::vector<uint8_t> good = folder.Read("adjacent.tbl");
    const int32_t around100 = static_cast<int32_t>(GetU32(good, 101 * 4) - GetU32(good, 100 * 4));
    const uint32_t records = static_cast<uint32_t>((good.size() - 1474 * 4) / 12);
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"falling offset", 4 * 100, 5000},
        {"first offset not 0", 0, 1},
        {"last offset not the record count", 4 * 1473, records - 1},
        {"neighbour id 1500", 1474 * 4 + 12 * 7, 1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        PutU32(bytes, c.at, c.value);
        folder.Write("adjacent.tbl", bytes);
        m_boxes.texts.clear();
        EXPECT_FALSE(LoadAdjacency(kAdjacencyFile));
        EXPECT_TRUE(m_boxes.Shown("adjacent.tbl"));
        EXPECT_EQ(g_provinces[100].GetNeighbourTotal(), around100); // the lists read before stay
    }
    // Reading the table again replaces the lists rather than adding to them.
    folder.Write("adjacent.tbl", good);
    ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
    EXPECT_EQ(g_provinces[100].GetNeighbourTotal(), around100);

    std::vector<uint8_t> boxes = folder.Read("boundbox.tbl");
    const int32_t lastRight = static_cast<int32_t>(GetU32(boxes, 1472 * 16 + 8));
    boxes.resize(23568 - 1);
    folder.Write("boundbox.tbl", boxes);
    EXPECT_FALSE(LoadBoundBoxes(kBoundBoxFile));
    EXPECT_EQ(g_provinces[1472].box.right, lastRight);

    std::vector<uint8_t> ids = folder.Read("idgrid.tbl");
    PutU32(ids, 4 * 300, 1473);
    folder.Write("idgrid.tbl", ids);
    EXPECT_FALSE(g_idGrid.Load());
}

} // namespace
