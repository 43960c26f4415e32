// The country's economic operations: the cost modifier, the reigning
// figure's values, stability and its costs, unit prices and build times, the
// technology tracks' budget base, and the price of a loan.
#include <algorithm>
#include <cmath>
#include <string>

#include "country/BuildingCosts.h"
#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/Saturate.h"
#include "engine/TextDatabase.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// The state religion as the country's religion record reports it through
// the scenario's hook; pagan (the religion of a new country) until it does.
int32_t StateReligionOf(const CCountry& country) {
    const int32_t religion =
        g_scenarioSteps.stateReligionOf
            ? g_scenarioSteps.stateReligionOf(static_cast<int32_t>(country.GetNumber()))
            : -1;
    return religion >= RELIGION_PROTESTANT && religion <= RELIGION_PAGAN ? religion
                                                                         : RELIGION_PAGAN;
}

bool IsMuslim(int32_t religion) {
    return religion == RELIGION_SUNNI || religion == RELIGION_SHIITE;
}

// ADM, DIP or MIL of the reigning figure, by its index 0, 1 or 2.
int32_t ReigningValue(const CCountry& country, int index) {
    if (!country.m_monarch)
        return 3;
    const CountryMilitaryHooks& military = g_countryMilitary;
    int32_t values[3] = {3, 3, 3};
    if (military.monarchId &&
        country.m_minister.MatchesId(military.monarchId(*country.m_monarch))) {
        values[0] = country.m_minister.adm;
        values[1] = country.m_minister.dip;
        values[2] = country.m_minister.mil;
    } else if (military.monarchValues) {
        military.monarchValues(*country.m_monarch, values[0], values[1], values[2]);
    }
    return std::min(values[index], 9);
}

// The class prices of each unit kind, index 0 (may not be built) 0.
constexpr int32_t kClassPrices[BUILD_KINDS][5] = {{0, 12, 8, 4, 2},    {0, 32, 24, 12, 8},
                                                  {0, 60, 40, 20, 14}, {0, 40, 30, 20, 15},
                                                  {0, 10, 8, 6, 4},    {0, 20, 16, 14, 11}};

int32_t ClassPrice(const CCountry& country, uint32_t kind) {
    uint32_t unitClass = 3; // "C" for everyone in the fantasy setting
    if (!g_fantasyMode)
        unitClass = country.GetNumber() < kCountrySlots
                        ? g_buildingCostClasses[country.GetNumber()][kind]
                        : 0;
    return unitClass <= 4 ? kClassPrices[kind][unitClass] : 0;
}

// The whole part of base x (1 + cost modifier), at least 1.
int32_t UnitPrice(const CCountry& country, int32_t base) {
    const float price = static_cast<float>(base) * (1.0f + country.GetCostModifier());
    return std::max(TruncateToInt32(price), 1);
}

CDate Months(int32_t months) {
    return CDate(0, months, 0);
}

} // namespace

float CCountry::GetCostModifier() const {
    return m_modifiers.GetValue(2) + m_inflation;
}

int32_t CCountry::CountNonColonyCities() const {
    int32_t count = 0;
    const_cast<CLinkedList<CCity>&>(m_cities).ForEach([&count](CCity* city) {
        if (city && !city->IsColony())
            ++count;
    });
    return count;
}

int32_t CCountry::GetMonarchAdm() const {
    return ReigningValue(*this, 0);
}

int32_t CCountry::GetMonarchDip() const {
    return ReigningValue(*this, 1);
}

int32_t CCountry::GetMonarchMil() const {
    return ReigningValue(*this, 2);
}

int32_t CCountry::GetBudgetBoostBase() const {
    int32_t religionTerm = 0;
    switch (StateReligionOf(*this)) {
    case RELIGION_PROTESTANT:
        religionTerm = -3;
        break;
    case RELIGION_REFORMED:
    case RELIGION_SHIITE:
        religionTerm = 5;
        break;
    case RELIGION_COUNTERREFORM:
        religionTerm = 3;
        break;
    default:
        break;
    }
    return 3 * m_researchModifiers[kStabilityResearch] + religionTerm + 2 * GetMonarchAdm();
}

// ---------------------------------------------------------------------------
// Research

