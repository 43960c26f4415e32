#pragma once
// The computer player's actors. Every one is an agent: the King of a
// computer-run country, its standing agents (ministers, explorer, merchant
// agent, Generals, Admirals) and every plan. Agents form a tree under the
// King: each has a parent, owns its children, holds resources lent by the
// King, holds units and provinces handed to it, hears the notifications it
// subscribed to (ai/AINotify.h) and wakes itself with timer messages. All of
// it runs on the host only.
//
// An agent is registered under a fresh id of the host's own objects
// (CIdEntity::AssignMachineId), so that the ids of the game's objects stay
// those every machine makes; a "_COVEVT_KILL_" message addressed to it
// deletes it when it runs.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/LinkedList.h"
#include "engine/ObjectId.h"
#include "net/Event.h"

class CAIAgent;
class CAIKing;
class CAIPlan;
class CAIResourceRequest;
class CAIStandingAgent;
class CCombat;
class CCountry;
class CProvince;
class CUnit;
class CUnitList;

// The timer message of an agent (type 203, never sent to other machines):
// the value the agent gave at +20.
class COVAITickEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    static constexpr PayloadField<uint32_t> kValue{"value", 20};
    static constexpr PayloadFieldInfo kFields[] = {kValue};

    COVAITickEvent(const ObjectId& receiver, uint32_t value);
    explicit COVAITickEvent(const COVEvent& m) : COVEvent(m) {}
};

// The base of everything that hears notifications. Subscribing twice to a
// type is one subscription; unsubscribing clears every entry of the
// listener in the list of the type; the destructor clears the listener
// from every list.
class CAIEventListener : public CIdEntity, public CMessageReceiver {
public:
    CAIEventListener() = default;
    ~CAIEventListener() override;

    // Type 203 goes to OnTimer (value at +20) while active and is taken
    // (also when inactive); other types are not taken.
    virtual int HandleEvent(COVEvent& event);
    int HandleMessage(COVEvent& event) override { return HandleEvent(event); }
    virtual bool IsActive() const { return true; }
    virtual void OnTimer(uint32_t value) { (void)value; }

    // A type-203 message to this listener, due today + days (queued here
    // only).
    void PostTimer(int32_t days, uint32_t value);
    // Files the listener in the list of the type (at the head or the tail).
    void Subscribe(uint32_t type, bool atHead);
    void Unsubscribe(uint32_t type);

