// The computer player's diplomacy: the relation agents' answers and
// ratings, the minister's plans and timer, and what the plans send.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/diplomacy/DiplomaticPlans.h"
#include "country/Alliance.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "tests/ai/AIFixture.h"
#include "world/Province.h"

namespace {

class DiplomacyTest : public AIFixture {
protected:
    void TearDown() override {
        for (int32_t id : m_touched)
            GetProvince(id)->ResetForGame();
        g_peaceOffers.clear();
        g_wars.clear();
        g_alliances.clear();
        AIFixture::TearDown();
    }

    CCountry& MakePlain(uint32_t number) {
        auto made = std::make_unique<CCountry>(number);
        CCountry& country = *made;
        EXPECT_TRUE(AddCountry(std::move(made)));
        return country;
    }

    void Own(int32_t id, CCountry& owner, CCountry* controller = nullptr) {
        m_touched.push_back(id);
        GetProvince(id)->SetOwner(&owner);
        GetProvince(id)->SetController(controller ? controller : &owner);
    }

    static void SetRelation(CCountry& from, uint32_t to, float value) {
        from.m_diplomacy.GetRelation(to)->SetValue(value);
    }

    // Counts how often the answer accepts in the rolls.
    static int Accepts(int rolls, const std::function<bool()>& answer) {
        int accepted = 0;
        for (int i = 0; i < rolls; ++i)
            accepted += answer() ? 1 : 0;
        return accepted;
    }

    CWar& MakeWar(std::vector<uint32_t> attackers, std::vector<uint32_t> defenders) {
        auto war = std::make_unique<CWar>();
        war->id = NewObjectId();
        war->attackers = std::make_unique<CAlliance>();
        war->attackers->type = ALLIANCE_WAR_SIDE;
        war->attackers->participants = std::move(attackers);
        war->defenders = std::make_unique<CAlliance>();
        war->defenders->type = ALLIANCE_WAR_SIDE;
        war->defenders->participants = std::move(defenders);
        war->startDate = GetGameDate();
        war->endDate = GetGameDate();
        g_wars.push_back(std::move(war));
        RebuildDiplomaticStatus();
        return *g_wars.back();
    }

    CAlliance& MakeAlliance(uint32_t type, std::vector<uint32_t> members) {
        auto alliance = std::make_unique<CAlliance>();
        alliance->id = NewObjectId();
        alliance->type = type;
        alliance->participants = std::move(members);
        g_alliances.push_back(std::move(alliance));
        RebuildDiplomaticStatus();
        return *g_alliances.back();
    }

    CPeaceOffer& MakeOffer(const CWar& war, uint32_t from, uint32_t to) {
        auto offer = std::make_unique<CPeaceOffer>();
        offer->id = NewObjectId();
        offer->war = war.id;
        offer->from = from;
        offer->to = to;
        g_peaceOffers.push_back(std::move(offer));
        return *g_peaceOffers.back();
    }

    // The types of the messages queued to run or to go to the other
    // machines.
    static std::vector<uint32_t> SentTypes() {
        std::vector<uint32_t> types;
        g_scheduler.ForEachSend(
            [&types](const COVEvent& event) { types.push_back(event.GetType()); });
        g_scheduler.ForEachEvent([&types](COVEvent* event) { types.push_back(event->GetType()); });
        return types;
    }

