#include <gtest/gtest.h>

#include <string>

#include "military/StartupTables.h"
#include "military/combat/CombatTables.h"
#include "tests/TestSupport.h"

namespace {

// The results file: the first ten cells given, the rest counted up.
std::string ResultsFile(int32_t cells = kCombatResultCells) {
    const char* first[] = {"10", "1", "20", "2", "30", "3", "40", "4", "50", "5"};
    std::string text;
    for (int32_t cell = 0; cell < cells; ++cell) {
        text += cell < 10 ? std::string(first[cell]) : std::to_string(cell);
        text += (cell + 1) % 10 == 0 ? "\r\n" : ";";
    }
    return text;
}

std::string CodesFile(const std::string& firstLine = "A;B;NA;C;D;E;A") {
    std::string text = "x;0;1;2;3;4;5;6\r\n0;" + firstLine + "\r\n";
    for (int line = 1; line < kTechGroups; ++line)
        text += std::to_string(line) + ";E;E;E;E;E;E;E\r\n";
    return text;
}

class CombatTablesTest : public ::testing::Test {
protected:
    void TearDown() override { FreeCombatTables(); }
    void WriteAll(const std::string& results, const std::string& codes) {
        for (size_t file = 0; file < kCombatTableFiles.size(); ++file) {
            std::string path = kCombatTableFiles[file];
            for (char& c : path)
                if (c == '\\')
                    c = '/';
            m_folder.WriteFile(path, file == 0 ? results : codes);
        }
    }
    test::ScopedGameDir m_folder;
    test::BoxRecorder m_boxes;
};

TEST_F(CombatTablesTest, ResultsAreReadColumnByColumnAndCodesByLetter) {
    WriteAll(ResultsFile(), CodesFile());
    ASSERT_TRUE(LoadCombatTables());
    ASSERT_NE(g_combatTables, nullptr);
    for (size_t row = 0; row < 5; ++row) {
        EXPECT_FLOAT_EQ(g_combatTables->men[row][0], 0.1f * static_cast<float>(row + 1));
        EXPECT_FLOAT_EQ(g_combatTables->morale[row][0], static_cast<float>(row + 1));
    }
    // Cell 10 starts column 1 with row 0's men percentage.
    EXPECT_FLOAT_EQ(g_combatTables->men[0][1], 0.10f);
    EXPECT_FLOAT_EQ(g_combatTables->morale[4][15], 159.0f);
    const int32_t expected[] = {0, 1, -1, 2, 3, 4, 0};
    for (int32_t j = 0; j < kTechGroups; ++j) {
        EXPECT_EQ(g_combatTables->Code(CODES_LAND_FIRE, 0, j), expected[j]) << j;
        EXPECT_EQ(g_combatTables->Code(CODES_ASSAULT_DEFENDER, 0, j), expected[j]) << j;
    }
    EXPECT_EQ(g_combatTables->Code(CODES_NAVAL_SHOCK, 3, 3), 4);
}

TEST_F(CombatTablesTest, ColumnsAndGroupsStayInsideTheTables) {
    WriteAll(ResultsFile(), CodesFile());
    ASSERT_TRUE(LoadCombatTables());
    const CCombatTables& t = *g_combatTables;
    struct Case {
        int32_t column;
        int32_t read;
    } cases[] = {{-3, 0}, {0, 0}, {15, 15}, {16, 15}, {9 + 12, 15}};
    for (const Case& c : cases) {
        float men = 0, morale = 0;
        ASSERT_TRUE(t.Losses(2, c.column, 1000.0f, men, morale));
        EXPECT_FLOAT_EQ(men, t.men[2][static_cast<size_t>(c.read)] * 1000.0f * 0.2f) << c.column;
        EXPECT_FLOAT_EQ(morale, t.morale[2][static_cast<size_t>(c.read)] * 0.2f) << c.column;
    }
    float men = 1, morale = 1;
    EXPECT_FALSE(t.Losses(kNoLossCode, 3, 1000.0f, men, morale));
    EXPECT_EQ(men, 0.0f);
    EXPECT_EQ(morale, 0.0f);
    // Groups beyond 0..6 read the edge rows and columns.
    EXPECT_EQ(t.Code(CODES_LAND_FIRE, -5, 9), t.Code(CODES_LAND_FIRE, 0, 6));
    EXPECT_EQ(t.Code(CODES_LAND_FIRE, 42, 1), t.Code(CODES_LAND_FIRE, 6, 1));
}

TEST_F(CombatTablesTest, BadFilesAreReportedAndLoadNothing) {
    struct Case {
        const char* what;
        std::string results;
        std::string codes;
    } cases[] = {
        {"159 result cells", ResultsFile(159), CodesFile()},
        {"a word among the results", "x;" + ResultsFile().substr(3), CodesFile()},
        {"a code line of six codes", ResultsFile(), CodesFile("A;B;C;D;E;A")},
        {"no code lines", ResultsFile(), "heading only\r\n"},
    };
    for (const Case& c : cases) {
        m_boxes.texts.clear();
        WriteAll(c.results, c.codes);
        EXPECT_FALSE(LoadCombatTables()) << c.what;
        EXPECT_EQ(g_combatTables, nullptr) << c.what;
        EXPECT_EQ(m_boxes.texts.size(), 1u) << c.what;
    }
}

TEST_F(CombatTablesTest, TheDemoWorldsTablesLoad) {
    test::InFolder demo(test::DemoWorldDir());
    ASSERT_TRUE(LoadCombatTables());
    EXPECT_TRUE(m_boxes.texts.empty());
    EXPECT_GT(g_combatTables->men[4][15], g_combatTables->men[0][0]);
    EXPECT_EQ(g_combatTables->Code(CODES_LAND_FIRE, 0, 0), kNoLossCode);
    EXPECT_EQ(g_combatTables->Code(CODES_LAND_SHOCK, 3, 3), 2);
}

} // namespace
