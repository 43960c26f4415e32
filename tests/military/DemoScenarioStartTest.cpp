// The demo world's scenarios start with the game's own start-up on the
// generated world: no finding, the countries with their cities, the
// treaties standing, every army on land and every fleet at sea or in a port
// of its own; the revolt tables name the same homes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/War.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/Scheduler.h"
#include "tests/TestSupport.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr int32_t kSeaTerrain = 5;

class DemoScenarioStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        test::CopyDemoWorld(m_dir.Path());
        SetCountryTagSource(FindCountryTagOfNumber);
        g_countryController.fill(0);
        g_gameType = 0;
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_scheduler.Clear();
        g_globals.Init();
    }

    void TearDown() override {
        m_scenario.reset();
        g_globals.Shutdown();
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_countryController.fill(0);
        SetCountryTagSource(nullptr);
    }

    // Starts the scenario as the main loop does, with the country of the
    // number played by the human at this machine.
    void Start(const char* file, uint32_t player) {
        g_countryController[player] = 1;
        m_scenario = std::make_unique<CScenario>(file, 7);
        ASSERT_EQ(g_gameStarted, 1);
    }

    // The countries that hold at least one city.
    static std::vector<CCountry*> CountriesWithCities() {
        std::vector<CCountry*> out;
        for (CCountry* country : g_countries)
            if (country && country->m_cities.GetCount() > 0)
                out.push_back(country);
        return out;
    }

    // Every unit of every country, each army and fleet where it may stand.
    static void ExpectUnitsWhereTheyBelong(size_t& armies, size_t& fleets) {
        armies = fleets = 0;
        for (CCountry* country : g_countries) {
            if (!country)
                continue;
            for (CLinkedList<CUnit>* list : {&country->m_units, &country->m_unitsInDevelopment}) {
                list->ForEach([&](CUnit* unit) {
                    SCOPED_TRACE(country->GetTag() + " " + unit->GetName());
                    const CProvince* at = GetProvince(unit->GetLocation());
                    if (unit->IsFleet()) {
                        ++fleets;
                        ASSERT_NE(at, nullptr);
                        const bool atSea = at->terrain == kSeaTerrain;
                        const bool ownPort = at->GetOwner() == country && at->portSeaZone > 0;
                        EXPECT_TRUE(atSea || ownPort) << "fleet at " << unit->GetLocation();
                        return;
                    }
                    ++armies;
                    if (static_cast<CLandUnit*>(unit)->GetCarrier())
                        return; // aboard its fleet
                    ASSERT_NE(at, nullptr);
                    EXPECT_NE(at->terrain, kSeaTerrain) << "army at " << unit->GetLocation();
                });
            }
        }
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;
    std::unique_ptr<CScenario> m_scenario;
};

