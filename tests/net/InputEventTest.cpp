#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "engine/Display.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "platform/EventPump.h"
#include "tests/net/ScopedSeams.h"

namespace {

struct Seen {
    uint32_t type;
    uint32_t code;
    uint32_t data;
    int32_t x;
    int32_t y;
    uint32_t keyKind;
};

// The game frame's slot records the input events that run; the console
// records what it is handed.
std::vector<Seen> g_frameSeen;
std::vector<uint32_t> g_consoleTypes;

int RecordFrame(COVEvent& event) {
    const auto& input = dynamic_cast<const CInputEvent&>(event);
    g_frameSeen.push_back({input.GetType(), input.GetCode(), input.GetData(), input.GetX(),
                           input.GetY(), input.GetKeyKind()});
    return 5;
}

int RecordConsole(COVEvent& event) {
    g_consoleTypes.push_back(event.GetType());
    EXPECT_EQ(event.GetReceiver(), g_broadcastId);
    EXPECT_EQ(event.GetDueDate(), CDate());
    return EVENT_CONSUMED;
}

class InputEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_scheduler.RunInput(); // nothing left from elsewhere
        g_frameSeen.clear();
        g_consoleTypes.clear();
        g_broadcastReceivers[kSlotGameFrame] = &RecordFrame;
        g_directReceivers.console = &RecordConsole;
        g_inputState = {};
        g_mousePos = {};
        g_presentRect = {0, 0, 800, 600};
        platform::SetCursorPosition(0, 0);
    }
    void TearDown() override {
        g_scheduler.RunInput();
        g_inputState = {};
        g_presentRect = {};
    }

    // Runs the input list; what reached the game frame.
    std::vector<Seen> Run() {
        g_frameSeen.clear();
        g_scheduler.RunInput();
        return g_frameSeen;
    }

    // The code of the key event one key-down makes, if any.
    std::optional<uint32_t> CodeOf(int32_t key) {
        PostKeyDownEvent(key, 0x00010001);
        auto seen = Run();
        if (seen.empty())
            return std::nullopt;
        EXPECT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].type, uint32_t{EVT_KEYUP});
        EXPECT_EQ(seen[0].data, 0x00010001u);
        return seen[0].code;
    }

    nettest::ScopedSeams seams;
};

TEST_F(InputEventTest, PayloadLayoutAndFlags) {
    CInputEvent event(EVT_MOUSELBDOWN, g_broadcastId, 7, 0x11, -3, 599);
    EXPECT_EQ(event.GetPayloadSize(), 40);
    EXPECT_EQ(event.Payload().Get(EventHead::kType), uint32_t{EVT_MOUSELBDOWN});
    EXPECT_EQ(event.GetReceiver(), g_broadcastId);
    EXPECT_EQ(event.GetDueDate(), CDate());
    EXPECT_EQ(event.Payload().Get(CInputEvent::kCode), 7u);
    EXPECT_EQ(event.Payload().Get(CInputEvent::kData), 0x11u);
    EXPECT_EQ(event.Payload().Get(CInputEvent::kX), -3);
    EXPECT_EQ(event.Payload().Get(CInputEvent::kY), 599);
    EXPECT_EQ(event.GetSendFlag(), 0);
    EXPECT_EQ(event.GetLocalFlag(), 1);

    EXPECT_EQ(event.Execute(), 5); // the game frame's answer
    ASSERT_EQ(g_frameSeen.size(), 1u);
    g_broadcastReceivers[kSlotGameFrame] = nullptr; // no game frame
    EXPECT_EQ(event.Execute(), EVENT_NOT_HANDLED);
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u); // never travels
}

TEST_F(InputEventTest, KeyTranslation) {
    const struct {
        int32_t key;
        uint32_t plain;
        uint32_t shifted;
    } keys[] = {
        {19, 19, 19},    {27, 14, 14},    {33, 260, 260},  {34, 261, 261},  {35, 17, 17},
        {36, 16, 16},    {37, 3, 3},      {38, 1, 1},      {39, 4, 4},      {40, 2, 2},
        {46, 7, 7},      {112, 255, 256}, {113, 254, 257}, {114, 253, 258}, {115, 252, 259},
        {116, 251, 260}, {117, 250, 261}, {118, 249, 262}, {119, 248, 263}, {120, 247, 264},
        {121, 246, 265}, {122, 266, 266},
    };
    for (const auto& key : keys) {
        EXPECT_EQ(CodeOf(key.key), key.plain) << key.key;
        PostKeyDownEvent(16, 0);
        EXPECT_EQ(CodeOf(key.key), key.shifted) << key.key;
        OnKeyUp(16);
    }
    for (int32_t other : {65, 13, 8, 45, 124, 0, -1})
        EXPECT_EQ(CodeOf(other), std::nullopt) << other;
}

TEST_F(InputEventTest, F12TogglesTheConsoleAndWithShiftIsAKey) {
    EXPECT_EQ(CodeOf(123), std::nullopt);
    EXPECT_EQ(g_consoleTypes, std::vector<uint32_t>{EVT_TOGGLE_CONSOLE});
    EXPECT_EQ(g_scheduler.GetInputCount(), 0u);

    PostKeyDownEvent(16, 0);
    EXPECT_EQ(CodeOf(123), 267u);
    EXPECT_EQ(g_consoleTypes.size(), 1u);
    OnKeyUp(16);

    g_directReceivers.console = nullptr; // no console yet: nothing happens
    EXPECT_EQ(CodeOf(123), std::nullopt);
}

