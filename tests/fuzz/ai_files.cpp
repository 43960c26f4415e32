// Fuzz target: arbitrary bytes as a computer-player personality (".ai"
// file), read by the preferences reader: it ends, and every list holds only
// indexes of its table.
#include <cstddef>
#include <cstdint>

#include "country/CountryParts.h"
#include "data/Keywords.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/WorldNames.h"

namespace {

void CheckIndexes(const std::vector<int32_t>& list, int32_t count) {
    for (int32_t index : list)
        fuzz::Check(index >= 0 && index < count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (BuildKeywordIndex(), true);
    (void)ready;
    fuzz::InScratchFolder folder;
    folder.WriteFile("test.ai", data, size);
    CFieldReader in;
    in.Open("test.ai", "r");
    CAIPrefs prefs;
    const int32_t answer = prefs.Read(in);
    fuzz::Check(answer == FIELD_END_OF_FILE || answer == FIELD_ERROR);
    CheckIndexes(prefs.areas, kAreaCount);
    CheckIndexes(prefs.regions, kRegionCount);
    CheckIndexes(prefs.continents, kContinentCount);
    in.Close();
    return 0;
}
