// A country's economy figures and the checks the windows and the computer
// player ask before they offer or request an action: building prices,
// manpower and recruiting, colonists, traders and merchants, buildings and
// money. Every operation here reads the world and changes nothing.
#include <algorithm>
#include <cmath>

#include "country/BuildingCosts.h"
#include "country/Country.h"
#include "country/CountryRecords.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Province.h"
#include "world/TradingPost.h"

namespace {

// Countries that may build no fortress, manufactory or improvement outside
// fantasy mode beside the pagans.
constexpr uint32_t kNoBuildingCountries[] = {44, 65, 66};

constexpr int32_t kMenPerRegiment = 1000;
constexpr int32_t kPiecesPerBattery = 10;
constexpr int32_t kMenPerShip = 5000;
constexpr int32_t kMaxTradingPostLevel = 6;
constexpr int32_t kMaxMerchantsInCentre = 6;
constexpr int32_t kFullCentre = 20;
constexpr float kBoostReserve = 200.0f;
constexpr int32_t kMaxBankLoans = 5;

bool IsFantasy() {
    return g_fantasyMode != 0;
}

// The province record of an id 1..1472, null otherwise.
const CProvince* ProvinceOf(int32_t id) {
    return id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
}

bool IsUnderSiege(const CProvince& province) {
    const CCity* city = province.GetCity();
    return city && city->IsUnderSiege();
}

bool HasFortress(const CCity& city) {
    return static_cast<int32_t>(city.GetFortress().level) >= 1;
}

int32_t Truncated(float value) {
    return static_cast<int32_t>(value);
}

// The merchants the country holds in the centre (whole part), 0 without an
// entry.
int32_t MerchantCount(const CCentreOfTrade& centre, int64_t country) {
    const CCotMerchant* entry = centre.GetMerchant(country);
    return entry ? Truncated(entry->level) : 0;
}

} // namespace

// --- building prices and figures ---

int32_t CCountry::GetBailiffCost() const {
    return Truncated((1.0f + GetCostModifier()) * 50.0f);
}

int32_t CCountry::GetCourthouseCost() const {
    return Truncated((1.0f + GetCostModifier()) * 100.0f);
}

int32_t CCountry::GetShipyardCost() const {
    return Truncated((1.0f + GetCostModifier()) * 1000.0f);
}

int32_t CCountry::GetConscriptionCenterCost() const {
    return Truncated((1.0f + GetCostModifier()) * 250.0f);
}

int32_t CCountry::GetFortressCost(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !target->GetCity())
        return 0;
    return Truncated((1.0f + GetCostModifier()) * 100.0f);
}

int32_t CCountry::GetMaxFortressLevel() const {
    const TechBase& tech = m_technology;
    if (tech.LandLevelAtLeast43())
        return 6;
    if (tech.LandLevelAtLeast29())
        return 5;
    if (tech.LandLevelAtLeast20())
        return 4;
    if (tech.LandLevelAtLeast12())
        return 3;
    return 2;
}

float CCountry::GetLandLevelValue() const {
    return m_technology.land.CurrentRow().extraValue + 1.0f;
}

float CCountry::GetNavalLevelFigure() const {
    return m_technology.naval.CurrentRow().extraValue + 1.0f;
}

CProvince* CCountry::GetCapital() const {
    return m_capital >= kFirstProvinceId && m_capital <= kLastProvinceId ? GetProvince(m_capital)
                                                                         : nullptr;
}

int32_t CCountry::GetCapitalId() const {
    return m_capital;
}

// --- manpower and recruiting ---

int32_t CCountry::GetProvinceManpower(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !target->GetCity() || target->GetTradingPost())
        return 0;
    if (target->GetCity()->IsColony())
        return 0;
    int32_t men = Truncated(target->GetTaxIncome() * 1000.0f);
    if (!m_nationalProvinces.Contains(province) && !IsFantasy())
        men /= 2;
    return men;
}

bool CCountry::IsRecruitingInProvince(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target)
        return false;
    const CConstructionList& orders = target->GetConstructions();
    for (uint32_t i = 0; i < orders.GetCount(); ++i) {
        const CConstructionOrder& order = orders.GetOrder(i);
        const int32_t kind = order.GetKind();
        if (order.country == static_cast<int32_t>(m_number) &&
            (kind == CONSTRUCTION_ARMY || kind == CONSTRUCTION_NAVY ||
             kind == CONSTRUCTION_NAVY_IN_SHIPYARD))
            return true;
    }
    return false;
}

