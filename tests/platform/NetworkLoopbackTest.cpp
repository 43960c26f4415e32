// The network layer's behaviour, run against both back-ends: the loopback
// hub and TCP over 127.0.0.1. Wire-level faults (garbage, cut and oversized
// frames, floods) are in NetworkTcpTest.cpp; the hub's own tests are at the
// end of this file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Network.h"
#include "tests/platform/NetTestSupport.h"

namespace {

using namespace platform::net;
using namespace std::chrono_literals;

struct LoopbackBackend {
    LoopbackHub hub;

    std::unique_ptr<Network> Make(NetConfig config) { return hub.CreateNetwork(std::move(config)); }
    // The hub runs the host while the client waits for its answer.
    JoinResult Join(Network&, Network& client, const std::string& address, uint64_t instance,
                    const std::string& name) {
        return client.Join(address, instance, name);
    }
};

struct TcpBackend {
    std::unique_ptr<Network> Make(NetConfig config) { return CreateTcpNetwork(std::move(config)); }
    // The host answers from a thread of its own while the client waits.
    JoinResult Join(Network& host, Network& client, const std::string& address, uint64_t instance,
                    const std::string& name) {
        return nettest::JoinWhileHostRuns(host, client, address, instance, name);
    }
};

// "2:text" for each message of another player, in order of arrival.
std::vector<std::string> DataOf(const std::vector<Message>& log) {
    std::vector<std::string> texts;
    for (const Message& m : log)
        if (m.kind == MessageKind::Data)
            texts.push_back(nettest::Describe(m));
    return texts;
}

// The system messages: "created 2 Bob", "destroyed 3 Cid Closed", "lost TimedOut".
std::vector<std::string> EventsOf(const std::vector<Message>& log) {
    std::vector<std::string> events;
    for (const Message& m : log)
        if (m.kind != MessageKind::Data)
            events.push_back(nettest::Describe(m));
    return events;
}

std::vector<std::string> PlayersOf(const Network& network) {
    std::vector<std::string> players;
    for (const PlayerInfo& p : network.Players())
        players.push_back(std::to_string(p.id) + " " + p.name);
    return players;
}

constexpr uint32_t kChecksum = 0xC0FFEE42;

template <class Backend> class NetworkBehaviour : public ::testing::Test {
protected:
    NetConfig Config() {
        NetConfig config;
        config.port = 0;
        config.bindAddress = "127.0.0.1";
        config.joinTimeoutMs = 3000;
        config.clock = [this] { return m_now.load(); };
        return config;
    }

    size_t Add() {
        nets.push_back(backend.Make(Config()));
        logs.emplace_back();
        return nets.size() - 1;
    }

    Network& Net(size_t index) { return *nets[index]; }

    static SessionDesc Desc(uint32_t maxPlayers = kMaxPlayers) {
        SessionDesc desc;
        desc.name = "Test game";
        desc.flags = kSessionKeepAlive;
        desc.maxPlayers = maxPlayers;
        desc.user1 = kChecksum;
        desc.user2 = 112;
        return desc;
    }

    // The host is network 0.
    void StartHost(const std::string& name = "Ann") {
        ASSERT_EQ(Add(), 0u);
        ASSERT_TRUE(Net(0).Host(Desc(), name));
        ASSERT_NE(Net(0).Port(), 0);
    }

    std::string Address() { return "127.0.0.1:" + std::to_string(Net(0).Port()); }

    JoinResult JoinNew(const std::string& name, size_t& index, const std::string& address,
                       uint64_t instance = 0) {
        index = Add();
        return backend.Join(Net(0), Net(index), address, instance, name);
    }

    size_t Client(const std::string& name) {
        size_t index = 0;
        EXPECT_EQ(JoinNew(name, index, Address()), JoinResult::Joined) << name;
        return index;
    }

    // Lets every network but the silent ones receive until nothing more
    // arrives for a while; what they receive goes to their logs.
    void Settle(const std::set<size_t>& silent = {}) {
        int quiet = 0;
        for (int round = 0; round < 3000 && quiet < 20; ++round) {
            bool any = false;
            for (size_t i = 0; i < nets.size(); ++i) {
                Message message;
                while (nets[i] && !silent.count(i) && nets[i]->Receive(message)) {
                    logs[i].push_back(std::move(message));
                    any = true;
                }
            }
            quiet = any ? 0 : quiet + 1;
            if (!any)
                std::this_thread::sleep_for(1ms);
        }
    }

    // Moves the clock on in steps of a second, settling after each.
    void Advance(int seconds, const std::set<size_t>& silent) {
        for (int i = 0; i < seconds; ++i) {
            m_now += 1000;
            Settle(silent);
        }
    }

    std::vector<Message> Take(size_t index) { return std::exchange(logs[index], {}); }

    // The host Ann and the clients Bob and Cid, settled, with what they
    // received so far taken; answers the clients' indexes.
    std::pair<size_t, size_t> StartThree() {
        StartHost("Ann");
        const size_t bob = Client("Bob");
        const size_t cid = Client("Cid");
        Settle();
        for (size_t i : {size_t{0}, bob, cid})
            Take(i);
        return {bob, cid};
    }

    std::atomic<uint64_t> m_now{5'000'000};
    Backend backend;
    std::vector<std::unique_ptr<Network>> nets;
    std::vector<std::vector<Message>> logs;
};

struct BackendNames {
    template <class T> static std::string GetName(int) {
        return std::is_same_v<T, LoopbackBackend> ? "Loopback" : "Tcp";
    }
};

using Backends = ::testing::Types<LoopbackBackend, TcpBackend>;
TYPED_TEST_SUITE(NetworkBehaviour, Backends, BackendNames);

TYPED_TEST(NetworkBehaviour, HostAndTwoClientsShareThePlayersAndTheSession) {
    this->StartHost("Ann");
    const size_t bob = this->Client("Bob");
    const size_t cid = this->Client("Cid");
    this->Settle();

    const std::vector<std::string> players{"1 Ann", "2 Bob", "3 Cid"};
    for (size_t i : {size_t{0}, bob, cid})
        EXPECT_EQ(PlayersOf(this->Net(i)), players) << i;
    EXPECT_EQ(this->Net(0).LocalPlayer(), 1u);
    EXPECT_EQ(this->Net(bob).LocalPlayer(), 2u);
    EXPECT_EQ(this->Net(cid).LocalPlayer(), 3u);
    EXPECT_TRUE(this->Net(0).IsHost());
    EXPECT_FALSE(this->Net(bob).IsHost());
    EXPECT_TRUE(this->Net(cid).IsActive());

    // Those already there hear of each newcomer; a newcomer hears of nobody.
    EXPECT_EQ(EventsOf(this->Take(0)),
              (std::vector<std::string>{"created 2 Bob", "created 3 Cid"}));
    EXPECT_EQ(EventsOf(this->Take(bob)), (std::vector<std::string>{"created 3 Cid"}));
    EXPECT_TRUE(this->Take(cid).empty());

    const SessionDesc seen = this->Net(cid).Session();
    EXPECT_EQ(seen.instance, this->Net(0).Session().instance);
    EXPECT_EQ(seen.name, "Test game");
    EXPECT_EQ(seen.user1, kChecksum);
    EXPECT_EQ(seen.user2, 112u);
    EXPECT_EQ(seen.flags, kSessionKeepAlive);
    EXPECT_EQ(this->Net(0).Session().currentPlayers, 3u);

    // A second host cannot take the same port.
    const size_t other = this->Add();
    NetConfig config = this->Config();
    config.port = this->Net(0).Port();
    this->nets[other] = this->backend.Make(config);
    EXPECT_FALSE(this->Net(other).Host(this->Desc(), "Dan"));
    EXPECT_FALSE(this->Net(0).Host(this->Desc(), "Ann")) << "already hosting";
}

TYPED_TEST(NetworkBehaviour, EnumerationFindsTheSessionWithItsUserWords) {
    this->StartHost();
    const size_t seeker = this->Add();
    Network& net = this->Net(seeker);
    EXPECT_FALSE(net.EnumSessions([](const SessionDesc*, bool) { return true; }))
        << "no provider open";
    EXPECT_FALSE(net.OpenProvider(Provider::Ipx, ""));
    EXPECT_FALSE(net.OpenProvider(Provider::Serial, ""));
    EXPECT_FALSE(net.OpenProvider(Provider::Modem, ""));
    EXPECT_FALSE(net.OpenProvider(Provider::TcpIp, "127.0.0.1:notaport"));
    ASSERT_TRUE(net.OpenProvider(Provider::TcpIp, this->Address()));

    // Each call asks again and reports what has come so far, then times out.
    std::vector<SessionDesc> found;
    std::vector<bool> timedOut;
    for (int i = 0; i < 1000 && found.empty(); ++i) {
        timedOut.clear();
        ASSERT_TRUE(net.EnumSessions([&](const SessionDesc* session, bool last) {
            timedOut.push_back(last);
            EXPECT_EQ(session == nullptr, last);
            if (session)
                found.push_back(*session);
            return true;
        }));
        this->Net(0).Pump();
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(timedOut, (std::vector<bool>{false, true}));
    const SessionDesc& session = found[0];
    EXPECT_EQ(session.instance, this->Net(0).Session().instance);
    EXPECT_EQ(session.name, "Test game");
    EXPECT_EQ(session.user1, kChecksum);
    EXPECT_EQ(session.user2, 112u);
    EXPECT_EQ(session.flags, kSessionKeepAlive);
    EXPECT_EQ(session.maxPlayers, kMaxPlayers);
    EXPECT_EQ(session.currentPlayers, 1u);
    EXPECT_EQ(session.address, this->Address());

    // A callback that answers false gets no time-out call.
    int calls = 0;
    ASSERT_TRUE(net.EnumSessions([&](const SessionDesc*, bool) { return ++calls, false; }));
    EXPECT_EQ(calls, 1);

    // The address and instance found are what joining takes.
    EXPECT_EQ(this->backend.Join(this->Net(0), net, session.address, session.instance, "Bob"),
              JoinResult::Joined);
}

TYPED_TEST(NetworkBehaviour, JoinIsRefusedWithTheReason) {
    this->StartHost();
    const uint64_t instance = this->Net(0).Session().instance;
    // A port where nobody listens: a host that has closed again.
    const size_t gone = this->Add();
    ASSERT_TRUE(this->Net(gone).Host(this->Desc(), "Gone"));
    const std::string goneAddress = "127.0.0.1:" + std::to_string(this->Net(gone).Port());
    this->Net(gone).Close();

    struct Case {
        const char* what;
        std::string address;
        uint64_t instance;
        JoinResult expected;
    };
    const std::vector<Case> cases{
        {"another session's instance", this->Address(), instance + 1, JoinResult::NoSession},
        {"nobody at the port", goneAddress, 0, JoinResult::NoSession},
        {"port 0", "127.0.0.1:0", 0, JoinResult::Failed},
        {"port too big", "127.0.0.1:65536", 0, JoinResult::Failed},
        {"no host", ":" + std::to_string(this->Net(0).Port()), 0, JoinResult::Failed},
    };
    for (const Case& c : cases) {
        size_t index = 0;
        EXPECT_EQ(this->JoinNew("Bob", index, c.address, c.instance), c.expected) << c.what;
        EXPECT_FALSE(this->Net(index).IsActive()) << c.what;
    }

    SessionDesc closed = this->Desc();
    closed.flags |= kSessionJoinDisabled;
    ASSERT_TRUE(this->Net(0).SetSessionDesc(closed));
    size_t index = 0;
    EXPECT_EQ(this->JoinNew("Bob", index, this->Address()), JoinResult::Disabled);
    EXPECT_EQ(this->JoinNew("Bob", index, this->Address(), instance), JoinResult::Disabled);

    this->Settle();
    EXPECT_EQ(PlayersOf(this->Net(0)), std::vector<std::string>{"1 Ann"});
    EXPECT_TRUE(EventsOf(this->Take(0)).empty());
}

TYPED_TEST(NetworkBehaviour, TheSeventeenthPlayerFindsTheSessionFull) {
    this->StartHost();
    for (int i = 2; i <= 16; ++i) {
        std::string name = "P";
        name += std::to_string(i);
        this->Client(name);
    }
    size_t late = 0;
    EXPECT_EQ(this->JoinNew("Late", late, this->Address()), JoinResult::Full);
    this->Settle();
    EXPECT_EQ(this->Net(0).Players().size(), 16u);
    EXPECT_EQ(this->Net(1).Players().size(), 16u);
    EXPECT_EQ(this->Net(15).Players().back().name, "P16");

    // A place comes free when somebody leaves.
    this->nets[5].reset();
    this->Settle();
    EXPECT_EQ(this->JoinNew("Late", late, this->Address()), JoinResult::Joined);
    EXPECT_EQ(this->Net(late).LocalPlayer(), 17u) << "ids are not used again";
}

TYPED_TEST(NetworkBehaviour, SendReachesEveryOtherPlayerOnceInOrder) {
    const auto [bob, cid] = this->StartThree();

    const std::vector<std::pair<size_t, char>> senders{{0, 'h'}, {bob, 'b'}, {cid, 'c'}};
    for (int n = 0; n < 5; ++n)
        for (const auto& [index, letter] : senders) {
            const std::string text = letter + std::to_string(n);
            ASSERT_TRUE(this->Net(index).Send(text.data(), text.size()));
        }
    this->Settle();

    auto only = [](const std::vector<std::string>& texts, char from) {
        std::vector<std::string> picked;
        for (const std::string& t : texts)
            if (t[2] == from)
                picked.push_back(t);
        return picked;
    };
    const std::vector<std::string> fromHost{"1:h0", "1:h1", "1:h2", "1:h3", "1:h4"};
    const std::vector<std::string> fromBob{"2:b0", "2:b1", "2:b2", "2:b3", "2:b4"};
    const std::vector<std::string> fromCid{"3:c0", "3:c1", "3:c2", "3:c3", "3:c4"};
    const auto atHost = DataOf(this->Take(0));
    const auto atBob = DataOf(this->Take(bob));
    const auto atCid = DataOf(this->Take(cid));
    EXPECT_EQ(atHost.size(), 10u);
    EXPECT_EQ(only(atHost, 'b'), fromBob);
    EXPECT_EQ(only(atHost, 'c'), fromCid);
    EXPECT_EQ(atBob.size(), 10u);
    EXPECT_EQ(only(atBob, 'h'), fromHost);
    EXPECT_EQ(only(atBob, 'c'), fromCid);
    EXPECT_EQ(atCid.size(), 10u);
    EXPECT_EQ(only(atCid, 'h'), fromHost);
    EXPECT_EQ(only(atCid, 'b'), fromBob);

    // Sizes at the edges: nothing, and the largest message.
    std::vector<uint8_t> largest(kMaxMessageSize);
    for (size_t i = 0; i < largest.size(); ++i)
        largest[i] = static_cast<uint8_t>(i * 7 + 3);
    ASSERT_TRUE(this->Net(bob).Send(nullptr, 0));
    ASSERT_TRUE(this->Net(bob).Send(largest.data(), largest.size()));
    EXPECT_FALSE(this->Net(bob).Send(largest.data(), kMaxMessageSize + 1));
    this->Settle();
    for (size_t i : {size_t{0}, cid}) {
        const std::vector<Message> log = this->Take(i);
        ASSERT_EQ(log.size(), 2u) << i;
        EXPECT_TRUE(log[0].data.empty());
        EXPECT_EQ(log[1].data, largest);
        EXPECT_EQ(log[1].player, 2u);
    }
    EXPECT_TRUE(this->Take(bob).empty());
}

// Clients' messages pass the host, which forwards them as they arrive and
// sends its own in between: every client sees the host's order, less its
// own messages.
TYPED_TEST(NetworkBehaviour, TheHostsOrderIsEverybodysOrder) {
    const auto [bob, cid] = this->StartThree();

    std::vector<std::string> hostOrder;
    for (int n = 0; n < 6; ++n) {
        const std::string b = "b" + std::to_string(n);
        const std::string c = "c" + std::to_string(n);
        ASSERT_TRUE(this->Net(bob).Send(b.data(), b.size()));
        ASSERT_TRUE(this->Net(cid).Send(c.data(), c.size()));
        if (n % 2 == 1)
            std::this_thread::sleep_for(2ms);
        Message message;
        while (this->Net(0).Receive(message))
            this->logs[0].push_back(std::move(message));
        const std::string h = "h" + std::to_string(n);
        ASSERT_TRUE(this->Net(0).Send(h.data(), h.size()));
        for (const std::string& text : DataOf(this->Take(0)))
            hostOrder.push_back(text);
        hostOrder.push_back("1:" + h);
    }
    this->Settle();
    for (const std::string& text : DataOf(this->Take(0)))
        hostOrder.push_back(text);
    ASSERT_EQ(hostOrder.size(), 18u);

    for (const auto& [index, id] : {std::pair<size_t, char>{bob, '2'}, {cid, '3'}}) {
        std::vector<std::string> expected;
        for (const std::string& text : hostOrder)
            if (text[0] != id)
                expected.push_back(text);
        EXPECT_EQ(DataOf(this->Take(index)), expected) << index;
    }
}

TYPED_TEST(NetworkBehaviour, SendToReachesThatPlayerOnly) {
    const auto [bob, cid] = this->StartThree();

    struct Case {
        size_t from;
        PlayerId to;
        const char* text;
    };
    const std::vector<Case> cases{
        {0, 2, "host to bob"}, {bob, 3, "bob to cid"}, {cid, 1, "cid to host"}};
    for (const Case& c : cases)
        ASSERT_TRUE(this->Net(c.from).SendTo(c.to, c.text, std::string(c.text).size())) << c.text;
    EXPECT_FALSE(this->Net(bob).SendTo(2, "me", 2)) << "not to oneself";
    EXPECT_FALSE(this->Net(bob).SendTo(99, "who", 3)) << "not to an unknown player";
    std::vector<uint8_t> tooLarge(kMaxMessageSize + 1);
    EXPECT_FALSE(this->Net(0).SendTo(2, tooLarge.data(), tooLarge.size()));
    this->Settle();

    EXPECT_EQ(DataOf(this->Take(0)), std::vector<std::string>{"3:cid to host"});
    EXPECT_EQ(DataOf(this->Take(bob)), std::vector<std::string>{"1:host to bob"});
    EXPECT_EQ(DataOf(this->Take(cid)), std::vector<std::string>{"2:bob to cid"});
}

TYPED_TEST(NetworkBehaviour, LeavingKilledAndRemovedPlayersAreReportedDestroyed) {
    this->StartHost("Ann");
    const size_t bob = this->Client("Bob");
    const size_t cid = this->Client("Cid");
    const size_t dan = this->Client("Dan");
    const size_t eve = this->Client("Eve");
    this->Settle();
    for (size_t i = 0; i < this->nets.size(); ++i)
        this->Take(i);

    // Bob's last words arrive before his departure.
    ASSERT_TRUE(this->Net(bob).Send("bye", 3));
    this->Net(bob).Close();
    EXPECT_FALSE(this->Net(bob).IsActive());
    EXPECT_TRUE(this->Net(bob).Players().empty());
    this->Settle();
    EXPECT_EQ(DataOf(this->logs[cid]), std::vector<std::string>{"2:bye"});
    for (size_t i : {size_t{0}, cid, dan, eve})
        EXPECT_EQ(EventsOf(this->Take(i)), std::vector<std::string>{"destroyed 2 Bob Closed"}) << i;

    // Killed: the program is gone without a word.
    this->nets[cid].reset();
    this->Settle();
    for (size_t i : {size_t{0}, dan, eve})
        EXPECT_EQ(EventsOf(this->Take(i)), std::vector<std::string>{"destroyed 3 Cid Closed"}) << i;

    // Removed by the host: the others are told, the removed one loses the session.
    EXPECT_FALSE(this->Net(eve).DestroyPlayer(4)) << "only the host removes others";
    ASSERT_TRUE(this->Net(0).DestroyPlayer(4));
    EXPECT_FALSE(this->Net(0).DestroyPlayer(4));
    this->Settle();
    EXPECT_EQ(EventsOf(this->Take(0)), std::vector<std::string>{"destroyed 4 Dan Removed"});
    EXPECT_EQ(EventsOf(this->Take(eve)), std::vector<std::string>{"destroyed 4 Dan Removed"});
    EXPECT_EQ(EventsOf(this->Take(dan)),
              (std::vector<std::string>{"destroyed 1 Ann Closed", "lost Closed"}));
    EXPECT_FALSE(this->Net(dan).IsActive());
    EXPECT_EQ(PlayersOf(this->Net(0)), (std::vector<std::string>{"1 Ann", "5 Eve"}));
    EXPECT_EQ(PlayersOf(this->Net(eve)), (std::vector<std::string>{"1 Ann", "5 Eve"}));

    // A client that ends its own player leaves.
    ASSERT_TRUE(this->Net(eve).DestroyPlayer(5));
    EXPECT_FALSE(this->Net(eve).IsActive());
    this->Settle();
    EXPECT_EQ(EventsOf(this->Take(0)), std::vector<std::string>{"destroyed 5 Eve Closed"});
}

TYPED_TEST(NetworkBehaviour, ALostHostMeansTheSessionIsLost) {
    this->StartHost("Ann");
    const size_t bob = this->Client("Bob");
    const size_t cid = this->Client("Cid");
    this->Settle();
    this->Take(bob);

    ASSERT_TRUE(this->Net(0).Send("last", 4));
    this->nets[0].reset();
    this->Settle();
    for (size_t i : {bob, cid}) {
        const std::vector<Message> log = this->Take(i);
        EXPECT_EQ(DataOf(log), std::vector<std::string>{"1:last"}) << i;
        EXPECT_EQ(EventsOf(log),
                  (std::vector<std::string>{"destroyed 1 Ann Closed", "lost Closed"}))
            << i;
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().kind, MessageKind::SessionLost);
        EXPECT_FALSE(this->Net(i).IsActive());
        EXPECT_FALSE(this->Net(i).Send("x", 1));
    }
}

TYPED_TEST(NetworkBehaviour, KeepAliveDropsASilentPeerAfterTenSeconds) {
    const auto [bob, cid] = this->StartThree();

    // Everybody polling: nobody is dropped, however long.
    this->Advance(30, {});
    for (size_t i : {size_t{0}, bob, cid})
        EXPECT_TRUE(this->Take(i).empty()) << i;

    // Cid speaks once more, then stops polling: ten seconds later the host
    // drops him.
    ASSERT_TRUE(this->Net(cid).Send("zzz", 3));
    this->Settle();
    for (size_t i : {size_t{0}, bob})
        EXPECT_EQ(DataOf(this->Take(i)), std::vector<std::string>{"3:zzz"});
    this->Advance(9, {cid});
    EXPECT_TRUE(this->Take(0).empty()) << "not yet";
    this->Advance(3, {cid});
    EXPECT_EQ(EventsOf(this->Take(0)), std::vector<std::string>{"destroyed 3 Cid TimedOut"});
    EXPECT_EQ(EventsOf(this->Take(bob)), std::vector<std::string>{"destroyed 3 Cid TimedOut"});
    this->Settle();
    EXPECT_EQ(EventsOf(this->Take(cid)),
              (std::vector<std::string>{"destroyed 1 Ann Closed", "lost Closed"}));

    // The host stops polling: Bob gives up on it.
    this->Advance(12, {0});
    EXPECT_EQ(EventsOf(this->Take(bob)),
              (std::vector<std::string>{"destroyed 1 Ann TimedOut", "lost TimedOut"}));
}

TYPED_TEST(NetworkBehaviour, ChatGroupsAreKeptLocally) {
    this->StartHost("Ann");
    const size_t bob = this->Client("Bob");
    const size_t cid = this->Client("Cid");
    this->Settle();

    Network& host = this->Net(0);
    const GroupId group = host.CreateGroup();
    ASSERT_NE(group, 0u);
    EXPECT_NE(host.CreateGroup(), group);
    EXPECT_TRUE(host.AddPlayerToGroup(group, 3));
    EXPECT_TRUE(host.AddPlayerToGroup(group, 1));
    EXPECT_TRUE(host.AddPlayerToGroup(group, 2));
    EXPECT_FALSE(host.AddPlayerToGroup(group, 9)) << "no such player";
    EXPECT_FALSE(host.AddPlayerToGroup(group + 100, 2)) << "no such group";
    EXPECT_EQ(host.GroupPlayers(group), (std::vector<PlayerId>{1, 2, 3}));
    EXPECT_TRUE(this->Net(bob).GroupPlayers(group).empty()) << "groups are not shared";

    EXPECT_TRUE(host.DeletePlayerFromGroup(group, 1));
    EXPECT_FALSE(host.DeletePlayerFromGroup(group, 1));
    this->nets[cid].reset();
    this->Settle();
    EXPECT_EQ(host.GroupPlayers(group), std::vector<PlayerId>{2})
        << "a departed player leaves its groups";

    EXPECT_TRUE(host.DestroyGroup(group));
    EXPECT_FALSE(host.DestroyGroup(group));
    EXPECT_TRUE(host.GroupPlayers(group).empty());

    host.Close();
    EXPECT_EQ(host.CreateGroup(), 0u) << "no groups outside a session";
}

// ---- The hub itself ---------------------------------------------------------

TEST(LoopbackHub, NetworksOutliveTheirHub) {
    std::unique_ptr<Network> host;
    std::unique_ptr<Network> client;
    {
        LoopbackHub hub;
        host = hub.CreateNetwork();
        client = hub.CreateNetwork();
        ASSERT_TRUE(host->Host(SessionDesc{}, "Ann"));
        ASSERT_EQ(client->Join("127.0.0.1:" + std::to_string(host->Port()), 0, "Bob"),
                  JoinResult::Joined);
    }
    ASSERT_TRUE(client->Send("still here", 10));
    Message message;
    ASSERT_TRUE(host->Receive(message));
    EXPECT_EQ(message.kind, MessageKind::PlayerCreated);
    ASSERT_TRUE(host->Receive(message));
    EXPECT_EQ(std::string(message.data.begin(), message.data.end()), "still here");
}

TEST(LoopbackHub, EnumerationWithoutAnAddressFindsEverySessionOfTheHub) {
    LoopbackHub hub;
    std::vector<std::unique_ptr<Network>> hosts;
    NetConfig anyPort;
    anyPort.port = 0;
    for (const char* name : {"First", "Second"}) {
        hosts.push_back(hub.CreateNetwork(anyPort));
        SessionDesc desc;
        desc.name = name;
        ASSERT_TRUE(hosts.back()->Host(desc, "Ann"));
    }
    std::unique_ptr<Network> seeker = hub.CreateNetwork();
    ASSERT_TRUE(seeker->OpenProvider(Provider::TcpIp, ""));
    auto names = [&] {
        std::vector<std::string> found;
        seeker->EnumSessions([&](const SessionDesc* s, bool) {
            if (s)
                found.push_back(s->name);
            return true;
        });
        return found;
    };
    EXPECT_TRUE(names().empty()) << "the hosts have not answered yet";
    for (auto& host : hosts)
        host->Pump();
    EXPECT_EQ(names(), (std::vector<std::string>{"First", "Second"}));
}

} // namespace
