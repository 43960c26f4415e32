#pragma once
// Small helpers shared by the country's diplomacy and war handlers: the
// checked reading of country numbers and ids out of a message, the player's
// notices by who plays the country, and the map's recolouring.
#include <cstdint>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "data/CountryNumbers.h"
#include "net/PayloadRoles.h"

class CCountry;
class COVEvent;

namespace handlers {

// A country number of a message: within 0..98, as the receiving check
// holds it.
inline bool IsCountryNumber(int64_t n) {
    return IsPayloadCountry(n);
}
// A province id of a message: within 1..1472, as the receiving check holds
// it.
inline bool IsProvinceId(int64_t id) {
    return IsPayloadProvince(id);
}
// Logs that the message was dropped for the reason.
void DropMessage(const COVEvent& event, const char* reason);
// The alliance of g_alliances whose id has the number.
CAlliance* FindAllianceByNumber(uint32_t number);
// The names of the listed countries but a and b, joined by ", ".
std::string FormatCountryList(const std::vector<uint32_t>& list, int64_t a = -1, int64_t b = -1);
// The name of the country of the number; empty for none.
std::string NameOf(int64_t number);
// The map recoloured in the mode it shows.
void RecolourMapNow();

} // namespace handlers
