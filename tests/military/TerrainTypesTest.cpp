#include <gtest/gtest.h>

#include <string>

#include "country/Country.h"
#include "military/StartupTables.h"
#include "military/units/NavalUnit.h"
#include "military/units/TerrainTypes.h"
#include "military/units/Unit.h"
#include "tests/TestSupport.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

std::string Name(int32_t row) {
    return g_terrainNames[static_cast<size_t>(row)].data();
}
double Value(int32_t row) {
    return g_terrainValues[static_cast<size_t>(row)];
}

// Ten good rows, CR LF.
std::string GoodTable() {
    std::string text = "id;name;movement\r\n";
    for (int32_t row = 0; row < kTerrainTypeCount; ++row)
        text += std::to_string(row) + ";kind" + std::to_string(row) + ";" +
                std::to_string(row + 1) + ".5\r\n";
    return text;
}

class TerrainTypesTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_terrainCosts = {};
        g_terrainNames = {};
        g_terrainValues = {};
    }
    // Loads the text as the table; the result of the load.
    bool Load(const std::string& text) {
        m_folder.WriteFile("map/terrain types.csv", text);
        return LoadTerrainTypes();
    }

    test::ScopedGameDir m_folder;
    test::BoxRecorder m_boxes;
};

TEST_F(TerrainTypesTest, TheDemoWorldsTableLoadsAndReachesThePathSearch) {
    test::InFolder demo(test::DemoWorldDir());
    ASSERT_TRUE(LoadTerrainTypes());
    EXPECT_TRUE(m_boxes.texts.empty());
    EXPECT_EQ(Name(0), "plains");
    EXPECT_EQ(Name(5), "sea");
    for (int32_t row = 0; row < kTerrainTypeCount; ++row) {
        EXPECT_GT(Value(row), 0.0) << row;
        EXPECT_EQ(g_terrainCosts[static_cast<size_t>(row)], Value(row)) << row;
    }
}

TEST_F(TerrainTypesTest, GoodTablesInTheirVariants) {
    struct Case {
        const char* what;
        std::string text;
    };
    std::string unix = GoodTable();
    for (size_t at; (at = unix.find('\r')) != std::string::npos;)
        unix.erase(at, 1);
    std::string noLastLineEnd = GoodTable();
    noLastLineEnd.resize(noLastLineEnd.size() - 2);
    std::string extraCells = GoodTable();
    for (size_t at = 0; (at = extraCells.find(".5\r\n", at)) != std::string::npos; at += 8)
        extraCells.replace(at, 4, ".5;x;y\r\n");
    std::string blanks = GoodTable();
    blanks.replace(blanks.find(";1.5"), 4, "; 1.5 ");
    for (const Case& c :
         {Case{"crlf", GoodTable()}, Case{"lf", unix}, Case{"no last line end", noLastLineEnd},
          Case{"extra cells", extraCells}, Case{"blanks", blanks}}) {
        SCOPED_TRACE(c.what);
        m_boxes.texts.clear();
        EXPECT_TRUE(Load(c.text));
        EXPECT_TRUE(m_boxes.texts.empty());
        for (int32_t row = 0; row < kTerrainTypeCount; ++row) {
            EXPECT_EQ(Name(row), "kind" + std::to_string(row));
            EXPECT_DOUBLE_EQ(Value(row), row + 1.5);
            EXPECT_DOUBLE_EQ(g_terrainCosts[static_cast<size_t>(row)], row + 1.5);
        }
    }
}

