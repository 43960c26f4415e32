// Route arrows: the ramps in both pixel formats, tangents and arrow
// directions, the curve across the map's edge as drawn, and the progress of
// the shown and travelled parts.
#include "ui/map/RouteArrows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/GameTimer.h"
#include "engine/Sprite.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/ClockEvents.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "world/MapView.h"

namespace {

using imagetest::PixelAt;

constexpr uint16_t kBackground = 0x4208;

// 8 arrow frames of 4 x 4, frame d of the colour ArrowColour(d).
std::string ArrowsBmp() {
    return imagetest::FrameStripBmp(8, 4, 4, 30);
}

uint16_t ArrowColour(int32_t direction) {
    return CGraphicsBase::RgbToPixel(30 * (direction + 1), 20, 10);
}

bool IsGreenOnly(uint16_t pixel) {
    return pixel != 0 && (pixel & 0xF81F) == 0;
}
bool IsRedOnly(uint16_t pixel) {
    return pixel != 0 && (pixel & 0x07FF) == 0;
}

class RouteArrowsTest : public ::testing::Test {
protected:
    RouteArrowsTest() {
        dir.WriteFile("gfx/map/T-MAP_ARROWS.bmp", ArrowsBmp());
        LoadMapArrows();
        g_screen = std::make_unique<CImage>(200, 64, 16, kImageMemory);
        g_screen->Fill(kBackground);
        g_mapViewRect = {0, 0, 200, 64};
        g_zoomShift = 0;
    }
    ~RouteArrowsTest() override {
        FreeMapArrows();
        g_screen.reset();
        g_mapViewRect = {0, 0, 800, 600};
        SetViewCentre(0, 0);
        EXPECT_EQ(g_spriteCount, 0);
    }

