#include "engine/Blit.h"

#include <algorithm>
#include <cstring>

#include "engine/Draw.h"
#include "engine/Image.h"

namespace {

// Destination pixels of a source extent at the zoom: every 2^s-th source
// pixel from the first.
int64_t Scaled(int64_t extent, int32_t s) {
    return extent <= 0 ? 0 : (extent + (int64_t{1} << s) - 1) >> s;
}

// Holds the rectangle to a picture of the size, keeping the sample phase:
// source pixels before its left or top are dropped by whole zoom steps, the
// destination point moving one pixel per step.
void FitToSource(int32_t width, int32_t height, Rect& r, int32_t s, int64_t& x, int64_t& y) {
    if (r.left < 0) {
        int64_t steps = Scaled(-int64_t{r.left}, s);
        r.left = static_cast<int32_t>(r.left + (steps << s));
        x += steps;
    }
    if (r.top < 0) {
        int64_t steps = Scaled(-int64_t{r.top}, s);
        r.top = static_cast<int32_t>(r.top + (steps << s));
        y += steps;
    }
    r.right = std::min(r.right, width);
    r.bottom = std::min(r.bottom, height);
}

// Cuts the rectangle where the destination ends. False when nothing is left.
bool CutToDestination(const PixelView& dest, Rect& r, int32_t s, int64_t& x, int64_t& y) {
    if (r.left >= r.right || r.top >= r.bottom)
        return false;
    if (x < 0) {
        r.left = static_cast<int32_t>(std::min<int64_t>(r.right, r.left + ((-x) << s)));
        x = 0;
    }
    if (y < 0) {
        r.top = static_cast<int32_t>(std::min<int64_t>(r.bottom, r.top + ((-y) << s)));
        y = 0;
    }
    int64_t roomX = dest.width - x;
    int64_t roomY = dest.height - y;
    if (roomX <= 0 || roomY <= 0)
        return false;
    if (Scaled(r.right - r.left, s) > roomX)
        r.right = static_cast<int32_t>(r.left + (roomX << s));
    if (Scaled(r.bottom - r.top, s) > roomY)
        r.bottom = static_cast<int32_t>(r.top + (roomY << s));
    return r.left < r.right && r.top < r.bottom;
}

// Source and destination held to each other; false when nothing is left.
bool Prepare(const PixelView& source, Rect& r, int32_t s, const PixelView& dest, int32_t& x,
             int32_t& y) {
    if (!source.pixels || !dest.pixels)
        return false;
    int64_t dx = x;
    int64_t dy = y;
    FitToSource(source.width, source.height, r, s, dx, dy);
    if (!CutToDestination(dest, r, s, dx, dy))
        return false;
    x = static_cast<int32_t>(dx);
    y = static_cast<int32_t>(dy);
    return true;
}

int32_t Wrap(int64_t value, int32_t size) {
    int64_t m = value % size;
    return static_cast<int32_t>(m < 0 ? m + size : m);
}

const uint8_t* SourceRow(const PixelView& v, int32_t y) {
    return v.pixels + static_cast<size_t>(y) * v.pitch;
}
uint8_t* DestRow(const PixelView& v, int32_t y) {
    return v.pixels + static_cast<size_t>(y) * v.pitch;
}

// One blitter per zoom shift: the steps are constants of each.
template <int S>
void Blit8To16Zoom(const PixelView& source, const Rect& r, const uint16_t* lut, uint16_t halfMask,
                   const PixelView& dest, int32_t x, int32_t y) {
    int64_t columns = Scaled(r.right - r.left, S);
    int64_t rows = Scaled(r.bottom - r.top, S);
    int32_t startX = Wrap(x, dest.width);
    int32_t destY = Wrap(y, dest.height);
    for (int64_t j = 0; j < rows; ++j) {
        const uint8_t* from = SourceRow(source, static_cast<int32_t>(r.top + (j << S))) + r.left;
        uint8_t* row = DestRow(dest, destY);
        // The row in stretches that end at the destination's right edge.
        int64_t i = 0;
        for (int32_t destX = startX; i < columns; destX = 0) {
            int64_t end = std::min<int64_t>(columns, i + dest.width - destX);
            uint8_t* at = row + destX * 2;
            for (; i < end; ++i, at += 2) {
                // Index 0 leaves the destination, 1 halves it.
                uint16_t under = LoadPixel(at);
                uint8_t index = from[i << S];
                uint16_t half = static_cast<uint16_t>((under >> 1) & halfMask);
                StorePixel(at, index > 1 ? lut[index] : index == 1 ? half : under);
            }
        }
        if (++destY == dest.height)
            destY = 0;
    }
}

} // namespace

