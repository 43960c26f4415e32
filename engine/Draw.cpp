// The drawing primitives of the images: lines, triangles and the rectangle
// effects, and the blend tables they share with the framed drawer.
#include "engine/Draw.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/Image.h"
#include "engine/ImageAccess.h"

BlendTable g_shadeTable{};
BlendTable g_scaleTable{};

void BuildShadeTables() {
    for (int32_t c = 0; c < 32; ++c) {
        for (int32_t l = 0; l < 32; ++l) {
            // c + l - c x l / 32 reaches 32 for c = 31 and small levels; held
            // at 31 so that a channel never spills into its neighbour.
            g_shadeTable[c][l] = static_cast<uint8_t>(std::min(c + l - c * l / 32, 31));
            g_scaleTable[c][l] = static_cast<uint8_t>(c * l / 32);
        }
    }
}

namespace {

[[maybe_unused]] const bool kTablesBuilt = (BuildShadeTables(), true);

// Rows beyond this many are not scanned by the ramp triangles.
constexpr int32_t kEdgeTableRows = 768;

// The rectangle of an effect held to the picture; false when nothing is left.
// With pairs, left and right are rounded down to even. A margin of 1 keeps
// the last row and column out.
bool ClampEffectRect(Rect& r, const PixelView& view, bool pairs, int32_t margin) {
    if (!view.pixels || view.width - margin < 1 || view.height - margin < 1)
        return false;
    r.left = std::clamp(r.left, 0, view.width - 1 - margin);
    r.top = std::clamp(r.top, 0, view.height - 1 - margin);
    r.right = std::clamp(r.right, pairs ? 0 : 1, view.width - margin);
    r.bottom = std::clamp(r.bottom, 1, view.height - margin);
    if (pairs) {
        r.left &= ~1;
        r.right &= ~1;
    }
    return r.left < r.right && r.top < r.bottom;
}

template <class Function> void ForEachPixel(const CPixelAccess& access, const Rect& r, Function f) {
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* row = access.Row(y);
        for (int32_t x = r.left; x < r.right; ++x)
            StorePixel(row + x * 2, f(LoadPixel(row + x * 2)));
    }
}

// Calls plot(x, y) for every point of a Bresenham line, both ends included.
template <class Function>
void Bresenham(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Function plot) {
    int32_t dx = std::abs(x2 - x1);
    int32_t dy = -std::abs(y2 - y1);
    int32_t sx = x1 < x2 ? 1 : -1;
    int32_t sy = y1 < y2 ? 1 : -1;
    int32_t error = dx + dy;
    for (;;) {
        plot(x1, y1);
        if (x1 == x2 && y1 == y2)
            return;
        int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y1 += sy;
        }
    }
}

// One row of a scanned triangle: its leftmost and rightmost x with the ramp
// position there (16.16 fixed point).
struct Span {
    int32_t left = INT32_MAX;
    int32_t right = INT32_MIN;
    int64_t rampLeft = 0;
    int64_t rampRight = 0;
};

void Note(Span& span, int32_t x, int64_t ramp) {
    if (x < span.left) {
        span.left = x;
        span.rampLeft = ramp;
    }
    if (x > span.right) {
        span.right = x;
        span.rampRight = ramp;
    }
}

// Points are held within this far of the picture's corner, which keeps the
// fixed-point products within 64 bits.
constexpr int64_t kCoordinateLimit = 1 << 20;

// Scans the three edges into the rows 0..rows-1, with x and the ramp position
// in 16.16 fixed point; a horizontal edge notes both its ends.
std::vector<Span> ScanTriangle(const std::array<int32_t, 6>& p, const std::array<int32_t, 3>& ramp,
                               int32_t rows) {
    std::vector<Span> spans(static_cast<size_t>(std::max(rows, 0)));
    auto point = [&](int32_t i) {
        return std::clamp<int64_t>(p[i], -kCoordinateLimit, kCoordinateLimit);
    };
    for (int32_t edge = 0; edge < 3; ++edge) {
        int32_t a = edge;
        int32_t b = (edge + 1) % 3;
        int64_t xa = point(a * 2), ya = point(a * 2 + 1), xb = point(b * 2), yb = point(b * 2 + 1);
        int64_t ra = std::clamp<int64_t>(ramp[a], 0, 255) << 16;
        int64_t rb = std::clamp<int64_t>(ramp[b], 0, 255) << 16;
        if (ya > yb) {
            std::swap(xa, xb);
            std::swap(ya, yb);
            std::swap(ra, rb);
        }
        if (yb < 0 || ya >= rows)
            continue;
        if (ya == yb) {
            Note(spans[ya], static_cast<int32_t>(xa), ra);
            Note(spans[ya], static_cast<int32_t>(xb), rb);
            continue;
        }
        for (int64_t y = std::max<int64_t>(ya, 0); y <= std::min<int64_t>(yb, rows - 1); ++y) {
            int64_t x = (xa << 16) + ((xb - xa) << 16) * (y - ya) / (yb - ya);
            Note(spans[y], static_cast<int32_t>((x + 0x8000) >> 16),
                 ra + (rb - ra) * (y - ya) / (yb - ya));
        }
    }
    return spans;
}

} // namespace

uint16_t ShadePixel(uint16_t pixel, int32_t level, int32_t format) {
    level = std::clamp(level, 0, 31);
    return CombineChannels5(pixel, pixel, format,
                            [&](int32_t c, int32_t) { return g_shadeTable[c][level]; });
}

