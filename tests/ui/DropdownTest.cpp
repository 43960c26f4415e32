// The drop-down list: its items and their duplicates, the first choice,
// opening and closing, and a choice made by a click on a game.
#include <gtest/gtest.h>

#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/Dropdown.h"
#include "ui/widgets/TextArea.h"
#include "ui/widgets/TextItem.h"

namespace {

class DropdownTest : public ::testing::Test {
protected:
    DropdownTest() {
        box.SetPosition(300, 200);
        screen.SetTarget(box);
    }
    // Opens the box by a click on its arrow; the parts move at the draw.
    void Open() {
        box.Draw(0);
        const SpritePoint arrow = box.ClosedArrow().GetPosition();
        screen.Click(arrow.x + 7, arrow.y + 10);
        ASSERT_TRUE(box.IsOpen());
        box.Draw(0);
    }
    // The middle of the list's line.
    int32_t LineY(size_t index) {
        CTextItem* line = box.List().GetLine(index);
        return line->y + line->GetHeight() / 2;
    }

    uitest::ScreenHarness screen;
    CDropdown box;
};

TEST_F(DropdownTest, ItemsDuplicatesAndTheFirstChoice) {
    EXPECT_EQ(box.GetSelectedId(), -1);
    box.AddItem("Searching");
    box.AddItemWithId("Amber Coast", 4);
    EXPECT_EQ(box.GetSelectedId(), -1);  // a plain item came first
    box.AddItemWithId("AMBER COAST", 5); // the shown text in capitals: refused
    box.AddItemWithId("Amber Coast", 6); // compared before the upper-casing
    EXPECT_EQ(box.List().GetLineCount(), 3u);

    CDropdown other;
    other.AddItemWithId("North Sea", 9);
    other.AddItemWithId("Baltic", 10);
    EXPECT_EQ(other.GetSelectedId(), 9);
}

TEST_F(DropdownTest, OpensClosesAndTakesAClickedGame) {
    box.AddItem("Games found");
    box.AddItemWithId("Amber Coast", 4);
    box.AddItemWithId("North Sea", 7);
    EXPECT_FALSE(box.IsOpen());
    Open();
    // A click on the plain line chooses nothing; one on a game chooses it
    // and closes the box.
    const int32_t lineX = box.List().x + 20;
    screen.Click(lineX, LineY(0));
    EXPECT_EQ(box.GetSelectedId(), -1);
    EXPECT_TRUE(box.IsOpen());
    screen.Click(lineX, LineY(2));
    EXPECT_EQ(box.GetSelectedId(), 7);
    EXPECT_FALSE(box.IsOpen());

    // The open arrow closes it; a move off the open background closes it
    // and is taken.
    Open();
    const SpritePoint arrow = box.OpenArrow().GetPosition();
    screen.Click(arrow.x + 7, arrow.y + 10);
    EXPECT_FALSE(box.IsOpen());
    box.Draw(0);
    Open();
    EXPECT_EQ(screen.Move(320, 260), DRAWABLE_TAKEN);
    EXPECT_TRUE(box.IsOpen());
    EXPECT_EQ(screen.Move(700, 500), DRAWABLE_TAKEN);
    EXPECT_FALSE(box.IsOpen());
    box.Draw(0);
    EXPECT_EQ(screen.Move(700, 500), DRAWABLE_NOT_TAKEN);
}

TEST_F(DropdownTest, DrawnOpenAndClosed) {
    screen.Fill(0);
    box.Draw(0);
    screen.CheckGolden("dropdown_closed", 296, 196, 454, 232);
    box.AddItem("Games found");
    box.AddItemWithId("Amber Coast", 4);
    box.AddItemWithId("North Sea", 7);
    Open();
    screen.Fill(0);
    box.Draw(0);
    screen.CheckGolden("dropdown_open", 296, 196, 470, 336);
}

} // namespace
