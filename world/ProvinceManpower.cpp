// A province's manpower and the level of its natives.
#include <algorithm>

#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"
#include "world/TradingPost.h"

float CProvince::GetManpower() const {
    if (!m_city || m_city->IsColony())
        return 0.0f;
    const CCountry* owner = GetOwner();
    const ProvinceCountryHooks& hooks = g_provinceCountries;
    if (owner && hooks.capitalOf) {
        const CProvince* capital = GetProvince(hooks.capitalOf(*owner));
        if (capital && capital->continent != continent)
            return 0.0f;
    }
    float men =
        static_cast<float>(m_city->GetSizeLevel() / 3 + 1) * static_cast<float>(manpower) * 0.25f;
    if (m_city->HasImprovement(CCity::IMPROVEMENT_BARRACK))
        men = men * 3.0f + 1.0f;
    return men;
}

void CProvince::SetMapSymbolLevel(int32_t n) {
    natives = n < 1 ? 0 : std::min(n, maxNatives);
}