void Blit8To8(const PixelView& source, Rect r, int32_t s, const PixelView& dest, int32_t x,
              int32_t y) {
    if (!Prepare(source, r, s, dest, x, y))
        return;
    int64_t columns = Scaled(r.right - r.left, s);
    int64_t rows = Scaled(r.bottom - r.top, s);
    for (int64_t j = 0; j < rows; ++j) {
        const uint8_t* from = SourceRow(source, static_cast<int32_t>(r.top + (j << s))) + r.left;
        uint8_t* to = DestRow(dest, static_cast<int32_t>(y + j)) + x;
        for (int64_t i = 0; i < columns; ++i)
            if (uint8_t index = from[i << s])
                to[i] = index;
    }
}

void Blit16To16(const PixelView& source, Rect r, int32_t s, bool sourceHasColourKey,
                const PixelView& dest, int32_t x, int32_t y) {
    if (!sourceHasColourKey && s == 0) {
        CopyRows16(source, r, dest, x, y);
        return;
    }
    if (!Prepare(source, r, s, dest, x, y))
        return;
    const uint16_t key = g_colourKey;
    int64_t columns = Scaled(r.right - r.left, s);
    int64_t rows = Scaled(r.bottom - r.top, s);
    for (int64_t j = 0; j < rows; ++j) {
        const uint8_t* from =
            SourceRow(source, static_cast<int32_t>(r.top + (j << s))) + r.left * 2;
        uint8_t* to = DestRow(dest, static_cast<int32_t>(y + j)) + x * 2;
        // A select rather than a skipped store, so that the loop vectorises.
        if (s == 0) {
            for (int64_t i = 0; i < columns; ++i) {
                uint16_t pixel = LoadPixel(from + i * 2);
                StorePixel(to + i * 2, pixel == key ? LoadPixel(to + i * 2) : pixel);
            }
            continue;
        }
        for (int64_t i = 0; i < columns; ++i) {
            uint16_t pixel = LoadPixel(from + (i << s) * 2);
            StorePixel(to + i * 2, pixel == key ? LoadPixel(to + i * 2) : pixel);
        }
    }
}

void CopyRows16(const PixelView& source, Rect r, const PixelView& dest, int32_t x, int32_t y) {
    if (!Prepare(source, r, 0, dest, x, y))
        return;
    size_t bytes = static_cast<size_t>(r.right - r.left) * 2;
    for (int32_t row = r.top; row < r.bottom; ++row)
        std::memmove(DestRow(dest, y + row - r.top) + x * 2, SourceRow(source, row) + r.left * 2,
                     bytes);
}

void Blit8To16(const PixelView& source, Rect r, int32_t s, const std::array<uint32_t, 256>& table,
               const PixelView& dest, int32_t x, int32_t y) {
    if (!source.pixels || !dest.pixels || dest.width <= 0 || dest.height <= 0)
        return;
    s = std::clamp(s, 0, 4);
    int64_t dx = x;
    int64_t dy = y;
    FitToSource(source.width, source.height, r, s, dx, dy);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    // The table's pixels (entries 0 and 1 are never read: those indices
    // take the destination pixel itself or its half).
    uint16_t lut[256];
    for (size_t i = 0; i < 256; ++i)
        lut[i] = static_cast<uint16_t>(table[i]);
    uint16_t halfMask = HalfMask(g_pixelFormat);
    int32_t wx = Wrap(dx, dest.width);
    int32_t wy = Wrap(dy, dest.height);
    switch (s) {
    case 0:
        Blit8To16Zoom<0>(source, r, lut, halfMask, dest, wx, wy);
        break;
    case 1:
        Blit8To16Zoom<1>(source, r, lut, halfMask, dest, wx, wy);
        break;
    case 2:
        Blit8To16Zoom<2>(source, r, lut, halfMask, dest, wx, wy);
        break;
    case 3:
        Blit8To16Zoom<3>(source, r, lut, halfMask, dest, wx, wy);
        break;
    default:
        Blit8To16Zoom<4>(source, r, lut, halfMask, dest, wx, wy);
        break;
    }
}

