// The window procedure's input: a wheel turn becomes the wheel event with
// its notches positive away from the player, characters and keys become key
// events marked as what they are.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/GameTimer.h"
#include "frontend/shell/Shell.h"
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
    int32_t data;
    uint32_t keyKind;
};
std::vector<Seen> g_seen;

int Record(COVEvent& event) {
    const auto& input = dynamic_cast<const CInputEvent&>(event);
    g_seen.push_back({input.GetType(), input.GetCode(), static_cast<int32_t>(input.GetData()),
                      input.GetKeyKind()});
    return EVENT_CONSUMED;
}

TEST(WindowProcInputTest, WheelAndKeys) {
    nettest::ScopedSeams seams;
    g_scheduler.RunInput();
    g_inputState = {};
    g_broadcastReceivers[kSlotGameFrame] = &Record;
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_seen.clear();

    using platform::MessageType;
    MainWindowProc({MessageType::MouseWheel, 0, 0, 10, 20, 2 * platform::kWheelDelta});
    MainWindowProc({MessageType::MouseWheel, 0, 0, 10, 20, -platform::kWheelDelta});
    MainWindowProc({MessageType::Char, 0xFF, 1, 0, 0, 0});
    MainWindowProc({MessageType::KeyDown, 112, 1, 0, 0, 0}); // F1
    g_scheduler.RunInput();
    g_gameTimer.reset();

    ASSERT_EQ(g_seen.size(), 4u);
    EXPECT_EQ(g_seen[0].type, uint32_t{EVT_UNNAMED_12});
    EXPECT_EQ(g_seen[0].data, 2);
    EXPECT_EQ(g_seen[1].data, -1);
    EXPECT_EQ(g_seen[2].code, 255u);
    EXPECT_EQ(g_seen[2].keyKind, CInputEvent::kTypedCharacter);
    EXPECT_EQ(g_seen[3].code, 255u);
    EXPECT_EQ(g_seen[3].keyKind, CInputEvent::kMappedKey);
}

} // namespace
