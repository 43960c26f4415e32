// The map tables of the demo world, drawn from the generated map of
// tools/WorldMap.h: the bounding boxes, the neighbour lists, the province-id
// grid, the five zoom levels of quadtree-coded map tiles (with border
// entries where two provinces meet and relief light from the height field),
// the fog cell records and the colour scales.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/DemoWorld.h"
#include "tools/WorldMap.h"

namespace demo {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kTableProvinces = kLastProvince + 1; // ids 0..1472
constexpr int32_t kTile = 32;
constexpr int32_t kTileColumns = 592;
constexpr int32_t kTileRows = 228;
constexpr int32_t kBlockSize = 2048;
constexpr int32_t kBlockRows = 4;
constexpr int32_t kBlockColumns = 10;
constexpr int32_t kSlots = 256;
// A block's slots name every province within this margin of it, so that the
// fog cells find their nearby provinces.
constexpr int32_t kBlockMargin = 128;
// Nearby provinces of a fog cell lie within this distance of its centre.
constexpr int32_t kNearDistance = 64;
constexpr int32_t kCellSize = WorldMap::kCellSize;

// Light values (0..63; 40 draws a colour as it is, lower is darker).
constexpr uint8_t kLightLand = 40;
constexpr uint8_t kLightSea = 31;
constexpr uint8_t kLightBorder = 22;
// Relief light is kept on a grid of 8 x 8 map pixels.
constexpr int32_t kLightStep = 8;
constexpr int32_t kLightColumns = kMapWidth / kLightStep;
constexpr int32_t kLightRows = kMapHeight / kLightStep;

void PutU32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutI32(Bytes& out, int32_t value) {
    PutU32(out, static_cast<uint32_t>(value));
}

int32_t WrapX(int32_t x) {
    x %= kMapWidth;
    return x < 0 ? x + kMapWidth : x;
}

bool WriteBoundBoxes(const std::filesystem::path& game) {
    const WorldMap& map = TheWorldMap();
    Bytes out;
    for (int32_t id = 0; id < kTableProvinces; ++id) {
        const MapRect box = id == 0 ? MapRect{} : map.Province(id).box;
        PutI32(out, box.left);
        PutI32(out, box.top);
        PutI32(out, box.right);
        PutI32(out, box.bottom);
    }
    return WriteFile(game / "map" / "boundbox.tbl", out);
}

bool WriteAdjacency(const std::filesystem::path& game) {
    const WorldMap& map = TheWorldMap();
    Bytes offsets;
    Bytes records;
    uint32_t count = 0;
    PutU32(offsets, 0); // province 0 has no neighbours
    for (int32_t id = 1; id < kTableProvinces; ++id) {
        PutU32(offsets, count);
        for (int32_t other : map.Province(id).neighbours) {
            PutU32(records, static_cast<uint32_t>(other));
            PutU32(records, 0); // no crossing
            PutU32(records, 0);
            ++count;
        }
    }
    PutU32(offsets, count);
    offsets.insert(offsets.end(), records.begin(), records.end());
    return WriteFile(game / "map" / "adjacent.tbl", offsets);
}

// The provinces with a pixel within the margin of each id-grid block, in id
// order after slot 0 (none).
const std::vector<std::vector<int32_t>>& BlockSlots() {
    static const std::vector<std::vector<int32_t>> blocks = [] {
        const WorldMap& map = TheWorldMap();
        std::vector<std::vector<int32_t>> out(kBlockColumns * kBlockRows);
        for (int32_t bx = 0; bx < kBlockColumns; ++bx)
            for (int32_t by = 0; by < kBlockRows; ++by) {
                std::vector<uint8_t> present(kTableProvinces, 0);
                const int32_t top = std::max(0, by * kBlockSize - kBlockMargin);
                const int32_t bottom = std::min(kMapHeight, (by + 1) * kBlockSize + kBlockMargin);
                for (int32_t y = top; y < bottom; y += kCellSize)
                    for (int32_t x = bx * kBlockSize - kBlockMargin;
                         x < (bx + 1) * kBlockSize + kBlockMargin; x += kCellSize)
                        present[static_cast<size_t>(map.ProvinceAt(x, y))] = 1;
                std::vector<int32_t>& slots = out[static_cast<size_t>(bx * kBlockRows + by)];
                slots.push_back(0);
                for (int32_t id = 1; id < kTableProvinces; ++id)
                    if (present[static_cast<size_t>(id)])
                        slots.push_back(id);
            }
        return out;
    }();
    return blocks;
}

bool WriteIdGrid(const std::filesystem::path& game) {
    Bytes out;
    for (const std::vector<int32_t>& slots : BlockSlots()) {
        if (slots.size() > static_cast<size_t>(kSlots)) {
            std::fprintf(stderr, "idgrid.tbl: a block holds %zu provinces, more than 255\n",
                         slots.size() - 1);
            return false;
        }
        for (int32_t slot = 0; slot < kSlots; ++slot)
            PutU32(out, slot < static_cast<int32_t>(slots.size())
                            ? static_cast<uint32_t>(slots[static_cast<size_t>(slot)])
                            : 0);
    }
    return WriteFile(game / "map" / "idgrid.tbl", out);
}

// Each fog cell names the province at its centre and up to three others
// within reach of it, nearest first, with a weight that grows with the
// distance.
bool WriteIncGrid(const std::filesystem::path& game) {
    const WorldMap& map = TheWorldMap();
    const std::vector<std::vector<int32_t>>& blocks = BlockSlots();
    std::vector<std::array<uint8_t, kTableProvinces>> slotOf(blocks.size());
    for (size_t block = 0; block < blocks.size(); ++block) {
        slotOf[block].fill(0);
        for (size_t slot = 1; slot < blocks[block].size(); ++slot)
            slotOf[block][static_cast<size_t>(blocks[block][slot])] = static_cast<uint8_t>(slot);
    }
    Bytes out;
    out.reserve(static_cast<size_t>(kTileColumns) * kTileRows * 8);
    std::vector<int32_t> nearest(kTableProvinces, INT32_MAX);
    std::vector<int32_t> seen;
    std::vector<std::pair<int32_t, int32_t>> near; // distance, slot
    for (int32_t row = 0; row < kTileRows; ++row)
        for (int32_t column = 0; column < kTileColumns; ++column) {
            const int32_t x = column * kTile;
            const int32_t y = row * kTile;
            const auto& slots =
                slotOf[static_cast<size_t>(x / kBlockSize * kBlockRows + y / kBlockSize)];
            const int32_t cx = x + kTile / 2;
            const int32_t cy = std::min(y + kTile / 2, kMapHeight - 1);
            const int32_t main = map.ProvinceAt(cx, cy);
            seen.clear();
            // Deep inside a province nothing else is within reach.
            const bool deep = map.DepthAt(cx, cy) > 2 * kNearDistance + kCellSize;
            for (int32_t dy = deep ? kNearDistance + 1 : -kNearDistance; dy <= kNearDistance;
                 dy += kCellSize)
                for (int32_t dx = -kNearDistance; dx <= kNearDistance; dx += kCellSize) {
                    const int32_t py = cy + dy;
                    if (py < 0 || py >= kMapHeight)
                        continue;
                    const int32_t other = map.ProvinceAt(cx + dx, py);
                    if (other == main)
                        continue;
                    const int32_t distance = std::max(std::abs(dx), std::abs(dy));
                    if (nearest[static_cast<size_t>(other)] == INT32_MAX)
                        seen.push_back(other);
                    nearest[static_cast<size_t>(other)] =
                        std::min(nearest[static_cast<size_t>(other)], distance);
                }
            near.clear();
            for (int32_t other : seen) {
                const int32_t slot = slots[static_cast<size_t>(other)];
                if (slot > 0)
                    near.emplace_back(nearest[static_cast<size_t>(other)], slot);
                nearest[static_cast<size_t>(other)] = INT32_MAX;
            }
            std::sort(near.begin(), near.end());
            const size_t count = std::min<size_t>(near.size(), 3);
            out.push_back(slots[static_cast<size_t>(main)]);
            for (size_t k = 0; k < 3; ++k)
                out.push_back(k < count ? static_cast<uint8_t>(near[k].second) : 0);
            out.push_back(0);
            for (size_t k = 0; k < 3; ++k)
                out.push_back(k < count ? static_cast<uint8_t>(std::min(near[k].first * 4, 255))
                                        : 0);
        }
    return WriteFile(game / "map" / "incgrid.tbl", out);
}

// Bits written least significant first.
struct BitWriter {
    Bytes& out;
    int used = 8;

