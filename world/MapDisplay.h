#pragma once
// The map view on the display list: one drawable whose entries hand the
// frame's drawing passes to the map (CMap::Draw).
#include <cstdint>

// The map view's entries, from the bottom up: layer 100 renders (pass 0),
// 250 copies the view and draws the provinces' symbols (pass 2), 500 draws
// at the provinces' centres (pass 4), 2150 finishes the frame with the
// minimap (pass 3). Nothing without a display list; a second call replaces
// the entries of the first.
void AddMapToDisplayList();
// Takes the map view's entries off the display list.
void RemoveMapFromDisplayList();
// Whether the map view has entries on the display list.
bool IsMapOnDisplayList();
