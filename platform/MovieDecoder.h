#pragma once
// Movie files decoded with FFmpeg: the video stream's frames converted to
// 16-bit pixels of the display's format (scaled to a size the caller may
// choose) with their presentation times, and the audio stream (when there
// is one) converted to signed 16-bit interleaved stereo PCM at 44100 Hz.
// The file is a game path read through OpenGameFile: AVI, or another
// container that holds its streams itself (Matroska, MP4, MPEG, Ogg ...),
// with any codec FFmpeg knows. FFmpeg's own log lines are kept quiet; a
// movie that cannot be opened or decoded, or whose sound is left out, gets
// one line of ours on stderr ("movie: <file>: ...").
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

enum class MoviePixelFormat { Rgb565, Rgb555 };

constexpr uint32_t kMovieAudioRate = 44100;
constexpr uint16_t kMovieAudioChannels = 2;
// The most sound (in frames) kept waiting for TakeAudio: a file whose sound
// runs far ahead of its pictures loses what lies beyond.
constexpr size_t kMovieMaxPendingAudioFrames = size_t{kMovieAudioRate} * 4;
// The most packets of pictures DecodeMoreAudio keeps, and their most bytes.
constexpr size_t kMovieMaxHeldVideoPackets = 256;
constexpr size_t kMovieMaxHeldVideoBytes = size_t{64} << 20;

class MovieDecoder {
public:
    MovieDecoder();
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // Opens the file and its best video stream (and best audio stream, if
    // any). False, and nothing open, when the file cannot be read, holds no
    // video stream FFmpeg can decode, or its size is not 1..8192 either way.
    bool Open(std::string_view gamePath, MoviePixelFormat format);
    void Close();
    bool IsOpen() const { return m_impl != nullptr; }

    // The movie's size and frame rate (frames per second, above 0).
    int32_t Width() const;
    int32_t Height() const;
    double FrameRate() const;
    bool HasAudio() const;

    // The size of the converted frames: the movie's own unless set (each
    // side 1..8192; another value is refused).
    bool SetOutputSize(int32_t width, int32_t height);
    int32_t OutputWidth() const;
    int32_t OutputHeight() const;

    // Decodes the next video frame; false at the end of the stream or on an
    // error it cannot pass over. Audio met on the way is decoded as well.
    bool NextFrame();
    // Reads on until one more packet of sound is decoded, keeping the
    // pictures met on the way for NextFrame, so that the sound can run ahead
    // of the pictures. False when no more sound comes: the movie has none,
    // its input is used up, or the pictures kept reach their limit.
    bool DecodeMoreAudio();
    // The last frame: OutputWidth() x OutputHeight() pixels, row by row.
    const std::vector<uint16_t>& Pixels() const;
    // Its presentation time in milliseconds from the movie's first frame.
    int64_t FrameTimeMs() const;

    // Moves the PCM decoded so far (stereo frames, interleaved; at most
    // kMovieMaxPendingAudioFrames) to the end of out and answers the number
    // of frames moved.
    size_t TakeAudio(std::vector<int16_t>& out);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
