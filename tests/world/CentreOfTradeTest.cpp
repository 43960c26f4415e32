#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/ScenarioHeader.h"
#include "net/EventTypes.h"
#include "net/Session.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/MapModes.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"

namespace {

const char* const kTags[] = {"", "ENG", "FRA", "HAB", "HOL"};

int32_t NumberOfTag(const char* tag) {
    for (int32_t n = 1; n < static_cast<int32_t>(std::size(kTags)); ++n)
        if (std::strcmp(kTags[n], tag) == 0)
            return n;
    return 0;
}

const char* TagOf(uint32_t number) {
    return number > 0 && number < std::size(kTags) ? kTags[number] : nullptr;
}

// Stand-ins for the countries that own provinces: only their province lists.
struct FakeCountry {
    CIntList owned;
    CIntList controlled;
};
std::array<FakeCountry, kCountrySlots> g_fakes;

CCountry* FakeOf(int32_t number) {
    return reinterpret_cast<CCountry*>(&g_fakes[static_cast<size_t>(number)]);
}

// What the tests' province economy answers.
std::array<float, kProvinceSlots> g_tradeValue{};
std::array<float, kProvinceSlots> g_postValue{};

struct Founding {
    int32_t owner;
    int32_t province;
};
std::vector<Founding> g_foundings;
std::vector<std::pair<int32_t, float>> g_points;

class CentreOfTradeTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        m_header = g_scenarioHeaderHooks;
        m_provinceCountries = g_provinceCountries;
        m_cotCountries = g_cotCountries;
        m_notices = g_gameNotices;
        m_values = g_cotProvinceValues;
        m_steps = g_scenarioSteps;
        g_scenarioHeaderHooks.findCountryByTag = &NumberOfTag;
        SetCountryTagSource(&TagOf);
        g_provinceCountries = {};
        g_provinceCountries.numberOf = [](const CCountry& country) {
            return static_cast<int32_t>(reinterpret_cast<const FakeCountry*>(&country) -
                                        g_fakes.data());
        };
        g_provinceCountries.provinceList = [](CCountry& country, bool controlled) {
            auto& fake = reinterpret_cast<FakeCountry&>(country);
            return controlled ? &fake.controlled : &fake.owned;
        };
        g_cotCountries = {};
        g_cotCountries.sendFoundingMerchant = [](int32_t owner, int32_t province) {
            g_foundings.push_back({owner, province});
        };
        g_cotCountries.addEconomyPoints = [](int32_t n, float points) {
            g_points.emplace_back(n, points);
        };
        g_cotProvinceValues = {};
        g_cotProvinceValues.tradeValue = [](const CProvince& p) {
            return g_tradeValue[static_cast<size_t>(p.GetNumber())];
        };
        g_cotProvinceValues.tradingPostValue = [](const CProvince& p) {
            return g_postValue[static_cast<size_t>(p.GetNumber())];
        };
        g_scenarioSteps = {};
        g_tradeValue.fill(0.0f);
        g_postValue.fill(0.0f);
        g_foundings.clear();
        g_points.clear();
        g_cotCalc.Clear();
        for (CProvince& province : g_provinces) {
            province.ResetForGame();
            province.terrain = kFirstSeaProvinceType; // nothing qualifies unless a test says so
            province.box = {};
            province.continent = 0;
        }
    }
    void TearDown() override {
        g_cotCalc.Clear();
        for (CProvince& province : g_provinces) {
            province.ResetForGame();
            province.terrain = 0;
        }
        for (FakeCountry& fake : g_fakes) {
            fake.owned.RemoveAll();
            fake.controlled.RemoveAll();
        }
        g_scenarioHeaderHooks = m_header;
        g_provinceCountries = m_provinceCountries;
        g_cotCountries = m_cotCountries;
        g_gameNotices = m_notices;
        g_cotProvinceValues = m_values;
        g_scenarioSteps = m_steps;
        SetCountryTagSource(nullptr);
        SaveBlockTest::TearDown();
    }

    // A land province of the owner (-1: none), its box centre at (x, y),
    // with a city when asked.
    static CProvince& Land(int32_t id, int32_t owner, int32_t x, int32_t y, bool city = true) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.terrain = 0;
        province.box = {x - 10, y - 10, x + 10, y + 10};
        if (owner >= 0)
            province.SetOwner(FakeOf(owner));
        if (city)
            province.SetCity(std::make_unique<CCity>());
        return province;
    }

    static CCentreOfTrade* Found(int32_t id) { return g_cotCalc.CreateCentreOfTrade(id); }

    static CCentreOfTrade* CentreOf(int32_t id) {
        return g_provinces[static_cast<size_t>(id)].centreOfTrade;
    }

    // Every centre as the file writer prints it, one "cot = {...}" a line.
    std::string PrintCentres() {
        std::string text;
        for (int32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot)
            text += Flat(Print(KW_COT, g_cotCalc.GetSlot(slot)->Write())) + "\n";
        return text;
    }

    ScenarioHeaderHooks m_header;
    ProvinceCountryHooks m_provinceCountries;
    CotCountryHooks m_cotCountries;
    GameNoticeHooks m_notices;
    CotProvinceValues m_values;
    ScenarioStepHooks m_steps;
};

