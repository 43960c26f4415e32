#include "engine/Image.h"

#include <gtest/gtest.h>

#include "engine/Palette.h"
#include "engine/Pixel.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::Background;
using imagetest::BmpSpec;
using imagetest::Bytes;
using imagetest::FileRows;
using imagetest::FormatScope;
using imagetest::Image16;
using imagetest::Image8;
using imagetest::MakeBmp;
using imagetest::PixelAt;
using imagetest::Pixels16;

constexpr int32_t kFormats[] = {kPixelFormat565, kPixelFormat555};

TEST(PixelTest, PacksChannelsAndPicksTheColourKeyOfTheFormat) {
    {
        FormatScope scope(kPixelFormat565);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(255, 255, 255), 0xFFFF);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(300, 0, 0), CGraphicsBase::RgbToPixel(255, 0, 0));
        EXPECT_EQ(CGraphicsBase::RgbToPixel(0, 255, 0), 0x07E0);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(8, 4, 8), 0x0821);
        EXPECT_EQ(g_colourKey, 0x07E0);
        EXPECT_EQ(HalvePixel(0xFFFF, g_pixelFormat), 0x7BEF);
    }
    {
        FormatScope scope(kPixelFormat555);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(255, 255, 255), 0x7FFF);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(300, 0, 0), 0x7C00);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(0, 255, 0), 0x03E0);
        EXPECT_EQ(CGraphicsBase::RgbToPixel(8, 8, 8), 0x0421);
        EXPECT_EQ(g_colourKey, 0x03E0);
        EXPECT_EQ(HalvePixel(0x7FFF, g_pixelFormat), 0x3DEF);
    }
    FormatScope scope(kPixelFormatUnsupported);
    EXPECT_EQ(CGraphicsBase::RgbToPixel(255, 255, 255), 0);
}

