#include <gtest/gtest.h>

#include "country/Country.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"

// A country owns its units and its monarch: deleting it deletes its fleets
// (which set their cargo ashore), then its armies, touching no unit after it
// is gone, and its monarch.
TEST(CountryLifetime, DeletingACountryWithAFleetCarryingAnArmyFreesBoth) {
    auto country = std::make_unique<CCountry>(5);
    auto* fleet = new CNavalUnit(country.get());
    auto* carried = new CLandUnit(country.get());
    auto* ashore = new CLandUnit(country.get());
    fleet->LoadArmy(carried);
    country->AddUnit(fleet);
    country->AddUnit(carried);
    country->AddUnit(ashore);
    country->m_unitsInDevelopment.AddTail(new CLandUnit(country.get()));
    country->m_monarch.reset(new CHistoricalMonarch);
    country.reset(); // the sanitizers report any use after free or leak
    SUCCEED();
}