    void Bit(int bit) {
        if (used == 8) {
            out.push_back(0);
            used = 0;
        }
        if (bit)
            out.back() = static_cast<uint8_t>(out.back() | 1 << used);
        ++used;
    }
};

// One tile being coded: the entry index and light of each pixel, and the
// entries.
struct TileCoder {
    std::array<std::array<uint8_t, kTile>, kTile> index; // every pixel is written
    std::array<std::array<uint8_t, kTile>, kTile> light;
    std::vector<uint16_t> entries;
    std::vector<std::pair<uint8_t, uint8_t>> leaves; // entry index, light per leaf
    // Per square side 1, 2, 4 .. 32: the (entry, light) pair shared by the
    // square at (x, y) of that grid, or -1 when it is mixed.
    std::array<std::vector<int32_t>, 6> uniform;

    void FindUniform() {
        uniform[0].resize(kTile * kTile);
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x)
                uniform[0][static_cast<size_t>(y * kTile + x)] =
                    index[static_cast<size_t>(y)][static_cast<size_t>(x)] << 8 |
                    light[static_cast<size_t>(y)][static_cast<size_t>(x)];
        for (size_t level = 1; level < uniform.size(); ++level) {
            const int side = kTile >> level;
            const int below = side * 2;
            const std::vector<int32_t>& from = uniform[level - 1];
            std::vector<int32_t>& to = uniform[level];
            to.resize(static_cast<size_t>(side * side));
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const int32_t a = from[static_cast<size_t>(2 * y * below + 2 * x)];
                    const int32_t b = from[static_cast<size_t>(2 * y * below + 2 * x + 1)];
                    const int32_t c = from[static_cast<size_t>((2 * y + 1) * below + 2 * x)];
                    const int32_t d = from[static_cast<size_t>((2 * y + 1) * below + 2 * x + 1)];
                    to[static_cast<size_t>(y * side + x)] =
                        a >= 0 && a == b && a == c && a == d ? a : -1;
                }
        }
    }

    // Children bottom-right, bottom-left, top-right, top-left.
    void Tree(BitWriter& bits, int x, int y, int size, size_t level) {
        if (size > 1) {
            const int side = kTile >> level;
            const bool split = uniform[level][static_cast<size_t>(y / size * side + x / size)] < 0;
            bits.Bit(split);
            if (split) {
                const int half = size / 2;
                Tree(bits, x + half, y + half, half, level - 1);
                Tree(bits, x, y + half, half, level - 1);
                Tree(bits, x + half, y, half, level - 1);
                Tree(bits, x, y, half, level - 1);
                return;
            }
        }
        leaves.emplace_back(index[static_cast<size_t>(y)][static_cast<size_t>(x)],
                            light[static_cast<size_t>(y)][static_cast<size_t>(x)]);
    }

    void EncodeEntries(Bytes& out) const {
        for (size_t i = 0; i < entries.size(); ++i) {
            const uint16_t value =
                static_cast<uint16_t>(entries[i] | (i + 1 == entries.size() ? 0x8000 : 0));
            out.push_back(static_cast<uint8_t>(value));
            out.push_back(static_cast<uint8_t>(value >> 8));
        }
    }

    // The quadtree, the entry indices and the light values: they depend only
    // on the index and light buffers, so tiles of the same shape share them.
    void EncodeBody(Bytes& out) {
        leaves.clear();
        FindUniform();
        BitWriter tree{out};
        Tree(tree, 0, 0, kTile, uniform.size() - 1);
        const size_t n = entries.size();
        const int width = n <= 1 ? 0 : n == 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
        if (width > 0) {
            BitWriter indices{out};
            for (const auto& leaf : leaves)
                for (int b = 0; b < width; ++b)
                    indices.Bit(leaf.first >> b & 1);
        }
        BitWriter lights{out};
        for (const auto& leaf : leaves)
            for (int b = 0; b < 6; ++b)
                lights.Bit(leaf.second >> b & 1);
    }

    // The entry of a value, added when new.
    uint8_t EntryOf(uint16_t value) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == value)
                return static_cast<uint8_t>(i);
        entries.push_back(value);
        return static_cast<uint8_t>(entries.size() - 1);
    }
};

