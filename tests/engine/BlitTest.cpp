// Golden-image tests of the blitters, the framed drawer and the drawing
// primitives in both pixel formats (tests/engine/golden/, see
// ImageTestSupport.h), with the pixels that show each rule checked by hand.
#include "engine/Blit.h"

#include <gtest/gtest.h>

#include "engine/Draw.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::Background;
using imagetest::FormatName;
using imagetest::FormatScope;
using imagetest::GoldenFile;
using imagetest::Image16;
using imagetest::Image8;
using imagetest::PixelAt;
using imagetest::Pixels16;

constexpr int32_t kFormats[] = {kPixelFormat565, kPixelFormat555};

std::string Label(int32_t format, const std::string& what) {
    return std::string(FormatName(format)) + " " + what;
}

// A 16 x 8 sprite: a border of index 0, a band of shadow index 1, colours.
std::vector<uint8_t> Sprite() {
    std::vector<uint8_t> sprite;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            sprite.push_back(static_cast<uint8_t>(x == 0 || y == 0 ? 0
                                                  : y == 3         ? 1
                                                                   : 2 + x * 9 + y * 31));
    return sprite;
}

TEST(BlitTest, PaletteBlitsAtEveryZoomLeaveIndexZeroAndHalveIndexOne) {
    GoldenFile golden("blit8to16");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        CPalette palette = imagetest::TestPalette();
        auto sprite = Image8(16, 8, Sprite());
        sprite->palette = &palette;
        for (int32_t zoom = 0; zoom <= 4; ++zoom) {
            SCOPED_TRACE(Label(format, "zoom " + std::to_string(zoom)));
            sprite->zoomShift = zoom;
            auto dest = Background(12, 6);
            auto before = Background(12, 6);
            ASSERT_TRUE(sprite->DrawWhole(2, 1, dest.get()));
            golden.Check(Label(format, "zoom " + std::to_string(zoom)), *dest);
            // Column 0 and row 0 of the sprite are index 0, row 3 index 1.
            EXPECT_EQ(PixelAt(*dest, 2, 1), PixelAt(*before, 2, 1));
            if (zoom <= 1) {
                if (zoom == 0) {
                    EXPECT_EQ(PixelAt(*dest, 4, 4), HalvePixel(PixelAt(*before, 4, 4), format));
                }
                uint8_t index = static_cast<uint8_t>(2 + (2 << zoom) * 9 + (2 << zoom) * 31);
                EXPECT_EQ(PixelAt(*dest, 4, 3), static_cast<uint16_t>(palette.normalPixels[index]));
            }
            // Outside the drawn area nothing changes.
            EXPECT_EQ(PixelAt(*dest, 0, 0), PixelAt(*before, 0, 0));
            EXPECT_EQ(PixelAt(*dest, 1, 5), PixelAt(*before, 1, 5));
        }
        // The half and bright tables.
        sprite->zoomShift = 1;
        for (int32_t table : {kPaletteHalf, kPaletteBright}) {
            sprite->paletteTable = table;
            auto dest = Background(12, 6);
            sprite->DrawWhole(2, 1, dest.get());
            golden.Check(Label(format, "zoom 1 table " + std::to_string(table)), *dest);
            EXPECT_EQ(PixelAt(*dest, 4, 3),
                      static_cast<uint16_t>(palette.GetPixelTable(table)[2 + 4 * 9 + 4 * 31]));
        }
        // The palette's own tables are left as they were.
        EXPECT_EQ(palette.normalPixels[0], imagetest::TestPalette().normalPixels[0]);
        EXPECT_EQ(palette.normalPixels[1], imagetest::TestPalette().normalPixels[1]);
    }
}