namespace {

const Technology& TrackOf(const TechBase& tech, uint32_t track) {
    switch (track) {
    case TECH_LAND:
        return tech.land;
    case TECH_NAVAL:
        return tech.naval;
    case TECH_INFRA:
        return tech.infra;
    default:
        return tech.trade;
    }
}

int32_t CatchUpBonus(const CCountry& country, uint32_t track) {
    const uint32_t group = country.m_technology.group;
    int32_t best = -1;
    for (const CCountry* other : g_countries)
        if (other && IsOrdinaryCountry(other->GetNumber()) && other->m_technology.group == group)
            best = std::max(best, TrackOf(other->m_technology, track).level);
    const int32_t own = TrackOf(country.m_technology, track).level;
    const int32_t count = group < g_techGroupCounts.size() ? g_techGroupCounts[group] : 0;
    if (best <= own)
        return count / 8 / 4;
    return (count / 8 + (best - own) * 8) / 4;
}

// The catch-up as the group weighs it: latin 1.0, orthodox 0.7, muslim 0.6,
// exotic 0.1.
int32_t WeightedCatchUp(const CCountry& country, uint32_t track) {
    static constexpr float kGroupFactors[] = {1.0f, 0.7f, 0.6f, 0.1f};
    const uint32_t group = country.m_technology.group;
    const float factor = group < 4 ? kGroupFactors[group] : 0.0f;
    return static_cast<int32_t>(static_cast<float>(CatchUpBonus(country, track)) * factor);
}

int32_t ResearchBonus(const CCountry& country, uint32_t track, int32_t figure) {
    return 5 * country.m_researchModifiers[track] + WeightedCatchUp(country, track) + figure;
}

// The window's line: the figure's text, the modifier's and the delay's.
const char* DescribeTrack(const CCountry& country, uint32_t track, int32_t figure,
                          const char* figureKey, const char* modifierKey) {
    static std::string text;
    text = FormatDataText(g_textDatabase.GetText(figureKey), {figure});
    const int32_t modifier = country.m_researchModifiers[track];
    if (modifier > 0)
        text += FormatDataText(g_textDatabase.GetText(modifierKey), {5 * modifier});
    if (track == TECH_TRADE && country.CountTradeRefusals() > 0)
        text += FormatDataText(g_textDatabase.GetText("TWTRADE_REFUSE"),
                               {country.CountTradeRefusals()});
    if (const int32_t delay = WeightedCatchUp(country, track); delay > 0) {
        const char* delayKey = track == TECH_NAVAL ? "TWNAVAL_DELAY" : "TWLAND_DELAY";
        text += FormatDataText(g_textDatabase.GetText(delayKey), {delay});
    }
    return text.c_str();
}

} // namespace

int32_t CCountry::GetLandCatchUpBonus() const {
    return CatchUpBonus(*this, TECH_LAND);
}

int32_t CCountry::GetNavalCatchUpBonus() const {
    return CatchUpBonus(*this, TECH_NAVAL);
}

int32_t CCountry::GetInfraCatchUpBonus() const {
    return CatchUpBonus(*this, TECH_INFRA);
}

int32_t CCountry::GetTradeCatchUpBonus() const {
    return CatchUpBonus(*this, TECH_TRADE);
}

int32_t CCountry::GetLandResearchBonus() const {
    return ResearchBonus(*this, TECH_LAND, GetMonarchMil());
}

int32_t CCountry::GetNavalResearchBonus() const {
    return ResearchBonus(*this, TECH_NAVAL, GetMonarchMil());
}

int32_t CCountry::GetInfraResearchBonus() const {
    return ResearchBonus(*this, TECH_INFRA, GetMonarchAdm());
}

int32_t CCountry::GetTradeResearchBonus() const {
    return ResearchBonus(*this, TECH_TRADE, GetMonarchAdm()) - CountTradeRefusals();
}

int32_t CCountry::CountTradeRefusals() const {
    // Refusals recorded toward single countries; a trade closed to all is
    // not counted.
    int32_t count = 0;
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        if (const CRelation* relation = m_diplomacy.GetRelation(number);
            relation && relation->refuseTrade && number != m_number)
            ++count;
    return count;
}

const char* CCountry::DescribeLandTech() const {
    return DescribeTrack(*this, TECH_LAND, GetMonarchMil(), "TWLAND_MIL", "TWLAND_MAN");
}

const char* CCountry::DescribeNavalTech() const {
    return DescribeTrack(*this, TECH_NAVAL, GetMonarchMil(), "TWNAVAL_MIL", "TWNAVAL_MAN");
}

const char* CCountry::DescribeInfraTech() const {
    return DescribeTrack(*this, TECH_INFRA, GetMonarchAdm(), "TWINFRA_ADM", "TWINFRA_MAN");
}

const char* CCountry::DescribeTradeTech() const {
    return DescribeTrack(*this, TECH_TRADE, GetMonarchAdm(), "TWTRADE_ADM", "TWTRADE_MAN");
}

