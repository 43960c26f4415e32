// The text area: word wrap, scrolling by arrows, knob, track and wheel,
// clicked lines, and its drawing with and without the scroll bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Font.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextArea.h"
#include "ui/widgets/TextItem.h"

namespace {

class TextAreaTest : public ::testing::Test {
protected:
    uitest::ScreenHarness screen;
    CFont* font = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");

    static std::vector<std::string> Lines(const CTextArea& area) {
        std::vector<std::string> lines;
        for (size_t i = 0; i < area.GetLineCount(); ++i)
            lines.push_back(static_cast<CTextLabel*>(area.GetLine(i))->GetShownText());
        return lines;
    }

    // An area of 20 lines "Line 1" .. "Line 20", 5 lines high, at (100, 100).
    std::unique_ptr<CTextArea> Numbered(int32_t lines = 20, int32_t visible = 5) {
        auto area = std::make_unique<CTextArea>(150, visible * font->cellHeight, 0);
        area->SetPosition(100, 100);
        area->colour = CGraphicsBase::RgbToPixel(230, 220, 180);
        for (int32_t i = 1; i <= lines; ++i)
            area->AddLine("Line " + std::to_string(i) + (i % 3 == 0 ? " %077gold" : ""));
        area->AddLink("A link", 5, 1, ObjectId{});
        area->AddLink("A disabled link", 6, 0, ObjectId{});
        area->ScrollToTop();
        return area;
    }
};

TEST_F(TextAreaTest, WrapsAtWordsAndBreaks) {
    ASSERT_TRUE(font);
    const int32_t exact = font->GetTextWidth("a ") + font->GetTextWidth("b");
    ASSERT_GE(font->GetTextWidth("aaaaa bbbbbbbb"), font->GetTextWidth("bbbbbbbbccc") + 1);
    struct Case {
        const char* name;
        std::string text;
        int32_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a line as wide as the area breaks", "a b", exact, {"a ", "b"}},
        {"one pixel more keeps it", "a b", exact + 1, {"a b"}},
        {"CR LF is one break", "one\r\ntwo", 200, {"one", "two"}},
        {"two LF give no blank line", "one\n\ntwo", 200, {"one", "two"}},
        {"a word that does not fit before a break starts the next line",
         "aaaaa bbbbbbbb\nccc",
         font->GetTextWidth("bbbbbbbbccc") + 1,
         {"aaaaa ", "bbbbbbbbccc"}},
        {"the text ends at its zero", std::string("one\0two", 7), 200, {"one"}},
        {"an empty text gives no line", "", 200, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextArea area(c.width, 100, 0);
        area.SetText(c.text);
        EXPECT_EQ(Lines(area), c.lines);
    }
}

// A word or a line beyond 255 characters is wrapped without running past a
// buffer; its label keeps 255 characters and shows the cut.
TEST_F(TextAreaTest, OverLongWordsAreBounded) {
    CTextArea area(200, 100, 0);
    area.SetText("short " + std::string(300, 'w') + " end");
    ASSERT_EQ(area.GetLineCount(), 3u);
    auto* word = static_cast<CTextLabel*>(area.GetLine(1));
    EXPECT_EQ(word->GetFullText().size(), 255u);
    EXPECT_EQ(word->GetShownText().substr(word->GetShownText().size() - 3), "...");
}

TEST_F(TextAreaTest, TextThatFitsHasNoScrollbar) {
    auto area = Numbered(1);
    EXPECT_FALSE(area->IsScrollbarShown());
    screen.SetTarget(*area);
    const SpritePoint up = area->UpArrow().GetPosition();
    EXPECT_EQ(screen.Press(up.x + 5, up.y + 5), DRAWABLE_NOT_TAKEN);
    EXPECT_TRUE(area->UpArrow().IsReleased());

    screen.Fill(0);
    area->Draw(0);
    screen.CheckGolden("text_area_plain", 96, 84, 272, 190);
}

TEST_F(TextAreaTest, ClickedLineAndItsClearing) {
    auto area = Numbered(3);
    screen.SetTarget(*area);
    const int32_t h = font->cellHeight;
    EXPECT_EQ(screen.Release(120, 100 + h + 3), DRAWABLE_TAKEN);
    ASSERT_EQ(area->clickedLine, area->GetLine(1));
    EXPECT_EQ(screen.Release(600, 500), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(area->clickedLine, nullptr);
    area->clearClickedOnRelease = 0;
    screen.Release(120, 100 + 2 * h + 3);
    screen.Release(600, 500);
    EXPECT_EQ(area->clickedLine, area->GetLine(2));

    // The frame tick highlights the line under the pointer.
    screen.PointAt(120, 100 + 3);
    screen.Frame();
    EXPECT_TRUE(area->GetLine(0)->IsHighlighted());
    EXPECT_FALSE(area->GetLine(1)->IsHighlighted());
}

TEST_F(TextAreaTest, ArrowsWheelAndEnd) {
    auto area = Numbered();
    screen.SetTarget(*area);
    ASSERT_TRUE(area->IsScrollbarShown());
    EXPECT_FALSE(area->CanScrollUp());

    // The down arrow: a press pulses once.
    const SpritePoint down = area->DownArrow().GetPosition();
    screen.Press(down.x + 5, down.y + 5);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 1);
    screen.Release(down.x + 5, down.y + 5);
    screen.Frame();
    // Wheel: three notches toward the player scroll one line down; away,
    // one line up; outside the area nothing.
    EXPECT_EQ(screen.Wheel(-3, 150, 120), DRAWABLE_TAKEN);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 2);
    EXPECT_EQ(screen.Wheel(1, 150, 120), DRAWABLE_TAKEN);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 1);
    EXPECT_EQ(screen.Wheel(1, 50, 50), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 1);

