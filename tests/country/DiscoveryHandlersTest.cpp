// Provinces made known through the country's messages: the discovery
// feats, the capital a discovered province reveals, and exploration shared
// or stolen.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/Relations.h"
#include "engine/Config.h"
#include "net/EventTypes.h"
#include "tests/country/EconomyFixture.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

std::vector<GameNotice> g_notices;

class DiscoveryHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_globals.discoveries = Discoveries{};
        g_notices.clear();
        g_gameNotices.post = [](const GameNotice& notice) { g_notices.push_back(notice); };
        g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    }
    void TearDown() override {
        const std::vector<int32_t> used = m_used;
        for (int32_t id : used)
            Province(id);
        g_globals.discoveries = Discoveries{};
        g_gameNotices.post = nullptr;
        EconomyTest::TearDown();
    }

    CProvince& Province(int32_t id) {
        CProvince& province = *GetProvince(id);
        m_used.push_back(id);
        province.ResetForGame();
        province.terrain = 0;
        province.area = 0;
        province.region = 0;
        province.continent = 0;
        return province;
    }

    static void Discover(CCountry& country, uint32_t province) {
        COVProvinceEvent event(EVT_DISCOVERPROVINCE, country.GetId(), province);
        EXPECT_EQ(country.HandleMessage(event), EVENT_CONSUMED);
    }
    static int Exploration(CCountry& country, uint32_t type, uint32_t other) {
        COVDataEvent event(type, country.GetId());
        event.Payload().Set(PairPayload::kFirst, other);
        return country.HandleMessage(event);
    }

    std::vector<int32_t> m_used;
};

struct FeatCase {
    const char* key;
    size_t flag;
    float points;
    int32_t province;
    std::function<void(CProvince&)> qualify;
};

// Each feat's province, its flag among the discoveries and its points; a
// second country finding another province of the same kind gets nothing.
TEST_F(DiscoveryHandlersTest, EachFeatIsWonOnceAndSetsItsOwnFlag) {
    auto land = [](int32_t CProvince::*field, int32_t value) {
        return [field, value](CProvince& p) {
            p.terrain = 0;
            p.*field = value;
        };
    };
    auto sea = [](int32_t CProvince::*field, int32_t value) {
        return [field, value](CProvince& p) {
            p.terrain = 5;
            p.*field = value;
        };
    };
    auto none = [](CProvince&) {};
    const FeatCase cases[] = {
        {"america", 0, 50, 100, land(&CProvince::continent, 1)},
        {"asia", 1, 25, 100, land(&CProvince::continent, 3)},
        {"quebec", 2, 5, 100, land(&CProvince::area, 20)},
        {"greatlake", 3, 10, 100, sea(&CProvince::area, 17)},
        {"capehorn", 4, 10, 1240, none},
        {"goodhope", 5, 10, 1252, none},
        {"hudsonbay", 6, 10, 829, none},
        {"alaska", 7, 5, 100, land(&CProvince::area, 1)},
        {"panama", 8, 5, 39, none},
        {"inlandchina", 9, 20, 100, land(&CProvince::area, 90)},
        {"amazones", 10, 10, 100, land(&CProvince::area, 33)},
        {"india", 12, 25, 100, land(&CProvince::region, 14)},
        {"kamtchatska", 13, 10, 100, land(&CProvince::area, 89)},
        {"california", 14, 10, 100, land(&CProvince::area, 3)},
        {"pacific", 15, 10, 100, sea(&CProvince::region, 23)},
        {"australia", 16, 5, 723, none},
    };
    for (const FeatCase& c : cases) {
        SCOPED_TRACE(c.key);
        g_globals.discoveries = Discoveries{};
        DeleteAllCountries();
        CCountry& first = Make(1);
        CCountry& second = Make(2);
        c.qualify(Province(c.province));
        Discover(first, static_cast<uint32_t>(c.province));
        EXPECT_TRUE(IsProvinceDiscovered(1, c.province));
        EXPECT_FLOAT_EQ(first.m_baseVp.values[5], c.points);
        for (size_t i = 0; i < Discoveries::kCount; ++i)
            EXPECT_EQ(g_globals.discoveries.flags[i], i == c.flag ? 1 : 0) << i;

        // Another province of the same kind (or the same one) for another
        // country: the feat is taken.
        const int32_t other = c.province == 100 ? 101 : c.province;
        c.qualify(Province(other));
        Discover(second, static_cast<uint32_t>(other));
        EXPECT_FLOAT_EQ(second.m_baseVp.values[5], 0.0f);
        Province(c.province);
        Province(other);
    }
}

