#include "world/ProvinceEconomy.h"

#include <algorithm>
#include <cmath>

#include "engine/CriticalError.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "world/Goods.h"
#include "world/Province.h"

ProvinceEconomyHooks g_provinceEconomy;

namespace {

// The country numbers and provinces the trade rating treats apart.
constexpr int32_t kPirates = 96;
constexpr int32_t kDutch = 4;
constexpr int32_t kReligionPagan = 7;
constexpr float kMonthShare = 0.083333336f; // one twelfth as the rules round it
constexpr float kBlockadeStrength = 5.0f;
constexpr int32_t kBlockadeNavalLevel = 19;
constexpr float kLargeCityPopulation = 5000.0f;

const ProvinceEconomyHooks& Hooks() {
    return g_provinceEconomy;
}

bool CountryExists(int32_t country) {
    return Hooks().countryExists && Hooks().countryExists(country);
}
int32_t StateReligionOf(int32_t country) {
    return Hooks().stateReligionOf ? Hooks().stateReligionOf(country) : -1;
}
float TradeEfficiencyOf(int32_t country) {
    return Hooks().tradeEfficiencyOf ? Hooks().tradeEfficiencyOf(country) : 1.0f;
}
float ProductionEfficiencyOf(int32_t country) {
    return Hooks().productionEfficiencyOf ? Hooks().productionEfficiencyOf(country) : 1.0f;
}
int32_t NavalLevelOf(int32_t country) {
    return Hooks().navalLevelOf ? Hooks().navalLevelOf(country) : 0;
}
bool IsHostileTo(int32_t country, int32_t other) {
    return Hooks().isHostileTo && Hooks().isHostileTo(country, other);
}
int32_t CentreSeatOf(int32_t province) {
    return Hooks().centreSeatOf ? Hooks().centreSeatOf(province) : 0;
}
int32_t CentreTotalOf(int32_t province) {
    return Hooks().centreTotalOf ? Hooks().centreTotalOf(province) : 0;
}
std::vector<EconomyUnit> UnitsIn(int32_t province) {
    std::vector<EconomyUnit> units;
    if (Hooks().unitsIn && province > 0)
        Hooks().unitsIn(province, units);
    return units;
}

int32_t Truncate(float value) {
    return static_cast<int32_t>(value);
}

int32_t CurrentYear() {
    return g_gameTimer ? g_gameTimer->GetDate().year : 0;
}

bool IsBesieged(const CCity* city) {
    return city && city->IsUnderSiege();
}

int32_t FortressLevel(const CCity* city) {
    return city ? Truncate(city->GetFortress().level) : 0;
}

// The settlement's trade factor: the city's, or the trading post's.
float SettlementTradeFactor(const CCity* city, const CTradingPost* post) {
    if (post)
        return post->level * 0.1f + 0.4f;
    return city ? city->GetTradeFactor() : 0.0f;
}

// A land province with at least one land province among its leading links.
bool HasLandNeighbour(const CProvince& province) {
    for (int32_t i = 0; i < province.neighbourCount && i < province.GetNeighbourTotal(); ++i) {
        const CProvince* other = GetProvince(province.neighbours[static_cast<size_t>(i)].id);
        if (other && other->GetNumber() > 0 && !other->IsSea())
            return true;
    }
    return false;
}

std::string Text(const char* key) {
    return g_textDatabase.GetText(key);
}

std::string Formatted(const char* key, FormatArg value) {
    return FormatDataText(g_textDatabase.GetText(key), {value});
}

} // namespace

float CProvince::GetTaxIncome() const {
    if (m_tradingPost || (m_city && m_city->IsColony()))
        return 0.0f;
    float t = static_cast<float>(tax);
    if (m_city) {
        if (m_city->HasImprovement(CCity::IMPROVEMENT_BAILIFF))
            t += 1.0f;
        if (m_city->HasImprovement(CCity::IMPROVEMENT_COURTHOUSE))
            t += 1.0f;
    }
    if (m_owner >= 0) {
        if (Hooks().warTaxMonthsOf && Hooks().warTaxMonthsOf(m_owner) > 0)
            t *= 2.0f;
        switch (StateReligionOf(m_owner)) {
        case RELIGION_PROTESTANT:
            t *= 1.2f;
            break;
        case RELIGION_REFORMED:
        case RELIGION_SHIITE:
            t *= 0.7f;
            break;
        case RELIGION_COUNTERREFORM:
            t *= 0.8f;
            break;
        default:
            break;
        }
        if (Hooks().applyStabilityToTax)
            t = Hooks().applyStabilityToTax(m_owner, t);
    }
    if (blockaded)
        t *= 0.5f;
    return static_cast<float>(Truncate(t));
}

