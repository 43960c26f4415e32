// The sound patterns hear the map as it wraps: across its edge the short
// way counts.
#include <gtest/gtest.h>

#include "engine/SoundPattern.h"
#include "world/MapView.h"

namespace {

TEST(SoundPatternMapTest, AcrossTheMapsEdgeTheShortWayCounts) {
    ASSERT_EQ(g_patternMapDx, &WrapMapDx);
    const PatternStep steps[] = {PatternStep{7, 1, {1}, 77, 0, 0},
                                 PatternStep{kPatternEnd, 0, {}, 0, 0, 0}};
    // 144 pixels, not 18800.
    CSoundPattern atTheEdge(steps, 1, 18900, 2000);
    EXPECT_EQ(atTheEdge.VolumeAndPan(100, 2000) & 0xFFFF, 174u);
    CSoundPattern otherWay(steps, 1, 100, 2000);
    EXPECT_EQ(otherWay.VolumeAndPan(18900, 2000) & 0xFFFF, 174u);
}

} // namespace
