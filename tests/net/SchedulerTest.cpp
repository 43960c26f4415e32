#include "net/Scheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Session.h"

namespace {

// A message that notes its name in a log when it runs.
class CNamedEvent : public COVEvent {
public:
    CNamedEvent(char name, int32_t dueDayCount, std::string* log, uint32_t type = EVT_UNNAMED_178,
                const ObjectId& receiver = g_broadcastId)
        : COVEvent(EVENT_HEAD_SIZE, type, receiver), name(name), m_log(log) {
        CDate due;
        due.SetFromDays(dueDayCount);
        SetDueDate(due);
    }
    int Execute() override {
        if (m_log)
            *m_log += name;
        return EVENT_NOT_HANDLED;
    }
    const char name;

private:
    std::string* m_log;
};

std::unique_ptr<COVEvent> Named(char name, int32_t dueDayCount, std::string* log = nullptr) {
    return std::make_unique<CNamedEvent>(name, dueDayCount, log);
}

char NameOf(const COVEvent* event) {
    return event ? static_cast<const CNamedEvent*>(event)->name : '-';
}

std::string DrainHeap(CEventHeap& heap) {
    std::string order;
    while (std::unique_ptr<COVEvent> event = heap.PopTop())
        order += NameOf(event.get());
    return order;
}

// Posted in this order, with these day counts:
//   A 5, B 3, C 5, D 3, E 3, F 1.
// Insertion, position by position (a message rises only past a strictly
// later one):
//   A             [A]
//   B at 2 < A    [B A]
//   C at 3        [B A C]
//   D at 4 < A    [B D C A]         (D stays under B: equal dates)
//   E at 5        [B D C A E]
//   F at 6 < C, < B  [F D B A E C]
// Removal takes the last position and sinks it from the root, moving up the
// earlier child (the left one when both are equal) while it is strictly
// earlier:
//   F out, C sinks past D (left of D=B) and E (E < A): [D E B A C]
//   D out, C sinks past E, stops above A (equal):       [E C B A]
//   E out, A sinks past B (B < C):                      [B C A]
//   B out, A stays above C (equal):                     [A C]
//   A, then C.
void PostHandWorkedSequence(CEventHeap& heap) {
    const std::pair<char, int> posts[] = {{'A', 5}, {'B', 3}, {'C', 5},
                                          {'D', 3}, {'E', 3}, {'F', 1}};
    for (const auto& [name, day] : posts)
        heap.Insert(Named(name, day));
}

// A game clock at a given day count for the life of the object.
class ScopedClock {
public:
    explicit ScopedClock(int32_t dayCount) {
        g_gameTimer = std::make_unique<CGameTimer>(15);
        SetDay(dayCount);
    }
    ~ScopedClock() { g_gameTimer.reset(); }
    void SetDay(int32_t dayCount) { g_gameTimer->currentDate.SetFromDays(dayCount); }
};

} // namespace

TEST(EventHeap, EqualDatesLeaveInTheOrderOfTheHeapSteps) {
    CEventHeap heap;
    for (char name : std::string("12345"))
        heap.Insert(Named(name, 400));
    EXPECT_EQ(DrainHeap(heap), "15432");

    for (char name : std::string("12"))
        heap.Insert(Named(name, 400));
    EXPECT_EQ(DrainHeap(heap), "12");
}

TEST(EventHeap, MixedDatesFollowTheHandWorkedSteps) {
    for (int run = 0; run < 2; ++run) {
        CEventHeap heap;
        PostHandWorkedSequence(heap);
        EXPECT_EQ(heap.GetCount(), 6u);
        EXPECT_EQ(NameOf(heap.Peek()), 'F');
        EXPECT_EQ(DrainHeap(heap), "FDEBAC");
        EXPECT_TRUE(heap.IsEmpty());
    }
}

TEST(EventHeap, PreOrderWalk) {
    CEventHeap heap;
    PostHandWorkedSequence(heap); // [F D B A E C]
    std::string order;
    heap.ForEach([&](COVEvent* event) { order += NameOf(event); });
    EXPECT_EQ(order, "FDAEBC");
}

