// Fuzz target: arbitrary bytes as a province window layout file, read through
// the window key's loader and, once more, through the list's reader directly.
// Every entry read must have a known kind and a tree number within 0..15.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/ProvinceSpriteList.h"

namespace {

using fuzz::Check;

void CheckEntries(const CProvinceSpriteList& list) {
    for (const ProvinceSpriteEntry& entry : list.Entries()) {
        Check(entry.kind <= kPiwFortExtension && entry.kind != 3 && entry.kind != 4);
        Check(entry.treeNumber >= 0 && entry.treeNumber <= kPiwTreeCount);
        Check(entry.kind == kPiwTree || entry.treeNumber == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = [] {
        BuildKeywordIndex();
        return true;
    }();
    (void)prepared;
    fuzz::InScratchFolder folder;
    folder.WriteFile("gfx/interface/piw/fuzzed.txt", data, size);

    CProvinceSpriteList* shared = GetProvinceSpriteList("fuzzed");
    Check(shared != nullptr);
    CheckEntries(*shared);
    Check(GetProvinceSpriteList("FUZZED") == shared);
    FreeProvinceSpriteLists();

    // A nested reader stops at the first "}" the outer level holds.
    CFieldReader reader;
    reader.Open("gfx\\interface\\piw\\fuzzed.txt", "r");
    CProvinceSpriteList list;
    Check(list.Read(reader) == 0);
    CheckEntries(list);
    return 0;
}
