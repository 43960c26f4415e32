#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "country/Country.h"
#include "data/Keywords.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/Province.h"

namespace {

const char* const kArmy =
    "landunit = { id = { type = 4712 id = 70 } name = \"Army of Flanders\" location = 12 "
    "date = { year = 0 month = january day = 0 } development = no morale = 0.750000 "
    "historicalleader = { id = { type = 6 id = 21 } name = \"Spinola\" category = general location "
    "= 0 rank = 1 "
    "fire = 2 shock = 3 siege = 4 movement = 5 startdate = { year = 1590 month = january day = 0 } "
    "deathdate = { year = 1630 month = september day = 25 } } "
    "leader = { id = { type = 4712 id = 71 } name = \"Bucquoy\" category = general location = 0 "
    "rank = 2 "
    "fire = 1 shock = 1 siege = 1 movement = 1 startdate = { year = 1600 month = january day = 0 } "
    "deathdate = { year = 1620 month = january day = 0 } } "
    "movetime = 3 movement = { 13 14 15 } retreat = yes "
    "infantry = 1000.000000 cavalry = 250.500000 artillery = 4.000000 }";

class UnitBlockTest : public test::MilitaryBlockTest {
protected:
    void TearDown() override {
        for (CProvince& province : g_provinces)
            province.terrain = 0;
        MilitaryBlockTest::TearDown();
    }

    // Reads "key = { ... }" into the unit; answers Read's result.
    int32_t ReadUnit(const std::string& text, CUnit& unit) {
        OpenBlock(text);
        reader.currentCountry = unit.GetOwner();
        return unit.Read(reader);
    }

    // The queued messages of a type.
    std::vector<COVEvent*> QueuedOfType(uint32_t type) const {
        std::vector<COVEvent*> found;
        for (COVEvent* event : Queued())
            if (event->GetType() == type)
                found.push_back(event);
        return found;
    }

