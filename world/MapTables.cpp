#include "world/MapTables.h"

#include <algorithm>
#include <cstdio>

#include "engine/CriticalError.h"
#include "engine/File.h"
#include "world/MapModes.h"
#include "world/MapView.h"
#include "world/Province.h"

const char* const kBoundBoxFile = "map\\boundbox.tbl";
const char* const kAdjacencyFile = "map\\adjacent.tbl";
const char* const kIdGridFile = "map\\idgrid.tbl";
const char* const kLightmapPattern = "map\\lightmap%d.tbl";
const char* const kIncGridFile = "map\\incgrid.tbl";

CIdGrid g_idGrid;
CIncGrid g_incGrid;

namespace {

constexpr size_t kBoundBoxRecord = 16;
constexpr size_t kAdjacencyOffsets = kMapTableProvinces + 1; // 1474
constexpr size_t kAdjacencyRecord = 12;
constexpr size_t kIncGridRecord = 8;
// An entry list never holds more entries than a leaf index can name.
constexpr size_t kMaxTileEntries = 256;

uint32_t U32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

int32_t I32(const uint8_t* at) {
    return static_cast<int32_t>(U32(at));
}

// The whole file; false (the file layer has shown its box) when it cannot
// be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
    CFile file(path);
    if (file.IsFailed() || file.GetSize() < 0)
        return false;
    out.assign(static_cast<size_t>(file.GetSize()), 0);
    return out.empty() || file.Read(out.data(), static_cast<uint32_t>(out.size()));
}

bool Refuse(const std::string& path, const char* what) {
    g_fileError = 1;
    CriticalError(" Bad map file %s: %s! ", path.c_str(), what);
    return false;
}

// Bit reader over a tile's data, least significant bit of each byte first.
struct TileReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
    uint8_t mask = 1;
    bool overrun = false;

    int Bit() {
        if (pos >= size) {
            overrun = true;
            return 0;
        }
        const int bit = (data[pos] & mask) != 0;
        mask = static_cast<uint8_t>(mask << 1);
        if (mask == 0) {
            mask = 1;
            ++pos;
        }
        return bit;
    }
    void Align() {
        if (mask != 1) {
            mask = 1;
            ++pos;
        }
    }
    // The byte at pos + i, 0 (and overrun) past the data.
    uint8_t At(size_t i) {
        if (pos + i >= size) {
            overrun = true;
            return 0;
        }
        return data[pos + i];
    }
};

// Children in the order bottom-right, bottom-left, top-right, top-left; a
// split 2 x 2 square yields four single pixels without further bits.
void ReadQuadtree(TileReader& in, int x, int y, int size, std::vector<MapTileLeaf>& leaves) {
    if (size == 1 || !in.Bit() || in.overrun) {
        leaves.push_back(
            {static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(size), 0, 0});
        return;
    }
    const int half = size / 2;
    ReadQuadtree(in, x + half, y + half, half, leaves);
    ReadQuadtree(in, x, y + half, half, leaves);
    ReadQuadtree(in, x + half, y, half, leaves);
    ReadQuadtree(in, x, y, half, leaves);
}

int IndexBits(size_t entryCount) {
    if (entryCount <= 1)
        return 0;
    if (entryCount == 2)
        return 1;
    if (entryCount <= 4)
        return 2;
    if (entryCount <= 16)
        return 4;
    return 8;
}

bool BordersDiffer(const CProvince& base, const CProvince* other) {
    if (!other)
        return false;
    if (g_borderByMemberSet)
        return base.zoneFlag != other->zoneFlag;
    return base.GetOwnerNumber() != other->GetOwnerNumber();
}

} // namespace

bool LoadBoundBoxes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    if (bytes.size() < kMapTableProvinces * kBoundBoxRecord)
        return Refuse(path, "shorter than 1473 records");
    for (size_t i = 0; i < kMapTableProvinces; ++i) {
        const uint8_t* at = bytes.data() + i * kBoundBoxRecord;
        g_provinces[i].box = {I32(at), I32(at + 4), I32(at + 8), I32(at + 12)};
    }
    return true;
}

