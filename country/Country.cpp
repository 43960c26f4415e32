#include "country/Country.h"

#include <vector>

std::array<CCountry*, kCountrySlots> g_countries{};
COwningList<CCountry> g_countryList;

CCountry::CCountry(uint32_t number) : CNamedObject("Country"), m_number(number) {}

CCountry::~CCountry() {
    if (m_number < kCountrySlots && g_countries[m_number] == this)
        g_countries[m_number] = nullptr;
}

int CCountry::HandleMessage(COVEvent&) { return EVENT_NOT_HANDLED; }

bool AddCountry(std::unique_ptr<CCountry> country) {
    if (!country || country->GetNumber() >= kCountrySlots || g_countries[country->GetNumber()])
        return false;
    const uint32_t number = country->GetNumber();
    if (!g_countryList.AddTail(country.get()))
        return false;
    g_countries[number] = country.release();
    return true;
}

void DeleteAllCountries() {
    std::vector<CCountry*> countries;
    g_countryList.ForEach([&countries](CCountry* country) { countries.push_back(country); });
    for (CCountry* country : countries)
        g_countryList.RemoveAndDelete(country);
}