TEST(BlitTest, AWrappingDestinationTakesThePartPastItsEdgesAtItsOtherSide) {
    GoldenFile golden("wrap");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        CPalette palette = imagetest::TestPalette();
        auto sprite = Image8(6, 3,
                             {2, 3, 4, 5, 6, 7,   //
                              8, 0, 1, 9, 10, 11, //
                              12, 13, 14, 15, 16, 17});
        sprite->palette = &palette;
        // The map scrolled by 6: a sprite drawn at x 2 lands at 8 and runs
        // 2 columns past the right edge of the 10-wide map; scrolled down by
        // 3, its last row wraps to the top.
        auto map = Background(10, 5);
        auto before = Background(10, 5);
        map->SetOrigin(6, 3);
        ASSERT_TRUE(sprite->DrawWhole(2, 0, map.get()));
        golden.Check(Label(format, "origin 6,3"), *map);
        auto colour = [&](uint8_t index) {
            return static_cast<uint16_t>(palette.normalPixels[index]);
        };
        EXPECT_EQ(PixelAt(*map, 8, 3), colour(2));
        EXPECT_EQ(PixelAt(*map, 9, 3), colour(3));
        EXPECT_EQ(PixelAt(*map, 0, 3), colour(4));
        EXPECT_EQ(PixelAt(*map, 3, 3), colour(7));
        EXPECT_EQ(PixelAt(*map, 9, 4), PixelAt(*before, 9, 4));                     // index 0
        EXPECT_EQ(PixelAt(*map, 0, 4), HalvePixel(PixelAt(*before, 0, 4), format)); // index 1
        EXPECT_EQ(PixelAt(*map, 1, 0), colour(15)); // row 3 of the map's 5: wraps
        EXPECT_EQ(PixelAt(*map, 4, 0), PixelAt(*before, 4, 0));
    }
}

TEST(BlitTest, ColourKeyedBlitsSkipTheGreenOfTheCurrentFormat) {
    GoldenFile golden("blit16to16");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        std::vector<uint16_t> values;
        for (int i = 0; i < 8 * 6; ++i)
            values.push_back(i % 5 == 0
                                 ? g_colourKey
                                 : CGraphicsBase::RgbToPixel(i * 5, 200 - i * 3, 10 + i * 2));
        auto sprite = Image16(8, 6, values);
        sprite->hasColourKey = sprite->HasColourKeyPixel() ? 1 : 0;
        ASSERT_EQ(sprite->hasColourKey, 1);
        for (int32_t zoom = 0; zoom <= 2; ++zoom) {
            sprite->zoomShift = zoom;
            auto dest = Background(10, 6);
            auto before = Background(10, 6);
            ASSERT_TRUE(sprite->DrawWhole(4, 1, dest.get())); // cut at the right and bottom edges
            golden.Check(Label(format, "zoom " + std::to_string(zoom)), *dest);
            if (zoom == 0) {
                EXPECT_EQ(PixelAt(*dest, 4, 1), PixelAt(*before, 4, 1)); // key at (0, 0)
                EXPECT_EQ(PixelAt(*dest, 5, 1), values[1]);
                EXPECT_EQ(PixelAt(*dest, 9, 5), values[4 * 8 + 5]);
            }
        }
        // The same picture without the flag is copied row by row, green too.
        sprite->zoomShift = 0;
        sprite->hasColourKey = 0;
        auto dest = Background(10, 6);
        sprite->DrawWhole(4, 1, dest.get());
        EXPECT_EQ(PixelAt(*dest, 4, 1), g_colourKey);
    }
}

TEST(BlitTest, EightBitOntoEightBitSkipsIndexZero) {
    auto sprite = Image8(4, 2,
                         {0, 5, 6, 0, //
                          7, 0, 8, 9});
    auto dest = Image8(5, 3, std::vector<uint8_t>(15, 3));
    ASSERT_TRUE(sprite->DrawWhole(2, 1, dest.get()));
    std::vector<uint8_t> rows;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            rows.push_back(dest->pixels[y * dest->pitch + x]);
    EXPECT_EQ(rows, (std::vector<uint8_t>{3, 3, 3, 3, 3, //
                                          3, 3, 3, 5, 6, //
                                          3, 3, 7, 3, 8}));
    sprite->zoomShift = 1;
    dest = Image8(5, 3, std::vector<uint8_t>(15, 3));
    sprite->DrawWhole(0, 0, dest.get());
    EXPECT_EQ(dest->pixels[0], 3);
    EXPECT_EQ(dest->pixels[1], 6);
    EXPECT_EQ(dest->pixels[2], 3);
}

