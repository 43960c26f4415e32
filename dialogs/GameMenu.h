#pragma once
// The in-game menu. While it is open it is offered every broadcast message
// before anything else; an answer other than EVENT_NOT_HANDLED ends the
// delivery.
#include "net/Event.h"

class CGameMenu : public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override;
};

// The open in-game menu; null while the menu is closed.
extern CGameMenu* g_openGameMenu;
