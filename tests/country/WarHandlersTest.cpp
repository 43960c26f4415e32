// The country's handlers of alliances, wars, battles, province control,
// peace and collapse, driven by messages as the host (or a client) runs
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryRebels.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "engine/Random.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "tests/country/EconomyFixture.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

std::vector<GameNotice> g_notices;

constexpr uint32_t kDiplomacy = 3;
constexpr uint32_t kBattle = 2;
constexpr uint32_t kPeace = 1;

class WarHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
        g_alliances.clear();
        g_wars.clear();
        g_peaceOffers.clear();
        g_netSession = nullptr;
        g_notices.clear();
        g_gameNotices.post = [](const GameNotice& notice) { g_notices.push_back(notice); };
    }
    void TearDown() override {
        FreeTerritories();
        for (int32_t id : m_used)
            GetProvince(id)->ResetForGame();
        g_gameNotices.post = nullptr;
        g_netSession = nullptr;
        g_peaceOffers.clear();
        g_wars.clear();
        g_alliances.clear();
        EconomyTest::TearDown();
    }

    CProvince& Province(int32_t id) {
        m_used.push_back(id);
        return *GetProvince(id);
    }

    CAlliance& Alliance(uint32_t type, std::vector<uint32_t> members, uint32_t number) {
        auto alliance = std::make_unique<CAlliance>();
        alliance->Init();
        alliance->id = ObjectId(4712, number);
        alliance->type = type;
        alliance->participants = std::move(members);
        g_alliances.push_back(std::move(alliance));
        RebuildDiplomaticStatus();
        return *g_alliances.back();
    }

    // A war of the attackers against the defenders, everyone at war with
    // everyone of the other side.
    CWar& War(std::vector<uint32_t> attackers, std::vector<uint32_t> defenders,
              uint32_t number = 900) {
        auto war = std::make_unique<CWar>();
        war->id = ObjectId(4712, number);
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->Init();
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->id = ObjectId(4712, number + 1);
        war->attackers->participants = attackers;
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->Init();
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->id = ObjectId(4712, number + 2);
        war->defenders->participants = defenders;
        for (uint32_t a : attackers)
            for (uint32_t d : defenders) {
                CountryOfNumber(a)->SetAtWarWith(d);
                CountryOfNumber(d)->SetAtWarWith(a);
            }
        g_wars.push_back(std::move(war));
        RebuildDiplomaticStatus();
        return *g_wars.back();
    }

    static int Send(CCountry& country, COVEvent& event) { return country.HandleMessage(event); }

    static COVAllianceEvent AllianceMessage(uint32_t type, uint32_t alliance, uint32_t other) {
        COVAllianceEvent event(type, ObjectId());
        event.Payload().Set(COVAllianceEvent::kFirst, alliance);
        event.Payload().Set(COVAllianceEvent::kSecond, other);
        return event;
    }

    static float Relation(uint32_t a, uint32_t b) {
        return CountryOfNumber(a)->m_diplomacy.GetRelation(b)->GetValue();
    }
    static float Points(uint32_t n, uint32_t category) {
        return CountryOfNumber(n)->m_baseVp.values[category];
    }

    std::vector<int32_t> m_used;
};

// A new alliance lasts by its type, holds its maker and counts while its
// first offer is out, even with a single member.
TEST_F(WarHandlersTest, NewAllianceExpiresByItsType) {
    struct Case {
        uint32_t type;
        int32_t years;
    };
    const Case cases[] = {
        {ALLIANCE_DYNASTIC, 25}, {ALLIANCE_VASSALIZATION, 350}, {ALLIANCE_MILITARY, 10}};
    CCountry& maker = Make(5);
    uint32_t number = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        COVCreateAllianceEvent event(EVT_CREATE_ALLIANCE, maker.GetId(), 4712, ++number, 5,
                                     GetGameDate(), c.type);
        EXPECT_EQ(Send(maker, event), EVENT_CONSUMED);
        const CAlliance& made = *g_alliances.back();
        CDate expected = GetGameDate();
        expected.AddYears(c.years);
        EXPECT_EQ(made.expiryDate, expected);
        EXPECT_EQ(made.id, ObjectId(4712, number));
        EXPECT_EQ(made.participants, std::vector<uint32_t>{5});
        EXPECT_EQ(made.pendingOffers, 1);
        EXPECT_TRUE(made.HasMember(5));

        COVAllianceEvent sub = AllianceMessage(EVT_ALLIANCE_SUB_OFFER, number, 6);
        Send(maker, sub);
        EXPECT_FALSE(made.HasMember(5)) << "an alliance of one without offers counts no more";
    }
}

