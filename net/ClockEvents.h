#pragma once
// The clock messages: the game clock's ticks become animation ticks and day
// messages, and the day messages move the calendar and make the month and
// year messages.
//
// Days advance only through the day message ("_COVEVT_TIMER_DATE_"), which
// the host sends to every machine, so every machine steps its calendar in
// the same order; each machine makes its own month and year messages.
#include <cstdint>
#include <functional>

#include "net/Event.h"

class CGameTimer;

// The most days one day message carries; the rest of a longer stall is
// dropped.
constexpr uint32_t kMaxDaysPerMessage = 10;

// The calendar's bounds: day 0 of January 1492 and of January 1793.
constexpr int kFirstYear = 1492;
constexpr int kLastYear = 1793;

// "_COVEVT_TICK_ANIMATIONS_" for everybody: the timer interrupts since the
// last one. Never sent: carrying it out hands it to the animation dispatch.
class COVTickAnimationsEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    static constexpr PayloadField<uint32_t> kElapsed{"elapsed", 20};
    static constexpr PayloadFieldInfo kFields[] = {kElapsed};

    explicit COVTickAnimationsEvent(uint32_t elapsedInterrupts);
    uint32_t GetElapsed() const { return Payload().Get(kElapsed); }
    int Execute() override;
};

// Where animation ticks go instead of the display list's event dispatch
// (DispatchToDisplayList); empty: to the display list.
extern std::function<int(COVEvent&)> g_animationDispatch;

// CGameTimer::Update and CGameTimer::AdvanceDays are defined in ClockEvents.cpp.

// The end of every frame of the game and the front end: carries out
// "_COVEVT_TIMER_TICK_LOOP_" for everybody at once on this machine only.
void RunTickLoop();
