#include "dialogs/PauseControl.h"

#include "engine/GameTimer.h"

CPauseControl* g_pauseControl = nullptr;

void CPauseControl::Pause() {
    m_paused = 1;
    if (g_gameTimer)
        g_gameTimer->running = 0;
}
