#include "engine/Image.h"

#include <algorithm>
#include <cstring>

#include "engine/Blit.h"
#include "engine/Bmp.h"
#include "engine/CriticalError.h"
#include "engine/ImageAccess.h"
#include "engine/Palette.h"

namespace {

int64_t Scaled(int64_t extent, int32_t s) {
    return extent <= 0 ? 0 : (extent + (int64_t{1} << s) - 1) >> s;
}

int32_t Wrap(int64_t value, int32_t size) {
    if (size <= 0)
        return 0;
    int64_t m = value % size;
    return static_cast<int32_t>(m < 0 ? m + size : m);
}

// Copies count pixels to column destX of a row of destWidth pixels, cut at
// the row's ends.
void CopyRun(const uint8_t* from, int32_t count, uint8_t* to, int32_t destX, int32_t destWidth,
             int32_t pixelBytes) {
    if (destX < 0) {
        if (int64_t{count} + destX <= 0)
            return;
        from += static_cast<size_t>(-int64_t{destX}) * pixelBytes;
        count += destX;
        destX = 0;
    }
    count = std::min(count, destWidth - destX);
    if (count > 0)
        std::memmove(to + static_cast<size_t>(destX) * pixelBytes, from,
                     static_cast<size_t>(count) * pixelBytes);
}

// One row of a frame in run-length codes (CFrameTable).
void EncodeRow(const uint8_t* p, int32_t n, std::vector<uint8_t>& out) {
    int32_t i = 0;
    while (i < n) {
        uint8_t value = p[i];
        int32_t run = 1;
        while (i + run < n && p[i + run] == value && run < 63)
            ++run;
        if (value <= 1 || run >= 2) {
            if (value == 0) {
                out.push_back(static_cast<uint8_t>(run));
            } else if (value == 1) {
                out.push_back(static_cast<uint8_t>(64 + run));
            } else {
                out.push_back(static_cast<uint8_t>(128 + run));
                out.push_back(value);
            }
            i += run;
            continue;
        }
        // Literal: indices other than 0 and 1, each unlike its right
        // neighbour; 62 at most, 63 when the last one ends the row.
        int32_t start = i;
        while (i < n && p[i] > 1 && (i + 1 == n || p[i] != p[i + 1]) && i - start < 62)
            ++i;
        if (i - start == 62 && i + 1 == n && p[i] > 1)
            ++i;
        out.push_back(static_cast<uint8_t>(192 + i - start));
        out.insert(out.end(), p + start, p + i);
    }
}

const std::array<uint32_t, 256> kNoPixels{};

} // namespace

// CBitmap ------------------------------------------------------------------

bool CBitmap::LoadBmp(const std::string& fileName) {
    Clear();
    std::vector<uint8_t> bytes;
    BmpInfo info;
    if (!ReadBmpFile(fileName, bytes) || !ParseBmpHeader(bytes, info))
        return false;
    AllocateRows(info.width, info.height, info.MemoryBytesPerPixel());
    bitsPerPixel = info.MemoryBitsPerPixel();
    colourCount = info.coloursUsed;
    fileRowBytes = info.fileRowBytes;
    if (!DecodeBmpRows(bytes, info, pixels, pitch)) {
        Clear();
        return false;
    }
    return true;
}

void CBitmap::AllocateRows(int32_t rowWidth, int32_t rowCount, int32_t pixelBytes) {
    width = std::max(rowWidth, 0);
    height = std::max(rowCount, 0);
    bytesPerPixel = pixelBytes;
    pitch = (width * pixelBytes + 7) & ~7;
    size_t size = static_cast<size_t>(pitch) * static_cast<size_t>(height) + 7;
    buffer = std::make_unique<uint8_t[]>(size);
    size_t misalignment = reinterpret_cast<uintptr_t>(buffer.get()) % 8;
    pixels = buffer.get() + (misalignment ? 8 - misalignment : 0);
}

void CBitmap::Clear() {
    width = height = bytesPerPixel = bitsPerPixel = pitch = fileRowBytes = 0;
    colourCount = 0;
    buffer.reset();
    pixels = nullptr;
}

// CImageBase: making and loading --------------------------------------------

