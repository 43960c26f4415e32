#include "world/MapView.h"

#include <algorithm>
#include <cstdint>

#include "engine/Display.h"
#include "engine/SoundPattern.h"

int32_t g_viewCentreX = 0;
int32_t g_viewCentreY = 0;
int32_t g_mapMode = 0;
int32_t g_viewingCountry = 0;
int32_t g_zoomShift = 0;
Rect g_mapViewRect{0, 0, 800, 600};
CImage* g_mapImage = nullptr;
uint32_t g_mapOptions = 0;

void SetViewCentre(int32_t x, int32_t y) {
    x %= kMapWidth;
    if (x < 0)
        x += kMapWidth;
    g_viewCentreX = x;
    g_viewCentreY = y < 0 ? 0 : (y > kMapMaxY ? kMapMaxY : y);
    // The sound patterns on the timer thread hear the map from here.
    g_patternPlayer.PublishViewCentre(g_viewCentreX, g_viewCentreY);
}

void RecolourMap(int32_t country, int32_t mapMode) {
    g_viewingCountry = country;
    g_mapMode = mapMode;
}

void SetZoomShift(int32_t shift) {
    g_zoomShift = shift;
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

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The screen point of a map point, y as given.
MapPoint ToScreen(int32_t mapX, int32_t mapY) {
    const int32_t zoom = ViewZoom();
    const Rect& view = g_mapViewRect;
    const int64_t centreX = int64_t{view.left} + (int64_t{view.right} - view.left) / 2;
    const int64_t centreY = int64_t{view.top} + (int64_t{view.bottom} - view.top) / 2;
    return {Saturate(centreX + (WrapMapDx(int64_t{mapX} - g_viewCentreX) >> zoom)),
            Saturate(centreY + ((int64_t{mapY} - g_viewCentreY) >> zoom))};
}

} // namespace

void GetViewOrigin(MapPoint& out) {
    const int32_t zoom = ViewZoom();
    out.x = g_viewCentreX - (((g_mapViewRect.right - g_mapViewRect.left) / 2) << zoom);
    out.y = g_viewCentreY - (((g_mapViewRect.bottom - g_mapViewRect.top) / 2) << zoom);
}

void WorldToScreen(MapPoint& out, int32_t mapX, int32_t mapY) {
    out = ToScreen(mapX, std::clamp(mapY, 0, kMapMaxY));
}

bool WorldToScreenVisible(int32_t mapX, int32_t mapY, MapPoint& out) {
    out = ToScreen(mapX, mapY);
    const CImage* screen = g_screen.get();
    return screen && out.x >= 0 && out.y >= 0 && out.x < screen->width && out.y < screen->height;
}

bool WorldToView(int32_t mapX, int32_t mapY, MapPoint& out) {
    out = ToScreen(mapX, mapY);
    out.x = Saturate(int64_t{out.x} - g_mapViewRect.left);
    out.y = Saturate(int64_t{out.y} - g_mapViewRect.top);
    return out.x >= 0 && out.y >= 0 && out.x < g_mapViewRect.right - g_mapViewRect.left &&
           out.y < g_mapViewRect.bottom - g_mapViewRect.top;
}
