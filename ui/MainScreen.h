#pragma once
// The main game screen; its message handler takes the game-winner broadcast
// (EVT_GAME_WINNER) directly.
#include "net/Event.h"

class CMainScreen : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// Made at start-up; null before.
extern CMainScreen* g_mainScreen;
