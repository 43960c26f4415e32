#pragma once
// Decoded FFmpeg audio frames converted to signed 16-bit interleaved PCM at
// a fixed rate and channel count, for the music and the movie decoders
// (platform layer only). The converter is made for the first frame and made
// again whenever a frame comes in another sample format, rate or layout.
// Mono sound played in stereo goes to both sides at its full level.
extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

#include <cstdint>
#include <vector>

struct SwrContext;

namespace platform {

class AudioResampler {
public:
    // channels: 1 or 2.
    AudioResampler(uint32_t outRate, uint16_t outChannels);
    ~AudioResampler();
    AudioResampler(const AudioResampler&) = delete;
    AudioResampler& operator=(const AudioResampler&) = delete;

    // Converts the frame and appends its PCM to out; false when the frame
    // cannot be converted (nothing is appended then).
    bool Convert(const AVFrame& frame, std::vector<int16_t>& out);
    // Appends what the converter still holds back (at the end of a stream).
    bool Flush(std::vector<int16_t>& out);

private:
    bool Prepare(const AVFrame& frame);
    bool Append(const uint8_t** input, int inputFrames, std::vector<int16_t>& out);

    const uint32_t m_outRate;
    const uint16_t m_outChannels;
    SwrContext* m_resampler = nullptr;
    // The input the converter was made for.
    int m_inFormat = -1;
    int m_inRate = 0;
    AVChannelLayout m_inLayout{};
};

} // namespace platform
