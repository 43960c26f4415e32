#pragma once
// The combat plans of the Generals and Admirals: each aims at one province
// or sea zone, collects units from its minister, weighs the power the
// objective needs, asks the King for reinforcements, engages when it holds
// more than the enemy there, assaults a besieged fortress when the odds
// allow, and ends when the objective is clear.
#include <cstdint>

#include "ai/AIPlan.h"
#include "military/units/UnitList.h"

class CProvince;
class CTerritory;

// The plans of the Generals and Admirals: each aims at one province and
// is evaluated for a province of a territory.
class CAIMilitaryPlan : public CAIPlan {
public:
    using CAIPlan::CAIPlan;
    using CAIPlan::Evaluate;
    // Sets the objective and the priority (below 0: not worth it).
    virtual void Evaluate(CProvince* province, CTerritory* territory) = 0;
    virtual CProvince* GetObjective() const = 0;
};

class AICombat : public CAIMilitaryPlan {
public:
    explicit AICombat(CAIKing* owner) : CAIMilitaryPlan(owner) {}
    ~AICombat() override;

    // --- the combat plan's operations ---
    virtual float EstimateEnemyPower();
    virtual float GetOwnPower();
    virtual float GetUnitsPower();
    virtual void ComputeNeededPower();
    virtual bool IsReadyToEngage();
    virtual float GetMorale(CCountry& of) const = 0;
    virtual bool IsDone();
    virtual bool MayMoveObjective(CProvince& province);
    virtual bool KeepsGoing() { return false; }
    virtual void Engage();
    virtual void RequestUnitsLike(CUnit* unit) = 0;
    virtual void RequestReinforcements();
    virtual CUnitList& GetUnitList() = 0;
    virtual bool IsLandPlan() const = 0;

    // --- the agent's life ---
    void Start() override;
    void Stop() override;
    void OnTimer(uint32_t value) override;
    void OnArmyMoved(CUnit& army) override;
    void OnFleetMoved(CUnit& fleet) override;
    void OnArmyCombatStarted(CUnit& army) override { OnUnitCombatStarted(army); }
    void OnFleetCombatStarted(CUnit& fleet) override { OnUnitCombatStarted(fleet); }
    void OnCombatResult(int32_t combatProvince, CCombat* combat, int32_t countryNumber) override;
    void OnPeace(int32_t a, int32_t b) override;
    void OnProvinceControlChanged(int32_t oldController, int32_t province) override;
    void RemoveArmy(CUnit* army) override;
    void RemoveFleet(CUnit* fleet) override;

    CProvince* GetObjective() const override { return objective; }
    void SetObjective(CProvince* province) { objective = province; }
    bool IsEngaged() const { return engaged; }
    float GetNeededPower() const { return neededPower; }
    // The value a caller that has already re-armed the timer passes.
    static constexpr uint32_t kRearmed = static_cast<uint32_t>(-74);

protected:
    // The periodic step of every combat plan.
    void PeriodicStep(uint32_t value);
    void OnArrival(CUnit& unit);
    void OnUnitCombatStarted(CUnit& unit);
    void UnitLeft();
    // The minister that runs this plan (its nearest standing ancestor).
    CAIAgent* Minister() const;
    // Hands the unit back to the minister.
    void ReturnToMinister(CUnit* unit);

    CProvince* objective = nullptr;
    bool engaged = false;
    float neededPower = 0.0f;
    float ownPower = 0.0f;
};

// The land plans: attack, invasion, conquest.
class CAILandCombat : public AICombat {
public:
    using AICombat::AICombat;
    ~CAILandCombat() override;
    float GetMorale(CCountry& of) const override;
    bool MayMoveObjective(CProvince& province) override;
    void RequestUnitsLike(CUnit* unit) override;
    void RequestReinforcements() override;
    CUnitList& GetUnitList() override { return m_armies; }
    bool IsLandPlan() const override { return true; }
    CUnitList* GetArmies() override { return &m_armies; }
    bool OfferArmy(CUnit* army) override;
    void OnTimer(uint32_t value) override;