    CCountry country{5};
};

TEST_F(UnitBlockTest, ArmyRoundTripsByteForByteWithLeadersAndPath) {
    CLandUnit army(&country);
    ASSERT_EQ(ReadUnit(kArmy, army), FIELD_BLOCK_END);
    EXPECT_EQ(army.GetId(), ObjectId(4712, 70));
    EXPECT_EQ(army.GetName(), "Army of Flanders");
    EXPECT_EQ(army.GetLocation(), 12);
    EXPECT_FLOAT_EQ(army.morale, 0.75f);
    EXPECT_FLOAT_EQ(army.GetStrength(2), 1000.0f);
    EXPECT_EQ(army.GetRoundedCavalry(), 251);
    EXPECT_EQ(army.GetRoundedArtillery(), 4);
    EXPECT_EQ(army.GetRoundedInfantry(), 1000);
    EXPECT_EQ(army.GetNextPathProvince(), 13);
    EXPECT_TRUE(army.IsRetreating());
    EXPECT_EQ(army.GetRetreatProvince(), 13);
    EXPECT_EQ(army.GetState(), CUnit::EState::Moving);
    EXPECT_EQ(army.nextStepDate, CDate(13, 4, 1600));
    EXPECT_EQ(army.moveStartDate, kToday);

    // The leaders stand in the file's order.
    ASSERT_EQ(army.GetLeaders().GetCount(), 2u);
    CLinkedList<CLeader>::CListPosition head = nullptr;
    army.GetLeaders().GetHeadPosition(head);
    CLeader* first = head->item;
    EXPECT_EQ(first->GetName(), "Spinola");
    EXPECT_TRUE(first->IsHistorical());
    EXPECT_EQ(first->loadedActive, 1);
    EXPECT_EQ(first->GetUnit(), &army);
    EXPECT_EQ(first->GetCountry(), &country);
    EXPECT_EQ(ResolveId({kLeaderIdType, 21}), first);
    EXPECT_EQ(head->next->item->GetName(), "Bucquoy");

    const std::string once = Print(KW_LANDUNIT, army.Write());
    EXPECT_EQ(Flat(once), std::string(kArmy) + " ");
    for (const char* entry :
         {"movetime = 3", "movement = { 13 14 15 }", "retreat = yes", "infantry = 1000.000000",
          "cavalry = 250.500000", "morale = 0.750000"})
        EXPECT_NE(once.find(entry), std::string::npos) << entry;
    EXPECT_LT(once.find("Spinola"), once.find("Bucquoy"));
    CLandUnit again(&country);
    ASSERT_EQ(ReadUnit(once, again), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_LANDUNIT, again.Write()), once);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(UnitBlockTest, HostSchedulesTheNextStepAndTheCompletionAtTheirDates) {
    CLandUnit army(&country);
    ASSERT_EQ(
        ReadUnit(
            "landunit = { id = { type = 4712 id = 9 } date = { year = 1601 month = june day = 2 } "
            "development = yes movetime = 0 movement = { 40 41 } }",
            army),
        0);
    EXPECT_TRUE(army.IsInDevelopment());
    auto steps = QueuedOfType(EVT_UNNAMED_57);
    ASSERT_EQ(steps.size(), 1u);
    COVEvent* step = steps[0];
    EXPECT_EQ(step, army.pendingStep);
    EXPECT_EQ(step->GetReceiver(), g_unitServerId);
    EXPECT_EQ(step->GetPayloadSize(), 32);
    EXPECT_EQ(step->Payload().Get(MoveStepPayload::kUnit), ObjectId(4712, 9));
    EXPECT_EQ(step->Payload().Get(MoveStepPayload::kProvince), 40);
    EXPECT_EQ(step->GetDueDate(), kToday); // movetime 0: today
    EXPECT_EQ(step->GetSendFlag(), 0);

    auto finishes = QueuedOfType(EVT_UNIT_FINISH);
    ASSERT_EQ(finishes.size(), 1u);
    EXPECT_EQ(finishes[0]->GetReceiver(), ObjectId(4712, 9));
    EXPECT_EQ(finishes[0]->GetDueDate(), CDate(2, 5, 1601));
    EXPECT_EQ(finishes[0]->GetSendFlag(), 1);
}

TEST_F(UnitBlockTest, CompletionGoesToTheFinalIdWhenDevelopmentComesFirst) {
    // "development" before "id", and a block with no "id" at all.
    CLandUnit late(&country);
    ASSERT_EQ(
        ReadUnit(
            "landunit = { date = { year = 1602 } development = yes id = { type = 4712 id = 88 } }",
            late),
        0);
    CLandUnit unnamed(&country);
    ASSERT_EQ(ReadUnit("landunit = { date = { year = 1603 } development = yes development = yes }",
                       unnamed),
              0);
    EXPECT_EQ(unnamed.GetId().type, 4712);

    auto finishes = QueuedOfType(EVT_UNIT_FINISH);
    ASSERT_EQ(finishes.size(), 2u);
    for (COVEvent* finish : finishes) {
        const bool isLate = finish->GetReceiver() == ObjectId(4712, 88);
        EXPECT_TRUE(isLate || finish->GetReceiver() == unnamed.GetId());
        EXPECT_EQ(finish->GetDueDate().year, isLate ? 1602 : 1603);
        EXPECT_EQ(finish->GetSendFlag(), 1);
    }
}

TEST_F(UnitBlockTest, ClientSchedulesNothingButKeepsThePath) {
    BecomeClient();
    CLandUnit army(&country);
    ASSERT_EQ(ReadUnit("landunit = { development = yes movetime = 2 movement = { 40 } }", army),
              FIELD_BLOCK_END);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(army.pendingStep, nullptr);
    EXPECT_EQ(army.GetNextPathProvince(), 40);
    EXPECT_TRUE(army.IsInDevelopment());
}

TEST_F(UnitBlockTest, EmptyPathWritesNoMovementEvenWhenRetreating) {
    CLandUnit army(&country);
    army.SetRetreating(3);
    const std::string printed = Print(KW_LANDUNIT, army.Write());
    for (const char* key : {"movetime", "movement", "retreat"})
        EXPECT_EQ(printed.find(key), std::string::npos) << key;
}

TEST_F(UnitBlockTest, FleetCarriesItsArmiesAndWritesPortOnlyAfterAMonthAtSea) {
    g_provinces[1300].terrain = 6; // a sea zone
    const std::string fleetText =
        "navalunit = { id = { type = 4712 id = 80 } name = \"Armada\" location = 1300 "
        "date = { year = 0 month = january day = 0 } development = no morale = 1.000000 "
        "warships = 20.000000 galleys = 0.000000 transports = 10.000000 "
        "port = { year = 1600 month = march day = 3 } "
        "landunit = { id = { type = 4712 id = 81 } name = \"Tercio\" location = 1300 "
        "date = { year = 0 month = january day = 0 } development = no morale = 1.000000 "
        "infantry = 1000.500000 cavalry = 0.000000 artillery = 2.000000 } }";
    country.m_infantryTotal = 5;
    auto fleet = std::make_unique<CNavalUnit>(&country);
    ASSERT_EQ(ReadUnit(fleetText, *fleet), FIELD_BLOCK_END);
    EXPECT_EQ(fleet->GetMonthsAtSea(), 2);
    ASSERT_EQ(fleet->GetCargo().GetCount(), 1u);
    ASSERT_EQ(country.m_units.GetCount(), 1u);
    CUnit* carried = nullptr;
    country.m_units.ForEach([&carried](CUnit* unit) { carried = unit; });
    auto* army = dynamic_cast<CLandUnit*>(carried);
    ASSERT_NE(army, nullptr);
    EXPECT_EQ(army->GetCarrier(), fleet.get());
    EXPECT_EQ(army->GetId(), ObjectId(4712, 81));
    EXPECT_EQ(army->GetOwner(), &country);
    EXPECT_EQ(country.m_infantryTotal, 1006);
    EXPECT_EQ(country.m_artilleryTotal, 2);
    const std::string printed = Print(KW_NAVALUNIT, fleet->Write());
    EXPECT_EQ(Flat(printed), fleetText + " ");
    EXPECT_NE(printed.find("port = { year = 1600 month = march day = 3 }"), std::string::npos);
    EXPECT_NE(printed.find("infantry = 1000.500000"), std::string::npos);
    EXPECT_LT(printed.find("transports"), printed.find("Tercio"));
    CNavalUnit again(&country);
    ASSERT_EQ(ReadUnit(printed, again), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_NAVALUNIT, again.Write()), printed);
    EXPECT_EQ(country.m_units.GetCount(), 2u);

