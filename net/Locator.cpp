#include "net/Locator.h"

#include <array>
#include <chrono>
#include <new>
#include <random>

#include "platform/Resolver.h"
#include "platform/TcpClient.h"

int32_t g_locatorStatus = 0;

namespace {

constexpr int kTimeoutMs = 5000;  // each connect, send and receive
constexpr int kMaxDnsRounds = 15; // DNS servers asked for one name (referrals)
constexpr size_t kMaxLabel = 63;
constexpr size_t kMaxAddressLength = 128;
constexpr size_t kAnswerBufferSize = 512; // the locator's answer text and its NUL
constexpr size_t kGreetingSize = 32;
constexpr size_t kHeaderSize = 6;
constexpr uint8_t kRequestMarker = 0x64;
constexpr uint8_t kRequestResolve = 1;
constexpr uint8_t kAnswerAccepted = 1;
constexpr uint8_t kAnswerCode10 = 10;
constexpr const char* kFallbackDnsServer = "127.0.0.1";
constexpr const char* kSrvPrefix = "uls.tcp.";
constexpr size_t kDnsHeaderSize = 12;
constexpr uint16_t kClassIn = 1;
constexpr uint16_t kRecursionDesired = 0x0100;

std::string g_result;

// --- DNS parsing ---

uint16_t ReadU16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

// Reads the name at offset, following compression pointers; offset moves past
// the name as it stands at that place. False when the name leaves the
// message, uses a reserved label kind, grows past 255 characters or follows
// more than 128 pointers.
bool ReadName(std::span<const uint8_t> message, size_t& offset, std::string& name) {
    name.clear();
    size_t at = offset;
    bool jumped = false;
    int jumps = 0;
    for (;;) {
        if (at >= message.size())
            return false;
        const uint8_t length = message[at];
        if ((length & 0xC0) == 0xC0) {
            if (at + 1 >= message.size() || ++jumps > DNS_MAX_POINTER_JUMPS)
                return false;
            if (!jumped)
                offset = at + 2;
            jumped = true;
            at = static_cast<size_t>(length & 0x3F) << 8 | message[at + 1];
            continue;
        }
        if (length & 0xC0)
            return false;
        if (length == 0) {
            if (!jumped)
                offset = at + 1;
            return true;
        }
        if (at + 1 + length > message.size())
            return false;
        const size_t grown = name.size() + (name.empty() ? 0 : 1) + length;
        if (grown > DNS_MAX_NAME)
            return false;
        if (!name.empty())
            name += '.';
        name.append(reinterpret_cast<const char*>(message.data() + at + 1), length);
        at += 1 + length;
    }
}

// Reads a name that lies inside a record's data: it must end by its end.
bool ReadDataName(std::span<const uint8_t> message, size_t offset, size_t end, std::string& name) {
    return offset < end && ReadName(message, offset, name) && offset <= end;
}

// Reads one resource record at offset and moves past it. usable is set when
// the record's type is one this client takes (the record is then filled).
bool ReadRecord(std::span<const uint8_t> message, size_t& offset, DnsRecord& record, bool& usable) {
    std::string owner;
    if (!ReadName(message, offset, owner) || message.size() - offset < 10)
        return false;
    record = DnsRecord();
    record.type = ReadU16(message, offset);
    const size_t dataLength = ReadU16(message, offset + 8);
    const size_t data = offset + 10;
    if (message.size() - data < dataLength)
        return false;
    const size_t end = data + dataLength;
    offset = end;
    usable = true;
    switch (record.type) {
    case DNS_TYPE_A:
        if (dataLength != 4)
            return false;
        record.text = std::to_string(message[data]) + '.' + std::to_string(message[data + 1]) +
                      '.' + std::to_string(message[data + 2]) + '.' +
                      std::to_string(message[data + 3]);
        return true;
    case DNS_TYPE_NS:
    case DNS_TYPE_CNAME:
    case DNS_TYPE_SOA: // its first field: the primary name server
        return ReadDataName(message, data, end, record.text);
    case DNS_TYPE_MX:
        return dataLength > 2 && ReadDataName(message, data + 2, end, record.text);
    case DNS_TYPE_SRV:
        if (dataLength <= 6)
            return false;
        record.priority = ReadU16(message, data);
        record.weight = ReadU16(message, data + 2);
        record.port = ReadU16(message, data + 4);
        return ReadDataName(message, data + 6, end, record.text);
    case DNS_TYPE_TXT:
        for (size_t at = data; at < end;) {
            const size_t length = message[at];
            if (end - at - 1 < length)
                return false;
            record.text.append(reinterpret_cast<const char*>(message.data() + at + 1), length);
            at += 1 + length;
        }
        return true;
    default:
        usable = false;
        return true;
    }
}

bool ReadSection(std::span<const uint8_t> message, size_t& offset, uint16_t count,
                 std::vector<DnsRecord>& records) {
    for (uint16_t i = 0; i < count; ++i) {
        DnsRecord record;
        bool usable = false;
        if (!ReadRecord(message, offset, record, usable))
            return false;
        if (usable)
            records.push_back(std::move(record));
    }
    return true;
}

// --- DNS exchange ---

uint16_t NextQueryId() {
    static std::minstd_rand generator(
        static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return static_cast<uint16_t>(generator());
}

// One query to one DNS server.
int ExchangeDns(uint16_t type, const std::string& name, const std::string& server, uint16_t port,
                std::vector<DnsRecord>& records) {
    const uint16_t id = NextQueryId();
    std::vector<uint8_t> query;
    if (const int status = BuildDnsQuery(id, type, name, query); status != LOCATOR_OK)
        return status;
    platform::TcpConnection connection;
    uint8_t lengthBytes[2];
    if (!connection.Connect(server, port, kTimeoutMs) ||
        !connection.SendAll(query.data(), query.size(), kTimeoutMs) ||
        !connection.ReceiveExact(lengthBytes, 2, kTimeoutMs))
        return LOCATOR_NETWORK_ERROR;
    std::vector<uint8_t> message(static_cast<size_t>(lengthBytes[0] << 8 | lengthBytes[1]));
    if (!connection.ReceiveExact(message.data(), message.size(), kTimeoutMs))
        return LOCATOR_NETWORK_ERROR;
    connection.Close();
    return ParseDnsAnswer(message, id, records);
}

// Asks the DNS server, then the servers it refers to, until one answers.
int QueryDns(uint16_t type, const std::string& name, const std::string& firstServer, uint16_t port,
             std::vector<DnsRecord>& answers) {
    std::string server = firstServer;
    for (int round = 0; round < kMaxDnsRounds; ++round) {
        std::vector<DnsRecord> records;
        if (const int status = ExchangeDns(type, name, server, port, records); status != LOCATOR_OK)
            return status;
        if (records.empty())
            return LOCATOR_NOT_RESOLVED;
        if (records.front().isAnswer) {
            answers = std::move(records);
            return LOCATOR_OK;
        }
        std::string next = records.front().text;
        if (!platform::IsDottedIPv4(next) && !platform::LookupHostAddress(next, next))
            return LOCATOR_NOT_RESOLVED;
        if (next == server)
            return LOCATOR_NO_SUCH_NAME;
        server = next;
    }
    return LOCATOR_NOT_RESOLVED;
}

int FindLocatorServer(const std::string& domain, const std::string& dnsServer, uint16_t dnsPort,
                      LocatorRecord& best) {
    std::vector<LocatorRecord> found;
    std::vector<DnsRecord> answers;
    int status = QueryDns(DNS_TYPE_TXT, domain, dnsServer, dnsPort, answers);
    if (status == LOCATOR_OK) {
        for (const DnsRecord& answer : answers) {
            LocatorRecord record;
            if (answer.type == DNS_TYPE_TXT && ParseLocatorText(answer.text, record))
                found.push_back(std::move(record));
        }
    } else if (status == LOCATOR_NO_SUCH_NAME) {
        status = QueryDns(DNS_TYPE_SRV, kSrvPrefix + domain, dnsServer, dnsPort, answers);
        if (status == LOCATOR_OK) {
            for (const DnsRecord& answer : answers) {
                if (answer.type != DNS_TYPE_SRV || answer.text.empty())
                    continue;
                LocatorRecord record;
                record.kind = platform::IsDottedIPv4(answer.text) ? LOCATOR_KIND_DOTTED
                                                                  : LOCATOR_KIND_HOST_NAME;
                record.priority = answer.priority;
                record.weight = answer.weight;
                record.port = answer.port;
                record.server = answer.text;
                found.push_back(std::move(record));
            }
        }
    }
    if (status != LOCATOR_OK)
        return status;
    if (found.empty())
        return LOCATOR_NOT_RESOLVED;
    // The smallest priority wins; of equal ones the later record.
    const LocatorRecord* chosen = &found.front();
    for (const LocatorRecord& record : found)
        if (record.priority <= chosen->priority)
            chosen = &record;
    best = *chosen;
    return LOCATOR_OK;
}

// --- The lookup ---

bool IsDomainCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
}

// A domain of allowed characters with at least one dot and labels of 1 to 63
// characters.
bool IsValidDomain(std::string_view domain) {
    if (domain.find('.') == std::string_view::npos)
        return false;
    size_t label = 0;
    for (const char c : domain) {
        if (!IsDomainCharacter(c))
            return false;
        if (c != '.') {
            if (++label > kMaxLabel)
                return false;
        } else {
            if (label == 0)
                return false;
            label = 0;
        }
    }
    return label > 0;
}

int Resolve(const char* addressText, const char* dnsServer, uint16_t dnsPort) {
    if (!addressText || !dnsServer)
        return addressText ? LOCATOR_NETWORK_ERROR : LOCATOR_BAD_ADDRESS;
    std::string address = addressText;
    for (char& c : address)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    const size_t at = address.find('@');
    if (at == std::string::npos || address.size() > kMaxAddressLength ||
        !IsValidDomain(std::string_view(address).substr(at + 1)))
        return LOCATOR_BAD_ADDRESS;

    LocatorRecord locator;
    if (const int status = FindLocatorServer(address.substr(at + 1), dnsServer, dnsPort, locator);
        status != LOCATOR_OK)
        return status;

    std::string serverAddress;
    if (locator.kind == LOCATOR_KIND_DOTTED)
        serverAddress = locator.server;
    else if (locator.kind == LOCATOR_KIND_HOST_NAME) {
        if (!platform::LookupHostAddress(locator.server, serverAddress))
            return LOCATOR_NOT_RESOLVED;
    } else
        return LOCATOR_UNKNOWN_KIND;

    platform::TcpConnection connection;
    std::array<uint8_t, kGreetingSize> greeting;
    if (!connection.Connect(serverAddress, locator.port, kTimeoutMs) ||
        !connection.ReceiveExact(greeting.data(), greeting.size(), kTimeoutMs))
        return LOCATOR_NETWORK_ERROR;

    const std::string text = address + '\n';
    std::vector<uint8_t> request = {kRequestMarker,
                                    static_cast<uint8_t>(text.size() >> 8),
                                    static_cast<uint8_t>(text.size() & 0xFF),
                                    0,
                                    0,
                                    kRequestResolve};
    request.insert(request.end(), text.begin(), text.end());
    std::array<uint8_t, kHeaderSize> header;
    if (!connection.SendAll(request.data(), request.size(), kTimeoutMs) ||
        !connection.ReceiveExact(header.data(), header.size(), kTimeoutMs))
        return LOCATOR_NETWORK_ERROR;
    if (header[5] == kAnswerCode10)
        return LOCATOR_CODE_10;
    if (header[5] != kAnswerAccepted)
        return LOCATOR_REFUSED;

    // An answer that would not fit the buffer is a failed receive.
    const size_t length = static_cast<size_t>(header[1] << 8 | header[2]);
    std::array<char, kAnswerBufferSize> answer{};
    if (length >= answer.size() || !connection.ReceiveExact(answer.data(), length, kTimeoutMs))
        return LOCATOR_NETWORK_ERROR;
    answer[length] = '\0';
    connection.Close(); // a failure to close changes nothing

    const std::string found(answer.data());
    if (found == "0.0.0.0")
        return LOCATOR_USER_ABSENT;
    g_result = found;
    return LOCATOR_FOUND;
}

} // namespace