CImageBase::CImageBase(const std::string& fileName, int32_t placement, bool framesEncodedFlag)
    : name(fileName), palette(g_defaultPalette), framesEncoded(framesEncodedFlag ? 1 : 0) {
    if (placement != kPlaceSurface && placement != kPlaceMemory) {
        kind = kImageFront;
        return;
    }
    if (placement == kPlaceSurface && LoadIntoSurface(fileName))
        return;
    LoadIntoMemory(fileName);
}

CImageBase::CImageBase(int32_t imageWidth, int32_t imageHeight, int32_t bits, int32_t imageKind)
    : name("sized image"), kind(imageKind), palette(g_defaultPalette) {
    int32_t pixelBytes = std::max(bits / 8, 1);
    if (kind == kImageSurface || kind == kImageLockedSurface) {
        m_ownSurface = CreateOffscreenSurface(imageWidth, imageHeight);
        if (!m_ownSurface && kind == kImageSurface) {
            DebugPrint(" \nCImageBase FAILED to created sized surface \n");
            LoadIntoMemory("no image.bmp");
            return;
        }
        width = std::max(imageWidth, 0);
        height = std::max(imageHeight, 0);
        bytesPerPixel = pixelBytes;
        if (m_ownSurface) {
            surface = m_ownSurface.get();
            pitch = surface->GetPitch();
            if (kind == kImageSurface)
                surface->SetColourKey(g_colourKey);
        }
    } else if (kind == kImageFront) {
        width = std::max(imageWidth, 0);
        height = std::max(imageHeight, 0);
        bytesPerPixel = pixelBytes;
    } else {
        AllocateRows(imageWidth, imageHeight, pixelBytes);
    }
    bitsPerPixel = bits;
    colourCount = bits >= 0 && bits < 32 ? 1u << bits : 0;
}

void CImageBase::LoadIntoMemory(const std::string& fileName) {
    kind = kImageMemory;
    LoadBmp(fileName);
    hasColourKey = HasColourKeyPixel() ? 1 : 0;
}

bool CImageBase::LoadIntoSurface(const std::string& fileName) {
    std::vector<uint8_t> bytes;
    BmpInfo info;
    if (!ReadBmpFile(fileName, bytes) || !ParseBmpHeader(bytes, info) ||
        info.MemoryBytesPerPixel() != 2)
        return false;
    std::unique_ptr<CSurface> loaded = CreateOffscreenSurface(info.width, info.height);
    if (!loaded)
        return false;
    bool decoded = DecodeBmpRows(bytes, info, loaded->Lock(), loaded->GetPitch());
    loaded->Unlock();
    if (!decoded)
        return false;
    Clear();
    m_ownSurface = std::move(loaded);
    surface = m_ownSurface.get();
    surface->SetColourKey(g_colourKey);
    kind = kImageSurface;
    width = info.width;
    height = info.height;
    bytesPerPixel = 2;
    bitsPerPixel = 16;
    colourCount = info.coloursUsed;
    pitch = surface->GetPitch();
    fileRowBytes = info.fileRowBytes;
    return true;
}

void CImageBase::SetSurface(CSurface* displaySurface) {
    surface = displaySurface;
    if (!surface)
        return;
    width = surface->GetWidth();
    height = surface->GetHeight();
    pitch = surface->GetPitch();
    bytesPerPixel = 2;
    bitsPerPixel = 16;
}

uint8_t* CImageBase::Lock() {
    locked = 1;
    if ((kind == kImageSurface || kind == kImageLockedSurface) && surface) {
        pixels = surface->Lock();
        pitch = surface->GetPitch();
    }
    return pixels;
}

void CImageBase::Unlock() {
    if (!locked)
        return;
    locked = 0;
    if ((kind == kImageSurface || kind == kImageLockedSurface) && surface) {
        surface->Unlock();
        pixels = nullptr;
    }
}

// CImageBase: pixels -----------------------------------------------------------

bool CImageBase::IsTransparentAt(int32_t x, int32_t y) const {
    if (frames)
        return false;
    CPixelAccess access(*this);
    if (!access.view.pixels || x < 0 || y < 0 || x >= std::min(width, access.view.width) ||
        y >= std::min(height, access.view.height))
        return true;
    if (bytesPerPixel == 1)
        return access.Row(y)[x] <= 1;
    return LoadPixel(access.Row(y) + x * 2) == g_colourKey;
}

void CImageBase::ClearToColourKey() {
    CPixelAccess access(*this);
    if (!access.view.pixels)
        return;
    if (bytesPerPixel == 2) {
        Fill(g_colourKey);
        return;
    }
    for (int32_t y = 0; y < access.view.height; ++y)
        std::memset(access.Row(y), 0, static_cast<size_t>(access.view.pitch));
}

