#pragma once
// Helpers of the picture tests: BMP files built byte by byte, small images
// filled from arrays, the pixel format for the span of a test, and golden
// pictures.
//
// Golden pictures live in tests/engine/golden/<file>.txt: per picture a line
// "[label] <width>x<height>" and its rows of 4-digit hex pixels. Run the tests
// with ORVANDEL_UPDATE_GOLDENS=1 to write the files anew from the pictures
// drawn now (then review the difference before checking it in).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Image.h"
#include "engine/Palette.h"
#include "engine/Pixel.h"

namespace imagetest {

inline void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
inline void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The parts of a BMP file; the pixel data is given as the file holds it.
struct BmpSpec {
    BmpSpec(int32_t w, int32_t h, uint16_t depth, std::string pixels = {}, std::string colours = {})
        : width(w), height(h), bits(depth), colourTable(std::move(colours)),
          pixelData(std::move(pixels)) {}

    int32_t width;
    int32_t height;
    uint16_t bits;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    uint32_t coloursUsed = 0;
    std::string colourTable; // 4 bytes a colour: blue, green, red, unused
    std::string gap;         // bytes between the colour table and the pixels
    std::string pixelData;
    int64_t pixelOffset = -1; // -1: where the pixel data starts
};

inline std::string MakeBmp(const BmpSpec& layout) {
    uint32_t offset =
        static_cast<uint32_t>(14 + layout.infoSize + layout.colourTable.size() + layout.gap.size());
    std::string out = "BM";
    Put32(out, static_cast<uint32_t>(offset + layout.pixelData.size()));
    Put32(out, 0);
    Put32(out, layout.pixelOffset < 0 ? offset : static_cast<uint32_t>(layout.pixelOffset));
    Put32(out, layout.infoSize);
    Put32(out, static_cast<uint32_t>(layout.width));
    Put32(out, static_cast<uint32_t>(layout.height));
    Put16(out, 1);
    Put16(out, layout.bits);
    Put32(out, layout.compression);
    Put32(out, static_cast<uint32_t>(layout.pixelData.size()));
    Put32(out, 2834);
    Put32(out, 2834);
    Put32(out, layout.coloursUsed);
    Put32(out, 0);
    out.resize(14 + layout.infoSize, '\0');
    return out + layout.colourTable + layout.gap + layout.pixelData;
}

// File rows from image rows (top row first): written bottom-up, each padded
// to 4 bytes.
inline std::string FileRows(const std::vector<std::string>& topDownRows) {
    std::string out;
    for (auto row = topDownRows.rbegin(); row != topDownRows.rend(); ++row) {
        out += *row;
        out.resize((out.size() + 3) / 4 * 4, '\0');
    }
    return out;
}

inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// A 24-bit picture of the frames side by side, each frameWidth x height;
// every pixel of frame f is red step x (f + 1), green 20, blue 10.
inline std::string FrameStripBmp(int32_t frames, int32_t frameWidth, int32_t height, int step) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < height; ++y) {
        std::string row;
        for (int32_t f = 0; f < frames; ++f)
            for (int32_t x = 0; x < frameWidth; ++x)
                row += Bytes({10, 20, step * (f + 1)});
        rows.push_back(row);
    }
    return MakeBmp(BmpSpec(frames * frameWidth, height, 24, FileRows(rows)));
}

// Sets the pixel format for the test's span and rebuilds the palettes.
class FormatScope {
public:
    explicit FormatScope(int32_t format) { Set(format); }
    ~FormatScope() { Set(kPixelFormat565); }
    FormatScope(const FormatScope&) = delete;
    FormatScope& operator=(const FormatScope&) = delete;

private:
    static void Set(int32_t format) {
        SetPixelFormat(format);
        RebuildPalettePixels();
    }
};

inline const char* FormatName(int32_t format) {
    return format == kPixelFormat565 ? "565" : "555";
}

