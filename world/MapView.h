#pragma once
// Where the map view stands: its centre in map pixels, the map mode with the
// country it is coloured for, and the zoom shift; the screen rectangle it is
// shown in, and the transforms from map points to screen points.
#include <cstdint>

#include "engine/Pixel.h"

class CImage;

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

// A point in map or screen pixels.
struct MapPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The rectangle of the screen the map is shown in.
extern Rect g_mapViewRect;
// The picture of the map; static map sprites are drawn into it. Owned by the
// map code; null while there is none.
extern CImage* g_mapImage;
// The map display option bits.
extern uint32_t g_mapOptions;
constexpr uint32_t kMapShowMarkers = 1; // province markers are shown

// A horizontal distance in map pixels taken the short way round the world:
// the result lies within -9472..9471.
int32_t WrapMapDx(int64_t dx);

// The map point at the top-left corner of the map view.
void GetViewOrigin(MapPoint& out);
// The screen point of a map point: x the short way from the view centre, y
// held within 0..kMapMaxY, both shifted right by the zoom.
void WorldToScreen(MapPoint& out, int32_t mapX, int32_t mapY);
// The same without holding y; true when the point lies on g_screen.
bool WorldToScreenVisible(int32_t mapX, int32_t mapY, MapPoint& out);
// The screen point relative to the map view's top-left corner; true when it
// lies inside the view.
bool WorldToView(int32_t mapX, int32_t mapY, MapPoint& out);
