#include "tests/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace test {

namespace {

uint32_t U32(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

void PutU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

} // namespace

Picture ReadPicture(const std::string& path) {
    Picture picture;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string bytes = text.str();
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24)
        return picture;
    const int32_t width = static_cast<int32_t>(U32(bytes, 18));
    const int32_t height = static_cast<int32_t>(U32(bytes, 22));
    const uint32_t offset = U32(bytes, 10);
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
        offset + rowBytes * height > bytes.size())
        return picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int32_t y = 0; y < height; ++y) {
        const char* row = &bytes[offset + rowBytes * (height - 1 - y)];
        for (int32_t x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) // BGR in the file
                picture.rgb[(static_cast<size_t>(y) * width + x) * 3 + c] =
                    static_cast<uint8_t>(row[x * 3 + 2 - c]);
    }
    return picture;
}

bool WritePicture(const std::string& path, const Picture& picture) {
    const size_t rowBytes = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    std::string out = "BM";
    PutU32(out, static_cast<uint32_t>(54 + rowBytes * picture.height));
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(picture.width));
    PutU32(out, static_cast<uint32_t>(picture.height));
    out += std::string("\x01\x00\x18\x00", 4);
    out.append(24, '\0');
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 2; c >= 0; --c)
                out.push_back(static_cast<char>(picture.At(x, y)[c]));
        out.resize(start + rowBytes, '\0');
    }
    std::ofstream file(path, std::ios::binary);
    file << out;
    return static_cast<bool>(file);
}

Picture CropAndShrink(const Picture& picture, int32_t left, int32_t top, int32_t right,
                      int32_t bottom, int32_t factor) {
    Picture out;
    out.width = (right - left) / factor;
    out.height = (bottom - top) / factor;
    out.rgb.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
    for (int32_t y = 0; y < out.height; ++y)
        for (int32_t x = 0; x < out.width; ++x)
            for (int c = 0; c < 3; ++c) {
                uint32_t sum = 0;
                for (int32_t dy = 0; dy < factor; ++dy)
                    for (int32_t dx = 0; dx < factor; ++dx)
                        sum += picture.At(left + x * factor + dx, top + y * factor + dy)[c];
                out.rgb[(static_cast<size_t>(y) * out.width + x) * 3 + c] =
                    static_cast<uint8_t>(sum / static_cast<uint32_t>(factor * factor));
            }
    return out;
}

std::string CompareWithGolden(const Picture& actual, const std::string& goldenDir,
                              const std::string& outputDir, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path golden = fs::path(goldenDir) / (name + ".bmp");
    if (std::getenv("ORV_UPDATE_GOLDENS")) {
        fs::create_directories(golden.parent_path());
        return WritePicture(golden.string(), actual) ? std::string()
                                                     : "cannot write " + golden.string();
    }
    const Picture expected = ReadPicture(golden.string());
    int32_t differing = 0;
    Picture difference = actual;
    const bool sameSize = expected.width == actual.width && expected.height == actual.height;
    if (sameSize) {
        for (size_t i = 0; i < actual.rgb.size(); i += 3) {
            const bool same = std::equal(&actual.rgb[i], &actual.rgb[i] + 3, &expected.rgb[i]);
            differing += same ? 0 : 1;
            difference.rgb[i] = same ? static_cast<uint8_t>(actual.rgb[i] / 4) : 255;
            difference.rgb[i + 1] = same ? static_cast<uint8_t>(actual.rgb[i + 1] / 4) : 0;
            difference.rgb[i + 2] = same ? static_cast<uint8_t>(actual.rgb[i + 2] / 4) : 0;
        }
    }
    if (sameSize && differing == 0)
        return {};
    const fs::path out = fs::path(outputDir) / "golden-diff";
    fs::create_directories(out);
    WritePicture((out / (name + ".actual.bmp")).string(), actual);
    if (expected.width > 0)
        WritePicture((out / (name + ".expected.bmp")).string(), expected);
    if (sameSize)
        WritePicture((out / (name + ".diff.bmp")).string(), difference);
    return "golden picture " + golden.string() + ": " +
           (sameSize ? std::to_string(differing) + " pixels differ"
                     : "size " + std::to_string(actual.width) + "x" +
                           std::to_string(actual.height) + " against " +
                           std::to_string(expected.width) + "x" + std::to_string(expected.height)) +
           "; pictures written to " + out.string() +
           " (ORV_UPDATE_GOLDENS=1 writes the goldens anew)";
}

} // namespace test
