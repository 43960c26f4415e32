// Bitmap fonts: glyph encoding, loading (bad pictures included), the text
// markup, tab stops, clipping, shadows, picture glyphs, widths and line
// counts on a small hand-made font, and golden pictures of every demo font
// in both pixel formats (tests/engine/golden/fonts.txt).
#include "engine/Font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Image.h"
#include "engine/Sprite.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::FormatScope;
using imagetest::PixelAt;

constexpr int32_t kFormats[] = {kPixelFormat565, kPixelFormat555};
constexpr int32_t kCellWidth = 6;
constexpr int32_t kCellHeight = 3;
constexpr uint16_t kPaper = 0x1234;

// The cells of the hand font, 33 to 255 without a list; all background but
//   'A' a 2 x 3 block of ink (width 2),
//   'B' a one-pixel stroke down column 0 with its advance marked at column
//       2 of the top row (width 3),
//   'C' a 6 x 3 block (width 6).
std::vector<std::string> HandFontRows(int32_t cellCount) {
    std::vector<std::string> rows(static_cast<size_t>(cellCount * kCellHeight),
                                  std::string(kCellWidth, '\xFF'));
    auto cell = [&](char c, int32_t x, int32_t y) -> char& {
        return rows[static_cast<size_t>((c - 33) * kCellHeight + y)][static_cast<size_t>(x)];
    };
    for (int32_t y = 0; y < kCellHeight; ++y) {
        cell('A', 0, y) = cell('A', 1, y) = 15;
        cell('B', 0, y) = 9;
        for (int32_t x = 0; x < kCellWidth; ++x)
            cell('C', x, y) = 3;
    }
    cell('B', 2, 0) = 0;
    return rows;
}

std::string FontBmp(const std::vector<std::string>& rows) {
    std::string greys;
    for (int i = 0; i < 256; ++i)
        greys += imagetest::Bytes({i, i, i, 0});
    return imagetest::MakeBmp(imagetest::BmpSpec(kCellWidth, static_cast<int32_t>(rows.size()), 8,
                                                 imagetest::FileRows(rows), greys));
}

// A game folder with the hand font in it; fonts loaded are dropped after.
class FontTest : public ::testing::Test {
protected:
    FontTest() { dir.WriteFile("gfx/fonts/hand.bmp", FontBmp(HandFontRows(223))); }
    ~FontTest() override { g_fonts.DeleteAll(); }

    CFont& HandFont() {
        auto font = std::make_unique<CFont>();
        EXPECT_TRUE(font->LoadFont("gfx\\fonts\\hand.bmp", kCellHeight, nullptr));
        return *font.release(); // g_fonts owns it now
    }

    test::ScopedGameDir dir;
};

