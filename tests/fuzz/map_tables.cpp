// Fuzz target: arbitrary bytes as one of the map tables, chosen by the
// first byte: 0 bounding boxes, 1 adjacency, 2 id grid, 3 fog cells, 4
// colour scales, 5 tile data of zoom 4 (every tile decoded and probed),
// the same modulo 6; but 240 + z (z 0..4) a whole tile file of zoom z (cell
// grid, size word and data, as "map\lightmap<z + 1>.tbl"), every tile
// decoded and probed. A table that loads must leave every neighbour list
// and tile answer in range. The test run also replays the generated demo
// world's tables through it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzSupport.h"
#include "world/MapModes.h"
#include "world/MapTables.h"
#include "world/Province.h"

namespace {

void CheckNeighbours() {
    for (const CProvince& province : g_provinces) {
        fuzz::Check(province.neighbourCount >= 0 &&
                    province.neighbourCount <= province.GetNeighbourTotal());
        for (const ProvinceNeighbour& link : province.neighbours)
            fuzz::Check(link.id >= 0 && link.id < kMapTableProvinces);
    }
}

// Every tile of the loaded zoom level decoded and probed, then points of
// the whole map through the tile cache; the owners' borders drawn or not.
void ProbeLevel(int32_t zoom, bool borders) {
    g_mapModeFlags = borders ? kMapModeBorders : 0;
    const int32_t columns = TileColumnsOf(zoom);
    const int32_t rows = TileRowsOf(zoom);
    MapTile tile;
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column) {
            g_idGrid.DecodeTile(zoom, column, row, tile);
            fuzz::Check(!tile.leaves.empty() && tile.leaves.size() <= 1024);
            for (int32_t y = 0; y < 32; y += 5)
                for (int32_t x = 0; x < 32; x += 3) {
                    const int32_t id = tile.ProvinceAtPixel(x, y);
                    fuzz::Check(id >= 0 && id < kFirstBorderEntry);
                }
        }
    for (int32_t x = -600; x < 19500; x += 1001) {
        const int32_t id = g_idGrid.ProvinceAt(x, 1 + x % 7000, zoom);
        fuzz::Check(id >= 0 && id < kFirstBorderEntry);
    }
}

// The bytes as the tile data of zoom 4, each cell's offset spread over the
// data (and a little past it).
void DecodeLevel(const uint8_t* data, size_t size) {
    constexpr int32_t zoom = 4;
    const int32_t columns = TileColumnsOf(zoom);
    const int32_t rows = TileRowsOf(zoom);
    std::vector<uint8_t> file;
    for (int32_t i = 0; i < columns * rows; ++i) {
        const uint32_t offset = static_cast<uint32_t>((size_t(i) * 37 + 11) % (size + 2));
        file.push_back(static_cast<uint8_t>(offset));
        file.push_back(static_cast<uint8_t>(offset >> 8));
        file.push_back(static_cast<uint8_t>(offset >> 16));
    }
    for (int b = 0; b < 4; ++b)
        file.push_back(static_cast<uint8_t>(size >> (8 * b)));
    file.insert(file.end(), data, data + size);
    fuzz::Check(g_idGrid.ReadLevel(zoom, file, "lightmap5.tbl"));
    // Borders drawn in half the inputs, so both resolutions run.
    ProbeLevel(zoom, size % 2 != 0);
}

// The first byte of a whole tile file of zoom 0..4.
constexpr uint8_t kWholeTileFile = 240;

// The bytes as a whole tile file of the zoom level.
void DecodeFile(int32_t zoom, const uint8_t* data, size_t size) {
    if (g_idGrid.ReadLevel(zoom, std::vector<uint8_t>(data, data + size), "lightmap.tbl"))
        ProbeLevel(zoom, size % 2 != 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    fuzz::InScratchFolder folder;
    // A few neighbour lists for the tiles' border entries.
    for (int32_t id = 1; id < 8; ++id) {
        g_provinces[static_cast<size_t>(id)].neighbours = {{id + 1, 0, 0}, {id + 2, 0, 0}};
        g_provinces[static_cast<size_t>(id)].neighbourCount = 2;
    }
    if (data[0] >= kWholeTileFile && data[0] < kWholeTileFile + kZoomLevels) {
        DecodeFile(data[0] - kWholeTileFile, data + 1, size - 1);
        return 0;
    }
    const uint8_t kind = data[0] % 6;
    ++data;
    --size;
    switch (kind) {
    case 0:
        folder.WriteFile("map/boundbox.tbl", data, size);
        LoadBoundBoxes(kBoundBoxFile);
        break;
    case 1:
        folder.WriteFile("map/adjacent.tbl", data, size);
        LoadAdjacency(kAdjacencyFile);
        CheckNeighbours();
        break;
    case 2:
        folder.WriteFile("map/idgrid.tbl", data, size);
        if (g_idGrid.Load())
            for (int32_t slot = 0; slot < 256; slot += 17)
                fuzz::Check(g_idGrid.GetSlotProvince(slot * 77, slot * 29, slot) <
                            kMapTableProvinces);
        break;
    case 3:
        folder.WriteFile("map/incgrid.tbl", data, size);
        g_incGrid.Load();
        fuzz::Check(g_incGrid.records.size() == static_cast<size_t>(kIncGridRecords));
        break;
    case 4: {
        folder.WriteFile("map/colorscales.csv", data, size);
        ColourScaleTable table{};
        if (LoadColourScales("palette.act", table)) {
            g_colourScales = table;
            BuildMapShadeTable();
        }
        break;
    }
    default:
        DecodeLevel(data, size);
        break;
    }
    return 0;
}
