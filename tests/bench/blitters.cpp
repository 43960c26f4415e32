// Blitters over a whole 800 x 600 screen: a colour-keyed 16-bit picture and
// an 8-bit picture through a palette, each against a memcpy of the same
// number of bytes as the baseline.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/Image.h"
#include "engine/Palette.h"

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

// The pictures, made once: a 16-bit one with a colour-key pixel in every 7,
// an 8-bit one with transparent and shadow indices among its colours.
struct Pictures {
    CImage screen{kWidth, kHeight, 16, kImageMemory};
    CImage keyed{kWidth, kHeight, 16, kImageMemory};
    CImage indexed{kWidth, kHeight, 8, kImageMemory};
    CPalette palette{"bench"};
    std::vector<uint8_t> from =
        std::vector<uint8_t>(static_cast<size_t>(kWidth) * kHeight * 2, 0x5A);
    std::vector<uint8_t> to = std::vector<uint8_t>(from.size());

    Pictures() {
        SetPixelFormat(kPixelFormat565);
        for (int i = 0; i < 256; ++i)
            palette.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i * 3), 0};
        palette.BuildPixelTables();
        indexed.palette = &palette;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                int32_t i = y * kWidth + x;
                StorePixel(keyed.pixels + y * keyed.pitch + x * 2,
                           i % 7 == 0 ? g_colourKey : static_cast<uint16_t>(i * 2654435761u >> 16));
                indexed.pixels[y * indexed.pitch + x] =
                    static_cast<uint8_t>(i % 11 == 0   ? 0
                                         : i % 13 == 0 ? 1
                                                       : i * 37);
            }
        keyed.hasColourKey = keyed.HasColourKeyPixel() ? 1 : 0;
        screen.Fill(0x1234);
    }
};

Pictures& Data() {
    static Pictures pictures;
    return pictures;
}

void BM_ColourKeyedBlit800x600(benchmark::State& state) {
    Pictures& p = Data();
    for (auto _ : state) {
        p.keyed.DrawWhole(0, 0, &p.screen);
        benchmark::DoNotOptimize(p.screen.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_ColourKeyedBlit800x600);

void BM_PaletteBlit800x600(benchmark::State& state) {
    Pictures& p = Data();
    for (auto _ : state) {
        p.indexed.DrawWhole(0, 0, &p.screen);
        benchmark::DoNotOptimize(p.screen.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_PaletteBlit800x600);

// The baseline: the bytes of one 800 x 600 16-bit screen.
void BM_MemcpyScreen800x600(benchmark::State& state) {
    Pictures& p = Data();
    for (auto _ : state) {
        std::memcpy(p.to.data(), p.from.data(), p.from.size());
        benchmark::DoNotOptimize(p.to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(p.from.size()));
}
BENCHMARK(BM_MemcpyScreen800x600);

} // namespace
