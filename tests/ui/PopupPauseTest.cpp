// Countdowns, the timed drawable list and the pause the message boxes hold:
// only a pause the boxes made is undone, and a network game is never paused
// or resumed by them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "ui/widgets/PopupPause.h"
#include "ui/widgets/TimedDrawable.h"

namespace {

bool g_paused = false;

class PopupPauseTest : public ::testing::Test {
protected:
    PopupPauseTest() {
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        ResetPopupPause();
        m_savedPaused = g_gameState.isPaused;
        g_gameState.isPaused = [] { return g_paused; };
        g_paused = false;
    }
    ~PopupPauseTest() override {
        g_scheduler.Clear();
        ResetPopupPause();
        g_gameState.isPaused = m_savedPaused;
        g_gameTimer.reset();
        g_netSession = nullptr;
    }

    // The types of the messages posted since the last call.
    static std::vector<uint32_t> Posted() {
        std::vector<uint32_t> types;
        g_scheduler.ForEachEvent([&](COVEvent* event) { types.push_back(event->GetType()); });
        g_scheduler.Clear();
        return types;
    }
    static void SetInterrupts(uint32_t n) { g_gameTimer->interrupts = n; }

private:
    bool (*m_savedPaused)() = nullptr;
};

using Types = std::vector<uint32_t>;

TEST_F(PopupPauseTest, CountdownExpiresAfterItsUnitsOfSeventyInterrupts) {
    SetInterrupts(1000);
    CCountdown countdown(2, "left");
    ASSERT_TRUE(countdown.text);
    EXPECT_EQ(*countdown.text, "left");
    CCountdown zero(0, nullptr);
    CInputEvent any(EVT_MOUSEMOVE, ObjectId{});
    EXPECT_EQ(zero.HandleEvent(any), DRAWABLE_DELETE_ME) << "a countdown of 0 ends at once";

    struct Case {
        uint32_t now;
        int32_t remaining;
        int answer;
    } cases[] = {
        {1000, 2, DRAWABLE_NOT_TAKEN},  {1001, 1, DRAWABLE_NOT_TAKEN}, // 139 left
        {1139, 0, DRAWABLE_NOT_TAKEN},  {1140, 0, DRAWABLE_DELETE_ME},
        {1300, -2, DRAWABLE_DELETE_ME},
    };
    for (const Case& c : cases) {
        SetInterrupts(c.now);
        EXPECT_EQ(countdown.GetRemaining(), c.remaining) << c.now;
        EXPECT_EQ(countdown.HandleEvent(any), c.answer) << c.now;
    }
    // The interrupt counter wraps round without ending the countdown early.
    SetInterrupts(0xFFFFFFF0u);
    CCountdown wrapping(1, nullptr);
    SetInterrupts(20);
    EXPECT_EQ(wrapping.HandleEvent(any), DRAWABLE_NOT_TAKEN);
    SetInterrupts(60);
    EXPECT_EQ(wrapping.HandleEvent(any), DRAWABLE_DELETE_ME);
}

TEST_F(PopupPauseTest, BoxesPauseOnceAndTheLastOneResumes) {
    PushPopupPause();
    PushPopupPause();
    EXPECT_EQ(Posted(), (Types{EVT_PAUSE, EVT_PAUSE}));
    g_paused = true; // the pause control ran the pause message
    PopPopupPause();
    EXPECT_EQ(Posted(), Types{});
    PopPopupPause();
    EXPECT_EQ(Posted(), Types{EVT_UNPAUSE});
    EXPECT_EQ(g_popupPauseCount, 0);
    // A close without an open box neither counts below 0 nor resumes.
    PopPopupPause();
    EXPECT_EQ(g_popupPauseCount, 0);
    EXPECT_EQ(Posted(), Types{});
}

TEST_F(PopupPauseTest, GamePausedByThePlayerStaysPausedAfterTheBoxes) {
    g_paused = true;
    PushPopupPause();
    PopPopupPause();
    EXPECT_EQ(Posted(), Types{EVT_PAUSE}) << "no resume of the player's pause";
}

TEST_F(PopupPauseTest, NetworkGameIsNeitherPausedNorResumedByBoxes) {
    CNetSession session;
    session.m_active = 1;
    g_netSession = &session;
    PushPopupPause();
    PopPopupPause();
    EXPECT_EQ(Posted(), Types{});
    EXPECT_EQ(g_popupPauseCount, 0);

    // A box opened before the session began does not resume it either.
    session.m_active = 0;
    PushPopupPause();
    session.m_active = 1;
    PopPopupPause();
    EXPECT_EQ(Posted(), Types{EVT_PAUSE});
}

TEST_F(PopupPauseTest, PauseMessageIsLocalForEverybodyWithTheSlot) {
    CNetSession session;
    session.m_localSlot = 3;
    g_netSession = &session;
    PushPopupPause();
    COVEvent* posted = nullptr;
    g_scheduler.ForEachEvent([&](COVEvent* event) { posted = event; });
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->GetType(), EVT_PAUSE);
    EXPECT_EQ(COVPauseEvent(*posted).GetValue(), 3u);
    EXPECT_EQ(posted->GetReceiver(), g_broadcastId);
    EXPECT_EQ(posted->GetSendFlag(), 0);
}

// An item that counts what it sees.
class CountingItem : public CTimedDrawable {
public:
    explicit CountingItem(int* deaths) : m_deaths(deaths) {}
    ~CountingItem() override { ++*m_deaths; }
    int HandleEvent(COVEvent&) override {
        ++events;
        return answer;
    }
    void Draw(int32_t) override { ++draws; }
    int answer = DRAWABLE_NOT_TAKEN;
    int events = 0;
    int draws = 0;

private:
    int* m_deaths;
};

TEST_F(PopupPauseTest, TimedListDropsFinishedAndExpiredItemsAndNeverTakesEvents) {
    int deaths = 0;
    {
        CTimedDrawableList list;
        CInputEvent any(EVT_MOUSEMOVE, ObjectId{});
        EXPECT_EQ(list.HandleEvent(any), DRAWABLE_NOT_TAKEN);
        list.Draw(0);

        auto* done = new CountingItem(&deaths);
        done->finished = 1;
        done->removeWhenFinished = 1;
        auto* kept = new CountingItem(&deaths);
        kept->finished = 1;
        auto* expiring = new CountingItem(&deaths);
        expiring->answer = DRAWABLE_DELETE_ME;
        auto* taking = new CountingItem(&deaths);
        taking->answer = DRAWABLE_TAKEN;
        for (CTimedDrawable* item :
             {static_cast<CTimedDrawable*>(done), static_cast<CTimedDrawable*>(kept),
              static_cast<CTimedDrawable*>(expiring), static_cast<CTimedDrawable*>(taking)})
            list.AddTail(item);

        EXPECT_EQ(list.HandleEvent(any), DRAWABLE_NOT_TAKEN);
        EXPECT_EQ(deaths, 2);
        EXPECT_EQ(list.GetCount(), 2u);
        EXPECT_EQ(kept->events, 0);
        EXPECT_EQ(taking->events, 1);
        list.Draw(0);
        EXPECT_EQ(kept->draws, 1);
        EXPECT_EQ(taking->draws, 1);
    }
    EXPECT_EQ(deaths, 4) << "the list deletes its items";
}

} // namespace
