#pragma once
// The minimap: the whole world at (32, 504) of the screen, each pixel taken
// from the known-world picture ("gfx\map\minimapfull.bmp") or the
// undiscovered one ("gfx\map\minimapempty.bmp") by the fog cell under it,
// with the outline of the map view drawn over it. Made by CMap::Load,
// deleted by FreeMapData.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Drawable.h"
#include "engine/Pixel.h"
#include "world/MapView.h"

class CImage;
class CIncGrid;
class CInputEvent;

class CMinimap : public Drawable {
public:
    static constexpr int32_t kLeft = 32;
    static constexpr int32_t kTop = 504;

    // Reads both pictures; the minimap image takes the undiscovered one's
    // size. A picture that cannot be read leaves an empty minimap.
    explicit CMinimap(CIncGrid& fogGrid);
    ~CMinimap() override;

    // A press on the minimap (x - 32 in 0..width - 1, y - 504 in
    // 0..height - 1) while it is shown centres the view on the map point
    // under it and redraws the map: DRAWABLE_TAKEN. Other mouse events
    // within the minimap's bounds (right and bottom edge included) are taken
    // too; everything else is not.
    int HandleInput(CInputEvent& event);
    // Rebuilds the image when flagged, then copies it onto the screen.
    void Draw(int32_t param) override;
    void Draw() { Draw(0); }
    // Inside the minimap, its right and bottom edge included.
    bool HitTest(int32_t x, int32_t y) const;
    // The minimap is rebuilt before it is next drawn.
    void MarkDirty() { rebuild = 1; }
    // Each pixel from the known or the undiscovered picture by its fog cell.
    void Rebuild();
    // Puts back the screen pixels the last outline covered, then saves and
    // blackens those of the view's outline around the centre, held to the
    // minimap.
    void DrawViewOutline(int32_t centreX, int32_t centreY, int32_t shift, const Rect& view);

    int32_t Width() const;
    int32_t Height() const;

    CIncGrid* fog;
    uint8_t visible = 1;
    uint8_t rebuild = 1;
    float xScale = 0;
    float yScale = 0;
    std::unique_ptr<CImage> image;
    std::unique_ptr<CImage> empty;
    std::unique_ptr<CImage> full;
    // The screen pixels under the last outline and the rectangle they came
    // from (left -1: nothing saved).
    std::vector<uint16_t> saved;
    Rect savedBounds{-1, 0, 0, 0};
};

// The screen point of a map point on the minimap, and back.
MapPoint WorldToMinimap(int32_t x, int32_t y);
MapPoint MinimapToWorld(int32_t sx, int32_t sy);

// Null before CMap::Load and after FreeMapData.
extern CMinimap* g_minimap;
