// Start-up time from launch to the main loop in the demo world (the real
// program, headless, closed on its first pass) without the intro movies
// (the copied game folder holds none, so start-up passes them over), against
// reading and plainly parsing the files that start-up opens, in the same
// run. BM_StartupRatio times both in the same iterations and reports ratio =
// start-up time / plain time; the goal is 4 or less (the program also starts
// a process, its display, sound and timer).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace {

constexpr double kGoalRatio = 4.0;

// The files of the demo world that start-up opens on its way to the main
// loop (headless, without sound), the movies left out.
const char* const kStartupFiles[] = {
    "config/text.csv",
    "db/buildingcosts.csv",
    "db/colonists.csv",
    "db/diplomaticmatrix.csv",
    "db/goods.csv",
    "db/infra.csv",
    "db/land.csv",
    "db/naval.csv",
    "db/province.csv",
    "db/revolt.csv",
    "db/revolt.txt",
    "db/tax_stab.csv",
    "db/trade.csv",
    "db/traders.csv",
    "gfx/blacklogonov.bmp",
    "gfx/fonts/additional/coin.bmp",
    "gfx/fonts/arial10.bmp",
    "gfx/fonts/arial8.bmp",
    "gfx/fonts/garamond14.bmp",
    "gfx/fonts/garamond14bold.bmp",
    "gfx/fonts/garamond18bold.bmp",
    "gfx/fonts/garamond20bold.bmp",
    "gfx/fonts/garamond24bold.bmp",
    "gfx/interface/cursor_select.bmp",
    "gfx/loadingbar.bmp",
    "gfx/map/minimapempty.bmp",
    "gfx/map/minimapfull.bmp",
    "gfx/palette/arrows.act",
    "gfx/palette/blob.bmp",
    "gfx/palette/cred_backgroundpic_palette.bmp",
    "gfx/palette/palette.act",
    "gfx/palette/statusbar.act",
    "gfx/town.bmp",
    "map/adjacent.tbl",
    "map/boundbox.tbl",
    "map/colorscales.csv",
    "map/idgrid.tbl",
    "map/incgrid.tbl",
    "map/lightmap1.tbl",
    "map/lightmap2.tbl",
    "map/lightmap3.tbl",
    "map/lightmap4.tbl",
    "map/lightmap5.tbl",
    "map/terrain types.csv",
    "sfx/wave/if_GIM_failure.wav",
    "sfx/wave/if_GIM_success.wav",
    "sfx/wave/if_assault.wav",
    "sfx/wave/if_blip.wav",
    "sfx/wave/if_booh.wav",
    "sfx/wave/if_build_navy.wav",
    "sfx/wave/if_build_structure.wav",
    "sfx/wave/if_click.wav",
    "sfx/wave/if_close.wav",
    "sfx/wave/if_disband_army.wav",
    "sfx/wave/if_disband_navy.wav",
    "sfx/wave/if_done_army.wav",
    "sfx/wave/if_done_navy.wav",
    "sfx/wave/if_done_structure.wav",
    "sfx/wave/if_dragover.wav",
    "sfx/wave/if_event.wav",
    "sfx/wave/if_explore.wav",
    "sfx/wave/if_eyr_init.wav",
    "sfx/wave/if_move_art.wav",
    "sfx/wave/if_move_navy.wav",
    "sfx/wave/if_nope.wav",
    "sfx/wave/if_random1.wav",
    "sfx/wave/if_random2.wav",
    "sfx/wave/if_revolt2.wav",
    "sfx/wave/if_tb_colonist.wav",
    "sfx/wave/if_tb_diplomat.wav",
    "sfx/wave/if_tb_merchant.wav",
    "sfx/wave/if_tb_trade.wav",
    "sfx/wave/if_war.wav",
    "sfx/wave/land_cannon1.wav",
    "sfx/wave/land_cannon2.wav",
    "sfx/wave/land_cannon3.wav",
    "sfx/wave/land_cheer.wav",
    "sfx/wave/land_death.wav",
    "sfx/wave/land_musket1.wav",
    "sfx/wave/land_musket2.wav",
    "sfx/wave/land_musket3.wav",
    "sfx/wave/land_sword1.wav",
    "sfx/wave/land_sword2.wav",
    "sfx/wave/land_sword3.wav",
    "sfx/wave/sea_cannon1.wav",
    "sfx/wave/sea_cannon2.wav",
    "sfx/wave/sea_cannon3.wav",
    "sfx/wave/sea_cheer.wav",
    "sfx/wave/sea_death.wav",
    "sfx/wave/sea_init.wav",
};

// A game folder with the demo world in it, the movies taken out.
struct StartupFolder {
    test::TempDir dir;

    StartupFolder() {
        std::filesystem::copy(test::DemoWorldDir(), dir.Path(),
                              std::filesystem::copy_options::recursive);
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "avi", ec))
            std::filesystem::remove(entry.path(), ec);
        dir.WriteFile("bench_script.txt", "0 close\n");
    }
};

StartupFolder& Folder() {
    static StartupFolder folder;
    return folder;
}