    std::vector<int32_t> m_touched;
};

TEST_F(DiplomacyTest, PowerRatioStepsByTheRatio) {
    struct Case {
        float a, b;
        int32_t step;
    };
    for (const Case& c :
         {Case{1, 0, 1}, Case{4, 1, 7}, Case{3, 1, 6}, Case{2, 1, 5}, Case{1.7f, 1, 4},
          Case{1.5f, 1, 3}, Case{1.25f, 1, 2}, Case{1, 1, 1}, Case{0.8f, 1, 0}, Case{0.66f, 1, -1},
          Case{0.58f, 1, -2}, Case{0.5f, 1, -3}, Case{0.33f, 1, -4}, Case{0.25f, 1, -5},
          Case{0.2f, 1, -6}, Case{0.1f, 1, -7}})
        EXPECT_EQ(PowerRatioStep(c.a, c.b), c.step) << c.a << " / " << c.b;
}

TEST_F(DiplomacyTest, LoansAtNoInterestAreGrantedAndDearOnesRefused) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIRelationAgent agent(own.GetKing(), 31);
    own.m_monthlyTaxIncome = 100.0f;
    EXPECT_EQ(Accepts(50, [&] { return agent.AnswerLoanRequest(100000, 0); }), 50);
    // 10 % of 100 a year is above 5 % of a month's 100.
    EXPECT_EQ(Accepts(50, [&] { return agent.AnswerLoanRequest(100, 10); }), 0);
    // A country that no longer exists gets nothing.
    CAIRelationAgent gone(own.GetKing(), 40);
    EXPECT_FALSE(gone.AnswerLoanRequest(10, 0));
}

TEST_F(DiplomacyTest, AFriendOf180IsHonouredWhenTheEnemyCapitalIsKnown) {
    CAICountry& own = MakeCountry(30);
    CCountry& caller = MakePlain(31);
    CCountry& enemy = MakePlain(32);
    Own(200, enemy);
    enemy.RecomputeCapital();
    ASSERT_EQ(enemy.GetCapitalId(), 200);
    SetRelation(caller, 30, 180.0f);
    const CWar& war = MakeWar({32}, {31});
    const CAlliance& alliance = MakeAlliance(ALLIANCE_MILITARY, {31, 30});
    CAIRelationAgent agent(own.GetKing(), 31);
    // Unknown capital: refused.
    EXPECT_FALSE(agent.AnswerCallToArms(alliance.id, war.id, 32));
    GetProvince(200)->discoveredBy[30] = 1;
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerCallToArms(alliance.id, war.id, 32); }), 30);
    // The enemy is found from the war when not given.
    EXPECT_TRUE(agent.AnswerCallToArms(alliance.id, war.id));
    // Ids that no longer resolve refuse, without a crash.
    SetRelation(caller, 30, 0.0f);
    EXPECT_FALSE(agent.AnswerCallToArms(ObjectId(4712, 999), war.id, 32));
    EXPECT_FALSE(agent.AnswerCallToArms(alliance.id, ObjectId(4712, 998), 32));
}

TEST_F(DiplomacyTest, ACallToArmsAgainstASideWithoutStrengthIsWeighedAsEven) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CCountry& enemy = MakePlain(32);
    Own(200, enemy);
    enemy.RecomputeCapital();
    GetProvince(200)->discoveredBy[30] = 1;
    enemy.m_figures.neighbour[30] = 1;
    own.m_figures.neighbour[32] = 1;
    enemy.m_strengthRatings.fill(0.0f);
    own.SetStability(0);
    SetRelation(*CountryOfNumber(31), 30, 0.0f);
    const CWar& war = MakeWar({32}, {31});
    const CAlliance& alliance = MakeAlliance(ALLIANCE_MILITARY, {31, 30});
    CAIRelationAgent agent(own.GetKing(), 31);
    // Relation 0, stability 0: (0 x 0.25 + 1) x 1 x 80.
    const int accepted =
        Accepts(200, [&] { return agent.AnswerCallToArms(alliance.id, war.id, 32); });
    EXPECT_GT(accepted, 130);
    EXPECT_LT(accepted, 190);
}

TEST_F(DiplomacyTest, RollsOfChancesOutOfRangeNeitherCrashNorPassWhenNotANumber) {
    EXPECT_TRUE(RollChance(1.0e300));
    EXPECT_FALSE(RollChance(-1.0e300));
    EXPECT_FALSE(RollChance(std::nan("")));
    EXPECT_FALSE(RollChance(0.0));
    EXPECT_TRUE(RollChance(100.0));
}

