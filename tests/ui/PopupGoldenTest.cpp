// Golden crops of the popups drawn with the generated frames: two
// overlapping windows with see-through pixels, the lower one never showing
// inside the upper; and the info arrow with its text window.
#include <gtest/gtest.h>

#include "tests/ui/PopupScreen.h"
#include "ui/widgets/InfoArrow.h"

namespace {

class PopupGoldenTest : public ::testing::Test {
protected:
    popuptest::PopupScreen world;
    uitest::ScreenHarness& screen = world.screen;
    CPopupList& popups = world.popups;
};

TEST_F(PopupGoldenTest, OverlappingWindowsWithSeeThroughPixels) {
    const PopupPosition lowerAt{240, 100};
    const PopupPosition upperAt{304, 148};
    auto* lower = new CPopupWindow(&lowerAt, 160, 128, 16);
    auto* upper = new CPopupWindow(&upperAt, 144, 96, 8);
    // A see-through square in each: the upper one's lies over the lower
    // window and shows the game, not the lower window.
    const uint16_t seeThrough = CGraphicsBase::RgbToPixel(35, 35, 35);
    for (int32_t y = 24; y < 40; ++y)
        for (int32_t x = 16; x < 48; ++x) {
            StorePixel(upper->GetImage()->pixels + y * upper->GetImage()->pitch + 2 * x,
                       seeThrough);
            StorePixel(lower->GetImage()->pixels + (y + 60) * lower->GetImage()->pitch + 2 * x,
                       seeThrough);
        }
    popups.Add(lower);
    popups.Add(upper);
    popups.Draw(0);
    screen.CheckGolden("popups_overlapping", 232, 92, 456, 252);
}

TEST_F(PopupGoldenTest, InfoArrowWithItsText) {
    MarkScreenDirty();
    CInfoArrow arrow(400, 300, "Here");
    arrow.Draw(0);
    screen.CheckGolden("info_arrow", 360, 220, 520, 320);
}

} // namespace
