#pragma once
// The King of a computer-run country: the root of its agents and plans, the
// single broker of the country's scarce resources (ai/king/ResourceBroker.h)
// and the agent that ticks every few weeks to re-plan the forces, the
// religious tolerance and the disbanding of useless units.
//
// The tick: every 20 to 39 days; half of that for a major country; a quarter
// of that while the country is at war; never below 2 days.
#include <array>
#include <cstdint>

#include "ai/AIAgent.h"
#include "ai/king/ResourceBroker.h"
#include "military/units/UnitList.h"

class CAIBuildArmyPlan;
class CAIBuildFleetPlan;
class CAIMilitaryMinister;
class CAIRelationAgent;
class CAIDiplomacyMinister;
class CTerritory;

// The first tick's and every later tick's delay for the country.
int32_t KingTickDelay(const CCountry& country);

class CAIKing : public CAIAgent {
public:
    explicit CAIKing(CCountry* country);
    ~CAIKing() override;
    // The King exists (plans that outlive theirs must not reach it).
    static bool IsLive(const CAIKing* king);

    int HandleEvent(COVEvent& event) override;
    void OnTimer(uint32_t value) override;
    void OnArmyStopped(CUnit& army) override { OnArmyFree(army); }
    void OnFleetStopped(CUnit& fleet) override { OnFleetFree(fleet); }
    void OnArmyCombatEnded(CUnit& army) override { OnArmyFree(army); }
    void OnFleetCombatEnded(CUnit& fleet) override { OnFleetFree(fleet); }
    void OnProvinceOwnerChanged(int32_t oldOwner, int32_t province) override;
    void OnProvinceDiscovered(int32_t a, int32_t b) override { (void)a, (void)b; }
    void OnBlockade(int32_t province, int32_t flag) override;
    void OnPeace(int32_t a, int32_t b) override;
    void OnWar(int32_t a, int32_t b) override;

    void Stop() override;
    void Start() override;
    CAIKing* GetKing() override { return this; }
    bool IsKing() const override { return true; }
    const char* GetName() const override { return "King"; }
    void OnPlanSucceeded(CAIAgent* child) override { ChildEnded(child); }
    void OnPlanFailed(CAIAgent* child) override { ChildEnded(child); }

    float GetMoney() const override { return m_pools.money; }
    void AddMoney(float amount) override;
    void TakeMoney(float amount) override;
    float GetManpower() const override { return m_pools.manpower; }
    void AddManpower(float amount) override;
    void TakeManpower(float amount) override { m_pools.manpower -= amount; }
    float GetColonists() const override { return m_pools.colonists; }
    void AddColonists(float amount) override;
    void TakeColonists(float amount) override { m_pools.colonists -= amount; }
    float GetDiplomats() const override { return m_pools.diplomats; }
    void AddDiplomats(float amount) override;
    void TakeDiplomats(float amount) override { m_pools.diplomats -= amount; }
    float GetMerchants() const override { return m_pools.merchants; }
    void AddMerchants(float amount) override;
    void TakeMerchants(float amount) override { m_pools.merchants -= amount; }

    CUnitList* GetArmies() override { return &m_armies; }
    CUnitList* GetFleets() override { return &m_fleets; }
    CTemplateList<CProvince>* GetProvinces() override { return &m_provinces; }
    CTemplateList<CProvince>* GetSeaZones() override { return &m_provinces; }
    bool OfferArmy(CUnit* army) override;
    bool OfferFleet(CUnit* fleet) override;
    bool IsResponsibleFor(const CProvince& province) const;

    // --- the resource broker (ai/king/ResourceBroker.cpp) ---
    void RequestMoney(CAIAgent* requester, float amount);
    void RequestManpower(CAIAgent* requester, float amount);
    void RequestColonists(CAIAgent* requester, float amount);
    void RequestDiplomats(CAIAgent* requester, float amount);
    void RequestMerchants(CAIAgent* requester, float amount);
    void RequestArmies(CAIAgent* requester, float strength, int32_t first, int32_t second,
                       CProvince* destination, int32_t kind);
    void RequestFleets(CAIAgent* requester, float strength, int32_t ships, CProvince* destination,
                       int32_t kind);
    void RequestRecruitProvince(CAIAgent* requester, CProvince* destination);
    void RequestShipyardPort(CAIAgent* requester, CProvince* destination);
    // Drops the agent from every holder list and voids its requests.
    void ReleaseAll(CAIAgent* agent);
    void ProcessCategory(uint32_t category);
    void PostResourceTick(uint32_t category);
    void Enqueue(uint32_t category, CAIResourceRequest* request, bool post);
    void AddHolder(uint32_t category, CAIAgent* agent);
    const CLinkedList<CAIResourceRequest>& GetQueue(uint32_t category) const {
        return m_queues[category];
    }
    const CLinkedList<CAIAgent>& GetHolders(uint32_t category) const { return m_holders[category]; }
    bool IsPending(uint32_t category) const { return m_pending[category]; }
    // --- end of the broker ---

