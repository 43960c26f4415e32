#include "ui/MainScreen.h"

CMainScreen* g_mainScreen = nullptr;

int CMainScreen::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
