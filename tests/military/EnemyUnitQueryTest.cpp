// The military's answers to the world's seams: the enemy units in a
// province as the path search asks for them, and the terrain row a
// settlement takes its look from.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/Relations.h"
#include "country/War.h"
#include "military/units/NavalUnit.h"
#include "military/units/TerrainTypes.h"
#include "military/units/Unit.h"
#include "world/GlobalsTreaties.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/Settlement.h"

namespace {

// 1 fights 2; 3 is at peace with both; 97 are the natives.
class EnemyUnitQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t number : {1u, 2u, 3u, 97u})
            AddCountry(std::make_unique<CCountry>(number));
        auto war = std::make_unique<CWar>();
        war->attackers = Side({1});
        war->defenders = Side({2});
        g_wars.push_back(std::move(war));
        RebuildDiplomaticStatus();
    }
    void TearDown() override {
        g_wars.clear();
        DeleteAllCountries();
    }
    static std::unique_ptr<CAlliance> Side(std::vector<uint32_t> members) {
        auto side = std::make_unique<CAlliance>();
        side->type = ALLIANCE_WAR_SIDE;
        side->participants = std::move(members);
        return side;
    }
    // An army of the country standing in the province.
    static CUnit& Army(uint32_t country, int32_t province) {
        CCountry* owner = CountryOfNumber(country);
        auto* army = new CLandUnit(owner);
        army->SetLocation(province);
        owner->AddUnit(army);
        return *army;
    }
};

TEST_F(EnemyUnitQueryTest, AnEnemyIsAUnitOfAHostileCountryThatStands) {
    ASSERT_NE(g_pathSearchHooks.provinceHasEnemyUnit, nullptr);
    const auto enemyIn = [](int32_t province, int32_t country) {
        return g_pathSearchHooks.provinceHasEnemyUnit(*GetProvince(province), country);
    };
    Army(2, 20);
    Army(3, 21);
    Army(97, 22);
    CUnit& fleeing = Army(2, 23);
    fleeing.SetRetreating(24);
    struct Case {
        int32_t province, country;
        bool enemy;
    };
    for (const Case& c : std::vector<Case>{
             {20, 1, true},  // 2 is at war with 1
             {20, 2, false}, // its own
             {20, 3, false}, // at peace
             {21, 1, false}, // a neutral's army
             {22, 1, true},  // the natives are everybody's enemy
             {22, 3, true},  //
             {23, 1, false}, // a retreating army is no threat
             {24, 1, false}, // nor where it retreats to
             {25, 1, false}, // nobody there
         }) {
        SCOPED_TRACE(testing::Message() << "province " << c.province << " for " << c.country);
        EXPECT_EQ(enemyIn(c.province, c.country), c.enemy);
    }
}

TEST_F(EnemyUnitQueryTest, ASettlementTakesTheTerrainRowOfItsProvince) {
    ASSERT_NE(g_settlementCountries.terrainRowOf, nullptr);
    CProvince& province = *GetProvince(26);
    for (const auto& [terrain, row] :
         std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {3, 3}, {5, 5}, {9, 9}, {14, 9}}) {
        province.terrain = terrain;
        EXPECT_EQ(g_settlementCountries.terrainRowOf(26), row) << terrain;
    }
    province.terrain = 0;
    EXPECT_EQ(g_settlementCountries.terrainRowOf(5000), 0);
}

} // namespace
