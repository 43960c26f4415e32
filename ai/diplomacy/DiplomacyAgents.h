#pragma once
// The King's diplomatic standing agents: the diplomacy minister, the
// explorer and one relation agent per country number. Their own work (the
// diplomatic plans, exploration, the weighing of offers) comes with their
// own parts; here they exist, take their place in the King's tree and answer
// offers conservatively: every offer is declined.
#include <cstdint>

#include "ai/AIAgent.h"

class CAIDiplomacyMinister : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Diplomacy Minister"; }
};

class CAIExplorer : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Explorer"; }
};

// The King's agent toward one other country (its own number included).
class CAIRelationAgent : public CAIStandingAgent {
public:
    CAIRelationAgent(CAIKing* king, uint32_t other) : CAIStandingAgent(king), m_other(other) {}
    const char* GetName() const override { return "Relation Agent"; }
    uint32_t GetOther() const { return m_other; }

    // The answers to the other country's offers: true accepts.
    virtual bool AnswerLoanRequest(int32_t amount) {
        (void)amount;
        return false;
    }
    virtual bool AnswerAnnexationOffer() { return false; }
    virtual bool AnswerPeaceOffer(const ObjectId& offer) {
        (void)offer;
        return false;
    }
    virtual bool AnswerMilitaryAllianceOffer() { return false; }
    virtual bool AnswerRoyalMarriageOffer() { return false; }
    virtual bool AnswerVassalizationOffer(const ObjectId& alliance) {
        (void)alliance;
        return false;
    }
    virtual bool AnswerJoinRequest(const ObjectId& alliance) {
        (void)alliance;
        return false;
    }
    virtual bool AnswerCallToArms(const ObjectId& alliance, const ObjectId& war) {
        (void)alliance, (void)war;
        return false;
    }
    virtual bool AnswerWarPact() { return false; }
    virtual bool AnswerShareExploration() { return false; }

private:
    uint32_t m_other;
};
