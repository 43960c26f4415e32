// Messages offered to the display list and drawable groups: from the top
// down with every drawable answer, removal during the walk, and the animation
// ticks that reach the display list and animate its sprites.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/DisplayList.h"
#include "engine/Drawable.h"
#include "engine/Sprite.h"
#include "net/ClockEvents.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "tests/TestSupport.h"
#include "tests/engine/DrawableProbe.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using drawtest::Log;
using drawtest::Probe;

class DisplayListEventsTest : public drawtest::DisplayListFixture {
protected:
    CInputEvent Click() { return CInputEvent(EVT_MOUSELBDOWN, g_broadcastId, 0, 0, 5, 5); }
};

TEST_F(DisplayListEventsTest, OffersEventsFromTheTop) {
    drawtest::LayeredProbes probes(*list, log);
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), EVENT_NOT_HANDLED);
    EXPECT_EQ(log, (Log{"event high", "event first", "event later", "event low"}));
    probes.RemoveFrom(*list);
    EXPECT_TRUE(list->IsEmpty());
}

TEST_F(DisplayListEventsTest, OnlyAnswerOneStopsTheWalkAndDeletesTheTaker) {
    auto* taker = new Probe("taker", log, DRAWABLE_DELETE_ME);
    Probe above("above", log, 7), below("below", log);
    list->Add(&below, 100, 0);
    list->Add(taker, 200, 0);
    list->Add(taker, 200, 4); // a second entry of the same object
    list->Add(&above, 300, 0);
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), EVENT_CONSUMED);
    EXPECT_EQ(log, (Log{"event above", "event taker", "~taker"}));
    // Every entry of the deleted object is gone.
    EXPECT_EQ(list->GetCount(), 2u);
    log.clear();
    list->DrawAll();
    EXPECT_EQ(log, (Log{"draw below 0", "draw above 0"}));
    list->RemoveObject(&above);
    list->RemoveObject(&below);
}

// A drawable that deletes another one while it handles an event.
struct Killer : Drawable {
    explicit Killer(Drawable* victimToDelete) : victim(victimToDelete) {}
    int HandleEvent(COVEvent& /*event*/) override {
        delete victim;
        victim = nullptr;
        return DRAWABLE_NOT_TAKEN;
    }
    Drawable* victim;
};

TEST_F(DisplayListEventsTest, ADrawableDeletedDuringTheWalkIsPassedOver) {
    auto* victim = new Probe("victim", log);
    Killer killer(victim);
    list->Add(victim, 100, 0);
    list->Add(&killer, 200, 0);
    CInputEvent click = Click();
    EXPECT_EQ(list->DispatchEvent(click), EVENT_NOT_HANDLED);
    EXPECT_EQ(log, (Log{"~victim"}));
    EXPECT_EQ(list->GetCount(), 1u);
    list->RemoveObject(&killer);
}

TEST_F(DisplayListEventsTest, AnimationTicksReachTheDisplayList) {
    Probe probe("probe", log);
    list->Add(&probe, 100, 0);
    COVTickAnimationsEvent tick(3);
    EXPECT_EQ(tick.Execute(), EVENT_NOT_HANDLED);
    EXPECT_EQ(log, (Log{"event probe"}));
    list->RemoveObject(&probe);
}

TEST(AnimationTickTest, WithoutADisplayListTheTickReachesNobody) {
    ASSERT_EQ(g_displayList, nullptr);
    COVTickAnimationsEvent tick(3);
    EXPECT_EQ(tick.Execute(), EVENT_NOT_HANDLED);
}

// The engine's drawables read the tick count through the reader the
// message classes registered; other messages carry no ticks.
TEST(AnimationTickTest, TheReaderFindsTheTicksOfTheTickMessageOnly) {
    uint32_t ticks = 7;
    COVTickAnimationsEvent tick(0xFFFFFFFF);
    EXPECT_TRUE(ReadAnimationTicks(tick, ticks));
    EXPECT_EQ(ticks, 0xFFFFFFFFu);
    COVSimpleEvent other(EVT_MOUSELBDOWN, g_broadcastId);
    ticks = 7;
    EXPECT_FALSE(ReadAnimationTicks(other, ticks));
    EXPECT_EQ(ticks, 7u);
}