TEST_F(TerrainTypesTest, ABadTableIsReportedAndLeavesPlainFactors) {
    const std::string good = GoodTable();
    // The text up to (not including) row n's line.
    const auto upToRow = [&](int32_t n) {
        size_t at = 0;
        for (int32_t i = 0; i <= n; ++i)
            at = good.find('\n', at) + 1;
        return good.substr(0, at);
    };
    struct Case {
        std::string text;
        const char* box;
        int32_t rowsRead; // rows with the good values; the rest are 1.0
    };
    const Case cases[] = {
        {"", "no rows after its header", 0},
        {upToRow(3), "only 3 of its 10 rows", 3},
        {upToRow(2) + "2;mountain;steep\r\n", "row 3: the value \"steep\" is not a number", 2},
        {upToRow(0) + "0;plains;1.5x\r\n", "row 1: the value \"1.5x\" is not a number", 0},
        {upToRow(4) + "4;marsh;nan\r\n", "is not a number", 4},
        {upToRow(4) + "4;marsh;1e999\r\n", "is not a number", 4},
        {upToRow(4) + "4;marsh;\r\n", "is not a number", 4},
        {upToRow(5) + "5;sea\r\n6;lake;1\r\n", "row 6: no value", 5},
        {upToRow(5) + "5\r\n", "row 6: no name and no value", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        m_boxes.texts.clear();
        EXPECT_FALSE(Load(c.text));
        EXPECT_TRUE(m_boxes.Shown("terrain types.csv")) << c.text;
        EXPECT_TRUE(m_boxes.Shown(c.box)) << (m_boxes.texts.empty() ? "" : m_boxes.texts[0]);
        for (int32_t row = 0; row < kTerrainTypeCount; ++row) {
            const double expected = row < c.rowsRead ? row + 1.5 : 1.0;
            EXPECT_DOUBLE_EQ(Value(row), expected) << row;
            EXPECT_DOUBLE_EQ(g_terrainCosts[static_cast<size_t>(row)], expected) << row;
        }
    }
}

TEST_F(TerrainTypesTest, AMissingTableIsReportedAndLeavesPlainFactors) {
    EXPECT_FALSE(LoadTerrainTypes());
    EXPECT_FALSE(m_boxes.texts.empty());
    for (int32_t row = 0; row < kTerrainTypeCount; ++row)
        EXPECT_DOUBLE_EQ(g_terrainCosts[static_cast<size_t>(row)], 1.0);
}

TEST(ProvinceTerrainIndexTest, AnswersTheProvinceTypeHeldToTheTable) {
    CProvince& p = g_provinces[17];
    for (const auto& [terrain, row] : {std::pair{0, 0}, {5, 5}, {9, 9}, {12, 9}, {-3, 0}}) {
        p.terrain = terrain;
        EXPECT_EQ(GetProvinceTerrainIndex(17), row) << terrain;
    }
    p.terrain = 0;
    EXPECT_EQ(GetProvinceTerrainIndex(0), 0);
    EXPECT_EQ(GetProvinceTerrainIndex(99999), 0);
}

// The units answer the path search through its hooks, and an army steps
// through its own country's port at half the time.
TEST(PathSearchUnitsTest, UnitsAnswerThePathSearch) {
    CCountry country{5};
    CLandUnit army(&country);
    CNavalUnit fleet(&country);
    CLandUnit stray(nullptr);
    ASSERT_NE(g_pathSearchHooks.unitCountry, nullptr);
    EXPECT_EQ(g_pathSearchHooks.unitCountry(army), 5);
    EXPECT_EQ(g_pathSearchHooks.unitCountry(stray), -1);
    EXPECT_FALSE(g_pathSearchHooks.unitIsFleet(army));
    EXPECT_TRUE(g_pathSearchHooks.unitIsFleet(fleet));
    EXPECT_FALSE(g_pathSearchHooks.unitCanExplore(army)); // no leader

    CProvince& land = g_provinces[30];
    CProvince& sea = g_provinces[31];
    land.terrain = 0;
    land.region = 1;
    sea.terrain = 5;
    sea.region = 1;
    land.AddNeighbour({31, 0, 0});
    sea.AddNeighbour({30, 0, 0});
    land.discoveredBy[5] = 1;
    sea.discoveredBy[5] = 1;
    const PathSearchHooks saved = g_pathSearchHooks;
    // The days here are those of a unit of speed 1.
    g_pathSearchHooks.unitSpeed = [](const CUnit&) { return 1.0f; };
    g_pathSearchHooks.provinceHasFortress = [](const CProvince& p) { return p.GetNumber() == 30; };
    EXPECT_EQ(UnitStepDays(army, sea, land), 30); // nobody controls the port
    land.SetControllerField(&country);
    EXPECT_EQ(UnitStepDays(army, sea, land), 15);
    EXPECT_EQ(UnitStepDays(army, land, sea), 15);
    g_pathSearchHooks.provinceUnderSiege = [](const CProvince&) { return true; };
    EXPECT_EQ(UnitStepDays(army, sea, land), 30);
    EXPECT_EQ(UnitStepDays(fleet, sea, land), 15); // a fleet: 15 / speed
    g_pathSearchHooks = saved;
    land.ClearNeighbours();
    sea.ClearNeighbours();
    land.discoveredBy = {};
    sea.discoveredBy = {};
    land.terrain = sea.terrain = land.region = sea.region = 0;
}

} // namespace
