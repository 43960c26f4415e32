#pragma once
// Helpers shared by the fuzz targets (header only: every .cpp file of this
// folder is a fuzz target of its own; they link the tests' support library).
//
// A target that reads files does so in a scratch game folder: made once per
// process and removed at exit. It is the current directory only while one
// input runs, so libFuzzer's relative corpus and artifact paths keep working.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/MessageBox.h"
#include "tests/TestSupport.h"

namespace fuzz {

// Stops the run: a property the target checks does not hold.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Answers every critical-error box with Ignore from the first call on.
inline void AnswerBoxesWithIgnore() {
    static const bool installed = [] {
        platform::SetBoxHandler(
            [](const std::string&, const std::string&) { return platform::BoxAnswer::Ignore; });
        return true;
    }();
    (void)installed;
}

// For the life of the object the scratch game folder (made by the first
// one, removed at exit) is the current directory; the previous one comes
// back afterwards.
class InScratchFolder {
public:
    InScratchFolder() : m_inFolder(Folder().Path()) {}

    // Replaces a file of the folder ("/"-separated path) with the bytes,
    // creating its folders.
    void WriteFile(const std::string& relPath, const uint8_t* data, size_t size) const {
        Folder().WriteFile(relPath, std::string(reinterpret_cast<const char*>(data), size));
    }

private:
    static const test::TempDir& Folder() {
        static const test::TempDir folder = [] {
            AnswerBoxesWithIgnore();
            return test::TempDir();
        }();
        return folder;
    }

    test::InFolder m_inFolder;
};

} // namespace fuzz
