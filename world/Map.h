#pragma once
// The world map. Its message handler takes every broadcast message once the
// game has started; the answer is not used.
#include "net/Event.h"

class CMap : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// Made at scenario start-up; null before.
extern CMap* g_map;
