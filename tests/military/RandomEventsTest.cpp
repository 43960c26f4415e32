// The random events: the table of the demo world, the host's draw of each
// major country's next event, the execution of a due event, the console's
// event, and the events without objects.
#include "military/server/RandomEvents.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/CountryTick.h"
#include "engine/CsvReader.h"
#include "engine/Random.h"
#include "military/server/GameServer.h"
#include "net/Posting.h"
#include "tests/TestSupport.h"
#include "tests/military/RequestServersFixture.h"
#include "world/Globals.h"

namespace {

struct CarriedOut {
    uint32_t event;
    ObjectId subject;
};
std::vector<CarriedOut> g_carriedOut;

class RandomEventsTest : public test::RequestServersTest {
protected:
    void SetUp() override {
        RequestServersTest::SetUp();
        m_hooks = g_randomEventHooks;
        g_randomEventHooks.carryOut = [](CGameEventObject& object, COVEvent& event) {
            g_carriedOut.push_back(
                {object.GetId().number, event.Payload().Get(ExecuteEventPayload::kSubject)});
        };
        g_carriedOut.clear();
        g_config->SetWord(ConfigOffset::kRandomEvents, 1);
        g_gameServer = new CGameServer;
        {
            test::InFolder demo(test::DemoWorldDir());
            g_randomEvents = std::make_unique<CRandomEvents>();
        }
        for (uint32_t n : {1u, 2u})
            Make(n).m_major = 1;
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_randomEvents.reset();
        delete g_gameServer;
        g_gameServer = nullptr;
        g_randomEventHooks = m_hooks;
        RequestServersTest::TearDown();
    }

    // The queued messages, copied, with their due dates.
    static std::vector<std::unique_ptr<COVEvent>> Pending() {
        std::vector<std::unique_ptr<COVEvent>> pending;
        g_scheduler.ForEachEvent([&pending](COVEvent* event) {
            auto copy = CreateEventCopy(*event);
            copy->SetDueDate(event->GetDueDate());
            pending.push_back(std::move(copy));
        });
        return pending;
    }

    // The seed under which a roll draws the number n.
    static uint32_t SeedDrawing(uint32_t n) {
        for (uint32_t seed = 1;; ++seed) {
            GameSrand(seed);
            GameRand();
            if (static_cast<uint32_t>(GameRand()) % 59 + 1 == n)
                return seed;
        }
    }

    // Runs the one pending event as its due date comes; empties the queue.
    static void RunPending() {
        auto pending = Pending();
        ASSERT_EQ(pending.size(), 1u);
        g_scheduler.Clear();
        ExecuteEvent(std::move(pending[0]));
    }

