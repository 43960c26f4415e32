// A province's economy: tax, production, manufactory, trade, the centre of
// trade, the yearly total, the ratings, piracy and the blockade, computed
// from the province, its settlement and its owner.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "engine/TextDatabase.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Goods.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/TradingPost.h"

namespace {

constexpr int32_t kLand = 20;
constexpr int32_t kSea = 21;
constexpr int32_t kOwner = 1;
constexpr int32_t kEnemy = 2;

// What the hooks answer in a test.
struct World {
    int32_t warTaxMonths = 0;
    float tradeEfficiency = 1.0f;
    float productionEfficiency = 1.0f;
    int32_t stability = 0;
    float stabilityTaxFactor = 1.0f;
    int32_t navalLevel = 20;
    int32_t centreSeat = 0;
    int32_t centreTotal = 0;
    float merchantLevel = -1.0f; // below 0: no entry
    float distanceSquared = 0.0f;
    std::vector<EconomyUnit> units; // standing in every province asked about
    std::vector<int32_t> hostile{kEnemy, 96};
    std::vector<std::pair<uint32_t, float>> volume;
    std::vector<std::pair<int32_t, bool>> notices;
};
World g_world;

class ProvinceEconomyTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        m_hooks = g_provinceEconomy;
        g_world = World();
        g_fantasyMode = 0;
        ProvinceEconomyHooks& h = g_provinceEconomy;
        h.warTaxMonthsOf = [](int32_t) { return g_world.warTaxMonths; };
        h.tradeEfficiencyOf = [](int32_t) { return g_world.tradeEfficiency; };
        h.productionEfficiencyOf = [](int32_t) { return g_world.productionEfficiency; };
        h.stabilityOf = [](int32_t) { return g_world.stability; };
        h.applyStabilityToTax = [](int32_t, float tax) { return tax * g_world.stabilityTaxFactor; };
        h.isHostileTo = [](int32_t country, int32_t) {
            for (int32_t n : g_world.hostile)
                if (n == country)
                    return true;
            return false;
        };
        h.navalLevelOf = [](int32_t) { return g_world.navalLevel; };
        h.addTradeVolume = [](int32_t, uint32_t goodsId, float amount) {
            g_world.volume.push_back({goodsId, amount});
        };
        h.centreSeatOf = [](int32_t) { return g_world.centreSeat; };
        h.centreTotalOf = [](int32_t) { return g_world.centreTotal; };
        h.merchantLevelOf = [](int32_t, int32_t, float& level) {
            level = g_world.merchantLevel;
            return g_world.merchantLevel >= 0.0f;
        };
        h.centreDistanceSquaredTo = [](int32_t) { return g_world.distanceSquared; };
        h.unitsIn = [](int32_t, std::vector<EconomyUnit>& out) { out = g_world.units; };
        h.notifyBlockade = [](int32_t province, bool state) {
            g_world.notices.push_back({province, state});
        };
        for (int32_t id : {kLand, kSea, 247, 380})
            GetProvince(id)->ResetForGame();
        Land().terrain = 0;
        Land().continent = 1;
        Land().portSeaZone = kSea;
        Sea().terrain = 5;
    }
    void TearDown() override {
        for (int32_t id : {kLand, kSea, 247, 380}) {
            CProvince& p = *GetProvince(id);
            p.ResetForGame();
            p.goods = nullptr;
            p.tax = p.goldValue = p.piracy = p.wilderness = p.climate = p.continent = 0;
            p.portSeaZone = p.column17 = 0;
            p.blockaded = p.coastal = p.looted = 0;
            p.terrain = 0;
            p.ClearNeighbours();
        }
        DeleteAllCountries();
        g_provinceEconomy = m_hooks;
        g_fantasyMode = 0;
        SaveBlockTest::TearDown();
    }

    static CProvince& Land() { return *GetProvince(kLand); }
    static CProvince& Sea() { return *GetProvince(kSea); }

    // The country of the number with its state religion.
    CCountry* Country(int32_t number, uint32_t religion) {
        CCountry* country = CountryOfNumber(number);
        if (!country) {
            country = new CCountry(static_cast<uint32_t>(number));
            EXPECT_TRUE(AddCountry(std::unique_ptr<CCountry>(country)));
        }
        country->m_religion.stateReligion = religion;
        return country;
    }
    // Owned and controlled by country kOwner.
    void Own(CProvince& province, uint32_t religion = RELIGION_CATHOLIC) {
        CCountry* owner = Country(kOwner, religion);
        province.SetOwner(owner);
        province.SetControllerField(owner);
    }
    static CCity& Settle(CProvince& province, float population) {
        auto city = std::make_unique<CCity>();
        city->SetPopulation(population);
        CCity& made = *city;
        province.SetCity(std::move(city));
        return made;
    }
    static CTradingPost& Post(CProvince& province, float level) {
        auto post = std::make_unique<CTradingPost>();
        post->level = level;
        CTradingPost& made = *post;
        province.SetTradingPost(std::move(post));
        return made;
    }

    CTradeGoods m_gold{"GOLD", 20};
    CTradeGoods m_wine{"WINE", 12};
    CTradeGoods m_metal{"METAL", 10};

