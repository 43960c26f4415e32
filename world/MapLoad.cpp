#include "world/Map.h"

// The map tables are not read yet: nothing to load or free.
int CMap::Load() {
    return 1;
}

void FreeMapData() {}
