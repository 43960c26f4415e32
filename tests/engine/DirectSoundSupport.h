#pragma once
// WAV images (well-formed ones from tools/WavWriter.h; the chunk builders
// here make the malformed ones) and a recording sound output for the sound
// tests.
#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/DirectSound.h"
#include "platform/Audio.h"
#include "tools/WavWriter.h"

namespace soundtest {

inline void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

// A chunk: id, size (the body's own unless given), body, a pad byte when
// the body is odd.
inline std::string Chunk(const std::string& id, const std::string& body, int64_t size = -1) {
    std::string out = id;
    PutU32(out, size < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(size));
    out += body;
    if (body.size() % 2)
        out.push_back('\0');
    return out;
}

inline std::string FmtBody(uint16_t channels, uint32_t rate, uint16_t bits, size_t bodySize = 16) {
    std::string out;
    PutU16(out, 1);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * channels * bits / 8);
    PutU16(out, static_cast<uint16_t>(channels * bits / 8));
    PutU16(out, bits);
    out.resize(bodySize, '\0');
    return out;
}

// "RIFF", the length (of what follows unless given), "WAVE", the chunks.
inline std::string Riff(const std::string& chunks, int64_t length = -1) {
    std::string out = "RIFF";
    PutU32(out,
           length < 0 ? static_cast<uint32_t>(chunks.size() + 4) : static_cast<uint32_t>(length));
    return out + "WAVE" + chunks;
}

// 16-bit mono samples of a constant level.
inline std::string Samples16(size_t count, int16_t level = 8000) {
    std::string out;
    for (size_t i = 0; i < count; ++i)
        PutU16(out, static_cast<uint16_t>(level));
    return out;
}

inline std::string MonoWav(size_t samples, uint32_t rate = 22050) {
    return demo::MakeWav(rate, 1, 16, std::vector<int16_t>(samples, 8000));
}

// The recorded calls that begin with the text.
inline std::vector<std::string> CallsStartingWith(const std::string& head) {
    std::vector<std::string> found;
    for (const std::string& line : platform::audio::RecordedCalls())
        if (line.rfind(head, 0) == 0)
            found.push_back(line);
    return found;
}

// The mixer opened with the recording back-end for the life of the object.
struct RecordingOutput {
    RecordingOutput() { platform::audio::OpenAudio(platform::audio::Backend::Recording); }
    ~RecordingOutput() { platform::audio::CloseAudio(); }
};

// Sound effects that keep the ids asked to play instead of playing them.
class CountingSound : public CDirectSound {
public:
    void PlaySound(uint32_t id, uint32_t, int32_t, int32_t) override {
        std::lock_guard<std::mutex> lock(m_playsLock);
        m_plays.push_back(id);
    }
    std::vector<uint32_t> Plays() {
        std::lock_guard<std::mutex> lock(m_playsLock);
        return m_plays;
    }

private:
    std::mutex m_playsLock;
    std::vector<uint32_t> m_plays;
};

} // namespace soundtest
