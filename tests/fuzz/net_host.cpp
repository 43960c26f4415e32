// Fuzz target: the network host's own logic. A host endpoint runs over an
// in-process transport whose connections carry what the input says, in any
// order: new connections, raw bytes, well-formed hellos and data frames,
// enumeration queries, closes, connections that stop taking bytes, the
// clock running on, the host's own sends and removals, and pumps. Whatever
// came, the host stays up with at most the players a session holds; once
// every connection has closed only the host is left, and a well-formed
// client that then says hello is welcomed.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/NetFraming.h"
#include "platform/Network.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace platform::net;
using namespace platform::net::wire;
using fuzz::Check;

constexpr size_t kMaxConnections = 12;
constexpr size_t kMaxKeptOutput = 1 << 20; // bytes the host sent, kept per connection

// One connection's two directions.
struct Pipe {
    std::deque<uint8_t> toHost;
    std::vector<uint8_t> fromHost;
    bool peerClosed = false; // the far end hung up
    bool hostClosed = false; // the host let the link go
    bool stuck = false;      // the far end takes no bytes
};

class PipeLink final : public Link {
public:
    explicit PipeLink(std::shared_ptr<Pipe> pipe) : m_pipe(std::move(pipe)) {}
    ~PipeLink() override { m_pipe->hostClosed = true; }

    bool Read(std::vector<uint8_t>& in, size_t max) override {
        const size_t count = std::min(max, m_pipe->toHost.size());
        in.insert(in.end(), m_pipe->toHost.begin(), m_pipe->toHost.begin() + count);
        m_pipe->toHost.erase(m_pipe->toHost.begin(), m_pipe->toHost.begin() + count);
        return !(m_pipe->peerClosed && m_pipe->toHost.empty());
    }
    bool Write(const uint8_t* data, size_t size, size_t& taken) override {
        taken = 0;
        if (m_pipe->peerClosed)
            return false;
        if (m_pipe->stuck)
            return true;
        if (m_pipe->fromHost.size() + size > kMaxKeptOutput)
            m_pipe->fromHost.clear();
        m_pipe->fromHost.insert(m_pipe->fromHost.end(), data, data + size);
        taken = size;
        return true;
    }
    void WaitReadable(int) override {}

private:
    std::shared_ptr<Pipe> m_pipe;
};

struct World {
    std::deque<std::unique_ptr<Link>> waiting;
    std::vector<std::vector<uint8_t>> queries;
    std::vector<std::vector<uint8_t>> replies;
};

class PipeTransport final : public Transport {
public:
    explicit PipeTransport(std::shared_ptr<World> world) : m_world(std::move(world)) {}

    bool Listen(uint16_t) override { return true; }
    uint16_t ListenPort() const override { return 4242; }
    void StopListening() override {}
    std::unique_ptr<Link> Accept() override {
        if (m_world->waiting.empty())
            return nullptr;
        std::unique_ptr<Link> link = std::move(m_world->waiting.front());
        m_world->waiting.pop_front();
        return link;
    }
    void AnswerQueries(const Answer& answer) override {
        for (const std::vector<uint8_t>& query : m_world->queries) {
            std::vector<uint8_t> reply;
            if (answer(query, reply))
                m_world->replies.push_back(std::move(reply));
        }
        m_world->queries.clear();
    }
    std::unique_ptr<Link> Connect(const std::string&, uint16_t, int) override { return nullptr; }
    bool SendQuery(const std::string&, uint16_t, const std::vector<uint8_t>&) override {
        return false;
    }
    bool NextReply(std::vector<uint8_t>&, std::string&) override { return false; }

private:
    std::shared_ptr<World> m_world;
};

// Reads the input a byte at a time; 0 once it is used up.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_at < m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::vector<uint8_t> Bytes(size_t count) {
        count = std::min(count, m_size - m_at);
        std::vector<uint8_t> bytes(m_data + m_at, m_data + m_at + count);
        m_at += count;
        return bytes;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

void Append(Pipe& pipe, const std::vector<uint8_t>& bytes) {
    pipe.toHost.insert(pipe.toHost.end(), bytes.begin(), bytes.end());
}

std::vector<uint8_t> FrameOf(FrameKind kind, PlayerId sender, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes;
    AppendFrame(bytes, kind, sender, payload);
    return bytes;
}

