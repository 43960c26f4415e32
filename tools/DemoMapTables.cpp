// The map tables of the demo world, all drawn from the grid layout of
// DemoMapLayout.h: the bounding boxes, the neighbour lists, the province-id
// grid, the five zoom levels of quadtree-coded map tiles (with border
// entries where two provinces meet), the fog cell records and the colour
// scales. The grid has no province of kind 6, so every neighbour is a
// leading one and the lists keep the order of GridNeighbours.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/DemoMapLayout.h"
#include "tools/DemoWorld.h"

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

constexpr uint8_t kLightLand = 40;
constexpr uint8_t kLightSea = 30;
constexpr uint8_t kLightBorder = 22;

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

// The grid column of a map x (wrapped) and the grid row of a map y on the
// map (-1 off it).
int32_t ColumnAt(int32_t x) {
    return WrapX(x) / kCellWidth;
}
int32_t RowAt(int32_t y) {
    if (y < 0 || y >= kMapHeight)
        return -1;
    return std::min(y / kCellHeight, kGridRows - 1);
}

bool WriteBoundBoxes(const std::filesystem::path& game) {
    Bytes out;
    for (int32_t id = 0; id < kTableProvinces; ++id) {
        const CellRect cell = id == 0 ? CellRect{0, 0, 0, 0} : CellOf(id);
        PutI32(out, cell.left);
        PutI32(out, cell.top);
        PutI32(out, cell.right);
        PutI32(out, cell.bottom);
    }
    return WriteFile(game / "map" / "boundbox.tbl", out);
}

