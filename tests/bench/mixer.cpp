// The mixer: one second of output with 32 voices playing (mono 16-bit at the
// output rate, each with its own volume and pan), against copying the same
// number of source samples as the baseline.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/Audio.h"

namespace {

namespace audio = platform::audio;

constexpr int kVoices = 32;
constexpr size_t kFrames = audio::kMixRate; // one second
constexpr size_t kChunk = 1024;             // frames a device callback asks for

std::vector<uint8_t> ToneBytes(int voice) {
    std::vector<uint8_t> bytes(kFrames * 2);
    for (size_t i = 0; i < kFrames; ++i) {
        auto s =
            static_cast<int16_t>(3000 * std::sin(static_cast<double>(i) * (0.01 + 0.001 * voice)));
        bytes[i * 2] = static_cast<uint8_t>(s & 0xFF);
        bytes[i * 2 + 1] = static_cast<uint8_t>((s >> 8) & 0xFF);
    }
    return bytes;
}

void BM_Mix32VoicesOneSecond(benchmark::State& state) {
    audio::OpenAudio(audio::Backend::Recording);
    audio::WaveFormat format;
    format.samplesPerSec = audio::kMixRate;
    for (int v = 0; v < kVoices; ++v) {
        std::vector<uint8_t> bytes = ToneBytes(v);
        uint32_t buffer = audio::CreateBuffer(format, bytes.data(), bytes.size());
        audio::SetVolume(buffer, -100 * v);
        audio::SetPan(buffer, (v % 5 - 2) * 2000);
        audio::Play(buffer, true);
    }
    std::vector<int16_t> out;
    for (auto _ : state) {
        for (size_t done = 0; done < kFrames; done += kChunk) {
            audio::RenderRecording(std::min(kChunk, kFrames - done), out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVoices * kFrames);
    audio::CloseAudio();
}
BENCHMARK(BM_Mix32VoicesOneSecond)->Unit(benchmark::kMillisecond);

void BM_Copy32VoicesOneSecond(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> voices;
    for (int v = 0; v < kVoices; ++v)
        voices.push_back(ToneBytes(v));
    std::vector<uint8_t> out(kChunk * 2);
    for (auto _ : state) {
        for (const std::vector<uint8_t>& voice : voices)
            for (size_t done = 0; done < kFrames; done += kChunk) {
                std::memcpy(out.data(), voice.data() + done * 2,
                            std::min(kChunk, kFrames - done) * 2);
                benchmark::DoNotOptimize(out.data());
                benchmark::ClobberMemory();
            }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVoices * kFrames);
}
BENCHMARK(BM_Copy32VoicesOneSecond)->Unit(benchmark::kMillisecond);

} // namespace
