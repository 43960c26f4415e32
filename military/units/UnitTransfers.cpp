// What the countries' handlers ask of units when troops, ships and armies
// move between two of them: the strengths, the morale, a fleet's date and
// its cargo.
#include <vector>

#include "country/CountryMilitary.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"

namespace {

// Every army aboard the first fleet goes aboard the second, in cargo
// order; nothing unless both are fleets.
void TransferCargo(CUnit& from, CUnit& to) {
    auto* source = dynamic_cast<CNavalUnit*>(&from);
    auto* target = dynamic_cast<CNavalUnit*>(&to);
    if (!source || !target || source == target)
        return;
    std::vector<CLandUnit*> armies;
    const_cast<CLinkedList<CLandUnit>&>(source->GetCargo()).ForEach([&armies](CLandUnit* army) {
        if (army)
            armies.push_back(army);
    });
    for (CLandUnit* army : armies)
        if (source->UnloadArmy(army))
            target->LoadArmy(army);
}

const bool g_registered = [] {
    g_countryMilitary.unitStrength = [](const CUnit& unit, int32_t index) {
        return index >= 0 && index < 3 ? unit.GetStrength(index) : 0.0f;
    };
    g_countryMilitary.setUnitStrength = [](CUnit& unit, int32_t index, float value) {
        if (index >= 0 && index < 3)
            unit.SetStrength(index, value);
    };
    g_countryMilitary.unitMorale = [](const CUnit& unit) { return unit.morale; };
    g_countryMilitary.setUnitMorale = [](CUnit& unit, float morale) { unit.morale = morale; };
    g_countryMilitary.fleetDate = [](const CUnit& unit) {
        const auto* fleet = dynamic_cast<const CNavalUnit*>(&unit);
        return fleet ? fleet->portDate : CDate();
    };
    g_countryMilitary.setFleetDate = [](CUnit& unit, const CDate& date) {
        if (auto* fleet = dynamic_cast<CNavalUnit*>(&unit))
            fleet->portDate = date;
    };
    g_countryMilitary.transferCargo = TransferCargo;
    return true;
}();

} // namespace
