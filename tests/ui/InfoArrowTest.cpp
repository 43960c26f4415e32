// The info arrow: its angle (0 when the aim is its own point), where it
// stands beside a button or a point, its removal once the button is pressed
// or by message 184, and its picture.
#include "ui/widgets/InfoArrow.h"

#include <gtest/gtest.h>

#include <memory>

#include "data/Keywords.h"
#include "engine/Trig.h"
#include "net/EventTypes.h"
#include "tests/ui/PopupTestSupport.h"
#include "ui/widgets/InterfaceButton.h"

namespace {

using popuptest::PopupWorld;

TEST(ArrowAngleTest, DirectionsAroundTheCircleAndTheArrowsOwnPoint) {
    struct Case {
        int32_t tx, ty;
        int32_t angle;
    } cases[] = {
        {0, 0, 0},     // the aim is the arrow's own point: no division by 0
        {10, 0, 90},   // right
        {0, 10, 180},  // below
        {-10, 0, 270}, // left
        {0, -10, 0},   // above
        {10, 10, 134}, // 44.99... degrees, truncated
        {-10, -10, 314},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArrowAngle(0, 0, c.tx, c.ty), c.angle) << c.tx << "," << c.ty;
}

class InfoArrowTest : public ::testing::Test {
protected:
    InfoArrowTest() {
        BuildKeywordIndex();
        InitTrigTables();
        table = std::make_unique<CInterfaceButtonTable>();
        g_interfaceButtonTable = table.get();
    }
    ~InfoArrowTest() override { g_interfaceButtonTable = nullptr; }

    CInterfaceButton* AddButton(int32_t id, int32_t x, int32_t y) {
        auto* button = new CInterfaceButton(InterfaceButtonKind::Press, table.get());
        button->commandId = id;
        button->SetPosition(x, y);
        table->slots[static_cast<size_t>(id)] = button;
        return button;
    }

    PopupWorld world;
    std::unique_ptr<CInterfaceButtonTable> table;
};

TEST_F(InfoArrowTest, StandsBesideTheButtonOrBelowItAtTheTopEdge) {
    CInterfaceButton* low = AddButton(BUTTON_VP, 300, 200);
    const int32_t w = low->GetWidth();
    const int32_t h = low->GetHeight();
    ASSERT_GT(w, 0);
    CInfoArrow arrow(BUTTON_VP, nullptr);
    EXPECT_EQ(arrow.arrowX, 300 + w);
    EXPECT_EQ(arrow.arrowY, 200 - h);
    EXPECT_EQ(arrow.aimX, 300 + w / 2);

    AddButton(BUTTON_GIFT, 0, 0);
    CInfoArrow corner(BUTTON_GIFT, nullptr);
    EXPECT_EQ(corner.arrowY, h) << "below the button, not above the screen";
    EXPECT_EQ(corner.angle, ArrowAngle(corner.arrowX, corner.arrowY, w / 2, h / 2));
}

TEST_F(InfoArrowTest, PointFormStandsLeftAtTheRightEdgeAndBelowAtTheTop) {
    struct Case {
        int32_t px, py;
        int32_t wantX, wantY;
    } cases[] = {
        {400, 300, 432, 268},
        {790, 300, 758, 268},
        {400, 10, 432, 42},
    };
    for (const Case& c : cases) {
        CInfoArrow arrow(c.px, c.py, nullptr);
        EXPECT_EQ(arrow.arrowX, c.wantX);
        EXPECT_EQ(arrow.arrowY, c.wantY);
    }
}

TEST_F(InfoArrowTest, GoesWhenThePointedButtonIsPressedOrByMessage184) {
    CInterfaceButton* button = AddButton(BUTTON_VP, 300, 200);
    CInfoArrow arrow(BUTTON_VP, nullptr);
    CInputEvent move(EVT_MOUSEMOVE, ObjectId{}, 0, 0, 10, 10);
    EXPECT_NE(arrow.HandleEvent(move), DRAWABLE_DELETE_ME);
    // The button moved: the arrow follows it.
    button->SetPosition(500, 300);
    arrow.HandleEvent(move);
    EXPECT_EQ(arrow.aimX, 500 + button->GetWidth() / 2);
    button->Press();
    EXPECT_EQ(arrow.HandleEvent(move), DRAWABLE_DELETE_ME);

    CInfoArrow point(100, 100, nullptr);
    CInputEvent message(EVT_UNNAMED_184, ObjectId{});
    EXPECT_EQ(point.HandleEvent(message), DRAWABLE_DELETE_ME);
}

TEST_F(InfoArrowTest, DrawsItsArrowPointingAtTheAim) {
    CInfoArrow arrow(400, 300, nullptr);
    arrow.Draw(0);
    // The arrow stands at (432, 268) and points down-left at (400, 300):
    // the screen changed around its middle and stays untouched far away.
    EXPECT_NE(PopupWorld::ScreenAt(432, 268), popuptest::ScreenFill());
    EXPECT_EQ(PopupWorld::ScreenAt(432 + 40, 268 - 40), popuptest::ScreenFill());
    EXPECT_EQ(arrow.angle, ArrowAngle(432, 268, 400, 300));
}

} // namespace
