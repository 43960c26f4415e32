// The loading screen on the null display with the demo world's bar picture
// and fonts: it draws and presents only the bottom strip, restores the
// strip from its copy on every render, holds the progress to 0..100, shows
// the caption only once set, and a golden picture of a rendered strip
// (tests/engine/golden/loading_screen.txt).
#include "frontend/widgets/LoadingScreen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "frontend/widgets/ProgressBar.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::PixelAt;

constexpr int32_t kStripTop = 509;
constexpr int32_t kCaptionTop = 569; // below the bar picture: only the caption is drawn there

uint16_t Background(int32_t x, int32_t y, int32_t shift) {
    return CGraphicsBase::RgbToPixel((x + shift) % 256, (y * 3) % 256, (x * y + shift) % 256);
}

void PaintScreen(int32_t shift) {
    for (int32_t y = 0; y < g_screen->height; ++y)
        for (int32_t x = 0; x < g_screen->width; ++x)
            StorePixel(g_screen->pixels + y * g_screen->pitch + x * 2, Background(x, y, shift));
}

// True when every pixel of the rows from..to - 1 is the background.
bool RowsShowBackground(int32_t from, int32_t to, int32_t shift) {
    for (int32_t y = from; y < to; ++y)
        for (int32_t x = 0; x < g_screen->width; ++x)
            if (PixelAt(*g_screen, x, y) != Background(x, y, shift))
                return false;
    return true;
}

// An 800 x 600 RGB565 screen on the null display, in the demo world with
// the caption and number fonts loaded, painted with a background.
class LoadingScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_displayConfig = {};
        g_displayConfig.backend = platform::DisplayBackend::Null;
        g_appActive = 1;
        g_windowed = 0;
        CGraphicsBase::InitDisplay(false);
        ASSERT_TRUE(g_directDrawReady);
        ASSERT_TRUE(SetDisplayMode(800, 600, 16, false));
        ASSERT_EQ(g_pixelFormat, kPixelFormat565);
        for (auto [file, height] : {std::pair{"gfx\\fonts\\garamond20bold.bmp", 20},
                                    std::pair{"gfx\\fonts\\garamond14bold.bmp", 14}}) {
            auto font = std::make_unique<CFont>();
            ASSERT_TRUE(font->LoadFont(file, height, nullptr));
            font.release(); // g_fonts owns it
        }
        PaintScreen(0);
    }
    void TearDown() override {
        g_fonts.DeleteAll();
        ShutdownGraphics();
        g_appActive = 0;
        g_displayConfig = platform::DisplayConfigFromEnvironment();
    }

    test::InFolder world{test::DemoWorldDir()};
    test::BoxRecorder boxes;
};

TEST_F(LoadingScreenTest, RenderDrawsAndPresentsOnlyTheBottomStrip) {
    CLoadingScreen loading(300);
    EXPECT_STREQ(loading.GetName(), "Drawable");
    EXPECT_EQ(loading.progress, 0);
    loading.Draw();
    loading.SetCaption("Loading sounds...");
    loading.progress = 50;
    EXPECT_EQ(loading.Render(0), 0);

    EXPECT_TRUE(RowsShowBackground(0, kStripTop, 0));
    EXPECT_FALSE(RowsShowBackground(kStripTop, 600, 0));
    // Only the strip reached the display; nothing above it was presented.
    const std::vector<uint16_t>& shown = g_directDraw->display->Shown();
    ASSERT_EQ(shown.size(), 800u * 600u);
    for (int32_t y = 0; y < 600; ++y)
        for (int32_t x = 0; x < 800; ++x) {
            const uint16_t expected = y < kStripTop ? 0 : PixelAt(*g_screen, x, y);
            ASSERT_EQ(shown[static_cast<size_t>(y) * 800 + x], expected) << x << "," << y;
        }
}

