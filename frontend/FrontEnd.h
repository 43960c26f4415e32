#pragma once
// The front end: while no game runs it takes the broadcast messages (after
// the in-game menu, when open, answered 0); its answer is the answer of the
// delivery.
#include <cstdint>
#include <string>

#include "engine/GameState.h"
#include "net/Event.h"

class CFrontEnd : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;

    // 1 from the hand-over to a game until the main menu shows again.
    uint8_t gameStarted = 0;

    // Shows the screen of the state (0: the main menu) and makes the front
    // end active.
    void SetState(int32_t state);
    // One frame of the current screen. Answers 0.
    int32_t Update(int32_t param);
    // The current screen's state; -1 when there is no current screen.
    int32_t GetScreenState() const { return screenState; }
    bool HasScreen() const { return screenState >= 0; }

    int32_t screenState = -1;
    // The scenario or saved game chosen to play, without ".ovg".
    std::string chosenFile;
};

// The seed handed to the scenario that the main loop starts.
extern uint32_t g_gameSeed;

// The front end; null while none exists.
extern CFrontEnd* g_frontEnd;

// 1 while the front end is active.
extern uint8_t g_inFrontEnd;
