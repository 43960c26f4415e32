// Loading and saving a large generated scenario (hundreds of provinces and
// units), beside reading the scenario's bytes and writing the saved game's
// bytes plainly, in one run. The save writes a temporary file and renames
// it; so does the plain writer, through the same file layer, with exactly
// the bytes the save wrote. BM_SaveRatio times both in the same iterations
// and reports ratio = save time / plain time; the goal is 3 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
constexpr double kSaveGoal = 3.0;

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

// The scenario read into an emptied world.
bool LoadScenario() {
    World();
    BenchWorld::Reset();
    CFieldReader in;
    in.Open("bench.ovg", "r");
    return ReadGameFile(in) == FIELD_BLOCK_END;
}

// The world loaded once and saved once; the saved bytes are what the plain
// writer writes.
const std::string& SavedBytes(benchmark::State& state) {
    static std::string saved;
    if (saved.empty()) {
        World();
        if (!LoadScenario() || SaveGameFile("bench_saved.ovg") != FIELD_WRITTEN) {
            state.SkipWithError("the game did not load or save");
            return saved;
        }
        std::ifstream in(World().folder / "bench_saved.ovg", std::ios::binary);
        saved.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return saved;
}

// The same bytes through the same file layer, the way a save writes them: a
// temporary file, then renamed over the old one.
bool WritePlainly(const std::string& bytes) {
    std::FILE* out = platform::OpenGameFile("bench_plain.ovg.tmp", "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written &&
           platform::ReplaceGameFile("bench_plain.ovg.tmp", "bench_plain.ovg");
}

// The same bytes as the scenario read plainly.
size_t ReadPlainly(std::vector<char>& buffer) {
    std::FILE* in = platform::OpenGameFile("bench.ovg", "rb");
    if (!in)
        return 0;
    const size_t read = std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
    return read;
}

void BM_LoadScenario(benchmark::State& state) {
    BenchWorld& world = World();
    for (auto _ : state)
        if (!LoadScenario())
            state.SkipWithError("the scenario did not read");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(world.bytes));
}

void BM_ReadSameBytesPlainly(benchmark::State& state) {
    BenchWorld& world = World();
    std::vector<char> buffer(world.bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPlainly(buffer));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(world.bytes));
}

void BM_SaveGame(benchmark::State& state) {
    const std::string& saved = SavedBytes(state);
    for (auto _ : state)
        if (SaveGameFile("bench_saved.ovg") != FIELD_WRITTEN)
            state.SkipWithError("the game did not save");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(saved.size()));
}

void BM_WriteSameBytesPlainly(benchmark::State& state) {
    const std::string& saved = SavedBytes(state);
    for (auto _ : state)
        if (!WritePlainly(saved))
            state.SkipWithError("the bytes did not write");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(saved.size()));
}

// Saving and writing the saved bytes plainly in each iteration: ratio = save
// time / plain time, against its goal.
void BM_SaveRatio(benchmark::State& state) {
    const std::string& saved = SavedBytes(state);
    using Clock = std::chrono::steady_clock;
    double save = 0.0;
    double plain = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (SaveGameFile("bench_saved.ovg") != FIELD_WRITTEN)
            state.SkipWithError("the game did not save");
        const auto t1 = Clock::now();
        if (!WritePlainly(saved))
            state.SkipWithError("the bytes did not write");
        const auto t2 = Clock::now();
        save += std::chrono::duration<double>(t1 - t0).count();
        plain += std::chrono::duration<double>(t2 - t1).count();
    }
    const double ratio = plain > 0.0 ? save / plain : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = kSaveGoal;
    state.counters["bytes"] = static_cast<double>(saved.size());
    state.SetLabel(ratio <= kSaveGoal ? "saving within its goal" : "saving slower than its goal");
}

BENCHMARK(BM_LoadScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSameBytesPlainly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSameBytesPlainly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRatio)->Unit(benchmark::kMillisecond);

} // namespace
