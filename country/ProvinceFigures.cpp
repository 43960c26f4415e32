// A country's figures about its own provinces and the yearly allowances of
// colonists, merchants and diplomats derived from them.
#include "country/ProvinceFigures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "country/Country.h"
#include "engine/Format.h"
#include "engine/TextDatabase.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"

CountryEconomyInputs g_countryEconomyInputs;

namespace {

// The single-precision twelfth a month accrues.
constexpr float kMonthShare = 0.083333336f;
// Below this the coastal share counts as no coast at all.
constexpr float kNoCoast = 0.001f;
constexpr int32_t kEasternCountry = 7;

bool IsEasternProvince(int32_t id) {
    return (id >= 614 && id <= 626) || (id >= 638 && id <= 642) || (id >= 646 && id <= 647);
}

// Counter-reformed counts as catholic.
bool IsDifferentReligion(int32_t a, int32_t b) {
    auto merged = [](int32_t religion) {
        return religion == RELIGION_COUNTERREFORM ? RELIGION_CATHOLIC : religion;
    };
    return merged(a) != merged(b);
}

// Land beside the open sea: coastal, and its port's sea zone in the sea
// area.
bool HasOpenSeaPort(const CProvince& province) {
    if (!province.coastal)
        return false;
    const CProvince* sea = GetProvince(province.portSeaZone);
    return sea && province.portSeaZone != 0 && sea->area == kSeaArea;
}

int32_t ClampInt(int32_t value, int32_t low, int32_t high) {
    return std::clamp(value, low, high);
}

// The text of the key with one integer.
void AppendLine(std::string& text, const char* key, int32_t value) {
    text += FormatDataText(g_textDatabase.GetText(key), {value});
}

void AppendText(std::string& text, const char* key) {
    text += g_textDatabase.GetText(key);
}

} // namespace

// ---------------------------------------------------------------------------
// Inputs

namespace {

int32_t StateReligion(const CCountry& country) {
    return g_scenarioSteps.stateReligionOf
               ? g_scenarioSteps.stateReligionOf(static_cast<int32_t>(country.GetNumber()))
               : -1;
}

int32_t MonarchDip(const CCountry& country) {
    return country.GetMonarchDip();
}

int32_t StabilityTerm(const CCountry& country) {
    return ClampInt(country.m_technology.stability.level + 1, -3, 3);
}

// The terms of the yearly merchants, in the order the reasons show them.
struct MerchantTerms {
    int32_t religion = 0;
    int32_t trade = 0;
    int32_t centres = 0;
    int32_t coastal = 0;
    int32_t monopoly = 0;
    int32_t stability = 0;
    int32_t Sum() const { return religion + trade + centres + coastal + monopoly + stability; }
};

MerchantTerms MerchantTermsOf(const CCountry& country) {
    const CProvinceFigures& figures = country.m_figures;
    MerchantTerms terms;
    terms.religion =
        std::min((figures.reformedCoastalNational + figures.protestantCoastalNational) / 2, 3);
    const int32_t level = country.m_technology.trade.level;
    terms.trade = level / 5;
    terms.coastal = figures.coastalShare < kNoCoast ? 0 : figures.coastalNational / 25 + 1;
    terms.centres = figures.ownCentresOfTrade;
    terms.stability = StabilityTerm(country);
    const auto number = static_cast<int32_t>(country.GetNumber());
    for (int32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot) {
        const CCentreOfTrade* centre = g_cotCalc.GetSlot(slot);
        const CCotMerchant* merchant = centre ? centre->GetMerchant(number) : nullptr;
        if (merchant && merchant->value > 5.0f)
            ++terms.monopoly;
    }
    return terms;
}

// The religion bonus of the yearly colonists.
int32_t ColonistReligionBonus(int32_t religion) {
    switch (religion) {
    case RELIGION_PROTESTANT:
    case RELIGION_COUNTERREFORM:
    case RELIGION_ORTHODOX:
        return 1;
    case RELIGION_REFORMED:
        return 2;
    default:
        return 0;
    }
}

int32_t DiplomatKingTerm(const CCountry& country) {
    return std::max(MonarchDip(country) - 5, 1);
}

int32_t DiplomatReligionTerm(int32_t religion) {
    if (religion == RELIGION_PROTESTANT || religion == RELIGION_REFORMED)
        return 1;
    if (religion == RELIGION_COUNTERREFORM || religion == RELIGION_CATHOLIC)
        return 2;
    return 0;
}

// Adds to a pool held within 0..cap.
void AddToPool(float& pool, float amount, float cap) {
    pool += amount;
    if (cap < pool)
        pool = cap;
    if (pool < 0.0f)
        pool = 0.0f;
}

} // namespace

