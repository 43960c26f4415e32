#include "dialogs/GameMenu.h"

CGameMenu* g_openGameMenu = nullptr;

int CGameMenu::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
