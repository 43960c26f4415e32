#include "world/Minimap.h"

#include <algorithm>

#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/ImageAccess.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "world/MapModes.h"
#include "world/MapTables.h"

CMinimap* g_minimap = nullptr;

namespace {

const char* const kEmptyPicture = "gfx\\map\\minimapempty.bmp";
const char* const kFullPicture = "gfx\\map\\minimapfull.bmp";

// Fog values 0..4 show the known world, all others the undiscovered one.
constexpr std::array<uint8_t, 256> kShowsKnown = [] {
    std::array<uint8_t, 256> table{};
    for (size_t v = 0; v <= 4; ++v)
        table[v] = 1;
    return table;
}();

uint16_t* PixelAt(const PixelView& view, int32_t x, int32_t y) {
    return reinterpret_cast<uint16_t*>(view.pixels + static_cast<size_t>(y) * view.pitch) + x;
}

bool Usable(const CImage* image, int32_t w, int32_t h) {
    return image && image->bytesPerPixel == 2 && image->width >= w && image->height >= h;
}

} // namespace

CMinimap::CMinimap(CIncGrid& fogGrid) : fog(&fogGrid) {
    empty = std::make_unique<CImage>(kEmptyPicture, kPlaceMemory, false);
    full = std::make_unique<CImage>(kFullPicture, kPlaceMemory, false);
    const int32_t w = std::max(empty->width, 0);
    const int32_t h = std::max(empty->height, 0);
    image = std::make_unique<CImage>(w, h, 16, kImageMemory);
    xScale = static_cast<float>(w) / kMapWidth;
    yScale = static_cast<float>(h) / kMapMaxY;
    saved.assign(static_cast<size_t>(w) * h, 0);
}

CMinimap::~CMinimap() = default;

int32_t CMinimap::Width() const {
    return image ? image->width : 0;
}

int32_t CMinimap::Height() const {
    return image ? image->height : 0;
}

bool CMinimap::HitTest(int32_t x, int32_t y) const {
    const int64_t dx = int64_t{x} - kLeft;
    const int64_t dy = int64_t{y} - kTop;
    return dx >= 0 && dx <= Width() && dy >= 0 && dy <= Height();
}

int CMinimap::HandleInput(CInputEvent& event) {
    const int64_t dx = int64_t{event.GetX()} - kLeft;
    const int64_t dy = int64_t{event.GetY()} - kTop;
    const int32_t w = Width();
    const int32_t h = Height();
    const uint32_t type = event.GetType();
    if (type == EVT_MOUSELBUP && visible && dx >= 0 && dx < w && dy >= 0 && dy < h) {
        g_mapRedraw = 1;
        SetViewCentre(static_cast<int32_t>(dx * kMapWidth / w),
                      static_cast<int32_t>(dy * kMapMaxY / h));
        return DRAWABLE_TAKEN;
    }
    if ((type == EVT_MOUSELBDOWN || type == EVT_MOUSELBHELD || type == EVT_MOUSELBDOUBLECLICK) &&
        HitTest(event.GetX(), event.GetY()))
        return DRAWABLE_TAKEN;
    return DRAWABLE_NOT_TAKEN;
}

void CMinimap::Rebuild() {
    rebuild = 0;
    const int32_t w = Width();
    const int32_t h = Height();
    if (w <= 0 || h <= 0 || !fog || !Usable(empty.get(), w, h))
        return;
    const bool haveFull = Usable(full.get(), w, h);
    CPixelAccess out(*image);
    CPixelAccess unknown(*empty);
    std::unique_ptr<CPixelAccess> known;
    if (haveFull)
        known = std::make_unique<CPixelAccess>(*full);
    // The fog cell under each pixel in 16.16 fixed point.
    const int64_t stepX = (int64_t{kMapWidth} << 16) / (int64_t{w} * kTileSize);
    const int64_t stepY = (int64_t{kMapMaxY} << 16) / (int64_t{h} * kTileSize);
    for (int32_t y = 0; y < h; ++y) {
        const int64_t row = std::min<int64_t>((y * stepY) >> 16, kFogRows - 1);
        for (int32_t x = 0; x < w; ++x) {
            const int64_t column = std::min<int64_t>((x * stepX) >> 16, kFogColumns - 1);
            const uint8_t value = fog->fog[static_cast<size_t>(row * kFogColumns + column)];
            const PixelView& from = haveFull && kShowsKnown[value] ? known->view : unknown.view;
            *PixelAt(out.view, x, y) = *PixelAt(from, x, y);
        }
    }
}

