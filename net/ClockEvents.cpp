#include "net/ClockEvents.h"

#include <cmath>

#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/DisplayList.h"
#include "engine/Drawable.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"

std::function<int(COVEvent&)> g_animationDispatch;

namespace {

// The engine's drawables find the ticks of this message through the reader.
const bool g_animationTicksRegistered = [] {
    g_animationTicksReader = [](const COVEvent& event, uint32_t& ticks) {
        if (event.GetType() != EVT_TICK_ANIMATIONS)
            return false;
        ticks = event.Payload().Get(COVTickAnimationsEvent::kElapsed);
        return true;
    };
    return true;
}();

} // namespace

COVTickAnimationsEvent::COVTickAnimationsEvent(uint32_t elapsedInterrupts)
    : COVEvent(kSize, EVT_TICK_ANIMATIONS, g_broadcastId) {
    Payload().Set(kElapsed, elapsedInterrupts);
}

int COVTickAnimationsEvent::Execute() {
    return g_animationDispatch ? g_animationDispatch(*this) : DispatchToDisplayList(*this);
}

namespace {

uint32_t TicksPerDayOfSpeed(uint32_t speed) {
    if (speed >= g_gameSpeedTicksPerDay.size()) {
        DebugPrint("Array bounds violation.\n");
        speed = 0;
    }
    return g_gameSpeedTicksPerDay[speed];
}

} // namespace

int CGameTimer::Update() {
    const uint32_t ticksNow = gameTicks;
    ticksNoted = ticksNow;
    if (g_config)
        ticksPerDay = TicksPerDayOfSpeed(g_config->GetWord(ConfigOffset::kGameSpeed));

    const uint32_t interruptsNow = interrupts;
    const auto elapsed = static_cast<int32_t>(interruptsNow - interruptsSeen);
    interruptsSeen = interruptsNow;
    if (elapsed < 1)
        return 0;
    ExecuteEvent(std::make_unique<COVTickAnimationsEvent>(static_cast<uint32_t>(elapsed)));

    if (!IsHost())
        return 0;

    // While the earliest dated message is overdue the calendar waits for the
    // scheduler; the ticks of the wait are not made up later.
    const COVEvent* earliest = g_scheduler.PeekTimed();
    if ((!earliest || earliest->GetDueDate().IsAfter(currentDate)) && ticksPerDay != 0) {
        const auto ticks = static_cast<int32_t>(ticksNow - ticksTaken);
        const double days = static_cast<double>(ticks) / static_cast<double>(ticksPerDay);
        dayFraction = static_cast<float>(static_cast<double>(dayFraction) + days);
    }
    ticksTaken = ticksNow;

    if (!(dayFraction >= 1.0f))
        return 0;
    const float whole = std::trunc(dayFraction);
    dayFraction -= whole;
    const uint32_t days = whole > static_cast<float>(kMaxDaysPerMessage)
                              ? kMaxDaysPerMessage
                              : static_cast<uint32_t>(whole);
    PostAndSendEventNow(std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, days));
    return 0;
}

void CGameTimer::AdvanceDays(uint32_t days) {
    CDate& date = currentDate;
    const int month = date.month;
    const int year = date.year;
    date.AddDays(static_cast<int32_t>(days));

    const CDate last(0, 0, kLastYear);
    if (date.IsAfter(last)) {
        date = last;
        return;
    }
    const CDate first(0, 0, kFirstYear);
    if (!date.IsNotBefore(first))
        date = first;

    if (date.month != month)
        ExecuteEvent(std::make_unique<COVTimerEvent>(EVT_TIMER_MONTH, g_broadcastId, date));
    if (date.year != year) {
        ExecuteEvent(std::make_unique<COVTimerEvent>(EVT_TIMER_YEAR, g_broadcastId, date));
        ExecuteEvent(std::make_unique<COVSimpleEvent>(EVT_UNNAMED_177, g_broadcastId));
    }
}

void RunTickLoop() {
    ExecuteEvent(std::make_unique<COVSimpleEvent>(EVT_TIMER_TICK_LOOP, g_broadcastId));
}
