#include "engine/Pixel.h"

#include <algorithm>
#include <cstring>

int32_t g_pixelFormat = kPixelFormat565;
uint16_t g_colourKey = 0x07E0;

namespace {
constexpr int32_t kMaxSurfaceSide = 8192;
}

uint16_t ColourKeyOf(int32_t format) {
    switch (format) {
    case kPixelFormat565:
        return 0x07E0;
    case kPixelFormat555:
        return 0x03E0;
    default:
        return 0;
    }
}

void SetPixelFormat(int32_t format) {
    g_pixelFormat = format;
    g_colourKey = ColourKeyOf(format);
}

uint16_t CGraphicsBase::RgbToPixel(int32_t r, int32_t g, int32_t b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    switch (g_pixelFormat) {
    case kPixelFormat565:
        return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
    case kPixelFormat555:
        return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
    default:
        return 0;
    }
}

CSurface::CSurface(int32_t width, int32_t height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_pitch((m_width * 2 + 7) & ~7),
      m_memory(static_cast<size_t>(m_pitch) * static_cast<size_t>(m_height)) {}

uint8_t* CSurface::Lock() {
    ++m_locks;
    return m_memory.data();
}

void CSurface::Unlock() {
    if (m_locks > 0)
        --m_locks;
}

void CSurface::SetColourKey(uint16_t key) {
    m_colourKey = key;
    m_hasColourKey = true;
}

bool CSurface::BltFast(int32_t x, int32_t y, const CSurface& source, Rect r, bool useSourceKey) {
    if (useSourceKey && !source.m_hasColourKey)
        return false;
    // Cut the source to itself, then the destination to this surface.
    if (r.left < 0) {
        x -= r.left;
        r.left = 0;
    }
    if (r.top < 0) {
        y -= r.top;
        r.top = 0;
    }
    r.right = std::min(r.right, source.m_width);
    r.bottom = std::min(r.bottom, source.m_height);
    if (x < 0) {
        r.left -= x;
        x = 0;
    }
    if (y < 0) {
        r.top -= y;
        y = 0;
    }
    r.right = std::min(r.right, r.left + m_width - x);
    r.bottom = std::min(r.bottom, r.top + m_height - y);
    if (r.left >= r.right || r.top >= r.bottom)
        return true;
    size_t count = static_cast<size_t>(r.right - r.left);
    for (int32_t row = r.top; row < r.bottom; ++row) {
        const uint8_t* from =
            source.m_memory.data() + static_cast<size_t>(row) * source.m_pitch + r.left * 2;
        uint8_t* to = m_memory.data() + static_cast<size_t>(y + row - r.top) * m_pitch + x * 2;
        if (!useSourceKey) {
            std::memmove(to, from, count * 2);
            continue;
        }
        for (size_t i = 0; i < count; ++i) {
            uint16_t pixel = LoadPixel(from + i * 2);
            if (pixel != source.m_colourKey)
                StorePixel(to + i * 2, pixel);
        }
    }
    return true;
}

std::unique_ptr<CSurface> CreateOffscreenSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
        return nullptr;
    return std::make_unique<CSurface>(width, height);
}
