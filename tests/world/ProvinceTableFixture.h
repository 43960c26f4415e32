#pragma once
// A fixture for the province table tests: a fresh game folder with a goods
// table and a province table of 1473 rows built from default cells that a
// test may change, and a clean province array afterwards.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "world/Areas.h"
#include "world/Goods.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"

namespace test {

class ProvinceTableTest : public ::testing::Test {
public:
    using Cells = std::array<std::string, 52>; // index = column, 0 unused

    static constexpr const char* kGoodsTable = "goods;price;a;b;value\n"
                                               "NOTHING;0;0;0;0\n"
                                               "GRAI;2;0;0;20\n"
                                               "WINE;5;1;0;50\n"
                                               "CLO;7;0;1;70\n";

    void SetUp() override {
        ResetAll();
        rows.resize(kProvinceSlots);
        for (int32_t id = 0; id < kProvinceSlots; ++id)
            rows[static_cast<size_t>(id)] = DefaultRow(id);
        dir.WriteFile("db/goods.csv", kGoodsTable);
        dir.WriteFile("db/straits.csv", "-1;-1\n");
    }
    void TearDown() override { ResetAll(); }

    static void ResetAll() {
        for (CProvince& province : g_provinces) {
            province.ResetForGame();
            province.ClearNeighbours();
            province.box = {};
            province.area = province.region = province.continent = 0;
            province.terrain = 0;
        }
        ClearAreaGroups();
        g_goods.Clear();
        g_straitPoints.clear();
    }

    static Cells DefaultRow(int32_t id) {
        Cells cells;
        for (std::string& cell : cells)
            cell = "0";
        cells[1] = std::to_string(id);
        cells[2] = "P" + std::to_string(id);
        cells[3] = "land";
        cells[4] = "catholic";
        cells[15] = "GRAI";
        cells[20] = "1.5";
        cells[21] = "0.5";
        for (int c = 33; c <= 44; c += 3)
            cells[static_cast<size_t>(c)] = "-1";
        cells[45] = "France";
        cells[46] = "Western Europe";
        cells[47] = "Europe";
        cells[48] = "#N/A";
        return cells;
    }

    // The table text from the rows (the first count of them).
    std::string Table(const std::string& lineEnd = "\n", size_t count = kProvinceSlots) const {
        std::string text = "id;name;...\n";
        for (size_t i = 0; i < count && i < rows.size(); ++i) {
            for (int c = 1; c <= 51; ++c)
                text += rows[i][static_cast<size_t>(c)] + (c < 51 ? ";" : lineEnd);
        }
        return text;
    }

    void WriteTable(const std::string& text) { dir.WriteFile("db/province.csv", text); }

    std::string Log() const { return dir.ReadFile("log.txt"); }

    Cells& Row(int32_t id) { return rows[static_cast<size_t>(id)]; }

    ScopedGameDir dir;
    std::vector<Cells> rows;
};

} // namespace test