TEST_F(DiplomacyTest, SharedExplorationIsWorthWhatTheOtherKnowsAndWeDoNot) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    CAIRelationAgent agent(own.GetKing(), 31);
    own.m_explorerCount = 0;
    SetRelation(own, 31, 10.0f);
    for (int32_t id : {600, 601, 602}) {
        m_touched.push_back(id);
        GetProvince(id)->discoveredBy[30] = 1;
    }
    // They know nothing we do not: refused.
    EXPECT_EQ(Accepts(20, [&] { return agent.AnswerShareExploration(); }), 0);
    for (int32_t id : {610, 611, 612}) {
        m_touched.push_back(id);
        GetProvince(id)->discoveredBy[31] = 1;
    }
    // Half of what is new on either side is theirs: about one in two.
    const int half = Accepts(400, [&] { return agent.AnswerShareExploration(); });
    EXPECT_GT(half, 150);
    EXPECT_LT(half, 250);
    // Each explorer of ours makes it a tenth less worth.
    own.m_explorerCount = 5;
    EXPECT_EQ(Accepts(50, [&] { return agent.AnswerShareExploration(); }), 0);
    // A country we dislike is refused.
    own.m_explorerCount = 0;
    SetRelation(own, 31, -1.0f);
    EXPECT_EQ(Accepts(20, [&] { return agent.AnswerShareExploration(); }), 0);
    (void)other;
}

TEST_F(DiplomacyTest, AComputerCountryAnswersALoanOfferThroughItsAgent) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    own.GetKing()->Start();
    g_scheduler.Clear();
    CLoanEvent offer(EVT_OFFERLOAN, own.GetId(), ObjectId(kCountryObjectType, 31), 500, 0,
                     GetGameDate(), 30);
    own.HandleMessage(offer);
    const std::vector<uint32_t> sent = SentTypes();
    EXPECT_NE(std::find(sent.begin(), sent.end(), EVT_REQ_GETLOAN), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), EVT_ACCEPTLOANMSG), sent.end());
}

// The invitation and the request to join name the alliance by its number
// and the asking country beside it, as the countries' layer writes them.
TEST_F(DiplomacyTest, AComputerCountryAnswersForTheAllianceTheMessageNames) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    own.GetKing()->Start();
    SetRelation(own, 31, 200.0f);
    SetRelation(other, 30, 200.0f);
    const CAlliance& theirs = MakeAlliance(ALLIANCE_MILITARY, {31});
    const CAlliance& ours = MakeAlliance(ALLIANCE_MILITARY, {30});
    struct Case {
        uint32_t type;
        const CAlliance* alliance;
        uint32_t yes;
    };
    for (const Case& c : {Case{EVT_EXEC_INVITE_ALLIANCE, &theirs, EVT_REQ_JOIN_ALLIANCE},
                          Case{EVT_EXEC_ASKJOIN_ALLIANCE, &ours, EVT_REQ_JOIN_ALLIANCE}}) {
        int accepted = 0;
        for (int i = 0; i < 20; ++i) {
            g_scheduler.Clear();
            COVAllianceEvent message(c.type, own.GetId());
            message.Payload().Set(COVAllianceEvent::kCountry, 31);
            message.Payload().Set(COVAllianceEvent::kFirst, c.alliance->id.number);
            message.Payload().Set(COVAllianceEvent::kSecond, 31);
            message.Payload().Set(COVAllianceEvent::kExtraCountry, 31);
            own.HandleMessage(message);
            g_scheduler.ForEachSend([&](const COVEvent& sent) {
                if (sent.GetType() != c.yes)
                    return;
                ++accepted;
                EXPECT_EQ(sent.Payload().Get(COVAllianceEvent::kFirst), c.alliance->id.number);
                EXPECT_EQ(sent.Payload().Get(COVAllianceEvent::kSecond), 31u);
            });
        }
        EXPECT_GT(accepted, 0) << c.type;
    }
}