    // Scrolling down at the end snaps the knob to the bottom of the track
    // and shows the last line whole.
    for (int i = 0; i < 30; ++i)
        area->ScrollDown();
    EXPECT_EQ(area->GetFirstVisibleIndex(), 17);
    const CTextArea::ScrollbarLook& look = area->Look();
    EXPECT_EQ(area->Knob().GetPosition().y,
              look.trackY + look.trackLength - area->Knob().GetHeight());
    // At the top the knob goes to the top of the track.
    for (int i = 0; i < 30; ++i)
        area->ScrollUp();
    EXPECT_EQ(area->GetFirstVisibleIndex(), 0);
    EXPECT_EQ(area->Knob().GetPosition().y, look.trackY);
}

TEST_F(TextAreaTest, HeldArrowRepeats) {
    auto area = Numbered();
    screen.SetTarget(*area);
    const SpritePoint down = area->DownArrow().GetPosition();
    screen.Press(down.x + 5, down.y + 5);
    for (int count = 0; count < 12; ++count) {
        screen.Step(1);
        screen.Frame();
    }
    // The press, then the repeats at 8 and 12 counts.
    EXPECT_EQ(area->GetFirstVisibleIndex(), 3);
}

TEST_F(TextAreaTest, KnobDragAndTrackClick) {
    auto area = Numbered();
    screen.SetTarget(*area);
    const CTextArea::ScrollbarLook& look = area->Look();
    CButton& knob = area->Knob();
    const int32_t knobX = knob.GetPosition().x + knob.GetWidth() / 2;

    // Drag to the bottom of the track: the end shows.
    screen.Press(knobX, knob.GetPosition().y + 2);
    EXPECT_TRUE(knob.IsPressed());
    EXPECT_EQ(screen.Held(knobX, 590), DRAWABLE_TAKEN);
    EXPECT_EQ(knob.GetPosition().y, look.trackY + look.trackLength - knob.GetHeight());
    EXPECT_EQ(area->GetFirstVisibleIndex(), 17);
    EXPECT_EQ(screen.Release(knobX, 590), DRAWABLE_TAKEN);
    EXPECT_EQ(area->dragging, 0);
    // Drag to the top: the first line shows.
    screen.Press(knobX, knob.GetPosition().y + 2);
    screen.Held(knobX, 0);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 0);
    EXPECT_EQ(knob.GetPosition().y, look.trackY);
    screen.Release(knobX, 0);

    // A click on the track below the knob moves one area height of lines.
    screen.Release(look.trackX + 2, look.trackY + look.trackLength - 2);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 5);
    screen.Release(look.trackX + 2, look.trackY + 1);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 0);

    screen.Fill(0);
    area->ScrollDown();
    area->Draw(0);
    screen.CheckGolden("text_area_scrolled", 96, 84, 272, 190);
}

// A knob as long as its track has no room to move: dragging it changes
// nothing (and divides by nothing).
TEST_F(TextAreaTest, KnobAsLongAsTheTrackDoesNotMove) {
    auto area = std::make_unique<CTextArea>(150, 20, 0); // the knob is 20 high
    area->SetPosition(100, 100);
    for (int i = 0; i < 10; ++i)
        area->AddLine("Line " + std::to_string(i));
    area->ScrollToTop();
    ASSERT_EQ(area->Knob().GetHeight(), 20);
    screen.SetTarget(*area);
    CButton& knob = area->Knob();
    const int32_t knobX = knob.GetPosition().x + 3;
    const int32_t knobY = knob.GetPosition().y;
    screen.Press(knobX, knobY + 2);
    EXPECT_EQ(screen.Held(knobX, knobY + 50), DRAWABLE_TAKEN);
    EXPECT_EQ(area->GetFirstVisibleIndex(), 0);
    EXPECT_EQ(knob.GetPosition().y, knobY);
}

} // namespace
