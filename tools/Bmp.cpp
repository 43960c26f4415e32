#include "tools/Bmp.h"

namespace demo {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The file and information headers; the pixel data starts at `offset`.
std::vector<uint8_t> Headers(int32_t width, int32_t height, uint16_t bits, uint32_t offset,
                             uint32_t imageBytes, uint32_t coloursUsed) {
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2834);
    Put32(out, 2834);
    Put32(out, coloursUsed);
    Put32(out, 0);
    return out;
}

uint32_t RowBytes(int32_t width, int32_t bytesPerPixel) {
    return static_cast<uint32_t>((width * bytesPerPixel + 3) / 4 * 4);
}

} // namespace

std::vector<uint8_t> MakeBmp8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                              const ColourTable& colours) {
    uint32_t rowBytes = RowBytes(width, 1);
    std::vector<uint8_t> out = Headers(width, height, 8, 14 + 40 + 1024, rowBytes * height, 256);
    for (const Rgb& colour : colours) {
        out.push_back(colour.b);
        out.push_back(colour.g);
        out.push_back(colour.r);
        out.push_back(0);
    }
    for (int32_t y = height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int32_t x = 0; x < width; ++x)
            out.push_back(indices[static_cast<size_t>(y) * width + x]);
        out.resize(start + rowBytes, 0);
    }
    return out;
}

std::vector<uint8_t> MakeBmp24(int32_t width, int32_t height, const std::vector<Rgb>& pixels) {
    uint32_t rowBytes = RowBytes(width, 3);
    std::vector<uint8_t> out = Headers(width, height, 24, 14 + 40, rowBytes * height, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int32_t x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y) * width + x];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(start + rowBytes, 0);
    }
    return out;
}

std::vector<uint8_t> MakeAct(const ColourTable& colours) {
    std::vector<uint8_t> out;
    for (const Rgb& colour : colours) {
        out.push_back(colour.r);
        out.push_back(colour.g);
        out.push_back(colour.b);
    }
    return out;
}

} // namespace demo
