#include "net/Event.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#include "data/HookLists.h"
#include "engine/Date.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"

// ---------------------------------------------------------------------------
// COVEventData

COVEventData::COVEventData(size_t size) : m_bytes(std::max(size, EVENT_HEAD_SIZE), 0) {}

COVEventData::COVEventData(const uint8_t* bytes, size_t size) : m_bytes(bytes, bytes + size) {}

bool COVEventData::Reaches(size_t offset, size_t width) const {
    const bool holds = Holds(offset, width);
    assert(holds && "payload access outside the payload");
    return holds;
}

uint8_t COVEventData::GetU8(size_t offset) const {
    return Reaches(offset, 1) ? m_bytes[offset] : 0;
}

void COVEventData::SetU8(size_t offset, uint8_t value) {
    if (Reaches(offset, 1))
        m_bytes[offset] = value;
}

uint16_t COVEventData::GetU16(size_t offset) const {
    if (!Reaches(offset, 2))
        return 0;
    return static_cast<uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
}

void COVEventData::SetU16(size_t offset, uint16_t value) {
    if (!Reaches(offset, 2))
        return;
    m_bytes[offset] = static_cast<uint8_t>(value);
    m_bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

uint32_t COVEventData::GetU32(size_t offset) const {
    if (!Reaches(offset, 4))
        return 0;
    return static_cast<uint32_t>(m_bytes[offset]) |
           (static_cast<uint32_t>(m_bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(m_bytes[offset + 2]) << 16) |
           (static_cast<uint32_t>(m_bytes[offset + 3]) << 24);
}

void COVEventData::SetU32(size_t offset, uint32_t value) {
    if (!Reaches(offset, 4))
        return;
    for (size_t i = 0; i < 4; ++i)
        m_bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

float COVEventData::GetF32(size_t offset) const {
    return std::bit_cast<float>(GetU32(offset));
}

void COVEventData::SetF32(size_t offset, float value) {
    SetU32(offset, std::bit_cast<uint32_t>(value));
}

ObjectId COVEventData::GetId(size_t offset) const {
    if (!Reaches(offset, EVENT_ID_SIZE))
        return ObjectId();
    return ObjectId(GetU16(offset), GetU32(offset + 4));
}

void COVEventData::SetId(size_t offset, const ObjectId& id) {
    if (!Reaches(offset, EVENT_ID_SIZE))
        return;
    SetU16(offset, id.type);
    SetU16(offset + 2, 0);
    SetU32(offset + 4, id.number);
}

CDate COVEventData::GetDate(size_t offset) const {
    CDate date;
    if (!Reaches(offset, EVENT_DATE_SIZE))
        return date;
    date.day = static_cast<int8_t>(GetU8(offset + 4));
    date.month = static_cast<int8_t>(GetU8(offset + 5));
    date.year = static_cast<int16_t>(GetU16(offset + 6));
    return date;
}

void COVEventData::SetDate(size_t offset, const CDate& date) {
    if (!Reaches(offset, EVENT_DATE_SIZE))
        return;
    SetU8(offset + 4, static_cast<uint8_t>(date.day));
    SetU8(offset + 5, static_cast<uint8_t>(date.month));
    SetU16(offset + 6, static_cast<uint16_t>(date.year));
}

CDate COVEventData::GetDueDate() const {
    return Get(EventHead::kDueDate);
}

void COVEventData::SetDueDate(const CDate& date) {
    Set(EventHead::kDueDate, date);
}

std::string COVEventData::GetText(size_t offset, size_t fieldSize) const {
    Reaches(offset, fieldSize);
    std::string text;
    for (size_t i = 0; i < fieldSize && Holds(offset + i, 1); ++i) {
        const char c = static_cast<char>(m_bytes[offset + i]);
        if (c == '\0')
            break;
        text += c;
    }
    return text;
}

void COVEventData::SetText(size_t offset, size_t fieldSize, std::string_view text) {
    if (fieldSize == 0)
        return;
    Reaches(offset, fieldSize);
    const size_t length = std::min(text.size(), fieldSize - 1);
    for (size_t i = 0; i < fieldSize && Holds(offset + i, 1); ++i)
        m_bytes[offset + i] = i < length ? static_cast<uint8_t>(text[i]) : 0;
}

void COVEventData::SetBytes(size_t offset, const uint8_t* bytes, size_t count) {
    Reaches(offset, count);
    for (size_t i = 0; i < count && Holds(offset + i, 1); ++i)
        m_bytes[offset + i] = bytes[i];
}

void COVEventData::GetBytes(size_t offset, uint8_t* out, size_t count) const {
    Reaches(offset, count);
    for (size_t i = 0; i < count; ++i)
        out[i] = Holds(offset + i, 1) ? m_bytes[offset + i] : 0;
}

// ---------------------------------------------------------------------------
// COVEvent

COVEvent::COVEvent(std::unique_ptr<COVEventData> payload) : m_payload(std::move(payload)) {
    if (!m_payload)
        m_payload = std::make_unique<COVEventData>(EVENT_HEAD_SIZE);
}

COVEvent::COVEvent(const COVEvent& m) : m_netSender(m.m_netSender) {
    const size_t size = std::min<size_t>(m.GetPayloadSize(), m.Payload().Size());
    m_payload = std::make_unique<COVEventData>(m.Payload().Bytes(), size);
}

COVEvent::COVEvent(size_t payloadSize, uint32_t type, const ObjectId& receiver)
    : m_payload(std::make_unique<COVEventData>(payloadSize)) {
    m_payload->SetTypeId(type);
    m_payload->SetReceiver(receiver);
}

COVEvent::~COVEvent() = default;

uint16_t COVEvent::GetPayloadSize() const {
    return static_cast<uint16_t>(m_payload->Size());
}

uint32_t COVEvent::GetType() const {
    return m_payload->GetTypeId();
}

ObjectId COVEvent::GetExtraId() const {
    return g_nullId;
}

CDate COVEvent::GetDueDate() const {
    return m_payload->GetDueDate();
}

void COVEvent::SetDueDate(const CDate& date) {
    m_payload->SetDueDate(date);
}

namespace {

constexpr uint16_t kHostRequestIdType = 2;
constexpr uint16_t kCountryIdType = 3;
constexpr uint16_t kServerIdType = 8;

// Registered objects and entities take messages through their own message
// handler when they have one; others let the message pass.
template <class T> int HandToReceiver(T& object, COVEvent& event) {
    if (auto* receiver = dynamic_cast<CMessageReceiver*>(&object))
        return receiver->HandleMessage(event);
    return EVENT_NOT_HANDLED;
}

// The broadcast chain (net/Receivers.h): in-game menu, main screen (game
// winner), then the game's receivers while a game runs or the front end
// otherwise. Sets runHooks when the hook test follows.
int DeliverBroadcast(COVEvent& event, bool& runHooks) {
    runHooks = false;
    const uint32_t type = event.GetType();

    const int menuAnswer = OfferToSlot(kSlotGameMenu, event);
    if (menuAnswer != EVENT_NOT_HANDLED)
        return menuAnswer;
    if (type == EVT_GAME_WINNER)
        return OfferToSlot(kSlotMainScreen, event);

    if (!IsGameRunning()) {
        runHooks = true;
        return OfferToSlot(kSlotFrontEnd, event);
    }

    OfferToSlot(kSlotScenario, event);
    OfferToSlot(kSlotHostDispatcher, event);
    int answer = g_netSession ? g_netSession->HandleEvent(event) : EVENT_NOT_HANDLED;
    if (answer == EVENT_CONSUMED)
        return EVENT_CONSUMED;

    // Asked after the scenario has seen the message: the game-started
    // message itself opens the rest of the chain.
    if (IsGameStarted()) {
        OfferToSlot(kSlotMap, event);
        OfferToSlot(kSlotGlobals, event);
        answer = OfferToSlot(kSlotGameFrame, event);
        if (answer == EVENT_NOT_HANDLED)
            answer = OfferToSlot(kSlotCountries, event);
    }

    if (type == EVT_START_GAME_TIMER && g_gameTimer && g_gameTimer->eventId != 0) {
        EndWaitingForStart();
        g_gameTimer->Resume();
        return EVENT_CONSUMED;
    }
    runHooks = true;
    return answer;
}

} // namespace

int COVEvent::SendToObject(CIdObject& object) {
    return HandToReceiver(object, *this);
}

int COVEvent::SendToHandler(CEventHandler& handler) {
    return handler.HandleEvent(*this);
}

int COVEvent::SendToEntity(CIdEntity& entity) {
    return HandToReceiver(entity, *this);
}

int COVEvent::RunScriptHooks() {
    // No script hook is ever added, so there is nothing to run.
    return EVENT_NOT_HANDLED;
}

int COVEvent::Execute() {
    const ObjectId receiver = GetReceiver();
    if (receiver == g_nullId)
        return EVENT_NOT_HANDLED;

    if (m_send)
        g_scheduler.QueueSend(std::make_unique<COVNetEvent>(*this));
    if (!m_local)
        return EVENT_NOT_HANDLED;

    const uint32_t type = GetType();
    int answer = EVENT_NOT_HANDLED;
    bool runHooks = true;

    if (receiver == g_broadcastId) {
        answer = DeliverBroadcast(*this, runHooks);
        if (!runHooks)
            return answer;
    } else if (receiver.type >= kFirstPlayerIdType) {
        if (CIdObject* object = FindObjectById(receiver)) {
            if (type == EVT_KILL) {
                delete object;
                return EVENT_CONSUMED;
            }
            answer = SendToObject(*object);
        } else if (CIdEntity* entity = ResolveId(receiver)) {
            if (type == EVT_KILL) {
                delete entity;
                return EVENT_CONSUMED;
            }
            answer = SendToEntity(*entity);
        }
    } else if (receiver.type == kServerIdType || receiver == g_serverId) {
        if (CIdEntity* server = FindGameServer())
            answer = SendToEntity(*server);
    } else if (receiver.type == kProvinceIdType) {
        if (CIdEntity* province = ResolveId(receiver))
            answer = SendToEntity(*province);
    } else if (receiver.type == kEntityIdType) {
        if (CIdEntity* entity = ResolveId(receiver))
            answer = HandToReceiver(*entity, *this);
    } else if (receiver.type == kHostRequestIdType) {
        if (CEventHandler* dispatcher = FindHostDispatcher())
            answer = SendToHandler(*dispatcher);
    } else if (receiver.type == kCountryIdType) {
        if (CEventHandler* country = FindCountryHandler(receiver.number))
            answer = SendToHandler(*country);
    }

    if (type < g_eventHooks.size() && !g_eventHooks[type].IsEmpty())
        RunScriptHooks();
    // EVT_GAME_STARTED on the host (IsHost): the computer player's
    // start-of-game set-up, after every receiver had the message.
    if (type == EVT_GAME_STARTED && receiver == g_broadcastId && IsHost() && g_gameStartedAI)
        g_gameStartedAI();
    return answer;
}

void (*g_gameStartedAI)() = nullptr;

COVSimpleEvent::COVSimpleEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(EVENT_HEAD_SIZE, type, receiver) {}