TEST_F(DiplomacyTest, AtWarTheMinistersTimerPlansNoMarriageAllianceGiftOrTrade) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    CCountry& enemy = MakePlain(31);
    CCountry& friendly = MakePlain(32);
    for (CCountry* country : {static_cast<CCountry*>(&own), &enemy, &friendly}) {
        const int32_t id = 700 + static_cast<int32_t>(country->GetNumber());
        Own(id, *country);
        country->RecomputeCapital();
        for (uint32_t n : {30u, 31u, 32u})
            GetProvince(id)->discoveredBy[n] = 1;
        country->m_diplomats = 5.0f;
        country->m_monthlyTaxIncome = 50.0f;
    }
    own.m_figures.neighbour[32] = 1;
    friendly.m_figures.neighbour[30] = 1;
    SetRelation(own, 32, 190.0f);
    own.m_diplomacy.GetRelation(32)->refuseTrade = 1;
    MakeWar({31}, {30});
    own.SetAtWarWith(31);
    enemy.SetAtWarWith(30);
    ASSERT_TRUE(own.IsAtWar());
    CAIKing& king = *own.GetKing();
    king.Start();
    CAIDiplomacyMinister& minister = *king.GetDiplomacyMinister();
    g_scheduler.Clear();
    for (int i = 0; i < 40; ++i) {
        g_gameTimer->currentDate.AddMonths(1);
        minister.OnTimer(0);
        const_cast<CLinkedList<CAIAgent>&>(minister.GetChildren()).ForEach([](CAIAgent* child) {
            const int32_t type = child->AsPlan() ? child->AsPlan()->GetPlanType() : -1;
            EXPECT_TRUE(type == kPlanOfferPeace || type == kPlanDeclareWar) << type;
        });
    }
    for (uint32_t type : SentTypes()) {
        EXPECT_NE(type, EVT_CREATE_ALLIANCE);
        EXPECT_NE(type, EVT_SENDGIFT);
        EXPECT_NE(type, EVT_REQ_UNREFUSETRADE);
        EXPECT_NE(type, EVT_REQ_REFUSETRADE);
    }
}

TEST_F(DiplomacyTest, HostileRelationsRefuseAlliancesMarriagesAndAnnexations) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    const CAlliance& alliance = MakeAlliance(ALLIANCE_MILITARY, {31});
    CAIRelationAgent agent(own.GetKing(), 31);
    SetRelation(own, 31, -101.0f);
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerMilitaryAllianceOffer(alliance.id); }), 0);
    SetRelation(own, 31, -151.0f);
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerRoyalMarriageOffer(); }), 0);
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerAnnexationOffer(); }), 0);
    // A missing alliance is a refusal.
    SetRelation(own, 31, 200.0f);
    EXPECT_FALSE(agent.AnswerMilitaryAllianceOffer(ObjectId(4712, 999)));
}

TEST_F(DiplomacyTest, PeaceAnswersTheirFixedCases) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    MakePlain(32);
    Own(300, own);
    Own(301, other);
    CWar& war = MakeWar({32, 31}, {33, 30});
    CAIRelationAgent agent(own.GetKing(), 31);

    // Nothing moved, own country leads neither side (33 leads), nothing
    // occupied: refused while the war is younger than 120 months.
    CPeaceOffer& nothing = MakeOffer(war, 31, 30);
    nothing.separateTo = 1;
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerPeaceOffer(nothing.id); }), 0);

    // A demand worth 0 or less is always refused.
    CPeaceOffer& demand = MakeOffer(war, 31, 30);
    demand.demanding = 1;
    demand.value = 0;
    demand.provinceCount = 1;
    demand.provinces[0] = 300;
    EXPECT_EQ(Accepts(30, [&] { return agent.AnswerPeaceOffer(demand.id); }), 0);

    // An offer that no longer exists is refused.
    EXPECT_FALSE(agent.AnswerPeaceOffer(ObjectId(4712, 999)));
}

TEST_F(DiplomacyTest, AnAnnexationDemandOnACountryLeftWithNothingIsAlmostAlwaysTaken) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    Own(300, own, &other);
    Own(301, other);
    CWar& war = MakeWar({31}, {30});
    CAIRelationAgent agent(own.GetKing(), 31);
    CPeaceOffer& demand = MakeOffer(war, 31, 30);
    demand.demanding = 1;
    demand.annexation = 1;
    demand.value = 5;
    EXPECT_GE(Accepts(100, [&] { return agent.AnswerPeaceOffer(demand.id); }), 95);
}

