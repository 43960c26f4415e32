#pragma once
// The file paths of a country's shields and flag. The tag of the number
// takes the place of "xxx" in the path; a number without a tag gives "MIN".
// The two shield paths share one static buffer and the flag path has
// another: each call overwrites the previous answer of its buffer.
#include <cstdint>

// "gfx\map\shields\shield_xxx.bmp"; "gfx\map\shields\silver\shieldsilver_xxx.bmp"
// when the country does not exist or is not major. The tag is "BAF" for a
// country that exists and shows its alternative banner.
const char* GetCountryShieldPath(uint32_t countryNumber);
// "gfx\map\shields\small\smallshield_xxx.bmp", with "BAF" as above.
const char* GetCountrySmallShieldPath(uint32_t countryNumber);
// "gfx\map\flags\flag_xxx.bmp", always with the country's own tag.
const char* GetCountryFlagPath(uint32_t countryNumber);
