#pragma once
// PNG pictures of 8-bit RGB, written and read with zlib: enough for the map
// viewer's pictures and the tests that compare them. The writer uses no
// row filters; the reader takes every filter type, but only 8-bit RGB
// without interlacing.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace viewer {

struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb; // row by row, 3 bytes a pixel

    RgbPicture() = default;
    RgbPicture(int32_t w, int32_t h)
        : width(w), height(h), rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, 0) {}
    uint8_t* At(int32_t x, int32_t y) {
        return rgb.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3;
    }
};

// The picture as a PNG file; false (with a reason) when it cannot be written.
bool WritePng(const std::filesystem::path& path, const RgbPicture& picture, std::string& error);

// A PNG file of 8-bit RGB; false (with a reason) for a missing, damaged or
// other kind of PNG.
bool ReadPng(const std::filesystem::path& path, RgbPicture& picture, std::string& error);

} // namespace viewer
