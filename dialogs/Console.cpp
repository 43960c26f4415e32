#include "dialogs/Console.h"

CConsole* g_console = nullptr;

int CConsole::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
