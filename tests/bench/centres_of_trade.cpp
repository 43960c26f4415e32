// The yearly assignment of every province to its best centre of trade
// (CCotCalc::AssignAllProvinces over the 1473 records with 58 centres) against a
// plain loop over arrays doing the same rating in the same run. The world is
// made here: a 64 x 23 grid of land provinces owned by 40 countries, a
// centre seated in every 25th. BM_CotAssignRatio times both and reports
// ratio = AssignAllProvinces time / plain time; the goal is a ratio of 2.0 or
// less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/LinkedList.h"
#include "world/CentreOfTrade.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

constexpr double kGoalRatio = 2.0;
constexpr int32_t kCountries = 40;
constexpr int32_t kColumns = 64;
constexpr int32_t kCellWidth = 296;
constexpr int32_t kCellHeight = 317;

struct FakeCountry {
    CIntList owned;
    CIntList controlled;
};
std::array<FakeCountry, kCountrySlots> g_fakes;
std::array<float, kProvinceSlots> g_tradeValue{};

int32_t OwnerOf(int32_t id) {
    return id % kCountries + 1;
}

// Builds the world once.
void MakeWorld() {
    static const bool made = [] {
        g_provinceCountries.numberOf = [](const CCountry& country) {
            return static_cast<int32_t>(reinterpret_cast<const FakeCountry*>(&country) -
                                        g_fakes.data());
        };
        g_provinceCountries.provinceList = [](CCountry& country, bool controlled) {
            auto& fake = reinterpret_cast<FakeCountry&>(country);
            return controlled ? &fake.controlled : &fake.owned;
        };
        g_cotProvinceValues.tradeValue = [](const CProvince& province) {
            return g_tradeValue[static_cast<size_t>(province.GetNumber())];
        };
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
            CProvince& province = g_provinces[static_cast<size_t>(id)];
            const int32_t x = (id - 1) % kColumns * kCellWidth;
            const int32_t y = (id - 1) / kColumns * kCellHeight;
            province.terrain = 0;
            province.box = {x, y, x + kCellWidth - 1, y + kCellHeight - 1};
            province.SetOwner(
                reinterpret_cast<CCountry*>(&g_fakes[static_cast<size_t>(OwnerOf(id))]));
            g_tradeValue[static_cast<size_t>(id)] = static_cast<float>(id % 17);
        }
        g_cotCalc.Clear();
        for (int32_t id = 1; id <= kLastProvinceId && g_cotCalc.GetCount() < CCotCalc::kSlotCount;
             id += 25)
            g_cotCalc.AddCentreOfTrade(CCotCalc::NewCentreOfTrade(id));
        return true;
    }();
    (void)made;
}

int32_t RunAssign() {
    g_cotCalc.AssignAllProvinces();
    int32_t assigned = 0;
    for (const CProvince& province : g_provinces)
        assigned += province.centreOfTrade ? 1 : 0;
    return assigned;
}

// The same ratings over plain arrays: the seats' centres, owners and trade
// values copied out once.
struct Plain {
    std::vector<int32_t> seat;
    std::vector<float> x, y, value;
    std::vector<int32_t> owner;
};

Plain MakePlain() {
    Plain plain;
    for (int32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot) {
        const int32_t seat = g_cotCalc.GetSlot(slot)->GetProvinceId();
        MapPoint centre;
        GetProvinceCentre(centre, seat);
        plain.seat.push_back(seat);
        plain.x.push_back(static_cast<float>(centre.x));
        plain.y.push_back(static_cast<float>(centre.y));
        plain.value.push_back(g_tradeValue[static_cast<size_t>(seat)]);
        plain.owner.push_back(OwnerOf(seat));
    }
    return plain;
}

int32_t RunPlain(const Plain& plain, std::vector<int32_t>& best) {
    int32_t assigned = 0;
    best.assign(kProvinceSlots, -1);
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        if (std::find(plain.seat.begin(), plain.seat.end(), id) != plain.seat.end())
            continue;
        MapPoint centre;
        GetProvinceCentre(centre, id);
        const int32_t owner = OwnerOf(id);
        float bestRating = 0.0f;
        for (size_t k = 0; k < plain.seat.size(); ++k) {
            float score = 2.0f * plain.value[k] + 7.0f;
            if (plain.owner[k] == owner)
                score += 1000.0f;
            float dx = std::abs(plain.x[k] - static_cast<float>(centre.x));
            if (dx > static_cast<float>(kMapWidth / 2))
                dx = static_cast<float>(kMapWidth) - dx;
            const float dy = plain.y[k] - static_cast<float>(centre.y);
            const float rating = score / std::max(1.0f, std::sqrt(dx * dx + dy * dy));
            if (rating > bestRating) {
                bestRating = rating;
                best[static_cast<size_t>(id)] = static_cast<int32_t>(k);
            }
        }
        assigned += best[static_cast<size_t>(id)] >= 0 ? 1 : 0;
    }
    return assigned;
}

void BM_CotAssignAll(benchmark::State& state) {
    MakeWorld();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunAssign());
    state.SetItemsProcessed(state.iterations() * kProvinceSlots);
}
BENCHMARK(BM_CotAssignAll)->Unit(benchmark::kMicrosecond);

void BM_PlainAssignAll(benchmark::State& state) {
    MakeWorld();
    const Plain plain = MakePlain();
    std::vector<int32_t> best;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunPlain(plain, best));
    state.SetItemsProcessed(state.iterations() * kProvinceSlots);
}
BENCHMARK(BM_PlainAssignAll)->Unit(benchmark::kMicrosecond);

void BM_CotAssignRatio(benchmark::State& state) {
    MakeWorld();
    const Plain plain = MakePlain();
    std::vector<int32_t> best;
    using Clock = std::chrono::steady_clock;
    double assign = 0.0;
    double baseline = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(RunAssign());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(RunPlain(plain, best));
        const auto t2 = Clock::now();
        assign += std::chrono::duration<double>(t1 - t0).count();
        baseline += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = baseline > 0.0 ? assign / baseline : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.SetLabel(ratio <= kGoalRatio ? "AssignAllProvinces within its goal"
                                       : "AssignAllProvinces slower than its goal");
}
BENCHMARK(BM_CotAssignRatio)->Unit(benchmark::kMicrosecond);

} // namespace
