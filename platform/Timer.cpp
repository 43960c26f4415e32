#include "platform/Timer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/VirtualClock.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

struct TimerEvent {
    Clock::time_point due;
    TimerCallback callback;
    void* user;
};

// One thread fires every event. The service itself is never destroyed (a
// call during static destruction still finds it); its thread is stopped and
// joined at exit by g_stopAtExit.
class TimerService {
public:
    uint32_t Set(uint32_t delayMs, TimerCallback callback, void* user) {
        if (!callback)
            return 0;
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_stopped)
            return 0;
        if (!m_thread.joinable()) {
            try {
                m_thread = std::thread([this] { Run(); });
                m_threadId = m_thread.get_id();
            } catch (const std::system_error&) {
                return 0;
            }
        }
        uint32_t id = m_nextId;
        while (id == 0 || id == m_runningId || m_events.count(id))
            ++id;
        m_nextId = id + 1;
        m_events[id] = {Clock::now() + std::chrono::milliseconds(delayMs), callback, user};
        m_wake.notify_all();
        return id;
    }

    bool Kill(uint32_t id) {
        std::unique_lock<std::mutex> lock(m_lock);
        if (m_events.erase(id) != 0) {
            m_wake.notify_all();
            return true;
        }
        if (id == 0 || id != m_runningId)
            return false;
        // Its callback is running: wait until it has returned, unless this is
        // the callback itself.
        if (std::this_thread::get_id() != m_threadId)
            m_done.wait(lock, [&] { return m_runningId != id; });
        return true;
    }

    void Stop() {
        std::thread thread;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_stopped = true;
            m_events.clear();
            thread = std::move(m_thread);
        }
        m_wake.notify_all();
        if (!thread.joinable())
            return;
        if (std::this_thread::get_id() == thread.get_id())
            thread.detach(); // the program ends from within a callback
        else
            thread.join();
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_lock);
        while (!m_stopped) {
            if (m_events.empty()) {
                m_wake.wait(lock);
                continue;
            }
            // The earliest event; on equal times the oldest id (map order).
            auto next = m_events.begin();
            for (auto it = m_events.begin(); it != m_events.end(); ++it)
                if (it->second.due < next->second.due)
                    next = it;
            if (Clock::now() < next->second.due) {
                // A copy: the event may be killed while this waits.
                Clock::time_point due = next->second.due;
                m_wake.wait_until(lock, due);
                continue;
            }
            uint32_t id = next->first;
            TimerEvent event = next->second;
            m_events.erase(next);
            m_runningId = id;
            lock.unlock();
            event.callback(id, event.user);
            lock.lock();
            m_runningId = 0;
            m_done.notify_all();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake; // new events, kills and the stop
    std::condition_variable m_done; // a callback has returned
    std::map<uint32_t, TimerEvent> m_events;
    std::thread m_thread;
    std::thread::id m_threadId;
    uint32_t m_nextId = 1;
    uint32_t m_runningId = 0;
    bool m_stopped = false;
};

TimerService& Service() {
    static TimerService* service = new TimerService;
    return *service;
}

struct StopAtExit {
    ~StopAtExit() { Service().Stop(); }
} g_stopAtExit;

} // namespace

bool TimeGetDevCaps(TimerCaps& caps) {
    caps = {1, 1000000};
    return true;
}

void TimeBeginPeriod(uint32_t) {}

uint32_t TimeSetEvent(uint32_t delayMs, TimerCallback callback, void* user) {
    if (VirtualClockOn())
        return VirtualSetEvent(delayMs, callback, user);
    return Service().Set(delayMs, callback, user);
}

bool TimeKillEvent(uint32_t eventId) {
    if (VirtualClockOn())
        return VirtualKillEvent(eventId);
    return Service().Kill(eventId);
}

} // namespace platform
