#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/CountryList.h"

namespace {

class CountryListTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddCountry(std::make_unique<CCountry>(2));
        AddCountry(std::make_unique<CCountry>(97));
    }
    void TearDown() override { DeleteAllCountries(); }

    CCountryList list;
};

TEST_F(CountryListTest, AnEmptyListMatchesNothingAndSumsToZero) {
    EXPECT_FALSE(list.AnyMatches(96));
    EXPECT_EQ(list.SumCountryValueA(), 0.0);
    EXPECT_EQ(list.SumCountryValueB(), 0.0);
}

TEST_F(CountryListTest, AnyMatchesAsksTheListedCountriesThatExist) {
    struct Row {
        uint32_t listed;
        uint32_t n;
        bool matches;
    };
    const Row rows[] = {
        {2, 96, true},                    // the natives and rebels are everybody's enemies
        {2, 98, true},    {97, 3, true},  // and everybody is theirs
        {97, 97, false},                  // but never their own
        {2, 2, false},    {5, 96, false}, // slot 5 is empty
        {200, 96, false},                 // no slot at all
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.listed << " against " << row.n);
        CCountryList one;
        one.AddTail(row.listed);
        EXPECT_EQ(one.AnyMatches(row.n), row.matches);
    }
    list.AddTail(5);
    list.AddTail(200);
    list.AddTail(2);
    EXPECT_TRUE(list.AnyMatches(96));
    // Only country 2 counts: its two figures start at 1 each.
    EXPECT_EQ(list.SumCountryValueA() + list.SumCountryValueB(), 2.0);
}

TEST_F(CountryListTest, HostilityFollowsTheWarsAndTheSumsTheStrengthFigures) {
    CCountry& two = *g_countries[2];
    list.AddTail(5); // an empty slot, skipped by every walk
    list.AddTail(2);
    EXPECT_FALSE(list.AnyMatches(3));
    two.SetAtWarWith(3);
    EXPECT_TRUE(list.AnyMatches(3));
    two.EndWarWith(3);
    EXPECT_FALSE(list.AnyMatches(3));

    two.m_strengthRatings = {10.0f, 20.0f, 30.0f, 40.0f, 50.0f};
    g_countries[97]->m_strengthRatings = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f};
    list.AddTail(97);
    // The first sum adds figure 3, the second figure 1.
    EXPECT_DOUBLE_EQ(list.SumCountryValueA(), 44.0);
    EXPECT_DOUBLE_EQ(list.SumCountryValueB(), 22.0);
}

TEST_F(CountryListTest, EntriesRemovedDuringAWalkAreSkipped) {
    list.AddTail(2);
    list.AddTail(3);
    list.BeginWalk();
    list.Remove(2);
    EXPECT_FALSE(list.AnyMatches(96));
    std::vector<uint32_t> seen;
    list.ForEachNumber([&seen](uint32_t n) { seen.push_back(n); });
    EXPECT_EQ(seen, std::vector<uint32_t>{3});
    list.EndWalk();
    EXPECT_EQ(list.GetCount(), 1u);
}

} // namespace
