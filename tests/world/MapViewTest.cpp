// The view onto the map: its rectangle, zoom, centre and origin, the
// conversions, selection, and the map's own scrolling and messages.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/MousePosition.h"
#include "world/Goods.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

COVEvent Message(uint32_t type, size_t size) {
    auto payload = std::make_unique<COVEventData>(size);
    payload->SetTypeId(type);
    return COVEvent(std::move(payload));
}

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedHooks = g_mapMessageHooks;
        InitWorldBounds();
        SetViewRect(224, 0, 800, 608);
        g_zoomShift = 0;
        g_selectedProvince = 0;
        SetViewCentre(5000, 3000);
        g_mousePos = {400, 300};
        g_scrollRequest = {};
    }
    void TearDown() override {
        g_mapMessageHooks = m_savedHooks;
        g_zoomShift = 0;
        g_selectedProvince = 0;
        g_provinces[20].terrain = 0;
        FreeMapData();
        SetViewRect(0, 0, 800, 600);
        SetViewCentre(0, 0);
        RecolourMap(0, 0);
    }
    MapMessageHooks m_savedHooks;
};

TEST_F(MapViewTest, ViewRectIsCutToSixteenAndCopied) {
    SetViewRect(230, 7, 799, 601);
    EXPECT_EQ(g_viewRect.left, 224);
    EXPECT_EQ(g_viewRect.top, 0);
    EXPECT_EQ(g_viewRect.right, 784);
    EXPECT_EQ(g_viewRect.bottom, 592);
    EXPECT_EQ(g_savedViewRect.right, 784);
    EXPECT_EQ(g_worldBounds.right, 18943);
    EXPECT_EQ(g_worldBounds.bottom, 7295);
}

TEST_F(MapViewTest, CentreWrapsAndHoldsAndTheOriginFallsOnATile) {
    const struct {
        int32_t zoom, x, y, centreX, centreY, originX, originY;
    } cases[] = {
        {0, 5000, 3000, 5000, 3000, 4704, 2688},   // 5000 - 288, 3000 - 304, cut to 32
        {0, -100, 3000, 18844, 3000, 18528, 2688}, // x wraps
        {0, 100, -50, 100, 0, 18752, -320},        // y held; the origin may lie above the map
        {0, 100, 9000, 100, 7295, 18752, 6976},
        {2, 5000, 3000, 5000, 3000, 3840, 1664}, // 5000 - 1152, 3000 - 1216, cut to 128
    };
    for (const auto& c : cases) {
        g_zoomShift = c.zoom;
        EXPECT_TRUE(SetViewCentre(c.x, c.y));
        EXPECT_EQ(g_viewCentreX, c.centreX) << c.x;
        EXPECT_EQ(g_viewCentreY, c.centreY) << c.y;
        EXPECT_EQ(g_viewOrigin.x, c.originX) << c.x;
        EXPECT_EQ(g_viewOrigin.y, c.originY) << c.y;
    }
    g_zoomShift = 0;
    SetViewCentre(18900, 100);
    ScrollView(100, 10);
    EXPECT_EQ(g_viewCentreX, 56);
    EXPECT_EQ(g_viewCentreY, 110);
}

TEST_F(MapViewTest, ZoomStopsAtBothEnds) {
    EXPECT_FALSE(ZoomIn());
    for (int32_t shift = 1; shift <= 4; ++shift) {
        g_mapRedraw = 0;
        EXPECT_TRUE(ZoomOut());
        EXPECT_EQ(g_zoomShift, shift);
        EXPECT_EQ(g_mapRedraw, 1);
    }
    EXPECT_FALSE(ZoomOut());
    EXPECT_EQ(g_zoomShift, 4);
    EXPECT_EQ(g_viewOrigin.x % 512, 0); // the centre was re-applied at the new zoom
    EXPECT_TRUE(ZoomIn());
    EXPECT_EQ(g_zoomShift, 3);
    // A view wider than the world at the next level keeps the zoom.
    SetViewRect(0, 0, 1280, 608);
    g_zoomShift = 3;
    EXPECT_FALSE(ZoomOut());
}

