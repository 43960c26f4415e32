// Fuzz target: arbitrary bytes as config\text.csv, loaded in a few columns
// and looked up.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/TextDatabase.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

namespace {

// A temp folder made once, the current directory while fuzzing, removed at
// exit; boxes answer Ignore.
struct FuzzDir {
    std::filesystem::path path;
    FuzzDir() {
        platform::SetBoxHandler([](const std::string&, const std::string&) {
            return platform::BoxAnswer::Ignore;
        });
        path = std::filesystem::temp_directory_path() /
               ("orvandel-fuzz-text-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path / "config");
        std::filesystem::current_path(path);
        platform::ForgetPathCache();
    }
    ~FuzzDir() {
        std::error_code ec;
        std::filesystem::current_path(path.parent_path(), ec);
        std::filesystem::remove_all(path, ec);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzDir dir;
    {
        std::ofstream out(dir.path / "config" / "text.csv", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CTextDatabase db;
    int column = size > 0 ? data[size - 1] % 12 - 1 : 0; // -1..10: bad columns too
    for (int c : {0, column, 9}) {
        db.Load(c);
        size_t keyLength = size < 12 ? size : 12;
        std::string key(reinterpret_cast<const char*>(data), keyLength);
        db.GetText(key.substr(0, key.find(';')));
        db.GetText("JANUARY");
    }
    return 0;
}
