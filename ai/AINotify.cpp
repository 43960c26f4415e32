#include "ai/AINotify.h"

#include <cmath>

#include "ai/AICountry.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryList.h"
#include "country/War.h"
#include "engine/CriticalError.h"
#include "military/units/UnitList.h"
#include "net/Session.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"
#include "world/Territory.h"

std::array<CLinkedList<CAIEventListener>, kAIListenerTypes> g_aiListeners;

namespace {

// How many walks of each list are under way; entries are only marked gone
// while one is.
std::array<int32_t, kAIListenerTypes> g_walkDepth{};

void ClearNodesOf(CAIEventListener* listener, uint32_t type) {
    CLinkedList<CAIEventListener>& list = g_aiListeners[type];
    CLinkedList<CAIEventListener>::CListPosition position = nullptr;
    list.GetHeadPosition(position);
    while (position) {
        CLinkedList<CAIEventListener>::CListPosition next = position->next;
        if (position->item == listener) {
            position->item = nullptr;
            if (g_walkDepth[type] == 0)
                list.RemoveNode(position);
        }
        position = next;
    }
}

} // namespace

void RemoveAIListener(CAIEventListener* listener, uint32_t type) {
    if (type < kAIListenerTypes && listener)
        ClearNodesOf(listener, type);
}

void RemoveAIListenerEverywhere(CAIEventListener* listener) {
    for (uint32_t type = 0; type < kAIListenerTypes; ++type)
        RemoveAIListener(listener, type);
}

void ClearAIListeners() {
    for (uint32_t type = 0; type < kAIListenerTypes; ++type) {
        if (g_walkDepth[type] == 0) {
            g_aiListeners[type].RemoveAll();
            continue;
        }
        // A walk is under way: only clear the entries.
        CLinkedList<CAIEventListener>::CListPosition position = nullptr;
        g_aiListeners[type].GetHeadPosition(position);
        for (; position; position = position->next)
            position->item = nullptr;
    }
}

void NotifyAIListenersWith(uint32_t type, const std::function<void(CAIEventListener&)>& call) {
    if (type >= kAIListenerTypes || !IsHost())
        return;
    CLinkedList<CAIEventListener>& list = g_aiListeners[type];
    if (g_walkDepth[type]++ == 0)
        list.BeginWalk();
    CLinkedList<CAIEventListener>::CListPosition position = nullptr;
    list.GetHeadPosition(position);
    while (position) {
        CLinkedList<CAIEventListener>::CListPosition next = position->next;
        if (!position->removed) {
            if (!position->item)
                list.RemoveNode(position);
            else
                call(*position->item);
        }
        // The next node is read after the call, so that a listener filed at
        // the tail meanwhile is reached; a node marked gone stays linked
        // until the walk ends.
        next = position->next;
        position = next;
    }
    if (--g_walkDepth[type] == 0) {
        // Entries cleared behind the walk go with the others.
        list.GetHeadPosition(position);
        for (; position; position = position->next)
            if (!position->item)
                list.RemoveNode(position);
        list.EndWalk();
    }
}

void NotifyAIListeners1(uint32_t type, void (CAIEventListener::*handler)(int32_t), int32_t a) {
    NotifyAIListenersWith(type, [&](CAIEventListener& l) { (l.*handler)(a); });
}

void NotifyAIListeners(uint32_t type, void (CAIEventListener::*handler)(int32_t, int32_t),
                       int32_t a, int32_t b) {
    NotifyAIListenersWith(type, [&](CAIEventListener& l) { (l.*handler)(a, b); });
}

void NotifyAIListeners3(uint32_t type,
                        void (CAIEventListener::*handler)(int32_t, CCombat*, int32_t), int32_t a,
                        CCombat* combat, int32_t c) {
    NotifyAIListenersWith(type, [&](CAIEventListener& l) { (l.*handler)(a, combat, c); });
}