// A text in memory of its exact size, so that reading past its end is
// caught by the address sanitizer.
class ExactText {
public:
    explicit ExactText(const std::string& text)
        : m_bytes(new char[text.size()]), m_size(text.size()) {
        std::memcpy(m_bytes.get(), text.data(), text.size());
    }
    std::string_view View() const { return {m_bytes.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_bytes;
    size_t m_size;
};

std::unique_ptr<CImage> Paper(int32_t width, int32_t height) {
    auto image = std::make_unique<CImage>(width, height, 16, kImageMemory);
    image->Fill(kPaper);
    return image;
}

Rect Whole(const CImage& image) {
    return {0, 0, image.width, image.height};
}

TEST(FontGlyphTest, EncodesRunsOfUpToSixteenAndKeepsTheLastOpenRun) {
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> rows;
        uint16_t width;
        std::vector<uint8_t> codes;
    };
    const std::vector<Case> cases = {
        {"no ink: width 1, no codes", {{255, 255, 255}, {255, 255, 255}}, 1, {}},
        {"the last run is stored", {{255, 255, 7}}, 3, {0x10, 0x07}},
        {"a run across the row end", {{5, 5}, {5, 5}}, 2, {0x35}},
        {"17 pixels: 16 and 1", {std::vector<uint8_t>(17, 4)}, 17, {0xF4, 0x04}},
        {"marker 0 widens and skips", {{9, 255, 0}, {255, 255, 255}}, 3, {0x09, 0x40}},
        {"a value above 15 opens a run per pixel", {{0x23, 0x23, 3}}, 3, {0x03, 0x13}},
        {"width from the widest row",
         {{1, 255, 255, 255}, {255, 255, 2, 255}},
         3,
         {0x01, 0x30, 0x02}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t cellWidth = static_cast<int32_t>(c.rows[0].size());
        std::vector<uint8_t> pixels;
        for (const auto& row : c.rows)
            pixels.insert(pixels.end(), row.begin(), row.end());
        CFontGlyph glyph;
        glyph.Encode(cellWidth, cellWidth, static_cast<int32_t>(c.rows.size()), pixels.data());
        EXPECT_EQ(glyph.width, c.width);
        EXPECT_EQ(glyph.codes, c.codes);
    }
}

TEST_F(FontTest, LoadsOneGlyphPerCellWithSpaceAndEntersTheFont) {
    CFont& font = HandFont();
    EXPECT_EQ(g_fonts.Get("GFX\\FONTS\\HAND.BMP"), &font);
    EXPECT_EQ(font.cellWidth, kCellWidth);
    EXPECT_EQ(font.cellHeight, kCellHeight);
    ASSERT_NE(font.GetGlyph(' '), nullptr);
    EXPECT_EQ(font.GetGlyph(' ')->width, kCellWidth / 6);
    EXPECT_EQ(font.GetGlyph('A')->width, 2);
    EXPECT_EQ(font.GetGlyph('B')->width, 3);
    EXPECT_EQ(font.GetGlyph('C')->width, 6);
    EXPECT_EQ(font.GetGlyph(255)->width, 1);
    EXPECT_EQ(font.GetGlyph(31), nullptr);
    EXPECT_EQ(font.GetGlyph('\n'), nullptr);
}

TEST_F(FontTest, ACharacterListPicksTheCells) {
    // The list names the first three cells "!", "x" and "\n".
    auto font = std::make_unique<CFont>();
    ASSERT_TRUE(font->LoadFont("gfx\\fonts\\hand.bmp", kCellHeight, "!x\n"));
    CFont& loaded = *font.release();
    EXPECT_EQ(loaded.GetGlyph('x')->width, 1);
    ASSERT_NE(loaded.GetGlyph('\n'), nullptr);
    EXPECT_EQ(loaded.GetGlyph('A'), nullptr);
    // "\n" has a record, so it breaks the line: "x" lands on the next row.
    auto paper = Paper(8, 8);
    EXPECT_EQ(loaded.DrawText("!\nx", 3, 0, Whole(*paper), paper.get(), 0xFFFF), 4);
}

TEST_F(FontTest, CellsPastTheBottomOfAShortPictureAreEmptyGlyphs) {
    // The picture ends after cell 'B' (and half-way through 'C').
    std::vector<std::string> rows = HandFontRows(223);
    rows.resize(static_cast<size_t>(('C' - 33) * kCellHeight + 1));
    dir.WriteFile("gfx/fonts/short.bmp", FontBmp(rows));
    auto font = std::make_unique<CFont>();
    ASSERT_TRUE(font->LoadFont("gfx\\fonts\\short.bmp", kCellHeight, nullptr));
    CFont& loaded = *font.release();
    EXPECT_EQ(loaded.GetGlyph('B')->width, 3);
    EXPECT_EQ(loaded.GetGlyph('C')->width, 6); // its one row inside
    EXPECT_EQ(loaded.GetGlyph('C')->codes, std::vector<uint8_t>({0x53}));
    for (int c = 'D'; c <= 255; ++c) {
        ASSERT_NE(loaded.GetGlyph(static_cast<unsigned char>(c)), nullptr);
        EXPECT_EQ(loaded.GetGlyph(static_cast<unsigned char>(c))->width, 1);
        EXPECT_TRUE(loaded.GetGlyph(static_cast<unsigned char>(c))->codes.empty());
    }
    auto paper = Paper(16, 4);
    EXPECT_EQ(loaded.DrawText("ACDz", 0, 0, Whole(*paper), paper.get(), 0xFFFF), 10);
}

TEST_F(FontTest, AMissingOrUnfitPictureIsReportedAndLeavesTheFontAlone) {
    dir.WriteFile("gfx/fonts/wide.bmp",
                  imagetest::MakeBmp(imagetest::BmpSpec(2, 2, 24, std::string(16, '\0'))));
    dir.WriteFile("gfx/fonts/junk.bmp", "not a picture");
    test::BoxRecorder boxes;
    for (const char* name :
         {"gfx\\fonts\\none.bmp", "gfx\\fonts\\wide.bmp", "gfx\\fonts\\junk.bmp"}) {
        SCOPED_TRACE(name);
        boxes.texts.clear();
        CFont font;
        EXPECT_FALSE(font.LoadFont(name, kCellHeight, nullptr));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_NE(boxes.texts[0].find(std::string("didnt find FONT : ") + name), std::string::npos);
        EXPECT_EQ(g_fonts.Get(name), nullptr);
        EXPECT_EQ(font.GetGlyph('A'), nullptr);
    }
}

TEST_F(FontTest, ColourMarkupSetsTheInkAndClampsEachChannel) {
    CFont& font = HandFont();
    struct Case {
        const char* text;
        int32_t r, g, b;
    };
    const Case cases[] = {
        {"%077A", 224, 224, 0},
        {"\xA7YA", 255, 189, 0},
        {"\xA7WA", 255, 255, 255},
        {"\xA7"
         "077A",
         224, 224, 0},
        {"%/9/A", 0, 255, 0},
        {"%999A", 255, 255, 255},
        {"%\x01\x01\x01"
         "A",
         0, 0, 0},
    };
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(imagetest::FormatName(format)) + " " + c.text);
            auto paper = Paper(8, 4);
            EXPECT_EQ(font.DrawText(c.text, 1, 1, Whole(*paper), paper.get(), 0x0001), 3);
            uint16_t ink = CGraphicsBase::RgbToPixel(c.r, c.g, c.b);
            EXPECT_EQ(PixelAt(*paper, 1, 1), ink);
            EXPECT_EQ(PixelAt(*paper, 2, 3), ink);
            EXPECT_EQ(PixelAt(*paper, 3, 1), kPaper);
            EXPECT_EQ(PixelAt(*paper, 0, 1), kPaper);
        }
    }
}

