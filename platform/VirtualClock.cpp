#include "platform/VirtualClock.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>

namespace platform {

namespace {

struct VirtualEvent {
    uint64_t due;
    void (*callback)(uint32_t, void*);
    void* user;
};

struct VirtualClockState {
    std::mutex lock; // guards the fields below; never held while a callback runs
    uint64_t now = 1000;
    std::map<uint32_t, VirtualEvent> events;
    uint32_t nextId = 1;
};

VirtualClockState& State() {
    static VirtualClockState* state = new VirtualClockState; // outlives static destruction
    return *state;
}

uint32_t ReadFrameMilliseconds() {
    const char* value = std::getenv("ORVANDEL_VIRTUAL_CLOCK");
    if (!value || !*value)
        return 0;
    char* end = nullptr;
    long ms = std::strtol(value, &end, 10);
    return *end == '\0' && ms > 0 && ms <= 1000 ? static_cast<uint32_t>(ms) : 0;
}

} // namespace

uint32_t VirtualFrameMilliseconds() {
    static const uint32_t frameMs = ReadFrameMilliseconds();
    return frameMs;
}

bool VirtualClockOn() {
    return VirtualFrameMilliseconds() != 0;
}

uint32_t VirtualMilliseconds() {
    VirtualClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return static_cast<uint32_t>(state.now);
}

void AdvanceVirtualClock(uint32_t ms) {
    if (!VirtualClockOn())
        return;
    VirtualClockState& state = State();
    std::unique_lock<std::mutex> guard(state.lock);
    const uint64_t target = state.now + ms;
    for (;;) {
        auto next = state.events.end();
        for (auto it = state.events.begin(); it != state.events.end(); ++it)
            if (it->second.due <= target &&
                (next == state.events.end() || it->second.due < next->second.due))
                next = it;
        if (next == state.events.end())
            break;
        const uint32_t id = next->first;
        const VirtualEvent event = next->second;
        state.events.erase(next);
        if (event.due > state.now)
            state.now = event.due;
        guard.unlock();
        event.callback(id, event.user);
        guard.lock();
    }
    state.now = target;
}

uint32_t VirtualSetEvent(uint32_t delayMs, void (*callback)(uint32_t, void*), void* user) {
    if (!callback)
        return 0;
    VirtualClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    uint32_t id = state.nextId;
    while (id == 0 || state.events.count(id))
        ++id;
    state.nextId = id + 1;
    // At least a millisecond ahead: an event that re-arms itself with 0
    // would otherwise keep one advance of the clock running for ever.
    state.events[id] = {state.now + std::max(delayMs, 1u), callback, user};
    return id;
}

bool VirtualKillEvent(uint32_t eventId) {
    VirtualClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.events.erase(eventId) != 0;
}

} // namespace platform
