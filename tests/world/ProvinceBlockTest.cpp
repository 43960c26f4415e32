#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/Keywords.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Province.h"
#include "world/TradingPost.h"

namespace {

const char* const kProvince =
    "province = { id = 12 date = { year = 1601 month = march day = 4 } "
    "nationalism = { year = 1590 month = july day = 0 } looted = yes winter = yes storm = no "
    "whiteman = yes "
    "natives = 300 income = 7 wilderness = 2 tax = 7 ferocity = 2 efficiency = -3 negotiation = 4 "
    "tolerance = 5 max = 900 religion = shiite "
    "construction = { id = { type = 4712 id = 3 } action = 7 province = 12 flags = 1 "
    "startdate = { year = 1600 month = may day = 10 } "
    "enddate = { year = 1601 month = january day = 0 } x = 310 y = 150 tag = 0 } "
    "construction = { id = { type = 4712 id = 4 } action = 8 province = 12 flags = 2 "
    "startdate = { year = 1600 month = april day = 2 } "
    "enddate = { year = 1600 month = june day = 2 } x = 300 y = 140 tag = 0 } "
    "construction = { id = { type = 4712 id = 5 } action = 9 province = 12 flags = 4 "
    "startdate = { year = 1600 month = may day = 1 } "
    "enddate = { year = 1600 month = december day = 29 } x = 290 y = 160 tag = 0 } }";

class ProvinceBlockTest : public test::SaveBlockTest {
protected:
    void TearDown() override {
        for (int id : {12, 13, 14})
            ResetProvince(g_provinces[static_cast<size_t>(id)]);
        g_fantasyMode = 0;
        SaveBlockTest::TearDown();
    }

    static void ResetProvince(CProvince& province) {
        province.lootEndDate = province.nationalismDate = CDate();
        province.looted = province.winter = province.storm = province.whiteman = 0;
        province.natives = province.tax = province.wilderness = province.negotiation = 0;
        province.tolerance = province.maxNatives = province.initialTax = 0;
        province.ferocity = province.efficiency = 0.0f;
        province.religion = province.initialReligion = RELIGION_PROTESTANT;
        province.GetConstructions().Clear();
        province.SetCity(nullptr);
        province.SetTradingPost(nullptr);
    }

    // Reads the block after its "id" field, as the file reader hands it on.
    int32_t ReadProvince(const std::string& text, CProvince& province) {
        OpenBlock(text);
        EXPECT_EQ(reader.ReadField(), FIELD_READ);
        EXPECT_EQ(reader.key.code, static_cast<uint32_t>(KW_ID));
        return province.Read(reader);
    }

