// Fuzz target: arbitrary bytes as a stream received from a peer, handed to
// the frame reader in pieces (the first byte picks their size). Every frame
// it gives is exactly the bytes it came from, and every payload is either
// refused or decoded into values that encode to that same payload.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/NetFraming.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace platform::net;
using namespace platform::net::wire;

using fuzz::Check;

void CheckPayload(const Frame& frame) {
    const std::vector<uint8_t>& payload = frame.payload;
    Check(payload.size() <= kMaxFramePayload);
    switch (frame.kind) {
    case FrameKind::Hello: {
        Hello hello;
        if (DecodeHello(payload, hello))
            Check(EncodeHello(hello) == payload);
        break;
    }
    case FrameKind::Welcome: {
        Welcome welcome;
        if (DecodeWelcome(payload, welcome)) {
            Check(welcome.players.size() >= 2 && welcome.players.size() <= kMaxPlayers);
            Check(EncodeWelcome(welcome) == payload);
        }
        break;
    }
    case FrameKind::Refuse: {
        JoinResult reason;
        if (DecodeRefuse(payload, reason))
            Check(EncodeRefuse(reason) == payload);
        break;
    }
    case FrameKind::PlayerJoined: {
        PlayerInfo player;
        if (DecodePlayerJoined(payload, player))
            Check(EncodePlayerJoined(player) == payload);
        break;
    }
    case FrameKind::PlayerLeft: {
        PlayerLeft left;
        if (DecodePlayerLeft(payload, left))
            Check(EncodePlayerLeft(left) == payload);
        break;
    }
    case FrameKind::DataTo: {
        DataTo data;
        if (DecodeDataTo(payload, data)) {
            Check(data.bytes.size() <= kMaxMessageSize);
            Check(EncodeDataTo(data) == payload);
        }
        break;
    }
    case FrameKind::EnumQuery:
        if (DecodeEnumQuery(payload))
            Check(EncodeEnumQuery() == payload);
        break;
    case FrameKind::EnumReply: {
        EnumReply reply;
        if (DecodeEnumReply(payload, reply))
            Check(EncodeEnumReply(reply) == payload);
        break;
    }
    case FrameKind::Data:
    case FrameKind::KeepAlive:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t step = data[0] % 64 + 1;
    const std::vector<uint8_t> stream(data + 1, data + size);

    Frame whole;
    (void)DecodeDatagram(stream, whole);

    FrameReader reader;
    size_t consumed = 0;
    for (size_t at = 0; at < stream.size(); at += step) {
        reader.Append(stream.data() + at, std::min(step, stream.size() - at));
        Frame frame;
        FrameReader::Status status;
        while ((status = reader.Next(frame)) == FrameReader::Status::Frame) {
            std::vector<uint8_t> again;
            AppendFrame(again, frame.kind, frame.sender, frame.payload);
            Check(consumed + again.size() <= stream.size());
            Check(std::memcmp(stream.data() + consumed, again.data(), again.size()) == 0);
            consumed += again.size();
            CheckPayload(frame);
        }
        if (status == FrameReader::Status::Error)
            return 0;
    }
    // Whatever was not taken as frames is the start of an unfinished one.
    Check(reader.HasPartial() == (consumed < stream.size()));
    return 0;
}