    // In port this month, or in a land province: no "port".
    fleet->portDate = kToday;
    EXPECT_EQ(Print(KW_NAVALUNIT, fleet->Write()).find("port = {"), std::string::npos);
    fleet->portDate = CDate(0, 0, 1500);
    fleet->SetLocation(12);
    EXPECT_EQ(fleet->GetMonthsAtSea(), 0);

    // A fleet that goes sets its army ashore; the country keeps the army.
    fleet.reset();
    EXPECT_EQ(army->GetCarrier(), nullptr);
}

TEST_F(UnitBlockTest, BadLocationsAndPathProvincesAreReportedAndDropped) {
    CLandUnit army(&country);
    ASSERT_EQ(
        ReadUnit("landunit = { location = 99999 movement = { 1473 20 -1 21 } infantry = 5 }", army),
        0);
    EXPECT_EQ(army.GetLocation(), 0);
    EXPECT_TRUE(BoxShown("Illegal province ID"));
    EXPECT_EQ(boxes.texts.size(), 3u);
    ASSERT_EQ(army.GetPath().GetCount(), 2u);
    EXPECT_EQ(army.GetNextPathProvince(), 20);
    EXPECT_FLOAT_EQ(army.GetStrength(2), 5.0f);

    CLandUnit edge(&country);
    ASSERT_EQ(ReadUnit("landunit = { location = 1472 }", edge), FIELD_BLOCK_END);
    EXPECT_EQ(edge.GetLocation(), 1472);
}

TEST_F(UnitBlockTest, ReadsOnOverFaultyFieldsAndStopsOnABrokenMovementList) {
    CLandUnit army(&country);
    boxes.texts.clear();
    ASSERT_EQ(ReadUnit("landunit = { colour = 5 infantry = many cavalry 7 development = maybe "
                       "leader = 3 name = \"" +
                           std::string(300, 'n') + "\" artillery = 6 }",
                       army),
              0);
    EXPECT_FLOAT_EQ(army.GetStrength(0), 6.0f);
    EXPECT_FLOAT_EQ(army.GetStrength(2), 0.0f);
    EXPECT_EQ(army.GetName(), std::string(255, 'n'));
    EXPECT_TRUE(BoxShown("Illegal Argument"));
    EXPECT_TRUE(BoxShown("No left curly"));
    EXPECT_FALSE(army.IsInDevelopment());

    CLandUnit broken(&country);
    EXPECT_EQ(ReadUnit("landunit = { movement = 5 infantry = 3 }", broken), FIELD_ERROR);
    CLandUnit unterminated(&country);
    EXPECT_EQ(ReadUnit("landunit = { movement = { 4 5", unterminated), FIELD_ERROR);
}

TEST_F(UnitBlockTest, HugeStrengthsAreHeldWithinTheTroopTotals) {
    CLandUnit army(&country);
    ASSERT_EQ(
        ReadUnit("landunit = { infantry = 99999999999 cavalry = -5.5 artillery = 0.2 }", army), 0);
    EXPECT_EQ(army.GetRoundedInfantry(), 2147483647);
    EXPECT_EQ(army.GetRoundedCavalry(), -5);
    EXPECT_EQ(army.GetRoundedArtillery(), 1);
    country.m_infantryTotal = 10;
    country.m_cavalryTotal = 3;
    army.AddToOwnerTotals();
    EXPECT_EQ(country.m_infantryTotal, 2147483647);
    EXPECT_EQ(country.m_cavalryTotal, 0);
    EXPECT_EQ(country.m_artilleryTotal, 1);
}

TEST_F(UnitBlockTest, FileEndingInsideAUnitSkipsTheEndSteps) {
    const char* const texts[] = {
        "landunit = { location = 12 development = yes movetime = 1 movement = { 13 } infantry = 3",
        "landunit = { location = 12 date = { year = 1601 ",
        "landunit = { location = 12 leader = { name = \"x\" ",
        "navalunit = { location = 12 landunit = { location = 12 ",
    };
    for (const char* text : texts) {
        std::unique_ptr<CUnit> unit;
        if (text[0] == 'n')
            unit = std::make_unique<CNavalUnit>(&country);
        else
            unit = std::make_unique<CLandUnit>(&country);
        EXPECT_EQ(ReadUnit(text, *unit), FIELD_END_OF_FILE) << text;
        EXPECT_TRUE(unit->GetId().IsNull()) << text;
        EXPECT_EQ(unit->GetLocation(), 0) << text;
        EXPECT_TRUE(unit->IsPathEmpty()) << text;
        EXPECT_TRUE(Queued().empty()) << text;
    }
}

} // namespace
