// The countries' answers to the hostility, access and diplomacy-map
// questions of the world, as the world's seams pass them on.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "country/DiplomaticQueries.h"
#include "country/Relations.h"
#include "country/War.h"
#include "world/GlobalsTreaties.h"
#include "world/MapModes.h"
#include "world/PathSearch.h"

namespace {

// The diplomacy map's (colour, shade) for the pair.
std::pair<int32_t, int32_t> DiplomacyColour(int32_t viewer, int32_t owner) {
    int32_t colour = -1;
    int32_t shade = -1;
    g_mapModeHooks.diplomacy(viewer, owner, colour, shade);
    return {colour, shade};
}

// 1 and 2 fight 3; 4 is the overlord of 5; 1 and 6 are in a military
// alliance; 3 and 6 joined by a royal marriage; 97 the natives.
class DiplomaticQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t number : {1u, 2u, 3u, 4u, 5u, 6u, 97u})
            AddCountry(std::make_unique<CCountry>(number));
        auto war = std::make_unique<CWar>();
        war->attackers = Side(ALLIANCE_WAR_SIDE, {1, 2});
        war->defenders = Side(ALLIANCE_WAR_SIDE, {3});
        g_wars.push_back(std::move(war));
        g_alliances.push_back(Side(ALLIANCE_VASSALIZATION, {4, 5}));
        g_alliances.push_back(Side(ALLIANCE_MILITARY, {1, 6}));
        g_alliances.push_back(Side(ALLIANCE_DYNASTIC, {3, 6}));
        RebuildDiplomaticStatus();
    }
    void TearDown() override {
        g_wars.clear();
        g_alliances.clear();
        DeleteAllCountries();
    }
    static std::unique_ptr<CAlliance> Side(uint32_t type, std::vector<uint32_t> members) {
        auto side = std::make_unique<CAlliance>();
        side->type = type;
        side->participants = std::move(members);
        return side;
    }
    static CRelation& Relation(uint32_t a, uint32_t b) {
        return *CountryOfNumber(a)->m_diplomacy.GetRelation(b);
    }
};

TEST_F(DiplomaticQueriesTest, HostilityIsWarOrTheOutlawsThroughThePathSearch) {
    ASSERT_NE(g_pathSearchHooks.countryIsHostileTo, nullptr);
    struct Case {
        int32_t country, other;
        bool hostile;
    };
    for (const Case& c : std::vector<Case>{
             {1, 3, true},
             {3, 2, true}, // at war, both ways
             {1, 2, false},
             {1, 6, false}, // same side, allies
             {4, 5, false},
             {1, 1, false}, // vassal, itself
             {1, 97, true},
             {97, 4, true}, // the natives against all
             {98, 96, true},
             {97, 97, false}, // but not against themselves
             {50, 3, false},
             {3, 50, false}, // no country of the number
         }) {
        SCOPED_TRACE(testing::Message() << c.country << " toward " << c.other);
        EXPECT_EQ(g_pathSearchHooks.countryIsHostileTo(c.country, c.other), c.hostile);
        EXPECT_EQ(CountryIsHostileTo(c.country, c.other), c.hostile);
    }
}

TEST_F(DiplomaticQueriesTest, AccessGoesToItselfItsSideOfAWarAndItsVassal) {
    ASSERT_NE(g_pathSearchHooks.countryGrantsAccess, nullptr);
    struct Case {
        int32_t country, other;
        bool access;
    };
    for (const Case& c : std::vector<Case>{
             {1, 1, true},
             {1, 2, true},
             {2, 1, true}, // itself, the same side
             {4, 5, true},
             {5, 4, false}, // the overlord lets its vassal in
             {1, 3, false},
             {1, 6, false}, // enemies, a plain ally
             {3, 6, false},
             {50, 1, false}, // marriage; no country
         }) {
        SCOPED_TRACE(testing::Message() << c.country << " to " << c.other);
        EXPECT_EQ(g_pathSearchHooks.countryGrantsAccess(c.country, c.other), c.access);
    }
}

TEST_F(DiplomaticQueriesTest, DiplomacyMapTakesTheFirstRuleThatHolds) {
    ASSERT_NE(g_mapModeHooks.diplomacy, nullptr);
    // 6 claims a province of 2's: 2 sees 6 as a foe (6 holds the claim),
    // 6 sees 2 as a foe of its own making.
    Relation(6, 2).casusBelli.push_back(CCasusBelli{});
    struct Case {
        int32_t viewer, owner;
        int32_t colour, shade;
    };
    for (const Case& c : std::vector<Case>{
             {1, 3, kColourFoe, 0},     // at war
             {3, 1, kColourFoe, 0},     //
             {1, 2, kColourFriend, 6},  // the same side of a war
             {4, 5, kColourFriend, 12}, // overlord
             {5, 4, kColourFriend, 12}, // vassal
             {2, 6, kColourFoe, 12},    // the owner's casus belli on the viewer
             {6, 1, kColourFriend, 18}, // military alliance
             {6, 2, kColourFoe, 18},    // the viewer's casus belli on the owner
             {3, 6, kColourFriend, 24}, // royal marriage
             {4, 1, kColourLand, 0},    // nothing between them
             {50, 1, kColourLand, 0},   // no viewing country
         }) {
        SCOPED_TRACE(testing::Message() << c.viewer << " sees " << c.owner);
        EXPECT_EQ(DiplomacyColour(c.viewer, c.owner), std::make_pair(c.colour, c.shade));
    }
    // The claim on a held province counts as a casus belli too.
    Relation(6, 2).casusBelli.clear();
    EXPECT_EQ((DiplomacyColour(2, 6)), (std::pair<int32_t, int32_t>{kColourLand, 0}));
    Relation(6, 2).claimHeld = 1;
    EXPECT_EQ((DiplomacyColour(2, 6)), (std::pair<int32_t, int32_t>{kColourFoe, 12}));
}

TEST_F(DiplomaticQueriesTest, RelationsMapReadsTheViewersRelationValue) {
    ASSERT_NE(g_mapModeHooks.relation, nullptr);
    Relation(1, 4).SetValue(120.0f);
    Relation(4, 1).SetValue(-80.0f);
    EXPECT_EQ(g_mapModeHooks.relation(1, 4), 120);
    EXPECT_EQ(g_mapModeHooks.relation(4, 1), -80);
    EXPECT_EQ(g_mapModeHooks.relation(50, 1), 0);
    EXPECT_EQ(g_mapModeHooks.relation(1, 120), 0);
}

TEST_F(DiplomaticQueriesTest, ACountryListFindsTheEnemiesAtWar) {
    CCountryList list;
    list.AddTail(1);
    EXPECT_TRUE(list.AnyMatches(3));
    EXPECT_FALSE(list.AnyMatches(2));
    EXPECT_FALSE(list.AnyMatches(4));
}

} // namespace
