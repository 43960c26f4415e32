#include "dialogs/PauseControl.h"

#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "ui/widgets/PopupDialog.h"

CPauseControl* g_pauseControl = nullptr;

namespace {

const bool g_pauseRegistered = [] {
    g_gameState.isPaused = [] { return g_pauseControl && g_pauseControl->IsPaused(); };
    g_eventPauseHooks.pause = [] {
        if (g_pauseControl)
            g_pauseControl->Pause();
    };
    g_eventPauseHooks.unpause = [] {
        if (g_pauseControl)
            g_pauseControl->Unpause();
    };
    return true;
}();

} // namespace

void CPauseControl::Pause() {
    m_paused = 1;
    if (g_gameTimer)
        g_gameTimer->running = 0;
}

void CPauseControl::Unpause() {
    m_paused = 0;
    if (g_gameTimer)
        g_gameTimer->Resume();
}