TEST_F(FontTest, MarkupCutShortByTheEndOfTheTextEndsTheText) {
    CFont& font = HandFont();
    for (const char* tail : {"%", "%0", "%07", "\xA7",
                             "\xA7"
                             "0",
                             "|", "\\"}) {
        SCOPED_TRACE(tail);
        ExactText text(std::string("A") + tail);
        auto paper = Paper(12, 4);
        EXPECT_EQ(font.DrawText(text.View(), 0, 0, Whole(*paper), paper.get(), 0xFFFF), 2);
        EXPECT_EQ(PixelAt(*paper, 0, 0), 0xFFFF);
        for (int32_t x = 2; x < 12; ++x)
            EXPECT_EQ(PixelAt(*paper, x, 0), kPaper) << x;
        EXPECT_GE(font.GetTextWidth(text.View()), 2);
        EXPECT_EQ(font.CountWrappedLines(text.View(), 100), 1);
    }
}

TEST_F(FontTest, TabStopsAreAbsoluteAndLinesReturnToTheStart) {
    CFont& font = HandFont();
    auto paper = Paper(24, 8);
    // "CCC" reaches x = 20; "|12" moves back to 12 whatever came before.
    EXPECT_EQ(font.DrawText("CCC|12A", 2, 0, Whole(*paper), paper.get(), 0xFFFF), 14);
    EXPECT_EQ(PixelAt(*paper, 12, 0), 0xFFFF);
    EXPECT_EQ(PixelAt(*paper, 13, 2), 0xFFFF);
    // A "|" without a number moves nothing: "x" is an ordinary glyph.
    EXPECT_EQ(font.DrawText("|x", 0, 0, Whole(*paper), paper.get(), 0xFFFF), 1);
    // "\n" (two characters) breaks the line; "\\" with another character
    // draws that one.
    auto lines = Paper(8, 8);
    EXPECT_EQ(font.DrawText("C\\nA\\B", 1, 1, Whole(*lines), lines.get(), 0xFFFF), 6);
    EXPECT_EQ(PixelAt(*lines, 1, 4), 0xFFFF);
    EXPECT_EQ(PixelAt(*lines, 3, 4), 0xFFFF); // the B
    EXPECT_EQ(PixelAt(*lines, 4, 4), kPaper);
    // Fonts without a record for 10 skip it.
    EXPECT_EQ(font.DrawText("A\nA", 0, 0, Whole(*lines), lines.get(), 0xFFFF), 4);
}

