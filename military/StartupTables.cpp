#include "military/StartupTables.h"

// The combat tables: military/combat/CombatTables.cpp.