// A vassalization between two countries of one royal marriage ends the
// marriage; the overlord gains its points and the relation rises.
TEST_F(WarHandlersTest, VassalizationDissolvesTheRoyalMarriage) {
    CCountry& overlord = Make(5);
    Make(6);
    Alliance(ALLIANCE_DYNASTIC, {5, 6}, 300);
    CAlliance& vassalization = Alliance(ALLIANCE_VASSALIZATION, {5}, 301);
    vassalization.pendingOffers = 1;
    const float before = Relation(5, 6);

    COVAllianceEvent join = AllianceMessage(EVT_EXEC_JOIN_ALLIANCE, 301, 6);
    EXPECT_EQ(Send(overlord, join), EVENT_CONSUMED);

    EXPECT_TRUE(vassalization.HasMember(6));
    EXPECT_TRUE(overlord.m_diplomacy.GetDynasticAllianceWith(6).IsNull());
    EXPECT_FLOAT_EQ(Relation(5, 6), before + 50.0f);
    EXPECT_FLOAT_EQ(Relation(6, 5), Relation(5, 6));
    EXPECT_FLOAT_EQ(Points(5, kDiplomacy), 20.0f);
}

// Leaving a military alliance costs the leaver its standing with the one
// it leaves and hands the leadership on.
TEST_F(WarHandlersTest, LeavingAMilitaryAllianceElectsANewLeader) {
    CCountry& leaver = Make(5);
    Make(6);
    Make(7);
    leaver.SetStability(2);
    CAlliance& alliance = Alliance(ALLIANCE_MILITARY, {5, 6, 7}, 310);
    const float before = Relation(5, 6);

    COVAllianceEvent leave = AllianceMessage(EVT_EXEC_LEAVE_ALLIANCE, 310, 6);
    Send(leaver, leave);

    EXPECT_FALSE(alliance.HasMember(5));
    EXPECT_EQ(alliance.participants.size(), 2u);
    EXPECT_NE(alliance.GetLeader(), 5);
    EXPECT_FLOAT_EQ(Relation(5, 6), before - 100.0f);
    EXPECT_DOUBLE_EQ(leaver.GetStability(), 1.0);
    EXPECT_FLOAT_EQ(Points(5, kDiplomacy), -5.0f);
    EXPECT_FALSE(leaver.m_diplomacy.IsAlliedWith(6));
}

// Annexing a country that a third country likes costs the annexer by how
// much, and more where the annexed country bordered the third.
TEST_F(WarHandlersTest, AnnexationCostsTheFriendsOfTheAnnexed) {
    struct Case {
        float liking;
        bool bordered;
        float change;
    };
    const Case cases[] = {{160.0f, false, -100.0f}, {160.0f, true, -140.0f},
                          {120.0f, false, -50.0f},  {60.0f, false, -25.0f},
                          {40.0f, false, 0.0f},     {40.0f, true, -40.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.liking);
        SCOPED_TRACE(c.bordered);
        DeleteAllCountries();
        CCountry& annexer = Make(5);
        CCountry& annexed = Make(6);
        Make(7);
        CountryOfNumber(7)->m_diplomacy.GetRelation(6)->SetValue(c.liking);
        annexed.m_figures.neighbour[7] = c.bordered ? 1 : 0;
        const float before = Relation(5, 7);

        COVAnnexationEvent event(EVT_EXEC_SET_ANNEXATION, annexer.GetId(), 5, 6);
        Send(annexer, event);

        EXPECT_FLOAT_EQ(Relation(5, 7), before + c.change);
        EXPECT_EQ(CountryOfNumber(6), nullptr) << "the annexed country is absorbed";
        EXPECT_FLOAT_EQ(Points(5, kDiplomacy), 20.0f);
    }
}