int BuildDnsQuery(uint16_t id, uint16_t type, std::string_view name, std::vector<uint8_t>& query) {
    if (type != DNS_TYPE_NS && type != DNS_TYPE_MX && type != DNS_TYPE_TXT && type != DNS_TYPE_SRV)
        return LOCATOR_UNKNOWN_KIND;
    if (name.empty() || name.size() > DNS_MAX_NAME)
        return LOCATOR_BAD_ADDRESS;
    std::vector<uint8_t> bytes = {0,
                                  0, // the length, set below
                                  static_cast<uint8_t>(id >> 8),
                                  static_cast<uint8_t>(id),
                                  kRecursionDesired >> 8,
                                  kRecursionDesired & 0xFF,
                                  0,
                                  1,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0};
    size_t start = 0;
    while (start <= name.size()) {
        size_t dot = name.find('.', start);
        if (dot == std::string_view::npos)
            dot = name.size();
        const size_t length = dot - start;
        if (length == 0 || length > kMaxLabel)
            return LOCATOR_BAD_ADDRESS;
        bytes.push_back(static_cast<uint8_t>(length));
        bytes.insert(bytes.end(), name.begin() + start, name.begin() + dot);
        start = dot + 1;
    }
    bytes.insert(bytes.end(),
                 {0, static_cast<uint8_t>(type >> 8), static_cast<uint8_t>(type), 0, kClassIn});
    const size_t length = bytes.size() - 2;
    bytes[0] = static_cast<uint8_t>(length >> 8);
    bytes[1] = static_cast<uint8_t>(length);
    query = std::move(bytes);
    return LOCATOR_OK;
}

