#include "world/MapRender.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/Image.h"
#include "engine/ImageAccess.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/Minimap.h"
#include "world/Province.h"

MapPoint g_lastDrawnOrigin{0, 0};
MapPoint g_lastDrawnCentre{0, 0};
int32_t g_lastDrawnSelection = 0;
uint8_t g_mapScrollForce = 0;

namespace {

constexpr int32_t kCell = kTileSize;
// Light of the tile row below the map's bottom.
constexpr uint8_t kLightBelowMap = 6;

int32_t Zoom() {
    return std::clamp(g_zoomShift, 0, kZoomLevels - 1);
}

int32_t WrapX(int64_t x) {
    int64_t wrapped = x % kMapWidth;
    if (wrapped < 0)
        wrapped += kMapWidth;
    return static_cast<int32_t>(wrapped);
}

// The light value of each pixel of a decoded tile: its leaf's own value.
using TileLight = std::array<uint8_t, kCell * kCell>;

void LeafLights(const MapTile& tile, TileLight& out) {
    for (const MapTileLeaf& leaf : tile.leaves)
        for (int32_t y = leaf.y; y < leaf.y + leaf.size && y < kCell; ++y)
            std::fill_n(out.begin() + y * kCell + leaf.x,
                        std::min<int32_t>(leaf.size, kCell - leaf.x), leaf.light);
}

// The work buffers of one cell, kept between cells.
struct CellWork {
    MapTile tile;
    MapTile below;
    MapTile right;
    TileLight own{};
    TileLight belowLight{};
    TileLight rightLight{};
    // Leaf light of every pixel with one extra row and column (stride 64).
    std::array<uint8_t, (kCell + 1) * 64> corner{};
    // The interpolated light of every pixel (stride 64).
    std::array<uint8_t, kCell * 64> light{};
    std::array<uint8_t, kCell * kCell> fog{};
    // While one draw walks its cells left to right, the tile decoded as the
    // right neighbour of one cell is the next cell's own tile.
    bool reuseRight = false;
    int32_t rightZoom = -1;
    int32_t rightColumn = -1;
    int32_t rightRow = -1;
};

CellWork g_work;

uint8_t FogAt(const CIncGrid& grid, int32_t column, int32_t row) {
    if (row < 0 || row >= kFogRows)
        return 127;
    column %= kFogColumns;
    if (column < 0)
        column += kFogColumns;
    return grid.fog[static_cast<size_t>(row * kFogColumns + column)];
}

// The fog buffer of the cell at map point (x, y); false when the whole cell
// is clear at zoom 0 (the drawing then skips the fog).
bool BuildFog(int32_t x, int32_t y, int32_t zoom, std::array<uint8_t, kCell * kCell>& out) {
    const int32_t cells = 1 << zoom;
    const int32_t side = kCell >> zoom;
    const int32_t column0 = x / kCell;
    const int32_t row0 = y / kCell;
    bool anyFog = zoom != 0;
    for (int32_t i = 0; i < cells; ++i)
        for (int32_t j = 0; j < cells; ++j) {
            const int32_t c = column0 + j;
            const int32_t r = row0 + i;
            const int32_t topLeft = FogAt(g_incGrid, c, r);
            const int32_t topRight = FogAt(g_incGrid, c + 1, r);
            const int32_t bottomLeft = FogAt(g_incGrid, c, r + 1);
            const int32_t bottomRight = FogAt(g_incGrid, c + 1, r + 1);
            if (zoom == 0 && topLeft + topRight + bottomLeft + bottomRight != 0)
                anyFog = true;
            // Bilinear over the square in 16.16 fixed point.
            int32_t left = topLeft << 16;
            int32_t right = topRight << 16;
            const int32_t leftStep = ((bottomLeft - topLeft) << 16) / side;
            const int32_t rightStep = ((bottomRight - topRight) << 16) / side;
            for (int32_t py = 0; py < side; ++py) {
                int32_t value = left;
                const int32_t step = (right - left) / side;
                uint8_t* row = out.data() + (i * side + py) * kCell + j * side;
                for (int32_t px = 0; px < side; ++px) {
                    row[px] = static_cast<uint8_t>(FogLevel(value >> 16));
                    value += step;
                }
                left += leftStep;
                right += rightStep;
            }
        }
    return anyFog;
}

// The light of every pixel of the tile: inside each leaf square
// interpolated between its own value and those of the squares to its right,
// below and diagonally below-right.
void InterpolateLight(CellWork& work) {
    for (int32_t y = 0; y < kCell; ++y) {
        std::memcpy(&work.corner[static_cast<size_t>(y * 64)],
                    &work.own[static_cast<size_t>(y * kCell)], kCell);
        work.corner[static_cast<size_t>(y * 64 + kCell)] =
            work.rightLight[static_cast<size_t>(y * kCell)];
    }
    std::memcpy(&work.corner[kCell * 64], work.belowLight.data(), kCell);
    // The pixel beyond both edges takes the last one of the row below.
    work.corner[kCell * 64 + kCell] = work.belowLight[kCell - 1];

    for (const MapTileLeaf& leaf : work.tile.leaves) {
        const int32_t s = leaf.size;
        const int32_t x = leaf.x;
        const int32_t y = leaf.y;
        if (s <= 1) {
            work.light[static_cast<size_t>(y * 64 + x)] = leaf.light;
            continue;
        }
        const int32_t a = leaf.light;
        const int32_t b = work.corner[static_cast<size_t>(y * 64 + x + s)];
        const int32_t c = work.corner[static_cast<size_t>((y + s) * 64 + x)];
        const int32_t d = work.corner[static_cast<size_t>((y + s) * 64 + x + s)];
        int32_t left = a << 16;
        int32_t right = b << 16;
        const int32_t leftStep = ((c - a) << 16) / s;
        const int32_t rightStep = ((d - b) << 16) / s;
        for (int32_t py = 0; py < s; ++py) {
            int32_t value = left + 0x8000;
            const int32_t step = (right - left) / s;
            uint8_t* row = &work.light[static_cast<size_t>((y + py) * 64 + x)];
            for (int32_t px = 0; px < s; ++px) {
                row[px] = static_cast<uint8_t>(value >> 16);
                value += step;
            }
            left += leftStep;
            right += rightStep;
        }
    }
}

// Writes one cell row of 32 pixels at (x, y) of the view image, wrapping
// round its right edge.
void PutRow(const PixelView& view, int32_t x, int32_t y, const uint16_t* pixels) {
    if (y < 0 || y >= view.height || view.width <= 0)
        return;
    uint16_t* out = reinterpret_cast<uint16_t*>(view.pixels + static_cast<size_t>(y) * view.pitch);
    if (x >= 0 && x + kCell <= view.width) {
        std::memcpy(out + x, pixels, kCell * sizeof(uint16_t));
        return;
    }
    for (int32_t i = 0; i < kCell; ++i) {
        const int32_t at = (x + i) % view.width;
        out[at < 0 ? at + view.width : at] = pixels[i];
    }
}

// The cell's place in the view image, a ring buffer rolled by its origin.
MapPoint CellPlace(const CImageBase& image, int32_t column, int32_t row) {
    const int32_t w = std::max(image.width, 1);
    const int32_t h = std::max(image.height, 1);
    return {(image.originX + column * kCell) % w, (image.originY + row * kCell) % h};
}

void MarkAllDirty() {
    std::fill(g_dirtyCells.begin(), g_dirtyCells.end(), uint8_t{1});
}

void RenderDirtyCells() {
    g_work.rightZoom = -1;
    g_work.reuseRight = true;
    for (int32_t row = 0; row < g_dirtyRows; ++row)
        for (int32_t column = 0; column < g_dirtyColumns; ++column)
            if (g_dirtyCells[static_cast<size_t>(row * g_dirtyColumns + column)])
                RenderMapCell(column, row);
    g_work.reuseRight = false;
}

} // namespace

