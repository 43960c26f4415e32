#include "platform/MovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <string>

#include "platform/AudioResample.h"
#include "platform/Files.h"
#include "platform/LibraryLog.h"

namespace platform {

namespace {

constexpr int32_t kMaxSide = 8192;
constexpr int kIoBufferSize = 32 * 1024;
constexpr double kDefaultFrameRate = 15.0;
// A frame's time never runs ahead of the one before by more than this, so
// that a broken time stamp cannot hold the movie up.
constexpr int64_t kMaxFrameGapMs = 1000;

bool SideFits(int32_t side) {
    return side >= 1 && side <= kMaxSide;
}

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
    size_t count =
        std::fread(buffer, 1, static_cast<size_t>(size), static_cast<std::FILE*>(opaque));
    return count == 0 ? AVERROR_EOF : static_cast<int>(count);
}

int64_t SeekFile(void* opaque, int64_t offset, int whence) {
    auto* file = static_cast<std::FILE*>(opaque);
    if (whence & AVSEEK_SIZE) {
        off_t here = ftello(file);
        if (here < 0 || fseeko(file, 0, SEEK_END) != 0)
            return -1;
        off_t size = ftello(file);
        fseeko(file, here, SEEK_SET);
        return size;
    }
    whence &= ~AVSEEK_FORCE;
    if (fseeko(file, static_cast<off_t>(offset), whence) != 0)
        return -1;
    return ftello(file);
}

// Our one line about a movie on stderr.
void Report(std::string_view path, const std::string& what) {
    std::fprintf(stderr, "movie: %.*s: %s\n", static_cast<int>(path.size()), path.data(),
                 what.c_str());
}

// A sound track outside the sane bounds gets one line in the log.
void RefuseSound(std::string_view path, const std::string& problem) {
    Report(path, "the sound track has " + problem + "; the movie plays silent");
}

// A movie is one file: only containers that hold their streams themselves
// are read (no playlists or lists of other files), and no container may have
// FFmpeg open another file or address.
const char* const kContainers = "avi,matroska,webm,mov,mp4,mpeg,mpegts,ogg,flv,asf";
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

AVCodecContext* OpenCodec(AVFormatContext* format, int streamIndex, const AVCodec* codec) {
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (context == nullptr)
        return nullptr;
    if (avcodec_parameters_to_context(context, format->streams[streamIndex]->codecpar) < 0 ||
        avcodec_open2(context, codec, nullptr) < 0) {
        avcodec_free_context(&context);
        return nullptr;
    }
    return context;
}

double StreamFrameRate(AVFormatContext* format, AVStream* stream) {
    for (AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate,
                            av_guess_frame_rate(format, stream, nullptr)})
        if (rate.num > 0 && rate.den > 0) {
            double fps = av_q2d(rate);
            if (fps >= 1.0 && fps <= 240.0)
                return fps;
        }
    return kDefaultFrameRate;
}

} // namespace

struct MovieDecoder::Impl {
    ~Impl() {
        for (AVPacket* held : heldVideo)
            av_packet_free(&held);
        sws_freeContext(scaler);
        av_freep(&scaled[0]);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        avformat_close_input(&format);
        if (io != nullptr) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        if (file != nullptr)
            std::fclose(file);
    }

    bool Open(std::string_view gamePath, MoviePixelFormat format);
    bool AllocateScaled(int32_t width, int32_t height);
    bool ConvertVideo();
    // What ReadInput met.
    enum class Input { Video, Audio, Other, End };
    // Reads the next packet: a picture's stays in packet for the caller (who
    // unrefs it); sound is decoded; at the end of the input the sound
    // decoder is drained.
    Input ReadInput();
    void DecodeAudio(const AVPacket* input);
    void ReceiveAudio();
    // Drops the PCM beyond what may wait for TakeAudio.
    void CapAudio();
    // Ends the sound of the movie for good: its track is outside the bounds.
    void DropSound(const std::string& problem);

    std::FILE* file = nullptr;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    int videoIndex = -1;
    int audioIndex = -1;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    double frameRate = kDefaultFrameRate;
    bool inputEnded = false;
    bool videoDrained = false; // the end was sent to the picture decoder
    // Pictures read ahead by DecodeMoreAudio, in their order, and their bytes.
    std::deque<AVPacket*> heldVideo;
    size_t heldBytes = 0;

