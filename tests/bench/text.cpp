// A screen of text: 42 lines of 14-pixel text with colour markup drawn over
// an 800 x 600 16-bit screen, against a memcpy of the screen's bytes as the
// baseline.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Font.h"
#include "engine/Image.h"

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kCellWidth = 10;
constexpr int32_t kCellHeight = 14;

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An 8-bit font picture for 33..255: each glyph 5 to 9 pixels wide with
// strokes of ink in rows 2 to 11, the rest background.
std::string FontPicture() {
    const int32_t cells = 223;
    const int32_t height = cells * kCellHeight;
    const int32_t rowBytes = (kCellWidth + 3) / 4 * 4;
    std::vector<std::string> rows;
    for (int32_t k = 0; k < cells; ++k) {
        int32_t width = 5 + k % 5;
        for (int32_t y = 0; y < kCellHeight; ++y) {
            std::string row(static_cast<size_t>(rowBytes), '\xFF');
            for (int32_t x = 0; x < width; ++x)
                if (y >= 2 && y < 12 &&
                    (x == 0 || x == width - 1 || y == 2 || y == 11 || (x + y + k) % 4 == 0))
                    row[static_cast<size_t>(x)] = static_cast<char>(1 + (x + y) % 15);
            rows.push_back(row);
        }
    }
    std::string out = "BM";
    const uint32_t offset = 14 + 40 + 1024;
    Put(out, offset + static_cast<uint32_t>(rowBytes * height), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    for (uint32_t v : {40u, static_cast<uint32_t>(kCellWidth), static_cast<uint32_t>(height)})
        Put(out, v, 4);
    Put(out, 1, 2);
    Put(out, 8, 2);
    for (uint32_t v : {0u, static_cast<uint32_t>(rowBytes * height), 2834u, 2834u, 256u, 0u})
        Put(out, v, 4);
    for (int i = 0; i < 256; ++i)
        Put(out, static_cast<uint32_t>(i * 0x010101), 4);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        out += *row;
    return out;
}

struct TextScreen {
    CImage screen{kWidth, kHeight, 16, kImageMemory};
    CFont* font = new CFont;
    std::vector<std::string> lines;
    std::vector<uint8_t> from =
        std::vector<uint8_t>(static_cast<size_t>(kWidth) * kHeight * 2, 0x5A);
    std::vector<uint8_t> to = std::vector<uint8_t>(from.size());

    TextScreen() {
        SetPixelFormat(kPixelFormat565);
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / "orvandel-bench-text";
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "font.bmp";
        std::ofstream(file, std::ios::binary) << FontPicture();
        font->LoadFont(file.string(), kCellHeight, nullptr); // g_fonts owns it
        std::filesystem::remove_all(folder);
        const std::string words = "The %077merchants\xA7W of the Hanse bring \xA7Ygrain|400and "
                                  "timber; the treasury holds 1492 ducats. ";
        for (int32_t i = 0; i < kHeight / kCellHeight; ++i)
            lines.push_back(words.substr(static_cast<size_t>(i % 7)) + words);
        screen.Fill(0x2104);
    }
};

TextScreen& Data() {
    static TextScreen data;
    return data;
}

void BM_TextScreen800x600(benchmark::State& state) {
    TextScreen& d = Data();
    const Rect clip{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        for (size_t i = 0; i < d.lines.size(); ++i)
            d.font->DrawText(d.lines[i], 4, static_cast<int32_t>(i) * kCellHeight, clip, &d.screen,
                             0xFFFF);
        benchmark::DoNotOptimize(d.screen.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_TextScreen800x600);

// The baseline: the bytes of one 800 x 600 16-bit screen.
void BM_MemcpyScreen800x600(benchmark::State& state) {
    TextScreen& d = Data();
    for (auto _ : state) {
        std::memcpy(d.to.data(), d.from.data(), d.from.size());
        benchmark::DoNotOptimize(d.to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(d.from.size()));
}
BENCHMARK(BM_MemcpyScreen800x600);

} // namespace
