// The session logic shared by both back-ends: the host's table of players,
// joining, forwarding, keep-alive and the checks on everything a peer sends.
#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <random>
#include <set>

#include "platform/NetFraming.h"
#include "platform/Network.h"

namespace platform::net {

namespace {

using wire::Frame;
using wire::FrameKind;
using wire::FrameReader;

constexpr size_t kReadBudget = 256 * 1024;       // bytes read from one peer per pump
constexpr size_t kReadChunk = 64 * 1024;         // bytes asked of a connection at once
constexpr size_t kMaxBacklog = 16 * 1024 * 1024; // unsent bytes before a peer counts as stuck
// Connections that have not said hello yet; when they are all taken, the one
// that has waited longest makes room for the newest.
constexpr size_t kMaxPending = 32;
constexpr int kMaxAcceptsPerPump = 16;
// While a host has players, it looks for new connections and enumeration
// queries once this many milliseconds have passed, or after this many
// passes whatever the clock says; a host without players looks every pass.
constexpr uint64_t kListenIntervalMs = 10;
constexpr uint32_t kListenPasses = 32;
constexpr int kMaxRepliesPerEnum = 256;
constexpr PlayerId kHostId = 1;

uint64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The time from since to now; 0 when since lies after now (a clock read
// before a later one, or a clock that went back).
uint64_t Elapsed(uint64_t now, uint64_t since) {
    return now > since ? now - since : 0;
}

// One connection: on the host a client (or a newcomer before its hello), on
// a client the host.
struct Peer {
    Peer(std::unique_ptr<Link> connection, uint64_t now)
        : link(std::move(connection)), arrived(now), lastHeard(now), lastSent(now),
          floodStart(now) {}

    std::unique_ptr<Link> link;
    FrameReader reader;
    std::vector<uint8_t> out; // bytes not yet handed to the link, from outStart
    size_t outStart = 0;
    PlayerId id = 0;
    uint64_t arrived;
    uint64_t lastHeard;
    uint64_t lastSent;
    uint64_t floodStart;
    uint64_t floodMessages = 0;
    uint64_t floodBytes = 0;
    bool closed = false;                   // the connection has ended
    DropReason failure = DropReason::None; // set once: the peer is to be dropped
};

void Fail(Peer& peer, DropReason reason) {
    if (peer.failure == DropReason::None)
        peer.failure = reason;
}

class Endpoint final : public Network {
public:
    Endpoint(std::unique_ptr<Transport> transport, NetConfig config)
        : m_transport(std::move(transport)), m_config(std::move(config)) {}
    ~Endpoint() override { Close(); }

    bool OpenProvider(Provider provider, const std::string& address) override;
    bool Host(const SessionDesc& desc, const std::string& playerName) override;
    uint16_t Port() const override { return m_active && m_isHost ? m_transport->ListenPort() : 0; }
    bool SetSessionDesc(const SessionDesc& desc) override;
    SessionDesc Session() const override;
    bool EnumSessions(const EnumCallback& callback) override;
    JoinResult Join(const std::string& address, uint64_t instance,
                    const std::string& playerName) override;
    bool Send(const void* data, size_t size) override;
    bool SendTo(PlayerId to, const void* data, size_t size) override;
    bool Receive(Message& message) override;
    void Pump() override;
    std::vector<PlayerInfo> Players() const override;
    PlayerId LocalPlayer() const override { return m_local; }
    PlayerId HostPlayer() const override { return m_active ? m_hostId : 0; }
    bool IsHost() const override { return m_isHost; }
    bool IsActive() const override { return m_active; }
    bool DestroyPlayer(PlayerId player) override;
    void Close() override;
    GroupId CreateGroup() override;
    bool DestroyGroup(GroupId group) override;
    bool AddPlayerToGroup(GroupId group, PlayerId player) override;
    bool DeletePlayerFromGroup(GroupId group, PlayerId player) override;
    std::vector<PlayerId> GroupPlayers(GroupId group) const override;

private:
    struct Found {
        SessionDesc session;
        uint64_t heard = 0;
    };

    uint64_t Now() const { return m_config.clock ? m_config.clock() : SteadyMilliseconds(); }
    bool KeepAliveOn() const { return (m_desc.flags & kSessionKeepAlive) != 0; }

    void Queue(Peer& peer, FrameKind kind, PlayerId sender, const uint8_t* payload, size_t size);
    void Queue(Peer& peer, FrameKind kind, PlayerId sender, const std::vector<uint8_t>& payload) {
        Queue(peer, kind, sender, payload.data(), payload.size());
    }
    void Flush(Peer& peer);
    void FlushAll();
    void ReadFrom(Peer& peer);
    template <class Handler> void DecodeFrames(Peer& peer, Handler handle);
    bool CountFlood(Peer& peer, size_t bytes);
    void KeepAlive(Peer& peer);
    void Deliver(PlayerId from, std::vector<uint8_t> bytes);
    void Report(MessageKind kind, PlayerId player, DropReason reason);

    // Host.
    bool ListenDue();
    void AcceptNewcomers();
    void ServeNewcomers();
    bool Admit(std::unique_ptr<Peer>& newcomer, const Frame& frame);
    void HandleClientFrame(Peer& client, Frame& frame);
    void DropFailedClients();

    // Client.
    void HandleHostFrame(Frame& frame);
    void LoseSession(DropReason reason);

    void Reset();

    std::unique_ptr<Transport> m_transport;
    NetConfig m_config;

    bool m_active = false;
    bool m_isHost = false;
    PlayerId m_local = 0;
    PlayerId m_hostId = 0;
    SessionDesc m_desc;
    std::map<PlayerId, std::string> m_players;
    std::deque<Message> m_inbox;
    std::map<GroupId, std::set<PlayerId>> m_groups;
    GroupId m_nextGroup = 1;

    std::map<PlayerId, std::unique_ptr<Peer>> m_clients; // host
    std::vector<std::unique_ptr<Peer>> m_newcomers;      // host, in order of arrival
    PlayerId m_nextId = kHostId + 1;                     // host
    uint64_t m_lastListen = 0;                           // host: the clock when it last looked
    uint32_t m_passesSinceListen = 0;                    // host: passes since then
    std::unique_ptr<Peer> m_host;                        // client

    bool m_enumOpen = false;
    std::string m_enumHost;
    uint16_t m_enumPort = 0;
    std::vector<Found> m_found; // in order of first answer
};

// ---- Connections --------------------------------------------------------

void Endpoint::Queue(Peer& peer, FrameKind kind, PlayerId sender, const uint8_t* payload,
                     size_t size) {
    wire::AppendFrame(peer.out, kind, sender, payload, size);
    peer.lastSent = Now();
    if (peer.out.size() - peer.outStart > kMaxBacklog)
        Fail(peer, DropReason::Backlog);
}

void Endpoint::Flush(Peer& peer) {
    while (peer.outStart < peer.out.size() && peer.failure == DropReason::None) {
        size_t taken = 0;
        if (!peer.link->Write(peer.out.data() + peer.outStart, peer.out.size() - peer.outStart,
                              taken)) {
            // A peer that went away in the middle of a frame cut it, whether
            // its reading or this writing finds out first.
            Fail(peer, peer.reader.HasPartial() ? DropReason::CutFrame : DropReason::Closed);
            break;
        }
        if (taken == 0)
            break;
        peer.outStart += taken;
    }
    if (peer.outStart == peer.out.size()) {
        peer.out.clear();
        peer.outStart = 0;
    } else if (peer.outStart >= 64 * 1024 && peer.outStart * 2 >= peer.out.size()) {
        peer.out.erase(peer.out.begin(),
                       peer.out.begin() + static_cast<std::ptrdiff_t>(peer.outStart));
        peer.outStart = 0;
    }
}

void Endpoint::FlushAll() {
    if (m_host)
        Flush(*m_host);
    for (auto& [id, client] : m_clients)
        Flush(*client);
}

// Receives straight into the peer's frame reader. A receive that does not
// fill what it was offered has taken everything there was: the next pump
// reads on, so that no pass spends a call to find the connection empty.
void Endpoint::ReadFrom(Peer& peer) {
    if (peer.closed || peer.failure != DropReason::None)
        return;
    size_t total = 0;
    for (;;) {
        const size_t room = std::min(kReadChunk, kReadBudget - total);
        bool open = true;
        const size_t got = peer.link->ReadInto(peer.reader.Reserve(room), room, open);
        peer.reader.Commit(got);
        total += got;
        if (!open) {
            peer.closed = true;
            break;
        }
        if (got < room || total >= kReadBudget)
            break;
    }
    if (total > 0)
        peer.lastHeard = Now();
}

// Hands every whole frame that has arrived to handle, until the peer fails;
// then turns a broken stream or a closed connection into the peer's failure.
template <class Handler> void Endpoint::DecodeFrames(Peer& peer, Handler handle) {
    Frame frame;
    while (peer.failure == DropReason::None) {
        const FrameReader::Status status = peer.reader.Next(frame);
        if (status == FrameReader::Status::NeedMore)
            break;
        if (status == FrameReader::Status::Error) {
            Fail(peer, peer.reader.GetFault() == FrameReader::Fault::TooLong
                           ? DropReason::TooLong
                           : DropReason::BadFrame);
            break;
        }
        handle(frame);
    }
    if (peer.closed)
        Fail(peer, peer.reader.HasPartial() ? DropReason::CutFrame : DropReason::Closed);
}

bool Endpoint::CountFlood(Peer& peer, size_t bytes) {
    const uint64_t now = Now();
    if (Elapsed(now, peer.floodStart) >= 1000) {
        peer.floodStart = now;
        peer.floodMessages = 0;
        peer.floodBytes = 0;
    }
    ++peer.floodMessages;
    peer.floodBytes += wire::kHeadSize + bytes;
    if ((m_config.floodMessages != 0 && peer.floodMessages > m_config.floodMessages) ||
        (m_config.floodBytes != 0 && peer.floodBytes > m_config.floodBytes)) {
        Fail(peer, DropReason::Flood);
        return false;
    }
    return true;
}

// Sends a keep-alive when nothing went out for a quarter of the time-out,
// and gives up on a peer that was silent for all of it.
void Endpoint::KeepAlive(Peer& peer) {
    const uint64_t now = Now();
    if (Elapsed(now, peer.lastSent) >= m_config.keepAliveMs / 4)
        Queue(peer, FrameKind::KeepAlive, m_local, nullptr, 0);
    if (KeepAliveOn() && Elapsed(now, peer.lastHeard) > m_config.keepAliveMs)
        Fail(peer, DropReason::TimedOut);
}

void Endpoint::Deliver(PlayerId from, std::vector<uint8_t> bytes) {
    Message message;
    message.kind = MessageKind::Data;
    message.player = from;
    message.data = std::move(bytes);
    m_inbox.push_back(std::move(message));
}

void Endpoint::Report(MessageKind kind, PlayerId player, DropReason reason) {
    Message message;
    message.kind = kind;
    message.player = player;
    if (auto it = m_players.find(player); it != m_players.end())
        message.name = it->second;
    message.reason = reason;
    m_inbox.push_back(std::move(message));
}

// ---- Sessions -----------------------------------------------------------

bool Endpoint::OpenProvider(Provider provider, const std::string& address) {
    if (!IsProviderPresent(provider))
        return false;
    std::string host;
    uint16_t port = m_config.port;
    if (!address.empty() && !wire::ParseAddress(address, m_config.port, host, port))
        return false;
    if (port == 0)
        return false;
    m_enumOpen = true;
    m_enumHost = host;
    m_enumPort = port;
    m_found.clear();
    return true;
}

bool Endpoint::Host(const SessionDesc& desc, const std::string& playerName) {
    if (m_active || playerName.size() > kMaxNameLength || desc.name.size() > kMaxNameLength)
        return false;
    if (!m_transport->Listen(m_config.port))
        return false;
    std::random_device random;
    m_desc = desc;
    m_desc.instance = 0;
    while (m_desc.instance == 0)
        m_desc.instance = (static_cast<uint64_t>(random()) << 32) | random();
    m_desc.maxPlayers = std::clamp<uint32_t>(desc.maxPlayers, 1, kMaxPlayers);
    m_desc.address.clear();
    m_players = {{kHostId, playerName}};
    m_local = kHostId;
    m_hostId = kHostId;
    m_nextId = kHostId + 1;
    m_isHost = true;
    m_active = true;
    return true;
}

bool Endpoint::SetSessionDesc(const SessionDesc& desc) {
    if (!m_active || !m_isHost || desc.name.size() > kMaxNameLength)
        return false;
    m_desc.name = desc.name;
    m_desc.flags = desc.flags;
    m_desc.maxPlayers = std::clamp<uint32_t>(desc.maxPlayers, 1, kMaxPlayers);
    m_desc.user1 = desc.user1;
    m_desc.user2 = desc.user2;
    return true;
}

SessionDesc Endpoint::Session() const {
    SessionDesc desc = m_desc;
    if (m_isHost)
        desc.currentPlayers = static_cast<uint32_t>(m_players.size());
    return desc;
}

bool Endpoint::EnumSessions(const EnumCallback& callback) {
    if (!m_enumOpen)
        return false;
    std::vector<uint8_t> query;
    wire::AppendFrame(query, FrameKind::EnumQuery, 0, wire::EncodeEnumQuery());
    if (!m_transport->SendQuery(m_enumHost, m_enumPort, query))
        return false;

    const uint64_t now = Now();
    std::vector<uint8_t> datagram;
    std::string from;
    for (int i = 0; i < kMaxRepliesPerEnum && m_transport->NextReply(datagram, from); ++i) {
        Frame frame;
        wire::EnumReply reply;
        if (!wire::DecodeDatagram(datagram, frame) || frame.kind != FrameKind::EnumReply ||
            !wire::DecodeEnumReply(frame.payload, reply))
            continue;
        reply.session.address = from + ":" + std::to_string(reply.port);
        auto it = std::find_if(m_found.begin(), m_found.end(), [&](const Found& f) {
            return f.session.instance == reply.session.instance;
        });
        if (it == m_found.end())
            m_found.push_back({std::move(reply.session), now});
        else
            *it = {std::move(reply.session), now};
    }
    // A session that stopped answering is gone.
    std::erase_if(m_found,
                  [&](const Found& f) { return Elapsed(now, f.heard) > m_config.keepAliveMs; });

    for (const Found& found : m_found)
        if (!callback(&found.session, false))
            return true;
    callback(nullptr, true);
    return true;
}

JoinResult Endpoint::Join(const std::string& address, uint64_t instance,
                          const std::string& playerName) {
    if (m_active || playerName.size() > kMaxNameLength)
        return JoinResult::Failed;
    std::string host;
    uint16_t port = 0;
    if (!wire::ParseAddress(address, m_config.port, host, port))
        return JoinResult::Failed;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(m_config.joinTimeoutMs);
    std::unique_ptr<Link> link =
        m_transport->Connect(host, port, static_cast<int>(m_config.joinTimeoutMs));
    if (!link)
        return JoinResult::NoSession;
    auto peer = std::make_unique<Peer>(std::move(link), Now());
    Queue(*peer, FrameKind::Hello, 0, wire::EncodeHello({instance, playerName}));

    // Waits for the host's one answer; whatever follows it stays in the
    // reader for the first pump.
    Frame frame;
    for (;;) {
        Flush(*peer);
        ReadFrom(*peer);
        const FrameReader::Status status = peer->reader.Next(frame);
        if (status == FrameReader::Status::Frame)
            break;
        if (status == FrameReader::Status::Error)
            return JoinResult::Failed;
        if (peer->closed || peer->failure != DropReason::None)
            return JoinResult::NoSession;
        const auto remaining =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (remaining.count() <= 0)
            return JoinResult::NoSession;
        peer->link->WaitReadable(static_cast<int>(std::min<int64_t>(remaining.count(), 100)));
    }

    if (frame.kind == FrameKind::Refuse) {
        JoinResult reason = JoinResult::Failed;
        return wire::DecodeRefuse(frame.payload, reason) ? reason : JoinResult::Failed;
    }
    wire::Welcome welcome;
    if (frame.kind != FrameKind::Welcome || !wire::DecodeWelcome(frame.payload, welcome) ||
        frame.sender != welcome.host)
        return JoinResult::Failed;

    m_desc = welcome.session;
    m_desc.address = host + ":" + std::to_string(port);
    m_players.clear();
    for (PlayerInfo& player : welcome.players)
        m_players[player.id] = std::move(player.name);
    m_local = welcome.you;
    m_hostId = welcome.host;
    peer->id = welcome.host;
    peer->lastHeard = peer->lastSent = peer->floodStart = Now();
    m_host = std::move(peer);
    m_isHost = false;
    m_active = true;
    return JoinResult::Joined;
}

// ---- Messages -----------------------------------------------------------

bool Endpoint::Send(const void* data, size_t size) {
    if (!m_active || size > kMaxMessageSize)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (m_isHost) {
        for (auto& [id, client] : m_clients)
            Queue(*client, FrameKind::Data, m_local, bytes, size);
    } else {
        Queue(*m_host, FrameKind::Data, m_local, bytes, size);
    }
    FlushAll();
    return true;
}

bool Endpoint::SendTo(PlayerId to, const void* data, size_t size) {
    if (!m_active || size > kMaxMessageSize || to == m_local || m_players.count(to) == 0)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (m_isHost) {
        auto it = m_clients.find(to);
        if (it == m_clients.end())
            return false;
        Queue(*it->second, FrameKind::Data, m_local, bytes, size);
        Flush(*it->second);
    } else {
        Queue(*m_host, FrameKind::DataTo, m_local,
              wire::EncodeDataTo({to, std::vector<uint8_t>(bytes, bytes + size)}));
        Flush(*m_host);
    }
    return true;
}

bool Endpoint::Receive(Message& message) {
    if (m_inbox.empty())
        Pump();
    if (m_inbox.empty())
        return false;
    message = std::move(m_inbox.front());
    m_inbox.pop_front();
    return true;
}

void Endpoint::Pump() {
    if (!m_active)
        return;
    if (m_isHost) {
        if (ListenDue()) {
            AcceptNewcomers();
            m_transport->AnswerQueries([&](const std::vector<uint8_t>& query,
                                           std::vector<uint8_t>& reply) {
                Frame frame;
                if (!wire::DecodeDatagram(query, frame) || frame.kind != FrameKind::EnumQuery ||
                    !wire::DecodeEnumQuery(frame.payload))
                    return false;
                reply.clear();
                wire::AppendFrame(reply, FrameKind::EnumReply, m_local,
                                  wire::EncodeEnumReply({m_transport->ListenPort(), Session()}));
                return true;
            });
        }
        ServeNewcomers();
        for (auto& [id, client] : m_clients) {
            ReadFrom(*client);
            Peer& from = *client;
            DecodeFrames(from, [&](Frame& frame) { HandleClientFrame(from, frame); });
        }
        for (auto& [id, client] : m_clients)
            KeepAlive(*client);
        DropFailedClients();
        FlushAll();
        DropFailedClients();
    } else {
        ReadFrom(*m_host);
        DecodeFrames(*m_host, [&](Frame& frame) { HandleHostFrame(frame); });
        KeepAlive(*m_host);
        Flush(*m_host);
        if (m_host->failure != DropReason::None)
            LoseSession(m_host->failure);
    }
}

std::vector<PlayerInfo> Endpoint::Players() const {
    std::vector<PlayerInfo> players;
    for (const auto& [id, name] : m_players)
        players.push_back({id, name});
    return players;
}

bool Endpoint::DestroyPlayer(PlayerId player) {
    if (!m_active)
        return false;
    if (player == m_local) {
        Close();
        return true;
    }
    auto it = m_clients.find(player);
    if (!m_isHost || it == m_clients.end())
        return false;
    Fail(*it->second, DropReason::Removed);
    DropFailedClients();
    FlushAll();
    return true;
}

void Endpoint::Close() {
    // What is queued still goes out if the connection takes it now.
    FlushAll();
    if (m_isHost)
        m_transport->StopListening();
    Reset();
}

void Endpoint::Reset() {
    m_clients.clear();
    m_newcomers.clear();
    m_host.reset();
    m_active = false;
    m_isHost = false;
    m_local = 0;
    m_hostId = 0;
    m_desc = {};
    m_players.clear();
    m_inbox.clear();
    m_groups.clear();
    m_lastListen = 0;
    m_passesSinceListen = 0;
}

// ---- Host ---------------------------------------------------------------

// Looking for newcomers costs calls that find nothing on almost every pass
// of a running game: a host with players looks now and then (a newcomer
// waits a few milliseconds), one without players or with a newcomer still
// greeting every pass.
bool Endpoint::ListenDue() {
    const uint64_t now = Now();
    if (m_clients.empty() || !m_newcomers.empty() || ++m_passesSinceListen >= kListenPasses ||
        Elapsed(now, m_lastListen) >= kListenIntervalMs) {
        m_passesSinceListen = 0;
        m_lastListen = now;
        return true;
    }
    return false;
}

void Endpoint::AcceptNewcomers() {
    for (int i = 0; i < kMaxAcceptsPerPump; ++i) {
        std::unique_ptr<Link> link = m_transport->Accept();
        if (!link)
            break;
        // All slots taken: the newcomer that has waited longest is let go,
        // so that connections that never finish their hello cannot keep a
        // player out (each has only the greeting time anyway).
        if (m_newcomers.size() >= kMaxPending)
            m_newcomers.erase(m_newcomers.begin());
        m_newcomers.push_back(std::make_unique<Peer>(std::move(link), Now()));
    }
}

// A newcomer's first frame must be its hello; it is answered and the
// newcomer either becomes a player or is let go. A newcomer that has not
// finished its hello within the greeting time, or says nothing for the
// keep-alive time, is let go as well.
void Endpoint::ServeNewcomers() {
    for (auto& newcomer : m_newcomers) {
        ReadFrom(*newcomer);
        // Read after the connection: reading sets the time last heard.
        const uint64_t now = Now();
        Frame frame;
        switch (newcomer->reader.Next(frame)) {
        case FrameReader::Status::Frame:
            if (!Admit(newcomer, frame))
                Fail(*newcomer, DropReason::BadFrame);
            break;
        case FrameReader::Status::Error:
            Fail(*newcomer, DropReason::BadFrame);
            break;
        case FrameReader::Status::NeedMore:
            if (newcomer->closed || Elapsed(now, newcomer->arrived) > m_config.greetingTimeoutMs ||
                Elapsed(now, newcomer->lastHeard) > m_config.keepAliveMs)
                Fail(*newcomer, DropReason::Closed);
            break;
        }
    }
    std::erase_if(m_newcomers, [](const std::unique_ptr<Peer>& p) {
        return !p || p->failure != DropReason::None;
    });
}

// Answers a hello: a refusal (the newcomer is let go once it is sent), or a
// welcome with the players, and the others learn of the new player. False
// for anything that is not a hello.
bool Endpoint::Admit(std::unique_ptr<Peer>& newcomer, const Frame& frame) {
    wire::Hello hello;
    if (frame.kind != FrameKind::Hello || frame.sender != 0 ||
        !wire::DecodeHello(frame.payload, hello))
        return false;
    JoinResult refusal = JoinResult::Joined;
    if (hello.instance != 0 && hello.instance != m_desc.instance)
        refusal = JoinResult::NoSession;
    else if (m_desc.flags & kSessionJoinDisabled)
        refusal = JoinResult::Disabled;
    else if (m_players.size() >= m_desc.maxPlayers)
        refusal = JoinResult::Full;
    if (refusal != JoinResult::Joined) {
        Queue(*newcomer, FrameKind::Refuse, m_local, wire::EncodeRefuse(refusal));
        Flush(*newcomer);
        Fail(*newcomer, DropReason::Closed);
        return true;
    }

    const PlayerId id = m_nextId++;
    m_players[id] = hello.name;
    wire::Welcome welcome{id, m_local, Session(), Players()};
    Queue(*newcomer, FrameKind::Welcome, m_local, wire::EncodeWelcome(welcome));
    const std::vector<uint8_t> joined = wire::EncodePlayerJoined({id, hello.name});
    for (auto& [other, client] : m_clients)
        Queue(*client, FrameKind::PlayerJoined, m_local, joined);
    Report(MessageKind::PlayerCreated, id, DropReason::None);

    newcomer->id = id;
    newcomer->lastHeard = newcomer->floodStart = Now();
    m_clients[id] = std::move(newcomer); // frames after the hello are read with the others
    return true;
}

void Endpoint::HandleClientFrame(Peer& client, Frame& frame) {
    if (frame.sender != client.id) {
        Fail(client, DropReason::BadFrame);
        return;
    }
    if (!CountFlood(client, frame.payload.size()))
        return;
    switch (frame.kind) {
    case FrameKind::Data:
        if (frame.payload.size() > kMaxMessageSize) {
            Fail(client, DropReason::TooLong);
            return;
        }
        for (auto& [id, other] : m_clients)
            if (id != client.id)
                Queue(*other, FrameKind::Data, client.id, frame.payload);
        Deliver(client.id, std::move(frame.payload));
        return;
    case FrameKind::DataTo: {
        wire::DataTo data;
        if (!wire::DecodeDataTo(frame.payload, data) || data.to == client.id) {
            Fail(client, DropReason::BadFrame);
            return;
        }
        if (data.to == m_local) {
            Deliver(client.id, std::move(data.bytes));
        } else if (auto it = m_clients.find(data.to); it != m_clients.end()) {
            Queue(*it->second, FrameKind::Data, client.id, data.bytes);
        }
        // A receiver that has left meanwhile gets nothing.
        return;
    }
    case FrameKind::KeepAlive:
        if (!frame.payload.empty())
            Fail(client, DropReason::BadFrame);
        return;
    default:
        Fail(client, DropReason::BadFrame);
        return;
    }
}

// Removes every client that failed; the host and the others are told. A
// notice to the others may make another client fail (backlog), so this
// repeats until none is left.
void Endpoint::DropFailedClients() {
    for (;;) {
        auto it = std::find_if(m_clients.begin(), m_clients.end(), [](const auto& entry) {
            return entry.second->failure != DropReason::None;
        });
        if (it == m_clients.end())
            return;
        const PlayerId id = it->first;
        const DropReason reason = it->second->failure;
        m_clients.erase(it);
        Report(MessageKind::PlayerDestroyed, id, reason);
        m_players.erase(id);
        for (auto& [group, members] : m_groups)
            members.erase(id);
        const std::vector<uint8_t> left = wire::EncodePlayerLeft({id, reason});
        for (auto& [other, client] : m_clients)
            Queue(*client, FrameKind::PlayerLeft, m_local, left);
    }
}

// ---- Client -------------------------------------------------------------

void Endpoint::HandleHostFrame(Frame& frame) {
    Peer& host = *m_host;
    if (!CountFlood(host, frame.payload.size()))
        return;
    const bool fromHost = frame.sender == m_hostId;
    switch (frame.kind) {
    case FrameKind::Data:
        if (frame.payload.size() > kMaxMessageSize) {
            Fail(host, DropReason::TooLong);
        } else if (frame.sender == m_local || m_players.count(frame.sender) == 0) {
            Fail(host, DropReason::BadFrame);
        } else {
            Deliver(frame.sender, std::move(frame.payload));
        }
        return;
    case FrameKind::PlayerJoined: {
        PlayerInfo player;
        if (!fromHost || !wire::DecodePlayerJoined(frame.payload, player) ||
            m_players.count(player.id) != 0 || m_players.size() >= kMaxPlayers) {
            Fail(host, DropReason::BadFrame);
            return;
        }
        m_players[player.id] = std::move(player.name);
        Report(MessageKind::PlayerCreated, player.id, DropReason::None);
        return;
    }
    case FrameKind::PlayerLeft: {
        wire::PlayerLeft left;
        if (!fromHost || !wire::DecodePlayerLeft(frame.payload, left) || left.player == m_local ||
            left.player == m_hostId || m_players.count(left.player) == 0) {
            Fail(host, DropReason::BadFrame);
            return;
        }
        Report(MessageKind::PlayerDestroyed, left.player, left.reason);
        m_players.erase(left.player);
        for (auto& [group, members] : m_groups)
            members.erase(left.player);
        return;
    }
    case FrameKind::KeepAlive:
        if (!fromHost || !frame.payload.empty())
            Fail(host, DropReason::BadFrame);
        return;
    default:
        Fail(host, DropReason::BadFrame);
        return;
    }
}

// The host is gone: it is reported destroyed, then the session lost, after
// every message that came before.
void Endpoint::LoseSession(DropReason reason) {
    Report(MessageKind::PlayerDestroyed, m_hostId, reason);
    Report(MessageKind::SessionLost, 0, reason);
    std::deque<Message> inbox = std::move(m_inbox);
    Reset();
    m_inbox = std::move(inbox);
}

// ---- Chat groups --------------------------------------------------------

GroupId Endpoint::CreateGroup() {
    if (!m_active)
        return 0;
    const GroupId group = m_nextGroup++;
    m_groups[group];
    return group;
}

bool Endpoint::DestroyGroup(GroupId group) {
    return m_groups.erase(group) != 0;
}

bool Endpoint::AddPlayerToGroup(GroupId group, PlayerId player) {
    auto it = m_groups.find(group);
    if (it == m_groups.end() || m_players.count(player) == 0)
        return false;
    it->second.insert(player);
    return true;
}

bool Endpoint::DeletePlayerFromGroup(GroupId group, PlayerId player) {
    auto it = m_groups.find(group);
    return it != m_groups.end() && it->second.erase(player) != 0;
}

std::vector<PlayerId> Endpoint::GroupPlayers(GroupId group) const {
    auto it = m_groups.find(group);
    if (it == m_groups.end())
        return {};
    return {it->second.begin(), it->second.end()};
}

} // namespace

std::unique_ptr<Network> MakeNetwork(std::unique_ptr<Transport> transport, NetConfig config) {
    return std::make_unique<Endpoint>(std::move(transport), std::move(config));
}

} // namespace platform::net
