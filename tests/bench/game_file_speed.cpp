// Loading and saving a large generated scenario (hundreds of provinces and
// units), beside reading and writing the same bytes plainly, in one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/ObjectId.h"
#include "military/units/Unit.h"
#include "net/Scheduler.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "ui/MainScreen.h"

namespace {

constexpr int kCountries = 40;
constexpr int kProvincesPerCountry = 15; // 600 provinces
constexpr int kArmiesPerCountry = 10;    // 400 armies, 40 fleets with 40 more aboard

// The tag of the country number from the fixed tag table.
std::string Tag(int number) {
    return GetCountryTag(static_cast<uint32_t>(number));
}

// Appends the pieces to the text.
template <class... Pieces> void Append(std::string& text, const Pieces&... pieces) {
    (text.append(pieces), ...);
}

std::string Number(int value) {
    return std::to_string(value);
}

std::string GenerateScenario() {
    std::string text = "header = { name = \"Bench\" startyear = 1500 endyear = 1600 }\n"
                       "globaldata = { startdate = { year = 1500 month = january day = 0 } }\n";
    for (int id = 1; id <= kCountries * kProvincesPerCountry; ++id)
        Append(text, "province = { id = ", Number(id), " natives = ", Number(id % 50),
               " max = 60 income = ", Number(id % 9 + 1),
               " religion = catholic whiteman = yes }\n");
    for (int c = 1; c <= kCountries; ++c) {
        Append(text, "country = {\n    tag = ", Tag(c),
               "\n    treasury = 100\n    ownedprovinces = {");
        for (int p = 0; p < kProvincesPerCountry; ++p)
            Append(text, " ", Number((c - 1) * kProvincesPerCountry + p + 1));
        text += " }\n";
        const int home = (c - 1) * kProvincesPerCountry + 1;
        for (int a = 0; a < kArmiesPerCountry; ++a)
            Append(text, "    landunit = { name = \"Army ", Number(a),
                   "\" location = ", Number(home + a),
                   " infantry = 1000 cavalry = 200 artillery = 5 leader = { name = \"General ",
                   Number(c * 100 + a),
                   "\" category = general rank = 1 fire = 2 shock = 2 siege = 1 movement = 3 "
                   "startdate = { year = 1490 month = may day = 1 } deathdate = { year = 1550 "
                   "month = may day = 1 } } }\n");
        Append(text, "    navalunit = { name = \"Fleet\" location = ", Number(home),
               " warships = 4 galleys = 2 transports = 6 landunit = { name = \"Marines\" infantry "
               "= 800 } }\n}\n");
    }
    return text;
}

struct BenchWorld {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "orvandel-bench-game-file";
    size_t bytes = 0;

    BenchWorld() {
        platform::SetBoxHandler(
            [](const std::string&, const std::string&) { return platform::BoxAnswer::Ignore; });
        BuildKeywordIndex();
        g_mainScreen = new CMainScreen();
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        platform::ForgetPathCache();
        const std::string text = GenerateScenario();
        bytes = text.size();
        std::ofstream(folder / "bench.ovg", std::ios::binary) << text;
    }
    ~BenchWorld() {
        Reset();
        std::filesystem::current_path(previous);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    static void Reset() {
        g_scheduler.Clear();
        DeleteAllCountries();
        g_scenarioInfo.reset();
        InitIdRegistries(g_nullId);
    }
};

BenchWorld& World() {
    static BenchWorld world;
    return world;
}

void BM_LoadAndSaveScenario(benchmark::State& state) {
    BenchWorld& world = World();
    for (auto _ : state) {
        BenchWorld::Reset();
        CFieldReader in;
        in.Open("bench.ovg", "r");
        if (ReadGameFile(in) != FIELD_BLOCK_END)
            state.SkipWithError("the scenario did not read");
        in.Close();
        if (SaveGameFile("bench_saved.ovg") != FIELD_WRITTEN)
            state.SkipWithError("the game did not save");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(world.bytes));
}

// The same bytes read and written without being understood.
void BM_PlainReadAndWrite(benchmark::State& state) {
    BenchWorld& world = World();
    std::vector<char> buffer(world.bytes);
    for (auto _ : state) {
        std::FILE* in = platform::OpenGameFile("bench.ovg", "rb");
        size_t read = std::fread(buffer.data(), 1, buffer.size(), in);
        std::fclose(in);
        std::FILE* out = platform::OpenGameFile("bench_plain.ovg", "wb");
        std::fwrite(buffer.data(), 1, read, out);
        std::fclose(out);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(world.bytes));
}

BENCHMARK(BM_LoadAndSaveScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadAndWrite)->Unit(benchmark::kMillisecond);

} // namespace
