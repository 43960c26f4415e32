#pragma once
// Lists of units: the units standing in a province, a selection, the armies
// aboard a fleet, the unit lists of the computer player. A list does not own
// its units; it answers questions over them and sends their move orders.
//
// Strength conventions: every count rounds each strength up before summing.
// An army needs ceil(infantry / 1000) + ceil(cavalry / 1000) +
// ceil(artillery / 10) transport places; a fleet offers 2 x transports +
// galleys + warships, less the needs of the armies it carries.
#include <cstdint>
#include <functional>

#include "engine/LinkedList.h"
#include "military/units/Unit.h"

class CCountry;
class CLandUnit;
class CNavalUnit;
class CProvince;

// What the lists (and the unit server) ask of a unit's combats, its agent
// its landing rules, attrition, morale and retreat. The owners of those parts fill the entries by a
// static registration; a null entry answers as a unit in no combat, held by
// no agent, that may land anywhere, is not dying, loses nothing to
// attrition, regains no morale and finds no retreat.
struct UnitStateHooks {
    // The type of the unit's current combat (1 land, 2 naval, 3 cover, 4
    // siege, 5 assault), 0 in none.
    int32_t (*combatType)(const CUnit& unit) = nullptr;
    // The computer player's agent that holds the unit (null: none).
    const void* (*agent)(const CUnit& unit) = nullptr;
    // CNavalUnit::CanUnloadTo: the fleet may set armies ashore there.
    bool (*canUnloadTo)(const CNavalUnit& fleet, int32_t province) = nullptr;
    // The unit's dying flag.
    bool (*dying)(const CUnit& unit) = nullptr;
    // CUnit::GetMonthlyAttrition (null: 0).
    float (*monthlyAttrition)(const CUnit& unit) = nullptr;
    // CUnit::RegainMorale: a step toward the owner's morale; true when the
    // morale changed (null: false).
    bool (*regainMorale)(CUnit& unit) = nullptr;
    // CUnit::FindRetreatProvince (null: 0, nowhere).
    int32_t (*findRetreatProvince)(const CUnit& unit) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern UnitStateHooks g_unitStateHooks;

// The combat type of the unit through the hooks (0 in none).
int32_t UnitCombatType(const CUnit& unit);
inline bool UnitInCombat(const CUnit& unit) {
    return UnitCombatType(unit) != 0;
}
// The fleet that carries the army; null for a fleet or an army on land.
CNavalUnit* UnitCarrier(const CUnit& unit);

// The transport places the army needs (0 for a fleet).
int32_t ArmyTransportNeed(const CUnit& army);
// The transport places the fleet offers (0 for an army).
int32_t FleetTransportSpace(const CUnit& fleet);
// The places the armies aboard the fleet take.
int32_t FleetCargoLoad(const CUnit& fleet);
// Space less load; below 0 when overloaded.
inline int32_t FleetFreeSpace(const CUnit& fleet) {
    return FleetTransportSpace(fleet) - FleetCargoLoad(fleet);
}
// Armies: infantry + cavalry + 100 x artillery; fleets: warships + galleys
// (each rounded up).
int32_t UnitCombatSize(const CUnit& unit);

// What the main game screen lends to the drawing of a stack of units: the
// label of the stack's size beside the figure and the selection marker over
// a selected unit, both at the figure's screen point. A null entry draws
// nothing.
struct UnitStackHooks {
    void (*drawLabel)(int32_t screenX, int32_t screenY, int32_t size) = nullptr;
    void (*drawSelectionMarker)(const CUnit& unit, int32_t screenX, int32_t screenY) = nullptr;
};
extern UnitStackHooks g_unitStackHooks;

// How far a stack's flags stand above the figure: in a combat less, drawn
// selected more.
constexpr int32_t kFlagRaise = 53;
constexpr int32_t kFlagRaiseInCombat = 47;
constexpr int32_t kFlagRaiseSelected = 25;
// Only this many flags of one stack are placed.
constexpr int32_t kStackFlagsPlaced = 9;

class CUnitList : public CLinkedList<CUnit> {
public:
    // --- queries; an empty list answers 0, false or null ---
    bool AnyHasPath() const;
    bool AnyInCombat() const;
    bool ContainsArmy() const;
    bool AnyCanExplore() const;
    bool HasUnitOf(const CCountry* country) const;
    // The province all units stand in; null when empty, when they differ,
    // or when they stand in no province (aboard).
    CProvince* GetCommonProvince() const;
    // Not empty, and all units share one province id.
    bool AllInOneProvince() const;
    // Not empty, in one province, none in a combat, none with a path.
    bool AllIdleTogether() const;

