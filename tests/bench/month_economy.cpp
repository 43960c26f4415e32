// One month of the whole world's economy: every country's monthly update
// on the generated world's 1492 scenario, against a plain loop that reads
// the same province and country records once and books a month's money in
// the same run. BM_MonthEconomyRatio times both and reports ratio = month
// time / plain time; the goal is a ratio of 25.0 or less (the month also
// recomputes manpower, grows the cities, invests in five tracks and drifts
// every pair of relations).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr double kGoalRatio = 25.0;

// The generated world, started once for the whole run.
struct World {
    World() {
        BuildKeywordIndex();
        test::CopyDemoWorld(dir.Path());
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_gameType = 0;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
        scenario = std::make_unique<CScenario>("scenarios\\world_1492.ovg", 7);
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::unique_ptr<CScenario> scenario;
};

World& TheWorld() {
    static World world;
    return world;
}

int32_t RunMonth() {
    int32_t countries = 0;
    const CDate today = g_gameTimer->GetDate();
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        COVTimerEvent event(EVT_TIMER_MONTH, country->GetId(), today);
        country->HandleMessage(event);
        ++countries;
    }
    g_scheduler.Clear();
    return countries;
}

// The same records touched once: for each country the provinces it owns
// and controls with their tax, its cities' populations, every other
// country's track levels, summed.
float RunPlain() {
    float total = 0.0f;
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        const int32_t self = static_cast<int32_t>(country->GetNumber());
        float tax = 0.0f;
        for (int32_t id = 0; id <= kLastProvinceId; ++id) {
            const CProvince& province = g_provinces[static_cast<size_t>(id)];
            if (province.GetOwnerNumber() == self && province.GetControllerNumber() == self &&
                !province.looted && province.GetCity())
                tax += static_cast<float>(province.tax) * 0.083333336f;
        }
        float people = 0.0f;
        country->m_cities.ForEach([&people](CCity* city) { people += city->GetPopulation(); });
        int32_t levels = 0;
        for (const CCountry* other : g_countries)
            if (other)
                levels += other->m_technology.land.level + other->m_technology.naval.level;
        total += tax + people * 0.000001f + static_cast<float>(levels);
    }
    return total;
}

void BM_MonthEconomy(benchmark::State& state) {
    TheWorld();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunMonth());
}
BENCHMARK(BM_MonthEconomy)->Unit(benchmark::kMicrosecond);

void BM_PlainMonth(benchmark::State& state) {
    TheWorld();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunPlain());
}
BENCHMARK(BM_PlainMonth)->Unit(benchmark::kMicrosecond);

void BM_MonthEconomyRatio(benchmark::State& state) {
    TheWorld();
    using Clock = std::chrono::steady_clock;
    double month = 0.0;
    double baseline = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(RunMonth());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(RunPlain());
        const auto t2 = Clock::now();
        month += std::chrono::duration<double>(t1 - t0).count();
        baseline += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = baseline > 0.0 ? month / baseline : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.SetLabel(ratio <= kGoalRatio ? "the month within its goal"
                                       : "the month slower than its goal");
}
BENCHMARK(BM_MonthEconomyRatio)->Unit(benchmark::kMicrosecond);

} // namespace