// ---------------------------------------------------------------------------
// Levels gained

namespace {

// The notice of a level gained: its kind and the technology window it links
// to (-1: none).
struct LevelNotice {
    int32_t kind;
    int32_t window;
};

constexpr LevelNotice kLandNotice{25, 23};
constexpr LevelNotice kNavalNotice{26, 24};
constexpr LevelNotice kInfraNotice{27, -1};
constexpr LevelNotice kTradeNotice{28, -1};

// The naval level from which fleets blockade.
constexpr int32_t kBlockadeNavalLevel = 19;

void TellPlayer(const CCountry& country, const Technology& track, LevelNotice notice) {
    if (!country.IsLocalHuman())
        return;
    // The log line takes the level's name and its improvement; the box
    // heads with the name.
    const std::string name = track.GetCurrentLevelName();
    PostGameMessage2With(notice.kind, country.GetNumber(), name, name, track.GetImprovementText(),
                         notice.window);
}

void RecomputeUnitStrengths(CCountry& country) {
    if (!g_countryMilitary.recomputeStrength)
        return;
    for (CLinkedList<CUnit>* list : {&country.m_units, &country.m_unitsInDevelopment})
        list->ForEach([](CUnit* unit) { g_countryMilitary.recomputeStrength(*unit); });
}

} // namespace

bool CCountry::AdvanceLandTech(int32_t amount) {
    if (!m_technology.land.Invest(amount))
        return false;
    TellPlayer(*this, m_technology.land, kLandNotice);
    RecomputeUnitStrengths(*this);
    return true;
}

bool CCountry::AdvanceNavalTech(int32_t amount) {
    const int32_t before = m_technology.naval.GetLevel();
    if (!m_technology.naval.Invest(amount))
        return false;
    TellPlayer(*this, m_technology.naval, kNavalNotice);
    RecomputeUnitStrengths(*this);
    if (before < kBlockadeNavalLevel && m_technology.naval.GetLevel() >= kBlockadeNavalLevel &&
        g_countryMilitary.reevaluateBlockades)
        m_units.ForEach([](CUnit* unit) { g_countryMilitary.reevaluateBlockades(*unit); });
    return true;
}

bool CCountry::AdvanceInfraTech(int32_t amount) {
    if (!m_technology.infra.Invest(amount))
        return false;
    TellPlayer(*this, m_technology.infra, kInfraNotice);
    return true;
}

bool CCountry::AdvanceTradeTech(int32_t amount) {
    if (!m_technology.trade.Invest(amount))
        return false;
    TellPlayer(*this, m_technology.trade, kTradeNotice);
    return true;
}

// ---------------------------------------------------------------------------
// Stability

float CCountry::ApplyStabilityToTax(float amount) const {
    return amount * GetStabilityTaxFactor(m_technology.stability);
}

void CCountry::IncreaseStability(int32_t n) {
    m_technology.stability.SetLevel(m_technology.stability.level + n);
}

void CCountry::DecreaseStability(int32_t n) {
    m_technology.stability.SetLevel(m_technology.stability.level - n);
}

const char* CCountry::DescribeStability() const {
    static std::string text;
    text = FormatDataText(g_textDatabase.GetText("TWSTAB_ADM"), {2 * GetMonarchAdm()});
    const int32_t bonus = m_researchModifiers[kStabilityResearch];
    if (bonus > 0)
        text += FormatDataText(g_textDatabase.GetText("TWSTAB_MAN"), {5 * bonus});
    switch (StateReligionOf(*this)) {
    case RELIGION_PROTESTANT:
        text += g_textDatabase.GetText("TWSTAB_PROT");
        break;
    case RELIGION_REFORMED:
        text += g_textDatabase.GetText("TWSTAB_REF");
        break;
    case RELIGION_COUNTERREFORM:
        text += g_textDatabase.GetText("TWSTAB_CRC");
        break;
    case RELIGION_SHIITE:
        text += g_textDatabase.GetText("TWSTAB_SHIT");
        break;
    default:
        break;
    }
    return text.c_str();
}

int32_t StabilityCost(const CCountry& country) {
    const int32_t state = StateReligionOf(country);
    const bool christianState = state <= RELIGION_ORTHODOX;
    int32_t sum = 0;
    const_cast<CLinkedList<CCity>&>(country.m_cities).ForEach([&](CCity* city) {
        if (!city)
            return;
        if (city->IsColony()) {
            sum += 5;
            return;
        }
        const CProvince* province = GetProvince(static_cast<int32_t>(city->GetLocation()));
        const int32_t religion = province ? province->religion : RELIGION_PAGAN;
        if (religion == state)
            sum += 20;
        else if (christianState)
            sum += religion <= RELIGION_ORTHODOX ? 50 : 100;
        else
            sum += 60;
    });
    sum += 2 * static_cast<int32_t>(country.m_tradingPosts.GetCount());
    return TruncateToInt32(static_cast<float>(sum) * (1.0f + country.GetCostModifier()));
}

