#include "world/Territory.h"

#include "world/City.h"
#include "world/Province.h"

void CTerritory::AddProvince(CProvince* province) {
    m_provinces.AddTail(province);
}

bool CTerritory::RemoveProvince(CProvince* province) {
    return m_provinces.Remove(province);
}

namespace {

// A province without a city, or whose city is still a colony, may be
// colonised.
bool IsColonisable(const CProvince* province) {
    const CCity* city = province ? province->GetCity() : nullptr;
    return !city || city->IsColony();
}

} // namespace

void CLandTerritory::AddProvince(CProvince* province) {
    CTerritory::AddProvince(province);
    if (IsColonisable(province))
        ++m_colonisable;
}

bool CLandTerritory::RemoveProvince(CProvince* province) {
    if (!CTerritory::RemoveProvince(province))
        return false;
    if (IsColonisable(province))
        --m_colonisable;
    return true;
}
