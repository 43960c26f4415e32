// Map modes, colour scales and the shade table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/Image.h"
#include "engine/Pixel.h"
#include "tests/TestSupport.h"
#include "world/MapModes.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

int32_t g_income = 0;
int32_t g_relation = 0;
int32_t g_player = 0;

class MapModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedHooks = g_mapModeHooks;
        for (CProvince& province : g_provinces) {
            province.terrain = 0;
            province.winter = 0;
            province.mapColour = 0;
        }
        g_selectedProvince = 0;
    }
    void TearDown() override {
        g_mapModeHooks = m_savedHooks;
        g_selectedProvince = 0;
        for (CProvince& province : g_provinces) {
            province.terrain = 0;
            province.winter = 0;
        }
        RecolourMap(0, 0);
    }
    static int32_t Colour(int32_t id) { return g_provinces[static_cast<size_t>(id)].mapColour; }
    static int32_t Shade(int32_t id) { return g_provinces[static_cast<size_t>(id)].shade; }

    MapModeHooks m_savedHooks;
};

TEST_F(MapModesTest, TerrainModeColoursByKindAndWinter) {
    const struct {
        int32_t terrain;
        bool winter;
        int32_t colour;
    } cases[] = {{0, false, 2},  {1, false, 1},  {2, false, 22}, {3, false, 7}, {4, false, 17},
                 {5, false, 23}, {6, false, 23}, {8, false, 0},  {2, true, 14}, {5, true, 23}};
    int32_t id = 10;
    for (const auto& c : cases) {
        g_provinces[static_cast<size_t>(id)].terrain = c.terrain;
        g_provinces[static_cast<size_t>(id)].winter = c.winter;
        ++id;
    }
    g_provinces[30].terrain = 7; // no colour of its own: left as it was
    g_provinces[30].mapColour = 32 + 9;
    RecolourMap(3, MAPMODE_TERRAIN);
    id = 10;
    for (const auto& c : cases)
        EXPECT_EQ(Colour(id++), c.colour) << c.terrain << (c.winter ? " winter" : "");
    EXPECT_EQ(Colour(30), 32 + 9);
    EXPECT_EQ(g_mapModeFlags, 0x243ffu);
    EXPECT_EQ(g_mapMode, MAPMODE_TERRAIN);
    EXPECT_EQ(g_mapCountry, 3);
}

TEST_F(MapModesTest, DimmedBitStaysAcrossRecolouring) {
    g_provinces[12].mapColour = 32;
    g_provinces[12].terrain = 2;
    RecolourMap(0, MAPMODE_TERRAIN);
    EXPECT_EQ(Colour(12), 32 + 22);
}

TEST_F(MapModesTest, IncomeShadeFollowsTheYearlyIncome) {
    g_mapModeHooks.yearlyIncome = [](const CProvince&) { return g_income; };
    const struct {
        int32_t income;
        int32_t shade;
    } cases[] = {{0, 31}, {25, 15}, {49, 0}, {50, 0}, {400, 0}, {-20, 31}};
    for (const auto& c : cases) {
        g_income = c.income;
        RecolourMap(1, MAPMODE_INCOME);
        EXPECT_EQ(Shade(40), c.shade) << c.income;
        EXPECT_EQ(Colour(40), kColourHighlight);
    }
    g_provinces[41].terrain = 5;
    RecolourMap(1, MAPMODE_INCOME);
    EXPECT_EQ(Colour(41), kColourSea);
    EXPECT_EQ(Shade(41), 15);
}

TEST_F(MapModesTest, RelationsModeBandsTheRelationValue) {
    g_mapModeHooks.relation = [](int32_t, int32_t) { return g_relation; };
    // Without owners: land 0, water 23.
    g_provinces[50].terrain = 6;
    RecolourMap(1, MAPMODE_RELATIONS);
    EXPECT_EQ(Colour(49), 0);
    EXPECT_EQ(Colour(50), kColourSea);
    EXPECT_EQ(g_mapModeFlags, 0x5000u);
}

TEST_F(MapModesTest, IllegalModeChangesNoColourAndKeepsTheFlags) {
    RecolourMap(1, MAPMODE_TERRAIN);
    g_provinces[60].terrain = 2;
    for (int32_t mode : {9, 11, -1}) {
        g_provinces[60].shade = 3;
        RecolourMap(1, mode);
        EXPECT_EQ(Colour(60), 2) << mode;
        EXPECT_EQ(Shade(60), 15) << mode;
        EXPECT_EQ(g_mapModeFlags, 0x243ffu) << mode;
    }
}