void RenderMapCell(int32_t column, int32_t row) {
    if (column < 0 || row < 0 || column >= g_dirtyColumns || row >= g_dirtyRows)
        return;
    g_dirtyCells[static_cast<size_t>(row * g_dirtyColumns + column)] = 0;
    if (!g_mapImage || g_mapImage->bytesPerPixel != 2)
        return;
    const int32_t zoom = Zoom();
    const int32_t step = kCell << zoom;
    const int32_t x = WrapX(int64_t{g_viewOrigin.x} + (int64_t{column} * kCell << zoom));
    const int32_t y = g_viewOrigin.y + (row * kCell << zoom);
    CPixelAccess access(*g_mapImage);
    const MapPoint place = CellPlace(*g_mapImage, column, row);
    std::array<uint16_t, kCell> line{};

    if (y < 0 || y >= kMapMaxY) {
        line.fill(g_mapShadeTable[kParchmentRow][0]);
        for (int32_t py = 0; py < kCell; ++py)
            PutRow(access.view, place.x, place.y + py, line.data());
        return;
    }

    CellWork& work = g_work;
    const bool fogged = BuildFog(x, y, zoom, work.fog);

    const int32_t tileColumn = x >> zoom >> 5;
    const int32_t tileRow = y >> zoom >> 5;
    if (y + step >= kMapMaxY) {
        work.belowLight.fill(kLightBelowMap);
    } else {
        g_idGrid.DecodeTile(zoom, tileColumn, tileRow + 1, work.below);
        LeafLights(work.below, work.belowLight);
    }
    if (work.reuseRight && work.rightZoom == zoom && work.rightColumn == tileColumn &&
        work.rightRow == tileRow) {
        std::swap(work.tile, work.right);
        work.own = work.rightLight;
    } else {
        g_idGrid.DecodeTile(zoom, tileColumn, tileRow, work.tile);
        LeafLights(work.tile, work.own);
    }
    const int32_t rightColumn = WrapX(int64_t{x} + step) >> zoom >> 5;
    g_idGrid.DecodeTile(zoom, rightColumn, tileRow, work.right);
    LeafLights(work.right, work.rightLight);
    work.rightZoom = zoom;
    work.rightColumn = rightColumn;
    work.rightRow = tileRow;
    InterpolateLight(work);

    // Column and shade of every entry of the tile.
    const size_t entries = work.tile.entries.size();
    std::array<uint8_t, 260> colourOf{};
    std::array<int32_t, 260> baseOf{};
    for (size_t e = 0; e < entries && e < colourOf.size(); ++e) {
        const int32_t id = work.tile.entries[e];
        const CProvince& province =
            g_provinces[static_cast<size_t>(id >= 0 && id < kProvinceRecords ? id : 0)];
        colourOf[e] = static_cast<uint8_t>(province.mapColour & (kShadeColumns - 1));
        baseOf[e] = std::clamp(province.shade, 0, 31);
    }
    for (int32_t py = 0; py < kCell; ++py) {
        const uint16_t* index = &work.tile.index[static_cast<size_t>(py * kTileStride)];
        const uint8_t* light = &work.light[static_cast<size_t>(py * 64)];
        const uint8_t* fog = &work.fog[static_cast<size_t>(py * kCell)];
        for (int32_t px = 0; px < kCell; ++px) {
            const size_t e = std::min<size_t>(index[px], colourOf.size() - 1);
            const int32_t shadeRow = ShadeRow(light[px], fogged ? fog[px] : 0, baseOf[e]);
            line[static_cast<size_t>(px)] =
                g_mapShadeTable[static_cast<size_t>(shadeRow)][colourOf[e]];
        }
        PutRow(access.view, place.x, place.y + py, line.data());
    }
}

