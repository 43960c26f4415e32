#pragma once
// The planned route of a selected unit, drawn on the map as a smooth band
// through its path points with arrow heads at the points. The band is a
// cubic Hermite curve sampled 16 times per stretch between two points; the
// part the unit has already travelled is drawn with the red ramp, the rest
// with the green one. Routes are shown on layer 350 of g_displayList.
//
// Points are map coordinates; the world wraps round its 18944-pixel width,
// and each stretch goes the short way across the map's edge.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/Drawable.h"

class CSprite;
class CUnit;

// The arrow heads: "gfx\map\T-MAP_ARROWS.bmp" in 8 frames, one per direction
// (0 n, 1 ne, 2 e, 3 se, 4 s, 5 sw, 6 w, 7 nw). A plain pointer, so that
// nothing of it is left for the program's exit, after the image cache is
// gone.
extern CSprite* g_mapArrows;
// 256 pixels each of the current pixel format, dark at both ends and
// brightest in the middle (sin(i x pi / 256)).
extern std::array<uint16_t, 256> g_redRamp;
extern std::array<uint16_t, 256> g_greenRamp;

// Loads the arrow heads and builds the ramps for the current pixel format.
void LoadMapArrows();
void FreeMapArrows();

// The direction of an on-screen vector by eighths of the circle: 0 n, 1 ne,
// 2 e, 3 se, 4 s, 5 sw, 6 w, 7 nw.
int32_t RouteDirection(float dx, float dy);

constexpr int32_t kRouteLayer = 350;
constexpr int32_t kRouteSamples = 16;  // curve points per stretch
constexpr int32_t kRouteHalfWidth = 6; // map pixels from the curve to each edge of the band

struct RoutePoint {
    int32_t x = 0; // map coordinates
    int32_t y = 0;
    int32_t direction = 0; // of the arrow head here, 0..7
    int32_t flag = 0;      // the caller's
    float tangentX = 0.0f;
    float tangentY = 0.0f;
};

struct RouteCurvePoint {
    int32_t centreX = 0;
    int32_t centreY = 0;
    int32_t leftX = 0;
    int32_t leftY = 0;
    int32_t rightX = 0;
    int32_t rightY = 0;
};

class CRouteArrows : public Drawable {
public:
    explicit CRouteArrows(CUnit* routeOwner);
    CRouteArrows(const CRouteArrows&) = delete;
    CRouteArrows& operator=(const CRouteArrows&) = delete;

    // Appends a point. The new point's tangent is the way from the previous
    // one; the previous point's tangent becomes half the way from the point
    // before it to the new one (the way from itself when it is the first),
    // and its arrow and the new point's point along the way to the new one.
    void AddPoint(int32_t pointX, int32_t pointY, int32_t flag);
    // No points, no curve, counters 0.
    void ClearPath();
    // The curve from the points (none below two points).
    void BuildCurve();

    // Adds the route to g_displayList (layer 350, param 0) unless it is
    // there; with restart the band grows from its start, tick by tick,
    // otherwise it shows whole at once.
    void Show(bool restart);
    void Hide();

    // Animation ticks grow the shown part of the band and take the
    // travelled part from the owner; answers DRAWABLE_NOT_TAKEN.
    int HandleEvent(COVEvent& event) override;
    // The band's shadow, the band and the arrow heads; nothing without a
    // curve or below two points.
    void Draw(int32_t param) override;

    const std::vector<RoutePoint>& GetPath() const { return m_path; }
    const std::vector<RouteCurvePoint>& GetCurve() const { return m_curve; }
    bool IsShowing() const { return showing != 0; }

    int32_t ticksShown = 0; // curve pieces shown so far
    int32_t ticksTotal = 0; // curve pieces in all
    int32_t covered = 0;    // curve pieces the owner has travelled
    uint8_t showing = 0;

private:
    // The travelled part from the owner's fraction of its move.
    void UpdateCovered();
    // The band, shifted by the offsets (a shadow when they are not both 0).
    void DrawBand(const std::vector<RouteCurvePoint>& screenCurve, int32_t offsetX,
                  int32_t offsetY) const;

    std::vector<RoutePoint> m_path;
    std::vector<RouteCurvePoint> m_curve;
    CUnit* m_owner;
};
