#pragma once
// Where the map view stands: its centre in map pixels, the map mode with the
// country it is coloured for, and the zoom shift.
#include <cstdint>

// Width of the world map in map pixels (x wraps around it) and the largest y.
constexpr int32_t kMapWidth = 18944;
constexpr int32_t kMapMaxY = 7296;

extern int32_t g_viewCentreX;
extern int32_t g_viewCentreY;
extern int32_t g_mapMode;
extern int32_t g_viewingCountry;
// 0 = full size; map coordinates shifted right by it give screen pixels.
extern int32_t g_zoomShift;

// Sets the view centre: x wraps around the map's width, y is held within
// 0..kMapMaxY.
void SetViewCentre(int32_t x, int32_t y);
// Sets the viewing country and the map mode.
void RecolourMap(int32_t country, int32_t mapMode);
void SetZoomShift(int32_t shift);
