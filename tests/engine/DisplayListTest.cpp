// The display list and drawable groups: drawing order by layer, events
// offered from the top with the answers 0 to 3, removal during a walk, and
// animation ticks arriving through g_animationDispatch.
#include "engine/DisplayList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Drawable.h"
#include "net/ClockEvents.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"

namespace {

// Records every draw and event in one shared log, and answers events as
// told.
struct Probe : Drawable {
    Probe(std::string probeName, std::vector<std::string>& probeLog, int probeAnswer = 0)
        : name(std::move(probeName)), log(probeLog), answer(probeAnswer) {}
    ~Probe() override { log.push_back("~" + name); }

    int HandleEvent(COVEvent& /*event*/) override {
        log.push_back("event " + name);
        return answer;
    }
    void Draw(int32_t param) override {
        log.push_back("draw " + name + " " + std::to_string(param));
    }

    std::string name;
    std::vector<std::string>& log;
    int answer;
};

// g_displayList made for the test and deleted after.
class DisplayListTest : public ::testing::Test {
protected:
    DisplayListTest() {
        g_displayList = new CDisplayList;
        list = g_displayList;
    }
    ~DisplayListTest() override {
        delete g_displayList;
        g_animationDispatch = nullptr;
    }

    CInputEvent Click() { return CInputEvent(EVT_MOUSELBDOWN, g_broadcastId, 0, 0, 5, 5); }

    CDisplayList* list = nullptr;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(DisplayListTest, DrawsByLayerFromTheBottomAndOffersEventsFromTheTop) {
    Probe low("low", log), high("high", log), first("first", log), later("later", log),
        passive("passive", log);
    list->Add(&high, 2000, 0);
    list->Add(&low, 100, 0);
    list->Add(&first, 500, 0);
    list->Add(&later, 500, 0); // goes under "first"
    list->Add(&passive, 500, 3);
    list->DrawAll();
    EXPECT_EQ(log,
              (Log{"draw low 0", "draw passive 3", "draw later 0", "draw first 0", "draw high 0"}));

    log.clear();
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), 0);
    EXPECT_EQ(log, (Log{"event high", "event first", "event later", "event low"}));
    for (Probe* probe : {&low, &high, &first, &later, &passive})
        list->RemoveObject(probe);
    EXPECT_TRUE(list->IsEmpty());
}

TEST_F(DisplayListTest, OnlyAnswerOneStopsTheWalkAndDeletesTheTaker) {
    auto* taker = new Probe("taker", log, 1);
    Probe above("above", log, 7), below("below", log);
    list->Add(&below, 100, 0);
    list->Add(taker, 200, 0);
    list->Add(taker, 200, 4); // a second entry of the same object
    list->Add(&above, 300, 0);
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), 3);
    EXPECT_EQ(log, (Log{"event above", "event taker", "~taker"}));
    // Every entry of the deleted object is gone.
    EXPECT_EQ(list->GetCount(), 2u);
    log.clear();
    list->DrawAll();
    EXPECT_EQ(log, (Log{"draw below 0", "draw above 0"}));
    list->RemoveObject(&above);
    list->RemoveObject(&below);
}

TEST_F(DisplayListTest, RemovalsFindEntriesByObjectAndParam) {
    auto* shown = new Probe("shown", log);
    Probe other("other", log);
    list->Add(shown, 100, 0);
    list->Add(shown, 100, 2);
    EXPECT_FALSE(list->Remove(&other, 0));
    EXPECT_FALSE(list->RemoveAndDelete(shown, 5));
    EXPECT_EQ(list->GetCount(), 2u);
    EXPECT_TRUE(list->Remove(shown, 2));
    EXPECT_EQ(list->GetCount(), 1u);
    EXPECT_TRUE(list->RemoveAndDelete(shown, 0));
    EXPECT_EQ(log, (Log{"~shown"}));
    EXPECT_TRUE(list->IsEmpty());
}

// A drawable that deletes another one while it handles an event.
struct Killer : Drawable {
    explicit Killer(Drawable* victimToDelete) : victim(victimToDelete) {}
    int HandleEvent(COVEvent& /*event*/) override {
        delete victim;
        victim = nullptr;
        return 0;
    }
    Drawable* victim;
};

TEST_F(DisplayListTest, ADrawableDeletedDuringTheWalkIsPassedOver) {
    auto* victim = new Probe("victim", log);
    Killer killer(victim);
    list->Add(victim, 100, 0);
    list->Add(&killer, 200, 0);
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), 0);
    EXPECT_EQ(log, (Log{"~victim"}));
    EXPECT_EQ(list->GetCount(), 1u);
    list->RemoveObject(&killer);
}

TEST_F(DisplayListTest, AnimationTicksReachTheDisplayList) {
    Probe probe("probe", log);
    list->Add(&probe, 100, 0);
    COVTickAnimationsEvent tick(3);
    EXPECT_EQ(tick.Execute(), 0);
    EXPECT_EQ(log, (Log{"event probe"}));
    list->RemoveObject(&probe);
}

TEST(DrawableGroupTest, ChildrenDrawInOrderAndTheTopmostTakesEventsFirst) {
    std::vector<std::string> log;
    auto* group = new CDrawableGroup;
    auto* back = new Probe("back", log);
    auto* middle = new Probe("middle", log, 2);
    auto* front = new Probe("front", log);
    group->AddTail(back);
    group->AddTail(middle);
    group->AddTail(front);
    group->Draw(1);
    group->DrawChildren(4);
    EXPECT_EQ(log, (Log{"draw back 1", "draw middle 1", "draw front 1", "draw front 4",
                        "draw middle 4", "draw back 4"}));

    // "middle" answers 2 and comes to the top; the group answers 3.
    log.clear();
    CInputEvent click(EVT_MOUSELBDOWN, g_broadcastId);
    EXPECT_EQ(group->HandleEvent(click), 3);
    EXPECT_EQ(log, (Log{"event front", "event middle"}));
    log.clear();
    group->Draw(0);
    EXPECT_EQ(log, (Log{"draw back 0", "draw front 0", "draw middle 0"}));

    // Answer 1 removes and deletes the child.
    middle->answer = 1;
    log.clear();
    EXPECT_EQ(group->HandleEvent(click), 3);
    EXPECT_EQ(log, (Log{"event middle", "~middle"}));
    EXPECT_EQ(group->GetCount(), 2u);

    // Nobody takes it: every child sees it, the group answers 0.
    log.clear();
    EXPECT_EQ(group->HandleEvent(click), 0);
    EXPECT_EQ(log, (Log{"event front", "event back"}));

    // The group deletes its children with itself.
    log.clear();
    delete group;
    EXPECT_EQ(log.size(), 2u);
}

} // namespace