    // --- the standing agents ---
    CAIRelationAgent* GetRelationAgent(uint32_t number) const {
        return number < m_relationAgents.size() ? m_relationAgents[number] : nullptr;
    }
    CAIDiplomacyMinister* GetDiplomacyMinister() const { return m_diplomacyMinister; }
    const CLinkedList<CAIMilitaryMinister>& GetGenerals() const { return m_generals; }
    const CLinkedList<CAIMilitaryMinister>& GetAdmirals() const { return m_admirals; }
    void CreateGeneral(CTerritory* territory);
    void CreateAdmiral(CTerritory* sea);
    CAIMilitaryMinister* FindAdmiral(const CTerritory* sea) const;
    void KillGeneral(const CTerritory* territory);
    void KillAdmiral(const CTerritory* sea);
    void AssignArmyToGeneral(CUnit* unit);
    void AssignFleetToAdmiral(CUnit* unit);
    void RebalanceGenerals();
    void ReactToSiege(CProvince& province);

    // --- the budget and the economic plans (ai/king/Budget.cpp) ---
    void AllocateBudget();
    void ChooseManufactory();
    // A manufactory plan finished or was cancelled: the next is chosen.
    void OnManufactoryFinished();
    void OnManufactoryCancelled();
    bool IsManufactoryPlanRunning() const { return m_manufactoryPlanRunning; }
    bool IsStabilityBoostRunning() const { return m_stabilityBoostRunning; }
    bool IsOtherBoostRunning() const { return m_otherBoostRunning; }

    // --- the tick's work ---
    void ComputeForceGoals();
    void PlanArmyBuilding();
    void PlanFleetBuilding();
    void SetReligiousTolerance();
    void DisbandOrAbandon();
    // Infantry, cavalry, artillery, warships, galleys, transports.
    const std::array<int32_t, 6>& GetForceGoals() const { return m_goals; }
    CAIBuildArmyPlan* GetArmyBuildingPlan() const { return m_armyPlan; }
    CAIBuildFleetPlan* GetFleetBuildingPlan() const { return m_fleetPlan; }
    int32_t GetTickCount() const { return m_ticks; }
    // The country a war declaration is being prepared against (0: none).
    uint32_t GetWarGoal() const { return m_warGoal; }
    void SetWarGoal(uint32_t goal) { m_warGoal = goal; }

    // Agents released whose kill message has not run yet: deleted with the
    // King when it goes first.
    void NoteDying(CAIAgent* agent);
    void ForgetDying(CAIAgent* agent) { m_dying.Remove(agent); }

private:
    void OnArmyFree(CUnit& army);
    void OnFleetFree(CUnit& fleet);
    void ChildEnded(CAIAgent* child);
    // A province the King holds again: queue the places it may give.
    void QueuePlacesOf(CProvince& province);
    void ScheduleTick();
    void PostAddOwnerArea();
    // Money: the pool held within the treasury less what holders keep.
    void ClampMoney();
    float ClampToStock(float pool, float stock) const;
    // Granting (ai/king/ResourceBroker.cpp).
    void GrantFrom(CAIAgent* giver, CAIResourceRequest& request);
    void GrantArmies(CAIResourceRequest& request);
    void GrantFleets(CAIResourceRequest& request);
    void GrantProvince(CAIAgent* giver, CAIResourceRequest& request);

    bool m_manufactoryPlanRunning = false;
    bool m_stabilityBoostRunning = false;
    bool m_otherBoostRunning = false;
    std::array<int32_t, 6> m_goals{};
    std::array<CLinkedList<CAIResourceRequest>, kAIResourceCount> m_queues;
    std::array<CLinkedList<CAIAgent>, kAIResourceCount> m_holders;
    bool m_holderWalk = false;
    AIPools m_pools;
    CUnitList m_armies;
    CUnitList m_fleets;
    CTemplateList<CProvince> m_provinces;
    std::array<CAIRelationAgent*, 99> m_relationAgents{};
    CAIDiplomacyMinister* m_diplomacyMinister = nullptr;
    CLinkedList<CAIMilitaryMinister> m_generals;
    CLinkedList<CAIMilitaryMinister> m_admirals;
    CAIBuildFleetPlan* m_fleetPlan = nullptr;
    CAIBuildArmyPlan* m_armyPlan = nullptr;
    std::array<bool, kAIResourceCount> m_pending{};
    int32_t m_ticks = 0;
    uint32_t m_warGoal = 0;
    CLinkedList<CAIAgent> m_dying;
};
