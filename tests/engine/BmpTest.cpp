#include "engine/Bmp.h"

#include <gtest/gtest.h>

#include "engine/Image.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::BmpSpec;
using imagetest::Bytes;
using imagetest::FileRows;
using imagetest::MakeBmp;

uint8_t Index(const CBitmap& bitmap, int32_t x, int32_t y) {
    return bitmap.pixels[y * bitmap.pitch + x];
}
uint16_t Pixel(const CBitmap& bitmap, int32_t x, int32_t y) {
    return LoadPixel(bitmap.pixels + y * bitmap.pitch + x * 2);
}

void ExpectEmpty(const CBitmap& bitmap) {
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_EQ(bitmap.height, 0);
    EXPECT_EQ(bitmap.pitch, 0);
    EXPECT_EQ(bitmap.pixels, nullptr);
}

void ExpectMemoryLayout(const CBitmap& bitmap) {
    EXPECT_EQ(bitmap.pitch % 8, 0);
    EXPECT_GE(bitmap.pitch, bitmap.width * bitmap.bytesPerPixel);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bitmap.pixels) % 8, 0u);
}

// 3 x 2 pictures whose top row is {a, b, c} and bottom row {d, e, f}.
std::string Eight3x2() {
    return FileRows({Bytes({1, 2, 3}), Bytes({4, 5, 6})});
}

TEST(BmpTest, ReadsOneEightAndSixteenBitsBottomUpIntoAlignedRows) {
    test::ScopedGameDir dir;
    CBitmap bitmap;

    // 1 bit: 10 pixels a row, kept packed.
    BmpSpec one(10, 2, 1);
    one.coloursUsed = 2;
    one.colourTable = std::string(8, '\0');
    one.pixelData = FileRows({Bytes({0xA5, 0xC0}), Bytes({0x0F, 0x40})});
    dir.WriteFile("one.bmp", MakeBmp(one));
    ASSERT_TRUE(bitmap.LoadBmp("one.bmp"));
    EXPECT_EQ(bitmap.bitsPerPixel, 1);
    EXPECT_EQ(bitmap.bytesPerPixel, 1);
    EXPECT_EQ(bitmap.colourCount, 2u);
    EXPECT_EQ(bitmap.fileRowBytes, 4);
    EXPECT_EQ(Index(bitmap, 0, 0), 0xA5);
    EXPECT_EQ(Index(bitmap, 1, 0), 0xC0);
    EXPECT_EQ(Index(bitmap, 0, 1), 0x0F);
    EXPECT_EQ(Index(bitmap, 1, 1), 0x40);
    ExpectMemoryLayout(bitmap);

    // 8 bits, width 3: rows padded to 4 in the file.
    BmpSpec eight(3, 2, 8);
    eight.coloursUsed = 256;
    eight.colourTable = std::string(1024, '\0');
    eight.pixelData = Eight3x2();
    dir.WriteFile("eight.bmp", MakeBmp(eight));
    ASSERT_TRUE(bitmap.LoadBmp("eight.bmp"));
    EXPECT_EQ(bitmap.bitsPerPixel, 8);
    EXPECT_EQ(bitmap.colourCount, 256u);
    EXPECT_EQ(bitmap.fileRowBytes, 4);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(Index(bitmap, x, 0), 1 + x);
        EXPECT_EQ(Index(bitmap, x, 1), 4 + x);
    }
    ExpectMemoryLayout(bitmap);

    // 16 bits are copied whatever the format: 0x07E0 stays in RGB555 too.
    imagetest::FormatScope scope(kPixelFormat555);
    BmpSpec sixteen(3, 2, 16);
    sixteen.pixelData =
        FileRows({Bytes({0xE0, 0x07, 0x34, 0x12, 0xFF, 0x7F}), Bytes({1, 0, 2, 0, 3, 0})});
    dir.WriteFile("sixteen.bmp", MakeBmp(sixteen));
    ASSERT_TRUE(bitmap.LoadBmp("sixteen.bmp"));
    EXPECT_EQ(bitmap.bitsPerPixel, 16);
    EXPECT_EQ(bitmap.bytesPerPixel, 2);
    EXPECT_EQ(bitmap.fileRowBytes, 8);
    EXPECT_EQ(Pixel(bitmap, 0, 0), 0x07E0);
    EXPECT_EQ(Pixel(bitmap, 1, 0), 0x1234);
    EXPECT_EQ(Pixel(bitmap, 2, 0), 0x7FFF);
    EXPECT_EQ(Pixel(bitmap, 0, 1), 1);
    EXPECT_EQ(Pixel(bitmap, 2, 1), 3);
    ExpectMemoryLayout(bitmap);
}

