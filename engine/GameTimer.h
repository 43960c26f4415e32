#pragma once
// The game clock. A one-shot multimedia timer event calls GameTimerCallback
// on the timer thread every period (15 ms); each call counts one interrupt
// and, while the clock runs, one game tick, and arms the next event. The
// main thread turns the ticks into days at the rate of the game speed.
//
// The fields the callback writes (game ticks, interrupts, event id) and the
// running flag are atomic: the main thread reads them while the timer thread
// writes them. Everything else belongs to the main thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/Date.h"

// Ticks per day by the game speed word of the settings (0..7); at the
// default speed 2 a day lasts 133 ticks, about two seconds.
inline constexpr std::array<uint32_t, 8> g_gameSpeedTicksPerDay = {512, 266, 133, 67,
                                                                   34,  17,  11,  6};

class CGameTimer {
public:
    explicit CGameTimer(uint32_t periodMs) : period(periodMs) {}
    CGameTimer(const CGameTimer&) = delete;
    CGameTimer& operator=(const CGameTimer&) = delete;

    // Game ticks become the ticks of the date from the scenario's start; the
    // current date becomes the date.
    void SetDate(const CDate& date);
    // Sets the clock running when a game is running, the scenario is not
    // waiting for its start and the game is not paused; otherwise leaves it.
    void Resume();
    const CDate& GetDate() const { return currentDate; }

    // Once per pass of the running game and of the front end: makes the
    // animation tick for the timer interrupts since the last pass and, on the
    // host, turns the game ticks into whole days and posts them as a day
    // message (sent to everybody, at most 10 days a message). While the
    // earliest dated message is overdue the calendar waits. Answers 0.
    int Update();
    // The game server's answer to a day message: adds the days to the
    // current date within the calendar's bounds and carries out the month and
    // year messages (and the head-only type 177) as the date crosses a month
    // or a year. A step past the last day stops there without them.
    // (Both live with the clock messages, in net/ClockEvents.cpp.)
    void AdvanceDays(uint32_t days);

    uint32_t ticksPerDay = 66;
    std::atomic<uint32_t> gameTicks{0}; // counted while running
    // The game ticks as Update read them at its start (every call notes
    // them); the game frame's lag accounting counts from here.
    uint32_t ticksNoted = 0;
    uint32_t ticksTaken = 0;  // game ticks already turned into days
    float dayFraction = 0.0f; // part of a day not yet advanced
    CDate currentDate;
    uint32_t ticksPerMonth = 66 * 30;
    std::atomic<uint32_t> eventId{0}; // the pending timer event; 0 when none
    std::atomic<uint8_t> running{0};
    std::atomic<uint32_t> interrupts{0}; // every callback, running or not
    uint32_t interruptsSeen = 0;         // the main loop's copy of interrupts
    uint32_t period;                     // milliseconds
};

// The clock; null until StartGameTimer.
extern std::unique_ptr<CGameTimer> g_gameTimer;

// Makes the clock (replacing one that exists) and starts its timer. False
// when the multimedia timer is missing or no event could be started (the
// clock stays).
bool StartGameTimer(uint32_t periodMs);

// The timer event's callback (timer thread); user is the clock. A call for
// an event that is not the clock's pending one changes nothing.
void GameTimerCallback(uint32_t eventId, void* user);

// Stops the timer and deletes the clock; returns only once the timer thread
// is done with it. A clock without a pending event shows the fatal box
// "Timer didn't shut down properly" first.
void StopGameTimer();
