#include "engine/File.h"
#include "engine/Image.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Minimap.h"

bool CMap::Load() {
    g_fileError = 0;
    const bool read = LoadBoundBoxes(kBoundBoxFile) && LoadAdjacency(kAdjacencyFile) &&
                      g_idGrid.Load() && g_idGrid.LoadLightmaps() && g_incGrid.Load() &&
                      LoadColourScales("palette.act", g_colourScales);
    if (!read)
        return false;
    InitWorldBounds();
    delete g_minimap;
    g_minimap = new CMinimap(g_incGrid);
    RecolourMap(0, MAPMODE_TERRAIN);
    BuildMapShadeTable();
    return true;
}

void FreeMapData() {
    g_idGrid.FreeLightmaps();
    delete g_minimap;
    g_minimap = nullptr;
    delete g_mapImage;
    g_mapImage = nullptr;
    g_dirtyCells.clear();
    g_dirtyColumns = g_dirtyRows = 0;
}
