#pragma once
// The layout of the demo world's map, shared by every writer whose files
// must agree on where a province lies (the province table, the map tables,
// the straits). The map wraps east-west; the provinces are the cells of a
// grid of 64 columns by 23 rows, numbered row by row from 1 in the
// north-west corner. Three oceans (columns 62..1, 20..23 and 44..47) and the
// polar rows 0 and 22 are sea zones; the rest is land, three continents.
#include <cstdint>
#include <vector>

#include "tools/WorldMap.h"

namespace demo {

constexpr int32_t kGridColumns = 64;
constexpr int32_t kGridRows = 23;
constexpr int32_t kCellWidth = kMapWidth / kGridColumns; // 296
constexpr int32_t kCellHeight = 317;                     // the last row takes what is left

struct CellRect {
    int32_t left, top, right, bottom; // right and bottom inclusive
};

constexpr int32_t ColumnOf(int32_t id) {
    return (id - 1) % kGridColumns;
}
constexpr int32_t RowOf(int32_t id) {
    return (id - 1) / kGridColumns;
}
constexpr int32_t ProvinceOfCell(int32_t column, int32_t row) {
    return row * kGridColumns + column + 1;
}

constexpr CellRect CellOf(int32_t id) {
    const int32_t column = ColumnOf(id);
    const int32_t row = RowOf(id);
    const int32_t bottom = row == kGridRows - 1 ? kMapHeight - 1 : (row + 1) * kCellHeight - 1;
    return {column * kCellWidth, row * kCellHeight, (column + 1) * kCellWidth - 1, bottom};
}

// The province under a map point (x wraps; y is held to the map).
constexpr int32_t ProvinceAt(int32_t x, int32_t y) {
    x %= kMapWidth;
    if (x < 0)
        x += kMapWidth;
    y = y < 0 ? 0 : (y >= kMapHeight ? kMapHeight - 1 : y);
    int32_t row = y / kCellHeight;
    if (row >= kGridRows)
        row = kGridRows - 1;
    return ProvinceOfCell(x / kCellWidth, row);
}

constexpr bool IsSeaColumn(int32_t column) {
    return column >= 62 || column <= 1 || (column >= 20 && column <= 23) ||
           (column >= 44 && column <= 47);
}

constexpr bool IsSea(int32_t id) {
    const int32_t row = RowOf(id);
    return row == 0 || row == kGridRows - 1 || IsSeaColumn(ColumnOf(id));
}

// 0, 1 or 2 for land (west to east); -1 for the sea.
constexpr int32_t ContinentOf(int32_t id) {
    if (IsSea(id))
        return -1;
    const int32_t column = ColumnOf(id);
    return column < 20 ? 0 : (column < 44 ? 1 : 2);
}

// The cells that share an edge with the province's cell, east-west
// wrapping: west, east, north, south (those that exist).
inline std::vector<int32_t> GridNeighbours(int32_t id) {
    const int32_t column = ColumnOf(id);
    const int32_t row = RowOf(id);
    std::vector<int32_t> out;
    out.push_back(ProvinceOfCell((column + kGridColumns - 1) % kGridColumns, row));
    out.push_back(ProvinceOfCell((column + 1) % kGridColumns, row));
    if (row > 0)
        out.push_back(ProvinceOfCell(column, row - 1));
    if (row < kGridRows - 1)
        out.push_back(ProvinceOfCell(column, row + 1));
    return out;
}

} // namespace demo