int32_t CCountry::GetRecruitingInProvince(int32_t /*province*/) const {
    // The construction orders of armies and fleets carry no size; an order
    // under way refuses further recruiting there (IsRecruitingInProvince).
    return 0;
}

namespace {

// Regiments (of a thousand men) the country may still raise in the
// province: the province's men, doubled by a barrack, held to the pool,
// less what is being raised there.
int32_t AvailableRegiments(const CCountry& country, int32_t province) {
    int32_t limit = country.GetProvinceManpower(province) / kMenPerRegiment;
    const CProvince* target = ProvinceOf(province);
    if (target && target->GetCity() &&
        target->GetCity()->HasImprovement(CCity::IMPROVEMENT_BARRACK))
        limit *= 2;
    return std::min(Truncated(country.m_manpower), limit) -
           country.GetRecruitingInProvince(province) / kMenPerRegiment;
}

} // namespace

int32_t CCountry::GetRecruitableInfantry(int32_t province) const {
    return std::max(0, AvailableRegiments(*this, province)) * kMenPerRegiment;
}

int32_t CCountry::GetRecruitableCavalry(int32_t province) const {
    return GetRecruitableInfantry(province);
}

int32_t CCountry::GetRecruitableArtillery(int32_t province) const {
    return std::max(0, AvailableRegiments(*this, province)) * kPiecesPerBattery;
}

int32_t CCountry::GetRecruitableShips(int32_t province) const {
    int64_t men = GetProvinceManpower(province);
    const CProvince* target = ProvinceOf(province);
    if (target && target->GetCity() &&
        target->GetCity()->HasImprovement(CCity::IMPROVEMENT_SHIPYARD))
        men *= 10;
    if (men > 0 && men < kMenPerShip)
        men = kMenPerShip;
    const int64_t ships = (men - GetRecruitingInProvince(province)) / kMenPerShip;
    return static_cast<int32_t>(std::clamp<int64_t>(ships, 0, INT32_MAX));
}

bool CCountry::MayRaiseInfantry() const {
    return IsFantasy() || g_buildingCostClasses[m_number][BUILD_INFANTRY] != 0;
}

bool CCountry::MayRaiseCavalry() const {
    return IsFantasy() || g_buildingCostClasses[m_number][BUILD_CAVALRY] != 0;
}

bool CCountry::MayRaiseArtillery() const {
    return (IsFantasy() || g_buildingCostClasses[m_number][BUILD_ARTILLERY] != 0) &&
           m_technology.LandLevelAtLeast3();
}

bool CCountry::MayRaiseWarships() const {
    return IsFantasy() || g_buildingCostClasses[m_number][BUILD_WARSHIPS] != 0;
}

bool CCountry::MayRaiseGalleys() const {
    return IsFantasy() || g_buildingCostClasses[m_number][BUILD_GALLEYS] != 0;
}

bool CCountry::MayRaiseTransports() const {
    return (IsFantasy() || g_buildingCostClasses[m_number][BUILD_TRANSPORTS] != 0) &&
           m_technology.NavalLevelAtLeast1();
}

bool CCountry::CanAffordLandUnits(int32_t infantry, int32_t cavalry, int32_t artillery) const {
    if (infantry < 0 || cavalry < 0 || artillery < 0)
        return false;
    const int64_t price = int64_t{GetInfantryPrice()} * (infantry / kMenPerRegiment) +
                          int64_t{GetCavalryPrice()} * (cavalry / kMenPerRegiment) +
                          int64_t{GetArtilleryPrice()} * (artillery / kPiecesPerBattery);
    return static_cast<double>(price) <= static_cast<double>(m_treasury);
}

bool CCountry::CanAffordShips(int32_t warships, int32_t galleys, int32_t transports) const {
    if (warships < 0 || galleys < 0 || transports < 0)
        return false;
    const int64_t price = int64_t{GetWarshipPrice()} * warships +
                          int64_t{GetGalleyPrice()} * galleys +
                          int64_t{GetTransportPrice()} * transports;
    return static_cast<double>(price) <= static_cast<double>(m_treasury);
}

bool CCountry::CanRecruitInfantryIn(int32_t province) const {
    return MayRaiseInfantry() && GetRecruitableInfantry(province) >= 1 &&
           Truncated(m_treasury) >= GetInfantryPrice();
}

