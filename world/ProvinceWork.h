#pragma once
// What a province's messages, monthly work, revolt risk and map symbols ask
// of the countries, units and combats, which lie above the world. The
// countries fill their entries in country/ProvinceWorkCountries.cpp; the
// units and combats theirs once they exist. A null entry answers as a game
// without that part (noted at each entry). The country questions the
// economy already asks (existence, state religion, stability, war taxes,
// hostility) go through g_provinceEconomy (world/ProvinceEconomy.h).
#include <cstdint>

#include "engine/Date.h"
#include "engine/ObjectId.h"

class COVEvent;
class CProvince;

struct ProvinceWorkHooks {
    // --- countries ---
    // The country's tolerance toward the religion (null: 0).
    float (*toleranceOf)(int32_t country, int32_t religion) = nullptr;
    // The date of the country's last peace; false when it has none (null:
    // none).
    bool (*lastPeaceOf)(int32_t country, CDate& out) = nullptr;
    // The date of the country's last bankruptcy; false when it never went
    // bankrupt (null: never).
    bool (*lastBankruptcyOf)(int32_t country, CDate& out) = nullptr;
    // The sum of the country's event modifiers of the kind (null: 0).
    float (*modifierOf)(int32_t country, int32_t kind) = nullptr;
    // The province is among the country's national provinces (null: no).
    bool (*isNationalProvince)(int32_t country, int32_t province) = nullptr;
    // The country's capital province id, 0 when none (null: none).
    int32_t (*capitalOf)(int32_t country) = nullptr;
    // The country refuses trade with the other (null: no).
    bool (*tradeRefused)(int32_t country, int32_t other) = nullptr;
    // Books the amount in the country's ledger under the kind (null:
    // nothing is booked).
    void (*bookLedger)(int32_t country, uint32_t kind, float amount) = nullptr;
    // The country's fourth trade flag, which keeps its gold out of the
    // ledger outside continent 2 (null: clear).
    bool (*goldFlagOf)(int32_t country) = nullptr;
    // The country has access to the other (null: no).
    bool (*hasAccessTo)(int32_t country, int32_t other) = nullptr;

    // --- units and combats ---
    // The natives of the province attack its settlement (null: no raid).
    void (*nativesRaid)(int32_t province) = nullptr;
    // A combat of the kind begins in the province (null: none begins).
    void (*startCombat)(CProvince& province, const CDate& date, int32_t kind,
                        const ObjectId& argument) = nullptr;
    // The combat of the id leaves the province's combats and is deleted
    // (null: nothing).
    void (*deleteCombat)(CProvince& province, const ObjectId& combat) = nullptr;
    // Passes the animation tick to the units in the province, the siege of
    // its city and the fleets in its port (null: nothing animates).
    void (*animateUnits)(CProvince& province, COVEvent& event) = nullptr;
    // Draws the fleets in the port and the units of the province (null:
    // none drawn).
    void (*drawUnits)(CProvince& province, int32_t param) = nullptr;
    // Forgets the province's combats and its units and fleets without
    // deleting the units (null: nothing).
    void (*releaseUnits)(CProvince& province) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern ProvinceWorkHooks g_provinceWork;

// Ledger kinds the province books.
constexpr uint32_t kLedgerTrade = 1;
constexpr uint32_t kLedgerProduction = 2;
constexpr uint32_t kLedgerGold = 4;

// Country numbers the province's rules name.
constexpr int32_t kRebelCountry = 98;