    // --- the notification handlers, in notification-slot order; all empty
    // here (ai/AINotify.h names the type of each) ---
    virtual void OnArmyMoved(CUnit& army) { (void)army; }
    virtual void OnFleetMoved(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyStopped(CUnit& army) { (void)army; }
    virtual void OnFleetStopped(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyCreated(CUnit& army) { (void)army; }
    virtual void OnFleetCreated(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyDeleted(CUnit& army) { (void)army; }
    virtual void OnFleetDeleted(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyConstructionCancelled(CUnit& army) { (void)army; }
    virtual void OnFleetConstructionCancelled(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyCombatStarted(CUnit& army) { (void)army; }
    virtual void OnFleetCombatStarted(CUnit& fleet) { (void)fleet; }
    virtual void OnArmyCombatEnded(CUnit& army) { (void)army; }
    virtual void OnFleetCombatEnded(CUnit& fleet) { (void)fleet; }
    virtual void OnCombatResult(int32_t a, CCombat* combat, int32_t c) {
        (void)a, (void)combat, (void)c;
    }
    virtual void OnThreatReport(int32_t a, int32_t b, int32_t c, int32_t d) {
        (void)a, (void)b, (void)c, (void)d;
    }
    virtual void OnProvinceControlChanged(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnProvinceOwnerChanged(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnUnitRaised(int32_t a) { (void)a; }
    virtual void OnSiegeStarted(CCombat* siege) { (void)siege; }
    virtual void OnBlockade(int32_t province, int32_t value) { (void)province, (void)value; }
    virtual void OnProvinceDiscovered(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnCasusBelli(int32_t holder, int32_t opponent) { (void)holder, (void)opponent; }
    virtual void OnRefuseTrade(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnPeace(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnWar(int32_t attacker, int32_t defender) { (void)attacker, (void)defender; }
    virtual void OnReligionChanged(int32_t a) { (void)a; }
    virtual void OnAllianceChanged(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnUnusedNotice(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnAllianceJoined(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnAllianceLeft(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnDiplomacyNotice33(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnDiplomacyNotice34(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnSettlementChanged(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnMerchantPlaced(int32_t a, int32_t b) { (void)a, (void)b; }
    virtual void OnLeaderEvent(int32_t a, int32_t b) { (void)a, (void)b; }
};

// The nine resource categories an agent may ask its King for.
enum AIResource : uint32_t {
    AIRES_MONEY = 0,
    AIRES_MANPOWER = 1,
    AIRES_COLONISTS = 2,
    AIRES_DIPLOMATS = 3,
    AIRES_MERCHANTS = 4,
    AIRES_ARMIES = 5,
    AIRES_FLEETS = 6,
    AIRES_RECRUIT_PROVINCE = 7,
    AIRES_SHIPYARD_PORT = 8,
};
constexpr uint32_t kAIResourceCount = 9;

// The computer player's route for the unit (its army or fleet rules) from
// where it stands to the province, the start left out; empty without one.
std::vector<int32_t> AIRouteOf(CUnit& unit, CProvince& goal);
// Runs here the move orders of the steps to the unit server, the first
// replacing the unit's route.
void SendMoveSteps(const CUnit& unit, const std::vector<int32_t>& steps);

// days lo .. lo + spread - 1, each shortened by a tenth per step of the
// aggressiveness setting (at least 1 each); a roll of GameRand.
int32_t AIRandomDelay(int32_t lo, int32_t spread);

class CAIAgent : public CAIEventListener {
public:
    explicit CAIAgent(CCountry* country);
    // Deletes the children still listed, clears the holder of every
    // province that points at this agent, lets go of the units it holds or
    // rejected.
    ~CAIAgent() override;

    int HandleEvent(COVEvent& event) override;
    bool IsActive() const override { return active; }

    virtual void Init(CAIAgent* parent);
    virtual void Stop();
    virtual void Kill();
    virtual void Cancel() { Fail(); }
    virtual void Start() { active = true; }
    virtual void Succeed();
    virtual void Fail();
    virtual CUnit* SelectArmyPart(CUnit* army) { return army; }
    virtual CUnit* SelectFleetPart(CUnit* fleet) { return fleet; }
    virtual CUnit* SelectUnitPart(CUnit* unit) { return unit; }
    virtual CAIKing* GetKing() = 0;
    virtual bool IsKing() const { return false; }
    virtual bool IsPlan() const { return false; }
    virtual CAIPlan* AsPlan() { return nullptr; }
    virtual const char* GetName() const { return "Agent"; }
    virtual CAIStandingAgent* AsStandingAgent() { return nullptr; }
    virtual bool IsStandingAgent() const { return false; }
    virtual void AddChild(CAIAgent* agent);
    virtual void RemoveChild(CAIAgent* agent);
    virtual void ReleaseChild(CAIAgent* child);
    virtual void OnPlanSucceeded(CAIAgent* child) { ReleaseChild(child); }
    virtual void OnPlanFailed(CAIAgent* child) { ReleaseChild(child); }

    // The priority a request of this agent is served by: the top plan's of
    // a plan chain; 0 for other agents.
    virtual float GetRequestPriority() const { return 0.0f; }

    // Resources held (the King and the plans keep real pools).
    virtual float GetMoney() const { return 0.0f; }
    virtual void AddMoney(float amount) { (void)amount; }
    virtual void TakeMoney(float amount) { (void)amount; }
    virtual float GetManpower() const { return 0.0f; }
    virtual void AddManpower(float amount) { (void)amount; }
    virtual void TakeManpower(float amount) { (void)amount; }
    virtual float GetColonists() const { return 0.0f; }
    virtual void AddColonists(float amount) { (void)amount; }
    virtual void TakeColonists(float amount) { (void)amount; }
    virtual float GetDiplomats() const { return 0.0f; }
    virtual void AddDiplomats(float amount) { (void)amount; }
    virtual void TakeDiplomats(float amount) { (void)amount; }
    virtual float GetMerchants() const { return 0.0f; }
    virtual void AddMerchants(float amount) { (void)amount; }
    virtual void TakeMerchants(float amount) { (void)amount; }
    // The resource of the category 0..4 through the operations above.
    float GetResource(uint32_t category) const;
    void AddResource(uint32_t category, float amount);
    void TakeResource(uint32_t category, float amount);

    // Units rejected: remembered here and on the unit until cleared.
    virtual void RejectUnit(CUnit* unit);
    virtual void ClearRejectedUnits();
    virtual bool HasRejected(CUnit* unit);
    virtual void ForgetRejectedUnit(CUnit* unit);
    virtual void AddRejectedUnit(CUnit* unit);

    virtual CUnitList* GetArmies() { return nullptr; }
    virtual bool OfferArmy(CUnit* army) {
        (void)army;
        return false;
    }
    virtual void RemoveArmy(CUnit* army);
    virtual CUnitList* GetFleets() { return nullptr; }
    virtual bool OfferFleet(CUnit* fleet) {
        (void)fleet;
        return false;
    }
    virtual void RemoveFleet(CUnit* fleet);
    virtual CTemplateList<CProvince>* GetProvinces() { return nullptr; }
    virtual void AddProvince(CProvince* province);
    virtual bool RemoveProvince(CProvince* province);
    virtual CTemplateList<CProvince>* GetSeaZones() { return nullptr; }
    virtual void AddSeaZone(CProvince* zone);
    virtual bool RemoveSeaZone(CProvince* zone);

    // --- non-virtual operations ---
    void HandOverUnit(CAIAgent* receiver, CUnit* unit);
    void HandOverUnits(CAIAgent* receiver, CUnitList& units);
    // Takes the unit over from its holder (nothing held when this agent has
    // failed or succeeded).
    void AcceptUnit(CUnit* unit);
    void BounceUnit(CUnit* unit);
    void GiveMoney(CAIAgent* receiver, float amount);
    void GiveManpower(CAIAgent* receiver, float amount);
    void GiveColonists(CAIAgent* receiver, float amount);
    void GiveDiplomats(CAIAgent* receiver, float amount);
    void GiveMerchants(CAIAgent* receiver, float amount);
    void GiveResource(uint32_t category, CAIAgent* receiver, float amount);
    void GiveProvince(CAIAgent* receiver, CProvince* province);
    void GiveSeaZone(CAIAgent* receiver, CProvince* zone);
    // Lets go of the units of the list (those that point here are detached)
    // and empties it; the destructors of the classes that hold units call
    // it.
    void DetachUnits(CLinkedList<CUnit>& units);
    // Not retreating; in no combat, or covering or besieging.
    static bool IsUnitFree(const CUnit& unit);

    // --- moving and merging units (ai/AIAgentMoves.cpp) ---
    // Move results.
    enum MoveResult : int32_t {
        MOVE_ORDERED = 0,
        MOVE_THERE = 1,
        MOVE_NO_PATH = 2,
        MOVE_NOT_FREE = 3
    };
    // Orders the unit along its route to the province (army or fleet route
    // rules by its kind), the first `skip` steps left out.
    int32_t MoveUnitToProvince(CUnit* unit, CProvince* province, int32_t skip);
    void HaltUnit(CUnit* unit);
    // Takes the unit over and sends it to the province; false when it
    // cannot go (not free, no route, this agent ended).
    bool TakeAndSendUnit(CUnit* unit, CProvince* province, int32_t skip);
    // Sends an army by sea: a transport plan of this agent carries it.
    bool TransportUnitTo(CUnit* unit, CProvince* province);
    // Asks the merge of the units this agent holds that stand with the unit
    // and go where it goes; true when one was asked.
    bool MergeUnitsInto(CUnit* unit, CUnitList* list);
    bool MergeInto(CUnit* unit);

    CCountry* GetCountry() const { return country; }
    CAIAgent* GetParent() const { return parent; }
    const CLinkedList<CAIAgent>& GetChildren() const { return children; }
    bool HasFailed() const { return failed; }
    bool HasSucceeded() const { return succeeded; }
    // The request slot of the category (the broker keeps the request).
    CAIResourceRequest*& RequestSlot(uint32_t category) { return requests[category]; }

protected:
    CCountry* country;
    bool active = false;
    bool failed = false;
    bool succeeded = false;
    CAIAgent* parent = nullptr;
    CLinkedList<CAIAgent> children;
    CLinkedList<CUnit> rejectedUnits;
    std::array<CAIResourceRequest*, kAIResourceCount> requests{};
    // The King that deletes this agent if it goes before the kill message
    // runs (set by Kill).
    CAIKing* m_dyingWith = nullptr;
};

// A standing agent of the King (ministers, explorer, merchant agent,
// Generals, Admirals).
class CAIStandingAgent : public CAIAgent {
public:
    explicit CAIStandingAgent(CAIKing* king);
    CAIKing* GetKing() override { return owner; }
    CAIStandingAgent* AsStandingAgent() override { return this; }
    bool IsStandingAgent() const override { return true; }

protected:
    CAIKing* owner;
};
