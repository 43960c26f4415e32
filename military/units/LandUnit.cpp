#include "military/units/LandUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "engine/Random.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/Province.h"

namespace {

// A troop total with the strength added, held within 0..INT32_MAX.
void AddToTotal(int32_t& total, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total = static_cast<int32_t>(std::clamp<int64_t>(sum, 0, std::numeric_limits<int32_t>::max()));
}

constexpr int32_t kNatives = 97;
constexpr int32_t kRebels = 98;
constexpr int32_t kExplorerSeaArea = 139;
constexpr int32_t kTerrainForest = 1;
constexpr int32_t kTerrainMountain = 2;
constexpr int32_t kTerrainMarsh = 4;

int32_t Ceil(float value) {
    return value > 0.0f ? static_cast<int32_t>(std::ceil(value)) : 0;
}

// Whole regiments of a strength, a part counting whole.
int32_t Regiments(float strength, int32_t perRegiment) {
    return (Ceil(strength) + perRegiment - 1) / perRegiment;
}

// The transport need of every army on land in the province, whoever owns
// it.
int32_t RegimentsIn(int32_t province) {
    int32_t total = 0;
    for (const CCountry* country : g_countries) {
        if (!country)
            continue;
        CLinkedList<CUnit>::CListPosition node = nullptr;
        for (country->m_units.GetHeadPosition(node); node; CLinkedList<CUnit>::MoveNext(node)) {
            const CUnit* unit = node->item;
            if (node->removed || !unit || unit->IsFleet() || unit->GetLocation() != province)
                continue;
            const auto* army = static_cast<const CLandUnit*>(unit);
            if (!army->GetCarrier())
                total += army->GetTransportNeed();
        }
    }
    return total;
}

// The natives fight with their province's ferocity.
float NativesFactor(const CLandUnit& army) {
    const CCountry* owner = army.GetOwner();
    if (!owner || owner->GetNumber() != kNatives)
        return 1.0f;
    const CProvince* province = GetProvince(army.GetLocation());
    return province ? province->ferocity : 1.0f;
}

// The terrain the army fights on; none aboard.
int32_t TerrainOf(const CLandUnit& army) {
    if (army.GetCarrier() || army.GetLocation() == 0)
        return -1;
    const CProvince* province = GetProvince(army.GetLocation());
    return province ? province->terrain : -1;
}

// Morale moves by 30 % of the aim toward it, never past it.
bool MoveMoraleToward(float& morale, float aim) {
    const float before = morale;
    const float step = 0.3f * aim;
    if (morale >= aim)
        morale = std::max(aim, morale - step);
    else
        morale = std::min(aim, morale + step);
    return morale != before;
}

} // namespace

void ForEachUnitIn(int32_t province, const std::function<void(CUnit&)>& f) {
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        CLinkedList<CUnit>::CListPosition node = nullptr;
        for (country->m_units.GetHeadPosition(node); node; CLinkedList<CUnit>::MoveNext(node))
            if (!node->removed && node->item && node->item->GetLocation() == province)
                f(*node->item);
    }
}

void SendTroopTransfer(const CUnit& from, const CUnit& to, uint32_t type, int32_t amount) {
    const CCountry* owner = from.GetOwner();
    if (!owner)
        return;
    auto event = std::make_unique<COVDataEvent>(type, owner->GetId());
    COVEventData& payload = event->Payload();
    payload.Set(UnitTransferPayload::kFrom, from.GetId());
    payload.Set(UnitTransferPayload::kTo, to.GetId());
    payload.Set(UnitTransferPayload::kCount, static_cast<uint32_t>(std::max(amount, 0)));
    ExecuteAndSendEvent(std::move(event));
}

