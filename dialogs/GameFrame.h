#pragma once
// The game frame: takes broadcast messages while a game runs and has
// started; when it answers EVENT_NOT_HANDLED the message is offered to the
// countries.
#include "net/Event.h"

class CGameFrame : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// Made at start-up; null before.
extern CGameFrame* g_gameFrame;
