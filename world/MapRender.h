#pragma once
// The map view as the player sees it: drawn into g_mapImage cell by cell
// from the tiles of the current zoom level, with the light of each pixel,
// the province's colour and shade through g_mapShadeTable, and the fog that
// turns undiscovered land and sea into parchment. Only dirty cells are
// redrawn; small scrolls roll the view image (a ring buffer) and draw the
// cells that came into view.
//
// The fog grid (CIncGrid::fog) holds one byte per 32 x 32 map cell, 0
// (known) .. 127 (undiscovered); the player's discoveries lower it around
// each revealed province.
#include <cstdint>

#include "world/MapView.h"

// The origin and centre the view was last drawn at (drawing pass 3).
extern MapPoint g_lastDrawnOrigin;
extern MapPoint g_lastDrawnCentre;
// The selected province when the view was last drawn.
extern int32_t g_lastDrawnSelection;
// Set, the next draw redraws every dirty cell instead of scrolling.
extern uint8_t g_mapScrollForce;

// Views of this many screen pixels or more of movement are redrawn whole.
constexpr int32_t kMaxScrollPixels = 128;
// The fog value at or below which a pixel is clear, and from which on it is
// all parchment (beyond the view's top and bottom too).
constexpr int32_t kFogClear = 24;
constexpr int32_t kFogFull = 94;
constexpr int32_t kFogParchment = 128;
// The shade-table row and column of the parchment beyond the map.
constexpr int32_t kParchmentRow = 4;

// Drawing pass 0: re-applies the view centre, then scrolls (a move below
// 128 screen pixels on both axes with nothing else to redraw: the view
// image rolls by whole cells and the cells that came into view are drawn)
// or draws every dirty cell (all of them while g_mapRedraw is set).
void RenderMapView();
// Draws the view cell (column, row) at the current origin and zoom into its
// place in the view image and clears its dirty byte.
void RenderMapCell(int32_t column, int32_t row);
// The shade-table row of a pixel: light - fog - shade + 47 held to 4..127.
constexpr int32_t ShadeRow(int32_t light, int32_t fog, int32_t shade) {
    const int32_t row = light - fog - shade + 47;
    return row < kParchmentRow ? kParchmentRow : (row > 127 ? 127 : row);
}
// What a bilinear fog value (0..127) becomes on the map: 0 up to 24, v - 24
// below 94, 128 (parchment) from there on.
constexpr int32_t FogLevel(int32_t value) {
    return value <= kFogClear ? 0 : (value < kFogFull ? value - kFogClear : kFogParchment);
}

// Lowers the fog grid around the province: every map cell within its
// bounding box widened by 64 map pixels (rows held to the map, columns
// wrapping round it) gets half of its value from its cell record and the
// revealed marks of the provinces the record names.
void UpdateFogAround(int32_t provinceId);
// Marks the province revealed to the player, lowers the fog around it and
// has the map redrawn and the minimap rebuilt, whoever the country is.
void RevealProvince(uint32_t countryNumber, int32_t provinceId);
// The fog back to undiscovered; every province revealed as the country has
// discovered it, and the fog lowered around each revealed one.
void ResetFog(uint32_t countryNumber);
