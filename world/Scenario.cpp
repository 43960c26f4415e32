#include "world/Scenario.h"

#include "frontend/FrontEnd.h"
#include "net/Session.h"
#include "world/Globals.h"

std::unique_ptr<CScenario> g_scenario;
uint8_t g_gameStarted = 0;
int32_t g_gameType = 0;

bool IsGameRunning() {
    return !IsInFrontEnd() && g_gameStarted == 1;
}

bool IsHost() {
    return !g_netSession || !g_netSession->IsActive() || g_netSession->IsHost();
}

CDate GetScenarioStartDate() {
    return g_globals.startDate;
}