void DrawFrame(const CFrameTable& frames, uint16_t frame, Rect r, int32_t s, int32_t kind,
               int32_t translucency, const std::array<uint32_t, 256>& table, const PixelView& dest,
               int32_t x, int32_t y) {
    if (frame >= frames.codes.size() || frames.frameWidth == 0 || !dest.pixels)
        return;
    s = std::clamp(s, 0, 4);
    int64_t dx = x;
    int64_t dy = y;
    FitToSource(frames.frameWidth, frames.height, r, s, dx, dy);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const int32_t mask = (1 << s) - 1;
    const int32_t format = g_pixelFormat;
    const int32_t level = std::clamp(translucency, 0, 31);
    enum class Code { Skip, Shadow, Colour };

    auto combine = [&](uint16_t under, Code code, uint8_t index) -> uint16_t {
        uint16_t colour = static_cast<uint16_t>(table[index]);
        switch (kind) {
        case kImageLightMap:
            return code == Code::Colour ? ShadePixel(under, index >> 3, format) : under;
        case kImageTranslucent: {
            if (code == Code::Skip)
                return under;
            uint16_t toward = code == Code::Shadow ? HalvePixel(under, format) : colour;
            return CombineChannels5(under, toward, format, [&](int32_t d, int32_t e) {
                return d >= e ? d - g_scaleTable[d - e][level] : d + g_scaleTable[e - d][level];
            });
        }
        case kImageDarkMap: {
            if (code != Code::Colour)
                return 0;
            if (index == 255)
                return under;
            int32_t dark = index >> 3;
            return CombineChannels5(under, under, format,
                                    [&](int32_t c, int32_t) { return g_scaleTable[c][dark]; });
        }
        default:
            if (code == Code::Skip)
                return under;
            return code == Code::Shadow ? HalvePixel(under, format) : colour;
        }
    };

    const std::vector<uint8_t>& codes = frames.codes[frame];
    const int32_t frameWidth = frames.frameWidth;
    int32_t col = 0;
    int32_t row = 0;
    auto plot = [&](Code code, uint8_t index) {
        if (row >= r.top && row < r.bottom && col >= r.left && col < r.right &&
            ((col - r.left) & mask) == 0 && ((row - r.top) & mask) == 0) {
            int64_t px = dx + ((col - r.left) >> s);
            int64_t py = dy + ((row - r.top) >> s);
            if (px >= 0 && py >= 0 && px < dest.width && py < dest.height) {
                uint8_t* at = DestRow(dest, static_cast<int32_t>(py)) + px * 2;
                StorePixel(at, combine(LoadPixel(at), code, index));
            }
        }
        if (++col == frameWidth) {
            col = 0;
            ++row;
        }
    };

    size_t at = 0;
    while (at < codes.size() && row < r.bottom) {
        uint8_t code = codes[at++];
        int32_t count = code & 63;
        if (code < 64) {
            if (kind == kImageDarkMap) {
                for (int32_t i = 0; i < count; ++i)
                    plot(Code::Skip, 0);
            } else {
                col += count;
                row += col / frameWidth;
                col %= frameWidth;
            }
        } else if (code < 128) {
            for (int32_t i = 0; i < count; ++i)
                plot(Code::Shadow, 1);
        } else if (code < 192) {
            if (at >= codes.size())
                break;
            uint8_t index = codes[at++];
            for (int32_t i = 0; i < count; ++i)
                plot(Code::Colour, index);
        } else {
            for (int32_t i = 0; i < count && at < codes.size(); ++i)
                plot(Code::Colour, codes[at++]);
        }
    }
}
