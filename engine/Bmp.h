#pragma once
// BMP files: the header check and the row decoder shared by memory images
// and surfaces, and the colour table reader of the palettes.
//
// Taken: the 14-byte file header ("BM") with a 40-byte or longer information
// header; 1, 8, 16 or 24 bits per pixel; no compression, or RLE8 for 8-bit
// pictures; rows stored bottom-up. Refused: any other magic, depth or
// compression (bit fields, RLE4), top-down pictures (negative height), a
// width or height of 0 or above kBmpMaxSide, a picture above kBmpMaxBytes in
// memory, a pixel offset outside the file, and pixel data that the file does
// not hold in full.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kBmpMaxSide = 16384;
constexpr int64_t kBmpMaxBytes = 64 * 1024 * 1024;

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;

struct BmpInfo {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0; // of the file: 1, 8, 16 or 24
    uint32_t compression = 0; // 0 none, 1 RLE8
    uint32_t pixelOffset = 0; // of the pixel data from the start of the file
    uint32_t coloursUsed = 0; // the header's number of used colours
    int32_t fileRowBytes = 0; // one row in the file, padded to 4 bytes

    // In memory: 1-bit rows stay packed (8 pixels a byte), 8-bit rows hold
    // one index a pixel and 16- and 24-bit rows one 16-bit pixel a pixel.
    int32_t MemoryBitsPerPixel() const { return bitsPerPixel == 24 ? 16 : bitsPerPixel; }
    int32_t MemoryBytesPerPixel() const { return bitsPerPixel >= 16 ? 2 : 1; }
    // Bytes of one decoded row.
    int32_t DecodedRowBytes() const;
};

// The whole file through CFile; false (reported by CFile) when it cannot be
// opened or read.
bool ReadBmpFile(const std::string& fileName, std::vector<uint8_t>& bytes);

// Checks the headers; false for anything this reader does not take (above).
bool ParseBmpHeader(const std::vector<uint8_t>& bytes, BmpInfo& info);

// Decodes the rows into memory of the given pitch (at least
// DecodedRowBytes), the file's first row becoming the last; 24-bit pixels
// are packed into the current pixel format, 16-bit ones are copied as they
// are. False when the RLE8 data is short, runs past its row or moves past
// the picture: the rows decoded so far stay written, nothing outside the
// picture is touched. The memory must be zeroed for RLE8 (pixels the codes
// skip stay as they are).
bool DecodeBmpRows(const std::vector<uint8_t>& bytes, const BmpInfo& info, uint8_t* pixels,
                   int32_t pitch);

// Reads the 256 colour entries (blue, green, red, unused) that follow the
// headers into table (1024 bytes); answers 256, or 0 when the file is
// missing, not "BM" or too short (table untouched).
uint32_t ReadBmpPalette(const std::string& fileName, uint8_t* table);
