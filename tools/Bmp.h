#pragma once
// BMP files for the demo world: 8-bit pictures with a colour table and
// 24-bit pictures, rows given top first, written bottom-up and padded to 4
// bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace demo {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

using ColourTable = std::array<Rgb, 256>;

// indices: width x height, row by row from the top.
std::vector<uint8_t> MakeBmp8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                              const ColourTable& colours);
// pixels: width x height, row by row from the top.
std::vector<uint8_t> MakeBmp24(int32_t width, int32_t height, const std::vector<Rgb>& pixels);

// A palette file ".act": 256 red, green, blue triples.
std::vector<uint8_t> MakeAct(const ColourTable& colours);

} // namespace demo