    MoviePixelFormat pixelFormat = MoviePixelFormat::Rgb565;
    SwsContext* scaler = nullptr;
    uint8_t* scaled[4] = {};
    int scaledPitch[4] = {};
    int32_t outWidth = 0;
    int32_t outHeight = 0;
    std::vector<uint16_t> pixels;
    int64_t firstPts = AV_NOPTS_VALUE;
    int64_t frameCount = 0;
    int64_t frameTimeMs = 0;

    AudioResampler resampler{kMovieAudioRate, kMovieAudioChannels};
    std::vector<int16_t> pcm;
    std::string path; // for the log line
};

bool MovieDecoder::Impl::Open(std::string_view gamePath, MoviePixelFormat wanted) {
    QuietLibraryLog();
    pixelFormat = wanted;
    path = gamePath;
    file = OpenGameFile(gamePath, "rb");
    if (file == nullptr) {
        Report(path, "the file cannot be opened");
        return false;
    }
    auto* ioBuffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    if (ioBuffer == nullptr)
        return false;
    io = avio_alloc_context(ioBuffer, kIoBufferSize, 0, file, ReadPacket, nullptr, SeekFile);
    if (io == nullptr) {
        av_free(ioBuffer);
        return false;
    }
    format = avformat_alloc_context();
    if (format == nullptr)
        return false;
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->io_open = RefuseNestedOpen;
    format->format_whitelist = av_strdup(kContainers);
    if (format->format_whitelist == nullptr)
        return false;
    // On failure the context is freed and cleared.
    if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0 ||
        avformat_find_stream_info(format, nullptr) < 0) {
        Report(path, "not a movie file that can be read");
        return false;
    }

    const AVCodec* codec = nullptr;
    videoIndex = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (videoIndex < 0 || codec == nullptr) {
        Report(path, "no picture stream that can be decoded");
        return false;
    }
    video = OpenCodec(format, videoIndex, codec);
    if (video == nullptr) {
        Report(path, std::string("the pictures (") + codec->name + ") cannot be decoded");
        return false;
    }
    if (!SideFits(video->width) || !SideFits(video->height)) {
        Report(path, "the picture size " + std::to_string(video->width) + " x " +
                         std::to_string(video->height) + " lies outside 1 to 8192");
        return false;
    }
    frameRate = StreamFrameRate(format, format->streams[videoIndex]);

    // A movie whose sound cannot be decoded, or whose sound lies outside
    // the sane bounds, plays without it.
    const AVCodec* audioCodec = nullptr;
    int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, videoIndex, &audioCodec, 0);
    if (index >= 0 && audioCodec != nullptr) {
        const AVCodecParameters& stated = *format->streams[index]->codecpar;
        std::string problem =
            StatedTrackProblem(stated.sample_rate, stated.ch_layout.nb_channels, stated.format);
        if (problem.empty())
            audio = OpenCodec(format, index, audioCodec);
        if (audio != nullptr) {
            problem = StatedTrackProblem(audio->sample_rate, audio->ch_layout.nb_channels,
                                         audio->sample_fmt);
            if (problem.empty())
                audioIndex = index;
            else
                avcodec_free_context(&audio);
        }
        if (!problem.empty())
            RefuseSound(path, problem);
    }

    packet = av_packet_alloc();
    frame = av_frame_alloc();
    return packet != nullptr && frame != nullptr && AllocateScaled(video->width, video->height);
}

bool MovieDecoder::Impl::AllocateScaled(int32_t width, int32_t height) {
    // The new buffers replace the old ones only once they all exist, so that
    // a failure leaves the size and the buffers in step.
    std::vector<uint16_t> newPixels(static_cast<size_t>(width) * height, 0);
    uint8_t* newScaled[4] = {};
    int newPitch[4] = {};
    if (av_image_alloc(newScaled, newPitch, width, height, AV_PIX_FMT_RGB24, 32) < 0)
        return false;
    av_freep(&scaled[0]);
    std::copy(std::begin(newScaled), std::end(newScaled), scaled);
    std::copy(std::begin(newPitch), std::end(newPitch), scaledPitch);
    outWidth = width;
    outHeight = height;
    pixels = std::move(newPixels);
    return true;
}