TEST(DrawableGroupTest, ChildrenDrawInOrderAndTheTopmostTakesEventsFirst) {
    std::vector<std::string> log;
    auto* group = new CDrawableGroup;
    auto* back = new Probe("back", log);
    auto* middle = new Probe("middle", log, DRAWABLE_TO_FRONT);
    auto* front = new Probe("front", log);
    group->AddTail(back);
    group->AddTail(middle);
    group->AddTail(front);
    group->Draw(1);
    group->DrawChildren(4);
    EXPECT_EQ(log, (Log{"draw back 1", "draw middle 1", "draw front 1", "draw front 4",
                        "draw middle 4", "draw back 4"}));

    // "middle" answers DRAWABLE_TO_FRONT and comes to the top; the group
    // takes the event.
    log.clear();
    CInputEvent click(EVT_MOUSELBDOWN, g_broadcastId);
    EXPECT_EQ(group->HandleEvent(click), DRAWABLE_TAKEN);
    EXPECT_EQ(log, (Log{"event front", "event middle"}));
    log.clear();
    group->Draw(0);
    EXPECT_EQ(log, (Log{"draw back 0", "draw front 0", "draw middle 0"}));

    // DRAWABLE_DELETE_ME removes and deletes the child.
    middle->answer = DRAWABLE_DELETE_ME;
    log.clear();
    EXPECT_EQ(group->HandleEvent(click), DRAWABLE_TAKEN);
    EXPECT_EQ(log, (Log{"event middle", "~middle"}));
    EXPECT_EQ(group->GetCount(), 2u);

    // Nobody takes it: every child sees it, nor does the group.
    log.clear();
    EXPECT_EQ(group->HandleEvent(click), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(log, (Log{"event front", "event back"}));

    // The group deletes its children with itself.
    log.clear();
    delete group;
    EXPECT_EQ(log.size(), 2u);
}

TEST(AnimationTickTest, AFinishedSpriteAsksToBeRemovedOnItsTick) {
    test::ScopedGameDir dir;
    dir.WriteFile("gfx/strip.bmp", imagetest::FrameStripBmp(4, 4, 3, 40)); // 4 frames of 4 x 3
    g_displayList = new CDisplayList;
    auto* blast = new CSprite("gfx\\strip.bmp");
    blast->SetFrameCount(4);
    blast->speed = 1;
    blast->oneShot = 1;
    blast->removeWhenDone = 1;
    auto* flag = new CSprite("gfx\\strip.bmp");
    flag->SetFrameCount(4);
    flag->speed = 1;
    g_displayList->Add(flag, 100, 0);
    g_displayList->Add(blast, 200, 0);

    COVTickAnimationsEvent early(2);
    EXPECT_EQ(early.Execute(), EVENT_NOT_HANDLED);
    EXPECT_EQ(blast->frame, 2);
    EXPECT_EQ(flag->frame, 2);
    // Two more ticks end the one-shot: it is removed and deleted, and the
    // walk stops there.
    COVTickAnimationsEvent late(2);
    EXPECT_EQ(late.Execute(), EVENT_CONSUMED);
    EXPECT_EQ(g_displayList->GetCount(), 1u);
    EXPECT_EQ(g_spriteCount, 1);
    EXPECT_EQ(flag->frame, 2);
    // Other events leave sprites alone.
    COVSimpleEvent other(EVT_MOUSELBDOWN, g_broadcastId);
    EXPECT_EQ(flag->HandleEvent(other), DRAWABLE_NOT_TAKEN);

    delete flag;
    EXPECT_TRUE(g_displayList->IsEmpty());
    delete g_displayList;
    EXPECT_EQ(g_spriteCount, 0);
}

} // namespace
