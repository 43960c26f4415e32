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
#include <string>
#include <vector>

struct SwrContext;

namespace platform {

// The sound tracks that are converted: a rate, a channel count or a sample
// format outside these is refused before any converter is made (a rate far
// off either end would make the converter's buffers and work explode).
constexpr int kMinTrackRate = 4000;
constexpr int kMaxTrackRate = 192000;
constexpr int kMaxTrackChannels = 8;

// Empty when a track of this rate, channel count and sample format (an
// AVSampleFormat) can be converted; else the reason in words, for a log line.
std::string AudioTrackProblem(int rate, int channels, int format);
// The same for what a decoder states before its first frame: a rate or a
// channel count of 0 and no sample format (-1) are not known yet and are
// left to the frames.
std::string StatedTrackProblem(int rate, int channels, int format);

class AudioResampler {
public:
    // channels: 1 or 2.
    AudioResampler(uint32_t outRate, uint16_t outChannels);
    ~AudioResampler();
    AudioResampler(const AudioResampler&) = delete;
    AudioResampler& operator=(const AudioResampler&) = delete;

    // Converts the frame and appends its PCM to out; false when the frame
    // cannot be converted (nothing is appended then). A frame outside the
    // bounds above is refused, and Refusal() tells why.
    bool Convert(const AVFrame& frame, std::vector<int16_t>& out);
    // Why the last refused frame was outside the bounds; empty while none was.
    const std::string& Refusal() const { return m_refusal; }
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
    std::string m_refusal;
};

} // namespace platform
