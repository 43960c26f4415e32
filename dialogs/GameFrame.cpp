#include "dialogs/GameFrame.h"

#include <algorithm>

#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "ui/widgets/PopupHost.h"

CGameFrame* g_gameFrame = nullptr;

namespace {

// The game frame takes the broadcast messages once the game has started,
// before the countries, and every input event.
const bool g_gameFrameRegistered =
    RegisterBroadcastReceiver(kSlotGameFrame, &OfferToHolder<g_gameFrame>);

const bool g_popupHostRegistered = [] {
    g_popupHost.addPopup = [](CPopupWindow* window) {
        if (g_gameFrame)
            g_gameFrame->AddPopup(window);
    };
    g_popupHost.removePopup = [](CPopupWindow* window) {
        if (g_gameFrame)
            g_gameFrame->RemovePopup(window);
    };
    g_popupHost.addWindow = [](Drawable* window) {
        if (g_gameFrame)
            g_gameFrame->AddWindow(window);
    };
    g_popupHost.removeWindow = [](Drawable* window) {
        if (g_gameFrame)
            g_gameFrame->RemoveWindow(window);
    };
    return true;
}();

bool GoesToPopups(uint32_t type) {
    return (type >= EVT_UNNAMED_12 && type <= EVT_KEYUP) || type == EVT_TIMER_TICK_LOOP ||
           type == EVT_TICK_ANIMATIONS || type == EVT_CLOSEALLWINDOWS;
}

} // namespace

int CGameFrame::HandleMessage(COVEvent& event) {
    if (GoesToPopups(event.GetType()))
        return popups.HandleEvent(event);
    return EVENT_NOT_HANDLED;
}

void CGameFrame::AddWindow(Drawable* window) {
    if (window && std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.push_back(window);
}

void CGameFrame::RemoveWindow(Drawable* window) {
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}
