#pragma once
// The province's economy: what its fields, its settlement and its owner
// yield (tax, production, trade, manufactory, centre of trade), its ratings
// for the centres of trade and the computer player, the income texts of the
// province window, and the two economic states it keeps: piracy off its port
// and the blockade of its port. The operations are CProvince's
// (world/Province.h); what they ask of countries, centres of trade and units,
// which lie elsewhere, goes through the hooks below.
#include <cstdint>
#include <string>
#include <vector>

class CCountry;

// A unit standing in a province, as the economy sees it.
struct EconomyUnit {
    int32_t owner = -1; // country number
    bool inCombat = false;
    bool retreating = false;
    // A fleet's two ship counts (warships, galleys); an army's are 0.
    float ships = 0.0f;
    float secondShips = 0.0f;
    // The unit's class code; 6, 7 and 13 are units that let buildings go
    // on (CProvince::HasOrdinaryUnit), every other code is an ordinary unit.
    int32_t classCode = 0;
};

// Filled once by the layers that know the answers, by a static
// registration. A null entry answers as noted.
struct ProvinceEconomyHooks {
    // --- countries (null: no country) ---
    // The country of the number exists (null: false).
    bool (*countryExists)(int32_t country) = nullptr;
    // Its state religion, -1 when none (null: -1).
    int32_t (*stateReligionOf)(int32_t country) = nullptr;
    // The months of exceptional war taxes left (null: 0).
    int32_t (*warTaxMonthsOf)(int32_t country) = nullptr;
    // Trade and production efficiency (null: 1.0).
    float (*tradeEfficiencyOf)(int32_t country) = nullptr;
    float (*productionEfficiencyOf)(int32_t country) = nullptr;
    // Stability (null: 0) and the tax passed through the stability's
    // factor (null: unchanged).
    int32_t (*stabilityOf)(int32_t country) = nullptr;
    float (*applyStabilityToTax)(int32_t country, float tax) = nullptr;
    // The country is hostile to the other (null: false).
    bool (*isHostileTo)(int32_t country, int32_t other) = nullptr;
    // The naval technology level (null: 0).
    int32_t (*navalLevelOf)(int32_t country) = nullptr;
    // The country's trade volume of the goods grows (null: nothing).
    void (*addTradeVolume)(int32_t country, uint32_t goodsId, float amount) = nullptr;

    // --- the province's centre of trade (null: none) ---
    // The province id where the province's centre of trade stands, 0 none.
    int32_t (*centreSeatOf)(int32_t province) = nullptr;
    // The centre's total of merchants (null: 0).
    int32_t (*centreTotalOf)(int32_t province) = nullptr;
    // The country's merchant entry in the province's centre: its level;
    // false when it has none (null: none).
    bool (*merchantLevelOf)(int32_t province, int32_t country, float& level) = nullptr;
    // The squared distance from the province's centre to the province
    // (null: 0).
    float (*centreDistanceSquaredTo)(int32_t province) = nullptr;

    // --- units and the computer player ---
    // The units standing in the province (null: none).
    void (*unitsIn)(int32_t province, std::vector<EconomyUnit>& out) = nullptr;
    // The province's blockade changed (null: nobody is told).
    void (*notifyBlockade)(int32_t province, bool blockaded) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern ProvinceEconomyHooks g_provinceEconomy;

// CProvince::UpdateBlockade of every province the country controls.
void UpdateCountryBlockades(CCountry& country);
// The text of "PIWTRADESHAREDRO".
std::string GetTradeShareDroppedText();
