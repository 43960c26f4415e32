#include "net/Event.h"
#include "net/EventTypes.h"
#include "world/Scenario.h"

int CScenario::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_GAME_STARTED:
        gameStarted = 1;
        break;
    case EVT_GAME_END:
        gameEnded = 1;
        break;
    default:
        break;
    }
    return EVENT_NOT_HANDLED;
}
