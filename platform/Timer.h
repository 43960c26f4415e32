#pragma once
// The multimedia timer: one-shot timer events fired on a timer thread of
// their own. A callback may kill its own event and start the next one.
// With the virtual clock (platform/VirtualClock.h) the events run instead
// on the thread that advances that clock.
#include <cstdint>

namespace platform {

struct TimerCaps {
    uint32_t periodMin; // milliseconds
    uint32_t periodMax;
};

bool TimeGetDevCaps(TimerCaps& caps);
void TimeBeginPeriod(uint32_t periodMs);

using TimerCallback = void (*)(uint32_t eventId, void* user);

// Starts a one-shot event that calls the callback once after delayMs on the
// timer thread. Answers its id, never 0; 0 when it could not be started.
uint32_t TimeSetEvent(uint32_t delayMs, TimerCallback callback, void* user);

// Cancels an event. When its callback is running on the timer thread, waits
// until it has returned (unless called from that callback) and answers true.
// False for 0, an unknown id or an event whose callback has returned.
bool TimeKillEvent(uint32_t eventId);

} // namespace platform
