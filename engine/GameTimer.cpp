#include "engine/GameTimer.h"

#include <algorithm>
#include <mutex>

#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/SoundPattern.h"
#include "platform/Timer.h"

std::unique_ptr<CGameTimer> g_gameTimer;

namespace {

// Guards the hand-over of the event id: between arming an event and storing
// its id, and between the callback's check of its id and its arming of the
// next event. A callback never arms a new event once the id has been taken
// away (StopGameTimer), so no event outlives the clock. Never held while
// waiting for a callback.
std::mutex g_eventIdLock;

void ArmNextEvent(CGameTimer& clock) {
    clock.eventId = platform::TimeSetEvent(clock.period, GameTimerCallback, &clock);
}

// Takes the pending event away and kills it; when its callback is running,
// waits until it has returned. Answers the id that was pending (0 = none).
uint32_t Disarm(CGameTimer& clock) {
    uint32_t id;
    {
        std::lock_guard<std::mutex> lock(g_eventIdLock);
        id = clock.eventId.exchange(0);
    }
    if (id != 0)
        platform::TimeKillEvent(id);
    return id;
}

} // namespace

void CGameTimer::SetDate(const CDate& date) {
    gameTicks = static_cast<uint32_t>(date.ToTicks());
    currentDate = date;
}

void CGameTimer::Resume() {
    if (IsGameRunning() && !IsWaitingForStart() && !IsGamePaused())
        running = 1;
}

bool StartGameTimer(uint32_t periodMs) {
    if (g_gameTimer)
        Disarm(*g_gameTimer);
    g_gameTimer = std::make_unique<CGameTimer>(periodMs);
    CGameTimer& clock = *g_gameTimer;

    platform::TimerCaps caps{};
    if (!platform::TimeGetDevCaps(caps))
        return false;
    platform::TimeBeginPeriod(std::min(std::max(caps.periodMin, 1u), caps.periodMax));

    clock.gameTicks = 1;
    clock.interrupts = 1;
    clock.interruptsSeen = 1;
    std::lock_guard<std::mutex> lock(g_eventIdLock);
    ArmNextEvent(clock);
    return clock.eventId != 0;
}

void GameTimerCallback(uint32_t eventId, void* user) {
    auto& clock = *static_cast<CGameTimer*>(user);
    {
        std::lock_guard<std::mutex> lock(g_eventIdLock);
        if (eventId != clock.eventId)
            return; // a late call of an event that was killed
    }
    platform::TimeKillEvent(eventId);
    ++clock.interrupts;
    if (clock.running)
        ++clock.gameTicks;
    g_patternPlayer.Tick();

    std::lock_guard<std::mutex> lock(g_eventIdLock);
    if (clock.eventId == eventId)
        ArmNextEvent(clock);
}

void StopGameTimer() {
    if (!g_gameTimer)
        return;
    if (Disarm(*g_gameTimer) == 0)
        CriticalError("Timer didn't shut down properly\r\n");
    g_gameTimer.reset();
}
