// The TCP host on the system's own clock against peers that take their time
// or mean harm: hellos that come in pieces, connections that trickle and
// never finish their greeting, and a crowd of bad peers at once, after which
// a good client still joins. Everything runs over 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/NetFraming.h"
#include "platform/Network.h"
#include "platform/TcpClient.h"
#include "tests/platform/NetTestSupport.h"

namespace {

using namespace platform::net;
using namespace platform::net::wire;
using namespace std::chrono_literals;
using platform::TcpConnection;
using Clock = std::chrono::steady_clock;

constexpr int kSendMs = 3000;

std::vector<uint8_t> FrameBytes(FrameKind kind, PlayerId sender,
                                const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes;
    AppendFrame(bytes, kind, sender, payload);
    return bytes;
}

std::vector<uint8_t> HelloBytes(const std::string& name) {
    return FrameBytes(FrameKind::Hello, 0, EncodeHello({0, name}));
}

// A frame head that claims length bytes of payload.
std::vector<uint8_t> Head(uint32_t length, uint8_t kind, PlayerId sender) {
    std::vector<uint8_t> head;
    for (int i = 0; i < 4; ++i)
        head.push_back(static_cast<uint8_t>(length >> (8 * i)));
    head.push_back(kind);
    for (int i = 0; i < 4; ++i)
        head.push_back(static_cast<uint8_t>(sender >> (8 * i)));
    return head;
}

bool ReadFrame(TcpConnection& tcp, Frame& frame) {
    std::vector<uint8_t> head(kHeadSize);
    if (!tcp.ReceiveExact(head.data(), head.size(), 3000))
        return false;
    const uint32_t length =
        head[0] | head[1] << 8 | head[2] << 16 | static_cast<uint32_t>(head[3]) << 24;
    if (length > kMaxFramePayload)
        return false;
    std::vector<uint8_t> payload(length);
    if (length > 0 && !tcp.ReceiveExact(payload.data(), payload.size(), 3000))
        return false;
    FrameReader reader;
    reader.Append(head.data(), head.size());
    reader.Append(payload.data(), payload.size());
    return reader.Next(frame) == FrameReader::Status::Frame;
}

// The id a raw connection was welcomed with; 0 without a welcome.
PlayerId ReadWelcome(TcpConnection& raw) {
    Frame frame;
    Welcome welcome;
    if (!ReadFrame(raw, frame) || frame.kind != FrameKind::Welcome ||
        !DecodeWelcome(frame.payload, welcome))
        return 0;
    return welcome.you;
}

class NetworkHostile : public ::testing::Test {
protected:
    // The system's steady clock: no injected one.
    static NetConfig Config() {
        NetConfig config;
        config.port = 0;
        config.bindAddress = "127.0.0.1";
        config.joinTimeoutMs = 3000;
        return config;
    }

    void StartHost(NetConfig config) {
        host = CreateTcpNetwork(std::move(config));
        SessionDesc desc;
        desc.name = "Hostile";
        desc.flags = kSessionKeepAlive;
        ASSERT_TRUE(host->Host(desc, "Ann"));
    }

    std::string Address() const { return "127.0.0.1:" + std::to_string(host->Port()); }

    // Connects and lets the host take the connection in (its queue of
    // connections not yet taken is short).
    void Connect(TcpConnection& raw) {
        ASSERT_TRUE(raw.Connect("127.0.0.1", host->Port(), 3000));
        host->Pump();
    }

    // Pumps the host (and receives on it, logging what comes) until the
    // condition holds or the time is up; answers the condition.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms) {
        const auto deadline = Clock::now() + limit;
        while (!done() && Clock::now() < deadline) {
            Message message;
            while (host->Receive(message))
                hostLog.push_back(nettest::Describe(message));
            std::this_thread::sleep_for(1ms);
        }
        return done();
    }

    std::unique_ptr<Network> host;
    std::vector<std::string> hostLog;
};

