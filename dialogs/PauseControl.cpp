#include "dialogs/PauseControl.h"

#include "engine/GameState.h"
#include "engine/GameTimer.h"

CPauseControl* g_pauseControl = nullptr;

namespace {

const bool g_pauseRegistered = [] {
    g_gameState.isPaused = [] { return g_pauseControl && g_pauseControl->IsPaused(); };
    return true;
}();

} // namespace

void CPauseControl::Pause() {
    m_paused = 1;
    if (g_gameTimer)
        g_gameTimer->running = 0;
}
