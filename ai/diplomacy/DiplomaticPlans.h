#pragma once
// The fourteen diplomatic plans. A relation agent makes one toward its
// country, rates it, and the minister keeps it; once the King grants it a
// diplomat (or money, for the gift) the plan checks whether its action is
// allowed and sends it through the country's senders, exactly as a player
// would, or gives up.
#include <cstdint>
#include <memory>

#include "ai/AIPlan.h"
#include "engine/ObjectId.h"

class CPeaceOffer;

// The plan types the diplomatic plans report.
enum : int32_t {
    kPlanDeclareWar = 27,
    kPlanRoyalMarriage = 28,
    kPlanVassalization = 29,
    kPlanCancelVassalization = 31,
    kPlanAnnexation = 32,
    kPlanExchangeDiscoveries = 33,
    kPlanRefuseTrade = 34,
    kPlanAllowTrade = 35,
    kPlanLeaveAlliance = 41,
    kPlanGift = 45,
    kPlanOfferPeace = 46,
    kPlanInviteToAlliance = 47,
    kPlanAskToJoinAlliance = 48,
    kPlanNewAlliance = 49,
};

class CAIPlanDeclareWar : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanDeclareWar; }
    using CAIDiplomaticPlan::Init;
    // Stores the reason and rates the war: priority 10 or -1.
    void Init(float value, uint32_t reason);
    // The rating is made by Init.
    void Evaluate() override {}
    void Start() override;
    // Waits on a roll of the days since the start (out of 150) first.
    void Check() override;
    void OnTimer(uint32_t value) override;
    bool IsReady() override;
    void Send() override;
    void Execute() override;
    void Cancel() override;
    // A plan that ends in any way lets go of the King's war goal.
    void Stop() override;
    const char* GetSendWord() const override { return "declarewar"; }
    uint32_t GetReason() const { return m_reason; }

    // The terms of the rating, kept for the tests.
    int32_t lastScore = 0;
    int32_t lastDivisor = 0;

private:
    uint32_t m_reason = 0;
};

class CAIPlanOfferPeace : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    ~CAIPlanOfferPeace() override;
    int32_t GetPlanType() const override { return kPlanOfferPeace; }
    void SetOffer(CPeaceOffer* offer);
    const CPeaceOffer* GetOffer() const { return m_offer.get(); }
    void Evaluate() override { priority = 100.0f; }
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "OfferPeace"; }

private:
    struct OfferDeleter {
        void operator()(CPeaceOffer* offer) const;
    };
    std::unique_ptr<CPeaceOffer, OfferDeleter> m_offer;
};

class CAIPlanRoyalMarriage : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanRoyalMarriage; }
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "royalmarriage"; }
};

class CAIPlanVassalization : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanVassalization; }
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "vassalization"; }
};

class CAIPlanNewAlliance : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanNewAlliance; }
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "offer-new-alliance"; }
};

class CAIPlanAnnexation : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanAnnexation; }
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "annexation"; }
};

class CAIPlanCancelVassalization : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanCancelVassalization; }
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "cancel-vassalization"; }
};

class CAIPlanLeaveAlliance : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanLeaveAlliance; }
    void SetAlliance(const ObjectId& alliance) { m_alliance = alliance; }
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "leave-alliance"; }

private:
    ObjectId m_alliance;
};

class CAIPlanInviteToAlliance : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanInviteToAlliance; }
    // Takes own military alliance.
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "invite-to-existing-alliance"; }

private:
    ObjectId m_alliance;
};

class CAIPlanAskToJoinAlliance : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanAskToJoinAlliance; }
    // Takes the goal's military alliance.
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "ask-to-join-their-alliance"; }

private:
    ObjectId m_alliance;
};

class CAIPlanAllowTrade : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanAllowTrade; }
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "allowtrade"; }
};

class CAIPlanRefuseTrade : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanRefuseTrade; }
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "refusetrade"; }
};

class CAIPlanExchangeDiscoveries : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanExchangeDiscoveries; }
    void Evaluate() override;
    bool IsReady() override;
    void Send() override;
    const char* GetSendWord() const override { return "exchangediscovereies"; }
};

class CAIPlanGift : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return kPlanGift; }
    void Evaluate() override { priority = 55.0f; }
    // Also asks the King for the amount.
    void Start() override;
    bool IsReady() override;
    void Send() override;
    float GetAmount() const { return m_amount; }

private:
    float m_amount = 0.0f;
};

// The ratings behind the trade and marriage plans, own country toward the
// goal.
float RoyalMarriageRating(const CCountry& own, uint32_t goal);
float RefuseTradeRating(const CCountry& own, uint32_t goal);
float AllowTradeRating(const CCountry& own, uint32_t goal);
// The gift: the goal's yearly tax income, at most a third of own, at least
// 50.
float GiftAmount(const CCountry& own, const CCountry& goal);