TEST(ImageTest, SizedImagesByKind) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;

    CImage memory(5, 3, 16, kImageMemory);
    EXPECT_EQ(memory.name, "sized image");
    EXPECT_EQ(memory.pitch, 16);
    EXPECT_EQ(memory.bytesPerPixel, 2);
    EXPECT_EQ(memory.colourCount, 65536u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.pixels) % 8, 0u);
    EXPECT_EQ(memory.Lock(), memory.pixels);
    EXPECT_EQ(Pixels16(memory), std::vector<uint16_t>(15, 0));

    CImage eight(3, 2, 8, kImageMemory);
    EXPECT_EQ(eight.pitch, 8);
    EXPECT_EQ(eight.colourCount, 256u);

    for (int32_t kind : {kImageSurface, kImageLockedSurface}) {
        CImage onSurface(6, 4, 16, kind);
        ASSERT_NE(onSurface.surface, nullptr);
        EXPECT_EQ(onSurface.pixels, nullptr);
        uint8_t* pixels = onSurface.Lock();
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(onSurface.locked, 1);
        EXPECT_EQ(Pixels16(onSurface), std::vector<uint16_t>(24, 0));
        onSurface.Unlock();
        EXPECT_EQ(onSurface.locked, 0);
        EXPECT_EQ(onSurface.pixels, nullptr);
    }

    CImage front(800, 600, 16, kImageFront);
    EXPECT_EQ(front.pixels, nullptr);
    EXPECT_EQ(front.Lock(), nullptr);
    CSurface display(8, 2);
    front.SetSurface(&display);
    EXPECT_EQ(front.width, 8);
    EXPECT_EQ(front.pitch, display.GetPitch());

    // A surface that cannot be had: "no image.bmp" in memory instead.
    dir.WriteFile("no image.bmp", MakeBmp(BmpSpec(2, 1, 16, Bytes({0x11, 0x11, 0x22, 0x22}))));
    CImage fallback(0, 100000, 16, kImageSurface);
    EXPECT_EQ(fallback.kind, kImageMemory);
    EXPECT_EQ(fallback.surface, nullptr);
    EXPECT_EQ(Pixels16(fallback), (std::vector<uint16_t>{0x1111, 0x2222}));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(ImageTest, GreenPixelsOfSixteenBitPicturesAreTransparentOnlyWhereThereAreAny) {
    test::ScopedGameDir dir;
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        SCOPED_TRACE(imagetest::FormatName(format));
        uint16_t key = g_colourKey;
        uint16_t otherGreen = format == kPixelFormat565 ? 0x03E0 : 0x07E0;
        auto file = [](std::vector<uint16_t> values) {
            std::string row;
            for (uint16_t v : values)
                row += Bytes({v & 0xFF, v >> 8});
            return MakeBmp(BmpSpec(4, 1, 16, FileRows({row})));
        };
        dir.WriteFile("plain.bmp", file({0x1234, otherGreen, 0x0001, 0x4321}));
        dir.WriteFile("keyed.bmp", file({key, 0x1234, 0x0001, key}));

        for (int32_t placement : {kPlaceMemory, kPlaceSurface}) {
            CImage plain("plain.bmp", placement, false);
            CImage keyed("keyed.bmp", placement, false);
            if (placement == kPlaceMemory) {
                EXPECT_EQ(plain.hasColourKey, 0);
                EXPECT_EQ(keyed.hasColourKey, 1);
            }
            // Memory images onto memory, surface images onto a surface.
            for (CImage* image : {&plain, &keyed}) {
                std::unique_ptr<CImage> dest;
                CSurface display(4, 1);
                if (placement == kPlaceMemory) {
                    dest = Image16(4, 1, {0xAAAA, 0xBBBB, 0xCCCC, 0xDDDD});
                } else {
                    dest = std::make_unique<CImage>(4, 1, 16, kImageFront);
                    dest->SetSurface(&display);
                    for (int x = 0; x < 4; ++x)
                        StorePixel(display.Lock() + x * 2,
                                   static_cast<uint16_t>(0xAAAA + 0x1111 * x));
                    display.Unlock();
                }
                EXPECT_TRUE(image->DrawWhole(0, 0, dest.get()));
                if (placement == kPlaceSurface)
                    dest->pixels = display.Lock();
                std::vector<uint16_t> expected =
                    image == &plain ? std::vector<uint16_t>{0x1234, otherGreen, 0x0001, 0x4321}
                                    : std::vector<uint16_t>{0xAAAA, 0x1234, 0x0001, 0xDDDD};
                EXPECT_EQ(Pixels16(*dest), expected) << "placement " << placement;
                if (placement == kPlaceSurface) {
                    dest->pixels = nullptr;
                    display.Unlock();
                }
            }
        }
    }
}

TEST(ImageTest, SurfaceAndFrontKinds) {
    // Kind 0 draws only onto surfaces; memory onto the front surface copies
    // whole rows, green included; kind 6 goes through the blitter; kinds 2
    // and 3 without frames draw nothing.
    CSurface display(4, 2);
    CImage front(4, 2, 16, kImageFront);
    front.SetSurface(&display);
    auto memoryDest = Image16(4, 2, std::vector<uint16_t>(8, 0x5555));

    CImage onSurface(2, 1, 16, kImageSurface);
    StorePixel(onSurface.Lock(), g_colourKey);
    StorePixel(onSurface.pixels + 2, 0x1234);
    onSurface.Unlock();
    EXPECT_TRUE(onSurface.DrawWhole(2, 1, &front));
    EXPECT_TRUE(onSurface.DrawWhole(0, 0, memoryDest.get()));
    EXPECT_EQ(Pixels16(*memoryDest), std::vector<uint16_t>(8, 0x5555));

    auto keyed = Image16(2, 1, {g_colourKey, 0x4321});
    keyed->hasColourKey = 1;
    EXPECT_TRUE(keyed->DrawWhole(0, 0, &front));

    CImage locked(2, 1, 16, kImageLockedSurface);
    StorePixel(locked.Lock(), 0x0F0F);
    StorePixel(locked.pixels + 2, 0xF0F0);
    locked.Unlock();
    EXPECT_TRUE(locked.DrawWhole(2, 0, memoryDest.get()));

    CImage frontSource(2, 1, 16, kImageFront);
    EXPECT_TRUE(frontSource.DrawWhole(0, 0, memoryDest.get()));
    auto lightMap = Image16(2, 1, {1, 2});
    lightMap->kind = kImageLightMap;
    EXPECT_TRUE(lightMap->DrawWhole(0, 0, memoryDest.get()));

    front.pixels = display.Lock();
    EXPECT_EQ(Pixels16(front), (std::vector<uint16_t>{g_colourKey, 0x4321, 0, 0, 0, 0, 0, 0x1234}));
    front.pixels = nullptr;
    display.Unlock();
    EXPECT_EQ(Pixels16(*memoryDest), (std::vector<uint16_t>{0x5555, 0x5555, 0x0F0F, 0xF0F0, 0x5555,
                                                            0x5555, 0x5555, 0x5555}));
}