// ---------------------------------------------------------------------------
// Unit prices and build times

int32_t CCountry::GetInfantryPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_INFANTRY) + GetDifficultyOffset() +
                                GetLandTechCostColumn());
}

int32_t CCountry::GetCavalryPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_CAVALRY) + 2 * GetDifficultyOffset() +
                                2 * GetLandTechCostColumn());
}

int32_t CCountry::GetArtilleryPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_ARTILLERY) + 5 * GetDifficultyOffset() +
                                3 * GetLandTechCostColumn());
}

int32_t CCountry::GetWarshipPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_WARSHIPS) + 5 * GetDifficultyOffset() +
                                2 * GetNavalTechCostColumn());
}

int32_t CCountry::GetGalleyPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_GALLEYS) + 2 * GetDifficultyOffset() +
                                2 * GetNavalTechCostColumn());
}

int32_t CCountry::GetTransportPrice() const {
    return UnitPrice(*this, ClassPrice(*this, BUILD_TRANSPORTS) + 4 * GetDifficultyOffset() +
                                GetNavalTechCostColumn());
}

float CCountry::GetLandRecruitCost(float infantry, float cavalry, float artillery) const {
    return infantry * static_cast<float>(GetInfantryPrice()) * 0.001f +
           cavalry * static_cast<float>(GetCavalryPrice()) * 0.001f +
           artillery * static_cast<float>(GetArtilleryPrice()) * 0.1f;
}

float CCountry::GetNavalRecruitCost(float warships, float galleys, float transports) const {
    return warships * static_cast<float>(GetWarshipPrice()) +
           galleys * static_cast<float>(GetGalleyPrice()) +
           transports * static_cast<float>(GetTransportPrice());
}

CDate CCountry::GetInfantryBuildTime() const {
    return Months(2);
}

CDate CCountry::GetCavalryBuildTime() const {
    return Months(m_number == 10 || IsMuslim(StateReligionOf(*this)) ? 2 : 3);
}

CDate CCountry::GetArtilleryBuildTime() const {
    return Months(4);
}

CDate CCountry::GetWarshipBuildTime() const {
    return Months(9 + GetNavalTechCostColumn());
}

CDate CCountry::GetGalleyBuildTime() const {
    const bool quick = m_number == 10 || m_number == 11 || IsMuslim(StateReligionOf(*this));
    return Months(quick ? 4 : 5);
}

CDate CCountry::GetTransportBuildTime() const {
    return Months(6);
}

// ---------------------------------------------------------------------------
// Loans

int32_t CCountry::CountLoans() const {
    return static_cast<int32_t>(std::count_if(m_loans.begin(), m_loans.end(),
                                              [](const auto& loan) { return loan->IsBankLoan(); }));
}

int32_t CCountry::GetLoanInterest() const {
    const float treasury = std::trunc(m_treasury);
    // A treasury beyond any real one (or no number) must not carry the rate
    // out of the int range: the figure is held to a million either way.
    constexpr float kMostRate = 1.0e6f;
    float figure =
        std::trunc(static_cast<float>(10 - m_technology.stability.level + 3 * m_cancelledLoans) -
                   treasury * 0.001f + static_cast<float>(3 * m_extendedLoans + 2 * CountLoans()));
    if (std::isnan(figure))
        figure = 0.0f;
    int32_t rate = static_cast<int32_t>(std::clamp(figure, -kMostRate, kMostRate));
    if (m_number == 1 || m_number == 4)
        rate -= 3;
    CDate graceEnd = m_lastBankruptcy;
    graceEnd.AddYears(5);
    if (Today().GetDayCount() < graceEnd.GetDayCount())
        rate += 25;
    rate = std::max(rate, 5);
    if (m_stock)
        rate /= 2;
    return rate;
}

// ---------------------------------------------------------------------------
// What the globals ask of the countries' technology

namespace {

const bool g_technologyHooksRegistered = [] {
    g_globalsCountries.countTechGroups = &CountTechGroups;
    g_globalsCountries.loadTechnologyTables = [] { LoadLandNavalTables(); };
    return true;
}();

} // namespace