// A memory image (kind 1) holding the values, row by row.
inline std::unique_ptr<CImage> Image8(int32_t width, int32_t height,
                                      const std::vector<uint8_t>& indices) {
    auto image = std::make_unique<CImage>(width, height, 8, kImageMemory);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            image->pixels[y * image->pitch + x] = indices.at(static_cast<size_t>(y * width + x));
    return image;
}

inline std::unique_ptr<CImage> Image16(int32_t width, int32_t height,
                                       const std::vector<uint16_t>& values) {
    auto image = std::make_unique<CImage>(width, height, 16, kImageMemory);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            StorePixel(image->pixels + y * image->pitch + x * 2,
                       values.at(static_cast<size_t>(y * width + x)));
    return image;
}

inline uint16_t PixelAt(const CImageBase& image, int32_t x, int32_t y) {
    return LoadPixel(image.pixels + y * image.pitch + x * 2);
}

inline std::vector<uint16_t> Pixels16(const CImageBase& image) {
    std::vector<uint16_t> out;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            out.push_back(PixelAt(image, x, y));
    return out;
}

// A palette with colour i = (i x 7, 255 - i, i x 3 mod 256), its tables in
// the current format.
inline CPalette TestPalette() {
    CPalette palette("test");
    for (int i = 0; i < 256; ++i)
        palette.colours[i] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                              static_cast<uint8_t>(i * 3), 0};
    palette.BuildPixelTables();
    return palette;
}

// A 16-bit background with a different colour in every pixel.
inline std::unique_ptr<CImage> Background(int32_t width, int32_t height) {
    std::vector<uint16_t> values;
    for (int32_t i = 0; i < width * height; ++i)
        values.push_back(
            CGraphicsBase::RgbToPixel(40 + i * 13 % 200, 250 - i * 7 % 180, 30 + i * 29 % 220));
    return Image16(width, height, values);
}

inline std::string DumpPixels(const CImageBase& image) {
    std::string out;
    char hex[8];
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            std::snprintf(hex, sizeof hex, x ? " %04X" : "%04X", PixelAt(image, x, y));
            out += hex;
        }
        out += '\n';
    }
    return out;
}

// One golden file: Check compares each picture with its section, or, in
// update mode, collects the pictures and writes the file at the end.
class GoldenFile {
public:
    explicit GoldenFile(const std::string& fileName)
        : m_path(std::filesystem::path(ORV_ENGINE_GOLDEN_DIR) / (fileName + ".txt")) {
        const char* update = std::getenv("ORVANDEL_UPDATE_GOLDENS");
        m_updating = update && std::string(update) == "1";
        if (m_updating)
            return;
        std::ifstream in(m_path);
        std::string line;
        std::string label;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '[') {
                label = line;
                m_sections[label];
            } else if (!label.empty()) {
                m_sections[label] += line + "\n";
            }
        }
    }
    ~GoldenFile() {
        if (!m_updating)
            return;
        std::filesystem::create_directories(m_path.parent_path());
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << m_written;
    }
    GoldenFile(const GoldenFile&) = delete;
    GoldenFile& operator=(const GoldenFile&) = delete;

    void Check(const std::string& name, const CImageBase& image) {
        std::string label =
            "[" + name + "] " + std::to_string(image.width) + "x" + std::to_string(image.height);
        std::string pixels = DumpPixels(image);
        if (m_updating) {
            m_written += label + "\n" + pixels;
            return;
        }
        auto section = m_sections.find(label);
        if (section == m_sections.end()) {
            ADD_FAILURE() << "no golden " << label << " in " << m_path
                          << " (run with ORVANDEL_UPDATE_GOLDENS=1 to write it)";
            return;
        }
        EXPECT_EQ(section->second, pixels) << "golden " << label << " of " << m_path;
    }

private:
    std::filesystem::path m_path;
    bool m_updating = false;
    std::map<std::string, std::string> m_sections;
    std::string m_written;
};

} // namespace imagetest
