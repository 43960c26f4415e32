#pragma once
// Input events: every key press, character and mouse action becomes a
// message for g_broadcastId with an all-zero date, queued on the
// scheduler's input list and run at the start of the next frame. They never
// travel (send 0, local 1).
//
// Payload, 40 bytes: the head, the key code (0 for mouse events), the key
// data word, the button flags of a mouse event or the wheel's turn in
// notches (positive away from the player), the position in screen pixels (0
// for key events), and what a key event's code is: a typed character or one
// of the game's mapped keys (F1 to F10 share their codes with Latin-1
// letters).
#include <cstdint>
#include <memory>

#include "net/Event.h"
#include "net/MousePosition.h"

class CInputEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    static constexpr PayloadField<uint32_t> kCode{"code", 20};
    static constexpr PayloadField<uint32_t> kData{"data", 24};
    static constexpr PayloadField<int32_t> kX{"x", 28};
    static constexpr PayloadField<int32_t> kY{"y", 32};
    static constexpr PayloadField<uint32_t> kKeyKind{"keyKind", 36};
    static constexpr PayloadFieldInfo kFields[] = {kCode, kData, kX, kY, kKeyKind};

    // Values of kKeyKind.
    static constexpr uint32_t kNotAKey = 0; // mouse and tick events, or made elsewhere
    static constexpr uint32_t kTypedCharacter = 1;
    static constexpr uint32_t kMappedKey = 2;

    // Type and receiver written, date zero, the fields zero.
    CInputEvent(uint32_t type, const ObjectId& receiver);
    CInputEvent(uint32_t type, const ObjectId& receiver, uint32_t code, uint32_t data, int32_t x,
                int32_t y);
    explicit CInputEvent(const COVEvent& m) : COVEvent(m) {}

    // Hands the event to the game frame (its slot of the broadcast chain,
    // net/Receivers.h); no receiver lookup, no network copy, no script
    // hooks. Answers the game frame's answer (EVENT_NOT_HANDLED without one).
    int Execute() override;

    uint32_t GetCode() const { return Payload().Get(kCode); }
    uint32_t GetData() const { return Payload().Get(kData); }
    int32_t GetX() const { return Payload().Get(kX); }
    int32_t GetY() const { return Payload().Get(kY); }
    uint32_t GetKeyKind() const { return Payload().Get(kKeyKind); }
    void SetKeyKind(uint32_t kind) { Payload().Set(kKeyKind, kind); }
    void SetCode(uint32_t code) { Payload().Set(kCode, code); }
    void SetData(uint32_t data) { Payload().Set(kData, data); }
    void SetPosition(int32_t x, int32_t y) {
        Payload().Set(kX, x);
        Payload().Set(kY, y);
    }
};

// g_mousePos (net/MousePosition.h) is the pointer clamped to the screen, as
// the last poll left it.

// The input state the polls and key functions keep.
struct InputState {
    MousePosition lastRaw; // the pointer of the previous poll, relative to the present rectangle
    MousePosition lastMovement; // between the last two different raw positions
    MousePosition
        relativeOffset;       // relative mode: the movement summed up, each axis within -100..100
    MousePosition recentre;   // relative mode: where the pointer goes back after each poll
    uint8_t relativeMode = 0; // the mouse steers instead of pointing
    uint8_t leftHeld = 0;     // kept by the window procedure
    uint8_t shiftHeld = 0;
    uint8_t ctrlHeld = 0;
    uint32_t lastMoveTick = 0; // the game clock's tick count at the last movement
};

extern InputState g_inputState;

// Queues a key event (type EVT_KEYUP) with the character as its code,
// marked a typed character; none for character 17.
void PostCharEvent(uint32_t character, uint32_t data);
// Translates a virtual key (Shift and Ctrl only set their held flags) and
// queues a key event with the code, marked a mapped key; keys the game does not use make
// nothing. F12 without Shift hands a console toggle (EVT_TOGGLE_CONSOLE)
// straight to the console (g_directReceivers.console) instead.
void PostKeyDownEvent(int32_t virtualKey, uint32_t data);
// 16 clears Shift held, 17 clears Ctrl held.
void OnKeyUp(int32_t virtualKey);

// Once per frame before the input list runs: mouse movement and the held
// left button become input events; in relative mode the movement is summed
// up and the pointer put back instead.
void PollMouse();

bool IsMouseButtonHeld();