    // The assault rules over the plan's armies and the siege of the
    // objective.
    virtual bool ShouldAssault();
    // Orders the assault when the objective is besieged by own units not
    // assaulting yet; true when ordered.
    bool OrderAssault();

    float fireWeight = 1.0f;
    float shockWeight = 1.0f;

protected:
    CUnitList m_armies;
};

class CAILandAttackPlan : public CAILandCombat {
public:
    using CAILandCombat::CAILandCombat;
    int32_t GetPlanType() const override { return AIPLAN_LANDATTACK; }
    CAIPlan* Clone() override { return new CAILandAttackPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
};

// The naval plans: attack, break a blockade, blockade.
class CAINavalCombat : public AICombat {
public:
    using AICombat::AICombat;
    ~CAINavalCombat() override;
    float GetMorale(CCountry& of) const override;
    bool MayMoveObjective(CProvince& province) override;
    void RequestUnitsLike(CUnit* unit) override;
    void RequestReinforcements() override;
    CUnitList& GetUnitList() override { return m_fleets; }
    bool IsLandPlan() const override { return false; }
    CUnitList* GetFleets() override { return &m_fleets; }
    bool OfferFleet(CUnit* fleet) override;
    void Start() override;
    CProvince* GetHomePort() const { return homePort; }

protected:
    void ChooseHomePort();
    CUnitList m_fleets;
    CProvince* homePort = nullptr;
};

class CAINavalAttackPlan : public CAINavalCombat {
public:
    using CAINavalCombat::CAINavalCombat;
    int32_t GetPlanType() const override { return AIPLAN_NAVALATTACK; }
    CAIPlan* Clone() override { return new CAINavalAttackPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
};

class CAIBreakBlockadePlan : public CAINavalCombat {
public:
    using CAINavalCombat::CAINavalCombat;
    int32_t GetPlanType() const override { return AIPLAN_BREAKBLOCKADE; }
    CAIPlan* Clone() override { return new CAIBreakBlockadePlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
};

class CAIBlockadePlan : public CAINavalCombat {
public:
    using CAINavalCombat::CAINavalCombat;
    int32_t GetPlanType() const override { return AIPLAN_BLOCKADE; }
    CAIPlan* Clone() override { return new CAIBlockadePlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
    void ComputeNeededPower() override;
    bool IsReadyToEngage() override { return !engaged; }
    bool MayMoveObjective(CProvince&) override { return false; }
    bool IsDone() override;
    // The blockade's worth of a coastal sea zone to the country: hostile
    // fortified neighbours' income (from naval level 19) and hostile units.
    static float BlockadeValue(const CProvince& zone, CCountry& country);
};

// The conquest plan: a land attack that takes the province and assaults
// its fortress without weighing the odds, once its besiegers' morale allows
// an assault.
class CAIConquerPlan : public CAILandCombat {
public:
    using CAILandCombat::CAILandCombat;
    int32_t GetPlanType() const override { return AIPLAN_CONQUER; }
    CAIPlan* Clone() override { return new CAIConquerPlan(owner); }
    void Evaluate(CProvince* province, CTerritory* territory) override;
    bool IsDone() override;
    bool ShouldAssault() override;
    // The strength the province's defenders, its walls and the armies
    // beside it call for, by the leaders' abilities and the morale.
    void ComputeNeededPower() override;
    // Enough men for the walls, then more power than the defenders.
    bool IsReadyToEngage() override;
    void OnTimer(uint32_t value) override;
};

// The fleet handed to a plan cut down to what the plan's open fleet
// request needs; answers the part the plan takes (the fleet itself when
// nothing is surplus).
CUnit* SplitFleetForPlan(CAIAgent& plan, CUnit* fleet);
// How many ships of which kind (0 warships, 1 galleys, 2 transports) are
// surplus to a request for transport places (places >= 1) or for power.
struct FleetSurplus {
    int32_t kind = 0;
    int32_t count = 0;
};
FleetSurplus ComputeFleetSurplus(CCountry& country, int32_t warships, int32_t galleys,
                                 int32_t transports, int32_t places, float power);
