#include "world/Globals.h"

// The game-wide helper objects and their tables are not made yet.
void CGlobals::Init() {
    initialised = 1;
}

void CGlobals::Shutdown() {
    initialised = 0;
}
