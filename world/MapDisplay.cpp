#include "world/MapDisplay.h"

#include "engine/DisplayList.h"
#include "engine/Drawable.h"
#include "world/Map.h"

namespace {

// The map view as the display list sees it: each entry's parameter is the
// pass it draws.
class CMapViewDrawable : public Drawable {
public:
    void Draw(int32_t pass) override {
        if (g_map)
            g_map->Draw(pass);
    }
};

struct MapEntry {
    int32_t layer;
    int32_t pass;
};
constexpr MapEntry kMapEntries[] = {{100, 0}, {250, 2}, {500, 4}, {2150, 3}};

// Not owned by a static object: nothing of it is left for the program's
// exit, after the display list is gone.
CMapViewDrawable* g_mapView = nullptr;

} // namespace

void AddMapToDisplayList() {
    RemoveMapFromDisplayList();
    if (!g_displayList)
        return;
    g_mapView = new CMapViewDrawable;
    for (const MapEntry& entry : kMapEntries)
        g_displayList->Add(g_mapView, entry.layer, entry.pass);
}

void RemoveMapFromDisplayList() {
    delete g_mapView; // its entries leave the display list with it
    g_mapView = nullptr;
}

bool IsMapOnDisplayList() {
    return g_mapView != nullptr;
}
