// What a scenario's start-up asks of the player's dialogs: a new message
// log for each game read, and the player told of what went wrong.
#include "dialogs/messages/MessageLog.h"
#include "world/ScenarioSteps.h"

namespace {

void ReplaceMessageLog() {
    delete g_messageLogWindow;
    g_messageLogWindow = new CMessageLogWindow;
}

void TellPlayer(const std::string& text) {
    if (g_messageLogWindow)
        g_messageLogWindow->AddLine(text);
}

const bool g_messageStepsRegistered = [] {
    g_scenarioSteps.replaceMessageLog = &ReplaceMessageLog;
    g_scenarioSteps.tellPlayer = &TellPlayer;
    return true;
}();

} // namespace
