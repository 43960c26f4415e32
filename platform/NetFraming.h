#pragma once
// Inside the network layer: the frames on the wire, the links that carry
// them and the transports the back-ends provide.
//
// A frame is a 9-byte head, then the payload, every number little-endian:
//   u32 payload length (at most kMaxFramePayload), u8 kind, u32 sender.
// A stream connection carries frames back to back; an enumeration datagram
// holds exactly one frame. Texts are a u16 length (at most kMaxNameLength)
// and that many bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Network.h"

namespace platform::net {

namespace wire {

enum class FrameKind : uint8_t {
    Hello = 1,        // client -> host: u32 magic, u16 version, u64 instance, text name
    Welcome = 2,      // host -> client: u32 your id, u32 host id, session, u8 count, count x player
    Refuse = 3,       // host -> client: u8 JoinResult
    PlayerJoined = 4, // host -> client: player (u32 id, text name)
    PlayerLeft = 5,   // host -> client: u32 id, u8 DropReason
    Data = 6,         // the message's bytes; sender: the player who sent it
    DataTo = 7,       // client -> host: u32 receiver, then the message's bytes
    KeepAlive = 8,    // empty
    EnumQuery = 9,    // u32 magic, u16 version
    EnumReply = 10,   // u32 magic, u16 version, u16 port, session
};
// A session on the wire: u64 instance, text name, u32 flags, u32 maximum,
// u32 current players, u32 user1, u32 user2.

constexpr size_t kHeadSize = 9;
constexpr size_t kMaxFramePayload = kMaxMessageSize + 4; // DataTo's receiver and bytes
constexpr uint32_t kMagic = 0x4C44564Fu;                 // "OVDL"
constexpr uint16_t kVersion = 1;

struct Frame {
    FrameKind kind = FrameKind::KeepAlive;
    PlayerId sender = 0;
    std::vector<uint8_t> payload;
};

// Appends one frame to out.
void AppendFrame(std::vector<uint8_t>& out, FrameKind kind, PlayerId sender, const uint8_t* payload,
                 size_t size);
void AppendFrame(std::vector<uint8_t>& out, FrameKind kind, PlayerId sender,
                 const std::vector<uint8_t>& payload);

// Cuts a received byte stream into frames. A head is checked as soon as it
// is whole: an unknown kind or a length above kMaxFramePayload is an error,
// and the reader stays in error.
class FrameReader {
public:
    enum class Status { Frame, NeedMore, Error };
    enum class Fault { None, UnknownKind, TooLong };

    void Append(const uint8_t* data, size_t size);
    // Room for at least size more bytes behind those that wait, for a
    // connection to receive into without a copy; Commit then counts the
    // bytes it put there.
    uint8_t* Reserve(size_t size);
    void Commit(size_t size);
    Status Next(Frame& frame);
    Fault GetFault() const { return m_fault; }
    // True while bytes of an unfinished frame wait.
    bool HasPartial() const { return m_start < m_end; }

private:
    std::vector<uint8_t> m_buffer; // the bytes from m_start to m_end wait
    size_t m_start = 0;
    size_t m_end = 0;
    Fault m_fault = Fault::None;
};

// A datagram that is exactly one whole frame.
bool DecodeDatagram(const std::vector<uint8_t>& bytes, Frame& frame);

// The payloads. Each decoder takes the whole payload and checks every
// length, count and value; the encoders give the one byte form it accepts.
struct Hello {
    uint64_t instance = 0;
    std::string name;
};
struct Welcome {
    PlayerId you = 0;
    PlayerId host = 0;
    SessionDesc session;             // address not sent
    std::vector<PlayerInfo> players; // by id, you and the host among them
};
struct EnumReply {
    uint16_t port = 0;
    SessionDesc session;
};
struct PlayerLeft {
    PlayerId player = 0;
    DropReason reason = DropReason::None;
};
struct DataTo {
    PlayerId to = 0;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> EncodeHello(const Hello& hello);
bool DecodeHello(const std::vector<uint8_t>& payload, Hello& hello);
std::vector<uint8_t> EncodeWelcome(const Welcome& welcome);
bool DecodeWelcome(const std::vector<uint8_t>& payload, Welcome& welcome);
std::vector<uint8_t> EncodeRefuse(JoinResult reason);
bool DecodeRefuse(const std::vector<uint8_t>& payload, JoinResult& reason);
std::vector<uint8_t> EncodePlayerJoined(const PlayerInfo& player);
bool DecodePlayerJoined(const std::vector<uint8_t>& payload, PlayerInfo& player);
std::vector<uint8_t> EncodePlayerLeft(const PlayerLeft& left);
bool DecodePlayerLeft(const std::vector<uint8_t>& payload, PlayerLeft& left);
std::vector<uint8_t> EncodeDataTo(const DataTo& data);
bool DecodeDataTo(const std::vector<uint8_t>& payload, DataTo& data);
std::vector<uint8_t> EncodeEnumQuery();
bool DecodeEnumQuery(const std::vector<uint8_t>& payload);
std::vector<uint8_t> EncodeEnumReply(const EnumReply& reply);
bool DecodeEnumReply(const std::vector<uint8_t>& payload, EnumReply& reply);

// "host[:port]"; the port defaults to defaultPort. False for an empty host
// or a port that is not 1 to 65535.
bool ParseAddress(const std::string& address, uint16_t defaultPort, std::string& host,
                  uint16_t& port);

} // namespace wire

// A byte-stream connection to one other machine; closed when destroyed.
class Link {
public:
    virtual ~Link() = default;
    // Appends up to max bytes that have arrived to in. False once the peer
    // has closed the connection or it broke (after the bytes before that).
    virtual bool Read(std::vector<uint8_t>& in, size_t max) = 0;
    // Puts up to room bytes that have arrived at data and answers their
    // count; open turns false as Read's answer does. By default through
    // Read; a connection that can receive in place does so.
    virtual size_t ReadInto(uint8_t* data, size_t room, bool& open);
    // Hands on what it can of the bytes without blocking; taken says how
    // many. False when the connection is broken.
    virtual bool Write(const uint8_t* data, size_t size, size_t& taken) = 0;
    // Waits up to ms for bytes to read (used only while joining).
    virtual void WaitReadable(int ms) = 0;
};

// What a back-end provides to the session logic.
class Transport {
public:
    virtual ~Transport() = default;

    // Host: a stream listener and the enumeration answerer on one port (0: a
    // free one).
    virtual bool Listen(uint16_t port) = 0;
    virtual uint16_t ListenPort() const = 0;
    virtual void StopListening() = 0;
    // A connection that is waiting, or null.
    virtual std::unique_ptr<Link> Accept() = 0;
    // Hands every waiting query to answer; when it fills the reply, the
    // reply goes back to the asker.
    using Answer =
        std::function<bool(const std::vector<uint8_t>& query, std::vector<uint8_t>& reply)>;
    virtual void AnswerQueries(const Answer& answer) = 0;

    // Client: a connection to host:port, or null.
    virtual std::unique_ptr<Link> Connect(const std::string& host, uint16_t port,
                                          int timeoutMs) = 0;
    // A query to host:port; an empty host is the local network's broadcast.
    virtual bool SendQuery(const std::string& host, uint16_t port,
                           const std::vector<uint8_t>& query) = 0;
    // A reply that has come, with the dotted address it came from.
    virtual bool NextReply(std::vector<uint8_t>& datagram, std::string& fromHost) = 0;
};

// The session logic over a transport (both back-ends).
std::unique_ptr<Network> MakeNetwork(std::unique_ptr<Transport> transport, NetConfig config);

} // namespace platform::net
