#pragma once
// Runs the real program headless in a fresh copy of the demo world: the
// null display, the recording audio back-end, a virtual clock of 15 ms a
// pass, the trace on, boxes answered Ignore, and a script of window events.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace e2e {

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

class ProgramRun {
public:
    // A fresh copy of the demo world.
    ProgramRun();

    const std::filesystem::path& Dir() const { return m_dir.Path(); }
    std::filesystem::path PathOf(const std::string& relPath) const { return Dir() / relPath; }

    // Environment variables added to (or, with an empty value, replacing)
    // the defaults.
    std::map<std::string, std::string> env;

    // Runs the program with the script's lines; answers the exit code.
    int Run(const std::vector<std::string>& script);

    const std::string& Stderr() const { return m_stderr; }
    // The trace and box lines, in order.
    std::vector<std::string> Lines() const;
    bool Has(const std::string& line) const;
    // Index of the first line equal to it; -1 when none.
    int IndexOf(const std::string& line) const;

private:
    test::TempDir m_dir;
    std::string m_stderr;
};

} // namespace e2e
