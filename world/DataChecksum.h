#pragma once
// The version record a network session carries so that only machines with
// the same main tables play together.
#include <array>
#include <cstdint>

struct VersionRecord {
    uint32_t version = 0;
    uint32_t checksum = 0;
    std::array<char, 256> text{};
};

extern VersionRecord g_versionRecord;

// Fills g_versionRecord {112, checksum of the main tables, "VO 1.07"} and
// hands the checksum to the network session (g_netDataChecksum).
void ComputeDataChecksum();
