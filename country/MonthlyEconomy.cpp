// The country's monthly economy: the month's tax, the growth of its cities
// with the manpower they yield, the upkeep of its forces, the investment of
// the month's income by the budget shares, and the counts of troops and
// leaders the upkeep and the missions read.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/MonthlyUpdate.h"
#include "engine/Saturate.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr float kMonthShare = 0.083333336f; // one twelfth as the rules round it
constexpr float kUpkeepShare = 0.004166667f;
constexpr float kMinorUpkeepFactor = 0.1f;
constexpr float kNonColonyPopulation = 700.0f;
constexpr float kSmallestPopulation = 10.0f;
constexpr float kNativesJoinPopulation = 600.0f;
constexpr float kNativesPerLevel = 100.0f;
constexpr float kMinManpowerLimit = 10.0f;
constexpr float kTutorialManpowerFactor = 12.0f;

// Truncated toward zero, held within the integer range (NaN: 0).
int32_t Truncate(float value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Held within 0..1; NaN counts as 0.
float Share01(float value) {
    if (!(value > 0.0f))
        return 0.0f;
    return std::min(value, 1.0f);
}

std::array<int32_t, 6> UnitTotals(const CCountry& country) {
    std::array<int32_t, 6> totals{};
    if (g_countryMilitary.unitTotals)
        g_countryMilitary.unitTotals(country, totals);
    return totals;
}

// The kept count and the troops inside armies and fleets, held within the
// integer range.
int32_t CountOf(const CCountry& country, CCountry::EUnitClass unitClass) {
    const int64_t sum =
        static_cast<int64_t>(country.m_keptUnits[unitClass]) + UnitTotals(country)[unitClass];
    return SaturateToInt32(sum);
}

float* LossCell(CCountry& country, int32_t cause, CCountry::EUnitClass unitClass) {
    CLossesRecord* record = country.GetLossRecord(cause);
    if (!record)
        return nullptr;
    switch (unitClass) {
    case CCountry::UNIT_INFANTRY:
        return &record->infantry;
    case CCountry::UNIT_CAVALRY:
        return &record->cavalry;
    case CCountry::UNIT_ARTILLERY:
        return &record->artillery;
    case CCountry::UNIT_WARSHIPS:
        return &record->warships;
    case CCountry::UNIT_GALLEYS:
        return &record->galleys;
    default:
        return &record->transports;
    }
}

void RecordLoss(CCountry& country, CCountry::EUnitClass unitClass, float amount, int32_t cause) {
    int32_t& kept = country.m_keptUnits[unitClass];
    const int64_t left = static_cast<int64_t>(kept) - Truncate(amount);
    kept = static_cast<int32_t>(std::clamp<int64_t>(left, 0, INT32_MAX));
    if (float* cell = LossCell(country, cause, unitClass))
        *cell += amount;
}

// The province's own centre of trade stands in it.
bool HostsOwnCentre(const CProvince& province) {
    return province.centreOfTrade &&
           province.centreOfTrade->GetProvinceId() == province.GetNumber();
}

} // namespace

float CCountry::ComputeMonthlyTaxIncome() const {
    float sum = 0.0f;
    const int32_t self = static_cast<int32_t>(m_number);
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (province.GetOwnerNumber() != self || province.GetControllerNumber() != self ||
            province.looted || !province.GetCity())
            continue;
        sum += province.GetTaxIncome() * kMonthShare;
    }
    return sum;
}

void CCountry::BookYearlyTaxIncome() {
    BookLedgerEntry(INCOME_DTAX, ComputeMonthlyTaxIncome() * 12.0f);
}