const char kTwoCentres[] =
    "cot = { location = 12\n"
    "  merchant = { tag = FRA level = 2.5 value = 1.25 }\n"
    "  merchant = { tag = ENG level = 6 value = 0\n"
    "    extra = { country = ENG date = { year = 1600 month = june day = 3 } location = 12 "
    "success = yes }\n"
    "    extra = { country = ENG date = { year = 1601 month = march day = 0 } location = 12 "
    "success = no } } }\n"
    "cot = { location = 40 }\n";

TEST_F(CentreOfTradeTest, BlocksReadIntoSlotsAndSaveLoadSaveGivesTheSameText) {
    ASSERT_EQ(LoadText(kTwoCentres), FIELD_BLOCK_END);
    ASSERT_EQ(g_cotCalc.GetCount(), 2);
    const CCentreOfTrade& first = *g_cotCalc.GetSlot(0);
    EXPECT_EQ(first.GetProvinceId(), 12);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(CentreOf(12), &first);
    EXPECT_EQ(CentreOf(40), g_cotCalc.GetSlot(1));
    EXPECT_EQ(g_cotCalc.GetSlot(1)->index, 1);
    EXPECT_EQ(first.total, 8); // 6 + whole part of 2.5
    const CCotMerchant* eng = first.GetMerchant(1);
    ASSERT_NE(eng, nullptr);
    ASSERT_EQ(eng->extra.size(), 2u);
    EXPECT_EQ(eng->extra[0].arrival, (CDate{3, 5, 1600}));
    EXPECT_EQ(eng->extra[0].success, 1);
    EXPECT_EQ(eng->extra[1].success, 0);
    EXPECT_FLOAT_EQ(first.GetMerchant(2)->value, 1.25f);
    // The map mode of the centres shows each province's centre by its slot.
    EXPECT_EQ(g_mapModeHooks.centreOfTradeNumber(g_provinces[40]), 1);
    EXPECT_EQ(g_mapModeHooks.centreOfTradeNumber(g_provinces[41]), -1);
    EXPECT_EQ(g_mapModeHooks.centreOfTradeCount(), 2);

    // Entries come out in country-number order.
    const std::string printed = PrintCentres();
    EXPECT_LT(printed.find("tag = ENG"), printed.find("tag = FRA"));
    g_cotCalc.Clear();
    EXPECT_EQ(CentreOf(12), nullptr);
    ASSERT_EQ(LoadText(printed), FIELD_BLOCK_END);
    EXPECT_EQ(PrintCentres(), printed);
}