// Relief light on the 8-pixel grid: land lit from the north-west by the
// slope of the height field, the sea a little darker far from the coast.
const std::vector<uint8_t>& LightGrid() {
    static const std::vector<uint8_t> grid = [] {
        const WorldMap& map = TheWorldMap();
        std::vector<uint8_t> out(static_cast<size_t>(kLightColumns) * kLightRows);
        for (int32_t row = 0; row < kLightRows; ++row)
            for (int32_t column = 0; column < kLightColumns; ++column) {
                const int32_t x = column * kLightStep + kLightStep / 2;
                const int32_t y = row * kLightStep + kLightStep / 2;
                const WorldProvince& p = map.Province(map.ProvinceAt(x, y));
                int32_t light = kLightSea;
                if (p.IsLand()) {
                    const int32_t slope =
                        map.HeightAt(x - 24, y - 24) - map.HeightAt(x + 24, y + 24);
                    light = kLightLand + std::clamp(slope / 4, -12, 12);
                    // Keep the light in even steps so that flat land codes
                    // as large squares.
                    light &= ~1;
                }
                out[static_cast<size_t>(row) * kLightColumns + static_cast<size_t>(column)] =
                    static_cast<uint8_t>(light);
            }
        return out;
    }();
    return grid;
}

uint8_t LightAt(int32_t x, int32_t y) {
    const int32_t column = WrapX(x) / kLightStep;
    const int32_t row = std::clamp(y / kLightStep, 0, kLightRows - 1);
    return LightGrid()[static_cast<size_t>(row) * kLightColumns + static_cast<size_t>(column)];
}

