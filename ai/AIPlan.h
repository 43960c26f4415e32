#pragma once
// Plans: agents with one goal and a priority. A plan is created by the King
// or a standing agent, evaluated (its priority computed), started when good
// enough (a priority below -0.1 is not started), asks its King for
// resources, and ends with Succeed or Fail. The sub-plans of a plan form a
// chain whose top plan (the root) gives the chain its priority and its one
// list of rejected units.
#include <array>
#include <cstdint>

#include "ai/AIAgent.h"
#include "engine/Date.h"

// The plan types.
enum AIPlanType : int32_t {
    AIPLAN_GATHERARMIES = 0,
    AIPLAN_GATHERFLEETS = 1,
    AIPLAN_LANDATTACK = 2,
    AIPLAN_NAVALATTACK = 3,
    AIPLAN_MOVEARMY = 4,
    AIPLAN_MOVEFLEET = 5,
    AIPLAN_TRANSPORT = 6,
    AIPLAN_BUILDARMY = 7,
    AIPLAN_BUILDFLEET = 8,
    AIPLAN_LANDCOMBAT = 9,
    AIPLAN_NAVALCOMBAT = 10,
    AIPLAN_CONQUER = 11,
    AIPLAN_DEFEND = 12,
    AIPLAN_NAVALDEFEND = 13,
    AIPLAN_BREAKBLOCKADE = 14,
    AIPLAN_BLOCKADE = 15,
    AIPLAN_INVASION = 16,
    AIPLAN_GARRISON = 17,
    AIPLAN_BOOST_STABILITY = 18,
    AIPLAN_BOOST_TRADE = 19,
    AIPLAN_BOOST_PRODUCTION = 20,
    AIPLAN_BOOST_LANDTECH = 21,
    AIPLAN_BOOST_NAVALTECH = 22,
    AIPLAN_SEND_COLONIST = 23,
    AIPLAN_SEND_MERCHANT = 24,
    AIPLAN_SEND_TRADER = 25,
    AIPLAN_BUILD_MANUFACTORY = 26,
    AIPLAN_DECLARE_WAR = 27,
    AIPLAN_OFFER_ROYAL_MARRIAGE = 28,
    AIPLAN_OFFER_VASSALIZATION = 29,
    AIPLAN_CANCEL_ROYAL_MARRIAGE = 30,
    AIPLAN_CANCEL_VASSALIZATION = 31,
    AIPLAN_OFFER_ANNEXATION = 32,
    AIPLAN_EXCHANGE_DISCOVERIES = 33,
    AIPLAN_REFUSE_TRADE = 34,
    AIPLAN_ALLOW_TRADE = 35,
    AIPLAN_ASK_FOR_LOAN = 36,
    AIPLAN_ASK_REFUSE_TRADE = 37,
    AIPLAN_ASK_OFFER_PEACE = 38,
    AIPLAN_ASK_LEAVE_NATION = 39,
    AIPLAN_ASK_DECLARE_WAR = 40,
    AIPLAN_INVITE_ALLIANCE = 41,
    AIPLAN_JOIN_ALLIANCE = 42,
    AIPLAN_LEAVE_ALLIANCE = 43,
    AIPLAN_BAN_ALLIANCE = 44,
    AIPLAN_ASK_LEAVE_AREA = 45,
    AIPLAN_ASK_HOLD_AREA = 46,
    AIPLAN_SEND_ECONOMIC_AID = 47,
    AIPLAN_OFFER_PEACE = 48,
    AIPLAN_ALLY_AGAINST = 49,
    AIPLAN_EXPLORE_SEAZONE = 50,
    AIPLAN_EXPLORE_PROVINCE = 51,
    AIPLAN_GENOCIDE = 52,
    AIPLAN_BUILD_BAILIFF = 53,
    AIPLAN_BUILD_CITYRIGHTS = 54,
    AIPLAN_BUILD_COURTHOUSE = 55,
    AIPLAN_BUILD_FORTRESS = 56,
    AIPLAN_BUILD_BARRACK = 57,
    AIPLAN_BUILD_SHIPYARD = 58,
};
constexpr int32_t kAIPlanTypeCount = 59;

