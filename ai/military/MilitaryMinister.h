#pragma once
// The military standing agents: a General for every own land territory (an
// overseas General for a territory of an enemy across the sea) and an
// Admiral for every sea territory linked to one. Each proposes plans for
// the provinces of its territory, keeps the best ten candidates in a queue
// ordered by priority, runs at most four plans at once and hands the units
// the King gives it to the plans that need them.
#include <array>
#include <cstdint>

#include "ai/AIAgent.h"
#include "military/units/UnitList.h"

class CAIMilitaryPlan;
class CAIDefendPlan;
class CAIPlan;
class CTerritory;

// The plan kinds: index into the prototypes.
enum MinisterPlanKind : int32_t {
    KIND_LANDATTACK = 0,
    KIND_CONQUER = 1,
    KIND_DEFEND = 2,
    KIND_INVASION = 3,
    KIND_BREAKBLOCKADE = 4,
    KIND_BLOCKADE = 5,
    KIND_NAVALATTACK = 6,
};
constexpr int32_t kMinisterPlanKinds = 7;
// Places 0..9 form the queue; place 10 only takes the plan pushed out.
constexpr int32_t kMinisterQueuePlaces = 11;
constexpr int32_t kMinisterQueueLength = 10;

class CAIMilitaryMinister : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    ~CAIMilitaryMinister() override;

    void SetTerritory(CTerritory* territory) { m_territory = territory; }
    CTerritory* GetTerritory() const { return m_territory; }
    virtual bool IsGeneral() const { return false; }
    virtual bool IsAdmiral() const { return false; }
    // The minister refuses a unit it rejected before.
    bool Refuses(CUnit* unit) { return HasRejected(unit); }

    CUnitList* GetArmies() override { return &m_armies; }
    CUnitList* GetFleets() override { return &m_fleets; }
    bool OfferArmy(CUnit* army) override;
    bool OfferFleet(CUnit* fleet) override;

    // --- the minister's life ---
    // Creates the prototypes of the kind and starts.
    virtual void StartWithPlans(CTerritory* territory) { StartMinister(territory); }
    void StartMinister(CTerritory* territory);
    void Stop() override;
    void OnTimer(uint32_t value) override;
    void OnPlanSucceeded(CAIAgent* child) override;
    void OnPlanFailed(CAIAgent* child) override;

    // --- notifications ---
    void OnPeace(int32_t a, int32_t b) override;
    void OnWar(int32_t a, int32_t b) override;
    void OnProvinceOwnerChanged(int32_t oldOwner, int32_t province) override;
    void OnArmyMoved(CUnit& army) override { ReportEnemyUnit(army); }

    // --- the minister's operations ---
    virtual float EvaluateThreat(const CProvince& province) = 0;
    virtual bool ProposeAttacksOnEnemies();
    virtual bool ProposeAttack(CProvince* province) = 0;
    virtual bool ProposeAreaPlans() = 0;
    virtual bool ProposeConquest(CProvince* province) = 0;
    virtual void PeaceMade() {}
    virtual void WarBegun() {}
    virtual void ChooseHomeProvince() = 0;
    virtual void PlanEnded(int32_t type, CProvince* province) = 0;
    void ReportEnemyUnit(CUnit& unit);

    bool QueuePlan(CAIMilitaryPlan* plan);
    void LaunchQueuedPlans();
    bool ProposePlans(int32_t kind, const CTemplateList<CProvince>& provinces, CProvince* excluded);
    bool ProposePlanFor(int32_t kind, CProvince* province);
    CAIPlan* FindPlanFor(const CProvince* province);
    bool OfferUnitToPlans(CUnit* unit);

    CProvince* GetHomeProvince() const { return homeProvince; }
    int32_t GetMaxPlans() const { return maxPlans; }
    void SetMaxPlans(int32_t value) { maxPlans = value; }
    int32_t GetQueueCount() const { return queueCount; }
    CAIMilitaryPlan* GetQueued(int32_t place) const {
        return place >= 0 && place < kMinisterQueuePlaces ? queue[static_cast<size_t>(place)]
                                                          : nullptr;
    }
    CAIMilitaryPlan* GetPrototype(int32_t kind) const {
        return kind >= 0 && kind < kMinisterPlanKinds ? prototypes[static_cast<size_t>(kind)]
                                                      : nullptr;
    }
    // A fresh unstarted plan of the kind, initialised under this minister.
    CAIMilitaryPlan* MakePrototype(int32_t kind);

