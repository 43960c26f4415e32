// Fuzz target: arbitrary bytes as a CSV table, read with a mix of the cell
// operations until one reports the end of the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/CsvReader.h"
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
               ("orvandel-fuzz-csv-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path);
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
        std::ofstream out(dir.path / "table.csv", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CCsvReader reader("table.csv");
    if (size > 0 && data[0] % 4 == 0) {
        reader.CountLines();
        reader.SkipLines(1);
    }
    char small[8];
    char large[300];
    int32_t i = 0;
    double d = 0;
    float f = 0;
    bool more = true;
    for (size_t step = 0; more; ++step) {
        uint8_t op = size > 0 ? data[step % size] : 0;
        switch (op % 8) {
        case 0: more = reader.ReadString(small, sizeof small); break;
        case 1: more = reader.ReadString(large, sizeof large); break;
        case 2: more = reader.ReadInt(i); break;
        case 3: more = reader.ReadDouble(d); break;
        case 4: more = reader.ReadFloat(f); break;
        case 5: more = reader.SkipCells(op % 3) && reader.SkipCells(1); break;
        case 6: more = reader.SkipLines(1); break;
        default:
            if (step == 7)
                reader.Rewind(); // once, so every input still ends
            more = reader.ReadString(large, sizeof large);
            break;
        }
    }
    return 0;
}
