// The figures a country's messages carry are held to what a real game can
// reach before the country stores them: a peer's huge, negative or broken
// amount is dropped whole (the country keeps every figure it had), and the
// treasury, the month's income and the inflation stay within their ranges
// however many sound messages add to them.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "country/Ledger.h"
#include "country/Relations.h"
#include "engine/Config.h"
#include "net/EventTypes.h"
#include "tests/country/EconomyFixture.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

using Fill = std::function<void(COVEventData&)>;

// What a message may change of the country.
struct Figures {
    float treasury, income, inflation, land, naval, relation, points;
    size_t loans;
    int32_t adm, mil, dip;
    bool operator==(const Figures&) const = default;
};

class ReceivedFiguresTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        for (auto& row : g_diplomaticMatrix)
            row.fill(0.0f);
        g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    }

    static Figures FiguresOf(const CCountry& c) {
        float points = 0.0f;
        for (float value : c.m_baseVp.values)
            points += value;
        return {c.m_treasury,
                c.m_income,
                c.m_inflation,
                c.m_landMaintenance,
                c.m_navalMaintenance,
                c.m_diplomacy.GetRelation(5)->GetValue(),
                points,
                c.m_loans.size(),
                c.m_minister.adm,
                c.m_minister.mil,
                c.m_minister.dip};
    }

    static int Send(CCountry& country, uint32_t type, const Fill& fill) {
        COVDataEvent event(type, country.GetId());
        fill(event.Payload());
        return country.HandleMessage(event);
    }
};

Fill Money(float amount, uint32_t kind) {
    return [=](COVEventData& p) {
        p.Set(MoneyPayload::kAmount, amount);
        p.Set(MoneyPayload::kKind, kind);
    };
}

Fill Minister(int32_t adm, int32_t mil, int32_t dip) {
    return [=](COVEventData& p) {
        p.Set(MinisterPayload::kMinister, ObjectId(6, 3));
        p.Set(MinisterPayload::kAdm, adm);
        p.Set(MinisterPayload::kMil, mil);
        p.Set(MinisterPayload::kDip, dip);
    };
}

Fill Relation(float change, float amount) {
    return [=](COVEventData& p) {
        p.Set(ExecRelationPayload::kChange, change);
        p.Set(ExecRelationPayload::kAmount, amount);
        p.Set(ExecRelationPayload::kOther, 5u);
    };
}

TEST_F(ReceivedFiguresTest, FiguresBeyondTheirRangeDropTheMessageWhole) {
    struct Case {
        const char* what;
        uint32_t type;
        Fill fill;
    };
    const auto inflation = [](float change) {
        return [=](COVEventData& p) { p.Set(InflationPayload::kChange, change); };
    };
    const auto maintenance = [](float land, float naval) {
        return [=](COVEventData& p) {
            p.Set(SetMaintenancePayload::kLand, land);
            p.Set(SetMaintenancePayload::kNaval, naval);
        };
    };
    const auto gift = [](float amount) {
        return [=](COVEventData& p) {
            p.Set(GiftPayload::kAmount, amount);
            p.Set(GiftPayload::kGiver, 5u);
        };
    };
    const auto track = [](float amount) {
        return [=](COVEventData& p) { p.Set(TrackInvestmentPayload::kAmount, amount); };
    };
    const auto points = [](float amount) {
        return [=](COVEventData& p) {
            p.Set(BaseVictoryPointsPayload::kAmount, amount);
            p.Set(BaseVictoryPointsPayload::kKind, 2u);
        };
    };
    const auto loan = [](uint32_t amount) {
        return [=](COVEventData& p) {
            p.Set(CLoanEvent::kLoan, ObjectId(20, 1));
            p.Set(CLoanEvent::kAmount, amount);
            p.Set(CLoanEvent::kInterest, 10u);
        };
    };
    const std::vector<Case> cases = {
        {"gain of no number", EVT_GAINMONEY, Money(kNaN, INCOME_GIFT)},
        {"gain beyond a billion", EVT_GAINMONEY, Money(2.0e9f, INCOME_GIFT)},
        {"ordinary gain beyond a billion", EVT_GAINMONEY, Money(1.0e30f, INCOME_TAX)},
        {"loss beyond a billion", EVT_LOSEMONEY, Money(-3.0e38f, EXPENSE_GIFT)},
        {"infinite loss", EVT_LOSEMONEY, Money(kInf, EXPENSE_GIFT)},
        {"inflation of no number", EVT_INFLATION, inflation(kNaN)},
        {"huge negative inflation", EVT_INFLATION, inflation(-1.0e30f)},
        {"inflation beyond its range", EVT_INFLATION, inflation(11.0f)},
        {"negative maintenance", EVT_SET_MAINTENANCE, maintenance(-0.5f, 1.0f)},
        {"maintenance above one", EVT_SET_MAINTENANCE, maintenance(1.0f, 1.0e20f)},
        {"gift beyond a billion", EVT_SENDGIFT, gift(1.0e12f)},
        {"trade investment beyond a billion", EVT_CHANGE_TE, track(-1.0e12f)},
        {"infrastructure investment of no number", EVT_CHANGE_PE, track(kNaN)},
        {"relation money beyond a billion", EVT_EXEC_RELATION, Relation(5.0f, 1.0e10f)},
        {"relation change of no number", EVT_EXEC_RELATION, Relation(kNaN, 0.0f)},
        {"victory points beyond a million", EVT_UNNAMED_314, points(1.0e30f)},
        {"victory points of no number", EVT_UNNAMED_314, points(kNaN)},
        {"loan beyond a billion", EVT_EXEC_GETLOAN, loan(2000000000u)},
        {"minister value below 0", EVT_SET_MINISTER, Minister(-1, 5, 5)},
        {"minister value beyond a byte", EVT_SET_MINISTER, Minister(5, 5, INT32_MAX)},
        {"minister value at the least int", EVT_SET_MINISTER, Minister(5, INT32_MIN, 5)},
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(3);
        Make(5);
        country.m_treasury = 500.0f;
        country.m_income = 40.0f;
        country.m_inflation = 0.1f;
        const Figures before = FiguresOf(country);
        Send(country, c.type, c.fill);
        EXPECT_EQ(FiguresOf(country), before) << c.what;
        EXPECT_EQ(country.GetTradeTech().value, 0) << c.what;
        EXPECT_EQ(country.GetInfraTech().value, 0) << c.what;
    }
}

