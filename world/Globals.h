#pragma once
// CGlobals: the game-wide state that is not a country or a province.
#include "engine/Date.h"

class CGlobals {
public:
    CDate startDate; // "startdate" of the running scenario
};

// Lives for the whole run.
extern CGlobals g_globals;
