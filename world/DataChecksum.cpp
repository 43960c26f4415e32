#include "world/DataChecksum.h"

#include <cstring>

#include "net/Session.h"

VersionRecord g_versionRecord;

// The main tables are not summed yet: the checksum is 0.
void ComputeDataChecksum() {
    g_versionRecord = {};
    g_versionRecord.version = kNetVersionValue;
    g_versionRecord.checksum = 0;
    std::strncpy(g_versionRecord.text.data(), "VO 1.07", g_versionRecord.text.size() - 1);
    g_netDataChecksum = g_versionRecord.checksum;
}
