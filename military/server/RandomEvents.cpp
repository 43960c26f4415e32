#include "military/server/RandomEvents.h"

#include <charconv>
#include <cstring>

#include "country/Country.h"
#include "country/CountryTick.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/server/GameServer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Globals.h"

std::unique_ptr<CRandomEvents> g_randomEvents;
RandomEventHooks g_randomEventHooks;

namespace {

constexpr const char* kEventFile = "db\\RandomEvents.csv";

// The random events that have an object, and the history events.
constexpr uint32_t kRandomEventNumbers[] = {1,  2,  3,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                            17, 18, 20, 21, 22, 24, 25, 26, 27, 28, 29, 30, 31,
                                            32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
                                            45, 46, 47, 48, 49, 50, 52, 54, 57, 58, 59};
constexpr uint32_t kHistoryEventNumbers[] = {101, 102, 204, 302, 1101, 401};

void RaiseReformationEvent(int32_t randomNumber);

// The game server hands the events over; the countries roll their first
// event at the start of the game, which the host alone does.
const bool g_randomEventsRegistered = [] {
    g_gameServerHooks.randomEvent = [](COVEvent& event) {
        if (g_randomEvents)
            g_randomEvents->HandleEvent(event);
    };
    g_countryTick.rollRandomEvent = [](uint32_t country) {
        if (g_randomEvents)
            g_randomEvents->Roll(country);
    };
    g_raiseReformationEvent = &RaiseReformationEvent;
    return true;
}();

bool RandomEventsOn() {
    return g_config && g_config->GetWord(ConfigOffset::kRandomEvents) != 0;
}

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

ObjectId EventId(uint32_t number) {
    return ObjectId(kEntityIdType, number);
}

// "_COVEVT_EXECUTE_EVENT_" of the event for the subject with a new random
// value.
std::unique_ptr<COVEvent> ExecuteMessage(const ObjectId& receiver, const ObjectId& event,
                                         const ObjectId& subject) {
    auto message = std::make_unique<COVDataEvent>(EVT_EXECUTE_EVENT, receiver);
    message->Payload().Set(ExecuteEventPayload::kEvent, event);
    message->Payload().Set(ExecuteEventPayload::kSubject, subject);
    message->Payload().Set(ExecuteEventPayload::kRandom, static_cast<uint32_t>(GameRand()));
    return message;
}

// The country played at this machine; -1 for none.
int32_t LocalCountry() {
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (g_countries[n] && g_countries[n]->IsLocalHuman())
            return static_cast<int32_t>(n);
    return -1;
}

// The cell trimmed of blanks and a carriage return.
std::string Trimmed(const char* cell) {
    std::string text(cell);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    size_t start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    return text.substr(start);
}

// The yearly reformation event: event 7 for country 1, marked so that it
// draws no next event of its own.
void RaiseReformationEvent(int32_t randomNumber) {
    constexpr uint32_t kReformationEvent = 7;
    constexpr uint32_t kReformingCountry = 1;
    if (CGameEventObject* object = CRandomEvents::FindEvent(kReformationEvent))
        object->firedByCommand = 1;
    auto message = std::make_unique<COVDataEvent>(EVT_EXECUTE_EVENT, g_serverId);
    message->Payload().Set(ExecuteEventPayload::kEvent, EventId(kReformationEvent));
    message->Payload().Set(ExecuteEventPayload::kSubject, MakeCountryId(kReformingCountry));
    message->Payload().Set(ExecuteEventPayload::kRandom, static_cast<uint32_t>(randomNumber));
    ExecuteAndSendEvent(std::move(message));
}

} // namespace

CGameEventObject::CGameEventObject(uint32_t number, int32_t kind) : m_kind(kind) {
    SetIdParts(kEntityIdType, number);
}

int CGameEventObject::HandleMessage(COVEvent& event) {
    if (event.GetType() == EVT_EXECUTE_EVENT && g_randomEventHooks.carryOut)
        g_randomEventHooks.carryOut(*this, event);
    return EVENT_CONSUMED;
}

CRandomEvents::CRandomEvents() {
    CCsvReader reader(kEventFile);
    if (reader.IsOpen()) // a missing file has been shown by the reader
        ReadTable(reader);
    const auto make = [](uint32_t number, int32_t kind) {
        CGameEventObject* made = g_randomEventHooks.makeEventObject
                                     ? g_randomEventHooks.makeEventObject(number, kind)
                                     : nullptr;
        return made ? made : new CGameEventObject(number, kind);
    };
    for (uint32_t number : kRandomEventNumbers)
        AddLogWindow(make(number, CGameEventObject::kRandomEvent));
    for (uint32_t number : kHistoryEventNumbers)
        AddPopupWindow(make(number, CGameEventObject::kHistoryEvent));
}

