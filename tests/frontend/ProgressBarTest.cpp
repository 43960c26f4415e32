// The progress bar: how much of it is filled for a percent (held to 100,
// nothing for none or a negative one), the colour ramp squeezed into the
// filled part, the frame, the number and drawing cut at the picture's edges.
#include "frontend/widgets/ProgressBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

#include "engine/Font.h"
#include "engine/Image.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::PixelAt;

constexpr int32_t kBarX = 4;
constexpr int32_t kBarY = 3;
constexpr uint32_t kBarWidth = 400;
constexpr uint32_t kBarHeight = 5;
constexpr int32_t kPaperHeight = 24; // room for the number's glyphs

// Blue 200 is no colour of the ramps used here.
uint16_t Paper() {
    return CGraphicsBase::RgbToPixel(200, 0, 200);
}

std::unique_ptr<CImage> PaperImage(int32_t width, int32_t height) {
    auto image = std::make_unique<CImage>(width, height, 16, kImageMemory);
    image->Fill(Paper());
    return image;
}

// A bar of width 400 ending in (26, 101, 0), without frame and number, at
// (4, 3) on a paper picture with room around it.
struct BarOnPaper {
    BarOnPaper() : paper(PaperImage(410, kPaperHeight)), bar(100, kBarWidth, 26, 101, 0) {
        bar.destination = paper.get();
        bar.x = kBarX;
        bar.y = kBarY;
        bar.height = kBarHeight;
        bar.drawFrame = 0;
        bar.drawNumber = 0;
    }

    // The filled columns counted from the bar's left edge on its top row.
    int32_t FilledColumns() const {
        int32_t count = 0;
        while (count < paper->width - kBarX && PixelAt(*paper, kBarX + count, kBarY) != Paper())
            ++count;
        return count;
    }

    std::unique_ptr<CImage> paper;
    CProgressBar bar;
};

TEST(ProgressBarTest, BuildsWithItsDefaults) {
    CProgressBar bar(100, 400, 1, 2, 3);
    EXPECT_STREQ(bar.GetName(), "Drawable");
    EXPECT_EQ(bar.height, 15u);
    EXPECT_EQ(bar.drawFrame, 1);
    EXPECT_EQ(bar.drawNumber, 1);
    EXPECT_EQ(bar.percent, 0);
    EXPECT_EQ(bar.value, 0);
    EXPECT_EQ(bar.frameDark, CGraphicsBase::RgbToPixel(65, 48, 23));
    EXPECT_EQ(bar.frameLight, CGraphicsBase::RgbToPixel(172, 132, 69));
}

