#pragma once
// The host's authority over unit movement (g_unitServerId {2, 3}). A move
// order reaches it as "_COVEVT_UNITMOVE_ADD_DEST_"; it finds the path, tells
// every machine the path ("_COVEVT_UNITMOVEPATH_") and posts the unit's next
// step (type 57) for itself at the arrival date. When a step falls due it
// checks the province, schedules the following step and has the unit enter
// (or board a fleet, or land) through messages every machine carries out.
// It also cancels moves, re-routes retreating units and does the units'
// monthly work: attrition, morale, and the end of retreating units with
// nowhere to go. Only the host runs it; it keeps no state of its own.
#include <cstdint>

#include "engine/ObjectId.h"

class CCountry;
class CLandUnit;
class COVEvent;
class CUnit;
class CUnitList;

// What the server asks of the combats and of the host's unit requests. The
// owners fill the entries by a static registration; a null entry answers
// as a game without that part (no retreat request, no combat to leave, no
// attrition check, no sieges, no split: an army too large for the fleets
// stays where it is).
struct UnitServerHooks {
    // The unit's side in its field combat asks to retreat to the province.
    void (*requestRetreat)(CUnit& unit, int32_t province) = nullptr;
    // The unit leaves its cover or siege.
    void (*removeFromCombats)(CUnit& unit) = nullptr;
    // The combat server's attrition check after losses.
    void (*checkAttrition)(CUnit& unit) = nullptr;
    // The month's morale work of the sieges in the country's provinces.
    void (*refreshSieges)(CCountry& country) = nullptr;
    // The host's split: leaves the amounts in the army and answers the new
    // army that holds the rest (null when it cannot split).
    CLandUnit* (*splitArmy)(CLandUnit& army, float infantry, float cavalry,
                            float artillery) = nullptr;
    // CUnit::SendSizeLosses: losses per strength column (a, b, c) and cause,
    // run at once and sent.
    void (*sendSizeLosses)(CUnit& unit, float a, float b, float c, uint32_t cause) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern UnitServerHooks g_unitServerHooks;

class UnitServer : public CIdValue {
public:
    UnitServer();

    // 21 the month, 50 a move order, 54 back to the owner's land, 57 a step;
    // other types are ignored. Answers 0.
    virtual int HandleEvent(COVEvent& event);

    // A unit id that names no unit, or a destination outside 1..1472, is
    // dropped with a trace line.
    void AddDestination(CUnit* unit, int32_t destination, uint8_t replace);
    void ScheduleMoveStep(CUnit& unit, int32_t from, int32_t to);
    void CancelMove(CUnit& unit);
    // Boards the army onto the fleets of the list (the units of a sea zone),
    // splitting it when no single fleet holds it; at most 10 attempts.
    void BoardAtSea(const CUnitList& units, CLandUnit& army);
    void OnGotoFriendlyProvince(CUnit& unit);
    void OnMoveStep(COVEvent& step);
    void OnMonth();
};

// Made with the host's servers at scenario start; null before.
extern UnitServer* g_unitServer;

// Called by the unit when it leaves its province: the pending step, if
// any, is addressed to nobody and forgotten.
void ClearPendingMoveStep(CUnit& unit);
// Losses with cause 0, then the combat server's attrition check.
void ApplyUnitLosses(CUnit& unit, float amount);
// The unit registered under the id, or null.
CUnit* FindUnitById(const ObjectId& id);
