#pragma once
// The host's unit requests (category 1 of the host request dispatcher):
// splitting armies and fleets, detachments, siege and cover forces,
// disbanding, merging, transfers of troops and ships between two units, the
// overload fix of a fleet and the cancelling of a construction. The host
// checks each request against the units as they stand and carries it out as
// creation, transfer and disband messages run at once and sent, so that
// every machine makes the same change. A request that fails a check is
// dropped without an answer (a trace line says why).
#include <cstdint>

#include "engine/ObjectId.h"

class COVEvent;
class CUnit;

// Carries out the request on the host; a client and the other message
// types do nothing. Answers 0 always.
int HandleUnitRequest(COVEvent& event);

// Whether the transfer request (107..112) of the amount from the source to
// the receiving unit may go ahead: both units exist, are neither fighting
// nor moving nor being built, belong to one owner, stand in one province
// and are of the kind the transfer moves (armies for troops, fleets for
// ships), and they are two. Troops: when what would stay behind is under a
// regiment (1000 men, 10 pieces), the amount becomes all of it. Ships:
// false when the source has fewer than the amount.
bool CheckTransferRequest(uint32_t type, const CUnit* source, const CUnit* target, int64_t& amount);
// The transfer message (request type + 6) of the amount from the source to
// the receiving unit, run at once and sent; a fleet's overload is fixed
// afterwards.
void SendTransfer(uint32_t type, CUnit& source, const ObjectId& target, int64_t amount);

// A new army (fleet) in the unit's province that takes the fraction of each
// strength, and the first leader after the commander when the unit has two
// or more; a fleet's overload is fixed afterwards. The new unit, null while
// the country has not made it.
CUnit* SplitArmy(CUnit& army, float fraction);
CUnit* SplitFleet(CUnit& fleet, float fraction);
// As the splits, but the old unit keeps the given counts and the new one
// takes the rest of each (none when it has less); no overload fix.
CUnit* SplitArmyKeeping(CUnit& army, int32_t infantry, int32_t cavalry, int32_t artillery);
CUnit* SplitFleetKeeping(CUnit& fleet, int32_t warships, int32_t galleys, int32_t transports);
// A new fleet that takes the amount by the transfer type (116 warships, 117
// transports, 118 galleys) and the leader as a split chooses it.
CUnit* CreateShipDetachment(uint32_t transferType, CUnit& fleet, int32_t amount);
// "_COVEVT_TRANSFER_ONE_LEADER_" of the leader from the source to the
// receiving unit, run at once and sent; nothing for the null leader.
void SendTransferOneLeader(CUnit& source, const ObjectId& target, const ObjectId& leader);

// Brings the armies aboard the fleet within its space (warships + galleys +
// 2 x transports): first into the second fleet (an army made aboard it when
// it carries none), then by losses, pass after pass; it stops after a few
// passes or when a pass changes nothing, and then sets the armies that
// still do not fit ashore in port (disbanded) or, at sea, deletes them,
// last aboard first.
void FixFleetOverload(CUnit& fleet, CUnit* second);
