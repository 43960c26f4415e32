// The TCP/UDP back-end over POSIX sockets, all non-blocking: sessions run
// over TCP, enumeration queries and replies are UDP datagrams on the same
// port number as the host's listener.
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/NetFraming.h"

namespace platform::net {

namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kMaxDatagram = 2048;
constexpr int kMaxQueriesPerPump = 64;
constexpr int kPortAttempts = 20;

// An owned descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(Fd&& other) noexcept : m_fd(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.Release();
        }
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

// An IPv4 address for host:port: a dotted address or a name; an empty host
// is every interface.
bool Resolve(const std::string& host, uint16_t port, sockaddr_in& address) {
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (host.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

const sockaddr* AsSockaddr(const sockaddr_in& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

uint16_t LocalPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void SetNoDelay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// A non-blocking socket bound to host:port (0: a free port); invalid on failure.
Fd BoundSocket(int type, const std::string& host, uint16_t port) {
    sockaddr_in address{};
    if (!Resolve(host, port, address))
        return {};
    Fd fd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        return {};
    if (type == SOCK_STREAM) {
        const int on = 1;
        setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (::bind(fd.Get(), AsSockaddr(address), sizeof address) != 0)
        return {};
    if (type == SOCK_STREAM && ::listen(fd.Get(), 16) != 0)
        return {};
    return fd;
}

// Waits up to ms for the events; true when one came.
bool WaitFor(int fd, short events, int ms) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, ms);
        if (result >= 0)
            return result > 0;
        if (errno != EINTR)
            return false;
    }
}

// A non-blocking TCP connection to host:port, made within timeoutMs.
Fd ConnectTcp(const std::string& host, uint16_t port, int timeoutMs) {
    sockaddr_in address{};
    if (host.empty() || !Resolve(host, port, address))
        return {};
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        return {};
    if (::connect(fd.Get(), AsSockaddr(address), sizeof address) != 0) {
        if (errno != EINPROGRESS || !WaitFor(fd.Get(), POLLOUT, timeoutMs))
            return {};
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return {};
    }
    SetNoDelay(fd.Get());
    return fd;
}

class SocketLink final : public Link {
public:
    explicit SocketLink(Fd fd) : m_fd(std::move(fd)) {}
    // Closing with unread input would reset the connection and could lose
    // what was sent last: the input is read away and the end announced first.
    ~SocketLink() override {
        uint8_t buffer[4096];
        for (int i = 0; i < 64 && ::recv(m_fd.Get(), buffer, sizeof buffer, MSG_DONTWAIT) > 0;
             ++i) {
        }
        ::shutdown(m_fd.Get(), SHUT_WR);
    }

    bool Read(std::vector<uint8_t>& in, size_t max) override {
        size_t added = 0;
        while (added < max) {
            const size_t chunk = std::min(m_chunk.size(), max - added);
            const ssize_t got = ::recv(m_fd.Get(), m_chunk.data(), chunk, 0);
            if (got > 0) {
                in.insert(in.end(), m_chunk.begin(), m_chunk.begin() + got);
                added += static_cast<size_t>(got);
                continue;
            }
            if (got == 0)
                return false;
            if (errno == EINTR)
                continue;
            return WouldBlock(errno);
        }
        return true;
    }

    // One receive straight into the caller's buffer.
    size_t ReadInto(uint8_t* data, size_t room, bool& open) override {
        open = true;
        if (room == 0)
            return 0;
        for (;;) {
            const ssize_t got = ::recv(m_fd.Get(), data, room, 0);
            if (got > 0)
                return static_cast<size_t>(got);
            if (got < 0 && errno == EINTR)
                continue;
            open = got < 0 && WouldBlock(errno);
            return 0;
        }
    }

    bool Write(const uint8_t* data, size_t size, size_t& taken) override {
        taken = 0;
        while (taken < size) {
            const ssize_t sent = ::send(m_fd.Get(), data + taken, size - taken, MSG_NOSIGNAL);
            if (sent > 0) {
                taken += static_cast<size_t>(sent);
                continue;
            }
            if (sent < 0 && errno == EINTR)
                continue;
            return sent < 0 && WouldBlock(errno);
        }
        return true;
    }

    void WaitReadable(int ms) override { WaitFor(m_fd.Get(), POLLIN, ms); }

private:
    Fd m_fd;
    std::vector<uint8_t> m_chunk = std::vector<uint8_t>(kReadChunk);
};

class SocketTransport final : public Transport {
public:
    explicit SocketTransport(std::string bindAddress) : m_bindAddress(std::move(bindAddress)) {}

    // The UDP answerer takes the listener's port number; with a free port
    // asked for, another is tried when that number is taken for UDP.
    bool Listen(uint16_t port) override {
        StopListening();
        const int attempts = port == 0 ? kPortAttempts : 1;
        for (int i = 0; i < attempts; ++i) {
            Fd listener = BoundSocket(SOCK_STREAM, m_bindAddress, port);
            if (!listener.Valid())
                return false;
            const uint16_t actual = LocalPort(listener.Get());
            Fd answerer = BoundSocket(SOCK_DGRAM, m_bindAddress, actual);
            if (actual != 0 && answerer.Valid()) {
                m_listener = std::move(listener);
                m_answerer = std::move(answerer);
                m_port = actual;
                return true;
            }
        }
        return false;
    }

    uint16_t ListenPort() const override { return m_port; }

    void StopListening() override {
        m_listener.Reset();
        m_answerer.Reset();
        m_port = 0;
    }

    std::unique_ptr<Link> Accept() override {
        if (!m_listener.Valid())
            return nullptr;
        for (;;) {
            Fd fd(::accept4(m_listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (fd.Valid()) {
                SetNoDelay(fd.Get());
                return std::make_unique<SocketLink>(std::move(fd));
            }
            // A connection that failed before it was taken is passed over.
            if (errno != EINTR && errno != ECONNABORTED)
                return nullptr;
        }
    }

    void AnswerQueries(const Answer& answer) override {
        if (!m_answerer.Valid())
            return;
        std::vector<uint8_t> query(kMaxDatagram);
        std::vector<uint8_t> reply;
        for (int i = 0; i < kMaxQueriesPerPump; ++i) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            query.resize(kMaxDatagram);
            const ssize_t got = ::recvfrom(m_answerer.Get(), query.data(), query.size(), MSG_TRUNC,
                                           reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (static_cast<size_t>(got) > kMaxDatagram)
                continue; // cut short: no query of ours
            query.resize(static_cast<size_t>(got));
            if (answer(query, reply))
                ::sendto(m_answerer.Get(), reply.data(), reply.size(), 0, AsSockaddr(from),
                         sizeof from);
        }
    }

    std::unique_ptr<Link> Connect(const std::string& host, uint16_t port, int timeoutMs) override {
        Fd fd = ConnectTcp(host, port, timeoutMs);
        if (!fd.Valid())
            return nullptr;
        return std::make_unique<SocketLink>(std::move(fd));
    }

    bool SendQuery(const std::string& host, uint16_t port,
                   const std::vector<uint8_t>& query) override {
        if (!m_seeker.Valid()) {
            m_seeker = BoundSocket(SOCK_DGRAM, m_bindAddress, 0);
            if (!m_seeker.Valid())
                return false;
        }
        sockaddr_in to{};
        if (host.empty()) {
            const int on = 1;
            setsockopt(m_seeker.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
            to.sin_family = AF_INET;
            to.sin_port = htons(port);
            to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        } else if (!Resolve(host, port, to)) {
            return false;
        }
        for (;;) {
            const ssize_t sent =
                ::sendto(m_seeker.Get(), query.data(), query.size(), 0, AsSockaddr(to), sizeof to);
            if (sent >= 0)
                return static_cast<size_t>(sent) == query.size();
            if (errno != EINTR)
                return false;
        }
    }

    bool NextReply(std::vector<uint8_t>& datagram, std::string& fromHost) override {
        if (!m_seeker.Valid())
            return false;
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            datagram.resize(kMaxDatagram);
            const ssize_t got =
                ::recvfrom(m_seeker.Get(), datagram.data(), datagram.size(), MSG_TRUNC,
                           reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (static_cast<size_t>(got) > kMaxDatagram)
                continue;
            datagram.resize(static_cast<size_t>(got));
            char text[INET_ADDRSTRLEN] = {};
            if (!inet_ntop(AF_INET, &from.sin_addr, text, sizeof text))
                continue;
            fromHost = text;
            return true;
        }
    }

private:
    std::string m_bindAddress;
    Fd m_listener;
    Fd m_answerer;
    Fd m_seeker;
    uint16_t m_port = 0;
};

} // namespace

std::unique_ptr<Network> CreateTcpNetwork(NetConfig config) {
    auto transport = std::make_unique<SocketTransport>(config.bindAddress);
    return MakeNetwork(std::move(transport), std::move(config));
}

} // namespace platform::net
