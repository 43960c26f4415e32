#pragma once
// Helpers shared by the network layer's tests.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/Network.h"

namespace nettest {

inline const char* ReasonName(platform::net::DropReason reason) {
    using platform::net::DropReason;
    switch (reason) {
    case DropReason::None:
        return "None";
    case DropReason::Closed:
        return "Closed";
    case DropReason::TimedOut:
        return "TimedOut";
    case DropReason::BadFrame:
        return "BadFrame";
    case DropReason::TooLong:
        return "TooLong";
    case DropReason::CutFrame:
        return "CutFrame";
    case DropReason::Flood:
        return "Flood";
    case DropReason::Backlog:
        return "Backlog";
    case DropReason::Removed:
        return "Removed";
    }
    return "?";
}

// Data as "2:text", system messages as "created 2 Bob", "destroyed 2 Bob
// Closed", "lost Closed".
inline std::string Describe(const platform::net::Message& m) {
    using platform::net::MessageKind;
    switch (m.kind) {
    case MessageKind::Data:
        return std::to_string(m.player) + ":" + std::string(m.data.begin(), m.data.end());
    case MessageKind::PlayerCreated:
        return "created " + std::to_string(m.player) + " " + m.name;
    case MessageKind::PlayerDestroyed:
        return "destroyed " + std::to_string(m.player) + " " + m.name + " " + ReasonName(m.reason);
    case MessageKind::SessionLost:
        return std::string("lost ") + ReasonName(m.reason);
    }
    return "?";
}

// Joins the client to a TCP host while a thread of its own runs the host
// (for at most five seconds).
inline platform::net::JoinResult JoinWhileHostRuns(platform::net::Network& host,
                                                   platform::net::Network& client,
                                                   const std::string& address, uint64_t instance,
                                                   const std::string& name) {
    std::atomic<bool> done{false};
    std::thread pump([&] {
        for (int i = 0; i < 5000 && !done; ++i) {
            host.Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const platform::net::JoinResult result = client.Join(address, instance, name);
    done = true;
    pump.join();
    return result;
}

} // namespace nettest
