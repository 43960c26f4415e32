#pragma once
// The minimap over the fog grid: the whole world from a known and an
// undiscovered picture. Made by CMap::Load, deleted by FreeMapData; only its
// state is kept here, the drawing comes with the map renderer.
#include <cstdint>

class CIncGrid;

class CMinimap {
public:
    explicit CMinimap(CIncGrid& fogGrid) : fog(&fogGrid) {}

    // The minimap is rebuilt before it is next drawn.
    void MarkDirty() { rebuild = 1; }

    CIncGrid* fog;
    uint8_t visible = 1;
    uint8_t rebuild = 1;
};

// Null before CMap::Load and after FreeMapData.
extern CMinimap* g_minimap;
