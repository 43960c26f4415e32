#include "country/StartupTables.h"

// The diplomatic matrix is not read yet.
bool LoadDiplomaticMatrix() {
    return true;
}
// The stability table is not read yet.
bool LoadStabilityTable() {
    return true;
}
