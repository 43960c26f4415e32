#pragma once
// The world map. It owns the map's static data (the tables of the "map"
// folder, world/MapTables.h), the view image and the dirty cells the
// renderer redraws; its message handler takes every broadcast message once
// the game has started: it hands it on to the goods and the provinces,
// recolours the map each month and scrolls the view each tick.
#include <cstdint>
#include <vector>

#include "net/Event.h"

class CInputEvent;
class CProvince;

class CMap : public CMessageReceiver {
public:
    // Lays out the view (left 224, top 0, the screen's width cut and its
    // height raised to multiples of 32) and makes the view image and the
    // dirty cells for it.
    CMap();
    ~CMap() override = default;

    // EVENT_CONSUMED when the goods or a province took the message, else
    // EVENT_NOT_HANDLED.
    int HandleMessage(COVEvent& event) override;
    // Arrow keys (codes 1 up, 2 down, 3 left, 4 right) ask for a scroll on
    // the next tick; code 82 clears the view image, re-reads the colour
    // scales and rebuilds the shade table. Answers 0.
    int HandleInput(CInputEvent& event);
    // Reads every map table, makes the minimap and the first colouring.
    // False (after a box naming the file) when a table is missing, short or
    // damaged: the game must not run on a map it could not read.
    bool Load();
    // The drawing passes of the map view: 0 renders the dirty cells into
    // the view image (world/MapRender.h); 2 copies the view image onto the
    // screen at the view's top-left, rolled by its ring-buffer origin; 3
    // keeps what was drawn (selection, origin, centre), clears the redraw
    // and scroll-force flags and draws the minimap with the view's outline;
    // 4 is the provinces' drawing at their centres and the travellers'. Nothing while the year
    // book is open. Answers 0.
    int Draw(int32_t pass);
};

// Frees what CMap::Load and the constructor made.
void FreeMapData();

// Made at start-up (the map view); null before and after.
extern CMap* g_map;

// One byte per 32 x 32 cell of the view; 1 = redraw.
extern std::vector<uint8_t> g_dirtyCells;
extern int32_t g_dirtyColumns;
extern int32_t g_dirtyRows;

// Scroll requests of the arrow keys (-10000, 0 or 10000 per axis), used up
// by the next tick.
struct ScrollRequest {
    int32_t dx = 0;
    int32_t dy = 0;
};
extern ScrollRequest g_scrollRequest;
constexpr int32_t kScrollRequest = 10000;

// What the map's message handler hands on to parts that lie beside or
// above the map; their owners fill these at start-up. A null entry answers
// as a game without that part (nothing taken, never locked).
struct MapMessageHooks {
    // The goods table sees every message first.
    int (*goods)(COVEvent& event) = nullptr;
    // A province's message handler; EVENT_CONSUMED ends the walk.
    int (*province)(CProvince& province, COVEvent& event) = nullptr;
    // True while the main game screen holds its scroll lock or the year
    // book is open: the view does not scroll.
    bool (*scrollLocked)() = nullptr;
    // True while the year book is open: the map view is not drawn.
    bool (*yearBookOpen)() = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern MapMessageHooks g_mapMessageHooks;
