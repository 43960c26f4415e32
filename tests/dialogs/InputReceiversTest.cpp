// Input reaches the dialogs' own receivers: every input event the game frame
// (g_gameFrame), the F12 toggle the console (g_console). The translation of
// keys and the mouse polls are net's (tests/net/InputEventTest.cpp).
#include <gtest/gtest.h>

#include <vector>

#include "dialogs/Console.h"
#include "dialogs/GameFrame.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Scheduler.h"

namespace {

class RecordingFrame : public CGameFrame {
public:
    int HandleMessage(COVEvent& event) override {
        codes.push_back(dynamic_cast<const CInputEvent&>(event).GetCode());
        return 5;
    }
    std::vector<uint32_t> codes;
};

class RecordingConsole : public CConsole {
public:
    int HandleMessage(COVEvent& event) override {
        types.push_back(event.GetType());
        return EVENT_CONSUMED;
    }
    std::vector<uint32_t> types;
};

class InputReceiversTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_scheduler.RunInput(); // nothing left from elsewhere
        g_inputState = {};
        g_gameFrame = &frame;
        g_console = &console;
    }
    void TearDown() override {
        g_scheduler.RunInput();
        g_inputState = {};
        g_gameFrame = nullptr;
        g_console = nullptr;
    }

    RecordingFrame frame;
    RecordingConsole console;
};

TEST_F(InputReceiversTest, InputEventsGoToTheGameFrame) {
    CInputEvent event(EVT_MOUSELBDOWN, g_broadcastId, 7, 0, 1, 2);
    EXPECT_EQ(event.Execute(), 5);
    PostKeyDownEvent(27, 0); // Esc
    g_scheduler.RunInput();
    EXPECT_EQ(frame.codes, (std::vector<uint32_t>{7, 14}));

    g_gameFrame = nullptr;
    EXPECT_EQ(event.Execute(), EVENT_NOT_HANDLED);
}

TEST_F(InputReceiversTest, F12GoesToTheConsole) {
    PostKeyDownEvent(123, 0);
    EXPECT_EQ(console.types, std::vector<uint32_t>{EVT_TOGGLE_CONSOLE});
    EXPECT_EQ(g_scheduler.GetInputCount(), 0u);

    g_console = nullptr; // no console yet: nothing happens
    PostKeyDownEvent(123, 0);
    EXPECT_EQ(console.types.size(), 1u);
    EXPECT_EQ(g_scheduler.GetInputCount(), 0u);
}

} // namespace
