#pragma once
// The explorer's plans: a fleet sent to sail an unknown sea zone, an army
// sent to walk an unknown land province, and an army sent against the
// natives of a province. Each aims at one province and works with the units
// the King hands it; it ends on success, on its watchdog, or when its unit
// is gone.
#include <cstdint>

#include "ai/AIPlan.h"
#include "military/units/UnitList.h"

class CProvince;

// The base: the goal province, set up as a diplomatic plan's goal under
// the explorer (SetGoal), and whether a unit was handed over yet. The plan
// asks its King for units only, never for diplomats or money.
class CAIExplorationPlan : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    ~CAIExplorationPlan() override;

    // Stamps the start and writes the start line; the plan classes then ask
    // for their unit.
    void Start() override;
    void Check() override {}
    void OnTimer(uint32_t value) override;

    CUnitList* GetArmies() override { return &m_armies; }
    CUnitList* GetFleets() override { return &m_fleets; }
    // A unit that leaves the plan (taken by another agent, or lost) leaves
    // its list; a plan left with none gives up.
    void RemoveArmy(CUnit* army) override;
    void RemoveFleet(CUnit* fleet) override;

    CProvince* GetGoalProvince() const;
    bool WasUnitRequested() const { return unitRequested; }
    // A unit held by the plan itself or by a transport it runs.
    bool HoldsUnit() const;

protected:
    // The timer's values.
    static constexpr uint32_t kWatch = 0;
    static constexpr uint32_t kUnitLeft = 1;
    static constexpr uint32_t kHandedAtGoal = 2;

    // The plan's own periodic check.
    virtual void OnWatch() {}
    // One of the plan's units stands at the goal.
    virtual void OnAtGoal(CUnit& unit) { (void)unit; }
    // An army handed over: sent overland to the goal, else by sea with
    // transports, else bounced back (false).
    bool SendArmy(CUnit* army);
    // The first army of the plan standing at the goal; null when none.
    CUnit* ArmyAtGoal();

    bool unitRequested = false;
    CUnitList m_armies;
    CUnitList m_fleets;
};

class CAIPlanExploreSeazone : public CAIExplorationPlan {
public:
    using CAIExplorationPlan::CAIExplorationPlan;
    int32_t GetPlanType() const override { return AIPLAN_EXPLORE_SEAZONE; }
    // The worth of the zone: the unknown coasts and waters around it.
    void Evaluate() override;
    void Start() override;
    bool OfferFleet(CUnit* fleet) override;
    void OnFleetMoved(CUnit& fleet) override;

protected:
    void OnAtGoal(CUnit& unit) override;
};

class CAIPlanExploreProvince : public CAIExplorationPlan {
public:
    using CAIExplorationPlan::CAIExplorationPlan;
    int32_t GetPlanType() const override { return AIPLAN_EXPLORE_PROVINCE; }
    // -1 for land overseas without ships; else the country's liking of it.
    void Evaluate() override;
    void Start() override;
    bool OfferArmy(CUnit* army) override;
    void OnArmyMoved(CUnit& army) override;
    void OnArmyStopped(CUnit& army) override;
    // Where the army gathers: the last known land beside the goal, else the
    // capital.
    CProvince* GatheringProvince() const;

protected:
    void OnWatch() override;
    void OnAtGoal(CUnit& unit) override;
};

class CAIPlanGenocide : public CAIExplorationPlan {
public:
    using CAIExplorationPlan::CAIExplorationPlan;
    int32_t GetPlanType() const override { return AIPLAN_GENOCIDE; }
    // -1 for natives overseas without ships; else their number.
    void Evaluate() override;
    void Start() override;
    bool OfferArmy(CUnit* army) override;
    void OnArmyMoved(CUnit& army) override;

protected:
    void OnWatch() override;
    // Attacks the natives when the unit can, else ends.
    void OnAtGoal(CUnit& unit) override;
};