    CProvince& Province(int id) { return *GetProvince(id); }
};

TEST_F(ProvinceBlockTest, BlockRoundTripsByteForByte) {
    CProvince& province = Province(12);
    ASSERT_EQ(ReadProvince(kProvince, province), FIELD_BLOCK_END);
    EXPECT_EQ(province.GetNumber(), 12);
    EXPECT_EQ(province.lootEndDate, CDate(4, 2, 1601));
    EXPECT_EQ(province.nationalismDate.year, 1590);
    EXPECT_TRUE(province.looted && province.IsWinter() && province.whiteman);
    EXPECT_FALSE(province.storm);
    EXPECT_EQ(province.natives, 300);
    EXPECT_EQ(province.maxNatives, 900);
    EXPECT_FLOAT_EQ(province.efficiency, -3.0f);
    EXPECT_EQ(province.religion, RELIGION_SHIITE);
    ASSERT_EQ(province.GetConstructions().GetCount(), 3u);
    const std::string printed = Print(KW_PROVINCE, province.Write());
    EXPECT_EQ(Flat(printed), std::string(kProvince) + " ");
    for (const char* entry : {"income = 7", "tax = 7", "ferocity = 2", "efficiency = -3",
                              "religion = shiite", "looted = yes", "storm = no", "action = 9"})
        EXPECT_NE(printed.find(entry), std::string::npos) << entry;
    EXPECT_LT(printed.find("action = 7"), printed.find("action = 8"));
    CProvince& other = Province(13);
    ASSERT_EQ(ReadProvince(printed, other), FIELD_BLOCK_END);
    ASSERT_EQ(other.GetConstructions().GetCount(), 3u);
    // Only the id differs.
    std::string expected = printed;
    expected.replace(expected.find("id = 12"), 7, "id = 13");
    EXPECT_EQ(Print(KW_PROVINCE, other.Write()), expected);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ProvinceBlockTest, TaxKeysShareAFieldAndNativesValuesAreTruncated) {
    CProvince& province = Province(12);
    ASSERT_EQ(
        ReadProvince("province = { id = 12 income = 5 tax = 7 ferocity = 2.7 efficiency = -1.9 }",
                     province),
        0);
    EXPECT_EQ(province.tax, 7);
    EXPECT_FLOAT_EQ(province.ferocity, 2.0f);
    EXPECT_FLOAT_EQ(province.efficiency, -1.0f);

    province.ferocity = 2.7f;
    province.efficiency = -2.7f;
    const std::string printed = Print(KW_PROVINCE, province.Write());
    EXPECT_NE(Flat(printed).find("income = 7 wilderness = 0 tax = 7 ferocity = 2 efficiency = -2 "),
              std::string::npos);
    province.ferocity = 1e20f;
    EXPECT_NE(Flat(Print(KW_PROVINCE, province.Write())).find("ferocity = 2147483647 "),
              std::string::npos);
}

TEST_F(ProvinceBlockTest, NoNeverClearsAFlagAndOtherWordsAreReported) {
    CProvince& province = Province(12);
    province.winter = province.storm = province.whiteman = province.looted = 1;
    ASSERT_EQ(
        ReadProvince("province = { id = 12 winter = no storm = no whiteman = no looted = no }",
                     province),
        0);
    EXPECT_TRUE(province.winter && province.storm && province.whiteman && province.looted);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(boxes.texts.empty());

    CProvince& other = Province(13);
    ASSERT_EQ(
        ReadProvince("province = { id = 13 winter = often storm = yes religion = druid tax = 4 }",
                     other),
        0);
    EXPECT_TRUE(BoxShown("Illegal Argument"));
    EXPECT_TRUE(BoxShown("Unknown religion"));
    EXPECT_FALSE(other.winter);
    EXPECT_TRUE(other.storm);
    EXPECT_EQ(other.tax, 4);
}

TEST_F(ProvinceBlockTest, LootedPostsTheRecoveryOnTheHostOnly) {
    CProvince& province = Province(12);
    ASSERT_EQ(ReadProvince(
                  "province = { id = 12 date = { year = 1602 month = may day = 1 } looted = yes }",
                  province),
              0);
    auto queued = Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetType(), static_cast<uint32_t>(EVT_UNLOOT_PROVINCE));
    EXPECT_EQ(queued[0]->GetReceiver(), ObjectId(kProvinceIdType, 12));
    EXPECT_EQ(queued[0]->GetPayloadSize(), 20);
    EXPECT_EQ(queued[0]->GetDueDate(), CDate(1, 4, 1602));
    EXPECT_EQ(queued[0]->GetSendFlag(), 1);

    g_scheduler.Clear();
    BecomeClient();
    CProvince& other = Province(13);
    ASSERT_EQ(ReadProvince("province = { id = 13 looted = yes }", other), FIELD_BLOCK_END);
    EXPECT_TRUE(other.looted);
    EXPECT_TRUE(Queued().empty());
}

TEST_F(ProvinceBlockTest, FaultsEndTheReadAndKeepWhatWasRead) {
    struct Case {
        const char* text;
        int32_t result;
        const char* report; // null: none expected
    };
    const Case cases[] = {
        {"province = { id = 12 tax = 3 natives 40 max = 5 }", FIELD_ERROR, nullptr},
        {"province = { id = 12 tax = 3 id = 12 max = 5 }", FIELD_ERROR,
         "Province : Unexpected field"},
        {"province = { id = 12 tax = 3 colour = red max = 5 }", FIELD_ERROR,
         "Province : Unexpected field"},
        {"province = { id = 12 tax = 3 ", FIELD_END_OF_FILE, nullptr},
        {"province = { id = 12 tax = 3 date = { year = 1600 ", FIELD_END_OF_FILE, nullptr},
    };
    for (const Case& c : cases) {
        boxes.texts.clear();
        CProvince& province = Province(12);
        ResetProvince(province);
        EXPECT_EQ(ReadProvince(c.text, province), c.result) << c.text;
        EXPECT_EQ(province.tax, 3) << c.text;
        EXPECT_EQ(province.maxNatives, 0) << c.text;
        if (c.report) {
            EXPECT_TRUE(BoxShown(c.report)) << c.text;
        }
    }
}