TEST(BmpTest, TwentyFourBitsBecomeSixteenBitPixelsOfTheCurrentFormat) {
    test::ScopedGameDir dir;
    // Width 3 (rows of 9 bytes padded to 12) and a gap before the pixels, so
    // that both the padding and the pixel offset matter.
    BmpSpec layout(3, 2, 24);
    layout.gap = std::string(10, '\x55');
    layout.pixelData =
        FileRows({Bytes({0, 0, 255, 0, 255, 0, 255, 0, 0}),            // red, green, blue
                  Bytes({255, 255, 255, 0, 0, 0, 0x40, 0x80, 0xC0})}); // white, black, (C0,80,40)
    dir.WriteFile("deep.bmp", MakeBmp(layout));
    for (int32_t format : {kPixelFormat565, kPixelFormat555}) {
        imagetest::FormatScope scope(format);
        SCOPED_TRACE(imagetest::FormatName(format));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBmp("deep.bmp"));
        EXPECT_EQ(bitmap.bitsPerPixel, 16);
        EXPECT_EQ(bitmap.bytesPerPixel, 2);
        EXPECT_EQ(bitmap.fileRowBytes, 12);
        bool is565 = format == kPixelFormat565;
        EXPECT_EQ(Pixel(bitmap, 0, 0), is565 ? 0xF800 : 0x7C00);
        EXPECT_EQ(Pixel(bitmap, 1, 0), is565 ? 0x07E0 : 0x03E0);
        EXPECT_EQ(Pixel(bitmap, 2, 0), 0x001F);
        EXPECT_EQ(Pixel(bitmap, 0, 1), is565 ? 0xFFFF : 0x7FFF);
        EXPECT_EQ(Pixel(bitmap, 1, 1), 0);
        EXPECT_EQ(Pixel(bitmap, 2, 1), CGraphicsBase::RgbToPixel(0xC0, 0x80, 0x40));
        ExpectMemoryLayout(bitmap);
    }
}

TEST(BmpTest, RunLengthEncodedPicturesDecodeRunsLiteralsMovesAndRowEnds) {
    test::ScopedGameDir dir;
    // 6 x 3. Bottom row: run of 2 x 7, literal 3 (padded), end of row.
    // Middle row: move 4 right, run of 2 x 9, end of row. Top row: literal 6,
    // end of picture.
    BmpSpec layout(6, 3, 8);
    layout.compression = 1;
    layout.pixelData = Bytes({2, 7, 0,  3,  10, 11, 12, 0,  0, 0, //
                              0, 2, 4,  0,  2,  9,  0,  0,        //
                              0, 6, 20, 21, 22, 23, 24, 25, 0, 1});
    dir.WriteFile("rle.bmp", MakeBmp(layout));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBmp("rle.bmp"));
    const uint8_t expected[3][6] = {
        {20, 21, 22, 23, 24, 25}, {0, 0, 0, 0, 9, 9}, {7, 7, 10, 11, 12, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Index(bitmap, x, y), expected[y][x]) << x << "," << y;

    // A move that goes up a row lands in the same column of that row.
    layout.width = 4;
    layout.height = 2;
    layout.pixelData = Bytes({1, 5, 0, 2, 2, 1, 1, 6, 0, 1});
    dir.WriteFile("move.bmp", MakeBmp(layout));
    ASSERT_TRUE(bitmap.LoadBmp("move.bmp"));
    EXPECT_EQ(Index(bitmap, 0, 1), 5);
    EXPECT_EQ(Index(bitmap, 3, 0), 6);
    EXPECT_EQ(Index(bitmap, 1, 0), 0);
    EXPECT_EQ(Index(bitmap, 4, 0), 0); // row padding untouched
}

