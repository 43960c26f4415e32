#include "platform/null/VirtualTimer.h"

#include <algorithm>

namespace platform {

uint32_t VirtualTimer::Now() {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<uint32_t>(m_now);
}

void VirtualTimer::Advance(uint32_t ms) {
    std::unique_lock<std::mutex> guard(m_lock);
    const uint64_t target = m_now + ms;
    for (;;) {
        auto next = m_events.end();
        for (auto it = m_events.begin(); it != m_events.end(); ++it)
            if (it->second.due <= target &&
                (next == m_events.end() || it->second.due < next->second.due))
                next = it;
        if (next == m_events.end())
            break;
        const uint32_t id = next->first;
        const Event event = next->second;
        m_events.erase(next);
        if (event.due > m_now)
            m_now = event.due;
        guard.unlock();
        event.callback(id, event.user);
        guard.lock();
    }
    m_now = target;
}

uint32_t VirtualTimer::SetEvent(uint32_t delayMs, Callback callback, void* user) {
    if (!callback)
        return 0;
    std::lock_guard<std::mutex> guard(m_lock);
    uint32_t id = m_nextId;
    while (id == 0 || m_events.count(id))
        ++id;
    m_nextId = id + 1;
    // At least a millisecond ahead: an event that starts itself again with 0
    // would otherwise keep one advance running for ever.
    m_events[id] = {m_now + std::max(delayMs, 1u), callback, user};
    return id;
}

bool VirtualTimer::KillEvent(uint32_t eventId) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_events.erase(eventId) != 0;
}

} // namespace platform
