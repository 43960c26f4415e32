#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/net/ScopedSeams.h"

namespace {

// Country 1 records the flags of every message that reaches it.
struct Delivery {
    uint8_t send;
    uint8_t local;
};
std::vector<Delivery> g_deliveries;

class RecordingCountry : public CEventHandler {
public:
    int HandleEvent(COVEvent& event) override {
        g_deliveries.push_back({event.GetSendFlag(), event.GetLocalFlag()});
        return EVENT_CONSUMED;
    }
};

RecordingCountry g_country1;

enum class Where { Now, Ready, Heap };

const CDate kFuture(3, 4, 1600);

struct Case {
    const char* name;
    std::function<int(std::unique_ptr<COVEvent>)> post;
    bool client;
    uint8_t presetSend; // as the sender built it
    uint8_t send;       // expected flags when it runs or waits
    uint8_t local;
    Where where;
};

int At(int (*post)(std::unique_ptr<COVEvent>, const CDate&), std::unique_ptr<COVEvent> event) {
    return post(std::move(event), kFuture);
}

class PostingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_deliveries.clear();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        g_directReceivers.country = [](uint32_t number) -> CEventHandler* {
            return number == 1 ? &g_country1 : nullptr;
        };
        session.m_active = 1;
    }
    void TearDown() override {
        g_netSession = nullptr;
        g_gameTimer.reset();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
    }

    static std::unique_ptr<COVEvent> Message(uint8_t send = 0) {
        auto event = std::make_unique<COVSimpleEvent>(EVT_GAME_END, ObjectId(3, 1));
        event->SetSendFlag(send);
        return event;
    }

    nettest::ScopedSeams seams;
    CNetSession session;
};

TEST_F(PostingTest, FlagsAndTimingOnHostAndClient) {
    const auto at = [](int (*post)(std::unique_ptr<COVEvent>, const CDate&)) {
        return [post](std::unique_ptr<COVEvent> event) { return At(post, std::move(event)); };
    };
    const Case cases[] = {
        {"PostEventAt", at(PostEventAt), false, 1, 0, 1, Where::Heap},
        {"PostEventAt", at(PostEventAt), true, 1, 0, 1, Where::Heap},
        {"PostEventAtAndSend", at(PostEventAtAndSend), true, 0, 1, 1, Where::Heap},
        {"PostRequestAt", at(PostRequestAt), false, 0, 0, 1, Where::Heap},
        {"PostRequestAt", at(PostRequestAt), false, 1, 1, 1, Where::Heap},
        {"PostRequestAt", at(PostRequestAt), true, 0, 1, 0, Where::Heap},
        {"PostEventNow", PostEventNow, false, 1, 1, 1, Where::Ready},
        {"PostEventNow", PostEventNow, true, 0, 0, 1, Where::Ready},
        {"PostAndSendEventNow", PostAndSendEventNow, false, 0, 1, 1, Where::Ready},
        {"PostRequestNow", PostRequestNow, false, 0, 0, 1, Where::Ready},
        {"PostRequestNow", PostRequestNow, true, 0, 1, 0, Where::Ready},
        {"ExecuteEvent", ExecuteEvent, false, 0, 0, 1, Where::Now},
        {"ExecuteEvent", ExecuteEvent, true, 1, 1, 1, Where::Now},
        {"ExecuteAndSendEvent", ExecuteAndSendEvent, true, 0, 1, 1, Where::Now},
        {"ExecuteRequest", ExecuteRequest, false, 0, 0, 1, Where::Now},
        {"ExecuteRequest", ExecuteRequest, false, 1, 1, 1, Where::Now},
        {"ExecuteRequest", ExecuteRequest, true, 0, 1, 0, Where::Now},
        {"SendEventOnly", SendEventOnly, false, 0, 1, 0, Where::Now},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.client ? " on a client" : " on the host"));
        g_deliveries.clear();
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        g_netSession = c.client ? &session : nullptr;

        const int answer = c.post(Message(c.presetSend));

        if (c.where == Where::Now) {
            EXPECT_EQ(answer, c.local ? EVENT_CONSUMED : 0);
            EXPECT_EQ(g_scheduler.GetCount(), 0u);
            EXPECT_EQ(g_scheduler.GetSendCount(), c.send);
            if (c.local) {
                ASSERT_EQ(g_deliveries.size(), 1u);
                EXPECT_EQ(g_deliveries[0].send, c.send);
            } else {
                EXPECT_TRUE(g_deliveries.empty());
            }
            continue;
        }
        EXPECT_EQ(answer, 0);
        EXPECT_TRUE(g_deliveries.empty()); // nothing runs before the scheduler does
        ASSERT_EQ(g_scheduler.GetCount(), 1u);
        EXPECT_EQ(g_scheduler.IsReadyEmpty(), c.where == Where::Heap);
        const COVEvent* queued = g_scheduler.PeekNext();
        ASSERT_NE(queued, nullptr);
        EXPECT_EQ(queued->GetSendFlag(), c.send);
        EXPECT_EQ(queued->GetLocalFlag(), c.local);
        if (c.where == Where::Heap) {
            EXPECT_EQ(queued->GetDueDate(), kFuture);
        }
    }
}

TEST_F(PostingTest, DatedPostingWithAZeroDateGoesToTheReadyList) {
    PostEventAt(Message(), CDate());
    PostRequestAt(Message(), CDate(0, 0, 0));
    EXPECT_EQ(g_scheduler.GetCount(), 2u);
    EXPECT_TRUE(g_scheduler.IsHeapEmpty());
}

TEST_F(PostingTest, SettingTheDueDateKeepsTheDateHeader) {
    auto event = Message();
    const uint8_t header[4] = {1, 2, 3, 4};
    event->Payload().SetBytes(EVENT_OFS_DUE_DATE, header, 4);
    PostEventAt(std::move(event), kFuture);
    const COVEvent* queued = g_scheduler.PeekNext();
    ASSERT_NE(queued, nullptr);
    uint8_t bytes[8];
    queued->Payload().GetBytes(EVENT_OFS_DUE_DATE, bytes, 8);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8),
              (std::vector<uint8_t>{1, 2, 3, 4, 3, 4, 0x40, 0x06}));
}

TEST_F(PostingTest, StampAndExecuteDatesTheMessageAndLeavesItToTheCaller) {
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->currentDate = CDate(17, 8, 1650);
    COVSimpleEvent event(EVT_GAME_END, ObjectId(3, 1));
    EXPECT_EQ(StampAndExecute(event), EVENT_CONSUMED);
    EXPECT_EQ(event.GetDueDate(), CDate(17, 8, 1650));
    EXPECT_EQ(g_deliveries.size(), 1u);
}

TEST_F(PostingTest, NullMessageDoesNothing) {
    EXPECT_EQ(ExecuteAndSendEvent(nullptr), EVENT_NOT_HANDLED);
    EXPECT_EQ(PostEventAt(nullptr, kFuture), EVENT_NOT_HANDLED);
    EXPECT_EQ(g_scheduler.GetCount(), 0u);
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u);
}

} // namespace
