// The display list and drawable groups: drawing order by layer and the
// removal of entries (events offered to them: tests/net/DisplayListEventsTest).
#include "engine/DisplayList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Drawable.h"
#include "tests/engine/DrawableProbe.h"

namespace {

using drawtest::Log;
using drawtest::Probe;

// g_displayList made for the test and deleted after.
class DisplayListTest : public ::testing::Test {
protected:
    DisplayListTest() {
        g_displayList = new CDisplayList;
        list = g_displayList;
    }
    ~DisplayListTest() override { delete g_displayList; }

    CDisplayList* list = nullptr;
    std::vector<std::string> log;
};

TEST_F(DisplayListTest, DrawsByLayerFromTheBottom) {
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
    for (Probe* probe : {&low, &high, &first, &later, &passive})
        list->RemoveObject(probe);
    EXPECT_TRUE(list->IsEmpty());
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

} // namespace