TEST(EventHeap, ManyDatesComeOutInDateOrder) {
    CEventHeap heap;
    uint32_t x = 12345;
    for (int i = 0; i < 2000; ++i) {
        x = x * 214013u + 2531011u;
        heap.Insert(Named('x', 1 + static_cast<int32_t>((x >> 16) % 97)));
        if (i % 3 == 0)
            heap.PopTop(); // removals between insertions
    }
    int32_t previous = 0;
    while (std::unique_ptr<COVEvent> event = heap.PopTop()) {
        const int32_t day = event->GetDueDate().GetDayCount();
        ASSERT_GE(day, previous);
        previous = day;
    }
}

TEST(Scheduler, PostChoosesHeapOrReadyList) {
    struct Case {
        int32_t dayCount;
        bool immediate;
        bool toHeap;
    };
    const Case cases[] = {
        {0, false, false},   // all-zero date
        {-30, false, false}, // a day count below 1
        {1, false, true},          {1492 * 360, false, true},
        {1492 * 360, true, false}, // immediate wins over the date
    };
    for (const Case& c : cases) {
        CScheduler scheduler;
        scheduler.Post(Named('x', c.dayCount), c.immediate);
        EXPECT_EQ(scheduler.IsHeapEmpty(), !c.toHeap) << c.dayCount;
        EXPECT_EQ(scheduler.IsReadyEmpty(), c.toHeap) << c.dayCount;
        EXPECT_EQ(scheduler.GetCount(), 1u);
    }
    CScheduler scheduler;
    scheduler.Post(nullptr, false);
    EXPECT_TRUE(scheduler.IsEmpty());
}

TEST(Scheduler, ReadyMessagesRunFirstInFirstOutBeforeOverdueTimedOnes) {
    ScopedClock clock(1000);
    std::string log;
    CScheduler scheduler;
    scheduler.Post(Named('t', 10, &log), false); // long overdue
    scheduler.Post(Named('a', 0, &log), false);
    scheduler.Post(Named('b', 500, &log), true);
    scheduler.Post(Named('c', 0, &log), false);
    EXPECT_EQ(NameOf(scheduler.PeekNext()), 'a');
    EXPECT_EQ(NameOf(scheduler.PeekTimed()), 't');
    scheduler.RunDue();
    EXPECT_EQ(log, "abct");
    EXPECT_TRUE(scheduler.IsEmpty());
}

TEST(Scheduler, TimedMessageWaitsForItsDate) {
    ScopedClock clock(99);
    std::string log;
    CScheduler scheduler;
    scheduler.Post(Named('t', 100, &log), false);
    EXPECT_EQ(scheduler.PopDue(), nullptr);
    EXPECT_FALSE(scheduler.RunOne());
    EXPECT_EQ(scheduler.GetCount(), 1u);

    clock.SetDay(100);
    EXPECT_TRUE(scheduler.RunOne());
    EXPECT_EQ(log, "t");
    EXPECT_FALSE(scheduler.RunOne());
}

TEST(Scheduler, WithoutAClockOnlyReadyMessagesRun) {
    ASSERT_EQ(g_gameTimer, nullptr);
    std::string log;
    CScheduler scheduler;
    scheduler.Post(Named('t', 1, &log), false);
    scheduler.Post(Named('r', 0, &log), false);
    scheduler.RunDue();
    EXPECT_EQ(log, "r");
    EXPECT_EQ(scheduler.GetCount(), 1u);
}

TEST(Scheduler, WalkVisitsReadyListThenHeapInPreOrder) {
    CScheduler scheduler;
    PostHandWorkedSequence(scheduler);
    scheduler.Post(Named('x', 0), false);
    scheduler.Post(Named('y', 7), true);
    std::string order;
    scheduler.ForEachEvent([&](COVEvent* event) { order += NameOf(event); });
    EXPECT_EQ(order, "xyFDAEBC");
}