TEST_F(DiscoveryHandlersTest, FeatNoticeGoesToThePlayerAndOthersAreToldOfTheExploration) {
    CCountry& player = Make(1);
    CCountry& other = Make(2);
    g_countryController[1] = 1;
    Province(39);
    Discover(player, 39);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].type, 148);
    EXPECT_EQ(g_notices[0].linkProvince, 39);
    ASSERT_EQ(g_notices[0].values.size(), 3u);
    EXPECT_EQ(g_notices[0].values[2], NoticeArg("5"));

    g_notices.clear();
    Province(40);
    Discover(other, 40);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].type, 145);
    g_countryController[1] = 0;
}

TEST_F(DiscoveryHandlersTest, WithTheOptionOffNoFeatIsClaimed) {
    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 0);
    CCountry& first = Make(1);
    CCountry& second = Make(2);
    Province(1240);
    Discover(first, 1240);
    EXPECT_EQ(g_globals.discoveries.flags[4], 0);
    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    Discover(second, 1240);
    EXPECT_EQ(g_globals.discoveries.flags[4], 1);
    EXPECT_FLOAT_EQ(second.m_baseVp.values[5], 10.0f);
}

TEST_F(DiscoveryHandlersTest, InlandChinaWaitsForTheListedProvinces) {
    CCountry& country = Make(1);
    Province(100).area = 90;
    Province(300);
    g_globals.discoveries.inlandChinaProvinces = {300};
    Discover(country, 100);
    EXPECT_EQ(g_globals.discoveries.flags[9], 0);
    Discover(country, 300);
    Discover(country, 100);
    EXPECT_EQ(g_globals.discoveries.flags[9], 1);
}

TEST_F(DiscoveryHandlersTest, AForeignProvinceRevealsItsOwnersCapital) {
    CCountry& finder = Make(1);
    CCountry& owner = Make(2);
    Province(60).SetOwner(&owner);
    Province(61).SetOwner(&owner);
    owner.m_capital = 61;
    Discover(finder, 60);
    EXPECT_TRUE(IsProvinceDiscovered(1, 60));
    EXPECT_TRUE(IsProvinceDiscovered(1, 61));
    EXPECT_FALSE(IsProvinceDiscovered(2, 60));
}

TEST_F(DiscoveryHandlersTest, SharedExplorationGoesBothWaysAndWarmsMajors) {
    CCountry& a = Make(1);
    CCountry& b = Make(2);
    a.m_major = 1;
    b.m_major = 1;
    Province(10);
    Province(20);
    DiscoverProvince(1, 10);
    DiscoverProvince(2, 20);
    const float before = a.m_diplomacy.GetRelation(2)->GetValue();
    COVDataEvent event(EVT_ACCEPT_SHARE_EXPLORATION, a.GetId());
    event.Payload().Set(ExplorationPayload::kCountry, 2u);
    EXPECT_EQ(a.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_TRUE(IsProvinceDiscovered(1, 20));
    EXPECT_TRUE(IsProvinceDiscovered(2, 10));
    EXPECT_FLOAT_EQ(a.m_diplomacy.GetRelation(2)->GetValue(), before + 5.0f);
    EXPECT_FLOAT_EQ(b.m_diplomacy.GetRelation(1)->GetValue(), before + 5.0f);
}

TEST_F(DiscoveryHandlersTest, StolenProvincesRunThroughTheDiscoveryWithItsFeats) {
    CCountry& thief = Make(1);
    Make(2);
    Province(1252);
    Province(30);
    DiscoverProvince(2, 1252);
    DiscoverProvince(2, 30);
    EXPECT_EQ(Exploration(thief, EVT_STEAL_EXPLORATION, 2), EVENT_CONSUMED);
    EXPECT_TRUE(IsProvinceDiscovered(1, 1252));
    EXPECT_TRUE(IsProvinceDiscovered(1, 30));
    EXPECT_FLOAT_EQ(thief.m_baseVp.values[5], 10.0f); // the Cape of Good Hope
}

TEST_F(DiscoveryHandlersTest, BadNumbersInTheMessagesAreDropped) {
    CCountry& country = Make(1);
    Discover(country, 5000);
    Discover(country, 0);
    EXPECT_EQ(Exploration(country, EVT_STEAL_EXPLORATION, 200), EVENT_CONSUMED);
    EXPECT_EQ(Exploration(country, EVT_STEAL_EXPLORATION, 7), EVENT_CONSUMED); // no country 7
    COVDataEvent learnt(EVT_DISCOVERCOUNTRY, country.GetId());
    learnt.Payload().Set(ExplorationPayload::kCountry, 0xFFFFFFFFu);
    EXPECT_EQ(country.HandleMessage(learnt), EVENT_CONSUMED);
    EXPECT_EQ(g_globals.discoveries.flags, Discoveries{}.flags);
}

} // namespace
