#pragma once
// The computer player's trade and settlement plans. The merchant agent, a
// standing agent of the King, now and then picks a centre of trade by a
// weighted draw and starts a plan that sends one merchant there. The
// colonist and trader plans (made by the explorer) send one colonist or
// one trader to a province. Each plan asks its King for the money and the
// people, sends the country's own request once it holds both in full (and
// the current price), and ends.
#include <cstdint>
#include <vector>

#include "ai/AIPlan.h"

// One candidate of a weighted draw: the province and its whole weight.
struct AIWeightedProvince {
    int32_t province = 0;
    int32_t weight = 0;
};

// The entry a draw r (0 <= r < the weights' total) lands on: r less each
// weight in turn until it falls below 0. -1 when it never does.
int32_t DrawWeightedIndex(const std::vector<AIWeightedProvince>& entries, int32_t draw);

class CAIMerchantAgent : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Agent"; }

    void Start() override;
    void OnTimer(uint32_t value) override;
    // A merchant plan sent its merchant, or gave up.
    void OnMerchantPlanFinished(int32_t province);
    void OnMerchantPlanCancelled(int32_t province);

    // With a roll within the "traders" preference, draws a centre of trade
    // by the ratings and starts one merchant plan for it.
    void ConsiderMerchantPlan();
    // The candidates with their weights, in the calculator's order (the
    // capital's own centre last with weight 1).
    std::vector<AIWeightedProvince> MerchantCandidates() const;
    // How much a merchant in the centre seated in the province is worth to
    // the country; -1 when it may not place one there.
    float RateCentreOfTrade(int32_t province) const;
};

// The common part of the three plans: money and people held and wanted,
// and the province.
class CAISettlementPlanBase : public CAIPlan {
public:
    using CAIPlan::CAIPlan;

    // Init under the parent (sharing its root when it is a plan), then the
    // province.
    void SetUp(CAIAgent* parent, int32_t province);
    int32_t GetProvinceId() const { return m_province; }
    float GetMoney() const override { return m_money; }
    void AddMoney(float amount) override;
    void TakeMoney(float amount) override { m_money -= amount; }
    float GetMoneyWanted() const { return m_moneyWanted; }
    float GetPeopleHeld() const { return m_people; }
    float GetPeopleWanted() const { return m_peopleWanted; }

    virtual void Check() = 0;
    virtual void Finish();

protected:
    // The price now asked for the plan's province.
    virtual float CurrentCost() const = 0;
    // Held in full: trunc(price + 1) is asked for when more than wanted
    // (true: the plan waits for it).
    bool AskForPriceRise();
    const char* ProvinceName() const;

    float m_money = 0.0f;
    float m_moneyWanted = 0.0f;
    float m_people = 0.0f;
    float m_peopleWanted = 0.0f;
    int32_t m_province = 0;
};

class CAISendMerchantPlan : public CAISettlementPlanBase {
public:
    using CAISettlementPlanBase::CAISettlementPlanBase;
    int32_t GetPlanType() const override { return AIPLAN_SEND_MERCHANT; }

    void Start() override;
    float GetMerchants() const override { return m_people; }
    void AddMerchants(float amount) override;
    void TakeMerchants(float amount) override { m_people -= amount; }
    void Check() override;
    void Finish() override;
    void Cancel() override;

protected:
    float CurrentCost() const override;
};

// The colonist plan and, with the trader's price, checks and send, the
// trader plan.
class CAISendColonistPlan : public CAISettlementPlanBase {
public:
    using CAISettlementPlanBase::CAISettlementPlanBase;
    int32_t GetPlanType() const override { return AIPLAN_SEND_COLONIST; }

    void Start() override;
    void Stop() override;
    float GetColonists() const override { return m_people; }
    void AddColonists(float amount) override;
    void TakeColonists(float amount) override;
    // Money or a colonist taken by a plan of higher priority is asked for
    // again: the plan waits for both in full and would else wait for good.
    void TakeMoney(float amount) override;
    void Check() override;

protected:
    float CurrentCost() const override;
    virtual bool MaySend() const;
    virtual void Send() const;
    virtual const char* SendLine() const { return "%s sends a colonist to %s\n"; }
};

class CAISendTraderPlan : public CAISendColonistPlan {
public:
    using CAISendColonistPlan::CAISendColonistPlan;
    int32_t GetPlanType() const override { return AIPLAN_SEND_TRADER; }

protected:
    float CurrentCost() const override;
    bool MaySend() const override;
    void Send() const override;
    const char* SendLine() const override { return "%s sends a trader to %s\n"; }
};