void CImage::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    CPixelAccess access(*this);
    const PixelView& v = access.view;
    if (!v.pixels || bytesPerPixel != 2 || v.width < 1 || v.height < 1)
        return;
    x1 = std::clamp(x1, 0, v.width - 1);
    x2 = std::clamp(x2, 0, v.width - 1);
    y1 = std::clamp(y1, 0, v.height - 1);
    y2 = std::clamp(y2, 0, v.height - 1);
    Bresenham(x1, y1, x2, y2,
              [&](int32_t x, int32_t y) { StorePixel(access.Row(y) + x * 2, penColour); });
}

void CImage::DrawSmoothLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    CPixelAccess access(*this);
    const PixelView& v = access.view;
    if (!v.pixels || bytesPerPixel != 2 || v.width < 3 || v.height < 3)
        return;
    x1 = std::clamp(x1, 1, v.width - 2);
    x2 = std::clamp(x2, 1, v.width - 2);
    y1 = std::clamp(y1, 1, v.height - 2);
    y2 = std::clamp(y2, 1, v.height - 2);
    const int32_t format = g_pixelFormat;
    const PixelChannels pen = SplitPixel(penColour, format);
    auto blend = [&](int32_t x, int32_t y) {
        uint8_t* at = access.Row(y) + x * 2;
        PixelChannels c = SplitPixel(LoadPixel(at), format);
        c.r += (pen.r - c.r) >> 1;
        c.g += (pen.g - c.g) >> 1;
        c.b += (pen.b - c.b) >> 1;
        StorePixel(at, JoinPixel(c, format));
    };
    Bresenham(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        StorePixel(access.Row(y) + x * 2, penColour);
        blend(x, y - 1);
        blend(x - 1, y);
        blend(x + 1, y);
        blend(x, y + 1);
    });
}

void CImageBase::FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                              int32_t y3, uint8_t index) {
    CPixelAccess access(*this);
    const PixelView& v = access.view;
    if (!v.pixels || bytesPerPixel != 1)
        return;
    std::vector<Span> spans = ScanTriangle({x1, y1, x2, y2, x3, y3}, {0, 0, 0}, v.height);
    for (int32_t y = 0; y < v.height; ++y) {
        int32_t left = std::max(spans[y].left, 0);
        int32_t right = std::min(spans[y].right, v.width - 1);
        if (left <= right)
            std::fill(access.Row(y) + left, access.Row(y) + right + 1, index);
    }
}

void CImageBase::FillRampTriangle(const std::array<int32_t, 6>& points,
                                  const std::array<int32_t, 3>& rampPositions,
                                  const std::array<uint16_t, 256>& ramp, int32_t xOffset,
                                  int32_t yOffset) {
    CPixelAccess access(*this);
    const PixelView& v = access.view;
    if (!v.pixels || bytesPerPixel != 2 || v.height > kEdgeTableRows)
        return;
    std::array<int32_t, 6> moved = points;
    for (size_t i = 0; i < 6; i += 2) {
        moved[i] += xOffset;
        moved[i + 1] += yOffset;
    }
    const bool shadow = xOffset != 0 || yOffset != 0;
    const int32_t format = g_pixelFormat;
    std::vector<Span> spans = ScanTriangle(moved, rampPositions, v.height);
    for (int32_t y = 0; y < v.height; ++y) {
        const Span& span = spans[y];
        if (span.left > span.right)
            continue;
        int64_t length = std::max(span.right - span.left, 1);
        uint8_t* row = access.Row(y);
        for (int32_t x = std::max(span.left, 0); x <= std::min(span.right, v.width - 1); ++x) {
            uint8_t* at = row + x * 2;
            if (shadow) {
                StorePixel(at, HalvePixel(LoadPixel(at), format));
            } else {
                int64_t position =
                    (span.rampLeft + (span.rampRight - span.rampLeft) * (x - span.left) / length) >>
                    16;
                StorePixel(at, ramp[static_cast<size_t>(std::clamp<int64_t>(position, 0, 255))]);
            }
        }
    }
}

void CImageBase::TintRect(Rect rect, float rFactor, float gFactor, float bFactor) {
    CPixelAccess access(*this);
    if (bytesPerPixel != 2 || !ClampEffectRect(rect, access.view, false, 1))
        return;
    const int32_t format = g_pixelFormat;
    const int32_t greenMax = GreenMax(format);
    auto scale = [](int32_t c, float factor, int32_t max) {
        float value = static_cast<float>(c) * factor;
        if (!(value > 0.0f))
            return 0;
        return value >= static_cast<float>(max) ? max : static_cast<int32_t>(value);
    };
    ForEachPixel(access, rect, [&](uint16_t pixel) {
        PixelChannels c = SplitPixel(pixel, format);
        return JoinPixel(
            {scale(c.r, rFactor, 31), scale(c.g, gFactor, greenMax), scale(c.b, bFactor, 31)},
            format);
    });
}

void CImageBase::DimRect(Rect rect) {
    CPixelAccess access(*this);
    if (bytesPerPixel != 2 || !ClampEffectRect(rect, access.view, true, 0))
        return;
    const int32_t format = g_pixelFormat;
    ForEachPixel(access, rect, [&](uint16_t pixel) { return HalvePixel(pixel, format); });
}

void CImageBase::ShadeRect(Rect rect, int32_t level) {
    CPixelAccess access(*this);
    if (bytesPerPixel != 2 || !ClampEffectRect(rect, access.view, true, 0))
        return;
    const int32_t format = g_pixelFormat;
    ForEachPixel(access, rect, [&](uint16_t pixel) { return ShadePixel(pixel, level, format); });
}
