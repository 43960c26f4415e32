// Fuzz target: arbitrary bytes as a console script line, compiled and run in
// a test scope of built-ins.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "data/ScriptFile.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/data/ScriptTestScope.h"

namespace {

// The console writes "console.sme" into the game folder: a scratch folder of
// its own, the current directory only while one input runs, removed at exit.
class ScratchFolder {
public:
    ScratchFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("orvandel-fuzz-script-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
        platform::ForgetPathCache();
    }
    ~InFolder() {
        std::error_code ec;
        std::filesystem::current_path(m_previous, ec);
        platform::ForgetPathCache();
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

test::ScriptTestScope& Scope() {
    static test::ScriptTestScope* scope = [] {
        platform::SetBoxHandler(
            [](const std::string&, const std::string&) { return platform::BoxAnswer::Ignore; });
        SetConsolePrintFunction([](const std::string&) {});
        auto* built = new test::ScriptTestScope;
        built->Build();
        return built;
    }();
    return *scope;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFolder folder;
    test::ScriptTestScope& scope = Scope();
    scope.log.clear();
    scope.waits = 1;
    scope.budget = 1000;
    InFolder in(folder.Path());
    RunConsoleScript(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
