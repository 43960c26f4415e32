// The list box: rows added plain, wrapped and cut; the scroll bar that
// appears with the sixth of five rows; selection by click and double click;
// scrolling by buttons, wheel, knob and track; its drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/DisplayList.h"
#include "engine/Font.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ListBox.h"
#include "ui/widgets/TextItem.h"

namespace {

constexpr const char* kUp = "gfx\\interface\\menu\\scrollbar_top.bmp";
constexpr const char* kDown = "gfx\\interface\\menu\\scrollbar_bottom.bmp";

class ListBoxTest : public ::testing::Test {
protected:
    ListBoxTest() {
        font = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");
        bold = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14bold.bmp");
    }
    std::unique_ptr<CListBox> Make(int32_t rows) {
        auto list =
            std::make_unique<CListBox>(100, 100, 200, 5, "Saved games", bold, font, kDown, kUp);
        for (int32_t i = 1; i <= rows; ++i)
            list->AddRow("Row " + std::to_string(i), static_cast<uint32_t>(i * 10), i != 3,
                         ObjectId{});
        screen.SetTarget(*list);
        return list;
    }
    // A point in the middle of the visible row.
    int32_t RowY(const CListBox& list, int32_t visibleIndex) const {
        return list.RowTop(visibleIndex) + list.rowHeight / 2;
    }

