#include "world/Scenario.h"

// No save or reload can be requested yet.
void CScenario::ProcessRequests() {}
