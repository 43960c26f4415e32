#include "ui/widgets/PopupPause.h"

#include <memory>

#include "engine/GameState.h"
#include "engine/ObjectId.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"

int32_t g_popupPauseCount = 0;

namespace {

// True while the pause of the game is one the boxes made.
bool g_boxesPaused = false;

bool InNetworkGame() {
    return g_netSession && g_netSession->IsActive();
}

bool GameIsPaused() {
    return g_gameState.isPaused && g_gameState.isPaused();
}

void PostPause(uint32_t type) {
    const uint32_t slot = g_netSession ? static_cast<uint32_t>(g_netSession->m_localSlot) : 0;
    auto event = std::make_unique<COVPauseEvent>(type, g_broadcastId, slot);
    event->SetSendFlag(0);
    event->SetLocalFlag(1);
    PostEventNow(std::move(event));
}

} // namespace

void PushPopupPause() {
    const bool first = g_popupPauseCount <= 0;
    ++g_popupPauseCount;
    if (InNetworkGame())
        return;
    if (first)
        g_boxesPaused = !GameIsPaused();
    PostPause(EVT_PAUSE);
}

void PopPopupPause() {
    if (g_popupPauseCount > 0)
        --g_popupPauseCount;
    if (g_popupPauseCount > 0 || !g_boxesPaused)
        return;
    g_boxesPaused = false;
    if (!InNetworkGame())
        PostPause(EVT_UNPAUSE);
}

void ResetPopupPause() {
    g_popupPauseCount = 0;
    g_boxesPaused = false;
}