private:
    ProvinceEconomyHooks m_hooks;
};

TEST_F(ProvinceEconomyTest, TaxFollowsSettlementOwnerReligionAndBlockade) {
    enum Settlement { NONE, POST, COLONY, TOWN };
    struct Case {
        const char* name;
        Settlement settlement;
        bool owned;
        uint32_t religion;
        bool bailiff, courthouse, warTax, blockaded;
        float stabilityFactor;
        float tax;
    };
    const Case cases[] = {
        {"no settlement", NONE, true, RELIGION_CATHOLIC, false, false, false, false, 1, 5},
        {"protestant", NONE, true, RELIGION_PROTESTANT, false, false, false, false, 1, 6},
        {"reformed", NONE, true, RELIGION_REFORMED, false, false, false, false, 1, 3},
        {"shiite", NONE, true, RELIGION_SHIITE, false, false, false, false, 1, 3},
        {"counter-reformed", NONE, true, RELIGION_COUNTERREFORM, false, false, false, false, 1, 4},
        {"war taxes", NONE, true, RELIGION_CATHOLIC, false, false, true, false, 1, 10},
        {"stability", NONE, true, RELIGION_CATHOLIC, false, false, false, false, 0.5f, 2},
        {"trading post", POST, true, RELIGION_CATHOLIC, false, false, false, false, 1, 0},
        {"colony with bailiff", COLONY, true, RELIGION_CATHOLIC, true, true, false, false, 1, 0},
        {"town", TOWN, true, RELIGION_CATHOLIC, true, true, false, false, 1, 7},
        {"blockaded town", TOWN, true, RELIGION_CATHOLIC, true, true, false, true, 1, 3},
        {"no owner, blockaded", NONE, false, 0, false, false, true, true, 0.5f, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Land().ResetForGame();
        Land().tax = 5;
        if (c.owned)
            Own(Land(), c.religion);
        if (c.settlement == POST)
            Post(Land(), 2);
        if (c.settlement == COLONY || c.settlement == TOWN) {
            CCity& city = Settle(Land(), c.settlement == COLONY ? 699.0f : 1000.0f);
            city.improvements[CCity::IMPROVEMENT_BAILIFF] = c.bailiff;
            city.improvements[CCity::IMPROVEMENT_COURTHOUSE] = c.courthouse;
        }
        g_world.warTaxMonths = c.warTax ? 3 : 0;
        g_world.stabilityTaxFactor = c.stabilityFactor;
        Land().blockaded = c.blockaded;
        EXPECT_FLOAT_EQ(Land().GetTaxIncome(), c.tax);
    }
}

TEST_F(ProvinceEconomyTest, ProductionComesFromGoldOrTheGoodsPrice) {
    struct Case {
        const char* name;
        CTradeGoods* goods;
        bool bailiff, cityRights, blockaded;
        float efficiency;
        float perFactor; // the production per trade-factor unit
        float twelfths;  // the improvements' twelfths
        float blockade;  // 0.5 when halved
    };
    const Case cases[] = {
        {"gold", &m_gold, false, false, false, 0.5f, 12.0f / 12.0f, 0, 1},
        {"gold with improvements", &m_gold, true, true, false, 1, 1, 2, 1},
        {"wine", &m_wine, false, false, false, 0.5f, 12.0f / 12.0f * 0.5f, 0, 1},
        {"metal blockaded", &m_metal, true, false, true, 1, 10.0f / 12.0f, 1, 0.5f},
        {"no goods", nullptr, false, false, false, 1, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Land().ResetForGame();
        EXPECT_FLOAT_EQ(Land().GetMonthlyProduction(), 0.0f); // no city
        Own(Land());
        Land().goods = c.goods;
        Land().goldValue = 12;
        CCity& city = Settle(Land(), 6000.0f);
        city.improvements[CCity::IMPROVEMENT_BAILIFF] = c.bailiff;
        city.improvements[CCity::IMPROVEMENT_CITYRIGHTS] = c.cityRights;
        Land().blockaded = c.blockaded;
        g_world.productionEfficiency = c.efficiency;
        const float expected =
            (c.perFactor * city.GetTradeFactor() + c.twelfths / 12.0f) * c.blockade;
        EXPECT_NEAR(Land().GetMonthlyProduction(), expected, 1e-5);
    }
}

TEST_F(ProvinceEconomyTest, ManufactoriesYieldTwelveWhereTheirGoodsAre) {
    CTradeGoods fish{"FISH", 5}, tob{"TOB", 5}, grain{"GRAI", 5};
    struct Case {
        int32_t type;
        CTradeGoods* goods;
        bool capital;
        float yield;
    };
    const Case cases[] = {
        {CCity::MANUFACTORY_NONE, &m_metal, false, 0},
        {CCity::MANUFACTORY_LUXURY, &grain, true, 12},
        {CCity::MANUFACTORY_LUXURY, &grain, false, 6},
        {CCity::MANUFACTORY_WEAPONS, &m_metal, false, 12},
        {CCity::MANUFACTORY_WEAPONS, &grain, false, 6},
        {CCity::MANUFACTORY_NAVAL_EQUIPMENT, &fish, false, 12},
        {CCity::MANUFACTORY_REFINERY, &m_wine, false, 12},
        {CCity::MANUFACTORY_REFINERY, &fish, false, 6},
        {CCity::MANUFACTORY_GOODS, &tob, false, 12},
        {CCity::MANUFACTORY_GOODS, nullptr, false, 6},
        {9, &m_metal, false, 0},
    };
    for (const Case& c : cases) {
        Land().ResetForGame();
        Land().goods = c.goods;
        CCity& city = Settle(Land(), 6000.0f);
        city.manufactory = c.type;
        if (c.capital)
            city.MakeCapital();
        EXPECT_FLOAT_EQ(Land().GetManufactoryIncome(), c.yield) << c.type;
    }
}

TEST_F(ProvinceEconomyTest, TotalAddsTradeCentreAndManufactoryLessPiracy) {
    g_world.tradeEfficiency = 0.5f;
    g_world.centreSeat = kLand;
    g_world.centreTotal = 4;
    Land().tax = 4;
    Own(Land());
    Post(Land(), 3);
    EXPECT_FLOAT_EQ(Land().GetTradeValueFor(), 1.5f);
    EXPECT_FLOAT_EQ(Land().GetCotValueFor(kOwner), 12.0f);
    EXPECT_FLOAT_EQ(Land().GetCotValueFor(kEnemy), 0.0f); // not its controller
    // A trading post pays no tax; piracy takes half its count.
    Land().piracy = 3;
    EXPECT_FLOAT_EQ(Land().GetTotalIncome(), 12.0f + 1.5f - 1.5f);

    // A city with a fortress keeps its total whatever the pirates do.
    Land().SetTradingPost(nullptr);
    CCity& city = Settle(Land(), 6000.0f);
    city.GetFortress().level = 2.0f;
    const float trade = static_cast<float>(city.GetSizeLevel() + 6) * 0.5f;
    EXPECT_FLOAT_EQ(Land().GetTradeValueFor(), trade);
    EXPECT_FLOAT_EQ(Land().GetTotalIncome(),
                    Land().GetTaxIncome() + 12.0f * Land().GetMonthlyProduction() + 12.0f + trade);
    city.GetFortress().level = 0.5f;
    EXPECT_FLOAT_EQ(Land().GetTotalIncome(), Land().GetTaxIncome() +
                                                 12.0f * Land().GetMonthlyProduction() + 12.0f +
                                                 trade - 1.5f);

    // A colony trades by its colony level; a province its owner does not
    // control trades nothing for the owner.
    Land().SetCity(nullptr);
    CCity& colony = Settle(Land(), 300.0f);
    EXPECT_FLOAT_EQ(Land().GetTradeValueFor(), static_cast<float>(colony.GetColonyLevel()) * 0.5f);
    Land().SetControllerField(Country(kEnemy, RELIGION_SUNNI));
    EXPECT_FLOAT_EQ(Land().GetTradeValueFor(), 0.0f);
    EXPECT_FLOAT_EQ(Land().GetCotValueFor(kOwner), 0.0f);
    // Never below 0.
    Land().piracy = 100;
    EXPECT_FLOAT_EQ(Land().GetTotalIncome(), 0.0f);
}

TEST_F(ProvinceEconomyTest, TradeShareCountsMerchantsAndGrowsTheVolume) {
    Land().goods = &m_wine; // price 12: a month's share is 1 per factor unit
    Own(Land());
    Post(Land(), 2); // factor 0.6
    g_world.centreTotal = 10;
    g_world.tradeEfficiency = 0.5f;
    struct Case {
        float level;
        int32_t piracy;
        float share;
        float volume;
    };
    const Case cases[] = {
        {-1, 0, 0, -1},                        // no merchant entry
        {3.7f, 0, 0.6f * 0.15f * 0.5f, 0.09f}, // three merchants
        {6, 0, 0.6f * 0.8f * 0.5f, 0.48f},     // six: 26 - total = 16
        {2, 1, 0.1f * 0.1f * 0.5f, 0.06f},     // piracy takes 0.5
        {2, 4, 0, 0.06f},                      // never below 0
    };
    for (const Case& c : cases) {
        g_world.merchantLevel = c.level;
        g_world.volume.clear();
        Land().piracy = c.piracy;
        EXPECT_NEAR(Land().GetTradeShare(kOwner), c.share, 1e-5) << c.level;
        if (c.volume < 0) {
            EXPECT_TRUE(g_world.volume.empty());
        } else {
            ASSERT_EQ(g_world.volume.size(), 1u);
            EXPECT_EQ(g_world.volume[0].first, static_cast<uint32_t>(GOODS_WINE));
            EXPECT_NEAR(g_world.volume[0].second, c.volume, 1e-5);
        }
    }
}

TEST_F(ProvinceEconomyTest, TradeRatingOfSettledLand) {
    EXPECT_FLOAT_EQ(Land().GetTradeValue(), -1.0f); // no settlement
    EXPECT_FLOAT_EQ(Sea().GetTradeValue(), -1.0f);
    Land().goods = &m_wine;
    g_world.tradeEfficiency = 0.5f;
    g_world.navalLevel = 7;
    Own(Land(), RELIGION_CATHOLIC);
    Post(Land(), 0); // factor 0.4: trade value 0.4
    Land().coastal = 1;
    // 1 + 1 coastal + 15 + 3 + 0.2 x 0.4 + 40 catholic + 20 off continent 2.
    EXPECT_NEAR(Land().GetTradeValue(), 80.08f, 1e-4);

    Land().continent = 2;
    Land().column17 = 2;
    g_world.centreSeat = 5;
    g_world.distanceSquared = 10000.0f; // + 1
    EXPECT_NEAR(Land().GetTradeValue(), 80.08f - 20.0f + 8.0f + 1.0f, 1e-4);

    // A pagan owner zeroes the rating before the continent's term.
    Land().continent = 1;
    Country(kOwner, RELIGION_PAGAN);
    EXPECT_FLOAT_EQ(Land().GetTradeValue(), 20.0f);
    g_fantasyMode = 1;
    EXPECT_NEAR(Land().GetTradeValue(), 80.08f - 40.0f + 1.0f, 1e-4); // no faith bonus
}

TEST_F(ProvinceEconomyTest, FixedProvincesOfTheTradeRating) {
    CProvince& late = *GetProvince(247);
    late.goods = &m_wine;
    Own(late, RELIGION_SUNNI);
    Post(late, 0);
    const float base = 1.0f + 30.0f + 10.0f + 0.2f * 0.4f + 20.0f; // naval level 20
    struct Case {
        int16_t year;
        float bonus;
    };
    for (const Case& c : {Case{1600, 0}, Case{1660, 10}, Case{1750, 40}}) {
        g_gameTimer->currentDate = CDate(0, 0, c.year);
        EXPECT_NEAR(late.GetTradeValue(), base + c.bonus, 1e-4) << c.year;
    }

    CProvince& other = *GetProvince(380);
    other.goods = &m_wine;
    Own(other, RELIGION_SUNNI);
    Post(other, 0);
    EXPECT_NEAR(other.GetTradeValue(), base + 40.0f, 1e-4); // no Dutch
    Country(4, RELIGION_REFORMED);
    g_world.centreSeat = 338; // the centre stands in 338
    EXPECT_NEAR(other.GetTradeValue(), base + 0.0f, 1e-4);
}

TEST_F(ProvinceEconomyTest, ScorePenaltyIsHeldAtFourteenAndSkippedForLargeCities) {
    EXPECT_FLOAT_EQ(Land().GetScore(), 0.0f); // no owner
    Own(Land());
    CCity& city = Settle(Land(), 800.0f);
    g_world.stability = 1;
    Land().continent = 5;
    Land().climate = 4;
    Land().wilderness = 10;
    Land().AddNeighbour({kLand + 2, 0, 0}); // a land neighbour
    // 1 + 4 + 5 (not large); penalty -8 - 12 - 5 held at -14.
    EXPECT_FLOAT_EQ(Land().GetScore(), 10.0f - 14.0f);
    city.SetPopulation(1500.0f); // two thirds of -25
    EXPECT_NEAR(Land().GetScore(), 10.0f - 14.0f, 1e-5);
    city.SetPopulation(3000.0f); // a third of -25
    EXPECT_NEAR(Land().GetScore(), 10.0f - 25.0f / 3.0f, 1e-4);
    city.SetPopulation(5000.0f); // large: no penalty, no bonus
    EXPECT_FLOAT_EQ(Land().GetScore(), 5.0f);

    // A hostile unit, the looting and a controller who is not the owner.
    g_world.units = {EconomyUnit{kEnemy}};
    Land().looted = 1;
    Land().SetControllerField(Country(kEnemy, RELIGION_SUNNI));
    g_world.centreSeat = kLand + 2; // the neighbour: + 2
    EXPECT_FLOAT_EQ(Land().GetScore(), 5.0f - 5.0f - 5.0f - 3.0f + 2.0f);
}

TEST_F(ProvinceEconomyTest, BlockadeNeedsFiveShipsOfHostileAdvancedNavies) {
    Own(Land());
    struct Case {
        const char* name;
        std::vector<EconomyUnit> units;
        int32_t navalLevel;
        uint8_t blockaded;
    };
    const Case cases[] = {
        {"four warships, two galleys", {{kEnemy, false, false, 4, 2}}, 19, 1},
        {"four warships, one galley", {{kEnemy, false, false, 4, 1}}, 19, 0},
        {"ships rounded up",
         {{kEnemy, false, false, 3.2f, 0.5f}, {kEnemy, false, false, 0, 1}},
         20,
         1},
        {"low naval level", {{kEnemy, false, false, 10, 0}}, 18, 0},
        {"friendly", {{3, false, false, 10, 0}}, 20, 0},
        {"in combat or retreating",
         {{kEnemy, true, false, 10, 0}, {kEnemy, false, true, 10, 0}},
         20,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Land().blockaded = 0;
        g_world.notices.clear();
        g_world.units = c.units;
        g_world.navalLevel = c.navalLevel;
        EXPECT_EQ(Land().UpdateBlockade(), c.blockaded != 0);
        EXPECT_EQ(Land().blockaded, c.blockaded);
        EXPECT_EQ(g_world.notices.size(), c.blockaded ? 1u : 0u);
        EXPECT_FALSE(Land().UpdateBlockade()); // no change the second time
    }
    // Without a port nothing blockades, and nobody is told.
    Land().blockaded = 1;
    Land().portSeaZone = 0;
    g_world.notices.clear();
    EXPECT_FALSE(Land().UpdateBlockade());
    EXPECT_EQ(Land().blockaded, 0);
    EXPECT_TRUE(g_world.notices.empty());
}

TEST_F(ProvinceEconomyTest, PiracyCountsPirateShipsRoundedUp) {
    g_world.units = {
        {96, false, false, 2.5f, 0}, {96, false, true, 4, 0}, {kEnemy, false, false, 9, 0}};
    Land().UpdatePiracy();
    EXPECT_EQ(Land().piracy, 0); // no controller
    Own(Land());
    Land().UpdatePiracy();
    EXPECT_EQ(Land().piracy, 3);

    // The sea zone passes the update to its coastal neighbours.
    Land().piracy = 0;
    Sea().AddNeighbour({kLand, 0, 0});
    Sea().coastalSeaZone = 1;
    Sea().UpdateNeighbourPiracy();
    EXPECT_EQ(Land().piracy, 3);
}

TEST_F(ProvinceEconomyTest, IncomeLinesNameEachIncome) {
    dir.WriteFile("config/text.csv", "PIWINC_NONE;none;;;;;;;;;;\r\n"
                                     "PIWINC_TPBASEETAX;[base %d];;;;;;;;;;\r\n"
                                     "PIWINC_TAX;[tax %.1f];;;;;;;;;;\r\n"
                                     "PIWINC_PROD;[prod %.1f];;;;;;;;;;\r\n"
                                     "PIWINC_EXP;[exp %.1f];;;;;;;;;;\r\n"
                                     "PIWINC_HARB;[harb %d];;;;;;;;;;\r\n"
                                     "PIWINC_MANU;[manu %d];;;;;;;;;;\r\n"
                                     "PIWINC_PIRATES;[pirates %d];;;;;;;;;;\r\n"
                                     "PIWINC_DELAYED1;1;;;;;;;;;;\r\n"
                                     "PIWINC_DELAYED2;2;;;;;;;;;;\r\n"
                                     "PIWINC_DELAYED3;3;;;;;;;;;;\r\n"
                                     "PIWINC_DELAYED4;4;;;;;;;;;;\r\n"
                                     "PIWINC_DELAYED5;5;;;;;;;;;;\r\n"
                                     "PIWTRADESHARE;share;;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    EXPECT_EQ(Land().GetIncomeLineKey(), "none");

    Land().tax = 3;
    Land().piracy = 5;
    Own(Land());
    Post(Land(), 2);
    EXPECT_EQ(Land().GetIncomeLineKey(), "[base 3][exp 2.0][pirates 2]");
    EXPECT_EQ(Land().GetTradeShareKey(), "share[pirates 2]");

    Land().SetTradingPost(nullptr);
    Land().goods = &m_metal;
    CCity& city = Settle(Land(), 6000.0f);
    city.manufactory = CCity::MANUFACTORY_WEAPONS;
    city.GetFortress().level = 1.0f;
    g_world.centreSeat = kLand;
    g_world.centreTotal = 2;
    Land().blockaded = 1;
    const std::string lines = Land().GetIncomeLineKey();
    EXPECT_EQ(lines.find("[base"), std::string::npos);
    EXPECT_NE(lines.find("[tax 1.0]"), std::string::npos) << lines; // 3, halved
    EXPECT_NE(lines.find("[harb 6][manu 12]"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("[pirates"), std::string::npos) << lines; // the fortress keeps them off
    EXPECT_EQ(Land().GetDelayedIncomeKey(), "12345");
}

} // namespace
