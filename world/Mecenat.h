#pragma once
// CMecenat: a travelling colonist or trader on the map. Until its route and
// dates are taken apart, its saved block is kept as it was read.
#include <cstdint>

#include "data/KeptBlock.h"

class CMecenat : public CKeptBlock {
public:
    // Reads the block after its "{" up to and including its "}" and files
    // the traveller in the main game screen's traveller list (which then
    // owns it); without a main game screen, or when the block did not read
    // whole, it is deleted. Answers as CKeptBlock::Read.
    static int32_t ReadAndFile(CFieldReader& in);
};

// Files a traveller read whole in the main game screen's traveller list:
// true when the list took it (and owns it now). The main game screen lies
// above the world; ui/MainScreenState.cpp sets this once, by a static
// registration. While it is null no screen takes a traveller (as without a
// main game screen).
extern bool (*g_fileTraveller)(CMecenat* traveller);
