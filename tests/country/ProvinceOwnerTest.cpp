// A province between the countries that own and control it: its id moves
// between their province lists, and a replaced settlement leaves its owner's
// lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "country/Country.h"
#include "data/Keywords.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/TradingPost.h"

namespace {

class ProvinceOwnerTest : public test::SaveBlockTest {
protected:
    void TearDown() override {
        Province(12).ResetForGame();
        DeleteAllCountries();
        SaveBlockTest::TearDown();
    }

    CProvince& Province(int id) { return *GetProvince(id); }

    CCountry* MakeCountry(uint32_t number) {
        auto country = std::make_unique<CCountry>(number);
        CCountry* made = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return made;
    }
};

TEST_F(ProvinceOwnerTest, OwnerMovesWithItsCityAndTradingPost) {
    CCountry* spain = MakeCountry(10);
    CCountry* france = MakeCountry(11);
    CProvince& province = Province(12);
    EXPECT_EQ(province.GetOwner(), nullptr);

    // The settlements as a country block reads them: the province keeps
    // them, the owner lists them.
    OpenBlock("city = { name = \"Sevilla\" population = 6500.000000 location = 12 capital = yes }");
    auto city = std::make_unique<CCity>();
    ASSERT_EQ(city->Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(city->GetLocation(), 12);
    EXPECT_TRUE(city->IsCapital());
    EXPECT_FALSE(city->IsColony() || city->IsTown());
    OpenBlock("tradingpost = { name = \"Puerto\" level = 2 location = 12 }");
    auto post = std::make_unique<CTradingPost>();
    ASSERT_EQ(post->Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(post->GetLocation(), 12);
    CCity* cityPtr = city.get();
    CTradingPost* postPtr = post.get();
    spain->m_cities.AddTail(cityPtr);
    spain->m_tradingPosts.AddTail(postPtr);
    province.SetCity(std::move(city));
    province.SetTradingPost(std::move(post));
    province.SetOwner(spain);
    province.SetControllerField(spain);
    EXPECT_EQ(province.GetOwner(), spain);
    EXPECT_TRUE(spain->m_ownedProvinces.Contains(12));
    EXPECT_TRUE(province.whiteman);

    // The settlements move to the new owner as the country reader moves
    // them; the province keeps them.
    cityPtr->ClearCapital();
    spain->m_cities.Remove(cityPtr);
    france->m_cities.AddTail(cityPtr);
    spain->m_tradingPosts.Remove(postPtr);
    france->m_tradingPosts.AddTail(postPtr);
    france->m_ownedProvinces.AddTail(12);
    province.SetOwner(france);
    EXPECT_EQ(province.GetOwner(), france);
    EXPECT_EQ(province.GetCity(), cityPtr);
    EXPECT_EQ(province.GetTradingPost(), postPtr);
    EXPECT_FALSE(spain->m_ownedProvinces.Contains(12));
    EXPECT_EQ(france->m_ownedProvinces.GetCount(), 1u);
    EXPECT_EQ(province.GetController(), spain);
    province.SetControllerField(france);
    EXPECT_FALSE(spain->m_controlledProvinces.Contains(12));
    EXPECT_TRUE(france->m_controlledProvinces.Contains(12));

    // The city writes its block back with the capital mark it has now.
    EXPECT_EQ(
        Flat(Print(KW_CITY, cityPtr->Write())),
        "city = { name = \"Sevilla\" population = 6500.000000 location = 12 shipyard = no "
        "barrack = no bailiff = no cityrights = no courthouse = no fortress = { level = "
        "6.000000 date = { year = 0 month = january day = 0 } increase = no } capital = no } ");
    EXPECT_EQ(Flat(Print(KW_TRADINGPOST, postPtr->Write())),
              "tradingpost = { name = \"Puerto\" level = 2 location = 12 } ");

    // A city that replaces another takes the old one off its owner's list.
    province.SetCity(std::make_unique<CCity>());
    EXPECT_FALSE(france->m_cities.Contains(cityPtr));
}

} // namespace

namespace {

// The check after a scenario is read: each inconsistent province is a
// finding written to log.txt, and one box names that file.
TEST_F(ProvinceOwnerTest, ScenarioCheckLogsEveryFindingAndNamesTheLogInItsBox) {
    Province(12).ResetForGame();
    Province(13).ResetForGame();
    CCountry* spain = MakeCountry(8);
    CCountry* france = MakeCountry(2);
    Province(12).SetOwner(spain);            // owned, without settlement or controller
    Province(13).SetControllerField(france); // controlled, without owner
    EXPECT_EQ(ValidateScenario(), 3);
    const std::string log = dir.ReadFile("log.txt");
    EXPECT_NE(log.find("Province 12 is specififed as owned by SPA but without a settlement\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Province 12 is specififed as owned by SPA but nobody is specified as "
                       "controller\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Province 13 is specififed as controlled by FRA but nobody is specified "
                       "as owner\n"),
              std::string::npos)
        << log;
    EXPECT_TRUE(BoxShown("Scenario files had errors (see log.txt)"));

    // A consistent world has no finding and shows no box.
    boxes.texts.clear();
    Province(12).SetControllerField(spain);
    OpenBlock("city = { name = \"Sevilla\" population = 6500 location = 12 }");
    auto city = std::make_unique<CCity>();
    ASSERT_EQ(city->Read(reader), FIELD_BLOCK_END);
    Province(12).SetCity(std::move(city));
    Province(12).maxNatives = 40;
    Province(13).SetOwner(france);
    Province(13).SetTradingPost(std::make_unique<CTradingPost>());
    EXPECT_EQ(ValidateScenario(), 0);
    EXPECT_TRUE(boxes.texts.empty());
    // A city that is no colony leaves no natives.
    EXPECT_EQ(Province(12).maxNatives, 0);
    Province(13).ResetForGame();
}

} // namespace
