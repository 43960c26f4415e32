#pragma once
// The front end: while no game runs it takes the broadcast messages (after
// the in-game menu, when open, answered 0); its answer is the answer of the
// delivery.
#include <cstdint>

#include "net/Event.h"

class CFrontEnd : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// The front end; null while none exists.
extern CFrontEnd* g_frontEnd;

// 1 while the front end is active.
extern uint8_t g_inFrontEnd;
bool IsInFrontEnd();