TEST_F(DemoScenarioStartTest, TheKnownWorldStartsWithEveryNationInPlace) {
    Start("scenarios\\world_1492.ovg", 1);
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    EXPECT_EQ(ValidateScenario(), 0);
    EXPECT_EQ(g_globals.startDate.year, 1492);

    // Forty nations and more, each with its capital among its cities; no
    // province held by two.
    const std::vector<CCountry*> nations = CountriesWithCities();
    EXPECT_GE(nations.size(), 40u);
    std::set<int32_t> held;
    for (CCountry* country : nations) {
        SCOPED_TRACE(country->GetTag());
        const CProvince* capital = GetProvince(country->m_capital);
        ASSERT_NE(capital, nullptr);
        EXPECT_EQ(capital->GetOwner(), country);
        ASSERT_NE(capital->GetCity(), nullptr);
        EXPECT_TRUE(capital->GetCity()->IsCapital());
        EXPECT_NE(capital->terrain, kSeaTerrain);
        country->m_cities.ForEach([&](CCity* city) {
            EXPECT_TRUE(held.insert(city->GetLocation()).second) << city->GetLocation();
        });
        // The technology group follows the number.
        const uint32_t number = country->GetNumber();
        if (number == 7 || number == 13 || number == 32 || number == 42 || number == 60 ||
            number == 68) {
            EXPECT_EQ(country->m_technology.group, 1u);
        }
    }
    // The outlaws exist, and so do the natives the start-up makes.
    for (uint32_t number : {96u, 97u, 98u})
        EXPECT_NE(CountryOfNumber(number), nullptr) << number;
    // Some land is left to the natives.
    int32_t unheld = 0;
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* p = GetProvince(id);
        if (p->terrain != kSeaTerrain && !p->GetOwner() && p->natives > 0)
            ++unheld;
    }
    EXPECT_GT(unheld, 0);

    // The alliances and the war stand, also after the check for stale wars
    // that the game start runs.
    EndStaleWars();
    EXPECT_GE(g_alliances.size(), 3u);
    for (const auto& alliance : g_alliances) {
        EXPECT_GE(alliance->participants.size(), 2u) << alliance->name;
        for (uint32_t member : alliance->participants)
            EXPECT_NE(CountryOfNumber(member), nullptr) << alliance->name;
    }
    ASSERT_EQ(g_wars.size(), 1u);
    const CWar& war = *g_wars.front();
    ASSERT_TRUE(war.attackers && war.defenders);
    ASSERT_EQ(war.attackers->participants.size(), 1u);
    ASSERT_EQ(war.defenders->participants.size(), 1u);
    EXPECT_NE(CountryOfNumber(war.attackers->participants.front()), nullptr);
    EXPECT_NE(CountryOfNumber(war.defenders->participants.front()), nullptr);

    size_t armies = 0;
    size_t fleets = 0;
    ExpectUnitsWhereTheyBelong(armies, fleets);
    EXPECT_GE(armies, nations.size());
    EXPECT_GE(fleets, 10u);

    // The revolt definitions of the same nations name the same capitals and
    // technology groups, and their provinces rise for them; the revolt table
    // knows every tag.
    for (CCountry* country : nations) {
        SCOPED_TRACE(country->GetTag());
        const CCountryDefinition* definition = g_globals.RevoltDefinition(country->GetNumber());
        ASSERT_NE(definition, nullptr);
        EXPECT_EQ(definition->capital, country->m_capital);
        EXPECT_EQ(definition->group, country->m_technology.group);
        EXPECT_EQ(GetProvince(country->m_capital)->revoltCountry,
                  static_cast<int32_t>(country->GetNumber()));
    }
    CRevoltTable revolts;
    EXPECT_EQ(revolts.Load("db\\revolt.csv"), 0u);
}

TEST_F(DemoScenarioStartTest, TheAmberCoastStartsOnOneStretchOfCoast) {
    Start("scenarios\\amber_coast.ovg", 1);
    EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    EXPECT_EQ(ValidateScenario(), 0);
    ASSERT_EQ(CountriesWithCities().size(), 3u);

    // The three realms with their homes; the mission's islands are HAB's.
    CCountry* eng = CountryOfNumber(1);
    CCountry* fra = CountryOfNumber(2);
    CCountry* hab = CountryOfNumber(3);
    ASSERT_TRUE(eng && fra && hab);
    EXPECT_EQ(eng->m_ownedProvinces.GetCount(), 2u);
    EXPECT_EQ(fra->m_ownedProvinces.GetCount(), 1u);
    EXPECT_EQ(hab->m_ownedProvinces.GetCount(), 2u);
    hab->m_missionArea.ForEach(
        [&](int32_t id) { EXPECT_EQ(GetProvince(id)->GetOwner(), hab) << id; });
    // The squadron lies in the sea zone of Avaris's port.
    CUnit* squadron = nullptr;
    eng->m_units.ForEach([&](CUnit* unit) {
        if (unit->IsFleet())
            squadron = unit;
    });
    ASSERT_NE(squadron, nullptr);
    EXPECT_EQ(squadron->GetLocation(), GetProvince(eng->m_capital)->portSeaZone);

    size_t armies = 0;
    size_t fleets = 0;
    ExpectUnitsWhereTheyBelong(armies, fleets);
    EXPECT_EQ(fleets, 1u);
    EXPECT_EQ(armies, 4u); // the marines aboard, the marching army, two of FRA's
}

} // namespace
