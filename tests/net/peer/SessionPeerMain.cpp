// session_peer: one machine of a network game over TCP on 127.0.0.1, for the
// session tests. Reads command lines (tests/net/SessionPeer.h) on its input
// and writes what it sees, a line each, on its output. Ends at the end of its
// input, on "quit", or after two minutes.
//
//   session_peer <demo world folder>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/Network.h"
#include "platform/System.h"
#include "tests/net/SessionPeer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: session_peer <demo world folder>\n");
        return 2;
    }
    sessiontest::LoadDemoTexts(argv[1]);

    platform::net::NetConfig config;
    config.port = 0;
    config.bindAddress = "127.0.0.1";
    config.joinTimeoutMs = 5000;
    sessiontest::SessionPeer peer(platform::net::CreateTcpNetwork(config));

    const uint32_t deadline = platform::Milliseconds() + 120000;
    std::string pending;
    bool open = true;
    while (open && static_cast<int32_t>(platform::Milliseconds() - deadline) < 0) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, 2) > 0) {
            char buffer[4096];
            const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
            if (count <= 0)
                open = false;
            else
                pending.append(buffer, static_cast<size_t>(count));
        }
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "quit")
                open = false;
            else
                peer.Command(line);
        }
        peer.Step();
        for (const std::string& line : peer.TakeLines())
            std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    return 0;
}
