// Several machines of one network game: hosting, finding and joining a
// session, the slot table, the start-up handshake, messages and chat,
// departures and pings. Every case runs twice: with the machines inside this
// program over the loopback hub, and with each machine a process of its own
// (the helper session_peer) over TCP on 127.0.0.1.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Network.h"
#include "tests/TestSupport.h"
#include "tests/net/SessionPeer.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kWait = 8s;

class Machines {
public:
    virtual ~Machines() = default;
    virtual void Add() = 0;
    virtual void Command(size_t machine, const std::string& line) = 0;
    // The machine stops at once, without leaving the session.
    virtual void Kill(size_t machine) = 0;

    // Lets the machines run until machine has count lines that begin with
    // prefix; false after the time-out.
    bool WaitFor(size_t machine, const std::string& prefix, size_t count = 1) {
        const auto deadline = Clock::now() + kWait;
        while (Count(machine, prefix) < count) {
            if (Clock::now() > deadline)
                return false;
            Pump();
        }
        return true;
    }
    // Lets the machines run for a while.
    void Settle(std::chrono::milliseconds time = 300ms) {
        const auto end = Clock::now() + time;
        while (Clock::now() < end)
            Pump();
    }
    size_t Count(size_t machine, const std::string& prefix) const {
        size_t count = 0;
        for (const std::string& line : logs[machine])
            count += line.rfind(prefix, 0) == 0;
        return count;
    }
    std::string Last(size_t machine, const std::string& prefix) const {
        for (auto it = logs[machine].rbegin(); it != logs[machine].rend(); ++it)
            if (it->rfind(prefix, 0) == 0)
                return *it;
        return {};
    }
    // Sends the command and waits for the machine's next line of the prefix.
    std::string Ask(size_t machine, const std::string& command, const std::string& prefix) {
        const size_t before = Count(machine, prefix);
        Command(machine, command);
        return WaitFor(machine, prefix, before + 1) ? Last(machine, prefix) : std::string();
    }

    std::vector<std::vector<std::string>> logs;

protected:
    virtual void Pump() = 0;
};

class InProcessMachines : public Machines {
public:
    InProcessMachines() { sessiontest::LoadDemoTexts(test::DemoWorldDir().string()); }
    ~InProcessMachines() override {
        for (auto& peer : m_peers)
            peer.reset();
    }
    void Add() override {
        platform::net::NetConfig config;
        config.port = 0;
        m_peers.push_back(std::make_unique<sessiontest::SessionPeer>(m_hub.CreateNetwork(config)));
        logs.emplace_back();
    }
    void Command(size_t machine, const std::string& line) override {
        m_peers[machine]->Command(line);
        Collect(machine);
    }
    void Kill(size_t machine) override { m_peers[machine].reset(); }

protected:
    void Pump() override {
        for (size_t i = 0; i < m_peers.size(); ++i) {
            if (m_peers[i]) {
                m_peers[i]->Step();
                Collect(i);
            }
        }
    }

private:
    void Collect(size_t machine) {
        for (std::string& line : m_peers[machine]->TakeLines())
            logs[machine].push_back(std::move(line));
    }

    platform::net::LoopbackHub m_hub;
    std::vector<std::unique_ptr<sessiontest::SessionPeer>> m_peers;
};

class ProcessMachines : public Machines {
public:
    ProcessMachines() { signal(SIGPIPE, SIG_IGN); }
    ~ProcessMachines() override {
        for (size_t i = 0; i < m_children.size(); ++i)
            Stop(i);
    }
    void Add() override {
        int in[2];
        int out[2];
        Child child;
        if (pipe2(in, O_CLOEXEC) == 0 && pipe2(out, O_CLOEXEC) == 0) {
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
            posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
            std::string program = ORV_SESSION_PEER;
            std::string world = test::DemoWorldDir().string();
            char* argv[] = {program.data(), world.data(), nullptr};
            if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
                child.pid = -1;
            posix_spawn_file_actions_destroy(&actions);
            close(in[0]);
            close(out[1]);
            child.input = in[1];
            child.output = out[0];
            fcntl(child.output, F_SETFL, O_NONBLOCK);
        }
        EXPECT_GT(child.pid, 0) << "cannot start " << ORV_SESSION_PEER;
        m_children.push_back(child);
        logs.emplace_back();
    }
    void Command(size_t machine, const std::string& line) override {
        const std::string text = line + "\n";
        if (m_children[machine].input >= 0)
            (void)!write(m_children[machine].input, text.data(), text.size());
    }
    void Kill(size_t machine) override {
        Child& child = m_children[machine];
        if (child.pid > 0) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, nullptr, 0);
            child.pid = -1;
        }
        CloseFds(child);
    }

