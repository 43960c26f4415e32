// FindPath over the full-size demo world (the 64 x 23 grid of 1472
// provinces of tools/DemoMapLayout.h, linked edge to edge) for a fixed set
// of random province pairs, against a plain Dijkstra search with
// std::priority_queue over the same graph and step costs in the same run.
// BM_PathSearchRatio times both over the same pairs and reports
// ratio = FindPath time / Dijkstra time; the goal is a ratio of 1.5 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "engine/Random.h"
#include "tools/DemoMapLayout.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

constexpr int kPairs = 2000;
constexpr double kGoalRatio = 1.5;

// The province records laid out as the demo map: sea zones in the oceans
// and polar rows, land of five kinds elsewhere, each cell linked to the
// cells beside it.
void BuildWorld() {
    static bool built = false;
    if (built)
        return;
    built = true;
    g_terrainCosts = {1.0, 1.25, 1.75, 1.5, 1.5, 0.5, 0.75, 1.0, 2.0, 2.0};
    for (int32_t id = 1; id <= demo::kLastProvince; ++id) {
        CProvince& p = g_provinces[static_cast<size_t>(id)];
        const demo::CellRect cell = demo::CellOf(id);
        p.box = {cell.left, cell.top, cell.right, cell.bottom};
        p.terrain = demo::IsSea(id) ? kFirstSeaProvinceType : (id * 7) % 5;
        p.area = demo::IsSea(id) ? kSeaArea : 1 + id % 100;
        p.region = 1;
        p.continent = demo::ContinentOf(id);
    }
    for (int32_t id = 1; id <= demo::kLastProvince; ++id)
        for (int32_t other : demo::GridNeighbours(id))
            g_provinces[static_cast<size_t>(id)].AddNeighbour({other, 0, 0});
}

std::vector<std::pair<int32_t, int32_t>> MakePairs() {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    GameSrand(1492);
    while (static_cast<int>(pairs.size()) < kPairs) {
        const int32_t a = 1 + (GameRand() * 32768 + GameRand()) % demo::kLastProvince;
        const int32_t b = 1 + (GameRand() * 32768 + GameRand()) % demo::kLastProvince;
        if (a != b)
            pairs.emplace_back(a, b);
    }
    return pairs;
}

// All pairs through FindPath with the any-route strategy; the route
// lengths summed.
size_t RunFindPath(const std::vector<std::pair<int32_t, int32_t>>& pairs) {
    CAnyRoutePath route;
    size_t steps = 0;
    for (const auto& [a, b] : pairs)
        if (FindPath(route, nullptr, g_provinces[static_cast<size_t>(a)],
                     g_provinces[static_cast<size_t>(b)]))
            steps += route.GetCount();
    return steps;
}

// The plain baseline: Dijkstra over the same links and base step costs,
// stopping at the goal, then the route walked back.
size_t RunDijkstra(const std::vector<std::pair<int32_t, int32_t>>& pairs) {
    std::vector<float> cost(kProvinceSlots);
    std::vector<int32_t> parent(kProvinceSlots);
    std::vector<uint8_t> done(kProvinceSlots);
    size_t steps = 0;
    using Entry = std::pair<float, int32_t>;
    for (const auto& [start, goal] : pairs) {
        std::fill(cost.begin(), cost.end(), 1e30f);
        std::fill(done.begin(), done.end(), 0);
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        cost[static_cast<size_t>(start)] = 0.0f;
        parent[static_cast<size_t>(start)] = 0;
        open.emplace(0.0f, start);
        while (!open.empty()) {
            const auto [c, id] = open.top();
            open.pop();
            if (done[static_cast<size_t>(id)])
                continue;
            done[static_cast<size_t>(id)] = 1;
            if (id == goal)
                break;
            const CProvince& from = g_provinces[static_cast<size_t>(id)];
            for (int32_t i = 0; i < from.neighbourCount; ++i) {
                const ProvinceNeighbour& link = from.neighbours[static_cast<size_t>(i)];
                const CProvince& to = g_provinces[static_cast<size_t>(link.id)];
                const float next = c + BasePathStepCost(nullptr, from, to, link);
                if (next < cost[static_cast<size_t>(link.id)]) {
                    cost[static_cast<size_t>(link.id)] = next;
                    parent[static_cast<size_t>(link.id)] = id;
                    open.emplace(next, link.id);
                }
            }
        }
        for (int32_t id = goal; id != start && id != 0; id = parent[static_cast<size_t>(id)])
            ++steps;
    }
    return steps;
}

void BM_FindPath(benchmark::State& state) {
    BuildWorld();
    const auto pairs = MakePairs();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunFindPath(pairs));
    state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_FindPath)->Unit(benchmark::kMillisecond);

void BM_PlainDijkstra(benchmark::State& state) {
    BuildWorld();
    const auto pairs = MakePairs();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunDijkstra(pairs));
    state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_PlainDijkstra)->Unit(benchmark::kMillisecond);

// Both over the same pairs, one after the other in each iteration.
void BM_PathSearchRatio(benchmark::State& state) {
    BuildWorld();
    const auto pairs = MakePairs();
    using Clock = std::chrono::steady_clock;
    double findPath = 0.0;
    double dijkstra = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(RunFindPath(pairs));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(RunDijkstra(pairs));
        const auto t2 = Clock::now();
        findPath += std::chrono::duration<double>(t1 - t0).count();
        dijkstra += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = dijkstra > 0.0 ? findPath / dijkstra : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.SetLabel(ratio <= kGoalRatio ? "FindPath within its goal"
                                       : "FindPath slower than its goal");
}
BENCHMARK(BM_PathSearchRatio)->Unit(benchmark::kMillisecond);

} // namespace