TEST_F(CentreOfTradeTest, ReadingOnTheHostAsksForEachTravellingMerchantAtItsArrival) {
    ASSERT_EQ(LoadText(kTwoCentres), FIELD_BLOCK_END);
    const std::vector<COVEvent*> queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    const COVEventData& payload = queued[0]->Payload();
    EXPECT_EQ(queued[0]->GetType(), static_cast<uint32_t>(EVT_REQ_MERCHANT_SUCCESS));
    EXPECT_EQ(payload.GetReceiver(), ObjectId(kCountryObjectType, 1));
    EXPECT_EQ(payload.GetDueDate(), (CDate{3, 5, 1600}));
    EXPECT_EQ(payload.Get(COVMerchantEvent::kCountry), ObjectId(kCountryObjectType, 1));
    EXPECT_EQ(payload.Get(COVMerchantEvent::kProvince), ObjectId(kProvinceIdType, 12));
    EXPECT_EQ(payload.Get(COVMerchantEvent::kValue), 1u);
    EXPECT_EQ(payload.Get(COVMerchantEvent::kSuccess), 1);
    EXPECT_EQ(queued[1]->Payload().Get(COVMerchantEvent::kSuccess), 0);

    g_scheduler.Clear();
    g_cotCalc.Clear();
    BecomeClient();
    ASSERT_EQ(LoadText(kTwoCentres), FIELD_BLOCK_END);
    EXPECT_EQ(g_cotCalc.GetCount(), 2);
    EXPECT_TRUE(Queued().empty());
}

// Bad entries are reported and dropped; the rest of the block is read.
TEST_F(CentreOfTradeTest, BadEntriesAreReportedAndTheRestOfTheBlockRead) {
    struct Case {
        const char* entries;
        const char* report;
        int32_t total;
    };
    const Case cases[] = {
        {"merchant = { level = 3 value = 0 }", "needs to have a countrytag", 0},
        {"merchant = { tag = XXX level = 3 }", "needs to have a countrytag", 0},
        {"merchant = 5", "No left curly", 0},
        {"merchant = { tag = FRA level = 9 }", nullptr, 6},
        {"merchant = { tag = FRA level = -2 }", nullptr, 0},
        {"merchant = { tag = FRA level = 1 } merchant = { tag = FRA level = 3 }", nullptr, 3},
        {"owner = { a = 1 } merchant = { tag = FRA level = 2 }", "COT : Unexpected field", 2},
        {"merchant = { tag = FRA bogus = { x = 1 } level = 4 }", "Unexpected Field", 4},
    };
    for (const Case& c : cases) {
        g_cotCalc.Clear();
        boxes.texts.clear();
        const std::string text =
            std::string("cot = { location = 12 ") + c.entries + " }\ncot = { location = 40 }\n";
        ASSERT_EQ(LoadText(text), FIELD_BLOCK_END) << c.entries;
        ASSERT_EQ(g_cotCalc.GetCount(), 2) << c.entries;
        EXPECT_EQ(g_cotCalc.GetSlot(0)->total, c.total) << c.entries;
        if (c.report)
            EXPECT_TRUE(BoxShown(c.report)) << c.entries;
        else
            EXPECT_TRUE(boxes.texts.empty()) << c.entries << ": " << boxes.texts.front();
    }
}

// A centre beyond the last slot is refused whole: nothing of it stays or is
// announced, and the centres stored before are untouched.
TEST_F(CentreOfTradeTest, TheFiftyNinthCentreIsRefusedWithItsTravellingMerchants) {
    std::string text;
    for (int32_t id = 1; id <= CCotCalc::kSlotCount; ++id)
        text += "cot = { location = " + std::to_string(id) + " }\n";
    text += "cot = { location = 100 merchant = { tag = ENG level = 1 extra = { country = ENG "
            "date = { year = 1601 month = may day = 1 } location = 100 success = yes } } }\n";
    text += "cot = { location = 12 }\n"; // a second centre in one seat
    ASSERT_EQ(LoadText(text), FIELD_BLOCK_END);
    EXPECT_EQ(g_cotCalc.GetCount(), CCotCalc::kSlotCount);
    EXPECT_EQ(CentreOf(100), nullptr);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(BoxShown("Too many centres of trade"));
    EXPECT_TRUE(BoxShown("second centre of trade at 12"));
    EXPECT_EQ(CentreOf(12), g_cotCalc.GetSlot(11));
}

