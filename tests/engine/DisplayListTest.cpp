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

class DisplayListTest : public drawtest::DisplayListFixture {};

TEST_F(DisplayListTest, DrawsByLayerFromTheBottom) {
    drawtest::LayeredProbes probes(*list, log);
    list->DrawAll();
    EXPECT_EQ(log,
              (Log{"draw low 0", "draw passive 3", "draw later 0", "draw first 0", "draw high 0"}));
    probes.RemoveFrom(*list);
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
