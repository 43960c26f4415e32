#include "military/StartupTables.h"

// The leader name pool is not read yet.
bool LoadRandomLeaderNames() {
    return true;
}
// The army and navy name pools are not read yet.
bool LoadUnitNames() {
    return true;
}
// The colony name pool is not read yet.
bool LoadColonyNames() {
    return true;
}
// The combat tables: military/combat/CombatTables.cpp.
