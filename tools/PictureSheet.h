#pragma once
// Drawing helpers for the demo world's 8-bit pictures: a sheet of colour
// indices (frames side by side, index 0 transparent) and a palette written
// as the colour table of a small swatch picture, all in integer arithmetic so
// that the bytes are the same on every machine.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "tools/Bmp.h"

namespace demo {

struct Sheet {
    Sheet(int32_t w, int32_t h) : width(w), height(h), indices(static_cast<size_t>(w) * h, 0) {}

    void Set(int32_t x, int32_t y, uint8_t index) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            indices[static_cast<size_t>(y) * width + x] = index;
    }
    uint8_t Get(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0;
        return indices[static_cast<size_t>(y) * width + x];
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t index) {
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                Set(x, y, index);
    }
    // The disc of the radius around (cx, cy), in half pixels so that discs
    // of even size centre between pixels: (cx2, cy2) = twice the centre.
    void FillDisc2(int32_t cx2, int32_t cy2, int32_t r2, uint8_t index) {
        for (int32_t y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y)
            for (int32_t x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
                const int32_t dx = 2 * x + 1 - cx2;
                const int32_t dy = 2 * y + 1 - cy2;
                if (dx * dx + dy * dy <= r2 * r2)
                    Set(x, y, index);
            }
    }
    // A line of the thickness (1 or more) from (x1, y1) to (x2, y2).
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t thickness, uint8_t index) {
        const int32_t steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        for (int32_t i = 0; i <= steps; ++i) {
            const int32_t x = steps ? x1 + (x2 - x1) * i / steps : x1;
            const int32_t y = steps ? y1 + (y2 - y1) * i / steps : y1;
            FillRect(x - (thickness - 1) / 2, y - (thickness - 1) / 2, x + thickness / 2 + 1,
                     y + thickness / 2 + 1, index);
        }
    }
    // Every transparent pixel beside (4 ways) a pixel of the frame that is
    // neither transparent nor the outline becomes the outline, within the
    // frame's columns.
    void Outline(int32_t left, int32_t frameWidth, uint8_t outline) {
        std::vector<uint8_t> before = indices;
        auto at = [&](int32_t x, int32_t y) -> uint8_t {
            if (x < left || x >= left + frameWidth || y < 0 || y >= height)
                return 0;
            return before[static_cast<size_t>(y) * width + x];
        };
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = left; x < left + frameWidth; ++x) {
                if (at(x, y) != 0)
                    continue;
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const uint8_t n = at(x + dx, y + dy);
                    if (n != 0 && n != outline) {
                        Set(x, y, outline);
                        break;
                    }
                }
            }
    }
    std::vector<uint8_t> Bmp(const ColourTable& colours) const {
        return MakeBmp8(width, height, indices, colours);
    }

    int32_t width;
    int32_t height;
    std::vector<uint8_t> indices;
};

// A 16 x 16 picture showing its 256 colours: how palettes are stored.
inline std::vector<uint8_t> PaletteSwatch(const ColourTable& colours) {
    std::vector<uint8_t> indices(256);
    for (int i = 0; i < 256; ++i)
        indices[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    return MakeBmp8(16, 16, indices, colours);
}

// The colour times num / den per channel, held to 0..255.
inline Rgb Scaled(Rgb c, int32_t num, int32_t den) {
    auto channel = [num, den](uint8_t v) {
        const int32_t s = v * num / den;
        return static_cast<uint8_t>(s < 0 ? 0 : (s > 255 ? 255 : s));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

// The mix of a and b at t / den (0 = a, den = b).
inline Rgb Blend(Rgb a, Rgb b, int32_t t, int32_t den) {
    auto channel = [t, den](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (den - t) + y * t) / den);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// A fixed mixing of 32 bits for choices made per name.
inline uint32_t MixBits(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

// FNV-1a of the text, mixed.
inline uint32_t HashText(const char* text, uint32_t salt = 0) {
    uint32_t h = 2166136261u ^ salt;
    for (const char* p = text; *p; ++p) {
        h ^= static_cast<uint8_t>(*p);
        h *= 16777619u;
    }
    return MixBits(h);
}

} // namespace demo
