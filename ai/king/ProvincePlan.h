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
// hands them to it. It turns the wanted amounts into regiments (squadrons)
// per province the King grants, asks the King for the money, orders the
// units, hands each finished unit to the plan that asked and gives unspent
// money back. The variants differ in the operations below.
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
    // The regiments (squadrons) the province can take at once.
    virtual int32_t GetCapacity(const CProvince& province) const;
    // Gives a place back to the King.
    virtual void ReleasePlace(CProvince* province) = 0;
    // The three counts grow by the unit's strengths (each rounded up); then
    // the plan re-plans.
    virtual void UnitReceived(CUnit& unit);
    // What the plan does when its counts changed (its own work).
    virtual void Replan() {}

    void Start() override;
    void Stop() override;
    float GetMoney() const override { return m_money; }
    void AddMoney(float amount) override;
    void TakeMoney(float amount) override { m_money -= amount; }
    void OnArmyConstructionCancelled(CUnit& army) override { OnConstructionCancelled(army); }
    void OnFleetConstructionCancelled(CUnit& fleet) override { OnConstructionCancelled(fleet); }

    // A place granted: listed as the next candidate, the first unit sized
    // there and its money asked for.
    void AddPlace(CProvince* province);
    // Spends the money on the next candidate's unit when enough is held.
    void Step();
    // A unit ordered by this plan is finished: it goes to the plan that
    // asked (to the King when that one refuses it).
    bool OnUnitBuilt(CUnit& unit);
    void OnConstructionCancelled(CUnit& unit);

    // The amount (strength) still wanted.
    void SetWanted(float amount) { m_wanted = amount; }
    float GetWanted() const { return m_wanted; }
    const std::array<int32_t, 3>& GetLimits() const { return m_limits; }
    const std::array<int32_t, 3>& GetCounts() const { return m_counts; }
    void SetCounts(int32_t a, int32_t b, int32_t c) { m_counts = {a, b, c}; }
    const std::array<int32_t, 3>& GetCurrent() const { return m_current; }
    float GetRequested() const { return m_requested; }
    CObjectIdList& GetOrderedUnits() { return m_ordered; }
    const CTemplateList<CProvince>& GetCandidates() const { return m_places; }

    void Finish() override;
    void Cancel() override;

protected:
    bool NothingMoreWanted() const;
    void FinishIfDone();
    // Asks for the next place to build in (the variant's request).
    void ChooseProvinces() { AskForPlace(); }

    std::array<int32_t, 3> m_limits;
    // What is still wanted of each kind.
    std::array<int32_t, 3> m_counts{};
    std::array<int32_t, 3> m_current{};
    std::array<float, 3> m_powerPerMan{};
    float m_wanted = 0.0f;
    float m_requested = 0.0f;
    float m_money = 0.0f;
    // Candidates, first = next.
    CTemplateList<CProvince> m_places;
    // Units ordered and not yet delivered.
    CObjectIdList m_ordered;
    // Provinces where an order is under way.
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
    void ReleasePlace(CProvince* province) override;
    CTemplateList<CProvince>* GetProvinces() override { return &m_places; }
    void AddProvince(CProvince* province) override { AddPlace(province); }
    CUnitList* GetArmies() override { return &m_armies; }
    bool OfferArmy(CUnit* army) override;
    void Start() override;
    // Sizes the plan for the power wanted: cavalry and artillery shares by
    // the shock weight, artillery for a hostile city, the rest infantry;
    // priority -1.0 when nothing comes out.
    void Evaluate(float power, float ignored, int32_t cavalryPresent, int32_t artilleryPresent,
                  float fireWeight, float shockWeight, CProvince* province);
    using CAIPlan::Evaluate;
};

class CAIBuildFleetPlan : public CAIBuildPlan {
public:
    using CAIBuildPlan::CAIBuildPlan;
    int32_t GetPlanType() const override { return AIPLAN_BUILDFLEET; }
    float GetPrice(int32_t a, int32_t b, int32_t c) const override;
    bool MayBuildIn(int32_t province) const override;
    void OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) override;
    void AskForPlace() override;
    void ReleasePlace(CProvince* province) override;
    CTemplateList<CProvince>* GetSeaZones() override { return &m_places; }
    void AddSeaZone(CProvince* zone) override { AddPlace(zone); }
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
