// Fuzz target: arbitrary bytes as a movie file, decoded frame by frame with
// its sound, in either pixel format and at an output size of its own; some
// runs decode the sound ahead of the pictures as the movie player does.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/MovieDecoder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Movies larger than this are only opened, not decoded (memory).
constexpr int64_t kMaxPixels = 1 << 20;
constexpr int kMaxFrames = 60;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("movie.avi", data, size);
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    const auto format =
        choice & 1 ? platform::MoviePixelFormat::Rgb555 : platform::MoviePixelFormat::Rgb565;

    platform::MovieDecoder decoder;
    if (!decoder.Open("movie.avi", format))
        return 0;
    fuzz::Check(decoder.Width() > 0 && decoder.Height() > 0 && decoder.FrameRate() > 0);
    if (int64_t{decoder.Width()} * decoder.Height() > kMaxPixels)
        return 0;
    if (choice & 2)
        fuzz::Check(decoder.SetOutputSize(1 + choice % 37, 1 + choice % 23));
    std::vector<int16_t> pcm;
    int64_t lastTime = 0;
    for (int frame = 0; frame < kMaxFrames && decoder.NextFrame(); ++frame) {
        fuzz::Check(decoder.Pixels().size() == static_cast<size_t>(decoder.OutputWidth()) *
                                                   static_cast<size_t>(decoder.OutputHeight()));
        fuzz::Check(decoder.FrameTimeMs() >= lastTime);
        lastTime = decoder.FrameTimeMs();
        if (choice & 4)
            for (int more = 0; more < 4 && decoder.DecodeMoreAudio(); ++more) {
            }
        size_t frames = decoder.TakeAudio(pcm);
        fuzz::Check(pcm.size() % 2 == 0 && pcm.size() >= frames * 2);
        pcm.clear();
    }
    return 0;
}