TEST_F(ReceivedFiguresTest, FiguresAtTheEdgesOfTheirRangesAreTaken) {
    CCountry& country = Make(3);
    Make(5);
    Send(country, EVT_GAINMONEY, Money(1.0e9f, INCOME_GIFT));
    EXPECT_FLOAT_EQ(country.m_treasury, 1.0e9f);
    Send(country, EVT_LOSEMONEY, Money(1.0e9f, EXPENSE_GIFT));
    EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
    Send(country, EVT_SET_MINISTER, Minister(0, 255, 9));
    EXPECT_EQ(country.m_minister.adm, 0);
    EXPECT_EQ(country.m_minister.mil, 255);
    // The relation's own bounds hold a huge change.
    Send(country, EVT_EXEC_RELATION, Relation(1.0e30f, 0.0f));
    EXPECT_FLOAT_EQ(country.m_diplomacy.GetRelation(5)->GetValue(), 200.0f);
}

// However many sound messages arrive, the treasury, the month's income and
// the inflation stay where the country's arithmetic stays in range.
TEST_F(ReceivedFiguresTest, TreasuryIncomeAndInflationStayWithinTheirRanges) {
    CCountry& country = Make(3);
    for (int i = 0; i < 5; ++i) {
        Send(country, EVT_GAINMONEY, Money(1.0e9f, INCOME_GIFT));
        Send(country, EVT_GAINMONEY, Money(1.0e9f, INCOME_TAX));
    }
    EXPECT_FLOAT_EQ(country.m_treasury, 1.0e9f);
    EXPECT_FLOAT_EQ(country.m_income, 1.0e9f);
    for (int i = 0; i < 5; ++i)
        Send(country, EVT_LOSEMONEY, Money(1.0e9f, EXPENSE_GIFT));
    EXPECT_FLOAT_EQ(country.m_treasury, -1.0e9f);

    const auto inflation = [](float change) {
        return [=](COVEventData& p) { p.Set(InflationPayload::kChange, change); };
    };
    for (int i = 0; i < 3; ++i)
        Send(country, EVT_INFLATION, inflation(9.0f));
    EXPECT_FLOAT_EQ(country.m_inflation, 10.0f);
    for (int i = 0; i < 3; ++i)
        Send(country, EVT_INFLATION, inflation(-9.0f));
    EXPECT_FLOAT_EQ(country.m_inflation, -0.5f);
    // A price at the lowest inflation is still a sound number.
    EXPECT_GE(country.GetCostModifier(), -0.5f);
}

} // namespace
