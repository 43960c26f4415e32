#include "platform/VirtualClock.h"

#include <cstdlib>

#include "platform/null/VirtualTimer.h"

namespace platform {

namespace {

VirtualTimer& Timer() {
    static VirtualTimer* timer = new VirtualTimer; // outlives static destruction
    return *timer;
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
    return Timer().Now();
}

void AdvanceVirtualClock(uint32_t ms) {
    if (!VirtualClockOn())
        return;
    Timer().Advance(ms);
}

uint32_t VirtualSetEvent(uint32_t delayMs, void (*callback)(uint32_t, void*), void* user) {
    return Timer().SetEvent(delayMs, callback, user);
}

bool VirtualKillEvent(uint32_t eventId) {
    return Timer().KillEvent(eventId);
}

} // namespace platform
