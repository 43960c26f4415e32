// The demo world's heraldry: every tag of the country table (and the
// alternative arms "BAF") has its shield, small shield, silver shield and
// flag in their frames, no two tags share arms, and the treaty pictures load
// with the palettes they are drawn with.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "country/CountryTags.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "tests/TestSupport.h"

namespace {

// The first frame's indices, row by row.
std::vector<uint8_t> FirstFrame(const CBitmap& picture, int32_t frames) {
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width / frames; ++x)
            pixels.push_back(picture.pixels[static_cast<size_t>(y) * picture.pitch + x]);
    return pixels;
}

// Every index the picture uses is a colour of the palette.
bool UsesOnlyColoursOf(const CBitmap& picture, const CPalette& palette) {
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t index = picture.pixels[static_cast<size_t>(y) * picture.pitch + x];
            const PaletteColour& c = palette.colours[index];
            if (index != 0 && !c.red && !c.green && !c.blue)
                return false;
        }
    return true;
}

class DemoHeraldryTest : public ::testing::Test {
protected:
    DemoHeraldryTest() : inDemo(test::DemoWorldDir()) {}

    test::InFolder inDemo;
    test::BoxRecorder boxes;
};

TEST_F(DemoHeraldryTest, EveryTagHasItsShieldsAndFlagAndNoTwoShareArms) {
    struct Kind {
        const char* before; // the path up to the tag
        const char* palette;
        int32_t frames;
        int32_t width;
        int32_t height;
        bool flag; // flags are drawn for the table's tags only
    };
    const Kind kinds[] = {
        {"gfx\\map\\shields\\shield_", "shield palette.bmp", 4, 48, 56, false},
        {"gfx\\map\\shields\\small\\smallshield_", "shield palette.bmp", 4, 24, 28, false},
        {"gfx\\map\\shields\\silver\\shieldsilver_", "shield palette.bmp", 4, 48, 56, false},
        {"gfx\\map\\flags\\flag_", "flag palette.bmp", 25, 20, 16, true},
    };
    std::set<std::string> tags;
    for (const CountryTagRow& row : g_countryTags)
        tags.insert(row.tag);
    ASSERT_EQ(tags.size(), 98u);
    for (const Kind& kind : kinds) {
        CPalette palette;
        ASSERT_TRUE(palette.LoadPalette(kind.palette)) << kind.palette;
        std::set<std::vector<uint8_t>> arms;
        std::set<std::string> withBaf = tags;
        if (!kind.flag)
            withBaf.insert("BAF");
        for (const std::string& tag : withBaf) {
            const std::string path = kind.before + tag + ".bmp";
            CBitmap picture;
            ASSERT_TRUE(picture.LoadBmp(path)) << path;
            EXPECT_EQ(picture.bitsPerPixel, 8) << path;
            EXPECT_EQ(picture.width, kind.frames * kind.width) << path;
            EXPECT_EQ(picture.height, kind.height) << path;
            EXPECT_TRUE(UsesOnlyColoursOf(picture, palette)) << path;
            arms.insert(FirstFrame(picture, kind.frames));
        }
        EXPECT_EQ(arms.size(), withBaf.size()) << kind.before << ": two tags share arms";
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DemoHeraldryTest, TreatyPicturesLoadWithTheirPalettes) {
    struct Case {
        const char* path;
        const char* palette;
        int32_t frames;
    };
    const Case cases[] = {
        {"gfx\\map\\shields\\shield_dynastic_alliance.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_millitary_coop.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_defensive_alliance.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_warpact.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_vassal.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_casus_belli.bmp", "crest_palette.bmp", 1},
        {"gfx\\map\\shields\\shield_war.bmp", "yellow_red_p.bmp", 11},
        {"gfx\\map\\flags\\flag_war.bmp", "flag_palette5.bmp", 25},
        {"gfx\\map\\flags\\flag_retreat.bmp", "flag palette.bmp", 25},
        {"gfx\\map\\flags\\flag_exiled.bmp", "flag palette.bmp", 25},
    };
    for (const Case& c : cases) {
        CPalette palette;
        ASSERT_TRUE(palette.LoadPalette(c.palette)) << c.palette;
        CBitmap picture;
        ASSERT_TRUE(picture.LoadBmp(c.path)) << c.path;
        EXPECT_EQ(picture.bitsPerPixel, 8) << c.path;
        EXPECT_EQ(picture.width % c.frames, 0) << c.path;
        EXPECT_GE(picture.width / c.frames, 16) << c.path;
        EXPECT_TRUE(UsesOnlyColoursOf(picture, palette)) << c.path;
    }
    EXPECT_TRUE(boxes.texts.empty());
}

} // namespace