TEST_F(DiplomacyTest, ABuiltOfferMovesAtMostThreeProvincesTheTakerHoldsAndNeverTheCapital) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    // Own country holds four of the other's provinces and its capital.
    for (int32_t id : {400, 401, 402, 403, 404})
        Own(id, other, &own);
    Own(405, other);
    Own(406, own);
    other.RecomputeCapital();
    const int32_t capital = other.GetCapitalId();
    CWar& war = MakeWar({30}, {31});
    war.attackerScore.rows[30][31] = 100;
    CAIRelationAgent agent(own.GetKing(), 31);
    agent.bestScoreSeen = 10; // asks for as many as it can
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<CPeaceOffer> offer(agent.BuildPeaceOffer(war));
        ASSERT_NE(offer, nullptr);
        EXPECT_EQ(offer->from, 30u);
        EXPECT_EQ(offer->to, 31u);
        if (offer->annexation || offer->religion) {
            EXPECT_EQ(offer->provinceCount, 0u);
            continue;
        }
        EXPECT_LE(offer->provinceCount, 3u);
        for (uint32_t k = 0; k < offer->provinceCount; ++k) {
            EXPECT_NE(static_cast<int32_t>(offer->provinces[k]), capital);
            EXPECT_NE(offer->provinces[k], 405u); // not held by own country
            EXPECT_EQ(offer->newOwners[k], offer->demanding ? 30u : 31u);
        }
    }
}

TEST_F(DiplomacyTest, AfterAnActionAtPeaceTheCountryWaitsAYearAndIsFreeAfterTwo) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIRelationAgent agent(own.GetKing(), 31);
    agent.lastAction = GetGameDate();
    EXPECT_EQ(Accepts(20, [&] { return agent.CanActNow(); }), 0);
    g_gameTimer->currentDate.AddMonths(11);
    EXPECT_EQ(Accepts(20, [&] { return agent.CanActNow(); }), 0);
    g_gameTimer->currentDate.AddMonths(13);
    EXPECT_EQ(Accepts(20, [&] { return agent.CanActNow(); }), 20);
}

TEST_F(DiplomacyTest, TheMinisterKeepsAtMostThreePlans) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    CAIDiplomacyMinister& minister = *king.GetDiplomacyMinister();
    const uint32_t before = minister.GetPlanCount();
    ASSERT_EQ(before, 0u);
    std::vector<CAIDiplomaticPlan*> made;
    for (int i = 0; i < 4; ++i) {
        auto* plan = new CAIPlanNewAlliance(&king);
        plan->SetGoal(&minister, 31);
        plan->Evaluate();
        made.push_back(plan);
        minister.AdoptPlan(plan);
    }
    EXPECT_EQ(minister.GetPlanCount(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(minister.GetChildren().Contains(made[static_cast<size_t>(i)]));
    // A plan of too low a priority is never kept either.
    auto* weak = new CAIPlanRefuseTrade(&king);
    weak->SetGoal(&minister, 31);
    weak->SetPriority(0.001f);
    minister.AdoptPlan(weak);
    EXPECT_EQ(minister.GetPlanCount(), 3u);
}

TEST_F(DiplomacyTest, TheMinistersTimerFollowsTheAggressiveness) {
    struct Case {
        uint32_t aggressiveness;
        int32_t low, high;
    };
    // k = 6 - aggressiveness: (2..4) x 5k + 0..12k - 1; a stored 6 or more
    // counts as 5.
    for (const Case& c : {Case{5, 10, 31}, Case{0, 60, 191}, Case{9, 10, 31}}) {
        g_config->SetWord(ConfigOffset::kAggressiveness, c.aggressiveness);
        int32_t low = 1000;
        int32_t high = 0;
        for (int i = 0; i < 400; ++i) {
            const int32_t delay = CAIDiplomacyMinister::NextTimerDelay();
            low = std::min(low, delay);
            high = std::max(high, delay);
        }
        EXPECT_GE(low, c.low) << c.aggressiveness;
        EXPECT_LE(high, c.high) << c.aggressiveness;
        EXPECT_LT(low, c.low + 5) << c.aggressiveness;
        EXPECT_GT(high, c.high - 10) << c.aggressiveness;
    }
}

TEST_F(DiplomacyTest, AWarPlanNeverSendsOnItsFirstDayAndAlwaysPassesItsRollAfter150) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    auto* plan = new CAIPlanDeclareWar(&king);
    plan->SetGoal(king.GetDiplomacyMinister(), 31);
    plan->SetPriority(10.0f);
    king.GetDiplomacyMinister()->AddChild(plan);
    plan->Start();
    EXPECT_EQ(king.GetWarGoal(), 31u);
    const uint32_t queued = g_scheduler.GetCount();
    for (int i = 0; i < 20; ++i)
        plan->Check();
    // Each check waited and posted its own timer.
    EXPECT_EQ(g_scheduler.GetCount(), queued + 20);
    EXPECT_TRUE(plan->IsActive());
    // From day 150 on the roll passes: the plan is carried out or cancelled
    // (here cancelled: no diplomat may go), and the war goal is cleared.
    g_gameTimer->currentDate.AddDays(150);
    plan->Check();
    EXPECT_FALSE(plan->IsActive());
    EXPECT_EQ(king.GetWarGoal(), 0u);
}

