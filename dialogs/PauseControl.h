#pragma once
// CPauseControl: whether the running game is paused.
#include <cstdint>

class CPauseControl {
public:
    bool IsPaused() const { return m_paused != 0; }
    // Pauses the game and stops the game clock.
    void Pause();
    // Clears the pause and lets the game clock run again when the game runs.
    void Unpause();

private:
    uint8_t m_paused = 0;
};

// The pause control of the running game (owned by the main game screen);
// null while there is none.
extern CPauseControl* g_pauseControl;
