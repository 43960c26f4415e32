#include "tools/viewer/MapPicture.h"

#include <algorithm>
#include <array>
#include <memory>

#include "engine/Pixel.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"

namespace viewer {
namespace {

// Scale of the border pseudo-provinces.
constexpr int32_t kBorderScale = 24;
constexpr int32_t kParchmentRow = 4;

std::array<uint8_t, 3> Widen(uint16_t pixel) {
    const PixelChannels c = SplitPixel(pixel, kPixelFormat565);
    return {static_cast<uint8_t>(c.r << 3 | c.r >> 2), static_cast<uint8_t>(c.g << 2 | c.g >> 4),
            static_cast<uint8_t>(c.b << 3 | c.b >> 2)};
}

void Put(RgbPicture& picture, int32_t x, int32_t y, uint16_t pixel) {
    const std::array<uint8_t, 3> rgb = Widen(pixel);
    std::copy(rgb.begin(), rgb.end(), picture.At(x, y));
}

uint16_t PixelOf(int32_t province, int32_t light) {
    int32_t colour = kBorderScale;
    int32_t shade = 15;
    if (province >= 0 && province < kProvinceSlots) {
        colour = g_provinces[static_cast<size_t>(province)].mapColour;
        shade = g_provinces[static_cast<size_t>(province)].shade;
    }
    const int32_t row = std::clamp(light - shade + 47, kParchmentRow, kShadeRows - 1);
    return g_mapShadeTable[static_cast<size_t>(row)][static_cast<size_t>(colour & 63)];
}

} // namespace

bool LoadMapForPictures(std::string& error) {
    static std::unique_ptr<CMap> map;
    SetPixelFormat(kPixelFormat565);
    g_zoomShift = 0;
    g_selectedProvince = 0;
    map = std::make_unique<CMap>();
    if (!map->Load()) {
        error = "the map tables cannot be read";
        return false;
    }
    if (!LoadProvinces()) {
        error = "the province table cannot be read: " + GetProvinceLoadError();
        return false;
    }
    RecolourMap(0, MAPMODE_TERRAIN);
    for (CProvince& province : g_provinces)
        province.mapColour &= 31;
    BuildMapShadeTable();
    return true;
}

RgbPicture DrawMap(int32_t zoom, int32_t left, int32_t top, int32_t width, int32_t height) {
    zoom = std::clamp(zoom, 0, kZoomLevels - 1);
    RgbPicture picture(std::max(width, 0), std::max(height, 0));
    const int32_t step = 1 << zoom;
    const int32_t span = kTileSize << zoom; // map pixels of a tile
    left &= ~(step - 1);
    top &= ~(step - 1);
    const uint16_t parchment = g_mapShadeTable[kParchmentRow][0];
    MapTile tile;
    std::array<uint8_t, kTileSize * kTileSize> light{};
    for (int32_t y = 0; y < picture.height;) {
        const int32_t mapY = top + y * step;
        if (mapY < 0 || mapY >= kMapMaxY) {
            for (int32_t x = 0; x < picture.width; ++x)
                Put(picture, x, y, parchment);
            ++y;
            continue;
        }
        const int32_t tileRow = mapY / span;
        const int32_t firstRow = (mapY % span) >> zoom;
        const int32_t rows = std::min(kTileSize - firstRow, picture.height - y);
        for (int32_t x = 0; x < picture.width;) {
            const int32_t mapX = ((left + x * step) % kMapWidth + kMapWidth) % kMapWidth;
            const int32_t tileColumn = mapX / span;
            const int32_t firstColumn = (mapX % span) >> zoom;
            const int32_t columns = std::min(kTileSize - firstColumn, picture.width - x);
            g_idGrid.DecodeTile(zoom, tileColumn, tileRow, tile);
            for (const MapTileLeaf& leaf : tile.leaves)
                for (int32_t ly = leaf.y; ly < leaf.y + leaf.size; ++ly)
                    std::fill_n(light.begin() + ly * kTileSize + leaf.x, leaf.size, leaf.light);
            for (int32_t ty = 0; ty < rows; ++ty)
                for (int32_t tx = 0; tx < columns; ++tx) {
                    const int32_t px = firstColumn + tx;
                    const int32_t py = firstRow + ty;
                    const bool onMap = mapY + ty * step < kMapMaxY;
                    Put(picture, x + tx, y + ty,
                        onMap ? PixelOf(tile.ProvinceAtPixel(px, py),
                                        light[static_cast<size_t>(py * kTileSize + px)])
                              : parchment);
                }
            x += columns;
        }
        y += rows;
    }
    return picture;
}

RgbPicture DrawWholeMap() {
    return DrawMap(4, 0, 0, kMapWidth >> 4, kMapMaxY >> 4);
}

RgbPicture DrawOpeningView() {
    return DrawMap(0, 8800, 2592, 576, 608);
}

} // namespace viewer