    RandomEventHooks m_hooks;
};

TEST_F(RandomEventsTest, TheDemoTableNamesTheDrawnEventsAndABadTableIsReadAsFarAsItGoes) {
    EXPECT_EQ(g_randomEvents->GetEventName(1), "Bountiful harvest");
    EXPECT_EQ(g_randomEvents->GetEventName(59), "Lucky prize at sea");
    EXPECT_EQ(g_randomEvents->GetEventName(4), "");
    EXPECT_EQ(g_randomEvents->GetEventName(100), "");
    EXPECT_EQ(g_randomEvents->GetEventName(5000), "");

    test::ScopedGameDir folder;
    test::BoxRecorder boxes;
    folder.WriteFile("db/RandomEvents.csv", "event;name\r\n1;One\r\n7;Seven;extra;cells\r\n3");
    CCsvReader reader("db\\RandomEvents.csv");
    EXPECT_EQ(g_randomEvents->ReadTable(reader), 3u);
    EXPECT_EQ(g_randomEvents->GetEventName(1), "One");
    EXPECT_EQ(g_randomEvents->GetEventName(2), "Seven");
    EXPECT_EQ(g_randomEvents->GetEventName(3), "");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(RandomEventsTest, TheHostSchedulesOneEventTwoToFourYearsAheadOnEveryMachine) {
    for (uint32_t seed = 1; seed < 60; ++seed) {
        GameSrand(seed);
        g_randomEvents->Roll(1);
        const auto pending = Pending();
        ASSERT_EQ(pending.size(), 1u) << seed;
        const COVEvent& event = *pending[0];
        EXPECT_EQ(event.GetType(), EVT_EXECUTE_EVENT);
        EXPECT_EQ(event.GetReceiver(), g_serverId);
        EXPECT_EQ(event.GetSendFlag(), 0); // the queue's copy; sent when due
        CDate earliest = kToday;
        earliest.AddMonths(24);
        CDate latest = kToday;
        latest.AddMonths(47);
        EXPECT_TRUE(event.GetDueDate().IsNotBefore(earliest)) << seed;
        EXPECT_FALSE(event.GetDueDate().IsAfter(latest)) << seed;
        const ObjectId id = event.Payload().Get(ExecuteEventPayload::kEvent);
        EXPECT_NE(CRandomEvents::FindEvent(id.number), nullptr) << id.number;
        EXPECT_EQ(event.Payload().Get(ExecuteEventPayload::kSubject), ObjectId(3, 1));
        g_scheduler.Clear();
    }
}

TEST_F(RandomEventsTest, ANumberWithoutAnEventTakesTheNextAndTheDrawWraps) {
    struct Case {
        uint32_t drawn;
        uint32_t taken;
    };
    CRandomEvents::FindEvent(59)->Unregister();
    for (const Case& c : {Case{4, 7}, Case{19, 20}, Case{55, 57}, Case{59, 1}, Case{1, 1}}) {
        GameSrand(SeedDrawing(c.drawn));
        g_randomEvents->Roll(2);
        const auto pending = Pending();
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_EQ(pending[0]->Payload().Get(ExecuteEventPayload::kEvent).number, c.taken)
            << c.drawn;
        g_scheduler.Clear();
    }
}

TEST_F(RandomEventsTest, OnAClientNoEventIsDrawnAtTheStartOfTheGame) {
    BecomeClient();
    ASSERT_NE(g_countryTick.rollRandomEvent, nullptr);
    g_countryTick.rollRandomEvent(1);
    g_randomEvents->Roll(2);
    EXPECT_TRUE(Pending().empty());
}

TEST_F(RandomEventsTest, ADueEventIsCarriedOutAndTheCountrysNextIsDrawn) {
    g_randomEvents->Roll(1);
    const uint32_t number = Pending()[0]->Payload().Get(ExecuteEventPayload::kEvent).number;
    RunPending();
    ASSERT_EQ(g_carriedOut.size(), 1u);
    EXPECT_EQ(g_carriedOut[0].event, number);
    EXPECT_EQ(g_carriedOut[0].subject, ObjectId(3, 1));
    EXPECT_EQ(CRandomEvents::FindEvent(number)->country, 1u);
    // The next one is pending, and so on.
    RunPending();
    EXPECT_EQ(g_carriedOut.size(), 2u);
    EXPECT_EQ(Pending().size(), 1u);

    // With the random events switched off the chain ends.
    g_config->SetWord(ConfigOffset::kRandomEvents, 0);
    RunPending();
    EXPECT_EQ(g_carriedOut.size(), 3u);
    EXPECT_TRUE(Pending().empty());
}

TEST_F(RandomEventsTest, TheConsolesEventDrawsNoNextEventButLeavesOtherCountriesChains) {
    GameSrand(SeedDrawing(8));
    g_randomEvents->Roll(2); // country 2's pending event is number 8
    auto pending = Pending();
    ASSERT_EQ(pending[0]->Payload().Get(ExecuteEventPayload::kEvent).number, 8u);
    g_scheduler.Clear();

    g_randomEvents->Fire(1, 8);
    g_scheduler.RunDue();
    ASSERT_EQ(g_carriedOut.size(), 1u);
    EXPECT_EQ(g_carriedOut[0].subject, ObjectId(3, 1));
    EXPECT_TRUE(Pending().empty()); // no next event for country 1

    // Country 2's event 8 comes due and draws country 2's next.
    ExecuteEvent(std::move(pending[0]));
    EXPECT_EQ(g_carriedOut.size(), 2u);
    EXPECT_EQ(Pending().size(), 1u);
}

TEST_F(RandomEventsTest, EventsWithoutObjectsAndTheNumberZeroDoNothing) {
    g_randomEvents->Fire(1, 0);
    g_randomEvents->Fire(1, 4);
    g_randomEvents->Fire(1, 1000);
    g_randomEvents->Fire(77, 1); // no such country
    g_scheduler.RunDue();
    auto stray = std::make_unique<COVDataEvent>(EVT_EXECUTE_EVENT, g_serverId);
    stray->Payload().Set(ExecuteEventPayload::kEvent, ObjectId(7, 5));
    stray->Payload().Set(ExecuteEventPayload::kSubject, ObjectId(3, 1));
    ExecuteEvent(std::move(stray));
    EXPECT_TRUE(g_carriedOut.empty());
    EXPECT_TRUE(Pending().empty());

    // Every random event's number resolves; none of 60..100 does.
    for (uint32_t n = 60; n <= 100; ++n)
        EXPECT_EQ(CRandomEvents::FindEvent(n), nullptr) << n;
    EXPECT_EQ(CRandomEvents::FindEvent(401)->GetEventKind(), CGameEventObject::kHistoryEvent);
}

TEST_F(RandomEventsTest, TheReformationEventRunsEventSevenForCountryOneWithoutANextEvent) {
    ASSERT_NE(g_raiseReformationEvent, nullptr);
    g_raiseReformationEvent(1234);
    ASSERT_EQ(g_carriedOut.size(), 1u);
    EXPECT_EQ(g_carriedOut[0].event, 7u);
    EXPECT_EQ(g_carriedOut[0].subject, ObjectId(3, 1));
    EXPECT_TRUE(Pending().empty());
    EXPECT_EQ(CRandomEvents::FindEvent(7)->firedByCommand, 0);
}

TEST_F(RandomEventsTest, AHistoryEventIsCarriedOutForTheCountryPlayedHere) {
    g_countryController[2] = 1;
    auto history = std::make_unique<COVDataEvent>(EVT_EXECUTE_EVENT, g_serverId);
    history->Payload().Set(ExecuteEventPayload::kEvent, ObjectId(7, 101));
    history->Payload().Set(ExecuteEventPayload::kSubject, ObjectId(3, 1));
    ExecuteEvent(std::move(history));
    ASSERT_EQ(g_carriedOut.size(), 1u);
    EXPECT_EQ(g_carriedOut[0].event, 101u);
    EXPECT_EQ(g_carriedOut[0].subject, ObjectId(3, 2));
    EXPECT_TRUE(Pending().empty());
}

} // namespace
