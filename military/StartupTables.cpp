#include "military/StartupTables.h"

// The combat tables are not read yet.
bool LoadCombatTables() {
    return true;
}
void FreeCombatTables() {}
