#include "engine/Bmp.h"

#include <algorithm>
#include <cstring>

#include "engine/CriticalError.h"
#include "engine/File.h"
#include "engine/Pixel.h"

namespace {

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

bool Refuse(const char* why) {
    DebugPrint("BMP refused: %s\n", why);
    return false;
}

// The pixels of one decoded row from one row of the file.
void DecodeRow(const uint8_t* from, const BmpInfo& info, uint8_t* to) {
    if (info.bitsPerPixel == 24) {
        for (int32_t x = 0; x < info.width; ++x, from += 3)
            StorePixel(to + x * 2, CGraphicsBase::RgbToPixel(from[2], from[1], from[0]));
    } else if (info.bitsPerPixel == 16) {
        for (int32_t x = 0; x < info.width; ++x)
            StorePixel(to + x * 2, static_cast<uint16_t>(from[x * 2] | from[x * 2 + 1] << 8));
    } else {
        std::memcpy(to, from, static_cast<size_t>(info.DecodedRowBytes()));
    }
}

bool DecodeRle8(const std::vector<uint8_t>& bytes, const BmpInfo& info, uint8_t* pixels,
                int32_t pitch) {
    size_t at = info.pixelOffset;
    int32_t x = 0;
    int32_t y = 0; // counted from the bottom row of the picture
    auto row = [&](int32_t fromBottom) {
        return pixels + static_cast<size_t>(info.height - 1 - fromBottom) * pitch;
    };
    for (;;) {
        if (bytes.size() - at < 2)
            return Refuse("RLE8 data ends before the end of the picture");
        uint8_t count = bytes[at];
        uint8_t value = bytes[at + 1];
        at += 2;
        if (count > 0) {
            if (y >= info.height || count > info.width - x)
                return Refuse("RLE8 run past its row");
            std::memset(row(y) + x, value, count);
            x += count;
            continue;
        }
        switch (value) {
        case 0: // end of the row
            x = 0;
            if (++y > info.height)
                return Refuse("RLE8 row past the picture");
            break;
        case 1: // end of the picture
            return true;
        case 2: // move right and up
            if (bytes.size() - at < 2)
                return Refuse("RLE8 data ends inside a move");
            x += bytes[at];
            y += bytes[at + 1];
            at += 2;
            if (x > info.width || y >= info.height)
                return Refuse("RLE8 move past the picture");
            break;
        default: { // literal indices, padded to an even count
            if (y >= info.height || value > info.width - x)
                return Refuse("RLE8 literal past its row");
            if (bytes.size() - at < value)
                return Refuse("RLE8 data ends inside a literal");
            std::memcpy(row(y) + x, bytes.data() + at, value);
            x += value;
            at += value + (value & 1u);
            at = std::min(at, bytes.size());
            break;
        }
        }
    }
}

} // namespace

int32_t BmpInfo::DecodedRowBytes() const {
    if (bitsPerPixel == 1)
        return (width + 7) / 8;
    return width * MemoryBytesPerPixel();
}

bool ReadBmpFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
    bytes.clear();
    CFile file(fileName);
    if (file.IsFailed() || file.GetSize() < 0)
        return false;
    bytes.resize(static_cast<size_t>(file.GetSize()));
    if (!bytes.empty() && !file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        bytes.clear();
        return false;
    }
    return true;
}

bool ParseBmpHeader(const std::vector<uint8_t>& bytes, BmpInfo& info) {
    info = BmpInfo();
    if (bytes.size() < kBmpFileHeaderSize + kBmpInfoHeaderSize)
        return Refuse("shorter than its headers");
    if (U16(bytes, 0) != 0x4D42)
        return Refuse("no \"BM\"");
    uint32_t pixelOffset = U32(bytes, 10);
    uint32_t infoSize = U32(bytes, 14);
    int32_t width = static_cast<int32_t>(U32(bytes, 18));
    int32_t height = static_cast<int32_t>(U32(bytes, 22));
    int32_t bits = U16(bytes, 28);
    uint32_t compression = U32(bytes, 30);
    if (infoSize < kBmpInfoHeaderSize || infoSize > bytes.size() - kBmpFileHeaderSize)
        return Refuse("information header of a foreign size");
    if (bits != 1 && bits != 8 && bits != 16 && bits != 24)
        return Refuse("depth");
    if (compression != 0 && !(compression == 1 && bits == 8))
        return Refuse("compression");
    if (height < 0)
        return Refuse("top-down rows");
    if (width <= 0 || height == 0 || width > kBmpMaxSide || height > kBmpMaxSide)
        return Refuse("size");
    if (pixelOffset < kBmpFileHeaderSize + infoSize || pixelOffset >= bytes.size())
        return Refuse("pixel offset outside the file");

    info.width = width;
    info.height = height;
    info.bitsPerPixel = bits;
    info.compression = compression;
    info.pixelOffset = pixelOffset;
    info.coloursUsed = U32(bytes, 46);
    info.fileRowBytes = static_cast<int32_t>((static_cast<int64_t>(width) * bits + 31) / 32 * 4);
    int64_t memoryPitch =
        (static_cast<int64_t>(width) * info.MemoryBytesPerPixel() + 7) & ~int64_t{7};
    if (memoryPitch * height > kBmpMaxBytes)
        return Refuse("too large");
    if (compression == 0 && static_cast<int64_t>(info.fileRowBytes) * height >
                                static_cast<int64_t>(bytes.size() - pixelOffset))
        return Refuse("rows cut short");
    return true;
}

bool DecodeBmpRows(const std::vector<uint8_t>& bytes, const BmpInfo& info, uint8_t* pixels,
                   int32_t pitch) {
    if (info.compression == 1)
        return DecodeRle8(bytes, info, pixels, pitch);
    for (int32_t y = 0; y < info.height; ++y) {
        const uint8_t* from =
            bytes.data() + info.pixelOffset + static_cast<size_t>(y) * info.fileRowBytes;
        DecodeRow(from, info, pixels + static_cast<size_t>(info.height - 1 - y) * pitch);
    }
    return true;
}

uint32_t ReadBmpPalette(const std::string& fileName, uint8_t* table) {
    if (!FileExists(fileName))
        return 0;
    std::vector<uint8_t> bytes;
    if (!ReadBmpFile(fileName, bytes) || bytes.size() < kBmpFileHeaderSize + 4 ||
        U16(bytes, 0) != 0x4D42)
        return 0;
    // The colours follow the information header, which may be longer than
    // its 40 bytes.
    size_t at =
        kBmpFileHeaderSize + std::max<size_t>(kBmpInfoHeaderSize, U32(bytes, kBmpFileHeaderSize));
    if (at > bytes.size() || bytes.size() - at < 1024)
        return 0;
    std::memcpy(table, bytes.data() + at, 1024);
    return 256;
}
