// The notifications' listener lists and their broadcast walk.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ai/AINotify.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "tests/ai/AIFixture.h"

namespace {

std::vector<std::string> g_calls;

// Records each war notice it hears; may act on the list while it hears it.
class Ear : public CAIEventListener {
public:
    explicit Ear(std::string name) : m_name(std::move(name)) {}
    void OnWar(int32_t a, int32_t b) override {
        g_calls.push_back(m_name + ":" + std::to_string(a) + "-" + std::to_string(b));
        if (onHear)
            onHear();
    }
    std::function<void()> onHear;

private:
    std::string m_name;
};

constexpr uint32_t kWar = 19;

void Broadcast() {
    NotifyAIListeners(kWar, &CAIEventListener::OnWar, 1, 2);
}

class AINotifyTest : public AIFixture {
protected:
    void SetUp() override {
        AIFixture::SetUp();
        g_calls.clear();
    }
};

TEST_F(AINotifyTest, ListenersHearInListOrderAndHeadSubscribersFirst) {
    Ear a("a"), b("b"), c("c");
    a.Subscribe(kWar, false);
    b.Subscribe(kWar, false);
    c.Subscribe(kWar, true);
    Broadcast();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"c:1-2", "a:1-2", "b:1-2"}));
}

TEST_F(AINotifyTest, AListenerThatLeavesDuringAWalkIsSkippedAndItsEntryGoesAfterIt) {
    Ear a("a"), b("b"), c("c");
    a.Subscribe(kWar, false);
    b.Subscribe(kWar, false);
    c.Subscribe(kWar, false);
    a.onHear = [&] { b.Unsubscribe(kWar); };
    Broadcast();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a:1-2", "c:1-2"}));
    EXPECT_EQ(g_aiListeners[kWar].GetCount(), 2u);
}

TEST_F(AINotifyTest, ASubscriberAddedAtTheTailDuringAWalkIsReachedByThatWalk) {
    Ear a("a"), late("late");
    a.Subscribe(kWar, false);
    a.onHear = [&] {
        a.onHear = nullptr;
        late.Subscribe(kWar, false);
    };
    Broadcast();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a:1-2", "late:1-2"}));
}

TEST_F(AINotifyTest, ANestedBroadcastOfTheSameTypeKeepsTheOuterWalkValid) {
    Ear a("a"), b("b");
    a.Subscribe(kWar, false);
    b.Subscribe(kWar, false);
    a.onHear = [&] {
        a.onHear = nullptr;
        b.Unsubscribe(kWar);
        Broadcast();
    };
    Broadcast();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a:1-2", "a:1-2"}));
    EXPECT_EQ(g_aiListeners[kWar].GetCount(), 1u);
}

// Subscribing twice is one subscription, and leaving clears the listener
// however it was filed: a deleted listener is never called again.
TEST_F(AINotifyTest, ASecondSubscriptionIsOneAndUnsubscribingLeavesNoEntry) {
    Ear a("a");
    a.Subscribe(kWar, false);
    a.Subscribe(kWar, true);
    Broadcast();
    EXPECT_EQ(g_calls.size(), 1u);

    // Even a list that holds the listener twice (filed by hand) is cleared.
    g_aiListeners[kWar].AddTail(&a);
    a.Unsubscribe(kWar);
    g_calls.clear();
    Broadcast();
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(g_aiListeners[kWar].GetCount(), 0u);
}

TEST_F(AINotifyTest, ADeletedListenerLeavesEveryList) {
    auto gone = std::make_unique<Ear>("gone");
    Ear stays("stays");
    gone->Subscribe(kWar, false);
    gone->Subscribe(18, false);
    g_aiListeners[kWar].AddTail(gone.get());
    stays.Subscribe(kWar, false);
    gone.reset();
    Broadcast();
    NotifyAIListeners(18, &CAIEventListener::OnPeace, 1, 2);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"stays:1-2"}));
    EXPECT_EQ(g_aiListeners[18].GetCount(), 0u);
}

TEST_F(AINotifyTest, ABroadcastOnAClientCallsNobody) {
    Ear a("a");
    a.Subscribe(kWar, false);
    ClientScope client;
    Broadcast();
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(AINotifyTest, ClearingDuringAWalkOnlyEmptiesTheEntries) {
    Ear a("a"), b("b");
    a.Subscribe(kWar, false);
    b.Subscribe(kWar, false);
    a.onHear = [] { ClearAIListeners(); };
    Broadcast();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a:1-2"}));
    EXPECT_EQ(g_aiListeners[kWar].GetCount(), 0u);
}

// Records the unit notices it hears, by handler.
class UnitEar : public CAIAgent {
public:
    UnitEar(std::string name, CCountry* country) : CAIAgent(country), m_name(std::move(name)) {}
    CAIKing* GetKing() override { return nullptr; }
    void OnArmyMoved(CUnit&) override { Heard("army moved"); }
    void OnFleetMoved(CUnit&) override { Heard("fleet moved"); }
    void OnArmyStopped(CUnit&) override { Heard("army stopped"); }
    void OnFleetStopped(CUnit&) override { Heard("fleet stopped"); }
    void OnArmyCombatStarted(CUnit&) override { Heard("army fights"); }
    void OnFleetCombatStarted(CUnit&) override { Heard("fleet fights"); }
    void OnArmyCombatEnded(CUnit&) override { Heard("army rests"); }
    void OnFleetCombatEnded(CUnit&) override { Heard("fleet rests"); }

private:
    void Heard(const std::string& what) { g_calls.push_back(m_name + ":" + what); }
    std::string m_name;
};

TEST_F(AINotifyTest, AUnitsNoticesReachItsHolderFirstAndThenTheSubscribersOfTheirType) {
    CAICountry& country = MakeCountry(4);
    UnitEar holder("holder", &country);
    UnitEar ear("ear", &country);
    for (uint32_t type : {0u, 1u, 2u, 3u, 10u, 11u, 12u, 13u})
        ear.Subscribe(type, false);
    CLandUnit army(&country);
    army.AssignNewId();
    army.SetLocation(12);
    army.SetIdleState();
    army.SetAIAgent(&holder);
    CNavalUnit fleet(&country);
    fleet.AssignNewId();
    fleet.SetLocation(13);

    CIntList path;
    path.AddTail(14);
    army.SetPath(1, path);
    army.CancelMovement();
    fleet.SetPath(1, path);
    fleet.CancelMovement();
    army.CombatStarted(ObjectId(4712, 8000), 1, 1);
    army.CombatEnded(ObjectId(4712, 8000));
    fleet.CombatStarted(ObjectId(4712, 8001), 0, 2);
    fleet.CombatEnded(ObjectId(4712, 8001));
    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           "holder:army stopped", "ear:army stopped", "ear:fleet stopped",
                           "holder:army fights", "ear:army fights", "holder:army rests",
                           "ear:army rests", "ear:fleet fights", "ear:fleet rests"}));

    // On a client nobody hears them.
    g_calls.clear();
    ClientScope client;
    army.SetPath(1, path);
    army.CancelMovement();
    EXPECT_TRUE(g_calls.empty());
    army.SetAIAgent(nullptr);
}

} // namespace
