// FindPath over the demo world's province graph, loaded by the game's own
// loaders (the bounding boxes, the neighbour lists and the province table
// from the generated world, the step costs from its terrain table), for a
// fixed set of random province pairs, against a plain Dijkstra search with
// std::priority_queue over the same loaded graph and step costs in the same
// run. BM_PathSearchRatio times both over the same pairs and reports
// ratio = FindPath time / Dijkstra time; the goal is a ratio of 1.5 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <utility>
#include <vector>

#include "engine/Random.h"
#include "military/StartupTables.h"
#include "tests/TestSupport.h"
#include "world/MapTables.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"

namespace {

constexpr int kPairs = 2000;
constexpr double kGoalRatio = 1.5;

// The province records as a game starts them in the demo world: the map
// tables first (boxes and neighbour lists), then the province table, which
// reads the neighbours again by province kind and adds the straits. Empty
// when all loaded; else what failed.
const std::string& LoadWorld() {
    static const std::string problem = [] {
        test::InFolder game{test::DemoWorldDir()};
        if (!LoadBoundBoxes(kBoundBoxFile))
            return std::string("no bounding boxes");
        if (!LoadAdjacency(kAdjacencyFile))
            return std::string("no neighbour lists");
        if (!LoadProvinces())
            return "no province table: " + GetProvinceLoadError();
        if (!LoadTerrainTypes())
            return std::string("no terrain table");
        return std::string();
    }();
    return problem;
}

// False (the benchmark skipped with the reason) when the world did not load.
bool WorldReady(benchmark::State& state) {
    if (LoadWorld().empty())
        return true;
    state.SkipWithError(LoadWorld().c_str());
    return false;
}

std::vector<std::pair<int32_t, int32_t>> MakePairs() {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    GameSrand(1492);
    while (static_cast<int>(pairs.size()) < kPairs) {
        const int32_t a = 1 + (GameRand() * 32768 + GameRand()) % kLastProvinceId;
        const int32_t b = 1 + (GameRand() * 32768 + GameRand()) % kLastProvinceId;
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
    if (!WorldReady(state))
        return;
    const auto pairs = MakePairs();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunFindPath(pairs));
    state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_FindPath)->Unit(benchmark::kMillisecond);

void BM_PlainDijkstra(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const auto pairs = MakePairs();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunDijkstra(pairs));
    state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_PlainDijkstra)->Unit(benchmark::kMillisecond);

// Both over the same pairs, one after the other in each iteration.
void BM_PathSearchRatio(benchmark::State& state) {
    if (!WorldReady(state))
        return;
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
