#pragma once
// Uncompressed AVI files: RIFF "AVI " with a 24-bit DIB video stream and,
// when there are samples, a 16-bit PCM audio stream interleaved with it
// frame by frame, and the "idx1" index. The sound may instead be IMA ADPCM
// in blocks, each placed before the first frame whose time is not before
// the block's start (as muxers interleave by time). Header-only, so that
// the tests can make small movies of their own as well.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tools/Bmp.h"

namespace demo {

struct AviMovie {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t framesPerSecond = 10;
    std::vector<std::vector<Rgb>> frames; // width x height each, top row first
    uint32_t sampleRate = 22050;
    uint16_t channels = 1;
    std::vector<int16_t> samples;    // interleaved; none: no audio stream
    bool imaAdpcm = false;           // the sound as IMA ADPCM blocks, not PCM
    uint16_t adpcmBlockAlign = 1024; // bytes of a block per channel
};

namespace avi {

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}
inline void Patch32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Opens a chunk (or, with a list type, a LIST/RIFF) and answers where its
// size goes; EndChunk fills the size in and pads to an even length.
inline size_t BeginChunk(std::vector<uint8_t>& out, const char* tag,
                         const char* listType = nullptr) {
    PutTag(out, tag);
    size_t sizeAt = out.size();
    Put32(out, 0);
    if (listType != nullptr)
        PutTag(out, listType);
    return sizeAt;
}
inline void EndChunk(std::vector<uint8_t>& out, size_t sizeAt) {
    Patch32(out, sizeAt, static_cast<uint32_t>(out.size() - sizeAt - 4));
    if (out.size() % 2 != 0)
        out.push_back(0);
}

// One "strh": type, handler, scale, rate, length, buffer size, sample size.
inline void PutStreamHeader(std::vector<uint8_t>& out, const char* type, uint32_t scale,
                            uint32_t rate, uint32_t length, uint32_t bufferSize,
                            uint32_t sampleSize, int32_t width, int32_t height) {
    size_t at = BeginChunk(out, "strh");
    PutTag(out, type);
    Put32(out, 0); // handler
    Put32(out, 0); // flags
    Put16(out, 0); // priority
    Put16(out, 0); // language
    Put32(out, 0); // initial frames
    Put32(out, scale);
    Put32(out, rate);
    Put32(out, 0); // start
    Put32(out, length);
    Put32(out, bufferSize);
    Put32(out, 0xFFFFFFFF); // quality: default
    Put32(out, sampleSize);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(width));
    Put16(out, static_cast<uint32_t>(height));
    EndChunk(out, at);
}

// IMA ADPCM: the samples a block of blockAlign bytes holds per channel
// (the header's sample and then two a byte).
inline uint32_t AdpcmSamplesPerBlock(uint32_t blockAlign, uint32_t channels) {
    return (blockAlign - 4 * channels) * 2 / channels + 1;
}