bool WriteAdjacency(const std::filesystem::path& game) {
    Bytes offsets;
    Bytes records;
    uint32_t count = 0;
    PutU32(offsets, 0); // province 0 has no neighbours
    for (int32_t id = 1; id < kTableProvinces; ++id) {
        PutU32(offsets, count);
        for (int32_t other : GridNeighbours(id)) {
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

// The provinces whose cells lie within the margin of each id-grid block, in
// id order after slot 0 (none).
std::vector<std::vector<int32_t>> BlockSlots() {
    std::vector<std::vector<int32_t>> blocks(kBlockColumns * kBlockRows);
    for (int32_t bx = 0; bx < kBlockColumns; ++bx)
        for (int32_t by = 0; by < kBlockRows; ++by) {
            std::vector<int32_t>& slots = blocks[static_cast<size_t>(bx * kBlockRows + by)];
            slots.push_back(0);
            const int32_t left = bx * kBlockSize - kBlockMargin;
            const int32_t right = (bx + 1) * kBlockSize + kBlockMargin;
            const int32_t top = by * kBlockSize - kBlockMargin;
            const int32_t bottom = (by + 1) * kBlockSize + kBlockMargin;
            for (int32_t id = 1; id <= kLastProvince; ++id) {
                const CellRect cell = CellOf(id);
                if (cell.bottom < top || cell.top >= bottom)
                    continue;
                bool near = false;
                for (int32_t shift : {-kMapWidth, 0, kMapWidth})
                    near = near || (cell.right + shift >= left && cell.left + shift < right);
                if (near)
                    slots.push_back(id);
            }
        }
    return blocks;
}

bool WriteIdGrid(const std::filesystem::path& game) {
    Bytes out;
    for (const std::vector<int32_t>& slots : BlockSlots()) {
        if (slots.size() > static_cast<size_t>(kSlots)) {
            std::fprintf(stderr, "idgrid.tbl: a block holds more than 256 provinces\n");
            return false;
        }
        for (int32_t slot = 0; slot < kSlots; ++slot)
            PutU32(out, slot < static_cast<int32_t>(slots.size())
                            ? static_cast<uint32_t>(slots[static_cast<size_t>(slot)])
                            : 0);
    }
    return WriteFile(game / "map" / "idgrid.tbl", out);
}

// Distance from a point to a province's cell, x taken the short way round.
int32_t DistanceToCell(int32_t x, int32_t y, int32_t id) {
    const CellRect cell = CellOf(id);
    int32_t best = INT32_MAX;
    for (int32_t shift : {-kMapWidth, 0, kMapWidth}) {
        const int32_t dx = std::max({cell.left + shift - x, 0, x - (cell.right + shift)});
        const int32_t dy = std::max({cell.top - y, 0, y - cell.bottom});
        best = std::min(best, std::max(dx, dy));
    }
    return best;
}

bool WriteIncGrid(const std::filesystem::path& game) {
    const std::vector<std::vector<int32_t>> blocks = BlockSlots();
    // The slot of each province in each block (0: not there) and the
    // neighbours of each province.
    std::vector<std::array<uint8_t, kTableProvinces>> slotOf(blocks.size());
    for (size_t block = 0; block < blocks.size(); ++block) {
        slotOf[block].fill(0);
        for (size_t slot = 1; slot < blocks[block].size(); ++slot)
            slotOf[block][static_cast<size_t>(blocks[block][slot])] = static_cast<uint8_t>(slot);
    }
    std::vector<std::vector<int32_t>> neighbours(kTableProvinces);
    for (int32_t id = 1; id < kTableProvinces; ++id)
        neighbours[static_cast<size_t>(id)] = GridNeighbours(id);
    Bytes out;
    out.reserve(static_cast<size_t>(kTileColumns) * kTileRows * 8);
    for (int32_t row = 0; row < kTileRows; ++row)
        for (int32_t column = 0; column < kTileColumns; ++column) {
            const int32_t x = column * kTile;
            const int32_t y = row * kTile;
            const auto& slots =
                slotOf[static_cast<size_t>(x / kBlockSize * kBlockRows + y / kBlockSize)];
            const int32_t main = ProvinceAt(x + kTile / 2, y + kTile / 2);
            std::array<std::pair<int32_t, int32_t>, 4> near{}; // distance, slot
            size_t count = 0;
            for (int32_t other : neighbours[static_cast<size_t>(main)]) {
                const int32_t distance = DistanceToCell(x + kTile / 2, y + kTile / 2, other);
                const int32_t slot = slots[static_cast<size_t>(other)];
                if (distance < kNearDistance && slot > 0)
                    near[count++] = {distance, slot};
            }
            std::sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(count));
            count = std::min<size_t>(count, 3);
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

// One tile being coded: the entry index of each pixel, the entries and
// their light values.
struct TileCoder {
    std::array<std::array<uint8_t, kTile>, kTile> index{};
    std::vector<uint16_t> entries;
    std::vector<uint8_t> light;
    std::vector<std::pair<uint8_t, uint8_t>> leaves; // entry index, light per leaf
    // Per square side 1, 2, 4 .. 32: the entry index shared by the square at
    // (x, y) of that grid, or -1 when it is mixed.
    std::array<std::vector<int16_t>, 6> uniform;

    void FindUniform() {
        uniform[0].resize(kTile * kTile);
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x)
                uniform[0][static_cast<size_t>(y * kTile + x)] =
                    index[static_cast<size_t>(y)][static_cast<size_t>(x)];
        for (size_t level = 1; level < uniform.size(); ++level) {
            const int side = kTile >> level;
            const int below = side * 2;
            const std::vector<int16_t>& from = uniform[level - 1];
            std::vector<int16_t>& to = uniform[level];
            to.resize(static_cast<size_t>(side * side));
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const int16_t a = from[static_cast<size_t>(2 * y * below + 2 * x)];
                    const int16_t b = from[static_cast<size_t>(2 * y * below + 2 * x + 1)];
                    const int16_t c = from[static_cast<size_t>((2 * y + 1) * below + 2 * x)];
                    const int16_t d = from[static_cast<size_t>((2 * y + 1) * below + 2 * x + 1)];
                    to[static_cast<size_t>(y * side + x)] =
                        a >= 0 && a == b && a == c && a == d ? a : int16_t{-1};
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
        const uint8_t entry = index[static_cast<size_t>(y)][static_cast<size_t>(x)];
        leaves.emplace_back(entry, light[entry]);
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
    // on the index buffer and the entries' light, so tiles of the same shape
    // share them.
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

    // The entry of a value, added (with its light) when new.
    uint8_t EntryOf(uint16_t value, uint8_t valueLight) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == value)
                return static_cast<uint8_t>(i);
        entries.push_back(value);
        light.push_back(valueLight);
        return static_cast<uint8_t>(entries.size() - 1);
    }
};

uint8_t LightOf(int32_t id) {
    return id == 0 || IsSea(id) ? kLightSea : kLightLand;
}

// Codes tile (column, row) of the zoom level. A pixel whose right or lower
// neighbour lies in another province gets a border entry of its own
// province toward that neighbour (east: neighbour number 1, south: the
// last).
void CodeTile(int32_t zoom, int32_t column, int32_t row, Bytes& out,
              std::unordered_map<std::string, Bytes>& bodies) {
    const int32_t step = 1 << zoom;
    const int32_t x0 = column * kTile * step;
    const int32_t y0 = row * kTile * step;
    // The grid column and row of each pixel and of one more on the right
    // and below (-1: off the map).
    std::array<int32_t, kTile + 1> columns{};
    std::array<int32_t, kTile + 1> rows{};
    for (int32_t i = 0; i <= kTile; ++i) {
        columns[static_cast<size_t>(i)] = ColumnAt(x0 + i * step);
        rows[static_cast<size_t>(i)] = RowAt(y0 + i * step);
    }
    TileCoder coder;
    // Plain entries first, so that border entries name earlier ones. A row
    // of pixels depends only on its grid row and whether the one below
    // differs, so equal rows are copied.
    for (int32_t py = 0; py < kTile; ++py) {
        const int32_t gridRow = rows[static_cast<size_t>(py)];
        auto& line = coder.index[static_cast<size_t>(py)];
        if (py > 0 && gridRow == rows[static_cast<size_t>(py - 1)]) {
            line = coder.index[static_cast<size_t>(py - 1)];
            continue;
        }
        for (int32_t px = 0; px < kTile; ++px) {
            if (px > 0 &&
                columns[static_cast<size_t>(px)] == columns[static_cast<size_t>(px - 1)]) {
                line[static_cast<size_t>(px)] = line[static_cast<size_t>(px - 1)];
                continue;
            }
            const int32_t id =
                gridRow < 0 ? 0 : ProvinceOfCell(columns[static_cast<size_t>(px)], gridRow);
            line[static_cast<size_t>(px)] = coder.EntryOf(static_cast<uint16_t>(id), LightOf(id));
        }
    }
    const size_t plainCount = coder.entries.size();
    for (int32_t py = 0; py < kTile; ++py) {
        const int32_t gridRow = rows[static_cast<size_t>(py)];
        if (gridRow < 0)
            continue;
        const int32_t rowBelow = rows[static_cast<size_t>(py + 1)];
        const bool southBorder = rowBelow >= 0 && rowBelow != gridRow;
        auto& line = coder.index[static_cast<size_t>(py)];
        if (py > 0 && !southBorder && gridRow == rows[static_cast<size_t>(py - 1)] &&
            rows[static_cast<size_t>(py)] == rows[static_cast<size_t>(py + 1)]) {
            // Same grid row as the line above, which had no south border
            // either (else its row below would differ): the same entries.
            line = coder.index[static_cast<size_t>(py - 1)];
            continue;
        }
        const int32_t south = gridRow > 0 ? 3 : 2;
        for (int32_t px = 0; px < kTile; ++px) {
            uint8_t& entry = line[static_cast<size_t>(px)];
            int32_t number = -1;
            if (columns[static_cast<size_t>(px + 1)] != columns[static_cast<size_t>(px)])
                number = 1;
            else if (southBorder)
                number = south;
            if (number < 0 || entry >= 60 || entry >= plainCount)
                continue;
            const uint16_t value = static_cast<uint16_t>((entry + 4) << 9 | 15 << 5 | number << 1);
            entry = coder.EntryOf(value, kLightBorder);
        }
    }
    coder.EncodeEntries(out);
    std::string shape(reinterpret_cast<const char*>(coder.index.data()), sizeof coder.index);
    shape.append(coder.light.begin(), coder.light.end());
    auto found = bodies.find(shape);
    if (found == bodies.end()) {
        Bytes body;
        coder.EncodeBody(body);
        found = bodies.emplace(std::move(shape), std::move(body)).first;
    }
    out.insert(out.end(), found->second.begin(), found->second.end());
}

bool WriteLightmaps(const std::filesystem::path& game) {
    for (int32_t zoom = 0; zoom < 5; ++zoom) {
        const int32_t step = 1 << zoom;
        const int32_t columns = kTileColumns >> zoom;
        const int32_t rows = (kTileRows + step - 1) >> zoom;
        Bytes grid;
        Bytes data;
        std::map<int32_t, uint32_t> uniform; // the one record of each whole-province tile
        std::unordered_map<std::string, Bytes> bodies;
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t column = 0; column < columns; ++column) {
                const int32_t x0 = column * kTile * step;
                const int32_t y0 = row * kTile * step;
                const int32_t far = kTile * step;
                // A tile inside one cell, with its right and lower neighbours,
                // is one plain leaf.
                int32_t whole = -1;
                if (y0 + far < kMapHeight && x0 + far < kMapWidth &&
                    ProvinceAt(x0, y0) == ProvinceAt(x0 + far, y0 + far))
                    whole = ProvinceAt(x0, y0);
                uint32_t offset = static_cast<uint32_t>(data.size());
                if (whole >= 0 && uniform.count(whole)) {
                    offset = uniform[whole];
                } else {
                    if (whole >= 0)
                        uniform.emplace(whole, offset);
                    CodeTile(zoom, column, row, data, bodies);
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
