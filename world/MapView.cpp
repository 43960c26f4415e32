#include "world/MapView.h"
#include "engine/Saturate.h"

#include <algorithm>
#include <cstdint>

#include "engine/Display.h"
#include "engine/SoundPattern.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/Province.h"

int32_t g_viewCentreX = 0;
int32_t g_viewCentreY = 0;
int32_t g_mapMode = 0;
int32_t g_viewingCountry = 0;
int32_t g_zoomShift = 0;
Rect g_mapViewRect{0, 0, 800, 600};
CImage* g_mapImage = nullptr;
uint32_t g_mapOptions = 0;

int32_t& g_mapCountry = g_viewingCountry;
Rect& g_viewRect = g_mapViewRect;
Rect g_savedViewRect{0, 0, 800, 600};
Rect g_worldBounds{0, 0, kMapWidth - 1, kMapMaxY - 1};
MapPoint g_viewOrigin{8816, 2600};
int32_t g_selectedProvince = 0;

int32_t InitWorldBounds() {
    g_worldBounds = {0, 0, kMapWidth - 1, kMapMaxY - 1};
    return 0;
}

void SetViewRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    g_mapViewRect = {left & ~15, top & ~15, right & ~15, bottom & ~15};
    g_savedViewRect = g_mapViewRect;
}

bool SetViewCentre(int32_t x, int32_t y) {
    x %= kMapWidth;
    if (x < 0)
        x += kMapWidth;
    g_viewCentreX = x;
    g_viewCentreY = std::clamp(y, g_worldBounds.top, g_worldBounds.bottom);
    const int32_t zoom = std::clamp(g_zoomShift, 0, 4);
    const int32_t halfWidth = ((g_mapViewRect.right - g_mapViewRect.left) >> 1) << zoom;
    const int32_t halfHeight = ((g_mapViewRect.bottom - g_mapViewRect.top) >> 1) << zoom;
    const int32_t tile = ~((32 << zoom) - 1);
    int32_t originX = (g_viewCentreX - halfWidth) % kMapWidth;
    if (originX < 0)
        originX += kMapWidth;
    g_viewOrigin = {originX & tile, (g_viewCentreY - halfHeight) & tile};
    // The sound patterns on the timer thread hear the map from here.
    g_patternPlayer.PublishViewCentre(g_viewCentreX, g_viewCentreY);
    return true;
}

bool ScrollView(int32_t dx, int32_t dy) {
    return SetViewCentre(static_cast<int32_t>(std::clamp<int64_t>(int64_t{g_viewCentreX} + dx,
                                                                  INT32_MIN, INT32_MAX)),
                         static_cast<int32_t>(std::clamp<int64_t>(int64_t{g_viewCentreY} + dy,
                                                                  INT32_MIN, INT32_MAX)));
}

void SetZoomShift(int32_t shift) {
    g_zoomShift = shift;
}

bool ZoomIn() {
    if (g_zoomShift <= 0)
        return false;
    --g_zoomShift;
    g_mapRedraw = 1;
    SetViewCentre(g_viewCentreX, g_viewCentreY);
    return true;
}

bool ZoomOut() {
    if (g_zoomShift >= 4 || ((g_worldBounds.right - g_worldBounds.left) >> (g_zoomShift + 1)) <=
                                g_mapViewRect.right - g_mapViewRect.left)
        return false;
    ++g_zoomShift;
    g_mapRedraw = 1;
    SetViewCentre(g_viewCentreX, g_viewCentreY);
    return true;
}

int32_t WrapMapDx(int64_t dx) {
    int64_t wrapped = (dx + kMapWidth / 2) % kMapWidth;
    if (wrapped < 0)
        wrapped += kMapWidth;
    return static_cast<int32_t>(wrapped - kMapWidth / 2);
}

namespace {

// The sound patterns hear across the map's edge the short way.
const bool g_patternMapDxRegistered = (g_patternMapDx = &WrapMapDx, true);

int32_t ViewZoom() {
    return std::clamp(g_zoomShift, 0, 4);
}

// The view origin of the stored centre at the current zoom.
void ReapplyCentre() {
    SetViewCentre(g_viewCentreX, g_viewCentreY);
}

// The offset of a map point from the view origin in screen pixels, x taken
// across the seam when the point lies far to the left of the origin.
MapPoint OffsetFromOrigin(int32_t mapX, int32_t mapY) {
    const int32_t zoom = ViewZoom();
    int64_t dx = int64_t{mapX} + (mapX < 0 ? kMapWidth : 0) - g_viewOrigin.x;
    if (dx < -kMapWidth / 2)
        dx += kMapWidth;
    const int64_t dy = int64_t{mapY} - g_viewOrigin.y;
    return {SaturateToInt32(dx >> zoom), SaturateToInt32(dy >> zoom)};
}

} // namespace