void CCountry::UpdateCities() {
    int32_t colonies = 0;
    float manpower = 0.0f;
    // Abandoning a province takes its city off the list and deletes it: walk
    // a copy and pass over what left the list meanwhile.
    std::vector<CCity*> cities;
    m_cities.ForEach([&cities](CCity* city) { cities.push_back(city); });
    for (CCity* city : cities) {
        if (!city || !m_cities.Contains(city))
            continue;
        CProvince* province = GetProvince(city->GetLocation());
        if (!province || province->GetNumber() == 0)
            continue;
        if (province->GetControllerNumber() == static_cast<int32_t>(m_number))
            manpower += province->GetManpower() * kMonthShare;
        BookLedgerEntry(INCOME_PRODUCTION_FACTORY, province->GetManufactoryIncome() * kMonthShare);

        const float growth = province->GetScore() * kMonthShare;
        const float population = city->GetPopulation();
        float grown = (growth * 0.001f + 1.0f) * population;
        const float delta = grown - population;
        const float limit = static_cast<float>(province->tax) + 200.0f;
        if (delta > limit)
            grown = population + limit;
        if (std::abs(Truncate(delta)) < std::abs(Truncate(growth)))
            grown = population + growth;
        if (city->IsColony())
            ++colonies;
        else if (grown < kNonColonyPopulation)
            grown = kNonColonyPopulation;
        city->SetPopulation(grown);

        if (grown < kSmallestPopulation) {
            if (HostsOwnCentre(*province)) {
                city->SetPopulation(kSmallestPopulation);
            } else {
                const std::string name = province->name;
                const int32_t id = province->GetNumber();
                province->Abandon(); // the city is gone now
                if (IsLocalHuman())
                    PostGameMessage1At(kNoticeColonyDied, m_number, name, id, id);
                continue;
            }
        }
        if (province->natives != 0 && city->GetPopulation() > kNativesJoinPopulation) {
            city->SetPopulation(city->GetPopulation() +
                                static_cast<float>(province->natives) * kNativesPerLevel);
            province->SetMapSymbolLevel(0);
        }
    }
    m_figures.colonies = colonies;
    AddToCappedReserve(std::max(manpower, 1.0f));
}

float CCountry::GetWarFactor() const {
    return IsAtWar() ? 1.5f : 1.0f;
}

namespace {
float MinorFactor(const CCountry& country) {
    return country.m_major ? 1.0f : kMinorUpkeepFactor;
}
} // namespace

float CCountry::GetInfantryUpkeep() const {
    return static_cast<float>(GetInfantryCount()) * static_cast<float>(GetInfantryPrice()) *
           0.001f * GetWarFactor() * m_landMaintenance * kUpkeepShare * MinorFactor(*this);
}

float CCountry::GetCavalryUpkeep() const {
    return static_cast<float>(GetCavalryCount()) * static_cast<float>(GetCavalryPrice()) * 0.001f *
           GetWarFactor() * m_landMaintenance * kUpkeepShare * MinorFactor(*this);
}

float CCountry::GetArtilleryUpkeep() const {
    return static_cast<float>(GetArtilleryCount()) * static_cast<float>(GetArtilleryPrice()) *
           0.01f * GetWarFactor() * m_landMaintenance * kUpkeepShare * MinorFactor(*this);
}

float CCountry::GetWarshipUpkeep() const {
    return static_cast<float>(GetWarshipCount()) * static_cast<float>(GetWarshipPrice()) *
           GetWarFactor() * m_navalMaintenance * kUpkeepShare * MinorFactor(*this);
}

float CCountry::GetGalleyUpkeep() const {
    return static_cast<float>(GetGalleyCount()) * static_cast<float>(GetGalleyPrice()) *
           GetWarFactor() * m_navalMaintenance * kUpkeepShare * MinorFactor(*this);
}

float CCountry::GetTransportUpkeep() const {
    return static_cast<float>(GetTransportCount()) * static_cast<float>(GetTransportPrice()) *
           GetWarFactor() * m_navalMaintenance * kUpkeepShare * MinorFactor(*this);
}

int32_t CCountry::GetInfantryCount() const {
    return CountOf(*this, UNIT_INFANTRY);
}
int32_t CCountry::GetCavalryCount() const {
    return CountOf(*this, UNIT_CAVALRY);
}
int32_t CCountry::GetArtilleryCount() const {
    return CountOf(*this, UNIT_ARTILLERY);
}
int32_t CCountry::GetWarshipCount() const {
    return CountOf(*this, UNIT_WARSHIPS);
}
int32_t CCountry::GetGalleyCount() const {
    return CountOf(*this, UNIT_GALLEYS);
}
int32_t CCountry::GetTransportCount() const {
    return CountOf(*this, UNIT_TRANSPORTS);
}

CLossesRecord* CCountry::GetLossRecord(int32_t cause) {
    switch (cause) {
    case LOSS_COMBAT:
        return &m_combatLosses;
    case LOSS_ATTRITION:
        return &m_attritionLosses;
    case LOSS_DISBAND:
        return &m_disbandLosses;
    default:
        return nullptr;
    }
}

