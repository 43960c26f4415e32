#pragma once
// The game-wide state and seams of the rebels, the collapse of countries,
// the scandals and the annexations (the operations are CCountry's,
// country/CountryRebels.cpp).
#include <cstdint>
#include <string>

#include "engine/ObjectId.h"

class CProvince;

// The rebels' country number; a province it controls is held by rebels.
constexpr uint32_t kRebelCountry = 98;

// The text of a scandal kind (0..4: "SCANDALTYPESEX", "SCANDALTYPEMONEY",
// "SCANDALTYPEFAMILY", "SCANDALTYPECORRUPTION", "SCANDALTYPEBETRAYAL");
// an empty text for any other kind.
std::string GetScandalTypeText(int32_t kind);
// The text key of a scandal kind; null outside 0..4.
const char* GetScandalTypeKey(int32_t kind);

// While set, no revolt raises an army (the console's switch).
extern bool g_noRevolts;

// The last annexation: the country absorbed and the one that absorbed it.
struct ReplacedCountryPair {
    ObjectId replaced;
    ObjectId by;
};
extern ReplacedCountryPair g_replacedCountry;

// The revolt risk the revolt rolls read: the province's own operation,
// unless a test puts its own values in.
extern int32_t (*g_revoltRiskOf)(const CProvince& province);

// The player's notice of a civil war: kind 102 when the player's own
// country is torn apart, 103 with the name of another.
constexpr int32_t kNoticeCivilWarOwn = 102;
constexpr int32_t kNoticeCivilWarOther = 103;
