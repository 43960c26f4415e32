#include "country/CountryGameFile.h"

#include <cmath>

#include "country/Country.h"
#include "net/SessionHolder.h"
#include "world/City.h"
#include "world/Province.h"

void DescribeRunningCountry(uint32_t number, RunningCountry& out) {
    const CCountry* running = number < kCountrySlots ? g_countries[number] : nullptr;
    if (!running)
        return;
    const char* player = GetSessionPlayerName(static_cast<int32_t>(number));
    if (player && *player) {
        out.playerName = running->GetName();
        out.playerName += " : ";
        out.playerName += player;
    }
    const_cast<CIntList&>(running->m_ownedProvinces).ForEach([&](int32_t id) {
        const CProvince* province = id >= kFirstProvinceId ? GetProvince(id) : nullptr;
        if (!province || !province->GetOwner())
            return;
        if (const CCity* city = province->GetCity()) {
            ++out.cities;
            if (city->IsColony() || city->IsTown())
                ++out.colonies;
        }
        if (province->GetTradingPost())
            ++out.tradingPosts;
    });
    // Truncated toward zero, held within the integer range.
    const double treasury = std::trunc(static_cast<double>(running->m_treasury));
    out.gold = treasury >= 2147483647.0    ? 2147483647
               : treasury <= -2147483648.0 ? INT32_MIN
                                           : static_cast<int32_t>(treasury);
}