void RenderMapView() {
    SetViewCentre(g_viewCentreX, g_viewCentreY);
    if (g_dirtyCells.empty() || !g_mapImage)
        return;
    const int32_t zoom = Zoom();
    const int32_t dx = WrapMapDx(int64_t{g_viewOrigin.x} - g_lastDrawnOrigin.x);
    const int32_t dy = g_viewOrigin.y - g_lastDrawnOrigin.y;
    const int32_t cellsX = dx / (kCell << zoom);
    const int32_t cellsY = dy / (kCell << zoom);
    const bool moved = dx != 0 || dy != 0;
    if (g_mapRedraw) {
        MarkAllDirty();
    } else if (moved && !g_mapScrollForce && std::abs(dx >> zoom) < kMaxScrollPixels &&
               std::abs(dy >> zoom) < kMaxScrollPixels && std::abs(cellsX) < g_dirtyColumns &&
               std::abs(cellsY) < g_dirtyRows) {
        // The origin moves on the tile grid: whole cells came into view.
        std::fill(g_dirtyCells.begin(), g_dirtyCells.end(), uint8_t{0});
        g_mapImage->ScrollWrapped(cellsX * kCell, cellsY * kCell);
        for (int32_t i = 0; i < std::abs(cellsX); ++i) {
            const int32_t column = cellsX > 0 ? g_dirtyColumns - 1 - i : i;
            for (int32_t row = 0; row < g_dirtyRows; ++row)
                g_dirtyCells[static_cast<size_t>(row * g_dirtyColumns + column)] = 1;
        }
        for (int32_t i = 0; i < std::abs(cellsY); ++i) {
            const int32_t row = cellsY > 0 ? g_dirtyRows - 1 - i : i;
            for (int32_t column = 0; column < g_dirtyColumns; ++column)
                g_dirtyCells[static_cast<size_t>(row * g_dirtyColumns + column)] = 1;
        }
    } else if (moved || g_mapScrollForce) {
        // Too far to roll: nothing of the old picture stays in place.
        MarkAllDirty();
    }
    // A second pass 0 before pass 3 must not roll the image again.
    g_lastDrawnOrigin = g_viewOrigin;
    RenderDirtyCells();
}

// ---------------------------------------------------------------------------
// Fog of the undiscovered lands