bool RunToTheMainLoop() {
    const std::string command =
        "cd '" + Folder().dir.Path().string() +
        "' && ORVANDEL_DISPLAY=null ORVANDEL_AUDIO=null ORVANDEL_VIRTUAL_CLOCK=15 "
        "ORVANDEL_SCRIPT=bench_script.txt ORVANDEL_BOX_ANSWER=ignore '" ORV_PROGRAM "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

uint32_t Le16(const std::vector<char>& bytes, size_t at) {
    if (at + 2 > bytes.size())
        return 0;
    return static_cast<uint8_t>(bytes[at]) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

uint32_t Le32(const std::vector<char>& bytes, size_t at) {
    return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

uint16_t To565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

// A BMP's pixels as 16-bit colours, rows turned top down.
size_t ParseBmp(const std::vector<char>& bytes, std::vector<uint16_t>& pixels) {
    const uint32_t offset = Le32(bytes, 10);
    const auto width = static_cast<int32_t>(Le32(bytes, 18));
    const auto height = static_cast<int32_t>(Le32(bytes, 22));
    const uint32_t bits = Le16(bytes, 28);
    const int32_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows <= 0 || (bits != 8 && bits != 16 && bits != 24))
        return 0;
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) & ~size_t{3};
    if (offset + stride * static_cast<size_t>(rows) > bytes.size())
        return 0;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(rows));
    const size_t palette = 14 + Le32(bytes, 14);
    for (int32_t y = 0; y < rows; ++y) {
        const char* row = bytes.data() + offset + stride * static_cast<size_t>(rows - 1 - y);
        uint16_t* out = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            if (bits == 8) {
                const size_t entry = palette + 4 * static_cast<uint8_t>(row[x]);
                out[x] = entry + 3 <= bytes.size() ? To565(static_cast<uint8_t>(bytes[entry + 2]),
                                                           static_cast<uint8_t>(bytes[entry + 1]),
                                                           static_cast<uint8_t>(bytes[entry]))
                                                   : 0;
            } else if (bits == 16) {
                std::memcpy(&out[x], row + 2 * x, 2);
            } else {
                out[x] =
                    To565(static_cast<uint8_t>(row[3 * x + 2]),
                          static_cast<uint8_t>(row[3 * x + 1]), static_cast<uint8_t>(row[3 * x]));
            }
        }
    }
    return pixels.size();
}

// A WAV's sample bytes, found by walking its chunks.
size_t ParseWav(const std::vector<char>& bytes, std::vector<char>& samples) {
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = Le32(bytes, at + 4);
        if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            const size_t count = std::min<size_t>(size, bytes.size() - at - 8);
            samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + count));
            return count;
        }
        at += 8 + size + (size & 1);
    }
    return 0;
}

// A text table's cells: their starts, split at ";" and line ends.
size_t ParseText(const std::vector<char>& bytes, std::vector<uint32_t>& cells) {
    cells.clear();
    cells.push_back(0);
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == ';' || bytes[i] == '\n')
            cells.push_back(static_cast<uint32_t>(i + 1));
    return cells.size();
}

// Every start-up file read whole and parsed by its kind.
size_t ReadAndParsePlainly(const std::vector<std::filesystem::path>& files) {
    std::vector<char> bytes;
    std::vector<uint16_t> pixels;
    std::vector<char> samples;
    std::vector<uint32_t> cells;
    size_t total = 0;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        bytes.resize(static_cast<size_t>(std::filesystem::file_size(file)));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const std::string kind = file.extension().string();
        if (kind == ".bmp")
            total += ParseBmp(bytes, pixels);
        else if (kind == ".wav")
            total += ParseWav(bytes, samples);
        else if (kind == ".tbl")
            for (size_t i = 0; i + 2 <= bytes.size(); i += 2)
                total += Le16(bytes, i);
        else if (kind == ".act")
            for (size_t i = 0; i + 3 <= bytes.size(); i += 3)
                total += To565(static_cast<uint8_t>(bytes[i]), static_cast<uint8_t>(bytes[i + 1]),
                               static_cast<uint8_t>(bytes[i + 2]));
        else
            total += ParseText(bytes, cells);
    }
    return total;
}

std::vector<std::filesystem::path> StartupFiles() {
    std::vector<std::filesystem::path> files;
    for (const char* path : kStartupFiles)
        files.push_back(Folder().dir.Path() / path);
    return files;
}

// Baseline: every file start-up opens, read whole and parsed plainly.
void BM_ReadStartupFilesPlainly(benchmark::State& state) {
    const std::vector<std::filesystem::path> files = StartupFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndParsePlainly(files));
}
BENCHMARK(BM_ReadStartupFilesPlainly)->Unit(benchmark::kMillisecond);

// The program from launch to its first main loop pass, closed there.
void BM_StartupToMainLoop(benchmark::State& state) {
    Folder();
    for (auto _ : state)
        if (!RunToTheMainLoop())
            state.SkipWithError("the program failed");
}
BENCHMARK(BM_StartupToMainLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

// Both in each iteration: ratio = start-up time / plain time.
void BM_StartupRatio(benchmark::State& state) {
    const std::vector<std::filesystem::path> files = StartupFiles();
    using Clock = std::chrono::steady_clock;
    double startup = 0.0;
    double plain = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (!RunToTheMainLoop())
            state.SkipWithError("the program failed");
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(ReadAndParsePlainly(files));
        const auto t2 = Clock::now();
        startup += std::chrono::duration<double>(t1 - t0).count();
        plain += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = plain > 0.0 ? startup / plain : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kGoalRatio;
    state.counters["files"] = static_cast<double>(files.size());
    state.SetLabel(ratio <= kGoalRatio ? "start-up within its goal"
                                       : "start-up slower than its goal");
}
BENCHMARK(BM_StartupRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
