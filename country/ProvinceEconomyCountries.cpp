// What the provinces' economy asks of the countries: whether a country
// exists, its state religion, its hostility, its stability and the tax
// through it, its naval level, and the efficiencies of its trade and
// infrastructure levels, and the months of war tax left. The trade volume
// comes with the computer player and stays empty until then.
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
    g_provinceEconomy.stabilityOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_technology.stability.level : 0;
    };
    g_provinceEconomy.applyStabilityToTax = [](int32_t number, float tax) {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->ApplyStabilityToTax(tax) : tax;
    };
    g_provinceEconomy.navalLevelOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_technology.naval.level : 0;
    };
    g_provinceEconomy.tradeEfficiencyOf = [](int32_t number) {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->GetTradeEfficiency() : 1.0f;
    };
    g_provinceEconomy.productionEfficiencyOf = [](int32_t number) {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->GetProductionEfficiency() : 1.0f;
    };
    g_provinceEconomy.warTaxMonthsOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_warTaxMonths : 0;
    };
    return true;
}();

} // namespace
