#include "tests/TestSupport.h"

#include <fstream>
#include <random>
#include <sstream>

#include "platform/Files.h"

namespace test {

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; m_path.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("orvandel-test-" + std::to_string(rd()) + "-" + std::to_string(attempt));
        if (std::filesystem::create_directory(candidate))
            m_path = candidate;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::WriteFile(const std::string& relPath, const std::string& bytes) const {
    auto full = m_path / relPath;
    std::filesystem::create_directories(full.parent_path());
    {
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    platform::ForgetPathCache();
}

std::string TempDir::ReadFile(const std::string& relPath) const {
    std::ifstream in(m_path / relPath, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

InFolder::InFolder(const std::filesystem::path& folder)
    : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
    platform::ForgetPathCache();
}

InFolder::~InFolder() {
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
    platform::ForgetPathCache();
}

BoxRecorder::BoxRecorder() {
    m_previous = platform::SetBoxHandler([this](const std::string&, const std::string& text) {
        texts.push_back(text);
        return platform::BoxAnswer::Ignore;
    });
}

BoxRecorder::~BoxRecorder() {
    platform::SetBoxHandler(m_previous);
}

bool BoxRecorder::Shown(const std::string& part) const {
    for (const std::string& text : texts)
        if (text.find(part) != std::string::npos)
            return true;
    return false;
}

std::filesystem::path DemoWorldDir() {
    return ORV_DEMO_WORLD_DIR;
}

void CopyDemoWorld(const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    const fs::path demo = DemoWorldDir();
    for (const char* folder : {"db", "scenarios", "ai"})
        fs::copy(demo / folder, to / folder,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (const char* file : {"gfx/dummy.bmp", "gfx/palette/palette.act"}) {
        fs::create_directories((to / file).parent_path());
        fs::copy_file(demo / file, to / file, fs::copy_options::overwrite_existing);
    }
    platform::ForgetPathCache();
}

} // namespace test