// A 7 x 5 picture (rows 16 bytes apart, not 14) of varied colours, white in
// its corner (0, 0).
std::unique_ptr<CImage> EffectPicture() {
    auto picture = Background(7, 5);
    StorePixel(picture->pixels, CGraphicsBase::RgbToPixel(255, 255, 255));
    return picture;
}

TEST(BlitTest, TintDimAndShadeStayInsideThePicture) {
    GoldenFile golden("effects");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        SCOPED_TRACE(FormatName(format));
        const Rect everything{-10, -10, 1000, 1000};
        const uint16_t white = CGraphicsBase::RgbToPixel(255, 255, 255);

        auto tinted = EffectPicture();
        tinted->TintRect(everything, 1.5f, 0.5f, 3.0f);
        golden.Check(Label(format, "tint"), *tinted);
        // Saturates per channel; the last row and column stay out.
        EXPECT_EQ(PixelAt(*tinted, 0, 0),
                  JoinPixel({31, format == kPixelFormat565 ? 31 : 15, 31}, format));
        auto plain = EffectPicture();
        EXPECT_EQ(PixelAt(*tinted, 6, 2), PixelAt(*plain, 6, 2));
        EXPECT_EQ(PixelAt(*tinted, 2, 4), PixelAt(*plain, 2, 4));

        auto dimmed = EffectPicture();
        dimmed->DimRect(everything);
        golden.Check(Label(format, "dim"), *dimmed);
        EXPECT_EQ(PixelAt(*dimmed, 0, 0), HalvePixel(white, format));
        EXPECT_EQ(PixelAt(*dimmed, 5, 4), HalvePixel(PixelAt(*plain, 5, 4), format));
        EXPECT_EQ(PixelAt(*dimmed, 6, 4), PixelAt(*plain, 6, 4)); // odd right edge: pairs only

        auto part = EffectPicture();
        part->DimRect(Rect{3, 1, 6, 3}); // left 3 rounds to 2, right 6 stays
        golden.Check(Label(format, "dim part"), *part);

        for (int32_t level : {0, 1, 16, 31}) {
            auto shaded = EffectPicture();
            shaded->ShadeRect(everything, level);
            golden.Check(Label(format, "shade " + std::to_string(level)), *shaded);
            // White stays white (green's low bit aside) at every level.
            EXPECT_EQ(PixelAt(*shaded, 0, 0), format == kPixelFormat565 ? 0xFFDF : white);
            // Level 0 changes nothing but green's lowest bit in RGB565.
            for (int32_t y = 0; y < 5 && level == 0; ++y) {
                for (int32_t x = 0; x < 6; ++x) {
                    uint16_t kept = format == kPixelFormat565 ? 0xFFDF : 0xFFFF;
                    EXPECT_EQ(PixelAt(*shaded, x, y), PixelAt(*plain, x, y) & kept);
                }
            }
        }

        // The row padding past the 7 pixels is never written.
        for (auto* picture : {tinted.get(), dimmed.get()})
            for (int32_t y = 0; y < 5; ++y)
                EXPECT_EQ(LoadPixel(picture->pixels + y * picture->pitch + 14), 0);
    }
}

