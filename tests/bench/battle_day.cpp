// A day of war in the generated world's scenario of 1492 on a host without
// a session: two countries at war stand an army each in hundreds of empty
// land provinces, the combat server starts a battle in each, and an army of
// the first storms the fortified city of every other country's town (a
// siege ordered to assault); the fire phase passes (the early tables deal
// nothing by fire) and one day of shock follows: every battle's and
// assault's phase message runs, with its result messages and the losses
// they spread over the units and garrisons. The baseline is a
// plain loop over the same armies doing the day's arithmetic itself (the
// strengths, one table lookup per side and the losses shared out over
// copies of the strengths), in the same run.
// BM_BattleDayRatio reports ratio = the battles' day / the plain loop; the
// goal is a ratio of 25 or less (the messages, the scheduler and the
// bookkeeping of sides and units should cost no more than that many times
// the arithmetic they carry).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "military/StartupTables.h"
#include "military/combat/Battle.h"
#include "military/combat/CombatTables.h"
#include "military/combat/Siege.h"
#include "military/server/CombatServer.h"
#include "military/units/LandUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr double kGoalRatio = 25.0;
constexpr size_t kBattles = 300;
// Up to this many assaults, as many as the world has fortified towns.
constexpr size_t kSieges = 100;
// Enough to cover and besiege any fortress of the demo world.
constexpr float kBesiegers = 40000.0f;
constexpr float kAttackers = 12000.0f;
constexpr float kDefenders = 9000.0f;
// The first phase, fire, lasts four days.
constexpr int kFireDays = 4;

// The scenario of 1492 running on a host without a session, the combat
// tables loaded, and the two countries at war; empty problem when ready.
struct World {
    std::string problem;
    CCountry* attacker = nullptr;
    CCountry* defender = nullptr;
    std::vector<int32_t> fields; // empty land provinces, one battle each
    std::vector<int32_t> towns;  // fortified towns of others, one assault each
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
        if (g_gameStarted != 1 || !g_combatServer) {
            started.problem = "the scenario did not start";
            return started;
        }
        if (!LoadCombatTables()) {
            started.problem = "the combat tables did not load";
            return started;
        }
        g_gameTimer->SetDate(g_globals.startDate);
        g_scheduler.RunDue();
        g_scheduler.Clear();
        for (CCountry* country : g_countries)
            if (country && country->GetNumber() < 90) {
                if (!started.attacker)
                    started.attacker = country;
                else if (!started.defender)
                    started.defender = country;
            }
        if (!started.defender) {
            started.problem = "fewer than two countries";
            return started;
        }
        started.attacker->SetAtWarWith(started.defender->GetNumber());
        started.defender->SetAtWarWith(started.attacker->GetNumber());
        for (CProvince& province : g_provinces) {
            if (started.fields.size() == kBattles)
                break;
            CUnitList units;
            CollectProvinceUnits(province.GetNumber(), units);
            if (province.GetNumber() >= kFirstProvinceId && !province.IsSea() && units.IsEmpty() &&
                !province.combats)
                started.fields.push_back(province.GetNumber());
        }
        for (CProvince& province : g_provinces) {
            if (started.towns.size() == kSieges)
                break;
            const CCity* city = province.GetCity();
            if (province.GetNumber() < kFirstProvinceId || province.IsSea() || !city ||
                city->GetFortress().level < 1.0f || province.combats || !province.GetController() ||
                province.GetController() == started.attacker ||
                std::find(started.fields.begin(), started.fields.end(), province.GetNumber()) !=
                    started.fields.end())
                continue;
            CUnitList units;
            CollectProvinceUnits(province.GetNumber(), units);
            if (units.IsEmpty())
                started.towns.push_back(province.GetNumber());
        }
        std::atexit([] {
            FreeCombatTables();
            g_scenario.reset();
            g_globals.Shutdown();
            g_scheduler.Clear();
            g_gameTimer.reset();
        });
        if (started.fields.size() < kBattles)
            started.problem = "not enough empty land provinces";
        else if (started.towns.empty())
            started.problem = "no fortified town to storm";
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

// A battle, or an assault (no defending army: the siege's garrison).
struct Battle {
    int32_t province;
    CLandUnit* attacker;
    CLandUnit* defender;           // the test's own army
    CLandUnit* garrison = nullptr; // the siege's
};

// The garrison of the assault in the province; null when none.
CLandUnit* GarrisonIn(int32_t province) {
    const CCity* city = GetProvince(province)->GetCity();
    CCombat* combat = city ? FindCombatById(city->GetSiegeId()) : nullptr;
    CSiegeCombat* siege = combat ? combat->GetSiege() : nullptr;
    return siege ? siege->Garrison().GetGarrison() : nullptr;
}

CLandUnit* RaiseArmy(CCountry& owner, int32_t province, float infantry) {
    auto* army = new CLandUnit(&owner);
    army->AssignNewId();
    army->SetLocation(province);
    army->SetStrength(2, infantry);
    army->SetStrength(1, infantry / 4.0f);
    army->SetStrength(0, infantry / 1000.0f);
    army->morale = 2.0f;
    army->SetIdleState();
    owner.AddUnit(army);
    return army;
}

// One day: every battle's phase falls due.
void RunBattleDay() {
    g_gameTimer->currentDate.AddDays(1);
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
}

// An army of each country in every field and the battle between them, its
// fire phase over.
std::vector<Battle> StartBattles() {
    World& world = StartWorld();
    std::vector<Battle> battles;
    for (int32_t id : world.fields) {
        Battle battle{id, RaiseArmy(*world.attacker, id, kAttackers),
                      RaiseArmy(*world.defender, id, kDefenders)};
        g_combatServer->CreateCombat(*GetProvince(id), kCombatLand, NewObjectId(), battle.attacker,
                                     battle.defender);
        battles.push_back(battle);
    }
    for (int32_t id : world.towns) {
        Battle assault{id, RaiseArmy(*world.attacker, id, kBesiegers), nullptr};
        const ObjectId siegeId = NewObjectId();
        g_combatServer->CreateCombat(*GetProvince(id), kCombatSiegeCover, siegeId, assault.attacker,
                                     nullptr);
        if (CCombat* siege = FindCombatById(siegeId); siege && siege->GetSiege())
            siege->GetSiege()->StartAssault();
        assault.garrison = GarrisonIn(id);
        battles.push_back(assault);
    }
    g_scheduler.FlushSend();
    for (int day = 0; day < kFireDays; ++day)
        RunBattleDay();
    return battles;
}

void EndBattles(const std::vector<Battle>& battles, const CDate& start) {
    for (const Battle& battle : battles) {
        CProvince& province = *GetProvince(battle.province);
        // A siege frees its city and garrison when it ends.
        if (const CCity* city = province.GetCity(); city && !city->GetSiegeId().IsNull()) {
            const ObjectId id = city->GetSiegeId();
            if (CCombat* siege = FindCombatById(id); siege && !siege->ended)
                ExecuteEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_ENDED, id, 0, id, start));
        }
        province.combats.reset();
        for (CLandUnit* army : {battle.attacker, battle.defender}) {
            if (!army)
                continue;
            army->GetOwner()->m_units.Remove(army);
            delete army;
        }
    }
    g_scheduler.Clear();
    g_gameTimer->currentDate = start;
}

