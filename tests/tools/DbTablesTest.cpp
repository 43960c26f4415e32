// The db tables the demo world generator writes, read back with the game's
// CSV reader: the shapes the game's loaders rely on (row and column counts,
// closing rows, tags the game knows, rising years and values).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "country/CountryTags.h"
#include "engine/CsvReader.h"
#include "tests/TestSupport.h"
#include "tools/DemoCountryTags.h"
#include "tools/DemoWorld.h"
#include "world/Goods.h"

namespace {

using Row = std::vector<std::string>;
using Table = std::vector<Row>;

const char* const kTables[] = {
    "db/goods.csv",     "db/tax_stab.csv", "db/buildingcosts.csv", "db/diplomaticmatrix.csv",
    "db/land.csv",      "db/naval.csv",    "db/infra.csv",         "db/trade.csv",
    "db/colonists.csv", "db/traders.csv",
};

// Runs the writers of the named files into the folder.
void WriteTables(const std::filesystem::path& game) {
    const std::vector<demo::RegisteredWriter> writers = demo::Writers();
    for (const char* name : kTables) {
        auto writer = std::find_if(writers.begin(), writers.end(),
                                   [&](const demo::RegisteredWriter& w) { return w.name == name; });
        ASSERT_NE(writer, writers.end()) << "no writer for " << name;
        ASSERT_TRUE(writer->function(game)) << name;
    }
}

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool IsInteger(const std::string& cell) {
    static const std::regex kInteger("-?[0-9]+");
    return std::regex_match(cell, kInteger);
}

bool IsNumber(const std::string& cell) {
    static const std::regex kNumber("-?[0-9]+(\\.[0-9]+)?");
    return std::regex_match(cell, kNumber);
}

double Number(const std::string& cell) {
    return std::strtod(cell.c_str(), nullptr);
}

class DbTablesTest : public ::testing::Test {
protected:
    void SetUp() override { WriteTables(dir.Path()); }

    // The file as rows of cells, cut the way the game's reader cuts them.
    Table Read(const char* name) const {
        CCsvReader csv((dir.Path() / name).string());
        EXPECT_TRUE(csv.IsOpen()) << name;
        Table rows;
        Row row;
        char cell[256];
        for (;;) {
            const bool more = csv.ReadString(cell, sizeof cell);
            if (!more) {
                if (cell[0] != '\0' || !row.empty()) {
                    row.push_back(cell);
                    rows.push_back(row);
                }
                break;
            }
            row.push_back(cell);
            if (csv.LastCellEndedLine()) {
                rows.push_back(row);
                row.clear();
            }
        }
        EXPECT_EQ(csv.GetCutCells(), 0u) << name;
        return rows;
    }

    test::TempDir dir;
    test::BoxRecorder boxes;
};

} // namespace