CRandomEvents::~CRandomEvents() {
    for (CGameEventObject* object : m_randomEvents)
        delete object;
    for (CGameEventObject* object : m_historyEvents)
        delete object;
}

uint32_t CRandomEvents::ReadTable(CCsvReader& reader) {
    if (!reader.SkipLines(1))
        return 0;
    uint32_t rows = 0;
    for (uint32_t number = 1; number <= kEventNumbers; ++number) {
        char numberCell[32] = "";
        char nameCell[128] = "";
        if (!reader.ReadString(numberCell, sizeof numberCell) && numberCell[0] == '\0')
            break;
        if (!reader.LastCellEndedLine()) {
            const bool more = reader.ReadString(nameCell, sizeof nameCell);
            if (more && !reader.LastCellEndedLine())
                reader.SkipLines(1); // further cells of the row are not used
        }
        const std::string text = Trimmed(numberCell);
        uint32_t read = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), read);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size() || read != number)
            AppendToLog(std::string(kEventFile) + ": row " + std::to_string(number) +
                        " names event \"" + text + "\"");
        m_names[number] = Trimmed(nameCell);
        ++rows;
    }
    return rows;
}

const std::string& CRandomEvents::GetEventName(uint32_t number) const {
    return m_names[number <= kEventNumbers ? number : 0];
}

CGameEventObject* CRandomEvents::FindEvent(uint32_t number) {
    return dynamic_cast<CGameEventObject*>(ResolveId(EventId(number)));
}

void CRandomEvents::Roll(uint32_t country) {
    if (!IsHost())
        return;
    const auto months = static_cast<int32_t>(kFirstMonths + GameRand() % kMonthSpread);
    const uint32_t first = static_cast<uint32_t>(GameRand()) % kDrawnNumbers + 1;
    uint32_t n = first;
    CGameEventObject* object = FindEvent(n);
    while (!object) {
        n = n % kDrawnNumbers + 1;
        if (n == first)
            return;
        object = FindEvent(n);
    }
    object->firedByCommand = 0;
    auto message = ExecuteMessage(g_serverId, EventId(n), MakeCountryId(country));
    CDate due = Today();
    due.AddMonths(months);
    PostEventAtAndSend(std::move(message), due);
}

void CRandomEvents::Fire(uint32_t country, uint32_t n) {
    CGameEventObject* object = n >= 1 ? FindEvent(n) : nullptr;
    if (!object || !CountryOfNumber(country)) {
        DebugPrint("RandomEvents: no event %u for country %u to fire\n", n, country);
        return;
    }
    object->firedByCommand = 1;
    PostEventNow(ExecuteMessage(g_serverId, EventId(n), MakeCountryId(country)));
}

int CRandomEvents::HandleEvent(COVEvent& event) {
    if (event.GetReceiver() != g_serverId)
        return 0;
    switch (event.GetType()) {
    case EVT_EXECUTE_EVENT:
        Execute(event);
        return 3;
    case EVT_START_EVENT: {
        const COVEventData& payload = event.Payload();
        if (!payload.Holds(StartEventPayload::kCountry))
            return 3;
        const uint32_t number = payload.Get(StartEventPayload::kCountry);
        if (CountryOfNumber(number) && g_randomEventHooks.startEvent)
            g_randomEventHooks.startEvent(number, event);
        return 3;
    }
    default:
        return 0;
    }
}

void CRandomEvents::Execute(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const ObjectId id = payload.Get(ExecuteEventPayload::kEvent);
    auto* object = dynamic_cast<CGameEventObject*>(ResolveId(id));
    if (!object) {
        DebugPrint("RandomEvents: event {%u, %u} without an object\n", id.type, id.number);
        return;
    }
    if (object->GetEventKind() == CGameEventObject::kHistoryEvent) {
        const int32_t local = LocalCountry();
        if (local >= 0)
            ExecuteAndSendEvent(
                ExecuteMessage(id, id, MakeCountryId(static_cast<uint32_t>(local))));
        return;
    }
    const ObjectId subject = payload.Get(ExecuteEventPayload::kSubject);
    object->country = subject.number;
    if (!IsHost())
        return;
    // The mark of the console is used up here, so that another country's
    // pending event of the same number still draws that country's next.
    const bool fired = object->firedByCommand != 0;
    object->firedByCommand = 0;
    ExecuteAndSendEvent(ExecuteMessage(id, id, subject));
    if (id.number <= kEventNumbers && !fired && RandomEventsOn() &&
        subject.type == kCountryObjectType && CountryOfNumber(subject.number))
        Roll(subject.number);
}