bool LoadAdjacency(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    if (bytes.size() < kAdjacencyOffsets * 4)
        return Refuse(path, "shorter than its offsets");
    std::vector<uint32_t> offset(kAdjacencyOffsets);
    for (size_t i = 0; i < kAdjacencyOffsets; ++i)
        offset[i] = U32(bytes.data() + i * 4);
    const size_t records = (bytes.size() - kAdjacencyOffsets * 4) / kAdjacencyRecord;
    if (offset[0] != 0)
        return Refuse(path, "the first offset is not 0");
    for (size_t i = 1; i < kAdjacencyOffsets; ++i)
        if (offset[i] < offset[i - 1])
            return Refuse(path, "an offset falls");
    if (offset[kMapTableProvinces] > records)
        return Refuse(path, "the offsets end past the records");
    if (offset[kMapTableProvinces] != records)
        return Refuse(path, "the last offset is not the record count");
    std::vector<ProvinceNeighbour> links(records);
    for (size_t r = 0; r < records; ++r) {
        const uint8_t* at = bytes.data() + kAdjacencyOffsets * 4 + r * kAdjacencyRecord;
        const uint32_t id = U32(at);
        if (id >= static_cast<uint32_t>(kMapTableProvinces))
            return Refuse(path, "a neighbour id lies outside 0..1472");
        links[r] = {static_cast<int32_t>(id), I32(at + 4), I32(at + 8)};
    }

    g_provinces[0].ClearNeighbours();
    for (size_t i = 1; i < kMapTableProvinces; ++i) {
        CProvince& province = g_provinces[i];
        const size_t first = offset[i];
        const size_t end = offset[i + 1];
        size_t leading = end - first;
        for (size_t r = first; r < end; ++r)
            if (g_provinces[static_cast<size_t>(links[r].id)].terrain == kTrailingNeighbourKind) {
                leading = r - first;
                break;
            }
        province.ClearNeighbours();
        province.neighbours.resize(end - first);
        province.neighbourCount = static_cast<int32_t>(leading);
        for (size_t r = first; r < end; ++r)
            province.SetNeighbour(static_cast<int32_t>(r - first), links[r]);
    }
    return true;
}

bool CIdGrid::Load() {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(kIdGridFile, bytes))
        return false;
    if (bytes.size() < kIdGridSize * 4)
        return Refuse(kIdGridFile, "shorter than 10240 ids");
    std::array<uint32_t, kIdGridSize> read{};
    for (size_t i = 0; i < read.size(); ++i) {
        read[i] = U32(bytes.data() + i * 4);
        if (read[i] >= static_cast<uint32_t>(kMapTableProvinces))
            return Refuse(kIdGridFile, "an id lies outside 0..1472");
    }
    ids = read;
    return true;
}

bool CIdGrid::LoadLightmaps() {
    cacheInvalid = 1;
    for (int32_t zoom = 0; zoom < kZoomLevels; ++zoom) {
        char path[64];
        std::snprintf(path, sizeof path, kLightmapPattern, zoom + 1);
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes) || !ReadLevel(zoom, bytes, path))
            return false;
    }
    return true;
}

bool CIdGrid::ReadLevel(int32_t zoom, const std::vector<uint8_t>& bytes, const std::string& name) {
    if (zoom < 0 || zoom >= kZoomLevels)
        return false;
    cacheInvalid = 1;
    const size_t gridSize = static_cast<size_t>(TileRowsOf(zoom)) * TileColumnsOf(zoom) * 3;
    if (bytes.size() < gridSize + 4)
        return Refuse(name, "shorter than its cell grid");
    const uint32_t size = U32(bytes.data() + gridSize);
    if (bytes.size() - gridSize - 4 < size)
        return Refuse(name, "shorter than its tile data");
    MapTileLevel& level = m_levels[static_cast<size_t>(zoom)];
    level.grid.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(gridSize));
    level.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(gridSize + 4),
                      bytes.begin() + static_cast<std::ptrdiff_t>(gridSize + 4 + size));
    level.size = size;
    m_reported[static_cast<size_t>(zoom)].assign(gridSize / 3, false);
    return true;
}

void CIdGrid::FreeLightmaps() {
    for (MapTileLevel& level : m_levels)
        level = {};
    for (auto& reported : m_reported)
        reported.clear();
    cacheInvalid = 1;
}

