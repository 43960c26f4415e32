// A country's shield and flag paths (the alternative arms, the silver
// shields of minor and missing countries, the "MIN" row of an unknown
// number) and its shield set loaded from the demo world's pictures.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "country/Banners.h"
#include "country/Country.h"
#include "country/ShieldSet.h"
#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "tests/TestSupport.h"
#include "world/map/MapSprite.h"

namespace {

constexpr uint32_t kFra = 2;
constexpr uint32_t kPol = 13;
constexpr uint32_t kSwe = 9;

class BannersTest : public ::testing::Test {
protected:
    void TearDown() override { ClearCountryTable(); }

    static CCountry& Add(uint32_t number, bool major, bool alternative) {
        auto country = std::make_unique<CCountry>(number);
        country->m_major = major ? 1 : 0;
        country->m_alternativeBanner = alternative ? 1 : 0;
        CCountry* added = country.get();
        EXPECT_TRUE(AddCountry(std::move(country)));
        return *added;
    }
};

TEST_F(BannersTest, PathsFollowTheCountrysStandingAndItsAlternativeArms) {
    Add(kFra, true, false);
    Add(kPol, false, false);
    Add(kSwe, true, true);
    Add(4, false, true); // HOL: a minor with the alternative arms
    struct Case {
        uint32_t number;
        const char* shield;
        const char* small;
        const char* flag;
    };
    const Case cases[] = {
        {kFra, "gfx\\map\\shields\\shield_FRA.bmp", "gfx\\map\\shields\\small\\smallshield_FRA.bmp",
         "gfx\\map\\flags\\flag_FRA.bmp"},
        {kPol, "gfx\\map\\shields\\silver\\shieldsilver_POL.bmp",
         "gfx\\map\\shields\\small\\smallshield_POL.bmp", "gfx\\map\\flags\\flag_POL.bmp"},
        {kSwe, "gfx\\map\\shields\\shield_BAF.bmp", "gfx\\map\\shields\\small\\smallshield_BAF.bmp",
         "gfx\\map\\flags\\flag_SWE.bmp"},
        {4, "gfx\\map\\shields\\silver\\shieldsilver_BAF.bmp",
         "gfx\\map\\shields\\small\\smallshield_BAF.bmp", "gfx\\map\\flags\\flag_HOL.bmp"},
        // No country of the number: silver, its own tag.
        {3, "gfx\\map\\shields\\silver\\shieldsilver_HAB.bmp",
         "gfx\\map\\shields\\small\\smallshield_HAB.bmp", "gfx\\map\\flags\\flag_HAB.bmp"},
        // No tag of the number: the "MIN" row.
        {0, "gfx\\map\\shields\\silver\\shieldsilver_MIN.bmp",
         "gfx\\map\\shields\\small\\smallshield_MIN.bmp", "gfx\\map\\flags\\flag_MIN.bmp"},
        {150, "gfx\\map\\shields\\silver\\shieldsilver_MIN.bmp",
         "gfx\\map\\shields\\small\\smallshield_MIN.bmp", "gfx\\map\\flags\\flag_MIN.bmp"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(GetCountryShieldPath(c.number), c.shield) << c.number;
        EXPECT_STREQ(GetCountrySmallShieldPath(c.number), c.small) << c.number;
        EXPECT_STREQ(GetCountryFlagPath(c.number), c.flag) << c.number;
    }
}

TEST_F(BannersTest, TheGodModeMessagesSwitchTheAlternativeArms) {
    CCountry& sweden = Add(kSwe, true, false);
    sweden.OnSetGodMode(1);
    EXPECT_STREQ(GetCountrySmallShieldPath(kSwe), "gfx\\map\\shields\\small\\smallshield_BAF.bmp");
    sweden.OnSetGodMode(0);
    EXPECT_STREQ(GetCountrySmallShieldPath(kSwe), "gfx\\map\\shields\\small\\smallshield_SWE.bmp");
}

// The shield set over the demo world's pictures, on a small screen.
class ShieldSetTest : public BannersTest {
protected:
    ShieldSetTest() : inDemo(test::DemoWorldDir()) {
        g_screen = std::make_unique<CImage>(64, 48, 16, kImageMemory);
    }
    ~ShieldSetTest() override { g_screen.reset(); }

    static int32_t Width(const std::unique_ptr<SpriteWorld>& sprite) {
        return sprite && sprite->image ? sprite->image->width : 0;
    }

    test::InFolder inDemo;
    test::BoxRecorder boxes;
};

TEST_F(ShieldSetTest, TheTreatyPicturesAndTheShieldsOfATagOrAnUnknownNumberLoad) {
    CShieldSet set;
    CPalette* crest = GetPalette("crest_palette.bmp");
    const struct {
        const std::unique_ptr<SpriteWorld>& sprite;
        const char* file;
    } treaties[] = {
        {set.dynasticAlliance, "gfx\\map\\shields\\shield_dynastic_alliance.bmp"},
        {set.militaryCoop, "gfx\\map\\shields\\shield_millitary_coop.bmp"},
        {set.defensiveAlliance, "gfx\\map\\shields\\shield_defensive_alliance.bmp"},
        {set.warPact, "gfx\\map\\shields\\shield_warpact.bmp"},
        {set.vassal, "gfx\\map\\shields\\shield_vassal.bmp"},
        {set.casusBelli, "gfx\\map\\shields\\shield_casus_belli.bmp"},
    };
    for (const auto& t : treaties) {
        ASSERT_TRUE(t.sprite) << t.file;
        EXPECT_EQ(t.sprite->GetImageName(), t.file);
        EXPECT_GT(Width(t.sprite), 0) << t.file;
        EXPECT_EQ(t.sprite->GetPalette(), crest) << t.file;
        EXPECT_EQ(t.sprite->onMapImage, 1) << t.file;
    }
    ASSERT_TRUE(set.war);
    EXPECT_EQ(set.war->GetPalette(), GetPalette("yellow_red_p.bmp"));
    EXPECT_EQ(set.war->frameCount, 11);
    EXPECT_EQ(set.war->frame, 0);
    EXPECT_EQ(set.war->CSprite::speed, 15);
    EXPECT_EQ(set.war->frameWidth * 11, Width(set.war));
    ASSERT_TRUE(set.shield && set.smallShield);

    Add(kFra, true, false);
    set.LoadForCountry(kFra);
    EXPECT_EQ(set.shield->GetImageName(), "gfx\\map\\shields\\shield_FRA.bmp");
    EXPECT_EQ(set.smallShield->GetImageName(), "gfx\\map\\shields\\small\\smallshield_FRA.bmp");
    EXPECT_GT(Width(set.shield), Width(set.smallShield));
    EXPECT_GT(Width(set.smallShield), 0);
    EXPECT_EQ(set.shield->GetPalette(), GetPalette("shield palette.bmp"));
    EXPECT_EQ(set.smallShield->onMapImage, 1);

    set.LoadForCountry(150);
    EXPECT_EQ(set.shield->GetImageName(), "gfx\\map\\shields\\silver\\shieldsilver_MIN.bmp");
    EXPECT_GT(Width(set.shield), 0);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

TEST_F(ShieldSetTest, ACountryLoadsItsShieldsOnlyWhenThereIsAScreen) {
    CCountry& france = Add(kFra, true, false);
    france.LoadShields();
    ASSERT_TRUE(france.m_shields);
    EXPECT_EQ(france.m_shields->shield->GetImageName(), "gfx\\map\\shields\\shield_FRA.bmp");

    CCountry& poland = Add(kPol, false, false);
    g_screen.reset();
    poland.LoadShields();
    EXPECT_FALSE(poland.m_shields);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

TEST(ShieldSetMissingTest, AMissingPictureIsReportedAndLeavesAnEmptySprite) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    g_screen = std::make_unique<CImage>(64, 48, 16, kImageMemory);
    {
        CShieldSet set;
        set.LoadForCountry(kFra);
        EXPECT_EQ(set.war->image ? set.war->image->width : 0, 0);
        EXPECT_EQ(set.shield->image ? set.shield->image->width : 0, 0);
        EXPECT_FALSE(boxes.texts.empty());
    }
    g_screen.reset();
}

} // namespace
