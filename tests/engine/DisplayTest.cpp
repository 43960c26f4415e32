#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Palette.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::Bytes;
using imagetest::PixelAt;

// What the display shows for a screen pixel: RGB565 as it is, RGB555 with
// green widened to six bits.
uint16_t Shown565(uint16_t p, int32_t format) {
    if (format == kPixelFormat565)
        return p;
    const uint16_t green = (p >> 5) & 31;
    return static_cast<uint16_t>((p & 0x7C00) << 1 | (green << 1 | green >> 4) << 5 | (p & 31));
}

// A different pixel nearly everywhere, valid in both formats.
uint16_t Pattern(int32_t x, int32_t y) {
    return static_cast<uint16_t>((x * 7 + y * 131 + x * y) & 0x7FFF);
}

void FillScreen() {
    for (int32_t y = 0; y < g_screen->height; ++y)
        for (int32_t x = 0; x < g_screen->width; ++x)
            StorePixel(g_screen->pixels + y * g_screen->pitch + x * 2, Pattern(x, y));
}

// A 24-bit 4 x 3 cursor: the corners are pure green (the colour key).
std::string CursorBmp() {
    const std::string green = Bytes({0, 255, 0});
    const std::string red = Bytes({0, 0, 255});
    const std::string blue = Bytes({255, 0, 0});
    const std::string white = Bytes({255, 255, 255});
    imagetest::BmpSpec layout(
        4, 3, 24,
        imagetest::FileRows(
            {green + red + red + green, blue + white + white + blue, green + red + red + green}));
    return imagetest::MakeBmp(layout);
}

// The display on the null back-end in the format of the parameter: 800 x
// 600 on the whole screen (where the software cursor is drawn).
class DisplayTest : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        g_displayConfig = {};
        g_displayConfig.backend = platform::DisplayBackend::Null;
        g_displayConfig.force555 = GetParam() == kPixelFormat555;
        g_appActive = 1;
        g_windowed = 0;
        platform::SetCursorPosition(0, 0);
        CGraphicsBase::InitDisplay(false);
        ASSERT_TRUE(g_directDrawReady);
        ASSERT_TRUE(SetDisplayMode(800, 600, 16, false));
    }
    void TearDown() override {
        ShutdownGraphics();
        SetPixelFormat(kPixelFormat565);
        RebuildPalettePixels();
        g_appActive = 0;
        g_displayConfig = platform::DisplayConfigFromEnvironment();
    }

    const platform::Display& Shown() const { return *g_directDraw->display; }
    uint16_t ShownAt(int32_t x, int32_t y) const {
        return Shown().Shown().at(static_cast<size_t>(y) * 800 + x);
    }
    uint16_t ScreenShownAt(int32_t x, int32_t y) const {
        return Shown565(PixelAt(*g_screen, x, y), GetParam());
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes; // "palette.act" is missing here
};

TEST(DisplayModes, SortByDepthThenArea) {
    std::vector<DisplayModeInfo> modes = {{800, 600, 16}, {640, 480, 16}, {640, 480, 8}};
    std::stable_sort(modes.begin(), modes.end(), CompareDisplayModes);
    EXPECT_EQ(modes[0].bitsPerPixel, 8u);
    EXPECT_EQ(modes[1].width, 640u);
    EXPECT_EQ(modes[1].bitsPerPixel, 16u);
    EXPECT_EQ(modes[2].width, 800u);
}

TEST(DisplayModes, NoModeWithoutADisplay) {
    ShutdownGraphics();
    EXPECT_FALSE(SetDisplayMode(800, 600, 16, true));
    EXPECT_FALSE(g_screen);
    PresentScreen(); // nothing to present to
}

