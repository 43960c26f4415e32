#pragma once
// The definition record of a country number, of which the game-wide globals
// hold one per number (the revolt definitions of "db\revolt.txt"). Its
// reader belongs to the countries, above the world: country/ fills
// g_readCountryDefinition once by a static registration.
#include <cstdint>

#include "data/TokenFile.h"
#include "engine/Date.h"

struct CCountryDefinition {
    CDate date;          // "date"
    CDate expiryDate;    // "expirydate"
    CIntList minimum;    // "minimum": province ids
    CIntList extra;      // "extra": province ids
    int32_t capital = 0; // "capital": a province id
    // "group": 0 latin, 1 orthodox, 2 muslim, 3 exotic.
    uint32_t group = 0;
};

// Reads the record's fields from a block whose "{" has been taken, up to and
// including its "}": FIELD_BLOCK_END, FIELD_END_OF_FILE when the file ends
// inside it. Null until the countries register it: the block then has no
// reader, and its caller passes it over.
extern int32_t (*g_readCountryDefinition)(CFieldReader& in, CCountryDefinition& record);
