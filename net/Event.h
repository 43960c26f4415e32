#pragma once
// Game messages. Every change of the world, every clock tick and every
// application notice is a COVEvent: a holder that owns its payload, a byte
// record that begins with the 20-byte head (EventHead: type id, due date,
// receiver) followed by the type's own fields. The payload is kept exactly
// as it travels between machines: little-endian, byte for byte.
//
// The due date's 4 header bytes carry nothing; an all-zero due date means
// as soon as possible.
//
// A message is built by a sender, handed to a posting function
// (net/Posting.h) and finally carried out by COVEvent::Execute.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/NamedObject.h" // EVENT_NOT_HANDLED, EVENT_CONSUMED
#include "engine/ObjectId.h"
#include "net/PayloadField.h"

class CDate;
class CIdEntity;
class CIdObject;
class COVEvent;

// Message type ids run from 0 to EVENT_TYPE_COUNT - 1.
constexpr uint32_t EVENT_TYPE_COUNT = 317;

// The head of every payload.
struct EventHead {
    static constexpr size_t kSize = 20;
    static constexpr PayloadField<uint32_t> kType{"type", 0}; // 0 to 316 (net/EventTypes.h)
    static constexpr PayloadField<CDate> kDueDate{"due date", 4};
    static constexpr PayloadField<ObjectId> kReceiver{"receiver", 12};
    static constexpr PayloadFieldInfo kFields[] = {kType, kDueDate, kReceiver};
};

constexpr size_t EVENT_OFS_TYPE = EventHead::kType.offset;
constexpr size_t EVENT_OFS_DUE_DATE = EventHead::kDueDate.offset;
constexpr size_t EVENT_OFS_RECEIVER = EventHead::kReceiver.offset;
constexpr size_t EVENT_HEAD_SIZE = EventHead::kSize;
constexpr size_t EVENT_DATE_SIZE = PayloadWidth(PayloadType::Date);
constexpr size_t EVENT_ID_SIZE = PayloadWidth(PayloadType::Id);

// The payload: a byte record of exact size with little-endian field
// accessors. Fields are read and written through their declarations
// (Get, Set); the accessors by offset below serve those and the checks.
// Offsets are from the start of the payload (head included).
//
// Access outside the payload is a fault of the caller: it asserts in debug
// builds; in release builds a read answers zero and a write is dropped. A
// received payload may be shorter than its layout, so whatever reads a
// received message checks first (Holds, or the receiving check's sizes).
class COVEventData {
public:
    // A zeroed payload of the given size (at least the head): type 0, zero
    // due date, null receiver.
    explicit COVEventData(size_t size);
    // A payload holding a copy of the given bytes.
    COVEventData(const uint8_t* bytes, size_t size);

    size_t Size() const { return m_bytes.size(); }
    uint8_t* Bytes() { return m_bytes.data(); }
    const uint8_t* Bytes() const { return m_bytes.data(); }

    uint32_t GetTypeId() const { return Get(EventHead::kType); }
    void SetTypeId(uint32_t type) { Set(EventHead::kType, type); }
    CDate GetDueDate() const;
    // Copies day, month and year; the date's header bytes stay as they are.
    void SetDueDate(const CDate& date);
    ObjectId GetReceiver() const { return Get(EventHead::kReceiver); }
    void SetReceiver(const ObjectId& receiver) { Set(EventHead::kReceiver, receiver); }

    // A declared field. Set of a date writes day, month and year only.
    template <class T> T Get(const PayloadField<T>& field) const;
    template <class T> void Set(const PayloadField<T>& field, const std::type_identity_t<T>& value);
    std::string Get(const PayloadText& field) const { return GetText(field.offset, field.size); }
    void Set(const PayloadText& field, std::string_view text) {
        SetText(field.offset, field.size, text);
    }

    // Whether the whole field lies within the payload (a run of count 0:
    // whether it starts within it); never asserts.
    bool Holds(const PayloadFieldInfo& field) const { return Holds(field.offset, field.Width()); }
    bool Holds(size_t offset, size_t width) const {
        return offset <= m_bytes.size() && width <= m_bytes.size() - offset;
    }

    uint8_t GetU8(size_t offset) const;
    void SetU8(size_t offset, uint8_t value);
    uint16_t GetU16(size_t offset) const;
    void SetU16(size_t offset, uint16_t value);
    uint32_t GetU32(size_t offset) const;
    void SetU32(size_t offset, uint32_t value);
    int32_t GetI32(size_t offset) const { return static_cast<int32_t>(GetU32(offset)); }
    void SetI32(size_t offset, int32_t value) { SetU32(offset, static_cast<uint32_t>(value)); }
    float GetF32(size_t offset) const;
    void SetF32(size_t offset, float value);

    // An embedded ObjectId (8 bytes; the padding is written as zero).
    ObjectId GetId(size_t offset) const;
    void SetId(size_t offset, const ObjectId& id);
    // An embedded CDate (8 bytes): the setter writes day, month and year
    // only, never the 4 header bytes.
    CDate GetDate(size_t offset) const;
    void SetDate(size_t offset, const CDate& date);

    // A zero-terminated text in a field of fieldSize bytes: the setter cuts
    // the text to fieldSize - 1 characters and zero-fills the rest of the
    // field; the getter stops at the first zero or the end of the field.
    std::string GetText(size_t offset, size_t fieldSize) const;
    void SetText(size_t offset, size_t fieldSize, std::string_view text);

    // Copies raw bytes in or out; in release builds the part beyond the
    // payload is dropped (on read, zero-filled).
    void SetBytes(size_t offset, const uint8_t* bytes, size_t count);
    void GetBytes(size_t offset, uint8_t* out, size_t count) const;

private:
    // Holds, asserting in debug builds when it does not.
    bool Reaches(size_t offset, size_t width) const;

