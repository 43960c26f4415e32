#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "engine/Date.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "tests/engine/ScenarioStartChecks.h"

namespace {

void ExpectDate(const CDate& date, int day, int month, int year) {
    EXPECT_EQ(date.day, day);
    EXPECT_EQ(date.month, month);
    EXPECT_EQ(date.year, year);
}

TEST(Date, AddDaysAndMonthsCarryAcrossMonthsAndYears) {
    CDate date(29, 11, 1600);
    EXPECT_EQ(date.AddDays(1), 0);
    ExpectDate(date, 0, 0, 1601);
    EXPECT_EQ(date.AddDays(-1), 11);
    ExpectDate(date, 29, 11, 1600);
    date.AddDays(360 * 3 + 45);
    ExpectDate(date, 14, 1, 1604);

    CDate monthly(5, 11, 1500);
    EXPECT_EQ(monthly.AddMonths(14), 1);
    ExpectDate(monthly, 5, 1, 1502);
    EXPECT_EQ(monthly.AddMonths(-2), 11);
    ExpectDate(monthly, 5, 11, 1501);

    monthly.AddYears(-3);
    ExpectDate(monthly, 5, 11, 1498);
}

TEST(Date, SpansAddAndSubtract) {
    const CDate span(10, 2, 1); // ten days, two months, one year
    CDate date(25, 10, 1600);
    const CDate later = date.Plus(span);
    ExpectDate(later, 5, 1, 1602);
    ExpectDate(later.Minus(span), 25, 10, 1600);
    ExpectDate(date, 25, 10, 1600); // Plus leaves the date itself

    date += span;
    ExpectDate(date, 5, 1, 1602);
    date -= span;
    ExpectDate(date, 25, 10, 1600);

    // The difference of two dates as a span.
    ExpectDate(CDate(3, 4, 1610).Minus(CDate(1, 2, 1600)), 2, 2, 10);
}

TEST(Date, OrderFollowsTheDayCount) {
    const CDate a(29, 11, 1600);
    const CDate b(0, 0, 1601);
    EXPECT_EQ(b.GetDayCount() - a.GetDayCount(), 1);
    EXPECT_TRUE(b.IsAfter(a));
    EXPECT_FALSE(a.IsAfter(b));
    EXPECT_FALSE(a.IsAfter(a));
    EXPECT_TRUE(a.IsNotBefore(a));
    EXPECT_TRUE(b.IsNotBefore(a));
    EXPECT_FALSE(a.IsNotBefore(b));
}

TEST(Date, SetFromDaysSplitsTheCount) {
    CDate date;
    date.SetFromDays(361);
    ExpectDate(date, 1, 0, 1);
    date.SetFromDays(1600 * 360 + 11 * 30 + 29);
    ExpectDate(date, 29, 11, 1600);
}

// Negative totals split into negative parts (truncating division) and keep
// their day count.
TEST(Date, NegativeTotalsGiveNegativeParts) {
    struct Case {
        int32_t total;
        int day, month, year;
    };
    const Case cases[] = {
        {-1, -1, 0, 0},
        {-31, -1, -1, 0},
        {-361, -1, 0, -1},
        {-(360 * 2 + 30 * 5 + 7), -7, -5, -2},
    };
    for (const Case& c : cases) {
        CDate date;
        date.SetFromDays(c.total);
        ExpectDate(date, c.day, c.month, c.year);
        EXPECT_EQ(date.GetDayCount(), c.total);
    }
    CDate start;
    start.AddDays(-45);
    ExpectDate(start, -15, -1, 0);
    EXPECT_EQ(start.GetDayCount(), -45);
    EXPECT_TRUE(CDate().IsAfter(start));

    // A huge step wraps the total as 32-bit arithmetic does (360 + INT32_MAX
    // becomes -2147483289), without overflowing.
    CDate far(0, 0, 1);
    far.AddDays(INT32_MAX);
    EXPECT_EQ(far.month, -4);
    EXPECT_EQ(far.day, -9);
}

TEST(Date, DisplayDayUsesRealMonthLengths) {
    EXPECT_EQ(CDate(29, 0, 1600).GetDisplayDay(), 29);
    EXPECT_EQ(CDate(29, 1, 1600).GetDisplayDay(), 27);
    EXPECT_EQ(CDate(15, 1, 1600).GetDisplayDay(), 14);
    EXPECT_EQ(CDate(29, 3, 1600).GetDisplayDay(), 29);
    for (int month = 0; month < 12; ++month)
        EXPECT_EQ(CDate(0, month, 1600).GetDisplayDay(), 0) << month;
}

// The scenario's start date as the test answers it.
TEST(Date, ToTicksCountsFromTheScenarioStart) {
    const GameStateHooks saved = g_gameState;
    g_gameState.scenarioStartDate = [] { return datetest::kScenarioStart; };
    datetest::ExpectTicksCountFromTheStart();
    // Without a scenario the count starts at the zero date.
    g_gameState.scenarioStartDate = nullptr;
    EXPECT_EQ(CDate(5, 0, 0).ToTicks(), 5 * 133);
    g_gameTimer.reset();
    g_gameState = saved;
}

} // namespace