// The neighbour number of `other` in `id`'s neighbour list (15: none).
int32_t NeighbourNumber(const WorldMap& map, int32_t id, int32_t other) {
    const std::vector<int32_t>& list = map.Province(id).neighbours;
    for (size_t i = 0; i < list.size() && i < 15; ++i)
        if (list[i] == other)
            return static_cast<int32_t>(i);
    return 15;
}

// Codes tile (column, row) of the zoom level into `out`. A pixel whose right
// or lower neighbour lies in another province gets a border entry of its
// own province toward that neighbour, drawn dark.
void CodeTile(const WorldMap& map, int32_t zoom, int32_t column, int32_t row, TileCoder& coder,
              Bytes& out, std::unordered_map<std::string, Bytes>& bodies) {
    const int32_t step = 1 << zoom;
    const int32_t x0 = column * kTile * step;
    const int32_t y0 = row * kTile * step;
    std::array<std::array<int32_t, kTile + 1>, kTile + 1> ids; // every entry is written
    for (int32_t py = 0; py <= kTile; ++py)
        for (int32_t px = 0; px <= kTile; ++px) {
            const int32_t y = y0 + py * step;
            ids[static_cast<size_t>(py)][static_cast<size_t>(px)] =
                y < kMapHeight ? map.ProvinceAt(x0 + px * step, y) : -1;
        }
    coder.entries.clear();
    // Plain entries first, so that border entries name earlier ones.
    for (int32_t py = 0; py < kTile; ++py)
        for (int32_t px = 0; px < kTile; ++px) {
            const int32_t id = ids[static_cast<size_t>(py)][static_cast<size_t>(px)];
            coder.index[static_cast<size_t>(py)][static_cast<size_t>(px)] =
                coder.EntryOf(static_cast<uint16_t>(std::max(id, 0)));
            coder.light[static_cast<size_t>(py)][static_cast<size_t>(px)] =
                id < 0 ? kLightSea : LightAt(x0 + px * step, y0 + py * step);
        }
    const size_t plainCount = coder.entries.size();
    for (int32_t py = 0; py < kTile; ++py)
        for (int32_t px = 0; px < kTile; ++px) {
            const int32_t id = ids[static_cast<size_t>(py)][static_cast<size_t>(px)];
            if (id <= 0)
                continue;
            int32_t other = ids[static_cast<size_t>(py)][static_cast<size_t>(px + 1)];
            if (other == id || other < 0)
                other = ids[static_cast<size_t>(py + 1)][static_cast<size_t>(px)];
            if (other == id || other < 0)
                continue;
            uint8_t& entry = coder.index[static_cast<size_t>(py)][static_cast<size_t>(px)];
            if (entry >= 60 || entry >= plainCount)
                continue;
            const int32_t number = NeighbourNumber(map, id, other);
            if (number >= 15)
                continue;
            const uint16_t value = static_cast<uint16_t>((entry + 4) << 9 | 15 << 5 | number << 1);
            entry = coder.EntryOf(value);
            coder.light[static_cast<size_t>(py)][static_cast<size_t>(px)] = kLightBorder;
        }
    coder.EncodeEntries(out);
    std::string shape(reinterpret_cast<const char*>(coder.index.data()), sizeof coder.index);
    shape.append(reinterpret_cast<const char*>(coder.light.data()), sizeof coder.light);
    shape.push_back(static_cast<char>(coder.entries.size()));
    auto found = bodies.find(shape);
    if (found == bodies.end()) {
        Bytes body;
        coder.EncodeBody(body);
        found = bodies.emplace(std::move(shape), std::move(body)).first;
    }
    out.insert(out.end(), found->second.begin(), found->second.end());
}