// The name of a plan type; "_CAI_PLAN_UNDEFINED_" outside 0..58.
const char* GetPlanTypeName(int32_t type);

// A priority below this keeps a plan from being started.
constexpr float kAIPlanDropPriority = -0.1f;

class CAIPlan : public CAIAgent {
public:
    explicit CAIPlan(CAIKing* owner);
    // Leaves its King's holder lists and voids its requests (while the King
    // lives).
    ~CAIPlan() override;

    void Init(CAIAgent* parent) override;
    void Kill() override;
    void Start() override;
    CAIKing* GetKing() override { return owner; }
    bool IsPlan() const override { return true; }
    CAIPlan* AsPlan() override { return this; }
    const char* GetName() const override { return GetPlanTypeName(GetPlanType()); }
    void OnPlanFailed(CAIAgent* child) override;
    float GetRequestPriority() const override { return root->priority; }

    // A plan that is not its own root shares the root's list.
    void RejectUnit(CUnit* unit) override;
    void ClearRejectedUnits() override;
    bool HasRejected(CUnit* unit) override;
    void ForgetRejectedUnit(CUnit* unit) override;
    void AddRejectedUnit(CUnit* unit) override;

    virtual int32_t GetPlanType() const = 0;
    // The plan's priority; 1.0 here, the plan classes start from it.
    virtual void Evaluate() { priority = 1.0f; }
    // 1.0 when this plan's root has the greater priority than the other's
    // root, else 0.0.
    virtual float IsHigherPriority(const CAIPlan& other) const;
    // A new plan of the same class; none here ("No virtual constructor").
    virtual CAIPlan* Clone();

    float GetPriority() const { return priority; }
    void SetPriority(float value) { priority = value; }
    CAIPlan* GetRoot() const { return root; }
    const CDate& GetStartDate() const { return startDate; }

protected:
    CAIKing* owner;
    CAIPlan* root;
    float priority = 0.0f;
    CDate startDate;
    std::array<int32_t, 9> words{};
};

// The base of the diplomatic plans: a goal country, a pool of diplomats,
// and of money for the plans that pay. A grant runs the plan's check;
// taking diplomats back cancels the plan. The life cycle
// (ai/diplomacy/DiplomaticPlans.cpp): SetGoal, Evaluate, Start (one
// diplomat asked of the King), Check at each grant and minister timer,
// then Execute (the send) or Cancel.
class CAIDiplomaticPlan : public CAIPlan {
public:
    explicit CAIDiplomaticPlan(CAIKing* owner) : CAIPlan(owner) {}

    float GetDiplomats() const override { return diplomats; }
    void AddDiplomats(float amount) override {
        diplomats += amount;
        Check();
    }
    void TakeDiplomats(float amount) override {
        diplomats -= amount;
        Cancel();
    }
    float GetMoney() const override { return money; }
    void AddMoney(float amount) override {
        money += amount;
        Check();
    }
    void TakeMoney(float amount) override { money -= amount; }

    // Init under the manager, then the goal country (or province).
    void SetGoal(CAIAgent* manager, uint32_t goalCountry);
    void SetGoal(uint32_t goalCountry) { goal = goalCountry; }
    uint32_t GetGoal() const { return goal; }
    void Start() override;
    // Carried out when at most 1.05 diplomats are held and the plan is
    // ready, cancelled when not ready; with more diplomats held and the
    // request closed, cancelled.
    virtual void Check();
    virtual bool IsReady() { return false; }
    // The send and what follows every send.
    virtual void Execute();
    virtual void Send() {}
    // The word of the send's trace line; null writes none.
    virtual const char* GetSendWord() const { return nullptr; }

protected:
    float diplomats = 0.0f;
    float money = 0.0f;
    uint32_t goal = 0;
};
