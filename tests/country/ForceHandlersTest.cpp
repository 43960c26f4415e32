// Troops, ships and armies moved between two units and a unit changing
// allegiance, through messages to the country, over fake units behind the
// military's entries.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "net/EventTypes.h"
#include "tests/country/EconomyFixture.h"

namespace {

struct FakeUnit {
    std::array<float, 3> strength{};
    float morale = 0.0f;
    CDate date;
    int recomputed = 0;
    CCountry* owner = nullptr;
};
std::array<FakeUnit, 3> g_units;
std::vector<std::string> g_moves;

// Unit ids {7, 1..3} stand for the fakes; any other id names no unit.
FakeUnit& Fake(const CUnit& unit) {
    return *reinterpret_cast<FakeUnit*>(const_cast<CUnit*>(&unit));
}
CUnit* AsUnit(FakeUnit& fake) {
    return reinterpret_cast<CUnit*>(&fake);
}
ObjectId UnitId(uint32_t n) {
    return ObjectId(7, n);
}

class ForceHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        m_saved = g_countryMilitary;
        g_units = {};
        g_moves.clear();
        CountryMilitaryHooks& m = g_countryMilitary;
        m.findUnit = [](const ObjectId& id) -> CUnit* {
            return id.type == 7 && id.number >= 1 && id.number <= 3 ? AsUnit(g_units[id.number - 1])
                                                                    : nullptr;
        };
        m.unitStrength = [](const CUnit& u, int32_t i) { return Fake(u).strength[size_t(i)]; };
        m.setUnitStrength = [](CUnit& u, int32_t i, float v) { Fake(u).strength[size_t(i)] = v; };
        m.unitMorale = [](const CUnit& u) { return Fake(u).morale; };
        m.setUnitMorale = [](CUnit& u, float v) { Fake(u).morale = v; };
        m.fleetDate = [](const CUnit& u) { return Fake(u).date; };
        m.setFleetDate = [](CUnit& u, const CDate& d) { Fake(u).date = d; };
        m.recomputeStrength = [](CUnit& u) { ++Fake(u).recomputed; };
        m.transferCargo = [](CUnit& a, CUnit& b) {
            g_moves.push_back(std::to_string(&Fake(a) - g_units.data()) + ">" +
                              std::to_string(&Fake(b) - g_units.data()));
        };
        m.setUnitOwner = [](CUnit& u, CCountry& c) { Fake(u).owner = &c; };
        m.deleteUnits = [](const std::vector<CUnit*>&) {};
        m.describeUnit = [](const CUnit& u, UnitFacts& facts) {
            facts.fleet = &Fake(u) == &g_units[2]; // the third fake is a fleet
            facts.destroyed = true;
        };
    }
    void TearDown() override {
        for (CCountry* country : g_countries)
            if (country) {
                country->m_units.RemoveAll();
                country->m_unitsInDevelopment.RemoveAll();
            }
        g_countryMilitary = m_saved;
        EconomyTest::TearDown();
    }

    static int Transfer(CCountry& country, uint32_t type, uint32_t from, uint32_t to,
                        uint32_t count) {
        COVDataEvent event(type, country.GetId());
        event.Payload().Set(UnitTransferPayload::kFrom, UnitId(from));
        event.Payload().Set(UnitTransferPayload::kTo, UnitId(to));
        event.Payload().Set(UnitTransferPayload::kCount, count);
        return country.HandleMessage(event);
    }

    CountryMilitaryHooks m_saved;
};