TEST_F(CentreOfTradeTest, DistanceIsTakenTheShortWayAroundTheWorld) {
    Land(1, -1, 100, 50);
    Land(2, -1, 18900, 60);
    Land(3, -1, 400, 50);
    auto centre = CCotCalc::NewCentreOfTrade(1);
    EXPECT_FLOAT_EQ(centre->DistanceSquaredTo(2), 144.0f * 144.0f + 100.0f);
    EXPECT_FLOAT_EQ(centre->DistanceSquaredTo(3), 300.0f * 300.0f);
    EXPECT_FLOAT_EQ(centre->DistanceSquaredTo(1), 0.0f);
}

TEST_F(CentreOfTradeTest, WantedCentresAreTheQualifyingProvincesOverTwentyFive) {
    const std::pair<int32_t, int32_t> cases[] = {{24, 0}, {25, 1}, {49, 1}, {1249, 49}};
    for (auto [qualifying, wanted] : cases) {
        for (int32_t id = 1; id <= kLastProvinceId; ++id) {
            CProvince& province = g_provinces[static_cast<size_t>(id)];
            province.ResetForGame();
            province.terrain = id <= qualifying ? 0 : kFirstSeaProvinceType;
            if (id <= qualifying)
                province.SetOwner(FakeOf(1));
        }
        EXPECT_EQ(CCotCalc::GetWantedCount(), wanted) << qualifying;
    }
    // Land without an owner, and owned sea, do not qualify.
    g_provinces[1].ResetForGame();
    g_provinces[2].terrain = kFirstSeaProvinceType;
    EXPECT_FALSE(CCotCalc::IsCandidate(1));
    EXPECT_FALSE(CCotCalc::IsCandidate(2));
    EXPECT_TRUE(CCotCalc::IsCandidate(3));
}

// 25 qualifying provinces call for one centre: it is founded in the best
// candidate, once, on every machine; only the host sends its merchant.
TEST_F(CentreOfTradeTest, OneCentreIsFoundedInTheBestCandidateAndOnlyTheHostSendsItsMerchant) {
    for (int32_t id = 1; id <= 25; ++id)
        Land(id, id % 2 + 1, id * 100, 100, id != 7);
    g_tradeValue[5] = 30.0f;
    g_tradeValue[7] = 90.0f; // no city: not a candidate
    g_tradeValue[9] = 40.0f;
    g_cotCalc.YearlyUpdate();
    ASSERT_EQ(g_cotCalc.GetCount(), 1);
    EXPECT_EQ(g_cotCalc.GetSlot(0)->GetProvinceId(), 9);
    ASSERT_EQ(g_foundings.size(), 1u);
    EXPECT_EQ(g_foundings[0].owner, 2);
    EXPECT_EQ(g_foundings[0].province, 9);
    // Every province of the realm now trades with it.
    EXPECT_EQ(CentreOf(9), g_cotCalc.GetSlot(0));
    EXPECT_EQ(CentreOf(1), g_cotCalc.GetSlot(0));

    g_cotCalc.YearlyUpdate();
    EXPECT_EQ(g_cotCalc.GetCount(), 1);

    g_cotCalc.Clear();
    g_foundings.clear();
    BecomeClient();
    g_cotCalc.YearlyUpdate();
    ASSERT_EQ(g_cotCalc.GetCount(), 1);
    EXPECT_EQ(g_cotCalc.GetSlot(0)->GetProvinceId(), 9);
    EXPECT_TRUE(g_foundings.empty());
}

TEST_F(CentreOfTradeTest, FoundingTellsThePlayerOnlyWhenTheProvinceIsKnown) {
    static std::vector<int32_t> notices;
    notices.clear();
    g_gameNotices.post = [](const GameNotice& notice) {
        EXPECT_EQ(notice.type, kNoticeNewCentreOfTrade);
        notices.push_back(static_cast<int32_t>(notice.country) * 10000 + notice.linkProvince);
    };
    g_scenarioSteps.localPlayerCountry = [] { return 3; };
    Land(5, 1, 100, 100).discoveredBy[3] = 1;
    Land(6, 1, 200, 100);
    Found(5);
    Found(6);
    EXPECT_EQ(notices, (std::vector<int32_t>{30005}));
    // A seat cannot be founded again.
    EXPECT_EQ(Found(5), nullptr);
    EXPECT_EQ(g_cotCalc.GetCount(), 2);
}