float CProvince::GetMonthlyProduction() const {
    if (!m_city)
        return 0.0f;
    const float factor = m_city->GetTradeFactor();
    float p = 0.0f;
    if (goods && goods->id == GOODS_GOLD) {
        p = static_cast<float>(goldValue) * factor / 12.0f;
    } else if (goods) {
        const float efficiency = m_owner >= 0 ? ProductionEfficiencyOf(m_owner) : 1.0f;
        p = static_cast<float>(goods->basePrice) * factor / 12.0f * efficiency;
    }
    if (m_city->HasImprovement(CCity::IMPROVEMENT_BAILIFF))
        p += 1.0f / 12.0f;
    if (m_city->HasImprovement(CCity::IMPROVEMENT_CITYRIGHTS))
        p += 1.0f / 12.0f;
    if (blockaded)
        p *= 0.5f;
    return p;
}

float CProvince::GetManufactoryIncome() const {
    if (!m_city)
        return 0.0f;
    const uint32_t id = goods ? goods->id : GOODS_NOTHING;
    const auto yield = [](bool favoured) { return favoured ? 12.0f : 6.0f; };
    switch (m_city->manufactory) {
    case CCity::MANUFACTORY_LUXURY:
        return yield(m_city->IsCapital());
    case CCity::MANUFACTORY_WEAPONS:
        return yield(id == GOODS_METAL || id == GOODS_MINERAL);
    case CCity::MANUFACTORY_NAVAL_EQUIPMENT:
        return yield(id == GOODS_FISH || id == GOODS_NAVS);
    case CCity::MANUFACTORY_REFINERY:
        return yield(id == GOODS_SUG || id == GOODS_WINE);
    case CCity::MANUFACTORY_GOODS:
        return yield(id == GOODS_CLO || id == GOODS_TOB || id == GOODS_COT);
    default:
        return 0.0f;
    }
}

float CProvince::GetTradeValueFor() const {
    if (m_owner < 0 || m_controller != m_owner)
        return 0.0f;
    const float efficiency = TradeEfficiencyOf(m_owner);
    if (m_tradingPost)
        return m_tradingPost->level * efficiency;
    if (m_city) {
        if (m_city->IsLargeCity())
            return static_cast<float>(m_city->GetSizeLevel() + 6) * efficiency;
        return static_cast<float>(m_city->GetColonyLevel()) * efficiency;
    }
    return 0.0f;
}

float CProvince::GetCotValueFor(int32_t country) const {
    if (country < 0 || CentreSeatOf(GetNumber()) != GetNumber() || country != m_controller ||
        IsBesieged(m_city.get()))
        return 0.0f;
    return 3.0f * static_cast<float>(CentreTotalOf(GetNumber()));
}

float CProvince::GetTotalIncome() const {
    float s = GetTaxIncome() + 12.0f * GetMonthlyProduction();
    if (m_owner >= 0) {
        s += GetCotValueFor(m_owner);
        s += GetTradeValueFor();
        s += GetManufactoryIncome();
    }
    if (m_city && FortressLevel(m_city.get()) != 0)
        return s;
    return std::max(0.0f, s - 0.5f * static_cast<float>(piracy));
}

float CProvince::GetTradingPostValue() const {
    const float price = goods ? goods->price : 0.0f;
    const float v = SettlementTradeFactor(m_city.get(), m_tradingPost.get()) * price * kMonthShare -
                    static_cast<float>(piracy) * 0.5f;
    return std::max(0.0f, v);
}

float CProvince::GetTradeShare(int32_t country) const {
    float level = 0.0f;
    if (!Hooks().merchantLevelOf || !Hooks().merchantLevelOf(GetNumber(), country, level) ||
        (!m_city && !m_tradingPost))
        return 0.0f;
    int32_t merchants = Truncate(level);
    if (merchants == 6)
        merchants = 26 - CentreTotalOf(GetNumber());
    const float k = static_cast<float>(merchants) * 0.05f;
    const float value = GetTradingPostValue();
    if (Hooks().addTradeVolume)
        Hooks().addTradeVolume(country, goods ? goods->id : GOODS_NOTHING,
                               SettlementTradeFactor(m_city.get(), m_tradingPost.get()) * k);
    return value * k * TradeEfficiencyOf(country);
}

