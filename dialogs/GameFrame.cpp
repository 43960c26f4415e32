#include "dialogs/GameFrame.h"

CGameFrame* g_gameFrame = nullptr;

int CGameFrame::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
