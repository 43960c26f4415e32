#pragma once
// The static tables of the world map, read from the game's "map" folder:
// the provinces' bounding boxes and neighbour lists, the province-id grid,
// the five zoom levels of compressed map tiles and the fog cell records.
// Every file is little-endian and packed; each loader checks the file's
// size and every count, offset and index before it changes anything, and
// answers false (after a critical-error box naming the file) on a file it
// cannot use.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The map tables describe the ids 0..1472.
constexpr int32_t kMapTableProvinces = 1473;
// Pseudo-provinces a tile's border entry becomes where two owners meet: the
// base province shown in full colour, or dimmed.
constexpr int32_t kBorderProvince = 1473;
constexpr int32_t kBorderProvinceDimmed = 1475;
// Entry values from this one on are border entries.
constexpr int32_t kFirstBorderEntry = 1474;
// Neighbour kind of the province kind that ends the leading neighbours.
constexpr int32_t kTrailingNeighbourKind = 6;

constexpr int32_t kZoomLevels = 5;
// Tiles are 32 x 32 screen pixels; at zoom shift z a tile covers 32 << z map
// pixels square.
constexpr int32_t kTileSize = 32;
constexpr int32_t kTileStride = 64; // row stride of the decoded index buffer
// Tile grid of zoom 0; zoom z has kTileColumns >> z columns and
// ceil(kTileRows / (1 << z)) rows.
constexpr int32_t kTileColumns = 592;
constexpr int32_t kTileRows = 228;

// The id grid: 40 blocks of 2048 x 2048 map pixels (10 columns x 4 rows,
// x-major), 256 province slots each.
constexpr int32_t kIdGridBlockSize = 2048;
constexpr int32_t kIdGridBlockRows = 4;
constexpr int32_t kIdGridSlots = 256;
constexpr int32_t kIdGridSize = 10240;

// The fog cells: one per 32 x 32 map pixels, 592 x 228 of them.
constexpr int32_t kFogColumns = 592;
constexpr int32_t kFogRows = 228;
constexpr int32_t kIncGridRecords = kFogColumns * kFogRows; // 134976
constexpr int32_t kFogGridBytes = 600000;

// The file names.
extern const char* const kBoundBoxFile;    // "map\\boundbox.tbl"
extern const char* const kAdjacencyFile;   // "map\\adjacent.tbl"
extern const char* const kIdGridFile;      // "map\\idgrid.tbl"
extern const char* const kLightmapPattern; // "map\\lightmap%d.tbl", zoom + 1
extern const char* const kIncGridFile;     // "map\\incgrid.tbl"

// Reads the bounding box of every province 0..1472 (16 bytes each: left,
// top, right, bottom). False, nothing changed, when the file is missing or
// shorter than 1473 records.
bool LoadBoundBoxes(const std::string& path);

// Reads the neighbour lists of provinces 1..1472 (province 0 gets none).
// The leading count of a province stops at its first neighbour of province
// kind 6. False, every list left as it was, when the file is missing or
// short, its offsets do not start at 0, fall, or end elsewhere than at the
// record count, or a neighbour id lies outside 0..1472. A second read
// replaces the lists.
bool LoadAdjacency(const std::string& path);

// Tile rows and columns of a zoom level.
constexpr int32_t TileColumnsOf(int32_t zoom) {
    return kTileColumns >> zoom;
}
constexpr int32_t TileRowsOf(int32_t zoom) {
    return (kTileRows + (1 << zoom) - 1) >> zoom;
}

// One zoom level of map tiles as read: the 3-byte cell offsets, row by row,
// and the tile data.
struct MapTileLevel {
    std::vector<uint8_t> grid;
    std::vector<uint8_t> data;
    uint32_t size = 0;
};

// A leaf square of a decoded tile: top-left pixel and side, its entry index
// and its light value (0..63).
struct MapTileLeaf {
    uint8_t x = 0;
    uint8_t y = 0;
    uint8_t size = 0;
    uint16_t index = 0;
    uint8_t light = 0;
};

// A decoded tile: the resolved province of each entry (one more entry of
// province 0 stands for leaves whose index is bad), the entry index of each
// pixel (row stride 64) and the leaves in stream order.
struct MapTile {
    std::vector<int32_t> entries;
    std::array<uint16_t, kTileSize * kTileStride> index{};
    std::vector<MapTileLeaf> leaves;

    int32_t ProvinceAtPixel(int32_t x, int32_t y) const {
        return entries[index[static_cast<size_t>(y * kTileStride + x)]];
    }
};

class CIdGrid {
public:
    // Reads "map\idgrid.tbl": 10240 province ids. False, the grid left as
    // it was, when the file is missing, short or names an id above 1472.
    bool Load();
    // Marks the tile cache invalid and reads the five tile files. False when
    // one is missing or shorter than its cell grid, size word and data; the
    // levels read before stay.
    bool LoadLightmaps();
    void FreeLightmaps();
    // Takes one tile file's bytes (cell grid, size word, data) as the zoom
    // level; false, the level unchanged, when they are shorter than the grid
    // and the data the size word names. The name is for the error box.
    bool ReadLevel(int32_t zoom, const std::vector<uint8_t>& bytes, const std::string& name);

    // The province at a map point, at the resolution of the zoom shift
    // (0..4); 0 for y outside 1..7295. x wraps. Answers from the one cached
    // tile when the point lies in it.
    int32_t ProvinceAt(int32_t x, int32_t y, int32_t shift);
    // The province in slot 0..255 of the id-grid block holding the map
    // point (x wraps, y held to the map); 0 for a slot outside 0..255.
    int32_t GetSlotProvince(int32_t x, int32_t y, int32_t slot) const;

    // Decodes the tile (column, row) of the zoom level. A tile whose offset
    // lies past the data, or whose data end early, decodes as one leaf of
    // province 0; a bad entry or leaf index gives province 0 where it is
    // used. Either is reported once per tile. False when the tile is damaged.
    bool DecodeTile(int32_t zoom, int32_t column, int32_t row, MapTile& out);

    const MapTileLevel& Level(int32_t zoom) const { return m_levels[static_cast<size_t>(zoom)]; }
    // The number of damaged tiles reported so far.
    uint32_t DamagedTileCount() const { return m_damagedTiles; }

    uint8_t cacheInvalid = 1;
    std::array<uint32_t, kIdGridSize> ids{};

private:
    void ReportDamage(int32_t zoom, int32_t column, int32_t row, const char* what);

    std::array<MapTileLevel, kZoomLevels> m_levels;
    std::array<std::vector<bool>, kZoomLevels> m_reported;
    uint32_t m_damagedTiles = 0;
    MapTile m_tile;
    int32_t m_cacheX = 0;
    int32_t m_cacheY = 0;
    int32_t m_cacheZoom = 0;
};

extern CIdGrid g_idGrid;

// A fog cell record of "map\incgrid.tbl": the id-grid slot of the province
// covering the cell (0 = none), three nearby provinces' slots and their
// weights (growing with the distance).
struct IncGridCell {
    uint8_t main = 0;
    std::array<uint8_t, 3> near{};
    std::array<uint8_t, 3> weight{};
};

class CIncGrid {
public:
    CIncGrid();
    // Reads the cell records. A missing file is no error (every cell stays
    // without a province); a short one is: false, the records unchanged.
    bool Load();
    // Every fog cell back to 127 (undiscovered).
    void ResetFog();

    std::vector<uint8_t> fog;         // kFogGridBytes; cell row x 592 + column
    std::vector<IncGridCell> records; // kIncGridRecords
};

extern CIncGrid g_incGrid;
