#pragma once
// The world map. Its message handler takes every broadcast message once the
// game has started; the answer is not used.
#include "net/Event.h"

class CMap : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
    // Loads the map tables; 1 on success.
    int Load();
};

// Frees what CMap::Load loaded.
void FreeMapData();

// Made at start-up (the map view); null before and after.
extern CMap* g_map;
