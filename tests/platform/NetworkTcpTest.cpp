// The TCP back-end on the wire: the frame reader and payload checks, and
// peers that misbehave - a client that sends garbage, cut or oversized
// frames or floods the host, a newcomer that never says hello, a host that
// sends garbage. Everything runs over 127.0.0.1 on ports the system picks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
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
using platform::TcpListener;

// Time-out of a plain connection's send.
constexpr int kSendMs = 10000;

std::vector<uint8_t> FrameBytes(FrameKind kind, PlayerId sender,
                                const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes;
    AppendFrame(bytes, kind, sender, payload);
    return bytes;
}

std::vector<uint8_t> Text(const std::string& text) {
    return {text.begin(), text.end()};
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

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
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

using nettest::Describe;
using nettest::ReasonName;

// ---- Frames and payloads ----------------------------------------------------

TEST(NetFrames, AStreamCutAnywhereGivesTheSameFrames) {
    std::vector<uint8_t> stream;
    AppendFrame(stream, FrameKind::Data, 2, Text("first"));
    AppendFrame(stream, FrameKind::KeepAlive, 3, {});
    AppendFrame(stream, FrameKind::DataTo, 4, EncodeDataTo({2, Text("second")}));

    for (size_t step : {size_t{1}, size_t{2}, size_t{9}, size_t{10}, stream.size()}) {
        FrameReader reader;
        std::vector<std::string> seen;
        for (size_t at = 0; at < stream.size(); at += step) {
            reader.Append(stream.data() + at, std::min(step, stream.size() - at));
            Frame frame;
            while (reader.Next(frame) == FrameReader::Status::Frame)
                seen.push_back(std::to_string(static_cast<int>(frame.kind)) + "/" +
                               std::to_string(frame.sender) + "/" +
                               std::to_string(frame.payload.size()));
        }
        EXPECT_EQ(seen, (std::vector<std::string>{"6/2/5", "8/3/0", "7/4/10"})) << "step " << step;
        EXPECT_FALSE(reader.HasPartial());
    }
}

TEST(NetFrames, ABadHeadIsAnErrorBeforeItsPayloadArrives) {
    struct Case {
        const char* what;
        std::vector<uint8_t> head;
        FrameReader::Status status;
        FrameReader::Fault fault;
    };
    const std::vector<Case> cases{
        {"the longest frame", Head(kMaxFramePayload, 6, 2), FrameReader::Status::NeedMore,
         FrameReader::Fault::None},
        {"one byte longer", Head(kMaxFramePayload + 1, 6, 2), FrameReader::Status::Error,
         FrameReader::Fault::TooLong},
        {"length 4 GiB", Head(0xFFFFFFFFu, 6, 2), FrameReader::Status::Error,
         FrameReader::Fault::TooLong},
        {"kind 0", Head(0, 0, 2), FrameReader::Status::Error, FrameReader::Fault::UnknownKind},
        {"kind 11", Head(0, 11, 2), FrameReader::Status::Error, FrameReader::Fault::UnknownKind},
        {"kind 255", Head(3, 255, 2), FrameReader::Status::Error, FrameReader::Fault::UnknownKind},
        {"half a head", {1, 0, 0}, FrameReader::Status::NeedMore, FrameReader::Fault::None},
    };
    for (const Case& c : cases) {
        FrameReader reader;
        reader.Append(c.head.data(), c.head.size());
        Frame frame;
        EXPECT_EQ(reader.Next(frame), c.status) << c.what;
        EXPECT_EQ(reader.GetFault(), c.fault) << c.what;
        if (c.status == FrameReader::Status::Error) {
            const std::vector<uint8_t> good = FrameBytes(FrameKind::KeepAlive, 2, {});
            reader.Append(good.data(), good.size());
            EXPECT_EQ(reader.Next(frame), FrameReader::Status::Error)
                << c.what << ": an error stays";
        }
    }
}

TEST(NetFrames, PayloadsWithWrongLengthsCountsOrValuesAreRefused) {
    Welcome welcome;
    welcome.you = 2;
    welcome.host = 1;
    welcome.session.instance = 99;
    welcome.session.name = "Game";
    welcome.players = {{1, "Ann"}, {2, "Bob"}};
    const std::vector<uint8_t> good = EncodeWelcome(welcome);
    Welcome decoded;
    ASSERT_TRUE(DecodeWelcome(good, decoded));
    EXPECT_EQ(decoded.players.size(), 2u);
    EXPECT_EQ(decoded.players[1].name, "Bob");

    auto with = [&](auto change) {
        Welcome w = welcome;
        change(w);
        return EncodeWelcome(w);
    };
    auto cut = [](std::vector<uint8_t> bytes, size_t count) {
        bytes.resize(bytes.size() - count);
        return bytes;
    };
    // The name's length field sits after you, host and the instance.
    std::vector<uint8_t> nameTooLong = good;
    nameTooLong[16] = 0xFF;
    nameTooLong[17] = 0x00;
    std::vector<uint8_t> countTooHigh = good;
    countTooHigh[16 + 2 + 4 + 20] = 3; // the player count

    struct Case {
        const char* what;
        std::vector<uint8_t> payload;
    };
    const std::vector<Case> welcomes{
        {"one byte short", cut(good, 1)},
        {"one byte more", Join(good, {0})},
        {"a name longer than the payload", nameTooLong},
        {"more players counted than sent", countTooHigh},
        {"a player twice", with([](Welcome& w) {
             w.players = {{1, "Ann"}, {1, "Ann"}, {2, "Bob"}};
         })},
        {"players out of order", with([](Welcome& w) {
             w.players = {{2, "Bob"}, {1, "Ann"}};
         })},
        {"you not among the players", with([](Welcome& w) { w.you = 3; })},
        {"you are the host", with([](Welcome& w) { w.you = 1; })},
        {"player id 0", with([](Welcome& w) {
             w.players = {{0, "Zed"}, {1, "Ann"}, {2, "Bob"}};
         })},
        {"more players than the maximum", with([](Welcome& w) { w.session.maxPlayers = 1; })},
        {"a maximum above 16", with([](Welcome& w) { w.session.maxPlayers = 17; })},
        {"no instance", with([](Welcome& w) { w.session.instance = 0; })},
    };
    for (const Case& c : welcomes)
        EXPECT_FALSE(DecodeWelcome(c.payload, decoded)) << c.what;

    std::vector<uint8_t> wrongMagic = EncodeHello({0, "Bob"});
    wrongMagic[0] ^= 1;
    std::vector<uint8_t> wrongVersion = EncodeHello({0, "Bob"});
    wrongVersion[4] = 2;
    Hello hello;
    EXPECT_TRUE(DecodeHello(EncodeHello({7, std::string(kMaxNameLength, 'n')}), hello));
    EXPECT_EQ(hello.instance, 7u);
    EXPECT_FALSE(DecodeHello(EncodeHello({7, std::string(kMaxNameLength + 1, 'n')}), hello));
    EXPECT_FALSE(DecodeHello(wrongMagic, hello));
    EXPECT_FALSE(DecodeHello(wrongVersion, hello));

    JoinResult reason;
    EXPECT_TRUE(DecodeRefuse(EncodeRefuse(JoinResult::Full), reason));
    EXPECT_FALSE(DecodeRefuse(EncodeRefuse(JoinResult::Joined), reason));
    EXPECT_FALSE(DecodeRefuse({}, reason));
    PlayerLeft left;
    EXPECT_FALSE(DecodePlayerLeft(EncodePlayerLeft({3, DropReason::None}), left));
    EXPECT_FALSE(DecodePlayerLeft({3, 0, 0, 0, 99}, left));
    EXPECT_FALSE(DecodePlayerLeft(EncodePlayerLeft({0, DropReason::Closed}), left));
    DataTo data;
    EXPECT_FALSE(DecodeDataTo({2, 0, 0}, data));
    EXPECT_FALSE(DecodeDataTo(EncodeDataTo({0, Text("x")}), data));
    EXPECT_FALSE(DecodeDataTo(EncodeDataTo({2, std::vector<uint8_t>(kMaxMessageSize + 1)}), data));
    EnumReply reply{0, welcome.session};
    EnumReply decodedReply;
    EXPECT_FALSE(DecodeEnumReply(EncodeEnumReply(reply), decodedReply)) << "port 0";
    reply.port = 5;
    EXPECT_TRUE(DecodeEnumReply(EncodeEnumReply(reply), decodedReply));
    EXPECT_FALSE(DecodeEnumReply(cut(EncodeEnumReply(reply), 1), decodedReply));
    Frame frame;
    EXPECT_FALSE(
        DecodeDatagram(Join(FrameBytes(FrameKind::EnumQuery, 0, EncodeEnumQuery()), {0}), frame))
        << "a datagram is one frame, nothing more";
}

TEST(NetFrames, Addresses) {
    struct Case {
        std::string address;
        bool ok;
        std::string host;
        uint16_t port;
    };
    const std::vector<Case> cases{
        {"127.0.0.1:2345", true, "127.0.0.1", 2345},
        {"127.0.0.1", true, "127.0.0.1", 7000},
        {"localhost:65535", true, "localhost", 65535},
        {"127.0.0.1:", false, "", 0},
        {"127.0.0.1:0", false, "", 0},
        {"127.0.0.1:65536", false, "", 0},
        {"127.0.0.1:123456", false, "", 0},
        {"127.0.0.1:-1", false, "", 0},
        {"127.0.0.1:1x", false, "", 0},
        {":2345", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host;
        uint16_t port = 0;
        EXPECT_EQ(ParseAddress(c.address, 7000, host, port), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(host, c.host) << c.address;
            EXPECT_EQ(port, c.port) << c.address;
        }
    }
}

// ---- Misbehaving peers --------------------------------------------------------

class NetworkTcp : public ::testing::Test {
protected:
    NetConfig Config() {
        NetConfig config;
        config.port = 0;
        config.bindAddress = "127.0.0.1";
        config.joinTimeoutMs = 3000;
        config.clock = [this] { return now.load(); };
        return config;
    }

    void StartHost(NetConfig config) {
        host = CreateTcpNetwork(std::move(config));
        SessionDesc desc;
        desc.name = "Test game";
        desc.flags = kSessionKeepAlive;
        ASSERT_TRUE(host->Host(desc, "Ann"));
    }

    std::string Address() const { return "127.0.0.1:" + std::to_string(host->Port()); }

    // A well-behaved client, joined while a thread runs the host.
    std::unique_ptr<Network> Client(const std::string& name) {
        auto client = CreateTcpNetwork(Config());
        EXPECT_EQ(nettest::JoinWhileHostRuns(*host, *client, Address(), 0, name),
                  JoinResult::Joined);
        return client;
    }

    // A plain connection that says hello and reads its welcome; answers its id.
    PlayerId RawJoin(TcpConnection& raw, const std::string& name) {
        raw.Connect("127.0.0.1", host->Port(), 3000);
        EXPECT_TRUE(raw.IsOpen());
        const std::vector<uint8_t> hello = FrameBytes(FrameKind::Hello, 0, EncodeHello({0, name}));
        EXPECT_TRUE(raw.SendAll(hello.data(), hello.size(), kSendMs));
        const size_t before = host->Players().size();
        for (int i = 0; i < 3000 && host->Players().size() == before; ++i) {
            host->Pump();
            std::this_thread::sleep_for(1ms);
        }
        Frame frame;
        Welcome welcome;
        EXPECT_TRUE(ReadFrame(raw, frame));
        EXPECT_EQ(frame.kind, FrameKind::Welcome);
        EXPECT_TRUE(DecodeWelcome(frame.payload, welcome));
        return welcome.you;
    }

    // Receives on each network until the condition holds or nothing comes
    // for a while; everything received is logged as Describe gives it.
    void Settle(const std::vector<Network*>& networks,
                std::vector<std::vector<std::string>>& logs) {
        logs.resize(networks.size());
        int quiet = 0;
        for (int round = 0; round < 3000 && quiet < 20; ++round) {
            bool any = false;
            for (size_t i = 0; i < networks.size(); ++i) {
                Message message;
                while (networks[i]->Receive(message)) {
                    logs[i].push_back(Describe(message));
                    any = true;
                }
            }
            quiet = any ? 0 : quiet + 1;
            if (!any)
                std::this_thread::sleep_for(1ms);
        }
    }

    std::atomic<uint64_t> now{5'000'000};
    std::unique_ptr<Network> host;
};

// A client that sends what no client may is dropped with the reason; the
// others lose nothing and carry on.
TEST_F(NetworkTcp, ABadClientIsDroppedAndTheOthersCarryOn) {
    struct Case {
        const char* what;
        std::function<std::vector<uint8_t>(PlayerId self)> bytes;
        bool closeAfter;
        DropReason reason;
        std::vector<std::string> fromRaw; // what the host takes from the bad client first
    };
    const std::vector<uint8_t> big(kMaxMessageSize + 1, 'x');
    const std::vector<Case> cases{
        {"an unknown kind",
         [](PlayerId id) { return Head(0, 0xEE, id); },
         false,
         DropReason::BadFrame,
         {}},
        {"text instead of frames",
         [](PlayerId) { return Text("GET / HTTP/1.1\r\n\r\n"); },
         false,
         DropReason::BadFrame,
         {}},
        {"another player's id",
         [](PlayerId id) { return FrameBytes(FrameKind::Data, id + 5, Text("lie")); },
         false,
         DropReason::BadFrame,
         {}},
        {"a frame only the host sends",
         [](PlayerId id) {
             return FrameBytes(FrameKind::PlayerLeft, id,
                               EncodePlayerLeft({1, DropReason::Closed}));
         },
         false,
         DropReason::BadFrame,
         {}},
        {"a keep-alive with bytes",
         [](PlayerId id) { return FrameBytes(FrameKind::KeepAlive, id, {1}); },
         false,
         DropReason::BadFrame,
         {}},
        {"a message to itself",
         [](PlayerId id) {
             return FrameBytes(FrameKind::DataTo, id, EncodeDataTo({id, Text("me")}));
         },
         false,
         DropReason::BadFrame,
         {}},
        {"a head longer than any frame",
         [](PlayerId id) { return Head(kMaxFramePayload + 1, 6, id); },
         false,
         DropReason::TooLong,
         {}},
        {"a message one byte too long",
         [&](PlayerId id) { return FrameBytes(FrameKind::Data, id, big); },
         false,
         DropReason::TooLong,
         {}},
        {"cut in the head",
         [](PlayerId id) {
             auto bytes = FrameBytes(FrameKind::Data, id, Text("whole"));
             auto cut = FrameBytes(FrameKind::Data, id, Text("cut"));
             cut.resize(5);
             return Join(bytes, cut);
         },
         true,
         DropReason::CutFrame,
         {"whole"}},
        {"cut in the payload",
         [](PlayerId id) {
             auto bytes = FrameBytes(FrameKind::Data, id, std::vector<uint8_t>(1000, 'p'));
             bytes.resize(500);
             return bytes;
         },
         true,
         DropReason::CutFrame,
         {}},
        {"killed between frames",
         [](PlayerId id) { return FrameBytes(FrameKind::Data, id, Text("last")); },
         true,
         DropReason::Closed,
         {"last"}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartHost(Config());
        auto bob = Client("Bob");
        TcpConnection raw;
        const PlayerId rawId = RawJoin(raw, "Raw");
        ASSERT_EQ(rawId, 3u);
        ASSERT_TRUE(bob->Send("before", 6));

        const std::vector<uint8_t> bytes = c.bytes(rawId);
        ASSERT_TRUE(raw.SendAll(bytes.data(), bytes.size(), kSendMs));
        if (c.closeAfter)
            raw.Close();
        std::vector<std::vector<std::string>> logs;
        Settle({host.get(), bob.get()}, logs);
        if (!c.closeAfter) {
            EXPECT_TRUE(raw.WaitClosed(3000)) << "the host hangs up";
        }

        const std::string destroyed = std::string("destroyed 3 Raw ") + ReasonName(c.reason);
        std::vector<std::string> atHost{"created 2 Bob", "created 3 Raw", "2:before"};
        std::vector<std::string> atBob{"created 3 Raw"};
        for (const std::string& text : c.fromRaw) {
            atHost.push_back("3:" + text);
            atBob.push_back("3:" + text);
        }
        atHost.push_back(destroyed);
        atBob.push_back(destroyed);
        EXPECT_EQ(logs[0], atHost);
        EXPECT_EQ(logs[1], atBob);

        ASSERT_TRUE(bob->Send("after", 5));
        ASSERT_TRUE(host->Send("back", 4));
        logs.clear();
        Settle({host.get(), bob.get()}, logs);
        EXPECT_EQ(logs[0], std::vector<std::string>{"2:after"});
        EXPECT_EQ(logs[1], std::vector<std::string>{"1:back"});
        EXPECT_EQ(host->Players().size(), 2u);
    }
}

TEST_F(NetworkTcp, AFloodingClientIsDroppedAndNothingOfTheOthersIsLost) {
    struct Case {
        const char* what;
        uint32_t messages;
        uint32_t bytes;
        size_t size;      // of each flood message
        size_t delivered; // flood messages taken before the drop
    };
    const std::vector<Case> cases{
        {"too many messages", 50, 0, 1, 50},
        {"too many bytes", 0, 10000, 1000, 9}, // 9 x (9 + 1000) fit, the tenth does not
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NetConfig config = Config();
        config.floodMessages = c.messages;
        config.floodBytes = c.bytes;
        StartHost(config);
        auto bob = Client("Bob");
        TcpConnection raw;
        const PlayerId rawId = RawJoin(raw, "Raw");

        std::vector<uint8_t> flood;
        for (int i = 0; i < 200; ++i)
            AppendFrame(flood, FrameKind::Data, rawId, std::vector<uint8_t>(c.size, 'f'));
        for (int i = 0; i < 10; ++i) {
            std::string text = "b";
            text += std::to_string(i);
            ASSERT_TRUE(bob->Send(text.data(), text.size()));
        }
        ASSERT_TRUE(raw.SendAll(flood.data(), flood.size(), kSendMs));
        std::vector<std::vector<std::string>> logs;
        Settle({host.get(), bob.get()}, logs);
        EXPECT_TRUE(raw.WaitClosed(3000));

        std::vector<std::string> fromBob;
        size_t fromRaw = 0;
        for (const std::string& line : logs[0]) {
            if (line.rfind("2:", 0) == 0)
                fromBob.push_back(line);
            fromRaw += line.rfind("3:", 0) == 0;
        }
        EXPECT_EQ(fromBob, (std::vector<std::string>{"2:b0", "2:b1", "2:b2", "2:b3", "2:b4", "2:b5",
                                                     "2:b6", "2:b7", "2:b8", "2:b9"}));
        EXPECT_EQ(fromRaw, c.delivered);
        ASSERT_FALSE(logs[0].empty());
        EXPECT_EQ(logs[0].back(), "destroyed 3 Raw Flood");
        ASSERT_FALSE(logs[1].empty());
        EXPECT_EQ(logs[1].back(), "destroyed 3 Raw Flood");
        EXPECT_EQ(logs[1].size(), 1 + c.delivered + 1) << "created, the flood taken, destroyed";
    }
}

// Before its hello a newcomer is no player: whatever goes wrong, it is let
// go without a word to anybody.
TEST_F(NetworkTcp, ANewcomerWithoutAProperHelloIsLetGo) {
    std::vector<uint8_t> wrongMagic = FrameBytes(FrameKind::Hello, 0, EncodeHello({0, "Bob"}));
    wrongMagic[kHeadSize] ^= 1;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool waitKeepAlive;
    };
    const std::vector<Case> cases{
        {"garbage", Text("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a"), false},
        {"a message before the hello", FrameBytes(FrameKind::Data, 0, Text("hi")), false},
        {"a hello with a sender", FrameBytes(FrameKind::Hello, 2, EncodeHello({0, "Bob"})), false},
        {"a hello of another program", wrongMagic, false},
        {"a head longer than any frame", Head(0x7FFFFFFF, 1, 0), false},
        {"nothing at all", {}, true},
    };
    StartHost(Config());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TcpConnection raw;
        raw.Connect("127.0.0.1", host->Port(), 3000);
        ASSERT_TRUE(raw.IsOpen());
        if (!c.bytes.empty()) {
            ASSERT_TRUE(raw.SendAll(c.bytes.data(), c.bytes.size(), kSendMs));
        }
        for (int i = 0; i < 20; ++i) {
            host->Pump();
            std::this_thread::sleep_for(1ms);
        }
        if (c.waitKeepAlive) {
            now += 11000;
            host->Pump();
        }
        EXPECT_TRUE(raw.WaitClosed(3000));
        Message message;
        EXPECT_FALSE(host->Receive(message));
        EXPECT_EQ(host->Players().size(), 1u);
    }
}

// A plain listener plays the host for a client.
class FakeHost : public NetworkTcp {
protected:
    void SetUp() override {
        ASSERT_TRUE(listener.Listen("127.0.0.1", 0));
        client = CreateTcpNetwork(Config());
    }

    // Runs the client's join while the fake host reads its hello and gives
    // the answer.
    JoinResult JoinWith(const std::vector<uint8_t>& answer) {
        JoinResult result = JoinResult::Failed;
        std::thread joining([&] {
            result = client->Join("127.0.0.1:" + std::to_string(listener.Port()), 0, "Bob");
        });
        raw = listener.Accept(3000);
        Frame hello;
        EXPECT_TRUE(ReadFrame(raw, hello));
        EXPECT_EQ(hello.kind, FrameKind::Hello);
        if (!answer.empty()) {
            EXPECT_TRUE(raw.SendAll(answer.data(), answer.size(), kSendMs));
        }
        raw.Close();
        joining.join();
        return result;
    }

    static Welcome TheWelcome() {
        Welcome welcome;
        welcome.you = 2;
        welcome.host = 1;
        welcome.session.instance = 77;
        welcome.session.name = "Fake";
        welcome.session.flags = kSessionKeepAlive;
        welcome.players = {{1, "Host"}, {2, "Bob"}};
        return welcome;
    }

    TcpListener listener;
    TcpConnection raw;
    std::unique_ptr<Network> client;
};

TEST_F(FakeHost, TheJoinAnswerIsChecked) {
    Welcome wrongSender = TheWelcome();
    struct Case {
        const char* what;
        std::vector<uint8_t> answer;
        JoinResult result;
    };
    const std::vector<Case> cases{
        {"no answer, the host hangs up", {}, JoinResult::NoSession},
        {"refused: full", FrameBytes(FrameKind::Refuse, 1, EncodeRefuse(JoinResult::Full)),
         JoinResult::Full},
        {"refused: disabled", FrameBytes(FrameKind::Refuse, 1, EncodeRefuse(JoinResult::Disabled)),
         JoinResult::Disabled},
        {"refused for no reason", FrameBytes(FrameKind::Refuse, 1, {0}), JoinResult::Failed},
        {"a welcome from a player who is not the host",
         FrameBytes(FrameKind::Welcome, 2, EncodeWelcome(TheWelcome())), JoinResult::Failed},
        {"a broken welcome", FrameBytes(FrameKind::Welcome, 1, {1, 2, 3}), JoinResult::Failed},
        {"a message instead of a welcome", FrameBytes(FrameKind::Data, 1, Text("hi")),
         JoinResult::Failed},
        {"garbage", Head(5, 0x99, 1), JoinResult::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(JoinWith(c.answer), c.result);
        EXPECT_FALSE(client->IsActive());
    }
}

// What a bad host sends loses the session, after everything good before it.
TEST_F(FakeHost, ABadHostLosesTheSession) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        DropReason reason;
    };
    const std::vector<Case> cases{
        {"an unknown kind", Head(0, 0, 1), DropReason::BadFrame},
        {"a message from nobody", FrameBytes(FrameKind::Data, 9, Text("who")),
         DropReason::BadFrame},
        {"its own message back", FrameBytes(FrameKind::Data, 2, Text("mine")),
         DropReason::BadFrame},
        {"the host leaving itself",
         FrameBytes(FrameKind::PlayerLeft, 1, EncodePlayerLeft({1, DropReason::Closed})),
         DropReason::BadFrame},
        {"a player who is there already",
         FrameBytes(FrameKind::PlayerJoined, 1, EncodePlayerJoined({3, "Cid"})),
         DropReason::BadFrame},
        {"a second welcome", FrameBytes(FrameKind::Welcome, 1, EncodeWelcome(TheWelcome())),
         DropReason::BadFrame},
        {"a frame longer than any", Head(kMaxFramePayload + 1, 6, 1), DropReason::TooLong},
        {"cut", Head(100, 6, 1), DropReason::CutFrame},
        {"hung up", {}, DropReason::Closed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        client = CreateTcpNetwork(Config());
        std::vector<uint8_t> bytes = FrameBytes(FrameKind::Welcome, 1, EncodeWelcome(TheWelcome()));
        AppendFrame(bytes, FrameKind::Data, 1, Text("hi"));
        AppendFrame(bytes, FrameKind::PlayerJoined, 1, EncodePlayerJoined({3, "Cid"}));
        AppendFrame(bytes, FrameKind::Data, 3, Text("from cid"));
        bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
        ASSERT_EQ(JoinWith(bytes), JoinResult::Joined);

        std::vector<std::vector<std::string>> logs;
        Settle({client.get()}, logs);
        const std::string reason = ReasonName(c.reason);
        EXPECT_EQ(logs[0],
                  (std::vector<std::string>{"1:hi", "created 3 Cid", "3:from cid",
                                            "destroyed 1 Host " + reason, "lost " + reason}));
        EXPECT_FALSE(client->IsActive());
    }
}

} // namespace