void NotifyAIListeners4(uint32_t type,
                        void (CAIEventListener::*handler)(int32_t, int32_t, int32_t, int32_t),
                        int32_t a, int32_t b, int32_t c, int32_t d) {
    NotifyAIListenersWith(type, [&](CAIEventListener& l) { (l.*handler)(a, b, c, d); });
}

void NotifyUnitAI(uint32_t type, void (CAIEventListener::*handler)(CUnit&), CUnit& unit) {
    if (!IsHost())
        return;
    if (CAIAgent* agent = unit.GetAIAgent())
        (agent->*handler)(unit);
    NotifyAIListenersWith(type, [&](CAIEventListener& l) { (l.*handler)(unit); });
}

namespace {

CAIKing* ActiveKingOf(CCountry* country) {
    auto* ai = dynamic_cast<CAICountry*>(country);
    CAIKing* king = ai ? ai->GetKing() : nullptr;
    return king && king->IsActive() ? king : nullptr;
}

CAIKing* KingOf(CCountry* country) {
    auto* ai = dynamic_cast<CAICountry*>(country);
    return ai ? ai->GetKing() : nullptr;
}

void UnitCreated(CUnit& unit, bool fleet) {
    if (!IsHost())
        return;
    CCountry* owner = unit.GetOwner();
    if (fleet)
        DebugPrint("%s creates a Fleet #%u (%d,%d,%d)!\n", owner ? owner->GetName() : "",
                   unit.GetId().number, static_cast<int32_t>(std::ceil(unit.GetStrength(0))),
                   static_cast<int32_t>(std::ceil(unit.GetStrength(1))),
                   static_cast<int32_t>(std::ceil(unit.GetStrength(2))));
    else
        DebugPrint("%s creates an Army #%u (%d,%d,%d)!\n", owner ? owner->GetName() : "",
                   unit.GetId().number, unit.GetRoundedInfantry(), unit.GetRoundedCavalry(),
                   unit.GetRoundedArtillery());
    if (CAIAgent* agent = unit.GetAIAgent()) {
        if (fleet)
            agent->OfferFleet(&unit);
        else
            agent->OfferArmy(&unit);
    }
    if (fleet)
        NotifyUnitAI(5, &CAIEventListener::OnFleetCreated, unit);
    else
        NotifyUnitAI(4, &CAIEventListener::OnArmyCreated, unit);
    if (!unit.GetAIAgent())
        if (CAIKing* king = ActiveKingOf(owner)) {
            if (fleet)
                king->OfferFleet(&unit);
            else
                king->OfferArmy(&unit);
        }
}

void UnitDeleted(CUnit& unit, bool fleet) {
    if (!IsHost())
        return;
    CCountry* owner = unit.GetOwner();
    DebugPrint("%s #%u (%s) is deleted!\n", fleet ? "Fleet" : "Army", unit.GetId().number,
               owner ? owner->GetName() : "");
    if (CAIAgent* agent = unit.GetAIAgent()) {
        unit.SetAIAgent(nullptr);
        if (fleet)
            agent->RemoveFleet(&unit);
        else
            agent->RemoveArmy(&unit);
    }
    if (fleet)
        NotifyUnitAI(7, &CAIEventListener::OnFleetDeleted, unit);
    else
        NotifyUnitAI(6, &CAIEventListener::OnArmyDeleted, unit);
}

} // namespace

void NotifyAIArmyCreated(CUnit& army) {
    UnitCreated(army, false);
}

void NotifyAIFleetCreated(CUnit& fleet) {
    UnitCreated(fleet, true);
}

void NotifyAIArmyDeleted(CUnit& army) {
    UnitDeleted(army, false);
}

void NotifyAIFleetDeleted(CUnit& fleet) {
    UnitDeleted(fleet, true);
}

void NotifyAIBlockade(CProvince& province, int32_t value) {
    if (!IsHost())
        return;
    if (CAIAgent* holder = province.aiHolder)
        holder->OnBlockade(province.GetNumber(), value);
    NotifyAIListeners(15, &CAIEventListener::OnBlockade, province.GetNumber(), value);
}

