#pragma once
// The figures a country keeps about its own provinces, recounted whenever
// its provinces or their cities change (CCountry::RecountProvinces), from
// which it derives its yearly colonists, merchants and diplomats and the
// prices and chances of its colonists, traders and merchants.
#include <array>
#include <cstdint>

#include "data/CountryNumbers.h"

class CCountry;
class CTradingPost;

struct CProvinceFigures {
    static constexpr int32_t kManufactoryTypes = 6;
    static constexpr int32_t kGoodsKinds = 19;

    // 1 when a province of that country borders one of this country's.
    std::array<uint8_t, kCountrySlots> neighbour{};
    // This country's land borders with that country over all its borders
    // with other countries.
    std::array<float, kCountrySlots> borderShare{};
    int32_t totalIncome = 0;
    // Owned coastal provinces whose port lies on the open sea, over the
    // owned provinces.
    float coastalShare = 0.0f;
    int32_t coastalOtherReligion = 0;
    int32_t reformedCoastalNational = 0;
    int32_t protestantCoastalNational = 0;
    int32_t coastalNational = 0;
    // Owned provinces that are the seat of a centre of trade.
    int32_t ownCentresOfTrade = 0;
    int32_t shipyards = 0;
    int32_t manufactories = 0;
    int32_t manufactoriesBuilding = 0;
    std::array<int32_t, kManufactoryTypes> manufactoriesByType{};
    int32_t colonies = 0;
    int32_t cities = 0;
    // Country 7 holds a city in its eastern provinces.
    uint8_t easternHoldings = 0;
};

// The pools' caps (colonists and diplomats; merchants of a trading nation).
constexpr float ConstantSix() {
    return 6.0f;
}

// What the prices and chances read of the layers above the countries: the
// units' leaders and the settlement names. Their owners fill the entries
// once, by a static registration; a null entry answers as noted.
struct CountryEconomyInputs {
    // The best "manuever" of the conquistadors and explorers leading the
    // country's units in the province (null: 0).
    float (*bestExplorerManeuver)(const CCountry& country, int32_t province) = nullptr;
    // Host only: names a newly founded colony or trading post (null:
    // nothing).
    void (*nameNewSettlement)(int32_t province) = nullptr;
};
extern CountryEconomyInputs g_countryEconomyInputs;
