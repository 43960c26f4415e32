#include "net/Event.h"
#include "net/EventTypes.h"
#include "world/CentreOfTrade.h"
#include "world/Scenario.h"

int CScenario::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_GAME_STARTED:
        gameStarted = 1;
        g_cotCalc.SumValues();
        break;
    case EVT_GAME_END:
        gameEnded = 1;
        break;
    case EVT_TIMER_YEAR:
        g_cotCalc.YearlyUpdate();
        break;
    case EVT_TIMER_MONTH:
        g_cotCalc.MonthlyUpdate();
        g_cotCalc.SumValues();
        break;
    default:
        break;
    }
    return EVENT_NOT_HANDLED;
}