void NotifyAIOfWars() {
    if (!IsHost())
        return;
    for (const std::unique_ptr<CWar>& war : g_wars) {
        if (!war || !war->attackers || !war->defenders)
            continue;
        const std::vector<uint32_t> attackers = war->attackers->participants;
        const std::vector<uint32_t> defenders = war->defenders->participants;
        for (uint32_t a : attackers)
            for (uint32_t d : defenders)
                NotifyAIListeners(19, &CAIEventListener::OnWar, static_cast<int32_t>(a),
                                  static_cast<int32_t>(d));
    }
}

void NotifyAISeaLinkAdded(CTerritory& land, CTerritory& sea) {
    if (!IsHost() || land.GetKind() != TERRITORY_LAND || sea.GetKind() != TERRITORY_SEA)
        return;
    if (CAIKing* king = ActiveKingOf(land.GetOwner()))
        king->CreateAdmiral(&sea);
}

void NotifyAISeaLinkRemoved(CTerritory& land, CTerritory& sea) {
    if (!IsHost() || land.GetKind() != TERRITORY_LAND || sea.GetKind() != TERRITORY_SEA)
        return;
    if (CAIKing* king = KingOf(land.GetOwner()))
        king->KillAdmiral(&sea);
}

void CancelAIPlansForTerritory(CTerritory& territory) {
    if (!IsHost() || territory.GetKind() != TERRITORY_LAND)
        return;
    for (CCountry* country : g_countries)
        if (CAIKing* king = KingOf(country))
            king->KillGeneral(&territory);
}

// ---------------------------------------------------------------------------
// The seams of the layers below