TEST(ImageTest, DrawRoundsToEvenClipsAndHonoursTheSkipRectangle) {
    auto source = Image16(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    auto dest = Image16(6, 3, std::vector<uint16_t>(18, 0));
    // x 3 lands at 2; source left 1 becomes 0, right 3 becomes 2.
    EXPECT_TRUE(source->Draw(3, 1, 1, 0, 3, 2, nullptr, dest.get(), nullptr));
    EXPECT_EQ(Pixels16(*dest), (std::vector<uint16_t>{0, 0, 0, 0, 0, 0, //
                                                      0, 0, 1, 2, 0, 0, //
                                                      0, 0, 5, 6, 0, 0}));

    // Clipped at the destination's right edge and a clip rectangle's top.
    dest = Image16(6, 3, std::vector<uint16_t>(18, 0));
    Rect clip{0, 1, 6, 3};
    EXPECT_TRUE(source->Draw(4, 0, 0, 0, 4, 2, &clip, dest.get(), nullptr));
    EXPECT_EQ(Pixels16(*dest), (std::vector<uint16_t>{0, 0, 0, 0, 0, 0, //
                                                      0, 0, 0, 0, 5, 6, //
                                                      0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(source->Draw(6, 0, 0, 0, 4, 2, nullptr, dest.get(), nullptr));

    // A skip rectangle holding the whole area draws nothing; one that holds
    // only part of it does not stop the draw.
    dest = Image16(6, 3, std::vector<uint16_t>(18, 0));
    Rect cover{0, 0, 4, 2};
    EXPECT_FALSE(source->Draw(0, 0, 0, 0, 4, 2, nullptr, dest.get(), &cover));
    EXPECT_EQ(Pixels16(*dest), std::vector<uint16_t>(18, 0));
    Rect part{0, 0, 4, 1};
    EXPECT_TRUE(source->Draw(0, 0, 0, 0, 4, 2, nullptr, dest.get(), &part));
    EXPECT_EQ(PixelAt(*dest, 3, 1), 8);
}

TEST(ImageTest, ClipToRectMovesTheSourceByTheZoom) {
    struct Case {
        int32_t zoom;
        int32_t x, y;
        Rect source;
        Rect clip;
        bool drawn;
        int32_t outX, outY;
        Rect outSource;
    };
    const Case cases[] = {
        {0, 5, 5, {0, 0, 10, 10}, {0, 0, 100, 100}, true, 5, 5, {0, 0, 10, 10}},
        {0, -3, -2, {0, 0, 10, 10}, {0, 0, 100, 100}, true, 0, 0, {3, 2, 10, 10}},
        {1, -3, 0, {0, 0, 16, 16}, {0, 0, 100, 100}, true, 0, 0, {6, 0, 16, 16}},
        {2, 95, 98, {0, 0, 40, 40}, {0, 0, 100, 100}, true, 95, 98, {0, 0, 20, 8}},
        {1, 10, 10, {0, 0, 8, 8}, {12, 12, 13, 13}, true, 12, 12, {4, 4, 6, 6}},
        {3, 50, 50, {0, 0, 8, 8}, {0, 0, 50, 100}, false, 0, 0, {}},
        {0, 0, 0, {4, 0, 4, 5}, {0, 0, 100, 100}, false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        CImage image(1, 1, 16, kImageMemory);
        image.zoomShift = c.zoom;
        int32_t x = c.x;
        int32_t y = c.y;
        Rect source = c.source;
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " at " << c.x << "," << c.y);
        ASSERT_EQ(image.ClipToRect(x, y, source, c.clip), c.drawn);
        if (!c.drawn)
            continue;
        EXPECT_EQ(x, c.outX);
        EXPECT_EQ(y, c.outY);
        EXPECT_EQ(source.left, c.outSource.left);
        EXPECT_EQ(source.top, c.outSource.top);
        EXPECT_EQ(source.right, c.outSource.right);
        EXPECT_EQ(source.bottom, c.outSource.bottom);
    }
}

TEST(ImageTest, TransparencyByDepth) {
    auto eight = Image8(3, 1, {0, 1, 2});
    EXPECT_TRUE(eight->IsTransparentAt(0, 0));
    EXPECT_TRUE(eight->IsTransparentAt(1, 0));
    EXPECT_FALSE(eight->IsTransparentAt(2, 0));
    EXPECT_TRUE(eight->IsTransparentAt(3, 0)); // outside
    EXPECT_TRUE(eight->IsTransparentAt(0, -1));

    for (int32_t format : kFormats) {
        FormatScope scope(format);
        auto sixteen = Image16(2, 1, {g_colourKey, ColourKeyOf(1 - format)});
        EXPECT_TRUE(sixteen->IsTransparentAt(0, 0));
        EXPECT_FALSE(sixteen->IsTransparentAt(1, 0));
        EXPECT_TRUE(sixteen->HasColourKeyPixel());
        sixteen->Fill(0x1234);
        EXPECT_FALSE(sixteen->HasColourKeyPixel());
        sixteen->ClearToColourKey();
        EXPECT_EQ(Pixels16(*sixteen), (std::vector<uint16_t>{g_colourKey, g_colourKey}));
    }

    eight->ClearToColourKey();
    EXPECT_TRUE(eight->IsTransparentAt(2, 0));
    eight = Image8(3, 1, {5, 5, 5});
    ASSERT_TRUE(eight->BuildFrameTable(1));
    EXPECT_FALSE(eight->IsTransparentAt(0, 0)); // framed pictures never are
}

TEST(ImageTest, FrameTablesEncodeRunsAndLiterals) {
    // One row: two skipped, one shadow, a run of three 5s, literal 7 8 9,
    // one skipped, a run of 2 twos.
    auto image = Image8(12, 1, {0, 0, 1, 5, 5, 5, 7, 8, 9, 0, 2, 2});
    ASSERT_TRUE(image->BuildFrameTable(1));
    EXPECT_EQ(image->buffer, nullptr);
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->framesEncoded, 1);
    ASSERT_NE(image->frames, nullptr);
    EXPECT_EQ(image->frames->frameCount, 1);
    EXPECT_EQ(image->frames->frameWidth, 12);
    EXPECT_EQ(image->frames->codes[0],
              (std::vector<uint8_t>{2, 65, 131, 5, 195, 7, 8, 9, 1, 130, 2}));
    EXPECT_FALSE(image->BuildFrameTable(1)); // already has one

    // Runs stop at 63, literals at 62, or 63 when the last reaches the row's end.
    std::vector<uint8_t> row(70, 0);
    std::vector<uint8_t> literal;
    for (int i = 0; i < 63; ++i)
        literal.push_back(static_cast<uint8_t>(2 + i));
    image = Image8(70, 1, row);
    ASSERT_TRUE(image->BuildFrameTable(1));
    EXPECT_EQ(image->frames->codes[0], (std::vector<uint8_t>{63, 7}));
    image = Image8(63, 1, literal);
    ASSERT_TRUE(image->BuildFrameTable(1));
    EXPECT_EQ(image->frames->codes[0].front(), 192 + 63);
    EXPECT_EQ(image->frames->codes[0].size(), 64u);
    literal.push_back(200);
    image = Image8(64, 1, literal);
    ASSERT_TRUE(image->BuildFrameTable(1));
    EXPECT_EQ(image->frames->codes[0].front(), 192 + 62);
    EXPECT_EQ(image->frames->codes[0][63], 192 + 2);

    // Below one frame: pixels freed, an empty table. Not for 16-bit pictures.
    image = Image8(4, 1, {1, 2, 3, 4});
    ASSERT_TRUE(image->BuildFrameTable(0));
    EXPECT_EQ(image->frames->frameCount, 0);
    EXPECT_EQ(image->pixels, nullptr);
    auto sixteen = Image16(2, 1, {1, 2});
    EXPECT_FALSE(sixteen->BuildFrameTable(1));
}

// A 24 x 6 sheet of three frames mixing skips, shadows, runs and literals.
std::vector<uint8_t> Sheet() {
    std::vector<uint8_t> sheet;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 24; ++x) {
            int v = (x * 7 + y * 5) % 11;
            sheet.push_back(static_cast<uint8_t>(v < 3 ? 0 : v < 5 ? 1 : v < 7 ? 40 + y : 100 + x));
        }
    return sheet;
}

TEST(ImageTest, AFramedPictureDrawsItsFrameAsThePlainPictureDoesAtEveryZoom) {
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        CPalette palette = imagetest::TestPalette();
        auto plain = Image8(24, 6, Sheet());
        auto framed = Image8(24, 6, Sheet());
        plain->palette = framed->palette = &palette;
        ASSERT_TRUE(framed->BuildFrameTable(3));
        const Rect rects[] = {{0, 0, 8, 6}, {2, 1, 7, 5}};
        for (int32_t frame = 0; frame < 3; ++frame)
            for (int32_t zoom = 0; zoom <= 4; ++zoom)
                for (const Rect& r : rects) {
                    SCOPED_TRACE(testing::Message()
                                 << imagetest::FormatName(format) << " frame " << frame << " zoom "
                                 << zoom << " left " << r.left);
                    plain->zoomShift = framed->zoomShift = zoom;
                    auto expected = Background(12, 8);
                    auto drawn = Background(12, 8);
                    int32_t left = frame * 8 + r.left;
                    int32_t right = frame * 8 + r.right;
                    ASSERT_TRUE(plain->Draw(2, 1, left, r.top, right, r.bottom, nullptr,
                                            expected.get(), nullptr));
                    ASSERT_TRUE(framed->Draw(2, 1, left, r.top, right, r.bottom, nullptr,
                                             drawn.get(), nullptr));
                    EXPECT_EQ(framed->frames->currentFrame, frame);
                    EXPECT_EQ(Pixels16(*drawn), Pixels16(*expected));
                }
    }
}

TEST(ImageTest, OriginsWrapAndCopyWrappedRollsThePicture) {
    CImage image(4, 3, 16, kImageMemory);
    image.SetOrigin(-1, 7);
    EXPECT_EQ(image.originX, 3);
    EXPECT_EQ(image.originY, 1);
    image.ScrollWrapped(2, -2);
    EXPECT_EQ(image.originX, 1);
    EXPECT_EQ(image.originY, 2);
    image.ScrollWrapped(-9, 0);
    EXPECT_EQ(image.originX, 0);

    auto map = Image16(4, 3,
                       {1, 2, 3, 4, //
                        5, 6, 7, 8, //
                        9, 10, 11, 12});
    // Rolled so that (3, 1) comes first, into a 5 x 2 destination at (1, 0).
    auto dest = Image16(5, 2, std::vector<uint16_t>(10, 0));
    map->CopyWrapped(1, 0, 3, 1, dest.get());
    EXPECT_EQ(Pixels16(*dest), (std::vector<uint16_t>{0, 8, 5, 6, 7, //
                                                      0, 12, 9, 10, 11}));
    // Cut at every edge of the destination, also when it starts outside it.
    dest = Image16(3, 4, std::vector<uint16_t>(12, 0));
    map->CopyWrapped(-2, 2, 1, 0, dest.get());
    EXPECT_EQ(Pixels16(*dest), (std::vector<uint16_t>{0, 0, 0, //
                                                      0, 0, 0, //
                                                      4, 1, 0, //
                                                      8, 5, 0}));
    map->CopyWrapped(100, -100, 0, 0, dest.get());
    auto eight = Image8(2, 1, {1, 2});
    map->CopyWrapped(0, 0, 0, 0, eight.get()); // another depth: nothing
    EXPECT_EQ(eight->pixels[0], 1);
}

} // namespace
