#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/data/TextFormatFixture.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

class TerritoryTest : public test::TextFormatTest {
protected:
    // A city of the population, read from its block.
    std::unique_ptr<CCity> City(int population) {
        OpenText("population = " + std::to_string(population) + ".000000 }");
        auto city = std::make_unique<CCity>();
        EXPECT_EQ(city->Read(reader), FIELD_BLOCK_END);
        EXPECT_EQ(city->GetPopulation(), static_cast<float>(population));
        return city;
    }

    CProvince plain;  // no city
    CProvince colony; // a city of 699
    CProvince town;   // a city of 700
};

TEST_F(TerritoryTest, EachKindStartsEmptyAndAnswersItselfToOneQuery) {
    CLandTerritory land;
    CSeaTerritory sea;
    CLakeTerritory lake;
    struct Row {
        CTerritory* territory;
        uint32_t kind;
        bool land, sea, lake;
    };
    for (const Row& row : {Row{&land, 0, true, false, false}, Row{&sea, 2, false, true, false},
                           Row{&lake, 1, false, false, true}}) {
        SCOPED_TRACE(row.kind);
        CTerritory& t = *row.territory;
        EXPECT_EQ(t.GetKind(), row.kind);
        EXPECT_EQ(t.visitMark, 0);
        EXPECT_TRUE(t.GetProvinces().IsEmpty());
        EXPECT_TRUE(t.GetLinks().IsEmpty());
        EXPECT_EQ(t.AsLand(), row.land ? static_cast<void*>(&t) : nullptr);
        EXPECT_EQ(t.AsSea(), row.sea ? static_cast<void*>(&t) : nullptr);
        EXPECT_EQ(t.AsLake(), row.lake ? static_cast<void*>(&t) : nullptr);
    }
    EXPECT_EQ(land.GetColonisableCount(), 0);
}

TEST_F(TerritoryTest, LandCountsProvincesWithoutCityOrWithAColony) {
    colony.SetCity(City(699));
    town.SetCity(City(700));
    CLandTerritory land;
    land.AddProvince(&plain);
    land.AddProvince(&colony);
    land.AddProvince(&town);
    EXPECT_EQ(land.GetProvinces().GetCount(), 3u);
    EXPECT_EQ(land.GetColonisableCount(), 2);

    EXPECT_TRUE(land.RemoveProvince(&town));
    EXPECT_EQ(land.GetColonisableCount(), 2);
    EXPECT_TRUE(land.RemoveProvince(&colony));
    EXPECT_EQ(land.GetColonisableCount(), 1);
    // Not listed (any more): false and the count stays.
    EXPECT_FALSE(land.RemoveProvince(&colony));
    EXPECT_EQ(land.GetColonisableCount(), 1);
    EXPECT_EQ(land.GetProvinces().GetCount(), 1u);
}

TEST_F(TerritoryTest, RemovalJudgesTheProvinceAsItStandsThen) {
    CLandTerritory land;
    land.AddProvince(&plain);
    ASSERT_EQ(land.GetColonisableCount(), 1);
    plain.SetCity(City(5000)); // grew a town meanwhile
    EXPECT_TRUE(land.RemoveProvince(&plain));
    EXPECT_EQ(land.GetColonisableCount(), 1);
}

TEST_F(TerritoryTest, AProvinceAddedTwiceIsListedTwiceAndRemovedOnceAtATime) {
    CSeaTerritory sea;
    sea.AddProvince(&plain);
    sea.AddProvince(&colony);
    sea.AddProvince(&plain);
    EXPECT_TRUE(sea.RemoveProvince(&plain));
    ASSERT_EQ(sea.GetProvinces().GetCount(), 2u);
    CTemplateList<CProvince>::CListPosition node = nullptr;
    sea.GetProvinces().GetHeadPosition(node);
    EXPECT_EQ(node->item, &colony); // the first entry went
    EXPECT_EQ(node->next->item, &plain);

    CLandTerritory land;
    land.AddProvince(&plain);
    land.AddProvince(&plain);
    EXPECT_EQ(land.GetColonisableCount(), 2);
    EXPECT_TRUE(land.RemoveProvince(&plain));
    EXPECT_EQ(land.GetColonisableCount(), 1);
}

TEST_F(TerritoryTest, RemovalDuringAWalkOnlyMarksTheEntry) {
    CLandTerritory land;
    land.AddProvince(&plain);
    land.AddProvince(&colony);
    land.GetProvinces().BeginWalk();
    EXPECT_TRUE(land.RemoveProvince(&plain));
    EXPECT_EQ(land.GetProvinces().GetCount(), 2u); // still linked, marked
    EXPECT_FALSE(land.GetProvinces().Contains(&plain));
    EXPECT_FALSE(land.RemoveProvince(&plain));
    EXPECT_EQ(land.GetColonisableCount(), 1);
    land.GetProvinces().EndWalk();
    EXPECT_EQ(land.GetProvinces().GetCount(), 1u);
}

TEST_F(TerritoryTest, DestroyingATerritoryLeavesProvincesAndLinks) {
    auto link = std::make_unique<CTerritoryLink>();
    CLakeTerritory neighbour;
    link->territory = &neighbour;
    link->count = 3;
    std::unique_ptr<CTerritory> territory = std::make_unique<CLandTerritory>();
    territory->AddProvince(&plain);
    territory->GetLinks().AddTail(link.get());
    territory.reset(); // through the base pointer
    EXPECT_EQ(link->territory, &neighbour);
    EXPECT_EQ(link->count, 3);
    EXPECT_EQ(plain.GetCity(), nullptr);
}

} // namespace
