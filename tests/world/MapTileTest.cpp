// The tile decoder against tiles written by hand: entry list, border entry,
// quadtree down to single pixels, index packing, light values, and the
// damaged tiles it must survive.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/Province.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One tile: entries 5, 7 and a border entry of entry 0 toward its neighbour
// number 1 (side 15: it stays province 5). The quadtree splits the root and
// then the top-left square down to four single pixels (17 bits: 11 11 01);
// 16 leaves, 2-bit indices; light values 1, 62, 33, 44, then 63, 0 in turn.
const Bytes kGoldenTile = {0x05, 0x00, 0x07, 0x00, 0xE2, 0x89, // entries
                           0x11, 0x11, 0x01,                   // quadtree
                           0x01, 0x00, 0x00, 0x26,             // indices
                           0x81, 0x1F, 0xB2, 0x3F, 0xF0, 0x03,
                           0x3F, 0xF0, 0x03, 0x3F, 0xF0, // light
                           0x03};

// A level file of the zoom whose cells all point at offset `offset` of the
// data.
Bytes LevelFile(int32_t zoom, const Bytes& data, uint32_t offset = 0) {
    Bytes out;
    const size_t cells = static_cast<size_t>(TileRowsOf(zoom)) * TileColumnsOf(zoom);
    for (size_t i = 0; i < cells; ++i) {
        out.push_back(static_cast<uint8_t>(offset));
        out.push_back(static_cast<uint8_t>(offset >> 8));
        out.push_back(static_cast<uint8_t>(offset >> 16));
    }
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(size >> (8 * i)));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

class MapTileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int32_t id : {4, 5, 6, 7})
            g_provinces[static_cast<size_t>(id)].ClearNeighbours();
        g_provinces[5].neighbours = {{4, 0, 0}, {6, 0, 0}};
        g_provinces[5].neighbourCount = 2;
        g_mapModeFlags = 0;
        g_borderByMemberSet = 0;
    }
    void TearDown() override {
        g_provinces[5].ClearNeighbours();
        g_provinces[5].zoneFlag = g_provinces[6].zoneFlag = 0;
        g_provinces[5].shownNotDimmed = 0;
        g_idGrid.FreeLightmaps();
        g_mapModeFlags = 0;
        g_borderByMemberSet = 0;
    }

    bool Load(const Bytes& data, uint32_t offset = 0) {
        return g_idGrid.ReadLevel(0, LevelFile(0, data, offset), "lightmap1.tbl");
    }

    test::ScopedGameDir m_game; // the damage reports go to its log.txt
    test::BoxRecorder m_boxes;
};

TEST_F(MapTileTest, GoldenTileDecodesAsWritten) {
    ASSERT_TRUE(Load(kGoldenTile));
    MapTile tile;
    ASSERT_TRUE(g_idGrid.DecodeTile(0, 0, 0, tile));
    ASSERT_EQ(tile.leaves.size(), 16u);
    // Leaves in stream order: bottom-right first, the single pixels last.
    const struct {
        size_t leaf;
        int x, y, size, index, light;
    } leaves[] = {{0, 16, 16, 16, 1, 1}, {1, 0, 16, 16, 0, 62}, {2, 16, 0, 16, 0, 33},
                  {3, 8, 8, 8, 0, 44},   {4, 0, 8, 8, 0, 63},   {5, 8, 0, 8, 0, 0},
                  {11, 2, 0, 2, 0, 0},   {12, 1, 1, 1, 2, 63},  {13, 0, 1, 1, 1, 0},
                  {14, 1, 0, 1, 2, 63},  {15, 0, 0, 1, 0, 0}};
    for (const auto& c : leaves) {
        const MapTileLeaf& leaf = tile.leaves[c.leaf];
        EXPECT_EQ(leaf.x, c.x) << c.leaf;
        EXPECT_EQ(leaf.y, c.y) << c.leaf;
        EXPECT_EQ(leaf.size, c.size) << c.leaf;
        EXPECT_EQ(leaf.index, c.index) << c.leaf;
        EXPECT_EQ(leaf.light, c.light) << c.leaf;
    }
    const struct {
        int x, y, province;
    } pixels[] = {{20, 20, 7}, {31, 31, 7}, {16, 16, 7}, {15, 16, 5}, {0, 31, 5}, {20, 3, 5},
                  {0, 0, 5},   {1, 0, 5},   {0, 1, 7},   {1, 1, 5},   {3, 3, 5}};
    for (const auto& c : pixels)
        EXPECT_EQ(tile.ProvinceAtPixel(c.x, c.y), c.province) << c.x << "," << c.y;
    EXPECT_EQ(g_idGrid.DamagedTileCount(), 0u);
}

TEST_F(MapTileTest, BorderEntryBecomesThePseudoProvinceWhereOwnersDiffer) {
    ASSERT_TRUE(Load(kGoldenTile));
    g_mapModeFlags = kMapModeBorders;
    g_borderByMemberSet = 1; // member sets stand in for two owners
    g_provinces[6].zoneFlag = 1;
    MapTile tile;
    g_idGrid.DecodeTile(0, 0, 0, tile);
    EXPECT_EQ(tile.ProvinceAtPixel(1, 1), kBorderProvinceDimmed);
    g_provinces[5].shownNotDimmed = 1;
    g_idGrid.DecodeTile(0, 0, 0, tile);
    EXPECT_EQ(tile.ProvinceAtPixel(1, 0), kBorderProvince);
    EXPECT_EQ(tile.ProvinceAtPixel(0, 0), 5);
    g_provinces[6].zoneFlag = 0; // the same set: no border line
    g_idGrid.DecodeTile(0, 0, 0, tile);
    EXPECT_EQ(tile.ProvinceAtPixel(1, 1), 5);
}

