#pragma once
// Plans aimed at one province, and the unit-building plan in its army and
// fleet variants. A province plan writes its start, finish, cancel and kill
// to the trace sink; its kill releases everything it holds or asks of its
// King.
#include <array>
#include <cstdint>

#include "ai/AIPlan.h"
#include "engine/LinkedList.h"
#include "military/units/UnitList.h"

class CProvince;

class CAIProvincePlan : public CAIPlan {
public:
    using CAIPlan::CAIPlan;

    void Kill() override;
    void Start() override;
    virtual void Finish();
    void Cancel() override;
    int32_t GetProvinceId() const;
    CProvince* GetProvince() const { return m_province; }
    // The base evaluation, then the aimed province.
    virtual void SetProvince(CProvince* province);

protected:
    CProvince* m_province = nullptr;
};

// The unit-building plan: builds the units a King or a plan asked for and
// hands them to it. The variants differ in the operations below; the
// planning of sizes and orders belongs to the plan's own work.
class CAIBuildPlan : public CAIProvincePlan {
public:
    CAIBuildPlan(CAIKing* owner, int32_t limitA, int32_t limitB, int32_t limitC);
    ~CAIBuildPlan() override;

    // The price of (a, b, c) units of the variant.
    virtual float GetPrice(int32_t a, int32_t b, int32_t c) const = 0;
    virtual bool MayBuildIn(int32_t province) const = 0;
    // Orders the counts in the province, naming this plan.
    virtual void OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) = 0;
    // Asks the King for a place to build.
    virtual void AskForPlace() = 0;
    // The three counts grow by the unit's strengths (each rounded up); then
    // the plan re-plans.
    virtual void UnitReceived(CUnit& unit);
    // What the plan does when its counts changed (its own work).
    virtual void Replan() {}

    // The amount (strength) still wanted.
    void SetWanted(float amount) { m_wanted = amount; }
    float GetWanted() const { return m_wanted; }
    const std::array<int32_t, 3>& GetLimits() const { return m_limits; }
    const std::array<int32_t, 3>& GetCounts() const { return m_counts; }
    CObjectIdList& GetOrderedUnits() { return m_ordered; }

protected:
    std::array<int32_t, 3> m_limits;
    std::array<int32_t, 3> m_counts{};
    float m_wanted = 0.0f;
    CTemplateList<CProvince> m_places;
    CObjectIdList m_ordered;
    CTemplateList<CProvince> m_secondPlaces;
    CUnitList m_armies;
    CUnitList m_fleets;
};

class CAIBuildArmyPlan : public CAIBuildPlan {
public:
    using CAIBuildPlan::CAIBuildPlan;
    int32_t GetPlanType() const override { return AIPLAN_BUILDARMY; }
    float GetPrice(int32_t a, int32_t b, int32_t c) const override;
    bool MayBuildIn(int32_t province) const override;
    void OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) override;
    void AskForPlace() override;
    CTemplateList<CProvince>* GetProvinces() override { return &m_places; }
    CUnitList* GetArmies() override { return &m_armies; }
    bool OfferArmy(CUnit* army) override;
};

class CAIBuildFleetPlan : public CAIBuildPlan {
public:
    using CAIBuildPlan::CAIBuildPlan;
    int32_t GetPlanType() const override { return AIPLAN_BUILDFLEET; }
    float GetPrice(int32_t a, int32_t b, int32_t c) const override;
    bool MayBuildIn(int32_t province) const override;
    void OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) override;
    void AskForPlace() override;
    CTemplateList<CProvince>* GetSeaZones() override { return &m_places; }
    CUnitList* GetFleets() override { return &m_fleets; }
    bool OfferFleet(CUnit* fleet) override;
    // The wanted counts become (w, g, t), less what the ordered units
    // already hold (not below 0); with nothing left the priority becomes
    // -1.0 and an active plan finishes.
    void Update(int32_t warships, int32_t galleys, int32_t transports);
    float GetWarshipFactor() const { return m_warshipFactor; }
    float GetGalleyFactor() const { return m_galleyFactor; }

private:
    float m_warshipFactor = 0.0f;
    float m_galleyFactor = 0.0f;
    float m_thirdFactor = 0.0f;
};
