#pragma once
// Helpers shared by the tests.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace test {

// A fresh empty folder that becomes the current directory (the game folder)
// for the life of the object; the previous directory is restored and the
// folder removed afterwards.
class ScopedGameDir {
public:
    ScopedGameDir();
    ~ScopedGameDir();
    ScopedGameDir(const ScopedGameDir&) = delete;
    ScopedGameDir& operator=(const ScopedGameDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes a file (host path relative to the folder, "/" separated),
    // creating its folders.
    void WriteFile(const std::string& relPath, const std::string& bytes) const;
    std::string ReadFile(const std::string& relPath) const;

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// Records every critical-error box and answers Ignore, for its lifetime.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<std::string> texts;

private:
    platform::BoxHandler m_previous;
};

// The demo world written by the generator into the build tree.
std::filesystem::path DemoWorldDir();

} // namespace test
