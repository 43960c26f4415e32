// Fuzz target: arbitrary bytes as the locator server's side of a lookup. A
// DNS server on 127.0.0.1 names a locator server on 127.0.0.1, which sends
// the input's first 32 bytes as its greeting and, once the request has come,
// the rest as its reply, then hangs up. Whatever the reply, the lookup ends
// at once with a known outcome, and a found address is a short text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/Locator.h"
#include "platform/TcpClient.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Check;
using Bytes = std::vector<uint8_t>;

constexpr const char* kLoopback = "127.0.0.1";
constexpr size_t kGreetingSize = 32;
constexpr int kIoMs = 2000;

std::mutex g_mutex;
Bytes g_input; // guarded by g_mutex

void Put16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

// Answers every query with one TXT record naming the locator server.
void ServeDns(platform::TcpListener& listener, uint16_t locatorPort) {
    for (;;) {
        platform::TcpConnection connection = listener.Accept(1000);
        if (!connection.IsOpen())
            continue;
        uint8_t length[2];
        if (!connection.ReceiveExact(length, 2, kIoMs))
            continue;
        Bytes query(static_cast<size_t>(length[0] << 8 | length[1]));
        if (query.size() < 12 || !connection.ReceiveExact(query.data(), query.size(), kIoMs))
            continue;
        const std::string text = "LX 0 0 " + std::to_string(locatorPort) + " " + kLoopback;
        Bytes answer{query[0], query[1], 0x81, 0x80, 0, 1, 0, 1, 0, 0, 0, 0};
        answer.insert(answer.end(), query.begin() + 12, query.end()); // the question
        Put16(answer, 0xC00C);                                        // its name
        Put16(answer, DNS_TYPE_TXT);
        Put16(answer, 1); // class IN
        Put16(answer, 0);
        Put16(answer, 0); // time to live
        Put16(answer, static_cast<uint16_t>(text.size() + 1));
        answer.push_back(static_cast<uint8_t>(text.size()));
        answer.insert(answer.end(), text.begin(), text.end());
        Bytes message;
        Put16(message, static_cast<uint16_t>(answer.size()));
        message.insert(message.end(), answer.begin(), answer.end());
        connection.SendAll(message.data(), message.size(), kIoMs);
    }
}

// Greets with the input's first bytes, reads the request, replies with the
// rest and hangs up.
void ServeLocator(platform::TcpListener& listener) {
    for (;;) {
        platform::TcpConnection connection = listener.Accept(1000);
        if (!connection.IsOpen())
            continue;
        Bytes input;
        {
            std::lock_guard lock(g_mutex);
            input = g_input;
        }
        Bytes greeting(kGreetingSize, 0);
        std::copy_n(input.begin(), std::min(input.size(), kGreetingSize), greeting.begin());
        Bytes head(6);
        if (!connection.SendAll(greeting.data(), greeting.size(), kIoMs) ||
            !connection.ReceiveExact(head.data(), head.size(), kIoMs))
            continue;
        Bytes text(static_cast<size_t>(head[1] << 8 | head[2]));
        if (!connection.ReceiveExact(text.data(), text.size(), kIoMs))
            continue;
        if (input.size() > kGreetingSize)
            connection.SendAll(input.data() + kGreetingSize, input.size() - kGreetingSize, kIoMs);
    }
}

// The two servers, started once for the process.
uint16_t DnsPort() {
    static const uint16_t port = [] {
        static platform::TcpListener dns;
        static platform::TcpListener locator;
        Check(dns.Listen(kLoopback, 0) && locator.Listen(kLoopback, 0));
        std::thread([] { ServeDns(dns, locator.Port()); }).detach();
        std::thread([] { ServeLocator(locator); }).detach();
        return dns.Port();
    }();
    return port;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint16_t dnsPort = DnsPort();
    {
        std::lock_guard lock(g_mutex);
        g_input.assign(data, data + size);
    }
    const char* found = ResolveLocatorAddress("player@example.org", kLoopback, dnsPort);
    const int32_t status = g_locatorStatus;
    if (found != nullptr) {
        Check(status == LOCATOR_FOUND);
        Check(std::strlen(found) < 512 && std::string(found) != "0.0.0.0");
        return 0;
    }
    Check(status == LOCATOR_NETWORK_ERROR || status == LOCATOR_REFUSED ||
          status == LOCATOR_CODE_10 || status == LOCATOR_USER_ABSENT);
    return 0;
}
