#include <cstdio>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/ImageAccess.h"
#include "platform/Files.h"

namespace {

constexpr int kMaxScreenshots = 1000000;

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

} // namespace

// The file is the screen's size (800 x 600 in the game's mode): the 54
// bytes of headers, then the rows from the bottom up as blue, green and red
// bytes, each row padded to 4 bytes (no padding at 800 or 640 pixels).
bool SaveScreenshot() {
    if (!g_screen || g_screen->bytesPerPixel != 2)
        return false;
    const int32_t format = g_pixelFormat;
    if (format != kPixelFormat565 && format != kPixelFormat555)
        return false;
    CPixelAccess screen(*g_screen);
    const int32_t width = screen.view.width;
    const int32_t height = screen.view.height;
    if (!screen.view.pixels || width <= 0 || height <= 0)
        return false;

    std::string name;
    for (int number = 0; name.empty(); ++number) {
        if (number == kMaxScreenshots)
            return false;
        std::string candidate = "ScreenSave" + std::to_string(number) + ".bmp";
        if (!platform::GameFileExists(candidate))
            name = std::move(candidate);
    }
    return WriteBmp24(name, width, height, [&](int32_t y, uint8_t* bgr) {
        const uint8_t* source = screen.Row(y);
        for (int32_t x = 0; x < width; ++x, bgr += 3) {
            const uint16_t p = LoadPixel(source + x * 2);
            if (format == kPixelFormat565) {
                bgr[0] = static_cast<uint8_t>((p & 31) << 3);
                bgr[1] = static_cast<uint8_t>((p >> 3) & 252);
                bgr[2] = static_cast<uint8_t>((p >> 8) & 248);
            } else {
                bgr[0] = static_cast<uint8_t>((p & 31) << 3);
                bgr[1] = static_cast<uint8_t>((p >> 2) & 248);
                bgr[2] = static_cast<uint8_t>((p >> 7) & 248);
            }
        }
    });
}

bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::function<void(int32_t y, uint8_t* bgr)>& row) {
    if (width <= 0 || height <= 0)
        return false;
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t fileSize = 54 + rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> file;
    file.reserve(fileSize);
    file.push_back('B');
    file.push_back('M');
    PutU32(file, fileSize);
    PutU32(file, 0); // two reserved words
    PutU32(file, 54);
    PutU32(file, 40);
    PutU32(file, static_cast<uint32_t>(width));
    PutU32(file, static_cast<uint32_t>(height));
    PutU16(file, 1);
    PutU16(file, 24);
    PutU32(file, 0); // no compression
    PutU32(file, 0); // image size
    PutU32(file, 2834);
    PutU32(file, 2834);
    PutU32(file, 0);
    PutU32(file, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        const size_t start = file.size();
        file.resize(start + rowBytes, 0);
        row(y, file.data() + start);
    }
    std::FILE* out = platform::OpenGameFile(path, "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
