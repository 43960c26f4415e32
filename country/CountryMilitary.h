#pragma once
// What a country asks of its units and its monarch. They are military
// objects, and the military lies above the countries: military/units/Unit.cpp
// fills the unit entries and military/units/Monarch.cpp the monarch entries of
// g_countryMilitary once, by a static registration. An entry that is still
// null answers as a game without units and monarchs: a "navalunit",
// "landunit", "monarch" or "historicalmonarch" block of a country is read and
// dropped, and a country then has none to write or delete.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/ObjectId.h"

class CCountry;
class CDataBlock;
class CFieldReader;
class CLeader;
class CMonarch;
class COVEvent;
class CUnit;

// What the countries read of a unit (deleting it, rebels, annexation).
struct UnitFacts {
    ObjectId id;
    std::string name;
    bool fleet = false;
    bool destroyed = false; // already marked destroyed
    float strength = 0.0f;  // men of an army, ships of a fleet
    int32_t province = 0;
    // An army's infantry, cavalry and artillery, each raised to the next
    // whole number.
    std::array<int32_t, 3> troops{};
    // The armies a fleet carries, in cargo order.
    std::vector<CUnit*> cargo;
};

// --- armies, fleets, leaders and monarchs made by the country's messages ---
// A new army or fleet as the country orders it.
struct NewUnitOrder {
    ObjectId id;
    int32_t province = 0;
    // An army's infantry, cavalry, artillery; a fleet's warships, galleys,
    // transports.
    std::array<float, 3> strengths{};
    float morale = 0.0f;
    std::string name;
    // The day it is ready: until its "_COVEVT_UNIT_FINISH_" it is raised.
    CDate ready;
};

// What the country's handlers read of a leader.
struct LeaderFacts {
    bool historical = false;
    int32_t category = 0;
};
// --- end of the armies, fleets, leaders and monarchs ---

struct CountryMilitaryHooks {
    // military: reads a "navalunit" (fleet) or "landunit" block whose "{"
    // has been taken, up to and including its "}", into a new unit of the
    // country, which files it in one of its unit lists.
    void (*readUnit)(CCountry& country, CFieldReader& in, bool fleet) = nullptr;
    // military: the unit's block as a new node (owned by the caller) and
    // its keyword; null for an army aboard a fleet, whose block the fleet's
    // carries.
    CDataBlock* (*writeUnit)(const CUnit& unit, uint32_t& keyword) = nullptr;
    // military: deletes the units, which the country has taken off its
    // lists.
    void (*deleteUnits)(const std::vector<CUnit*>& units) = nullptr;

    // military: reads a "monarch" (historical: "historicalmonarch") block
    // whose "{" has been taken, up to and including its "}", and makes it
    // the country's monarch.
    void (*readMonarch)(CCountry& country, CFieldReader& in, bool historical) = nullptr;
    // military: the monarch's id.
    ObjectId (*monarchId)(const CMonarch& monarch) = nullptr;
    // military: the monarch's block as a new node (owned by the caller) and
    // its keyword.
    CDataBlock* (*writeMonarch)(const CMonarch& monarch, uint32_t& keyword) = nullptr;
    void (*deleteMonarch)(CMonarch* monarch) = nullptr;
    // military: a new historical monarch of the country's monarch table,
    // read from a "historicalmonarch" block whose "{" has been taken (up to
    // and including its "}") and registered with the leader registry; the
    // caller owns it. Null: the table keeps such blocks as read.
    CMonarch* (*readTableMonarch)(CCountry& country, CFieldReader& in) = nullptr;
    // military: the monarch's ADM, DIP and MIL. Null: every value is 3.
    void (*monarchValues)(const CMonarch& monarch, int32_t& adm, int32_t& dip,
                          int32_t& mil) = nullptr;

    // military: the unit's message operation (EVENT_NOT_HANDLED: not mine).
    // Null: units take no messages.
    int (*unitMessage)(CUnit& unit, COVEvent& event) = nullptr;
    // military: the message distribution of the country's second unit list,
    // which also reaches the armies its fleets carry. Null: each unit of the
    // list is offered the message through unitMessage until one takes it.
    int (*unitListMessage)(CLinkedList<CUnit>& units, COVEvent& event) = nullptr;

