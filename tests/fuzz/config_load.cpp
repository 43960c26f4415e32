// Fuzz target: arbitrary bytes as "config.ov" in a scratch game folder, then
// CConfig::Load. Whatever the file holds, the block afterwards is one of this
// format with terminated texts, and the file on disk is that block.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "engine/Config.h"
#include "platform/Files.h"

namespace {

// A folder of its own as the game folder, removed at exit. It is the current
// directory only while one input runs.
class ScratchFolder {
public:
    ScratchFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("orvandel-fuzz-config-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
        platform::ForgetPathCache();
    }
    ~InFolder() {
        std::filesystem::current_path(m_previous);
        platform::ForgetPathCache();
    }

private:
    std::filesystem::path m_previous;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFolder scratch;
    InFolder inScratch(scratch.Path());
    {
        std::ofstream out("config.ov", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CConfig config;
    config.Load();

    Check(config.GetWord(ConfigOffset::kFormat) == kConfigFormat);
    Check(config.GetWord(ConfigOffset::kSize) == kConfigSize);
    Check(config.GetWord(ConfigOffset::kMessageTypeCount) == kConfigMessageTypes);
    Check(config.Block()[ConfigOffset::kPlayerName + kPlayerNameSize - 1] == 0);
    Check(config.Block()[ConfigOffset::kIpAddress + kIpAddressSize - 1] == 0);
    std::ifstream in("config.ov", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Check(written == std::string(config.Block().begin(), config.Block().end()));
    return 0;
}