void CImageBase::Fill(uint16_t colour) {
    CPixelAccess access(*this);
    if (!access.view.pixels || bytesPerPixel != 2)
        return;
    for (int32_t y = 0; y < access.view.height; ++y) {
        uint8_t* row = access.Row(y);
        for (int32_t x = 0; x < access.view.width; ++x)
            StorePixel(row + x * 2, colour);
    }
}

bool CImageBase::HasColourKeyPixel() const {
    CPixelAccess access(*this);
    if (!access.view.pixels || bytesPerPixel != 2)
        return false;
    uint16_t key = ColourKeyOf(g_pixelFormat);
    for (int32_t y = 0; y < access.view.height; ++y) {
        const uint8_t* row = access.Row(y);
        for (int32_t x = 0; x < access.view.width; ++x)
            if (LoadPixel(row + x * 2) == key)
                return true;
    }
    return false;
}

bool CImageBase::BuildFrameTable(int32_t frameCount) {
    if (bitsPerPixel != 8 || frames || !buffer || frameCount > UINT16_MAX)
        return false;
    auto table = std::make_unique<CFrameTable>();
    if (frameCount >= 1) {
        table->frameCount = static_cast<uint16_t>(frameCount);
        table->frameWidth = static_cast<uint16_t>(width / frameCount);
        table->height = static_cast<uint16_t>(height);
        table->codes.resize(table->frameCount);
        for (int32_t frame = 0; frame < frameCount; ++frame)
            for (int32_t y = 0; y < height; ++y)
                EncodeRow(pixels + static_cast<size_t>(y) * pitch +
                              static_cast<size_t>(frame) * table->frameWidth,
                          table->frameWidth, table->codes[frame]);
    }
    buffer.reset();
    pixels = nullptr;
    frames = std::move(table);
    framesEncoded = 1;
    return true;
}

// CImageBase: drawing --------------------------------------------------------------

bool CImageBase::ClipToRect(int32_t& destX, int32_t& destY, Rect& source, const Rect& clip) const {
    int32_t s = std::clamp(zoomShift, 0, 4);
    int64_t x = destX;
    int64_t y = destY;
    int64_t left = source.left;
    int64_t top = source.top;
    int64_t right = source.right;
    int64_t bottom = source.bottom;
    if (x < clip.left) {
        left += (clip.left - x) << s;
        x = clip.left;
    }
    if (y < clip.top) {
        top += (clip.top - y) << s;
        y = clip.top;
    }
    int64_t excess = x + Scaled(right - left, s) - clip.right;
    if (excess > 0)
        right -= excess << s;
    excess = y + Scaled(bottom - top, s) - clip.bottom;
    if (excess > 0)
        bottom -= excess << s;
    if (left >= right || top >= bottom)
        return false;
    // Both within the rectangle given and the clip, so they fit 32 bits.
    destX = static_cast<int32_t>(x);
    destY = static_cast<int32_t>(y);
    source = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
              static_cast<int32_t>(bottom)};
    return true;
}

