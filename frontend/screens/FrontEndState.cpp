#include "frontend/FrontEnd.h"

uint32_t g_gameSeed = 4711;

// No screens exist yet: the state is noted and the front end is active.
void CFrontEnd::SetState(int32_t state) {
    screenState = state;
    gameStarted = 0;
    g_inFrontEnd = 1;
}

int32_t CFrontEnd::Update(int32_t) {
    return 0;
}
