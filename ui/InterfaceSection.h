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

// Reads the section after its "{" up to and including its "}": 0, -1 at the
// end of the file, -2 after an error (an unknown key, or a field without
// "=" inside a unit group).
int32_t ReadInterfaceSection(CFieldReader& in);
