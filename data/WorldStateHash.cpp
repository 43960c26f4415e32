#include "data/WorldStateHash.h"

#include <cstdio>

#include "data/GameFile.h"
#include "data/TokenFile.h"

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

bool g_sharedStateOnly = false;

} // namespace

uint64_t Fnv1a64(std::string_view bytes) {
    uint64_t hash = kFnvOffsetBasis;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

int32_t WriteGameToMemory(std::string& text) {
    text.clear();
    CFieldReader out;
    out.OpenMemory(text);
    g_sharedStateOnly = true;
    const int32_t result = WriteGameFile(out);
    g_sharedStateOnly = false;
    return result;
}

bool WritingSharedStateOnly() {
    return g_sharedStateOnly;
}

uint64_t WorldStateHash() {
    std::string text;
    WriteGameToMemory(text);
    return Fnv1a64(text);
}

std::string WorldStateHashText(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