TEST_F(MapModesTest, EmptyCountryMeansThePlayersAndTheSelectionIsDarker) {
    g_mapModeHooks.playerCountry = [] { return g_player; };
    g_player = 7;
    RecolourMap(0, MAPMODE_POLITICAL);
    EXPECT_EQ(g_mapCountry, 7);
    RecolourMap(4, MAPMODE_POLITICAL);
    EXPECT_EQ(g_mapCountry, 4);

    g_selectedProvince = 70;
    RecolourMap(4, MAPMODE_TERRAIN);
    EXPECT_EQ(Shade(70), 0);
    EXPECT_EQ(Shade(71), 15);
    g_mapModeHooks.centreOfTradeNumber = [](const CProvince&) { return 3; };
    g_mapModeHooks.centreOfTradeCount = [] { return 4; };
    RecolourMap(4, MAPMODE_TRADE_CENTRES); // the centres keep the selection's shade
    EXPECT_EQ(Shade(70), 3 * 31 / 4);
    EXPECT_EQ(Colour(70), 12);
}

TEST_F(MapModesTest, PoliticalTables) {
    const struct {
        int32_t country;
        bool fantasy;
        int32_t colour;
    } cases[] = {{1, false, 16},   {10, false, 1},  {12, false, 18}, {13, false, 13},
                 {14, false, 15},  {90, false, 15}, {91, false, 6},  {87, false, 10},
                 {93, false, 5},   {88, false, 4},  {98, false, 18}, {0, false, 18},
                 {150, false, 18}, {39, true, 8},   {72, true, 7},   {1, true, 18}};
    for (const auto& c : cases)
        EXPECT_EQ(PoliticalColour(c.country, c.fantasy), c.colour) << c.country;
}

TEST_F(MapModesTest, ColourScalesAreAdjustedAndTheShadeTableBuilt) {
    test::ScopedGameDir game;
    std::string text;
    for (int s = 0; s < kColourScaleCount; ++s) {
        text += "scale;;;\r\nred;green;blue;position\r\n";
        text += "300;0;100;0\r\n100;100;100;21\r\n0;0;0;42\r\n200;40;80;64\r\n";
    }
    game.WriteFile("map/colorscales.csv", text);
    ColourScaleTable table{};
    ASSERT_TRUE(LoadColourScales("palette.act", table));
    EXPECT_DOUBLE_EQ(table[5][0].red, 255.0); // 300 adjusts above 255
    EXPECT_DOUBLE_EQ(table[5][0].green, 0.0);
    EXPECT_DOUBLE_EQ(table[5][0].blue, 100 * (100 * 0.00234375 + 0.5) * 0.9);
    EXPECT_EQ(table[25][3].position, 64);

    g_colourScales = table;
    BuildMapShadeTable();
    const ColourScalePoint& last = table[0][3];
    const uint16_t paper = CGraphicsBase::RgbToPixel(226, 220, 180);
    EXPECT_EQ(g_mapShadeTable[0][0], paper);
    EXPECT_EQ(g_mapShadeTable[0][32], paper); // not halved
    EXPECT_EQ(g_mapShadeTable[4][3], CGraphicsBase::RgbToPixel(255, 245, 220));
    EXPECT_EQ(g_mapShadeTable[4][35], CGraphicsBase::RgbToPixel(255, 245, 220));
    EXPECT_EQ(g_mapShadeTable[96][0], CGraphicsBase::RgbToPixel(static_cast<int32_t>(last.red),
                                                                static_cast<int32_t>(last.green),
                                                                static_cast<int32_t>(last.blue)));
    EXPECT_EQ(g_mapShadeTable[96][32],
              CGraphicsBase::RgbToPixel(static_cast<int32_t>(last.red * 0.5),
                                        static_cast<int32_t>(last.green * 0.5),
                                        static_cast<int32_t>(last.blue * 0.5)));
    // Rows 32 + 42 .. 95 run from black toward the last point.
    EXPECT_EQ(g_mapShadeTable[73][1], 0);
    EXPECT_NE(g_mapShadeTable[95][1], 0);

    // A position that falls is refused and the table kept.
    text.replace(text.find("0;0;0;42"), 8, "0;0;0;12");
    game.WriteFile("map/colorscales.csv", text);
    test::BoxRecorder boxes;
    ColourScaleTable kept = table;
    EXPECT_FALSE(LoadColourScales("palette.act", kept));
    EXPECT_TRUE(boxes.Shown("colorscales.csv"));
    EXPECT_EQ(kept[0][2].position, 42);
}

} // namespace
