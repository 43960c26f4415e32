#pragma once
// The in-game console; its message handler takes the console toggle
// (EVT_TOGGLE_CONSOLE) of the F12 key.
#include <cstdint>

#include "net/Event.h"

class CConsole : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
    // Draws the console over the game picture while it is open.
    void Draw(int32_t param);
};

// Made at start-up; null before.
extern CConsole* g_console;