// Fifteen players whose hellos arrive a byte at a time: the host reads the
// clock after each read, so none of them is taken for a newcomer silent
// since some later time (the unsigned difference wrapped and dropped them).
TEST_F(NetworkHostile, HellosThatArriveInPiecesAreAllWelcomed) {
    StartHost(Config());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        constexpr int kJoins = static_cast<int>(kMaxPlayers) - 1;
        std::vector<TcpConnection> raws(kJoins);
        std::vector<std::vector<uint8_t>> hellos;
        for (int i = 0; i < kJoins; ++i) {
            Connect(raws[i]);
            hellos.push_back(HelloBytes("Piece" + std::to_string(i)));
        }
        std::thread writer([&] {
            for (size_t at = 0; at < hellos[0].size() + 4; ++at) {
                for (int i = 0; i < kJoins; ++i)
                    if (at < hellos[i].size())
                        raws[i].SendAll(&hellos[i][at], 1, kSendMs);
                std::this_thread::sleep_for(1ms);
            }
        });
        const bool all = PumpUntil([&] { return host->Players().size() == kMaxPlayers; });
        writer.join();
        EXPECT_TRUE(all) << host->Players().size() << " players";
        for (int i = 0; i < kJoins; ++i)
            EXPECT_NE(ReadWelcome(raws[i]), 0u) << i;
        for (TcpConnection& raw : raws)
            raw.Close();
        EXPECT_TRUE(PumpUntil([&] { return host->Players().size() == 1; }));
    }
    for (const std::string& line : hostLog) {
        if (line.rfind("destroyed", 0) == 0) {
            EXPECT_NE(line.find("Closed"), std::string::npos) << line;
        }
    }
}

// More connections than there are waiting slots trickle a byte now and then
// and never finish their hello: a good client still joins at once, and the
// tricklers are let go once their greeting time is over, bytes or not.
TEST_F(NetworkHostile, SlowConnectionsCannotKeepAPlayerOut) {
    NetConfig config = Config();
    config.greetingTimeoutMs = 1500;
    StartHost(config);
    constexpr int kSlow = 40;
    std::vector<TcpConnection> slow(kSlow);
    for (TcpConnection& raw : slow)
        Connect(raw);
    const std::vector<uint8_t> hello = HelloBytes("Slowcoach");

    std::atomic<bool> stop{false};
    std::thread trickle([&] {
        for (size_t at = 0; !stop && at < hello.size(); ++at) {
            for (TcpConnection& raw : slow)
                raw.SendAll(&hello[at], 1, kSendMs); // fails once the host let it go
            for (int i = 0; i < 200 && !stop; ++i)
                std::this_thread::sleep_for(1ms);
        }
    });
    PumpUntil([] { return false; }, 300ms); // every slow one is taken in

    auto bob = CreateTcpNetwork(Config());
    const auto started = Clock::now();
    EXPECT_EQ(nettest::JoinWhileHostRuns(*host, *bob, Address(), 0, "Bob"), JoinResult::Joined);
    EXPECT_LT(Clock::now() - started, 1000ms);

    // Past the greeting time every trickler is gone, none of them a player.
    PumpUntil([] { return false; }, 1800ms);
    stop = true;
    trickle.join();
    std::thread pump([&] { PumpUntil([] { return false; }, 500ms); });
    for (int i = 0; i < kSlow; ++i)
        EXPECT_TRUE(slow[i].WaitClosed(400)) << i;
    pump.join();
    EXPECT_EQ(host->Players().size(), 2u);
    EXPECT_EQ(hostLog, std::vector<std::string>{"created 2 Bob"});
}

