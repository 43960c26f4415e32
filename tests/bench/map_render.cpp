// The map view of the generated world (576 x 608 screen pixels, every
// province known) drawn whole at zoom 0 and at zoom 4 against a memcpy of
// the same screen bytes, and a one-cell scroll against a whole redraw.
// BM_MapRedrawRatio reports ratio = redraw time / memcpy time (goal: 150
// or less: each pixel takes a light, a fog and a table lookup); and
// BM_MapScrollRatio ratio = one-cell scroll / whole redraw (goal: 0.1 or
// less: one column of 19 cells out of 342 is drawn).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Image.h"
#include "tests/TestSupport.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapRender.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/ProvinceTable.h"

namespace {

constexpr int32_t kWidth = 576;
constexpr int32_t kHeight = 608;
constexpr double kRedrawGoal = 150.0;
constexpr double kScrollGoal = 0.1;

// Empty when the world loaded; else what failed.
const std::string& LoadWorld() {
    static const std::string problem = [] {
        test::InFolder game{test::DemoWorldDir()};
        static CMap map;
        if (!map.Load())
            return std::string("no map tables");
        if (!LoadProvinces())
            return std::string("no province table");
        RecolourMap(0, MAPMODE_TERRAIN);
        BuildMapShadeTable();
        std::fill(g_incGrid.fog.begin(), g_incGrid.fog.end(), uint8_t{0});
        SetViewRect(0, 0, kWidth, kHeight);
        delete g_mapImage;
        g_mapImage = new CImage(kWidth, kHeight, 16, kImageMemory);
        g_dirtyColumns = kWidth / 32;
        g_dirtyRows = kHeight / 32;
        g_dirtyCells.assign(static_cast<size_t>(g_dirtyColumns) * g_dirtyRows, 1);
        return std::string();
    }();
    return problem;
}

bool WorldReady(benchmark::State& state, int32_t zoom) {
    if (!LoadWorld().empty()) {
        state.SkipWithError(LoadWorld().c_str());
        return false;
    }
    g_zoomShift = zoom;
    SetViewCentre(9000, 3000);
    return true;
}

void Redraw() {
    g_mapRedraw = 1;
    RenderMapView();
}

// One cell right, then back, each drawn by rolling the view image.
void ScrollOneCell(int32_t direction) {
    g_mapRedraw = 0;
    ScrollView(direction * 32 << g_zoomShift, 0);
    RenderMapView();
}

void BM_MapRedraw(benchmark::State& state) {
    if (!WorldReady(state, static_cast<int32_t>(state.range(0))))
        return;
    for (auto _ : state) {
        Redraw();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_MapRedraw)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_ScreenMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(kWidth * kHeight * 2, 7);
    std::vector<uint8_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_ScreenMemcpy);

void BM_MapOneCellScroll(benchmark::State& state) {
    if (!WorldReady(state, 0))
        return;
    Redraw();
    int32_t direction = 1;
    for (auto _ : state) {
        ScrollOneCell(direction);
        direction = -direction;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MapOneCellScroll)->Unit(benchmark::kMicrosecond);

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_MapRedrawRatio(benchmark::State& state) {
    if (!WorldReady(state, static_cast<int32_t>(state.range(0))))
        return;
    std::vector<uint8_t> from(kWidth * kHeight * 2, 7);
    std::vector<uint8_t> to(from.size());
    double redraw = 0.0;
    double copy = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        Redraw();
        const auto t1 = Clock::now();
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        redraw += Seconds(t0, t1);
        copy += Seconds(t1, t2);
    }
    const double ratio = copy > 0.0 ? redraw / copy : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kRedrawGoal;
    state.SetLabel(ratio <= kRedrawGoal ? "redraw within its goal" : "redraw slower than its goal");
}
BENCHMARK(BM_MapRedrawRatio)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_MapScrollRatio(benchmark::State& state) {
    if (!WorldReady(state, 0))
        return;
    Redraw();
    double scroll = 0.0;
    double redraw = 0.0;
    int32_t direction = 1;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ScrollOneCell(direction);
        const auto t1 = Clock::now();
        Redraw();
        const auto t2 = Clock::now();
        direction = -direction;
        scroll += Seconds(t0, t1);
        redraw += Seconds(t1, t2);
    }
    const double ratio = redraw > 0.0 ? scroll / redraw : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kScrollGoal;
    state.SetLabel(ratio <= kScrollGoal ? "scroll within its goal" : "scroll slower than its goal");
}
BENCHMARK(BM_MapScrollRatio)->Unit(benchmark::kMillisecond);

} // namespace
