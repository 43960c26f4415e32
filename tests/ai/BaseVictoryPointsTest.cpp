// The base victory points' monthly step.
#include <gtest/gtest.h>

#include "ai/BaseVictoryPoints.h"
#include "country/MonthlyUpdate.h"
#include "tests/ai/AIFixture.h"

namespace {

class BaseVictoryPointsTest : public AIFixture {
protected:
    void SetUp() override {
        AIFixture::SetUp();
        g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
        a = &MakeCountry(30);
        b = &MakeCountry(31);
    }
    CAICountry* a = nullptr;
    CAICountry* b = nullptr;
};

TEST_F(BaseVictoryPointsTest, TheMonthIsTheStepTheCountriesRun) {
    EXPECT_EQ(g_countryMonth.victoryPointsMonth, &BaseVictoryPointsMonth);
}

// A's economy points of one month with B's infantry as given.
float EconomyGain(CAICountry& a, CAICountry& b, int32_t otherInfantry) {
    a.m_keptUnits[CCountry::UNIT_INFANTRY] = 5000;
    b.m_keptUnits[CCountry::UNIT_INFANTRY] = otherInfantry;
    const float before = a.m_baseVp.values[0];
    BaseVictoryPointsMonth(a);
    return a.m_baseVp.values[0] - before;
}

// A tie for the greatest land strength still leads; a greater one does not.
TEST_F(BaseVictoryPointsTest, LeadingFiguresEarnPointsAndATieStillLeads) {
    const float alone = EconomyGain(*a, *b, 4000);
    EXPECT_NEAR(EconomyGain(*a, *b, 5000), alone, 1e-6f);
    EXPECT_NEAR(alone - EconomyGain(*a, *b, 6000), 0.041666f, 1e-6f);
}

TEST_F(BaseVictoryPointsTest, PeaceEarnsDiplomacyPoints) {
    BaseVictoryPointsMonth(*a);
    EXPECT_NEAR(a->m_baseVp.values[3], 0.09166667f, 1e-6f);
    a->SetAtWarWith(31);
    BaseVictoryPointsMonth(*a);
    EXPECT_NEAR(a->m_baseVp.values[3], 0.09166667f, 1e-6f);
}

TEST_F(BaseVictoryPointsTest, WithTheOptionOffNothingChanges) {
    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 0);
    a->m_keptUnits[CCountry::UNIT_INFANTRY] = 5000;
    BaseVictoryPointsMonth(*a);
    for (float value : a->m_baseVp.values)
        EXPECT_EQ(value, 0.0f);
}

} // namespace
