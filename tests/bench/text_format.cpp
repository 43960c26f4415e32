// Text format: writing a large generated file through the token writer,
// tokenizing it and reading it field by field, against a plain byte scan
// (counting "=" bytes) of the same file in the same run, so the figures can
// be given as ratios of the scan. BM_ReadingRatios times all three in the
// same iterations and reports the tokenizer's ratio (goal: 9 or less) and
// the field reader's (goal: 12 or less).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "data/TextOutput.h"
#include "data/TokenFile.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/TestSupport.h"

namespace {

constexpr int kProvinces = 40000;
// Goals, as ratios of the byte scan's time.
constexpr double kTokenizeGoal = 9.0;
constexpr double kFieldsGoal = 12.0;

// Writes the generated file: province blocks of the shape saved games hold,
// laid out with newlines and indents.
int32_t WriteProvinces(CFieldReader& out) {
    CTokenFile& file = *out.GetTokenFile();
    Token token;
    auto code = [&](uint32_t c) { return out.WriteToken(token.Set(c, file.TokenText(c))); };
    auto field = [&](uint32_t keyword) {
        code(TOKEN_NEWLINE);
        code(TOKEN_INDENT);
        code(keyword);
        return code(TOKEN_EQUALS);
    };
    int32_t result = FIELD_WRITTEN;
    for (int i = 1; i <= kProvinces && result == FIELD_WRITTEN; ++i) {
        code(KW_PROVINCE);
        code(TOKEN_EQUALS);
        code(TOKEN_OPEN_BRACE);
        field(KW_ID);
        out.WriteToken(token.SetInt(i));
        field(KW_NAME);
        code(TOKEN_QUOTE);
        out.WriteToken(token.SetString(("Province " + std::to_string(i)).c_str()));
        code(TOKEN_QUOTE);
        code(TOKEN_BLANK);
        field(KW_OWNINGCOUNTRY);
        out.WriteToken(token.SetString(i % 3 ? "ENG" : "FRA"));
        code(TOKEN_BLANK);
        field(KW_TAX);
        out.WriteToken(token.SetFloat(static_cast<float>(i % 100) * 0.25f));
        field(KW_LOOTED);
        out.WriteToken(token.SetBool(i % 2));
        field(KW_VALUES);
        code(TOKEN_OPEN_BRACE);
        for (int v = 0; v < 4; ++v)
            out.WriteToken(token.SetInt(i * 4 + v));
        code(TOKEN_CLOSE_BRACE);
        field(KW_DATE);
        code(TOKEN_OPEN_BRACE);
        code(KW_YEAR);
        code(TOKEN_EQUALS);
        out.WriteToken(token.SetInt(1492 + i % 300));
        code(KW_MONTH);
        code(TOKEN_EQUALS);
        code(KW_JANUARY + static_cast<uint32_t>(i % 12));
        code(KW_DAY);
        code(TOKEN_EQUALS);
        out.WriteToken(token.SetInt(i % 30));
        code(TOKEN_CLOSE_BRACE);
        code(TOKEN_NEWLINE);
        result = code(TOKEN_CLOSE_BRACE);
        code(TOKEN_NEWLINE);
        code(TOKEN_NEWLINE);
    }
    return result;
}

// A temp folder holding the generated file, written once.
struct Fixture {
    test::TempDir dir;
    std::string path;
    int64_t bytes = 0;

    Fixture() {
        platform::SetBoxHandler(
            [](const std::string&, const std::string&) { return platform::BoxAnswer::Ignore; });
        BuildKeywordIndex();
        path = (dir.Path() / "provinces.ovg").string();
        CFieldReader out;
        out.Open(path, "w");
        WriteProvinces(out);
        out.Close();
        bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    }
};

Fixture& GetFixture() {
    static Fixture fixture;
    return fixture;
}

// Counts the "=" bytes of the file, read in 64 KiB blocks: a loop the
// compiler turns into vector instructions.
int64_t ByteScan(const std::string& path, std::vector<char>& buffer) {
    std::FILE* file = platform::OpenGameFile(path, "r");
    int64_t equals = 0;
    size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        for (size_t i = 0; i < got; ++i)
            equals += buffer[i] == '=';
    std::fclose(file);
    return equals;
}

int64_t Tokenize(const std::string& path) {
    CFieldReader in;
    in.Open(path, "r");
    int64_t tokens = 0;
    while (in.GetTokenFile()->Next() == 1)
        ++tokens;
    return tokens;
}

int64_t ReadFields(const std::string& path) {
    CFieldReader in;
    in.Open(path, "r");
    int64_t fields = 0;
    for (;;) {
        int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            break;
        if (result == FIELD_READ)
            ++fields;
        else
            in.GetTokenFile()->Next(); // the "}" of a block
    }
    return fields;
}

void BM_ByteScan(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state)
        benchmark::DoNotOptimize(ByteScan(fixture.path, buffer));
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_ByteScan)->Unit(benchmark::kMillisecond);

void BM_Tokenize(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(Tokenize(fixture.path));
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

void BM_ReadFields(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadFields(fixture.path));
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_ReadFields)->Unit(benchmark::kMillisecond);

// The scan, the tokenizer and the field reader over the same file in each
// iteration: the tokenizer's and the field reader's times as ratios of the
// scan's, each against its goal.
void BM_ReadingRatios(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    std::vector<char> buffer(64 * 1024);
    using Clock = std::chrono::steady_clock;
    double scan = 0.0;
    double tokenize = 0.0;
    double fields = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(ByteScan(fixture.path, buffer));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(Tokenize(fixture.path));
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(ReadFields(fixture.path));
        const auto t3 = Clock::now();
        scan += std::chrono::duration<double>(t1 - t0).count();
        tokenize += std::chrono::duration<double>(t2 - t1).count();
        fields += std::chrono::duration<double>(t3 - t2).count();
    }
    const double tokenizeRatio = scan > 0.0 ? tokenize / scan : 0.0;
    const double fieldsRatio = scan > 0.0 ? fields / scan : 0.0;
    state.counters["tokenize_ratio"] = tokenizeRatio;
    state.counters["tokenize_goal"] = kTokenizeGoal;
    state.counters["fields_ratio"] = fieldsRatio;
    state.counters["fields_goal"] = kFieldsGoal;
    state.SetLabel(tokenizeRatio <= kTokenizeGoal && fieldsRatio <= kFieldsGoal
                       ? "reading within its goals"
                       : "reading slower than its goals");
}
BENCHMARK(BM_ReadingRatios)->Unit(benchmark::kMillisecond);

void BM_Write(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    std::string path = (fixture.dir.Path() / "written.ovg").string();
    for (auto _ : state) {
        CFieldReader out;
        out.Open(path, "w");
        benchmark::DoNotOptimize(WriteProvinces(out));
    }
    state.SetBytesProcessed(state.iterations() * fixture.bytes);
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

} // namespace
