#include "platform/MusicDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/AudioResample.h"
#include "platform/Files.h"
#include "platform/LibraryLog.h"

namespace platform {

namespace {

// A sound track outside the sane bounds gets one line in the log.
void RefuseTrack(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "music: %s: the sound track has %s; the track is skipped\n", path.c_str(),
                 problem.c_str());
}

// Deleters of the FFmpeg objects.
struct FormatCloser {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct CodecFreer {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};

} // namespace

struct MusicDecoder::State {
    std::unique_ptr<AVFormatContext, FormatCloser> format;
    std::unique_ptr<AVCodecContext, CodecFreer> codec;
    std::unique_ptr<AudioResampler> resampler;
    std::unique_ptr<AVPacket, PacketFreer> packet;
    std::unique_ptr<AVFrame, FrameFreer> frame;
    int streamIndex = -1;
    bool draining = false; // the file is read; the decoder gives its last frames
    bool finished = false;
    double length = 0.0;

    std::string path; // for the log line

    // Takes every frame the decoder has ready. A frame that cannot be
    // converted is passed over; one outside the sane bounds of sound ends
    // the track (false).
    bool ReceiveFrames(std::vector<int16_t>& out) {
        while (avcodec_receive_frame(codec.get(), frame.get()) == 0) {
            const bool converted = resampler->Convert(*frame, out);
            av_frame_unref(frame.get());
            if (!converted && !resampler->Refusal().empty()) {
                RefuseTrack(path, resampler->Refusal());
                finished = true;
                return false;
            }
        }
        return true;
    }
};

MusicDecoder::MusicDecoder() = default;
MusicDecoder::~MusicDecoder() = default;

bool MusicDecoder::Open(std::string_view gamePath, uint32_t sampleRate, uint16_t channels) {
    Close();
    if (sampleRate == 0 || channels < 1 || channels > 2)
        return false;
    QuietLibraryLog();
    auto state = std::make_unique<State>();
    const std::string path = ResolveGamePath(gamePath);
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return false;
    state->format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0)
        return false;
    const AVCodec* codec = nullptr;
    state->streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (state->streamIndex < 0 || !codec)
        return false;
    const AVStream* stream = format->streams[state->streamIndex];
    // Bounds first, so that no decoder is made for a track that is refused.
    const AVCodecParameters& stated = *stream->codecpar;
    if (const std::string problem =
            StatedTrackProblem(stated.sample_rate, stated.ch_layout.nb_channels, stated.format);
        !problem.empty()) {
        RefuseTrack(std::string(gamePath), problem);
        return false;
    }
    state->codec.reset(avcodec_alloc_context3(codec));
    if (!state->codec || avcodec_parameters_to_context(state->codec.get(), stream->codecpar) < 0 ||
        avcodec_open2(state->codec.get(), codec, nullptr) < 0)
        return false;
    if (const std::string problem =
            StatedTrackProblem(state->codec->sample_rate, state->codec->ch_layout.nb_channels,
                               state->codec->sample_fmt);
        !problem.empty()) {
        RefuseTrack(std::string(gamePath), problem);
        return false;
    }
    state->packet.reset(av_packet_alloc());
    state->frame.reset(av_frame_alloc());
    if (!state->packet || !state->frame)
        return false;
    state->resampler = std::make_unique<AudioResampler>(sampleRate, channels);
    state->path = gamePath;

    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        state->length = static_cast<double>(format->duration) / AV_TIME_BASE;
    else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        state->length = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    m_state = std::move(state);
    return true;
}

void MusicDecoder::Close() {
    m_state.reset();
}

bool MusicDecoder::Decode(std::vector<int16_t>& out) {
    State* s = m_state.get();
    if (!s || s->finished)
        return false;
    if (s->draining) {
        // The decoder's last frames, then what the resampler holds back.
        if (s->ReceiveFrames(out))
            s->resampler->Flush(out);
        s->finished = true;
        return false;
    }
    // One packet of the audio stream; a read error is the end of the file.
    while (av_read_frame(s->format.get(), s->packet.get()) >= 0) {
        const bool ours = s->packet->stream_index == s->streamIndex;
        if (ours)
            avcodec_send_packet(s->codec.get(), s->packet.get()); // a bad packet is passed over
        av_packet_unref(s->packet.get());
        if (ours)
            return s->ReceiveFrames(out);
    }
    avcodec_send_packet(s->codec.get(), nullptr);
    s->draining = true;
    return true;
}

double MusicDecoder::LengthSeconds() const {
    return m_state ? m_state->length : 0.0;
}

double MusicDecoder::ReadPacketSeconds() {
    State* s = m_state.get();
    if (!s)
        return 0.0;
    s->finished = true;
    int64_t total = 0;
    while (av_read_frame(s->format.get(), s->packet.get()) >= 0) {
        if (s->packet->stream_index == s->streamIndex && s->packet->duration > 0)
            total += s->packet->duration;
        av_packet_unref(s->packet.get());
    }
    return static_cast<double>(total) * av_q2d(s->format->streams[s->streamIndex]->time_base);
}

bool ReadMusicLength(std::string_view gamePath, double& seconds) {
    constexpr uint32_t kRate = 44100;
    MusicDecoder decoder;
    if (!decoder.Open(gamePath, kRate, 2))
        return false;
    const double stated = decoder.LengthSeconds();
    const double packets = decoder.ReadPacketSeconds();
    // Agreement within a twentieth of a second or one per cent.
    if (stated > 0.0 && std::abs(packets - stated) <= std::max(0.05, stated / 100.0)) {
        seconds = stated;
        return true;
    }
    if (!decoder.Open(gamePath, kRate, 2))
        return false;
    std::vector<int16_t> pcm;
    size_t frames = 0;
    while (decoder.Decode(pcm)) {
        frames += pcm.size() / 2;
        pcm.clear();
    }
    frames += pcm.size() / 2;
    seconds = static_cast<double>(frames) / kRate;
    return true;
}

} // namespace platform
