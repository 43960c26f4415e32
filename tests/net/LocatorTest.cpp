#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/Locator.h"
#include "platform/Resolver.h"
#include "platform/TcpClient.h"
#include "tests/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kLoopback = "127.0.0.1";
constexpr int kIoTimeoutMs = 2000;

// --- DNS message building ---

void Put16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value >> 8));
    bytes.push_back(static_cast<uint8_t>(value));
}

void Append(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

Bytes Name(const std::string& dotted) {
    Bytes bytes;
    size_t start = 0;
    while (start < dotted.size()) {
        size_t dot = dotted.find('.', start);
        if (dot == std::string::npos)
            dot = dotted.size();
        bytes.push_back(static_cast<uint8_t>(dot - start));
        bytes.insert(bytes.end(), dotted.begin() + start, dotted.begin() + dot);
        start = dot + 1;
    }
    bytes.push_back(0);
    return bytes;
}

Bytes Record(const Bytes& owner, uint16_t type, const Bytes& data) {
    Bytes bytes = owner;
    Put16(bytes, type);
    Put16(bytes, 1); // class IN
    Put16(bytes, 0); // TTL
    Put16(bytes, 60);
    Put16(bytes, static_cast<uint16_t>(data.size()));
    Append(bytes, data);
    return bytes;
}

Bytes Txt(const std::vector<std::string>& strings) {
    Bytes data;
    for (const std::string& text : strings) {
        data.push_back(static_cast<uint8_t>(text.size()));
        data.insert(data.end(), text.begin(), text.end());
    }
    return data;
}

Bytes Srv(uint16_t priority, uint16_t weight, uint16_t port, const std::string& target) {
    Bytes data;
    Put16(data, priority);
    Put16(data, weight);
    Put16(data, port);
    Append(data, Name(target));
    return data;
}

Bytes TxtRecord(const std::string& text) {
    return Record(Name("example.org"), DNS_TYPE_TXT, Txt({text}));
}

struct Sections {
    std::vector<Bytes> answers;
    std::vector<Bytes> authority;
    std::vector<Bytes> additional;
};

Sections Answer(const Bytes& record) {
    Sections sections;
    sections.answers.push_back(record);
    return sections;
}

// A response message with one question.
Bytes Message(uint16_t id, uint8_t responseCode, const std::string& question, uint16_t type,
              const Sections& sections = {}) {
    Bytes bytes;
    Put16(bytes, id);
    Put16(bytes, static_cast<uint16_t>(0x8180 | responseCode));
    Put16(bytes, 1);
    Put16(bytes, static_cast<uint16_t>(sections.answers.size()));
    Put16(bytes, static_cast<uint16_t>(sections.authority.size()));
    Put16(bytes, static_cast<uint16_t>(sections.additional.size()));
    Append(bytes, Name(question));
    Put16(bytes, type);
    Put16(bytes, 1);
    for (const auto* list : {&sections.answers, &sections.authority, &sections.additional})
        for (const Bytes& record : *list)
            Append(bytes, record);
    return bytes;
}

// --- Fake servers on the loopback address ---

struct DnsQuery {
    uint16_t id = 0;
    std::string name;
    uint16_t type = 0;
    Bytes raw; // as received, with the TCP length
};

// Answers each query through a handler; an empty answer closes the
// connection without a reply.
class FakeDnsServer {
public:
    using Handler = std::function<Bytes(const DnsQuery&)>;

    explicit FakeDnsServer(Handler handler) : m_handler(std::move(handler)) {
        EXPECT_TRUE(m_listener.Listen(kLoopback, 0));
        m_port = m_listener.Port();
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakeDnsServer() {
        m_stop = true;
        m_thread.join();
    }

    uint16_t Port() const { return m_port; }
    std::vector<DnsQuery> Queries() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_queries;
    }

private:
    void Serve() {
        // At most about ten seconds, however the client behaves.
        for (int wait = 0; wait < 100 && !m_stop; ++wait) {
            platform::TcpConnection connection = m_listener.Accept(100);
            uint8_t length[2];
            if (!connection.IsOpen() || !connection.ReceiveExact(length, 2, kIoTimeoutMs))
                continue;
            DnsQuery query;
            query.raw.resize(2 + static_cast<size_t>(length[0] << 8 | length[1]));
            query.raw[0] = length[0];
            query.raw[1] = length[1];
            if (!connection.ReceiveExact(query.raw.data() + 2, query.raw.size() - 2, kIoTimeoutMs))
                continue;
            Decode(query);
            const Bytes reply = m_handler(query);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_queries.push_back(query);
            }
            if (reply.empty())
                continue;
            Bytes framed;
            Put16(framed, static_cast<uint16_t>(reply.size()));
            Append(framed, reply);
            connection.SendAll(framed.data(), framed.size(), kIoTimeoutMs);
        }
    }

    static void Decode(DnsQuery& query) {
        const Bytes& raw = query.raw;
        if (raw.size() < 14)
            return;
        query.id = static_cast<uint16_t>(raw[2] << 8 | raw[3]);
        size_t at = 14;
        while (at < raw.size() && raw[at] != 0) {
            if (!query.name.empty())
                query.name += '.';
            const size_t length = raw[at];
            if (at + 1 + length > raw.size())
                return;
            query.name.append(raw.begin() + at + 1, raw.begin() + at + 1 + length);
            at += 1 + length;
        }
        if (at + 3 < raw.size())
            query.type = static_cast<uint16_t>(raw[at + 1] << 8 | raw[at + 2]);
    }

    Handler m_handler;
    platform::TcpListener m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<DnsQuery> m_queries;
};