void CIdGrid::ReportDamage(int32_t zoom, int32_t column, int32_t row, const char* what) {
    auto& reported = m_reported[static_cast<size_t>(zoom)];
    const size_t tile = static_cast<size_t>(row) * TileColumnsOf(zoom) + column;
    if (tile < reported.size()) {
        if (reported[tile])
            return;
        reported[tile] = true;
    }
    ++m_damagedTiles;
    AppendToLog("Map tile " + std::to_string(column) + "," + std::to_string(row) + " of zoom " +
                std::to_string(zoom) + " is damaged: " + what);
}

bool CIdGrid::DecodeTile(int32_t zoom, int32_t column, int32_t row, MapTile& out) {
    out.entries.assign(1, 0);
    out.index.fill(0);
    out.leaves.assign(1, MapTileLeaf{0, 0, kTileSize, 0, 0});
    if (zoom < 0 || zoom >= kZoomLevels || column < 0 || row < 0 || column >= TileColumnsOf(zoom) ||
        row >= TileRowsOf(zoom))
        return false;
    const MapTileLevel& level = m_levels[static_cast<size_t>(zoom)];
    const size_t cell = (static_cast<size_t>(row) * TileColumnsOf(zoom) + column) * 3;
    if (cell + 3 > level.grid.size())
        return false; // the level is not loaded
    const size_t offset = size_t{level.grid[cell]} | size_t{level.grid[cell + 1]} << 8 |
                          size_t{level.grid[cell + 2]} << 16;
    if (offset >= level.data.size()) {
        ReportDamage(zoom, column, row, "its offset lies past the data");
        return false;
    }
    TileReader in{level.data.data(), level.data.size(), offset};

    // (a) The entry list; border entries resolve against earlier entries.
    std::vector<uint16_t> raw;
    for (;;) {
        if (in.pos + 2 > in.size || raw.size() == kMaxTileEntries) {
            ReportDamage(zoom, column, row, "its entry list does not end");
            return false;
        }
        const uint16_t value = static_cast<uint16_t>(in.data[in.pos] | in.data[in.pos + 1] << 8);
        in.pos += 2;
        raw.push_back(value & 0x7FFF);
        if (value & 0x8000)
            break;
    }
    const char* badEntry = nullptr;
    std::vector<int32_t> base(raw.size(), 0);
    out.entries.assign(raw.size() + 1, 0); // the last one stands for a bad leaf index
    const bool borders = (g_mapModeFlags & kMapModeBorders) != 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        const int32_t value = raw[i];
        if (value < kFirstBorderEntry) {
            out.entries[i] = base[i] = value;
            continue;
        }
        const int32_t from = ((value >> 9) & 63) - 4;
        if (from < 0 || static_cast<size_t>(from) >= i) {
            badEntry = "a border entry points at itself or later";
            continue;
        }
        const CProvince* province = base[static_cast<size_t>(from)] < kMapTableProvinces
                                        ? GetProvince(base[static_cast<size_t>(from)])
                                        : nullptr;
        const size_t neighbour = static_cast<size_t>((value >> 1) & 15);
        const size_t side = static_cast<size_t>((value >> 5) & 15);
        if (!province || neighbour >= province->neighbours.size() ||
            (side < 15 && side >= province->neighbours.size())) {
            badEntry = "a border entry names a neighbour its province lacks";
            continue;
        }
        const int32_t resolved =
            side < 15 ? province->neighbours[side].id : base[static_cast<size_t>(from)];
        base[i] = resolved;
        if (borders && BordersDiffer(*province, GetProvince(province->neighbours[neighbour].id)))
            out.entries[i] = province->shownNotDimmed ? kBorderProvince : kBorderProvinceDimmed;
        else
            out.entries[i] = resolved;
    }

    // (b) The quadtree, then (c) the entry indices and (d) the light values.
    out.leaves.clear();
    ReadQuadtree(in, 0, 0, kTileSize, out.leaves);
    in.Align();
    const size_t leaves = out.leaves.size();
    const int bits = IndexBits(raw.size());
    bool badIndex = false;
    for (size_t i = 0; i < leaves && bits > 0; ++i) {
        const size_t bit = i * static_cast<size_t>(bits);
        const uint32_t byte = in.At(bit / 8);
        const uint32_t index = (byte >> (bit % 8)) & ((1u << bits) - 1);
        out.leaves[i].index = static_cast<uint16_t>(index);
        if (index >= raw.size()) {
            out.leaves[i].index = static_cast<uint16_t>(raw.size());
            badIndex = true;
        }
    }
    in.pos += (leaves * static_cast<size_t>(bits) + 7) / 8;
    for (size_t i = 0; i < leaves; ++i) {
        const size_t group = i / 4 * 3;
        const uint32_t b0 = in.At(group);
        const uint32_t b1 = i % 4 == 1 || i % 4 == 2 ? in.At(group + 1) : 0;
        const uint32_t b2 = i % 4 >= 2 ? in.At(group + 2) : 0;
        uint32_t light = 0;
        switch (i % 4) {
        case 0:
            light = b0 & 63;
            break;
        case 1:
            light = (b1 & 15) * 4 + (b0 >> 6);
            break;
        case 2:
            light = (b2 & 3) * 16 + (b1 >> 4);
            break;
        default:
            light = b2 >> 2;
            break;
        }
        out.leaves[i].light = static_cast<uint8_t>(light);
    }
    if (in.overrun) {
        ReportDamage(zoom, column, row, "its data end early");
        out.entries.assign(1, 0);
        out.index.fill(0);
        out.leaves.assign(1, MapTileLeaf{0, 0, kTileSize, 0, 0});
        return false;
    }
    for (const MapTileLeaf& leaf : out.leaves)
        for (int32_t y = leaf.y; y < leaf.y + leaf.size; ++y)
            std::fill_n(out.index.begin() + y * kTileStride + leaf.x, leaf.size, leaf.index);
    if (badIndex)
        badEntry = "a leaf index lies past the entry count";
    if (badEntry) {
        ReportDamage(zoom, column, row, badEntry);
        return false;
    }
    return true;
}