void GetViewOrigin(MapPoint& out) {
    ReapplyCentre();
    out = g_viewOrigin;
}

void WorldToScreen(MapPoint& out, int32_t mapX, int32_t mapY) {
    ReapplyCentre();
    const MapPoint d = OffsetFromOrigin(mapX, mapY);
    out.x = std::max(SaturateToInt32(int64_t{d.x} + g_mapViewRect.left), 0);
    out.y = std::max(SaturateToInt32(int64_t{d.y} + g_mapViewRect.top), 0);
}

bool WorldToScreenVisible(int32_t mapX, int32_t mapY, MapPoint& out) {
    ReapplyCentre();
    const MapPoint d = OffsetFromOrigin(mapX, mapY);
    out = {SaturateToInt32(int64_t{d.x} + g_mapViewRect.left),
           SaturateToInt32(int64_t{d.y} + g_mapViewRect.top)};
    const CImage* screen = g_screen.get();
    return screen && out.x >= 0 && out.y >= 0 && out.x < screen->width && out.y < screen->height;
}

bool WorldToView(int32_t mapX, int32_t mapY, MapPoint& out) {
    ReapplyCentre();
    out = OffsetFromOrigin(mapX, mapY);
    return out.x >= 0 && out.y >= 0 && out.x < g_mapViewRect.right - g_mapViewRect.left &&
           out.y < g_mapViewRect.bottom - g_mapViewRect.top;
}

MapPoint ScreenToWorld(int32_t screenX, int32_t screenY) {
    ReapplyCentre();
    const int32_t zoom = ViewZoom();
    const int64_t sx =
        std::clamp<int64_t>(int64_t{screenX} - g_mapViewRect.left, -kMapWidth, kMapWidth);
    const int64_t sy =
        std::clamp<int64_t>(int64_t{screenY} - g_mapViewRect.top, -kMapMaxY, kMapMaxY);
    int64_t x = ((sx << zoom) + g_viewOrigin.x) % kMapWidth;
    if (x < 0)
        x += kMapWidth;
    const int64_t y = (sy << zoom) + g_viewOrigin.y;
    return {static_cast<int32_t>(x), static_cast<int32_t>(std::clamp<int64_t>(y, 0, kMapMaxY))};
}

int32_t ProvinceAtMapPoint(int32_t x, int32_t y) {
    if (x < 0 || x >= kMapWidth || y < 0 || y >= kMapMaxY)
        return 0;
    return g_idGrid.ProvinceAt(x, y, ViewZoom());
}

bool SelectProvinceAtScreenPoint(int32_t screenX, int32_t screenY) {
    const MapPoint at = ScreenToWorld(screenX, screenY);
    if (at.y >= kMapMaxY)
        return SelectProvince(0);
    return SelectProvince(ProvinceAtMapPoint(at.x, at.y));
}

bool SelectProvince(int32_t id) {
    if (id < 1 || id > kLastProvinceId || id == g_selectedProvince ||
        g_provinces[static_cast<size_t>(id)].terrain == 8)
        return false;
    g_selectedProvince = id;
    RecolourMap(g_mapCountry, g_mapMode);
    g_mapRedraw = 1;
    return true;
}

void DeselectProvince() {
    if (g_selectedProvince == 0)
        return;
    g_mapRedraw = 1;
    g_selectedProvince = 0;
    RecolourMap(g_mapCountry, g_mapMode);
}

void SetMapRedraw(const Rect&) {
    g_mapRedraw = 1;
}

bool IsProvinceOnScreen(int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!province)
        return false;
    MapPoint topLeft;
    MapPoint bottomRight;
    WorldToScreenVisible(province->box.left, province->box.top, topLeft);
    WorldToScreenVisible(province->box.right, province->box.bottom, bottomRight);
    return topLeft.x < 801 && topLeft.y < 601 && bottomRight.x >= 200 && bottomRight.y >= 0;
}
