#pragma once
// The building agent: in peacetime it runs one building project at a time
// (a fortress level, a shipyard, a conscription center, a courthouse, city
// rights or a bailiff), picks the best province for it, asks the King for
// the money and, once paid, sends the country's build request. A war gives
// up the running project; a peace, a finished project or the agent's own
// timer leads to the next choice.
#include <cstdint>

#include "ai/AIAgent.h"
#include "ai/king/ProvincePlan.h"

class CAIBuildingPlan;

// Kinds of building, as the plans name them. The improvements carry the
// city's improvement kind (0 shipyard .. 4 courthouse); the fortress has
// none of its own.
enum AIBuildingKind : int32_t {
    AIBUILD_FORTRESS = -1,
    AIBUILD_SHIPYARD = 0,
    AIBUILD_BARRACK = 1,
    AIBUILD_BAILIFF = 2,
    AIBUILD_CITYRIGHTS = 3,
    AIBUILD_COURTHOUSE = 4,
};

// What the province search weighs of one province.
struct BuildingSiteFigures {
    float income = 0.0f;
    bool tradesWithCentre = false;
    bool border = false;
    bool barrackOrShipyard = false;
    int32_t revoltRisk = 0;
    int32_t citySize = 0;
};

BuildingSiteFigures FiguresOfSite(const CProvince& province);
// The score of a province for a bailiff, city rights, a courthouse or a
// fortress (the kinds chosen among the country's provinces).
float BuildingSiteScore(const BuildingSiteFigures& site, int32_t kind);

class CAIBuildingAgent : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Building Agent"; }

    void OnTimer(uint32_t value) override;
    void OnPeace(int32_t a, int32_t b) override;
    void OnWar(int32_t a, int32_t b) override;
    void Stop() override;
    void Start() override;
    void OnPlanSucceeded(CAIAgent* child) override;
    void OnPlanFailed(CAIAgent* child) override;

    // Starts the next building plan; false (and, unless a plan runs or
    // the country is at war, a timer of 100 to 199 days) when none starts.
    bool ChooseBuildingPlan();
    // Makes, rates and (when good enough) starts a plan of the kind.
    bool TryKind(int32_t kind);
    bool IsWaitingOnTimer() const { return m_timerArmed; }

private:
    bool m_timerArmed = false;
    bool m_givingUp = false;
};

// A building plan: one kind of building in one province.
class CAIBuildingPlan : public CAIProvincePlan {
public:
    CAIBuildingPlan(CAIKing* owner, int32_t kind) : CAIProvincePlan(owner), m_kind(kind) {}

    int32_t GetPlanType() const override;
    void Start() override;
    void Evaluate() override;
    CAIPlan* Clone() override;
    float GetMoney() const override { return m_money; }
    void AddMoney(float amount) override;
    // Money taken by a plan of higher priority is asked for again, so that
    // the plan is not left short for good.
    void TakeMoney(float amount) override;
    // Once the price is held: the build request where the kind can still
    // be built (searching again when the province no longer qualifies),
    // then success; without any province, failure.
    void Begin();

    int32_t GetKind() const { return m_kind; }
    float GetCost() const { return m_cost; }
    // The price of the kind now (for the fortress, in the plan's province).
    float Price() const;
    // The technology allows the kind.
    bool TechnologyAllows() const;
    // The kind may be built in the province now.
    bool MayBuildIn(int32_t province) const;
    // The best province for the kind; null when none qualifies.
    CProvince* FindBestProvince() const;

private:
    const char* Word() const;

    int32_t m_kind;
    float m_money = 0.0f;
    float m_cost = 0.0f;
};