std::vector<CUnit*> DistributionTakers(const CUnit& giver) {
    std::vector<CUnit*> takers;
    const CProvince* here = GetProvince(giver.GetLocation());
    if (!IsHost() || !here || giver.GetLocation() == 0 || here->HasCombat())
        return takers;
    ForEachUnitIn(giver.GetLocation(), [&](CUnit& unit) {
        if (&unit == &giver || unit.IsFleet() != giver.IsFleet() ||
            unit.GetOwner() != giver.GetOwner() || !unit.IsPathEmpty() || unit.HasExplorerLeader())
            return;
        if (!unit.IsFleet() && static_cast<const CLandUnit&>(unit).GetCarrier())
            return;
        takers.push_back(&unit);
    });
    return takers;
}

int32_t (*g_provinceSupplyValue)(const CProvince& province, CCountry& country,
                                 bool siege) = nullptr;

int32_t GetTransportNeed(float infantry, float cavalry, float artillery) {
    return Regiments(infantry, 1000) + Regiments(cavalry, 1000) + Regiments(artillery, 10);
}

float GetLandMorale(CCountry& country) {
    return country.GetLandTech().CurrentRow().morale;
}

float GetNavalMorale(CCountry& country) {
    return country.GetNavalTech().CurrentRow().morale;
}

float EstimateArmyPower(CCountry& country, float infantry, float cavalry, float artillery) {
    return GetLandMorale(country) *
           (infantry * (country.GetLandInfantryFire() + country.GetLandInfantryShock()) +
            cavalry * (country.GetLandCavalryFire() + country.GetLandCavalryShock()) +
            artillery * (country.GetLandArtilleryFire() + country.GetLandArtilleryShock()));
}

// ---------------------------------------------------------------- CLandUnit

CLandUnit::~CLandUnit() {
    if (m_carrier)
        m_carrier->UnloadArmy(this);
}

CDataBlock* CLandUnit::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddContents(CUnit::Write());
    block->AddChild(new CDataAssignment(KW_INFANTRY, new CFloatNode(m_strength[2])));
    block->AddChild(new CDataAssignment(KW_CAVALRY, new CFloatNode(m_strength[1])));
    block->AddChild(new CDataAssignment(KW_ARTILLERY, new CFloatNode(m_strength[0])));
    return block;
}

bool CLandUnit::ReadOwnField(CFieldReader& in) {
    size_t index = 0;
    switch (in.key.code) {
    case KW_ARTILLERY:
        index = 0;
        break;
    case KW_CAVALRY:
        index = 1;
        break;
    case KW_INFANTRY:
        index = 2;
        break;
    default:
        return false;
    }
    if (in.value.code == TOKEN_NUMBER)
        m_strength[index] = TokenToFloat(in.value.text);
    return true;
}

void CLandUnit::BoardFleet(int32_t province, CNavalUnit* fleet) {
    if (fleet && !m_carrier) {
        previousProvince = GetLocation();
        // Aboard, the army is where its fleet is and retreats no more.
        SetLocation(fleet->GetLocation());
        RestoreFlag();
        fleet->LoadArmy(this);
        if (IsHost())
            NotifyAI(UNIT_NOTICE_MOVED);
        return;
    }
    if (m_carrier) {
        previousProvince = m_carrier->GetLocation();
        m_carrier->UnloadArmy(this);
    }
    SetProvince(province);
}

void CLandUnit::AddToOwnerTotals() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return;
    AddToTotal(owner->m_infantryTotal, GetRoundedInfantry());
    AddToTotal(owner->m_cavalryTotal, GetRoundedCavalry());
    AddToTotal(owner->m_artilleryTotal, GetRoundedArtillery());
}

// ------------------------------------------------------- the army's rules

int32_t CLandUnit::GetTransportNeed() const {
    return ::GetTransportNeed(GetInfantry(), GetCavalry(), GetArtillery());
}

float CLandUnit::GetMovementFactor() const {
    if (GetRoundedArtillery() > 0)
        return 1.5f;
    return GetRoundedInfantry() > 0 ? 2.0f : 3.0f;
}

