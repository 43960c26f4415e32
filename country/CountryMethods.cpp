// The country's standing toward the other countries: war, hostility,
// access, alliances, stability and the dates of the last peace; then its
// small methods: capital distances, sprite culture and colours, rulers,
// efficiencies, limits, modifiers, discoveries and dated records.
#include <algorithm>
#include <memory>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/Technology.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Discovery.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/ProvinceDistance.h"
#include "world/ProvinceEconomy.h"
#include "world/ScenarioSteps.h"

namespace {

bool IsOutlaw(int64_t n) {
    return n >= 96 && n <= 98;
}

} // namespace

bool CCountry::IsAtWar() const {
    return m_diplomacy.atWarWithAny != 0;
}

bool CCountry::IsHostileTo(int64_t n) const {
    if (n == GetNumber())
        return false;
    if (IsOutlaw(n) || IsOutlaw(GetNumber()))
        return true;
    return m_diplomacy.IsAtWarWith(n);
}

bool CCountry::HasAccessTo(int64_t n) const {
    return n == GetNumber() || IsCobelligerentWith(n) || m_diplomacy.IsOverlordOf(n);
}

bool CCountry::IsAlliedWith(int64_t n) const {
    return m_diplomacy.IsAlliedWith(n);
}

bool CCountry::IsCobelligerentWith(int64_t n) const {
    const CRelation* relation = m_diplomacy.GetRelation(n);
    return relation && relation->sameSide != 0;
}

double CCountry::GetStability() const {
    return m_technology.stability.GetLevel();
}

void CCountry::SetStability(int32_t level) {
    m_technology.stability.SetLevel(level);
}

void CCountry::EndWarWith(int64_t n) {
    CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation)
        return;
    m_warDates[static_cast<size_t>(n)] = GetGameDate();
    relation->atWar = 0;
    m_diplomacy.UpdateAtWarFlag();
}

void CCountry::SetAtWarWith(int64_t n) {
    CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation)
        return;
    relation->atWar = 1;
    m_diplomacy.UpdateAtWarFlag();
}

const CDate& CCountry::GetLastPeaceWith(int64_t n) const {
    static const CDate kNone;
    return n >= 0 && n < kCountrySlots ? m_warDates[static_cast<size_t>(n)] : kNone;
}

// ---------------------------------------------------------------------------
// Distances, sprites, rulers, efficiencies, limits and dated records

namespace {

constexpr float kReligionEfficiencyBonus = 0.05f;
// The year the manufactory limit starts to grow from.
constexpr int32_t kLimitBaseYear = 1520;

int32_t StateReligionOf(const CCountry& country) {
    return g_scenarioSteps.stateReligionOf
               ? g_scenarioSteps.stateReligionOf(static_cast<int32_t>(country.GetNumber()))
               : -1;
}

} // namespace

void CCountry::UpdateCapitalDistances() {
    for (uint32_t n = 0; n < kCountrySlots; ++n) {
        float& distance = m_capitalDistances[n];
        distance = kNoDistance;
        const CCountry* other = CountryOfNumber(n);
        if (!other || m_capital == 0 || other->m_capital == 0)
            continue;
        distance =
            other->m_capital == m_capital ? 0.0f : ProvinceDistance(m_capital, other->m_capital);
    }
}

int32_t CCountry::GetSpriteCulture() const {
    const uint32_t n = m_number;
    if (n >= 1 && n <= 11)
        return static_cast<int32_t>(n - 1);
    switch (n) {
    case 14:
    case 15:
    case 16:
    case 17:
    case 23:
    case 24:
    case 34:
    case 35:
    case 39:
    case 40:
    case 45:
    case 48:
    case 53:
    case 54:
    case 58:
    case 59:
    case 94:
        return 17;
    case 33:
    case 43:
    case 64:
    case 77:
        return 13;
    case 44:
        return 15;
    case 55:
    case 76:
    case 97:
        return 16;
    case 62:
    case 63:
        return 14;
    case 65:
    case 66:
        return 12;
    case 96:
    case 98:
        return 18;
    default:
        return 11;
    }
}