struct LocatorReply {
    uint8_t result = 1;
    std::string text;
    int announcedLength = -1; // -1: the text's length
    bool closeAtOnce = false; // close before the greeting
};

// Serves one connection: greeting, request, reply.
class FakeLocator {
public:
    explicit FakeLocator(LocatorReply reply) : m_reply(std::move(reply)) {
        EXPECT_TRUE(m_listener.Listen(kLoopback, 0));
        m_port = m_listener.Port();
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakeLocator() {
        m_stop = true;
        m_thread.join();
    }

    uint16_t Port() const { return m_port; }
    bool Connected() const { return m_connected; }
    Bytes Request() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_request;
    }

private:
    void Serve() {
        for (int wait = 0; wait < 100 && !m_stop; ++wait) {
            platform::TcpConnection connection = m_listener.Accept(100);
            if (!connection.IsOpen())
                continue;
            m_connected = true;
            if (m_reply.closeAtOnce)
                return;
            const Bytes greeting(32, 0x5A);
            Bytes request(6);
            if (!connection.SendAll(greeting.data(), greeting.size(), kIoTimeoutMs) ||
                !connection.ReceiveExact(request.data(), 6, kIoTimeoutMs))
                return;
            const size_t length = static_cast<size_t>(request[1] << 8 | request[2]);
            request.resize(6 + length);
            if (!connection.ReceiveExact(request.data() + 6, length, kIoTimeoutMs))
                return;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_request = request;
            }
            const size_t announced = m_reply.announcedLength < 0
                                         ? m_reply.text.size()
                                         : static_cast<size_t>(m_reply.announcedLength);
            Bytes reply = {0x64,
                           static_cast<uint8_t>(announced >> 8),
                           static_cast<uint8_t>(announced),
                           0,
                           0,
                           m_reply.result};
            reply.insert(reply.end(), m_reply.text.begin(), m_reply.text.end());
            connection.SendAll(reply.data(), reply.size(), kIoTimeoutMs);
            return;
        }
    }

    LocatorReply m_reply;
    platform::TcpListener m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_connected{false};
    std::mutex m_mutex;
    Bytes m_request;
};

// A loopback port on which nothing listens.
uint16_t ClosedPort() {
    platform::TcpListener listener;
    EXPECT_TRUE(listener.Listen(kLoopback, 0));
    return listener.Port();
}

// A DNS server that answers TXT queries with the given TXT texts and every
// other query with "no such name".
FakeDnsServer::Handler TxtAnswers(std::vector<std::string> texts) {
    return [texts](const DnsQuery& query) {
        if (query.type != DNS_TYPE_TXT)
            return Message(query.id, 3, query.name, query.type);
        Sections sections;
        for (const std::string& text : texts)
            sections.answers.push_back(Record(Name(query.name), DNS_TYPE_TXT, Txt({text})));
        return Message(query.id, 0, query.name, query.type, sections);
    };
}

std::string Lx(int priority, uint16_t port, const std::string& server = kLoopback) {
    return "LX " + std::to_string(priority) + " 0 " + std::to_string(port) + " " + server;
}

