// The base victory points' monthly step, which the country's month runs
// through its seam (g_countryMonth.victoryPointsMonth). Every addition goes
// through the country's own, which adds only while the base-victory-points
// option is on and adds the same to the rank score.
#include "ai/BaseVictoryPoints.h"

#include <array>
#include <vector>

#include "country/Country.h"
#include "country/MonthlyUpdate.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kEconomyPoints = 0;
constexpr uint32_t kDiplomacyPoints = 3;

// The seven figures compared between the countries.
std::array<float, 7> FiguresOf(const CCountry& country) {
    return {static_cast<float>(country.m_figures.totalIncome),
            100.0f * static_cast<float>(country.GetArtilleryCount()) +
                static_cast<float>(country.GetCavalryCount()) +
                static_cast<float>(country.GetInfantryCount()),
            static_cast<float>(country.GetWarshipCount()) +
                static_cast<float>(country.GetGalleyCount()) +
                static_cast<float>(country.GetTransportCount()),
            static_cast<float>(country.GetLandTechLevel()),
            static_cast<float>(country.GetNavalTechLevel()),
            static_cast<float>(country.m_technology.infra.GetLevel()),
            static_cast<float>(country.m_technology.trade.GetLevel())};
}

} // namespace

void BaseVictoryPointsMonth(CCountry& country) {
    country.AddBaseVictoryPoints(kEconomyPoints,
                                 0.013888f * static_cast<float>(country.GetStability()));
    std::vector<int32_t> owned;
    country.m_ownedProvinces.ForEach([&owned](int32_t id) { owned.push_back(id); });
    for (int32_t id : owned) {
        const CProvince* province =
            id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
        if (province && province->GetControllerNumber() == 98)
            country.AddBaseVictoryPoints(kEconomyPoints, -0.1f);
    }
    if (!country.IsAtWar())
        country.AddBaseVictoryPoints(kDiplomacyPoints, 0.09166667f);
    std::array<float, 7> mine = FiguresOf(country);
    for (CCountry* other : g_countries) {
        if (!other || other == &country)
            continue;
        const std::array<float, 7> theirs = FiguresOf(*other);
        for (size_t i = 0; i < mine.size(); ++i)
            if (theirs[i] > mine[i])
                mine[i] = 0.0f;
    }
    for (float figure : mine)
        if (figure > 0.0f)
            country.AddBaseVictoryPoints(kEconomyPoints, 0.041666f);
}

namespace {

const bool g_registered = [] {
    g_countryMonth.victoryPointsMonth = &BaseVictoryPointsMonth;
    return true;
}();

} // namespace