TEST_F(FontTest, AGlyphCrossingTheClipIsNotDrawnAndTheNextStartsAfterIt) {
    CFont& font = HandFont();
    auto paper = Paper(12, 6);
    Rect clip{0, 0, 5, 6};
    EXPECT_EQ(font.DrawText("AAAA", 0, 0, clip, paper.get(), 0xFFFF), 8);
    EXPECT_EQ(PixelAt(*paper, 3, 0), 0xFFFF);
    EXPECT_EQ(PixelAt(*paper, 4, 0), kPaper);
    EXPECT_EQ(PixelAt(*paper, 6, 0), kPaper);
    // Below the clip's bottom, and a clip larger than the picture.
    auto low = Paper(4, 4);
    EXPECT_EQ(font.DrawText("A", 0, 2, Whole(*low), low.get(), 0xFFFF), 2);
    EXPECT_EQ(imagetest::Pixels16(*low), imagetest::Pixels16(*Paper(4, 4)));
    EXPECT_EQ(font.DrawText("AA", 3, 0, Rect{-50, -50, 50, 50}, low.get(), 0xFFFF), 7);
    EXPECT_EQ(PixelAt(*low, 3, 0), kPaper);
}

TEST_F(FontTest, ShadowsFallBelowRightAndInkOverwritesThem) {
    CFont& font = HandFont();
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        auto paper = Paper(6, 6);
        font.DrawTextLeftShadowed("B", 1, 1, paper.get(), 0xFFFF);
        EXPECT_EQ(font.shadow, 1);
        for (int32_t y = 1; y <= 3; ++y) {
            EXPECT_EQ(PixelAt(*paper, 1, y), 0xFFFF);
            EXPECT_EQ(PixelAt(*paper, 2, y + 1), 0x0000);
        }
        EXPECT_EQ(PixelAt(*paper, 2, 1), kPaper);
        // A block's own ink covers the shadows inside it.
        auto block = Paper(6, 6);
        font.DrawTextLeftShadowed("A", 0, 0, block.get(), 0xFFFF);
        EXPECT_EQ(PixelAt(*block, 1, 1), 0xFFFF);
        EXPECT_EQ(PixelAt(*block, 2, 3), 0x0000);
        EXPECT_EQ(PixelAt(*block, 0, 3), kPaper);
        font.DrawTextLeft("A", 4, 0, block.get(), 0xFFFF);
        EXPECT_EQ(font.shadow, 0);
    }
}

TEST_F(FontTest, EightBitDestinationsTakeTheShade) {
    CFont& font = HandFont();
    CImage indices(8, 4, 8, kImageMemory);
    font.DrawTextLeftShadowed("AB", 0, 0, &indices, 0xFFFF);
    EXPECT_EQ(indices.pixels[0], 15);
    EXPECT_EQ(indices.pixels[2], 9);
    EXPECT_EQ(indices.pixels[indices.pitch * 2 + 2], 9);
    EXPECT_EQ(indices.pixels[indices.pitch * 3 + 3], 0);
}

TEST_F(FontTest, AlignedPrintsPlaceTheLeftEdge) {
    CFont& font = HandFont();
    struct Case {
        int32_t (CFont::*print)(std::string_view, int32_t, int32_t, CImageBase*, uint16_t,
                                const Rect*);
        int32_t left;
    };
    // "AB": width 5.
    const Case cases[] = {{&CFont::DrawTextLeft, 10},           {&CFont::DrawTextCentred, 8},
                          {&CFont::DrawTextRight, 5},           {&CFont::DrawTextLeftShadowed, 10},
                          {&CFont::DrawTextCentredShadowed, 8}, {&CFont::DrawTextRightShadowed, 5}};
    for (const Case& c : cases) {
        auto paper = Paper(20, 4);
        EXPECT_EQ((font.*c.print)("AB", 10, 0, paper.get(), 0xFFFF, nullptr), c.left + 5);
        EXPECT_EQ(PixelAt(*paper, c.left, 0), 0xFFFF);
        EXPECT_EQ(PixelAt(*paper, c.left - 1, 0), kPaper);
    }
}

TEST_F(FontTest, PictureGlyphsStandInForTheirCharacter) {
    CFont& font = HandFont();
    const uint16_t gold = CGraphicsBase::RgbToPixel(230, 180, 50);
    std::string rows;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            rows += imagetest::Bytes({50, 180, 230});
    dir.WriteFile("coin.bmp", imagetest::MakeBmp(imagetest::BmpSpec(4, 3, 24, rows)));
    EXPECT_TRUE(font.SetPictureGlyph("coin.bmp", '$'));
    EXPECT_EQ(font.GetGlyph('$')->width, 4);
    EXPECT_EQ(font.GetTextWidth("A$A"), 8);
    auto paper = Paper(12, 4);
    EXPECT_EQ(font.DrawText("A$A", 0, 0, Whole(*paper), paper.get(), 0xFFFF), 8);
    EXPECT_EQ(PixelAt(*paper, 2, 0), gold);
    EXPECT_EQ(PixelAt(*paper, 5, 2), gold);
    EXPECT_EQ(PixelAt(*paper, 6, 0), 0xFFFF);
    // A second picture replaces the first; the picture is the font's own.
    EXPECT_FALSE(font.SetPictureGlyph("missing.bmp", '$'));
    EXPECT_EQ(font.GetGlyph('$')->width, 0);
}