// --- The whole lookup ---

TEST(LocatorTest, TxtRecordLeadsToTheRequestAndTheFoundAddress) {
    FakeLocator locator({1, "192.0.2.7"});
    FakeDnsServer dns(TxtAnswers({Lx(10, locator.Port())}));

    const char* found = ResolveLocatorAddress("Alice@Example.ORG", kLoopback, dns.Port());

    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "192.0.2.7");
    EXPECT_EQ(g_locatorStatus, LOCATOR_FOUND);

    const std::string text = "alice@example.org\n";
    Bytes expectedRequest = {0x64, 0, static_cast<uint8_t>(text.size()), 0, 0, 1};
    expectedRequest.insert(expectedRequest.end(), text.begin(), text.end());
    EXPECT_EQ(locator.Request(), expectedRequest);

    const std::vector<DnsQuery> queries = dns.Queries();
    ASSERT_EQ(queries.size(), 1u);
    Bytes expectedQuery = {0,
                           29,
                           static_cast<uint8_t>(queries[0].id >> 8),
                           static_cast<uint8_t>(queries[0].id),
                           0x01,
                           0x00,
                           0,
                           1,
                           0,
                           0,
                           0,
                           0,
                           0,
                           0,
                           7,
                           'e',
                           'x',
                           'a',
                           'm',
                           'p',
                           'l',
                           'e',
                           3,
                           'o',
                           'r',
                           'g',
                           0,
                           0,
                           16,
                           0,
                           1};
    EXPECT_EQ(queries[0].raw, expectedQuery);
}

TEST(LocatorTest, SmallestPriorityWinsAndLaterRecordOnTiesAndMalformedRecordsAreDropped) {
    const uint16_t closed = ClosedPort();
    FakeLocator locator({1, "198.51.100.4"});
    // Choosing any record but the fifth would fail to connect.
    FakeDnsServer dns(TxtAnswers({
        Lx(20, closed),
        "LX 0001 0 " + std::to_string(closed) + " 127.0.0.1",  // four-digit priority
        "LX 1 65535 " + std::to_string(closed) + " 127.0.0.1", // weight too large
        "lx 1 0 " + std::to_string(closed) + " 127.0.0.1",     // not "LX "
        Lx(10, closed),
        Lx(10, locator.Port()),
        "LX 1 0 " + std::to_string(closed), // no server name
        "LX 1 0x 5 127.0.0.1",
        "v=spf1 -all",
    }));

    const char* found = ResolveLocatorAddress("bob@example.org", kLoopback, dns.Port());

    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "198.51.100.4");
    EXPECT_EQ(g_locatorStatus, LOCATOR_FOUND);
}

TEST(LocatorTest, OnlyMalformedRecordsLeaveTheAddressUnresolved) {
    FakeLocator locator({1, "192.0.2.7"});
    FakeDnsServer dns(
        TxtAnswers({"LX 1000 0 " + std::to_string(locator.Port()) + " 127.0.0.1", "LX 1 2 3"}));

    EXPECT_EQ(ResolveLocatorAddress("bob@example.org", kLoopback, dns.Port()), nullptr);
    EXPECT_EQ(g_locatorStatus, LOCATOR_NOT_RESOLVED);
    EXPECT_FALSE(locator.Connected());
}

TEST(LocatorTest, SrvRecordIsAskedWhenTheDomainHasNoTxtName) {
    FakeLocator locator({1, "203.0.113.9"});
    FakeDnsServer dns([&](const DnsQuery& query) {
        if (query.type != DNS_TYPE_SRV)
            return Message(query.id, 3, query.name, query.type);
        Sections sections;
        sections.answers.push_back(
            Record(Name(query.name), DNS_TYPE_SRV, Srv(5, 0, locator.Port(), kLoopback)));
        return Message(query.id, 0, query.name, query.type, sections);
    });

    const char* found = ResolveLocatorAddress("carol@example.org", kLoopback, dns.Port());

    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "203.0.113.9");
    const std::vector<DnsQuery> queries = dns.Queries();
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[0].type, DNS_TYPE_TXT);
    EXPECT_EQ(queries[0].name, "example.org");
    EXPECT_EQ(queries[1].type, DNS_TYPE_SRV);
    EXPECT_EQ(queries[1].name, "uls.tcp.example.org");
}

