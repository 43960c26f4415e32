// The loading screen a scenario's start-up shows while it reads the world.
#include <memory>

#include "engine/TextDatabase.h"
#include "frontend/shell/Shell.h"
#include "frontend/widgets/LoadingScreen.h"
#include "world/ScenarioSteps.h"

namespace {

std::unique_ptr<CLoadingScreen> g_scenarioLoading;

void ShowScenarioLoading(int32_t percent, const char* captionKey) {
    if (!g_scenarioLoading) {
        g_scenarioLoading = std::make_unique<CLoadingScreen>(300);
        g_scenarioLoading->Draw();
    }
    g_scenarioLoading->progress = percent;
    g_scenarioLoading->SetCaption(g_textDatabase.GetText(captionKey));
    g_scenarioLoading->Render(0);
    ReachCheckpoint(captionKey);
}

void CloseScenarioLoading() {
    g_scenarioLoading.reset();
}

const bool g_loadingStepsRegistered = [] {
    g_scenarioSteps.loadingProgress = &ShowScenarioLoading;
    g_scenarioSteps.loadingDone = &CloseScenarioLoading;
    return true;
}();

} // namespace
