// Fuzz target: arbitrary bytes as a ".act" palette file (768 bytes of
// colour triples), loaded and turned into its pixel tables and basic
// colours; a short file is refused.
#include <cstddef>
#include <cstdint>

#include "engine/Palette.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::AnswerBoxesWithIgnore();
    fuzz::InScratchFolder folder;
    folder.WriteFile("gfx/palette/fuzz.act", data, size);
    CPalette palette("fuzz.act");
    const bool loaded = palette.LoadPalette("fuzz.act");
    fuzz::Check(loaded == (size >= 768));
    // The basic colours are looked up among the loaded ones, never the
    // transparent index 0 (which stays the first entry's).
    for (size_t i = 1; i < palette.basicColours.size(); ++i)
        fuzz::Check(palette.basicColours[i] != 0);
    return 0;
}
