// Popup dialogs over the screen harness: the text pieces in their blocks,
// the height from blocks 2 to 7, the shields and the picture; event popups
// pause only a running single-player game that was not paused, and resume
// only the pause they made.
#include "ui/widgets/PopupDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Font.h"
#include "engine/GameState.h"
#include "engine/Sprite.h"
#include "tests/ui/PopupScreen.h"
#include "ui/widgets/TextArea.h"
#include "ui/widgets/TextItem.h"

namespace {

class PopupDialogTest : public ::testing::Test {
protected:
    static std::string BlockText(const CPopupDialog& dialog, int32_t block) {
        std::string text;
        const CTextArea* area = dialog.GetBlock(block);
        for (size_t i = 0; i < area->GetLineCount(); ++i)
            if (auto* label = dynamic_cast<CTextLabel*>(area->GetLine(i)))
                text += (i ? "|" : "") + label->GetFullText();
        return text;
    }

    popuptest::PopupScreen world;
    uitest::ScreenHarness& screen = world.screen;
};

TEST_F(PopupDialogTest, EmptyBlocksGiveTheSmallestHeight) {
    auto* dialog = new CPopupDialog(1);
    EXPECT_EQ(world.popups.At(0), dialog);
    dialog->Layout();
    EXPECT_EQ(dialog->width, 320);
    EXPECT_EQ(dialog->height, 144); // 116 + 6 x 5, rounded down to tiles
    ASSERT_NE(dialog->shield, nullptr);
    ASSERT_NE(dialog->overlay, nullptr);
    EXPECT_NE(dialog->overlay->GetWidth(), 0);
    delete dialog;
    EXPECT_EQ(world.popups.GetCount(), 0u) << "a deleted dialog leaves the list";
}

TEST_F(PopupDialogTest, PiecesFillTheBlocksAndTheHeightFollowsThem) {
    auto* dialog = new CPopupDialog(1);
    dialog->SetText("Peace;The Amber Coast;They offer peace;terms;A white peace;signed;x;dropped");
    EXPECT_EQ(BlockText(*dialog, 0), "Peace");
    EXPECT_EQ(BlockText(*dialog, 1), "The Amber Coast");
    EXPECT_EQ(BlockText(*dialog, 3), "TERMS");
    EXPECT_EQ(BlockText(*dialog, 5), "SIGNED");
    EXPECT_EQ(BlockText(*dialog, 6), "x");
    EXPECT_EQ(BlockText(*dialog, 7), "") << "the text after the seventh ';' is dropped";
    dialog->Layout();
    int32_t expected = 116;
    for (int32_t block = 2; block < 8; ++block)
        expected += static_cast<int32_t>(dialog->GetBlock(block)->GetLineCount()) *
                        dialog->GetBlock(block)->font->cellHeight +
                    5;
    EXPECT_EQ(dialog->height, expected / 16 * 16);
    world.popups.Draw(0);
    screen.CheckGolden("popup_dialog", dialog->x - 4, dialog->y - 4, dialog->x + dialog->width + 4,
                       dialog->y + dialog->height + 4);
}

TEST_F(PopupDialogTest, LongPiecesAndBlockChanges) {
    auto* dialog = new CPopupDialog(1);
    std::string words;
    while (words.size() < 600)
        words += "abc ";
    dialog->SetText(words + ";b");
    // The 600 characters arrive cut to 511 with "..." and wrapped.
    const CTextArea* area = dialog->GetBlock(0);
    ASSERT_GT(area->GetLineCount(), 1u);
    const std::string last =
        dynamic_cast<CTextLabel*>(area->GetLine(area->GetLineCount() - 1))->GetFullText();
    EXPECT_EQ(last.substr(last.size() - 3), "...");
    EXPECT_EQ(BlockText(*dialog, 1), "b");

    // A second text replaces the first.
    dialog->SetText("again;b");
    EXPECT_EQ(BlockText(*dialog, 0), "again");

    CFont* bold = uitest::ScreenHarness::Font("gfx\\fonts\\garamond14bold.bmp");
    dialog->SetTextArea(2, bold, 0xFFFF, 240);
    EXPECT_EQ(dialog->GetBlock(2)->width, 240);
    dialog->SetText("a;b;lower text");
    dialog->UpperCaseBlock(2);
    EXPECT_EQ(BlockText(*dialog, 2), "LOWER TEXT");
    dialog->SetTextArea(9, bold, 0, 10); // no such block: nothing
    dialog->SetStyleName("military");
    EXPECT_EQ(dialog->styleName, "mil");
    dialog->Layout();
    EXPECT_EQ(dialog->GetBlock(2)->x, (320 - 240) / 2);
}

struct PauseRecord {
    bool started = true;
    bool paused = false;
    bool multiplayer = false;
    std::vector<std::string> calls;
};

PauseRecord g_pause;

class EventPopupTest : public ::testing::Test {
protected:
    EventPopupTest() {
        m_savedState = g_gameState;
        m_savedHooks = g_eventPauseHooks;
        g_pause = {};
        g_gameState.isGameStarted = [] { return g_pause.started; };
        g_gameState.isPaused = [] { return g_pause.paused; };
        g_gameState.isMultiplayerGame = [] { return g_pause.multiplayer; };
        g_eventPauseHooks.typePauses = [](int32_t type) { return type == 5; };
        g_eventPauseHooks.pause = [] { g_pause.calls.push_back("pause"); };
        g_eventPauseHooks.unpause = [] { g_pause.calls.push_back("unpause"); };
    }
    ~EventPopupTest() override {
        g_gameState = m_savedState;
        g_eventPauseHooks = m_savedHooks;
    }

    popuptest::PopupScreen world;

private:
    GameStateHooks m_savedState;
    EventPauseHooks m_savedHooks;
};

TEST_F(EventPopupTest, PausesOnlyWhatItMayAndResumesOnlyItsOwnPause) {
    struct Case {
        const char* name;
        int32_t type;
        bool started, paused, multiplayer;
        std::vector<std::string> calls;
    } cases[] = {
        {"running single-player game", 5, true, false, false, {"pause", "unpause"}},
        {"paused by the player before", 5, true, true, false, {}},
        {"network game", 5, true, false, true, {}},
        {"type without pause", 6, true, false, false, {}},
        {"game not started", 5, false, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_pause = {c.started, c.paused, c.multiplayer, {}};
        auto* popup = new CEventPopup(c.type, 1);
        EXPECT_EQ(popup->pausedBefore, c.started && !c.multiplayer && c.paused ? 1 : 0);
        delete popup;
        EXPECT_EQ(g_pause.calls, c.calls);
    }
}

} // namespace
