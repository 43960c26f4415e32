// The route arrows' picture lives as long as a scenario.
#include "ui/map/RouteArrows.h"
#include "world/ScenarioSteps.h"

namespace {

const bool g_arrowStepsRegistered = [] {
    g_scenarioSteps.loadMapArrows = &LoadMapArrows;
    g_scenarioSteps.freeMapArrows = &FreeMapArrows;
    return true;
}();

} // namespace