// ---------------------------------------------------------------------------
// The recount

void CCountry::RecountProvinces() {
    CProvinceFigures& figures = m_figures;
    figures = CProvinceFigures();
    const auto number = static_cast<int32_t>(m_number);
    const int32_t religion = StateReligion(*this);
    int32_t borders = 0;
    int32_t owned = 0;
    m_ownedProvinces.ForEach([&](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (!province || id == 0)
            return;
        ++owned;
        figures.totalIncome = static_cast<int32_t>(GetProvinceTotalIncome(*province) +
                                                   static_cast<float>(figures.totalIncome));
        if (HasOpenSeaPort(*province)) {
            figures.coastalShare += 1.0f;
            if (IsDifferentReligion(province->religion, religion) &&
                province->religion != RELIGION_PAGAN)
                ++figures.coastalOtherReligion;
        }
        const int32_t leading =
            std::min<int32_t>(province->neighbourCount, province->GetNeighbourTotal());
        for (int32_t i = 0; i < leading; ++i) {
            const CProvince* other = GetProvince(province->neighbours[static_cast<size_t>(i)].id);
            const int32_t owner = other ? other->GetOwnerNumber() : -1;
            if (owner < 0 || owner == number || owner >= static_cast<int32_t>(kCountrySlots))
                continue;
            figures.neighbour[static_cast<size_t>(owner)] = 1;
            figures.borderShare[static_cast<size_t>(owner)] += 1.0f;
            ++borders;
        }
        if (province->centreOfTrade && province->centreOfTrade->GetProvinceId() == id)
            ++figures.ownCentresOfTrade;
        if (const CCity* city = province->GetCity()) {
            if (city->HasImprovement(CCity::IMPROVEMENT_SHIPYARD))
                ++figures.shipyards;
            if (city->manufactory != CCity::MANUFACTORY_NONE)
                ++figures.manufactories;
            else if (city->manufactoryBuilding != CCity::MANUFACTORY_NONE)
                ++figures.manufactoriesBuilding;
            if (city->manufactory >= 0 && city->manufactory < CProvinceFigures::kManufactoryTypes)
                ++figures.manufactoriesByType[static_cast<size_t>(city->manufactory)];
            if (city->IsColony())
                ++figures.colonies;
            else
                ++figures.cities;
            if (number == kEasternCountry && IsEasternProvince(id))
                figures.easternHoldings = 1;
        }
    });
    if (owned > 0)
        figures.coastalShare /= static_cast<float>(owned);
    m_nationalProvinces.ForEach([&](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (!province || province->GetOwnerNumber() != number || !province->coastal)
            return;
        ++figures.coastalNational;
        if (province->religion == RELIGION_REFORMED)
            ++figures.reformedCoastalNational;
        else if (province->religion == RELIGION_PROTESTANT)
            ++figures.protestantCoastalNational;
    });
    if (borders > 0)
        for (float& share : figures.borderShare)
            share /= static_cast<float>(borders);
}

// ---------------------------------------------------------------------------
// The allowances

float CCountry::GetYearlyColonists() const {
    if (g_fantasyMode)
        return ConstantSix();
    if (m_figures.coastalShare < kNoCoast)
        return 0.0f;
    if (m_periodBase <= 0 && !m_major)
        return 0.01f;
    return static_cast<float>(ColonistReligionBonus(StateReligion(*this)) +
                              std::min(m_figures.shipyards, 1) + m_periodBase);
}

float CCountry::GetYearlyMerchants() const {
    if (g_fantasyMode)
        return ConstantSix();
    const int32_t sum = MerchantTermsOf(*this).Sum();
    if (sum < 0)
        return 0.0f;
    return static_cast<float>(std::min(sum, IsTradingNation() ? 12 : 1));
}

float CCountry::GetYearlyDiplomats() const {
    const int32_t war = m_diplomacy.atWarWithAny ? 1 : 0;
    return static_cast<float>(DiplomatKingTerm(*this) + war +
                              DiplomatReligionTerm(StateReligion(*this)));
}

