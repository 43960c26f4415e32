// Popup windows: their sizes and cascading places, the frame tiled from its
// nine pieces, drawing topmost first through the uncovered spans with the
// see-through colour, raising, dragging and closing.
#include <gtest/gtest.h>

#include "net/EventTypes.h"
#include "tests/ui/PopupTestSupport.h"

namespace {

using popuptest::PiecePixel;
using popuptest::PopupWorld;
using popuptest::ScreenFill;

class PopupWindowTest : public ::testing::Test {
protected:
    PopupWorld world;
};

TEST_F(PopupWindowTest, SizesRoundDownToTilesAndDefaultPlacesCascade) {
    struct Case {
        int32_t width, height, tile;
        int32_t wantWidth, wantHeight, wantX, wantY;
    } cases[] = {
        {10, 10, 16, 48, 48, 200, 100},    // at least three tiles
        {350, 100, 16, 336, 96, 208, 108}, // rounded down
        {50, 450, 16, 48, 448, 216, 52},   // lifted to end at y = 500
        {21, 20, 8, 24, 24, 224, 124},     // tile 8
    };
    for (const Case& c : cases) {
        CPopupWindow window(nullptr, c.width, c.height, c.tile);
        EXPECT_EQ(window.width, c.wantWidth);
        EXPECT_EQ(window.height, c.wantHeight);
        EXPECT_EQ(window.x, c.wantX);
        EXPECT_EQ(window.y, c.wantY);
        EXPECT_EQ(g_lastPopup, &window);
    }
    EXPECT_EQ(g_lastPopup, nullptr) << "a deleted window is no longer the last one";
}

TEST_F(PopupWindowTest, CascadeRestartsAfterTheWindowAtFourHundred) {
    g_nextPopupPosition = {392, 100};
    CPopupWindow a(nullptr, 48, 48, 16);
    CPopupWindow b(nullptr, 48, 48, 16);
    CPopupWindow c(nullptr, 48, 48, 16);
    EXPECT_EQ(a.x, 392);
    EXPECT_EQ(b.x, 400);
    EXPECT_EQ(c.x, 200);
    EXPECT_EQ(c.y, 100);
}

TEST_F(PopupWindowTest, GivenPositionsAreHeldOnTheScreen) {
    struct Case {
        PopupPosition at;
        int32_t width, height;
        int32_t wantX, wantY;
    } cases[] = {
        {{0, 0}, 96, 96, 224, 32},
        {{790, 590}, 96, 96, 704, 504},
        {{300, 200}, 96, 96, 300, 200},
        // Larger than the screen: held to the right and bottom edges.
        {{300, 200}, 1008, 800, -208, -200},
    };
    for (const Case& c : cases) {
        CPopupWindow window(&c.at, c.width, c.height, 16);
        EXPECT_EQ(window.x, c.wantX);
        EXPECT_EQ(window.y, c.wantY);
    }
}

TEST_F(PopupWindowTest, FrameIsTiledFromTheNinePieces) {
    const PopupPosition at{300, 200};
    CPopupWindow window(&at, 64, 48, 16);
    CImage& image = *window.GetImage();
    struct Spot {
        int32_t x, y;
        CWindowFrame::Piece piece;
    } spots[] = {
        {0, 0, CWindowFrame::kTopLeft},     {63, 0, CWindowFrame::kTopRight},
        {16, 0, CWindowFrame::kTop},        {47, 15, CWindowFrame::kTop},
        {0, 47, CWindowFrame::kBottomLeft}, {63, 47, CWindowFrame::kBottomRight},
        {32, 40, CWindowFrame::kBottom},    {0, 16, CWindowFrame::kLeft},
        {48, 31, CWindowFrame::kRight},     {16, 16, CWindowFrame::kCentre},
        {47, 31, CWindowFrame::kCentre},
    };
    for (const Spot& s : spots)
        EXPECT_EQ(imagetest::PixelAt(image, s.x, s.y), PiecePixel(s.piece)) << s.x << "," << s.y;
}

TEST_F(PopupWindowTest, TopmostIsDrawnFirstAndTheLowerNeverShowsInsideIt) {
    const PopupPosition lowerAt{300, 200};
    const PopupPosition upperAt{332, 216};
    auto* lower = new CPopupWindow(&lowerAt, 96, 96, 16);
    auto* upper = new CPopupWindow(&upperAt, 96, 96, 16);
    // Paint each window's inside in a colour of its own, one see-through
    // pixel in the upper one over the lower one, one over the game.
    const uint16_t lowerColour = CGraphicsBase::RgbToPixel(0, 0, 255);
    const uint16_t upperColour = CGraphicsBase::RgbToPixel(255, 255, 255);
    lower->GetImage()->Fill(lowerColour);
    upper->GetImage()->Fill(upperColour);
    const uint16_t seeThrough = CGraphicsBase::RgbToPixel(35, 35, 35);
    StorePixel(upper->GetImage()->pixels + 10 * upper->GetImage()->pitch + 2 * 10, seeThrough);
    StorePixel(upper->GetImage()->pixels + 10 * upper->GetImage()->pitch + 2 * 90, seeThrough);
    world.popups.Add(lower);
    world.popups.Add(upper);
    world.popups.Draw(0);

    for (int32_t y = 216; y < 216 + 96; ++y)
        for (int32_t x = 332; x < 332 + 96; ++x) {
            if ((x == 342 || x == 422) && y == 226)
                continue;
            ASSERT_EQ(PopupWorld::ScreenAt(x, y), upperColour) << x << "," << y;
        }
    EXPECT_EQ(PopupWorld::ScreenAt(310, 210), lowerColour);
    EXPECT_EQ(PopupWorld::ScreenAt(290, 210), ScreenFill());
    // The see-through pixels show what lies below at a quarter: not the lower
    // window's pixel, which was never drawn there, but the game's.
    const uint16_t quarterMask = CGraphicsBase::RgbToPixel(63, 63, 63);
    EXPECT_EQ(PopupWorld::ScreenAt(342, 226), (ScreenFill() >> 2) & quarterMask);
    EXPECT_EQ(PopupWorld::ScreenAt(422, 226), (ScreenFill() >> 2) & quarterMask);
    EXPECT_TRUE(IsPointUnderPopup(310, 210));
    EXPECT_TRUE(IsPointUnderPopup(400, 300));
    EXPECT_FALSE(IsPointUnderPopup(290, 210));
    EXPECT_FALSE(IsPointUnderPopup(-1, 210));
    EXPECT_FALSE(IsPointUnderPopup(10, 600));
}

TEST_F(PopupWindowTest, PressInsideRaisesAndHeldButtonDragsToTheEdges) {
    const PopupPosition lowerAt{300, 200};
    const PopupPosition upperAt{350, 250};
    auto* lower = new CPopupWindow(&lowerAt, 96, 96, 16);
    auto* upper = new CPopupWindow(&upperAt, 96, 96, 16);
    world.popups.Add(lower);
    world.popups.Add(upper);

    PopupWorld::SetMouse(310, 210, true);
    CInputEvent press = PopupWorld::Input(EVT_MOUSELBDOWN);
    EXPECT_EQ(lower->HandleEvent(press), DRAWABLE_TO_FRONT);
    lower->dragging = 0;
    EXPECT_EQ(world.popups.HandleEvent(press), EVENT_CONSUMED);
    EXPECT_EQ(world.popups.At(0), lower);
    EXPECT_EQ(lower->dragOffsetX, 10);

    PopupWorld::SetMouse(2000, 2000, true);
    CInputEvent held = PopupWorld::Input(EVT_MOUSELBHELD);
    EXPECT_EQ(world.popups.HandleEvent(held), EVENT_CONSUMED);
    EXPECT_EQ(lower->x, 800 - 96 - 1);
    EXPECT_EQ(lower->y, 600 - 96 - 1);
    PopupWorld::SetMouse(0, 0, true);
    world.popups.HandleEvent(held);
    EXPECT_EQ(lower->x, 0);
    EXPECT_EQ(lower->y, 0);

    // Released: the drag ends; a press outside every window passes on.
    PopupWorld::SetMouse(5, 5, false);
    CInputEvent up = PopupWorld::Input(EVT_MOUSELBUP);
    world.popups.HandleEvent(up);
    EXPECT_EQ(lower->dragging, 0);
    PopupWorld::SetMouse(700, 20, true);
    CInputEvent outside = PopupWorld::Input(EVT_MOUSELBDOWN);
    EXPECT_EQ(world.popups.HandleEvent(outside), EVENT_NOT_HANDLED);
}

TEST_F(PopupWindowTest, CloseAllWindowsDeletesEveryWindow) {
    world.popups.Add(new CPopupWindow(nullptr, 96, 96, 16));
    world.popups.Add(new CPopupWindow(nullptr, 96, 96, 8));
    CInputEvent close(EVT_CLOSEALLWINDOWS, ObjectId{});
    EXPECT_EQ(world.popups.HandleEvent(close), EVENT_CONSUMED);
    EXPECT_EQ(world.popups.GetCount(), 0u);
}

TEST_F(PopupWindowTest, WindowsLargerThanOrOffTheScreenDrawSafely) {
    const PopupPosition at{0, 0};
    CPopupWindow giant(&at, 100000, 100000, 16);
    EXPECT_EQ(giant.width, CPopupWindow::kMaxSide);
    EXPECT_EQ(giant.height, CPopupWindow::kMaxSide);

    auto* large = new CPopupWindow(&at, 1008, 800, 16);
    EXPECT_EQ(large->x, -208);
    EXPECT_EQ(large->y, -200);
    auto* off = new CPopupWindow(nullptr, 96, 96, 16);
    off->x = -500;
    off->y = 598;
    world.popups.Add(large);
    world.popups.Add(off);
    world.popups.Draw(0);
    // Every line the window reaches is covered (the last line and the
    // rightmost column are never drawn over).
    EXPECT_TRUE(IsPointUnderPopup(0, 0));
    EXPECT_TRUE(IsPointUnderPopup(798, 598));
    for (size_t line = 0; line + 1 < g_dirtySpans.size(); ++line)
        ASSERT_TRUE(g_dirtySpans[line].spans.empty()) << line;
    EXPECT_EQ(g_dirtySpans.back().spans.size(), 1u);
}

TEST_F(PopupWindowTest, ShadowDarkensBelowAndLeft) {
    const PopupPosition at{300, 200};
    auto* window = new CPopupWindow(&at, 96, 96, 16);
    window->shadow = 1;
    world.popups.Add(window);
    world.popups.Draw(0);
    const uint16_t fill = ScreenFill();
    EXPECT_NE(PopupWorld::ScreenAt(295, 250), fill);
    EXPECT_NE(PopupWorld::ScreenAt(350, 300), fill);
    EXPECT_EQ(PopupWorld::ScreenAt(295, 205), fill);
    EXPECT_EQ(PopupWorld::ScreenAt(420, 300), fill);
}

} // namespace
