#pragma once
// The "interface" object of a single-player saved game: the state of the
// player's screen that loading restores (cursor, map view, map mode and
// zoom, the centre-of-trade option, the ten unit groups and the pressed
// buttons of the religion and treasury windows). The main screen registers
// the object with the file reader (MainScreen.cpp).
#include <cstdint>

#include "data/DataTree.h"
#include "data/TokenFile.h"

// A new block of the section (count 0, owned by the caller).
CDataBlock* WriteInterfaceSection();

// Reads the section after its "{" up to and including its "}":
// FIELD_BLOCK_END, FIELD_END_OF_FILE at the end of the file, FIELD_ERROR after
// an error (an unknown key, or a field without "=" inside a unit group).
int32_t ReadInterfaceSection(CFieldReader& in);