// However many battles and sieges are won, a war score stays within 0..7.
TEST_F(WarHandlersTest, BattlesAndSiegesKeepTheWarScoreWithinSeven) {
    CCountry& winner = Make(5);
    Make(6);
    CWar& war = War({5}, {6});
    CProvince& land = Province(12);
    for (int i = 0; i < 12; ++i) {
        COVProvinceBattleEvent battle(i % 2 ? EVT_PROVBATTLEWON : EVT_PROVSIEGEWON, winner.GetId(),
                                      {6});
        battle.Payload().Set(COVCountedEvent::kFirstValue, 12u);
        battle.Payload().Set(COVCountedEvent::kSecondValue, 1u);
        Send(winner, battle);
    }
    EXPECT_EQ(war.attackerScore.rows[5][6], 7);
    EXPECT_EQ(war.endDate, GetGameDate());
    EXPECT_GT(Points(5, kBattle), 0.0f);
    (void)land;
}

// A battle message naming a province outside the map, a country number
// outside 0..98 or more losers than it holds is dropped whole.
TEST_F(WarHandlersTest, BadBattleMessagesAreDropped) {
    CCountry& winner = Make(5);
    Make(6);
    CWar& war = War({5}, {6});
    struct Case {
        uint32_t province;
        std::vector<uint32_t> losers;
        uint16_t count;
    };
    const Case cases[] = {{0, {6}, 1}, {1473, {6}, 1}, {12, {6, 99}, 2}, {12, {6}, 40}};
    for (const Case& c : cases) {
        COVProvinceBattleEvent battle(EVT_PROVBATTLEWON, winner.GetId(), c.losers);
        battle.Payload().Set(COVCountedEvent::kFirstValue, c.province);
        battle.Payload().Set(COVCountedEvent::kSecondValue, 1u);
        battle.Payload().Set(COVCountedEvent::kCount, c.count);
        EXPECT_EQ(Send(winner, battle), EVENT_CONSUMED);
    }
    EXPECT_EQ(war.attackerScore.rows[5][6], 0);
    EXPECT_FLOAT_EQ(Points(5, kBattle), 0.0f);
}

// Who controls a province after it is taken: the taker, but its owner
// where an ally not at war with it took it, or where rebels took it from
// an occupier.
TEST_F(WarHandlersTest, ControlReturnsToTheOwnerFromAlliesAndRebels) {
    CCountry& owner = Make(5);
    CCountry& ally = Make(6);
    CCountry& enemy = Make(7);
    CCountry& rebels = Make(kRebelCountry);
    Alliance(ALLIANCE_MILITARY, {5, 6}, 320);
    War({7}, {5});
    CProvince& province = Province(12);
    province.SetOwner(&owner);
    province.SetControllerField(&owner);

    struct Case {
        CCountry* taker;
        CCountry* before;
        CCountry* after;
    };
    const Case cases[] = {
        {&enemy, &owner, &enemy},  // an enemy takes it
        {&rebels, &enemy, &owner}, // rebels take it from the occupier
        {&ally, &owner, &owner},   // an ally not at war hands it back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.taker->GetNumber());
        province.SetControllerField(c.before);
        COVProvinceEvent event(EVT_PROVCHANGECONTROL, c.taker->GetId(), 12);
        EXPECT_EQ(Send(*c.taker, event), EVENT_CONSUMED);
        EXPECT_EQ(province.GetControllerNumber(), static_cast<int32_t>(c.after->GetNumber()));
    }
}

// The player hears of every province taken from it, except by the pirates
// (96): the natives (97) taking one are announced.
TEST_F(WarHandlersTest, ThePlayerHearsOfEveryCaptureButThePirates) {
    CCountry& player = Make(5);
    CProvince& province = Province(12);
    province.SetOwner(&player);
    g_countryController[5] = 1;
    struct Case {
        uint32_t taker;
        size_t notices;
    };
    for (const Case c : {Case{96, 0}, Case{97, 1}}) {
        SCOPED_TRACE(c.taker);
        CCountry& taker = Make(c.taker);
        War({c.taker}, {5}, 900 + 10 * c.taker);
        province.SetControllerField(&player);
        g_notices.clear();
        COVProvinceEvent event(EVT_PROVCHANGECONTROL, taker.GetId(), 12);
        Send(taker, event);
        EXPECT_EQ(province.GetControllerNumber(), static_cast<int32_t>(c.taker));
        EXPECT_EQ(std::count_if(g_notices.begin(), g_notices.end(),
                                [](const GameNotice& n) { return n.type == 106; }),
                  static_cast<long>(c.notices));
    }
    g_countryController[5] = 0;
}

