// The loopback back-end: the networks of one hub reach each other through
// byte queues in memory, carrying the same frames as TCP. Listeners are
// found by port number; an enumeration query goes to the listener at its
// port, or to all of them when no host is given.
//
// A joining network waits for the host's answer; here the wait runs the
// other networks of the hub once, so the host answers in the same thread.
#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <thread>

#include "platform/NetFraming.h"

namespace platform::net {

struct LoopbackHub::State {
    struct Query {
        int asker = 0;
        std::vector<uint8_t> bytes;
    };
    struct Listener {
        std::deque<std::unique_ptr<Link>> waiting;
        std::deque<Query> queries;
    };

    std::map<uint16_t, Listener> listeners;
    std::map<int, Network*> endpoints;                       // by creation
    std::map<int, std::deque<std::vector<uint8_t>>> replies; // by asker
    int nextEndpoint = 1;
    uint16_t nextPort = 40000;

    void PumpAllBut(int endpoint) {
        for (auto& [id, network] : endpoints)
            if (id != endpoint && network)
                network->Pump();
    }
};

namespace {

using HubState = LoopbackHub::State;

// Both directions of one connection.
struct Connection {
    std::deque<uint8_t> toClient;
    std::deque<uint8_t> toServer;
    bool closed = false;
};

class LoopbackLink final : public Link {
public:
    LoopbackLink(std::shared_ptr<Connection> connection, bool serverSide,
                 std::shared_ptr<HubState> hub, int endpoint)
        : m_connection(std::move(connection)), m_serverSide(serverSide), m_hub(std::move(hub)),
          m_endpoint(endpoint) {}
    ~LoopbackLink() override { m_connection->closed = true; }

    bool Read(std::vector<uint8_t>& in, size_t max) override {
        std::deque<uint8_t>& incoming =
            m_serverSide ? m_connection->toServer : m_connection->toClient;
        const size_t count = std::min(max, incoming.size());
        in.insert(in.end(), incoming.begin(),
                  incoming.begin() + static_cast<std::ptrdiff_t>(count));
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(count));
        return !(m_connection->closed && incoming.empty());
    }

    bool Write(const uint8_t* data, size_t size, size_t& taken) override {
        taken = 0;
        if (m_connection->closed)
            return false;
        std::deque<uint8_t>& outgoing =
            m_serverSide ? m_connection->toClient : m_connection->toServer;
        outgoing.insert(outgoing.end(), data, data + size);
        taken = size;
        return true;
    }

    void WaitReadable(int ms) override {
        m_hub->PumpAllBut(m_endpoint);
        const std::deque<uint8_t>& incoming =
            m_serverSide ? m_connection->toServer : m_connection->toClient;
        if (incoming.empty() && !m_connection->closed)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 1)));
    }

private:
    std::shared_ptr<Connection> m_connection;
    bool m_serverSide;
    std::shared_ptr<HubState> m_hub;
    int m_endpoint;
};

class LoopbackTransport final : public Transport {
public:
    LoopbackTransport(std::shared_ptr<HubState> hub, int endpoint)
        : m_hub(std::move(hub)), m_endpoint(endpoint) {}
    ~LoopbackTransport() override {
        StopListening();
        m_hub->endpoints.erase(m_endpoint);
        m_hub->replies.erase(m_endpoint);
    }

    bool Listen(uint16_t port) override {
        StopListening();
        if (port == 0) {
            for (int i = 0;
                 i < 65535 && (m_hub->nextPort == 0 || m_hub->listeners.count(m_hub->nextPort));
                 ++i)
                ++m_hub->nextPort;
            port = m_hub->nextPort++;
        }
        if (port == 0 || !m_hub->listeners.try_emplace(port).second)
            return false;
        m_port = port;
        return true;
    }

    uint16_t ListenPort() const override { return m_port; }

    void StopListening() override {
        if (m_port != 0)
            m_hub->listeners.erase(m_port);
        m_port = 0;
    }

    std::unique_ptr<Link> Accept() override {
        auto it = m_hub->listeners.find(m_port);
        if (m_port == 0 || it == m_hub->listeners.end() || it->second.waiting.empty())
            return nullptr;
        std::unique_ptr<Link> link = std::move(it->second.waiting.front());
        it->second.waiting.pop_front();
        return link;
    }

    void AnswerQueries(const Answer& answer) override {
        auto it = m_hub->listeners.find(m_port);
        if (m_port == 0 || it == m_hub->listeners.end())
            return;
        std::vector<uint8_t> reply;
        while (!it->second.queries.empty()) {
            HubState::Query query = std::move(it->second.queries.front());
            it->second.queries.pop_front();
            if (m_hub->endpoints.count(query.asker) && answer(query.bytes, reply))
                m_hub->replies[query.asker].push_back(reply);
        }
    }

    std::unique_ptr<Link> Connect(const std::string&, uint16_t port, int) override {
        auto it = m_hub->listeners.find(port);
        if (it == m_hub->listeners.end())
            return nullptr;
        auto connection = std::make_shared<Connection>();
        it->second.waiting.push_back(std::make_unique<LoopbackLink>(connection, true, m_hub, 0));
        return std::make_unique<LoopbackLink>(connection, false, m_hub, m_endpoint);
    }

    bool SendQuery(const std::string& host, uint16_t port,
                   const std::vector<uint8_t>& query) override {
        for (auto& [listenPort, listener] : m_hub->listeners)
            if (host.empty() || listenPort == port)
                listener.queries.push_back({m_endpoint, query});
        return true;
    }

    bool NextReply(std::vector<uint8_t>& datagram, std::string& fromHost) override {
        auto it = m_hub->replies.find(m_endpoint);
        if (it == m_hub->replies.end() || it->second.empty())
            return false;
        datagram = std::move(it->second.front());
        it->second.pop_front();
        fromHost = "127.0.0.1";
        return true;
    }

private:
    std::shared_ptr<HubState> m_hub;
    int m_endpoint;
    uint16_t m_port = 0;
};

} // namespace

LoopbackHub::LoopbackHub() : m_state(std::make_shared<State>()) {}

LoopbackHub::~LoopbackHub() = default;

std::unique_ptr<Network> LoopbackHub::CreateNetwork(NetConfig config) {
    const int endpoint = m_state->nextEndpoint++;
    auto network =
        MakeNetwork(std::make_unique<LoopbackTransport>(m_state, endpoint), std::move(config));
    m_state->endpoints[endpoint] = network.get();
    return network;
}

} // namespace platform::net
