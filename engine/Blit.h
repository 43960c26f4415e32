#pragma once
// The software blitters that CImageBase::Draw chooses between, and the
// framed drawer of run-length encoded pictures. Every blitter takes a source
// rectangle and a zoom shift s: every 2^s-th pixel of every 2^s-th row is
// drawn, from the rectangle's left and top on. Source rectangles are held to
// the source picture; destination writes are cut at the destination's edges,
// except where the blitter wraps.
#include <array>
#include <cstdint>

#include "engine/Pixel.h"

struct CFrameTable;

// A picture's memory as the blitters see it.
struct PixelView {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
};

// 8-bit onto 8-bit: the indices, 0 skipped.
void Blit8To8(const PixelView& source, Rect sourceRect, int32_t zoomShift, const PixelView& dest,
              int32_t x, int32_t y);

// 16-bit onto 16-bit: rows copied whole when the source has no colour-key
// pixel and zoom shift is 0; otherwise pixel by pixel, skipping g_colourKey.
void Blit16To16(const PixelView& source, Rect sourceRect, int32_t zoomShift,
                bool sourceHasColourKey, const PixelView& dest, int32_t x, int32_t y);

// Whole 16-bit rows, no colour key (memory onto the front surface).
void CopyRows16(const PixelView& source, Rect sourceRect, const PixelView& dest, int32_t x,
                int32_t y);

// 8-bit onto 16-bit through a palette pixel table (low half of each entry):
// index 0 leaves the destination pixel, index 1 halves it. The destination
// wraps: columns past its right edge continue at its left, rows past its
// bottom at its top. Zoom shifts above 4 draw as 4.
void Blit8To16(const PixelView& source, Rect sourceRect, int32_t zoomShift,
               const std::array<uint32_t, 256>& table, const PixelView& dest, int32_t x, int32_t y);

// Draws a frame of a framed picture: sourceRect within the frame, the pixels
// combined by the image kind (light map 3, translucent 4 at translucency
// 0..31, dark map 5, any other kind plain).
void DrawFrame(const CFrameTable& frames, uint16_t frame, Rect sourceRect, int32_t zoomShift,
               int32_t kind, int32_t translucency, const std::array<uint32_t, 256>& table,
               const PixelView& dest, int32_t x, int32_t y);
