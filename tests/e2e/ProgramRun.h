#pragma once
// Runs the real program headless in a fresh copy of the demo world: the
// null display, the recording audio back-end, a virtual clock of 15 ms a
// pass, the trace on, boxes answered Ignore, and a script of window events.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/Picture.h"
#include "tests/TestSupport.h"

namespace e2e {

// The 24-bit pictures of the tests (tests/Picture.h).
using test::CropAndShrink;
using test::Picture;
using test::ReadPicture;
using test::WritePicture;

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