TEST_F(DbTablesTest, TablesAreTheSameOnEveryRunAndEndTheirLinesInCrLf) {
    test::TempDir again;
    WriteTables(again.Path());
    for (const char* name : kTables) {
        SCOPED_TRACE(name);
        const std::string bytes = Bytes(dir.Path() / name);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, Bytes(again.Path() / name));
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "bare line feed at byte " << at;
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DbTablesTest, TechnologyTablesHoldTheLevelsTheGameReads) {
    struct Case {
        const char* name;
        size_t levels;
        size_t columns;
        std::vector<size_t> rising; // value columns (0-based) that rise with the level
    };
    const Case cases[] = {
        {"db/land.csv", 53, 12, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"db/naval.csv", 43, 11, {2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"db/infra.csv", 11, 3, {2}},
        {"db/trade.csv", 11, 3, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table rows = Read(c.name);
        // The header and exactly the rows the game reads: a missing row
        // would leave a level the game cannot use, an extra one is never read.
        ASSERT_EQ(rows.size(), 1 + c.levels);
        for (size_t level = 0; level < c.levels; ++level) {
            const Row& row = rows[1 + level];
            SCOPED_TRACE("level " + std::to_string(level));
            ASSERT_EQ(row.size(), c.columns);
            for (const std::string& cell : row)
                EXPECT_TRUE(IsNumber(cell)) << "'" << cell << "'";
            EXPECT_TRUE(IsInteger(row[1]));
            const int year = std::atoi(row[1].c_str());
            EXPECT_GE(year, 1400);
            EXPECT_LE(year, 1820);
            if (level == 0)
                continue;
            const Row& before = rows[level];
            // A level costs (its year - the year before) x 300: never free
            // nor negative.
            EXPECT_GT(year, std::atoi(before[1].c_str()));
            for (size_t column : c.rising)
                EXPECT_GE(Number(row[column]), Number(before[column])) << "column " << column + 1;
        }
        for (size_t column : c.rising)
            EXPECT_GT(Number(rows.back()[column]), Number(rows[1][column]))
                << "column " << column + 1;
    }

    // Artillery may first be raised at land level 3: no fire or shock
    // before, some from there on.
    const Table land = Read("db/land.csv");
    for (size_t level = 0; level < 53; ++level) {
        const bool guns = level >= 3;
        EXPECT_EQ(Number(land[1 + level][4]) > 0, guns) << level;
        EXPECT_EQ(Number(land[1 + level][7]) > 0, guns) << level;
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DbTablesTest, StabilityTaxTableGivesEveryLevelOnceRisingWithTheLevel) {
    const Table rows = Read("db/tax_stab.csv");
    // The game reads seven rows; a repeated level would leave another at 1.0.
    ASSERT_EQ(rows.size(), 1u + 7u);
    for (int level = -3; level <= 3; ++level) {
        const Row& row = rows[static_cast<size_t>(level + 4)];
        ASSERT_EQ(row.size(), 2u);
        EXPECT_TRUE(IsInteger(row[0]) && IsInteger(row[1]));
        EXPECT_EQ(std::atoi(row[0].c_str()), level);
        const int percent = std::atoi(row[1].c_str());
        EXPECT_GT(100 + percent, 0) << "level " << level << " would take every tax";
        if (level == 0) {
            EXPECT_EQ(percent, 0);
        }
        if (level > -3) {
            EXPECT_GT(percent, std::atoi(rows[static_cast<size_t>(level + 3)][1].c_str()));
        }
    }
}

TEST_F(DbTablesTest, GoodsTableFillsEverySlotOnce) {
    const Table rows = Read("db/goods.csv");
    ASSERT_EQ(rows.size(), 1u + kGoodsSlots);
    std::set<uint32_t> ids;
    for (size_t r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        SCOPED_TRACE(row.empty() ? "" : row[0]);
        ASSERT_EQ(row.size(), 5u);
        const uint32_t id = GetGoodsId(row[0]);
        // Every other word lands in slot 0: only "NOTHING" may.
        EXPECT_TRUE(id != 0 || row[0] == "NOTHING");
        EXPECT_EQ(id, r - 1) << "rows follow the goods ids";
        ids.insert(id);
        for (size_t c = 1; c < 5; ++c)
            EXPECT_TRUE(IsInteger(row[c]));
        EXPECT_EQ(std::atoi(row[1].c_str()) > 0, id != 0) << "base price";
        for (size_t c : {2, 3})
            EXPECT_TRUE(row[c] == "0" || row[c] == "1");
    }
    EXPECT_EQ(ids.size(), kGoodsSlots);
}

TEST_F(DbTablesTest, TagListAgreesWithTheGamesTagTable) {
    for (const demo::CountryTag& country : demo::kCountryTags) {
        EXPECT_EQ(FindCountryByTag(country.tag), country.number) << country.tag;
        EXPECT_STREQ(FindCountryTagOfNumber(static_cast<uint32_t>(country.number)), country.tag);
    }
}

TEST_F(DbTablesTest, BuildingCostsGiveEveryCountryOneRowOfClasses) {
    const Table rows = Read("db/buildingcosts.csv");
    ASSERT_GE(rows.size(), 2u);
    ASSERT_EQ(rows.back()[0], "END");
    std::set<int32_t> numbers;
    for (size_t r = 1; r + 1 < rows.size(); ++r) {
        const Row& row = rows[r];
        SCOPED_TRACE(row[0]);
        const int32_t number = FindCountryByTag(row[0].c_str());
        EXPECT_NE(number, 0) << "unknown tag, row skipped";
        EXPECT_TRUE(numbers.insert(number).second) << "second row of a country";
        ASSERT_EQ(row.size(), 7u);
        for (size_t c = 1; c < 7; ++c)
            EXPECT_TRUE(row[c] == "A" || row[c] == "B" || row[c] == "C" || row[c] == "D" ||
                        row[c] == "0")
                << "'" << row[c] << "'";
        EXPECT_NE(row[1], "0") << "every country raises infantry";
    }
    EXPECT_EQ(numbers.size(), 98u);
}

TEST_F(DbTablesTest, DiplomaticMatrixIsSquareOverEveryCountry) {
    const Table rows = Read("db/diplomaticmatrix.csv");
    ASSERT_GE(rows.size(), 2u);
    const Row& header = rows[0];
    const auto end = std::find(header.begin(), header.end(), "END");
    ASSERT_NE(end, header.end());
    const std::vector<std::string> columns(header.begin() + 1, end);
    std::set<int32_t> columnNumbers;
    for (const std::string& tag : columns) {
        EXPECT_NE(FindCountryByTag(tag.c_str()), 0) << tag;
        columnNumbers.insert(FindCountryByTag(tag.c_str()));
    }
    EXPECT_EQ(columnNumbers.size(), 98u);
    EXPECT_EQ(columnNumbers.count(0), 0u);

    ASSERT_EQ(rows.back(), Row{"END"});
    std::set<int32_t> rowNumbers;
    for (size_t r = 1; r + 1 < rows.size(); ++r) {
        const Row& row = rows[r];
        SCOPED_TRACE(row[0]);
        const int32_t number = FindCountryByTag(row[0].c_str());
        EXPECT_NE(number, 0);
        EXPECT_TRUE(rowNumbers.insert(number).second);
        ASSERT_EQ(row.size(), 1 + columns.size());
        for (size_t c = 0; c < columns.size(); ++c) {
            ASSERT_TRUE(IsInteger(row[1 + c])) << columns[c];
            const int value = std::atoi(row[1 + c].c_str());
            // Twenty times the value is the starting relation, -200..200.
            EXPECT_GE(value, -10) << columns[c];
            EXPECT_LE(value, 10) << columns[c];
            if (columns[c] == row[0]) {
                EXPECT_EQ(value, 0) << "toward itself";
            }
        }
    }
    EXPECT_EQ(rowNumbers, columnNumbers);
}

TEST_F(DbTablesTest, YearTablesFillThePeriodsTheGameLooksUp) {
    // The periods the game picks by year: before 1520 row 0 ... from 1760 on
    // row 6; the tables hold at most 10 rows.
    const int kPeriodStarts[] = {1520, 1560, 1615, 1665, 1700, 1760};
    for (const char* name : {"db/colonists.csv", "db/traders.csv"}) {
        SCOPED_TRACE(name);
        const Table rows = Read(name);
        ASSERT_GE(rows.size(), 3u);
        const Row& header = rows[1];
        const auto end = std::find(header.begin(), header.end(), "END");
        ASSERT_NE(end, header.end());
        const size_t columns = static_cast<size_t>(end - header.begin()) - 1;
        ASSERT_GT(columns, 0u);
        for (auto tag = header.begin() + 1; tag != end; ++tag)
            EXPECT_NE(FindCountryByTag(tag->c_str()), 0) << *tag;

        const size_t dataRows = rows.size() - 2;
        ASSERT_GE(dataRows, 7u);
        ASSERT_LE(dataRows, 10u);
        for (size_t r = 0; r < dataRows; ++r) {
            const Row& row = rows[2 + r];
            ASSERT_EQ(row.size(), 1 + columns);
            for (const std::string& cell : row)
                EXPECT_TRUE(IsInteger(cell)) << "'" << cell << "'";
            // Row r serves period r: its year lies in that period.
            if (r < 7) {
                const int year = std::atoi(row[0].c_str());
                if (r > 0) {
                    EXPECT_GE(year, kPeriodStarts[r - 1]) << "row " << r;
                }
                if (r < 6) {
                    EXPECT_LT(year, kPeriodStarts[r]) << "row " << r;
                }
            }
            for (size_t c = 1; c < row.size(); ++c)
                EXPECT_GE(std::atoi(row[c].c_str()), 0);
        }
    }
}
