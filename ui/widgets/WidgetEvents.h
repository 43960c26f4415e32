#pragma once
// What widgets read of an event: its kind, and for input events the key
// code, the data word (the wheel's turn in notches for the wheel event) and
// the pointer position. Events without an input payload (the frame tick,
// the animation tick) answer 0 for the input fields.
#include <cstdint>

class COVEvent;

namespace widget {

// The event kinds widgets take.
constexpr uint32_t kWheel = 12;
constexpr uint32_t kMouseMove = 13;
constexpr uint32_t kLeftUp = 14;
constexpr uint32_t kRightUp = 15;
constexpr uint32_t kLeftDown = 17;
constexpr uint32_t kLeftHeld = 18;
constexpr uint32_t kDoubleClick = 19;
constexpr uint32_t kKey = 20;
constexpr uint32_t kFrameTick = 23;
constexpr uint32_t kAnimationTick = 24;

uint32_t Kind(const COVEvent& event);
uint32_t KeyCode(const COVEvent& event);
int32_t Data(const COVEvent& event);
int32_t PointerX(const COVEvent& event);
int32_t PointerY(const COVEvent& event);
// True for a key event that carries a typed character (not one of the
// game's mapped keys). An event that does not say which it is counts as a
// character only for the codes 32 to 126, which no mapped key uses.
bool IsTypedCharacter(const COVEvent& event);

// The game timer's interrupt count (15 ms steps); 0 without a timer.
uint32_t Now();
// The pointer as the last poll left it.
int32_t MouseX();
int32_t MouseY();
// Plays an interface sound when there is a sound player.
void PlaySound(int32_t id);

} // namespace widget
