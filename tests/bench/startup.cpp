// Start-up time from launch to the main loop in the demo world (the real
// program, headless, closed on its first pass), against reading the files
// that start-up opens plainly, in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace {

const char* const kStartupFiles[] = {
    "config/text.csv",
    "gfx/blacklogonov.bmp",
    "avi/stellmar.avi",
    "avi/ovintro.avi",
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
    "gfx/palette/palette.act",
    "gfx/palette/arrows.act",
    "gfx/palette/statusbar.act",
    "gfx/palette/blob.bmp",
    "gfx/palette/cred_backgroundpic_palette.bmp",
    "gfx/interface/cursor_select.bmp",
    "music/track02.wav",
};

// Baseline: every file start-up opens, read whole (the sound effects too).
void BM_ReadStartupFilesPlainly(benchmark::State& state) {
    const std::filesystem::path game = test::DemoWorldDir();
    std::vector<std::filesystem::path> files;
    for (const char* path : kStartupFiles)
        files.push_back(game / path);
    for (const auto& entry : std::filesystem::directory_iterator(game / "sfx" / "wave"))
        files.push_back(entry.path());
    std::vector<char> buffer;
    for (auto _ : state) {
        size_t total = 0;
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            buffer.resize(static_cast<size_t>(std::filesystem::file_size(file)));
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            total += static_cast<size_t>(in.gcount());
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadStartupFilesPlainly)->Unit(benchmark::kMillisecond);

// The program from launch to its first main loop pass, closed there.
void BM_StartupToMainLoop(benchmark::State& state) {
    test::TempDir dir;
    std::filesystem::copy(test::DemoWorldDir(), dir.Path(),
                          std::filesystem::copy_options::recursive);
    dir.WriteFile("bench_script.txt", "0 close\n");
    const std::string command =
        "cd '" + dir.Path().string() +
        "' && ORVANDEL_DISPLAY=null ORVANDEL_AUDIO=null ORVANDEL_VIRTUAL_CLOCK=15 "
        "ORVANDEL_SCRIPT=bench_script.txt ORVANDEL_BOX_ANSWER=ignore '" ORV_PROGRAM "' 2>/dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("the program failed");
}
BENCHMARK(BM_StartupToMainLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
