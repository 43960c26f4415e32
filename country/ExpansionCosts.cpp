// What the country's colonists, traders, merchants and manufactories take
// to travel, cost and succeed, and the settlements an agent founds.
//
// The province figures these rules read: natives count = "natives", natives
// present = "natives" above 0, natives level = "negotiation", natives
// ferocity = "ferocity", the exploration flag = "whiteman" (Europeans have
// reached the province), the two geographic figures = continent and region.
#include <algorithm>
#include <cmath>
#include <memory>

#include "country/Country.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/ProvinceDistance.h"
#include "world/ScenarioSteps.h"
#include "world/TradingPost.h"

namespace {

constexpr int32_t kMonthDays = 30;
constexpr int32_t kYearMonths = 12;

// A span of days as years, months and days of 30-day months.
CDate SpanOfDays(int32_t days) {
    days = std::max(days, 0);
    const int32_t months = days / kMonthDays;
    return CDate(static_cast<int8_t>(days % kMonthDays), static_cast<int8_t>(months % kYearMonths),
                 static_cast<int16_t>(months / kYearMonths));
}

int32_t StateReligion(const CCountry& country) {
    return g_scenarioSteps.stateReligionOf
               ? g_scenarioSteps.stateReligionOf(static_cast<int32_t>(country.GetNumber()))
               : -1;
}

bool IsDifferentReligion(int32_t a, int32_t b) {
    auto merged = [](int32_t religion) {
        return religion == RELIGION_COUNTERREFORM ? RELIGION_CATHOLIC : religion;
    };
    return merged(a) != merged(b);
}

float TradingPostLevel(const CProvince& province) {
    const CTradingPost* post = province.GetTradingPost();
    if (!post)
        return 0.0f;
    return post->level;
}

bool IsRoughTerrain(const CProvince& province) {
    return province.terrain == 4 || province.terrain == 6;
}

bool HasNatives(const CProvince& province) {
    return province.natives > 0;
}

// Travel speed in map units a day's worth (at least 1).
int32_t TravelSpeed(const CCountry& country, float rowValue, int32_t bonus, float religionBonus,
                    float base, float settlementTerm) {
    float speed = (rowValue + static_cast<float>(bonus) * 0.01f + religionBonus) * 10.0f + base;
    speed += settlementTerm;
    speed -= static_cast<float>(country.GetDifficultyOffset());
    return std::max(1, static_cast<int32_t>(speed));
}

CDate TravelSpan(const CCountry& country, int32_t province, int32_t speed) {
    const auto days =
        static_cast<int32_t>(ProvinceDistance(country.m_capital, province) *
                             static_cast<float>(kMonthDays) / static_cast<float>(speed));
    if (days < 2 * kMonthDays)
        return CDate(0, 2, 0);
    return SpanOfDays(days);
}

} // namespace

float CCountry::GetBestExplorerManeuver(int32_t province) const {
    return g_countryEconomyInputs.bestExplorerManeuver
               ? g_countryEconomyInputs.bestExplorerManeuver(*this, province)
               : 0.0f;
}

CDate CCountry::GetColonistTravelTime(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return CDate(0, 2, 0);
    float settlement = 0.0f;
    if (target->GetTradingPost())
        settlement = 1.0f;
    else if (const CCity* city = target->GetCity())
        settlement = city->IsColony() ? 2.0f : 3.0f;
    const float row = m_technology.infra.CurrentRow().efficiency;
    const float religion = StateReligion(*this) == RELIGION_PROTESTANT ? 0.05f : 0.0f;
    return TravelSpan(*this, province,
                      TravelSpeed(*this, row, m_colonisationBonus, religion, 2.0f, settlement));
}

CDate CCountry::GetTraderTravelTime(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return CDate(0, 2, 0);
    const float row = m_technology.trade.CurrentRow().efficiency;
    const float religion = StateReligion(*this) == RELIGION_REFORMED ? 0.05f : 0.0f;
    return TravelSpan(
        *this, province,
        TravelSpeed(*this, row, m_tradeBonus, religion, 4.0f, TradingPostLevel(*target) * 0.5f));
}

