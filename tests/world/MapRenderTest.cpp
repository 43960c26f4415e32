// The map view drawn into its image from hand-made tiles: light between leaf
// corners, fog thresholds, parchment beyond the map, scrolling against a
// full redraw, the fog around revealed provinces and the minimap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Display.h"
#include "engine/Image.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Session.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "world/Discovery.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapRender.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Minimap.h"
#include "world/Province.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One leaf of light 40 over the whole tile: province 5.
const Bytes kFlatTile = {0x05, 0x80, 0x00, 40, 0, 0};

// Four leaves of 16 (quadtree bits 1 0000) of province 6; lights in stream
// order bottom-right 8, bottom-left 60, top-right 20, top-left 0.
Bytes QuadTile(int32_t province, uint8_t br, uint8_t bl, uint8_t tr, uint8_t tl) {
    return {static_cast<uint8_t>(province),
            static_cast<uint8_t>(0x80 | province >> 8),
            0x01,
            static_cast<uint8_t>(br | bl << 6),
            static_cast<uint8_t>((bl >> 2) | (tr & 15) << 4),
            static_cast<uint8_t>((tr >> 4) | tl << 2)};
}

// A level file whose cell (column, row) points at tile pick(column, row) of
// the tiles laid one after another.
template <typename Pick> Bytes LevelFile(int32_t zoom, const std::vector<Bytes>& tiles, Pick pick) {
    std::vector<uint32_t> offsets;
    Bytes data;
    for (const Bytes& tile : tiles) {
        offsets.push_back(static_cast<uint32_t>(data.size()));
        data.insert(data.end(), tile.begin(), tile.end());
    }
    Bytes out;
    for (int32_t row = 0; row < TileRowsOf(zoom); ++row)
        for (int32_t column = 0; column < TileColumnsOf(zoom); ++column) {
            const uint32_t offset = offsets[static_cast<size_t>(pick(column, row))];
            for (int i = 0; i < 3; ++i)
                out.push_back(static_cast<uint8_t>(offset >> (8 * i)));
        }
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(size >> (8 * i)));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// Shade-table entries that name their own row and column.
uint16_t Entry(int32_t row, int32_t column) {
    return static_cast<uint16_t>(row * 64 + column);
}

class MapRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int32_t row = 0; row < kShadeRows; ++row)
            for (int32_t column = 0; column < kShadeColumns; ++column)
                g_mapShadeTable[static_cast<size_t>(row)][static_cast<size_t>(column)] =
                    Entry(row, column);
        for (int32_t id : {5, 6, 7}) {
            g_provinces[static_cast<size_t>(id)].mapColour = id;
            g_provinces[static_cast<size_t>(id)].shade = 15;
        }
        g_mapModeFlags = 0;
        InitWorldBounds();
        g_zoomShift = 0;
        std::fill(g_incGrid.fog.begin(), g_incGrid.fog.end(), uint8_t{0});
        g_mapScrollForce = 0;
    }
    void TearDown() override {
        g_idGrid.FreeLightmaps();
        g_incGrid.ResetFog();
        g_incGrid.records.assign(kIncGridRecords, IncGridCell{});
        g_idGrid.ids.fill(0);
        for (CProvince& province : g_provinces) {
            province.mapColour = 0;
            province.shade = 15;
            province.knownToPlayer = 0;
            province.terrain = 0;
            province.box = {};
            province.discoveredBy.fill(0);
        }
        delete g_mapImage;
        g_mapImage = nullptr;
        g_dirtyCells.clear();
        g_dirtyColumns = g_dirtyRows = 0;
        g_screen.reset();
        g_zoomShift = 0;
        SetViewRect(0, 0, 800, 600);
        SetViewCentre(0, 0);
        g_lastDrawnOrigin = {};
        g_mapRedraw = 1;
    }

    void LoadTiles(
        int32_t zoom, const std::vector<Bytes>& tiles,
        int32_t (*pick)(int32_t, int32_t) = [](int32_t, int32_t) { return 0; }) {
        ASSERT_TRUE(g_idGrid.ReadLevel(zoom, LevelFile(zoom, tiles, pick), "lightmap.tbl"));
    }

    // A view of the size at the screen's top-left, its image and its cells.
    void MakeView(int32_t width, int32_t height) {
        SetViewRect(0, 0, width, height);
        delete g_mapImage;
        g_mapImage = new CImage(width, height, 16, kImageMemory);
        g_dirtyColumns = width / 32;
        g_dirtyRows = height / 32;
        g_dirtyCells.assign(static_cast<size_t>(g_dirtyColumns) * g_dirtyRows, 1);
        g_screen = std::make_unique<CImage>(width, height, 16, kImageMemory);
    }

    // Draws the view whole (redraw flag) and answers the pixel at (x, y) of
    // the view.
    void RedrawWhole() {
        g_mapRedraw = 1;
        m_map.Draw(0);
        m_map.Draw(2);
        m_map.Draw(3);
    }
    uint16_t ViewPixel(int32_t x, int32_t y) const { return imagetest::PixelAt(*g_screen, x, y); }

    CMap m_map;
};

