#pragma once
// The network layer: a session of up to 16 players, one of them the host,
// that exchange messages. Two back-ends share this interface: TCP (sessions)
// with UDP (finding sessions on the local network, platform/NetSocket.cpp),
// and an in-process loopback hub that connects several sessions of one
// program without sockets (platform/null/NetLoopback.cpp).
//
// Everything is polled from the main loop and never blocks, except Join,
// which waits (up to NetConfig::joinTimeoutMs) for the host's answer.
//
// Clients talk only to the host. A client's message goes to the host, which
// takes it and forwards it to the other clients in the order it arrived; the
// host's own messages go to every client. So every machine sees the messages
// of the others in one order, and nobody gets its own message back.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::net {

using PlayerId = uint32_t; // 0 is never a player
using GroupId = uint32_t;  // 0 is never a group

constexpr uint32_t kMaxPlayers = 16;
constexpr size_t kMaxMessageSize = 64 * 1024; // bytes of one message
constexpr size_t kMaxNameLength = 255;        // bytes of a session or player name
constexpr uint16_t kDefaultPort = 28790;      // hosting and finding sessions

// Service providers; only TCP/IP is present.
enum class Provider : uint32_t { Ipx = 0, TcpIp = 1, Serial = 2, Modem = 3 };
constexpr uint32_t kProviderCount = 4;

inline bool IsProviderPresent(Provider provider) {
    return provider == Provider::TcpIp;
}

// Session flags.
constexpr uint32_t kSessionKeepAlive = 1u << 0;    // silent players are dropped
constexpr uint32_t kSessionJoinDisabled = 1u << 1; // the host refuses new players

struct SessionDesc {
    uint64_t instance = 0; // drawn by the host; 0 before hosting
    std::string name;
    uint32_t flags = 0;
    uint32_t maxPlayers = kMaxPlayers; // 1 to 16
    uint32_t currentPlayers = 0;       // as the host last reported
    uint32_t user1 = 0;
    uint32_t user2 = 0;
    std::string address; // found sessions: "a.b.c.d:port" to join
};

struct PlayerInfo {
    PlayerId id = 0;
    std::string name;
};

enum class MessageKind : uint8_t {
    Data,            // a message of another player
    PlayerCreated,   // a player joined
    PlayerDestroyed, // a player left or was dropped (on a client also the host, when lost)
    SessionLost,     // the connection to the session is gone; this machine is out of it
};

// Why a player was dropped or the session lost.
enum class DropReason : uint8_t {
    None,
    Closed,   // the connection was closed
    TimedOut, // nothing heard for the keep-alive time
    BadFrame, // bytes that are no valid frame, or a frame out of place
    TooLong,  // a frame longer than any message
    CutFrame, // the connection closed in the middle of a frame
    Flood,    // more messages or bytes per second than allowed
    Backlog,  // the peer stopped reading and its unsent bytes piled up
    Removed,  // the host removed the player (DestroyPlayer)
};

struct Message {
    MessageKind kind = MessageKind::Data;
    PlayerId player = 0;                  // Data: the sender; created/destroyed: that player
    std::string name;                     // created/destroyed: the player's name
    DropReason reason = DropReason::None; // PlayerDestroyed, SessionLost
    std::vector<uint8_t> data;            // Data
};

enum class JoinResult {
    Joined,
    Full,      // the session has its maximum of players
    Disabled,  // the host does not take new players
    NoSession, // nobody answered at the address, or another session is there
    Failed,    // already in a session, a bad address or name, or a broken answer
};

struct NetConfig {
    // Hosting listens here (TCP and UDP on the same number); also the port of
    // an address without ":port". 0 picks a free port (read it with Port()).
    uint16_t port = kDefaultPort;
    // The local address sockets bind to; empty: every interface.
    std::string bindAddress;
    uint32_t keepAliveMs = 10000;
    uint32_t joinTimeoutMs = 5000;
    // A host gives a new connection this long from its arrival to finish its
    // hello; one still greeting then is let go, however much it trickles.
    uint32_t greetingTimeoutMs = 3000;
    // Per player and second (0: no limit); more is a flood and drops the player.
    uint32_t floodMessages = 20000;
    uint32_t floodBytes = 16 * 1024 * 1024;
    // Milliseconds of a steady clock, for the keep-alive and the flood limit;
    // empty: the system's steady clock.
    std::function<uint64_t()> clock;
};

