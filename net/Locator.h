#pragma once
// The address locator client: turns a player address "user@domain" into the
// IPv4 address of that player's machine. A DNS server, asked over TCP, names
// the domain's locator server (a TXT record "LX <priority> <weight> <port>
// <server>", else the SRV records of "uls.tcp.<domain>"); that server then
// answers the user's current address.
//
// One lookup at a time: the found address stays in a buffer of this module
// until the next lookup, and the outcome is left in g_locatorStatus.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a step of a lookup (BuildDnsQuery, ParseDnsAnswer) answers when it
// succeeded; a failed step answers the lookup's outcome below.
constexpr int32_t LOCATOR_OK = 0;

// Outcomes of a lookup.
constexpr int32_t LOCATOR_FOUND = 101; // the answer is a usable address
constexpr int32_t LOCATOR_NO_SUCH_NAME =
    102; // the DNS name does not exist, or a referral leads back
constexpr int32_t LOCATOR_BAD_ADDRESS = 103; // the player address is malformed
constexpr int32_t LOCATOR_NO_MEMORY = 104;
constexpr int32_t LOCATOR_UNKNOWN_KIND = 105; // a server kind or DNS query type not known here
constexpr int32_t LOCATOR_NOT_RESOLVED =
    106; // a name could not be resolved, or the DNS answer was unusable
constexpr int32_t LOCATOR_NETWORK_ERROR = 107; // a connection, send or receive failed
constexpr int32_t LOCATOR_REFUSED = 108;       // the locator server refused the request
constexpr int32_t LOCATOR_CODE_10 = 109;       // the locator server answered with code 10
constexpr int32_t LOCATOR_USER_ABSENT = 111;   // the locator server answered "0.0.0.0"

// The outcome of the last ResolveLocatorAddress.
extern int32_t g_locatorStatus;

constexpr uint16_t DNS_PORT = 53;

// The whole lookup of a "user@domain" address through the DNS server (a
// dotted IPv4 address) at dnsPort. Answers the found address, owned by this
// module until the next call, with status LOCATOR_FOUND; null with the
// failure's status otherwise.
const char* ResolveLocatorAddress(const char* address, const char* dnsServer,
                                  uint16_t dnsPort = DNS_PORT);

// The default DNS server: the first IPv4 "nameserver" of /etc/resolv.conf,
// else the local host, as a dotted address.
void SetDefaultLocatorServer(std::string& server);

// --- DNS messages ---

constexpr uint16_t DNS_TYPE_A = 1;
constexpr uint16_t DNS_TYPE_NS = 2;
constexpr uint16_t DNS_TYPE_CNAME = 5;
constexpr uint16_t DNS_TYPE_SOA = 6;
constexpr uint16_t DNS_TYPE_MX = 15;
constexpr uint16_t DNS_TYPE_TXT = 16;
constexpr uint16_t DNS_TYPE_SRV = 33;

constexpr size_t DNS_MAX_NAME = 255;       // characters of a decoded name
constexpr int DNS_MAX_POINTER_JUMPS = 128; // compression pointers followed in one name

// One usable record of a DNS answer.
struct DnsRecord {
    uint16_t type = 0;
    bool isAnswer = false; // from the answer section (else a referral)
    uint16_t priority = 0; // SRV only
    uint16_t weight = 0;   // SRV only
    uint16_t port = 0;     // SRV only
    // The text of a TXT record (its strings joined); the name of an NS,
    // CNAME, MX or SRV record; the primary server of an SOA record; the
    // dotted address of an A record.
    std::string text;
};

// A TCP query: the 2-byte length, the header {id, recursion desired, one
// question} and the question (name, type, class IN). Answers LOCATOR_OK;
// LOCATOR_UNKNOWN_KIND for a type other than NS, MX, TXT and SRV;
// LOCATOR_BAD_ADDRESS for a name that cannot be encoded (an empty label, a
// label over 63 characters, a name over 255).
int BuildDnsQuery(uint16_t id, uint16_t type, std::string_view name, std::vector<uint8_t>& query);

// Parses a DNS message (without the TCP length). The records are those of
// the answer section when it has usable ones (marked as answers), else those
// of the authority section, else those of the additional section. Answers
// LOCATOR_OK; LOCATOR_NO_SUCH_NAME for response code 3; LOCATOR_NOT_RESOLVED
// for another response code, a different id or a malformed message (every
// field is checked against the message's length, names are bounded to 255
// characters and 128 pointer jumps).
int ParseDnsAnswer(std::span<const uint8_t> message, uint16_t queryId,
                   std::vector<DnsRecord>& records);

// --- Locator records ---

constexpr uint8_t LOCATOR_KIND_HOST_NAME = 0;
constexpr uint8_t LOCATOR_KIND_DOTTED = 1;

struct LocatorRecord {
    uint8_t kind = LOCATOR_KIND_HOST_NAME;
    uint16_t priority = 0;
    uint16_t weight = 0;
    uint16_t port = 0;
    std::string server; // host name or dotted address, up to 255 characters
};

// Reads an "LX " text: "LX ", then, separated by blanks (characters below
// 33), the priority (at most 3 digits), the weight and the port (at most 6
// digits each, below 65535) and the server name (the rest of the text, 1 to
// 255 characters). False for any other text.
bool ParseLocatorText(std::string_view text, LocatorRecord& record);
