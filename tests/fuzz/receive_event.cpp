// Fuzz target: arbitrary bytes as a block received from a peer, handed to
// ReceiveEvent. Whatever arrives, a message is either refused or rebuilt
// whole: its payload holds everything its counts and lengths name, its
// country numbers, province ids and counts are in range, and its wire form
// gives back the payload that arrived.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/PayloadRoles.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Check;

void CheckMessage(const COVEvent& event, const uint8_t* data, size_t size) {
    const COVEventData& payload = event.Payload();
    const size_t payloadSize = event.GetPayloadSize();
    Check(payloadSize == payload.Size());
    Check(payloadSize >= EVENT_HEAD_SIZE && 4 + payloadSize <= size);
    Check(payloadSize >= GetEventPayloadSize(event.GetType()));

    switch (GetEventTypeInfo(event.GetType())->layout) {
    case EventLayout::Chat:
        Check(COVChatEvent::kBaseSize + payload.Get(COVChatEvent::kLength) <= payloadSize);
        (void)static_cast<const COVChatEvent&>(event).GetText();
        break;
    case EventLayout::UnitMovePath:
        Check(COVUnitMovePathEvent::SizeFor(payload.Get(COVUnitMovePathEvent::kCount)) <=
              payloadSize);
        break;
    case EventLayout::ProvinceBattle:
    case EventLayout::CreateCountry:
        Check(COVCountedEvent::SizeFor(payload.Get(COVCountedEvent::kCount)) <= payloadSize);
        break;
    default:
        break;
    }
    Check(!CheckPayloadRoles(payload).has_value());
    (void)event.GetExtraId();

    const std::vector<uint8_t> block = COVNetEvent(event).GetBlock();
    Check(block.size() == 4 + payloadSize);
    Check(std::memcmp(block.data(), data, 2) == 0);
    Check(std::memcmp(block.data() + 4, data + 4, payloadSize) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Refused types are logged; a box, should one come, is answered quietly.
    fuzz::AnswerBoxesWithIgnore();

    std::unique_ptr<COVEvent> event = ReceiveEvent(data, size);
    if (event)
        CheckMessage(*event, data, size);
    return 0;
}