float CProvince::GetTradeValue() const {
    if (IsSea() || (!m_city && !m_tradingPost))
        return -1.0f;
    float r = 5.0f;
    if (m_tradingPost)
        r = 1.0f;
    else if (m_city->IsLargeCity())
        r = 2.0f * static_cast<float>(m_city->GetSizeLevel()) + 5.0f;
    if (FortressLevel(m_city.get()) >= 3)
        r += 1.0f;
    if (coastal)
        r += 1.0f;
    if (continent == 2)
        r += 4.0f * static_cast<float>(column17);
    r += 30.0f * TradeEfficiencyOf(m_owner) + static_cast<float>(NavalLevelOf(m_owner) / 2);

    const int32_t year = CurrentYear();
    switch (GetNumber()) {
    case 247:
        if (year - 1650 > 0)
            r += static_cast<float>(std::min(year - 1650, 40));
        break;
    case 370:
    case 403:
        if (1550 - year > 0)
            r += static_cast<float>(1550 - year);
        break;
    case 338:
        if (CountryExists(kDutch))
            r += 50.0f;
        break;
    case 380:
        if (!CountryExists(kDutch) || CentreSeatOf(338) != 338)
            r += 40.0f;
        break;
    default:
        break;
    }

    r += 0.2f * GetTradingPostValue();
    if (m_city && m_city->manufactory != CCity::MANUFACTORY_NONE)
        r += 10.0f;
    if (CentreSeatOf(GetNumber()) != 0 && Hooks().centreDistanceSquaredTo)
        r += 0.01f * std::sqrt(Hooks().centreDistanceSquaredTo(GetNumber()));
    if (m_owner >= 0) {
        const int32_t religion = StateReligionOf(m_owner);
        if (religion >= RELIGION_PROTESTANT && religion <= RELIGION_ORTHODOX)
            r += 40.0f;
        else if (religion == kReligionPagan && !g_fantasyMode)
            r = 0.0f;
    }
    if (continent != 2)
        r += 20.0f;
    return r;
}

float CProvince::GetScore() const {
    if (m_owner < 0 || !m_city)
        return 0.0f;
    float s = static_cast<float>((Hooks().stabilityOf ? Hooks().stabilityOf(m_owner) : 0) + 4);
    const int32_t seat = CentreSeatOf(GetNumber());
    if (seat != 0) {
        if (seat == GetNumber())
            s += 5.0f;
        for (int32_t i = 0; i < neighbourCount && i < GetNeighbourTotal(); ++i)
            if (neighbours[static_cast<size_t>(i)].id == seat)
                s += 2.0f;
    }
    if (m_city->manufactory != CCity::MANUFACTORY_NONE)
        s += 2.0f;
    if (!m_city->IsLargeCity() && (g_fantasyMode || continent != 2))
        s += 5.0f;
    for (const EconomyUnit& unit : UnitsIn(GetNumber()))
        if (IsHostileTo(unit.owner, m_owner)) {
            s -= 5.0f;
            break;
        }
    if (m_controller != m_owner)
        s -= 3.0f;
    if (m_city->HasImprovement(CCity::IMPROVEMENT_CITYRIGHTS))
        s += 1.0f;
    if (m_city->IsUnderSiege())
        s -= 5.0f;
    if (looted)
        s -= 5.0f;
    if (g_fantasyMode || StateReligionOf(m_owner) == kReligionPagan ||
        m_city->GetPopulation() >= kLargeCityPopulation)
        return s;

    const bool joined = IsSea() || HasLandNeighbour(*this);
    float p = 0.0f;
    if (climate == 4 || climate == 6)
        p = joined ? -8.0f : -1.0f;
    if (continent == 3)
        p -= joined ? 4.0f : 1.0f;
    else if (continent == 5)
        p -= joined ? 12.0f : 2.0f;
    if (!IsSea() && HasLandNeighbour(*this))
        p -= 0.5f * static_cast<float>(wilderness);
    const float population = m_city->GetPopulation();
    if (population > 3500.0f)
        p *= 0.25f;
    else if (population > 2500.0f)
        p *= 1.0f / 3.0f;
    else if (population > 2000.0f)
        p *= 0.5f;
    else if (population > 1000.0f)
        p *= 2.0f / 3.0f;
    return s + std::max(p, -14.0f);
}

