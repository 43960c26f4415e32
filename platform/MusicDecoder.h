#pragma once
// Decoding of music files: any audio file FFmpeg reads (WAV, OGG, FLAC,
// MP3 ...) becomes signed 16-bit interleaved PCM at the rate and channel
// count the caller asks for. One decoder belongs to one thread at a time.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

class MusicDecoder {
public:
    MusicDecoder();
    ~MusicDecoder();
    MusicDecoder(const MusicDecoder&) = delete;
    MusicDecoder& operator=(const MusicDecoder&) = delete;

    // Opens the file (a game path) for output at the rate and the channel
    // count (1 or 2). False, and nothing open, when the file cannot be read
    // or holds no audio that can be decoded.
    bool Open(std::string_view gamePath, uint32_t sampleRate, uint16_t channels);
    void Close();
    bool IsOpen() const { return m_state != nullptr; }

    // Decodes the next piece of the file and appends its frames to out (a
    // piece may give none). False once the file is used up: at its end, or
    // where it is cut short; nothing more comes then. Packets that fail to
    // decode are passed over.
    bool Decode(std::vector<int16_t>& out);

    // The length of the open file in seconds as the file states it; 0 when
    // it gives none.
    double LengthSeconds() const;

    // Reads the rest of the file without decoding it and answers the
    // seconds its packets of sound last (0 when they state no durations);
    // nothing decodes after this.
    double ReadPacketSeconds();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The length of an audio file in seconds; false when the file cannot be
// opened as audio. The file's own statement serves while its packets agree
// with it; where they do not (a file cut short, a header that guesses), the
// length is what decodes.
bool ReadMusicLength(std::string_view gamePath, double& seconds);

} // namespace platform