float CLandUnit::GetAttritionRateIn(const CProvince& province) const {
    CCountry* owner = GetOwner();
    const int32_t size = GetSize();
    if (size <= 0 || !owner)
        return 0.0f;
    int32_t floor = 1;
    int32_t v = RegimentsIn(province.GetNumber());
    if (province.IsWinter()) {
        v += 10;
        if (province.GetOwnerNumber() != static_cast<int32_t>(owner->GetNumber()))
            v += 15;
    }
    if (province.climate == 4 || province.climate == 6)
        v += 5;
    if (const CLeader* commander = GetMovementCommander()) {
        if (commander->category == LEADER_CONQUISTADOR) {
            v -= 4 * commander->manoeuvre;
            floor = 0;
        } else {
            v -= 2 * commander->manoeuvre;
        }
    }
    if (g_provinceSupplyValue)
        v -= g_provinceSupplyValue(province, *owner, false);
    v = std::min(v, province.GetAttrition(*owner, false));
    const int32_t least = 1000 / size;
    if (v > 0 && v < least)
        v = least;
    if (IsPathEmpty())
        floor = 0;
    if (v < floor)
        v = floor;
    return static_cast<float>(v) * 0.01f;
}

float CLandUnit::GetAttritionRate() const {
    if (m_carrier) {
        const CProvince* at = GetProvince(m_carrier->GetLocation());
        return at ? m_carrier->GetAttritionRateIn(*at) : 0.0f;
    }
    const CProvince* here = GetProvince(GetLocation());
    return here && GetLocation() != 0 ? GetAttritionRateIn(*here) : 0.0f;
}

float CLandUnit::GetMonthlyAttrition() const {
    const float rate = GetAttritionRate();
    return rate > 0.0f ? static_cast<float>(GetSize()) * rate : 0.0f;
}

float CLandUnit::GetMaintenance() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    const float upkeep = owner->m_landMaintenance *
                         (static_cast<float>(owner->GetArtilleryPrice()) *
                              static_cast<float>(GetRoundedArtillery()) * 0.01f +
                          static_cast<float>(owner->GetCavalryPrice()) *
                              static_cast<float>(GetRoundedCavalry()) * 0.001f +
                          static_cast<float>(owner->GetInfantryPrice()) *
                              static_cast<float>(GetRoundedInfantry()) * 0.001f) *
                         0.020833334f;
    return owner->IsAtWar() ? upkeep * 1.5f : upkeep;
}

int32_t CLandUnit::GetCost() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0;
    return owner->GetInfantryPrice() * (GetRoundedInfantry() / 1000) +
           owner->GetCavalryPrice() * (GetRoundedCavalry() / 1000) +
           owner->GetArtilleryPrice() * (GetRoundedArtillery() / 10);
}

bool CLandUnit::RegainMorale() {
    CCountry* owner = GetOwner();
    if (!owner)
        return false;
    const float aim = trespassing ? 1.0f : GetLandMorale(*owner);
    const bool changed = MoveMoraleToward(morale, aim);
    RefreshFigure();
    return changed;
}

float CLandUnit::GetFirePower() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    const int32_t terrain = TerrainOf(*this);
    const float artilleryFire =
        owner->GetLandArtilleryFire() * (terrain == kTerrainMarsh ? 0.5f : 1.0f);
    return (static_cast<float>(GetRoundedInfantry()) * owner->GetLandInfantryFire() +
            static_cast<float>(GetRoundedArtillery()) * artilleryFire +
            static_cast<float>(GetRoundedCavalry()) * owner->GetLandCavalryFire()) *
           NativesFactor(*this);
}

float CLandUnit::GetShockPower() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    const int32_t terrain = TerrainOf(*this);
    const bool rough =
        terrain == kTerrainMarsh || terrain == kTerrainForest || terrain == kTerrainMountain;
    const float cavalryShock = owner->GetLandCavalryShock() * (rough ? 0.5f : 1.0f);
    return (static_cast<float>(GetRoundedInfantry()) * owner->GetLandInfantryShock() +
            static_cast<float>(GetRoundedArtillery()) * owner->GetLandArtilleryShock() +
            static_cast<float>(GetRoundedCavalry()) * cavalryShock) *
           NativesFactor(*this);
}

