#pragma once
// The General's plans for the land it holds and the land it wants across
// the sea: the defence plan weighs the threat of the neighbouring
// territories and spreads garrisons over the most valuable provinces in
// peacetime; a garrison holds forces in one province until a war begins;
// an invasion attacks a coastal province reached over the sea.
#include <cstdint>

#include "ai/military/AICombat.h"

class CAIDefendPlan : public CAIMilitaryPlan {
public:
    using CAIMilitaryPlan::CAIMilitaryPlan;
    ~CAIDefendPlan() override;
    int32_t GetPlanType() const override { return AIPLAN_DEFEND; }
    CAIPlan* Clone() override { return new CAIDefendPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
    CProvince* GetObjective() const override { return objective; }
    void Start() override;
    void OnTimer(uint32_t value) override;
    // A garrison that ends leaves the defence standing.
    void OnPlanFailed(CAIAgent* child) override { ReleaseChild(child); }

    void ScanThreat();
    void PlanGarrisons();
    void CancelGarrisons();
    float GetThreat() const { return threat; }
    float GetDefencePower() const { return defencePower; }
    void SetBudgetFactor(float value) { budgetFactor = value; }
    float GetBudgetFactor() const { return budgetFactor; }
    CTerritory* GetTerritory() const { return territory; }

private:
    void ComputeDefencePower();

    CProvince* objective = nullptr;
    CTerritory* territory = nullptr;
    float threat = 0.0f;
    float defencePower = 0.0f;
    float budgetFactor = 0.0f;
};

class CAIGarrisonPlan : public CAIMilitaryPlan {
public:
    using CAIMilitaryPlan::CAIMilitaryPlan;
    ~CAIGarrisonPlan() override;
    int32_t GetPlanType() const override { return AIPLAN_GARRISON; }
    CAIPlan* Clone() override { return new CAIGarrisonPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
    CProvince* GetObjective() const override { return objective; }
    void StartGarrison(float power);
    void OnTimer(uint32_t value) override;
    void OnArmyMoved(CUnit& army) override;
    void Fail() override;
    CUnitList* GetArmies() override { return &m_armies; }
    bool OfferArmy(CUnit* army) override;
    float GetPower() const { return power; }

private:
    CProvince* objective = nullptr;
    CUnitList m_armies;
    float power = 0.0f;
};

class CAIInvasionPlan : public CAILandCombat {
public:
    using CAILandCombat::CAILandCombat;
    int32_t GetPlanType() const override { return AIPLAN_INVASION; }
    CAIPlan* Clone() override { return new CAIInvasionPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
    bool IsDone() override;
    bool OfferArmy(CUnit* army) override;
};