TEST_F(InputEventTest, ShiftAndCtrlAreHeldUntilTheirKeyUp) {
    PostKeyDownEvent(16, 0);
    PostKeyDownEvent(17, 0);
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(g_inputState.shiftHeld, 1);
    EXPECT_EQ(g_inputState.ctrlHeld, 1);
    OnKeyUp(65);
    EXPECT_EQ(g_inputState.shiftHeld, 1);
    OnKeyUp(17);
    EXPECT_EQ(g_inputState.ctrlHeld, 0);
    EXPECT_EQ(g_inputState.shiftHeld, 1);
    OnKeyUp(16);
    EXPECT_EQ(g_inputState.shiftHeld, 0);
}

TEST_F(InputEventTest, EveryCharacterButSeventeen) {
    for (uint32_t character : {0u, 8u, 16u, 17u, 18u, 65u, 255u})
        PostCharEvent(character, 0x1E0001);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].code, 0u);
    EXPECT_EQ(seen[2].code, 16u);
    EXPECT_EQ(seen[3].code, 18u);
    EXPECT_EQ(seen[5].code, 255u);
    for (const Seen& event : seen) {
        EXPECT_EQ(event.type, uint32_t{EVT_KEYUP});
        EXPECT_EQ(event.data, 0x1E0001u);
    }
}

// F1 and the letter 255 share their code; the event tells which one came.
TEST_F(InputEventTest, CharactersAndMappedKeysAreTold) {
    PostCharEvent(255, 1);
    PostKeyDownEvent(112, 1); // F1
    PostKeyDownEvent(16, 0);  // Shift
    PostKeyDownEvent(112, 1); // Shift+F1
    auto seen = Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].code, 255u);
    EXPECT_EQ(seen[0].keyKind, CInputEvent::kTypedCharacter);
    EXPECT_EQ(seen[1].code, 255u);
    EXPECT_EQ(seen[1].keyKind, CInputEvent::kMappedKey);
    EXPECT_EQ(seen[2].code, 256u);
    EXPECT_EQ(seen[2].keyKind, CInputEvent::kMappedKey);
    CInputEvent mouse(EVT_MOUSELBDOWN, g_broadcastId, 0, 0, 1, 2);
    EXPECT_EQ(mouse.GetKeyKind(), CInputEvent::kNotAKey);
}

TEST_F(InputEventTest, PollMouseMovesAndClamps) {
    platform::SetCursorPosition(120, 130);
    PollMouse();
    auto seen = Run();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].type, uint32_t{EVT_MOUSEMOVE});
    EXPECT_EQ(seen[0].x, 120);
    EXPECT_EQ(seen[0].y, 130);
    EXPECT_EQ(GetMousePosition()->x, 120);

    PollMouse(); // no movement, nothing held
    EXPECT_TRUE(Run().empty());

    // Beyond the screen: the event carries the raw point, g_mousePos is held.
    platform::SetCursorPosition(950, 700);
    PollMouse();
    seen = Run();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].x, 950);
    EXPECT_EQ(seen[0].y, 700);
    EXPECT_EQ(g_mousePos.x, 799);
    EXPECT_EQ(g_mousePos.y, 599);
    EXPECT_EQ(g_inputState.lastMovement.x, 830);
    EXPECT_EQ(g_inputState.lastMovement.y, 570);

    // Left of and above the present rectangle: 0.
    g_presentRect = {100, 50, 900, 650};
    platform::SetCursorPosition(40, 30);
    PollMouse();
    seen = Run();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].x, 0);
    EXPECT_EQ(seen[0].y, 0);
    platform::SetCursorPosition(150, 80);
    PollMouse();
    seen = Run();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].x, 50);
    EXPECT_EQ(seen[0].y, 30);
}

TEST_F(InputEventTest, HeldLeftButtonRepeatsEveryPoll) {
    platform::SetCursorPosition(900, 10);
    PollMouse();
    Run();
    g_inputState.leftHeld = 1;
    EXPECT_TRUE(IsMouseButtonHeld());
    for (int frame = 0; frame < 3; ++frame) {
        PollMouse();
        auto seen = Run();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].type, uint32_t{EVT_MOUSELBHELD});
        EXPECT_EQ(seen[0].x, 799); // g_mousePos
        EXPECT_EQ(seen[0].y, 10);
    }
}

TEST_F(InputEventTest, RelativeModeSumsWithinLimitsAndRecentres) {
    g_inputState.relativeMode = 1;
    g_inputState.recentre = {400, 300};
    g_inputState.lastRaw = {400, 300};
    const struct {
        int32_t x, y;
        int32_t offsetX, offsetY;
    } moves[] = {
        {430, 290, 30, -10},
        {450, 300, 80, -10},
        {2000000000, -2000000000, 100, -100}, // far beyond the limits
        {350, 450, 50, 50},
        {-2147483647, 300, -100, 50},
    };
    for (const auto& move : moves) {
        platform::SetCursorPosition(move.x, move.y);
        PollMouse();
        EXPECT_EQ(g_inputState.relativeOffset.x, move.offsetX) << move.x;
        EXPECT_EQ(g_inputState.relativeOffset.y, move.offsetY) << move.y;
        int32_t x = 0;
        int32_t y = 0;
        platform::GetCursorPosition(x, y);
        EXPECT_EQ(x, 400);
        EXPECT_EQ(y, 300);
    }
    EXPECT_TRUE(Run().empty());
}

} // namespace