float CLandUnit::GetPower() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return (static_cast<float>(GetRoundedInfantry()) *
                (owner->GetLandInfantryFire() + owner->GetLandInfantryShock()) +
            static_cast<float>(GetRoundedCavalry()) *
                (owner->GetLandCavalryFire() + owner->GetLandCavalryShock()) +
            static_cast<float>(GetRoundedArtillery()) *
                (owner->GetLandArtilleryFire() + owner->GetLandArtilleryShock())) *
           NativesFactor(*this) * morale;
}

namespace {

// The space left on the country's fleets in the province.
int32_t FreeTransportSpace(int32_t province, const CCountry* owner) {
    int32_t space = 0;
    ForEachUnitIn(province, [&](CUnit& unit) {
        if (unit.IsFleet() && unit.GetOwner() == owner) {
            const auto& fleet = static_cast<const CNavalUnit&>(unit);
            space += fleet.GetTransportCapacity() - fleet.GetCargoLoad();
        }
    });
    return space;
}

// The need of the country's armies ashore (but one) whose next step is
// into the sea zone.
int32_t EmbarkingNeed(int32_t seaZone, const CCountry* owner, const CLandUnit* except) {
    int32_t need = 0;
    CLinkedList<CUnit>::CListPosition node = nullptr;
    for (owner->m_units.GetHeadPosition(node); node; CLinkedList<CUnit>::MoveNext(node)) {
        const CUnit* unit = node->item;
        if (node->removed || !unit || unit == except || unit->IsFleet())
            continue;
        const auto* army = static_cast<const CLandUnit*>(unit);
        if (!army->GetCarrier() && army->GetNextPathProvince() == seaZone)
            need += army->GetTransportNeed();
    }
    return need;
}

bool Discovered(const CProvince& province, uint32_t country) {
    return country < province.discoveredBy.size() && province.discoveredBy[country] != 0;
}

} // namespace

bool CLandUnit::CanRetreatTo(int32_t provinceId) const {
    const CCountry* owner = GetOwner();
    if (provinceId == 0 || !owner || owner->GetNumber() == kNatives ||
        owner->GetNumber() == kRebels)
        return false;
    const int32_t n = static_cast<int32_t>(owner->GetNumber());
    const CProvince* here = GetProvince(GetLocation());
    const CProvince* target = GetProvince(provinceId);
    if (!here || !target || !here->IsNeighbour(provinceId))
        return false;
    if (target->area == kExplorerSeaArea &&
        FreeTransportSpace(provinceId, owner) < GetTransportNeed())
        return false;
    if (!Discovered(*target, owner->GetNumber()))
        return false;
    const CLeader* commander = GetMovementCommander();
    if (GameRand() % 10 < (commander ? commander->manoeuvre : 0))
        return CanEnterProvince(*target);
    if (!CanEnterProvince(*target))
        return false;
    const CCountry* holder = CountryOfNumber(target->GetOwnerNumber());
    const CCountry* controller = CountryOfNumber(target->GetControllerNumber());
    if (!holder || !controller)
        return true;
    if (!holder->HasAccessTo(n) && !holder->IsHostileTo(n))
        return false;
    return controller->HasAccessTo(n);
}

