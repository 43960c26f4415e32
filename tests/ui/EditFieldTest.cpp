// The edit field: typing, the caret keys, Backspace and Delete, Enter, the
// file-name and digits modes, mapped keys that never become text, the
// bounds of its text, focus and blinking, and the colour code.
#include <gtest/gtest.h>

#include <string>

#include "engine/Display.h"
#include "engine/Font.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/EditField.h"

namespace {

class EditFieldTest : public ::testing::Test {
protected:
    EditFieldTest()
        : font(uitest::ScreenHarness::Font("gfx\\fonts\\garamond14.bmp")),
          field(100, 100, 200, 20, font, g_screen.get(), nullptr) {
        screen.SetTarget(field);
    }
    uitest::ScreenHarness screen;
    CFont* font;
    CEditField field;
};

TEST_F(EditFieldTest, TypingAndTheCaretKeys) {
    EXPECT_EQ(screen.TypeText("Amber"), DRAWABLE_TAKEN);
    EXPECT_EQ(field.GetText(), "Amber");
    EXPECT_EQ(field.GetCaret(), 5);
    screen.Key(16); // Home
    EXPECT_EQ(field.GetCaret(), 0);
    screen.Type('x');
    EXPECT_EQ(field.GetText(), "xAmber");
    screen.Key(4); // Right
    screen.Key(7); // Delete: the "m"
    EXPECT_EQ(field.GetText(), "xAber");
    screen.Type(8); // Backspace: the "A"
    EXPECT_EQ(field.GetText(), "xber");
    EXPECT_EQ(field.GetCaret(), 1);
    screen.Key(3); // Left
    screen.Key(3);
    EXPECT_EQ(field.GetCaret(), 0);
    screen.Type(8); // nothing at the start
    EXPECT_EQ(field.GetText(), "xber");
    screen.Key(17); // End
    EXPECT_EQ(field.GetCaret(), 4);
    screen.Type('%'); // would start a colour code
    EXPECT_EQ(field.GetText(), "xber");

    // Enter submits, but not with the caret at the start.
    screen.Key(16);
    screen.Type(13);
    EXPECT_EQ(field.submitted, 0);
    screen.Key(17);
    screen.Type(13);
    EXPECT_EQ(field.submitted, 1);
}

// The game's mapped keys share codes with characters (F1 is 255, the
// letter y with diaeresis too): only typed characters become text.
TEST_F(EditFieldTest, MappedKeysNeverBecomeText) {
    screen.TypeText("ab");
    for (uint32_t code :
         {19u, 14u, 1u, 2u, 16u + 0u, 246u, 250u, 255u, 256u, 265u, 260u, 261u, 266u, 267u}) {
        SCOPED_TRACE(code);
        screen.Key(17); // End
        screen.Key(code);
        EXPECT_EQ(field.GetText(), "ab");
    }
    screen.Key(17);
    screen.Type(0xFF); // the typed Latin-1 letter
    screen.Type(0xE9);
    EXPECT_EQ(field.GetText(), "ab\xFF\xE9");
    // Control characters typed are no text either.
    screen.Type(1);
    screen.Type(31);
    screen.Type(127);
    EXPECT_EQ(field.GetText().size(), 4u);
    EXPECT_EQ(field.GetText().find('\0'), std::string::npos);
}

TEST_F(EditFieldTest, FileNameAndDigitsModes) {
    field.fileName = 1;
    screen.TypeText("my.save,1/2:3;4\\x");
    EXPECT_EQ(field.GetText(), "mysave1234x");
    CEditField digits(100, 140, 100, 8, font, g_screen.get(), nullptr);
    digits.digitsOnly = 1;
    screen.SetTarget(digits);
    screen.TypeText("-12a3 4");
    EXPECT_EQ(digits.GetText(), "1234");
}

TEST_F(EditFieldTest, MaximumLengthAndBoundedTexts) {
    CEditField eight(100, 140, 400, 8, font, g_screen.get(), nullptr);
    screen.SetTarget(eight);
    screen.TypeText("abcdefgh");
    screen.TypeText("ij");
    EXPECT_EQ(eight.GetText(), "abcdefgh");
    screen.Type(8);
    screen.Type('z');
    EXPECT_EQ(eight.GetText(), "abcdefgz");

    // Texts of 300 characters are cut to the maximum length.
    const std::string longText(300, 'q');
    CEditField initial(100, 140, 400, 20, font, g_screen.get(), longText.c_str());
    EXPECT_EQ(initial.GetText(), longText.substr(0, 20));
    eight.SetText(longText);
    EXPECT_EQ(eight.GetText(), longText.substr(0, 8));
    EXPECT_LE(eight.GetCaret(), 8);
    eight.SetText("ab");
    EXPECT_LE(eight.GetCaret(), 2);
    screen.Type('c');
    EXPECT_EQ(eight.GetText().size(), 3u);
    eight.Clear();
    EXPECT_EQ(eight.GetText(), "");
    EXPECT_EQ(eight.GetCaret(), 0);
}

TEST_F(EditFieldTest, TypingPastTheWidthKeepsTheCaretShown) {
    CEditField narrow(100, 140, 40, 60, font, g_screen.get(), nullptr);
    screen.SetTarget(narrow);
    screen.TypeText("abcdefghijklmnopqrstuvwxyz");
    EXPECT_GT(narrow.GetFirstShown(), 0);
    int32_t sum = 0;
    for (int32_t i = narrow.GetFirstShown(); i < narrow.GetCaret(); ++i)
        sum += font->GetTextWidth(std::string(1, narrow.GetText()[static_cast<size_t>(i)])) + 1;
    EXPECT_LE(sum, 40);
    screen.Key(16);
    EXPECT_EQ(narrow.GetFirstShown(), 0);
}

TEST_F(EditFieldTest, FocusAndBlinking) {
    // A click outside takes the focus away and is still taken.
    EXPECT_EQ(screen.Release(10, 10), DRAWABLE_TAKEN);
    EXPECT_EQ(field.focus, 0);
    EXPECT_EQ(screen.Type('a'), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(field.GetText(), "");
    EXPECT_EQ(screen.Release(150, 105), DRAWABLE_TAKEN);
    EXPECT_EQ(field.focus, 1);
    EXPECT_EQ(field.caretShown, 1);
    for (int i = 0; i < 9; ++i)
        screen.AnimationTick();
    EXPECT_EQ(field.caretShown, 1);
    screen.AnimationTick();
    EXPECT_EQ(field.caretShown, 0);
    for (int i = 0; i < 10; ++i)
        screen.AnimationTick();
    EXPECT_EQ(field.caretShown, 1);

    // The caret: two white columns at the caret's offset.
    screen.TypeText("ab");
    screen.Fill(0);
    field.Draw(0);
    const int32_t offset = font->GetTextWidth("ab");
    EXPECT_EQ(screen.PixelAt(100 + offset, 100), 0xFFFF);
    EXPECT_EQ(screen.PixelAt(100 + offset + 1, 100 + font->cellHeight - 3), 0xFFFF);
    EXPECT_EQ(screen.PixelAt(100 + offset + 2, 100), 0);
}

TEST_F(EditFieldTest, ColourCodeTakesItsDigitsBlueFirst) {
    field.SetColourCode("%077");
    EXPECT_EQ(field.colour, CGraphicsBase::RgbToPixel(224, 224, 0)); // yellow
    field.SetColourCode("%700");
    EXPECT_EQ(field.colour, CGraphicsBase::RgbToPixel(0, 0, 224)); // blue
    field.SetColourCode("%77");
    EXPECT_EQ(field.colour, CGraphicsBase::RgbToPixel(0, 0, 224));
    field.SetColourCode("%7777");
    EXPECT_EQ(field.colour, CGraphicsBase::RgbToPixel(0, 0, 224));
}

} // namespace
