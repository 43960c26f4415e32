// Map sprites: keys from definition file names, the definition table and its
// look-ups, the definition block and its faults, the transparency kinds as
// drawn, drawing through the map view, directions, and province markers.
#include "world/map/MapSprite.h"
#include "world/map/SpriteOwner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "engine/Display.h"
#include "engine/GameState.h"
#include "engine/ImageCache.h"
#include "engine/Palette.h"
#include "net/ClockEvents.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

using imagetest::PixelAt;

// An 8-bit sheet of `frames` frames, each w x h of the index 40 + frame,
// with a grey colour table.
std::string SheetBmp(int32_t frames, int32_t w, int32_t h) {
    std::string greys;
    for (int i = 0; i < 256; ++i)
        greys += imagetest::Bytes({i, i, i, 0});
    std::vector<std::string> rows;
    for (int32_t y = 0; y < h; ++y) {
        std::string row;
        for (int32_t f = 0; f < frames; ++f)
            row += std::string(static_cast<size_t>(w), static_cast<char>(40 + f));
        rows.push_back(row);
    }
    return imagetest::MakeBmp(
        imagetest::BmpSpec(frames * w, h, 8, imagetest::FileRows(rows), greys));
}

std::string Spr(const std::string& fields) {
    return "sprite = {\n" + fields + "\n}\n";
}

bool Reported(const test::BoxRecorder& boxes, const std::string& text) {
    return std::any_of(boxes.texts.begin(), boxes.texts.end(),
                       [&](const std::string& box) { return box.find(text) != std::string::npos; });
}

class MapSpriteTest : public ::testing::Test {
protected:
    MapSpriteTest() {
        BuildKeywordIndex();
        g_screen = std::make_unique<CImage>(64, 48, 16, kImageMemory);
        g_screen->Fill(kBackground);
        g_mapViewRect = {0, 0, 64, 48};
        // The view's origin lies at (960, 480): the map point (1000, 500)
        // shows at screen (40, 20).
        SetViewCentre(1000, 510);
        g_zoomShift = 0;
        dir.WriteFile("gfx/dummy.bmp", SheetBmp(1, 2, 2));
        dir.WriteFile("gfx/palette/grey.act", Greys());
    }
    ~MapSpriteTest() override {
        FreeSpriteDefinitions();
        g_screen.reset();
        g_mapViewRect = {0, 0, 800, 600};
        SetViewCentre(0, 0);
        g_mapOptions = 0;
        EXPECT_EQ(g_mapSpriteCount, 0);
        EXPECT_EQ(g_spriteCount, 0);
    }

    static std::string Greys() {
        std::string act;
        for (int i = 0; i < 256; ++i)
            act += std::string(3, static_cast<char>(i));
        return act;
    }

    void WriteSprite(const std::string& name, const std::string& fields) {
        dir.WriteFile("gfx/map/units/" + name, Spr(fields));
    }

    static constexpr uint16_t kBackground = 0x4208; // a mid grey in RGB565

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
};

