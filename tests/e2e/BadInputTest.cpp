// Each file that start-up reads, missing or cut in half in turn: the
// program takes its failure path (a box answered Ignore, or the silent end
// without a text database) and never crashes; the sanitizers stay quiet.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/ProgramRun.h"

namespace {

struct BadFile {
    const char* path; // host path in the game folder
    bool truncate;    // cut to half its size; else removed
};

// Keeps the test names free of the parameter's bytes.
void PrintTo(const BadFile& file, std::ostream* out) {
    *out << (file.truncate ? "cut " : "missing ") << file.path;
}

std::string Name(const testing::TestParamInfo<BadFile>& info) {
    std::string name = std::string(info.param.truncate ? "cut_" : "missing_") + info.param.path;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

class StartupFile : public testing::TestWithParam<BadFile> {};

TEST_P(StartupFile, TakesItsFailurePathWithoutACrash) {
    const BadFile& bad = GetParam();
    e2e::ProgramRun run;
    const std::filesystem::path file = run.PathOf(bad.path);
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    if (bad.truncate)
        std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
    else
        std::filesystem::remove(file);

    // Escape cuts the movies short (a broken movie ends by itself).
    ASSERT_EQ(run.Run({"movie1 keyup 27", "movie2 keyup 27", "3 close"}), 0) << run.Stderr();
    EXPECT_EQ(run.Stderr().find("Sanitizer"), std::string::npos) << run.Stderr();
    EXPECT_EQ(run.Stderr().find("runtime error"), std::string::npos) << run.Stderr();
    if (std::string(bad.path) == "config/text.csv" && !bad.truncate) {
        EXPECT_TRUE(run.Has("no text database"));
        EXPECT_FALSE(run.Has("shutdown done"));
    } else {
        EXPECT_TRUE(run.Has("checkpoint INIT_GLOBALS")) << run.Stderr();
        EXPECT_TRUE(run.Has("shutdown done")) << run.Stderr();
    }
}

std::vector<BadFile> StartupFiles() {
    const char* const paths[] = {
        "config/text.csv",
        "gfx/blacklogonov.bmp",
        "avi/stellmar.avi",
        "avi/ovintro.avi",
        "music/track02.wav",
        "gfx/fonts/garamond14.bmp",
        "gfx/fonts/garamond14bold.bmp",
        "gfx/fonts/garamond24bold.bmp",
        "gfx/fonts/arial10.bmp",
        "gfx/fonts/garamond20bold.bmp",
        "gfx/fonts/garamond18bold.bmp",
        "gfx/fonts/arial8.bmp",
        "gfx/fonts/additional/coin.bmp",
        "gfx/town.bmp",
        "gfx/loadingbar.bmp",
        "sfx/wave/if_click.wav",
        "gfx/palette/palette.act",
        "gfx/palette/arrows.act",
        "gfx/palette/statusbar.act",
        "gfx/palette/blob.bmp",
        "gfx/palette/cred_backgroundpic_palette.bmp",
        "gfx/interface/cursor_select.bmp",
    };
    std::vector<BadFile> files;
    for (const char* path : paths)
        for (bool truncate : {false, true})
            files.push_back({path, truncate});
    return files;
}

INSTANTIATE_TEST_SUITE_P(Walk, StartupFile, testing::ValuesIn(StartupFiles()), Name);

// A settings file cut short is replaced by the defaults and saved whole.
TEST(StartupSettings, ShortSettingsFileIsReplaced) {
    e2e::ProgramRun run;
    std::ofstream(run.PathOf("config.ov"), std::ios::binary) << std::string(100, '\x7f');
    ASSERT_EQ(run.Run({"2 close"}), 0) << run.Stderr();
    EXPECT_TRUE(run.Has("shutdown done"));
    EXPECT_EQ(std::filesystem::file_size(run.PathOf("config.ov")), 620u);
}

} // namespace
