#pragma once
// Images: rectangles of 8-bit palette indices or of 16-bit pixels in the
// current pixel format, held in memory or on a surface, read from BMP files
// and drawn onto each other through the blitters (engine/Blit.h).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Pixel.h"

class CPalette;

// A plain pixel buffer. Memory rows are 8-byte aligned and padded to a
// multiple of 8 bytes.
class CBitmap {
public:
    CBitmap() = default;
    virtual ~CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Reads a BMP file (engine/Bmp.h) into memory rows of its own. False for
    // a file that cannot be read or is refused; the bitmap is then empty
    // (width, height and pitch 0, no pixels).
    bool LoadBmp(const std::string& fileName);

    // Zeroed memory rows for the size: pitch = width x bytes per pixel
    // rounded up to 8; a negative size counts as 0.
    void AllocateRows(int32_t rowWidth, int32_t rowCount, int32_t pixelBytes);
    // Frees the memory and clears every field.
    void Clear();

    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerPixel = 0; // 1 for 8-bit (and packed 1-bit) pictures, 2 for 16-bit ones
    int32_t bitsPerPixel = 0;  // 1, 8 or 16
    uint32_t colourCount = 0;
    int32_t pitch = 0;
    std::unique_ptr<uint8_t[]> buffer; // owned memory; none for surface images
    uint8_t* pixels = nullptr;         // the first pixel: in buffer, or the locked surface
    int32_t fileRowBytes = 0;          // one row in the BMP file
};

// Where an image's pixels live and how it is drawn.
constexpr int32_t kImageSurface = 0;     // a surface of its own, drawn with its colour key
constexpr int32_t kImageMemory = 1;      // memory, drawn by the software blitters
constexpr int32_t kImageFront = 2;       // a surface given by the display code; a destination only
constexpr int32_t kImageLightMap = 3;    // framed: lightens the destination
constexpr int32_t kImageTranslucent = 4; // framed: blends at the translucency
constexpr int32_t kImageDarkMap = 5;     // framed: darkens the destination
constexpr int32_t kImageLockedSurface = 6; // a surface of its own, locked and drawn by the blitter

// Where the constructor from a file puts the pixels.
constexpr int32_t kPlaceSurface = 0; // a surface, else memory
constexpr int32_t kPlaceMemory = 1;
constexpr int32_t kPlaceNone = 2; // no pixels (kind 2)

// The run-length codes of an 8-bit picture cut into frames side by side:
// frame i covers the columns i x frameWidth to (i + 1) x frameWidth - 1. The
// codes of a frame run through its pixels row by row:
//   0-63     skip that many pixels (index 0, transparent)
//   64-127   code - 64 pixels of the shadow index 1
//   128-191  code - 128 pixels of the index in the next byte
//   192-255  code - 192 literal pixels, their indices in the next bytes
struct CFrameTable {
    uint16_t frameCount = 0;
    uint16_t currentFrame = 0; // set by each draw
    uint16_t frameWidth = 0;
    uint16_t height = 0;
    std::vector<std::vector<uint8_t>> codes; // one code string per frame
};

class CImageBase : public CBitmap, public CGraphicsBase {
public:
    // From a BMP file, by placement (kPlaceSurface, kPlaceMemory,
    // kPlaceNone). framesEncoded is kept as given.
    CImageBase(const std::string& fileName, int32_t placement, bool framesEncodedFlag);
    // An empty (zeroed) picture of the size, 8 or 16 bits, of the kind
    // (kinds 0 and 6 on a surface of their own, 1 in memory, 2 without
    // pixels). A kind-0 image that cannot have its surface loads
    // "no image.bmp" into memory instead.
    CImageBase(int32_t imageWidth, int32_t imageHeight, int32_t bits, int32_t imageKind);
    ~CImageBase() override = default;

    // Reads a 16- or 24-bit BMP file into a new surface of its own (kind 0).
    // False when the file cannot be read or is refused, has another depth,
    // or no surface can be had.
    bool LoadIntoSurface(const std::string& fileName);
    // Takes a surface of the display code (not owned) with its size and
    // pitch.
    void SetSurface(CSurface* displaySurface);

    // Marks the image locked and answers its pixels (kinds 0 and 6 lock
    // their surface, whose pixels stay in `pixels` until Unlock).
    uint8_t* Lock();
    void Unlock();