TEST(BlitTest, EffectsOnAPictureWiderThanTheScreenReachItsFarSide) {
    // 900 x 4: the rectangle covers columns past 800.
    CImage wide(900, 4, 16, kImageMemory);
    wide.Fill(0x7BEF);
    wide.DimRect(Rect{0, 0, 900, 4});
    EXPECT_EQ(imagetest::PixelAt(wide, 898, 3), HalvePixel(0x7BEF, kPixelFormat565));
    wide.ShadeRect(Rect{850, 0, 900, 4}, 31);
    EXPECT_EQ(imagetest::PixelAt(wide, 899, 3), 0xFFDF);
    wide.TintRect(Rect{850, 0, 900, 4}, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(imagetest::PixelAt(wide, 898, 2), 0);
    EXPECT_EQ(imagetest::PixelAt(wide, 899, 2), 0xFFDF); // the last column stays out
}

TEST(BlitTest, FramedKindsCombineWithTheDestination) {
    GoldenFile golden("framed");
    std::vector<uint8_t> sheet;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 16; ++x) {
            int v = (x * 3 + y * 7) % 9;
            sheet.push_back(static_cast<uint8_t>(v < 2   ? 0
                                                 : v < 3 ? 1
                                                 : v < 4 ? 255
                                                         : 20 + x * 13 + y * 17));
        }
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        CPalette palette = imagetest::TestPalette();
        for (int32_t kind : {kImageMemory, kImageLightMap, kImageTranslucent, kImageDarkMap}) {
            for (int32_t zoom = 0; zoom <= 1; ++zoom) {
                auto sprite = Image8(16, 6, sheet);
                sprite->palette = &palette;
                ASSERT_TRUE(sprite->BuildFrameTable(2));
                sprite->kind = kind;
                sprite->zoomShift = zoom;
                sprite->translucency = 12;
                auto dest = Background(10, 8);
                ASSERT_TRUE(sprite->Draw(1, 1, 8, 0, 16, 6, nullptr, dest.get(), nullptr));
                EXPECT_EQ(sprite->frames->currentFrame, 1);
                golden.Check(
                    Label(format, "kind " + std::to_string(kind) + " zoom " + std::to_string(zoom)),
                    *dest);
            }
        }
    }
}

// Each kind on one pixel per code: skip (0), shadow (1), 255 and a colour.
TEST(BlitTest, FramedKindsPixelByPixel) {
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        SCOPED_TRACE(FormatName(format));
        CPalette palette = imagetest::TestPalette();
        const uint16_t under = CGraphicsBase::RgbToPixel(200, 100, 50);
        const uint16_t colour = static_cast<uint16_t>(palette.normalPixels[80]);
        const int32_t greenShift = format == kPixelFormat565 ? 1 : 0;
        // Every 5-bit channel of a pixel (green by its top bits) through f.
        auto each = [&](uint16_t a, uint16_t b, auto f) {
            PixelChannels ca = SplitPixel(a, format), cb = SplitPixel(b, format);
            return JoinPixel({f(ca.r, cb.r),
                              f(ca.g >> greenShift, cb.g >> greenShift) << greenShift,
                              f(ca.b, cb.b)},
                             format);
        };
        auto toward = [&](uint16_t target, int32_t level) {
            return each(under, target, [&](int d, int e) {
                return d >= e ? d - (d - e) * level / 32 : d + (e - d) * level / 32;
            });
        };
        auto lighten = [&](int32_t level) {
            return each(under, under,
                        [&](int c, int) { return std::min(c + level - c * level / 32, 31); });
        };
        auto darken = [&](int32_t level) {
            return each(under, under, [&](int c, int) { return c * level / 32; });
        };
        struct Case {
            int32_t kind;
            std::vector<uint16_t> expected;
        };
        const Case cases[] = {
            {kImageMemory,
             {under, HalvePixel(under, format), static_cast<uint16_t>(palette.normalPixels[255]),
              colour}},
            {kImageLightMap, {under, under, lighten(31), lighten(10)}},
            {kImageTranslucent,
             {under, toward(HalvePixel(under, format), 16),
              toward(static_cast<uint16_t>(palette.normalPixels[255]), 16), toward(colour, 16)}},
            {kImageDarkMap, {0, 0, under, darken(10)}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.kind);
            auto sprite = Image8(4, 1, {0, 1, 255, 80});
            sprite->palette = &palette;
            ASSERT_TRUE(sprite->BuildFrameTable(1));
            sprite->kind = c.kind;
            sprite->translucency = 16;
            auto dest = Image16(4, 1, std::vector<uint16_t>(4, under));
            ASSERT_TRUE(sprite->DrawWhole(0, 0, dest.get()));
            EXPECT_EQ(Pixels16(*dest), c.expected);
        }
    }
}

