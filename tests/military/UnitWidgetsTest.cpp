// The status bar's fill, the portrait's pictures as drawn into a memory
// picture, the fill levels of armies and fleets, and the bar's colours.
#include "military/units/UnitWidgets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::PixelAt;

constexpr uint16_t kBackground = 0x1234;
constexpr uint8_t kBarIndex = 100;
constexpr int32_t kBarWidth = 44;
constexpr int32_t kPictureWidth = 6;

// An 8-bit picture of `frames` frames side by side, each w x h of the index
// first + frame, with a grey colour table.
std::string Sheet(int32_t frames, int32_t w, int32_t h, int first) {
    std::string greys;
    for (int i = 0; i < 256; ++i)
        greys += imagetest::Bytes({i, i, i, 0});
    std::vector<std::string> rows;
    for (int32_t y = 0; y < h; ++y) {
        std::string row;
        for (int32_t f = 0; f < frames; ++f)
            row += std::string(static_cast<size_t>(w), static_cast<char>(first + f));
        rows.push_back(row);
    }
    return imagetest::MakeBmp(
        imagetest::BmpSpec(frames * w, h, 8, imagetest::FileRows(rows), greys));
}

class UnitWidgetsTest : public ::testing::Test {
protected:
    UnitWidgetsTest() {
        dir.WriteFile("gfx/interface/statusbar.bmp", Sheet(1, kBarWidth, 8, kBarIndex));
        dir.WriteFile("gfx/interface/profsmall.bmp", Sheet(3, kPictureWidth, 5, 40));
        palette = imagetest::TestPalette();
        picture.Fill(kBackground);
    }

    // The bar's palette index at a pixel.
    static uint8_t IndexAt(const CStatusBar& bar, int32_t x, int32_t y) {
        return bar.image->pixels[y * bar.image->pitch + x];
    }

    uint16_t Drawn(int index) const {
        return static_cast<uint16_t>(palette.GetPixelTable(kPaletteNormal)[index] & 0xFFFF);
    }

    // Draws the portrait of the unit at (50, 20) into the picture.
    void DrawPortrait(CUnitPortrait& portrait) {
        portrait.SetPalette(&palette);
        portrait.GetPicture().SetPalette(&palette);
        portrait.SetDestination(&picture);
        portrait.SetClipRect(0, 0, picture.width, picture.height);
        portrait.SetPosition(50, 20);
        picture.Fill(kBackground);
        portrait.Draw(0);
    }

    test::ScopedGameDir dir;
    CPalette palette;
    CImage picture{120, 40, 16, kImageMemory};
};

TEST_F(UnitWidgetsTest, TheFillIsHeldWithinTheBarAndLeavesItsFrame) {
    struct Case {
        int32_t level;
        int32_t filled; // of the 40 inner pixels
    };
    const Case cases[] = {{-5, 2},  {0, 2},   {1, 2},    {5, 2},
                          {50, 20}, {99, 39}, {100, 40}, {150, 40}};
    CStatusBar bar;
    ASSERT_EQ(bar.GetBarWidth(), kBarWidth);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        bar.SetLevel(c.level, 7);
        EXPECT_EQ(bar.GetLevel(), std::clamp(c.level, 0, 100));
        for (int32_t row = 0; row < 8; ++row) {
            for (int32_t x = 0; x < kBarWidth; ++x) {
                uint8_t expected = kBarIndex;
                if (row >= 2 && row <= 4 && x >= 2 && x < 2 + 40)
                    expected = x < 2 + c.filled ? 7 : kStatusBarEmptyIndex;
                ASSERT_EQ(IndexAt(bar, x, row), expected) << x << "," << row;
            }
        }
    }
    // Each bar fills its own picture.
    CStatusBar other;
    EXPECT_EQ(IndexAt(other, 2, 2), kBarIndex);
}

TEST_F(UnitWidgetsTest, BarsWithoutAPictureFillNothingAndFleetsDoNotDivideByItsWidth) {
    test::BoxRecorder boxes;
    CStatusBar missing("gfx\\interface\\none.bmp");
    EXPECT_EQ(missing.GetBarWidth(), 0);
    missing.SetLevel(50, 7);
    EXPECT_EQ(missing.GetLevel(), 50);

    struct Case {
        int32_t ships, width, level;
    };
    const Case fleets[] = {{10, 44, 11}, {88, 44, 100}, {500, 44, 100},
                           {5, 0, 0},    {-3, 44, 0},   {7, -1, 0}};
    for (const Case& c : fleets)
        EXPECT_EQ(FleetStatusLevel(c.ships, c.width), c.level) << c.ships << " " << c.width;
    const std::pair<int32_t, int32_t> armies[] = {{0, 0}, {499, 0}, {25000, 50}, {60000, 100}};
    for (const auto& [men, level] : armies)
        EXPECT_EQ(ArmyStatusLevel(men), level) << men;

    // A fleet whose portrait has no bar picture refreshes to an empty bar.
    dir.WriteFile("gfx/interface/statusbar.bmp", "");
    CNavalUnit fleet(nullptr);
    fleet.SetStrength(0, 12.0f);
    CUnitPortrait* portrait = fleet.GetPortrait();
    ASSERT_NE(portrait, nullptr);
    EXPECT_EQ(portrait->GetBarWidth(), 0);
    fleet.Refresh();
    EXPECT_EQ(portrait->GetLevel(), 0);
}

