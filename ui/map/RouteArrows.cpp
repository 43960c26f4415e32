#include "ui/map/RouteArrows.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/Sprite.h"
#include "military/units/Unit.h"
#include "net/ClockEvents.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "world/MapView.h"

CSprite* g_mapArrows = nullptr;
std::array<uint16_t, 256> g_redRamp{};
std::array<uint16_t, 256> g_greenRamp{};

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t ToInt(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, double{std::numeric_limits<int32_t>::min()},
                                           double{std::numeric_limits<int32_t>::max()}));
}

// Ramp positions across the band: 0 on the left edge, 255 on the right, 128
// at the route's end, where the band closes to a point.
std::array<int32_t, 2> EdgePositions(const RouteCurvePoint& point) {
    if (point.leftX == point.rightX && point.leftY == point.rightY)
        return {128, 128};
    return {0, 255};
}

} // namespace

void LoadMapArrows() {
    FreeMapArrows();
    g_mapArrows = new CSprite("gfx\\map\\T-MAP_ARROWS.bmp");
    g_mapArrows->SetFrameCount(8);
    const bool is565 = g_pixelFormat == kPixelFormat565;
    for (int i = 0; i < 256; ++i) {
        const double s = std::sin(i * kPi / 256.0);
        const int red = static_cast<int>(s * 31.0 + 0.5);
        const int green = static_cast<int>(s * (is565 ? 63.0 : 31.0) + 0.5);
        g_redRamp[static_cast<size_t>(i)] = static_cast<uint16_t>(red << (is565 ? 11 : 10));
        g_greenRamp[static_cast<size_t>(i)] = static_cast<uint16_t>(green << 5);
    }
}

void FreeMapArrows() {
    delete g_mapArrows;
    g_mapArrows = nullptr;
}

int32_t RouteDirection(float dx, float dy) {
    const float a = std::atan2(dy, dx);
    if (a < -2.7488937f)
        return 6;
    if (a < -1.9634955f)
        return 7;
    if (a < -1.1780972f)
        return 0;
    if (a < -0.3926991f)
        return 1;
    if (a < 0.3926991f)
        return 2;
    if (a < 1.1780972f)
        return 3;
    if (a < 1.9634955f)
        return 4;
    if (a < 2.7488937f)
        return 5;
    return 6;
}

CRouteArrows::CRouteArrows(CUnit* routeOwner) : m_owner(routeOwner) {}

void CRouteArrows::AddPoint(int32_t pointX, int32_t pointY, int32_t flag) {
    RoutePoint point;
    point.x = pointX;
    point.y = pointY;
    point.flag = flag;
    if (!m_path.empty()) {
        RoutePoint& previous = m_path.back();
        const float dx = static_cast<float>(WrapMapDx(int64_t{pointX} - previous.x));
        const float dy = static_cast<float>(int64_t{pointY} - previous.y);
        point.tangentX = dx;
        point.tangentY = dy;
        if (m_path.size() >= 2) {
            // Half the way from the point before through the previous one.
            const RoutePoint& before = m_path[m_path.size() - 2];
            previous.tangentX =
                (static_cast<float>(WrapMapDx(int64_t{previous.x} - before.x)) + dx) / 2.0f;
            previous.tangentY = (static_cast<float>(int64_t{previous.y} - before.y) + dy) / 2.0f;
        } else {
            previous.tangentX = dx;
            previous.tangentY = dy;
        }
        previous.direction = RouteDirection(dx, dy);
        point.direction = previous.direction;
    }
    m_path.push_back(point);
}

void CRouteArrows::ClearPath() {
    m_path.clear();
    m_curve.clear();
    ticksShown = 0;
    ticksTotal = 0;
    covered = 0;
}

void CRouteArrows::BuildCurve() {
    m_curve.clear();
    if (m_path.size() < 2) {
        ticksTotal = 0;
        ticksShown = 0;
        return;
    }
    // The stretches follow each other without wrapping, so x may run past
    // the map's width; the map transform wraps it.
    double startX = m_path.front().x;
    for (size_t i = 0; i + 1 < m_path.size(); ++i) {
        const RoutePoint& p0 = m_path[i];
        const RoutePoint& p1 = m_path[i + 1];
        const double startY = p0.y;
        const double dx = WrapMapDx(int64_t{p1.x} - p0.x);
        const double dy = static_cast<double>(p1.y) - p0.y;
        const double t0x = p0.tangentX, t0y = p0.tangentY;
        const double t1x = p1.tangentX, t1y = p1.tangentY;
        // p(t) = P0 + T0 t + B t^2 + C t^3
        const double bx = 3 * dx - 2 * t0x - t1x, by = 3 * dy - 2 * t0y - t1y;
        const double cx = t0x + t1x - 2 * dx, cy = t0y + t1y - 2 * dy;
        for (int32_t s = 0; s < kRouteSamples; ++s) {
            const double t = s * 0.0625;
            const double px = startX + t0x * t + bx * t * t + cx * t * t * t;
            const double py = startY + t0y * t + by * t * t + cy * t * t * t;
            double vx = t0x + 2 * bx * t + 3 * cx * t * t;
            double vy = t0y + 2 * by * t + 3 * cy * t * t;
            double length = std::hypot(vx, vy);
            if (length == 0.0) {
                vx = dx;
                vy = dy;
                length = std::hypot(vx, vy);
            }
            const double nx = length == 0.0 ? 0.0 : -vy / length * kRouteHalfWidth;
            const double ny = length == 0.0 ? kRouteHalfWidth : vx / length * kRouteHalfWidth;
            m_curve.push_back({ToInt(px), ToInt(py), ToInt(px + nx), ToInt(py + ny), ToInt(px - nx),
                               ToInt(py - ny)});
        }
        startX += dx;
    }
    // The band closes to a point at the last path point.
    const int32_t endX = ToInt(startX);
    const int32_t endY = m_path.back().y;
    m_curve.push_back({endX, endY, endX, endY, endX, endY});
    ticksTotal = static_cast<int32_t>(m_curve.size()) - 1;
    ticksShown = std::min(ticksShown, ticksTotal);
    UpdateCovered();
}

