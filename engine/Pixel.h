#pragma once
// 16-bit pixels and the surfaces that hold them.
//
// A pixel is RGB565 or RGB555, as the display reports (g_pixelFormat); every
// piece of code that packs, splits or halves a pixel reads the format at the
// moment it runs. The colour key of 16-bit pictures is pure green of the
// current format.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

constexpr int32_t kPixelFormat565 = 0;
constexpr int32_t kPixelFormat555 = 1;
constexpr int32_t kPixelFormatUnsupported = 2;

extern int32_t g_pixelFormat; // 0 = RGB565, 1 = RGB555, 2 = unsupported
extern uint16_t g_colourKey;  // 0x07E0 in RGB565, 0x03E0 in RGB555

// Pure green of a format (0 for an unsupported one).
uint16_t ColourKeyOf(int32_t format);

// Makes the format current: g_pixelFormat and g_colourKey. The palettes'
// pixel tables are the caller's to rebuild (RebuildPalettePixels).
void SetPixelFormat(int32_t format);

// A pixel in picture memory (any alignment).
inline uint16_t LoadPixel(const uint8_t* at) {
    uint16_t pixel;
    std::memcpy(&pixel, at, 2);
    return pixel;
}
inline void StorePixel(uint8_t* at, uint16_t pixel) {
    std::memcpy(at, &pixel, 2);
}

// The mask that keeps a pixel shifted right by one within its channels.
inline uint16_t HalfMask(int32_t format) {
    return format == kPixelFormat565 ? 0x7BEF : 0x3DEF;
}
inline uint16_t HalvePixel(uint16_t pixel, int32_t format) {
    return static_cast<uint16_t>((pixel >> 1) & HalfMask(format));
}

// The channels of a pixel in their own widths: red and blue 5 bits, green 6
// bits in RGB565 and 5 bits in RGB555.
struct PixelChannels {
    int32_t r;
    int32_t g;
    int32_t b;
};

inline PixelChannels SplitPixel(uint16_t pixel, int32_t format) {
    if (format == kPixelFormat565)
        return {pixel >> 11, (pixel >> 5) & 63, pixel & 31};
    return {(pixel >> 10) & 31, (pixel >> 5) & 31, pixel & 31};
}

// The channels must lie within their widths.
inline uint16_t JoinPixel(PixelChannels c, int32_t format) {
    if (format == kPixelFormat565)
        return static_cast<uint16_t>(c.r << 11 | c.g << 5 | c.b);
    return static_cast<uint16_t>(c.r << 10 | c.g << 5 | c.b);
}

inline int32_t GreenMax(int32_t format) {
    return format == kPixelFormat565 ? 63 : 31;
}

// Runs each channel of a and b through f(channelOfA, channelOfB) -> 0..31
// with 5-bit channels: green of RGB565 is taken by its top five bits and
// comes back with its lowest bit 0. Used with the 32x32 blend tables.
template <class Function>
uint16_t CombineChannels5(uint16_t a, uint16_t b, int32_t format, Function f) {
    PixelChannels ca = SplitPixel(a, format);
    PixelChannels cb = SplitPixel(b, format);
    int32_t greenShift = format == kPixelFormat565 ? 1 : 0;
    PixelChannels out;
    out.r = f(ca.r, cb.r);
    out.g = f(ca.g >> greenShift, cb.g >> greenShift) << greenShift;
    out.b = f(ca.b, cb.b);
    return JoinPixel(out, format);
}

// The base of the images: the graphics services every image can reach
// (g_graphics is one of its own; the display's part is engine/Display.cpp).
class CGraphicsBase {
public:
    virtual ~CGraphicsBase() = default;

    // Packs 0..255 channels into the current format; a channel above 255
    // counts as 255 (and one below 0 as 0). 0 in an unsupported format.
    static uint16_t RgbToPixel(int32_t r, int32_t g, int32_t b);

    // Unless noDisplay is set, makes the display (g_directDraw, see
    // g_directDrawReady); loads "palette.act" as the default palette; fills
    // g_displayModes, sorted by CompareDisplayModes.
    static void InitDisplay(bool noDisplay);
    // The palette of that name becomes g_defaultPalette.
    static void SetDefaultPalette(const std::string& name);
    // Of g_screen; null and 0 while there is none.
    static uint8_t* GetScreenPixels();
    static int32_t GetScreenPitch();
    static int32_t GetScreenWidth();
    static int32_t GetScreenHeight();
};

// A rectangle {left, top, right, bottom}; right and bottom lie just outside.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A surface: a picture of 16-bit pixels kept for the display (off-screen
// pictures and the display's own). Here it is plain memory, which is always
// there: locking only counts.
class CSurface {
public:
    CSurface(int32_t width, int32_t height);
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    int32_t GetPitch() const { return m_pitch; } // bytes from row to row

    uint8_t* Lock();
    void Unlock();
    bool IsLocked() const { return m_locks > 0; }

    // The source colour key: pixels of this value are skipped by a keyed
    // BltFast from this surface.
    void SetColourKey(uint16_t key);
    bool HasColourKey() const { return m_hasColourKey; }

    // Copies the source rectangle of the source surface to (x, y), cut at the
    // edges of both surfaces; with useSourceKey the pixels equal to the
    // source's colour key are skipped (false, nothing drawn, when the source
    // has none).
    bool BltFast(int32_t x, int32_t y, const CSurface& source, Rect sourceRect, bool useSourceKey);

private:
    int32_t m_width;
    int32_t m_height;
    int32_t m_pitch;
    std::vector<uint8_t> m_memory;
    int32_t m_locks = 0;
    uint16_t m_colourKey = 0;
    bool m_hasColourKey = false;
};

// An off-screen surface, zeroed; none when the size cannot be had (not
// positive, or above 8192 either way).
std::unique_ptr<CSurface> CreateOffscreenSurface(int32_t width, int32_t height);