void Drain(Network& host) {
    Message message;
    while (host.Receive(message))
        Check(message.kind != MessageKind::SessionLost);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto world = std::make_shared<World>();
    uint64_t now = 1'000'000;
    NetConfig config;
    config.clock = [&now] { return now; };
    config.floodMessages = 200;
    config.floodBytes = 64 * 1024;
    std::unique_ptr<Network> host = MakeNetwork(std::make_unique<PipeTransport>(world), config);
    SessionDesc desc;
    desc.name = "Fuzz";
    desc.flags = kSessionKeepAlive;
    Check(host->Host(desc, "Host"));

    std::vector<std::shared_ptr<Pipe>> pipes;
    auto pick = [&](Input& in) -> Pipe* {
        const uint8_t k = in.Byte();
        return pipes.empty() ? nullptr : pipes[k % pipes.size()].get();
    };
    Input in(data, size);
    while (in.More()) {
        switch (in.Byte() % 10) {
        case 0: // a new connection
            if (pipes.size() < kMaxConnections) {
                pipes.push_back(std::make_shared<Pipe>());
                world->waiting.push_back(std::make_unique<PipeLink>(pipes.back()));
            }
            break;
        case 1: // raw bytes
            if (Pipe* pipe = pick(in))
                Append(*pipe, in.Bytes(in.Byte()));
            break;
        case 2: // a well-formed hello
            if (Pipe* pipe = pick(in)) {
                const uint8_t name = in.Byte();
                Append(*pipe, FrameOf(FrameKind::Hello, 0,
                                      EncodeHello({0, std::string(name % 8, 'a' + name % 26)})));
            }
            break;
        case 3: // a data frame from any sender
            if (Pipe* pipe = pick(in)) {
                const PlayerId sender = in.Byte() % 20;
                const FrameKind kind = in.Byte() & 1 ? FrameKind::Data : FrameKind::DataTo;
                Append(*pipe, FrameOf(kind, sender, in.Bytes(in.Byte())));
            }
            break;
        case 4: // the far end hangs up
            if (Pipe* pipe = pick(in))
                pipe->peerClosed = true;
            break;
        case 5: // the clock runs on
            now += uint64_t{in.Byte()} * 50;
            break;
        case 6:
            host->Pump();
            Drain(*host);
            break;
        case 7: // the far end stops (or starts again) taking bytes
            if (Pipe* pipe = pick(in))
                pipe->stuck = !pipe->stuck;
            break;
        case 8: { // the host's own doings
            const uint8_t what = in.Byte();
            if (what & 1) {
                const std::vector<uint8_t> message(what * 97u, 'h');
                host->Send(message.data(), message.size());
            } else {
                host->DestroyPlayer(2 + what / 2 % 18); // never its own: that ends the session
            }
            break;
        }
        case 9: // an enumeration query: well-formed or raw
            if (in.Byte() & 1)
                world->queries.push_back(FrameOf(FrameKind::EnumQuery, 0, EncodeEnumQuery()));
            else
                world->queries.push_back(in.Bytes(in.Byte()));
            break;
        }
        Check(host->IsActive() && host->IsHost());
        Check(host->Players().size() >= 1 && host->Players().size() <= kMaxPlayers);
        Check(world->replies.size() < 1000);
    }

    // Everybody hangs up: only the host is left.
    for (auto& pipe : pipes)
        pipe->peerClosed = true;
    for (int i = 0; i < 4; ++i) {
        now += 100;
        host->Pump();
        Drain(*host);
    }
    Check(host->IsActive());
    Check(host->Players().size() == 1);

    // A well-formed client says hello and is welcomed.
    auto good = std::make_shared<Pipe>();
    world->waiting.push_back(std::make_unique<PipeLink>(good));
    Append(*good, FrameOf(FrameKind::Hello, 0, EncodeHello({0, "Good"})));
    host->Pump();
    Drain(*host);
    FrameReader reader;
    reader.Append(good->fromHost.data(), good->fromHost.size());
    Frame frame;
    Welcome welcome;
    Check(reader.Next(frame) == FrameReader::Status::Frame && frame.kind == FrameKind::Welcome &&
          DecodeWelcome(frame.payload, welcome) && welcome.players.size() == 2);
    Check(host->Players().size() == 2);
    return 0;
}