int ParseDnsAnswer(std::span<const uint8_t> message, uint16_t queryId,
                   std::vector<DnsRecord>& records) {
    records.clear();
    if (message.size() < kDnsHeaderSize || ReadU16(message, 0) != queryId)
        return LOCATOR_NOT_RESOLVED;
    const int responseCode = message[3] & 0x0F;
    if (responseCode == 3)
        return LOCATOR_NO_SUCH_NAME;
    if (responseCode != 0)
        return LOCATOR_NOT_RESOLVED;

    size_t offset = kDnsHeaderSize;
    const uint16_t questions = ReadU16(message, 4);
    for (uint16_t i = 0; i < questions; ++i) {
        std::string name;
        if (!ReadName(message, offset, name) || message.size() - offset < 4)
            return LOCATOR_NOT_RESOLVED;
        offset += 4;
    }
    std::vector<DnsRecord> sections[3];
    for (int section = 0; section < 3; ++section)
        if (!ReadSection(message, offset, ReadU16(message, 6 + 2 * section), sections[section]))
            return LOCATOR_NOT_RESOLVED;

    if (!sections[0].empty()) {
        for (DnsRecord& record : sections[0])
            record.isAnswer = true;
        records = std::move(sections[0]);
    } else if (!sections[1].empty()) {
        records = std::move(sections[1]);
    } else {
        records = std::move(sections[2]);
    }
    return LOCATOR_OK;
}