// In order: x and the source's and clip's left and right are rounded down to
// even (the blitters move pixel pairs); the source is clipped; a skip
// rectangle holding the whole destination area draws nothing; a framed
// picture draws its frame by the source's left; otherwise the destination
// point moves by the destination's origin, wrapped into it, and the kinds
// choose the blitter.
bool CImageBase::Draw(int32_t x, int32_t y, int32_t srcLeft, int32_t srcTop, int32_t srcRight,
                      int32_t srcBottom, const Rect* clipRect, CImageBase* destination,
                      const Rect* skipRect) {
    if (!destination)
        return false;
    x &= ~1;
    Rect source{srcLeft & ~1, srcTop, srcRight & ~1, srcBottom};
    Rect clip{0, 0, destination->width, destination->height};
    if (clipRect)
        clip = {clipRect->left & ~1, clipRect->top, clipRect->right & ~1, clipRect->bottom};
    if (!ClipToRect(x, y, source, clip))
        return false;
    int32_t s = std::clamp(zoomShift, 0, 4);
    if (skipRect && x >= skipRect->left && y >= skipRect->top &&
        x + Scaled(source.right - source.left, s) <= skipRect->right &&
        y + Scaled(source.bottom - source.top, s) <= skipRect->bottom)
        return false;

    const std::array<uint32_t, 256>& table =
        palette ? palette->GetPixelTable(paletteTable) : kNoPixels;
    if (frames) {
        if (frames->frameWidth == 0 || source.left < 0 ||
            source.left / frames->frameWidth >= frames->frameCount)
            return true;
        uint16_t frame = static_cast<uint16_t>(source.left / frames->frameWidth);
        frames->currentFrame = frame;
        int32_t frameLeft = frame * frames->frameWidth;
        source.left -= frameLeft;
        source.right -= frameLeft;
        if (destination->bytesPerPixel == 2) {
            CPixelAccess to(*destination);
            DrawFrame(*frames, frame, source, s, kind, translucency, table, to.view, x, y);
        }
        return true;
    }

    x = Wrap(int64_t{x} + destination->originX, destination->width);
    y = Wrap(int64_t{y} + destination->originY, destination->height);
    bool destInMemory = !destination->surface && destination->pixels;
    switch (kind) {
    case kImageMemory: {
        CPixelAccess from(*this);
        if (destination->kind == kImageFront && destination->surface) {
            if (bytesPerPixel == 2) {
                CPixelAccess to(*destination);
                CopyRows16(from.view, source, to.view, x, y);
            }
        } else if (destInMemory) {
            PixelView to{destination->pixels, destination->width, destination->height,
                         destination->pitch};
            if (bitsPerPixel == 8 && destination->bitsPerPixel == 8)
                Blit8To8(from.view, source, s, to, x, y);
            else if (bitsPerPixel == 16 && destination->bitsPerPixel == 16)
                Blit16To16(from.view, source, s, hasColourKey != 0, to, x, y);
            else if (bitsPerPixel == 8 && destination->bitsPerPixel == 16 && palette)
                Blit8To16(from.view, source, s, table, to, x, y);
        }
        break;
    }
    case kImageSurface:
        if (surface && destination->surface)
            destination->surface->BltFast(x, y, *surface, source, true);
        break;
    case kImageLockedSurface:
        if (surface && destInMemory && destination->bitsPerPixel == 16) {
            CPixelAccess from(*this);
            PixelView to{destination->pixels, destination->width, destination->height,
                         destination->pitch};
            Blit16To16(from.view, source, s, hasColourKey != 0, to, x, y);
        }
        break;
    default: // kinds 2 to 5 without a frame table draw nothing
        break;
    }
    return true;
}

bool CImageBase::DrawWhole(int32_t x, int32_t y, CImageBase* destination) {
    return Draw(x, y, 0, 0, width, height, nullptr, destination, nullptr);
}

void CImageBase::SetOrigin(int32_t x, int32_t y) {
    originX = Wrap(x, width);
    originY = Wrap(y, height);
}

void CImageBase::ScrollWrapped(int32_t dx, int32_t dy) {
    originX = Wrap(int64_t{originX} + dx, width);
    originY = Wrap(int64_t{originY} + dy, height);
}

// Each destination row takes the source row from srcX to its end and then
// from 0 to srcX; the rows run from srcY down and then from the top.
void CImageBase::CopyWrapped(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                             CImageBase* destination) {
    if (!destination || bytesPerPixel != destination->bytesPerPixel || bytesPerPixel <= 0)
        return;
    CPixelAccess from(*this);
    CPixelAccess to(*destination);
    const int32_t w = std::min(width, from.view.width);
    const int32_t h = std::min(height, from.view.height);
    if (!from.view.pixels || !to.view.pixels || w <= 0 || h <= 0)
        return;
    srcX = Wrap(srcX, w);
    srcY = Wrap(srcY, h);
    const int32_t bpp = bytesPerPixel;
    for (int32_t r = 0; r < h; ++r) {
        int64_t dy = int64_t{destY} + r;
        if (dy >= to.view.height)
            break;
        if (dy < 0)
            continue;
        const uint8_t* row = from.Row((srcY + r) % h);
        uint8_t* out = to.Row(static_cast<int32_t>(dy));
        CopyRun(row + static_cast<size_t>(srcX) * bpp, w - srcX, out, destX, to.view.width, bpp);
        int64_t secondX = int64_t{destX} + (w - srcX);
        if (secondX < to.view.width)
            CopyRun(row, srcX, out, static_cast<int32_t>(secondX), to.view.width, bpp);
    }
}
