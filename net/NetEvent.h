#pragma once
// The wire form of a game message and the sending and receiving of it.
//
// One block per message, little-endian:
//   +0  u16  length field = payload size + 2
//   +2  2    unused (zero)
//   +4       the payload exactly as in memory (head and the type's fields)
// The block goes out padded with zeros to a multiple of 4 bytes.
//
// Received blocks are checked before anything is built from them: a block
// must hold the block head and a whole payload head, its length field must
// not run past the bytes that arrived, the type must exist and be allowed to
// travel, and the payload must be at least as large as its layout needs (for
// the variable layouts, as large as their length or count implies), and its
// country numbers, province ids and counts must be in range
// (net/PayloadRoles.h). Anything else is dropped with a trace line.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "net/Event.h"
#include "net/EventTypes.h"

class CNetSession;

class COVNetEvent : public COVEvent {
public:
    static constexpr size_t kBlockHeadSize = 4;
    // The length field is 16 bits wide and counts 2 bytes more than the payload.
    static constexpr size_t kMaxPayloadSize = EVENT_MAX_PAYLOAD_SIZE;

    // A copy of the message's payload (GetPayloadSize bytes), send 0, local 1.
    explicit COVNetEvent(const COVEvent& m) : COVEvent(m) {}

    // The wrapper of a received block; null (with a trace line) when the
    // block is shorter than the block head and a payload head, or its length
    // field says less than a payload head or more than arrived. Bytes after
    // the payload (the padding) are ignored.
    static std::unique_ptr<COVNetEvent> FromBlock(const uint8_t* data, size_t size);

    // The block: 4 + payload size bytes (not padded).
    std::vector<uint8_t> GetBlock() const;

    // Sends this block through the session when one is active; answers
    // EVENT_NOT_HANDLED.
    int Execute() override;

private:
    explicit COVNetEvent(std::unique_ptr<COVEventData> payload) : COVEvent(std::move(payload)) {}
};

// Sends the wrapper's block from the local player to all players, under the
// "Netlog Mutex". False when the session did not send it, or when the
// payload is too large for the length field (then nothing is sent).
bool SendEvent(CNetSession& session, const COVNetEvent& event);

// Rebuilds the message of a received wrapper in the class of its type id,
// keeping the payload size it arrived with (send 0, local 1) and the
// network sender given (COVEvent::GetNetSender; kMadeHere when the caller
// does not know it); under the "Netlog Mutex". Null for a payload too small
// for its layout or with a number out of its range (trace line naming the
// type, field and value), and for a type above 316 or one that never
// travels: a peer's bad data, refused with one line in the log
// (AppendToLog), never with a box.
std::unique_ptr<COVEvent> ReceiveEvent(const COVNetEvent& wrapper,
                                       uint32_t sender = COVEvent::kMadeHere);

// The same from the bytes of a received block (FromBlock, then the above),
// the mutex held for the whole call.
std::unique_ptr<COVEvent> ReceiveEvent(const uint8_t* data, size_t size,
                                       uint32_t sender = COVEvent::kMadeHere);

// Refusals are logged up to a limit, so that a flooding peer cannot fill the
// disk; a new session (and a test) starts the count again.
void ResetRefusedEventLog();
