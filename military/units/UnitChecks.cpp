// Checks on units before they are split, merged, disbanded, reorganised or
// sent along a path. Every check reads the units and changes nothing.
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr float kMenToSplitArmy = 2000.0f;
constexpr float kShipsToSplitFleet = 10.0f;

// The unit fights in a field combat or takes part in a siege.
bool IsInCombat(const CUnit& unit) {
    return unit.IsInCombat();
}

// An army carried by a fleet.
bool IsAboard(const CUnit& unit) {
    const auto* army = dynamic_cast<const CLandUnit*>(&unit);
    return army && army->GetCarrier();
}

// The three strengths of the unit (an army's men and pieces, a fleet's
// ships).
float StrengthSum(const CUnit& unit) {
    return unit.GetStrength(0) + unit.GetStrength(1) + unit.GetStrength(2);
}

} // namespace

bool CUnit::CanReorganise() const {
    return !IsInCombat() && IsPathEmpty();
}

bool CUnit::PathStartCheck() const {
    if (IsPathEmpty() || IsAboard(*this))
        return false;
    if (const auto* fleet = dynamic_cast<const CNavalUnit*>(this))
        if (fleet->GetCargo().GetCount() > 0)
            return false;
    const CProvince* province = GetProvince(GetLocation());
    if (!province || !g_pathSearchHooks.provinceSymbolLevel)
        return false;
    return g_pathSearchHooks.provinceSymbolLevel(*province) >= 1;
}

bool CanSplitUnit(const CUnit& unit) {
    if (IsInCombat(unit) || IsAboard(unit))
        return false;
    return StrengthSum(unit) >= (unit.IsFleet() ? kShipsToSplitFleet : kMenToSplitArmy);
}

bool CanDisbandUnits(const std::vector<const CUnit*>& units) {
    if (CScenario::IsTutorial())
        return false;
    for (const CUnit* unit : units)
        if (!unit || IsInCombat(*unit) || IsAboard(*unit))
            return false;
    return true;
}

bool CanMergeUnits(const std::vector<const CUnit*>& units) {
    if (units.size() < 2)
        return false;
    for (const CUnit* unit : units)
        if (!unit || IsInCombat(*unit) || unit->GetLocation() != units.front()->GetLocation() ||
            IsAboard(*unit))
            return false;
    return true;
}