TEST_F(ProvinceBlockTest, ReligionOutsideTheTableIsNotWritten) {
    CProvince& province = Province(12);
    province.religion = RELIGION_PAGAN;
    EXPECT_NE(Print(KW_PROVINCE, province.Write()).find("religion = pagan"), std::string::npos);
    for (int32_t religion : {-1, 8}) {
        province.religion = religion;
        EXPECT_EQ(Print(KW_PROVINCE, province.Write()).find("religion"), std::string::npos)
            << religion;
    }
}

TEST_F(ProvinceBlockTest, OnlyProvincesWithStateOfTheirOwnAreSaved) {
    CProvince& province = Province(12);
    province.natives = province.maxNatives = 50;
    province.tax = province.initialTax = 4;
    province.religion = province.initialReligion = RELIGION_CATHOLIC;
    EXPECT_FALSE(province.HasSaveState());
    g_fantasyMode = 1;
    EXPECT_TRUE(province.HasSaveState());
    g_fantasyMode = 0;

    const std::function<void(CProvince&)> changes[] = {
        [](CProvince& p) { p.looted = 1; },
        [](CProvince& p) { p.winter = 1; },
        [](CProvince& p) { p.storm = 1; },
        [](CProvince& p) { p.whiteman = 1; },
        [](CProvince& p) { p.natives = 49; },
        [](CProvince& p) { p.tax = 5; },
        [](CProvince& p) { p.religion = RELIGION_PAGAN; },
        [](CProvince& p) { p.GetConstructions().AddOrder(std::make_unique<CConstructionOrder>()); },
        [](CProvince& p) { p.nationalismDate.year = 1; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        CProvince& changed = Province(13);
        ResetProvince(changed);
        changed.natives = changed.maxNatives = 50;
        changed.tax = changed.initialTax = 4;
        changed.religion = changed.initialReligion = RELIGION_CATHOLIC;
        changes[i](changed);
        EXPECT_TRUE(changed.HasSaveState()) << i;
    }
}

TEST_F(ProvinceBlockTest, ProvinceIdsOutsideTheMapHaveNoRecord) {
    EXPECT_EQ(GetProvince(1473), nullptr);
    EXPECT_EQ(GetProvince(-1), nullptr);
    ASSERT_NE(GetProvince(1472), nullptr);
    EXPECT_EQ(GetProvince(1472)->GetId(), ObjectId(kProvinceIdType, 1472));
    EXPECT_EQ(ResolveId({kProvinceIdType, 7}), GetProvince(7));

    // A scenario's province block with an id outside the map is reported
    // and passed over; nothing is written and the file goes on.
    const int32_t lastTax = Province(1472).tax;
    for (const char* id : {"1473", "-1", "99999999999"}) {
        SCOPED_TRACE(id);
        boxes.texts.clear();
        EXPECT_EQ(LoadText(std::string("province = { id = ") + id +
                           " tax = 9 natives = 4 } province = { id = 14 tax = 6 }"),
                  FIELD_BLOCK_END);
        EXPECT_TRUE(boxes.Shown("illegal province id"));
        EXPECT_EQ(Province(1472).tax, lastTax);
        EXPECT_EQ(Province(14).tax, 6);
        Province(14).tax = 0;
    }

    OpenBlock("city = { location = 1473 level = 3 }");
    CCity city;
    ASSERT_EQ(city.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(city.GetLocation(), 0);
    EXPECT_FLOAT_EQ(city.GetPopulation(), 400.0f);
    EXPECT_TRUE(city.IsColony());
}

} // namespace