TEST_F(CentreOfTradeTest, AProvinceTakesTheBestRatedCentreAndTheLowerSlotOnTies) {
    Land(10, 1, 1000, 100);
    Land(20, 1, 3000, 100);
    Land(30, 2, 2000, 100); // midway between the two
    Land(31, 2, 1100, 100); // nearer the first
    Land(32, 2, 3000, 100); // on the very point of the second
    Land(33, 2, 2200, 100);
    g_tradeValue[10] = g_tradeValue[20] = 10.0f;
    Found(10);
    Found(20);
    for (int32_t id : {30, 31})
        g_cotCalc.AssignProvince(id);
    EXPECT_EQ(CentreOf(30), CentreOf(10)); // a tie: the lower slot stays
    EXPECT_EQ(CentreOf(31), CentreOf(10));

    // The own country's centre rates 1000 more.
    Found(30);
    g_cotCalc.AssignProvince(33);
    EXPECT_EQ(CentreOf(33), CentreOf(30));
    // A province on the point of a foreign seat counts as 1 away from it
    // (rating 27), so its own country's centre 20 further off (1007 / 20)
    // still rates better.
    Land(34, 2, 3020, 100);
    Found(34);
    g_cotCalc.AssignProvince(32);
    EXPECT_EQ(CentreOf(32), CentreOf(34));
}

TEST_F(CentreOfTradeTest, RatingFollowsTheRelationsOfTheTwoOwners) {
    // The centre of country 2 (far) against country 3's (near): only the
    // relation terms differ, so they decide.
    Land(10, 2, 1000, 100);
    Land(20, 3, 1200, 100);
    Land(30, 1, 1100, 100);
    Found(10);
    Found(20);
    struct Case {
        const char* what;
        void (*set)();
        int32_t seat; // of the centre province 30 takes
    };
    const Case cases[] = {
        {"neutral: the lower slot", [] {}, 10},
        {"war with 2",
         [] { g_cotCountries.isAtWarWith = [](int32_t, int32_t b) { return b == 2; }; }, 20},
        {"refused by 2",
         [] { g_cotCountries.isTradeRefusedBy = [](int32_t, int32_t b) { return b == 2; }; }, 20},
        {"claim on 2",
         [] { g_cotCountries.holdsNoClaimOn = [](int32_t, int32_t b) { return b != 2; }; }, 20},
        {"overlord of 3",
         [] { g_cotCountries.isOverlordOf = [](int32_t, int32_t b) { return b == 3; }; }, 20},
        {"dynastic with 3",
         [] { g_cotCountries.isDynastic = [](int32_t, int32_t b) { return b == 3; }; }, 20},
        {"catholic with counter-reformed 3",
         [] {
             g_scenarioSteps.stateReligionOf = [](int32_t n) {
                 return n == 3 ? int32_t{RELIGION_COUNTERREFORM} : n == 2 ? 5 : 3;
             };
         },
         20},
    };
    for (const Case& c : cases) {
        g_cotCountries.isAtWarWith = nullptr;
        g_cotCountries.isTradeRefusedBy = nullptr;
        g_cotCountries.holdsNoClaimOn = nullptr;
        g_cotCountries.isOverlordOf = nullptr;
        g_cotCountries.isDynastic = nullptr;
        g_scenarioSteps.stateReligionOf = nullptr;
        c.set();
        g_cotCalc.AssignProvince(30);
        ASSERT_NE(CentreOf(30), nullptr) << c.what;
        EXPECT_EQ(CentreOf(30)->GetProvinceId(), c.seat) << c.what;
    }
}

