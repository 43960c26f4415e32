// The province's month: weather, the natives' raids, the trade shares of its
// centre of trade and its production, and its weight as a border.
#include <algorithm>

#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/Goods.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/ProvinceWork.h"
#include "world/Territory.h"

namespace {

// Owners whose natives are a little less fierce.
constexpr int32_t kMilderNativesOwners[] = {2, 9};
// A storm zone's chance of a storm, in percent.
constexpr int kStormChance = 30;
// The frames of the storm and ice strips.
constexpr int kStripFrames = 8;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

bool TradeRefused(int32_t country, int32_t other) {
    return g_provinceWork.tradeRefused && g_provinceWork.tradeRefused(country, other);
}

void Book(int32_t country, uint32_t kind, float amount) {
    if (g_provinceWork.bookLedger)
        g_provinceWork.bookLedger(country, kind, amount);
}

// Whether the month brings winter to the climate; draws from the game's
// generator only where the climate leaves it to chance.
bool WinterOf(int32_t climate, int32_t month) {
    switch (climate) {
    case 0:
        if (month <= 2 || month >= 10)
            return true;
        if (month == 3 || month == 4)
            return (GameRand() & 1) == 0;
        if (month == 9)
            return (GameRand() & 3) != 0;
        return false;
    case 7:
        if (month <= 1 || month == 11)
            return true;
        if (month == 2)
            return (GameRand() & 1) == 0;
        if (month == 10)
            return GameRand() % 10 < 4;
        return false;
    case 5:
        if (month == 0)
            return GameRand() % 5 == 0;
        if (month == 1)
            return GameRand() % 20 == 0;
        if (month == 11)
            return GameRand() % 10 == 0;
        return false;
    case 8:
        if (month == 5)
            return GameRand() % 5 == 0;
        if (month == 6)
            return (GameRand() & 3) == 0;
        if (month == 7)
            return GameRand() % 10 == 0;
        return false;
    default:
        return false;
    }
}

} // namespace

void CProvince::UpdateWeather() {
    const CDate today = Today();
    GameSrand(static_cast<uint32_t>(today.GetDayCount() + GetNumber() + today.month + winter));
    storm = 0;
    stormMark = 0;
    if (stormZone != 0 && GameRand() % 100 < kStormChance)
        storm = 1;
    winter = WinterOf(climate, today.month) ? 1 : 0;
    stormFrame = GameRand() % kStripFrames;
    iceFrame = GameRand() % kStripFrames;
}

int32_t CProvince::GetNativesRaidChance() const {
    if (natives <= 0 || m_owner < 0 || (!m_city && !m_tradingPost))
        return 0;
    const bool postOnly = !m_city;
    int32_t a = tolerance - (postOnly ? 4 : 2);
    if (a > 0)
        a /= 2;
    int32_t c = a + static_cast<int32_t>(std::clamp(ferocity, -1000.0f, 1000.0f));
    if (std::find(std::begin(kMilderNativesOwners), std::end(kMilderNativesOwners), m_owner) !=
        std::end(kMilderNativesOwners))
        --c;
    if (c > 0)
        c *= c;
    if (postOnly)
        c = std::min(c - 10, 5);
    return c;
}

void CProvince::MonthlyUpdate() {
    UpdateWeather();

    if (IsHost()) {
        const int32_t chance = GetNativesRaidChance();
        if (chance > 0 && GameRand() % 1000 < chance && g_provinceWork.nativesRaid)
            g_provinceWork.nativesRaid(GetNumber());
    }

    const bool gold = goods && goods->id == GOODS_GOLD;
    if (centreOfTrade && centreOfTrade->total > 0 && m_owner >= 0) {
        for (int32_t i = 0; i < static_cast<int32_t>(kCountrySlots); ++i) {
            CCotMerchant* merchant = centreOfTrade->GetMerchant(i);
            if (!merchant)
                continue;
            if (TradeRefused(i, m_owner) && TradeRefused(i, m_controller))
                continue;
            const float share = GetTradeShare(i);
            merchant->value += 12.0f * share;
            Book(i, gold ? kLedgerGold : kLedgerTrade, share);
        }
    }

    if (m_controller >= 0 && !IsUnderSiege()) {
        const float production = GetMonthlyProduction();
        if (!gold)
            Book(m_controller, kLedgerProduction, production);
        else if (continent == 2 || !g_provinceWork.goldFlagOf ||
                 !g_provinceWork.goldFlagOf(m_controller))
            Book(m_controller, kLedgerGold, production);
    }
}

void CProvince::UpdateBorderWeight() {
    borderWeight = 0;
    if (IsSea() || m_owner < 0)
        return;
    int32_t weight = neighbourCount / 2;
    if (!territory || territory->GetProvinces().GetCount() < 2) {
        weight += 4;
        if (neighbourCount > 0)
            weight += 6;
    }
    const int32_t leading = std::min<int32_t>(neighbourCount, GetNeighbourTotal());
    for (int32_t i = 0; i < leading; ++i) {
        const CProvince* other = GetProvince(neighbours[static_cast<size_t>(i)].id);
        if (!other || other->m_controller < 0 || other->m_controller == m_controller)
            continue;
        weight += 2 * other->GetFortressLevel() + 1;
    }
    borderWeight = weight;
}