void CCountry::RecordInfantryLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_INFANTRY, amount, cause);
}
void CCountry::RecordCavalryLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_CAVALRY, amount, cause);
}
void CCountry::RecordArtilleryLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_ARTILLERY, amount, cause);
}
void CCountry::RecordWarshipLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_WARSHIPS, amount, cause);
}
void CCountry::RecordGalleyLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_GALLEYS, amount, cause);
}
void CCountry::RecordTransportLoss(float amount, int32_t cause) {
    RecordLoss(*this, UNIT_TRANSPORTS, amount, cause);
}

void CCountry::PayMonthlyUpkeep() {
    // SpendMoney takes what the treasury lacks from this month's income for
    // the two maintenance kinds.
    SpendMoney(EXPENSE_ARMY_MAINTENANCE, GetInfantryUpkeep());
    SpendMoney(EXPENSE_ARMY_MAINTENANCE, GetCavalryUpkeep());
    SpendMoney(EXPENSE_ARMY_MAINTENANCE, GetArtilleryUpkeep());
    SpendMoney(EXPENSE_FLEET_MAINTENANCE, GetWarshipUpkeep());
    SpendMoney(EXPENSE_FLEET_MAINTENANCE, GetGalleyUpkeep());
    SpendMoney(EXPENSE_FLEET_MAINTENANCE, GetTransportUpkeep());
}

void CCountry::DistributeMonthlyIncome() {
    const float income = m_income;
    struct Track {
        float* share;
        Technology* technology;
        int32_t bonus;
    };
    const Track tracks[] = {
        {&m_navalShare, &m_technology.naval, GetNavalResearchBonus()},
        {&m_landShare, &m_technology.land, GetLandResearchBonus()},
        {&m_teShare, &m_technology.trade, GetTradeResearchBonus()},
        {&m_peShare, &m_technology.infra, GetInfraResearchBonus()},
    };
    for (const Track& track : tracks) {
        const float amount = *track.share * income;
        if (track.technology->CanAdvance()) {
            track.technology->Invest(Truncate(static_cast<float>(track.bonus) + amount));
        } else {
            AddToTreasury(amount);
            *track.share = 0.0f;
        }
    }
    // Stability buys with the infrastructure's bonus.
    const float stabilityAmount = m_stabilityShare * income;
    if (m_technology.stability.CanAdvance()) {
        m_technology.stability.Invest(
            Truncate(static_cast<float>(GetInfraResearchBonus()) + stabilityAmount));
    } else {
        AddToTreasury(stabilityAmount);
        m_stabilityShare = 0.0f;
        if (IsLocalHuman() && g_countryMonth.stabilitySliderToTreasury)
            g_countryMonth.stabilitySliderToTreasury();
    }
    AddToTreasury(m_treasuryShare * income);
    m_income = 0.0f;
    if (GetStability() < -2.0)
        YearlyAndBankruptcyHook();
    NormaliseBudgetShares();
}

void CCountry::NormaliseBudgetShares() {
    m_navalShare = Share01(m_navalShare);
    float rest = 1.0f - m_navalShare;
    for (float* share : {&m_landShare, &m_stabilityShare, &m_teShare, &m_peShare}) {
        *share = Share01(*share);
        if (*share > rest)
            *share = std::clamp(rest, 0.0f, 1.0f);
        rest -= *share;
    }
    m_treasuryShare = rest < 0.0f ? 0.0f : std::min(rest, 1.0f);
}

void CCountry::ComputeManpowerLimit() {
    float limit = 0.0f;
    const int32_t self = static_cast<int32_t>(m_number);
    m_cities.ForEach([&limit, self](CCity* city) {
        const CProvince* province = city ? GetProvince(city->GetLocation()) : nullptr;
        if (province && province->GetControllerNumber() == self)
            limit += province->GetManpower();
    });
    limit = std::max(limit, kMinManpowerLimit);
    if (CScenario::IsTutorial() && IsLocalHuman())
        limit *= kTutorialManpowerFactor;
    m_manpowerReference = limit;
}

void CCountry::CountLeaderKinds() {
    const auto count = g_countryMilitary.countLeaders;
    m_conquistadorCount = count ? count(*this, 2) : 0;
    m_explorerCount = count ? count(*this, 3) : 0;
}