bool ParseLocatorText(std::string_view text, LocatorRecord& record) {
    if (text.substr(0, 3) != "LX ")
        return false;
    size_t at = 3;
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    auto skipBlanks = [&] {
        while (at < text.size() && isBlank(text[at]))
            ++at;
    };
    // A decimal number of 1 to maxDigits digits, then a blank.
    auto readNumber = [&](size_t maxDigits, uint32_t& value) {
        skipBlanks();
        value = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (++digits > maxDigits)
                return false;
            value = value * 10 + static_cast<uint32_t>(text[at] - '0');
            ++at;
        }
        return digits > 0 && at < text.size() && isBlank(text[at]);
    };
    uint32_t priority = 0;
    uint32_t weight = 0;
    uint32_t port = 0;
    if (!readNumber(3, priority) || !readNumber(6, weight) || weight >= 65535 ||
        !readNumber(6, port) || port >= 65535)
        return false;
    skipBlanks();
    const std::string_view server = text.substr(at);
    if (server.empty() || server.size() > DNS_MAX_NAME)
        return false;
    record.priority = static_cast<uint16_t>(priority);
    record.weight = static_cast<uint16_t>(weight);
    record.port = static_cast<uint16_t>(port);
    record.server = std::string(server);
    record.kind =
        platform::IsDottedIPv4(record.server) ? LOCATOR_KIND_DOTTED : LOCATOR_KIND_HOST_NAME;
    return true;
}

const char* ResolveLocatorAddress(const char* address, const char* dnsServer, uint16_t dnsPort) {
    try {
        g_result = std::string();
        g_locatorStatus = Resolve(address, dnsServer, dnsPort);
    } catch (const std::bad_alloc&) {
        g_result = std::string();
        g_locatorStatus = LOCATOR_NO_MEMORY;
    }
    return g_locatorStatus == LOCATOR_FOUND ? g_result.c_str() : nullptr;
}

void SetDefaultLocatorServer(std::string& server) {
    server = platform::FirstNameServer();
    if (server.empty())
        server = kFallbackDnsServer;
}