int32_t CLandUnit::FindRetreatProvince() const {
    CCountry* owner = GetOwner();
    const CProvince* here = GetProvince(GetLocation());
    if (!owner || !here || owner->GetNumber() == kNatives || owner->GetNumber() == kRebels)
        return 0;
    const int32_t n = static_cast<int32_t>(owner->GetNumber());
    int32_t best = 0;
    float bestScore = 0.1f;
    for (int32_t i = 0; i < here->neighbourCount && i < here->GetNeighbourTotal(); ++i) {
        const int32_t id = here->neighbours[static_cast<size_t>(i)].id;
        const CProvince* p = GetProvince(id);
        if (!p || id == 0)
            continue;
        float score = 0.0f;
        if (!p->IsSea()) {
            if (!Discovered(*p, owner->GetNumber()) || !CanEnterProvince(*p))
                continue;
            const int32_t level = p->natives > 0 ? p->natives : 0;
            bool hostile = false;
            float fire = 0.0f;
            float shock = 0.0f;
            ForEachUnitIn(id, [&](CUnit& unit) {
                const CCountry* other = unit.GetOwner();
                if (!other || !owner->IsHostileTo(other->GetNumber()))
                    return;
                hostile = true;
                if (unit.IsFleet()) {
                    fire += static_cast<CNavalUnit&>(unit).GetFirePower();
                    shock += static_cast<CNavalUnit&>(unit).GetShockPower();
                } else {
                    fire += static_cast<CLandUnit&>(unit).GetFirePower();
                    shock += static_cast<CLandUnit&>(unit).GetShockPower();
                }
            });
            if (level < 1 && !hostile) {
                score = 100.0f;
            } else {
                const float sums = level >= 1 ? 0.0f : fire + shock;
                const float denominator = static_cast<float>(level) + sums;
                score = denominator > 0.0f ? 1.0f / denominator : 0.0f;
            }
            const int32_t holder = p->GetOwnerNumber();
            const int32_t controller = p->GetControllerNumber();
            const auto onSide = [&](int32_t c) {
                return c == n || (c >= 0 && owner->IsCobelligerentWith(c));
            };
            if (holder < 0)
                score += 4.0f;
            else if (holder == n && controller == n)
                score += 16.0f;
            else if (onSide(holder) && onSide(controller))
                score += 14.0f;
            else if (controller == n)
                score += 12.0f;
            else if (onSide(controller))
                score += 10.0f;
            else if (holder == n)
                score += 8.0f;
            else if (onSide(holder))
                score += 6.0f;
            else
                score += 2.0f;
        } else if (here->IsNeighbour(id)) {
            const int32_t space = FreeTransportSpace(id, owner);
            const int32_t need = GetTransportNeed();
            if (need <= space && need + EmbarkingNeed(id, owner, this) <= space)
                score = 50.0f;
        }
        if (score > bestScore) {
            bestScore = score;
            best = id;
        }
    }
    return best;
}

void CLandUnit::DistributeTroops(int32_t count) {
    if (m_carrier || !GetOwner())
        return;
    for (CUnit* taker : DistributionTakers(*this)) {
        if (count <= 0)
            break;
        const int32_t infantry = GetRoundedInfantry() / count;
        const int32_t cavalry = GetRoundedCavalry() / count;
        const int32_t artillery = GetRoundedArtillery() / count;
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_INFANTRY, infantry);
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_CAVALRY, cavalry);
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_ARTILLERY, artillery);
        --count;
    }
}

float CLandUnit::EstimatePowerWeighted(float cavalryShockWeight, float fireWeight) const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return (static_cast<float>(GetRoundedInfantry()) *
                (owner->GetLandInfantryShock() + owner->GetLandInfantryFire() * fireWeight) +
            static_cast<float>(GetRoundedCavalry()) *
                (owner->GetLandCavalryFire() * fireWeight +
                 owner->GetLandCavalryShock() * cavalryShockWeight) +
            static_cast<float>(GetRoundedArtillery()) *
                (owner->GetLandArtilleryShock() + owner->GetLandArtilleryFire() * fireWeight)) *
           NativesFactor(*this) * morale;
}

float CLandUnit::GetInfantryArtilleryFire() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    const float artilleryFire =
        owner->GetLandArtilleryFire() * (TerrainOf(*this) == kTerrainMarsh ? 0.5f : 1.0f);
    return (static_cast<float>(GetRoundedInfantry()) * owner->GetLandInfantryFire() +
            static_cast<float>(GetRoundedArtillery()) * artilleryFire) *
           NativesFactor(*this);
}

float CLandUnit::GetInfantryArtilleryShock() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return (static_cast<float>(GetRoundedInfantry()) * owner->GetLandInfantryShock() +
            static_cast<float>(GetRoundedArtillery()) * owner->GetLandArtilleryShock()) *
           NativesFactor(*this);
}