    // military: the unit recomputes its strength from its country's
    // technology. Null: nothing.
    void (*recomputeStrength)(CUnit& unit) = nullptr;
    // military: a fleet that can blockade has the blockades around its
    // province evaluated again. Null: nothing.
    void (*reevaluateBlockades)(CUnit& unit) = nullptr;
    // --- rebels and annexation ---
    // military: the unit and its leaders take the country as their owner
    // (the caller moves it between the unit lists).
    void (*setUnitOwner)(CUnit& unit, CCountry& country) = nullptr;
    // military: the unit reports men lost to its owner ("_COVEVT_UNITLOSSES_",
    // at once and sent); nothing for an amount of 0 or less.
    void (*sendUnitLosses)(CUnit& unit, float amount, uint8_t cause) = nullptr;
    // --- end of rebels and annexation ---
    // --- the month's unit and leader counts ---
    // military: the troops in the country's armies and fleets (an army
    // aboard a fleet counted once), each unit's strength taken up to the
    // next whole number, in the order infantry, cavalry, artillery,
    // warships, galleys, transports. Null: none.
    void (*unitTotals)(const CCountry& country, std::array<int32_t, 6>& totals) = nullptr;
    // military: the leaders of the category (2 conquistador, 3 explorer)
    // among the leaders of the country's units. Null: 0.
    int32_t (*countLeaders)(const CCountry& country, int32_t category) = nullptr;
    // --- deleting a unit and refreshing the military state
    // (CCountry::DeleteUnit, CCountry::RefreshMilitaryState) ---
    // military: the unit registered under the id, null when none. Null: the
    // game has no units and DeleteUnit does nothing.
    CUnit* (*findUnit)(const ObjectId& id) = nullptr;
    // military: the unit stands in the country's lists (its own, not a
    // siege's garrison). Null: the lists are searched.
    bool (*isListedUnit)(const CUnit& unit, const CCountry& country) = nullptr;
    // military: what DeleteUnit reads of the unit.
    void (*describeUnit)(const CUnit& unit, UnitFacts& facts) = nullptr;
    // military: an army aboard a fleet leaves the fleet's cargo; then the
    // unit's own clean-up runs.
    void (*releaseUnit)(CUnit& unit) = nullptr;
    // military: the map object left where the unit stood (a fleet's map
    // sprite, an army's province marker), in display-list layer 401.
    void (*leaveWreck)(const CUnit& unit) = nullptr;
    // military: the unit, about to be deleted, leaves the combats of its
    // province.
    void (*retireUnit)(CUnit& unit) = nullptr;
    // military: the monarch's name. Null: the ruler is named after the
    // country.
    const char* (*monarchName)(const CMonarch& monarch) = nullptr;
    // military, on the host: the combat server checks the country's
    // combats again.
    void (*checkCombats)(CCountry& country) = nullptr;
    // military: the supply of the country's armies and their trespass
    // flags.
    void (*updateSupply)(CCountry& country) = nullptr;
    void (*updateTrespassFlags)(CCountry& country) = nullptr;
    // --- the handlers' moves of troops, ships and leaders between units
    // (country/HandlersForces.cpp) ---
    // military: a strength of the unit by its index (an army's artillery 0,
    // cavalry 1, infantry 2; a fleet's warships 0, galleys 1, transports
    // 2), and its morale. Null: the game has no units to move between.
    float (*unitStrength)(const CUnit& unit, int32_t index) = nullptr;
    void (*setUnitStrength)(CUnit& unit, int32_t index, float value) = nullptr;
    float (*unitMorale)(const CUnit& unit) = nullptr;
    void (*setUnitMorale)(CUnit& unit, float morale) = nullptr;
    // military: a fleet's date (the day it was last in port).
    CDate (*fleetDate)(const CUnit& fleet) = nullptr;
    void (*setFleetDate)(CUnit& fleet, const CDate& date) = nullptr;
    // military: the leader leaves the first unit and joins the second;
    // every leader of the first joins the second; every army aboard the
    // first fleet is loaded onto the second, in cargo order.
    void (*transferLeader)(CUnit& from, CUnit& to, const ObjectId& leader) = nullptr;
    void (*transferAllLeaders)(CUnit& from, CUnit& to) = nullptr;
    void (*transferCargo)(CUnit& from, CUnit& to) = nullptr;
    // --- end of the handlers' moves ---
    // --- the monarch's values and name set by messages ---
    // military: the monarch takes the ADM, DIP and MIL. Null: nothing.
    void (*setMonarchValues)(CMonarch& monarch, int32_t adm, int32_t dip, int32_t mil) = nullptr;
    // military: the monarch takes the name. Null: nothing.
    void (*setMonarchName)(CMonarch& monarch, const std::string& name) = nullptr;
    // --- end of the monarch's values and name ---
    // --- armies, fleets, losses, leaders and monarchs made by the country's
    // messages (country/HandlersUnits.cpp; military/CountryForces.cpp) ---
    // military: a new army (infantry, cavalry, artillery) or fleet
    // (warships, galleys, transports) of the country, standing in its
    // province under the order's id, not yet in a unit list (the caller
    // files it). Null, or null answered: no unit is made.
    CUnit* (*makeUnit)(CCountry& country, bool fleet, const NewUnitOrder& order) = nullptr;
    // military: the unit's value at its owner's prices, truncated. Null: 0.
    int32_t (*unitCost)(const CUnit& unit) = nullptr;
    // military: the fleet takes the army aboard; false when the first is no
    // fleet or the second no army. Null: nothing goes aboard.
    bool (*loadArmy)(CUnit& fleet, CUnit& army) = nullptr;
    // military: the unit takes the men lost (type 52) or the losses by kind
    // (type 316; an army's infantry, cavalry, artillery, a fleet's
    // warships, galleys, transports) with the cause. Null: nothing.
    void (*applyLosses)(CUnit& unit, float amount, uint8_t cause) = nullptr;
    void (*applySizeLosses)(CUnit& unit, const std::array<float, 3>& losses,
                            uint32_t cause) = nullptr;
    // military: the unit waits to be finished (it is still being raised).
    bool (*unitWaiting)(const CUnit& unit) = nullptr;
    // military: a new leader of the country from the leader record of a
    // "_COVEVT_CREATE_LEADER_" message, filed in the country's new leaders;
    // false (nothing made) for an id that is not a leader's or that another
    // leader holds.
    bool (*createLeader)(CCountry& country, const COVEvent& record) = nullptr;
    // military: what the handlers read of a leader; false when no leader has
    // the id.
    bool (*describeLeader)(const ObjectId& leader, LeaderFacts& facts) = nullptr;
    // military: the unit takes the leader (a new leader of the country
    // passes from its list to the unit); false when no leader has the id.
    bool (*attachLeader)(CCountry& country, CUnit& unit, const ObjectId& leader) = nullptr;
    // military: the leader leaves his unit and is deleted (or, a leader of
    // history that nobody here owns, leaves the leader registry); false when
    // no leader has the id.
    bool (*killLeader)(CCountry& country, const ObjectId& leader) = nullptr;
    void (*deleteLeader)(CLeader* leader) = nullptr;
    // military: a new monarch (with its leader part) from the monarch
    // record of a "_COVEVT_CREATE_MONARCH_" message, of the country; the
    // caller owns it. Null: no monarch is made.
    CMonarch* (*makeMonarch)(CCountry& country, const COVEvent& record) = nullptr;
    // events: a new monarch's historical events are posted (the event
    // value of the accession); the names of the reigning monarch's events
    // for the notice. Null: none, an empty text.
    void (*postMonarchEvents)(CCountry& country, int32_t value) = nullptr;
    std::string (*monarchEventNames)(const CCountry& country) = nullptr;
    // --- end of the armies, fleets, losses, leaders and monarchs ---
    // --- names of new units and colonies (military/units/UnitNames.cpp) ---
    // military, on the host: the new army or fleet, or the new colony of
    // the province, gets its name from the country's name lists (posted for
    // every machine, due tomorrow). Null: the name stays as made.
    void (*nameNewUnit)(const CUnit& unit) = nullptr;
    void (*nameNewColony)(int32_t province) = nullptr;
    // --- end of the names of new units and colonies ---
    // --- a unit's siege combat (CCountry::SendSiegeAssault) ---
    // military: true when the unit is besieging (CUnit::IsInSiege), with
    // the type and id of its combat (CUnit::GetCombat, CCombat::GetType).
    // Null: no unit is in a combat.
    bool (*unitSiegeCombat)(const CUnit& unit, uint32_t& combatType, ObjectId& combat) = nullptr;
    // --- end of a unit's siege combat ---
};

// Constant-initialised (all null) before any static registration runs.
extern CountryMilitaryHooks g_countryMilitary;
