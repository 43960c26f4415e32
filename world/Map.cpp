#include "world/Map.h"

#include <algorithm>

#include "engine/Display.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Receivers.h"
#include "world/MapModes.h"
#include "world/MapRender.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Mecenat.h"
#include "world/Minimap.h"
#include "world/Province.h"

CMap* g_map = nullptr;
std::vector<uint8_t> g_dirtyCells;
int32_t g_dirtyColumns = 0;
int32_t g_dirtyRows = 0;
ScrollRequest g_scrollRequest;
MapMessageHooks g_mapMessageHooks;

namespace {

// The map takes every broadcast message once the game has started.
const bool g_mapRegistered = RegisterBroadcastReceiver(kSlotMap, &OfferToHolder<g_map>);

constexpr uint32_t kKeyUp = 1;
constexpr uint32_t kKeyDown = 2;
constexpr uint32_t kKeyLeft = 3;
constexpr uint32_t kKeyRight = 4;
constexpr uint32_t kKeyRecolour = 82;
constexpr uint32_t kRecolourMessage = 75;
constexpr int32_t kCapturedEdge = 100;

int32_t ScreenWidth() {
    return g_screen ? g_screen->width : 800;
}

int32_t ScreenHeight() {
    return g_screen ? g_screen->height : 600;
}

void ScrollOnTick() {
    if (g_mapMessageHooks.scrollLocked && g_mapMessageHooks.scrollLocked())
        return;
    const int32_t step = 32 << std::clamp(g_zoomShift, 0, 4);
    ScrollRequest& request = g_scrollRequest;
    if (g_inputState.relativeMode) {
        const MousePosition offset = g_inputState.relativeOffset;
        if (offset.x == -kCapturedEdge || offset.x == kCapturedEdge)
            request.dx = offset.x < 0 ? -step : step;
        if (offset.y == -kCapturedEdge || offset.y == kCapturedEdge)
            request.dy = offset.y < 0 ? -step : step;
        if (request.dx != 0)
            ScrollView(request.dx, request.dy);
        else if (request.dy != 0)
            ScrollView(0, request.dy);
    } else {
        const int64_t x = int64_t{g_mousePos.x} + request.dx;
        const int64_t y = int64_t{g_mousePos.y} + request.dy;
        int32_t dx = 0;
        int32_t dy = 0;
        if (x < 1)
            dx = -step;
        else if (x >= ScreenWidth() - 1)
            dx = step;
        if (y < 1)
            dy = -step;
        else if (y >= ScreenHeight() - 1)
            dy = step;
        if (dx != 0 || dy != 0)
            ScrollView(dx, dy);
    }
    request = {};
}

} // namespace

CMap::CMap() {
    const int32_t width = ScreenWidth();
    const int32_t height = ScreenHeight();
    SetViewRect(224, 0, width & ~31, (height + 31) & ~31);
    const int32_t viewWidth = std::max(g_mapViewRect.right - g_mapViewRect.left, 0);
    const int32_t viewHeight = std::max(g_mapViewRect.bottom - g_mapViewRect.top, 0);
    delete g_mapImage;
    g_mapImage = new CImage(viewWidth, viewHeight, 16, 1);
    g_dirtyColumns = viewWidth / 32;
    g_dirtyRows = viewHeight / 32;
    g_dirtyCells.assign(static_cast<size_t>(g_dirtyColumns) * g_dirtyRows, 1);
}

int CMap::HandleMessage(COVEvent& event) {
    if (g_mapMessageHooks.goods)
        g_mapMessageHooks.goods(event);
    if (g_mapMessageHooks.province)
        for (int32_t id = 0; id < kMapTableProvinces; ++id)
            if (g_mapMessageHooks.province(g_provinces[static_cast<size_t>(id)], event) ==
                EVENT_CONSUMED)
                return EVENT_CONSUMED;
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
        RecolourMap(g_mapCountry, g_mapMode);
        g_mapRedraw = 1;
        break;
    case EVT_TIMER_TICK_LOOP:
        ScrollOnTick();
        break;
    case kRecolourMessage:
        RecolourMap(g_mapCountry, g_mapMode);
        break;
    default:
        break;
    }
    return EVENT_NOT_HANDLED;
}

int CMap::HandleInput(CInputEvent& event) {
    if (event.GetType() != EVT_KEYUP)
        return 0;
    switch (event.GetCode()) {
    case kKeyUp:
        g_scrollRequest.dy = -kScrollRequest;
        break;
    case kKeyDown:
        g_scrollRequest.dy = kScrollRequest;
        break;
    case kKeyLeft:
        g_scrollRequest.dx = -kScrollRequest;
        break;
    case kKeyRight:
        g_scrollRequest.dx = kScrollRequest;
        break;
    case kKeyRecolour:
        if (g_mapImage)
            g_mapImage->ClearToColourKey();
        LoadColourScales("palette.act", g_colourScales);
        BuildMapShadeTable();
        break;
    default:
        break;
    }
    return 0;
}

int CMap::Draw(int32_t pass) {
    if (g_mapMessageHooks.yearBookOpen && g_mapMessageHooks.yearBookOpen())
        return 0;
    switch (pass) {
    case 0:
        RenderMapView();
        break;
    case 2:
        if (g_mapImage && g_screen)
            g_mapImage->CopyWrapped(g_mapViewRect.left, g_mapViewRect.top, g_mapImage->originX,
                                    g_mapImage->originY, g_screen.get());
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
            if (IsProvinceOnScreen(id))
                g_provinces[static_cast<size_t>(id)].DrawMapSymbols(0);
        break;
    case 3:
        g_lastDrawnSelection = g_selectedProvince;
        g_lastDrawnOrigin = g_viewOrigin;
        g_lastDrawnCentre = {g_viewCentreX, g_viewCentreY};
        g_mapRedraw = 0;
        g_mapScrollForce = 0;
        if (g_minimap) {
            g_minimap->Draw();
            g_minimap->DrawViewOutline(g_viewCentreX, g_viewCentreY, g_zoomShift, g_mapViewRect);
        }
        break;
    case 4:
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
            if (IsProvinceOnScreen(id))
                g_provinces[static_cast<size_t>(id)].Draw(0);
        // The travellers (on their own layer, see CMecenat::Draw).
        if (CMecenatList* travellers = GetTravellerList())
            travellers->Draw(0);
        break;
    default:
        break;
    }
    return 0;
}
