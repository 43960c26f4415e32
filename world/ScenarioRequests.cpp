// Saving and reloading the running game on request of the main loop.
#include "data/GameFile.h"
#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/Display.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/Image.h"
#include "net/Event.h"
#include "net/Scheduler.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"

bool SaveGame(CScenario& scenario, const std::string& name) {
    scenario.SetFileName(name);
    if (SaveGameFile(scenario.fileName) == FIELD_WRITTEN)
        return true;
    // The writer kept the old file; the player must know the game is not
    // saved.
    const std::string text =
        FormatText("The game could not be saved to %s", scenario.fileName.c_str());
    AppendToLog(text);
    if (g_scenarioSteps.tellPlayer)
        g_scenarioSteps.tellPlayer(text);
    return false;
}

void CScenario::ProcessRequests() {
    if (saveRequested || reloadRequested)
        g_scheduler.RunDue();
    if (saveRequested) {
        if (g_gameTimer)
            g_gameTimer->running = false;
        SaveGame(*this, fileName);
        if (g_config && g_scenarioInfo && !g_scenarioInfo->optionFile.empty())
            g_config->SaveAs(g_scenarioInfo->optionFile);
        if (g_gameTimer)
            g_gameTimer->Resume();
    }
    if (reloadRequested) {
        CImage picture("gfx\\town.bmp", kPlaceMemory, false);
        if (g_screen) {
            picture.DrawWhole(0, 0, g_screen.get());
            PresentScreen();
            PresentScreen();
        }
        Shutdown();
        Init();
    }
    saveRequested = 0;
    reloadRequested = 0;
}