TEST_F(DiplomacyTest, AWarPlanEndedByItsMinisterLetsGoOfTheWarGoal) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    CAIDiplomacyMinister& minister = *king.GetDiplomacyMinister();
    auto* plan = new CAIPlanDeclareWar(&king);
    plan->SetGoal(&minister, 31);
    plan->SetPriority(10.0f);
    minister.AdoptPlan(plan);
    ASSERT_EQ(king.GetWarGoal(), 31u);
    minister.Stop();
    EXPECT_EQ(king.GetWarGoal(), 0u);
}

TEST_F(DiplomacyTest, AWarRatingWithGreatEagernessUsesTheSmallestDivisor) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    other.m_badBoy = 0;
    CAIKing& king = *own.GetKing();
    struct Case {
        float value;
        uint32_t war;
        int32_t divisor;
    };
    // B = max(10, 200 - value); D = max(80, 3 x (2B - war preference)).
    for (const Case& c :
         {Case{400, 0, 80}, Case{400, 100, 80}, Case{0, 0, 1200}, Case{150, 20, 240}}) {
        own.m_aiPrefs.war = c.war;
        CAIPlanDeclareWar plan(&king);
        plan.SetGoal(static_cast<CAIAgent*>(nullptr), 31);
        plan.Init(c.value, 4);
        EXPECT_EQ(plan.lastDivisor, c.divisor) << c.value << " " << c.war;
        EXPECT_EQ(plan.GetReason(), 4u);
        EXPECT_TRUE(plan.GetPriority() == 10.0f || plan.GetPriority() == -1.0f);
    }
    // Without motive, value or outlaw, the score is 0.
    own.m_aiPrefs.war = 0;
    CAIPlanDeclareWar plan(&king);
    plan.SetGoal(static_cast<CAIAgent*>(nullptr), 31);
    other.m_rankPlace = 2;
    own.m_rankPlace = 1;
    plan.Init(0.0f, 4);
    EXPECT_EQ(plan.lastScore, 0);
}

TEST_F(DiplomacyTest, AGiftIsAThirdOfOwnIncomeAtMostAndNeverBelow50) {
    CCountry& own = MakePlain(30);
    CCountry& rich = MakePlain(31);
    struct Case {
        float ownMonthly, goalMonthly, amount;
    };
    for (const Case& c :
         {Case{30, 100, 120}, Case{1, 100, 50}, Case{100, 5, 60}, Case{100, 1, 50}}) {
        own.m_monthlyTaxIncome = c.ownMonthly;
        rich.m_monthlyTaxIncome = c.goalMonthly;
        EXPECT_FLOAT_EQ(GiftAmount(own, rich), c.amount) << c.ownMonthly << " " << c.goalMonthly;
    }
}

TEST_F(DiplomacyTest, APlanWithTooManyDiplomatsAndItsRequestClosedIsCancelled) {
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    auto* plan = new CAIPlanRefuseTrade(&king);
    plan->SetGoal(king.GetDiplomacyMinister(), 31);
    plan->SetPriority(5.0f);
    king.GetDiplomacyMinister()->AddChild(plan);
    plan->CAIPlan::Start(); // no request filed
    plan->AddDiplomats(1.2f);
    EXPECT_TRUE(plan->HasFailed());
}

