#include "country/CountryGameFile.h"

#include <cmath>

#include "country/Country.h"
#include "data/Keywords.h"
#include "net/SessionHolder.h"
#include "world/City.h"
#include "world/Province.h"

int32_t ReadCountryObject(CFieldReader& in) {
    for (;;) {
        int32_t answer = FIELD_BLOCK_END;
        if (!ReadOpeningField(in, KW_TAG, "tag HAS to be first in country", FIELD_ERROR, answer))
            return answer;
        if (in.value.code == TOKEN_STRING)
            break;
    }
    const int32_t number = FindCountryByTag(in.value.text);
    if (number <= 0 || number >= static_cast<int32_t>(kCountrySlots)) {
        // No country 0: the whole block is passed over and the file goes on.
        in.ReportError("unknown tag");
        SkipRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    CCountry* country = g_countries[static_cast<size_t>(number)];
    if (!country)
        country = CCountry::Create(static_cast<uint32_t>(number));
    if (!country) {
        SkipRestOfBlock(in);
        return FIELD_ERROR;
    }
    in.currentCountry = country;
    country->Read(in);
    if (g_scenarioInfo && g_scenarioInfo->nations[static_cast<size_t>(number)])
        country->m_major = 1;
    // Again now that the block has said whether the country is major.
    country->LoadShields();
    country->AfterLoad();
    return FIELD_BLOCK_END;
}

int32_t ReadMissionObject(CFieldReader& in) {
    int32_t answer = FIELD_BLOCK_END;
    if (!ReadOpeningField(in, KW_TAG, "tag must be first in mission field", FIELD_BLOCK_END,
                          answer))
        return answer;
    int32_t number = FindCountryByTag(in.value.text);
    CCountry* country = CountryOfNumber(number);
    if (!country) {
        in.ReportError("mission referring to non existant country ");
        SkipRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    in.currentCountry = country;
    country->ReadMission(in);
    return FIELD_BLOCK_END;
}

void WriteCountryObjects(CGameFileOutput& out) {
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        if (const CCountry* country = g_countries[number])
            if (!out.Write(country->Write()))
                return;
}

void DescribeRunningCountry(uint32_t number, RunningCountry& out) {
    const CCountry* running = CountryOfNumber(number);
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