    int32_t TotalCombatSize() const;
    int32_t TotalSizeOf(const CCountry* country) const;
    float TotalStrengthSum() const;
    // Over the armies only (rounded up).
    int32_t TotalInfantry() const;
    int32_t TotalCavalry() const;
    int32_t TotalArtillery() const;
    // Over the fleets only (rounded up).
    int32_t TotalWarships() const;
    int32_t TotalGalleys() const;
    int32_t TotalTransports() const;
    // Over the armies: the sum of their transport needs.
    int32_t TotalArmyStrength() const;
    // The country whose units sum to the largest combat size; on a tie the
    // one that reached the top first in list order.
    CCountry* GetStrongestCountry() const;
    // Morale weighted by combat size; 0 when the sizes sum to 0.
    float GetAverageMorale() const;
    int32_t TotalTransportSpace() const;
    int32_t TotalCargoLoad() const;
    int32_t FreeTransportSpaceOf(const CCountry* country) const;
    // The fleets with the army's owner and agent, in no combat, have room
    // for the army together (an overloaded fleet counts against it).
    bool HasRoomFor(const CUnit& army) const;
    // The fleets in no combat carry the armies, owner by owner.
    bool CanCarryArmies(const CUnitList& armies) const;
    // Every item, taken as a fleet, may land armies in the province; true
    // when empty.
    bool CanUnloadTo(int32_t province) const;

    // --- commands ---
    void SetMoraleAll(float morale);
    // Appends every unit to the other list, then empties this one.
    void MoveAllTo(CUnitList& other);
    // On the host: each unit with attrition above 0 reports its losses.
    void ApplyMonthlyAttrition();
    // SendMoveAddDest with the replace flag.
    void MoveTo(int32_t destination);
    // A move order per unit to the unit server (type 50), run at once and
    // sent; retreating units get none.
    void SendMoveAddDest(int32_t destination, uint8_t flag);

    // --- the stacks on the map (military/units/UnitStack.cpp) ---
    // Lays out the flags of the units standing with the placement: walking
    // from the tail, the k-th of the n such units (k counting down from n)
    // stands (k / 2 + 1) x 6 pixels right of its figure when k is even,
    // 6 - k / 2 x 6 when odd (15 more to the left drawn selected), raised
    // above it (see kFlagRaise; the raise shifted right by the zoom). Only
    // the units met last, k below 10, have their flags placed; the others
    // keep theirs. A selected unit sets selectedInStack.
    void LayoutFlags(int32_t placement, bool drawnSelected, bool inCombat);
    // The layout of each placement: standing (raised as in a combat when a
    // unit of the list fights), moving, defending, attacking; selectedInStack
    // is worked out anew.
    void LayoutAllFlags(bool drawnSelected);
    // Draws the stack of the placement onto the screen: the flags, the
    // figure of its first unit (15 left and 25 up drawn selected), the
    // label of its size while the map is not zoomed out and it is not drawn
    // selected (armies in thousands, fleets in ships), each unit's portrait
    // under the figure from 8 pixels down, one below the other a pixel apart
    // (an army's 10 lower, a fleet's in port 3 higher), and the selection
    // marker over its selected units. False when no unit stands with the
    // placement.
    bool DrawStack(int32_t placement, bool drawnSelected);
    // The animation tick to every unit's flag and figure, and to those of
    // the armies aboard the fleets.
    void AnimationTick(COVEvent& tick);
    // The first unit whose portrait is under the screen point; for a fleet
    // whose cargo marker is hit, the first army aboard. Null when none.
    CUnit* HitTest(int32_t screenX, int32_t screenY) const;
    // The visitor gets each unit that passes the filter (none: every unit)
    // and stands in a province on the screen that is shown in colour, with
    // its figure's map position.
    void VisitVisible(const std::function<bool(const CUnit&)>& filter,
                      const std::function<void(CUnit&, MapPoint)>& visitor) const;

    // A unit of the list is selected (set by the flag layout).
    bool selectedInStack = false;
};

// Fills the list with the units of every country that stand in the
// province (armies aboard stand in none), in country order.
void CollectProvinceUnits(int32_t province, CUnitList& out);

// The transport places the armies of the country in the land neighbours of
// the province need whose next step leads into it.
int32_t GetEmbarkingNeed(const CCountry* country, int32_t province);