// Encodes the interleaved samples into IMA ADPCM blocks of blockAlign bytes
// (the last one padded with silence).
inline std::vector<std::vector<uint8_t>> EncodeImaAdpcm(const std::vector<int16_t>& samples,
                                                        uint16_t channels, uint32_t blockAlign) {
    static const int kStep[89] = {
        7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
        25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
        88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
        307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
        1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
        3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
        12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
    static const int kIndexStep[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    const uint32_t perBlock = AdpcmSamplesPerBlock(blockAlign, channels);
    const size_t frames = samples.size() / channels;
    std::vector<int> predictor(channels, 0);
    std::vector<int> index(channels, 0);
    auto sampleAt = [&](size_t frame, uint16_t c) -> int {
        return frame < frames ? samples[frame * channels + c] : 0;
    };
    auto encode = [&](uint16_t c, int sample) -> uint8_t {
        int diff = sample - predictor[c];
        uint8_t nibble = 0;
        if (diff < 0) {
            nibble = 8;
            diff = -diff;
        }
        int step = kStep[index[c]];
        int delta = step >> 3;
        for (uint8_t bit = 4; bit != 0; bit >>= 1, step >>= 1)
            if (diff >= step) {
                nibble |= bit;
                diff -= step;
                delta += step;
            }
        predictor[c] =
            std::clamp(predictor[c] + ((nibble & 8) != 0 ? -delta : delta), -32768, 32767);
        index[c] = std::clamp(index[c] + kIndexStep[nibble & 7], 0, 88);
        return nibble;
    };
    std::vector<std::vector<uint8_t>> blocks;
    for (size_t first = 0; first < frames; first += perBlock) {
        std::vector<uint8_t> block;
        for (uint16_t c = 0; c < channels; ++c) {
            predictor[c] = sampleAt(first, c);
            Put16(block, static_cast<uint16_t>(predictor[c]));
            block.push_back(static_cast<uint8_t>(index[c]));
            block.push_back(0);
        }
        // Then groups of eight samples, four bytes per channel in turn.
        for (uint32_t group = 0; 1 + group * 8 < perBlock; ++group)
            for (uint16_t c = 0; c < channels; ++c)
                for (uint32_t pair = 0; pair < 4; ++pair) {
                    const size_t at = first + 1 + group * 8 + pair * 2;
                    const uint8_t low = encode(c, sampleAt(at, c));
                    const uint8_t high = encode(c, sampleAt(at + 1, c));
                    block.push_back(static_cast<uint8_t>(low | high << 4));
                }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

} // namespace avi

inline std::vector<uint8_t> MakeAvi(const AviMovie& movie) {
    using namespace avi;
    const uint32_t rowBytes = (static_cast<uint32_t>(movie.width) * 3 + 3) & ~3u;
    const uint32_t frameBytes = rowBytes * static_cast<uint32_t>(movie.height);
    const uint32_t frameCount = static_cast<uint32_t>(movie.frames.size());
    const bool hasAudio = !movie.samples.empty() && movie.channels > 0;
    const uint32_t blockAlign = movie.channels * 2u;
    const uint32_t sampleFrames =
        hasAudio ? static_cast<uint32_t>(movie.samples.size() / movie.channels) : 0;
    const bool adpcm = hasAudio && movie.imaAdpcm;
    const uint32_t adpcmAlign = uint32_t{movie.adpcmBlockAlign} * movie.channels;
    const uint32_t adpcmPerBlock = AdpcmSamplesPerBlock(adpcmAlign, movie.channels);
    const std::vector<std::vector<uint8_t>> adpcmBlocks =
        adpcm ? EncodeImaAdpcm(movie.samples, movie.channels, adpcmAlign)
              : std::vector<std::vector<uint8_t>>{};
    const uint32_t adpcmBytesPerSec =
        static_cast<uint32_t>(uint64_t{movie.sampleRate} * adpcmAlign / adpcmPerBlock);

    std::vector<uint8_t> out;
    size_t riff = BeginChunk(out, "RIFF", "AVI ");

    size_t hdrl = BeginChunk(out, "LIST", "hdrl");
    size_t avih = BeginChunk(out, "avih");
    Put32(out, 1000000 / std::max(movie.framesPerSecond, 1u));
    Put32(out, (frameBytes + movie.sampleRate * blockAlign / std::max(movie.framesPerSecond, 1u)) *
                   movie.framesPerSecond);
    Put32(out, 0);            // padding granularity
    Put32(out, 0x10 | 0x100); // has an index, interleaved
    Put32(out, frameCount);
    Put32(out, 0); // initial frames
    Put32(out, hasAudio ? 2 : 1);
    Put32(out, frameBytes);
    Put32(out, static_cast<uint32_t>(movie.width));
    Put32(out, static_cast<uint32_t>(movie.height));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    EndChunk(out, avih);

    size_t strl = BeginChunk(out, "LIST", "strl");
    PutStreamHeader(out, "vids", 1, movie.framesPerSecond, frameCount, frameBytes, 0, movie.width,
                    movie.height);
    size_t strf = BeginChunk(out, "strf");
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(movie.width));
    Put32(out, static_cast<uint32_t>(movie.height)); // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, frameBytes);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    EndChunk(out, strf);
    EndChunk(out, strl);

    if (adpcm) {
        strl = BeginChunk(out, "LIST", "strl");
        PutStreamHeader(out, "auds", adpcmAlign, adpcmBytesPerSec,
                        static_cast<uint32_t>(adpcmBlocks.size()), adpcmAlign, adpcmAlign, 0, 0);
        strf = BeginChunk(out, "strf");
        Put16(out, 0x11); // IMA ADPCM
        Put16(out, movie.channels);
        Put32(out, movie.sampleRate);
        Put32(out, adpcmBytesPerSec);
        Put16(out, adpcmAlign);
        Put16(out, 4);
        Put16(out, 2); // extra bytes: the samples per block
        Put16(out, adpcmPerBlock);
        EndChunk(out, strf);
        EndChunk(out, strl);
    } else if (hasAudio) {
        strl = BeginChunk(out, "LIST", "strl");
        PutStreamHeader(out, "auds", blockAlign, movie.sampleRate * blockAlign, sampleFrames,
                        movie.sampleRate * blockAlign, blockAlign, 0, 0);
        strf = BeginChunk(out, "strf");
        Put16(out, 1); // PCM
        Put16(out, movie.channels);
        Put32(out, movie.sampleRate);
        Put32(out, movie.sampleRate * blockAlign);
        Put16(out, blockAlign);
        Put16(out, 16);
        EndChunk(out, strf);
        EndChunk(out, strl);
    }
    EndChunk(out, hdrl);

    struct IndexEntry {
        const char* tag;
        uint32_t offset;
        uint32_t size;
    };
    std::vector<IndexEntry> index;
    size_t movi = BeginChunk(out, "LIST", "movi");
    const size_t moviStart = movi + 4; // index offsets count from the "movi" tag
    size_t nextBlock = 0;
    for (uint32_t f = 0; f < frameCount; ++f) {
        // The blocks that start by this frame's time (all that remain before
        // the last frame).
        for (; nextBlock < adpcmBlocks.size(); ++nextBlock) {
            const uint64_t start = nextBlock * uint64_t{adpcmPerBlock};
            if (f + 1 < frameCount &&
                start * movie.framesPerSecond > uint64_t{f} * movie.sampleRate)
                break;
            size_t at = out.size();
            size_t chunk = BeginChunk(out, "01wb");
            out.insert(out.end(), adpcmBlocks[nextBlock].begin(), adpcmBlocks[nextBlock].end());
            EndChunk(out, chunk);
            index.push_back({"01wb", static_cast<uint32_t>(at - moviStart), adpcmAlign});
        }
        // The sound that belongs to this frame comes first, so that it is at
        // hand when the frame shows; the last frame takes the rest.
        if (hasAudio && !adpcm) {
            uint64_t first = static_cast<uint64_t>(f) * movie.sampleRate / movie.framesPerSecond;
            uint64_t end = f + 1 == frameCount ? sampleFrames
                                               : static_cast<uint64_t>(f + 1) * movie.sampleRate /
                                                     movie.framesPerSecond;
            end = std::min<uint64_t>(end, sampleFrames);
            if (first < end) {
                size_t at = out.size();
                size_t chunk = BeginChunk(out, "01wb");
                for (uint64_t i = first * movie.channels; i < end * movie.channels; ++i)
                    Put16(out, static_cast<uint16_t>(movie.samples[i]));
                EndChunk(out, chunk);
                index.push_back({"01wb", static_cast<uint32_t>(at - moviStart),
                                 static_cast<uint32_t>((end - first) * blockAlign)});
            }
        }

        size_t at = out.size();
        size_t chunk = BeginChunk(out, "00db");
        const std::vector<Rgb>& pixels = movie.frames[f];
        for (int32_t y = movie.height - 1; y >= 0; --y) {
            size_t rowStart = out.size();
            for (int32_t x = 0; x < movie.width; ++x) {
                size_t i = static_cast<size_t>(y) * movie.width + x;
                const Rgb p = i < pixels.size() ? pixels[i] : Rgb{};
                out.push_back(p.b);
                out.push_back(p.g);
                out.push_back(p.r);
            }
            out.resize(rowStart + rowBytes, 0);
        }
        EndChunk(out, chunk);
        index.push_back({"00db", static_cast<uint32_t>(at - moviStart), frameBytes});
    }
    EndChunk(out, movi);

    size_t idx1 = BeginChunk(out, "idx1");
    for (const IndexEntry& entry : index) {
        PutTag(out, entry.tag);
        Put32(out, 0x10); // key frame
        Put32(out, entry.offset);
        Put32(out, entry.size);
    }
    EndChunk(out, idx1);
    EndChunk(out, riff);
    return out;
}

} // namespace demo
