// Buttons and text buttons driven through the screen harness: the click on
// release inside, disabled and parked buttons, latching, the hotkey, the
// auto-repeat times, the click sound, and the frames drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Font.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/TextButtonImages.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextButton.h"

namespace {

constexpr const char* kArrow = "gfx\\interface\\frontend\\btn_dropdown_1.bmp"; // 4 x 14 x 20

// Counts its hooks.
class HookButton : public CButton {
public:
    using CButton::CButton;
    void OnReleased() override { ++released; }
    void OnClicked() override { ++clickedHook; }
    int released = 0;
    int clickedHook = 0;
};

class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() : button(kArrow, 7, 'k') {
        button.SetPosition(100, 100);
        button.clickSound = 2;
        screen.SetTarget(button);
    }
    uitest::ScreenHarness screen;
    HookButton button;
};

TEST_F(ButtonTest, ClickFiresOnReleaseInsideOnly) {
    ASSERT_EQ(button.GetWidth(), 14);
    EXPECT_EQ(button.commandId, 7);
    EXPECT_EQ(button.hotkey, 'k');

    // Press inside: down frame, the sound once, a pulse, no click yet.
    EXPECT_EQ(screen.Press(105, 105), DRAWABLE_TAKEN);
    EXPECT_EQ(button.frame, CButton::kFrameDown);
    EXPECT_EQ(button.pulse, 1);
    EXPECT_EQ(button.clicked, 0);
    EXPECT_EQ(screen.Sounds(), std::vector<uint32_t>{2});
    // Release inside: OnClicked and clicked; the state pops up at the next
    // frame tick, which calls OnReleased.
    EXPECT_EQ(screen.Release(106, 110), DRAWABLE_TAKEN);
    EXPECT_EQ(button.clicked, 1);
    EXPECT_EQ(button.clickedHook, 1);
    EXPECT_TRUE(button.IsPressed());
    screen.Frame();
    EXPECT_TRUE(button.IsReleased());
    EXPECT_EQ(button.released, 1);
    EXPECT_EQ(button.frame, CButton::kFrameOver); // the pointer is still over it
    EXPECT_EQ(button.clicked, 0);

    // Press inside, release outside: nothing fires; the tick pops it up.
    screen.Press(105, 105);
    EXPECT_EQ(screen.Release(300, 300), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(button.clicked, 0);
    EXPECT_EQ(button.clickedHook, 1);
    screen.Frame();
    EXPECT_TRUE(button.IsReleased());
    EXPECT_EQ(button.frame, CButton::kFramePlain);

    // Pressed elsewhere, released over an up button: clicked, OnReleased.
    EXPECT_EQ(screen.Release(105, 105), DRAWABLE_TAKEN);
    EXPECT_EQ(button.clicked, 1);
    EXPECT_EQ(button.clickedHook, 1);
    EXPECT_EQ(button.released, 3);
}

TEST_F(ButtonTest, DisabledAndParkedButtonsAnswerThreeAndChangeNothing) {
    struct Case {
        const char* name;
        bool disable;
        int32_t x;
        int32_t y;
    };
    for (const Case& c : {Case{"disabled", true, 100, 100}, Case{"parked", false, -1000, -1000},
                          Case{"left of the screen", false, -5, 100}}) {
        SCOPED_TRACE(c.name);
        button.ResetState();
        button.clickSound = 2;
        if (c.disable)
            button.Disable();
        button.SetPosition(c.x, c.y);
        const int32_t frame = button.frame;
        screen.ClearSounds();
        const int32_t px = c.x + 5;
        const int32_t py = c.y + 5;
        EXPECT_EQ(screen.Press(px, py), DRAWABLE_TAKEN);
        EXPECT_EQ(screen.Release(px, py), DRAWABLE_TAKEN);
        EXPECT_EQ(screen.DoubleClick(px, py), DRAWABLE_TAKEN);
        EXPECT_EQ(screen.Press(px + 300, py), DRAWABLE_NOT_TAKEN);
        EXPECT_EQ(screen.Key('k'), DRAWABLE_NOT_TAKEN);
        EXPECT_EQ(screen.Move(px, py), DRAWABLE_NOT_TAKEN);
        screen.Frame();
        EXPECT_EQ(button.frame, frame);
        EXPECT_EQ(button.clicked, 0);
        EXPECT_TRUE(button.IsReleased());
        EXPECT_TRUE(screen.Sounds().empty());
    }
    button.SetPosition(100, 100);
    button.Enable();
    EXPECT_EQ(button.frame, CButton::kFramePlain);
}

TEST_F(ButtonTest, HotkeyTogglesAndLatchingButtonsStayDown) {
    EXPECT_EQ(screen.Key('j'), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(screen.Key('k'), DRAWABLE_TAKEN);
    EXPECT_TRUE(button.IsPressed());
    EXPECT_EQ(button.clickedHook, 1);
    EXPECT_EQ(button.clicked, 1);
    EXPECT_EQ(screen.Key('k'), DRAWABLE_TAKEN);
    EXPECT_TRUE(button.IsReleased());
    EXPECT_EQ(button.released, 1);
    EXPECT_EQ(button.clicked, 1);

    // A hotkey char of 0xFF (-1) is no hotkey at all.
    CButton none(kArrow, 0, static_cast<char>(-1));
    EXPECT_EQ(none.hotkey, -1);

    // Latching: the click leaves it down through frame ticks; the next
    // press pops it up (with the sound again), the release after that
    // calls OnReleased and sets clicked.
    button.releaseWhenLetGo = 0;
    screen.Press(105, 105);
    screen.Release(105, 105);
    screen.Frame();
    EXPECT_TRUE(button.IsPressed());
    EXPECT_EQ(button.frame, CButton::kFrameDown);
    screen.ClearSounds();
    screen.Press(105, 105);
    EXPECT_TRUE(button.IsReleased());
    EXPECT_EQ(screen.Sounds(), std::vector<uint32_t>{2});
    const int releasedBefore = button.released;
    screen.Release(105, 105);
    EXPECT_EQ(button.released, releasedBefore + 1);
    EXPECT_EQ(button.clicked, 1);
}

// Held down, the pulses come 8, 12, 14, 16, 18 interrupt counts after the
// press (120, 180, 210, 240 ms ...): a repeat is due at or past its time.
TEST_F(ButtonTest, AutoRepeatPulsesAtItsTimes) {
    screen.Step(1000);
    const uint32_t start = screen.Now();
    screen.Press(105, 105);
    std::vector<uint32_t> pulses;
    for (int count = 1; count <= 18; ++count) {
        screen.Step(1);
        screen.Frame();
        if (button.pulse)
            pulses.push_back(screen.Now() - start);
    }
    EXPECT_EQ(pulses, (std::vector<uint32_t>{8, 12, 14, 16, 18}));
    EXPECT_TRUE(button.IsPressed());
    // Let go: the next tick pops it up.
    screen.Release(300, 300);
    screen.Frame();
    EXPECT_TRUE(button.IsReleased());
}

TEST_F(ButtonTest, FourFramesDrawn) {
    screen.Fill(0);
    CButton frames[4] = {{kArrow, 0, 0}, {kArrow, 0, 0}, {kArrow, 0, 0}, {kArrow, 0, 0}};
    frames[1].ShowOver();
    frames[2].Press();
    frames[3].Disable();
    for (int i = 0; i < 4; ++i) {
        frames[i].SetPosition(10 + 16 * i, 10);
        frames[i].Draw(0);
    }
    screen.CheckGolden("button_frames", 8, 8, 76, 32);
}

TEST(TextButtonTest, RendersBothSizesAndSizesToTheText) {
    uitest::ScreenHarness screen;
    ASSERT_TRUE(g_textButtonImages.IsLoaded());
    ASSERT_TRUE(g_smallTextButtonImages.IsLoaded());
    CFont* small = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");
    CFont* large = uitest::ScreenHarness::Font("gfx\\fonts\\garamond18bold.bmp");
    ASSERT_TRUE(small && large);

    // Height 14 takes "tbsmall" (18 high), 18 takes "tb" (24 high).
    CTextButton smallButton("Cancel", small, 0);
    CTextButton largeButton("Accept", large, 0);
    EXPECT_EQ(smallButton.GetHeight(), 18);
    EXPECT_EQ(largeButton.GetHeight(), 24);
    EXPECT_EQ(smallButton.GetLabel(), "Cancel");

    // Width: text width / centre width + 1 pieces, plus the two caps.
    const int32_t textWidth = small->GetTextWidth("Cancel");
    EXPECT_EQ(smallButton.GetWidth(), (textWidth / 6 + 1) * 6 + 8);
    // A fixed width is met with whole centre pieces at least as wide.
    CTextButton fixed("Ok", small, 61);
    EXPECT_EQ(fixed.GetWidth(), 61);
    // The widest of the two texts sizes a button with a second text.
    CTextButton twoTexts;
    twoTexts.RenderFrames("On", small, 0, "Switched off");
    EXPECT_EQ(twoTexts.GetWidth(), (small->GetTextWidth("Switched off") / 6 + 1) * 6 + 8);

    screen.Fill(0);
    int32_t x = 10;
    for (CTextButton* button : {&smallButton, &largeButton})
        for (int32_t frame = 0; frame < 4; ++frame) {
            button->SetFrame(frame);
            button->SetPosition(x, 10);
            button->Draw(0);
            x += button->GetWidth() + 2;
        }
    screen.CheckGolden("text_buttons", 8, 8, x + 2, 36);
}

// A text exactly as wide as k centre pieces gets k + 1 of them.
TEST(TextButtonTest, TextAsWideAsThePiecesGetsOneMore) {
    uitest::ScreenHarness screen;
    CFont* font = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp");
    ASSERT_TRUE(font);
    std::string text;
    while (font->GetTextWidth(text) % 6 != 0 || text.empty())
        text += 'i';
    const int32_t pieces = font->GetTextWidth(text) / 6;
    CTextButton button(text, font, 0);
    EXPECT_EQ(button.GetWidth(), (pieces + 1) * 6 + 8);
}

} // namespace