    std::vector<uint8_t> m_bytes;
};

template <class T> T COVEventData::Get(const PayloadField<T>& field) const {
    if constexpr (std::is_same_v<T, uint8_t>)
        return GetU8(field.offset);
    else if constexpr (std::is_same_v<T, uint16_t>)
        return GetU16(field.offset);
    else if constexpr (std::is_same_v<T, uint32_t>)
        return GetU32(field.offset);
    else if constexpr (std::is_same_v<T, int32_t>)
        return GetI32(field.offset);
    else if constexpr (std::is_same_v<T, float>)
        return GetF32(field.offset);
    else if constexpr (std::is_same_v<T, ObjectId>)
        return GetId(field.offset);
    else
        return GetDate(field.offset);
}

template <class T>
void COVEventData::Set(const PayloadField<T>& field, const std::type_identity_t<T>& value) {
    if constexpr (std::is_same_v<T, uint8_t>)
        SetU8(field.offset, value);
    else if constexpr (std::is_same_v<T, uint16_t>)
        SetU16(field.offset, value);
    else if constexpr (std::is_same_v<T, uint32_t>)
        SetU32(field.offset, value);
    else if constexpr (std::is_same_v<T, int32_t>)
        SetI32(field.offset, value);
    else if constexpr (std::is_same_v<T, float>)
        SetF32(field.offset, value);
    else if constexpr (std::is_same_v<T, ObjectId>)
        SetId(field.offset, value);
    else
        SetDate(field.offset, value);
}

// The message handler of a receiver: the broadcast receivers, the objects
// of the registries and entities of the world. Answers EVENT_NOT_HANDLED or
// EVENT_CONSUMED.
class CMessageReceiver {
public:
    virtual ~CMessageReceiver() = default;
    virtual int HandleMessage(COVEvent& event) = 0;
};

// The handler interface through which a country (receiver type 3) and the
// host request dispatcher (receiver type 2) take the messages addressed to
// them.
class CEventHandler {
public:
    virtual ~CEventHandler() = default;
    virtual int HandleEvent(COVEvent& event) = 0;
};

// The computer player's start-of-game step, run on the host once the
// game-started broadcast has reached every receiver; the computer player
// fills it (null: nothing runs).
extern void (*g_gameStartedAI)();

// The message holder. A new message has send 0 and local 1; the posting
// functions set both flags before it runs.
class COVEvent {
public:
    // Attaches a payload (never null).
    explicit COVEvent(std::unique_ptr<COVEventData> payload);
    // A copy of any message: its first GetPayloadSize() bytes (as m answers
    // it, never more than m holds), send 0, local 1, and m's network sender.
    // Every message class has one; the receiving side rebuilds messages this
    // way.
    COVEvent(const COVEvent& m);
    COVEvent& operator=(const COVEvent&) = delete;

    // The nine operations of every message class.
    virtual ~COVEvent();
    // Size of the payload in bytes (16-bit).
    virtual uint16_t GetPayloadSize() const;
    // The type id at payload offset 0.
    virtual uint32_t GetType() const;
    // A second object concerned by the message; the null id by default.
    virtual ObjectId GetExtraId() const;
    // Hands the message to an object of the object registry.
    virtual int SendToObject(CIdObject& object);
    // Hands the message to a handler interface (host request dispatcher,
    // countries).
    virtual int SendToHandler(CEventHandler& handler);
    // Hands the message to an entity (provinces, leaders, registered
    // entities, the game server).
    virtual int SendToEntity(CIdEntity& entity);
    // The script-hook step; no hook runs. Answers EVENT_NOT_HANDLED.
    virtual int RunScriptHooks();
    // Carries the message out: queues a network copy when the send flag is
    // set, and when the local flag is set delivers it to its receiver.
    // Answers the answer of the last receiver reached (EVENT_NOT_HANDLED when
    // none). The caller keeps the message.
    virtual int Execute();

    COVEventData& Payload() { return *m_payload; }
    const COVEventData& Payload() const { return *m_payload; }

    ObjectId GetReceiver() const { return m_payload->GetReceiver(); }
    void SetReceiver(const ObjectId& receiver) { m_payload->SetReceiver(receiver); }
    CDate GetDueDate() const;
    void SetDueDate(const CDate& date);

    uint8_t GetSendFlag() const { return m_send; }
    uint8_t GetLocalFlag() const { return m_local; }
    void SetSendFlag(uint8_t send) { m_send = send; }
    void SetLocalFlag(uint8_t local) { m_local = local; }

    // The network player a received message came from, as the network layer
    // checked it (the connection it arrived on, never a field of the
    // payload); kMadeHere for a message built on this machine. Receivers
    // that must trust only some machines (the host's slot table, a chat
    // line's sender) ask it.
    static constexpr uint32_t kMadeHere = 0;
    uint32_t GetNetSender() const { return m_netSender; }
    void SetNetSender(uint32_t player) { m_netSender = player; }

protected:
    // For message classes: a zeroed payload of the given size with the type
    // id and receiver written (date zero).
    COVEvent(size_t payloadSize, uint32_t type, const ObjectId& receiver);

private:
    std::unique_ptr<COVEventData> m_payload;
    uint8_t m_send = 0;
    uint8_t m_local = 1;
    uint32_t m_netSender = kMadeHere;
};

// The head-only message (20 bytes) with a zero due date.
class COVSimpleEvent : public COVEvent {
public:
    COVSimpleEvent(uint32_t type, const ObjectId& receiver);
    explicit COVSimpleEvent(const COVEvent& m) : COVEvent(m) {}
};