TEST_F(MapViewTest, ScreenToWorldInvertsWorldToScreen) {
    for (int32_t zoom = 0; zoom <= 4; ++zoom) {
        g_zoomShift = zoom;
        SetViewCentre(100, 3000); // near the seam: the view spans x = 0
        for (int32_t sx : {224, 300, 512, 799})
            for (int32_t sy : {200, 304, 304 + (2000 >> zoom)}) {
                const MapPoint world = ScreenToWorld(sx, sy);
                MapPoint back;
                WorldToScreen(back, world.x, world.y);
                EXPECT_EQ(back.x, sx) << zoom << ": " << sx << "," << sy;
                EXPECT_EQ(back.y, sy) << zoom << ": " << sx << "," << sy;
            }
    }
    // x = -1 and x = 18943 are the same column.
    g_zoomShift = 0;
    MapPoint a;
    MapPoint b;
    WorldToScreen(a, -1, 3000);
    WorldToScreen(b, 18943, 3000);
    EXPECT_EQ(a.x, b.x);
    // Below the map: 7296.
    SetViewCentre(5000, 7295);
    EXPECT_EQ(ScreenToWorld(400, 600).y, 7296);
}

TEST_F(MapViewTest, ConversionsWorkFromTheViewOrigin) {
    const struct {
        int32_t zoom, centreX, mapX, mapY, screenX, screenY;
        bool inView;
    } cases[] = {
        {0, 5000, 4704, 2688, 224, 0, true},   // the origin is the view's corner
        {0, 5000, 4703, 2687, 223, 0, false},  // y held at 0 on the screen
        {0, 5000, 5279, 2700, 799, 12, true},  // the view's last column
        {0, 5000, 5280, 2700, 800, 12, false}, // one past it
        {2, 5000, 3844, 1668, 225, 1, true},   // origin (3840, 1664) at zoom 2
        {0, 100, 10, 3000, 426, 312, true},    // origin x 18752: across the seam
        {0, 100, -10, 3000, 406, 312, true},
    };
    for (const auto& c : cases) {
        g_zoomShift = c.zoom;
        SetViewCentre(c.centreX, 3000);
        MapPoint screen;
        WorldToScreen(screen, c.mapX, c.mapY);
        EXPECT_EQ(screen.x, c.screenX) << c.mapX;
        EXPECT_EQ(screen.y, c.screenY) << c.mapX;
        MapPoint view;
        EXPECT_EQ(WorldToView(c.mapX, c.mapY, view), c.inView) << c.mapX;
    }
    g_zoomShift = 0;
    SetViewCentre(5000, 3000);
    const MapPoint corner = ScreenToWorld(224, 0);
    EXPECT_EQ(corner.x, 4704);
    EXPECT_EQ(corner.y, 2688);
    MapPoint origin;
    GetViewOrigin(origin);
    EXPECT_EQ(origin.x, 4704);
    EXPECT_EQ(origin.y, 2688);
}

TEST_F(MapViewTest, SelectionRecoloursOnceAndRefusesKindEight) {
    RecolourMap(0, MAPMODE_TERRAIN);
    EXPECT_FALSE(SelectProvince(0));
    EXPECT_FALSE(SelectProvince(1473));
    g_provinces[20].terrain = 8;
    EXPECT_FALSE(SelectProvince(20));
    EXPECT_TRUE(SelectProvince(21));
    EXPECT_EQ(g_selectedProvince, 21);
    EXPECT_EQ(g_provinces[21].shade, 0);
    g_provinces[22].shade = 3;
    EXPECT_FALSE(SelectProvince(21)); // already selected: no recolouring
    EXPECT_EQ(g_provinces[22].shade, 3);
    DeselectProvince();
    EXPECT_EQ(g_selectedProvince, 0);
    EXPECT_EQ(g_provinces[21].shade, 15);
    EXPECT_EQ(g_provinces[22].shade, 15);
}