uint32_t GetIndexedColour(int32_t code) {
    struct Colour {
        int32_t code;
        uint8_t red, green, blue;
        bool fantasyOnly;
    };
    static constexpr Colour kColours[] = {
        {1, 255, 0, 0, false},     {2, 0, 0, 255, false},     {3, 255, 255, 255, false},
        {4, 255, 160, 0, false},   {5, 0, 140, 0, false},     {6, 160, 160, 160, false},
        {7, 160, 128, 64, false},  {8, 255, 255, 0, false},   {9, 96, 192, 255, false},
        {10, 64, 255, 64, false},  {11, 128, 255, 96, false}, {13, 255, 128, 128, false},
        {39, 160, 160, 160, true}, {44, 0, 140, 0, true},     {62, 0, 0, 255, true},
        {64, 160, 128, 64, true},  {66, 255, 255, 255, true}, {68, 128, 255, 96, true},
        {70, 255, 0, 0, true},     {72, 255, 255, 0, true},
    };
    auto pack = [](uint32_t red, uint32_t green, uint32_t blue) {
        return red | green << 8 | blue << 16;
    };
    for (const Colour& colour : kColours)
        if (colour.code == code && (!colour.fantasyOnly || g_fantasyMode))
            return pack(colour.red, colour.green, colour.blue);
    return pack(255, 192, 96);
}

bool CCountry::IsHREMember() const {
    static constexpr uint32_t kMembers[] = {3,  6,  18, 19, 20, 21, 27, 30, 31,
                                            36, 38, 49, 50, 56, 61, 83, 84};
    for (uint32_t member : kMembers)
        if (member == m_number)
            return true;
    return false;
}

bool CCountry::IsEmperor() const {
    return m_number == g_globals.emperor;
}

std::string CCountry::GetRulerName() const {
    if (m_monarch && g_countryMilitary.monarchName)
        if (const char* name = g_countryMilitary.monarchName(*m_monarch))
            return name;
    return GetName();
}

int32_t CCountry::GetMonarchId() const {
    if (!m_monarch || !g_countryMilitary.monarchId)
        return -1;
    return static_cast<int32_t>(g_countryMilitary.monarchId(*m_monarch).number);
}

float CCountry::GetProductionEfficiency() const {
    const float religion =
        StateReligionOf(*this) == RELIGION_PROTESTANT ? kReligionEfficiencyBonus : 0.0f;
    return m_technology.infra.CurrentRow().efficiency +
           static_cast<float>(m_colonisationBonus) * 0.01f + religion;
}

float CCountry::GetTradeEfficiency() const {
    const float religion =
        StateReligionOf(*this) == RELIGION_REFORMED ? kReligionEfficiencyBonus : 0.0f;
    return m_technology.trade.CurrentRow().efficiency + static_cast<float>(m_tradeBonus) * 0.01f +
           religion;
}

void CCountry::RemoveLoansFrom(int64_t n) {
    if (n < 0 || n > UINT32_MAX)
        return;
    const ObjectId lender(kCountryObjectType, static_cast<uint32_t>(n));
    std::erase_if(m_loans, [&lender](const std::unique_ptr<CLoan>& loan) {
        return loan && loan->lender == lender;
    });
}

int32_t CCountry::GetYearScaledLimit() const {
    const int32_t years = std::max(GetGameDate().year - kLimitBaseYear, 0);
    float factor = 0.5f;
    switch (m_number) {
    case 1:
        factor = 1.0f;
        break;
    case 8:
    case 10:
        factor = -0.5f;
        break;
    case 7:
        factor = years < 180 ? -0.5f : 0.0f;
        break;
    default:
        break;
    }
    const auto scaled = static_cast<int32_t>(static_cast<float>(years) * factor * 0.016666668f);
    return std::max(years / 20 + scaled, 2);
}