// Whether the tile (with its right column and lower row) lies inside one
// province with one light; answers the province, or -1.
int32_t WholeTile(const WorldMap& map, int32_t zoom, int32_t column, int32_t row, uint8_t& light) {
    const int32_t step = 1 << zoom;
    const int32_t x0 = column * kTile * step;
    const int32_t y0 = row * kTile * step;
    const int32_t far = kTile * step;
    if (y0 + far >= kMapHeight)
        return -1;
    const int32_t id = map.ProvinceAt(x0, y0);
    light = LightAt(x0, y0);
    // Sample on the raster's own grid: cells, not pixels, carry the ids.
    const int32_t sample = std::max(step, kCellSize);
    for (int32_t y = y0; y <= y0 + far; y += sample)
        for (int32_t x = x0; x <= x0 + far; x += sample)
            if (map.ProvinceAt(x, y) != id)
                return -1;
    const int32_t lightSample = std::max(step, kLightStep);
    for (int32_t y = y0; y < y0 + far; y += lightSample)
        for (int32_t x = x0; x < x0 + far; x += lightSample)
            if (LightAt(x, y) != light)
                return -1;
    return id;
}

bool WriteLightmaps(const std::filesystem::path& game) {
    const WorldMap& map = TheWorldMap();
    for (int32_t zoom = 0; zoom < 5; ++zoom) {
        const int32_t step = 1 << zoom;
        const int32_t columns = kTileColumns >> zoom;
        const int32_t rows = (kTileRows + step - 1) >> zoom;
        Bytes grid;
        Bytes data;
        std::map<std::pair<int32_t, uint8_t>, uint32_t>
            uniform; // one record per province and light
        std::unordered_map<std::string, Bytes> bodies;
        TileCoder coder;
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t column = 0; column < columns; ++column) {
                uint8_t light = 0;
                const int32_t whole = WholeTile(map, zoom, column, row, light);
                uint32_t offset = static_cast<uint32_t>(data.size());
                if (whole >= 0) {
                    auto [found, added] = uniform.emplace(std::make_pair(whole, light), offset);
                    if (added) {
                        const uint16_t entry = static_cast<uint16_t>(whole | 0x8000);
                        data.push_back(static_cast<uint8_t>(entry));
                        data.push_back(static_cast<uint8_t>(entry >> 8));
                        data.push_back(0); // the root is a leaf
                        data.push_back(light);
                    }
                    offset = found->second;
                } else {
                    CodeTile(map, zoom, column, row, coder, data, bodies);
                }
                if (offset >= 1u << 24) {
                    std::fprintf(stderr, "lightmap%d.tbl: the tile data exceed 16 MB\n", zoom + 1);
                    return false;
                }
                grid.push_back(static_cast<uint8_t>(offset));
                grid.push_back(static_cast<uint8_t>(offset >> 8));
                grid.push_back(static_cast<uint8_t>(offset >> 16));
            }
        PutU32(grid, static_cast<uint32_t>(data.size()));
        grid.insert(grid.end(), data.begin(), data.end());
        if (!WriteFile(game / "map" / ("lightmap" + std::to_string(zoom + 1) + ".tbl"), grid))
            return false;
    }
    return true;
}

