// The goods table: ids and picture frames of the keywords, loading, and the
// market update over the provinces.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/Event.h"
#include "net/EventTypes.h"
#include "tests/data/TextFormatFixture.h"
#include "tests/world/ProvinceTableFixture.h"
#include "world/City.h"
#include "world/TradingPost.h"

namespace {

using test::ProvinceTableTest;

TEST(GoodsIdTest, KeywordsGiveTheirIdAndFrame) {
    struct Row {
        const char* keyword;
        uint32_t id, frame;
    };
    const Row rows[] = {{"NOTHING", 0, 0}, {"CLO", 1, 1},    {"GOLD", 2, 4},  {"COT", 3, 2},
                        {"WOOL", 18, 22},  {"SLAV", 13, 15}, {"WEAP", 0, 20}, {"ARTS", 0, 3},
                        {"clo", 0, 0},     {"", 0, 0},       {"TEA", 0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(GetGoodsId(row.keyword), row.id) << row.keyword;
        EXPECT_EQ(GetGoodsFrame(row.keyword), row.frame) << row.keyword;
    }
}

class GoodsTest : public ProvinceTableTest {};

TEST_F(GoodsTest, TheTableKeepsTheLastRowOfEachIdAndSkipsEmptyKeywords) {
    dir.WriteFile("db/goods.csv", "header;row\r\n"
                                  "NOTHING;0;0;0;0\r\n"
                                  "WEAP;9;1;1;3\r\n"  // id 0: takes slot 0
                                  "WINE;5;1;2;50\r\n" // flag B holds 2: not set
                                  ";7;1;1;1\r\n"
                                  "WINE;6;0;1;60;extra\r\n"
                                  "GOLD;12\r\n"); // a short row reads the rest as 0
    CGoodsTable table;
    ASSERT_TRUE(LoadGoods(table));
    ASSERT_NE(table.Get(0), nullptr);
    EXPECT_EQ(table.Get(0)->name, "WEAP");
    EXPECT_EQ(table.Get(0)->frame, 20u);
    const CTradeGoods* wine = table.Get(GOODS_WINE);
    ASSERT_NE(wine, nullptr);
    EXPECT_EQ(wine->basePrice, 6);
    EXPECT_FLOAT_EQ(wine->price, 6.0f);
    EXPECT_EQ(wine->flagA, 0);
    EXPECT_EQ(wine->flagB, 1);
    EXPECT_EQ(wine->value, 60);
    const CTradeGoods* gold = table.Get(GOODS_GOLD);
    ASSERT_NE(gold, nullptr);
    EXPECT_EQ(gold->basePrice, 12);
    EXPECT_EQ(gold->value, 0);
    EXPECT_EQ(table.Get(GOODS_CLO), nullptr);
    EXPECT_EQ(table.Get(kGoodsSlots), nullptr);
    table.Clear();
    EXPECT_EQ(table.Get(GOODS_WINE), nullptr);
}

TEST_F(GoodsTest, DemandFactorsFollowTheirCountsAndCeilings) {
    MarketCounts none;
    MarketCounts many;
    many.barracks = 40;
    many.shipyards = 50;
    many.courthouses = 30;
    many.cityRights = 30;
    many.manufactories = 60;
    many.weapons = 20;
    many.navalEquipment = 3;
    many.refineries = 10;
    many.goodsManufactories = 5;
    many.clothProducers = 2;
    many.plantationProducers = 30;
    struct Row {
        uint32_t id;
        float none, many;
    };
    const Row rows[] = {
        {GOODS_CLO, 0.5f, 0.95f},    {GOODS_GOLD, 1.0f, 1.0f},   {GOODS_COT, 0.5f, 0.57f},
        {GOODS_FISH, 0.25f, 1.0f},   {GOODS_SPIC, 0.75f, 2.0f},  {GOODS_METAL, 0.5f, 1.1f},
        {GOODS_MINERAL, 0.5f, 1.2f}, {GOODS_NAVS, 0.5f, 1.03f},  {GOODS_SLAV, 0.01f, 0.6f},
        {GOODS_SUG, 1.0f, 1.1f},     {GOODS_NOTHING, 0.3f, 0.3f}};
    for (const Row& row : rows) {
        EXPECT_NEAR(CGoodsTable::DemandFactor(row.id, none, 0.3f), row.none, 1e-5) << row.id;
        EXPECT_NEAR(CGoodsTable::DemandFactor(row.id, many, 0.3f), row.many, 1e-5) << row.id;
    }
    many.plantationProducers = 500;
    EXPECT_FLOAT_EQ(CGoodsTable::DemandFactor(GOODS_SLAV, many, 0.0f), 2.0f);
    EXPECT_FLOAT_EQ(CGoodsTable::DemandFactor(GOODS_NOTHING, many, 9.0f), 1.5f);
}

TEST_F(GoodsTest, TheMarketCountsSettlementsAndCitiesAndSetsThePrices) {
    Row(5)[15] = "WINE";
    Row(6)[15] = "WINE";
    Row(7)[15] = "CLO";
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces());
    auto city = [](float population) {
        auto made = std::make_unique<CCity>();
        test::TempDir scratch;
        scratch.WriteFile("c.txt", "population = " + std::to_string(population) + " }");
        CFieldReader in;
        in.Open((scratch.Path() / "c.txt").string(), "r");
        made->Read(in);
        return made;
    };
    BuildKeywordIndex();
    g_provinces[5].SetCity(city(800.0f));
    g_provinces[6].SetTradingPost(std::make_unique<CTradingPost>());
    g_provinces[7].SetCity(city(300.0f));

    COVSimpleEvent started(EVT_GAME_STARTED, g_broadcastId);
    EXPECT_EQ(HandleGoodsMessage(started), 0);
    const CTradeGoods& wine = *g_goods.Get(GOODS_WINE);
    const CTradeGoods& cloth = *g_goods.Get(GOODS_CLO);
    const CTradeGoods& grain = *g_goods.Get(GOODS_GRAI);
    EXPECT_NEAR(wine.supplyFactor, 0.52f, 1e-5);
    EXPECT_EQ(wine.producers, 1u); // the trading post supplies but does not produce
    EXPECT_NEAR(cloth.supplyFactor, 0.51f, 1e-5);
    EXPECT_EQ(cloth.producers, 1u);
    EXPECT_FLOAT_EQ(grain.supplyFactor, 0.5f);
    EXPECT_EQ(grain.producers, 0u);
    // COT's demand counts the provinces producing cloth; none here.
    EXPECT_NEAR(wine.demandFactor, 0.25f, 1e-5);
    EXPECT_NEAR(wine.price, 5.0f * (2.0f - 0.52f) * 0.25f, 1e-4);
    EXPECT_NEAR(grain.price, 2.0f * 1.5f * 0.25f, 1e-4);

    // Another month: the figures start again, they do not pile up.
    COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, CDate(1, 1, 1600));
    HandleGoodsMessage(month);
    EXPECT_NEAR(wine.supplyFactor, 0.52f, 1e-5);
    EXPECT_EQ(wine.producers, 1u);

    // The scenario's end clears the table: no province keeps a dangling
    // record, and a market step then finds no goods.
    g_goods.Clear();
    EXPECT_EQ(g_provinces[5].goods, nullptr);
    EXPECT_EQ(g_provinces[8].goods, nullptr);
    HandleGoodsMessage(month);
}

} // namespace
