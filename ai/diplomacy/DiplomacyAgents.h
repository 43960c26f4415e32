#pragma once
// The King's diplomatic standing agents: the diplomacy minister, the
// explorer and one relation agent per country number.
//
// A relation agent is the computer player's judgement of one other country:
// it throttles how often the country is approached, rates it as an ally or
// a rival, answers every offer the country makes (each answer a roll against
// a chance computed from the game), and makes the diplomatic plans aimed at
// it, which it hands to the minister. The minister listens to the
// diplomatic notifications, reviews the world on its own timer and keeps at
// most three plans at a time.
#include <cstdint>

#include "ai/AIAgent.h"
#include "ai/diplomacy/Explorer.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"

class CAIDiplomaticPlan;
class CPeaceOffer;
class CWar;

// The console's switch under which the computer player makes no war
// declaration plan.
extern bool g_aiNoWarPlans;

// -7..7 by the ratio of a to b (1 when b is 0).
int32_t PowerRatioStep(float a, float b);

// The King's agent toward one country (its own number included).
class CAIRelationAgent : public CAIStandingAgent {
public:
    CAIRelationAgent(CAIKing* king, uint32_t other);
    const char* GetName() const override { return "Agent"; }
    uint32_t GetOther() const { return m_other; }

    void Start() override;
    void Update();
    // Whether a plan toward the country may be made now.
    bool CanActNow();
    float GetAllianceValue(uint32_t enemy) const;
    float GetRivalry() const;

    // The answers to the country's offers: true accepts.
    virtual bool AnswerLoanRequest(int32_t amount, int32_t interestPercent);
    // The enemy is the leader of the war's side that the caller is not on
    // when 0 is given.
    virtual bool AnswerCallToArms(const ObjectId& alliance, const ObjectId& war,
                                  uint32_t enemy = 0);
    virtual bool AnswerJoinRequest(const ObjectId& alliance);
    virtual bool AnswerAnnexationOffer();
    virtual bool AnswerPeaceOffer(const ObjectId& offer);
    virtual bool AnswerWarPact();
    virtual bool AnswerShareExploration();
    virtual bool AnswerMilitaryAllianceOffer(const ObjectId& alliance);
    virtual bool AnswerRoyalMarriageOffer();
    virtual bool AnswerVassalizationOffer(const ObjectId& alliance);

    // The offer own country sends to the country in the war; null when
    // none is to be made. The caller owns it.
    CPeaceOffer* BuildPeaceOffer(const CWar& war);
    bool IsHeldOccupier(const CPeaceOffer& offer) const;
    bool IsWinningWar(const CWar& war) const;
    bool HasFewRebels() const;
    float RateProvinceForPeace(int32_t province, uint32_t taker, int direction) const;

    // The plan creators: each makes its plan toward the country, rates it
    // and hands it to the minister.
    void PlanDeclareWar(uint32_t reason, float value);
    void PlanOfferPeace();
    void PlanRoyalMarriage();
    void PlanInviteToAlliance();
    void PlanLeaveAlliance();
    void PlanNewAlliance();
    void PlanAskToJoinAlliance();
    void PlanVassalization();
    void PlanAnnexation();
    void PlanCancelVassalization();
    void PlanAllowTrade();
    void PlanRefuseTrade();
    void PlanGift();
    void PlanExchangeDiscoveries();

    // What the minister and the plans keep here.
    uint32_t warReason = 0;
    int32_t bestScoreSeen = 0;
    int32_t bestDemandSeen = 0;
    uint32_t state = 0;
    CDate lastAction;

private:
    CCountry* Other() const;
    // Hands a made plan to the minister (which adopts or deletes it).
    void Adopt(CAIDiplomaticPlan* plan);
    // Makes a plan of the kind about the other country, evaluates it and
    // hands it to the minister.
    template <typename Plan> void EvaluateAndAdopt();
    // The same when the other country exists and the agent may act now.
    template <typename Plan> void PlanWhenFree();

    uint32_t m_other;
};

class CAIDiplomacyMinister : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Diplomacy Minister"; }

    // At most this many plans at a time.
    static constexpr uint32_t kMaxPlans = 3;

    void Start() override;
    void Stop() override;
    void OnTimer(uint32_t value) override;
    // Keeps the plan (and starts it) when its priority is above 0.001 and
    // fewer than three are held; else deletes it.
    void AdoptPlan(CAIDiplomaticPlan* plan);
    void StampLastAction(uint32_t country);
    uint32_t GetPlanCount() const { return children.GetCount(); }

    uint32_t FindRival() const;
    uint32_t FindAllianceCandidate() const;
    void ChooseAllianceAction();
    void ImproveRelation(uint32_t country);
    void PlanHistoricalWars();
    bool CanAttack(uint32_t country) const;
    // The next timer's delay for the aggressiveness.
    static int32_t NextTimerDelay();

    void OnCombatResult(int32_t a, CCombat* combat, int32_t c) override;
    void OnRefuseTrade(int32_t a, int32_t b) override;
    void OnPeace(int32_t a, int32_t b) override;
    void OnWar(int32_t attacker, int32_t defender) override;
    void OnThreatReport(int32_t a, int32_t b, int32_t c, int32_t d) override;
    void OnSettlementChanged(int32_t country, int32_t province) override;
    void OnMerchantPlaced(int32_t country, int32_t province) override;
    void OnReligionChanged(int32_t country) override;
    void OnUnitRaised(int32_t province) override;
    void OnCasusBelli(int32_t holder, int32_t opponent) override;

private:
    CAIRelationAgent* AgentFor(int64_t country) const;
    uint32_t Self() const;
};
