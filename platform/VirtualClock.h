#pragma once
// The virtual clock of the headless driver. With ORVANDEL_VIRTUAL_CLOCK set
// to a number of milliseconds, time stands still except where the program
// moves it: the main loop advances it by that many milliseconds a pass, and
// SleepMilliseconds advances it instead of waiting. Milliseconds then
// answers the virtual time, and the multimedia timer's events run on the
// thread that advances the clock, in the order of their due times (equal
// times: the older event first), so runs repeat exactly. The time and the
// events are those of one VirtualTimer (platform/null/VirtualTimer.h).
#include <cstdint>

namespace platform {

// True when ORVANDEL_VIRTUAL_CLOCK holds a positive number.
bool VirtualClockOn();
// The milliseconds a main loop pass advances the clock (0 when off).
uint32_t VirtualFrameMilliseconds();
// The virtual time in milliseconds.
uint32_t VirtualMilliseconds();
// Moves the virtual time on, running every timer event that falls due on
// the way (an event armed by a callback runs too when it falls due in
// time). Nothing when the clock is off.
void AdvanceVirtualClock(uint32_t ms);

// The virtual clock's timer events (the multimedia timer uses them when the
// clock is on); same contract as TimeSetEvent and TimeKillEvent.
uint32_t VirtualSetEvent(uint32_t delayMs, void (*callback)(uint32_t eventId, void* user),
                         void* user);
bool VirtualKillEvent(uint32_t eventId);

} // namespace platform
