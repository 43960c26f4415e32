#include "platform/NetFraming.h"

#include <algorithm>
#include <cstring>

namespace platform::net::wire {

namespace {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void U8(uint8_t value) { m_out.push_back(value); }
    void U16(uint16_t value) { Little(value, 2); }
    void U32(uint32_t value) { Little(value, 4); }
    void U64(uint64_t value) { Little(value, 8); }
    void Text(const std::string& text) {
        U16(static_cast<uint16_t>(text.size()));
        m_out.insert(m_out.end(), text.begin(), text.end());
    }

private:
    void Little(uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            m_out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

    std::vector<uint8_t>& m_out;
};

// Reads with a bounds check before every value; after the first short read
// every value reads 0 and Ok() stays false.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
    uint64_t U64() { return Little(8); }
    std::string Text() {
        const uint16_t length = U16();
        if (length > kMaxNameLength || !Has(length)) {
            m_ok = false;
            return {};
        }
        std::string text(reinterpret_cast<const char*>(m_data + m_pos), length);
        m_pos += length;
        return text;
    }
    std::vector<uint8_t> Rest() {
        std::vector<uint8_t> rest(m_data + m_pos, m_data + m_size);
        m_pos = m_size;
        return rest;
    }
    bool Ok() const { return m_ok; }
    // True when everything was read, and nothing more is there.
    bool Done() const { return m_ok && m_pos == m_size; }

private:
    bool Has(size_t count) const { return m_ok && m_size - m_pos >= count; }
    uint64_t Little(int bytes) {
        if (!Has(static_cast<size_t>(bytes))) {
            m_ok = false;
            return 0;
        }
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<uint64_t>(m_data[m_pos + i]) << (8 * i);
        m_pos += static_cast<size_t>(bytes);
        return value;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

bool IsKnownKind(uint8_t kind) {
    return kind >= static_cast<uint8_t>(FrameKind::Hello) &&
           kind <= static_cast<uint8_t>(FrameKind::EnumReply);
}

void WriteSession(ByteWriter& out, const SessionDesc& session) {
    out.U64(session.instance);
    out.Text(session.name);
    out.U32(session.flags);
    out.U32(session.maxPlayers);
    out.U32(session.currentPlayers);
    out.U32(session.user1);
    out.U32(session.user2);
}

bool ReadSession(ByteReader& in, SessionDesc& session) {
    session.instance = in.U64();
    session.name = in.Text();
    session.flags = in.U32();
    session.maxPlayers = in.U32();
    session.currentPlayers = in.U32();
    session.user1 = in.U32();
    session.user2 = in.U32();
    session.address.clear();
    return in.Ok() && session.instance != 0 && session.maxPlayers >= 1 &&
           session.maxPlayers <= kMaxPlayers && session.currentPlayers <= kMaxPlayers;
}

bool ReadMagic(ByteReader& in) {
    const uint32_t magic = in.U32();
    const uint16_t version = in.U16();
    return in.Ok() && magic == kMagic && version == kVersion;
}

} // namespace

void AppendFrame(std::vector<uint8_t>& out, FrameKind kind, PlayerId sender, const uint8_t* payload,
                 size_t size) {
    ByteWriter head(out);
    head.U32(static_cast<uint32_t>(size));
    head.U8(static_cast<uint8_t>(kind));
    head.U32(sender);
    if (size > 0)
        out.insert(out.end(), payload, payload + size);
}

void AppendFrame(std::vector<uint8_t>& out, FrameKind kind, PlayerId sender,
                 const std::vector<uint8_t>& payload) {
    AppendFrame(out, kind, sender, payload.data(), payload.size());
}

void FrameReader::Append(const uint8_t* data, size_t size) {
    if (size == 0)
        return;
    std::memcpy(Reserve(size), data, size);
    Commit(size);
}

uint8_t* FrameReader::Reserve(size_t size) {
    if (m_start == m_end)
        m_start = m_end = 0;
    if (m_buffer.size() - m_end < size && m_start > 0) {
        // What was taken makes room: the unfinished frame moves to the front.
        std::memmove(m_buffer.data(), m_buffer.data() + m_start, m_end - m_start);
        m_end -= m_start;
        m_start = 0;
    }
    if (m_buffer.size() - m_end < size)
        m_buffer.resize(m_end + size);
    return m_buffer.data() + m_end;
}

void FrameReader::Commit(size_t size) {
    m_end += std::min(size, m_buffer.size() - m_end);
}

FrameReader::Status FrameReader::Next(Frame& frame) {
    if (m_fault != Fault::None)
        return Status::Error;
    const size_t available = m_end - m_start;
    if (available < kHeadSize)
        return Status::NeedMore;
    ByteReader head(m_buffer.data() + m_start, kHeadSize);
    const uint32_t length = head.U32();
    const uint8_t kind = head.U8();
    const uint32_t sender = head.U32();
    if (!IsKnownKind(kind)) {
        m_fault = Fault::UnknownKind;
        return Status::Error;
    }
    if (length > kMaxFramePayload) {
        m_fault = Fault::TooLong;
        return Status::Error;
    }
    if (available - kHeadSize < length)
        return Status::NeedMore;
    const uint8_t* begin = m_buffer.data() + m_start + kHeadSize;
    frame.kind = static_cast<FrameKind>(kind);
    frame.sender = sender;
    frame.payload.assign(begin, begin + length);
    m_start += kHeadSize + length;
    if (m_start == m_end)
        m_start = m_end = 0;
    return Status::Frame;
}

bool DecodeDatagram(const std::vector<uint8_t>& bytes, Frame& frame) {
    FrameReader reader;
    reader.Append(bytes.data(), bytes.size());
    return reader.Next(frame) == FrameReader::Status::Frame && !reader.HasPartial();
}

std::vector<uint8_t> EncodeHello(const Hello& hello) {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(kMagic);
    out.U16(kVersion);
    out.U64(hello.instance);
    out.Text(hello.name);
    return payload;
}

bool DecodeHello(const std::vector<uint8_t>& payload, Hello& hello) {
    ByteReader in(payload);
    if (!ReadMagic(in))
        return false;
    hello.instance = in.U64();
    hello.name = in.Text();
    return in.Done();
}

std::vector<uint8_t> EncodeWelcome(const Welcome& welcome) {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(welcome.you);
    out.U32(welcome.host);
    WriteSession(out, welcome.session);
    out.U8(static_cast<uint8_t>(welcome.players.size()));
    for (const PlayerInfo& player : welcome.players) {
        out.U32(player.id);
        out.Text(player.name);
    }
    return payload;
}

bool DecodeWelcome(const std::vector<uint8_t>& payload, Welcome& welcome) {
    ByteReader in(payload);
    welcome.you = in.U32();
    welcome.host = in.U32();
    if (!ReadSession(in, welcome.session))
        return false;
    const uint8_t count = in.U8();
    if (count < 2 || count > welcome.session.maxPlayers)
        return false;
    welcome.players.clear();
    bool youFound = false;
    bool hostFound = false;
    for (uint8_t i = 0; i < count && in.Ok(); ++i) {
        PlayerInfo player;
        player.id = in.U32();
        player.name = in.Text();
        // Ids ascend strictly, so none repeats; 0 is never a player.
        if (player.id == 0 || (!welcome.players.empty() && player.id <= welcome.players.back().id))
            return false;
        youFound |= player.id == welcome.you;
        hostFound |= player.id == welcome.host;
        welcome.players.push_back(std::move(player));
    }
    return in.Done() && youFound && hostFound && welcome.you != welcome.host;
}

std::vector<uint8_t> EncodeRefuse(JoinResult reason) {
    return {static_cast<uint8_t>(reason)};
}

bool DecodeRefuse(const std::vector<uint8_t>& payload, JoinResult& reason) {
    ByteReader in(payload);
    const uint8_t value = in.U8();
    if (!in.Done())
        return false;
    reason = static_cast<JoinResult>(value);
    return reason == JoinResult::Full || reason == JoinResult::Disabled ||
           reason == JoinResult::NoSession;
}

std::vector<uint8_t> EncodePlayerJoined(const PlayerInfo& player) {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(player.id);
    out.Text(player.name);
    return payload;
}

bool DecodePlayerJoined(const std::vector<uint8_t>& payload, PlayerInfo& player) {
    ByteReader in(payload);
    player.id = in.U32();
    player.name = in.Text();
    return in.Done() && player.id != 0;
}

std::vector<uint8_t> EncodePlayerLeft(const PlayerLeft& left) {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(left.player);
    out.U8(static_cast<uint8_t>(left.reason));
    return payload;
}

bool DecodePlayerLeft(const std::vector<uint8_t>& payload, PlayerLeft& left) {
    ByteReader in(payload);
    left.player = in.U32();
    const uint8_t reason = in.U8();
    left.reason = static_cast<DropReason>(reason);
    return in.Done() && left.player != 0 && reason > static_cast<uint8_t>(DropReason::None) &&
           reason <= static_cast<uint8_t>(DropReason::Removed);
}

std::vector<uint8_t> EncodeDataTo(const DataTo& data) {
    std::vector<uint8_t> payload;
    payload.reserve(4 + data.bytes.size());
    ByteWriter out(payload);
    out.U32(data.to);
    payload.insert(payload.end(), data.bytes.begin(), data.bytes.end());
    return payload;
}

bool DecodeDataTo(const std::vector<uint8_t>& payload, DataTo& data) {
    ByteReader in(payload);
    data.to = in.U32();
    data.bytes = in.Rest();
    return in.Ok() && data.to != 0 && data.bytes.size() <= kMaxMessageSize;
}

std::vector<uint8_t> EncodeEnumQuery() {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(kMagic);
    out.U16(kVersion);
    return payload;
}

bool DecodeEnumQuery(const std::vector<uint8_t>& payload) {
    ByteReader in(payload);
    return ReadMagic(in) && in.Done();
}

std::vector<uint8_t> EncodeEnumReply(const EnumReply& reply) {
    std::vector<uint8_t> payload;
    ByteWriter out(payload);
    out.U32(kMagic);
    out.U16(kVersion);
    out.U16(reply.port);
    WriteSession(out, reply.session);
    return payload;
}

bool DecodeEnumReply(const std::vector<uint8_t>& payload, EnumReply& reply) {
    ByteReader in(payload);
    if (!ReadMagic(in))
        return false;
    reply.port = in.U16();
    return ReadSession(in, reply.session) && in.Done() && reply.port != 0;
}

bool ParseAddress(const std::string& address, uint16_t defaultPort, std::string& host,
                  uint16_t& port) {
    const size_t colon = address.rfind(':');
    host = address.substr(0, colon);
    port = defaultPort;
    if (colon != std::string::npos) {
        const std::string digits = address.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return false;
        uint32_t value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + static_cast<uint32_t>(c - '0');
        }
        if (value == 0 || value > 65535)
            return false;
        port = static_cast<uint16_t>(value);
    }
    return !host.empty() && port != 0;
}

} // namespace platform::net::wire

namespace platform::net {

size_t Link::ReadInto(uint8_t* data, size_t room, bool& open) {
    std::vector<uint8_t> bytes;
    open = Read(bytes, room);
    const size_t count = std::min(bytes.size(), room);
    if (count > 0)
        std::memcpy(data, bytes.data(), count);
    return count;
}

} // namespace platform::net