TEST_F(LoadingScreenTest, EachRenderStartsFromTheSavedStrip) {
    CLoadingScreen loading(300);
    loading.Draw();
    loading.SetCaption("First");
    loading.progress = 30;
    loading.Render(0);
    const std::vector<uint16_t> first = imagetest::Pixels16(*g_screen);

    // A longer caption and a fuller bar leave nothing behind.
    loading.SetCaption("A much longer second caption");
    loading.progress = 80;
    loading.Render(0);
    EXPECT_NE(imagetest::Pixels16(*g_screen), first);
    loading.SetCaption("First");
    loading.progress = 30;
    loading.Render(0);
    EXPECT_EQ(imagetest::Pixels16(*g_screen), first);
    loading.Render(0);
    EXPECT_EQ(imagetest::Pixels16(*g_screen), first);
}

TEST_F(LoadingScreenTest, DrawAgainSavesTheScreenAsItIsThen) {
    CLoadingScreen loading(300);
    loading.Draw();
    PaintScreen(77);
    loading.Draw();
    loading.Render(0);
    EXPECT_TRUE(RowsShowBackground(kCaptionTop, 600, 77));
    EXPECT_EQ(PixelAt(*g_screen, 10, 520), Background(10, 520, 77)); // left of the bar picture
}

TEST_F(LoadingScreenTest, TheCaptionShowsOnlyOnceSetAndWhileShown) {
    struct Case {
        const char* what;
        bool set;
        uint8_t show;
        bool drawn;
    };
    const Case cases[] = {
        {"never set", false, 1, false},
        {"set", true, 1, true},
        {"set but hidden", true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PaintScreen(0);
        CLoadingScreen loading(300);
        loading.Draw();
        loading.showCaption = c.show;
        if (c.set)
            loading.SetCaption("Loading the map...");
        loading.Render(0);
        EXPECT_EQ(!RowsShowBackground(kCaptionTop, 600, 0), c.drawn);
    }
}

TEST_F(LoadingScreenTest, TheProgressIsHeldToTheBarsRange) {
    struct Case {
        int32_t progress;
        int32_t shown;
    };
    const Case cases[] = {{150, 100}, {100, 100}, {50, 50}, {0, 0}, {-20, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progress);
        PaintScreen(0);
        CLoadingScreen loading(300);
        loading.Draw();
        loading.progress = c.progress;
        loading.Render(0);
        ASSERT_NE(loading.progressBar, nullptr);
        EXPECT_EQ(loading.progressBar->percent, c.shown);
        EXPECT_EQ(loading.progressBar->value, c.shown);
        // The bar shows through the picture's window: columns 200 to 599.
        const uint16_t first = PixelAt(*g_screen, 200, 540);
        const uint16_t last = PixelAt(*g_screen, 599, 540);
        EXPECT_EQ(first, c.shown > 0 ? 0 : Background(200, 540, 0));
        EXPECT_EQ(last,
                  c.shown == 100 ? CGraphicsBase::RgbToPixel(25, 100, 0) : Background(599, 540, 0));
        // The picture's plate covers the strip at its left end.
        EXPECT_NE(PixelAt(*g_screen, 165, 540), Background(165, 540, 0));
    }
}

TEST_F(LoadingScreenTest, RenderBeforeDrawOnlyWritesTheCaption) {
    CLoadingScreen loading(300);
    loading.progress = 40;
    EXPECT_EQ(loading.Render(0), 0);
    EXPECT_TRUE(RowsShowBackground(0, 600, 0));
    loading.SetCaption("Preparing the world...");
    loading.Render(0);
    EXPECT_TRUE(RowsShowBackground(0, kCaptionTop, 0));
    EXPECT_FALSE(RowsShowBackground(kCaptionTop, 600, 0));
}

TEST_F(LoadingScreenTest, GoldenStrip) {
    CLoadingScreen loading(300);
    loading.Draw();
    loading.SetCaption("Loading sounds...");
    loading.progress = 50;
    loading.Render(0);

    // The middle of the strip: the bar's fill ending, the picture and the
    // caption.
    constexpr int32_t kLeft = 320;
    constexpr int32_t kTop = 515;
    CImage crop(160, 80, 16, kImageMemory);
    for (int32_t y = 0; y < crop.height; ++y)
        for (int32_t x = 0; x < crop.width; ++x)
            StorePixel(crop.pixels + y * crop.pitch + x * 2,
                       PixelAt(*g_screen, kLeft + x, kTop + y));
    imagetest::GoldenFile golden("loading_screen");
    golden.Check("565 loading strip", crop);
}

} // namespace
