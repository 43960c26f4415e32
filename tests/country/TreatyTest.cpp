// Alliances, relations, wars and peace offers: their blocks, the alliance's
// end, the war score, the acceptance of offers and the status derived from
// the treaties.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "tests/data/TextFormatFixture.h"
#include "world/City.h"
#include "world/GlobalsTreaties.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"

namespace {

// Keeps the white peace messages it receives.
class RecordingCountry : public CCountry {
public:
    using CCountry::CCountry;
    int HandleMessage(COVEvent& event) override {
        if (event.GetType() == EVT_WHITE_PEACE)
            whitePeace.push_back(event.Payload().Get(WhitePeacePayload::kWar));
        return EVENT_CONSUMED;
    }
    std::vector<ObjectId> whitePeace;
};

class TreatyTest : public test::TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        SetCountryTagSource(FindCountryTagOfNumber);
        // ENG 1, FRA 2, HAB 3, POR 4, HOL 5.
        for (uint32_t number = 1; number <= 5; ++number)
            AddCountry(std::make_unique<RecordingCountry>(number));
        g_countryController.fill(0);
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(0, 0, 1500);
    }
    void TearDown() override {
        reader.Close();
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
        DeleteAllCountries();
        g_countryController.fill(0);
        g_diplomaticMatrix = {};
        g_gameTimer.reset();
        for (int id : {1401, 1402, 1403, 1404})
            if (CProvince* province = GetProvince(id))
                province->SetCity(nullptr);
        FreeIdRegistries();
    }

    CCountry& Country(uint32_t number) { return *CountryOfNumber(number); }
    CRelation& Relation(uint32_t a, uint32_t b) { return *Country(a).m_diplomacy.GetRelation(b); }

    // Reads the body of a block (after its "{") with the reader.
    template <class T> int32_t ReadBody(T& object, const std::string& body) {
        reader.Close();
        OpenText(body);
        return object.Read(reader);
    }

    // Writes the object's block, reads the text back into a fresh object and
    // writes that: both texts must be the same.
    template <class T> std::string RoundTrip(const T& object, uint32_t key) {
        const std::string first = Print(key, object.Write());
        T again;
        reader.Close();
        OpenText(first);
        for (int i = 0; i < 3; ++i) // key, "=", "{"
            File().Next();
        EXPECT_EQ(again.Read(reader), FIELD_BLOCK_END);
        EXPECT_EQ(Print(key, again.Write()), first);
        return first;
    }

    CWar& AddWar(std::vector<uint32_t> attackers, std::vector<uint32_t> defenders) {
        auto war = std::make_unique<CWar>();
        war->id = ObjectId(kFirstPlayerIdType, 50 + static_cast<uint32_t>(g_wars.size()));
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->id = NewTreatyId();
        war->attackers->participants = std::move(attackers);
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->id = NewTreatyId();
        war->defenders->participants = std::move(defenders);
        g_wars.push_back(std::move(war));
        return *g_wars.back();
    }

    CAlliance& AddAlliance(uint32_t type, std::vector<uint32_t> members) {
        auto alliance = std::make_unique<CAlliance>();
        alliance->type = type;
        alliance->participants = std::move(members);
        g_alliances.push_back(std::move(alliance));
        return *g_alliances.back();
    }

    // A province of the owner and controller with a city of the population.
    void Place(int id, uint32_t owner, uint32_t controller, float population) {
        CProvince& province = *GetProvince(id);
        auto city = std::make_unique<CCity>();
        dir.WriteFile("city.txt", "population = " + std::to_string(population) + " }");
        CFieldReader cityReader;
        cityReader.Open("city.txt", "r");
        EXPECT_EQ(city->Read(cityReader), FIELD_BLOCK_END);
        province.SetCity(std::move(city));
        province.SetOwner(&Country(owner));
        province.SetControllerField(&Country(controller));
    }
};