// The whole-map assignment takes each owner's terms once; it must choose
// exactly as the assignment of each province alone.
TEST_F(CentreOfTradeTest, AssigningAllProvincesAgreesWithAssigningEachAlone) {
    for (int32_t id = 1; id <= 400; ++id) {
        const int32_t owner = id % 9 == 0 ? -1 : id % 7 + 1;
        CProvince& province = Land(id, owner, (id * 613) % 18944, (id * 97) % 7296, id % 3 != 0);
        province.continent = id % 4;
        if (id % 11 == 0)
            province.terrain = kFirstSeaProvinceType;
        g_tradeValue[static_cast<size_t>(id)] = static_cast<float>(id % 13) * 0.7f;
    }
    for (int32_t seat : {5, 40, 77, 130, 201, 260, 333, 390})
        ASSERT_NE(Found(seat), nullptr);
    g_cotCountries.isAtWarWith = [](int32_t a, int32_t b) { return (a + b) % 3 == 0; };
    g_cotCountries.isTradeRefusedBy = [](int32_t a, int32_t b) { return (a * b) % 5 == 1; };
    g_cotCountries.isDynastic = [](int32_t a, int32_t b) { return a + 1 == b; };
    g_cotCountries.isNonWesternNation = [](int32_t n) { return n == 4; };
    g_scenarioSteps.stateReligionOf = [](int32_t n) { return n % 8; };
    g_cotCalc.AssignAllProvinces();
    std::vector<CCentreOfTrade*> together;
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        together.push_back(CentreOf(id));
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        if (!g_cotCalc.FindSeatedIn(id))
            g_provinces[static_cast<size_t>(id)].centreOfTrade = nullptr;
        g_cotCalc.AssignProvince(id);
    }
    int32_t assigned = 0;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        EXPECT_EQ(CentreOf(id), together[static_cast<size_t>(id)]) << id;
        assigned += together[static_cast<size_t>(id)] ? 1 : 0;
    }
    EXPECT_GT(assigned, 200);
}

TEST_F(CentreOfTradeTest, CentresWithoutAnOwnedSeatAndWorthlessRatingsAreNotTaken) {
    Land(10, 1, 1000, 100);
    Land(20, 2, 1500, 100);
    Land(30, 2, 1100, 100);
    Found(10);
    Found(20);
    g_provinces[10].ResetForGame(); // the seat lost its owner
    g_provinces[10].terrain = 0;
    g_provinces[10].centreOfTrade = g_cotCalc.GetSlot(0);
    g_cotCalc.AssignProvince(30);
    EXPECT_EQ(CentreOf(30), g_cotCalc.GetSlot(1));

    // At war, refused and far: no rating above 0, no centre.
    g_cotCountries.isAtWarWith = [](int32_t, int32_t) { return true; };
    g_cotCountries.isTradeRefusedBy = [](int32_t, int32_t) { return true; };
    g_cotCountries.holdsNoClaimOn = [](int32_t, int32_t) { return false; };
    Land(40, 3, 5000, 100);
    g_provinces[40].centreOfTrade = g_cotCalc.GetSlot(1);
    g_cotCalc.AssignProvince(40);
    EXPECT_EQ(CentreOf(40), nullptr);
    // Sea, unowned land and seats are left as they are.
    g_provinces[41].centreOfTrade = g_cotCalc.GetSlot(1);
    g_cotCalc.AssignProvince(41);
    EXPECT_EQ(CentreOf(41), g_cotCalc.GetSlot(1));
    g_cotCalc.AssignProvince(20);
    EXPECT_EQ(CentreOf(20), g_cotCalc.GetSlot(1));
}

