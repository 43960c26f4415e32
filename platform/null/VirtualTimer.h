#pragma once
// The timer and clock of the virtual clock (platform/VirtualClock.h): a time
// in milliseconds that stands still until it is advanced, and one-shot
// events that run on the thread that advances it, in the order of their due
// times (equal times: the older event first), so that runs repeat exactly.
// Every call is safe from any thread; no lock is held while an event runs.
#include <cstdint>
#include <map>
#include <mutex>

namespace platform {

class VirtualTimer {
public:
    using Callback = void (*)(uint32_t eventId, void* user);

    // The time in milliseconds; it starts at 1000.
    uint32_t Now();
    // Moves the time on by ms, running every event that falls due on the
    // way at its due time (an event started by a callback runs too when it
    // falls due in time); the time ends at the old time + ms.
    void Advance(uint32_t ms);
    // An event that runs once, delayMs (at least 1) after now. Answers its
    // id, never 0; 0 without a callback.
    uint32_t SetEvent(uint32_t delayMs, Callback callback, void* user);
    // False for an unknown id or an event that has run.
    bool KillEvent(uint32_t eventId);

private:
    struct Event {
        uint64_t due;
        Callback callback;
        void* user;
    };

    std::mutex m_lock; // guards the fields below
    uint64_t m_now = 1000;
    std::map<uint32_t, Event> m_events;
    uint32_t m_nextId = 1;
};

} // namespace platform