float CCountry::GetColonistCost(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return 0.0f;
    float settlement = 0.0f;
    if (target->GetTradingPost())
        settlement = 1.0f;
    else if (const CCity* city = target->GetCity())
        settlement = city->IsColony() ? static_cast<float>(city->GetColonyLevel())
                                      : 2.0f * static_cast<float>(city->GetTownLevel());
    const CDate travel = GetColonistTravelTime(province);
    float b = 4.0f * static_cast<float>(target->natives) - GetBestExplorerManeuver(province) +
              static_cast<float>(travel.year * kYearMonths + travel.month) - settlement;
    b = std::max(b, 1.0f);
    float c = b * 10.0f + 100.0f;
    if (IsRoughTerrain(*target))
        c += 10.0f;
    if (!target->whiteman)
        c += 10.0f;
    int32_t nearest = 15;
    const int32_t leading = std::min<int32_t>(target->neighbourCount, target->GetNeighbourTotal());
    for (int32_t i = 0; i < leading; ++i) {
        const CProvince* other = GetProvince(target->neighbours[static_cast<size_t>(i)].id);
        if (!other || other->GetOwnerNumber() != static_cast<int32_t>(m_number) ||
            !other->GetCity())
            continue;
        nearest = std::min(nearest, other->GetCity()->IsLargeCity() ? 0 : 5);
    }
    c = (static_cast<float>(nearest) + c + 5.0f * static_cast<float>(GetDifficultyOffset())) / 6.0f;
    if (m_number == 1 || m_number == 8)
        c *= 0.75f;
    else if (m_number != 2 && m_number != 4 && m_number != 5)
        c *= 1.25f;
    c = std::max(c, 20.0f);
    return c * (1.0f + GetCostModifier());
}

int32_t CCountry::GetColonisationChance(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return 1;
    int32_t c = 90 - 4 * target->natives;
    if (HasNatives(*target) || target->HasCombat())
        c -= static_cast<int32_t>(4.0f * target->ferocity);
    if (IsRoughTerrain(*target))
        c -= 10;
    c += 3 * static_cast<int32_t>(GetBestExplorerManeuver(province));
    if (const CCity* city = target->GetCity())
        c += 5 * city->GetColonyLevel();
    if (target->GetTradingPost())
        c += 5;
    switch (m_number) {
    case 1:
        c += 10;
        break;
    case 2:
    case 4:
    case 5:
        break;
    case 8:
        c += 12;
        break;
    default:
        c -= 10;
        break;
    }
    return std::clamp(c, 1, 95);
}

float CCountry::GetTraderCost(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return 0.0f;
    float c = 3.0f * static_cast<float>(target->negotiation) - GetBestExplorerManeuver(province);
    if (IsDifferentReligion(target->religion, StateReligion(*this)))
        c += 5.0f;
    c = (c + 20.0f + 5.0f * static_cast<float>(GetDifficultyOffset())) * 0.2f;
    c -= 2.0f * TradingPostLevel(*target);
    if (m_number == 4 || m_number == 5)
        c *= 0.75f;
    else if (m_number != 1 && m_number != 2)
        c *= 1.25f;
    c = std::max(c, 5.0f);
    return c * (1.0f + GetCostModifier());
}

int32_t CCountry::GetTraderChance(int32_t province) const {
    const CProvince* target = GetProvince(province);
    if (!target)
        return 1;
    int32_t c = HasNatives(*target) || target->HasCombat() ? 5 * (16 - target->negotiation) : 80;
    if (IsRoughTerrain(*target))
        c -= 10;
    const float row = m_technology.trade.CurrentRow().efficiency;
    const float religion = StateReligion(*this) == RELIGION_REFORMED ? 0.05f : 0.0f;
    const int32_t t =
        static_cast<int32_t>(static_cast<float>(m_tradeBonus) * 0.01f + row + religion) * 25;
    c += 2 * t;
    if (target->GetTradingPost())
        c += 5 * static_cast<int32_t>(TradingPostLevel(*target));
    if (m_number == 2) {
        if (HasNatives(*target))
            c += 10;
    } else if (m_number == 4 || m_number == 5) {
        c += 20;
    } else if (m_number != 1) {
        c -= 10;
    }
    return std::clamp(c, 1, 95);
}

