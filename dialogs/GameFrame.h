#pragma once
// The game frame: takes broadcast messages while a game runs and has
// started; when it answers EVENT_NOT_HANDLED the message is offered to the
// countries.
#include <vector>

#include "net/Event.h"
#include "ui/widgets/PopupList.h"

class CPopupWindow;
class Drawable;

class CGameFrame : public CMessageReceiver {
public:
    // Input events and "_COVEVT_CLOSEALLWINDOWS_" go to the popup list
    // first; EVENT_CONSUMED when a popup took them.
    int HandleMessage(COVEvent& event) override;

    // The open popup windows (owned while listed); each frame drawn topmost
    // first over the game.
    void AddPopup(CPopupWindow* window) { popups.Add(window); }
    void RemovePopup(CPopupWindow* window) { popups.Remove(window); }
    void DrawPopups() { popups.Draw(0); }

    // The window layer: the interface buttons in play (not owned).
    void AddWindow(Drawable* window);
    void RemoveWindow(Drawable* window);

    CPopupList popups;
    std::vector<Drawable*> windows;
};

// Made at start-up; null before.
extern CGameFrame* g_gameFrame;
