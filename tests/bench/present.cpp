// Presenting a frame on the null display: the copy of the screen onto the
// front picture, the software cursor and the conversion into the shown
// RGB565 picture, for a frame where every row changed and one where none
// did, in RGB565 and in RGB555 (converted pixel by pixel). The baseline is
// a memcpy of the screen's bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Display.h"
#include "platform/EventPump.h"

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int64_t kScreenBytes = int64_t{kWidth} * kHeight * 2;

// The display in the format asked for, a 32 x 32 cursor in the middle, and
// two different screens to alternate between.
std::unique_ptr<CImage> SetUpDisplay(bool rgb555) {
    ShutdownGraphics();
    g_displayConfig = {};
    g_displayConfig.backend = platform::DisplayBackend::Null;
    g_displayConfig.force555 = rgb555;
    g_appActive = 1;
    g_directDrawReady = CreateDirectDraw();
    if (!g_directDrawReady || !SetDisplayMode(kWidth, kHeight, 16, false))
        return nullptr;
    for (int i = 0; i < 2; ++i) {
        g_cursorImages.push_back(std::make_unique<CImage>(32, 32, 16, kImageSurface));
        g_cursorImages.back()->Fill(0x7BEF);
    }
    SetCurrentCursor(1);
    platform::SetCursorPosition(400, 300);

    auto other = std::make_unique<CImage>(kWidth, kHeight, 16, kImageMemory);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const auto i = static_cast<uint32_t>(y * kWidth + x);
            StorePixel(g_screen->pixels + y * g_screen->pitch + x * 2,
                       static_cast<uint16_t>(i * 2654435761u >> 17));
            StorePixel(other->pixels + y * other->pitch + x * 2,
                       static_cast<uint16_t>(i * 40503u >> 1));
        }
    PresentScreen();
    return other;
}

void BM_PresentChangedFrame(benchmark::State& state) {
    std::unique_ptr<CImage> other = SetUpDisplay(state.range(0) != 0);
    if (!other) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        std::swap(g_screen, other);
        PresentScreen();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenBytes);
    state.SetLabel(state.range(0) ? "RGB555" : "RGB565");
    ShutdownGraphics();
}
BENCHMARK(BM_PresentChangedFrame)->Arg(0)->Arg(1);

void BM_PresentUnchangedFrame(benchmark::State& state) {
    if (!SetUpDisplay(state.range(0) != 0)) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        PresentScreen();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenBytes);
    state.SetLabel(state.range(0) ? "RGB555" : "RGB565");
    ShutdownGraphics();
}
BENCHMARK(BM_PresentUnchangedFrame)->Arg(0)->Arg(1);

void BM_MemcpyScreen(benchmark::State& state) {
    std::vector<uint8_t> from(kScreenBytes, 0x5A);
    std::vector<uint8_t> to(kScreenBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenBytes);
}
BENCHMARK(BM_MemcpyScreen);

} // namespace
