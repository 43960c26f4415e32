// The map tables of the demo world as CMap::Load reads them, checked
// against the layout the generator drew them from; and the files Load must
// refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "tools/DemoMapLayout.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Minimap.h"
#include "world/Province.h"

namespace {

namespace fs = std::filesystem;

void SetLayoutTerrain() {
    for (int32_t id = 1; id <= demo::kLastProvince; ++id)
        g_provinces[static_cast<size_t>(id)].terrain = demo::IsSea(id) ? 5 : 0;
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
    for (int32_t id : {1, 64, 65, 300, 737, 1000, 1409, 1472}) {
        SCOPED_TRACE(id);
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        const demo::CellRect cell = demo::CellOf(id);
        EXPECT_EQ(province.box.left, cell.left);
        EXPECT_EQ(province.box.top, cell.top);
        EXPECT_EQ(province.box.right, cell.right);
        EXPECT_EQ(province.box.bottom, cell.bottom);
        MapPoint centre;
        GetProvinceCentre(centre, id);
        EXPECT_EQ(centre.x, cell.left + (cell.right - cell.left) / 2);
        EXPECT_EQ(centre.y, cell.top + (cell.bottom - cell.top) / 2);
        const std::vector<int32_t> expected = demo::GridNeighbours(id);
        ASSERT_EQ(province.GetNeighbourTotal(), static_cast<int32_t>(expected.size()));
        EXPECT_EQ(province.neighbourCount, static_cast<int32_t>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(province.neighbours[i].id, expected[i]);
    }
    // Column 2 is land beside the western ocean (column 1); column 1 is a
    // sea zone beside it; column 10 is inland.
    const int32_t coast = demo::ProvinceOfCell(2, 5);
    const int32_t sea = demo::ProvinceOfCell(1, 5);
    const int32_t inland = demo::ProvinceOfCell(10, 5);
    g_provinces[static_cast<size_t>(sea)].area = kSeaArea;
    ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
    EXPECT_EQ(g_provinces[static_cast<size_t>(coast)].coastal, 1);
    EXPECT_EQ(g_provinces[static_cast<size_t>(inland)].coastal, 0);
    EXPECT_EQ(g_provinces[static_cast<size_t>(sea)].coastalSeaZone, 1);
    g_provinces[static_cast<size_t>(sea)].area = 0;
}

TEST_F(MapLoadTest, LeadingCountStopsAtTheFirstNeighbourOfKindSix) {
    MapFolder folder;
    const int32_t id = demo::ProvinceOfCell(10, 5);
    const std::vector<int32_t> around = demo::GridNeighbours(id);
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
        EXPECT_EQ(g_provinces[static_cast<size_t>(id)].GetNeighbourTotal(), 4);
    }
}

TEST_F(MapLoadTest, ProvinceAtMapPointMatchesTheLayoutAtEveryZoom) {
    MapFolder folder;
    CMap map;
    ASSERT_TRUE(map.Load());
    // Corners, edges and centres of every tenth province and the pixels on
    // both sides of its cell's borders.
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t id = 1; id <= demo::kLastProvince; id += 10) {
        const demo::CellRect c = demo::CellOf(id);
        for (int32_t x : {c.left, c.left + 1, (c.left + c.right) / 2, c.right - 1, c.right})
            for (int32_t y : {c.top, c.top + 1, (c.top + c.bottom) / 2, c.bottom - 1, c.bottom})
                points.emplace_back(x, y);
    }
    for (int32_t zoom = 0; zoom < kZoomLevels; ++zoom) {
        SCOPED_TRACE(zoom);
        g_zoomShift = zoom;
        const int32_t pixel = ~((1 << zoom) - 1);
        int failures = 0;
        for (const auto& [x, y] : points) {
            const int32_t expected = y < 1 ? 0 : demo::ProvinceAt(x & pixel, y & pixel);
            const int32_t found = ProvinceAtMapPoint(x, y);
            if (found != expected && ++failures < 5)
                ADD_FAILURE() << "(" << x << ", " << y << "): " << found << " not " << expected;
        }
        EXPECT_EQ(failures, 0);
        // Row 0 and points off the map have no province; x = -1 and 18944
        // are off the map too.
        EXPECT_EQ(ProvinceAtMapPoint(5000, 0), 0);
        EXPECT_EQ(ProvinceAtMapPoint(-1, 3000), 0);
        EXPECT_EQ(ProvinceAtMapPoint(18944, 3000), 0);
        EXPECT_EQ(ProvinceAtMapPoint(5000, 7296), 0);
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
            EXPECT_EQ(g_idGrid.GetSlotProvince(x, y, cell.main), demo::ProvinceAt(x + 16, y + 16))
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
        EXPECT_EQ(g_provinces[100].GetNeighbourTotal(), 4); // the lists read before stay
    }
    // Reading the table again replaces the lists rather than adding to them.
    folder.Write("adjacent.tbl", good);
    ASSERT_TRUE(LoadAdjacency(kAdjacencyFile));
    EXPECT_EQ(g_provinces[100].GetNeighbourTotal(), 4);

    std::vector<uint8_t> boxes = folder.Read("boundbox.tbl");
    boxes.resize(23568 - 1);
    folder.Write("boundbox.tbl", boxes);
    EXPECT_FALSE(LoadBoundBoxes(kBoundBoxFile));
    EXPECT_EQ(g_provinces[1472].box.right, demo::CellOf(1472).right);

    std::vector<uint8_t> ids = folder.Read("idgrid.tbl");
    PutU32(ids, 4 * 300, 1473);
    folder.Write("idgrid.tbl", ids);
    EXPECT_FALSE(g_idGrid.Load());
}

} // namespace
