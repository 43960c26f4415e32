#pragma once
// PCM WAV files: "RIFF" "WAVE" with a 16-byte "fmt " chunk and the "data"
// chunk. Header-only, so that the tests can make sound files of their own
// as well.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

namespace wav {

inline void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

} // namespace wav

// A WAV file of the samples (interleaved, channels 1 or 2). With 16 bits
// they are written as they are; with 8 each sample's high byte is written
// unsigned. statedDataBytes, when not negative, is the data size the header
// states instead of the real one (to make a file cut short or lying).
inline std::string MakeWav(uint32_t rate, uint16_t channels, uint16_t bits,
                           const std::vector<int16_t>& samples, int64_t statedDataBytes = -1) {
    std::string data;
    data.reserve(samples.size() * (bits == 8 ? 1 : 2));
    for (int16_t s : samples) {
        if (bits == 8)
            data.push_back(static_cast<char>((s >> 8) + 128));
        else
            wav::PutLe(data, static_cast<uint16_t>(s), 2);
    }
    const uint32_t stated = statedDataBytes >= 0 ? static_cast<uint32_t>(statedDataBytes)
                                                 : static_cast<uint32_t>(data.size());
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    std::string out = "RIFF";
    wav::PutLe(out, 36 + stated, 4);
    out += "WAVEfmt ";
    wav::PutLe(out, 16, 4);
    wav::PutLe(out, 1, 2); // PCM
    wav::PutLe(out, channels, 2);
    wav::PutLe(out, rate, 4);
    wav::PutLe(out, rate * align, 4); // bytes a second
    wav::PutLe(out, align, 2);        // bytes a frame
    wav::PutLe(out, bits, 2);
    out += "data";
    wav::PutLe(out, stated, 4);
    return out + data;
}

} // namespace demo
