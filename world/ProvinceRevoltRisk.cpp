// The revolt risk of a province.
#include "world/Province.h"

int32_t CProvince::GetRevoltRisk() const {
    return 0;
}
