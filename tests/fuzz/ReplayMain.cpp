// Replays a fuzz target's seed corpus: every file named on the command line,
// or every file of a named folder, is handed to LLVMFuzzerTestOneInput once.
// Lets the test run exercise each fuzz target with any compiler.
//
// "--prefix=N" (N 0..255) puts the byte N in front of every file named
// after it (up to the next "--prefix="; "--prefix=none" ends it): a target
// that picks its table by the first byte replays real files, such as those
// of the generated demo world, as that table.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static bool RunFile(const std::filesystem::path& path, int prefix) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes;
    if (prefix >= 0)
        bytes.push_back(static_cast<uint8_t>(prefix));
    bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

int main(int argc, char** argv) {
    int runs = 0;
    int prefix = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option.rfind("--prefix=", 0) == 0) {
            const std::string value = option.substr(9);
            char* end = nullptr;
            const long number = std::strtol(value.c_str(), &end, 10);
            if (value == "none") {
                prefix = -1;
            } else if (value.empty() || *end != '\0' || number < 0 || number > 255) {
                std::fprintf(stderr, "bad option %s\n", option.c_str());
                return 1;
            } else {
                prefix = static_cast<int>(number);
            }
            continue;
        }
        std::filesystem::path arg(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(arg);
        }
        for (const auto& file : files) {
            if (!RunFile(file, prefix))
                return 1;
            ++runs;
        }
    }
    if (runs == 0) {
        std::fprintf(stderr, "no corpus files found\n");
        return 1;
    }
    std::printf("replayed %d inputs\n", runs);
    return 0;
}
