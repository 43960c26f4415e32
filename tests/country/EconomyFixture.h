#pragma once
// A fixture for the countries' economy: the save-block fixture (a clock on
// a fixed date, fresh ids, an empty scheduler) with countries made by
// number, a settings object, the state religions the test gives, and level
// tables written from rows in the test.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "country/BuildingCosts.h"
#include "country/Country.h"
#include "country/Technology.h"
#include "data/DataTree.h"
#include "engine/Config.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"

namespace test {

class EconomyTest : public SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_config = std::make_unique<CConfig>();
        g_fantasyMode = 0;
        ClearBuildingCostClasses();
        s_religions.fill(-1);
        g_scenarioSteps.stateReligionOf = [](int32_t number) {
            return number >= 0 && number < 99 ? s_religions[static_cast<size_t>(number)] : -1;
        };
        for (CTechTable* table :
             {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
            table->Clear();
    }
    void TearDown() override {
        reader.Close();
        DeleteAllCountries();
        g_scenarioSteps.stateReligionOf = nullptr;
        g_config.reset();
        g_fantasyMode = 0;
        ClearBuildingCostClasses();
        for (CTechTable* table :
             {&g_landTechTable, &g_navalTechTable, &g_infraTechTable, &g_tradeTechTable})
            table->Clear();
        SaveBlockTest::TearDown();
    }

    CCountry& Make(uint32_t number) { return *CCountry::Create(number); }

    // Reads a country block's body (up to its "}") into the country.
    int Read(CCountry& country, const std::string& body) {
        reader.Close();
        OpenText(body);
        reader.currentCountry = &country;
        return country.Read(reader);
    }

    // Reads "key = { ... }" through the reader of the block.
    template <class Block> int32_t ReadBlock(Block& block, const std::string& text) {
        reader.Close();
        OpenBlock(text);
        return block.Read(reader);
    }

    // A table of the rows, whose years are given; every other value 0.
    static std::vector<CTechRow> RowsOfYears(std::initializer_list<int32_t> years) {
        std::vector<CTechRow> rows;
        int32_t previous = 0;
        for (int32_t year : years) {
            CTechRow row;
            row.year = year;
            row.stepCost = (year - previous) * 300;
            previous = year;
            rows.push_back(row);
        }
        return rows;
    }

    static inline std::array<int32_t, 99> s_religions{};
};

} // namespace test