// Declaring war soon after a peace with the same country costs at once.
// A casus belli softens the cost and the mark of aggression.
TEST_F(WarHandlersTest, DeclaringWarDuringThePauseCostsMore) {
    struct Case {
        bool pause;
        bool claim;
        float points;
        int32_t aggression;
    };
    // -5 without a casus belli (-3 with one); -25 more in the pause.
    const Case cases[] = {
        {false, false, -5.0f, 3},
        {true, false, -30.0f, 3},
        {false, true, -3.0f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pause << c.claim);
        const bool pause = c.pause;
        DeleteAllCountries();
        g_wars.clear();
        CCountry& attacker = Make(5);
        Make(6);
        if (pause)
            attacker.EndWarWith(6); // a peace today
        if (c.claim)
            attacker.m_diplomacy.GetRelation(6)->claimHeld = 1;
        const float before = Relation(5, 6);
        COVWarEvent setup(EVT_EXEC_SETUP_WAR, attacker.GetId(),
                          {4712, 900, 4712, 901, 4712, 902, 5, 6});
        Send(attacker, setup);

        ASSERT_EQ(g_wars.size(), 1u);
        EXPECT_TRUE(g_wars[0]->IsAttacker(5));
        EXPECT_TRUE(g_wars[0]->IsDefender(6));
        EXPECT_TRUE(attacker.m_diplomacy.IsAtWarWith(6));
        EXPECT_TRUE(CountryOfNumber(6)->m_diplomacy.IsAtWarWith(5));
        EXPECT_FLOAT_EQ(Relation(5, 6), before - 100.0f);
        EXPECT_FLOAT_EQ(Points(5, kDiplomacy), c.points);
        EXPECT_EQ(attacker.m_aggression, c.aggression);
    }
}

// A war already fought is not set up twice.
TEST_F(WarHandlersTest, SetupAgainstAnEnemyAlreadyFoughtDoesNothing) {
    CCountry& attacker = Make(5);
    Make(6);
    War({5}, {6});
    COVWarEvent setup(EVT_EXEC_SETUP_WAR, attacker.GetId(),
                      {4712, 910, 4712, 911, 4712, 912, 5, 6});
    Send(attacker, setup);
    EXPECT_EQ(g_wars.size(), 1u);
}

// A war split at a peace between one attacker and one defender: the two
// make peace and each goes on in a war of its own against the rest of the
// other side, with the scores it held, kept within 0..7.
TEST_F(WarHandlersTest, SplitWarCarriesTheScoresIntoTwoNewWars) {
    CCountry& receiver = Make(5);
    Make(6);
    Make(7);
    Make(8);
    CWar& war = War({5, 6}, {7, 8});
    war.attackerScore.rows[5][8] = 9;
    war.defenderScore.rows[8][5] = 2;
    war.defenderScore.rows[7][6] = 4;
    const ObjectId warId = war.id;

    COVDataEvent split(EVT_UNNAMED_218, receiver.GetId());
    COVEventData& payload = split.Payload();
    payload.Set(SplitWarPayload::kWar, warId);
    payload.Set(SplitWarPayload::kFirstWar, ObjectId(4712, 930));
    payload.Set(SplitWarPayload::kFirstAttackers, ObjectId(4712, 931));
    payload.Set(SplitWarPayload::kFirstDefenders, ObjectId(4712, 932));
    payload.Set(SplitWarPayload::kSecondWar, ObjectId(4712, 940));
    payload.Set(SplitWarPayload::kSecondAttackers, ObjectId(4712, 941));
    payload.Set(SplitWarPayload::kSecondDefenders, ObjectId(4712, 942));
    payload.Set(SplitWarPayload::kFirstCountry, 7u);
    payload.Set(SplitWarPayload::kSecondCountry, 5u);
    EXPECT_EQ(Send(receiver, split), EVENT_CONSUMED);

    EXPECT_FALSE(receiver.m_diplomacy.IsAtWarWith(7));
    EXPECT_FALSE(CountryOfNumber(7)->m_diplomacy.IsAtWarWith(5));
    ASSERT_EQ(g_wars.size(), 3u);
    const CWar& old = *FindWar(warId);
    EXPECT_EQ(old.attackers->participants, std::vector<uint32_t>{6});
    EXPECT_EQ(old.defenders->participants, std::vector<uint32_t>{8});
    const CWar& first = *FindWar(ObjectId(4712, 930));
    EXPECT_EQ(first.attackers->participants, std::vector<uint32_t>{5});
    EXPECT_EQ(first.defenders->participants, std::vector<uint32_t>{8});
    EXPECT_EQ(first.attackerScore.rows[5][8], 7);
    EXPECT_EQ(first.defenderScore.rows[8][5], 2);
    const CWar& second = *FindWar(ObjectId(4712, 940));
    EXPECT_EQ(second.attackers->participants, std::vector<uint32_t>{7});
    EXPECT_EQ(second.defenders->participants, std::vector<uint32_t>{6});
    EXPECT_EQ(second.attackerScore.rows[7][6], 4);
    EXPECT_EQ(second.defenders->id, ObjectId(4712, 942));
}