void CRouteArrows::Show(bool restart) {
    if (showing)
        return;
    ticksShown = restart ? 1 : ticksTotal;
    showing = 1;
    if (g_displayList)
        g_displayList->Add(this, kRouteLayer, 0);
}

void CRouteArrows::Hide() {
    if (!showing)
        return;
    if (g_displayList)
        g_displayList->Remove(this, 0);
    showing = 0;
}

void CRouteArrows::UpdateCovered() {
    if (!m_owner) {
        covered = 0;
        return;
    }
    const double fraction = std::clamp(double{m_owner->GetTravelledFraction()}, 0.0, 1.0);
    covered = std::clamp(static_cast<int32_t>(fraction * ticksTotal), 0, ticksTotal);
}

int CRouteArrows::HandleEvent(COVEvent& event) {
    if (event.GetType() == EVT_TICK_ANIMATIONS) {
        const int64_t ticks = event.Payload().Get(COVTickAnimationsEvent::kElapsed);
        ticksShown = static_cast<int32_t>(std::min<int64_t>(ticksShown + ticks, ticksTotal));
        UpdateCovered();
    }
    return DRAWABLE_NOT_TAKEN;
}

void CRouteArrows::DrawBand(const std::vector<RouteCurvePoint>& screenCurve, int32_t offsetX,
                            int32_t offsetY) const {
    CImage& screen = *g_screen;
    const int32_t pieces = std::min(ticksShown, static_cast<int32_t>(screenCurve.size()) - 1);
    for (int32_t i = 0; i < pieces; ++i) {
        const RouteCurvePoint& a = screenCurve[static_cast<size_t>(i)];
        const RouteCurvePoint& b = screenCurve[static_cast<size_t>(i) + 1];
        const std::array<int32_t, 2> pa = EdgePositions(a);
        const std::array<int32_t, 2> pb = EdgePositions(b);
        const std::array<uint16_t, 256>& ramp = i < covered ? g_redRamp : g_greenRamp;
        screen.FillRampTriangle({a.leftX, a.leftY, a.rightX, a.rightY, b.leftX, b.leftY},
                                {pa[0], pa[1], pb[0]}, ramp, offsetX, offsetY);
        screen.FillRampTriangle({a.rightX, a.rightY, b.rightX, b.rightY, b.leftX, b.leftY},
                                {pa[1], pb[1], pb[0]}, ramp, offsetX, offsetY);
    }
}

void CRouteArrows::Draw(int32_t /*param*/) {
    if (m_curve.empty() || m_path.size() < 2 || !g_screen)
        return;
    std::vector<RouteCurvePoint> screenCurve;
    screenCurve.reserve(m_curve.size());
    for (const RouteCurvePoint& point : m_curve) {
        MapPoint centre, left, right;
        WorldToScreen(centre, point.centreX, point.centreY);
        WorldToScreen(left, point.leftX, point.leftY);
        WorldToScreen(right, point.rightX, point.rightY);
        screenCurve.push_back({centre.x, centre.y, left.x, left.y, right.x, right.y});
    }
    // The shadow, unless the zoom shrinks its offset to nothing.
    const int32_t zoom = std::clamp(g_zoomShift, 0, 4);
    const int32_t shadowX = 4 >> zoom;
    const int32_t shadowY = 6 >> zoom;
    if (shadowX != 0 || shadowY != 0)
        DrawBand(screenCurve, shadowX, shadowY);
    DrawBand(screenCurve, 0, 0);

    if (!g_mapArrows || !g_mapArrows->image)
        return;
    CSprite& arrows = *g_mapArrows;
    arrows.SetDestination(g_screen.get());
    arrows.SetClipRectFrom(g_mapViewRect);
    for (const RoutePoint& point : m_path) {
        MapPoint at;
        WorldToScreen(at, point.x, point.y);
        arrows.SetFrame(point.direction);
        arrows.SetOrigin(arrows.frameWidth / 2, arrows.image->height / 2);
        arrows.SetPosition(at.x, at.y);
        arrows.Draw(0);
    }
}
