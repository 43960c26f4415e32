// The demo world generator writes the same world on every run: two runs
// into two fresh folders give the same files, byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Every file under the folder by its "/"-separated path relative to it.
std::map<std::string, fs::path> FilesUnder(const fs::path& folder) {
    std::map<std::string, fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = entry.path();
    return files;
}

std::vector<char> Bytes(const fs::path& path) {
    std::vector<char> bytes(fs::file_size(path));
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

int RunGenerator(const fs::path& folder) {
    const std::string command =
        std::string("\"") + ORV_MAKE_DEMO_WORLD + "\" \"" + folder.string() + "\" > /dev/null";
    return std::system(command.c_str());
}

TEST(DemoWorldGenerator, TwoRunsWriteTheSameFiles) {
    test::TempDir first;
    test::TempDir second;
    // The two runs side by side, to keep the test short.
    int firstResult = -1;
    std::thread firstRun([&] { firstResult = RunGenerator(first.Path() / "game"); });
    const int secondResult = RunGenerator(second.Path() / "game");
    firstRun.join();
    ASSERT_EQ(firstResult, 0);
    ASSERT_EQ(secondResult, 0);
    const auto a = FilesUnder(first.Path() / "game");
    const auto b = FilesUnder(second.Path() / "game");
    ASSERT_FALSE(a.empty());
    // The map tables and the province table are among them.
    for (const char* name : {"map/boundbox.tbl", "map/lightmap1.tbl", "db/province.csv"})
        EXPECT_TRUE(a.count(name)) << name;

    std::vector<std::string> onlyOne;
    std::vector<std::string> differ;
    for (const auto& [name, path] : a) {
        const auto other = b.find(name);
        if (other == b.end()) {
            onlyOne.push_back(name);
            continue;
        }
        const std::vector<char> x = Bytes(path);
        const std::vector<char> y = Bytes(other->second);
        if (x == y)
            continue;
        size_t at = 0;
        while (at < x.size() && at < y.size() && x[at] == y[at])
            ++at;
        differ.push_back(name + " (sizes " + std::to_string(x.size()) + " and " +
                         std::to_string(y.size()) + ", first difference at byte " +
                         std::to_string(at) + ")");
    }
    for (const auto& [name, path] : b)
        if (!a.count(name))
            onlyOne.push_back(name);
    std::string text;
    for (const std::string& name : onlyOne)
        text += "  written by one run only: " + name + "\n";
    for (const std::string& name : differ)
        text += "  differs: " + name + "\n";
    EXPECT_TRUE(onlyOne.empty() && differ.empty()) << text;
}

} // namespace
