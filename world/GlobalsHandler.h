#pragma once
// The message handler of the game-wide globals (g_globals): takes every
// broadcast message once the game has started; the answer is not used.
#include "net/Event.h"

class CGlobalsHandler : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// The globals' handler; null to skip it.
extern CMessageReceiver* g_globalsHandler;
