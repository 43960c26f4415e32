// The host's servers live as long as a scenario: its start-up makes them and
// its shutdown deletes them, in their fixed order.
#include "military/server/CombatServer.h"
#include "military/server/GameServer.h"
#include "military/server/HostDispatcher.h"
#include "military/server/RandomEvents.h"
#include "military/server/UnitServer.h"
#include "military/units/LeaderRegistry.h"
#include "world/ScenarioSteps.h"

namespace {

void CreateHostServers() {
    delete g_hostDispatcher;
    g_hostDispatcher = new CHostDispatcher;
    delete g_gameServer;
    g_gameServer = new CGameServer;
    delete g_combatServer;
    g_combatServer = new CCombatServer;
    delete g_unitServer;
    g_unitServer = new UnitServer;
    g_leaderRegistry = std::make_unique<CLeaderRegistry>();
    g_randomEvents.reset();
    g_randomEvents = std::make_unique<CRandomEvents>();
}

void DeleteServersAfterScheduler() {
    delete g_hostDispatcher;
    g_hostDispatcher = nullptr;
    delete g_gameServer;
    g_gameServer = nullptr;
    delete g_combatServer;
    g_combatServer = nullptr;
    delete g_unitServer;
    g_unitServer = nullptr;
    g_leaderRegistry.reset();
    g_randomEvents.reset();
}

const bool g_serverStepsRegistered = [] {
    g_scenarioSteps.createHostServers = &CreateHostServers;
    g_scenarioSteps.deleteServersAfterScheduler = &DeleteServersAfterScheduler;
    return true;
}();

} // namespace
