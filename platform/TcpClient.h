#pragma once
// A plain TCP connection over IPv4, without frames: blocking calls, each
// bounded by a time-out in milliseconds, with Nagle's delay off. The locator
// talks to its server through it; the tests and the benchmarks use it (with
// the listener, on the loopback address) as a peer of their own making and as
// the baseline of the framed network.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class TcpConnection {
public:
    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(TcpConnection&& other) noexcept;
    TcpConnection& operator=(TcpConnection&& other) noexcept;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Connects to a dotted IPv4 address and port; false when the address is
    // not a dotted IPv4 address, or the connection fails or times out.
    bool Connect(const std::string& address, uint16_t port, int timeoutMs);
    bool IsOpen() const { return m_socket >= 0; }

    // Sends all bytes; false on an error or when the time-out passes first.
    bool SendAll(const void* data, size_t size, int timeoutMs);
    // Reads exactly size bytes; false on an error, when the peer closes the
    // connection first or when the time-out passes first.
    bool ReceiveExact(void* data, size_t size, int timeoutMs);
    // Reads and drops bytes until the peer closes the connection (or it
    // fails); false when the time-out passes first.
    bool WaitClosed(int timeoutMs);

    // Closes the connection; false when closing reported an error (the
    // connection is closed all the same). True when it was not open.
    bool Close();

private:
    friend class TcpListener;
    explicit TcpConnection(int socket) : m_socket(socket) {}

    int m_socket = -1;
};

class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on a dotted IPv4 address; port 0 picks a free port.
    bool Listen(const std::string& address, uint16_t port);
    // The port listened on; 0 when not listening.
    uint16_t Port() const { return m_port; }

    // Waits up to timeoutMs for a connection; the result is not open when
    // none came or accepting failed.
    TcpConnection Accept(int timeoutMs);

    void Close();

private:
    int m_socket = -1;
    uint16_t m_port = 0;
};

} // namespace platform