// A crowd of bad peers at once - garbage, huge lengths, cut frames, a flood,
// forged senders, unknown frame kinds, frames out of place, a slow greeter
// - while a good player is in the game: each bad one is let go with its
// reason, the good one loses nothing, and a new player joins afterwards.
TEST_F(NetworkHostile, TheHostOutlivesACrowdOfBadPeersAndTakesANewPlayer) {
    NetConfig config = Config();
    config.greetingTimeoutMs = 800;
    config.floodMessages = 2000;
    StartHost(config);
    auto bob = CreateTcpNetwork(Config());
    ASSERT_EQ(nettest::JoinWhileHostRuns(*host, *bob, Address(), 0, "Bob"), JoinResult::Joined);

    // Joined peers that then misbehave, each with the reason it is let go.
    struct Joined {
        const char* name;
        std::function<std::vector<uint8_t>(PlayerId self)> bytes;
        bool closeAfter;
        const char* reason; // null: it stays; empty: let go for any reason
    };
    const std::vector<Joined> joinedCases{
        {"Huge", [](PlayerId id) { return Head(0xFFFFFFFFu, 6, id); }, false, "TooLong"},
        {"Cut",
         [](PlayerId id) {
             auto bytes = FrameBytes(FrameKind::Data, id, std::vector<uint8_t>(300, 'c'));
             bytes.resize(100);
             return bytes;
         },
         true, "CutFrame"},
        {"Flood",
         [](PlayerId id) {
             std::vector<uint8_t> flood;
             for (int i = 0; i < 5000; ++i)
                 AppendFrame(flood, FrameKind::Data, id, std::vector<uint8_t>{'f'});
             return flood;
         },
         false, "Flood"},
        {"Forger",
         [](PlayerId) {
             return FrameBytes(FrameKind::Data, 1, {'l', 'i', 'e'});
         },
         false, "BadFrame"},
        {"Unknown", [](PlayerId id) { return Head(0, 0xEE, id); }, false, "BadFrame"},
        {"Zero", [](PlayerId id) { return Head(0, 0, id); }, false, "BadFrame"},
        {"Again",
         [](PlayerId id) {
             return FrameBytes(FrameKind::Hello, id, EncodeHello({0, "x"}));
         },
         false, "BadFrame"},
        {"Boss",
         [](PlayerId id) {
             return FrameBytes(FrameKind::PlayerJoined, id, EncodePlayerJoined({9, "y"}));
         },
         false, "BadFrame"},
        {"Garbler",
         [](PlayerId) {
             std::vector<uint8_t> bytes(4096);
             uint32_t state = 7;
             for (uint8_t& b : bytes) {
                 state = state * 1664525u + 1013904223u;
                 b = static_cast<uint8_t>(state >> 24);
             }
             return bytes;
         },
         false, ""},
        // A message of a type no receiver knows is still a message here.
        {"Odd",
         [](PlayerId id) {
             return FrameBytes(FrameKind::Data, id, {0xFF, 0xFF, 0x7F});
         },
         false, nullptr},
    };
    std::vector<TcpConnection> joined(joinedCases.size());
    std::vector<PlayerId> ids;
    for (size_t i = 0; i < joinedCases.size(); ++i) {
        Connect(joined[i]);
        const std::vector<uint8_t> hello = HelloBytes(joinedCases[i].name);
        ASSERT_TRUE(joined[i].SendAll(hello.data(), hello.size(), kSendMs));
        const size_t before = host->Players().size();
        ASSERT_TRUE(PumpUntil([&] { return host->Players().size() > before; }));
        ids.push_back(ReadWelcome(joined[i]));
        ASSERT_NE(ids.back(), 0u);
    }

    // Newcomers that never become players.
    const std::vector<std::vector<uint8_t>> newcomerBytes{
        {'G', 'E', 'T', ' ', '/', '\r', '\n', '\r', '\n'},
        Head(0x7FFFFFFFu, 1, 0),
        Head(0, 0xEE, 0),
        FrameBytes(FrameKind::Data, 0, {'h', 'i'}),
        [] {
            std::vector<uint8_t> cut = HelloBytes("Slow");
            cut.resize(kHeadSize + 2);
            return cut;
        }(),
    };
    std::vector<TcpConnection> newcomers(newcomerBytes.size());
    for (size_t i = 0; i < newcomerBytes.size(); ++i) {
        Connect(newcomers[i]);
        ASSERT_TRUE(
            newcomers[i].SendAll(newcomerBytes[i].data(), newcomerBytes[i].size(), kSendMs));
    }
    // The joined ones misbehave, all at once.
    for (size_t i = 0; i < joinedCases.size(); ++i) {
        const std::vector<uint8_t> bytes = joinedCases[i].bytes(ids[i]);
        ASSERT_TRUE(joined[i].SendAll(bytes.data(), bytes.size(), kSendMs));
        if (joinedCases[i].closeAfter)
            joined[i].Close();
    }
    ASSERT_TRUE(bob->Send("steady", 6));

    // Bob keeps receiving while the host sorts them out; past the greeting
    // time every newcomer is gone.
    std::vector<std::string> bobLog;
    auto pumpBoth = [&] {
        Message message;
        while (bob->Receive(message))
            bobLog.push_back(nettest::Describe(message));
        return false;
    };
    PumpUntil(pumpBoth, 1500ms);
    EXPECT_TRUE(host->IsActive());
    EXPECT_TRUE(bob->IsActive());

    std::map<std::string, std::string> dropped; // name -> reason
    for (const std::string& line : hostLog)
        if (line.rfind("destroyed ", 0) == 0) {
            const size_t nameAt = line.find(' ', 10) + 1;
            const size_t reasonAt = line.find(' ', nameAt) + 1;
            dropped[line.substr(nameAt, reasonAt - nameAt - 1)] = line.substr(reasonAt);
        }
    for (const Joined& c : joinedCases) {
        SCOPED_TRACE(c.name);
        if (c.reason == nullptr) {
            EXPECT_EQ(dropped.count(c.name), 0u);
        } else if (*c.reason == '\0') {
            EXPECT_EQ(dropped.count(c.name), 1u);
        } else {
            EXPECT_EQ(dropped[c.name], c.reason);
        }
    }
    EXPECT_NE(std::find(hostLog.begin(), hostLog.end(), "2:steady"), hostLog.end());
    const std::string odd = std::to_string(ids.back()) + ":" + std::string("\xFF\xFF\x7F");
    EXPECT_NE(std::find(hostLog.begin(), hostLog.end(), odd), hostLog.end());
    EXPECT_NE(std::find(bobLog.begin(), bobLog.end(), odd), bobLog.end());
    for (const std::string& line : bobLog)
        EXPECT_EQ(line.find("lie"), std::string::npos) << line;
    for (size_t i = 0; i < newcomers.size(); ++i)
        EXPECT_TRUE(newcomers[i].WaitClosed(200)) << i;

    // A good player still joins and talks with both.
    auto carol = CreateTcpNetwork(Config());
    ASSERT_EQ(nettest::JoinWhileHostRuns(*host, *carol, Address(), 0, "Carol"), JoinResult::Joined);
    ASSERT_TRUE(carol->Send("hello", 5));
    ASSERT_TRUE(host->Send("welcome", 7));
    std::vector<std::string> carolLog;
    const std::string fromCarol = std::to_string(carol->LocalPlayer()) + ":hello";
    auto heard = [&](const std::vector<std::string>& log, const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    };
    PumpUntil([&] {
        pumpBoth();
        Message message;
        while (carol->Receive(message))
            carolLog.push_back(nettest::Describe(message));
        return heard(hostLog, fromCarol) && heard(bobLog, fromCarol) &&
               heard(carolLog, "1:welcome");
    });
    EXPECT_TRUE(heard(hostLog, fromCarol));
    EXPECT_TRUE(heard(bobLog, fromCarol));
    EXPECT_TRUE(heard(carolLog, "1:welcome"));
}

} // namespace