TEST_F(MapRenderTest, LightRunsBetweenTheLeafCornersAndFromTheTileBelow) {
    LoadTiles(0, {QuadTile(6, 8, 60, 20, 0)});
    MakeView(64, 64);
    SetViewCentre(32, 96); // origin (0, 64)
    RedrawWhole();
    // Top-left leaf: corners 0 (own), 20 (right), 60 (below), 8 (diagonal).
    // Bottom-left leaf: corners 60, 8 and from the tile below 0 and 20.
    struct Corners {
        int32_t x0, y0, a, b, c, d;
    };
    const Corners leaves[] = {{0, 0, 0, 20, 60, 8}, {0, 16, 60, 8, 0, 20}};
    for (const Corners& leaf : leaves)
        for (int32_t py : {0, 5, 15})
            for (int32_t px : {0, 1, 7, 15}) {
                const double left = leaf.a + (leaf.c - leaf.a) * py / 16.0;
                const double right = leaf.b + (leaf.d - leaf.b) * py / 16.0;
                const int32_t light =
                    static_cast<int32_t>(std::floor(left + (right - left) * px / 16.0 + 0.5));
                EXPECT_EQ(ViewPixel(leaf.x0 + px, leaf.y0 + py), Entry(ShadeRow(light, 0, 15), 6))
                    << leaf.y0 << ": " << px << "," << py;
            }
    // The cell to the right is the same tile again.
    EXPECT_EQ(ViewPixel(32, 0), ViewPixel(0, 0));
}

