// Replacing and deleting game files.
#include <filesystem>
#include <system_error>

#include "platform/Files.h"

namespace platform {

bool ReplaceGameFile(std::string_view from, std::string_view to) {
    const std::string source = ResolveGamePath(from);
    const std::string target = ResolveGamePath(to);
    if (source.empty() || target.empty())
        return false;
    std::error_code ec;
    // rename() replaces an existing target atomically within one file system.
    std::filesystem::rename(source, target, ec);
    ForgetPathCache();
    return !ec;
}

bool RemoveGameFile(std::string_view gamePath) {
    const std::string path = ResolveGamePath(gamePath);
    if (path.empty())
        return false;
    std::error_code ec;
    const bool removed = std::filesystem::remove(path, ec);
    ForgetPathCache();
    return removed && !ec;
}

} // namespace platform