TEST(SpriteKeyTest, FileNamesGiveTheKey) {
    struct Case {
        const char* name;
        SpriteKey key;
    } cases[] = {
        {"c-fra t-army a-walk d-ne l-2.spr", {0, 1, 1, 1, 2}},
        {"C-FRA.T-Army.A-WALK.D-NE.L-2.spr", {0, 1, 1, 1, 2}},
        {"c-reb.t-barrack.a-siegetower.d-r.l-7.spr", {17, 18, 26, 9, 7}},
        // Missing fields keep their none values; unknown names mean none.
        {"t-fire.spr", {9, 19, 27, 10, 1}},
        {"c-xyz t-army.spr", {0, 19, 27, 10, 1}},
        {"t-city l-x.spr", {3, 19, 27, 10, 1}},
        // A letter inside a word starts no field.
        {"xt-army.spr", {18, 19, 27, 10, 1}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpriteKeyFromFileName(c.name), c.key) << c.name;
}

TEST(SpriteKeyTest, BucketsFollowTheKeyHash) {
    EXPECT_EQ(CSpriteDefinitionTable::BucketOf({0, 1, 1, 1, 2}), 170u);
    EXPECT_EQ(CSpriteDefinitionTable::BucketOf({}),
              static_cast<size_t>((18 + (19 + (27 + (10 + 4) * 4) * 4) * 8) % 511));
    // Keys far out of range still land in a bucket.
    EXPECT_LT(CSpriteDefinitionTable::BucketOf({-5, 0, 0, 0, INT32_MIN}), 511u);
    EXPECT_LT(
        CSpriteDefinitionTable::BucketOf({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}),
        511u);
}

TEST_F(MapSpriteTest, ASpriteOwnerHoldsItsValueAndItsOwnMapSprite) {
    dir.WriteFile("gfx/map/units/bmp/any.bmp", SheetBmp(2, 8, 6));
    WriteSprite("c-fra t-army a-walk l-2.spr", "bitmap = \"any.bmp\" frames = 2");
    {
        CSpriteOwner first;
        CSpriteOwner second;
        EXPECT_EQ(g_mapSpriteCount, 2);
        EXPECT_NE(&first.GetSprite(), &second.GetSprite());
        EXPECT_EQ(first.GetValue(), 0u);
        EXPECT_EQ(first.SetValue(17), 17u);
        EXPECT_EQ(first.GetValue(), 17u);
        EXPECT_EQ(second.GetValue(), 0u);
        // The sprite is a whole map sprite: it takes a key's definition.
        first.GetSprite().SetKey(1, 0, 1, 10, 2);
        EXPECT_EQ(first.GetSprite().GetSprite().GetImageName(), "gfx\\map\\units\\bmp\\any.bmp");
    }
    // The sprites went with their holders.
    EXPECT_EQ(g_mapSpriteCount, 0);
}

TEST_F(MapSpriteTest, MapSpritesTakeTheDefinitionOfTheirWholeKey) {
    dir.WriteFile("gfx/map/units/bmp/ne.bmp", SheetBmp(4, 8, 6));
    dir.WriteFile("gfx/map/units/bmp/any.bmp", SheetBmp(2, 8, 6));
    WriteSprite("c-fra t-army a-walk d-ne l-2.spr",
                "bitmap = \"ne.bmp\" frames = 4 speed = 7 origin = { x = 3 y = 5 }");
    WriteSprite("c-fra t-army a-walk l-2.spr", "bitmap = \"any.bmp\" frames = 2");
    dir.WriteFile("gfx/map/units/notes.txt", "not a definition");

    CMapSprite sprite;
    ASSERT_TRUE(g_spriteDefinitions);
    EXPECT_EQ(g_spriteDefinitions->GetCount(), 2u);
    EXPECT_EQ(g_mapSpriteCount, 1);
    EXPECT_EQ(sprite.GetKey(), SpriteKey{});
    EXPECT_EQ(sprite.GetSprite().GetImageName(), "gfx\\dummy.bmp");

    sprite.SetKey(1, 0, 1, 1, 2);
    SpriteWorld& world = sprite.GetSprite();
    EXPECT_EQ(world.GetImageName(), "gfx\\map\\units\\bmp\\ne.bmp");
    EXPECT_EQ(world.frameCount, 4);
    EXPECT_EQ(world.frameWidth, 8);
    EXPECT_EQ(world.originX, 3);
    EXPECT_EQ(world.originY, 5);
    EXPECT_EQ(world.speed, 7);
    EXPECT_EQ(world.CSprite::speed, 7);
    ASSERT_NE(world.image, nullptr);
    EXPECT_TRUE(world.image->frames); // encoded once, shared with the definition
    EXPECT_EQ(world.image->refCount, 2);

    // Without "d-" the direction is none: only direction 10 finds it.
    sprite.SetDirection(10);
    EXPECT_EQ(world.GetImageName(), "gfx\\map\\units\\bmp\\any.bmp");
    EXPECT_EQ(world.frameCount, 2);
    EXPECT_EQ(world.speed, 25);
    // A key without a definition leaves the picture as it was.
    sprite.SetDirection(3);
    EXPECT_EQ(world.GetImageName(), "gfx\\map\\units\\bmp\\any.bmp");
    sprite.SetLevel(1);
    sprite.SetDirection(10);
    EXPECT_EQ(world.GetImageName(), "gfx\\map\\units\\bmp\\any.bmp");

    // A second map sprite does not load the table again.
    CSpriteDefinitionTable* table = g_spriteDefinitions;
    CMapSprite other;
    EXPECT_EQ(g_spriteDefinitions, table);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(MapSpriteTest, FaultyDefinitionsAreReportedAndReadOn) {
    dir.WriteFile("gfx/map/units/bmp/strip.bmp", SheetBmp(2, 4, 4));
    // frames = 0 counts as one frame; an unknown key, nested or not, is
    // reported and the fields after it are still read.
    WriteSprite("t-navy.spr",
                "bitmap = \"strip.bmp\" frames = 0 colour = { r = 1 } shade = 3 speed = 9");
    // More frames than the picture has columns.
    WriteSprite("t-city.spr", "bitmap = \"strip.bmp\" frames = 99999");
    // The origin must be a block; an unknown key of a cpoint is passed over.
    WriteSprite("t-fire.spr", "origin = 4 speed = 3");
    WriteSprite("t-cot.spr", "origin = { x = 2 z = 9 y = 6 } frames = 1");
    dir.WriteFile("gfx/map/units/t-port.spr", "picture = { }\n");
    WriteSprite("t-loot.spr", "bitmap = \"missing.bmp\" frames = 2");

    LoadSpriteDefinitions();
    ASSERT_TRUE(g_spriteDefinitions);
    EXPECT_EQ(g_spriteDefinitions->GetCount(), 6u);

    const SpriteWorld& navy = *g_spriteDefinitions->Find({1, 19, 27, 10, 1})->sprite;
    EXPECT_EQ(navy.frameCount, 1);
    EXPECT_EQ(navy.frameWidth, 8);
    EXPECT_EQ(navy.speed, 9);
    EXPECT_TRUE(Reported(boxes, "SpriteWorld : Unexpected field"));

    const SpriteWorld& city = *g_spriteDefinitions->Find({3, 19, 27, 10, 1})->sprite;
    EXPECT_EQ(city.frameCount, 8);
    EXPECT_EQ(city.frameWidth, 1);

    const SpriteWorld& fire = *g_spriteDefinitions->Find({9, 19, 27, 10, 1})->sprite;
    EXPECT_TRUE(Reported(boxes, "No left curly"));
    EXPECT_EQ(fire.speed, 3);

    const SpriteWorld& cot = *g_spriteDefinitions->Find({6, 19, 27, 10, 1})->sprite;
    EXPECT_EQ(cot.originX, 2);
    EXPECT_EQ(cot.originY, 6);

    EXPECT_TRUE(Reported(boxes, "Sprite keyword not found.."));

    // A missing sheet gives an empty picture: the sprite draws nothing.
    CMapSprite loot;
    loot.SetKind(15);
    EXPECT_EQ(loot.GetSprite().GetImageName(), "gfx\\map\\units\\bmp\\missing.bmp");
    loot.SetPosition(1000, 500);
    loot.Draw(0);
    EXPECT_TRUE(loot.GetSprite().image->width == 0);
    for (uint16_t pixel : imagetest::Pixels16(*g_screen))
        ASSERT_EQ(pixel, kBackground);
}

TEST_F(MapSpriteTest, NoDefinitionFilesShowTheBox) {
    CMapSprite sprite;
    EXPECT_TRUE(Reported(boxes, " No sprites found! "));
    ASSERT_TRUE(g_spriteDefinitions);
    EXPECT_EQ(g_spriteDefinitions->GetCount(), 0u);
    sprite.SetKey(0, 0, 0, 0, 1);
    EXPECT_EQ(sprite.GetSprite().GetImageName(), "gfx\\dummy.bmp");
}

TEST_F(MapSpriteTest, TransparencyChoosesHowTheFramesAreDrawn) {
    struct Case {
        const char* fields;
        int32_t kind;
        // Compared with the background at the sprite's pixel.
        enum { Lighter, Darker, Palette, Between } effect;
    } cases[] = {
        {"transparency = 1 opacity = 0", kImageLightMap, Case::Lighter},
        {"transparency = 1 opacity = 40", kImageMemory, Case::Palette},
        {"transparency = 1 opacity = 32", kImageMemory, Case::Palette},
        {"transparency = 1 opacity = 16", kImageTranslucent, Case::Between},
        {"transparency = 2 opacity = 0", kImageDarkMap, Case::Darker},
        {"", kImageMemory, Case::Palette},
    };
    int32_t level = 1;
    for (const Case& c : cases) {
        const std::string sheet = "sheet" + std::to_string(level) + ".bmp";
        dir.WriteFile("gfx/map/units/bmp/" + sheet, SheetBmp(1, 4, 4));
        WriteSprite("t-fire.l-" + std::to_string(level) + ".spr",
                    "bitmap = \"" + sheet + "\" palette = \"grey.act\" " + c.fields);
        ++level;
    }
    CPalette* grey = GetPalette("grey.act");
    ASSERT_NE(grey, nullptr);
    const PixelChannels background = SplitPixel(kBackground, g_pixelFormat);
    level = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        g_screen->Fill(kBackground);
        CMapSprite fire;
        fire.SetKey(19, 9, 27, 10, level++);
        fire.SetPosition(1000, 500);
        fire.Draw(0);
        ASSERT_NE(fire.GetSprite().image, nullptr);
        EXPECT_EQ(fire.GetSprite().image->kind, c.kind);
        // The sheet's 4 x 4 frame is centred on the map point's screen point.
        const uint16_t drawn = PixelAt(*g_screen, 40, 20);
        const PixelChannels d = SplitPixel(drawn, g_pixelFormat);
        const uint16_t paletteIndex40 = static_cast<uint16_t>(grey->normalPixels[40]);
        EXPECT_EQ(PixelAt(*g_screen, 20, 10), kBackground);
        switch (c.effect) {
        case Case::Lighter:
            EXPECT_GT(d.r + d.g + d.b, background.r + background.g + background.b);
            break;
        case Case::Darker:
            EXPECT_LT(d.r + d.g + d.b, background.r + background.g + background.b);
            break;
        case Case::Palette:
            EXPECT_EQ(drawn, paletteIndex40);
            break;
        case Case::Between:
            EXPECT_NE(drawn, paletteIndex40);
            EXPECT_NE(drawn, kBackground);
            break;
        }
    }
}

TEST_F(MapSpriteTest, SpritesDrawAndHitThroughTheMapView) {
    dir.WriteFile("gfx/block.bmp", SheetBmp(1, 8, 8));
    SpriteWorld sprite("gfx\\block.bmp");
    sprite.SetPalette(GetPalette("grey.act"));
    EXPECT_EQ(sprite.originX, 4);
    EXPECT_EQ(sprite.originY, 4);
    sprite.hitWholeFrame = 1;
    struct Case {
        int32_t worldX, worldY, zoom;
        int32_t screenLeft, screenTop, size; // where the frame lands
    } cases[] = {
        {1000, 500, 0, 36, 16, 8},
        {1010, 490, 0, 46, 6, 8},
        // Across the map's edge: the view origin is at x = 18912.
        {18940, 500, 0, 24, 16, 8},
        // Origin (896, 448) at zoom 1.
        {1000, 500, 1, 50, 24, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.worldX);
        SetViewCentre(c.worldX > 10000 ? 10 : 1000, 510);
        g_zoomShift = c.zoom;
        g_screen->Fill(kBackground);
        sprite.SetPosition(c.worldX, c.worldY);
        sprite.Draw(0);
        EXPECT_NE(PixelAt(*g_screen, c.screenLeft, c.screenTop), kBackground);
        EXPECT_NE(PixelAt(*g_screen, c.screenLeft + c.size - 1, c.screenTop + c.size - 1),
                  kBackground);
        EXPECT_EQ(PixelAt(*g_screen, c.screenLeft + c.size, c.screenTop + c.size - 1), kBackground);
        EXPECT_EQ(PixelAt(*g_screen, c.screenLeft - 1, c.screenTop), kBackground);
        EXPECT_TRUE(sprite.HitTest(c.screenLeft, c.screenTop));
        EXPECT_FALSE(sprite.HitTest(c.screenLeft + c.size, c.screenTop));
        EXPECT_TRUE(sprite.IntersectsRect(0, 0, c.screenLeft, c.screenTop));
        EXPECT_FALSE(sprite.IntersectsRect(0, 0, c.screenLeft - 1, 47));
    }
    g_zoomShift = 0;
    // Clipped to the map view's left, top and right.
    g_mapViewRect = {30, 0, 64, 48};
    SetViewCentre(1000, 510); // origin (960, 480)
    g_screen->Fill(kBackground);
    sprite.SetPosition(960, 500);
    sprite.Draw(0);
    EXPECT_EQ(PixelAt(*g_screen, 29, 20), kBackground);
    EXPECT_NE(PixelAt(*g_screen, 30, 20), kBackground);
    // Param 6 draws at the world position itself onto the destination.
    CImage picture(16, 16, 16, kImageMemory);
    picture.Fill(kBackground);
    sprite.SetDestination(&picture);
    sprite.SetClipRect(0, 0, 16, 16);
    sprite.SetPosition(6, 6);
    sprite.Draw(kDrawAtWorldPosition);
    EXPECT_NE(PixelAt(picture, 2, 2), kBackground);
    EXPECT_EQ(PixelAt(picture, 1, 2), kBackground);
}

TEST_F(MapSpriteTest, LandscapeTilesLoadByTerrain) {
    dir.WriteFile("gfx/map/landscape/Mountain1.bmp", SheetBmp(2, 8, 8));
    dir.WriteFile("gfx/palette/landscape_palette.bmp", SheetBmp(1, 2, 2));
    CLandscapeSprite tile;
    tile.SetTerrain(6, 0);
    tile.SetTerrain(-1, 0);
    EXPECT_EQ(tile.GetImageName(), "gfx\\dummy.bmp");
    tile.SetTerrain(2, 1);
    EXPECT_EQ(tile.GetImageName(), "gfx\\map\\landscape\\Mountain1.bmp");
    EXPECT_EQ(tile.variant, 1);
    EXPECT_EQ(tile.GetPalette()->name, "landscape_palette.bmp");
    tile.SetPosition(1000, 500);
    tile.DrawOnMap(1);
    EXPECT_EQ(tile.frameCount, 2);
    EXPECT_EQ(tile.frame, 1);
    EXPECT_EQ(PixelAt(*g_screen, 40, 20),
              static_cast<uint16_t>(tile.GetPalette()->normalPixels[41]));
    EXPECT_EQ(PixelAt(*g_screen, 35, 20), kBackground);
}

TEST(DirectionTest, DirectionFromPointsBySectors) {
    struct Case {
        int32_t x2, y2, direction;
    } cases[] = {
        {10, 0, 2},
        {0, -10, 0},
        {-10, 10, 5},
        {10, -10, 1},
        {-10, -10, 7},
        {-10, 0, 6},
        {0, 10, 4},
        {10, 10, 3},
        {0, 0, 2},
        // The sector bounds lie at 22.5 degrees on either side of each way.
        {100, -40, 2},
        {100, -42, 1},
        {40, -100, 0},
        {42, -100, 1},
        {100, 40, 2},
        {100, 42, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectionFromPoints(0, 0, c.x2, c.y2), c.direction) << c.x2 << ", " << c.y2;
    EXPECT_EQ(DirectionFromPoints(500, 500, 500, 400), 0);
}

TEST_F(MapSpriteTest, ProvinceMarkersShowWhileRevealed) {
    dir.WriteFile("gfx/map/units/bmp/mark.bmp", SheetBmp(1, 4, 4));
    dir.WriteFile("gfx/map/units/t-stability.spr",
                  Spr("bitmap = \"mark.bmp\" palette = \"grey.act\""));
    CProvince& province = g_provinces[7];
    province.box = {990, 490, 1010, 510};
    CProvinceMarker marker(7);
    marker.SetKind(2);
    EXPECT_EQ(marker.GetPosition().x, 1000);
    EXPECT_EQ(marker.GetPosition().y, 500);
    const uint16_t normal = static_cast<uint16_t>(GetPalette("grey.act")->normalPixels[40]);
    const uint16_t half = static_cast<uint16_t>(GetPalette("grey.act")->halfPixels[40]);

    struct Case {
        uint8_t revealed, notDimmed;
        uint32_t options;
        uint16_t expected;
    } cases[] = {
        {0, 1, 1, kBackground},
        {1, 1, 0, kBackground},
        {1, 1, 1, normal},
        {1, 0, 1, half},
    };
    for (const Case& c : cases) {
        province.newlyRevealed = c.revealed;
        province.shownNotDimmed = c.notDimmed;
        g_mapOptions = c.options;
        g_screen->Fill(kBackground);
        marker.Draw(0);
        EXPECT_EQ(PixelAt(*g_screen, 40, 20), c.expected)
            << int{c.revealed} << int{c.notDimmed} << c.options;
    }

    // The fading marker draws only undimmed and fades out over its time.
    auto fading = std::make_unique<CFadingProvinceMarker>(7, 100);
    fading->SetKind(2);
    province.shownNotDimmed = 0;
    g_screen->Fill(kBackground);
    fading->Draw(0);
    EXPECT_EQ(PixelAt(*g_screen, 40, 20), kBackground);
    province.shownNotDimmed = 1;
    fading->Draw(0);
    EXPECT_EQ(PixelAt(*g_screen, 40, 20), normal);

    COVTickAnimationsEvent quarter(25);
    EXPECT_EQ(fading->HandleEvent(quarter), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(fading->GetSprite().translucency, 24);
    COVTickAnimationsEvent most(74);
    EXPECT_EQ(fading->HandleEvent(most), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(fading->GetSprite().translucency, 1);
    COVTickAnimationsEvent last(1);
    EXPECT_EQ(fading->HandleEvent(last), DRAWABLE_DELETE_ME);
    // No time to fade: gone on the first tick.
    CFadingProvinceMarker instant(7, 0);
    EXPECT_EQ(instant.HandleEvent(last), DRAWABLE_DELETE_ME);

    // Markers leave once the front end is active.
    const GameStateHooks savedState = g_gameState;
    g_gameState.isInFrontEnd = [] { return true; };
    EXPECT_EQ(marker.HandleEvent(last), DRAWABLE_DELETE_ME);
    g_gameState.isInFrontEnd = [] { return false; };
    EXPECT_EQ(marker.HandleEvent(last), DRAWABLE_NOT_TAKEN);
    g_gameState = savedState;

    province.box = {};
    province.newlyRevealed = 0;
    province.shownNotDimmed = 0;
}

} // namespace