    // False for a framed image; 8-bit: index 0 or 1; 16-bit: the colour key.
    // True outside the picture.
    bool IsTransparentAt(int32_t x, int32_t y) const;

    // Clips a source rectangle drawn at (destX, destY) at this image's zoom
    // against the clip rectangle; true while the source is not empty.
    bool ClipToRect(int32_t& destX, int32_t& destY, Rect& source, const Rect& clip) const;

    // Draws the source rectangle at (x, y) of the destination (see
    // Image.cpp). Without a clip rectangle the whole destination clips;
    // nothing is drawn (false) when the clipped area is empty or lies wholly
    // inside the skip rectangle.
    bool Draw(int32_t x, int32_t y, int32_t srcLeft, int32_t srcTop, int32_t srcRight,
              int32_t srcBottom, const Rect* clipRect, CImageBase* destination,
              const Rect* skipRect);
    bool DrawWhole(int32_t x, int32_t y, CImageBase* destination);

    // The scroll offset of a wrapping image, kept within the picture.
    void SetOrigin(int32_t x, int32_t y);
    void ScrollWrapped(int32_t dx, int32_t dy);
    // Copies the whole picture to (destX, destY) of the destination rolled
    // so that its pixel (srcX, srcY) comes first; cut at the destination's
    // edges. Both pictures must have the same depth.
    void CopyWrapped(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                     CImageBase* destination);

    // 16-bit: every pixel becomes the colour key; 8-bit: index 0.
    void ClearToColourKey();
    // 16-bit only.
    void Fill(uint16_t colour);
    // True when a 16-bit picture holds a pixel equal to the current colour key.
    bool HasColourKeyPixel() const;
    // Encodes an 8-bit memory picture into frameCount frames and frees its
    // pixels; below 1 frame the table is empty. False for other pictures or
    // when a table exists.
    bool BuildFrameTable(int32_t frameCount);

    // Primitives (engine/Draw.cpp). FillTriangle: 8-bit pictures;
    // FillRampTriangle, TintRect, DimRect, ShadeRect: 16-bit pictures.
    void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      uint8_t index);
    // points: x1, y1, x2, y2, x3, y3, each moved by the offsets first. With
    // both offsets 0 the triangle takes the ramp's colours at the positions
    // (0..255 at each point) interpolated across it; otherwise its pixels are
    // halved (a shadow). Nothing on a picture taller than 768 rows.
    void FillRampTriangle(const std::array<int32_t, 6>& points,
                          const std::array<int32_t, 3>& rampPositions,
                          const std::array<uint16_t, 256>& ramp, int32_t xOffset, int32_t yOffset);
    // The rectangle effects, held to the picture. TintRect: each channel
    // times its factor, held within its range; the last row and column stay
    // out. DimRect: every pixel halved; ShadeRect: every channel lightened
    // through g_shadeTable at the level (0..31); for both, left and right are
    // rounded down to even.
    void TintRect(Rect rect, float rFactor, float gFactor, float bFactor);
    void DimRect(Rect rect);
    void ShadeRect(Rect rect, int32_t level);

    CSurface* surface = nullptr;
    int32_t translucency = 31; // kind 4, 0..31
    std::unique_ptr<CFrameTable> frames;
    std::string name;
    int32_t kind = kImageMemory;
    uint8_t locked = 0;
    int32_t zoomShift = 0; // 0..4: every 2^zoomShift-th pixel and row is drawn
    CPalette* palette = nullptr;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t paletteTable = 0; // kPaletteNormal, kPaletteHalf, kPaletteBright
    uint8_t hasColourKey = 0;
    uint8_t framesEncoded = 0;

private:
    void LoadIntoMemory(const std::string& fileName);

    std::unique_ptr<CSurface> m_ownSurface;
};

// Screens, cursors and plain pictures.
class CImage : public CImageBase {
public:
    using CImageBase::CImageBase;

    // Lines on 16-bit pictures in the pen colour (engine/Draw.cpp). A plain
    // line's ends are clamped into the picture; a smooth line's ends are
    // clamped one pixel further in, and its four neighbours of each pixel
    // move half-way toward the pen colour.
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawSmoothLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    uint16_t penColour = 0; // set by the caller before drawing a line
};
