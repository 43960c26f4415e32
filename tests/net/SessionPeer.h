#pragma once
// One machine of a network game for the session tests, driven by command
// lines and reporting what it sees as text lines. The same peer runs inside
// the test program (several of them over the loopback hub, each with its own
// game globals put in place while it runs) and as the helper program
// session_peer (one per process, over TCP on 127.0.0.1).
//
// Commands:
//   host <name> <checksum>          host a session; "hosted <port>"
//   enum <port> <checksum>          list the sessions at the port;
//                                   "session <name> joinable|listed" each,
//                                   then "enumerated <count>"
//   join <port> <name> <checksum>   join the session at the port; "joined"
//                                   or "join failed"
//   chat <text>                     a chat line to everybody
//   post <n>                        a message with the send flag, value n
//   slots                           "slots <count> <id>:<name>:<country> ..."
//   start                           host: load the game and start it
//   lag <ticks>                     AddWaitTime(0, ticks); "waits <w0> <w1> ..."
//   waits                           "waits <w0> <w1> ..."
//   ping                            a ping to the other machines
// Lines seen: "chat <sender> <text>", "post <n>", "loadgame", "started",
// "timer", "removed".
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Network.h"

class CNetSession;

namespace sessiontest {

class SessionPeer {
public:
    explicit SessionPeer(std::unique_ptr<platform::net::Network> network);
    ~SessionPeer();
    SessionPeer(const SessionPeer&) = delete;
    SessionPeer& operator=(const SessionPeer&) = delete;

    void Command(const std::string& line);
    // One frame: receive, the start-up handshake, the due messages, sending.
    void Step();
    // The lines written since the last call.
    std::vector<std::string> TakeLines();

    struct Globals;
    class Recorder;

private:
    void Enter();
    void Leave();
    void RunMessages();
    void StartGame();
    void StepEnumeration();
    void Say(std::string line) { m_lines.push_back(std::move(line)); }
    void SayWaits();

    std::unique_ptr<CNetSession> m_session;
    std::unique_ptr<Globals> m_globals;
    std::vector<std::string> m_lines;

    // An enumeration in progress: it ends with a found session or a time-out.
    struct Enumeration {
        bool active = false;
        bool join = false;
        std::string name;
        uint32_t deadline = 0; // platform::Milliseconds()
    } m_enum;
};

// Loads the text database of the demo world in the folder.
void LoadDemoTexts(const std::string& gameDir);

} // namespace sessiontest
