// Fuzz target: arbitrary bytes as a music file, decoded to the end at an
// output rate and channel count the last byte picks. Whatever the file, the
// decoder gives whole frames of the asked channel count, a sane length, and
// stops; a track outside the sane bounds of sound is refused, never
// converted.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/MusicDecoder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Check;

constexpr uint32_t kRates[] = {11025, 22050, 44100, 48000};
// Pieces decoded of one file (a long file is not played to its end).
constexpr int kMaxPieces = 2000;
// PCM samples kept before they are dropped (memory).
constexpr size_t kMaxKept = size_t{1} << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("music/track02.wav", data, size);
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    const uint32_t rate = kRates[choice & 3];
    const uint16_t channels = choice & 4 ? 1 : 2;

    platform::MusicDecoder decoder;
    if (!decoder.Open("music\\track02.wav", rate, channels)) {
        Check(!decoder.IsOpen());
        return 0;
    }
    const double seconds = decoder.LengthSeconds();
    Check(std::isfinite(seconds) && seconds >= 0.0);
    std::vector<int16_t> pcm;
    int pieces = 0;
    bool more = true;
    for (; more && pieces < kMaxPieces; ++pieces) {
        const size_t before = pcm.size();
        more = decoder.Decode(pcm);
        Check((pcm.size() - before) % channels == 0);
        if (pcm.size() > kMaxKept)
            pcm.clear();
    }
    if (!more) {
        std::vector<int16_t> after;
        Check(!decoder.Decode(after) && after.empty());
    }
    return 0;
}
