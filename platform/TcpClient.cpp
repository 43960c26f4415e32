#include "platform/TcpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, at least 0.
int Remaining(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the socket is ready for the events or the deadline passes.
bool WaitFor(int socket, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{socket, events, 0};
        const int result = poll(&entry, 1, Remaining(deadline));
        if (result > 0)
            return true;
        if (result == 0)
            return false;
        if (errno != EINTR)
            return false;
        if (Remaining(deadline) == 0)
            return false;
    }
}

bool MakeAddress(const std::string& address, uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (address.find('\0') != std::string::npos)
        return false;
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

bool SetNonBlocking(int socket) {
    const int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

void SetNoDelay(int socket) {
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

} // namespace

TcpConnection::~TcpConnection() {
    Close();
}

TcpConnection::TcpConnection(TcpConnection&& other) noexcept : m_socket(other.m_socket) {
    other.m_socket = -1;
}

TcpConnection& TcpConnection::operator=(TcpConnection&& other) noexcept {
    if (this != &other) {
        Close();
        m_socket = other.m_socket;
        other.m_socket = -1;
    }
    return *this;
}

bool TcpConnection::Connect(const std::string& address, uint16_t port, int timeoutMs) {
    Close();
    sockaddr_in target;
    if (!MakeAddress(address, port, target))
        return false;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    m_socket = socket;
    if (!SetNonBlocking(socket)) {
        Close();
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (errno != EINPROGRESS || !WaitFor(socket, POLLOUT, deadline)) {
            Close();
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            Close();
            return false;
        }
    }
    SetNoDelay(socket);
    return true;
}

bool TcpConnection::SendAll(const void* data, size_t size, int timeoutMs) {
    if (m_socket < 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t sent = 0;
    while (sent < size) {
        const ssize_t result = send(m_socket, bytes + sent, size - sent, MSG_NOSIGNAL);
        if (result > 0) {
            sent += static_cast<size_t>(result);
            continue;
        }
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            WaitFor(m_socket, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

bool TcpConnection::ReceiveExact(void* data, size_t size, int timeoutMs) {
    if (m_socket < 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto* bytes = static_cast<uint8_t*>(data);
    size_t received = 0;
    while (received < size) {
        const ssize_t result = recv(m_socket, bytes + received, size - received, 0);
        if (result > 0) {
            received += static_cast<size_t>(result);
            continue;
        }
        if (result == 0)
            return false; // the peer closed the connection
        if (errno == EINTR)
            continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(m_socket, POLLIN, deadline))
            continue;
        return false;
    }
    return true;
}

bool TcpConnection::WaitClosed(int timeoutMs) {
    if (m_socket < 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t result = recv(m_socket, buffer, sizeof buffer, 0);
        if (result > 0)
            continue;
        if (result == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return true; // the connection failed: it is closed all the same
        if (!WaitFor(m_socket, POLLIN, deadline))
            return false;
    }
}

bool TcpConnection::Close() {
    if (m_socket < 0)
        return true;
    const int result = close(m_socket);
    m_socket = -1;
    return result == 0;
}

TcpListener::~TcpListener() {
    Close();
}

bool TcpListener::Listen(const std::string& address, uint16_t port) {
    Close();
    sockaddr_in local;
    if (!MakeAddress(address, port, local))
        return false;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    m_socket = socket;
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(socket, 8) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) != 0 ||
        !SetNonBlocking(socket)) {
        Close();
        return false;
    }
    m_port = ntohs(bound.sin_port);
    return true;
}

TcpConnection TcpListener::Accept(int timeoutMs) {
    if (m_socket < 0)
        return TcpConnection();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int socket = accept4(m_socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket >= 0) {
            SetNoDelay(socket);
            return TcpConnection(socket);
        }
        if (errno == EINTR)
            continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(m_socket, POLLIN, deadline))
            continue;
        return TcpConnection();
    }
}

void TcpListener::Close() {
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
    m_port = 0;
}

} // namespace platform