// The same day's arithmetic over the same armies, on copies of their
// strengths and morale.
float RunPlainDay(const std::vector<Battle>& battles) {
    const CCombatTables& tables = *g_combatTables;
    float left = 0.0f;
    for (const Battle& battle : battles) {
        CLandUnit* defender = battle.defender ? battle.defender : battle.garrison;
        if (!defender)
            continue;
        CLandUnit* sides[2] = {battle.attacker, defender};
        float men[2] = {sides[0]->GetTotalStrength(), sides[1]->GetTotalStrength()};
        float morale[2] = {sides[0]->morale, sides[1]->morale};
        for (int dealer = 0; dealer < 2; ++dealer) {
            const int taker = 1 - dealer;
            float menLoss = 0.0f;
            float moraleLoss = 0.0f;
            tables.Losses(2, 5, sides[dealer]->GetShockPower(), menLoss, moraleLoss);
            men[taker] -= menLoss;
            morale[taker] -= moraleLoss;
        }
        left += men[0] + men[1] + morale[0] + morale[1];
    }
    return left;
}

void BM_BattleDay(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const CDate start = g_gameTimer->GetDate();
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<Battle> battles = StartBattles();
        state.ResumeTiming();
        RunBattleDay();
        state.PauseTiming();
        EndBattles(battles, start);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<int64_t>(kBattles + StartWorld().towns.size()));
}
BENCHMARK(BM_BattleDay)->Unit(benchmark::kMillisecond);

void BM_PlainBattleDay(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const CDate start = g_gameTimer->GetDate();
    const std::vector<Battle> battles = StartBattles();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunPlainDay(battles));
    EndBattles(battles, start);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kBattles));
}
BENCHMARK(BM_PlainBattleDay)->Unit(benchmark::kMicrosecond);

// Both over the same armies, one after the other in each iteration.
void BM_BattleDayRatio(benchmark::State& state) {
    if (!WorldReady(state))
        return;
    const CDate start = g_gameTimer->GetDate();
    using Clock = std::chrono::steady_clock;
    double day = 0.0;
    double plain = 0.0;
    size_t fought = 0;
    for (auto _ : state) {
        const std::vector<Battle> battles = StartBattles();
        std::vector<float> before;
        for (const Battle& battle : battles)
            before.push_back(battle.attacker->GetStrength(2));
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(RunPlainDay(battles));
        const auto t1 = Clock::now();
        RunBattleDay();
        const auto t2 = Clock::now();
        for (const Battle& battle : battles)
            fought += battle.attacker->GetStrength(2) < before[&battle - battles.data()];
        EndBattles(battles, start);
        plain += std::chrono::duration<double>(t1 - t0).count();
        day += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = plain > 0.0 ? day / plain : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.counters["battles"] = static_cast<double>(kBattles);
    state.counters["sieges"] = static_cast<double>(StartWorld().towns.size());
    state.counters["fought"] =
        static_cast<double>(fought) / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.SetLabel(ratio <= kGoalRatio ? "battles within their goal"
                                       : "battles slower than their goal");
}
BENCHMARK(BM_BattleDayRatio)->Unit(benchmark::kMillisecond);

} // namespace
