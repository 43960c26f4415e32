// Message boxes over the screen harness: their sizes and pictures, OK by
// click and by Enter, the countdown, closing all windows, and the pause
// messages they post.
#include "ui/widgets/MessageBox.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/Font.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "tests/ui/PopupScreen.h"
#include "ui/widgets/TextButton.h"
#include "ui/widgets/TimedDrawable.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    // The types of the messages posted since the last call.
    std::vector<uint32_t> PostedTypes() {
        std::vector<uint32_t> types;
        for (const uitest::RecordedMessage& message : world.screen.Posted())
            types.push_back(message.type);
        g_scheduler.Clear();
        return types;
    }

    popuptest::PopupScreen world;
    uitest::ScreenHarness& screen = world.screen;
};

using Types = std::vector<uint32_t>;

TEST_F(MessageBoxTest, OneLineBoxIsSixtyFourHighAndAsWideAsItsText) {
    const std::string text = "The harvest is in.";
    auto* box = new CMessageBox(text, 100);
    const int32_t textWidth =
        uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp")->GetTextWidth(text);
    EXPECT_EQ(box->height, 64);
    EXPECT_EQ(box->width, (textWidth + 64) / 16 * 16);
    EXPECT_EQ(box->x, 200);
    EXPECT_EQ(box->y, 100);
    EXPECT_EQ(world.popups.At(0), box);
    EXPECT_EQ(g_popupPauseCount, 1);
    world.popups.Draw(0);
    screen.CheckGolden("message_box_one_line", box->x - 8, box->y - 8, box->x + box->width + 8,
                       box->y + box->height + 8);
}

TEST_F(MessageBoxTest, LongTextIsWrappedIntoCentredLines) {
    const std::string text = "A fleet of the Amber Coast was sighted off the western cape. "
                             "Its captains ask for harbour and fresh water, and offer news of "
                             "the lands beyond the sea in return.";
    CFont* font = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");
    const int32_t breaks = std::max(font->CountWrappedLines(text, 300) - 1, 0);
    ASSERT_GE(breaks, 2);
    auto* box = new CMessageBox(text, 100);
    EXPECT_EQ(box->width, 352); // 364 rounded down to tiles
    EXPECT_EQ(box->height, (font->cellHeight * (breaks + 1) + 80) / 16 * 16);
    world.popups.Draw(0);
    screen.CheckGolden("message_box_lines", box->x - 8, box->y - 8, box->x + box->width + 8,
                       box->y + box->height + 8);
}

TEST_F(MessageBoxTest, ClickOnOkOrEnterClosesAndTheLastBoxResumes) {
    auto* first = new CMessageBox("First", 100);
    auto* second = new CMessageBox("Second", 100);
    EXPECT_EQ(PostedTypes(), (Types{EVT_PAUSE, EVT_PAUSE}));
    world.popups.Draw(0);
    screen.SetTarget([this](COVEvent& event) { return world.popups.HandleEvent(event); });

    // A press on OK and a release outside it close nothing.
    CTextButton* ok = second->GetOkButton();
    const SpritePoint at = ok->GetPosition();
    screen.Press(at.x + 2, at.y + 2);
    screen.Release(at.x - 40, at.y - 40);
    EXPECT_EQ(world.popups.GetCount(), 2u);
    screen.Click(at.x + 2, at.y + 2);
    EXPECT_EQ(world.popups.GetCount(), 1u);
    EXPECT_EQ(world.popups.At(0), first);
    EXPECT_EQ(PostedTypes(), Types{});

    screen.Type(13);
    EXPECT_EQ(world.popups.GetCount(), 0u);
    EXPECT_EQ(PostedTypes(), Types{EVT_UNPAUSE});
    EXPECT_EQ(g_popupPauseCount, 0);
}

TEST_F(MessageBoxTest, CountdownClosesTheBoxAndZeroClosesAtOnce) {
    new CMessageBox("Soon", 2);
    new CMessageBox("Now", 0);
    screen.SetTarget([this](COVEvent& event) { return world.popups.HandleEvent(event); });
    screen.Frame();
    EXPECT_EQ(world.popups.GetCount(), 1u) << "a countdown of 0 ends at the first event";
    screen.Step(139);
    screen.Frame();
    EXPECT_EQ(world.popups.GetCount(), 1u);
    screen.Step(1);
    screen.Frame();
    EXPECT_EQ(world.popups.GetCount(), 0u);
}

TEST_F(MessageBoxTest, CloseAllWindowsClosesEveryBox) {
    new CMessageBox("One", 100);
    new CMessageBox("Header", "Two", 100);
    CInputEvent close(EVT_CLOSEALLWINDOWS, ObjectId{});
    world.popups.HandleEvent(close);
    EXPECT_EQ(world.popups.GetCount(), 0u);
    EXPECT_EQ(g_popupPauseCount, 0);
}

} // namespace
