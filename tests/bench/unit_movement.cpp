// A month of the host's unit server for every unit of the generated world's
// scenario of 1492: each unit is ordered three provinces away (the server's
// path search included), then thirty days of steps run through the
// scheduler and the month's pass follows. The baseline is the same number
// of bare FindPath calls over the same starts and goals, in the same run.
// BM_UnitMovementRatio reports ratio = server month / bare searches; the goal
// is a ratio of 3 or less (the steps, the messages and the month should cost
// no more than twice the searches themselves).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/Globals.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr double kGoalRatio = 3.0;
constexpr int kMonthDays = 30;

struct Order {
    CUnit* unit;
    int32_t start;
    int32_t goal;
};

// A province of the same kind three links from the start, the first found
// in link order; 0 when none.
int32_t ThreeStepsAway(int32_t from) {
    const CProvince* start = GetProvince(from);
    if (!start || from < kFirstProvinceId)
        return 0;
    const bool sea = start->IsSea();
    std::vector<int32_t> ring{from};
    std::vector<int32_t> seen{from};
    for (int step = 0; step < 3; ++step) {
        std::vector<int32_t> next;
        for (int32_t id : ring) {
            const CProvince& p = *GetProvince(id);
            for (int32_t i = 0; i < p.neighbourCount; ++i) {
                const int32_t n = p.neighbours[static_cast<size_t>(i)].id;
                const CProvince* other = GetProvince(n);
                if (!other || other->IsSea() != sea ||
                    std::find(seen.begin(), seen.end(), n) != seen.end())
                    continue;
                seen.push_back(n);
                next.push_back(n);
            }
        }
        if (next.empty())
            return ring.back() == from ? 0 : ring.back();
        ring = std::move(next);
    }
    return ring.front();
}

// The scenario of 1492 running on a host without a session; empty when it
// started, else what failed. The orders: every unit and its goal.
struct World {
    std::string problem;
    std::vector<Order> orders;
};

World& StartWorld() {
    static World world = [] {
        World started;
        test::InFolder game{test::DemoWorldDir()};
        BuildKeywordIndex();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
        g_scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
        if (g_gameStarted != 1 || !g_unitServer) {
            started.problem = "the scenario did not start";
            return started;
        }
        g_gameTimer->SetDate(g_globals.startDate);
        g_scheduler.RunDue();
        for (CCountry* country : g_countries)
            if (country)
                country->m_units.ForEach([&started](CUnit* unit) {
                    unit->CancelMovement();
                    const int32_t goal = ThreeStepsAway(unit->GetLocation());
                    if (goal)
                        started.orders.push_back({unit, unit->GetLocation(), goal});
                });
        g_scheduler.Clear();
        // The world goes before the program's own statics do.
        std::atexit([] {
            g_scenario.reset();
            g_globals.Shutdown();
            g_scheduler.Clear();
            g_gameTimer.reset();
        });
        if (started.orders.empty())
            started.problem = "no unit has a goal";
        return started;
    }();
    return world;
}

bool WorldReady(benchmark::State& state) {
    if (StartWorld().problem.empty())
        return true;
    state.SkipWithError(StartWorld().problem.c_str());
    return false;
}

// Every unit back where it started, still, with no step waiting.
void ResetUnits(const std::vector<Order>& orders) {
    for (const Order& order : orders) {
        order.unit->CancelMovement();
        order.unit->pendingStep = nullptr;
        if (CNavalUnit* carrier =
                order.unit->IsArmy() ? static_cast<CLandUnit*>(order.unit)->GetCarrier() : nullptr)
            carrier->UnloadArmy(static_cast<CLandUnit*>(order.unit));
        order.unit->SetLocation(order.start);
    }
    g_scheduler.Clear();
}

// The orders, thirty days of steps and the month's pass; the units that
// moved.
size_t RunServerMonth(const std::vector<Order>& orders) {
    const CDate start = g_gameTimer->GetDate();
    for (const Order& order : orders)
        g_unitServer->AddDestination(order.unit, order.goal, 1);
    for (int day = 0; day < kMonthDays; ++day) {
        g_gameTimer->currentDate.AddDays(1);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    g_unitServer->OnMonth();
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
    size_t moved = 0;
    for (const Order& order : orders)
        moved += order.unit->GetLocation() != order.start;
    ResetUnits(orders);
    g_gameTimer->currentDate = start;
    return moved;
}

// The same searches, bare.
size_t RunFindPaths(const std::vector<Order>& orders) {
    size_t steps = 0;
    for (const Order& order : orders) {
        CProvince& from = *GetProvince(order.start);
        CProvince& to = *GetProvince(order.goal);
        if (order.unit->IsFleet()) {
            CFleetPath route;
            if (FindPath(route, order.unit, from, to))
                steps += route.GetCount();
        } else {
            CArmyPath route;
            if (FindPath(route, order.unit, from, to))
                steps += route.GetCount();
        }
    }
    return steps;
}

void BM_UnitServerMonth(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const auto& orders = StartWorld().orders;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunServerMonth(orders));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(orders.size()));
}
BENCHMARK(BM_UnitServerMonth)->Unit(benchmark::kMillisecond);

void BM_BareFindPath(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const auto& orders = StartWorld().orders;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunFindPaths(orders));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(orders.size()));
}
BENCHMARK(BM_BareFindPath)->Unit(benchmark::kMillisecond);

// Both over the same orders, one after the other in each iteration.
void BM_UnitMovementRatio(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const auto& orders = StartWorld().orders;
    using Clock = std::chrono::steady_clock;
    double server = 0.0;
    double bare = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(RunServerMonth(orders));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(RunFindPaths(orders));
        const auto t2 = Clock::now();
        server += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = bare > 0.0 ? server / bare : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.counters["units"] = static_cast<double>(orders.size());
    state.SetLabel(ratio <= kGoalRatio ? "unit server within its goal"
                                       : "unit server slower than its goal");
}
BENCHMARK(BM_UnitMovementRatio)->Unit(benchmark::kMillisecond);

} // namespace