    test::ScopedGameDir dir;
};

TEST_F(RouteArrowsTest, RampsPeakInTheMiddleInBothFormats) {
    struct Case {
        int32_t format;
        uint16_t redMiddle, greenMiddle, red64, greenLast;
    } cases[] = {
        {kPixelFormat565, 31 << 11, 63 << 5, 22 << 11, 1 << 5},
        {kPixelFormat555, 31 << 10, 31 << 5, 22 << 10, 0},
    };
    for (const Case& c : cases) {
        imagetest::FormatScope scope(c.format);
        LoadMapArrows();
        SCOPED_TRACE(imagetest::FormatName(c.format));
        EXPECT_EQ(g_redRamp[0], 0);
        EXPECT_EQ(g_greenRamp[0], 0);
        EXPECT_EQ(g_redRamp[128], c.redMiddle);
        EXPECT_EQ(g_greenRamp[128], c.greenMiddle);
        EXPECT_EQ(g_redRamp[64], c.red64);
        EXPECT_EQ(g_redRamp[192], c.red64);
        EXPECT_EQ(g_redRamp[255], 0);
        EXPECT_EQ(g_greenRamp[255], c.greenLast);
    }
    LoadMapArrows();
}

TEST(RouteDirectionTest, EighthsOfTheCircle) {
    struct Case {
        float dx, dy;
        int32_t direction;
    } cases[] = {
        {1, 0, 2}, {1, -1, 1}, {0, -1, 0},      {-1, -1, 7},   {-1, 0, 6},    {-1, 1, 5},
        {0, 1, 4}, {1, 1, 3},  {-1, -0.01f, 6}, {100, -41, 2}, {100, -42, 1}, {0, 0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RouteDirection(c.dx, c.dy), c.direction) << c.dx << ", " << c.dy;
}

TEST_F(RouteArrowsTest, PointsGetTangentsAndDirections) {
    CRouteArrows route(nullptr);
    route.AddPoint(100, 500, 7);
    route.AddPoint(100, 400, 0);
    const std::vector<RoutePoint>& path = route.GetPath();
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[0].flag, 7);
    // Straight above on the screen: north.
    EXPECT_EQ(path[0].direction, 0);
    EXPECT_EQ(path[1].direction, 0);
    EXPECT_FLOAT_EQ(path[0].tangentY, -100.0f);
    EXPECT_FLOAT_EQ(path[1].tangentY, -100.0f);

    route.AddPoint(200, 400, 0);
    EXPECT_EQ(path[1].direction, 2);
    EXPECT_FLOAT_EQ(path[1].tangentX, 50.0f);
    EXPECT_FLOAT_EQ(path[1].tangentY, -50.0f);
    EXPECT_FLOAT_EQ(path[2].tangentX, 100.0f);
    EXPECT_FLOAT_EQ(path[2].tangentY, 0.0f);

    // Across the map's edge the tangents take the short way.
    CRouteArrows edge(nullptr);
    edge.AddPoint(18900, 500, 0);
    edge.AddPoint(100, 500, 0);
    EXPECT_FLOAT_EQ(edge.GetPath()[0].tangentX, 144.0f);
    EXPECT_EQ(edge.GetPath()[0].direction, 2);
    edge.AddPoint(18850, 500, 0);
    EXPECT_FLOAT_EQ(edge.GetPath()[1].tangentX, -25.0f);
    EXPECT_EQ(edge.GetPath()[1].direction, 6);
}

TEST_F(RouteArrowsTest, ARouteAcrossTheMapEdgeTakesTheShortWay) {
    // The view origin lies at (18880, 480): x = 18900 shows at screen x 20,
    // y = 500 on row 20.
    SetViewCentre(18980, 520);
    CRouteArrows route(nullptr);
    route.AddPoint(18900, 500, 0);
    route.AddPoint(100, 500, 0);
    route.BuildCurve();
    const std::vector<RouteCurvePoint>& curve = route.GetCurve();
    ASSERT_EQ(curve.size(), 17u);
    EXPECT_EQ(curve[8].centreX, 18900 + 72);
    EXPECT_EQ(curve.back().centreX, 18900 + 144);
    EXPECT_EQ(curve[8].leftY - curve[8].rightY, 12); // 6 to either side
    route.Show(false);
    route.Draw(0);

    // The band runs from screen x 20 to 164 on row 20, with its arrow heads
    // (east) at both ends and its shadow below.
    EXPECT_TRUE(IsGreenOnly(PixelAt(*g_screen, 92, 20)));
    EXPECT_TRUE(IsGreenOnly(PixelAt(*g_screen, 60, 20)));
    EXPECT_EQ(PixelAt(*g_screen, 10, 20), kBackground);
    EXPECT_EQ(PixelAt(*g_screen, 190, 20), kBackground);
    EXPECT_EQ(PixelAt(*g_screen, 92, 8), kBackground);
    EXPECT_EQ(PixelAt(*g_screen, 20, 20), ArrowColour(2));
    EXPECT_EQ(PixelAt(*g_screen, 164, 20), ArrowColour(2));
    EXPECT_EQ(PixelAt(*g_screen, 92, 30), HalvePixel(kBackground, g_pixelFormat));
    EXPECT_EQ(PixelAt(*g_screen, 92, 34), kBackground);
}

TEST_F(RouteArrowsTest, TooShortRoutesDrawNothing) {
    SetViewCentre(1000, 500);
    CRouteArrows route(nullptr);
    route.AddPoint(1000, 500, 0);
    route.BuildCurve();
    EXPECT_TRUE(route.GetCurve().empty());
    route.Show(false);
    route.Draw(0);
    // Two points but no curve built yet.
    CRouteArrows unbuilt(nullptr);
    unbuilt.AddPoint(1000, 500, 0);
    unbuilt.AddPoint(1050, 500, 0);
    unbuilt.Show(false);
    unbuilt.Draw(0);
    for (uint16_t pixel : imagetest::Pixels16(*g_screen))
        ASSERT_EQ(pixel, kBackground);
}

TEST_F(RouteArrowsTest, ProgressGrowsAndIsHeldToTheRoute) {
    g_displayList = new CDisplayList;
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_gameTimer->ticksPerDay = 10;
    CLandUnit unit(nullptr);
    unit.moveStartDate.AddDays(10);
    unit.nextStepDate.AddDays(20);
    const int32_t departure = unit.moveStartDate.ToTicks();
    const int32_t arrival = unit.nextStepDate.ToTicks();
    g_gameTimer->gameTicks = static_cast<uint32_t>(departure + (arrival - departure) / 2);

    SetViewCentre(1040, 520); // origin (928, 480)
    CRouteArrows route(&unit);
    route.AddPoint(1000, 500, 0);
    route.AddPoint(1040, 500, 0);
    route.AddPoint(1080, 500, 0);
    route.BuildCurve();
    EXPECT_EQ(route.ticksTotal, 32);
    EXPECT_EQ(route.covered, 16);

    route.Show(true);
    route.Show(true);
    EXPECT_EQ(g_displayList->GetCount(), 1u);
    EXPECT_EQ(route.ticksShown, 1);
    COVTickAnimationsEvent ten(10);
    EXPECT_EQ(route.HandleEvent(ten), DRAWABLE_NOT_TAKEN);
    EXPECT_EQ(route.ticksShown, 11);
    COVTickAnimationsEvent many(100000);
    route.HandleEvent(many);
    EXPECT_EQ(route.ticksShown, 32);

    // The travelled half in red, the rest in green.
    route.Draw(0);
    EXPECT_TRUE(IsRedOnly(PixelAt(*g_screen, 82, 20)));
    EXPECT_TRUE(IsGreenOnly(PixelAt(*g_screen, 142, 20)));

    // The travelled part stays within the route.
    g_gameTimer->gameTicks = static_cast<uint32_t>(arrival + 500);
    route.HandleEvent(ten);
    EXPECT_EQ(route.covered, 32);
    g_gameTimer->gameTicks = 0;
    route.HandleEvent(ten);
    EXPECT_EQ(route.covered, 0);
    unit.nextStepDate = unit.moveStartDate;
    route.HandleEvent(ten);
    EXPECT_EQ(route.covered, 0);

    route.Hide();
    EXPECT_FALSE(route.IsShowing());
    EXPECT_TRUE(g_displayList->IsEmpty());
    route.ClearPath();
    EXPECT_TRUE(route.GetPath().empty());
    EXPECT_EQ(route.ticksTotal, 0);
    route.Draw(0);

    g_gameTimer.reset();
    delete g_displayList;
}

} // namespace