std::string CCountry::GetYearlyColonistsText() const {
    std::string text;
    if (g_fantasyMode) {
        AppendText(text, "YEARLYCOL_FANTASY");
        return text;
    }
    if (m_figures.coastalShare < kNoCoast) {
        AppendText(text, "YEARLYCOL_NOCOAST");
        return text;
    }
    if (m_periodBase > 0)
        AppendLine(text, "YEARLYCOL_DYN", m_periodBase);
    const int32_t religion = StateReligion(*this);
    if (IsColonialNation() && religion >= 0 && religion < RELIGION_PAGAN) {
        static constexpr const char* kKeys[] = {"YEARLYCOL_PROT", "YEARLYCOL_REF", "YEARLYCOL_CAT",
                                                "YEARLYCOL_CAT",  "YEARLYCOL_ORT", "YEARLYCOL_MUS",
                                                "YEARLYCOL_MUS"};
        AppendLine(text, kKeys[religion], ColonistReligionBonus(religion));
    }
    if (m_figures.shipyards > 0)
        AppendLine(text, "YEARLYCOL_SHIPYARD", 1);
    AppendText(text, "YEARLYCOL_MAX");
    return text;
}

std::string CCountry::GetYearlyMerchantsText() const {
    std::string text;
    if (g_fantasyMode) {
        AppendText(text, "YEARLYMER_FANTASY");
        return text;
    }
    const MerchantTerms terms = MerchantTermsOf(*this);
    const std::pair<const char*, int32_t> lines[] = {{"YEARLYMER_REL", terms.religion},
                                                     {"YEARLYMER_TRADE", terms.trade},
                                                     {"YEARLYMER_COT", terms.centres},
                                                     {"YEARLYMER_COASTAL", terms.coastal},
                                                     {"YEARLYMER_MONOPOLY", terms.monopoly}};
    for (const auto& [key, value] : lines)
        if (value > 0)
            AppendLine(text, key, value);
    AppendLine(text, terms.stability > 0 ? "YEARLYMER_STAB" : "YEARLYMER_STAB2", terms.stability);
    if (terms.Sum() > 11)
        AppendText(text, "YEARLYMER_12");
    AppendText(text, "YEARLYMER_MAX");
    return text;
}

std::string CCountry::GetYearlyDiplomatsText() const {
    std::string text;
    AppendLine(text, "YEARLYDIP_KING", DiplomatKingTerm(*this));
    if (m_diplomacy.atWarWithAny)
        AppendLine(text, "YEARLYDIP_WAR", 1);
    const int32_t religion = DiplomatReligionTerm(StateReligion(*this));
    if (religion == 1)
        AppendLine(text, "YEARLYDIP_PROT", 1);
    else if (religion == 2)
        AppendLine(text, "YEARLYDIP_CATH", 2);
    AppendText(text, "YEARLYDIP_MAX");
    return text;
}

void CCountry::AccrueMonthlyColonists() {
    AddColonists(GetYearlyColonists() * kMonthShare);
}

void CCountry::AccrueMonthlyMerchants() {
    AddMerchants(GetYearlyMerchants() * kMonthShare);
}

void CCountry::AccrueMonthlyDiplomats() {
    AddDiplomats(GetYearlyDiplomats() * kMonthShare);
}

void CCountry::AddMerchants(float amount) {
    AddToPool(m_merchants, amount, GetMerchantCap());
}

void CCountry::AddColonists(float amount) {
    AddToPool(m_colonists, amount, ConstantSix());
}

void CCountry::AddDiplomats(float amount) {
    AddToPool(m_diplomats, amount, ConstantSix());
}

float CCountry::GetMerchantCap() const {
    return g_fantasyMode || IsTradingNation() ? ConstantSix() : 1.0f;
}

bool CCountry::IsTradingNation() const {
    static constexpr uint32_t kTradingNations[] = {1,  2,  3,  4,  5,  6,  7,  8, 9,
                                                   10, 11, 13, 25, 26, 28, 45, 67};
    if (g_fantasyMode || m_major)
        return true;
    if (std::find(std::begin(kTradingNations), std::end(kTradingNations), m_number) !=
        std::end(kTradingNations))
        return true;
    const int32_t religion = StateReligion(*this);
    return m_figures.ownCentresOfTrade > 0 && religion >= RELIGION_PROTESTANT &&
           religion <= RELIGION_ORTHODOX;
}

bool CCountry::IsColonialNation() const {
    return g_fantasyMode || m_colonialNation != 0;
}

void CCountry::SetPeriodBase() {
    const float sum =
        g_globals.colonistTable.GetValue(m_number) + g_globals.traderTable.GetValue(m_number);
    m_periodBase = static_cast<int32_t>(sum);
}
