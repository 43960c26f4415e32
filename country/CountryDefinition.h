#pragma once
// The reader of a country definition record (world/CountryDefinition.h),
// which the globals reach through g_readCountryDefinition.
#include <cstdint>

#include "world/CountryDefinition.h"

// The block after its "{" up to and including its "}". "date" and
// "expirydate" are date blocks, "minimum" and "extra" lists of numbers,
// "capital" a number, "group" one of "latin", "orthodox", "muslim" and
// "exotic" (any other value reports "Illegal tech group" and keeps the
// group); every other key is passed over without a message.
// FIELD_BLOCK_END; FIELD_END_OF_FILE when the file ends inside the block.
int32_t ReadCountryDefinition(CFieldReader& in, CCountryDefinition& record);
