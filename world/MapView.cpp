#include "world/MapView.h"

int32_t g_viewCentreX = 0;
int32_t g_viewCentreY = 0;
int32_t g_mapMode = 0;
int32_t g_viewingCountry = 0;
int32_t g_zoomShift = 0;

void SetViewCentre(int32_t x, int32_t y) {
    x %= kMapWidth;
    if (x < 0)
        x += kMapWidth;
    g_viewCentreX = x;
    g_viewCentreY = y < 0 ? 0 : (y > kMapMaxY ? kMapMaxY : y);
}

void RecolourMap(int32_t country, int32_t mapMode) {
    g_viewingCountry = country;
    g_mapMode = mapMode;
}

void SetZoomShift(int32_t shift) { g_zoomShift = shift; }
