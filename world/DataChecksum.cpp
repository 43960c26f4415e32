#include "world/DataChecksum.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/File.h"
#include "net/Session.h"

VersionRecord g_versionRecord;

namespace {

// The main tables, in the order they enter the checksum.
constexpr const char* kSummedFiles[] = {
    "db\\province.csv",  "db\\buildingcosts.csv", "db\\tax_stab.csv", "db\\goods.csv",
    "db\\colonists.csv", "db\\traders.csv",       "db\\land.csv",     "db\\naval.csv",
    "db\\trade.csv",     "db\\infra.csv"};

} // namespace

uint32_t SumDataBytes(const std::vector<uint8_t>& bytes) {
    uint32_t value = 0;
    for (size_t at = 0; at < bytes.size(); at += 4) {
        // A last word of fewer than four bytes is zero-filled, so that every
        // machine with the same file computes the same value.
        uint32_t word = 0;
        for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
            word |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
        value = ((value * 2u) | word) + word;
    }
    return value;
}

uint32_t SumDataFile(const std::string& path) {
    if (!FileExists(path))
        return 0;
    CFile file(path);
    if (file.IsFailed() || file.GetSize() <= 0)
        return 0;
    std::vector<uint8_t> bytes(static_cast<size_t>(file.GetSize()));
    if (!file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())))
        return 0;
    return SumDataBytes(bytes);
}

void ComputeDataChecksum() {
    g_versionRecord = {};
    g_versionRecord.version = kNetVersionValue;
    g_versionRecord.checksum = 0;
    for (const char* path : kSummedFiles)
        g_versionRecord.checksum += SumDataFile(path);
    std::strncpy(g_versionRecord.text.data(), "VO 1.07", g_versionRecord.text.size() - 1);
    g_netDataChecksum = g_versionRecord.checksum;
}