TEST_F(DiplomacyTest, AReadyPlanSendsItsRequestAndStampsTheAgent) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    Own(500, other);
    other.RecomputeCapital();
    GetProvince(500)->discoveredBy[30] = 1;
    CAIKing& king = *own.GetKing();
    king.Start();
    own.m_diplomats = 1.0f;
    auto* plan = new CAIPlanExchangeDiscoveries(&king);
    plan->SetGoal(king.GetDiplomacyMinister(), 31);
    plan->SetPriority(5.0f);
    king.GetDiplomacyMinister()->AddChild(plan);
    plan->CAIPlan::Start();
    g_scheduler.Clear();
    king.GetRelationAgent(31)->lastAction = CDate();
    g_gameTimer->currentDate.AddDays(3);
    plan->AddDiplomats(1.0f);
    ASSERT_TRUE(plan->HasSucceeded());
    const std::vector<uint32_t> sent = SentTypes();
    EXPECT_NE(std::find(sent.begin(), sent.end(), EVT_ASK_SHARE_EXPLORATION), sent.end());
    EXPECT_EQ(king.GetRelationAgent(31)->lastAction, GetGameDate());
    EXPECT_FLOAT_EQ(plan->GetDiplomats(), 0.0f);
}

TEST_F(DiplomacyTest, EachPlanSendsTheCountrysOwnRequest) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    struct Case {
        std::function<CAIDiplomaticPlan*()> make;
        uint32_t type;
    };
    const Case cases[] = {
        {[&] { return new CAIPlanDeclareWar(&king); }, EVT_REQ_SETUP_WAR},
        {[&] { return new CAIPlanRoyalMarriage(&king); }, EVT_CREATE_ALLIANCE},
        {[&] { return new CAIPlanVassalization(&king); }, EVT_CREATE_ALLIANCE},
        {[&] { return new CAIPlanNewAlliance(&king); }, EVT_CREATE_ALLIANCE},
        {[&] { return new CAIPlanAnnexation(&king); }, EVT_REQ_OFFER_ANNEXATION},
        {[&] { return new CAIPlanRefuseTrade(&king); }, EVT_REQ_REFUSETRADE},
        {[&] { return new CAIPlanAllowTrade(&king); }, EVT_REQ_UNREFUSETRADE},
        {[&] { return new CAIPlanExchangeDiscoveries(&king); }, EVT_ASK_SHARE_EXPLORATION},
        {[&] { return new CAIPlanGift(&king); }, EVT_SENDGIFT},
    };
    for (const Case& c : cases) {
        g_scheduler.Clear();
        std::unique_ptr<CAIDiplomaticPlan> plan(c.make());
        plan->SetGoal(static_cast<CAIAgent*>(nullptr), 31);
        plan->Send();
        const std::vector<uint32_t> sent = SentTypes();
        EXPECT_NE(std::find(sent.begin(), sent.end(), c.type), sent.end())
            << plan->GetName() << " " << c.type;
    }
}

