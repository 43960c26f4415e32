#include "dialogs/Console.h"

#include "net/Receivers.h"

CConsole* g_console = nullptr;

namespace {

// The console takes its toggle key.
const bool g_consoleRegistered = [] {
    g_directReceivers.console = &OfferToHolder<g_console>;
    return true;
}();

} // namespace

int CConsole::HandleMessage(COVEvent&) {
    return EVENT_NOT_HANDLED;
}
