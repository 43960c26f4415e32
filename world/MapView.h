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

// The viewing country of the map modes (the same variable).
extern int32_t& g_mapCountry;

// Sets the view centre: x wraps around the map's width, y is held within the
// world's top and bottom (0..7295); the view origin follows. Always true.
bool SetViewCentre(int32_t x, int32_t y);
// SetViewCentre (centre + (dx, dy)).
bool ScrollView(int32_t dx, int32_t dy);
// Sets the viewing country and the map mode and colours every province for
// it (world/MapModes.cpp). An empty country (below 1) means the player's.
void RecolourMap(int32_t country, int32_t mapMode);
void SetZoomShift(int32_t shift);
// One zoom level in (shift - 1) while the shift is above 0; true when it
// changed (the map is redrawn, the centre re-applied).
bool ZoomIn();
// One level out while the shift is below 4 and the world at that level is
// still wider than the view; true when it changed.
bool ZoomOut();

// A point in map or screen pixels.
struct MapPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The rectangle of the screen the map is shown in (each side a multiple of
// 16), the copy SetViewRect keeps, and the world's bounds in map pixels.
extern Rect g_mapViewRect;
extern Rect& g_viewRect;
extern Rect g_savedViewRect;
extern Rect g_worldBounds;
// The map point at the view's top-left corner as the renderer lays its
// tiles: the centre less half the view, cleared to a multiple of 32 << zoom.
extern MapPoint g_viewOrigin;
// The selected province, 0 = none.
extern int32_t g_selectedProvince;

// World bounds (0, 0, 18943, 7295); answers 0.
int32_t InitWorldBounds();
// Stores the view rectangle and its copy, each side truncated to a multiple
// of 16.
void SetViewRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The picture of the map; static map sprites are drawn into it. Owned by the
// map code; null while there is none.
extern CImage* g_mapImage;
// The map display option bits.
extern uint32_t g_mapOptions;
constexpr uint32_t kMapShowMarkers = 1; // province markers are shown

// A horizontal distance in map pixels taken the short way round the world:
// the result lies within -9472..9471.
int32_t WrapMapDx(int64_t dx);

// Every conversion first re-applies the stored centre, so it works from the
// view origin (the top-left corner of the view, laid on the tile grid).
// The map point at the top-left corner of the map view.
void GetViewOrigin(MapPoint& out);
// The screen point of a map point: the offset from the view origin (x taken
// across the seam when it lies more than half the world to the left)
// shifted right by the zoom, plus the view's top-left corner; negative
// values become 0.
void WorldToScreen(MapPoint& out, int32_t mapX, int32_t mapY);
// The same without clamping; true when the point lies on g_screen.
bool WorldToScreenVisible(int32_t mapX, int32_t mapY, MapPoint& out);
// The point relative to the map view's top-left corner; true when it lies
// inside the view.
bool WorldToView(int32_t mapX, int32_t mapY, MapPoint& out);

// The map point under a screen point, the inverse of WorldToScreen: the
// offset from the view's corner shifted left by the zoom plus the origin, x
// wrapped, y at least 0 and 7296 (off the map) from there on.
MapPoint ScreenToWorld(int32_t screenX, int32_t screenY);

// The province under a map point at the current zoom's resolution; 0 when
// the point lies outside x 0..18943, y 0..7295 (row 0 has no province).
int32_t ProvinceAtMapPoint(int32_t x, int32_t y);
// Selects the province under the screen point (off the map: nothing
// changes); answers SelectProvince's answer.
bool SelectProvinceAtScreenPoint(int32_t screenX, int32_t screenY);
// False for an id below 1 or above 1472, the selected one, or a province of
// kind 8; else selects it, recolours the map in its mode and redraws.
bool SelectProvince(int32_t id);
// Clears the selection (when there is one), redraws and recolours.
void DeselectProvince();
// The map is redrawn; the rectangle is not used.
void SetMapRedraw(const Rect& rect);
// Whether the province's bounding box reaches the screen.
bool IsProvinceOnScreen(int32_t id);
