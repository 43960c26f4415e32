#include "engine/Palette.h"

#include <gtest/gtest.h>

#include "engine/Pixel.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::BmpSpec;
using imagetest::FormatScope;
using imagetest::MakeBmp;

// 768 bytes: colour i = (i, 255 - i, i / 2); colour 7 = (200, 200, 200).
std::string ActBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bool grey = i == 7;
        bytes += static_cast<char>(grey ? 200 : i);
        bytes += static_cast<char>(grey ? 200 : 255 - i);
        bytes += static_cast<char>(grey ? 200 : i / 2);
    }
    return bytes;
}

// Empties the dictionary (and the default palette) around each test.
class PaletteTest : public testing::Test {
protected:
    void SetUp() override { g_palettes.RemoveAll(); }
    void TearDown() override {
        g_palettes.RemoveAll();
        g_defaultPalette = nullptr;
    }
};

TEST_F(PaletteTest, ActPalettesFillThreePixelTablesInEachFormat) {
    test::ScopedGameDir dir;
    dir.WriteFile("gfx/palette/palette.act", ActBytes());
    for (int32_t format : {kPixelFormat565, kPixelFormat555}) {
        FormatScope scope(format);
        SCOPED_TRACE(imagetest::FormatName(format));
        CPalette palette;
        ASSERT_TRUE(palette.LoadPalette("palette.act"));
        EXPECT_EQ(palette.colours[3].red, 3);
        EXPECT_EQ(palette.colours[3].green, 252);
        EXPECT_EQ(palette.colours[3].blue, 1);
        for (int i : {2, 7, 100, 255}) {
            const PaletteColour& c = palette.colours[i];
            uint16_t normal = CGraphicsBase::RgbToPixel(c.red, c.green, c.blue);
            uint16_t half = CGraphicsBase::RgbToPixel(c.red / 2, c.green / 2, c.blue / 2);
            uint16_t bright =
                CGraphicsBase::RgbToPixel(c.red * 3 / 2, c.green * 3 / 2, c.blue * 3 / 2);
            EXPECT_EQ(palette.normalPixels[i], static_cast<uint32_t>(normal) << 16 | normal) << i;
            EXPECT_EQ(palette.halfPixels[i], static_cast<uint32_t>(half) << 16 | half) << i;
            EXPECT_EQ(palette.brightPixels[i], static_cast<uint32_t>(bright) << 16 | bright) << i;
        }
        // (200, 200, 200) one and a half times is white: 300 held at 255.
        EXPECT_EQ(palette.brightPixels[7] & 0xFFFF, CGraphicsBase::RgbToPixel(255, 255, 255));
    }
}

TEST_F(PaletteTest, GetPaletteLoadsEachNameOnceWhateverItsCase) {
    test::ScopedGameDir dir;
    dir.WriteFile("gfx/palette/palette.act", ActBytes());
    CPalette* first = GetPalette("palette.act");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->name, "palette.act");
    EXPECT_EQ(first->colours[1].green, 254);
    // The file changes: the palette already loaded is kept.
    dir.WriteFile("gfx/palette/palette.act", std::string(768, '\0'));
    EXPECT_EQ(GetPalette("PALETTE.ACT"), first);
    EXPECT_EQ(first->colours[1].green, 254);

    // A switch of format rebuilds every palette's tables.
    {
        FormatScope scope(kPixelFormat555);
        EXPECT_EQ(first->normalPixels[1] & 0xFFFF, CGraphicsBase::RgbToPixel(1, 254, 0));
        EXPECT_EQ(first->normalPixels[1] & 0xFFFF, 0x03E0);
    }
    EXPECT_EQ(first->normalPixels[1] & 0xFFFF, 0x07E0);
}

TEST_F(PaletteTest, BmpPalettesSwapTheStoredBlueAndRed) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::string table;
    for (int i = 0; i < 256; ++i)
        table += imagetest::Bytes({i, 100, 255 - i, 9}); // blue, green, red, unused
    dir.WriteFile("gfx/palette/map.bmp", MakeBmp(BmpSpec(1, 1, 8, std::string(4, '\0'), table)));
    CPalette palette;
    ASSERT_TRUE(palette.LoadPalette("map.bmp"));
    EXPECT_EQ(palette.colours[10].red, 245);
    EXPECT_EQ(palette.colours[10].green, 100);
    EXPECT_EQ(palette.colours[10].blue, 10);
    EXPECT_EQ(palette.colours[10].unused, 9);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PaletteTest, FailedLoadsKeepTheColoursAndSayWhy) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    dir.WriteFile("gfx/palette/short.act", ActBytes().substr(0, 767));
    dir.WriteFile("gfx/palette/short.bmp",
                  MakeBmp(BmpSpec(1, 1, 8, "", std::string(1000, 'x'))).substr(0, 900));
    dir.WriteFile("gfx/palette/fine.pal", ActBytes());
    dir.WriteFile("gfx/palette/FINE.ACT", ActBytes());
    struct Case {
        const char* name;
        const char* box; // "" for none
    };
    const Case cases[] = {
        {"short.act", ""},
        {"missing.act", "Could not open file gfx\\palette\\missing.act"},
        {"missing.bmp", "Palette 'gfx\\palette\\missing.bmp' not found!"},
        {"short.bmp", "Palette 'gfx\\palette\\short.bmp' not found!"},
        {"fine.pal", ""},
        {"FINE.ACT", ""}, // the ending is compared exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.texts.clear();
        CPalette palette;
        palette.colours[5] = {1, 2, 3, 4};
        EXPECT_FALSE(palette.LoadPalette(c.name));
        EXPECT_EQ(palette.colours[5].red, 1);
        EXPECT_EQ(palette.colours[5].unused, 4);
        EXPECT_EQ(palette.colours[6].red, 0);
        EXPECT_EQ(palette.normalPixels[5] & 0xFFFF,
                  CGraphicsBase::RgbToPixel(1, 2, 3)); // tables built all the same
        if (*c.box) {
            ASSERT_EQ(boxes.texts.size(), 1u);
            EXPECT_NE(boxes.texts[0].find(c.box), std::string::npos) << boxes.texts[0];
        } else {
            EXPECT_TRUE(boxes.texts.empty());
        }
    }
    // GetPalette still enters a palette that did not load (all black).
    CPalette* missing = GetPalette("fine.pal");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->colours[100].red, 0);
}

TEST_F(PaletteTest, NearestColoursPreferTheLowerIndexAndNeverIndexZero) {
    CPalette palette;
    for (auto& c : palette.colours)
        c = {128, 128, 128, 0};
    palette.colours[0] = {255, 0, 0, 0}; // exact red, but index 0
    palette.colours[9] = {250, 0, 0, 0}; // 5 from red
    palette.colours[4] = {255, 5, 0, 0}; // 5 from red too, lower index
    palette.colours[20] = {0, 0, 0, 0};
    palette.colours[30] = {255, 255, 250, 0};
    palette.colours[31] = {0, 250, 0, 0};
    palette.colours[40] = {0, 0, 255, 0};
    palette.FindBasicColours();
    EXPECT_EQ(palette.basicColours[0], 0);
    EXPECT_EQ(palette.basicColours[1], 20);
    EXPECT_EQ(palette.basicColours[2], 30);
    EXPECT_EQ(palette.basicColours[3], 4);
    EXPECT_EQ(palette.basicColours[4], 31);
    EXPECT_EQ(palette.basicColours[5], 40);
    EXPECT_EQ(palette.FindNearestColour(128, 128, 128), 1);
}

} // namespace
