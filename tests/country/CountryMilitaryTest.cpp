// The country's units and monarch through the military's hooks: the unit
// and monarch blocks of a country block go to the registered readers, and
// without them (no military in the program) they are read and dropped.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "data/DataTree.h"
#include "data/KeptBlock.h"
#include "tests/data/TextFormatFixture.h"

namespace {

// The readers' calls in order: "unit" or "monarch", and the flag (fleet,
// historical).
std::vector<std::pair<std::string, bool>> g_calls;

class CountryMilitaryTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        m_registered = g_countryMilitary;
        g_calls.clear();
    }
    void TearDown() override {
        reader.Close();
        g_countryMilitary = m_registered;
    }

    // Reads the block body (everything after "tag", up to its "}").
    int Read(CCountry& country, const std::string& body) {
        OpenText(body);
        reader.currentCountry = &country;
        return country.Read(reader);
    }

    static constexpr const char* kBody =
        "badboy = 1 navalunit = { name = \"Armada\" landunit = { name = \"Tercio\" } } "
        "landunit = { name = \"Levy\" } monarch = { name = \"Henry\" } "
        "historicalmonarch = { name = \"Anne\" } dynamism = 7 }";

private:
    CountryMilitaryHooks m_registered;
};

TEST_F(CountryMilitaryTest, UnitAndMonarchBlocksGoToTheRegisteredReaders) {
    g_countryMilitary.readUnit = [](CCountry&, CFieldReader& in, bool fleet) {
        g_calls.emplace_back("unit", fleet);
        CKeptBlock().Read(in);
    };
    g_countryMilitary.readMonarch = [](CCountry&, CFieldReader& in, bool historical) {
        g_calls.emplace_back("monarch", historical);
        CKeptBlock().Read(in);
    };
    CCountry country(1);
    ASSERT_EQ(Read(country, kBody), FIELD_BLOCK_END);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"unit", true}, {"unit", false}, {"monarch", false}, {"monarch", true}};
    EXPECT_EQ(g_calls, expected);
    EXPECT_EQ(country.m_badBoy, 1);
    EXPECT_EQ(country.m_dynamism, 7);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CountryMilitaryTest, WithoutTheMilitaryUnitAndMonarchBlocksAreDropped) {
    g_countryMilitary = CountryMilitaryHooks();
    CCountry country(1);
    ASSERT_EQ(Read(country, kBody), FIELD_BLOCK_END);
    EXPECT_EQ(country.m_dynamism, 7);
    EXPECT_TRUE(country.m_units.IsEmpty());
    EXPECT_TRUE(country.m_unitsInDevelopment.IsEmpty());
    EXPECT_FALSE(country.m_monarch);
    EXPECT_TRUE(boxes.texts.empty());
    const std::string printed = Print(KW_COUNTRY, country.Write());
    for (const char* key : {"navalunit", "landunit", "monarch = {", "historicalmonarch"})
        EXPECT_EQ(printed.find(key), std::string::npos) << key;
}

} // namespace
