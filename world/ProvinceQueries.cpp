// The small reads of a province that the interface, the units, the countries
// and the computer player ask for; the fixed zones of province ids; the map
// colouring's setters.
#include <algorithm>
#include <span>
#include <vector>

#include "world/Globals.h"
#include "world/Province.h"
#include "world/ProvinceEconomy.h"
#include "world/ProvinceWork.h"

namespace {

// Event flags: 1 protestant allowed, 2 reformed allowed, 4 the demarcation
// treaty ends.
constexpr uint32_t kProtestantFlag = 1;
constexpr uint32_t kReformedFlag = 2;
constexpr uint32_t kTreatyEndFlag = 4;

struct IdRange {
    int32_t first;
    int32_t last;
};

bool InRanges(int32_t id, std::span<const IdRange> ranges) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [id](const IdRange& r) { return id >= r.first && id <= r.last; });
}

constexpr IdRange kDutchProvinces[] = {{337, 340}, {377, 380}};
constexpr IdRange kInterceptProvinces[] = {
    {251, 251}, {307, 307}, {357, 357}, {445, 445}, {732, 732}};
constexpr IdRange kZoneProvinces[] = {{302, 302}, {304, 306}, {310, 315}, {327, 336},
                                      {343, 351}, {369, 369}, {371, 375}, {387, 388}};
constexpr IdRange kLateZoneProvinces[] = {{389, 389}, {400, 405}};
constexpr IdRange kSpanishZone[] = {{6, 51}, {137, 194}, {215, 230}, {690, 694}};
constexpr IdRange kPortugueseZone[] = {{195, 214}, {537, 556}, {695, 731}, {751, 804}};
// The owner whose provinces are never in the zone, and the owner of the
// Dutch provinces.
constexpr int32_t kZoneExemptOwner = 2;
constexpr int32_t kDutchOwner = 4;

constexpr int32_t kMaxShade = 31;
constexpr int32_t kDimmedColourBit = 32;
constexpr int32_t kColourMask = 31;

bool IsHostile(int32_t country, int32_t other) {
    return g_provinceEconomy.isHostileTo && g_provinceEconomy.isHostileTo(country, other);
}

std::vector<EconomyUnit> UnitsIn(int32_t province) {
    std::vector<EconomyUnit> units;
    if (g_provinceEconomy.unitsIn)
        g_provinceEconomy.unitsIn(province, units);
    return units;
}

// The province's own id range, or a coastal province beside one of it.
bool InZone(const CProvince& province, std::span<const IdRange> ranges) {
    if (InRanges(province.GetNumber(), ranges))
        return true;
    if (!province.coastal)
        return false;
    const int32_t leading = std::min(province.neighbourCount, province.GetNeighbourTotal());
    for (int32_t i = 0; i < leading; ++i)
        if (InRanges(province.neighbours[static_cast<size_t>(i)].id, ranges))
            return true;
    return false;
}

// The tax value x 1000, halved outside the owner's national provinces; 0
// unless the owner holds a city of its own that is no colony.
int32_t BaseWeight(const CProvince& province) {
    const CCity* city = province.GetCity();
    if (province.GetOwnerNumber() < 0 ||
        province.GetOwnerNumber() != province.GetControllerNumber() || province.GetTradingPost() ||
        !city || city->IsColony())
        return 0;
    int32_t w =
        static_cast<int32_t>(std::clamp(province.GetTaxIncome() * 1000.0f, -1.0e9f, 1.0e9f));
    if (!province.IsInOwnProvinceSet(province.GetOwnerNumber()))
        w /= 2;
    return w;
}

} // namespace

CProvince* LookupProvince(int64_t id) {
    return GetProvince(id);
}

CSettlement* CProvince::GetSettlement() const {
    if (m_city)
        return m_city.get();
    return m_tradingPost.get();
}

int32_t CProvince::GetReligion() const {
    if (religion == RELIGION_PROTESTANT && !g_globals.EventFlag(kProtestantFlag))
        return RELIGION_CATHOLIC;
    if (religion == RELIGION_REFORMED && !g_globals.EventFlag(kReformedFlag))
        return RELIGION_CATHOLIC;
    return religion;
}

bool CProvince::HasShipyard() const {
    return m_city && m_city->HasImprovement(CCity::IMPROVEMENT_SHIPYARD);
}
bool CProvince::HasBarrack() const {
    return m_city && m_city->HasImprovement(CCity::IMPROVEMENT_BARRACK);
}
bool CProvince::HasBailiff() const {
    return m_city && m_city->HasImprovement(CCity::IMPROVEMENT_BAILIFF);
}
bool CProvince::HasCityRights() const {
    return m_city && m_city->HasImprovement(CCity::IMPROVEMENT_CITYRIGHTS);
}
bool CProvince::HasCourthouse() const {
    return m_city && m_city->HasImprovement(CCity::IMPROVEMENT_COURTHOUSE);
}