TEST_F(ForceHandlersTest, TroopsMoveInWholeNumbersAndMoraleIsWeighted) {
    CCountry& country = Make(1);
    // Cavalry is index 1: 2.4 rounds up to 3 and all 3 move to an empty
    // unit, which takes the first unit's morale.
    g_units[0].strength = {0.0f, 2.4f, 0.0f};
    g_units[0].morale = 0.8f;
    g_units[1].morale = 0.2f;
    EXPECT_EQ(Transfer(country, EVT_TRANSFER_CAVALRY, 1, 2, 3), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(g_units[0].strength[1], 0.0f);
    EXPECT_FLOAT_EQ(g_units[1].strength[1], 3.0f);
    EXPECT_FLOAT_EQ(g_units[1].morale, 0.8f);
    EXPECT_EQ(g_units[0].recomputed, 1);
    EXPECT_EQ(g_units[1].recomputed, 1);

    // Each kind reaches its own strength; the morale is weighted by the
    // troops: (2 x 0.8 + 1 x 0.5) / 3 = 0.7.
    struct Case {
        uint32_t type;
        size_t index;
    };
    const Case cases[] = {{EVT_TRANSFER_INFANTRY, 2},
                          {EVT_TRANSFER_ARTILLERY, 0},
                          {EVT_TRANSFER_WARSHIPS, 0},
                          {EVT_TRANSFER_GALLEYS, 1},
                          {EVT_TRANSFER_TRANSPORTS, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        g_units[0] = {};
        g_units[1] = {};
        g_units[0].strength[c.index] = 5.0f;
        g_units[0].morale = 0.8f;
        g_units[1].strength[c.index] = 0.5f;
        g_units[1].morale = 0.5f;
        Transfer(country, c.type, 1, 2, 2);
        EXPECT_FLOAT_EQ(g_units[0].strength[c.index], 3.0f);
        EXPECT_FLOAT_EQ(g_units[1].strength[c.index], 3.0f);
        EXPECT_NEAR(g_units[1].morale, 0.7f, 1e-6f);
    }
}

TEST_F(ForceHandlersTest, ShipsBringTheFleetsDatesTogether) {
    CCountry& country = Make(1);
    g_units[0].strength = {4.0f, 0.0f, 0.0f};
    g_units[0].date = CDate(1, 0, 1600);
    g_units[1].strength = {2.0f, 0.0f, 0.0f};
    g_units[1].date = CDate(1, 6, 1600);
    Transfer(country, EVT_TRANSFER_WARSHIPS, 2, 1, 2);
    // Two ships dated July join four dated January: the mean weighted by
    // the ships (2 x July + 4 x January) / 6 is March, earlier than July.
    EXPECT_EQ(g_units[0].date, CDate(1, 2, 1600));
    EXPECT_EQ(g_units[1].date, CDate(1, 2, 1600));

    // Ships dated January join one dated June: the mean is March, but the
    // moving fleet's January is earlier.
    g_units[0].date = CDate(1, 5, 1600);
    g_units[1].date = CDate(1, 0, 1600);
    g_units[0].strength = {1.0f, 0.0f, 0.0f};
    g_units[1].strength = {2.0f, 0.0f, 0.0f};
    Transfer(country, EVT_TRANSFER_WARSHIPS, 2, 1, 2);
    EXPECT_EQ(g_units[0].date, CDate(1, 0, 1600));
    EXPECT_EQ(g_units[1].date, CDate(1, 0, 1600));
}

TEST_F(ForceHandlersTest, BadTransfersChangeNothing) {
    CCountry& country = Make(1);
    g_units[0].strength = {0.0f, 0.0f, 2.0f};
    g_units[1].strength = {0.0f, 0.0f, 1.0f};
    // More than the unit holds, a missing unit, the same unit twice.
    Transfer(country, EVT_TRANSFER_INFANTRY, 1, 2, 3);
    Transfer(country, EVT_TRANSFER_INFANTRY, 1, 9, 1);
    Transfer(country, EVT_TRANSFER_INFANTRY, 9, 1, 1);
    Transfer(country, EVT_TRANSFER_INFANTRY, 1, 1, 1);
    EXPECT_FLOAT_EQ(g_units[0].strength[2], 2.0f);
    EXPECT_FLOAT_EQ(g_units[1].strength[2], 1.0f);
    EXPECT_EQ(g_units[0].recomputed + g_units[1].recomputed, 0);

    Transfer(country, EVT_TRANSFER_ALL_ARMIES, 1, 9, 0);
    EXPECT_TRUE(g_moves.empty());
    Transfer(country, EVT_TRANSFER_ALL_ARMIES, 2, 3, 0);
    EXPECT_EQ(g_moves, std::vector<std::string>{"1>2"});
}

TEST_F(ForceHandlersTest, AUnitSwitchingAllegianceChangesLists) {
    CCountry& first = Make(1);
    CCountry& second = Make(2);
    first.AddUnit(AsUnit(g_units[0]));
    COVDataEvent event(EVT_SWITCH_ALLEGIANCE, second.GetId());
    event.Payload().Set(SwitchAllegiancePayload::kUnit, UnitId(1));
    EXPECT_EQ(second.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_FALSE(first.m_units.Contains(AsUnit(g_units[0])));
    EXPECT_TRUE(second.m_units.Contains(AsUnit(g_units[0])));
    EXPECT_EQ(g_units[0].owner, &second);

    // No such unit: nothing.
    event.Payload().Set(SwitchAllegiancePayload::kUnit, UnitId(9));
    EXPECT_EQ(first.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_TRUE(second.m_units.Contains(AsUnit(g_units[0])));
}

TEST_F(ForceHandlersTest, DisbandingHandsTheTroopsBackAndDeletesTheUnit) {
    CCountry& country = Make(1);
    CCountry& other = Make(2);
    g_units[0].strength = {1.5f, 2.0f, 10.2f}; // artillery, cavalry, infantry
    g_units[2].strength = {3.0f, 0.5f, 4.0f};  // warships, galleys, transports
    country.AddUnit(AsUnit(g_units[0]));
    country.AddUnit(AsUnit(g_units[2]));
    other.AddUnit(AsUnit(g_units[1]));
    g_units[1].strength = {5.0f, 5.0f, 5.0f};
    auto disband = [](CCountry& c, uint32_t unit) {
        COVDataEvent event(EVT_DISBAND_UNIT, c.GetId());
        event.Payload().Set(UnitRequestPayload::kUnit, UnitId(unit));
        return c.HandleMessage(event);
    };
    EXPECT_EQ(disband(country, 1), EVENT_CONSUMED);
    EXPECT_EQ(disband(country, 3), EVENT_CONSUMED);
    EXPECT_EQ(country.m_keptUnits,
              (std::array<int32_t, CCountry::UNIT_CLASSES>{11, 2, 2, 3, 1, 4}));
    EXPECT_TRUE(country.m_units.IsEmpty());

    // Another country's unit and a missing one give nothing back.
    EXPECT_EQ(disband(country, 2), EVENT_CONSUMED);
    EXPECT_EQ(disband(country, 9), EVENT_CONSUMED);
    EXPECT_EQ(country.m_keptUnits,
              (std::array<int32_t, CCountry::UNIT_CLASSES>{11, 2, 2, 3, 1, 4}));
    EXPECT_TRUE(other.m_units.Contains(AsUnit(g_units[1])));
}

} // namespace
