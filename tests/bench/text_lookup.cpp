// Text lookup: CTextDatabase::GetText over a few thousand keys loaded from a
// generated config\text.csv, against a case-blind std::map baseline holding
// the same texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/StringTree.h"
#include "engine/TextDatabase.h"
#include "tests/TestSupport.h"

namespace {

constexpr int kKeys = 4000;

struct LessNoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return CompareNoCase(a, b) < 0;
    }
};

// The keys in the file's (sorted) order and the same keys in lower case in a
// shuffled lookup order, with the database and the baseline built once.
struct Fixture {
    std::vector<std::string> lookups;
    CTextDatabase db;
    std::map<std::string, std::string, LessNoCase> baseline;

    Fixture() {
        std::vector<std::string> keys;
        char key[32];
        for (int i = 0; i < kKeys; ++i) {
            std::snprintf(key, sizeof key, "%s_%04d", i % 2 ? "TEXT_KEY" : "EVENT_NAME", i);
            keys.push_back(key);
        }
        std::sort(keys.begin(), keys.end(), LessNoCase());

        std::string table =
            "KEY;English;French;German;Spanish;Italian;Swedish;Polish;Russian;Czech;Dutch;x\n";
        for (const std::string& k : keys) {
            table += k;
            for (int c = 0; c < 10; ++c)
                table += ";text of " + k + " in language " + std::to_string(c);
            table += ";x\n";
        }
        table += "#EOF;\n";
        test::ScopedGameDir dir;
        dir.WriteFile("config/text.csv", table);
        db.Load(0);

        for (const std::string& k : keys)
            baseline.emplace(k, std::string("text of ") + k + " in language 0");
        std::mt19937 shuffle(12345);
        for (std::string k : keys) {
            for (char& ch : k)
                if (ch >= 'A' && ch <= 'Z')
                    ch = static_cast<char>(ch - 'A' + 'a');
            lookups.push_back(k);
        }
        std::shuffle(lookups.begin(), lookups.end(), shuffle);
    }
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

void BM_TextDatabaseGetText(benchmark::State& state) {
    Fixture& data = Data();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.db.GetText(data.lookups[i]));
        if (++i == data.lookups.size())
            i = 0;
    }
}
BENCHMARK(BM_TextDatabaseGetText);

void BM_StdMapCaseBlindLookup(benchmark::State& state) {
    Fixture& data = Data();
    size_t i = 0;
    for (auto _ : state) {
        auto it = data.baseline.find(data.lookups[i]);
        benchmark::DoNotOptimize(it == data.baseline.end() ? nullptr : it->second.c_str());
        if (++i == data.lookups.size())
            i = 0;
    }
}
BENCHMARK(BM_StdMapCaseBlindLookup);

} // namespace