TEST(ProgressBarTest, FillsWidthTimesPercentColumnsHeldToTheWholeBar) {
    struct Case {
        const char* what;
        int32_t percent;
        int32_t value;
        uint32_t maximum;
        int32_t columns;
    };
    const Case cases[] = {
        {"half", 50, 50, 100, 201},
        {"a fifth", 22, 22, 100, 89},
        {"all", 100, 100, 100, 401},
        {"above 100 is all", 150, 150, 100, 401},
        {"a huge percent is all", INT_MAX, 1, 100, 401},
        {"1 percent", 1, 1, 100, 5},
        {"none", 0, 0, 100, 0},
        {"negative percent", -20, 5, 100, 0},
        {"negative value", 50, -1, 100, 0},
        {"value 0", 50, 0, 100, 0},
        {"maximum 0", 50, 50, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BarOnPaper scene;
        scene.bar.percent = c.percent;
        scene.bar.value = c.value;
        scene.bar.maximum = c.maximum;
        scene.bar.Draw(0);
        EXPECT_EQ(scene.FilledColumns(), c.columns);
    }
}

TEST(ProgressBarTest, TheWholeRampRunsThroughTheFilledColumnsOverTheBarsHeight) {
    for (int32_t percent : {50, 100}) {
        SCOPED_TRACE(percent);
        BarOnPaper scene;
        scene.bar.percent = percent;
        scene.bar.value = percent;
        scene.bar.Draw(0);
        const int32_t last = scene.FilledColumns() - 1;
        ASSERT_EQ(last, static_cast<int32_t>(kBarWidth) * percent / 100);

        EXPECT_EQ(PixelAt(*scene.paper, kBarX, kBarY), CGraphicsBase::RgbToPixel(0, 0, 0));
        // The last column reaches the end colour.
        EXPECT_EQ(PixelAt(*scene.paper, kBarX + last, kBarY),
                  CGraphicsBase::RgbToPixel(26, 101, 0));
        // Green never falls along the bar, and every column fills the bar's
        // rows and the row below them, and no more.
        int32_t previousGreen = 0;
        for (int32_t column = 0; column <= last; ++column) {
            const int32_t x = kBarX + column;
            const uint16_t top = PixelAt(*scene.paper, x, kBarY);
            const int32_t green = SplitPixel(top, g_pixelFormat).g;
            ASSERT_GE(green, previousGreen) << column;
            previousGreen = green;
            for (uint32_t row = 1; row <= kBarHeight; ++row)
                ASSERT_EQ(PixelAt(*scene.paper, x, kBarY + static_cast<int32_t>(row)), top)
                    << column;
            ASSERT_EQ(PixelAt(*scene.paper, x, kBarY - 1), Paper()) << column;
            ASSERT_EQ(PixelAt(*scene.paper, x, kBarY + static_cast<int32_t>(kBarHeight) + 1),
                      Paper())
                << column;
        }
    }
}

TEST(ProgressBarTest, TheFrameClearsTheBarAndRingsItDarkThenLight) {
    BarOnPaper scene;
    scene.bar.drawFrame = 1;
    scene.bar.width = 20;
    scene.bar.Draw(0); // percent 0: no fill
    const uint16_t dark = scene.bar.frameDark;
    const uint16_t light = scene.bar.frameLight;
    const int32_t right = kBarX + 20; // just outside the bar
    const int32_t bottom = kBarY + static_cast<int32_t>(kBarHeight);
    for (int32_t x = kBarX; x < right; ++x)
        for (int32_t y = kBarY; y < bottom; ++y)
            ASSERT_EQ(PixelAt(*scene.paper, x, y), 0) << x << "," << y;
    // Each side: one pixel out dark, two out light, three out untouched.
    struct Probe {
        int32_t x;
        int32_t y;
        uint16_t colour;
    };
    const Probe probes[] = {
        {kBarX - 1, kBarY + 2, dark},    {kBarX - 2, kBarY + 2, light},
        {kBarX - 3, kBarY + 2, Paper()}, {right, kBarY + 2, dark},
        {right + 1, kBarY + 2, light},   {right + 2, kBarY + 2, Paper()},
        {kBarX + 5, kBarY - 1, dark},    {kBarX + 5, kBarY - 2, light},
        {kBarX + 5, kBarY - 3, Paper()}, {kBarX + 5, bottom, dark},
        {kBarX + 5, bottom + 1, light},  {kBarX + 5, bottom + 2, Paper()},
        {kBarX - 1, kBarY - 1, dark},    {right + 1, bottom + 1, light},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(PixelAt(*scene.paper, p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST(ProgressBarTest, DrawingIsCutAtThePicturesEdges) {
    // The bar runs off the right edge, its frame off the top and left.
    auto paper = PaperImage(30, 8);
    CProgressBar bar(100, 400, 255, 255, 255);
    bar.destination = paper.get();
    bar.height = 20;
    bar.percent = 100;
    bar.value = 100;
    bar.drawNumber = 0;
    bar.Draw(0);
    EXPECT_EQ(PixelAt(*paper, 0, 0), 0); // the ramp starts black
    EXPECT_NE(PixelAt(*paper, 29, 7), Paper());
    // Off the picture altogether.
    bar.x = 1000;
    bar.y = 1000;
    bar.Draw(0);
    bar.destination = nullptr;
    bar.Draw(0);
}

TEST(ProgressBarTest, TheValueIsWrittenCentredInWhiteWhenTheFontIsLoaded) {
    test::InFolder world(test::DemoWorldDir());
    BarOnPaper scene;
    scene.bar.drawNumber = 1;
    scene.bar.height = 15;
    scene.bar.percent = 0; // no fill: only the number
    scene.bar.value = 0;
    scene.bar.Draw(0); // no font loaded yet: nothing
    EXPECT_EQ(imagetest::Pixels16(*scene.paper),
              imagetest::Pixels16(*PaperImage(410, kPaperHeight)));

    auto font = std::make_unique<CFont>();
    ASSERT_TRUE(font->LoadFont("gfx\\fonts\\garamond14bold.bmp", 14, nullptr));
    font.release(); // g_fonts owns it
    scene.bar.value = 77;
    scene.bar.Draw(0);
    int32_t leftmost = INT_MAX;
    int32_t rightmost = -1;
    for (int32_t y = 0; y < scene.paper->height; ++y)
        for (int32_t x = 0; x < scene.paper->width; ++x)
            if (PixelAt(*scene.paper, x, y) == 0xFFFF) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    g_fonts.DeleteAll();
    ASSERT_GE(rightmost, 0);
    const int32_t centre = kBarX + static_cast<int32_t>(kBarWidth) / 2;
    EXPECT_LE(std::abs((leftmost + rightmost) / 2 - centre), 3);
}

} // namespace
