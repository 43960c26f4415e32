#include "world/CountryDefinition.h"

// Constant-initialised; the countries register their reader.
int32_t (*g_readCountryDefinition)(CFieldReader& in, CCountryDefinition& record) = nullptr;