class Network {
public:
    virtual ~Network() = default;

    // Opens a provider with the address that enumeration asks: "host[:port]",
    // or empty for the local network's broadcast. False for an absent
    // provider or an address that cannot be read.
    virtual bool OpenProvider(Provider provider, const std::string& address) = 0;

    // Creates a session (its instance is drawn here) with the local player
    // and starts answering enumeration. False when already in a session, for
    // a name longer than kMaxNameLength or when the port cannot be opened.
    virtual bool Host(const SessionDesc& desc, const std::string& playerName) = 0;
    // The port a host listens on; 0 when not hosting.
    virtual uint16_t Port() const = 0;
    // The host changes its session's name, flags, user words and maximum.
    virtual bool SetSessionDesc(const SessionDesc& desc) = 0;
    // The session this machine is in (the host's description at joining).
    virtual SessionDesc Session() const = 0;

    // Sends a query to the opened address and calls back with every session
    // that has answered so far (timedOut false, in order of first answer),
    // then once with no session and timedOut true. A false answer from the
    // callback stops the calls. False when no provider is open or the query
    // cannot be sent.
    using EnumCallback = std::function<bool(const SessionDesc* session, bool timedOut)>;
    virtual bool EnumSessions(const EnumCallback& callback) = 0;

    // Connects to the host at "host[:port]" (name or address) and joins its
    // session; instance 0 takes whichever session is there.
    virtual JoinResult Join(const std::string& address, uint64_t instance,
                            const std::string& playerName) = 0;

    // Reliable and ordered. Send goes to every other player; SendTo to one
    // other player. False when not in a session, for an unknown player or
    // more than kMaxMessageSize bytes.
    virtual bool Send(const void* data, size_t size) = 0;
    virtual bool SendTo(PlayerId to, const void* data, size_t size) = 0;

    // The next message that has arrived; false when none waits. Never blocks.
    virtual bool Receive(Message& message) = 0;
    // Does the waiting network work (accepting, reading, keep-alive); the
    // messages wait for Receive, which also does it.
    virtual void Pump() = 0;

    // The players of the session in order of their ids (the host's is the
    // lowest), this machine's own among them.
    virtual std::vector<PlayerInfo> Players() const = 0;
    virtual PlayerId LocalPlayer() const = 0;
    // The host's player (this machine's own on the host); 0 when not in a
    // session.
    virtual PlayerId HostPlayer() const = 0;
    virtual bool IsHost() const = 0;
    virtual bool IsActive() const = 0;

    // The host removes a player; any machine may end its own player, which
    // closes the session. False otherwise.
    virtual bool DestroyPlayer(PlayerId player) = 0;
    // Leaves the session (the host ends it for everybody).
    virtual void Close() = 0;

    // Chat groups: kept on this machine only, while in a session.
    virtual GroupId CreateGroup() = 0; // 0 when not in a session
    virtual bool DestroyGroup(GroupId group) = 0;
    virtual bool AddPlayerToGroup(GroupId group, PlayerId player) = 0;
    virtual bool DeletePlayerFromGroup(GroupId group, PlayerId player) = 0;
    virtual std::vector<PlayerId> GroupPlayers(GroupId group) const = 0; // by id
};

// The TCP/UDP back-end (platform/NetSocket.cpp).
std::unique_ptr<Network> CreateTcpNetwork(NetConfig config = {});

// The loopback back-end (platform/null/NetLoopback.cpp): connects the
// sessions made by it inside one program, without sockets. An address's host
// part is ignored; its port picks the session. The networks may outlive the
// hub.
class LoopbackHub {
public:
    LoopbackHub();
    ~LoopbackHub();
    LoopbackHub(const LoopbackHub&) = delete;
    LoopbackHub& operator=(const LoopbackHub&) = delete;

    std::unique_ptr<Network> CreateNetwork(NetConfig config = {});

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace platform::net
