// Text labels and links: the cut with "...", its bounds, the hit rectangle,
// and the colours a link draws in.
#include <gtest/gtest.h>

#include <string>

#include "engine/Display.h"
#include "engine/Font.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/TextItem.h"

namespace {

class TextItemTest : public ::testing::Test {
protected:
    uitest::ScreenHarness screen;
    CFont* font = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");
};

TEST_F(TextItemTest, ShownTextIsCutOnlyWhenTooWide) {
    ASSERT_TRUE(font);
    const std::string text = "Amber Coast";
    const int32_t width = font->GetTextWidth(text);
    const int32_t dots = 3 * GlyphWidth(*font, '.');
    struct Case {
        const char* name;
        int32_t room;
        std::string shown;
    };
    // The cut copies while room is left, so the last character may reach
    // past it.
    auto cut = [&](int32_t room) {
        std::string out;
        int32_t left = room - dots;
        for (size_t i = 0; i < text.size() && left > 0; ++i) {
            out += text[i];
            left -= GlyphWidth(*font, static_cast<unsigned char>(text[i]));
        }
        return out + "...";
    };
    for (const Case& c : {Case{"exactly as wide", width, text}, Case{"wider", width + 40, text},
                          Case{"one pixel short", width - 1, cut(width - 1)},
                          Case{"half", width / 2, cut(width / 2)},
                          Case{"dots and one pixel", dots + 1, cut(dots + 1)},
                          Case{"only the dots", dots, "..."}, Case{"none", 0, "..."}}) {
        SCOPED_TRACE(c.name);
        CTextLabel label(font, text, c.room, 0xFFFF, 0);
        EXPECT_EQ(label.GetShownText(), c.shown);
        EXPECT_EQ(label.GetFullText(), text);
    }
    EXPECT_EQ(cut(dots + 1), "A...");
}

// Texts longer than 255 characters are kept to their first 255 and shown
// cut, never copied past a bound.
TEST_F(TextItemTest, OverLongTextsAreBounded) {
    const std::string longText(300, 'i');
    CTextLabel wide(font, longText, 100000, 0xFFFF, 0);
    EXPECT_EQ(wide.GetFullText(), longText.substr(0, 255));
    EXPECT_LE(wide.GetShownText().size(), 255u);
    EXPECT_EQ(wide.GetShownText().substr(wide.GetShownText().size() - 3), "...");
    CTextLabel narrow(font, longText, 60, 0xFFFF, 0);
    EXPECT_LT(narrow.GetShownText().size(), 60u);
    EXPECT_EQ(narrow.GetShownText().substr(narrow.GetShownText().size() - 3), "...");
    // A short text is never given dots.
    CTextLabel shortText(font, "Ok", 100, 0xFFFF, 0);
    EXPECT_EQ(shortText.GetShownText(), "Ok");
    CTextLabel empty(font, "", 0, 0xFFFF, 0);
    EXPECT_EQ(empty.GetShownText(), "");
}

TEST_F(TextItemTest, HitRectangleIsTheRoomWithoutItsEdges) {
    CTextLabel label(font, "x", 110, 0xFFFF, 1);
    label.SetPosition(10, 20);
    EXPECT_EQ(label.GetWidth(), 110);
    EXPECT_EQ(label.GetHeight(), font->cellHeight);
    EXPECT_FALSE(label.HitTest(10, 25));
    EXPECT_TRUE(label.HitTest(11, 21));
    EXPECT_FALSE(label.HitTest(11, 20));
    EXPECT_TRUE(label.HitTest(119, 20 + font->cellHeight - 1));
    EXPECT_FALSE(label.HitTest(120, 25));
    EXPECT_FALSE(label.HitTest(50, 20 + font->cellHeight));
    EXPECT_FALSE(label.IsSelectable());
}

// A centred label of room 110 at x = 10 centres its text on x = 65.
TEST_F(TextItemTest, CentredLabelDrawsOnTheMiddleOfItsRoom) {
    screen.Fill(0);
    CTextLabel centred(font, "Amber", 110, 0xFFFF, 1);
    centred.SetPosition(10, 10);
    centred.Draw(0);
    const test::Picture drawn = screen.Crop(0, 0, 200, 40);
    screen.Fill(0);
    font->DrawTextCentredShadowed("Amber", 65, 10, g_screen.get(), 0xFFFF);
    const test::Picture expected = screen.Crop(0, 0, 200, 40);
    EXPECT_EQ(drawn.rgb, expected.rgb);
}

TEST_F(TextItemTest, LinkColours) {
    struct Case {
        const char* name;
        uint8_t enabled;
        bool highlighted;
        uint16_t colour;
    };
    for (const Case& c : {Case{"gold", 1, false, CGraphicsBase::RgbToPixel(255, 198, 0)},
                          Case{"white", 1, true, CGraphicsBase::RgbToPixel(255, 255, 255)},
                          Case{"grey", 0, true, CGraphicsBase::RgbToPixel(127, 127, 127)},
                          Case{"grey too", 0, false, CGraphicsBase::RgbToPixel(127, 127, 127)}}) {
        SCOPED_TRACE(c.name);
        CTextLink link(font, "Join", 100, 4, ObjectId{});
        link.enabled = c.enabled;
        if (c.highlighted)
            link.SetHighlight(0);
        link.SetPosition(10, 10);
        screen.Fill(0);
        link.Draw(0);
        const test::Picture drawn = screen.Crop(0, 0, 120, 40);
        screen.Fill(0);
        font->DrawTextLeftShadowed("Join", 10, 10, g_screen.get(), c.colour);
        EXPECT_EQ(drawn.rgb, screen.Crop(0, 0, 120, 40).rgb);
    }
}

} // namespace
