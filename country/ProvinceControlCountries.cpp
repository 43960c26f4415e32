// What a province's control, ownership, discovery and supply ask of the
// countries: their standing toward each other, their technology levels, their
// known-province and settlement lists and their capital.
#include "country/Country.h"
#include "country/DiplomaticQueries.h"
#include "world/ProvinceControl.h"

namespace {

const bool g_registered = [] {
    ProvinceControlHooks& hooks = g_provinceControl;
    hooks.isHostileTo = [](int32_t country, int32_t other) {
        return CountryIsHostileTo(country, other);
    };
    hooks.hasAccessTo = [](int32_t country, int32_t other) {
        return CountryHasAccessTo(country, other);
    };
    hooks.isAlliedWith = [](int32_t country, int32_t other) {
        const CCountry* self = CountryOfNumber(country);
        return self && self->IsAlliedWith(other);
    };
    hooks.isCobelligerentWith = [](int32_t country, int32_t other) {
        const CCountry* self = CountryOfNumber(country);
        return self && self->IsCobelligerentWith(other);
    };
    hooks.isBarredByDemarcation = [](int32_t country, int32_t province) {
        const CCountry* self = CountryOfNumber(country);
        return self && self->IsBarredByDemarcationTreaty(province);
    };
    hooks.landLevelOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_technology.land.level : 0;
    };
    hooks.navalLevelOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_technology.naval.level : 0;
    };
    hooks.knownProvinces = [](CCountry& country) { return &country.m_knownProvinces; };
    hooks.joinCity = [](CCountry& country, CCity* city) {
        if (city && !country.m_cities.Contains(city))
            country.m_cities.AddTail(city);
    };
    hooks.joinTradingPost = [](CCountry& country, CTradingPost* post) {
        if (post && !country.m_tradingPosts.Contains(post))
            country.m_tradingPosts.AddTail(post);
    };
    hooks.recomputeCapital = [](CCountry& country) { country.RecomputeCapital(); };
    return true;
}();

} // namespace