int32_t CIdGrid::ProvinceAt(int32_t x, int32_t y, int32_t shift) {
    if (y < 1 || y >= kMapMaxY)
        return 0;
    shift = std::clamp(shift, 0, kZoomLevels - 1);
    const int32_t mask = (kTileSize << shift) - 1;
    if (cacheInvalid || m_cacheX != (x & ~mask) || m_cacheY != (y & ~mask) ||
        m_cacheZoom != shift) {
        m_cacheX = x & ~mask;
        m_cacheY = y & ~mask;
        m_cacheZoom = shift;
        cacheInvalid = 0;
        const int32_t wrapped = ((x % kMapWidth) + kMapWidth) % kMapWidth;
        DecodeTile(shift, wrapped >> shift >> 5, y >> shift >> 5, m_tile);
    }
    return m_tile.ProvinceAtPixel((x & mask) >> shift, (y & mask) >> shift);
}

int32_t CIdGrid::GetSlotProvince(int32_t x, int32_t y, int32_t slot) const {
    if (slot < 0 || slot >= kIdGridSlots)
        return 0;
    const int32_t wrapped = ((x % kMapWidth) + kMapWidth) % kMapWidth;
    const int32_t held = std::clamp(y, 0, kMapMaxY - 1);
    const int32_t block = wrapped / kIdGridBlockSize * kIdGridBlockRows + held / kIdGridBlockSize;
    return static_cast<int32_t>(ids[static_cast<size_t>(block * kIdGridSlots + slot)]);
}

CIncGrid::CIncGrid() : fog(kFogGridBytes, 127), records(kIncGridRecords) {}

bool CIncGrid::Load() {
    if (!FileExists(kIncGridFile))
        return true;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(kIncGridFile, bytes))
        return false;
    if (bytes.size() < static_cast<size_t>(kIncGridRecords) * kIncGridRecord)
        return Refuse(kIncGridFile, "shorter than 134976 records");
    for (size_t i = 0; i < records.size(); ++i) {
        const uint8_t* at = bytes.data() + i * kIncGridRecord;
        records[i] = {at[0], {at[1], at[2], at[3]}, {at[5], at[6], at[7]}};
    }
    return true;
}

void CIncGrid::ResetFog() {
    std::fill(fog.begin(), fog.end(), uint8_t{127});
}
