#include "country/StartupTables.h"

// The diplomatic matrix is not read yet.
bool LoadDiplomaticMatrix() {
    return true;
}
// The stability table is not read yet.
bool LoadStabilityTable() {
    return true;
}
// The building costs are not read yet.
bool LoadBuildingCosts() {
    return true;
}