bool CCountry::CanRecruitCavalryIn(int32_t province) const {
    return MayRaiseCavalry() && GetRecruitableCavalry(province) >= 1 &&
           Truncated(m_treasury) >= GetCavalryPrice();
}

bool CCountry::CanRecruitArtilleryIn(int32_t province) const {
    return MayRaiseArtillery() && GetRecruitableArtillery(province) >= 1 &&
           Truncated(m_treasury) >= GetArtilleryPrice();
}

namespace {

// The province may take a fleet order: a city with a fortress and a ship
// to be had.
bool MayBuildShipsIn(const CCountry& country, int32_t province) {
    const CProvince* target = ProvinceOf(province);
    if (!target || !target->GetCity() || !HasFortress(*target->GetCity()))
        return false;
    return country.GetRecruitableShips(province) >= 1;
}

} // namespace

bool CCountry::CanRecruitWarshipsIn(int32_t province) const {
    return MayRaiseWarships() && MayBuildShipsIn(*this, province) &&
           Truncated(m_treasury) >= GetWarshipPrice();
}

bool CCountry::CanRecruitGalleysIn(int32_t province) const {
    return MayRaiseGalleys() && MayBuildShipsIn(*this, province) &&
           Truncated(m_treasury) >= GetGalleyPrice();
}

bool CCountry::CanRecruitTransportsIn(int32_t province) const {
    return MayRaiseTransports() && MayBuildShipsIn(*this, province) &&
           Truncated(m_treasury) >= GetTransportPrice();
}

bool CCountry::CanRecruitLandUnits(int32_t province, int32_t infantry, int32_t cavalry,
                                   int32_t artillery) const {
    const CProvince* target = ProvinceOf(province);
    const int32_t self = static_cast<int32_t>(m_number);
    if (!target || target->GetOwnerNumber() != self || !target->GetCity() ||
        IsUnderSiege(*target) || target->GetControllerNumber() != self)
        return false;
    if (!CanRecruitInfantryIn(province) && !CanRecruitCavalryIn(province) &&
        !CanRecruitArtilleryIn(province))
        return false;
    if (!CanAffordLandUnits(infantry, cavalry, artillery))
        return false;
    if (infantry > GetRecruitableInfantry(province) || cavalry > GetRecruitableCavalry(province) ||
        artillery > GetRecruitableArtillery(province))
        return false;
    return !IsRecruitingInProvince(province);
}

bool CCountry::CanBuildShips(int32_t province, int32_t warships, int32_t galleys,
                             int32_t transports) const {
    const CProvince* target = ProvinceOf(province);
    const int32_t self = static_cast<int32_t>(m_number);
    if (!target || IsUnderSiege(*target) || !target->GetCity() ||
        target->GetOwnerNumber() != self || target->GetControllerNumber() != self)
        return false;
    if (!CanRecruitWarshipsIn(province) && !CanRecruitGalleysIn(province) &&
        !CanRecruitTransportsIn(province))
        return false;
    if (IsRecruitingInProvince(province))
        return false;
    const int32_t ships = GetRecruitableShips(province);
    if (warships > ships || galleys > ships || transports > ships)
        return false;
    return CanAffordShips(warships, galleys, transports);
}

// --- colonists, traders and merchants ---

namespace {

// One of the province's leading land links is owned by the country; with
// needCity that neighbour must also hold a city that is no colony.
bool BordersOwnLand(const CProvince& province, int32_t country, bool needCity) {
    const int32_t count = std::min<int32_t>(province.neighbourCount,
                                            static_cast<int32_t>(province.neighbours.size()));
    for (int32_t i = 0; i < count; ++i) {
        const CProvince* next = ProvinceOf(province.neighbours[static_cast<size_t>(i)].id);
        if (!next || next->IsSea() || next->GetOwnerNumber() != country)
            continue;
        if (!needCity || (next->GetCity() && !next->GetCity()->IsColony()))
            return true;
    }
    return false;
}

// The terrain code whose provinces may be settled from any owned neighbour,
// with or without a city there.
constexpr int32_t kOpenSettlementTerrain = 13;

} // namespace

bool CCountry::MayPlaceColonist(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    const int32_t self = static_cast<int32_t>(m_number);
    if (!target || target->IsSea() || !target->discoveredBy[m_number])
        return false;
    if (target->GetConstructions().HasColonyOrder() || IsUnderSiege(*target))
        return false;
    const int32_t owner = target->GetOwnerNumber();
    if (owner >= 0 && owner != self)
        return false;
    if (owner == self && target->GetControllerNumber() != self)
        return false;
    if (target->GetCity() && target->GetCity()->IsLargeCity())
        return false;
    if (target->coastal)
        return true;
    return BordersOwnLand(*target, self, target->terrain != kOpenSettlementTerrain);
}