// The 26 colour scales: a base colour each, drawn from light to dark.
bool WriteColourScales(const std::filesystem::path& game) {
    static constexpr std::array<std::array<int, 3>, 26> kBase = {{
        {150, 150, 150}, {90, 170, 80},  {215, 200, 150}, {200, 150, 60},  {170, 110, 170},
        {110, 160, 200}, {180, 170, 90}, {200, 180, 90},  {220, 220, 220}, {120, 90, 60},
        {100, 140, 110}, {60, 150, 220}, {230, 200, 60},  {200, 120, 110}, {235, 240, 250},
        {170, 130, 100}, {210, 70, 60},  {240, 170, 60},  {150, 140, 130}, {100, 80, 160},
        {90, 120, 90},   {130, 30, 40},  {140, 130, 120}, {70, 110, 170},  {120, 160, 160},
        {160, 120, 140},
    }};
    static constexpr std::array<double, 4> kFactor = {1.15, 0.95, 0.75, 0.5};
    static constexpr std::array<int, 4> kPosition = {0, 21, 42, 63};
    std::string text;
    for (size_t s = 0; s < kBase.size(); ++s) {
        text += "scale " + std::to_string(s) + ";;;\n";
        text += "red;green;blue;position\n";
        for (size_t k = 0; k < 4; ++k) {
            for (int c = 0; c < 3; ++c)
                text +=
                    std::to_string(std::min(255, static_cast<int>(kBase[s][c] * kFactor[k]))) + ";";
            text += std::to_string(kPosition[k]) + "\n";
        }
    }
    return WriteFile(game / "map" / "colorscales.csv", text);
}

const DemoWriter kBoundBoxWriter("map/boundbox.tbl", &WriteBoundBoxes);
const DemoWriter kAdjacencyWriter("map/adjacent.tbl", &WriteAdjacency);
const DemoWriter kIdGridWriter("map/idgrid.tbl", &WriteIdGrid);
const DemoWriter kLightmapWriter("map/lightmap", &WriteLightmaps);
const DemoWriter kIncGridWriter("map/incgrid.tbl", &WriteIncGrid);
const DemoWriter kColourScaleWriter("map/colorscales.csv", &WriteColourScales);

} // namespace
} // namespace demo