int32_t CCountry::GetMerchantCost(int32_t province) const {
    const CProvince* target = GetProvince(province);
    const CProvince* capital = GetProvince(m_capital);
    if (!target || !capital)
        return 0;
    int32_t t = IsRoughTerrain(*target) ? 25 : 0;
    t += target->continent == capital->continent ? 5 : 30;
    t += target->region == capital->region ? 2 : 5;
    int32_t v = t;
    if (target->GetOwnerNumber() != static_cast<int32_t>(m_number)) {
        const bool capitalTradesHere =
            capital->centreOfTrade && capital->centreOfTrade->GetProvinceId() == province;
        v = capitalTradesHere ? t / 3 + 1 : t + 10;
    }
    v += 10 - GetMonarchDip();
    v = std::max((v + GetDifficultyOffset()) / 3, 2);
    return static_cast<int32_t>(static_cast<float>(v) * (1.0f + GetCostModifier()));
}

int32_t CCountry::GetFacilityCost(int32_t /*province*/, int32_t kind) const {
    int32_t base = 15;
    int32_t extra = 0;
    switch (kind) {
    case 1:
        base = 25;
        break;
    case 2:
    case 3:
        extra = 10;
        break;
    case 5:
        base = 10;
        break;
    default:
        break;
    }
    const int32_t year = GetGameDate().year;
    int32_t count = m_manufactoryCount;
    switch (m_number) {
    case 1:
        count += year > 1700 ? 2 : year > 1614 ? 1 : 0;
        break;
    case 7:
        count += year < 1760 ? 1 : 0;
        break;
    case 8:
        count -= year < 1560 ? 1 : 0;
        break;
    case 10:
        count += year > 1614 ? 1 : 0;
        break;
    default:
        break;
    }
    // The era term: from 1700 on, manufactories beyond the allowance cost
    // more.
    const int32_t y = std::max(0, year - 1520);
    float f = 0.5f;
    if (m_number == 1)
        f = 1.0f;
    else if (m_number == 8 || m_number == 10)
        f = -0.5f;
    else if (m_number == 7)
        f = y < 180 ? -0.5f : 0.0f;
    const int32_t allowance =
        std::max(2, y / 20 + static_cast<int32_t>(static_cast<float>(y) * f / 60.0f));
    const int32_t era = year >= 1700 && count > allowance ? 100 * (count - allowance) : 0;
    const int32_t adm = GetMonarchAdm();
    const auto a =
        static_cast<int32_t>(static_cast<float>((22 - adm) * base + 2 * extra + era + 400) * 0.02f);
    int32_t n = a + (count >= 1 ? count : 0) + GetDifficultyOffset();
    n = std::max(n, 4);
    return static_cast<int32_t>(static_cast<float>(n) * 50.0f * (1.0f + GetCostModifier()));
}

CDate CCountry::GetTwoYearSpan() {
    return SpanOfDays(720);
}

CDate CCountry::GetCapitalDistanceSpan(int32_t province) const {
    return SpanOfDays(static_cast<int32_t>(ProvinceDistance(m_capital, province)));
}

void CCountry::FoundTradingPost(int32_t province) {
    CProvince* target = GetProvince(province);
    if (!target || province == 0 || target->GetCity() || target->GetTradingPost())
        return;
    auto post = std::make_unique<CTradingPost>();
    post->SetProvinceId(province);
    CTradingPost* founded = post.get();
    target->SetTradingPost(std::move(post));
    target->SetControllerField(this);
    m_tradingPosts.AddTail(founded);
    for (CCountry* country : g_countries)
        if (country)
            country->RecountProvinces();
    g_cotCalc.AssignProvince(province);
    if (IsHost() && g_countryEconomyInputs.nameNewSettlement)
        g_countryEconomyInputs.nameNewSettlement(province);
}

void CCountry::FoundColony(int32_t province) {
    CProvince* target = GetProvince(province);
    if (!target || province == 0 || target->GetCity())
        return;
    auto city = std::make_unique<CCity>();
    city->SetProvinceId(province);
    city->SetPopulation(100.0f);
    city->SetName(target->name.c_str());
    CCity* founded = city.get();
    // A province holds a city or a trading post, never both.
    target->SetTradingPost(nullptr);
    target->SetCity(std::move(city));
    m_cities.AddTail(founded);
    target->SetControllerField(this);
    for (CCountry* country : g_countries)
        if (country)
            country->RecountProvinces();
    g_cotCalc.AssignProvince(province);
    if (IsHost() && g_countryEconomyInputs.nameNewSettlement)
        g_countryEconomyInputs.nameNewSettlement(province);
}
