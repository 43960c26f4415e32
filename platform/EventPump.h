#pragma once
// The event pump: the window system's events become the window messages the
// game's window procedure takes, one at a time, never waiting. Keys carry
// the Windows virtual key codes; mouse positions are points of the logical
// picture (800 x 600 in the game's mode), whatever the window's size.
//
// With an SDL display the pump takes SDL's events; with the null display
// (or none) only the messages posted with PostWindowMessage arrive.
#include <cstdint>

namespace platform {

enum class MessageType : uint8_t {
    KeyDown,               // code: virtual key; data: the key data word
    KeyUp,                 // code: virtual key; data: the key data word
    Char,                  // code: the character (0..255); data: the key data word
    LeftButtonDown,        // data: button flags; x, y
    LeftButtonUp,          // data: button flags; x, y
    LeftButtonDoubleClick, // the second press of a double click; data, x, y
    RightButtonDown,       // data: button flags; x, y
    RightButtonUp,         // data: button flags; x, y
    MouseWheel,            // wheel; data: button flags; x, y: the pointer
    ActivateApp,           // code: 1 activated, 0 deactivated
    Quit,                  // the window was closed or the program asked to end
    MciNotify,             // a music track ended; code: 1 (played to its end); data: the device id
};

// Button flags of mouse messages: the buttons and keys held after the event.
constexpr uint32_t kMouseFlagLeft = 0x01;
constexpr uint32_t kMouseFlagRight = 0x02;
constexpr uint32_t kMouseFlagShift = 0x04;
constexpr uint32_t kMouseFlagControl = 0x08;

// The key data word: the repeat count (1) in bits 0-15; bit 30 set when the
// key was already down (auto-repeat); bit 31 set on a key-up.
constexpr uint32_t kKeyDataRepeat = 1u << 30;
constexpr uint32_t kKeyDataRelease = 1u << 31;

constexpr int32_t kWheelDelta = 120; // one notch; positive away from the user

struct WindowMessage {
    MessageType type = MessageType::Quit;
    uint32_t code = 0;
    uint32_t data = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
};

// Takes the next waiting message (after reading the window system's
// events); false when none waits. Never blocks. The waiting messages are
// guarded: other threads may post (and clear) while the main thread polls.
bool PollWindowMessage(WindowMessage& message);
// Appends a message to the waiting ones (a quit, or input for tests).
void PostWindowMessage(const WindowMessage& message);
// Drops every waiting message.
void ClearWindowMessages();
// Drops the waiting messages of the type that carry the data word (a
// music device's end notices when its playing is stopped or replaced).
void DropWindowMessages(MessageType type, uint32_t data);

// The pointer, as a point of the logical picture. Setting it moves the
// window's pointer there as well.
void GetCursorPosition(int32_t& x, int32_t& y);
void SetCursorPosition(int32_t x, int32_t y);

// The logical picture the pointer moves over (set by the display's mode):
// mouse button messages are held within it.
void SetPointerArea(int32_t width, int32_t height);

// The Windows virtual key code of an SDL key code; 0 for keys the game does
// not know.
uint32_t VirtualKeyOfSdlKey(int32_t sdlKey);

} // namespace platform
