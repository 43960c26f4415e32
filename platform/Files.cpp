#include "platform/Files.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace platform {

namespace {

struct DirEntry {
    std::string name;
    bool isFile;
};

using Listing = std::vector<DirEntry>;

// Cached folder listings, keyed by the resolved host path of the folder
// ("" is the game folder itself).
std::mutex g_cacheLock;
std::map<std::string, Listing> g_listings;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(LowerAscii(a[i]));
        unsigned char cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b; // names that differ only in case: a fixed order all the same
}

// "*" matches any run of characters, "?" any one character; case-blind.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string HostFolder(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

// The listing of a resolved folder, read from the disk on first use. A folder
// that cannot be read gives an empty listing that is not cached (it may be
// created later). Call with g_cacheLock held.
const Listing* GetListing(const std::string& folder, Listing& scratch) {
    auto it = g_listings.find(folder);
    if (it != g_listings.end())
        return &it->second;
    std::error_code ec;
    std::filesystem::directory_iterator dir(HostFolder(folder), ec);
    if (ec) {
        scratch.clear();
        return &scratch;
    }
    Listing listing;
    for (; dir != std::filesystem::directory_iterator(); dir.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        bool isFile = dir->is_regular_file(typeError);
        listing.push_back({dir->path().filename().string(), isFile});
    }
    if (ec) {
        scratch = std::move(listing);
        return &scratch;
    }
    return &g_listings.emplace(folder, std::move(listing)).first->second;
}

// The entry of the listing that matches a name: the exact name first, else
// the first one equal without regard to case.
const DirEntry* FindEntry(const Listing& listing, std::string_view name) {
    const DirEntry* caseBlind = nullptr;
    for (const auto& entry : listing) {
        if (entry.name == name)
            return &entry;
        if (!caseBlind && EqualNoCase(entry.name, name))
            caseBlind = &entry;
    }
    return caseBlind;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    return folder.empty() ? std::string(name) : folder + "/" + std::string(name);
}

// Splits "a/b/c" into the resolved folder "a/b" and the name "c".
void SplitResolved(const std::string& path, std::string& folder, std::string& name) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

std::string ResolveLocked(std::string_view gamePath) {
    if (!gamePath.empty() && gamePath.front() == '/')
        return std::string(gamePath);
    std::string path(gamePath);
    std::replace(path.begin(), path.end(), '\\', '/');

    std::string resolved;
    bool missing = false; // a component did not exist: the rest cannot either
    Listing scratch;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string_view component(path.data() + start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::string next = std::string(component);
        if (!missing && component != "." && component != "..") {
            const Listing* listing = GetListing(resolved, scratch);
            if (const DirEntry* entry = FindEntry(*listing, component))
                next = entry->name;
            else
                missing = true;
        }
        resolved = JoinPath(resolved, next);
    }
    if (!path.empty() && path.back() == '/' && !resolved.empty())
        resolved += '/';
    return resolved;
}

} // namespace

std::string ResolveGamePath(std::string_view gamePath) {
    std::lock_guard<std::mutex> lock(g_cacheLock);
    return ResolveLocked(gamePath);
}

std::FILE* OpenGameFile(std::string_view gamePath, const char* mode) {
    std::lock_guard<std::mutex> lock(g_cacheLock);
    std::string resolved = ResolveLocked(gamePath);
    if (resolved.empty() || mode == nullptr)
        return nullptr;
    std::FILE* file = std::fopen(resolved.c_str(), mode);
    if (file && std::string_view(mode).find_first_of("wa") != std::string_view::npos) {
        std::string folder, name;
        SplitResolved(resolved, folder, name);
        auto it = g_listings.find(folder);
        if (it != g_listings.end() && !name.empty()) {
            auto found = std::find_if(it->second.begin(), it->second.end(),
                                      [&](const DirEntry& e) { return e.name == name; });
            if (found == it->second.end())
                it->second.push_back({name, true});
        }
    }
    return file;
}

bool GameFileExists(std::string_view gamePath) {
    std::string resolved = ResolveGamePath(gamePath);
    if (resolved.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(resolved, ec);
}

std::vector<std::string> ListGameFiles(std::string_view pattern) {
    std::string path(pattern);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string folderPath, namePattern;
    SplitResolved(path, folderPath, namePattern);

    std::vector<std::string> names;
    std::lock_guard<std::mutex> lock(g_cacheLock);
    std::string folder;
    if (!path.empty() && path.front() == '/' && folderPath.empty())
        folder = "/";
    else if (!folderPath.empty())
        folder = ResolveLocked(folderPath);
    Listing scratch;
    for (const auto& entry : *GetListing(folder, scratch))
        if (entry.isFile && WildcardMatch(namePattern, entry.name))
            names.push_back(entry.name);
    std::sort(names.begin(), names.end(), LessNoCase);
    return names;
}

void ForgetPathCache() {
    std::lock_guard<std::mutex> lock(g_cacheLock);
    g_listings.clear();
}

} // namespace platform

namespace platform {

std::vector<FolderEntry> ListHostFolder(const std::string& hostPath) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    std::filesystem::directory_iterator it(hostPath, error);
    if (error)
        return entries;
    for (const std::filesystem::directory_entry& entry : it) {
        std::error_code kindError;
        const bool folder = entry.is_directory(kindError);
        if (!folder && !entry.is_regular_file(kindError))
            continue;
        entries.push_back({entry.path().filename().string(), folder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

std::string CurrentHostFolder() {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string(".") : current.string();
}

} // namespace platform