float CProvince::GetPopulation() const {
    return m_city ? m_city->GetPopulation() : 0.0f;
}

int32_t CProvince::GetFortressLevel() const {
    return m_city ? static_cast<int32_t>(std::clamp(m_city->GetFortress().level, 0.0f, 1000.0f))
                  : 0;
}

int32_t CProvince::GetManufactoryType() const {
    return m_city ? m_city->manufactory : 0;
}

bool CProvince::IsCapital() const {
    return m_city && m_city->IsCapital();
}

int32_t CProvince::GetTradingPostLevel() const {
    return m_tradingPost ? static_cast<int32_t>(m_tradingPost->level) : 0;
}

bool CProvince::IsUnderSiege() const {
    return m_city && m_city->IsUnderSiege();
}

bool CProvince::CanColonise() const {
    if (m_tradingPost)
        return false;
    return !m_city || m_city->IsColony();
}

int32_t CProvince::GetColonisationCost() const {
    return 10 * tolerance;
}

float CProvince::GetManpower() const {
    if (!m_city || m_city->IsColony() || m_owner < 0)
        return 0.0f;
    const int32_t capital =
        g_provinceWork.capitalOf ? g_provinceWork.capitalOf(m_owner) : GetNumber();
    const CProvince* capitalProvince = GetProvince(capital);
    if (!capitalProvince || capitalProvince->continent != continent)
        return 0.0f;
    float m =
        static_cast<float>(m_city->GetSizeLevel() / 3 + 1) * static_cast<float>(manpower) * 0.25f;
    if (HasBarrack())
        m = m * 3.0f + 1.0f;
    return m;
}

bool CProvince::HasUnits() const {
    return !UnitsIn(GetNumber()).empty();
}

bool CProvince::IsBorderProvince() const {
    const int32_t leading = std::min(neighbourCount, GetNeighbourTotal());
    for (int32_t i = 0; i < leading; ++i) {
        const CProvince* other = GetProvince(neighbours[static_cast<size_t>(i)].id);
        if (other && !other->IsSea() && other->m_owner != m_owner)
            return true;
    }
    return false;
}

bool CProvince::IsInOwnProvinceSet(int32_t country) const {
    return country >= 0 && g_provinceWork.isNationalProvince &&
           g_provinceWork.isNationalProvince(country, GetNumber());
}

bool CProvince::HasEnemyUnit(int32_t country) const {
    for (const EconomyUnit& unit : UnitsIn(GetNumber()))
        if (!unit.retreating && IsHostile(unit.owner, country))
            return true;
    return false;
}

bool CProvince::HasHostileCity(int32_t country) const {
    return m_controller >= 0 && m_city && GetFortressLevel() >= 1 &&
           IsHostile(m_controller, country);
}

int32_t CProvince::GetLandWeight() const {
    int32_t w = BaseWeight(*this);
    if (HasBarrack())
        w *= 2;
    return w / 1000;
}

int32_t CProvince::GetNavalWeight() const {
    int32_t w = BaseWeight(*this);
    if (HasShipyard())
        w *= 10;
    return w < 5000 ? 1 : w / 5000;
}

bool CProvince::IsDutchProvince() const {
    return InRanges(GetNumber(), kDutchProvinces);
}

bool CProvince::HasInterceptBonus() const {
    return InRanges(GetNumber(), kInterceptProvinces);
}

bool CProvince::IsZoneProvince() const {
    if (m_owner == kZoneExemptOwner)
        return false;
    const int32_t faith = m_owner >= 0 && g_provinceEconomy.stateReligionOf
                              ? g_provinceEconomy.stateReligionOf(m_owner)
                              : -1;
    if (faith < RELIGION_PROTESTANT || faith > RELIGION_ORTHODOX)
        return false;
    const int32_t id = GetNumber();
    if (InRanges(id, kZoneProvinces))
        return true;
    if (InRanges(id, kDutchProvinces))
        return m_owner != kDutchOwner;
    if (InRanges(id, kLateZoneProvinces))
        return !g_globals.EventFlag(kTreatyEndFlag);
    return false;
}

bool CProvince::IsInSpanishZone() const {
    return InZone(*this, kSpanishZone);
}

bool CProvince::IsInPortugueseZone() const {
    return InZone(*this, kPortugueseZone);
}

void CProvince::SetShade(int32_t level) {
    shade = std::clamp(level, 0, kMaxShade);
}

void CProvince::AddShade(int32_t delta) {
    SetShade(shade + delta);
}

void CProvince::SetColourVisible(uint8_t flag) {
    visible = flag;
    if (flag == 0)
        mapColour |= kDimmedColourBit;
    else if (flag == 1)
        mapColour &= kColourMask;
}

void CProvince::SetMapColour(int32_t index) {
    mapColour = visible == 0 ? (index & kColourMask) | kDimmedColourBit : index & kColourMask;
}