bool MovieDecoder::Impl::ConvertVideo() {
    if (!SideFits(frame->width) || !SideFits(frame->height) || frame->format < 0 ||
        scaled[0] == nullptr)
        return false;
    // To 24-bit RGB at the output size (each pixel's own colour, no shared
    // chroma), then packed into the 16-bit format here.
    scaler = sws_getCachedContext(
        scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), outWidth,
        outHeight, AV_PIX_FMT_RGB24, SWS_BILINEAR | SWS_FULL_CHR_H_INT | SWS_ACCURATE_RND, nullptr,
        nullptr, nullptr);
    if (scaler == nullptr)
        return false;
    if (sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, scaled, scaledPitch) !=
        outHeight)
        return false;
    const bool is565 = pixelFormat == MoviePixelFormat::Rgb565;
    for (int32_t y = 0; y < outHeight; ++y) {
        const uint8_t* rgb = scaled[0] + static_cast<ptrdiff_t>(y) * scaledPitch[0];
        uint16_t* out = pixels.data() + static_cast<size_t>(y) * outWidth;
        for (int32_t x = 0; x < outWidth; ++x, rgb += 3)
            out[x] =
                is565
                    ? static_cast<uint16_t>((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3)
                    : static_cast<uint16_t>((rgb[0] >> 3) << 10 | (rgb[1] >> 3) << 5 | rgb[2] >> 3);
    }

    // The time: from the stream's time stamps, else by the frame rate; never
    // going back, nor forward by more than the gap allowed.
    int64_t pts = frame->best_effort_timestamp;
    int64_t ms = static_cast<int64_t>(static_cast<double>(frameCount) * 1000.0 / frameRate);
    if (pts != AV_NOPTS_VALUE) {
        if (firstPts == AV_NOPTS_VALUE)
            firstPts = pts;
        // The distance from the first frame, held at the ends of the range
        // where a broken stamp lies too far off to subtract.
        constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
        constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
        int64_t since = 0;
        if (firstPts > 0 && pts < kMin + firstPts)
            since = kMin + 1;
        else if (firstPts < 0 && pts > kMax + firstPts)
            since = kMax;
        else
            since = pts - firstPts;
        ms = av_rescale_q(since, format->streams[videoIndex]->time_base, AVRational{1, 1000});
    }
    if (frameCount > 0)
        ms = std::clamp(ms, frameTimeMs, frameTimeMs + kMaxFrameGapMs);
    else
        ms = 0;
    frameTimeMs = ms;
    ++frameCount;
    return true;
}

MovieDecoder::Impl::Input MovieDecoder::Impl::ReadInput() {
    if (inputEnded)
        return Input::End;
    if (av_read_frame(format, packet) < 0) {
        // The end of the input (or a read error): drain the sound decoder.
        inputEnded = true;
        if (audio != nullptr)
            DecodeAudio(nullptr);
        return Input::End;
    }
    if (packet->stream_index == videoIndex)
        return Input::Video;
    const bool sound = audio != nullptr && packet->stream_index == audioIndex;
    if (sound)
        DecodeAudio(packet);
    av_packet_unref(packet);
    return sound ? Input::Audio : Input::Other;
}

void MovieDecoder::Impl::DecodeAudio(const AVPacket* input) {
    int sent = avcodec_send_packet(audio, input);
    if (sent == AVERROR(EAGAIN)) {
        // The decoder still holds frames: take them, then the packet fits.
        ReceiveAudio();
        if (audio == nullptr)
            return; // the sound was dropped
        sent = avcodec_send_packet(audio, input);
    }
    if (sent < 0 && input != nullptr)
        return; // a broken packet: its sound is passed over
    ReceiveAudio();
    if (audio == nullptr)
        return; // the sound was dropped
    if (input == nullptr) {
        resampler.Flush(pcm); // the end: what the resampler still holds
        CapAudio();
    }
}

void MovieDecoder::Impl::ReceiveAudio() {
    while (avcodec_receive_frame(audio, frame) == 0) {
        // A frame that cannot be converted is passed over; one outside the
        // bounds ends the sound.
        const bool converted = resampler.Convert(*frame, pcm);
        av_frame_unref(frame);
        if (!converted && !resampler.Refusal().empty()) {
            DropSound(resampler.Refusal());
            return;
        }
        CapAudio();
    }
}

void MovieDecoder::Impl::DropSound(const std::string& problem) {
    RefuseSound(path, problem);
    avcodec_free_context(&audio);
    audioIndex = -1;
}

void MovieDecoder::Impl::CapAudio() {
    constexpr size_t kMaxSamples = kMovieMaxPendingAudioFrames * kMovieAudioChannels;
    if (pcm.size() > kMaxSamples)
        pcm.resize(kMaxSamples);
}

MovieDecoder::MovieDecoder() = default;

MovieDecoder::~MovieDecoder() = default;

