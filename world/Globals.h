#pragma once
// CGlobals: the game-wide state that is not a country or a province.
#include <cstdint>

#include "data/KeptBlock.h"
#include "engine/Date.h"

class CGlobals {
public:
    // The "globaldata" block after its "{" up to and including its "}". The
    // block is kept as it was read, to be written back unchanged; its
    // "startdate" becomes the start date. FIELD_BLOCK_END, FIELD_END_OF_FILE
    // at the end of the file, FIELD_ERROR after an error.
    int32_t Read(CFieldReader& in);
    // A new block of the game-wide globals (owned by the caller).
    CDataBlock* Write() const;

    // At start-up: makes the game-wide helper objects and loads their
    // tables. Shutdown deletes them.
    void Init();
    void Shutdown();

    CDate startDate; // "startdate" of the running scenario
    CDate endDate;   // "enddate"
    // The "globaldata" block as it was read.
    CKeptBlock savedBlock;
    uint8_t initialised = 0; // between Init and Shutdown
};

// Lives for the whole run.
extern CGlobals g_globals;
