#pragma once
// Helpers shared by the tests.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace test {

// A fresh empty folder under the system's temp folder, removed with the
// object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes a file (host path relative to the folder, "/" separated),
    // creating its folders, and forgets the game's cached folder listings.
    void WriteFile(const std::string& relPath, const std::string& bytes) const;
    // The whole file; empty when it cannot be read.
    std::string ReadFile(const std::string& relPath) const;

private:
    std::filesystem::path m_path;
};

// For the life of the object the folder is the current directory (the game
// folder); the previous one comes back afterwards.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

// A fresh empty folder that is the current directory (the game folder) for
// the life of the object.
class ScopedGameDir : public TempDir {
public:
    ScopedGameDir() : m_inFolder(Path()) {}

private:
    InFolder m_inFolder;
};

// Records every critical-error box and answers Ignore, for its lifetime.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    // True when some box shown so far contains the text.
    bool Shown(const std::string& part) const;

    std::vector<std::string> texts;

private:
    platform::BoxHandler m_previous;
};

// The demo world written by the generator into the build tree.
std::filesystem::path DemoWorldDir();

// Copies what a game of the demo world reads (its tables, scenarios,
// computer-player files, the dummy picture and the palette) into the
// folder, over what is there, and forgets the file layer's name cache.
void CopyDemoWorld(const std::filesystem::path& to);

} // namespace test
