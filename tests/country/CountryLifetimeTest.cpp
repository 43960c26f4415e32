#include <gtest/gtest.h>

#include "country/Country.h"
#include "military/Unit.h"

// A country owns its units: deleting it deletes its fleets (which set their
// cargo ashore) and then its armies, touching no unit after it is gone.
TEST(CountryLifetime, DeletingACountryWithAFleetCarryingAnArmyFreesBoth) {
    auto country = std::make_unique<CCountry>(5);
    auto* fleet = new CNavalUnit(country.get());
    auto* carried = new CLandUnit(country.get());
    auto* ashore = new CLandUnit(country.get());
    fleet->LoadArmy(carried);
    country->AddUnit(fleet);
    country->AddUnit(carried);
    country->AddUnit(ashore);
    country.reset(); // the sanitizers report any use after free or leak
    SUCCEED();
}
