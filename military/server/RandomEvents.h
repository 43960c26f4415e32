#pragma once
// The random events of the major countries and the routing of random and
// history events to the event objects that carry them out. Each major
// country has one pending random event at a time, 24 to 47 months ahead,
// drawn on the host and scheduled on every machine; when it comes due the
// host has the event's object carry it out for the country and draws the
// country's next one. The event objects stand under {7, n}: random events
// are numbers 1 to 59, history events 101, 102, 204, 302, 1101 and 401.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ObjectId.h"
#include "net/Event.h"

class CCsvReader;

// An event object. The game's dialogs make their own kinds of them (the
// event windows) through g_randomEventHooks; without those the plain object
// stands for the event, and what carrying it out does is the hook's.
class CGameEventObject : public CIdEntity, public CMessageReceiver {
public:
    static constexpr int32_t kRandomEvent = 1;
    static constexpr int32_t kHistoryEvent = 2;

    // Registered under {7, number}.
    CGameEventObject(uint32_t number, int32_t kind);

    int32_t GetEventKind() const { return m_kind; }
    // "_COVEVT_EXECUTE_EVENT_" addressed to the object: carried out through
    // g_randomEventHooks.carryOut (nothing without it). EVENT_CONSUMED.
    int HandleMessage(COVEvent& event) override;

    // Set while the event was fired from the console: it starts no next
    // event of its country.
    uint8_t firedByCommand = 0;
    // The country the event concerns now.
    uint32_t country = 0;

private:
    int32_t m_kind;
};

// What the layers above fill; null entries answer as a game without them.
struct RandomEventHooks {
    // A new event object of the number and kind (1 random, 2 history),
    // registered under {7, number}; null: the plain object is made.
    CGameEventObject* (*makeEventObject)(uint32_t number, int32_t kind) = nullptr;
    // The event object carries the event out for the message's subject.
    void (*carryOut)(CGameEventObject& object, COVEvent& event) = nullptr;
    // "_COVEVT_START_EVENT_" for the country of the number, when it is played
    // here or answers events itself.
    void (*startEvent)(uint32_t country, COVEvent& event) = nullptr;
};
// Constant-initialised (all null) before any static registration runs.
extern RandomEventHooks g_randomEventHooks;

class CRandomEvents {
public:
    static constexpr uint32_t kEventNumbers = 100;
    // Random events are drawn among 1..59.
    static constexpr uint32_t kDrawnNumbers = 59;
    static constexpr uint32_t kFirstMonths = 24;
    static constexpr uint32_t kMonthSpread = 24;

    // Reads "db\RandomEvents.csv" and makes the 50 random-event objects and
    // the 6 history-event objects.
    CRandomEvents();
    ~CRandomEvents();
    CRandomEvents(const CRandomEvents&) = delete;
    CRandomEvents& operator=(const CRandomEvents&) = delete;

    // The file's header row, then a row per event number 1..100: the number
    // and the event's name. Rows beyond the file stay nameless. A row whose
    // number is not the expected one is reported (the log) and taken as
    // the expected number's. Answers the rows read.
    uint32_t ReadTable(CCsvReader& reader);

    // On the host: the country's next random event, months = 24..47 ahead,
    // number drawn 1..59 (a number without an event takes the next that
    // has one, 60 wrapping to 1), sent to every machine's scheduler. No
    // event when none of 1..59 has one. The three draws come in the order
    // months, number, the event's random value.
    void Roll(uint32_t country);
    // Runs the random event n (1 or more, with an object) for the country
    // now, marked as fired from the console: it starts no next roll.
    void Fire(uint32_t country, uint32_t n);
    // "_COVEVT_EXECUTE_EVENT_" and "_COVEVT_START_EVENT_" from the game
    // server: 3 when handled, else 0.
    int HandleEvent(COVEvent& event);
    // A due event: a history event runs for the country played here; a
    // random event takes its country and, on the host, runs and draws the
    // country's next event.
    void Execute(COVEvent& event);

    void AddLogWindow(CGameEventObject* object) { m_randomEvents.push_back(object); }
    void AddPopupWindow(CGameEventObject* object) { m_historyEvents.push_back(object); }

    // The event object of the number; null when none.
    static CGameEventObject* FindEvent(uint32_t number);
    // The name the table gives the event number 1..100, empty for none.
    const std::string& GetEventName(uint32_t number) const;

private:
    std::vector<CGameEventObject*> m_randomEvents;
    std::vector<CGameEventObject*> m_historyEvents;
    std::array<std::string, kEventNumbers + 1> m_names;
};

// Made with the scenario's servers; null while no scenario runs.
extern std::unique_ptr<CRandomEvents> g_randomEvents;