// An empty centre moves to a candidate that outrates its seat; one with
// merchants stays; with no candidate left nothing moves.
TEST_F(CentreOfTradeTest, EmptyCentresMoveToBetterCandidates) {
    Land(10, 1, 1000, 100);
    Land(20, 1, 1050, 100);
    Land(30, 2, 4000, 100);
    Land(31, 2, 4010, 100);
    Found(10);
    Found(30);
    g_cotCalc.GetSlot(1)->SetMerchant([] {
        auto merchant = std::make_unique<CCotMerchant>();
        merchant->country = 2;
        merchant->level = 1.0f;
        return merchant;
    }());
    g_cotCalc.GetSlot(1)->RecountTotal();
    g_provinces[20].centreOfTrade = nullptr; // trades with no centre: nothing subtracted
    g_provinces[31].centreOfTrade = g_cotCalc.GetSlot(1);
    g_tradeValue[10] = 5.0f;
    g_tradeValue[20] = 6.0f;
    g_tradeValue[31] = 100.0f;
    g_cotCalc.YearlyUpdate();
    // The best candidate, 31, is taken first: its score less the squared
    // distance to its own centre (100 - 10 x 10) does not beat the seat's 5.
    EXPECT_EQ(g_cotCalc.GetSlot(0)->GetProvinceId(), 10);
    EXPECT_EQ(g_cotCalc.GetSlot(1)->GetProvinceId(), 30);

    g_tradeValue[31] = 0.0f;
    g_provinces[20].centreOfTrade = nullptr;
    g_cotCalc.YearlyUpdate();
    CCentreOfTrade* moved = g_cotCalc.GetSlot(0);
    EXPECT_EQ(moved->GetProvinceId(), 20);
    EXPECT_EQ(moved->index, 0);
    EXPECT_EQ(CentreOf(20), moved);
    EXPECT_EQ(CentreOf(10), moved); // reassigned to the new seat
    EXPECT_EQ(g_cotCalc.GetSlot(1)->GetProvinceId(), 30);

    // Every candidate used up: the empty centre stays.
    for (int32_t id : {10, 31}) {
        g_provinces[static_cast<size_t>(id)].SetCity(nullptr);
    }
    g_tradeValue[10] = 1000.0f;
    g_cotCalc.YearlyUpdate();
    EXPECT_EQ(g_cotCalc.GetSlot(0)->GetProvinceId(), 20);
}

TEST_F(CentreOfTradeTest, MonthlyUpdateClearsValuesRecountsAndGrantsMonopolyPoints) {
    Land(10, 1, 1000, 100);
    Land(11, 1, 1100, 100);
    CCentreOfTrade& centre = *Found(10);
    for (auto [country, level] : {std::pair{1, 6.0f}, {2, 5.0f}, {3, 0.5f}}) {
        auto merchant = std::make_unique<CCotMerchant>();
        merchant->country = country;
        merchant->level = level;
        merchant->value = 7.0f;
        centre.SetMerchant(std::move(merchant));
    }
    g_cotCalc.MonthlyUpdate();
    EXPECT_EQ(centre.total, 11);
    for (int32_t country : {1, 2, 3})
        EXPECT_EQ(centre.GetMerchant(country)->value, 0.0f);
    ASSERT_EQ(g_points.size(), 1u);
    EXPECT_EQ(g_points[0].first, 1);
    EXPECT_FLOAT_EQ(g_points[0].second, 0.16f);

    g_postValue[10] = 1.0f;
    g_postValue[11] = 0.5f;
    g_provinces[11].centreOfTrade = &centre;
    centre.value = 99.0f;
    g_cotCalc.SumValues();
    EXPECT_FLOAT_EQ(centre.value, 18.0f);
}

TEST_F(CentreOfTradeTest, ScenarioCheckReportsCentresWithoutAnOwner) {
    Land(10, 1, 1000, 100);
    Land(20, -1, 1000, 100, false);
    g_provinces[10].SetControllerField(FakeOf(1));
    Found(10);
    Found(20);
    EXPECT_EQ(ValidateScenario(), 1);
    EXPECT_TRUE(BoxShown("Scenario files had errors"));
}

TEST_F(CentreOfTradeTest, TheYearAndTheMonthReachTheCalculatorThroughTheScenario) {
    for (int32_t id = 1; id <= 25; ++id)
        Land(id, 1, id * 100, 100);
    CScenario scenario;
    COVSimpleEvent year(EVT_TIMER_YEAR, g_broadcastId);
    scenario.HandleMessage(year);
    ASSERT_EQ(g_cotCalc.GetCount(), 1);
    g_postValue[3] = 2.0f;
    COVSimpleEvent month(EVT_TIMER_MONTH, g_broadcastId);
    scenario.HandleMessage(month);
    EXPECT_FLOAT_EQ(g_cotCalc.GetSlot(0)->value, 24.0f);
}

} // namespace
