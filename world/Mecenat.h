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