TEST_F(MapRenderTest, ShadeRowHoldsToTheTable) {
    const struct {
        int32_t light, fog, shade, row;
    } cases[] = {{40, 0, 15, 72}, {0, 0, 31, 16}, {0, 128, 0, 4}, {63, 0, 0, 110}, {10, 40, 15, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(ShadeRow(c.light, c.fog, c.shade), c.row) << c.light << " " << c.fog;
}

TEST_F(MapRenderTest, FogInterpolatesAndTurnsToParchmentAtItsThresholds) {
    LoadTiles(0, {kFlatTile});
    MakeView(64, 32);
    SetViewCentre(32, 80); // origin (0, 64): fog row 2
    // Cell 0 runs 0 -> 64 (value 2 x px), cell 1 runs 64 -> 96 (64 + px).
    auto fog = [](int32_t column, int32_t row) -> uint8_t& {
        return g_incGrid.fog[static_cast<size_t>(row * kFogColumns + column)];
    };
    for (int32_t row : {2, 3}) {
        fog(0, row) = 0;
        fog(1, row) = 64;
        fog(2, row) = 96;
    }
    RedrawWhole();
    const struct {
        int32_t x, fogLevel;
    } cases[] = {{0, 0},       {12, 0},       {13, 2},        {31, 38},
                 {32 + 0, 40}, {32 + 29, 69}, {32 + 30, 128}, {32 + 31, 128}};
    for (const auto& c : cases)
        for (int32_t y : {0, 31})
            EXPECT_EQ(ViewPixel(c.x, y), Entry(ShadeRow(40, c.fogLevel, 15), 5)) << c.x;
    EXPECT_EQ(ShadeRow(40, 128, 15), kParchmentRow);
}

TEST_F(MapRenderTest, RowsBeyondTheMapDrawParchment) {
    LoadTiles(0, {kFlatTile});
    MakeView(64, 128);
    SetViewCentre(32, 0); // origin y -64: two rows above the map
    RedrawWhole();
    const uint16_t parchment = Entry(kParchmentRow, 0);
    EXPECT_EQ(ViewPixel(0, 0), parchment);
    EXPECT_EQ(ViewPixel(63, 63), parchment);
    EXPECT_EQ(ViewPixel(0, 64), Entry(72, 5));

    SetViewCentre(32, 7295); // origin y 7200: the last row lies below the map
    RedrawWhole();
    EXPECT_EQ(ViewPixel(0, 96), parchment);
    EXPECT_EQ(ViewPixel(40, 127), parchment);
    // The row above takes light 6 from below the map (40 -> 6 down the
    // cell) and fog 127 from below the grid (0 -> 127): at row 8 light 32,
    // fog 31 - 24.
    EXPECT_EQ(ViewPixel(0, 64), Entry(72, 5));
    EXPECT_EQ(ViewPixel(0, 64 + 8), Entry(ShadeRow(32, 7, 15), 5));
}

// Tiles that differ cell by cell, so a misplaced cell shows.
int32_t Patchwork(int32_t column, int32_t row) {
    return (column * 7 + row * 3) % 4;
}

class MapScrollTest : public MapRenderTest {
protected:
    void SetUp() override {
        MapRenderTest::SetUp();
        const std::vector<Bytes> tiles = {kFlatTile, QuadTile(6, 8, 60, 20, 0),
                                          QuadTile(7, 63, 1, 30, 50), QuadTile(6, 33, 33, 5, 17)};
        for (int32_t zoom : {0, 4})
            LoadTiles(zoom, tiles, &Patchwork);
        // Some fog, so its cells move too.
        for (size_t i = 0; i < g_incGrid.fog.size(); i += 3)
            g_incGrid.fog[i] = static_cast<uint8_t>(i % 127);
        MakeView(192, 160);
    }
};

TEST_F(MapScrollTest, SmallScrollsEqualAFullRedraw) {
    const struct {
        int32_t zoom, cellsX, cellsY;
        bool rolls; // the view image rolls instead of a whole redraw
    } cases[] = {
        {0, 1, 0, true},  {0, -1, 0, true}, {0, 0, 1, true},  {0, 1, -1, true}, {0, 2, 0, true},
        {0, 0, -3, true}, {0, 4, 0, false}, {0, 0, 4, false}, {4, 1, 0, true},  {4, -1, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << ": " << c.cellsX << "," << c.cellsY);
        g_zoomShift = c.zoom;
        SetViewCentre(18900, 3000); // across the seam
        RedrawWhole();
        const int32_t originX = g_mapImage->originX;
        const int32_t originY = g_mapImage->originY;
        ScrollView(c.cellsX * (32 << c.zoom), c.cellsY * (32 << c.zoom));
        m_map.Draw(0);
        m_map.Draw(2);
        EXPECT_EQ(g_mapImage->originX != originX || g_mapImage->originY != originY, c.rolls);
        const std::vector<uint16_t> scrolled = imagetest::Pixels16(*g_screen);
        RedrawWhole();
        EXPECT_EQ(scrolled, imagetest::Pixels16(*g_screen));
    }
}

TEST_F(MapScrollTest, ScrollForcedOrAfterAZoomRedrawsWhole) {
    SetViewCentre(5000, 3000);
    RedrawWhole();
    const std::vector<uint16_t> before = imagetest::Pixels16(*g_screen);
    // A move of 128 screen pixels without the redraw flag.
    ScrollView(128, 0);
    m_map.Draw(0);
    m_map.Draw(2);
    const std::vector<uint16_t> moved = imagetest::Pixels16(*g_screen);
    EXPECT_NE(moved, before);
    RedrawWhole();
    EXPECT_EQ(moved, imagetest::Pixels16(*g_screen));
    // The scroll-force flag: no roll even for one cell.
    g_mapScrollForce = 1;
    const int32_t originX = g_mapImage->originX;
    ScrollView(32, 0);
    m_map.Draw(0);
    EXPECT_EQ(g_mapImage->originX, originX);
    m_map.Draw(3);
    EXPECT_EQ(g_mapScrollForce, 0);
    EXPECT_EQ(g_mapRedraw, 0);
    EXPECT_EQ(g_lastDrawnOrigin.x, g_viewOrigin.x);
}

TEST_F(MapScrollTest, NothingDrawsWhileTheYearBookIsOpen) {
    const MapMessageHooks saved = g_mapMessageHooks;
    g_mapMessageHooks.yearBookOpen = [] { return true; };
    g_screen->Fill(1);
    RedrawWhole();
    EXPECT_EQ(ViewPixel(0, 0), 1);
    EXPECT_EQ(g_mapRedraw, 1);
    g_mapMessageHooks = saved;
}

// --- fog of the undiscovered lands ---

class MapFogTest : public MapRenderTest {
protected:
    void SetUp() override {
        MapRenderTest::SetUp();
        g_incGrid.ResetFog();
    }
    static uint8_t Fog(int32_t column, int32_t row) {
        return g_incGrid.fog[static_cast<size_t>(row * kFogColumns + column)];
    }
    // Slot s of every id-grid block names the province.
    static void PutInEveryBlock(int32_t slot, int32_t id) {
        for (size_t block = 0; block < 40; ++block)
            g_idGrid.ids[block * kIdGridSlots + static_cast<size_t>(slot)] =
                static_cast<uint32_t>(id);
    }
};

TEST_F(MapFogTest, ProvinceAtTheLeftEdgeClearsFogOnTheRightEdge) {
    PutInEveryBlock(1, 9);
    for (IncGridCell& cell : g_incGrid.records)
        cell.main = 1;
    g_provinces[9].box = {0, 1000, 40, 1100};
    g_mapRedraw = 0;
    RevealProvince(2, 9);
    EXPECT_EQ(g_provinces[9].knownToPlayer, 1);
    EXPECT_EQ(g_mapRedraw, 1);
    // Columns -2..3 (590, 591, 0..3), rows 29..36.
    const struct {
        int32_t column, row, fog;
    } cases[] = {{590, 29, 0},   {591, 36, 0}, {0, 31, 0},   {3, 33, 0},
                 {589, 31, 127}, {4, 31, 127}, {0, 28, 127}, {0, 37, 127}};
    for (const auto& c : cases)
        EXPECT_EQ(Fog(c.column, c.row), c.fog) << c.column << "," << c.row;
}

TEST_F(MapFogTest, CellFogFollowsTheNearbyProvinces) {
    // Land 10 and 11, sea 12 and 13, lake 14, kind 8: 15.
    const int32_t kinds[] = {0, 0, 5, 5, 6, 8};
    for (int32_t i = 0; i < 6; ++i) {
        g_provinces[static_cast<size_t>(10 + i)].terrain = kinds[i];
        PutInEveryBlock(1 + i, 10 + i);
    }
    struct Case {
        const char* what;
        uint8_t main;
        std::array<uint8_t, 3> near, weight;
        std::array<int32_t, 2> revealed; // province ids revealed besides 20
        int32_t fog;
    };
    // Slots: 1 = land 10, 2 = land 11, 3 = sea 12, 4 = sea 13, 5 = lake,
    // 6 = kind 8.
    const Case cases[] = {
        {"no province, revealed sea", 0, {3, 4, 0}, {90, 30, 0}, {12, 13}, 15},
        {"no province, unrevealed sea", 0, {3, 0, 0}, {90, 0, 0}, {0, 0}, 127},
        {"unrevealed land by revealed land", 1, {2, 3, 0}, {80, 10, 0}, {11, 0}, 40},
        {"unrevealed land by nothing revealed", 1, {2, 0, 0}, {80, 0, 0}, {0, 0}, 127},
        {"revealed land", 1, {2, 0, 0}, {80, 0, 0}, {10, 0}, 0},
        {"revealed land by kind 8", 1, {6, 0, 0}, {55, 0, 0}, {10, 0}, 100},
        {"unrevealed sea by revealed land", 3, {1, 4, 0}, {60, 20, 0}, {10, 13}, 30},
        {"revealed sea by unrevealed sea", 3, {4, 2, 0}, {55, 5, 0}, {12, 0}, 100},
        {"lake beside", 1, {5, 0, 0}, {200, 0, 0}, {0, 0}, 0},
        {"kind 8", 6, {0, 0, 0}, {0, 0, 0}, {0, 0}, 0},
    };
    g_provinces[20].box = {0, 0, 0, 0};
    for (const Case& c : cases) {
        for (int32_t id = 10; id <= 15; ++id)
            g_provinces[static_cast<size_t>(id)].knownToPlayer = 0;
        for (int32_t id : c.revealed)
            if (id)
                g_provinces[static_cast<size_t>(id)].knownToPlayer = 1;
        g_incGrid.records[0] = {c.main, c.near, c.weight};
        g_incGrid.ResetFog();
        UpdateFogAround(20);
        EXPECT_EQ(Fog(0, 0), c.fog) << c.what;
    }
}

TEST_F(MapFogTest, PlayerDiscoveriesAndTheResetRevealProvinces) {
    const SessionCountryHooks saved = g_sessionCountries;
    g_sessionCountries.mark = [](uint32_t number) -> uint32_t { return number == 4 ? 1 : 0; };
    PutInEveryBlock(1, 30);
    for (IncGridCell& cell : g_incGrid.records)
        cell.main = 1;
    g_provinces[30].box = {3200, 3200, 3263, 3263};
    DiscoverProvince(3, 30); // a computer country: the map stays as it is
    EXPECT_TRUE(IsProvinceDiscovered(3, 30));
    EXPECT_EQ(g_provinces[30].knownToPlayer, 0);
    EXPECT_EQ(Fog(100, 100), 127);
    DiscoverProvince(4, 30);
    EXPECT_EQ(g_provinces[30].knownToPlayer, 1);
    EXPECT_EQ(Fog(100, 100), 0);

    // The reset takes the discoveries of the country it is given.
    ResetFog(3);
    EXPECT_EQ(g_provinces[30].knownToPlayer, 1);
    EXPECT_EQ(Fog(100, 100), 0);
    EXPECT_EQ(Fog(200, 100), 127);
    g_provinces[30].discoveredBy[3] = 0;
    ResetFog(3);
    EXPECT_EQ(g_provinces[30].knownToPlayer, 0);
    EXPECT_EQ(Fog(100, 100), 127);
    g_sessionCountries = saved;
}

// --- the minimap ---

class MinimapTest : public MapRenderTest {
protected:
    void SetUp() override {
        MapRenderTest::SetUp();
        m_minimap = std::make_unique<CMinimap>(g_incGrid);
        // Pictures of 192 x 74: the known world colour 0x1111, the
        // undiscovered one 0x2222.
        m_minimap->image = std::make_unique<CImage>(192, 74, 16, kImageMemory);
        m_minimap->empty = std::make_unique<CImage>(192, 74, 16, kImageMemory);
        m_minimap->full = std::make_unique<CImage>(192, 74, 16, kImageMemory);
        m_minimap->empty->Fill(0x2222);
        m_minimap->full->Fill(0x1111);
        m_minimap->xScale = 192.0f / 18944;
        m_minimap->yScale = 74.0f / 7296;
        m_minimap->saved.assign(192 * 74, 0);
        g_minimap = m_minimap.get();
    }
    void TearDown() override {
        g_minimap = nullptr;
        MapRenderTest::TearDown();
    }
    test::BoxRecorder m_boxes; // no pictures to read here
    std::unique_ptr<CMinimap> m_minimap;
};

TEST_F(MinimapTest, PressCentresTheViewButNotOnTheRightEdge) {
    SetViewCentre(100, 100);
    g_mapRedraw = 0;
    CInputEvent rightEdge(EVT_MOUSELBUP, ObjectId{}, 0, 0, 32 + 192, 504 + 10);
    EXPECT_TRUE(m_minimap->HitTest(32 + 192, 504 + 10));
    EXPECT_EQ(m_minimap->HandleInput(rightEdge), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(g_viewCentreX, 100);
    EXPECT_EQ(g_mapRedraw, 0);
    CInputEvent held(EVT_MOUSELBHELD, ObjectId{}, 0, 0, 32 + 192, 504 + 74);
    EXPECT_EQ(m_minimap->HandleInput(held), DRAWABLE_TAKEN);

    CInputEvent press(EVT_MOUSELBUP, ObjectId{}, 0, 0, 32 + 191, 504 + 37);
    EXPECT_EQ(m_minimap->HandleInput(press), DRAWABLE_TAKEN);
    EXPECT_EQ(g_viewCentreX, 191 * 18944 / 192);
    EXPECT_EQ(g_viewCentreY, 37 * 7296 / 74);
    EXPECT_EQ(g_mapRedraw, 1);
    m_minimap->visible = 0;
    EXPECT_EQ(m_minimap->HandleInput(press), DRAWABLE_NOT_TAKEN);

    const MapPoint onMinimap = WorldToMinimap(9472, 3648);
    EXPECT_EQ(onMinimap.x, 32 + 96);
    EXPECT_EQ(onMinimap.y, 504 + 37);
    const MapPoint back = MinimapToWorld(32 + 96, 504 + 37);
    EXPECT_EQ(back.x, 9472);
    EXPECT_EQ(back.y, 3648);
}

TEST_F(MinimapTest, RebuildPicksThePictureByTheFogAndTheOutlineIsRestored) {
    g_incGrid.ResetFog();
    // Fog cells under minimap pixels (0, 0), (10, 0) and (191, 73).
    auto fogUnder = [](int32_t x, int32_t y) -> uint8_t& {
        const int32_t column = static_cast<int32_t>((int64_t{x} * 18944 << 16) / (192 * 32) >> 16);
        const int32_t row = static_cast<int32_t>((int64_t{y} * 7296 << 16) / (74 * 32) >> 16);
        return g_incGrid.fog[static_cast<size_t>(row * kFogColumns + column)];
    };
    fogUnder(0, 0) = 0;
    fogUnder(10, 0) = 4;
    fogUnder(191, 73) = 5;
    m_minimap->Rebuild();
    EXPECT_EQ(m_minimap->rebuild, 0);
    EXPECT_EQ(imagetest::PixelAt(*m_minimap->image, 0, 0), 0x1111);
    EXPECT_EQ(imagetest::PixelAt(*m_minimap->image, 10, 0), 0x1111);
    EXPECT_EQ(imagetest::PixelAt(*m_minimap->image, 191, 73), 0x2222);
    EXPECT_EQ(imagetest::PixelAt(*m_minimap->image, 100, 40), 0x2222);

    g_screen = std::make_unique<CImage>(800, 600, 16, kImageMemory);
    g_screen->Fill(0x0F0F);
    m_minimap->Draw();
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 32, 504), 0x1111);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 31, 504), 0x0F0F);
    const Rect view{224, 0, 800, 608};
    // Centre (9500, 3700): pixel (128, 541); half sizes 2 and 3 at zoom 0.
    m_minimap->DrawViewOutline(9500, 3700, 0, view);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 126, 538), 0);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 130, 544), 0);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 126, 541), 0);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 128, 541), 0x2222); // inside stays
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 125, 541), 0x2222);
    // The next outline puts the old pixels back first.
    m_minimap->DrawViewOutline(100, 3700, 1, view);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 126, 538), 0x2222);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 130, 544), 0x2222);
    // Held to the minimap: the left side lies outside and is not drawn.
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 32, 535), 0);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 32, 541), 0x2222);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 31, 535), 0x0F0F);
}

} // namespace