namespace {

void TellProvinceAI(int32_t kind, CCountry* country, CProvince& province) {
    const int32_t number = country ? static_cast<int32_t>(country->GetNumber()) : 0;
    switch (kind) {
    case 16:
        NotifyAIListeners(16, &CAIEventListener::OnProvinceDiscovered, number,
                          province.GetNumber());
        break;
    case 22:
        NotifyAIListeners(22, &CAIEventListener::OnProvinceOwnerChanged, number,
                          province.GetNumber());
        break;
    case 23:
        NotifyAIListeners(22, &CAIEventListener::OnProvinceOwnerChanged, number,
                          province.GetNumber());
        NotifyAIListeners(23, &CAIEventListener::OnSettlementChanged, number, province.GetNumber());
        break;
    default:
        break;
    }
}

// The country handlers name the kind and two numbers.
void TellListeners(uint32_t kind, uint32_t a, uint32_t b) {
    const auto x = static_cast<int32_t>(a);
    const auto y = static_cast<int32_t>(b);
    switch (kind) {
    case 14:
        NotifyAIListeners3(14, &CAIEventListener::OnCombatResult, x, nullptr, y);
        break;
    case 16:
        NotifyAIListeners(16, &CAIEventListener::OnProvinceDiscovered, x, y);
        break;
    case 17:
        NotifyAIListeners(17, &CAIEventListener::OnRefuseTrade, x, y);
        break;
    case 18:
        NotifyAIListeners(18, &CAIEventListener::OnPeace, x, y);
        break;
    case 19:
        NotifyAIListeners(19, &CAIEventListener::OnWar, x, y);
        break;
    case 21:
        NotifyAIListeners(21, &CAIEventListener::OnProvinceControlChanged, x, y);
        break;
    case 22:
        NotifyAIListeners(22, &CAIEventListener::OnProvinceOwnerChanged, x, y);
        break;
    case 23:
        NotifyAIListeners(23, &CAIEventListener::OnSettlementChanged, x, y);
        break;
    case 24:
        NotifyAIListeners(24, &CAIEventListener::OnMerchantPlaced, x, y);
        break;
    case 25:
        NotifyAIListeners1(25, &CAIEventListener::OnReligionChanged, x);
        break;
    case 27:
        NotifyAIListeners1(27, &CAIEventListener::OnUnitRaised, x);
        break;
    case 28:
        NotifyAIListeners(28, &CAIEventListener::OnCasusBelli, x, y);
        break;
    case 29:
    case 30:
        NotifyAIListeners(kind, &CAIEventListener::OnAllianceChanged, x, y);
        break;
    case 31:
        NotifyAIListeners(31, &CAIEventListener::OnAllianceJoined, x, y);
        break;
    case 32:
        NotifyAIListeners(32, &CAIEventListener::OnAllianceLeft, x, y);
        break;
    case 33:
        NotifyAIListeners(33, &CAIEventListener::OnDiplomacyNotice33, x, y);
        break;
    case 34:
        NotifyAIListeners(34, &CAIEventListener::OnDiplomacyNotice34, x, y);
        break;
    case 35:
        NotifyAIListeners(35, &CAIEventListener::OnLeaderEvent, x, y);
        break;
    default:
        break;
    }
}

// Called from the unit's base destructor: its kind can no longer be asked,
// so it leaves both lists of its holder.
void UnitGone(CUnit& unit) {
    if (CAIAgent* agent = unit.GetAIAgent()) {
        unit.SetAIAgent(nullptr);
        agent->RemoveFleet(&unit);
        agent->RemoveArmy(&unit);
    }
    const std::vector<CAIAgent*> rejecting = unit.aiRejectedBy;
    unit.aiRejectedBy.clear();
    for (CAIAgent* agent : rejecting)
        agent->ForgetRejectedUnit(&unit);
}

void UnitCreatedHere(CUnit& unit) {
    if (unit.IsFleet())
        NotifyAIFleetCreated(unit);
    else
        NotifyAIArmyCreated(unit);
}

// The unit's own notices, types 0-3 and 10-13, to their handlers; any other
// type is none of a unit's and goes nowhere.
void UnitNotice(uint32_t type, CUnit& unit) {
    using Handler = void (CAIEventListener::*)(CUnit&);
    static constexpr std::array<Handler, 14> kHandlers = {&CAIEventListener::OnArmyMoved,
                                                          &CAIEventListener::OnFleetMoved,
                                                          &CAIEventListener::OnArmyStopped,
                                                          &CAIEventListener::OnFleetStopped,
                                                          nullptr,
                                                          nullptr,
                                                          nullptr,
                                                          nullptr,
                                                          nullptr,
                                                          nullptr,
                                                          &CAIEventListener::OnArmyCombatStarted,
                                                          &CAIEventListener::OnFleetCombatStarted,
                                                          &CAIEventListener::OnArmyCombatEnded,
                                                          &CAIEventListener::OnFleetCombatEnded};
    if (type >= kHandlers.size() || !kHandlers[type])
        return;
    NotifyUnitAI(type, kHandlers[type], unit);
}

const void* AgentOf(const CUnit& unit) {
    return unit.GetAIAgent();
}

void LandTouchesSea(CLandTerritory& land, CSeaTerritory& sea) {
    NotifyAISeaLinkAdded(land, sea);
}

void LandLeavesSea(CLandTerritory& land, CSeaTerritory& sea) {
    NotifyAISeaLinkRemoved(land, sea);
}

void LandDeleted(CLandTerritory& land) {
    CancelAIPlansForTerritory(land);
}

const bool g_registered = [] {
    g_countryAI.armyDeleted = &NotifyAIArmyDeleted;
    g_countryAI.fleetDeleted = &NotifyAIFleetDeleted;
    g_countryAI.notifyListeners = &TellListeners;
    g_provinceControl.notifyAI = &TellProvinceAI;
    g_territoryAI.touch = &LandTouchesSea;
    g_territoryAI.untouch = &LandLeavesSea;
    g_territoryAI.deleted = &LandDeleted;
    g_unitStateHooks.agent = &AgentOf;
    g_unitGoneAI = &UnitGone;
    g_unitCreatedAI = &UnitCreatedHere;
    g_unitAI = &UnitNotice;
    return true;
}();

} // namespace

namespace {

// The start of a game: the Kings started with the game-started message
// hear of the wars already running.
const bool g_startRegistered = [] {
    g_gameStartedAI = &NotifyAIOfWars;
    return true;
}();

} // namespace