TEST_F(FontTest, WidthsCountGlyphsAndSkipMarkup) {
    CFont& font = HandFont();
    struct Case {
        const char* text;
        int32_t width;
    };
    const Case cases[] = {
        {"", 0},    {"A\nB", 5}, {"A\\nB", 5}, {"%077A", 2},         {"\xA7YA", 2}, {"\xA7x12A", 2},
        {"A B", 6}, {"|12", 3},  {"\\A", 2},   {"\x01", kCellWidth}, {"AB\r\n", 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(font.GetTextWidth(c.text), c.width) << c.text;
}

TEST_F(FontTest, WrappedLinesBreakAtSpacesAndInsideLongWords) {
    CFont& font = HandFont();
    struct Case {
        const char* text;
        int32_t width;
        int32_t lines;
    };
    const Case cases[] = {
        {"", 5, 0},      {"A", 5, 1},         {"AAAA", 5, 2},   {"AAAAAAAAAA", 5, 5},
        {"A A A", 5, 2}, {"A\nA", 5, 2},      {"A\n", 5, 1},    {"A\\nA\\nA", 50, 3},
        {"A ", 5, 0},    {"%077AA AA", 5, 2}, {"\xA7YA", 5, 1}, {"AA AA AA", 100, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(font.CountWrappedLines(c.text, c.width), c.lines) << c.text << " in " << c.width;
}

// The demo world's seven fonts, as the start-up loads them.
struct DemoFont {
    const char* file;
    int32_t height;
    bool coin;
};
const DemoFont kDemoFonts[] = {
    {"gfx\\fonts\\garamond14.bmp", 14, true},      {"gfx\\fonts\\garamond14bold.bmp", 14, true},
    {"gfx\\fonts\\garamond24bold.bmp", 24, false}, {"gfx\\fonts\\arial10.bmp", 10, false},
    {"gfx\\fonts\\garamond20bold.bmp", 20, true},  {"gfx\\fonts\\garamond18bold.bmp", 18, false},
    {"gfx\\fonts\\arial8.bmp", 8, false},
};

class InDemoWorld {
public:
    InDemoWorld() : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(test::DemoWorldDir());
        platform::ForgetPathCache();
    }
    ~InDemoWorld() {
        g_fonts.DeleteAll();
        std::filesystem::current_path(m_previous);
        platform::ForgetPathCache();
    }
    InDemoWorld(const InDemoWorld&) = delete;
    InDemoWorld& operator=(const InDemoWorld&) = delete;

private:
    std::filesystem::path m_previous;
};

TEST(DemoFontTest, EveryDemoFontDrawsMarkupTabsLinesAndCoins) {
    InDemoWorld world;
    imagetest::GoldenFile golden("fonts");
    for (int32_t format : kFormats) {
        FormatScope scope(format);
        for (const DemoFont& demo : kDemoFonts) {
            SCOPED_TRACE(demo.file);
            CFont* font = new CFont;
            ASSERT_TRUE(font->LoadFont(demo.file, demo.height, nullptr));
            if (demo.coin) {
                EXPECT_TRUE(font->SetPictureGlyph("gfx\\fonts\\additional\\coin.bmp", '$'));
            }
            EXPECT_GT(font->GetGlyph('W')->width, font->GetGlyph('i')->width);

            CImage paper(80, demo.height * 2 + 2, 16, kImageMemory);
            paper.Fill(CGraphicsBase::RgbToPixel(40, 60, 90));
            uint16_t ink = CGraphicsBase::RgbToPixel(255, 255, 255);
            font->DrawTextLeftShadowed("5$ %077Gold \xA7Yyear|56\xA7Wok\\nTwo lines", 1, 1, &paper,
                                       ink);
            golden.Check(std::string(imagetest::FormatName(format)) + " " + demo.file, paper);

            // Wrapping: a long word breaks, words move whole.
            int32_t word = font->GetTextWidth("Ducats");
            EXPECT_EQ(font->CountWrappedLines("Ducats Ducats", word + 2), 2);
            EXPECT_GE(font->CountWrappedLines("Ducats", word / 2), 2);
        }
        g_fonts.DeleteAll();
    }
}

} // namespace