TEST_P(DisplayTest, ModeMakesTheScreenAndThePixelFormat) {
    ASSERT_EQ(g_displayModes.size(), 2u);
    EXPECT_EQ(g_displayModes[0].width, 640u);
    EXPECT_EQ(g_displayModes[1].width, 800u);

    ASSERT_TRUE(g_screen && g_screenFront);
    EXPECT_EQ(g_screen->kind, kImageMemory);
    EXPECT_EQ(g_screen->width, 800);
    EXPECT_EQ(g_screen->bytesPerPixel, 2);
    EXPECT_EQ(CGraphicsBase::GetScreenPixels(), g_screen->pixels);
    EXPECT_EQ(CGraphicsBase::GetScreenHeight(), 600);
    EXPECT_EQ(g_screenFront->surface, g_directDraw->drawingSurface.get());
    EXPECT_EQ(g_screenFront->width, 800);
    EXPECT_EQ(g_presentRect.right, 800);
    EXPECT_EQ(g_presentRect.bottom, 600);
    EXPECT_EQ(g_directDraw->fullScreen, 1);
    EXPECT_EQ(g_pixelFormat, GetParam());
    EXPECT_EQ(g_colourKey, GetParam() == kPixelFormat565 ? 0x07E0 : 0x03E0);

    EXPECT_FALSE(SetDisplayMode(1024, 768, 16, false));
    EXPECT_FALSE(g_screen);
}

TEST_P(DisplayTest, PresentShowsTheScreenAndUploadsOnlyChangedRows) {
    FillScreen();
    PresentScreen();
    for (int32_t y = 0; y < 600; y += 7)
        for (int32_t x = 0; x < 800; x += 3)
            ASSERT_EQ(ShownAt(x, y), ScreenShownAt(x, y)) << x << "," << y;
    const uint64_t whole = Shown().UploadedPixels();

    PresentScreen();
    EXPECT_EQ(Shown().UploadedPixels(), whole);
    StorePixel(g_screen->pixels + 300 * g_screen->pitch + 799 * 2, 0x1234);
    StorePixel(g_screen->pixels + 302 * g_screen->pitch, 0x0042);
    PresentScreen();
    EXPECT_EQ(Shown().UploadedPixels(), whole + 2 * 800);
    EXPECT_EQ(ShownAt(799, 300), Shown565(0x1234, GetParam()));
    EXPECT_EQ(ShownAt(0, 302), Shown565(0x0042, GetParam()));

    // A rectangle alone, and nothing while the application is inactive.
    StorePixel(g_screen->pixels + 10 * g_screen->pitch + 10 * 2, 0x0001);
    StorePixel(g_screen->pixels + 500 * g_screen->pitch + 10 * 2, 0x0002);
    PresentScreenRect({0, 0, 100, 100});
    EXPECT_EQ(ShownAt(10, 10), 0x0001);
    EXPECT_NE(ShownAt(10, 500), 0x0002);
    g_appActive = 0;
    PresentScreen();
    EXPECT_NE(ShownAt(10, 500), 0x0002);
}

TEST_P(DisplayTest, ChangeDisplayModeKeepsTheScreen) {
    FillScreen();
    CImage* screen = g_screen.get();
    ASSERT_TRUE(ChangeDisplayMode(640, 480, 16, true));
    EXPECT_EQ(g_screen.get(), screen);
    EXPECT_EQ(g_screenFront->width, 640);
    EXPECT_EQ(g_directDraw->fullScreen, 0);
    PresentScreen();
    ASSERT_EQ(Shown().Shown().size(), 640u * 480u);
    EXPECT_EQ(Shown().Shown()[479 * 640 + 639], ScreenShownAt(639, 479));
}

TEST_P(DisplayTest, CursorIsDrawnOverThePresentedScreenAndCut) {
    dir.WriteFile("gfx/interface/cursor_select.bmp", CursorBmp());
    ASSERT_TRUE(InitDisplayMode());
    ASSERT_EQ(g_cursorImages.size(), 2u);
    ASSERT_EQ(g_currentCursor, 1);
    const uint16_t red = Shown565(CGraphicsBase::RgbToPixel(255, 0, 0), GetParam());
    const uint16_t white = Shown565(CGraphicsBase::RgbToPixel(255, 255, 255), GetParam());
    FillScreen();
    // The display starts with the cursor counted as drawn: the first flip
    // clears that.
    PresentScreen();
    EXPECT_EQ(ShownAt(1, 0), ScreenShownAt(1, 0));

    platform::SetCursorPosition(10, 20);
    PresentScreen();
    EXPECT_EQ(ShownAt(10, 20), ScreenShownAt(10, 20)); // a keyed corner
    EXPECT_EQ(ShownAt(11, 20), red);
    EXPECT_EQ(ShownAt(12, 21), white);
    EXPECT_EQ(ShownAt(14, 21), ScreenShownAt(14, 21));      // beside it
    EXPECT_EQ(PixelAt(*g_screen, 11, 20), Pattern(11, 20)); // the screen itself is untouched

    // Bottom-right corner: cut at the edges. Then a negative position
    // counts as 0.
    platform::SetCursorPosition(798, 598);
    PresentScreen();
    EXPECT_EQ(ShownAt(11, 20), ScreenShownAt(11, 20)); // the old place shows the screen again
    EXPECT_EQ(ShownAt(799, 598), red);
    EXPECT_EQ(ShownAt(799, 599), white);
    platform::SetCursorPosition(-50, -3);
    PresentScreen();
    EXPECT_EQ(ShownAt(1, 0), red);

    // In a window the system's pointer shows instead.
    ASSERT_TRUE(SetDisplayMode(800, 600, 16, true));
    FillScreen();
    platform::SetCursorPosition(10, 20);
    PresentScreen();
    PresentScreen();
    EXPECT_EQ(ShownAt(11, 20), ScreenShownAt(11, 20));
}

