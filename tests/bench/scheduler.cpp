// The scheduler's date heap against a plain std::priority_queue: a million
// dated messages posted, then all run once the game date has passed them.
#include <benchmark/benchmark.h>

#include <memory>
#include <queue>
#include <vector>

#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"

namespace {

constexpr int kMessages = 1000000;

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

void BM_SchedulerPostAndRun(benchmark::State& state) {
    const std::vector<CDate> dates = MakeDates();
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->currentDate = CDate(0, 0, 1600);
    for (auto _ : state) {
        CScheduler scheduler;
        for (const CDate& date : dates)
            scheduler.Post(Dated(date), false);
        scheduler.RunDue();
        benchmark::DoNotOptimize(scheduler.GetCount());
    }
    g_gameTimer.reset();
    state.SetItemsProcessed(state.iterations() * kMessages);
}

struct LaterDue {
    bool operator()(const std::unique_ptr<COVEvent>& a, const std::unique_ptr<COVEvent>& b) const {
        return a->GetDueDate().GetDayCount() > b->GetDueDate().GetDayCount();
    }
};

void BM_PriorityQueuePostAndRun(benchmark::State& state) {
    const std::vector<CDate> dates = MakeDates();
    for (auto _ : state) {
        std::priority_queue<std::unique_ptr<COVEvent>, std::vector<std::unique_ptr<COVEvent>>,
                            LaterDue>
            queue;
        for (const CDate& date : dates)
            queue.push(Dated(date));
        while (!queue.empty()) {
            queue.top()->Execute();
            queue.pop();
        }
        benchmark::DoNotOptimize(queue.size());
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
}

} // namespace

BENCHMARK(BM_SchedulerPostAndRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PriorityQueuePostAndRun)->Unit(benchmark::kMillisecond);