TEST(BlitTest, LinesAtTheBorderStayInsideThePicture) {
    GoldenFile golden("lines");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        auto make = [] {
            auto picture = std::make_unique<CImage>(9, 7, 16, kImageMemory);
            picture->Fill(CGraphicsBase::RgbToPixel(40, 80, 160));
            picture->penColour = CGraphicsBase::RgbToPixel(255, 255, 0);
            return picture;
        };
        auto plain = make();
        plain->DrawLine(-5, -5, 20, 3); // clamped to (0, 0)-(8, 3)
        plain->DrawLine(8, 6, 8, -30);  // the right column
        plain->DrawLine(-1, 6, 100, 6); // the bottom row
        golden.Check(Label(format, "plain"), *plain);
        EXPECT_EQ(PixelAt(*plain, 0, 0), plain->penColour);
        EXPECT_EQ(PixelAt(*plain, 8, 0), plain->penColour);
        EXPECT_EQ(PixelAt(*plain, 4, 6), plain->penColour);

        auto smooth = make();
        uint16_t background = PixelAt(*smooth, 0, 0);
        smooth->DrawSmoothLine(0, 0, 8, 0);   // along the top border: row 1
        smooth->DrawSmoothLine(-9, 2, -9, 9); // along the left border: column 1
        smooth->DrawSmoothLine(2, 5, 6, 3);
        golden.Check(Label(format, "smooth"), *smooth);
        EXPECT_EQ(PixelAt(*smooth, 4, 1), smooth->penColour);
        EXPECT_EQ(PixelAt(*smooth, 1, 4), smooth->penColour);
        // The blended neighbours of the top line sit on row 0; the picture's
        // corners are not touched.
        EXPECT_NE(PixelAt(*smooth, 4, 0), background);
        EXPECT_EQ(PixelAt(*smooth, 8, 6), background);
        PixelChannels c = SplitPixel(PixelAt(*smooth, 4, 0), format);
        PixelChannels bg = SplitPixel(background, format);
        PixelChannels pen = SplitPixel(smooth->penColour, format);
        EXPECT_EQ(c.r, bg.r + ((pen.r - bg.r) >> 1));
        EXPECT_EQ(c.b, bg.b + ((pen.b - bg.b) >> 1));
    }
}

TEST(BlitTest, Triangles) {
    GoldenFile golden("triangles");
    auto eight = Image8(10, 8, std::vector<uint8_t>(80, 0));
    eight->FillTriangle(1, 1, 8, 3, 3, 9, 7); // the last point below the picture
    std::vector<uint16_t> indices;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x)
            indices.push_back(eight->pixels[y * eight->pitch + x]);
    auto asPixels = Image16(10, 8, indices);
    golden.Check("filled", *asPixels);
    EXPECT_EQ(indices[1 * 10 + 1], 7);
    EXPECT_EQ(indices[0], 0);

    std::array<uint16_t, 256> ramp{};
    for (int i = 0; i < 256; ++i)
        ramp[i] = static_cast<uint16_t>(i);
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        auto picture = Background(10, 8);
        picture->FillRampTriangle({0, 0, 9, 0, 0, 7}, {0, 255, 100}, ramp, 0, 0);
        golden.Check(Label(format, "ramp"), *picture);
        EXPECT_EQ(PixelAt(*picture, 0, 0), 0);
        EXPECT_EQ(PixelAt(*picture, 9, 0), 255);
        EXPECT_EQ(PixelAt(*picture, 0, 7), 100);
        auto shadow = Background(10, 8);
        auto before = Background(10, 8);
        shadow->FillRampTriangle({0, 0, 9, 0, 0, 7}, {0, 255, 100}, ramp, 2, -1);
        golden.Check(Label(format, "shadow"), *shadow);
        EXPECT_EQ(PixelAt(*shadow, 2, 0), HalvePixel(PixelAt(*before, 2, 0), format));
        EXPECT_EQ(PixelAt(*shadow, 0, 0), PixelAt(*before, 0, 0));
    }
    CImage tall(4, 769, 16, kImageMemory);
    tall.FillRampTriangle({0, 0, 3, 0, 0, 3}, {200, 200, 200}, ramp, 0, 0);
    EXPECT_EQ(PixelAt(tall, 0, 0), 0); // taller than the edge tables: nothing
}

} // namespace
