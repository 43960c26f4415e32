#include "world/Globals.h"

CGlobals g_globals;
