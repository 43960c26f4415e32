#include "platform/AudioResample.h"

extern "C" {
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include <string>

namespace platform {

std::string AudioTrackProblem(int rate, int channels, int format) {
    if (rate < kMinTrackRate || rate > kMaxTrackRate)
        return "a sample rate of " + std::to_string(rate) +
               " Hz (taken: " + std::to_string(kMinTrackRate) + " to " +
               std::to_string(kMaxTrackRate) + ")";
    if (channels < 1 || channels > kMaxTrackChannels)
        return std::to_string(channels) + " channels (taken: 1 to " +
               std::to_string(kMaxTrackChannels) + ")";
    if (format < 0 || format >= AV_SAMPLE_FMT_NB)
        return "an unknown sample format (" + std::to_string(format) + ")";
    return {};
}

std::string StatedTrackProblem(int rate, int channels, int format) {
    return AudioTrackProblem(rate != 0 ? rate : kMinTrackRate, channels != 0 ? channels : 1,
                             format != AV_SAMPLE_FMT_NONE ? format : AV_SAMPLE_FMT_S16);
}

AudioResampler::AudioResampler(uint32_t outRate, uint16_t outChannels)
    : m_outRate(outRate), m_outChannels(outChannels) {}

AudioResampler::~AudioResampler() {
    swr_free(&m_resampler);
    av_channel_layout_uninit(&m_inLayout);
}

bool AudioResampler::Prepare(const AVFrame& frame) {
    // A layout without an order is taken as the usual one of its count.
    AVChannelLayout layout{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
    else if (av_channel_layout_copy(&layout, &frame.ch_layout) < 0)
        return false;
    if (m_resampler != nullptr && frame.format == m_inFormat && frame.sample_rate == m_inRate &&
        av_channel_layout_compare(&layout, &m_inLayout) == 0) {
        av_channel_layout_uninit(&layout);
        return true;
    }
    swr_free(&m_resampler);
    av_channel_layout_uninit(&m_inLayout);
    m_inLayout = layout;
    m_inFormat = frame.format;
    m_inRate = frame.sample_rate;

    AVChannelLayout out{};
    av_channel_layout_default(&out, m_outChannels);
    int made = swr_alloc_set_opts2(&m_resampler, &out, AV_SAMPLE_FMT_S16,
                                   static_cast<int>(m_outRate), &m_inLayout,
                                   static_cast<AVSampleFormat>(m_inFormat), m_inRate, 0, nullptr);
    av_channel_layout_uninit(&out);
    // The library's own mix puts mono at -3 dB on each side; here both
    // sides get it whole.
    const double monoToStereo[2] = {1.0, 1.0};
    if (made >= 0 && m_inLayout.nb_channels == 1 && m_outChannels == 2)
        made = swr_set_matrix(m_resampler, monoToStereo, 1);
    if (made < 0 || swr_init(m_resampler) < 0) {
        swr_free(&m_resampler);
        return false;
    }
    return true;
}

bool AudioResampler::Append(const uint8_t** input, int inputFrames, std::vector<int16_t>& out) {
    const int room = swr_get_out_samples(m_resampler, inputFrames);
    if (room < 0)
        return false;
    if (room == 0)
        return true;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(room) * m_outChannels);
    auto* target = reinterpret_cast<uint8_t*>(out.data() + start);
    const int made = swr_convert(m_resampler, &target, room, input, inputFrames);
    out.resize(start + static_cast<size_t>(made > 0 ? made : 0) * m_outChannels);
    return made >= 0;
}

bool AudioResampler::Convert(const AVFrame& frame, std::vector<int16_t>& out) {
    if (frame.nb_samples <= 0)
        return false;
    if (std::string problem =
            AudioTrackProblem(frame.sample_rate, frame.ch_layout.nb_channels, frame.format);
        !problem.empty()) {
        m_refusal = std::move(problem);
        return false;
    }
    if (!Prepare(frame))
        return false;
    return Append(const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples, out);
}

bool AudioResampler::Flush(std::vector<int16_t>& out) {
    return m_resampler == nullptr || Append(nullptr, 0, out);
}

} // namespace platform