namespace {

constexpr int32_t kFogMargin = 64;
constexpr int32_t kSeaKind = 5;
constexpr int32_t kLakeKind = 6;

int32_t KindOf(int32_t id) {
    const CProvince* province = GetProvince(id);
    return province ? province->terrain : 0;
}

bool RevealedOf(int32_t id) {
    const CProvince* province = GetProvince(id);
    return province && province->knownToPlayer != 0;
}

// f of the cell record at (column, row): 0 (clear) .. 255 (undiscovered).
int32_t CellFog(int32_t column, int32_t row) {
    const IncGridCell& cell = g_incGrid.records[static_cast<size_t>(row * kFogColumns + column)];
    const int32_t cx = column * kCell;
    const int32_t cy = row * kCell;
    const auto slotProvince = [&](uint8_t slot) {
        return slot == 0 ? 0 : g_idGrid.GetSlotProvince(cx, cy, slot);
    };
    const int32_t main = slotProvince(cell.main);
    std::array<int32_t, 3> near{};
    for (size_t k = 0; k < near.size(); ++k)
        near[k] = slotProvince(cell.near[k]);

    if (main == 0) {
        int32_t best = 255;
        for (size_t k = 0; k < near.size(); ++k)
            if (near[k] != 0 && KindOf(near[k]) == kSeaKind && RevealedOf(near[k]))
                best = std::min<int32_t>(best, cell.weight[k]);
        return best;
    }
    for (int32_t id : near)
        if (id != 0 && KindOf(id) == kLakeKind)
            return 0;
    const int32_t kind = KindOf(main);
    const bool revealed = RevealedOf(main);
    if (kind > kSeaKind)
        return 0;
    if (!revealed) {
        // Sea clears next to revealed land; land next to any revealed land
        // or sea.
        int32_t best = 255;
        for (size_t k = 0; k < near.size(); ++k) {
            const int32_t n = near[k];
            const bool counts = kind == kSeaKind ? KindOf(n) < kSeaKind : KindOf(n) < kLakeKind;
            if (n != 0 && counts && RevealedOf(n))
                best = std::min<int32_t>(best, cell.weight[k]);
        }
        return best;
    }
    int32_t worst = 0;
    for (size_t k = 0; k < near.size(); ++k) {
        const int32_t n = near[k];
        const bool counts =
            kind == kSeaKind ? KindOf(n) == kSeaKind && !RevealedOf(n) : KindOf(n) > kLakeKind;
        if (n != 0 && counts)
            worst = std::max<int32_t>(worst, 255 - cell.weight[k]);
    }
    return worst;
}

void AfterReveal() {
    g_mapRedraw = 1;
    if (g_minimap)
        g_minimap->MarkDirty();
}

} // namespace

void UpdateFogAround(int32_t provinceId) {
    const CProvince* province = GetProvince(provinceId);
    if (!province || g_incGrid.records.size() < static_cast<size_t>(kIncGridRecords) ||
        g_incGrid.fog.size() < static_cast<size_t>(kIncGridRecords))
        return;
    const Rect& box = province->box;
    const int64_t top = std::clamp<int64_t>(int64_t{box.top} - kFogMargin, 0, kMapMaxY);
    const int64_t bottom = std::clamp<int64_t>(int64_t{box.bottom} + kFogMargin, 0, kMapMaxY - 1);
    const int64_t left = int64_t{box.left} - kFogMargin;
    const int64_t right = int64_t{box.right} + kFogMargin;
    if (bottom < top || right < left)
        return;
    const int64_t firstColumn = left >= 0 ? left / kCell : -((-left + kCell - 1) / kCell);
    const int64_t lastColumn = right >= 0 ? right / kCell : -((-right + kCell - 1) / kCell);
    // A box wider than the world touches every column once.
    const int64_t columns = std::min<int64_t>(lastColumn - firstColumn + 1, kFogColumns);
    for (int64_t row = top / kCell; row <= bottom / kCell && row < kFogRows; ++row)
        for (int64_t i = 0; i < columns; ++i) {
            int64_t column = (firstColumn + i) % kFogColumns;
            if (column < 0)
                column += kFogColumns;
            g_incGrid.fog[static_cast<size_t>(row * kFogColumns + column)] = static_cast<uint8_t>(
                CellFog(static_cast<int32_t>(column), static_cast<int32_t>(row)) / 2);
        }
}

void RevealProvince(uint32_t, int32_t provinceId) {
    if (provinceId < kFirstProvinceId || provinceId > kLastProvinceId)
        return;
    g_provinces[static_cast<size_t>(provinceId)].knownToPlayer = 1;
    UpdateFogAround(provinceId);
    AfterReveal();
}

void ResetFog(uint32_t countryNumber) {
    g_incGrid.ResetFog();
    for (int32_t id = 0; id < kProvinceSlots; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.knownToPlayer = countryNumber < province.discoveredBy.size() &&
                                         province.discoveredBy[countryNumber] != 0
                                     ? 1
                                     : 0;
    }
    for (int32_t id = 0; id < kProvinceSlots; ++id)
        if (g_provinces[static_cast<size_t>(id)].knownToPlayer) {
            UpdateFogAround(id);
            AfterReveal();
        }
}
