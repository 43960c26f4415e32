// The world's own answers to the path search's province questions, as the
// search sees them through its hooks.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/ObjectId.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Fortress.h"
#include "world/PathSearch.h"
#include "world/Province.h"

namespace {

// A siege whose attacking side may or may not have a commander.
struct Siege : CIdObject {
    Siege() : CIdObject(ObjectId(kEntityIdType, 5151)) {}
    bool hasCommander = true;
};
Siege* g_siege = nullptr;

constexpr int32_t kPortProvince = 41;   // city with a port on sea zone 900
constexpr int32_t kInlandProvince = 42; // city, no port
constexpr int32_t kEmptyProvince = 43;  // no city
constexpr int32_t kSeaZone = 900;

class PathProvinceQueriesTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        P(kPortProvince).portSeaZone = kSeaZone;
        for (int32_t id : {kPortProvince, kInlandProvince}) {
            auto city = std::make_unique<CCity>();
            city->SetLocation(id);
            P(id).SetCity(std::move(city));
        }
        g_citySiege.stateOf = [](CIdObject& combat, CitySiegeState& out) {
            if (&combat != g_siege)
                return false;
            out.hasCommander = g_siege->hasCommander;
            out.mode = 4;
            return true;
        };
    }
    void TearDown() override {
        for (int32_t id : {kPortProvince, kInlandProvince, kEmptyProvince, kSeaZone}) {
            P(id).SetCity(nullptr);
            P(id).portSeaZone = 0;
            P(id).natives = P(id).maxNatives = 0;
            P(id).terrain = 0;
            P(id).ClearNeighbours();
        }
        g_citySiege = {};
        g_siege = nullptr;
        SaveBlockTest::TearDown();
    }
    static CProvince& P(int32_t id) { return *GetProvince(id); }
};

TEST_F(PathProvinceQueriesTest, FortressIsThePortOfTheCityAndOpensOnItsSeaZone) {
    const PathSearchHooks& hooks = g_pathSearchHooks;
    ASSERT_NE(hooks.provinceHasFortress, nullptr);
    ASSERT_NE(hooks.fortressSeaZone, nullptr);
    struct Case {
        int32_t province;
        bool fortress;
        int32_t seaZone;
    };
    for (const Case& c : std::vector<Case>{{kPortProvince, true, kSeaZone},
                                           {kInlandProvince, false, 0},
                                           {kEmptyProvince, false, 0}}) {
        SCOPED_TRACE(c.province);
        EXPECT_EQ(hooks.provinceHasFortress(P(c.province)), c.fortress);
        EXPECT_EQ(hooks.fortressSeaZone(P(c.province)), c.seaZone);
    }
    // The city goes: so does the port.
    P(kPortProvince).SetCity(nullptr);
    EXPECT_FALSE(hooks.provinceHasFortress(P(kPortProvince)));
    EXPECT_EQ(hooks.fortressSeaZone(P(kPortProvince)), 0);
}

TEST_F(PathProvinceQueriesTest, AFleetEntersFromTheSeaOnlyThroughAPort) {
    CProvince& sea = P(kSeaZone);
    sea.terrain = kFirstSeaProvinceType;
    P(kPortProvince).coastal = P(kInlandProvince).coastal = 1;
    for (int32_t id : {kPortProvince, kInlandProvince}) {
        sea.AddNeighbour({id, 0, 0});
        P(id).AddNeighbour({kSeaZone, 0, 0});
    }
    alignas(16) static char fleetToken;
    const CUnit* fleet = reinterpret_cast<const CUnit*>(&fleetToken);
    CFleetPath path;
    EXPECT_TRUE(FindPath(path, fleet, sea, P(kPortProvince)));
    EXPECT_FALSE(FindPath(path, fleet, sea, P(kInlandProvince)));
}

TEST_F(PathProvinceQueriesTest, SiegeNeedsACityAndACommander) {
    const PathSearchHooks& hooks = g_pathSearchHooks;
    ASSERT_NE(hooks.provinceUnderSiege, nullptr);
    Siege siege;
    g_siege = &siege;
    EXPECT_FALSE(hooks.provinceUnderSiege(P(kInlandProvince)));
    P(kInlandProvince).GetCity()->SetSiege(siege.GetId());
    EXPECT_TRUE(hooks.provinceUnderSiege(P(kInlandProvince)));
    siege.hasCommander = false;
    EXPECT_FALSE(hooks.provinceUnderSiege(P(kInlandProvince)));
    EXPECT_FALSE(hooks.provinceUnderSiege(P(kEmptyProvince)));
    P(kInlandProvince).GetCity()->ClearSiege();
}

TEST_F(PathProvinceQueriesTest, SymbolLevelIsTheNativesShown) {
    const PathSearchHooks& hooks = g_pathSearchHooks;
    ASSERT_NE(hooks.provinceSymbolLevel, nullptr);
    for (const auto& [natives, level] :
         std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 1}, {30, 30}, {-4, 0}}) {
        P(kEmptyProvince).natives = natives;
        EXPECT_EQ(hooks.provinceSymbolLevel(P(kEmptyProvince)), level) << natives;
    }
}

} // namespace