protected:
    void Pump() override {
        std::vector<pollfd> fds;
        for (const Child& child : m_children)
            fds.push_back({child.output, POLLIN, 0});
        poll(fds.data(), fds.size(), 5);
        for (size_t i = 0; i < m_children.size(); ++i) {
            Child& child = m_children[i];
            char buffer[4096];
            ssize_t count;
            while (child.output >= 0 && (count = read(child.output, buffer, sizeof buffer)) > 0)
                child.pending.append(buffer, static_cast<size_t>(count));
            for (size_t end; (end = child.pending.find('\n')) != std::string::npos;) {
                logs[i].push_back(child.pending.substr(0, end));
                child.pending.erase(0, end + 1);
            }
        }
    }

private:
    struct Child {
        pid_t pid = -1;
        int input = -1;
        int output = -1;
        std::string pending;
    };

    static void CloseFds(Child& child) {
        for (int* fd : {&child.input, &child.output}) {
            if (*fd >= 0)
                close(*fd);
            *fd = -1;
        }
    }

    // Ends the input (the peer leaves), then waits a little before killing.
    void Stop(size_t machine) {
        Child& child = m_children[machine];
        if (child.input >= 0) {
            close(child.input);
            child.input = -1;
        }
        for (int i = 0; i < 200 && child.pid > 0; ++i) {
            if (waitpid(child.pid, nullptr, WNOHANG) == child.pid)
                child.pid = -1;
            else
                std::this_thread::sleep_for(10ms);
        }
        Kill(machine);
    }

    std::vector<Child> m_children;
};

constexpr const char* kChecksum = "4242";
constexpr const char* kOtherChecksum = "4343";

class SessionMachines : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            machines = std::make_unique<ProcessMachines>();
        else
            machines = std::make_unique<InProcessMachines>();
    }

    Machines& M() { return *machines; }

    // Machine 0 hosts as Ann, the others join with the names.
    void StartSession(const std::vector<std::string>& clients) {
        M().Add();
        const std::string hosted = M().Ask(0, std::string("host Ann ") + kChecksum, "hosted ");
        ASSERT_FALSE(hosted.empty());
        port = hosted.substr(7);
        for (size_t i = 0; i < clients.size(); ++i) {
            M().Add();
            const std::string answer =
                M().Ask(i + 1, "join " + port + " " + clients[i] + " " + kChecksum, "join");
            ASSERT_EQ(answer, "joined") << clients[i];
        }
    }

    // The slot lines of every machine, once they all show count slots and
    // agree.
    std::vector<std::string> SlotsOnceAll(size_t machineCount, int count,
                                          const std::set<size_t>& gone = {}) {
        std::vector<std::string> lines;
        for (int attempt = 0; attempt < 40; ++attempt) {
            lines.clear();
            bool all = true;
            for (size_t i = 0; i < machineCount; ++i) {
                if (gone.count(i))
                    continue;
                lines.push_back(M().Ask(i, "slots", "slots "));
                all = all && lines.back().rfind("slots " + std::to_string(count) + " ", 0) == 0 &&
                      lines.back() == lines.front();
            }
            if (all)
                break;
            M().Settle(50ms);
        }
        return lines;
    }

    void StartGame() {
        M().Command(0, "start");
        for (size_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(M().WaitFor(i, "started")) << "machine " << i;
            ASSERT_TRUE(M().WaitFor(i, "timer")) << "machine " << i;
        }
    }

    std::unique_ptr<Machines> machines;
    std::string port;
};

TEST_P(SessionMachines, OnlyASessionOfTheSameChecksumIsJoinable) {
    for (int i = 0; i < 4; ++i)
        M().Add();
    const std::string own = M().Ask(0, std::string("host Ann ") + kChecksum, "hosted ");
    const std::string foreign = M().Ask(1, std::string("host Zed ") + kOtherChecksum, "hosted ");
    ASSERT_FALSE(own.empty());
    ASSERT_FALSE(foreign.empty());

    ASSERT_EQ(M().Ask(2, "enum " + own.substr(7) + " " + kChecksum, "enumerated"), "enumerated 1");
    EXPECT_EQ(M().Last(2, "session"), "session Ann joinable");
    ASSERT_EQ(M().Ask(3, "enum " + foreign.substr(7) + " " + kChecksum, "enumerated"),
              "enumerated 1");
    EXPECT_EQ(M().Last(3, "session"), "session Zed listed");
}

TEST_P(SessionMachines, JoinedMachinesShareTheSlotsAndStartTogether) {
    StartSession({"Bob", "Cid"});
    const std::vector<std::string> slots = SlotsOnceAll(3, 3);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0], "slots 3 1:Ann:-1 2:Bob:-1 3:Cid:-1");
    EXPECT_EQ(slots[1], slots[0]);
    EXPECT_EQ(slots[2], slots[0]);
    // The lobby told everybody of the newcomers.
    EXPECT_TRUE(M().WaitFor(0, "chat -1 <Cid has joined>"));

    StartGame();
    M().Settle();
    EXPECT_EQ(M().Count(1, "loadgame"), 1u);
    EXPECT_EQ(M().Count(2, "loadgame"), 1u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(M().Count(i, "started"), 1u) << "machine " << i;
        EXPECT_EQ(M().Count(i, "timer"), 1u) << "machine " << i;
    }
}

