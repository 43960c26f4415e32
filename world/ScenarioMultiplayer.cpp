#include "net/Session.h"
#include "world/Scenario.h"

bool CScenario::IsMultiplayerGame() {
    return g_netSession && g_netSession->IsActive() && g_netSession->m_slotCount > 1;
}
