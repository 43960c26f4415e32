// The monthly checks of the long runs: a sound world passes, and each kind
// of broken world is caught under its rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "ai/AICountry.h"
#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/ObjectId.h"
#include "military/combat/Battle.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/Scheduler.h"
#include "tools/longrun/WorldChecks.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"

namespace {

constexpr int32_t kLand = 10;
constexpr int32_t kOtherLand = 11;
constexpr int32_t kSea = 20;

class WorldChecksTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitIdRegistries(g_nullId);
        g_scheduler.Clear();
        AddCountry(std::make_unique<CCountry>(1));
        AddCountry(std::make_unique<CCountry>(2));
        m_seaTerrain = GetProvince(kSea)->terrain;
        GetProvince(kSea)->terrain = kFirstSeaProvinceType;
    }

    void TearDown() override {
        g_scheduler.Clear();
        DeleteAllCountries();
        FreeIdRegistries();
        GetProvince(kSea)->terrain = m_seaTerrain;
        GetProvince(kLand)->natives = GetProvince(kLand)->maxNatives = 0;
    }

    template <class T> static T& Unit(uint32_t country, int32_t province) {
        CCountry* owner = CountryOfNumber(country);
        auto* unit = new T(owner);
        unit->AssignNewId();
        unit->SetLocation(province);
        unit->SetStrength(2, 1000.0f);
        unit->morale = 1.0f;
        owner->AddUnit(unit);
        return *unit;
    }

    // The first fault's rule and text; rule 0 when none.
    static std::pair<int, std::string> First() {
        const std::vector<longrun::WorldFault> faults = longrun::CheckWorld(true);
        if (faults.empty())
            return {0, ""};
        return {faults.front().rule, longrun::DescribeFault(faults.front())};
    }

    int32_t m_seaTerrain = 0;
};

TEST_F(WorldChecksTest, ASoundWorldPasses) {
    CLandUnit& army = Unit<CLandUnit>(1, kLand);
    CNavalUnit& fleet = Unit<CNavalUnit>(1, kSea);
    CLandUnit& marines = Unit<CLandUnit>(1, kSea);
    fleet.LoadArmy(&marines);
    CLeader leader;
    army.AttachLeader(&leader);
    Unit<CLandUnit>(2, kOtherLand);
    EXPECT_EQ(First(), std::make_pair(0, std::string()));
    army.ReleaseLeader(&leader);
}