    uitest::ScreenHarness screen;
    CFont* font = nullptr;
    CFont* bold = nullptr;
};

TEST_F(ListBoxTest, SixthOfFiveRowsActivatesTheBarAndShowsTheEnd) {
    auto list = Make(5);
    EXPECT_EQ(list->scrollBarActive, 0);
    EXPECT_EQ(list->firstVisibleRow, 0);
    list->AddRow("Row 6", 60, 1, ObjectId{});
    EXPECT_EQ(list->scrollBarActive, 1);
    EXPECT_EQ(list->firstVisibleRow, 1); // rows 2 to 6 show
    EXPECT_EQ(list->GetRowCount(), 6);
}

TEST_F(ListBoxTest, SelectionByClickAndDoubleClick) {
    auto empty = Make(0);
    EXPECT_EQ(empty->GetSelectedData(), -1);
    EXPECT_EQ(empty->GetSelectedFullText(), nullptr);
    EXPECT_EQ(screen.Release(150, RowY(*empty, 0)), DRAWABLE_NOT_TAKEN);

    auto list = Make(4);
    EXPECT_EQ(list->GetSelectedData(), -1);
    // Between the header and the first row, and the unselectable third row.
    EXPECT_EQ(screen.Release(150, list->RowTop(0) - 3), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(screen.Release(150, RowY(*list, 2)), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(screen.Release(320, RowY(*list, 1)), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(list->selectedRow, -1);
    EXPECT_TRUE(screen.Sounds().empty());

    EXPECT_EQ(screen.Release(150, RowY(*list, 1)), DRAWABLE_TAKEN);
    EXPECT_EQ(list->GetSelectedData(), 20);
    EXPECT_STREQ(list->GetSelectedFullText(), "Row 2");
    EXPECT_EQ(list->doubleClicked, 0);
    EXPECT_EQ(screen.Sounds(), std::vector<uint32_t>{0});
    EXPECT_EQ(screen.DoubleClick(150, RowY(*list, 3)), DRAWABLE_TAKEN);
    EXPECT_EQ(list->GetSelectedData(), 40);
    EXPECT_EQ(list->doubleClicked, 1);
    EXPECT_EQ(list->previousSelectedRow, 1);
    // Hover follows the pointer.
    screen.Move(150, RowY(*list, 2));
    EXPECT_EQ(list->hoveredRow, 2);
    screen.Move(50, 50);
    EXPECT_EQ(list->hoveredRow, -1);
}

TEST_F(ListBoxTest, ButtonsWheelKnobAndTrack) {
    auto list = Make(20);
    ASSERT_EQ(list->firstVisibleRow, 15);
    CButton& up = *list->UpButton();
    screen.Move(10, 10); // places the bar
    const SpritePoint upAt = up.GetPosition();
    screen.Press(upAt.x + 5, upAt.y + 5);
    EXPECT_EQ(list->firstVisibleRow, 14);
    screen.Release(upAt.x + 5, upAt.y + 5);
    screen.Frame();

    // The wheel: positive (away from the player) scrolls up, by its notches.
    EXPECT_EQ(screen.Wheel(3, 150, RowY(*list, 1)), DRAWABLE_TAKEN);
    EXPECT_EQ(list->firstVisibleRow, 11);
    EXPECT_EQ(screen.Wheel(-30, 150, RowY(*list, 1)), DRAWABLE_TAKEN);
    EXPECT_EQ(list->firstVisibleRow, 15);
    EXPECT_EQ(screen.Wheel(2, 50, 50), DRAWABLE_NOT_TAKEN);

    // The knob dragged to the top and to the bottom.
    CButton& knob = list->Knob();
    SpritePoint k = knob.GetPosition();
    const int32_t knobX = k.x + knob.GetWidth() / 2;
    EXPECT_EQ(screen.Press(knobX, k.y + 3), DRAWABLE_TAKEN);
    EXPECT_EQ(screen.Held(knobX, 0), DRAWABLE_TAKEN);
    EXPECT_EQ(list->firstVisibleRow, 0);
    EXPECT_EQ(screen.Held(knobX, 599), DRAWABLE_TAKEN);
    EXPECT_EQ(list->firstVisibleRow, 15);
    screen.Release(knobX, 599);
    EXPECT_EQ(list->knobDrag, 0);

    // A press on the track jumps the knob there.
    EXPECT_EQ(screen.Press(knobX, upAt.y + up.GetHeight()), DRAWABLE_TAKEN);
    EXPECT_EQ(knob.GetPosition().y, upAt.y + up.GetHeight());
    EXPECT_LE(list->firstVisibleRow, 1);
    screen.Release(knobX, upAt.y + up.GetHeight());

    list->selectedRow = 1;
    screen.Move(150, RowY(*list, 3));
    screen.Fill(0);
    list->Draw(0);
    screen.CheckGolden("list_box_scrolled", 96, 96, 320, 220);
}

TEST_F(ListBoxTest, WrappedAndCutRows) {
    auto list = Make(0);
    list->AddText(
        "Amber Coast trade rises\\nNew line %077gold and many more words to wrap over the "
        "width of the list box",
        "%777");
    ASSERT_GE(list->GetRowCount(), 3);
    EXPECT_EQ(list->GetRow(0)->text, "%777Amber Coast trade rises");
    for (int32_t i = 0; i < list->GetRowCount(); ++i) {
        const std::string& text = list->GetRow(i)->text;
        EXPECT_EQ(text.substr(0, 4), "%777");
        EXPECT_LE(font->GetTextWidth(text), 200 + font->GetTextWidth("words ")) << text;
    }

    // Cut only when the text is longer; the full text kept whole.
    auto cut = Make(0);
    cut->AddTruncated("Short", 1, ObjectId{});
    const std::string longName(300, 'm');
    cut->AddTruncated(longName, 2, ObjectId{});
    EXPECT_EQ(cut->GetRow(0)->text, "Short");
    const std::string& shown = cut->GetRow(1)->text;
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(font->GetTextWidth(shown.substr(0, shown.size() - 3)), 170 + GlyphWidth(*font, 'm'));
    EXPECT_EQ(cut->GetRow(1)->fullText, longName);
}

TEST_F(ListBoxTest, RegistersWithTheDisplayListAndLeavesIt) {
    CDisplayList displayList;
    CDisplayList* previous = g_displayList;
    g_displayList = &displayList;
    {
        auto kept = Make(1);
        auto gone = Make(2);
        gone.reset(); // its entry goes with it: drawing the list reaches no freed box
        displayList.DrawAll();
        EXPECT_TRUE(displayList.Remove(kept.get(), 0));
        EXPECT_FALSE(displayList.Remove(kept.get(), 0));
    }
    g_displayList = previous;
}

} // namespace
