#include "dialogs/Console.h"

// The console has no lines to draw yet.
void CConsole::Draw(int32_t) {}