bool CCountry::CanSendColonist(int32_t province) const {
    return MayPlaceColonist(province) &&
           Truncated(m_treasury) >= Truncated(GetColonistCost(province)) && m_colonists >= 1.0f;
}

bool CCountry::MayPlaceTradingPost(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    const int32_t self = static_cast<int32_t>(m_number);
    if (!target || target->GetCity() || IsUnderSiege(*target) || target->IsSea() ||
        !target->discoveredBy[m_number] || target->GetConstructions().HasColonyOrder())
        return false;
    const int32_t owner = target->GetOwnerNumber();
    if (const CTradingPost* post = target->GetTradingPost()) {
        if (owner != self || Truncated(post->level) >= kMaxTradingPostLevel)
            return false;
    }
    if (owner == self && target->GetControllerNumber() == self)
        return true;
    if (owner >= 0 && owner != self)
        return false;
    return target->coastal || BordersOwnLand(*target, self, false);
}

bool CCountry::CanSendTrader(int32_t province) const {
    return m_technology.AllowsTradingPosts() && MayPlaceTradingPost(province) &&
           GetTraderCost(province) <= m_treasury && m_colonists >= 1.0f;
}

bool CCountry::MayCompeteInCentre(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    const CCentreOfTrade* centre = target ? target->centreOfTrade : nullptr;
    if (!centre)
        return false;
    if (centre->total == kFullCentre)
        return true;
    if (centre->total < 7)
        return false;
    const int32_t own = MerchantCount(*centre, m_number);
    if (own == kMaxMerchantsInCentre)
        return true;
    if (own < 5)
        return false;
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (MerchantCount(*centre, n) == kMaxMerchantsInCentre)
            return true;
    return false;
}

bool CCountry::MayPlaceMerchant(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !target->discoveredBy[m_number])
        return false;
    const CCentreOfTrade* centre = target->centreOfTrade;
    if (!centre || target->GetOwnerNumber() < 0)
        return false;
    if (const CProvince* seat = ProvinceOf(centre->GetProvinceId())) {
        const CCountry* seatOwner = CountryOfNumber(seat->GetOwnerNumber());
        if (seatOwner && seatOwner->m_diplomacy.RefusesTradeWith(m_number))
            return false;
    }
    const int32_t own = MerchantCount(*centre, m_number);
    if (!m_technology.TradeLevelAtLeast3() && own > 4 && own < kMaxMerchantsInCentre)
        return false;
    if (MayCompeteInCentre(province))
        return true;
    if (!centre->GetMerchant(m_number))
        return true;
    return own < kMaxMerchantsInCentre;
}

bool CCountry::CanSendMerchant(int32_t province) const {
    if (!m_technology.AllowsMerchants() || !MayPlaceMerchant(province))
        return false;
    const CCentreOfTrade* centre = ProvinceOf(province)->centreOfTrade;
    if (MerchantCount(*centre, m_number) > 5)
        return false;
    return static_cast<float>(GetMerchantCost(province)) <= m_treasury && m_merchants >= 1.0f;
}

bool CCountry::CanDestroyTradingPost(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target)
        return false;
    if (target->centreOfTrade && target->centreOfTrade->GetProvinceId() == province)
        return false;
    if (!target->GetTradingPost() ||
        target->GetControllerNumber() != static_cast<int32_t>(m_number))
        return false;
    return IsHostileTo(target->GetOwnerNumber());
}

// --- buildings ---

namespace {

// Outside fantasy mode pagans and a few further countries build nothing.
bool MayBuildAtAll(const CCountry& country) {
    if (IsFantasy())
        return true;
    if (country.m_religion.stateReligion == static_cast<uint32_t>(RELIGION_PAGAN))
        return false;
    return std::find(std::begin(kNoBuildingCountries), std::end(kNoBuildingCountries),
                     country.GetNumber()) == std::end(kNoBuildingCountries);
}

bool OwnsAndControls(const CProvince& province, uint32_t country) {
    return province.GetOwnerNumber() == static_cast<int32_t>(country) &&
           province.GetControllerNumber() == static_cast<int32_t>(country);
}

} // namespace