// Taking an enemy's capital shares what its owner had discovered.
TEST_F(WarHandlersTest, CapturingACapitalSharesTheDiscoveries) {
    CCountry& taker = Make(5);
    CCountry& owner = Make(7);
    War({5}, {7});
    CProvince& capital = Province(12);
    capital.SetOwner(&owner);
    capital.SetControllerField(&owner);
    owner.m_capital = 12;
    Province(30);
    Province(31);
    DiscoverProvince(7, 30);
    DiscoverProvince(7, 31);
    ASSERT_FALSE(IsProvinceDiscovered(5, 30));

    COVProvinceEvent event(EVT_PROVCHANGECONTROL, taker.GetId(), 12);
    Send(taker, event);

    EXPECT_EQ(capital.GetControllerNumber(), 5);
    EXPECT_TRUE(IsProvinceDiscovered(5, 30));
    EXPECT_TRUE(IsProvinceDiscovered(5, 31));
    EXPECT_FALSE(IsProvinceDiscovered(5, 32));
}

// A call to arms refused: the caller may make war on the refuser for six
// months, and the refuser leaves the alliance and loses stability.
TEST_F(WarHandlersTest, DishonouredCallLeavesTheAlliance) {
    CCountry& refuser = Make(5);
    Make(6);
    Make(7);
    refuser.SetStability(2);
    CAlliance& alliance = Alliance(ALLIANCE_MILITARY, {6, 5, 7}, 330);
    alliance.candidates.push_back(5);
    COVDataEvent call(EVT_EXEC_DISHONOR_ALLIANCE, refuser.GetId());
    call.Payload().Set(HonorAlliancePayload::kCountry, 5u);
    call.Payload().Set(HonorAlliancePayload::kValues[4], 4712u);
    call.Payload().Set(HonorAlliancePayload::kValues[5], 330u);
    call.Payload().Set(HonorAlliancePayload::kValues[7], 6u);
    EXPECT_EQ(Send(refuser, call), EVENT_CONSUMED);

    EXPECT_FALSE(alliance.HasMember(5));
    EXPECT_TRUE(alliance.candidates.empty());
    EXPECT_DOUBLE_EQ(refuser.GetStability(), 1.0);
    EXPECT_EQ(refuser.m_aggression, 2);
}

CPeaceOffer& Offer(uint32_t from, uint32_t to, uint32_t number) {
    auto offer = std::make_unique<CPeaceOffer>();
    offer->id = ObjectId(4712, number);
    offer->war = ObjectId(4712, 900);
    offer->from = from;
    offer->to = to;
    offer->expectedAnswers = 1;
    g_peaceOffers.push_back(std::move(offer));
    return *g_peaceOffers.back();
}

// Cash paid to a winning side of several countries is shared evenly and
// each receiver warms to the side's leader; the whole war ends.
TEST_F(WarHandlersTest, PeaceCashIsSharedByTheWinningSide) {
    CCountry& leader = Make(5);
    CCountry& partner = Make(6);
    CCountry& loser = Make(7);
    War({5, 6}, {7});
    loser.m_treasury = 500.0f;
    CPeaceOffer& offer = Offer(5, 7, 950);
    offer.demanding = 1;
    offer.cash = 200.0f;
    offer.value = 3;
    const float warmth = Relation(6, 5);
    const float leaderTreasury = leader.m_treasury;
    const float partnerTreasury = partner.m_treasury;

    COVPeaceEvent accept(EVT_EXEC_ACCEPT_PEACE, leader.GetId(), 7, offer.id, 7);
    EXPECT_EQ(Send(leader, accept), EVENT_CONSUMED);

    EXPECT_FLOAT_EQ(leader.m_treasury - leaderTreasury, 100.0f);
    EXPECT_FLOAT_EQ(partner.m_treasury - partnerTreasury, 100.0f);
    EXPECT_FLOAT_EQ(loser.m_treasury, 300.0f);
    EXPECT_FLOAT_EQ(Relation(6, 5), warmth + 4.0f);
    EXPECT_TRUE(g_wars.empty());
    EXPECT_TRUE(g_peaceOffers.empty());
    EXPECT_FALSE(loser.m_diplomacy.IsAtWarWith(5));
    EXPECT_FALSE(loser.m_diplomacy.IsAtWarWith(6));
    EXPECT_FLOAT_EQ(Points(5, kPeace), 6.0f);
    EXPECT_FLOAT_EQ(Points(7, kPeace), -6.0f);
}