TEST_F(MapTileTest, ProvinceAtReadsTheTileOfTheZoom) {
    ASSERT_TRUE(g_idGrid.ReadLevel(2, LevelFile(2, kGoldenTile), "lightmap3.tbl"));
    // Zoom 2: a tile covers 128 map pixels; screen pixel (0, 1) is map rows
    // 4..7 of the tile's first four columns.
    EXPECT_EQ(g_idGrid.ProvinceAt(128 * 7 + 2, 128 * 3 + 5, 2), 7);
    EXPECT_EQ(g_idGrid.ProvinceAt(128 * 7 + 70, 128 * 3 + 70, 2), 7);
    EXPECT_EQ(g_idGrid.ProvinceAt(128 * 7 + 4, 128 * 3 + 4, 2), 5);
    // x wraps; row 0 and rows past the map have no province.
    EXPECT_EQ(g_idGrid.ProvinceAt(128 * 7 + 2 - 18944, 128 * 3 + 5, 2), 7);
    EXPECT_EQ(g_idGrid.ProvinceAt(500, 0, 2), 0);
    EXPECT_EQ(g_idGrid.ProvinceAt(500, 7296, 2), 0);
    // A zoom level that was not read answers 0.
    EXPECT_EQ(g_idGrid.ProvinceAt(20, 20, 0), 0);
}

TEST_F(MapTileTest, SingleEntryTileCarriesNoIndexBits) {
    // Entry 9 alone, one leaf (bit 0), light 45.
    ASSERT_TRUE(Load({0x09, 0x80, 0x00, 45}));
    MapTile tile;
    ASSERT_TRUE(g_idGrid.DecodeTile(0, 3, 4, tile));
    ASSERT_EQ(tile.leaves.size(), 1u);
    EXPECT_EQ(tile.leaves[0].size, 32);
    EXPECT_EQ(tile.leaves[0].light, 45);
    EXPECT_EQ(tile.ProvinceAtPixel(31, 31), 9);
}

TEST_F(MapTileTest, DamagedTilesGiveProvinceZeroAndAreReportedOncePerTile) {
    const struct {
        const char* what;
        Bytes data;
        uint32_t offset;
        int x, y;         // a pixel that must be province 0
        int goodX, goodY; // one that keeps its province (-1: none)
        int good;
    } cases[] = {
        // Entry 1 is a border entry of entry 1 (itself).
        {"border entry at itself", {0x05, 0x00, 0xE2, 0x8A, 0x00, 0x01, 10}, 0, 0, 0, -1, -1, 0},
        // The border entry names entry 2, after itself.
        {"border entry later",
         {0x05, 0x00, 0xE2, 0x0C, 0x07, 0x80, 0x01, 0x01, 0, 0, 0},
         0,
         20,
         20,
         0,
         0,
         5},
        // Neighbour number 5 of province 5, which has two.
        {"missing neighbour", {0x05, 0x00, 0xEA, 0x89, 0x01, 0x01, 0, 0, 0}, 0, 20, 20, 0, 0, 5},
        // Three entries, one split into four 16-pixel leaves, index 3 on the
        // last (top-left).
        {"leaf index past the entries",
         {0x05, 0x00, 0x07, 0x00, 0x08, 0x80, 0x01, 0xC4, 0, 0, 0},
         0,
         0,
         0,
         20,
         20,
         5},
        {"offset past the data", {0x09, 0x80, 0x00, 45}, 4, 5, 5, -1, -1, 0},
        {"data end early", {0x05, 0x00, 0x07, 0x80, 0x01}, 0, 20, 20, -1, -1, 0},
        {"entry list never ends", {0x05, 0x00, 0x07, 0x00}, 0, 20, 20, -1, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Load(c.data, c.offset));
        const uint32_t before = g_idGrid.DamagedTileCount();
        MapTile tile;
        EXPECT_FALSE(g_idGrid.DecodeTile(0, 1, 1, tile));
        EXPECT_EQ(tile.ProvinceAtPixel(c.x, c.y), 0);
        if (c.goodX >= 0) {
            EXPECT_EQ(tile.ProvinceAtPixel(c.goodX, c.goodY), c.good);
        }
        EXPECT_EQ(g_idGrid.DamagedTileCount(), before + 1);
        g_idGrid.DecodeTile(0, 1, 1, tile); // the same tile again: no new report
        EXPECT_EQ(g_idGrid.DamagedTileCount(), before + 1);
        g_idGrid.DecodeTile(0, 2, 1, tile); // another tile is reported
        EXPECT_EQ(g_idGrid.DamagedTileCount(), before + 2);
    }
}

TEST_F(MapTileTest, ShortLevelFileIsRefusedAndTheLevelKept) {
    ASSERT_TRUE(Load(kGoldenTile));
    Bytes file = LevelFile(0, kGoldenTile);
    file.resize(file.size() - 1); // one byte short of the size word's data
    EXPECT_FALSE(g_idGrid.ReadLevel(0, file, "lightmap1.tbl"));
    EXPECT_TRUE(m_boxes.Shown("lightmap1.tbl"));
    file.resize(1000); // short of the cell grid
    EXPECT_FALSE(g_idGrid.ReadLevel(0, file, "lightmap1.tbl"));
    EXPECT_EQ(g_idGrid.ProvinceAt(20, 20, 0), 7);
}

} // namespace
