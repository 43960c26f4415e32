// What a scenario's start-up and shutdown ask of the countries.
#include "country/Country.h"
#include "world/ScenarioSteps.h"

namespace {

void CreateCountryIfMissing(uint32_t number) {
    if (!CountryOfNumber(number))
        CCountry::Create(number);
}

int32_t LocalPlayerCountry() {
    for (size_t number = 0; number < g_countryController.size(); ++number)
        if (g_countryController[number] == 1)
            return static_cast<int32_t>(number);
    return -1;
}

int32_t CapitalOf(int32_t number) {
    const CCountry* country = CountryOfNumber(number);
    return country ? country->m_capital : 0;
}

const bool g_countryStepsRegistered = [] {
    g_scenarioSteps.clearCountryTable = &ClearCountryTable;
    g_scenarioSteps.releaseCountries = &ReleaseCountries;
    g_scenarioSteps.createCountryIfMissing = &CreateCountryIfMissing;
    g_scenarioSteps.localPlayerCountry = &LocalPlayerCountry;
    g_scenarioSteps.capitalOf = &CapitalOf;
    g_scenarioSteps.countryTag = [](int32_t number) -> const char* {
        return number >= 0 ? FindCountryTagOfNumber(static_cast<uint32_t>(number)) : nullptr;
    };
    return true;
}();

} // namespace
