#include "net/InputEvent.h"

#include <algorithm>

#include "engine/Display.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "platform/EventPump.h"

InputState g_inputState;

namespace {

constexpr int32_t kKeyShift = 16;
constexpr int32_t kKeyCtrl = 17;
constexpr int32_t kKeyF1 = 112;
constexpr int32_t kKeyF11 = 122;
constexpr int32_t kKeyF12 = 123;
constexpr int32_t kNoCode = -1;
constexpr int32_t kRelativeLimit = 100;

// The code of a key; kNoCode for keys without one (F12 without Shift is
// the console's).
int32_t TranslateKey(int32_t key, bool shift) {
    switch (key) {
    case 19:
        return 19; // Pause
    case 27:
        return 14; // Esc
    case 33:
        return 260; // Page Up
    case 34:
        return 261; // Page Down
    case 35:
        return 17; // End
    case 36:
        return 16; // Home
    case 37:
        return 3; // Left
    case 38:
        return 1; // Up
    case 39:
        return 4; // Right
    case 40:
        return 2; // Down
    case 46:
        return 7; // Delete
    case kKeyF11:
        return 266;
    case kKeyF12:
        return shift ? 267 : kNoCode;
    default:
        break;
    }
    if (key >= kKeyF1 && key < kKeyF11) // F1 to F10
        return shift ? 256 + (key - kKeyF1) : 255 - (key - kKeyF1);
    return kNoCode;
}

void QueueInput(uint32_t type, uint32_t code, uint32_t data, int32_t x, int32_t y,
                uint32_t keyKind = CInputEvent::kNotAKey) {
    auto event = std::make_unique<CInputEvent>(type, g_broadcastId, code, data, x, y);
    event->SetKeyKind(keyKind);
    g_scheduler.QueueInput(std::move(event));
}

} // namespace

CInputEvent::CInputEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

CInputEvent::CInputEvent(uint32_t type, const ObjectId& receiver, uint32_t code, uint32_t data,
                         int32_t x, int32_t y)
    : COVEvent(kSize, type, receiver) {
    SetCode(code);
    SetData(data);
    SetPosition(x, y);
}

int CInputEvent::Execute() {
    return OfferToSlot(kSlotGameFrame, *this);
}

void PostCharEvent(uint32_t character, uint32_t data) {
    if (character != 17)
        QueueInput(EVT_KEYUP, character, data, 0, 0, CInputEvent::kTypedCharacter);
}

void PostKeyDownEvent(int32_t virtualKey, uint32_t data) {
    if (virtualKey == kKeyShift) {
        g_inputState.shiftHeld = 1;
        return;
    }
    if (virtualKey == kKeyCtrl) {
        g_inputState.ctrlHeld = 1;
        return;
    }
    const bool shift = g_inputState.shiftHeld != 0;
    if (virtualKey == kKeyF12 && !shift) {
        if (g_directReceivers.console) {
            COVSimpleEvent toggle(EVT_TOGGLE_CONSOLE, g_broadcastId);
            g_directReceivers.console(toggle);
        }
        return;
    }
    const int32_t code = TranslateKey(virtualKey, shift);
    if (code != kNoCode)
        QueueInput(EVT_KEYUP, static_cast<uint32_t>(code), data, 0, 0, CInputEvent::kMappedKey);
}

void OnKeyUp(int32_t virtualKey) {
    if (virtualKey == kKeyShift)
        g_inputState.shiftHeld = 0;
    else if (virtualKey == kKeyCtrl)
        g_inputState.ctrlHeld = 0;
}

void PollMouse() {
    InputState& state = g_inputState;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    platform::GetCursorPosition(cursorX, cursorY);

    if (state.relativeMode) {
        // 64-bit sums: a pointer far away must not overflow on its way to
        // the limit.
        const int64_t dx = int64_t{state.relativeOffset.x} + cursorX - state.lastRaw.x;
        const int64_t dy = int64_t{state.relativeOffset.y} + cursorY - state.lastRaw.y;
        state.relativeOffset.x =
            static_cast<int32_t>(std::clamp<int64_t>(dx, -kRelativeLimit, kRelativeLimit));
        state.relativeOffset.y =
            static_cast<int32_t>(std::clamp<int64_t>(dy, -kRelativeLimit, kRelativeLimit));
        platform::SetCursorPosition(state.recentre.x, state.recentre.y);
        state.lastRaw = state.recentre;
        return;
    }

    MousePosition raw{std::max(cursorX - g_presentRect.left, 0),
                      std::max(cursorY - g_presentRect.top, 0)};
    if (raw.x != state.lastRaw.x || raw.y != state.lastRaw.y) {
        state.lastMovement = {raw.x - state.lastRaw.x, raw.y - state.lastRaw.y};
        QueueInput(EVT_MOUSEMOVE, 0, 0, raw.x, raw.y);
        state.lastMoveTick = g_gameTimer ? g_gameTimer->gameTicks.load() : 0;
    }
    state.lastRaw = raw;

    // Before the first mode there is no screen: the game's 800 x 600.
    const int32_t width = g_screen ? g_screen->width : 800;
    const int32_t height = g_screen ? g_screen->height : 600;
    g_mousePos = {std::clamp(raw.x, 0, std::max(width - 1, 0)),
                  std::clamp(raw.y, 0, std::max(height - 1, 0))};

    if (state.leftHeld)
        QueueInput(EVT_MOUSELBHELD, 0, 0, g_mousePos.x, g_mousePos.y);
}

bool IsMouseButtonHeld() {
    return g_inputState.leftHeld != 0;
}