TEST_F(WorldChecksTest, EachBrokenRuleIsCaught) {
    CLandUnit& army = Unit<CLandUnit>(1, kLand);
    CLandUnit& other = Unit<CLandUnit>(2, kOtherLand);
    CNavalUnit& fleet = Unit<CNavalUnit>(1, kSea);
    ASSERT_EQ(First().first, 0) << First().second;

    // Each case breaks the world, checks the first fault, and mends it.
    struct Case {
        const char* name;
        int rule;
        const char* text;
        std::function<void()> breakIt;
        std::function<void()> mend;
    };
    CLeader leader;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Case> cases = {
        {"a unit in two countries' lists", 1, "two lists",
         [&] { CountryOfNumber(2)->m_units.AddTail(&army); },
         [&] { CountryOfNumber(2)->m_units.Remove(&army); }},
        {"a unit outside every province", 1, "no province", [&] { army.SetLocation(0); },
         [&] { army.SetLocation(kLand); }},
        {"an army aboard another province than its fleet", 1, "another province",
         [&] { fleet.LoadArmy(&army); }, [&] { fleet.UnloadArmy(&army); }},
        {"a negative strength", 3, "strength", [&] { army.SetStrength(1, -5.0f); },
         [&] { army.SetStrength(1, 0.0f); }},
        {"a treasury that is no number", 3, "treasury",
         [&] { CountryOfNumber(2)->m_treasury = nan; },
         [&] { CountryOfNumber(2)->m_treasury = 0.0f; }},
        {"negative manpower", 3, "manpower", [&] { CountryOfNumber(1)->m_manpower = -1.0f; },
         [&] { CountryOfNumber(1)->m_manpower = 1.0f; }},
        {"a leader that names another unit", 4, "leader",
         [&] {
             army.AttachLeader(&leader);
             leader.SetUnit(&other);
         },
         [&] {
             leader.SetUnit(&army);
             army.ReleaseLeader(&leader);
         }},
        {"a moving unit without its step", 5, "pending move step",
         [&] {
             CIntList path;
             path.AddTail(kOtherLand);
             army.SetPath(1, path);
         },
         [&] { army.SetPath(1, CIntList()); }},
        {"a fleet on land without a fortress", 5, "fleet", [&] { fleet.SetLocation(kLand); },
         [&] { fleet.SetLocation(kSea); }},
        {"more natives than the maximum", 7, "natives",
         [&] {
             GetProvince(kLand)->maxNatives = 2;
             GetProvince(kLand)->natives = 5;
         },
         [&] { GetProvince(kLand)->natives = 2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        const auto [rule, text] = First();
        EXPECT_EQ(rule, c.rule) << text;
        EXPECT_NE(text.find(c.text), std::string::npos) << text;
        c.mend();
        EXPECT_EQ(First().first, 0) << First().second;
    }
    // The last: a controller where nobody owns the province.
    GetProvince(kOtherLand)->SetControllerField(CountryOfNumber(2));
    EXPECT_EQ(First().first, 7) << First().second;
    GetProvince(kOtherLand)->Abandon();
    EXPECT_EQ(First().first, 0) << First().second;
}

// Every fault found, one line each.
std::string AllFaults() {
    std::string text;
    for (const longrun::WorldFault& fault : longrun::CheckWorld(true))
        text += longrun::DescribeFault(fault) + "\n";
    return text;
}

TEST_F(WorldChecksTest, ACombatAndItsUnitsNameEachOther) {
    CLandUnit& army = Unit<CLandUnit>(1, kLand);
    CLandUnit& enemy = Unit<CLandUnit>(2, kLand);
    CLandUnit& stray = Unit<CLandUnit>(2, kLand);
    auto* combat = dynamic_cast<CCombat*>(GetProvince(kLand)->StartCombat(CDate(), kCombatLand, 0));
    ASSERT_NE(combat, nullptr);
    const ObjectId id = combat->GetId();
    combat->Attackers().Join(&army, true);
    combat->Defenders().Join(&enemy, false);
    ASSERT_EQ(AllFaults(), "");

    const ObjectId gone(id.type, id.number + 1000);
    struct Case {
        const char* name;
        const char* text;
        std::function<void()> breakIt;
        std::function<void()> mend;
    };
    const std::vector<Case> cases = {
        {"the unit has left the combat", "a combat lists a unit that does not name it",
         [&] { army.CombatEnded(id); }, [&] { army.CombatStarted(id, 1, kCombatLand); }},
        {"the side has dropped the unit", "a unit names a combat whose sides do not list it",
         [&] { combat->Attackers().GetUnits().Remove(&army); },
         [&] { combat->Attackers().GetUnits().AddTail(&army); }},
        {"the unit besieges a combat that is gone", "a unit names a combat that does not exist",
         [&] { army.CombatStarted(gone, 1, kCombatSiegeCover); }, [&] { army.CombatEnded(gone); }},
        {"the side lists a unit of no country",
         "a combat lists a unit that is in no country's list",
         [&] {
             combat->Defenders().GetUnits().AddTail(&stray);
             stray.CombatStarted(id, 0, kCombatLand);
             CountryOfNumber(2)->m_units.Remove(&stray);
         },
         [&] {
             CountryOfNumber(2)->m_units.AddTail(&stray);
             combat->Defenders().GetUnits().Remove(&stray);
             stray.CombatEnded(id);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        const std::string text = AllFaults();
        EXPECT_NE(text.find(std::string("rule 4: ") + c.text), std::string::npos) << text;
        c.mend();
        EXPECT_EQ(AllFaults(), "");
    }
    combat->Attackers().GetUnits().Remove(&army);
    combat->Defenders().GetUnits().Remove(&enemy);
    GetProvince(kLand)->RemoveCombat(id);
}

// A siege's garrison stands in its fortress, in no country's list; it must
// still name its siege.
TEST_F(WorldChecksTest, ASiegesGarrisonNeedsNoCountryButMustNameItsSiege) {
    CLandUnit& besieger = Unit<CLandUnit>(1, kLand);
    auto* siege =
        dynamic_cast<CCombat*>(GetProvince(kLand)->StartCombat(CDate(), kCombatSiegeCover, 0));
    ASSERT_NE(siege, nullptr);
    ASSERT_NE(siege->GetSiege(), nullptr);
    const ObjectId id = siege->GetId();
    siege->Attackers().Join(&besieger, true);
    CLandUnit& garrison = Unit<CLandUnit>(2, kLand);
    CountryOfNumber(2)->m_units.Remove(&garrison);
    siege->Defenders().GetUnits().AddTail(&garrison);
    garrison.CombatStarted(id, 0, kCombatSiegeCover);
    EXPECT_EQ(AllFaults(), "");
    garrison.CombatEnded(id);
    const std::string text = AllFaults();
    EXPECT_NE(text.find("rule 4: a combat lists a unit that does not name it"), std::string::npos)
        << text;
    siege->Defenders().GetUnits().Remove(&garrison);
    CountryOfNumber(2)->m_units.AddTail(&garrison);
    siege->Attackers().GetUnits().Remove(&besieger);
    besieger.CombatEnded(id);
    GetProvince(kLand)->RemoveCombat(id);
}

TEST_F(WorldChecksTest, AnEndedCombatMustBeGoneWithinADay) {
    longrun::EndedCombatWatch watch;
    CProvince& province = *GetProvince(kLand);
    auto* removed = dynamic_cast<CCombat*>(province.StartCombat(CDate(), kCombatLand, 0));
    auto* stuck = dynamic_cast<CCombat*>(province.StartCombat(CDate(), kCombatLand, 0));
    ASSERT_TRUE(removed && stuck);
    EXPECT_TRUE(watch.NoteDay().empty());
    // Both end; one is taken away by the next day, the other stays.
    removed->ended = stuck->ended = true;
    EXPECT_TRUE(watch.NoteDay().empty());
    const ObjectId stuckId = stuck->GetId();
    province.RemoveCombat(removed->GetId());
    const std::vector<longrun::WorldFault> faults = watch.NoteDay();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].rule, 4);
    EXPECT_NE(faults[0].what.find("still there a day later"), std::string::npos);
    EXPECT_NE(faults[0].objects.find(std::to_string(stuckId.number)), std::string::npos)
        << faults[0].objects;
    province.RemoveCombat(stuckId);
    EXPECT_TRUE(watch.NoteDay().empty());
}

TEST_F(WorldChecksTest, AUnitAndItsAgentMustAgree) {
    auto made = std::make_unique<CAICountry>(3);
    CAICountry& country = *made;
    ASSERT_TRUE(AddCountry(std::move(made)));
    CLandUnit& army = Unit<CLandUnit>(3, kLand);
    CAIKing& king = *country.GetKing();
    // Named by the unit, not held by the agent.
    army.SetAIAgent(&king);
    auto [rule, text] = First();
    EXPECT_EQ(rule, 6) << text;
    EXPECT_NE(text.find("does not hold it"), std::string::npos) << text;
    // Held, and named: sound.
    king.GetArmies()->AddTail(&army);
    EXPECT_EQ(First().first, 0) << First().second;
    // Held by the agent, naming none.
    army.SetAIAgent(nullptr);
    std::tie(rule, text) = First();
    EXPECT_EQ(rule, 6) << text;
    EXPECT_NE(text.find("names another agent"), std::string::npos) << text;
    king.GetArmies()->Remove(&army);
}

} // namespace
