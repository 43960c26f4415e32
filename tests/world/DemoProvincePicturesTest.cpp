// The demo world's pictures that provinces and the province window load: each
// has its frames, loads through the game's loaders with the palette it is
// drawn with, and the
// natives' and the loot's map symbols are found by the keys the province
// gives them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "tests/TestSupport.h"
#include "world/map/MapSprite.h"

namespace {

class DemoProvincePicturesTest : public ::testing::Test {
protected:
    DemoProvincePicturesTest() : inDemo(test::DemoWorldDir()) {
        BuildKeywordIndex();
        g_screen = std::make_unique<CImage>(64, 48, 16, kImageMemory);
    }
    ~DemoProvincePicturesTest() override {
        FreeSpriteDefinitions();
        g_screen.reset();
    }

    test::InFolder inDemo;
    test::BoxRecorder boxes;
};

// True when every frame of an 8-bit picture holds a pixel that is not
// transparent.
bool EveryFrameDrawn(const CBitmap& picture, int32_t frames) {
    const int32_t frameWidth = picture.width / frames;
    for (int32_t f = 0; f < frames; ++f) {
        bool drawn = false;
        for (int32_t y = 0; y < picture.height && !drawn; ++y)
            for (int32_t x = f * frameWidth; x < (f + 1) * frameWidth && !drawn; ++x)
                drawn = picture.pixels[static_cast<size_t>(y) * picture.pitch + x] != 0;
        if (!drawn)
            return false;
    }
    return true;
}

TEST_F(DemoProvincePicturesTest, PicturesHaveTheirFramesAndPalettes) {
    struct Case {
        std::string path;
        int32_t bits;   // in memory
        int32_t frames; // of equal width side by side
        bool firstFrameEmpty;
        const char* palette; // drawn with; null: the picture's own colours
    };
    const std::string piw = "gfx\\interface\\piw\\";
    std::vector<Case> cases = {
        {"gfx\\interface\\religions.bmp", 16, 8, false, nullptr},
        {"gfx\\map\\landscape\\storm_strip.bmp", 8, 8, false, "storm_strip_palette.bmp"},
        {"gfx\\map\\landscape\\ice_strip.bmp", 8, 8, false, "landscape_palette.bmp"},
        // Frame 0 is the goods id of no goods.
        {piw + "buildings\\resource.bmp", 8, 19, true, "resource.bmp"},
        // The province window's pictures.
        {piw + "backgrounds\\coast.bmp", 8, 1, false, "piwbg_palette.bmp"},
        {piw + "buildings\\native.bmp", 8, 6, false, "piw.bmp"},
        // Frame 0 is fortress level 0.
        {piw + "buildings\\Fortutbyggd.bmp", 8, 7, true, "piw.bmp"},
        {piw + "buildings\\blockade.bmp", 8, 1, false, "piw.bmp"},
        {piw + "buildings\\siege.bmp", 8, 1, false, "piw.bmp"},
        {piw + "buildings\\trading.bmp", 8, 6, false, "piw.bmp"},
        {piw + "buildings\\church.bmp", 8, 11, false, "piw.bmp"},
        {piw + "buildings\\orthodoxchurches.bmp", 8, 11, false, "piw.bmp"},
        {piw + "buildings\\muslimmosques.bmp", 8, 11, false, "piw.bmp"},
    };
    for (const char* name : {"plains", "forest1", "mountain", "desert", "marsh", "winter", "loot"})
        cases.push_back(
            {piw + "backgrounds\\piwbg_" + name + ".bmp", 8, 1, false, "piwbg_palette.bmp"});
    for (int32_t n = 1; n <= 4; ++n)
        cases.push_back(
            {piw + "buildings\\house" + std::to_string(n) + ".bmp", 8, 9, false, "piw.bmp"});
    for (int32_t n = 1; n <= 15; ++n)
        cases.push_back(
            {piw + "buildings\\tree" + std::to_string(n) + ".bmp", 8, 2, false, "piw.bmp"});
    for (const Case& c : cases) {
        CBitmap picture;
        ASSERT_TRUE(picture.LoadBmp(c.path)) << c.path;
        EXPECT_EQ(picture.bitsPerPixel, c.bits) << c.path;
        EXPECT_EQ(picture.width % c.frames, 0) << c.path;
        EXPECT_GE(picture.width / c.frames, 12) << c.path;
        if (c.bits != 8)
            continue;
        if (!c.firstFrameEmpty) {
            EXPECT_TRUE(EveryFrameDrawn(picture, c.frames)) << c.path;
        }
        CPalette palette;
        ASSERT_TRUE(palette.LoadPalette(c.palette)) << c.palette;
        // Every index the picture uses is a colour of its palette.
        for (int32_t y = 0; y < picture.height; ++y)
            for (int32_t x = 0; x < picture.width; ++x) {
                const uint8_t index = picture.pixels[static_cast<size_t>(y) * picture.pitch + x];
                const PaletteColour& colour = palette.colours[index];
                ASSERT_TRUE(index == 0 || colour.red || colour.green || colour.blue)
                    << c.path << " uses index " << int{index} << " at " << x << "," << y;
            }
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DemoProvincePicturesTest, EveryLandscapeDecorationHasItsTile) {
    for (int32_t terrain = 0; terrain < 6; ++terrain)
        for (int32_t variant = 0; variant < 4; ++variant) {
            CLandscapeSprite tile;
            tile.SetTerrain(terrain, variant);
            ASSERT_NE(tile.image, nullptr);
            EXPECT_NE(tile.GetImageName().find("landscape"), std::string::npos)
                << terrain << " " << variant;
            EXPECT_GT(tile.image->width, 0) << terrain << " " << variant;
        }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DemoProvincePicturesTest, NativesAndLootSymbolsAreFoundByTheirKeys) {
    LoadSpriteDefinitions();
    ASSERT_NE(g_spriteDefinitions, nullptr);
    // The natives' warriors of cultures 12..17 (kind army, action stand),
    // their villages of cultures 12..16 (kind city), the loot (kind 15).
    std::vector<SpriteKey> keys;
    for (int32_t culture = 12; culture <= 17; ++culture)
        keys.push_back({0, culture, 0, kSpriteDirectionNone, 1});
    for (int32_t culture = 12; culture <= 16; ++culture)
        keys.push_back({3, culture, kSpriteActionNone, kSpriteDirectionNone, 1});
    keys.push_back({15, kSpriteCultureNone, kSpriteActionNone, kSpriteDirectionNone, 1});
    for (const SpriteKey& key : keys) {
        const SpriteDefinition* found = g_spriteDefinitions->Find(key);
        ASSERT_NE(found, nullptr) << "kind " << key.kind << " culture " << key.culture;
        ASSERT_NE(found->sprite, nullptr);
        ASSERT_NE(found->sprite->image, nullptr);
        EXPECT_GT(found->sprite->image->width, 0);
        EXPECT_NE(found->sprite->GetPalette(), nullptr);
    }
    EXPECT_TRUE(boxes.texts.empty());
}

} // namespace