// The terms as the notice words them: provinces last first, joined by ", "
// and " & " and closed by "."; a peace without terms is the status quo.
TEST_F(WarHandlersTest, PeaceTermsAreWordedForTheNotice) {
    dir.WriteFile("config/text.csv", "PEACETERM_QUO;status quo;;;;;;;;;;\r\n"
                                     "PEACETERM_CASH;%s pays %d. ;;;;;;;;;;\r\n"
                                     "PEACETERM_PROV;%s to %s;;;;;;;;;;\r\n"
                                     "PEACETERM_ANNEX;%s joins %s;;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    struct Case {
        std::vector<uint32_t> provinces;
        float cash;
        uint8_t annex;
        const char* terms;
    };
    const Case cases[] = {
        {{}, 0.0f, 0, "status quo"},
        {{12, 13, 14}, 0.0f, 0, "Cc to Aa, Bb to Aa & Ab to Aa."},
        {{12}, 150.0f, 0, "Dd pays 150. Ab to Aa."},
        {{}, 0.0f, 1, "Dd joins Aa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.terms);
        DeleteAllCountries();
        g_wars.clear();
        g_notices.clear();
        CCountry& winner = Make(5);
        CCountry& loser = Make(7);
        winner.SetName("Aa");
        loser.SetName("Dd");
        War({5}, {7});
        const char* names[] = {"Ab", "Bb", "Cc"};
        for (int32_t i = 0; i < 3; ++i) {
            Province(12 + i).name = names[i];
            Province(12 + i).SetOwner(&loser);
            Province(12 + i).SetControllerField(&loser);
        }
        CPeaceOffer& offer = Offer(5, 7, 960);
        offer.demanding = 1;
        offer.cash = c.cash;
        offer.annexation = c.annex;
        offer.provinceCount = static_cast<uint32_t>(c.provinces.size());
        for (size_t i = 0; i < c.provinces.size(); ++i)
            offer.provinces[i] = c.provinces[i];

        COVPeaceEvent accept(EVT_EXEC_ACCEPT_PEACE, winner.GetId(), 7, offer.id, 7);
        Send(winner, accept);

        // The peace notice (85); the provinces changing hands may also tell
        // of capitals found.
        const auto peace = std::find_if(g_notices.begin(), g_notices.end(),
                                        [](const GameNotice& n) { return n.type == 85; });
        ASSERT_NE(peace, g_notices.end());
        const GameNotice& notice = *peace;
        ASSERT_EQ(notice.values.size(), 4u);
        EXPECT_EQ(notice.values[3].text, c.terms);
        for (uint32_t id : c.provinces)
            EXPECT_EQ(GetProvince(id)->GetOwnerNumber(), 5) << id;
        // Each province handed over marks the gainer as warlike and eases
        // the loser (who is gone once annexed).
        const auto handed = static_cast<int32_t>(c.provinces.size());
        EXPECT_EQ(winner.m_aggression, handed);
        if (!c.annex) {
            EXPECT_EQ(loser.m_aggression, -handed);
        }
    }
}

// A peace binding single countries on both sides ends the war between the
// two alone; the rest of the war goes on.
TEST_F(WarHandlersTest, SeparatePeaceOfTwoLeavesTheWarStanding) {
    CCountry& a = Make(5);
    Make(6);
    CCountry& d = Make(7);
    Make(8);
    War({5, 6}, {7, 8});
    CPeaceOffer& offer = Offer(5, 7, 951);
    offer.separateFrom = 1;
    offer.separateTo = 1;

    COVPeaceEvent accept(EVT_EXEC_ACCEPT_PEACE, a.GetId(), 7, offer.id, 7);
    Send(a, accept);

    EXPECT_FALSE(a.m_diplomacy.IsAtWarWith(7));
    EXPECT_FALSE(d.m_diplomacy.IsAtWarWith(5));
    EXPECT_TRUE(a.m_diplomacy.IsAtWarWith(8));
    EXPECT_TRUE(d.m_diplomacy.IsAtWarWith(6));
    EXPECT_EQ(g_wars.size(), 1u);
}

// An offer is carried out only once every expected answer is an
// acceptance; a refusal among the answers drops it without effect.
TEST_F(WarHandlersTest, PeaceWaitsForEveryAnswer) {
    CCountry& a = Make(5);
    Make(7);
    War({5}, {7});
    CPeaceOffer& offer = Offer(5, 7, 952);
    const ObjectId id = offer.id;
    COVPeaceEvent offered(EVT_OFFER_PEACE, a.GetId(), 7, id, 7);
    Send(a, offered); // two answers expected now

    COVPeaceEvent accept(EVT_EXEC_ACCEPT_PEACE, a.GetId(), 7, id, 7);
    Send(a, accept);
    EXPECT_EQ(g_peaceOffers.size(), 1u);
    EXPECT_TRUE(a.m_diplomacy.IsAtWarWith(7));

    COVPeaceEvent decline(EVT_EXEC_DECLINE_PEACE, a.GetId(), 7, id, 7);
    Send(a, decline);
    EXPECT_TRUE(g_peaceOffers.empty());
    EXPECT_TRUE(a.m_diplomacy.IsAtWarWith(7));
    EXPECT_EQ(g_wars.size(), 1u);
}

// A refused ultimatum costs the offering country; its revolts are rolled
// on the host only: a client draws nothing.
TEST_F(WarHandlersTest, RefusedUltimatumRollsRevoltsOnTheHostOnly) {
    CNetSession client;
    client.m_active = 1;
    for (bool host : {true, false}) {
        SCOPED_TRACE(host);
        DeleteAllCountries();
        g_peaceOffers.clear();
        g_netSession = host ? nullptr : &client;
        CCountry& offering = Make(5);
        CCountry& other = Make(7);
        offering.SetStability(2);
        for (int32_t id : {12, 13, 14}) {
            Province(id).SetOwner(&offering);
            Province(id).SetControllerField(&offering);
            offering.m_controlledProvinces.AddTail(id);
        }
        CPeaceOffer& offer = Offer(5, 7, 953);
        offer.isBetter = 1;
        GameSrand(77);
        const uint32_t state = GameRandState();

        COVPeaceEvent decline(EVT_EXEC_DECLINE_PEACE, other.GetId(), 5, offer.id, 7);
        Send(other, decline);

        EXPECT_DOUBLE_EQ(offering.GetStability(), 1.0);
        EXPECT_FLOAT_EQ(Points(5, kPeace), -25.0f);
        EXPECT_EQ(GameRandState() != state, host);
        EXPECT_TRUE(g_peaceOffers.empty());
    }
    g_netSession = nullptr;
}

// A broken country ends all its wars; a war left without attackers is
// over; its provinces held by rebels come back, those held by an ordinary
// country go over to it.
TEST_F(WarHandlersTest, BrokenCountryEndsItsWarsAndSettlesItsProvinces) {
    CCountry& broken = Make(5);
    Make(6);
    Make(7);
    CCountry& occupier = Make(8);
    CCountry& rebels = Make(kRebelCountry);
    War({5}, {6}, 900);
    War({7}, {5}, 910);
    War({5, 6}, {8}, 920);
    CProvince& held = Province(12);
    held.SetOwner(&broken);
    held.SetControllerField(&rebels);
    broken.m_ownedProvinces.AddTail(12);
    CProvince& taken = Province(13);
    taken.SetOwner(&broken);
    taken.SetControllerField(&occupier);
    broken.m_ownedProvinces.AddTail(13);

    COVSimpleEvent event(EVT_COUNTRY_BROKEN, broken.GetId());
    EXPECT_EQ(Send(broken, event), EVENT_CONSUMED);

    for (uint32_t n : {6u, 7u, 8u})
        EXPECT_FALSE(broken.m_diplomacy.IsAtWarWith(n)) << n;
    ASSERT_EQ(g_wars.size(), 1u) << "only the war with a side left stands";
    EXPECT_EQ(g_wars[0]->id, ObjectId(4712, 920));
    EXPECT_EQ(held.GetControllerNumber(), 5);
    EXPECT_EQ(taken.GetOwnerNumber(), 8);
    EXPECT_DOUBLE_EQ(broken.GetStability(), 3.0);
}

} // namespace