TEST(LocatorTest, NameThatDoesNotExistGivesNoSuchName) {
    struct Case {
        const char* name;
        std::function<Bytes(const DnsQuery&)> answer;
    };
    const Case cases[] = {
        {"response code 3", [](const DnsQuery& q) { return Message(q.id, 3, q.name, q.type); }},
        {"referral back to the same server",
         [](const DnsQuery& q) {
             Sections sections;
             sections.authority.push_back(
                 Record(Name("example.org"), DNS_TYPE_NS, Name(kLoopback)));
             return Message(q.id, 0, q.name, q.type, sections);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDnsServer dns(c.answer);
        EXPECT_EQ(ResolveLocatorAddress("dave@example.org", kLoopback, dns.Port()), nullptr);
        EXPECT_EQ(g_locatorStatus, LOCATOR_NO_SUCH_NAME);
        EXPECT_EQ(dns.Queries().size(), 2u); // TXT, then SRV
    }
}

TEST(LocatorTest, LocatorAnswersGiveTheirStatuses) {
    struct Case {
        const char* name;
        LocatorReply reply;
        int32_t status;
    };
    const Case cases[] = {
        {"user not present", {1, "0.0.0.0"}, LOCATOR_USER_ABSENT},
        {"code 10", {10, ""}, LOCATOR_CODE_10},
        {"refused", {2, "192.0.2.7"}, LOCATOR_REFUSED},
        {"answer of 511 bytes", {1, std::string(511, 'a')}, LOCATOR_FOUND},
        {"answer over 511 bytes", {1, std::string(600, 'a')}, LOCATOR_NETWORK_ERROR},
        {"answer shorter than announced", {1, "192.0.2.7", 20}, LOCATOR_NETWORK_ERROR},
        {"closed before the greeting", {1, "192.0.2.7", -1, true}, LOCATOR_NETWORK_ERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLocator locator(c.reply);
        FakeDnsServer dns(TxtAnswers({Lx(1, locator.Port())}));
        const char* found = ResolveLocatorAddress("erin@example.org", kLoopback, dns.Port());
        EXPECT_EQ(g_locatorStatus, c.status);
        if (c.status == LOCATOR_FOUND) {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(std::string(found), c.reply.text);
        } else {
            EXPECT_EQ(found, nullptr);
        }
    }
}

TEST(LocatorTest, MalformedAddressesFailBeforeAnyTraffic) {
    const std::string addresses[] = {
        "nobody",
        "user@localhost",
        "user@exa mple.org",
        "user@example.org@x.org",
        "user@example..org",
        "user@.example.org",
        "user@example.org.",
        "user@ex+ample.org",
        "user@" + std::string(64, 'a') + ".org",
        std::string(117, 'u') + "@example.org", // 129 characters
    };
    FakeDnsServer dns(TxtAnswers({}));
    for (const std::string& address : addresses) {
        SCOPED_TRACE(address);
        EXPECT_EQ(ResolveLocatorAddress(address.c_str(), kLoopback, dns.Port()), nullptr);
        EXPECT_EQ(g_locatorStatus, LOCATOR_BAD_ADDRESS);
    }
    EXPECT_EQ(ResolveLocatorAddress(nullptr, kLoopback, dns.Port()), nullptr);
    EXPECT_EQ(g_locatorStatus, LOCATOR_BAD_ADDRESS);
    EXPECT_TRUE(dns.Queries().empty());
}

TEST(LocatorTest, DnsServerFailuresGiveTheirStatuses) {
    struct Case {
        const char* name;
        std::function<Bytes(const DnsQuery&)> answer;
        int32_t status;
    };
    const Case cases[] = {
        {"closes without answering", [](const DnsQuery&) { return Bytes(); },
         LOCATOR_NETWORK_ERROR},
        {"another id", [](const DnsQuery& q) { return Message(q.id ^ 1, 0, q.name, q.type); },
         LOCATOR_NOT_RESOLVED},
        {"server failure", [](const DnsQuery& q) { return Message(q.id, 2, q.name, q.type); },
         LOCATOR_NOT_RESOLVED},
        {"no records", [](const DnsQuery& q) { return Message(q.id, 0, q.name, q.type); },
         LOCATOR_NOT_RESOLVED},
        {"truncated record",
         [](const DnsQuery& q) {
             Bytes message =
                 Message(q.id, 0, q.name, q.type, Answer(TxtRecord("LX 1 0 1 127.0.0.1")));
             message.resize(message.size() - 3);
             return message;
         },
         LOCATOR_NOT_RESOLVED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDnsServer dns(c.answer);
        EXPECT_EQ(ResolveLocatorAddress("frank@example.org", kLoopback, dns.Port()), nullptr);
        EXPECT_EQ(g_locatorStatus, c.status);
    }

    EXPECT_EQ(ResolveLocatorAddress("frank@example.org", kLoopback, ClosedPort()), nullptr);
    EXPECT_EQ(g_locatorStatus, LOCATOR_NETWORK_ERROR);
}

TEST(LocatorTest, DefaultServerIsTheFirstIPv4NameServer) {
    test::ScopedGameDir dir;
    dir.WriteFile("resolv.conf",
                  "# local\nsearch example.org\nnameserver ::1\nnameserver   192.0.2.53 \n"
                  "nameserver 198.51.100.53\n");
    dir.WriteFile("none.conf", "options edns0\nnameserver fe80::1\n");
    EXPECT_EQ(platform::FirstNameServer((dir.Path() / "resolv.conf").string()), "192.0.2.53");
    EXPECT_EQ(platform::FirstNameServer((dir.Path() / "none.conf").string()), "");
    EXPECT_EQ(platform::FirstNameServer((dir.Path() / "missing.conf").string()), "");

    std::string server = "old";
    SetDefaultLocatorServer(server);
    EXPECT_TRUE(platform::IsDottedIPv4(server)) << server;
}

// --- Readers and builders ---

TEST(LocatorTest, LocatorTextIsReadFieldByField) {
    struct Case {
        std::string text;
        bool valid;
        uint16_t priority, weight, port;
        uint8_t kind;
        std::string server;
    };
    const std::string name255(255, 'h');
    const Case cases[] = {
        {"LX 10 0 1503 locator.example.org", true, 10, 0, 1503, LOCATOR_KIND_HOST_NAME,
         "locator.example.org"},
        {"LX\t7\n\n65534 65534\x01"
         "192.0.2.1",
         false, 0, 0, 0, 0, ""}, // "LX" then a tab is not "LX "
        {"LX  7\t65534\n65534\x01"
         "192.0.2.1",
         true, 7, 65534, 65534, LOCATOR_KIND_DOTTED, "192.0.2.1"},
        {"LX 999 123456 1 h", false, 0, 0, 0, 0, ""},
        {"LX 999 12345 1 " + name255, true, 999, 12345, 1, LOCATOR_KIND_HOST_NAME, name255},
        {"LX 1 2 3 " + name255 + "h", false, 0, 0, 0, 0, ""},
        {"LX 1000 0 1503 h", false, 0, 0, 0, 0, ""},
        {"LX 1 0 65535 h", false, 0, 0, 0, 0, ""},
        {"LX 1 0 1234567 h", false, 0, 0, 0, 0, ""},
        {"LX 1 0 1503", false, 0, 0, 0, 0, ""},
        {"LX 1 0 1503 ", false, 0, 0, 0, 0, ""},
        {"LX 1 -1 1503 h", false, 0, 0, 0, 0, ""},
        {"LX  ", false, 0, 0, 0, 0, ""},
        {"LX", false, 0, 0, 0, 0, ""},
        {"", false, 0, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LocatorRecord record;
        ASSERT_EQ(ParseLocatorText(c.text, record), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(record.priority, c.priority);
        EXPECT_EQ(record.weight, c.weight);
        EXPECT_EQ(record.port, c.port);
        EXPECT_EQ(record.kind, c.kind);
        EXPECT_EQ(record.server, c.server);
    }
}

TEST(LocatorTest, QueryIsBuiltForTheKnownTypesOnly) {
    std::vector<uint8_t> query;
    ASSERT_EQ(BuildDnsQuery(0xBEEF, DNS_TYPE_SRV, "uls.tcp.a.io", query), LOCATOR_OK);
    const Bytes expected = {0,   30,  0xBE, 0xEF, 0x01, 0x00, 0, 1,   0, 0,   0,   0, 0, 0,  3, 'u',
                            'l', 's', 3,    't',  'c',  'p',  1, 'a', 2, 'i', 'o', 0, 0, 33, 0, 1};
    EXPECT_EQ(query, expected);

    EXPECT_EQ(BuildDnsQuery(1, DNS_TYPE_A, "a.io", query), LOCATOR_UNKNOWN_KIND);
    EXPECT_EQ(BuildDnsQuery(1, DNS_TYPE_TXT, std::string(64, 'a') + ".io", query),
              LOCATOR_BAD_ADDRESS);
    EXPECT_EQ(BuildDnsQuery(1, DNS_TYPE_TXT, "a..io", query), LOCATOR_BAD_ADDRESS);
    EXPECT_EQ(BuildDnsQuery(1, DNS_TYPE_TXT, "", query), LOCATOR_BAD_ADDRESS);
}

// A message whose single answer's owner name is the given bytes (the answer
// starts at offset 29: header 12, question "example.org" 13 + 4).
Bytes WithOwner(const Bytes& owner, const Bytes& tail = {}) {
    Bytes message = Message(7, 0, "example.org", DNS_TYPE_TXT,
                            Answer(Record(owner, DNS_TYPE_TXT, Txt({"LX 1 0 1 h"}))));
    Append(message, tail);
    return message;
}

// A message whose answer's owner name is a chain of jumps (at least 2)
// pointers: the owner points to the message's tail, where each pointer
// points to the next and the last to the question's name at 12.
Bytes PointerChainMessage(int jumps) {
    Bytes message = WithOwner({0xC0, 0});
    const size_t tail = message.size();
    message[29] = static_cast<uint8_t>(0xC0 | tail >> 8);
    message[30] = static_cast<uint8_t>(tail);
    for (int i = 0; i + 1 < jumps; ++i) {
        const size_t next = i + 2 < jumps ? tail + 2 * static_cast<size_t>(i + 1) : 12;
        Put16(message, static_cast<uint16_t>(0xC000 | next));
    }
    return message;
}

TEST(LocatorTest, ParserRejectsMalformedAnswers) {
    Bytes name255; // four labels of 63: 255 characters
    for (int i = 0; i < 4; ++i) {
        name255.push_back(63);
        name255.insert(name255.end(), 63, 'a');
    }
    Bytes name257 = name255;
    name257.insert(name257.end(), {1, 'b', 0});
    name255.push_back(0);

    Bytes txtTooLong = Message(7, 0, "example.org", DNS_TYPE_TXT, Answer(TxtRecord("LX 1 0 1 h")));
    txtTooLong[txtTooLong.size() - 11] = 30; // the string claims more than its record holds
    Bytes srvNamePastData = Message(
        7, 0, "example.org", DNS_TYPE_SRV,
        Answer(Record(Name("example.org"), DNS_TYPE_SRV, Srv(1, 2, 3, "host.example.org"))));
    srvNamePastData[29 + 13 + 9] -= 4; // the record's length shortened: its name runs past it
    Bytes moreRecordsThanSent =
        Message(7, 0, "example.org", DNS_TYPE_TXT, Answer(TxtRecord("LX 1 0 1 h")));
    moreRecordsThanSent[7] = 2;
    Bytes truncatedQuestion = Message(7, 0, "example.org", DNS_TYPE_TXT);
    truncatedQuestion.resize(truncatedQuestion.size() - 2);
    Bytes aOfFiveBytes = Message(7, 0, "example.org", DNS_TYPE_TXT,
                                 Answer(Record(Name("example.org"), DNS_TYPE_A, {1, 2, 3, 4, 5})));

    struct Case {
        const char* name;
        Bytes message;
        int status;
    };
    const Case cases[] = {
        {"empty", {}, LOCATOR_NOT_RESOLVED},
        {"header cut short", Bytes(11, 0), LOCATOR_NOT_RESOLVED},
        {"another id", Message(8, 0, "example.org", DNS_TYPE_TXT), LOCATOR_NOT_RESOLVED},
        {"name error", Message(7, 3, "example.org", DNS_TYPE_TXT), LOCATOR_NO_SUCH_NAME},
        {"refused", Message(7, 5, "example.org", DNS_TYPE_TXT), LOCATOR_NOT_RESOLVED},
        {"pointer to itself", WithOwner({0xC0, 29}), LOCATOR_NOT_RESOLVED},
        {"two pointers in a loop", WithOwner({1, 'x', 0xC0, 29}), LOCATOR_NOT_RESOLVED},
        {"128 pointers", PointerChainMessage(128), LOCATOR_OK},
        {"129 pointers", PointerChainMessage(129), LOCATOR_NOT_RESOLVED},
        {"pointer past the end", WithOwner({0xFF, 0xFF}), LOCATOR_NOT_RESOLVED},
        {"reserved label kind", WithOwner({0x40, 0}), LOCATOR_NOT_RESOLVED},
        {"label past the end", Bytes{0, 7, 0x81, 0x80, 0, 1, 0, 0, 0, 0, 0, 0, 63, 'a'},
         LOCATOR_NOT_RESOLVED},
        {"name of 255", WithOwner(name255), LOCATOR_OK},
        {"name of 257", WithOwner(name257), LOCATOR_NOT_RESOLVED},
        {"question cut short", truncatedQuestion, LOCATOR_NOT_RESOLVED},
        {"more records than sent", moreRecordsThanSent, LOCATOR_NOT_RESOLVED},
        {"TXT string past its record", txtTooLong, LOCATOR_NOT_RESOLVED},
        {"SRV name past its record", srvNamePastData, LOCATOR_NOT_RESOLVED},
        {"A record of five bytes", aOfFiveBytes, LOCATOR_NOT_RESOLVED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<DnsRecord> records;
        EXPECT_EQ(ParseDnsAnswer(c.message, 7, records), c.status);
        if (c.status != LOCATOR_OK) {
            EXPECT_TRUE(records.empty());
        }
    }

    // Every cut of a good message is refused without reading past it.
    const Bytes good =
        Message(7, 0, "example.org", DNS_TYPE_SRV,
                Answer(Record({0xC0, 12}, DNS_TYPE_SRV, Srv(1, 2, 3, "host.example.org"))));
    for (size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        std::vector<DnsRecord> records;
        EXPECT_NE(ParseDnsAnswer(cut, 7, records), LOCATOR_OK);
    }
}

TEST(LocatorTest, ParserTakesAnswersElseReferrals) {
    // Compressed SRV target ("host" + the question's name) and a long TXT
    // text made of three strings.
    Bytes target = {4, 'h', 'o', 's', 't', 0xC0, 12};
    Bytes srvData;
    Put16(srvData, 1);
    Put16(srvData, 2);
    Put16(srvData, 1503);
    Append(srvData, target);
    const std::string longText =
        std::string(250, 'a') + std::string(250, 'b') + std::string(100, 'c');
    Sections answers;
    answers.answers = {
        Record({0xC0, 12}, DNS_TYPE_SRV, srvData),
        Record({0xC0, 12}, DNS_TYPE_TXT,
               Txt({longText.substr(0, 250), longText.substr(250, 250), longText.substr(500)})),
        Record({0xC0, 12}, 99, {1, 2, 3})};
    answers.authority = {Record(Name("example.org"), DNS_TYPE_NS, Name("ns.example.org"))};

    std::vector<DnsRecord> records;
    ASSERT_EQ(ParseDnsAnswer(Message(7, 0, "example.org", DNS_TYPE_SRV, answers), 7, records),
              LOCATOR_OK);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].isAnswer);
    EXPECT_EQ(records[0].type, DNS_TYPE_SRV);
    EXPECT_EQ(records[0].priority, 1);
    EXPECT_EQ(records[0].weight, 2);
    EXPECT_EQ(records[0].port, 1503);
    EXPECT_EQ(records[0].text, "host.example.org");
    EXPECT_EQ(records[1].text, longText);

    Sections referral;
    referral.authority = {Record(Name("example.org"), DNS_TYPE_NS, Name("ns1.example.org"))};
    referral.additional = {Record(Name("ns1.example.org"), DNS_TYPE_A, {192, 0, 2, 53})};
    ASSERT_EQ(ParseDnsAnswer(Message(7, 0, "example.org", DNS_TYPE_TXT, referral), 7, records),
              LOCATOR_OK);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].isAnswer);
    EXPECT_EQ(records[0].text, "ns1.example.org");

    Sections glueOnly;
    glueOnly.additional = referral.additional;
    ASSERT_EQ(ParseDnsAnswer(Message(7, 0, "example.org", DNS_TYPE_TXT, glueOnly), 7, records),
              LOCATOR_OK);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].isAnswer);
    EXPECT_EQ(records[0].text, "192.0.2.53");
}

} // namespace
