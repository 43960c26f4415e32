// What the settlements ask of the countries that own them.
#include "country/Country.h"
#include "world/Settlement.h"

namespace {

void SetCapital(int32_t number, int32_t province) {
    if (CCountry* country = CountryOfNumber(number))
        country->m_capital = province;
}

const bool g_settlementCountriesRegistered = [] {
    g_settlementCountries.setCapital = &SetCapital;
    return true;
}();

} // namespace