void CCountry::AddModifier(int32_t kind, float value, const CDate* duration) {
    if (!duration || !IsHost())
        return;
    m_modifiers.Add(kind, value, duration->year * 12 + duration->month);
}

void CCountry::RefreshMilitaryState() {
    if (IsHost() && g_countryMilitary.checkCombats)
        g_countryMilitary.checkCombats(*this);
    UpdateCountryBlockades(*this);
    if (g_countryMilitary.updateSupply)
        g_countryMilitary.updateSupply(*this);
    if (g_countryMilitary.updateTrespassFlags)
        g_countryMilitary.updateTrespassFlags(*this);
}

void CCountry::ShareDiscoveriesWith(int64_t n) {
    if (n < 0 || n >= kCountrySlots || n == m_number)
        return;
    const auto other = static_cast<uint32_t>(n);
    for (int32_t province = 1; province <= kLastProvinceId; ++province) {
        const bool mine = IsProvinceDiscovered(m_number, province);
        const bool theirs = IsProvinceDiscovered(other, province);
        if (mine && !theirs)
            DiscoverProvince(other, province);
        else if (theirs && !mine)
            DiscoverProvince(m_number, province);
    }
}

void CCountry::ComputeStrengthRatings() {
    // Economy: a year of income in thousands; diplomacy: the reigning
    // figure's DIP and stability; expansion: owned provinces; land and
    // naval: what the forces would cost to raise, scaled by the technology
    // rows' fire, shock and morale and by the share of upkeep paid.
    const CTechRow& land = m_technology.land.CurrentRow();
    const CTechRow& naval = m_technology.naval.CurrentRow();
    float ships = 0.0f;
    if (g_countryMilitary.describeUnit)
        m_units.ForEach([&ships](CUnit* unit) {
            UnitFacts facts;
            g_countryMilitary.describeUnit(*unit, facts);
            if (facts.fleet)
                ships += facts.strength;
        });
    auto troops = [](int32_t count, int32_t price, float fire, float shock) {
        return static_cast<float>(count) * static_cast<float>(price) * (1.0f + fire + shock);
    };
    const float landValue =
        (troops(m_infantryTotal, GetInfantryPrice(), land.infantryFire, land.infantryShock) +
         troops(m_cavalryTotal, GetCavalryPrice(), land.cavalryFire, land.cavalryShock) +
         troops(m_artilleryTotal, GetArtilleryPrice(), land.artilleryFire, land.artilleryShock)) *
        (1.0f + land.morale) * std::clamp(m_landMaintenance, 0.1f, 1.0f) * 0.001f;
    const float navalValue = ships * static_cast<float>(GetWarshipPrice()) *
                             (1.0f + naval.warshipFire + naval.warshipShock + naval.fleetStrength) *
                             (1.0f + naval.morale) * std::clamp(m_navalMaintenance, 0.1f, 1.0f) *
                             0.01f;
    const float economy = (m_income + GetYearlyTaxIncome()) * 0.001f;
    const float diplomacy =
        static_cast<float>(GetMonarchDip()) + static_cast<float>(GetStability());
    const float expansion = static_cast<float>(m_ownedProvinces.GetCount());
    const float values[kStrengthRatings] = {economy, diplomacy, expansion, landValue, navalValue};
    for (size_t i = 0; i < kStrengthRatings; ++i) {
        const float value = values[i];
        // Not a number or below 1 (a country without forces): 1.
        m_strengthRatings[i] = value == value && value > 1.0f ? std::min(value, 1.0e9f) : 1.0f;
    }
}

DatedId MakeDatedId(const ObjectId& id) {
    return DatedId{GetGameDate(), id};
}

void CopyDatedId(DatedId& to, const DatedId& from) {
    to = from;
}

void AppendDatedIdEntry(CDatedIdList& list, const ObjectId& id) {
    list.AddTail(MakeDatedId(id));
}

void CCountry::AddDatedEntry(CDatedIdList& list, const ObjectId& id) {
    AppendDatedIdEntry(list, id);
}