TEST_F(MapViewTest, ProvinceCentreAndOnScreen) {
    g_provinces[1].box = {100, 200, 301, 401};
    g_provinces[2].box = {5000, 3000, 5100, 3100};
    MapPoint centre;
    GetProvinceCentre(centre, -1);
    EXPECT_EQ(centre.x, 200);
    EXPECT_EQ(centre.y, 300);
    EXPECT_TRUE(IsProvinceOnScreen(2));
    EXPECT_FALSE(IsProvinceOnScreen(1)); // far up and left of the view
    EXPECT_FALSE(IsProvinceOnScreen(5000));
    g_provinces[1].box = {};
    g_provinces[2].box = {};
}

TEST_F(MapViewTest, ArrowKeyHeldForOneTickScrollsOneStep) {
    CMap map;
    SetViewRect(224, 0, 800, 608);
    const struct {
        uint32_t key;
        int32_t zoom, dx, dy;
    } cases[] = {{4, 0, 32, 0}, {3, 2, -128, 0}, {1, 1, 0, -64}, {2, 4, 0, 512}};
    for (const auto& c : cases) {
        g_zoomShift = c.zoom;
        SetViewCentre(5000, 3000);
        CInputEvent key(EVT_KEYUP, g_broadcastId, c.key, 0, 0, 0);
        EXPECT_EQ(map.HandleInput(key), 0);
        COVEvent tick = Message(EVT_TIMER_TICK_LOOP, 20);
        EXPECT_EQ(map.HandleMessage(tick), EVENT_NOT_HANDLED);
        EXPECT_EQ(g_viewCentreX, 5000 + c.dx) << c.key;
        EXPECT_EQ(g_viewCentreY, 3000 + c.dy) << c.key;
        map.HandleMessage(tick); // the request was used up
        EXPECT_EQ(g_viewCentreX, 5000 + c.dx) << c.key;
        EXPECT_EQ(g_viewCentreY, 3000 + c.dy) << c.key;
    }
    // The pointer at the screen's edge scrolls too; a scroll lock stops it.
    g_zoomShift = 0;
    SetViewCentre(5000, 3000);
    g_mousePos = {0, 300};
    COVEvent tick = Message(EVT_TIMER_TICK_LOOP, 20);
    map.HandleMessage(tick);
    EXPECT_EQ(g_viewCentreX, 5000 - 32);
    g_mapMessageHooks.scrollLocked = [] { return true; };
    map.HandleMessage(tick);
    EXPECT_EQ(g_viewCentreX, 5000 - 32);
}

TEST_F(MapViewTest, MonthRecoloursUnlessAProvinceTookTheMessage) {
    CMap map;
    RecolourMap(0, MAPMODE_TERRAIN);
    COVEvent month = Message(EVT_TIMER_MONTH, 28);
    g_provinces[30].shade = 3;
    EXPECT_EQ(map.HandleMessage(month), EVENT_NOT_HANDLED);
    EXPECT_EQ(g_provinces[30].shade, 15);

    static int s_goodsSeen = 0;
    s_goodsSeen = 0;
    g_mapMessageHooks.goods = [](COVEvent&) { return ++s_goodsSeen, EVENT_NOT_HANDLED; };
    g_mapMessageHooks.province = [](CProvince& province, COVEvent&) {
        return &province == &g_provinces[9] ? EVENT_CONSUMED : EVENT_NOT_HANDLED;
    };
    g_provinces[30].shade = 3;
    EXPECT_EQ(map.HandleMessage(month), EVENT_CONSUMED);
    EXPECT_EQ(s_goodsSeen, 1);
    EXPECT_EQ(g_provinces[30].shade, 3);
    g_mapMessageHooks.goods = &HandleGoodsMessage;
    g_mapMessageHooks.province = nullptr;
}

} // namespace