protected:
    void DeletePrototypes();
    void DeleteQueue();
    // The running child plans that are military plans, defence plans left
    // out.
    std::vector<CAIPlan*> RunningMilitaryPlans() const;
    // The running defence plan, null when none.
    CAIDefendPlan* RunningDefence() const;
    bool IsOwnCountry(int32_t number) const;

    int32_t maxPlans = 0;
    CProvince* homeProvince = nullptr;
    CTerritory* m_territory = nullptr;
    std::array<CAIMilitaryPlan*, kMinisterPlanKinds> prototypes{};
    std::array<CAIMilitaryPlan*, kMinisterQueuePlaces> queue{};
    int32_t queueCount = 0;
    bool launchArmed = false;
    CUnitList m_armies;
    CUnitList m_fleets;
};

class CAIGeneral : public CAIMilitaryMinister {
public:
    using CAIMilitaryMinister::CAIMilitaryMinister;
    const char* GetName() const override { return "General"; }
    bool IsGeneral() const override { return true; }

    void StartWithPlans(CTerritory* territory) override;
    void Stop() override;
    void OnTimer(uint32_t value) override;
    void OnProvinceControlChanged(int32_t oldController, int32_t province) override;
    void OnSiegeStarted(CCombat* siege) override;
    void OnUnitRaised(int32_t province) override;

    float EvaluateThreat(const CProvince& province) override;
    bool ProposeAttacksOnEnemies() override;
    bool ProposeAttack(CProvince* province) override;
    bool ProposeAreaPlans() override;
    bool ProposeConquest(CProvince* province) override;
    void PeaceMade() override;
    void WarBegun() override;
    void ChooseHomeProvince() override;
    void PlanEnded(int32_t type, CProvince* province) override;
    bool ProposeTerritoryConquests(CTerritory* territory);
    virtual bool CheckInvasion() { return false; }
    // 0 not owned; 2 beside the sea or another owner; else 3.
    int32_t GetObjectiveStatus(const CProvince& objective) const;

protected:
    // The land province's own reaction: conquest, then attack and invasion.
    void ReactInTerritory(int32_t province, bool attackToo);
};

class CAIOverseasGeneral : public CAIGeneral {
public:
    using CAIGeneral::CAIGeneral;
    void StartWithPlans(CTerritory* territory) override;
    void OnTimer(uint32_t value) override;
    void OnProvinceOwnerChanged(int32_t oldOwner, int32_t province) override;
    void OnPeace(int32_t a, int32_t b) override;
    bool CheckInvasion() override;
};

class CAIAdmiral : public CAIMilitaryMinister {
public:
    using CAIMilitaryMinister::CAIMilitaryMinister;
    const char* GetName() const override { return "Admiral"; }
    bool IsAdmiral() const override { return true; }

    void StartWithPlans(CTerritory* territory) override;
    void Stop() override;
    void OnFleetMoved(CUnit& fleet) override;
    void OnArmyMoved(CUnit&) override {}
    void OnBlockade(int32_t province, int32_t value) override;

    float EvaluateThreat(const CProvince& province) override;
    bool ProposeAttacksOnEnemies() override;
    bool ProposeAttack(CProvince* province) override;
    bool ProposeAreaPlans() override;
    bool ProposeConquest(CProvince* province) override;
    void ChooseHomeProvince() override;
    void PlanEnded(int32_t type, CProvince* province) override;
    void OnPlanFailed(CAIAgent* child) override {
        m_failedEnd = true;
        CAIMilitaryMinister::OnPlanFailed(child);
        m_failedEnd = false;
    }

private:
    bool m_failedEnd = false;
};