std::string CProvince::GetIncomeLineKey() const {
    if (!m_city && !m_tradingPost)
        return Text("PIWINC_NONE");
    std::string text;
    if (m_tradingPost)
        text += Formatted("PIWINC_TPBASEETAX", tax);
    if (m_city) {
        text += Formatted("PIWINC_TAX", static_cast<double>(GetTaxIncome()));
        text += Formatted("PIWINC_PROD", static_cast<double>(12.0f * GetMonthlyProduction()));
    }
    const float trade = GetTradeValueFor();
    if (m_owner >= 0 && m_controller == m_owner && trade > 0.0f)
        text += Formatted("PIWINC_EXP", static_cast<double>(trade));
    const int32_t harbour = m_owner >= 0 ? Truncate(GetCotValueFor(m_owner)) : 0;
    if (harbour > 0)
        text += Formatted("PIWINC_HARB", harbour);
    if (m_city && Truncate(GetManufactoryIncome()) > 0)
        text += Formatted("PIWINC_MANU", Truncate(GetManufactoryIncome()));
    if (piracy != 0 && FortressLevel(m_city.get()) == 0)
        text += Formatted("PIWINC_PIRATES", piracy / 2);
    return text;
}

std::string CProvince::GetDelayedIncomeKey() const {
    std::string text;
    if (GetTaxIncome() > 0.0f)
        text += Text("PIWINC_DELAYED1");
    if (GetMonthlyProduction() > 0.0f)
        text += Text("PIWINC_DELAYED2");
    if (m_owner >= 0 && m_controller == m_owner && GetTradeValueFor() > 0.0f)
        text += Text("PIWINC_DELAYED3");
    if (m_owner >= 0 && GetCotValueFor(m_owner) > 0.0f)
        text += Text("PIWINC_DELAYED4");
    if (blockaded)
        text += Text("PIWINC_DELAYED5");
    return text;
}

std::string CProvince::GetTradeShareKey() const {
    return Text("PIWTRADESHARE") + Formatted("PIWINC_PIRATES", piracy / 2);
}

void CProvince::UpdatePiracy() {
    piracy = 0;
    if (portSeaZone == 0 || m_controller < 0)
        return;
    for (const EconomyUnit& unit : UnitsIn(portSeaZone))
        if (unit.owner == kPirates && !unit.inCombat && !unit.retreating)
            piracy += static_cast<int32_t>(std::ceil(unit.ships));
}

void CProvince::UpdateNeighbourPiracy() {
    if (!coastalSeaZone)
        return;
    for (int32_t i = 0; i < neighbourCount && i < GetNeighbourTotal(); ++i)
        if (CProvince* other = ::GetProvince(neighbours[static_cast<size_t>(i)].id);
            other && other->GetNumber() > 0)
            other->UpdatePiracy();
}

bool CProvince::UpdateBlockade() {
    if (portSeaZone == 0 || m_controller < 0) {
        blockaded = 0;
        return false;
    }
    float strength = 0.0f;
    for (const EconomyUnit& unit : UnitsIn(portSeaZone))
        if (!unit.inCombat && !unit.retreating && IsHostileTo(unit.owner, m_controller) &&
            NavalLevelOf(unit.owner) >= kBlockadeNavalLevel)
            strength += std::ceil(unit.ships) + 0.5f * std::ceil(unit.secondShips);
    const uint8_t now = strength >= kBlockadeStrength ? 1 : 0;
    if (now == blockaded)
        return false;
    blockaded = now;
    if (Hooks().notifyBlockade)
        Hooks().notifyBlockade(GetNumber(), now != 0);
    DebugPrint("Blockade: Detected a change (%d) in prov %d!\n", now, GetNumber());
    return true;
}

void UpdateCountryBlockades(CCountry& country) {
    if (!g_provinceCountries.provinceList)
        return;
    CIntList* controlled = g_provinceCountries.provinceList(country, true);
    if (!controlled)
        return;
    controlled->ForEach([](int32_t id) {
        if (CProvince* province = GetProvince(id); province && province->GetNumber() > 0)
            province->UpdateBlockade();
    });
}

std::string GetTradeShareDroppedText() {
    return Text("PIWTRADESHAREDRO");
}