TEST_F(DiplomacyTest, APeaceOfferIsSentWithItsTermsInPlace) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    auto offer = std::make_unique<CPeaceOffer>();
    offer->war = ObjectId(4712, 77);
    offer->from = 30;
    offer->to = 31;
    offer->value = -3;
    offer->provinceCount = 2;
    offer->provinces = {640, 641, 0};
    offer->newOwners = {31, 31, 0};
    offer->cash = 250.0f;
    offer->separateTo = 1;
    offer->isBetter = 1;
    CAIPlanOfferPeace plan(&king);
    plan.SetGoal(static_cast<CAIAgent*>(nullptr), 31);
    plan.SetOffer(offer.release());
    g_scheduler.Clear();
    plan.Send();
    const COVEvent* request = nullptr;
    g_scheduler.ForEachSend([&request](const COVEvent& event) {
        if (event.GetType() == EVT_REQ_CREATE_PEACE_OFFER)
            request = &event;
    });
    ASSERT_NE(request, nullptr);
    auto term = [request](size_t index) {
        return request->Payload().Get(COVPeaceOfferEvent::kTerms[index]);
    };
    EXPECT_EQ(request->Payload().Get(COVPeaceEvent::kOther), 31u);
    EXPECT_EQ(request->Payload().Get(COVPeaceEvent::kCountry), 30u);
    EXPECT_EQ(term(PeaceOfferTerms::kWarType), 4712u);
    EXPECT_EQ(term(PeaceOfferTerms::kWarNumber), 77u);
    EXPECT_EQ(term(PeaceOfferTerms::kTo), 31u);
    EXPECT_EQ(term(PeaceOfferTerms::kDemanding), 0u);
    EXPECT_EQ(term(PeaceOfferTerms::kProvinceCount), 2u);
    EXPECT_EQ(term(PeaceOfferTerms::kProvinces), 640u);
    EXPECT_EQ(term(PeaceOfferTerms::kProvinces + 1), 641u);
    EXPECT_EQ(term(PeaceOfferTerms::kNewOwners), 31u);
    EXPECT_EQ(std::bit_cast<float>(term(PeaceOfferTerms::kCash)), 250.0f);
    EXPECT_EQ(static_cast<int32_t>(term(PeaceOfferTerms::kValue)), -3);
    EXPECT_EQ(term(PeaceOfferTerms::kFlags), 0x00010100u);
    EXPECT_EQ(term(PeaceOfferTerms::kReligion), 0u);
}

TEST_F(DiplomacyTest, ImprovingARelationSendsItsExecutionMessageOnlyBelowTheMatrix) {
    ClientScope client;
    CAICountry& own = MakeCountry(30);
    MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    CAIDiplomacyMinister& minister = *king.GetDiplomacyMinister();
    g_scheduler.Clear();
    SetRelation(own, 31, StartingRelationValue(30, 31));
    minister.ImproveRelation(31);
    EXPECT_EQ(g_scheduler.GetSendCount(), 0u);
    SetRelation(own, 31, StartingRelationValue(30, 31) - 50.0f);
    minister.ImproveRelation(31);
    minister.ImproveRelation(30); // never toward itself
    ASSERT_EQ(g_scheduler.GetSendCount(), 1u);
    g_scheduler.ForEachSend([](const COVEvent& event) {
        EXPECT_EQ(event.GetType(), EVT_EXEC_RELATION);
        EXPECT_EQ(event.GetReceiver(), ObjectId(kCountryObjectType, 30));
        const float amount = event.Payload().Get(ExecRelationPayload::kChange);
        EXPECT_GE(amount, 10.0f);
        EXPECT_LT(amount, 30.0f);
        EXPECT_EQ(event.Payload().Get(ExecRelationPayload::kKind), 25u);
        EXPECT_EQ(event.Payload().Get(ExecRelationPayload::kCountry), 30u);
        EXPECT_EQ(event.Payload().Get(ExecRelationPayload::kOther), 31u);
    });
}

TEST_F(DiplomacyTest, ACasusBelliLeadsToWarPlansOrToAMarriageAndAllianceAction) {
    CAICountry& own = MakeCountry(30);
    CCountry& other = MakePlain(31);
    CAIKing& king = *own.GetKing();
    king.Start();
    CAIDiplomacyMinister& minister = *king.GetDiplomacyMinister();
    // Our casus belli against 31: a war plan is looked at (the border and
    // colonial base rules may keep it from being made, never a crash).
    other.m_figures.neighbour[30] = 1;
    own.m_figures.neighbour[31] = 1;
    minister.OnCasusBelli(30, 31);
    EXPECT_LE(minister.GetPlanCount(), 1u);
    if (minister.GetPlanCount() == 1u) {
        const CAIAgent* held = nullptr;
        const_cast<CLinkedList<CAIAgent>&>(minister.GetChildren()).ForEach([&held](CAIAgent* a) {
            held = a;
        });
        EXPECT_EQ(const_cast<CAIAgent*>(held)->AsPlan()->GetPlanType(), kPlanDeclareWar);
    }
}

} // namespace
