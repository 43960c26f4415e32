#pragma once
// The notifications: what the game tells the computer player when something
// happens. One listener list per notification type; the broadcasts call one
// handler of every listener of the type, on the host only (on a client they
// return at once).
//
// Types and their handlers (CAIEventListener, ai/AIAgent.h):
//   0-13   the unit handlers, OnArmyMoved .. OnFleetCombatEnded, in order
//   14 OnCombatResult        20 OnThreatReport        21 OnProvinceControlChanged
//   22 OnProvinceOwnerChanged 27 OnUnitRaised        26 OnSiegeStarted
//   15 OnBlockade            16 OnProvinceDiscovered  28 OnCasusBelli
//   17 OnRefuseTrade         18 OnPeace               19 OnWar
//   25 OnReligionChanged     29, 30 OnAllianceChanged 31 OnAllianceJoined
//   32 OnAllianceLeft        33, 34 the diplomacy notices
//   23 OnSettlementChanged   24 OnMerchantPlaced      35 OnLeaderEvent
//
// The walk over a list: entries of listeners that left are skipped and freed
// once no walk of that list runs; a listener subscribed at the tail during a
// walk is reached by that walk.
#include <array>
#include <cstdint>
#include <functional>

#include "ai/AIAgent.h"
#include "engine/LinkedList.h"

class CCombat;
class CLandTerritory;
class CSeaTerritory;
class CTerritory;

constexpr uint32_t kAIListenerTypes = 36;

// The listener lists, by type.
extern std::array<CLinkedList<CAIEventListener>, kAIListenerTypes> g_aiListeners;

// Clears every entry of the listener in the list of the type.
void RemoveAIListener(CAIEventListener* listener, uint32_t type);
// Clears the listener from every list.
void RemoveAIListenerEverywhere(CAIEventListener* listener);
// Empties every list.
void ClearAIListeners();

// On the host: calls the function with every listener of the type, in list
// order (the broadcast walk).
void NotifyAIListenersWith(uint32_t type, const std::function<void(CAIEventListener&)>& call);
void NotifyAIListeners1(uint32_t type, void (CAIEventListener::*handler)(int32_t), int32_t a);
void NotifyAIListeners(uint32_t type, void (CAIEventListener::*handler)(int32_t, int32_t),
                       int32_t a, int32_t b);
void NotifyAIListeners3(uint32_t type,
                        void (CAIEventListener::*handler)(int32_t, CCombat*, int32_t), int32_t a,
                        CCombat* combat, int32_t c);
void NotifyAIListeners4(uint32_t type,
                        void (CAIEventListener::*handler)(int32_t, int32_t, int32_t, int32_t),
                        int32_t a, int32_t b, int32_t c, int32_t d);
// On the host: first the unit's own agent, then every listener of the type.
void NotifyUnitAI(uint32_t type, void (CAIEventListener::*handler)(CUnit&), CUnit& unit);

void NotifyAIArmyCreated(CUnit& army);
void NotifyAIFleetCreated(CUnit& fleet);
void NotifyAIArmyDeleted(CUnit& army);
void NotifyAIFleetDeleted(CUnit& fleet);
void NotifyAIBlockade(CProvince& province, int32_t value);
// A combat's outcome (0 won, 1 lost, 2 draw) for the country: with the flag
// set, the owner of a besieged province lets its King react unless the
// besiegers were the ones still standing; then type 14 with (country,
// combat, outcome).
void NotifyAICombat(int32_t country, CCombat& combat, int32_t outcome, bool siegeFlag);
// At game start: type 19 for every attacker and defender pair of every war.
void NotifyAIOfWars();
void NotifyAISeaLinkAdded(CTerritory& land, CTerritory& sea);
void NotifyAISeaLinkRemoved(CTerritory& land, CTerritory& sea);
void CancelAIPlansForTerritory(CTerritory& territory);