TEST(BmpTest, RefusesBadFilesWithoutTouchingMemoryOutsideThePicture) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    const std::string table(1024, '\0');
    auto eight = [&](int32_t width, int32_t height, std::string data) {
        BmpSpec layout(width, height, 8);
        layout.colourTable = table;
        layout.pixelData = std::move(data);
        return layout;
    };
    auto rle = [&](int32_t width, int32_t height, std::string data) {
        BmpSpec layout = eight(width, height, std::move(data));
        layout.compression = 1;
        return layout;
    };
    BmpSpec good = eight(3, 2, Eight3x2());
    auto with = [&](auto change) {
        BmpSpec layout = good;
        change(layout);
        return MakeBmp(layout);
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string wrongMagic = MakeBmp(good);
    wrongMagic[1] = 'A';
    std::string planesOnly = MakeBmp(good).substr(0, 30);
    std::string longInfo = MakeBmp(good);
    longInfo[15] = 0x13; // information header size 0x1328, past the end
    const Case cases[] = {
        {"empty file", ""},
        {"headers cut short", planesOnly},
        {"wrong magic", wrongMagic},
        {"core header (12 bytes)", with([](BmpSpec& s) { s.infoSize = 12; })},
        {"information header past the end", longInfo},
        {"compression 2 (RLE4)", with([](BmpSpec& s) { s.compression = 2; })},
        {"compression 3 (bit fields)", with([](BmpSpec& s) { s.compression = 3; })},
        {"RLE8 on a 16-bit picture",
         [] {
             BmpSpec layout(1, 1, 16, Bytes({1, 5, 0, 1}));
             layout.compression = 1;
             return MakeBmp(layout);
         }()},
        {"depth 4", with([](BmpSpec& s) { s.bits = 4; })},
        {"depth 32", with([](BmpSpec& s) { s.bits = 32; })},
        {"width 0", with([](BmpSpec& s) { s.width = 0; })},
        {"negative width", with([](BmpSpec& s) { s.width = -3; })},
        {"height 0", with([](BmpSpec& s) { s.height = 0; })},
        {"top-down (negative height)", with([](BmpSpec& s) { s.height = -2; })},
        {"huge width", with([](BmpSpec& s) { s.width = 0x40000000; })},
        {"huge height", with([](BmpSpec& s) { s.height = 0x7FFFFFFF; })},
        {"too many bytes in memory", MakeBmp(rle(16384, 16384, Bytes({0, 1})))},
        {"rows cut short", with([](BmpSpec& s) { s.pixelData.resize(7); })},
        {"24-bit rows cut short", MakeBmp(BmpSpec(3, 2, 24, std::string(23, 'x')))},
        {"pixel offset past the end", with([](BmpSpec& s) { s.pixelOffset = 100000; })},
        {"pixel offset inside the headers", with([](BmpSpec& s) { s.pixelOffset = 20; })},
        {"RLE8 run past its row", MakeBmp(rle(4, 2, Bytes({5, 1, 0, 0, 0, 1})))},
        {"RLE8 run after a full row", MakeBmp(rle(4, 2, Bytes({4, 1, 1, 2, 0, 1})))},
        {"RLE8 literal past its row", MakeBmp(rle(4, 2, Bytes({0, 5, 1, 2, 3, 4, 5, 0, 0, 1})))},
        {"RLE8 literal cut by the end of the file", MakeBmp(rle(8, 2, Bytes({0, 6, 1, 2})))},
        {"RLE8 move past its row", MakeBmp(rle(4, 2, Bytes({0, 2, 5, 0, 0, 1})))},
        {"RLE8 move past the picture", MakeBmp(rle(4, 2, Bytes({0, 2, 0, 2, 1, 9, 0, 1})))},
        {"RLE8 rows past the picture", MakeBmp(rle(4, 2, Bytes({0, 0, 0, 0, 1, 9, 0, 1})))},
        {"RLE8 rows past the picture, no run", MakeBmp(rle(4, 2, Bytes({0, 0, 0, 0, 0, 0, 0, 1})))},
        {"RLE8 without the end of the picture", MakeBmp(rle(4, 2, Bytes({4, 1, 0, 0, 4, 2})))},
        {"RLE8 move cut by the end of the file", MakeBmp(rle(4, 2, Bytes({0, 2, 1})))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.WriteFile("bad.bmp", c.bytes);
        CBitmap bitmap;
        EXPECT_FALSE(bitmap.LoadBmp("bad.bmp"));
        ExpectEmpty(bitmap);
        // A bitmap that held a picture is emptied, not left half-read.
        dir.WriteFile("good.bmp", MakeBmp(good));
        ASSERT_TRUE(bitmap.LoadBmp("good.bmp"));
        EXPECT_FALSE(bitmap.LoadBmp("bad.bmp"));
        ExpectEmpty(bitmap);
        CImage image("bad.bmp", kPlaceSurface, false);
        EXPECT_EQ(image.kind, kImageMemory);
        ExpectEmpty(image);
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(BmpTest, AMissingFileFailsThroughTheFileReport) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadBmp("gfx\\missing.bmp"));
    ExpectEmpty(bitmap);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Could not open file gfx\\missing.bmp"), std::string::npos);
}

TEST(BmpTest, ReadsTheColourTableAfterTheInformationHeader) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::string colours;
    for (int i = 0; i < 256; ++i)
        colours += Bytes({i, 255 - i, i / 2, 0});
    for (uint32_t infoSize : {40u, 108u}) {
        SCOPED_TRACE(infoSize);
        BmpSpec layout(1, 1, 8);
        layout.infoSize = infoSize;
        layout.colourTable = colours;
        layout.pixelData = Bytes({0, 0, 0, 0});
        dir.WriteFile("colours.bmp", MakeBmp(layout));
        uint8_t table[1024] = {};
        ASSERT_EQ(ReadBmpPalette("colours.bmp", table), 256u);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(table), 1024), colours);
    }

    uint8_t table[1024];
    std::fill(std::begin(table), std::end(table), 0xAB);
    EXPECT_EQ(ReadBmpPalette("missing.bmp", table), 0u);
    dir.WriteFile("short.bmp",
                  MakeBmp(BmpSpec(1, 1, 8, "", colours.substr(0, 1000))).substr(0, 1000));
    EXPECT_EQ(ReadBmpPalette("short.bmp", table), 0u);
    dir.WriteFile("foreign.bmp", "XM" + std::string(2000, '\0'));
    EXPECT_EQ(ReadBmpPalette("foreign.bmp", table), 0u);
    EXPECT_EQ(table[0], 0xAB);
    EXPECT_EQ(table[1023], 0xAB);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(BmpTest, SixteenAndTwentyFourBitFilesLoadIntoSurfacesEightBitOnesIntoMemory) {
    test::ScopedGameDir dir;
    BmpSpec deep(3, 2, 24);
    deep.pixelData =
        FileRows({Bytes({0, 255, 0, 0, 0, 255, 1, 2, 3}), Bytes({9, 9, 9, 8, 8, 8, 7, 7, 7})});
    dir.WriteFile("deep.bmp", MakeBmp(deep));
    CImage onSurface("deep.bmp", kPlaceSurface, false);
    EXPECT_EQ(onSurface.kind, kImageSurface);
    ASSERT_NE(onSurface.surface, nullptr);
    EXPECT_EQ(onSurface.width, 3);
    EXPECT_EQ(onSurface.height, 2);
    EXPECT_EQ(onSurface.bitsPerPixel, 16);
    uint8_t* pixels = onSurface.Lock();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(LoadPixel(pixels), 0x07E0);
    EXPECT_EQ(LoadPixel(pixels + 2), 0xF800);
    EXPECT_EQ(LoadPixel(pixels + onSurface.pitch), CGraphicsBase::RgbToPixel(9, 9, 9));
    onSurface.Unlock();
    EXPECT_EQ(onSurface.pixels, nullptr);

    BmpSpec eight(3, 2, 8, Eight3x2(), std::string(1024, '\0'));
    dir.WriteFile("eight.bmp", MakeBmp(eight));
    CImage inMemory("eight.bmp", kPlaceSurface, false);
    EXPECT_EQ(inMemory.kind, kImageMemory);
    EXPECT_EQ(inMemory.surface, nullptr);
    EXPECT_EQ(inMemory.bitsPerPixel, 8);
    EXPECT_EQ(Index(inMemory, 2, 1), 6);
}

} // namespace