bool CCountry::CanBuildInProvince(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !OwnsAndControls(*target, m_number))
        return false;
    const CCity* city = target->GetCity();
    if (!city || IsUnderSiege(*target) || city->IsColony())
        return false;
    return city->CanBuildManufactory();
}

bool CCountry::CanBuildFacility(int32_t province, int32_t kind) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || target->HasOrdinaryUnit())
        return false;
    bool allowed = false;
    switch (kind) {
    case 1:
        allowed = m_technology.AllowsArtsManufactory();
        break;
    case 2:
        allowed = m_technology.AllowsWeaponsManufactory();
        break;
    case 3:
        allowed = m_technology.AllowsNavalManufactory();
        break;
    case 4:
        allowed = m_technology.AllowsRefinery();
        break;
    case 5:
        allowed = m_technology.AllowsGoodsManufactory();
        break;
    default:
        break;
    }
    if (!allowed || !MayBuildAtAll(*this) || !CanBuildInProvince(province))
        return false;
    return static_cast<float>(GetFacilityCost(province, kind)) <= m_treasury;
}

bool CCountry::CanBuildFortress(int32_t province) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !OwnsAndControls(*target, m_number) || IsUnderSiege(*target))
        return false;
    const CCity* city = target->GetCity();
    if (!city || city->IsColony() || city->GetFortress().increase)
        return false;
    if (static_cast<float>(GetFortressCost(province)) > m_treasury)
        return false;
    if (target->HasOrdinaryUnit() || !MayBuildAtAll(*this))
        return false;
    return Truncated(city->GetFortress().level) < GetMaxFortressLevel();
}

bool CCountry::CanBuildImprovement(int32_t province, int32_t kind) const {
    const CProvince* target = ProvinceOf(province);
    if (!target || !OwnsAndControls(*target, m_number))
        return false;
    const CCity* city = target->GetCity();
    if (!city || city->IsColony() || IsUnderSiege(*target) || !MayBuildAtAll(*this) ||
        target->HasOrdinaryUnit())
        return false;
    bool allowed = false;
    float base = 0.0f;
    switch (kind) {
    case CCity::IMPROVEMENT_SHIPYARD:
        allowed = m_technology.AllowsShipyard() && HasFortress(*city) &&
                  !city->HasImprovement(kind) && target->GetTaxIncome() >= 6.0f;
        base = 1000.0f;
        break;
    case CCity::IMPROVEMENT_BARRACK:
        allowed = m_technology.AllowsConscriptionCenter() && !city->HasImprovement(kind) &&
                  (m_nationalProvinces.Contains(province) || IsFantasy());
        base = 250.0f;
        break;
    case CCity::IMPROVEMENT_BAILIFF:
        allowed = m_technology.AllowsBailiff() && !city->HasImprovement(kind);
        base = 50.0f;
        break;
    case CCity::IMPROVEMENT_CITYRIGHTS:
        allowed = m_technology.AllowsCityRights() && !city->HasImprovement(kind);
        base = 50.0f;
        break;
    case CCity::IMPROVEMENT_COURTHOUSE:
        allowed = m_technology.AllowsCourthouse() &&
                  city->HasImprovement(CCity::IMPROVEMENT_BAILIFF) && !city->HasImprovement(kind);
        base = 100.0f;
        break;
    default:
        return false;
    }
    return allowed &&
           static_cast<float>(Truncated((1.0f + GetCostModifier()) * base)) <= m_treasury;
}

// --- money ---

bool CCountry::CanTakeLoan() const {
    return CountLoans() < kMaxBankLoans;
}

bool CCountry::CanLevyWarTax() const {
    return IsAtWar() && m_warTaxMonths < 1;
}

namespace {

bool MayBoost(const Technology& track, float treasury) {
    return IsDateReached(track.date) && treasury >= kBoostReserve;
}

} // namespace

bool CCountry::CanBoostTrade() const {
    return MayBoost(m_technology.trade, m_treasury);
}

bool CCountry::CanBoostInfrastructure() const {
    return MayBoost(m_technology.infra, m_treasury);
}

bool CCountry::CanBoostStability() const {
    return MayBoost(m_technology.stability, m_treasury);
}

bool CCountry::CanBoostLand() const {
    return MayBoost(m_technology.land, m_treasury);
}

bool CCountry::CanBoostNaval() const {
    return MayBoost(m_technology.naval, m_treasury);
}
