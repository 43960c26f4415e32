// Fuzz target: arbitrary bytes as a DNS answer handed to the locator's
// parser (the query id is taken from the message itself, so the parse goes
// past the id check). Whatever arrives, the parser answers a known status,
// keeps no records on failure and keeps names within their bound; the texts
// of TXT answers then go through the "LX " reader.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "net/Locator.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> message(data, size);
    const uint16_t id = size >= 2 ? static_cast<uint16_t>(data[0] << 8 | data[1]) : 0;
    std::vector<DnsRecord> records;
    const int status = ParseDnsAnswer(message, id, records);
    Check(status == LOCATOR_OK || status == LOCATOR_NO_SUCH_NAME || status == LOCATOR_NOT_RESOLVED);
    if (status != LOCATOR_OK) {
        Check(records.empty());
        return 0;
    }
    for (const DnsRecord& record : records) {
        Check(record.isAnswer == records.front().isAnswer);
        if (record.type == DNS_TYPE_TXT) {
            Check(record.text.size() < size);
            LocatorRecord locator;
            if (ParseLocatorText(record.text, locator))
                Check(!locator.server.empty() && locator.server.size() <= DNS_MAX_NAME &&
                      locator.weight < 65535 && locator.port < 65535 && locator.priority <= 999);
        } else {
            Check(record.text.size() <= DNS_MAX_NAME);
        }
    }
    return 0;
}
