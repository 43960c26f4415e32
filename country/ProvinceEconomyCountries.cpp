// What the provinces' economy asks of the countries and that they can
// answer now: whether a country exists, its state religion and its
// hostility. The economy's figures (efficiencies, stability, war taxes,
// naval level, trade volume) come with the countries' economy and stay
// empty until then.
#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "world/ProvinceEconomy.h"

namespace {

const bool g_registered = [] {
    g_provinceEconomy.countryExists = [](int32_t number) {
        return CountryOfNumber(number) != nullptr;
    };
    g_provinceEconomy.stateReligionOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? static_cast<int32_t>(country->m_religion.stateReligion) : -1;
    };
    g_provinceEconomy.isHostileTo = [](int32_t country, int32_t other) {
        return CountryIsHostileTo(country, other);
    };
    return true;
}();

} // namespace
