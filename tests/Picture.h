#pragma once
// 24-bit pictures for the tests that compare what was drawn with golden
// pictures: read and written as BMP files, cropped and shrunk.
#include <cstdint>
#include <string>
#include <vector>

namespace test {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb; // 3 bytes a pixel, top row first

    const uint8_t* At(int32_t x, int32_t y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
};

// A 24-bit BMP file; an empty picture when it cannot be read.
Picture ReadPicture(const std::string& path);
bool WritePicture(const std::string& path, const Picture& picture);
// The rectangle, each side shrunk by the factor (the mean of each block).
Picture CropAndShrink(const Picture& picture, int32_t left, int32_t top, int32_t right,
                      int32_t bottom, int32_t factor);

// Compares the picture pixel for pixel with the golden one,
// <goldenDir>/<name>.bmp. With ORV_UPDATE_GOLDENS set the golden is written
// anew from the picture instead. On a mismatch <name>.actual.bmp,
// .expected.bmp and .diff.bmp (red where they differ) go to
// <outputDir>/golden-diff. Answers what went wrong, empty when they match.
std::string CompareWithGolden(const Picture& actual, const std::string& goldenDir,
                              const std::string& outputDir, const std::string& name);

} // namespace test
