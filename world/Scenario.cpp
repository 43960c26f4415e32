#include "world/Scenario.h"

#include "data/ScenarioHeader.h"
#include "net/Event.h"
#include "net/Receivers.h"
#include "net/Session.h"
#include "world/Globals.h"

std::unique_ptr<CScenario> g_scenario;
uint8_t g_gameStarted = 0;
int32_t g_gameType = 0;

namespace {

// The scenario answers the game-state questions of the layers below.
const bool g_gameStateRegistered = [] {
    g_gameState.isGameRunning = [] { return !IsInFrontEnd() && g_gameStarted == 1; };
    g_gameState.isGameStarted = [] { return g_scenario && g_scenario->gameStarted != 0; };
    g_gameState.isWaitingForStart = [] { return g_scenario && g_scenario->waitingForStart != 0; };
    g_gameState.endWaitingForStart = [] {
        if (g_scenario)
            g_scenario->waitingForStart = 0;
    };
    g_gameState.scenarioStartDate = [] { return g_globals.startDate; };
    return true;
}();

// The running game's slot of the broadcast chain.
const bool g_scenarioReceiverRegistered =
    RegisterBroadcastReceiver(kSlotScenario, &OfferToHolder<g_scenario>);

// The running game as the scenario header and the saved-game writer ask
// for it.
const bool g_gameFileHooksRegistered = [] {
    g_gameState.isMultiplayerGame = &CScenario::IsMultiplayerGame;
    g_scenarioHeaderHooks.gameType = [] { return g_gameType; };
    g_scenarioHeaderHooks.scenarioFileName = [] {
        return g_scenario ? g_scenario->fileName : std::string();
    };
    return true;
}();

} // namespace