// ---------------------------------------------------------------------------
// Alliances

TEST_F(TreatyTest, AllianceBlockRoundTripsWithEveryField) {
    CAlliance alliance;
    ASSERT_EQ(ReadBody(alliance,
                       "id = { type = 4712 id = 9 } type = militaryalliance "
                       "name = \"League\" startdate = { year = 1490 month = may day = 3 } "
                       "expirydate = { year = 1510 } participant = { FRA ENG } }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(alliance.id, ObjectId(4712, 9));
    EXPECT_EQ(alliance.type, static_cast<uint32_t>(ALLIANCE_MILITARY));
    EXPECT_EQ(alliance.name, "League");
    EXPECT_EQ(alliance.participants, (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(alliance.expiryDate.year, 1510);
    const std::string text = RoundTrip(alliance, KW_ALLIANCE);
    EXPECT_NE(text.find("participant = { FRA ENG }"), std::string::npos) << text;
}

TEST_F(TreatyTest, AllianceWithUnknownTagSkipsThatMemberOnly) {
    CAlliance alliance;
    EXPECT_EQ(ReadBody(alliance, "participant = { ENG XXX FRA } type = dynasticalliance "
                                 "name = \"After\" }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Illegal Tag"));
    EXPECT_EQ(alliance.participants, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(alliance.type, static_cast<uint32_t>(ALLIANCE_DYNASTIC));
    EXPECT_EQ(alliance.name, "After");
    // Read without "id": a new id of the first player's run-time type.
    EXPECT_EQ(alliance.id.type, kFirstPlayerIdType);
    EXPECT_NE(alliance.id.number, 0u);
}

TEST_F(TreatyTest, AllianceWithUnknownKeyIsPassedOverAndNotListed) {
    ASSERT_NE(g_globalsTreaties.readAlliance, nullptr);
    OpenText("type = militaryalliance bogus = { 1 2 } participant = { ENG FRA } } next\n");
    EXPECT_EQ(g_globalsTreaties.readAlliance(reader), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Illegal thingie"));
    EXPECT_TRUE(g_alliances.empty());
    ASSERT_EQ(File().Next(), 1);
    EXPECT_STREQ(File().Current().text, "next");
}

TEST_F(TreatyTest, AllianceExpiresOnTheDayAfterItsExpiryDate) {
    CAlliance& alliance = AddAlliance(ALLIANCE_MILITARY, {1, 2});
    alliance.expiryDate = CDate(10, 3, 1500);
    std::vector<uint32_t> told;
    g_treatyNotices.allianceEnded = nullptr;
    g_countryController[2] = 1;
    static std::vector<uint32_t>* s_told = nullptr;
    s_told = &told;
    g_treatyNotices.allianceEnded = [](uint32_t kind, uint32_t player,
                                       const std::vector<uint32_t>&) {
        s_told->push_back(kind);
        s_told->push_back(player);
    };
    RebuildDiplomaticStatus();
    ASSERT_TRUE(Relation(1, 2).military);
    COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, g_broadcastId);

    g_gameTimer->currentDate = CDate(10, 3, 1500);
    OfferToAlliances(tick);
    EXPECT_EQ(g_alliances.size(), 1u);

    g_gameTimer->currentDate = CDate(11, 3, 1500);
    OfferToAlliances(tick);
    EXPECT_TRUE(g_alliances.empty());
    EXPECT_FALSE(Relation(1, 2).military);
    EXPECT_EQ(told, (std::vector<uint32_t>{70, 2}));
    g_treatyNotices.allianceEnded = nullptr;
}

TEST_F(TreatyTest, AllianceOfOneDissolvesAndCountsForNoOne) {
    CAlliance& lone = AddAlliance(ALLIANCE_DYNASTIC, {1});
    lone.expiryDate = CDate(0, 0, 1600);
    EXPECT_FALSE(lone.HasMember(1));
    lone.alwaysValid = 1;
    EXPECT_TRUE(lone.HasMember(1));
    lone.alwaysValid = 0;
    CAlliance& side = AddAlliance(ALLIANCE_WAR_SIDE, {3});
    EXPECT_TRUE(side.HasMember(3));
    COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, g_broadcastId);
    OfferToAlliances(tick);
    ASSERT_EQ(g_alliances.size(), 1u); // the war side never ends by itself
    EXPECT_EQ(g_alliances.front()->type, static_cast<uint32_t>(ALLIANCE_WAR_SIDE));
}

TEST_F(TreatyTest, ElectLeaderPutsTheStrongestFirst) {
    CAlliance& alliance = AddAlliance(ALLIANCE_MILITARY, {1, 2, 3});
    Country(3).m_major = 1;
    alliance.ElectLeader();
    EXPECT_EQ(alliance.participants, (std::vector<uint32_t>{3, 1, 2}));
    g_countryController[2] = 1;
    alliance.ElectLeader();
    EXPECT_EQ(alliance.participants, (std::vector<uint32_t>{2, 3, 1}));
}

// ---------------------------------------------------------------------------
// Relations

TEST_F(TreatyTest, RelationValueIsHeldWithinItsRange) {
    CRelation relation;
    relation.SetValue(250.0f);
    EXPECT_EQ(relation.value, 200.0f);
    ASSERT_EQ(ReadBody(relation, "tag = FRA value = 250 }"), FIELD_BLOCK_END);
    EXPECT_EQ(relation.value, 250.0f);
    EXPECT_EQ(relation.GetValue(), 200.0f);
    relation.value = -300.0f;
    EXPECT_EQ(relation.GetValue(), -200.0f);
}

TEST_F(TreatyTest, DiplomacyBlockRoundTripsEveryRelationThatDiffersFromItsStart) {
    // ENG starts at 3 x 20 = 60 toward FRA: a value that fell to exactly 0
    // must be written, or it comes back as 60.
    g_diplomaticMatrix[1][2] = 3.0f;
    g_diplomaticMatrix[1][3] = 20.0f; // 400, held at 200
    CCountryDiplomacy& diplomacy = Country(1).m_diplomacy;
    diplomacy.Init(1);
    EXPECT_EQ(Relation(1, 3).value, 200.0f);
    Relation(1, 2).value = 0.0f;
    Relation(1, 4).refuseTrade = 1;
    CCasusBelli claim;
    claim.temporary = 1;
    claim.expiry = CDate(0, 5, 1501);
    Relation(1, 5).casusBelli.push_back(claim);
    Relation(1, 3).value = 200.0f; // its start: nothing to write

    const std::string first = Print(KW_DIPLOMACY, diplomacy.Write());
    EXPECT_EQ(first.find("HAB"), std::string::npos) << first;
    Relation(1, 2).value = 60.0f;
    Relation(1, 4).refuseTrade = 0;
    Relation(1, 5).casusBelli.clear();

    reader.Close();
    OpenText(first);
    for (int i = 0; i < 3; ++i)
        File().Next();
    ASSERT_EQ(diplomacy.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Relation(1, 2).value, 0.0f);
    EXPECT_EQ(Relation(1, 4).refuseTrade, 1);
    ASSERT_EQ(Relation(1, 5).casusBelli.size(), 1u);
    EXPECT_EQ(Relation(1, 5).casusBelli[0], claim);
    EXPECT_EQ(Print(KW_DIPLOMACY, diplomacy.Write()), first);
}

TEST_F(TreatyTest, RelationNamingNoCountryIsNotReadIntoCountryZero) {
    CCountryDiplomacy& diplomacy = Country(1).m_diplomacy;
    ASSERT_EQ(ReadBody(diplomacy, "relation = { tag = XXX value = 77 refusetrade = yes } "
                                  "relation = { tag = FRA value = -12 } }"),
              FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Illegal tag"));
    EXPECT_EQ(Relation(1, 0).value, 0.0f);
    EXPECT_EQ(Relation(1, 0).refuseTrade, 0);
    EXPECT_EQ(Relation(1, 2).value, -12.0f);
}

TEST_F(TreatyTest, MonthTickDropsTemporaryClaimsThatHaveCome) {
    CCasusBelli due;
    due.temporary = 1;
    due.expiry = CDate(0, 0, 1500); // today
    CCasusBelli later = due;
    later.expiry = CDate(1, 0, 1500);
    CCasusBelli permanent;
    Relation(1, 2).casusBelli = {due, later, permanent};
    EXPECT_EQ(Country(1).m_diplomacy.GetCasusBelliExpiry(2), due.expiry);
    COVSimpleEvent month(EVT_TIMER_MONTH, g_broadcastId);
    Country(1).m_diplomacy.HandleEvent(month);
    EXPECT_EQ(Relation(1, 2).casusBelli, (std::vector<CCasusBelli>{later, permanent}));
}

TEST_F(TreatyTest, ClaimedProvinceHeldByTheOtherGivesCasusBelli) {
    GetProvince(1405)->SetOwner(&Country(2));
    Country(1).m_nationalProvinces.AddTail(1405);
    EXPECT_TRUE(Country(1).m_diplomacy.HasCasusBelliAgainst(2));
    EXPECT_EQ(Relation(1, 2).claimHeld, 1);
    EXPECT_FALSE(Country(1).m_diplomacy.HasCasusBelliAgainst(3));
    Relation(3, 1).refuseTrade = 1; // HAB refuses trade with ENG
    EXPECT_TRUE(Country(1).m_diplomacy.HasCasusBelliAgainst(3));
    EXPECT_FALSE(Country(1).m_diplomacy.HasCasusBelliAgainst(60)); // no such country
}

TEST_F(TreatyTest, RelationChangesAreMutual) {
    g_diplomaticMatrix[1][2] = 2.0f; // ENG likes FRA (40), FRA does not care (0)
    Country(1).m_diplomacy.Init(1);
    ChangeRelationMutual(1, 2, -10.0f);
    EXPECT_EQ(Relation(1, 2).value, 30.0f);
    EXPECT_EQ(Relation(2, 1).value, 30.0f);
    ChangeRelationMutual(2, 1, 500.0f);
    EXPECT_EQ(Relation(1, 2).value, 200.0f);
    EXPECT_EQ(Relation(2, 1).value, 200.0f);
    ChangeRelationMutual(1, 77, 5.0f); // no such country: nothing
}

TEST_F(TreatyTest, DiplomaticStatusFollowsTheTreaties) {
    AddAlliance(ALLIANCE_MILITARY, {1, 2});
    AddAlliance(ALLIANCE_DYNASTIC, {3}); // one participant: nothing
    AddAlliance(ALLIANCE_VASSALIZATION, {4, 5});
    CWar& war = AddWar({1, 2}, {3, 4});
    auto offer = std::make_unique<CPeaceOffer>();
    offer->from = 2;
    offer->to = 4;
    g_peaceOffers.push_back(std::move(offer));
    RebuildDiplomaticStatus();

    EXPECT_TRUE(Relation(1, 2).military && Relation(2, 1).military);
    EXPECT_FALSE(Relation(3, 3).dynastic);
    EXPECT_TRUE(Relation(1, 2).sameSide && Relation(3, 4).sameSide && Relation(4, 3).sameSide);
    for (uint32_t a : {1u, 2u})
        for (uint32_t d : {3u, 4u})
            EXPECT_TRUE(Relation(a, d).atWar && Relation(d, a).atWar) << a << " " << d;
    EXPECT_TRUE(Relation(2, 4).peacePending && Relation(4, 2).peacePending);
    EXPECT_FALSE(Relation(1, 3).peacePending);

    EXPECT_TRUE(Country(4).m_diplomacy.IsOverlordOf(5));
    EXPECT_EQ(Country(5).m_diplomacy.GetOverlord(), 4);
    EXPECT_TRUE(Country(5).m_diplomacy.IsAlliedWith(4));
    EXPECT_TRUE(Country(1).m_diplomacy.IsInMilitaryAlliance());
    EXPECT_EQ(Country(1).m_diplomacy.FindWarWith(4), &war);
    EXPECT_EQ(Country(1).m_diplomacy.FindWarWith(2), nullptr);

    // Treaties gone: the derived flags go, being at war stays.
    g_alliances.clear();
    g_wars.clear();
    g_peaceOffers.clear();
    RebuildDiplomaticStatus();
    EXPECT_FALSE(Relation(1, 2).military || Relation(1, 2).sameSide || Relation(2, 4).peacePending);
    EXPECT_TRUE(Relation(1, 3).atWar);
}

// ---------------------------------------------------------------------------
// Wars

const char* kWarBody = "id = { type = 4712 id = 31 } date = { year = 1495 month = march day = 2 } "
                       "enddate = { year = 1499 } defenderscore = { HAB = { ENG = -4 } } "
                       "attackerscore = { ENG = { HAB = 5 HOL = 2 } FRA = { } } "
                       "attackers = { type = war participant = { ENG FRA } } "
                       "defenders = { type = war participant = { HAB HOL } } }";

TEST_F(TreatyTest, WarBlockRoundTrips) {
    CWar war;
    ASSERT_EQ(ReadBody(war, kWarBody), FIELD_BLOCK_END);
    EXPECT_EQ(war.id, ObjectId(4712, 31));
    EXPECT_EQ(war.attackerScore.rows[1][3], 5);
    EXPECT_EQ(war.defenderScore.rows[3][1], -4);
    EXPECT_TRUE(war.IsAttacker(2));
    EXPECT_TRUE(war.IsDefender(4));
    RoundTrip(war, KW_WAR);
}

// Scores of a damaged file at the ends of the 32-bit range are read where a
// side's sum and the handlers' steps stay in range (the build's sanitizer
// stops at an overflow).
TEST_F(TreatyTest, WarScoresOfAFileAreHeldWhereTheirSumsStayInRange) {
    const std::pair<const char*, int32_t> cases[] = {
        {"2147483647", 1000000},
        {"-2147483648", -1000000},
        {"999999999999999999999", 1000000},
        {"-4", -4},
    };
    for (const auto& [text, held] : cases) {
        const std::string v = text;
        CWar war;
        ASSERT_EQ(ReadBody(war, "attackerscore = { ENG = { FRA = " + v + " HAB = " + v +
                                    " HOL = " + v + " POR = " + v +
                                    " } } "
                                    "attackers = { type = war participant = { ENG } } "
                                    "defenders = { type = war participant = { HAB } } }"),
                  FIELD_BLOCK_END)
            << v;
        EXPECT_EQ(war.attackerScore.rows[1][3], held) << v;
        EXPECT_EQ(war.attackerScore.RowSum(1), 4 * held) << v;
    }
}

TEST_F(TreatyTest, WarWithoutBothSidesIsReportedAndDropped) {
    ASSERT_NE(g_globalsTreaties.readWar, nullptr);
    OpenText("attackers = { participant = { ENG } } attackerscore = { XXX = { FRA = 2 } "
             "ENG = { YYY = 1 HAB = 3 } } } ");
    EXPECT_EQ(g_globalsTreaties.readWar(reader), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("War specified without both attacker and defender "));
    EXPECT_TRUE(BoxShown("illegal tag"));
    EXPECT_TRUE(g_wars.empty());

    reader.Close();
    OpenText(kWarBody);
    EXPECT_EQ(g_globalsTreaties.readWar(reader), FIELD_BLOCK_END);
    ASSERT_EQ(g_wars.size(), 1u);
    EXPECT_EQ(g_globalsTreaties.warCount(), 1u);
}

TEST_F(TreatyTest, SideWithoutParticipantsGivesNoPoints) {
    CWar& war = AddWar({1}, {});
    war.attackerScore.rows[1][3] = 8;
    EXPECT_EQ(war.GetAttackerPoints(1, 0), 0);
    EXPECT_EQ(war.GetAttackerPoints(0, 0), 0);
    EXPECT_EQ(war.GetAttackerPoints(1, 3), 8);
    EXPECT_EQ(war.GetDefenderPoints(0, 0), 0);
    EXPECT_EQ(war.GetWarScore(1, 0, 0), 0);
}

TEST_F(TreatyTest, WarScoreFromPointsCapitalsAndCities) {
    struct Case {
        int32_t attackerPoints;
        int32_t defenderPoints;
        int32_t expected; // the attacker's view
    };
    for (const Case& c : {Case{5, 2, 1}, Case{-7, 0, -3}, Case{20, 0, 3}, Case{0, 3, -1}}) {
        g_wars.clear();
        CWar& war = AddWar({1}, {3});
        war.attackerScore.rows[1][3] = c.attackerPoints;
        war.defenderScore.rows[3][1] = c.defenderPoints;
        EXPECT_EQ(war.GetWarScore(1, 1, 3), c.expected) << c.attackerPoints;
        EXPECT_EQ(war.GetWarScore(3, 3, 1), -c.expected) << c.attackerPoints;
        EXPECT_EQ(war.GetWarScore(1, 0, 0), c.expected) << c.attackerPoints;
    }

    // ENG holds HAB's capital, HAB has no city left that is no colony.
    g_wars.clear();
    CWar& war = AddWar({1}, {3});
    Place(1401, 3, 1, 2000.0f);
    Country(3).m_capital = 1401;
    Country(1).m_capital = 1402;
    Place(1402, 1, 1, 3000.0f);
    EXPECT_EQ(war.GetWarScore(1, 1, 3), 7);
    EXPECT_EQ(war.GetWarScore(3, 3, 1), -7);
    // HAB keeps a town of its own: the capital gives 3, the held city 1 more.
    Place(1403, 3, 3, 900.0f);
    EXPECT_EQ(war.GetWarScore(1, 1, 3), 4);

    // Two defenders, asked for the side as a whole: the points only.
    CWar& two = AddWar({1}, {3, 4});
    two.attackerScore.rows[1][3] = 5;
    EXPECT_EQ(two.GetWarScore(1, 1, 0), 1);
}

TEST_F(TreatyTest, StaleWarsGetWhitePeaceOnTheHost) {
    g_countryController[2] = 1;
    g_gameTimer->currentDate = CDate(0, 0, 1510);
    CWar& over = AddWar({1}, {3});
    over.endDate = CDate(0, 0, 1505);
    CWar& held = AddWar({1}, {4});
    held.endDate = CDate(0, 0, 1505);
    Place(1404, 4, 1, 1000.0f); // ENG still holds a province of HOL
    CWar& fresh = AddWar({1}, {5});
    fresh.endDate = CDate(0, 0, 1508);
    CWar& empty = AddWar({}, {5});
    empty.endDate = CDate(0, 0, 1508);
    EndStaleWars();
    EXPECT_EQ(static_cast<RecordingCountry&>(Country(2)).whitePeace,
              (std::vector<ObjectId>{over.id, empty.id}));
}

// ---------------------------------------------------------------------------
// Peace offers

TEST_F(TreatyTest, PeaceOfferRoundTripsEveryKey) {
    CPeaceOffer offer;
    ASSERT_EQ(ReadBody(offer, "war = { type = 4712 id = 31 } from = ENG to = HAB value = 3 "
                              "numberofcolonies = 1 cash = 250 provinces = { 10 12 } "
                              "newowners = { ENG FRA } demanding = yes seperatefrom = no "
                              "seperateto = yes isbetter = yes annexation = yes religion = yes }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(offer.war, ObjectId(4712, 31));
    EXPECT_EQ(offer.from, 1u);
    EXPECT_EQ(offer.to, 3u);
    EXPECT_EQ(offer.provinceCount, 2u);
    EXPECT_EQ(offer.newOwners[1], 2u);
    EXPECT_TRUE(offer.demanding && offer.separateTo && offer.isBetter && offer.annexation &&
                offer.religion && !offer.separateFrom);
    const std::string text = RoundTrip(offer, KW_PEACE);
    for (const char* key : {"from", "to", "isbetter", "annexation", "religion", "seperatefrom"})
        EXPECT_NE(text.find(std::string(key) + " ="), std::string::npos) << key << "\n" << text;
}

TEST_F(TreatyTest, WhatIsWrittenReadsBackWhenCountriesOrOwnersAreMissing) {
    // No "from", fewer new owners than provinces, a war id of the country
    // type: each must come back as it was, not as a tag the reader refuses.
    CPeaceOffer offer;
    offer.war = ObjectId(kCountryObjectType, 2);
    offer.to = 3;
    offer.provinceCount = 2;
    offer.provinces = {10, 11, 0};
    offer.newOwners = {1, 0, 0};
    const std::string text = RoundTrip(offer, KW_PEACE);
    EXPECT_EQ(text.find(" from ="), std::string::npos) << text;
    EXPECT_TRUE(boxes.texts.empty()) << text;
}

TEST_F(TreatyTest, GlobalsEntriesWriteWhatTheyRead) {
    ASSERT_NE(g_globalsTreaties.writeAlliances, nullptr);
    ASSERT_NE(g_globalsTreaties.clearAll, nullptr);
    EXPECT_NE(g_scenarioSteps.rebuildDiplomaticStatus, nullptr);
    AddAlliance(ALLIANCE_DYNASTIC, {1, 2}).id = ObjectId(4712, 3);
    AddWar({1}, {3});
    auto* globals = new CDataBlock;
    g_globalsTreaties.writeAlliances(*globals);
    g_globalsTreaties.writeWars(*globals);
    const std::string first = Print(KW_GLOBALDATA, globals);
    g_globalsTreaties.clearAll();
    EXPECT_EQ(g_globalsTreaties.allianceCount(), 0u);
    EXPECT_EQ(g_globalsTreaties.warCount(), 0u);

    reader.Close();
    OpenText(first);
    for (int i = 0; i < 3; ++i)
        File().Next();
    while (reader.ReadField() == FIELD_READ)
        EXPECT_EQ((reader.key.code == KW_ALLIANCE ? g_globalsTreaties.readAlliance
                                                  : g_globalsTreaties.readWar)(reader),
                  FIELD_BLOCK_END);
    EXPECT_EQ(g_globalsTreaties.allianceCount(), 1u);
    EXPECT_EQ(g_globalsTreaties.warCount(), 1u);
    auto* again = new CDataBlock;
    g_globalsTreaties.writeAlliances(*again);
    g_globalsTreaties.writeWars(*again);
    EXPECT_EQ(Print(KW_GLOBALDATA, again), first);
}

TEST_F(TreatyTest, PeaceOfferBadListsAreRefused) {
    struct Case {
        const char* body;
        const char* report;
    };
    for (const Case& c :
         {Case{"provinces = { 10 11 12 13 } }", "Too many provinces"},
          Case{"newowners = { ENG FRA HAB HOL } }", "Too many provinces"},
          Case{"provinces = { 0 } }", "Illegal province id"},
          Case{"provinces = { 1473 } }", "Illegal province id"},
          Case{"newowners = { ENG XXX } }", "Illegal tag"}, Case{"from = XXX }", "Illegal tag"},
          Case{"colonies = 3 }", "Peace : Unexpected field"}}) {
        boxes.texts.clear();
        CPeaceOffer offer;
        const std::string body = std::string("value = 2 ") + c.body + " after\n";
        EXPECT_EQ(ReadBody(offer, body), FIELD_ERROR) << c.body;
        EXPECT_TRUE(BoxShown(c.report)) << c.body;
        EXPECT_LE(offer.provinceCount, kMaxPeaceProvinces);
        // The rest of the block is passed over.
        ASSERT_EQ(File().Next(), 1) << c.body;
        EXPECT_STREQ(File().Current().text, "after") << c.body;
    }
}

TEST_F(TreatyTest, PeaceOfferAcceptance) {
    struct Case {
        uint32_t provinces;
        float cash;
        uint8_t demanding;
        int32_t value;
        bool acceptable;
    };
    for (const Case& c : {Case{2, 250.0f, 0, -1, true}, Case{2, 250.0f, 0, -2, false},
                          Case{1, 0.0f, 1, 6, true}, Case{1, 0.0f, 1, 5, false}}) {
        CPeaceOffer offer;
        offer.provinceCount = c.provinces;
        offer.cash = c.cash;
        offer.demanding = c.demanding;
        offer.value = c.value;
        EXPECT_EQ(offer.IsAcceptable(), c.acceptable) << c.provinces << " " << c.value;
        offer.annexation = 1;
        EXPECT_FALSE(offer.IsAcceptable());
    }
}

// An offer of a damaged file at the ends of the ranges is read where
// weighing it stays in range (the build's sanitizer stops at an overflow).
TEST_F(TreatyTest, PeaceOfferValuesOfAFileAreHeldWhereTheOfferCanBeWeighed) {
    const struct {
        const char* value;
        const char* cash;
        int32_t held;
        bool acceptable; // demanding 0: cost - 4 >= -value
    } cases[] = {
        {"-2147483648", "1e30", -1000000, false}, // cost 400000 (cash held at 1e8)
        {"2147483647", "-1e30", 1000000, true},   // cost -400000
        {"-999999999999999999999", "0", -1000000, false},
        {"-4", "2000", -4, true}, // cost 8
    };
    for (const auto& c : cases) {
        CPeaceOffer offer;
        ASSERT_EQ(ReadBody(offer, std::string("value = ") + c.value + " cash = " + c.cash + " }"),
                  FIELD_BLOCK_END)
            << c.value;
        EXPECT_EQ(offer.value, c.held) << c.value;
        EXPECT_EQ(offer.IsAcceptable(), c.acceptable) << c.value;
    }
}

TEST_F(TreatyTest, PeaceOffersFoundBySides) {
    CAlliance a;
    a.type = ALLIANCE_WAR_SIDE;
    a.participants = {1, 2};
    CAlliance b;
    b.type = ALLIANCE_WAR_SIDE;
    b.participants = {3};
    const ObjectId war(4712, 5);
    auto offer = std::make_unique<CPeaceOffer>();
    offer->war = war;
    offer->from = 3;
    offer->to = 1;
    g_peaceOffers.push_back(std::move(offer));
    EXPECT_TRUE(CCountryDiplomacy::HasPeaceOffer(a, b, war));
    EXPECT_FALSE(CCountryDiplomacy::HasPeaceOffer(a, b, ObjectId(4712, 6)));
    g_peaceOffers.back()->separateFrom = 1;
    EXPECT_FALSE(CCountryDiplomacy::HasPeaceOffer(a, b, war));
    EXPECT_TRUE(CCountryDiplomacy::HasSeparatePeaceOffer({3}, a, war));
    g_peaceOffers.back()->separateTo = 1;
    EXPECT_TRUE(CCountryDiplomacy::HasMutualSeparatePeaceOffer({1, 2}, {3}, war));
}

} // namespace