void CMinimap::Draw(int32_t) {
    if (!visible)
        return;
    if (rebuild)
        Rebuild();
    if (image && g_screen)
        image->DrawWhole(kLeft, kTop, g_screen.get());
}

void CMinimap::DrawViewOutline(int32_t centreX, int32_t centreY, int32_t shift, const Rect& view) {
    if (!g_screen || g_screen->bytesPerPixel != 2)
        return;
    CPixelAccess screen(*g_screen);
    const PixelView& sv = screen.view;
    // Put back what the last outline covered.
    if (savedBounds.left >= 0) {
        size_t i = 0;
        for (int32_t y = savedBounds.top; y <= savedBounds.bottom; ++y)
            for (int32_t x = savedBounds.left; x <= savedBounds.right; ++x, ++i)
                if (x < sv.width && y < sv.height && i < saved.size())
                    *PixelAt(sv, x, y) = saved[i];
        savedBounds.left = -1;
    }
    const int32_t w = Width();
    const int32_t h = Height();
    if (w <= 0 || h <= 0)
        return;
    shift = std::clamp(shift, 0, kZoomLevels - 1);
    const int32_t cx = static_cast<int32_t>(centreX * xScale) + kLeft;
    const int32_t cy = static_cast<int32_t>(centreY * yScale) + kTop;
    const int32_t hw = static_cast<int32_t>((view.right - view.left) * xScale * 0.5f) << shift;
    const int32_t hh = static_cast<int32_t>((view.bottom - view.top) * yScale * 0.5f) << shift;
    const int32_t x0 = cx - hw;
    const int32_t y0 = cy - hh;
    const int32_t x1 = cx + hw;
    const int32_t y1 = cy + hh;
    // Held to the minimap and the screen.
    const Rect clip{std::max({x0, kLeft, 0}), std::max({y0, kTop, 0}),
                    std::min({x1, kLeft + w - 1, sv.width - 1}),
                    std::min({y1, kTop + h - 1, sv.height - 1})};
    if (clip.left > clip.right || clip.top > clip.bottom)
        return;
    size_t i = 0;
    for (int32_t y = clip.top; y <= clip.bottom; ++y)
        for (int32_t x = clip.left; x <= clip.right; ++x, ++i)
            if (i < saved.size())
                saved[i] = *PixelAt(sv, x, y);
    savedBounds = clip;
    for (int32_t y = clip.top; y <= clip.bottom; ++y)
        for (int32_t x = clip.left; x <= clip.right; ++x)
            if (x == x0 || x == x1 || y == y0 || y == y1)
                *PixelAt(sv, x, y) = 0;
}

MapPoint WorldToMinimap(int32_t x, int32_t y) {
    const int64_t w = g_minimap ? g_minimap->Width() : 0;
    const int64_t h = g_minimap ? g_minimap->Height() : 0;
    return {static_cast<int32_t>(x * w / kMapWidth + CMinimap::kLeft),
            static_cast<int32_t>(y * h / kMapMaxY + CMinimap::kTop)};
}

MapPoint MinimapToWorld(int32_t sx, int32_t sy) {
    const int64_t w = g_minimap ? g_minimap->Width() : 0;
    const int64_t h = g_minimap ? g_minimap->Height() : 0;
    return {w > 0 ? static_cast<int32_t>((int64_t{sx} - CMinimap::kLeft) * kMapWidth / w) : 0,
            h > 0 ? static_cast<int32_t>((int64_t{sy} - CMinimap::kTop) * kMapMaxY / h) : 0};
}