TEST_F(UnitWidgetsTest, UnitsFillTheirPortraitBySizeAndMorale) {
    CLandUnit army(nullptr);
    army.SetStrength(2, 20000.0f);
    army.SetStrength(0, 50.0f); // 5000 men
    EXPECT_EQ(army.GetPortrait()->GetLevel(), 50);
    CNavalUnit fleet(nullptr);
    fleet.SetStrength(0, 20.0f);
    fleet.SetStrength(2, 2.0f);
    fleet.Refresh();
    EXPECT_EQ(fleet.GetPortrait()->GetLevel(), 22 * 100 / 88);
}

TEST_F(UnitWidgetsTest, ThePortraitShowsExplorersConquistadorsAndCargo) {
    const int32_t pictureLeft = 50 - kPictureWidth;
    const int32_t cargoLeft = 50 + kBarWidth + 6;
    struct Case {
        const char* name;
        bool fleet;
        int32_t category;
        bool cargo;
        int leftIndex; // 0: nothing drawn left of the bar
    };
    const Case cases[] = {
        {"general", false, LEADER_GENERAL, false, 0},
        {"explorer", false, LEADER_EXPLORER, false, 40},
        {"conquistador", false, LEADER_CONQUISTADOR, false, 41},
        {"fleet without cargo", true, LEADER_ADMIRAL, false, 0},
        {"fleet with cargo and explorer", true, LEADER_EXPLORER, true, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNavalUnit fleet(nullptr);
        CLandUnit army(nullptr);
        CLandUnit passenger(nullptr);
        CUnit& unit = c.fleet ? static_cast<CUnit&>(fleet) : static_cast<CUnit&>(army);
        unit.GetDefaultLeader().category = c.category;
        if (c.cargo)
            fleet.LoadArmy(&passenger);
        CUnitPortrait& portrait = *unit.GetPortrait();
        DrawPortrait(portrait);
        // The bar itself.
        EXPECT_EQ(PixelAt(picture, 50, 20), Drawn(kBarIndex));
        EXPECT_EQ(PixelAt(picture, 50 + kBarWidth - 1, 27), Drawn(kBarIndex));
        // The small picture left of the bar, or nothing.
        const uint16_t left = PixelAt(picture, pictureLeft, 20);
        EXPECT_EQ(left, c.leftIndex ? Drawn(c.leftIndex) : kBackground);
        EXPECT_EQ(PixelAt(picture, pictureLeft - 1, 20), kBackground);
        EXPECT_EQ(PixelAt(picture, pictureLeft + kPictureWidth - 1, 24),
                  c.leftIndex ? Drawn(c.leftIndex) : kBackground);
        // The cargo marker 6 pixels right of the bar, and its hit test.
        EXPECT_EQ(PixelAt(picture, cargoLeft, 20), c.cargo ? Drawn(42) : kBackground);
        EXPECT_EQ(PixelAt(picture, cargoLeft - 1, 20), kBackground);
        EXPECT_EQ(portrait.HitCargo(cargoLeft + 2, 22), c.cargo);
        EXPECT_FALSE(portrait.HitCargo(cargoLeft - 1, 22));
        if (c.cargo)
            fleet.UnloadArmy(&passenger);
    }
}

TEST_F(UnitWidgetsTest, BandsAndCountriesTakeTheNearestColoursOfTheBarsPalette) {
    CPalette status("status");
    for (auto& colour : status.colours)
        colour = {0, 0, 0, 0};
    status.colours[10] = {0, 255, 0, 0};
    status.colours[11] = {128, 255, 0, 0};
    status.colours[12] = {255, 255, 0, 0};
    status.colours[13] = {255, 160, 0, 0};
    status.colours[14] = {255, 0, 0, 0};
    status.colours[15] = {0, 0, 250, 0};
    CPalette map("map");
    for (auto& colour : map.colours)
        colour = {0, 0, 255, 0};
    InitStatusBarColours(&status, &map);
    const std::pair<int32_t, uint8_t> bands[] = {{STATUS_GREEN, 10},
                                                 {STATUS_YELLOW_GREEN, 11},
                                                 {STATUS_YELLOW, 12},
                                                 {STATUS_ORANGE, 13},
                                                 {STATUS_RED, 14},
                                                 {-1, 14},
                                                 {5, 14}};
    for (const auto& [band, index] : bands)
        EXPECT_EQ(GetStatusBandColour(band), index) << band;
    EXPECT_EQ(GetStatusCountryColour(2), 15);
    EXPECT_EQ(GetStatusCountryColour(98), 15);
    EXPECT_EQ(GetStatusCountryColour(99), 0);

    CStatusBar bar;
    bar.SetFill(50, STATUS_ORANGE);
    EXPECT_EQ(IndexAt(bar, 2, 3), 13);
    bar.SetFillAlt(50, 4);
    EXPECT_EQ(IndexAt(bar, 2, 3), 15);
    // Without a palette every colour is 0.
    InitStatusBarColours(nullptr, nullptr);
    EXPECT_EQ(GetStatusBandColour(STATUS_GREEN), 0);
    EXPECT_EQ(GetStatusCountryColour(2), 0);
}

} // namespace