TEST(Scheduler, RemoveEventsOnlyNullsTheReceiverOfMatches) {
    const ObjectId country{3, 7};
    CScheduler scheduler;
    scheduler.Post(std::make_unique<CNamedEvent>('a', 50, nullptr, EVT_KILL, country), false);
    scheduler.Post(std::make_unique<CNamedEvent>('b', 20, nullptr, EVT_KILL, country), false);
    scheduler.Post(std::make_unique<CNamedEvent>('c', 30, nullptr, EVT_KILL, ObjectId{3, 8}),
                   false);
    scheduler.Post(std::make_unique<CNamedEvent>('d', 0, nullptr, EVT_PAUSE, country), false);
    scheduler.Post(std::make_unique<CNamedEvent>('e', 0, nullptr, EVT_KILL, country), false);

    EXPECT_EQ(scheduler.RemoveEvents(EVT_KILL, country, [](COVEvent*) { return false; }), 0u);
    EXPECT_EQ(
        scheduler.RemoveEvents(EVT_KILL, country, [](COVEvent* e) { return NameOf(e) != 'e'; }),
        2u);

    std::string nulled;
    std::string order;
    scheduler.ForEachEvent([&](COVEvent* event) {
        order += NameOf(event);
        if (event->GetReceiver().IsNull())
            nulled += NameOf(event);
    });
    EXPECT_EQ(nulled, "ba");
    EXPECT_EQ(scheduler.GetCount(), 5u); // nothing taken out
    std::string heapOrder;
    while (std::unique_ptr<COVEvent> event = scheduler.PopTop())
        heapOrder += NameOf(event.get());
    EXPECT_EQ(heapOrder, "bca");
}

TEST(Scheduler, ClearKeepsOnlyTheInputList) {
    std::string log;
    CScheduler scheduler;
    scheduler.Post(Named('r', 0, &log), false);
    scheduler.Post(Named('t', 40, &log), false);
    scheduler.QueueSend(Named('s', 0, &log));
    scheduler.QueueInput(Named('i', 0, &log));
    scheduler.QueueInput(Named('j', 0, &log));
    scheduler.Clear();
    EXPECT_TRUE(scheduler.IsEmpty());
    EXPECT_EQ(scheduler.GetSendCount(), 0u);
    EXPECT_EQ(scheduler.GetInputCount(), 2u);

    scheduler.RunInput();
    EXPECT_EQ(log, "ij");
    EXPECT_EQ(scheduler.GetInputCount(), 0u);
}

TEST(Scheduler, FlushSendWithoutSessionDropsTheCopies) {
    std::string log;
    CScheduler scheduler;
    scheduler.QueueSend(Named('s', 0, &log));
    scheduler.FlushSend();
    EXPECT_EQ(log, "");
    EXPECT_EQ(scheduler.GetSendCount(), 0u);
}

TEST(Scheduler, FlushSendStampsAndSendsEachCopyInOrder) {
    ScopedClock clock(1500 * 360 + 4 * 30 + 9); // day 9, month 4, 1500
    CNetSession session;
    session.m_active = 1;
    std::vector<std::vector<uint8_t>> sent;
    session.SetSendFunction([&](const std::vector<uint8_t>& block) {
        sent.push_back(block);
        return true;
    });
    g_netSession = &session;

    CScheduler scheduler;
    for (uint32_t type : {EVT_UNNAMED_178, EVT_UNNAMED_179}) {
        COVSimpleEvent event(type, g_broadcastId);
        scheduler.QueueSend(std::make_unique<COVNetEvent>(event));
    }
    scheduler.FlushSend();
    g_netSession = nullptr;

    EXPECT_EQ(scheduler.GetSendCount(), 0u);
    ASSERT_EQ(sent.size(), 2u);
    for (size_t i = 0; i < sent.size(); ++i) {
        ASSERT_EQ(sent[i].size(), 24u);
        EXPECT_EQ(sent[i][4], i == 0 ? EVT_UNNAMED_178 : EVT_UNNAMED_179);
        EXPECT_EQ(sent[i][12], 9);                       // day
        EXPECT_EQ(sent[i][13], 4);                       // month
        EXPECT_EQ(sent[i][14] | sent[i][15] << 8, 1500); // year
    }
}