bool MovieDecoder::Open(std::string_view gamePath, MoviePixelFormat format) {
    Close();
    auto impl = std::make_unique<Impl>();
    if (!impl->Open(gamePath, format))
        return false;
    m_impl = std::move(impl);
    return true;
}

void MovieDecoder::Close() {
    m_impl.reset();
}

int32_t MovieDecoder::Width() const {
    return m_impl ? m_impl->video->width : 0;
}
int32_t MovieDecoder::Height() const {
    return m_impl ? m_impl->video->height : 0;
}
double MovieDecoder::FrameRate() const {
    return m_impl ? m_impl->frameRate : kDefaultFrameRate;
}
bool MovieDecoder::HasAudio() const {
    return m_impl && m_impl->audio != nullptr;
}
int32_t MovieDecoder::OutputWidth() const {
    return m_impl ? m_impl->outWidth : 0;
}
int32_t MovieDecoder::OutputHeight() const {
    return m_impl ? m_impl->outHeight : 0;
}
int64_t MovieDecoder::FrameTimeMs() const {
    return m_impl ? m_impl->frameTimeMs : 0;
}

bool MovieDecoder::SetOutputSize(int32_t width, int32_t height) {
    if (!m_impl || !SideFits(width) || !SideFits(height))
        return false;
    return m_impl->AllocateScaled(width, height);
}

const std::vector<uint16_t>& MovieDecoder::Pixels() const {
    static const std::vector<uint16_t> none;
    return m_impl ? m_impl->pixels : none;
}

bool MovieDecoder::NextFrame() {
    if (!m_impl)
        return false;
    Impl& d = *m_impl;
    for (;;) {
        int received = avcodec_receive_frame(d.video, d.frame);
        if (received == 0) {
            bool converted = d.ConvertVideo();
            av_frame_unref(d.frame);
            if (!converted)
                Report(d.path, "a picture cannot be converted; the movie ends there");
            return converted;
        }
        if (received != AVERROR(EAGAIN)) {
            if (received != AVERROR_EOF)
                Report(d.path, "a picture cannot be decoded; the movie ends there");
            else if (d.frameCount == 0)
                Report(d.path, "no picture can be decoded");
            return false;
        }
        int sent = 0;
        if (!d.heldVideo.empty()) {
            // The pictures read ahead for the sound come first.
            AVPacket* held = d.heldVideo.front();
            d.heldVideo.pop_front();
            d.heldBytes -= static_cast<size_t>(held->size);
            sent = avcodec_send_packet(d.video, held);
            av_packet_free(&held);
        } else {
            const Impl::Input input = d.ReadInput();
            if (input == Impl::Input::Video) {
                sent = avcodec_send_packet(d.video, d.packet);
                av_packet_unref(d.packet);
            } else if (input == Impl::Input::End) {
                if (d.videoDrained)
                    return false;
                d.videoDrained = true;
                sent = avcodec_send_packet(d.video, nullptr);
            }
        }
        // A broken packet is passed over; any other failure ends the movie.
        if (sent < 0 && sent != AVERROR_INVALIDDATA) {
            Report(d.path, "a piece of the pictures cannot be decoded; the movie ends there");
            return false;
        }
    }
}

bool MovieDecoder::DecodeMoreAudio() {
    if (!m_impl)
        return false;
    Impl& d = *m_impl;
    while (d.audio != nullptr) {
        if (d.heldVideo.size() >= kMovieMaxHeldVideoPackets ||
            d.heldBytes >= kMovieMaxHeldVideoBytes)
            return false;
        switch (d.ReadInput()) {
        case Impl::Input::Audio:
            return d.audio != nullptr; // the sound may have been dropped
        case Impl::Input::Video: {
            AVPacket* held = av_packet_alloc();
            if (held == nullptr) {
                av_packet_unref(d.packet);
                return false;
            }
            av_packet_move_ref(held, d.packet);
            d.heldBytes += static_cast<size_t>(held->size);
            d.heldVideo.push_back(held);
            break;
        }
        case Impl::Input::Other:
            break;
        case Impl::Input::End:
            return false;
        }
    }
    return false;
}

size_t MovieDecoder::TakeAudio(std::vector<int16_t>& out) {
    if (!m_impl || m_impl->pcm.empty())
        return 0;
    std::vector<int16_t>& pcm = m_impl->pcm;
    out.insert(out.end(), pcm.begin(), pcm.end());
    size_t frames = pcm.size() / kMovieAudioChannels;
    pcm.clear();
    return frames;
}

} // namespace platform