TEST_P(SessionMachines, MessagesAndChatRunOnceOnEveryMachine) {
    StartSession({"Bob", "Cid"});
    SlotsOnceAll(3, 3);
    M().Command(1, "post 7");
    M().Command(2, "chat hello from Cid");
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(M().WaitFor(i, "post 7")) << "machine " << i;
        EXPECT_TRUE(M().WaitFor(i, "chat 2 hello from Cid")) << "machine " << i;
    }
    M().Settle();
    for (size_t i = 0; i < 3; ++i) {
        // The sender ran it itself and never got it back.
        EXPECT_EQ(M().Count(i, "post 7"), 1u) << "machine " << i;
        EXPECT_EQ(M().Count(i, "chat 2 hello from Cid"), 1u) << "machine " << i;
    }
}

// A client that forges the host's slot records and a line of the session
// itself: the slots stay the host's, and the line shows its true sender.
TEST_P(SessionMachines, AForgingClientChangesNoSlotAndChatsAsItself) {
    StartSession({"Bob", "Cid"});
    const std::string before = "slots 3 1:Ann:-1 2:Bob:-1 3:Cid:-1";
    ASSERT_EQ(SlotsOnceAll(3, 3).front(), before);

    M().Command(1, "forge-slot");
    M().Command(1, "forge-chat I am the session");
    for (size_t i : {0u, 2u})
        EXPECT_TRUE(M().WaitFor(i, "chat 1 I am the session")) << "machine " << i;
    M().Settle();
    for (size_t i : {0u, 2u})
        EXPECT_EQ(M().Count(i, "chat -1 I am"), 0u) << "machine " << i;
    const std::vector<std::string> slots = SlotsOnceAll(3, 3);
    ASSERT_EQ(slots.size(), 3u);
    for (const std::string& line : slots)
        EXPECT_EQ(line, before);

    // A newcomer gets the host's table, not the forger's.
    M().Add();
    ASSERT_EQ(M().Ask(3, "join " + port + " Dan " + kChecksum, "join"), "joined");
    const std::vector<std::string> four = SlotsOnceAll(4, 4);
    ASSERT_EQ(four.size(), 4u);
    EXPECT_EQ(four[3], "slots 4 1:Ann:-1 2:Bob:-1 3:Cid:-1 4:Dan:-1");
}

TEST_P(SessionMachines, AKilledClientIsReportedGoneOnce) {
    StartSession({"Bob", "Cid"});
    SlotsOnceAll(3, 3);
    StartGame();
    M().Kill(2);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(M().WaitFor(i, "chat -1 Cid () has left the game.")) << "machine " << i;
    M().Settle();
    EXPECT_EQ(M().Count(0, "chat -1 Cid"), 1u);
    EXPECT_EQ(M().Count(1, "chat -1 Cid"), 1u);
}

TEST_P(SessionMachines, AKilledHostGivesTheClientsTheHostLeftLine) {
    StartSession({"Bob", "Cid"});
    SlotsOnceAll(3, 3);
    StartGame();
    M().Kill(0);
    for (size_t i = 1; i < 3; ++i)
        EXPECT_TRUE(M().WaitFor(i, "chat -1 The host has left the game.")) << "machine " << i;
}

TEST_P(SessionMachines, PingsLowerTheLagCounters) {
    StartSession({"Bob", "Cid"});
    SlotsOnceAll(3, 3);
    StartGame();
    EXPECT_EQ(M().Ask(0, "lag 500", "waits"), "waits 0 500 500");
    M().Command(1, "ping");
    M().Command(2, "ping");
    M().Command(2, "ping");
    std::string waits;
    for (int attempt = 0; attempt < 40 && waits != "waits 0 400 300"; ++attempt) {
        M().Settle(50ms);
        waits = M().Ask(0, "waits", "waits");
    }
    EXPECT_EQ(waits, "waits 0 400 300");
}

TEST_P(SessionMachines, OfTwoPlayersOfOneNameTheOneWhoLeftIsRemoved) {
    StartSession({"Player", "Player"});
    SlotsOnceAll(3, 3);
    M().Kill(1);
    EXPECT_TRUE(M().WaitFor(0, "chat -1 <Player has left>"));
    const std::vector<std::string> slots = SlotsOnceAll(3, 2, {1});
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(slots[0], "slots 2 1:Ann:-1 3:Player:-1");
    EXPECT_EQ(slots[1], slots[0]);
}

INSTANTIATE_TEST_SUITE_P(Backends, SessionMachines, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Processes" : "Loopback";
                         });

} // namespace