TEST_P(DisplayTest, CursorTableHoldsSeventeenImages) {
    dir.WriteFile("arrow.bmp", CursorBmp());
    for (int32_t i = 1; i < 17; ++i)
        ASSERT_EQ(LoadCursorImage("arrow.bmp"), i);
    EXPECT_EQ(LoadCursorImage("arrow.bmp"), 0);
    EXPECT_EQ(g_cursorImages.size(), kMaxCursorImages);

    // A cursor whose file is missing has no surface and is not drawn.
    g_cursorImages.pop_back();
    SetCurrentCursor(LoadCursorImage("missing.bmp"));
    FillScreen();
    PresentScreen();
    EXPECT_EQ(ShownAt(1, 0), ScreenShownAt(1, 0));
}

TEST_P(DisplayTest, ScreenshotIsTheExactBmpAndReadsBackAsTheScreen) {
    FillScreen();
    StorePixel(g_screen->pixels + 599 * g_screen->pitch, CGraphicsBase::RgbToPixel(255, 128, 8));
    dir.WriteFile("ScreenSave0.bmp", "x");
    dir.WriteFile("ScreenSave1.bmp", "x");
    ASSERT_TRUE(SaveScreenshot());
    const std::string file = dir.ReadFile("ScreenSave2.bmp");
    ASSERT_EQ(file.size(), 1440054u);

    std::string header = "BM";
    imagetest::Put32(header, 1440054);
    imagetest::Put32(header, 0);
    imagetest::Put32(header, 54);
    for (uint32_t value : {40u, 800u, 600u})
        imagetest::Put32(header, value);
    imagetest::Put16(header, 1);
    imagetest::Put16(header, 24);
    for (uint32_t value : {0u, 0u, 2834u, 2834u, 0u, 0u})
        imagetest::Put32(header, value);
    EXPECT_EQ(file.substr(0, 54), header);
    // The bottom row comes first: its first pixel as blue, green, red.
    EXPECT_EQ(file.substr(54, 3), Bytes({8, 128, 248}));

    CBitmap back;
    ASSERT_TRUE(back.LoadBmp("ScreenSave2.bmp"));
    ASSERT_EQ(back.width, 800);
    ASSERT_EQ(back.height, 600);
    for (int32_t y = 0; y < 600; ++y)
        for (int32_t x = 0; x < 800; ++x)
            ASSERT_EQ(LoadPixel(back.pixels + y * back.pitch + x * 2), PixelAt(*g_screen, x, y))
                << x << "," << y;

    ASSERT_TRUE(SaveScreenshot());
    EXPECT_EQ(dir.ReadFile("ScreenSave3.bmp"), file);
}

TEST_P(DisplayTest, NoScreenshotInAnUnsupportedFormat) {
    SetPixelFormat(kPixelFormatUnsupported);
    EXPECT_FALSE(SaveScreenshot());
    EXPECT_FALSE(platform::GameFileExists("ScreenSave0.bmp"));
}

INSTANTIATE_TEST_SUITE_P(Formats, DisplayTest, ::testing::Values(kPixelFormat565, kPixelFormat555),
                         [](const auto& info) {
                             return std::string("Rgb") + imagetest::FormatName(info.param);
                         });

} // namespace
