#pragma once
// The version record a network session carries so that only machines with
// the same main tables play together.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct VersionRecord {
    uint32_t version = 0;
    uint32_t checksum = 0;
    std::array<char, 256> text{};
};

extern VersionRecord g_versionRecord;

// Fills g_versionRecord {112, checksum of the main tables, "VO 1.07"} and
// hands the checksum to the network session (g_netDataChecksum).
void ComputeDataChecksum();

// The checksum of one file's bytes: for each little-endian word w of four
// bytes (the last one zero-filled), v = ((v x 2) | w) + w.
uint32_t SumDataBytes(const std::vector<uint8_t>& bytes);
// The same of a file (game path); 0 when it is missing or unreadable.
uint32_t SumDataFile(const std::string& path);
