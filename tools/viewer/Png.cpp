#include "tools/viewer/Png.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace viewer {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kMaxSide = 1 << 15;

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t U32(const uint8_t* at) {
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    PutU32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<uint32_t>(crc));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

} // namespace

bool WritePng(const std::filesystem::path& path, const RgbPicture& picture, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) {
        error = "the picture is empty or its size is wrong";
        return false;
    }
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * static_cast<size_t>(picture.height));
    for (int32_t y = 0; y < picture.height; ++y) {
        raw.push_back(0); // no filter
        const auto row = picture.rgb.begin() + static_cast<std::ptrdiff_t>(y * stride);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK) {
        error = "zlib could not compress the picture";
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> file(kSignature.begin(), kSignature.end());
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(picture.width));
    PutU32(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(),
                  {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter set, no interlace
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool ReadPng(const std::filesystem::path& path, RgbPicture& picture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return false;
    }
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    if (file.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
        error = "not a PNG file";
        return false;
    }
    size_t at = kSignature.size();
    uint32_t width = 0;
    uint32_t height = 0;
    bool headerSeen = false;
    std::vector<uint8_t> packed;
    for (;;) {
        if (file.size() - at < 12) {
            error = "the file ends inside a chunk";
            return false;
        }
        const uint32_t length = U32(&file[at]);
        const std::string type(reinterpret_cast<const char*>(&file[at + 4]), 4);
        if (length > file.size() - at - 12) {
            error = "a chunk runs past the end of the file";
            return false;
        }
        const uint8_t* body = &file[at + 8];
        const uLong crc = crc32(0, &file[at + 4], static_cast<uInt>(length + 4));
        if (crc != U32(body + length)) {
            error = "the " + type + " chunk fails its check sum";
            return false;
        }
        at += 12 + length;
        if (type == "IHDR") {
            if (length != 13 || body[8] != 8 || body[9] != 2 || body[10] != 0 || body[11] != 0 ||
                body[12] != 0) {
                error = "only 8-bit RGB pictures without interlacing are read";
                return false;
            }
            width = U32(body);
            height = U32(body + 4);
            headerSeen = true;
        } else if (type == "IDAT") {
            packed.insert(packed.end(), body, body + length);
        } else if (type == "IEND") {
            break;
        }
    }
    if (!headerSeen || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        error = "no header or a size out of range";
        return false;
    }
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw((stride + 1) * height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        rawSize != raw.size()) {
        error = "the picture data do not unpack to the picture's size";
        return false;
    }
    RgbPicture out(static_cast<int32_t>(width), static_cast<int32_t>(height));
    for (size_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (stride + 1)];
        const uint8_t* line = &raw[y * (stride + 1) + 1];
        uint8_t* row = out.rgb.data() + y * stride;
        const uint8_t* up = y > 0 ? row - stride : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= 3 ? up[i - 3] : 0;
            int predicted = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = Paeth(a, b, c);
                break;
            default:
                error = "a row has an unknown filter";
                return false;
            }
            row[i] = static_cast<uint8_t>(line[i] + predicted);
        }
    }
    picture = std::move(out);
    return true;
}

} // namespace viewer
