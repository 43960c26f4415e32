#pragma once
// Pictures of the world map, drawn from a game folder's tables with the
// game's own readers: the tile decoder gives every leaf square of a tile its
// province and its light value (0..63); the terrain map mode gives every
// province its colour index and shade level; the shade table built from the
// colour scales gives the colour:
//
//   pixel = shade table [clamp(light - shade + 47, 4, 127)] [colour index]
//
// which is the game renderer's rule without fog (every land discovered) and
// without the light's interpolation between leaves: each leaf square is one
// flat colour. The 16-bit RGB565 entries are widened to 8 bits a channel.
// Border pseudo-provinces (owners' borders; none in the terrain mode) take
// scale 24. Map rows beyond the last one draw as parchment (row 4 of scale
// 0), as in the game.
#include <cstdint>
#include <string>

#include "tools/viewer/Png.h"

namespace viewer {

// Reads, from the current folder (the game folder), the map tables, the
// province table (for the terrain kinds), colours every province by its
// terrain in full colour and builds the shade table. False with a reason.
bool LoadMapForPictures(std::string& error);

// The map at a zoom shift (0..4): width x height picture pixels, each
// covering 1 << zoom map pixels, from the map point (left, top) (held to a
// multiple of 1 << zoom). x wraps around the map.
RgbPicture DrawMap(int32_t zoom, int32_t left, int32_t top, int32_t width, int32_t height);

// The whole map at zoom 4: 1184 x 456.
RgbPicture DrawWholeMap();
// The view the game opens on, at zoom 0: 576 x 608 from the map point
// (8800, 2592).
RgbPicture DrawOpeningView();

} // namespace viewer
