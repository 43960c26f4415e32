#pragma once
// Country tags: every data file, save file and text key names a country by
// its three-letter tag; inside the game it is a number 1..98 (0 is no
// country). The table is fixed; the tag is also the text key of the
// country's display name.
#include <array>
#include <cstdint>
#include <string>

#include "country/CountryTagList.h"
#include "data/CountryNumbers.h"

// The 99 rows in their fixed order. Number 68 has two rows; lookups find the
// first. Number 0 has none.
extern const std::array<CountryTagRow, kCountrySlots> g_countryTags;

// The number of the first row whose tag equals the text exactly (case
// matters, whole strings); 0 when none (also for null).
int32_t FindCountryByTag(const char* tag);
// The tag of the first row with the number; "MIN" when no row has it (so 0
// and numbers outside 1..98 give "MIN").
const char* GetCountryTag(uint32_t number);
// The tag of the first row with the number, null when none: what files
// write for a country. Number 0 is no country and never written as a tag.
const char* FindCountryTagOfNumber(uint32_t number);
// The display name: the text database's text of the country's tag (of "MIN"
// for a number without a row).
std::string GetCountryDisplayName(uint32_t number);
