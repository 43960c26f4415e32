// The scheduler's date heap against a plain std::priority_queue that keeps
// each message's due day beside its pointer as the heap does: a million
// dated messages posted, then all run once the game date has passed them.
// BM_SchedulerRatio times both in the same iterations and reports ratio =
// scheduler time / queue time; the goal is 1.5 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <queue>
#include <utility>
#include <vector>

#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"

namespace {

constexpr int kMessages = 1000000;
constexpr double kGoalRatio = 1.5;

// Due dates spread over 1500 to 1510, drawn from the game's generator
// formula so that both runs see the same sequence.
std::vector<CDate> MakeDates() {
    std::vector<CDate> dates;
    dates.reserve(kMessages);
    uint32_t x = 1;
    for (int i = 0; i < kMessages; ++i) {
        x = x * 214013u + 2531011u;
        CDate date;
        date.SetFromDays(1500 * 360 + static_cast<int32_t>((x >> 16) % 3600));
        dates.push_back(date);
    }
    return dates;
}

std::unique_ptr<COVEvent> Dated(const CDate& date) {
    // A date with no receiver: running it reaches nobody.
    auto event = std::make_unique<COVSimpleEvent>(EVT_UNNAMED_178, g_nullId);
    event->SetDueDate(date);
    return event;
}

// Posts every message to the scheduler and runs them all.
uint32_t SchedulerPostAndRun(const std::vector<CDate>& dates) {
    CScheduler scheduler;
    for (const CDate& date : dates)
        scheduler.Post(Dated(date), false);
    scheduler.RunDue();
    return scheduler.GetCount();
}

// The baseline keeps each message's due day beside its pointer, as the
// scheduler's heap does, and compares the kept keys only.
using KeyedEvent = std::pair<int64_t, std::unique_ptr<COVEvent>>;

struct LaterKey {
    bool operator()(const KeyedEvent& a, const KeyedEvent& b) const { return a.first > b.first; }
};

size_t QueuePostAndRun(const std::vector<CDate>& dates) {
    std::priority_queue<KeyedEvent, std::vector<KeyedEvent>, LaterKey> queue;
    for (const CDate& date : dates) {
        std::unique_ptr<COVEvent> event = Dated(date);
        const int64_t key = event->GetDueDate().GetDayCount();
        queue.emplace(key, std::move(event));
    }
    while (!queue.empty()) {
        queue.top().second->Execute();
        queue.pop();
    }
    return queue.size();
}

// A clock past every due date, for the scheduler's RunDue.
struct ClockPastTheDates {
    ClockPastTheDates() {
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(0, 0, 1600);
    }
    ~ClockPastTheDates() { g_gameTimer.reset(); }
};

void BM_SchedulerPostAndRun(benchmark::State& state) {
    const std::vector<CDate> dates = MakeDates();
    ClockPastTheDates clock;
    for (auto _ : state)
        benchmark::DoNotOptimize(SchedulerPostAndRun(dates));
    state.SetItemsProcessed(state.iterations() * kMessages);
}

void BM_PriorityQueuePostAndRun(benchmark::State& state) {
    const std::vector<CDate> dates = MakeDates();
    for (auto _ : state)
        benchmark::DoNotOptimize(QueuePostAndRun(dates));
    state.SetItemsProcessed(state.iterations() * kMessages);
}

// Both over the same dates in each iteration: ratio = scheduler time /
// queue time, against its goal.
void BM_SchedulerRatio(benchmark::State& state) {
    const std::vector<CDate> dates = MakeDates();
    ClockPastTheDates clock;
    using Clock = std::chrono::steady_clock;
    double scheduler = 0.0;
    double queue = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(SchedulerPostAndRun(dates));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(QueuePostAndRun(dates));
        const auto t2 = Clock::now();
        scheduler += std::chrono::duration<double>(t1 - t0).count();
        queue += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = queue > 0.0 ? scheduler / queue : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.SetLabel(ratio <= kGoalRatio ? "the scheduler within its goal"
                                       : "the scheduler slower than its goal");
}

} // namespace

BENCHMARK(BM_SchedulerPostAndRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PriorityQueuePostAndRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchedulerRatio)->Unit(benchmark::kMillisecond);
