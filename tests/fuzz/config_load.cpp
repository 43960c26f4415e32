// Fuzz target: arbitrary bytes as "config.ov" in a scratch game folder, then
// CConfig::Load. Whatever the file holds, the block afterwards is one of this
// format with terminated texts, and the file on disk is that block.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/Config.h"
#include "tests/fuzz/FuzzSupport.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("config.ov", data, size);
    CConfig config;
    config.Load();

    Check(config.GetWord(ConfigOffset::kFormat) == kConfigFormat);
    Check(config.GetWord(ConfigOffset::kSize) == kConfigSize);
    Check(config.GetWord(ConfigOffset::kMessageTypeCount) == kConfigMessageTypes);
    Check(config.Block()[ConfigOffset::kPlayerName + kPlayerNameSize - 1] == 0);
    Check(config.Block()[ConfigOffset::kIpAddress + kIpAddressSize - 1] == 0);
    std::ifstream in("config.ov", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    Check(written == std::string(config.Block().begin(), config.Block().end()));
    return 0;
}
