#include "net/NetEvent.h"

#include <mutex>
#include <optional>
#include <string>

#include "engine/CriticalError.h"
#include "engine/Date.h"
#include "engine/Format.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Session.h"
#include "platform/System.h"

namespace {

std::mutex& NetlogMutex() {
    return platform::NamedMutex("Netlog Mutex");
}

// "Sending" and "Recieved" lines: with a running game the date comes first.
void TraceTransfer(const char* verb, uint32_t type) {
    const std::string name = GetEventTypeName(type);
    if (IsGameRunning() && g_gameTimer) {
        const CDate& date = g_gameTimer->GetDate();
        DebugPrint("%d-%02d-%02d : %s %d (%s)\n", date.year, date.month, date.day, verb,
                   static_cast<int>(type), name.c_str());
    } else {
        DebugPrint("%s %d (%s)\n", verb, static_cast<int>(type), name.c_str());
    }
}

// The payload size a received message of the type needs: the class's size,
// or for the variable layouts the size their length or count implies (the
// base size while the payload is too short to hold the length or count).
size_t NeededPayloadSize(const EventTypeInfo& info, const COVEventData& payload) {
    switch (info.layout) {
    case EventLayout::Chat:
        if (!payload.Holds(COVChatEvent::kLength))
            return COVChatEvent::kBaseSize;
        return COVChatEvent::kBaseSize + payload.Get(COVChatEvent::kLength);
    case EventLayout::UnitMovePath:
        if (!payload.Holds(COVUnitMovePathEvent::kCount))
            return COVUnitMovePathEvent::kBaseSize;
        return COVUnitMovePathEvent::SizeFor(payload.Get(COVUnitMovePathEvent::kCount));
    case EventLayout::ProvinceBattle:
    case EventLayout::CreateCountry:
        if (!payload.Holds(COVCountedEvent::kCount))
            return COVCountedEvent::kBaseSize;
        return COVCountedEvent::SizeFor(payload.Get(COVCountedEvent::kCount));
    default:
        return info.payloadSize;
    }
}

// The factory; the caller holds the mutex. Sets refusedType for a type that
// must not arrive from a peer.
std::unique_ptr<COVEvent> Rebuild(const COVNetEvent& wrapper,
                                  std::optional<uint32_t>& refusedType) {
    const COVEventData& payload = wrapper.Payload();
    const uint32_t type = payload.GetTypeId();
    const EventTypeInfo* info = GetEventTypeInfo(type);
    if (!info) {
        DebugPrint("Recieved unsupported event %d, go blame someone else..\n",
                   static_cast<int>(type));
        refusedType = type;
        return nullptr;
    }
    if (info->localOnly) {
        refusedType = type;
        return nullptr;
    }
    const size_t needed = NeededPayloadSize(*info, payload);
    if (payload.Size() < needed) {
        DebugPrint("Received event %d with %d payload bytes, %d needed; dropped\n",
                   static_cast<int>(type), static_cast<int>(payload.Size()),
                   static_cast<int>(needed));
        return nullptr;
    }
    if (const std::optional<PayloadFault> fault = CheckPayloadRoles(payload)) {
        DebugPrint("Received event %s out of range; dropped\n",
                   DescribePayloadFault(*fault).c_str());
        return nullptr;
    }
    std::unique_ptr<COVEvent> event = CreateEventCopy(wrapper);
    if (event)
        TraceTransfer("Recieved", type);
    return event;
}

// A type that must not arrive from a peer: one line in the log, no box (a
// peer could otherwise stack a modal box per message, and Abort would end
// the game). Past kMaxRefusalLines refusals the lines stop; one more line
// says so.
constexpr uint32_t kMaxRefusalLines = 100;
uint32_t g_refusals = 0;

std::unique_ptr<COVEvent> ReceiveRefused(uint32_t type, uint32_t sender) {
    const uint32_t seen = g_refusals <= kMaxRefusalLines + 1 ? ++g_refusals : g_refusals;
    if (seen <= kMaxRefusalLines) {
        AppendToLog(FormatText("Event %d from player %u has no network support; refused",
                               static_cast<int>(type), sender));
    } else if (seen == kMaxRefusalLines + 1) {
        AppendToLog("More events without network support refused; no longer logged");
    }
    return nullptr;
}

} // namespace

std::unique_ptr<COVNetEvent> COVNetEvent::FromBlock(const uint8_t* data, size_t size) {
    if (!data || size < kBlockHeadSize + EVENT_HEAD_SIZE) {
        DebugPrint("Received block of %d bytes is too short; dropped\n", static_cast<int>(size));
        return nullptr;
    }
    const size_t length = static_cast<size_t>(data[0] | (data[1] << 8));
    if (length < EVENT_HEAD_SIZE + 2 || length - 2 > size - kBlockHeadSize) {
        DebugPrint("Received block of %d bytes has the length field %d; dropped\n",
                   static_cast<int>(size), static_cast<int>(length));
        return nullptr;
    }
    auto payload = std::make_unique<COVEventData>(data + kBlockHeadSize, length - 2);
    return std::unique_ptr<COVNetEvent>(new COVNetEvent(std::move(payload)));
}

std::vector<uint8_t> COVNetEvent::GetBlock() const {
    const size_t size = GetPayloadSize();
    std::vector<uint8_t> block(kBlockHeadSize + size, 0);
    const size_t length = size + 2;
    block[0] = static_cast<uint8_t>(length);
    block[1] = static_cast<uint8_t>(length >> 8);
    Payload().GetBytes(0, block.data() + kBlockHeadSize, size);
    return block;
}

int COVNetEvent::Execute() {
    if (IsSessionActive())
        SendEventToSession(*this);
    return EVENT_NOT_HANDLED;
}

void ResetRefusedEventLog() {
    g_refusals = 0;
}

bool SendEvent(CNetSession& session, const COVNetEvent& event) {
    std::lock_guard<std::mutex> lock(NetlogMutex());
    const uint32_t type = event.GetType();
    if (event.GetPayloadSize() > COVNetEvent::kMaxPayloadSize) {
        DebugPrint("Event %d has %d payload bytes, too many to send; dropped\n",
                   static_cast<int>(type), static_cast<int>(event.GetPayloadSize()));
        return false;
    }
    TraceTransfer("Sending", type);
    const std::vector<uint8_t> block = event.GetBlock();
    return session.Send(block.data(), static_cast<uint32_t>(block.size()));
}

std::unique_ptr<COVEvent> ReceiveEvent(const COVNetEvent& wrapper, uint32_t sender) {
    std::optional<uint32_t> refusedType;
    {
        std::lock_guard<std::mutex> lock(NetlogMutex());
        std::unique_ptr<COVEvent> event = Rebuild(wrapper, refusedType);
        if (event)
            event->SetNetSender(sender);
        if (!refusedType)
            return event;
    }
    return ReceiveRefused(*refusedType, sender);
}

std::unique_ptr<COVEvent> ReceiveEvent(const uint8_t* data, size_t size, uint32_t sender) {
    std::optional<uint32_t> refusedType;
    {
        std::lock_guard<std::mutex> lock(NetlogMutex());
        std::unique_ptr<COVNetEvent> wrapper = COVNetEvent::FromBlock(data, size);
        if (!wrapper)
            return nullptr;
        std::unique_ptr<COVEvent> event = Rebuild(*wrapper, refusedType);
        if (event)
            event->SetNetSender(sender);
        if (!refusedType)
            return event;
    }
    return ReceiveRefused(*refusedType, sender);
}
