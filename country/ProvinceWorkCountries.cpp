// What a province's monthly work and revolt risk ask of the countries: the
// tolerance, the last peace and bankruptcy, the event modifiers, the national
// provinces, the capital, trade refusals, the ledger and access. The fourth
// trade flag has no field in the country yet and reads as clear.
#include "country/Country.h"
#include "world/ProvinceWork.h"

namespace {

const bool g_registered = [] {
    g_provinceWork.toleranceOf = [](int32_t number, int32_t religion) {
        const CCountry* country = CountryOfNumber(number);
        return country && religion >= 0
                   ? country->m_religion.GetTolerance(static_cast<uint32_t>(religion))
                   : 0.0f;
    };
    g_provinceWork.lastPeaceOf = [](int32_t number, CDate& out) {
        const CCountry* country = CountryOfNumber(number);
        if (!country)
            return false;
        out = country->m_lastPeace;
        return true;
    };
    g_provinceWork.lastBankruptcyOf = [](int32_t number, CDate& out) {
        const CCountry* country = CountryOfNumber(number);
        if (!country)
            return false;
        out = country->m_lastBankruptcy;
        return true;
    };
    g_provinceWork.modifierOf = [](int32_t number, int32_t kind) {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_modifiers.GetValue(kind) : 0.0f;
    };
    g_provinceWork.isNationalProvince = [](int32_t number, int32_t province) {
        const CCountry* country = CountryOfNumber(number);
        return country && country->m_nationalProvinces.Contains(province);
    };
    g_provinceWork.capitalOf = [](int32_t number) -> int32_t {
        const CCountry* country = CountryOfNumber(number);
        return country ? country->m_capital : 0;
    };
    g_provinceWork.tradeRefused = [](int32_t number, int32_t other) {
        const CCountry* country = CountryOfNumber(number);
        return country && country->m_diplomacy.IsTradeRefusedBy(other);
    };
    g_provinceWork.bookLedger = [](int32_t number, uint32_t kind, float amount) {
        if (CCountry* country = CountryOfNumber(number))
            country->BookLedgerEntry(kind, amount);
    };
    g_provinceWork.hasAccessTo = [](int32_t number, int32_t other) {
        const CCountry* country = CountryOfNumber(number);
        return country && country->HasAccessTo(other);
    };
    return true;
}();

} // namespace
