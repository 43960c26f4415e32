#pragma once
// A transport carries one army of a computer-run country across the sea:
// it checks that the country's ships can carry the army, finds a route,
// marches the army to the coast, asks the King for fleets, loads the army
// where they meet, sails to the unload point, unloads, and hands the army
// to the plan that asked for it.
#include <cstdint>
#include <vector>

#include "ai/AIPlan.h"
#include "military/units/UnitList.h"

class CProvince;

class AITransport : public CAIPlan {
public:
    using CAIPlan::CAIPlan;
    ~AITransport() override;
    int32_t GetPlanType() const override { return AIPLAN_TRANSPORT; }

    using CAIPlan::Evaluate;
    // Feasibility (shipping for the army) and the route.
    void Evaluate(CUnit* army, CProvince* province);
    void StartTransport(CUnit* army);

    CUnitList* GetArmies() override { return &m_armies; }
    CUnitList* GetFleets() override { return &m_fleets; }
    bool OfferArmy(CUnit* army) override;
    bool OfferFleet(CUnit* fleet) override;
    void RemoveArmy(CUnit* army) override;
    void RemoveFleet(CUnit* fleet) override;
    void OnTimer(uint32_t value) override;
    void OnArmyMoved(CUnit& army) override;
    void OnFleetMoved(CUnit& fleet) override;
    void OnArmyStopped(CUnit& army) override;
    void OnFleetStopped(CUnit& fleet) override;
    void Succeed() override;
    void Fail() override;

    const std::vector<int32_t>& GetPath() const { return m_path; }
    CProvince* GetObjective() const { return objective; }
    CProvince* GetWaypoint() const { return waypoint; }
    bool IsLoadPending() const { return loadPending; }
    // The transport places the country's ships offer.
    int32_t ShippingCapacity() const;

private:
    void Load();
    void MoveToUnloadPoint();
    void Unload();
    void OnArrivedArmy(CUnit& army);
    void OnArrivedFleet(CUnit& fleet);
    void SendFleets(const std::vector<int32_t>& steps);

    CProvince* objective = nullptr;
    CUnitList m_armies;
    CUnitList m_fleets;
    std::vector<int32_t> m_path;
    CProvince* waypoint = nullptr;
    bool loadPending = true;
    bool m_ending = false;
};
