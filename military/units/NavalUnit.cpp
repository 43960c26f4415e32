#include "military/units/NavalUnit.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "engine/Saturate.h"
#include "military/units/Leader.h"
#include "net/EventTypes.h"
#include "world/City.h"
#include "world/Province.h"

namespace {

// Where the figure of an army aboard goes: off the map.
constexpr int32_t kOffMap = -100;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

int32_t Ceil(float value) {
    return value > 0.0f ? static_cast<int32_t>(std::ceil(value)) : 0;
}

// A province whose city has a port: the fortress fleets lie in.
bool HasFortress(const CProvince& province) {
    return province.GetPort() != nullptr;
}

bool IsCoastal(const CProvince& province) {
    return province.coastal != 0 || province.coastalSeaZone != 0;
}

// The inner seas where galleys are at home.
constexpr int32_t kGalleySeas[] = {40, 43, 44};

const char* OwnerName(const CUnit& unit) {
    const CCountry* owner = unit.GetOwner();
    return owner ? owner->GetTag().c_str() : "";
}

} // namespace

float EstimateFleetPower(CCountry& country, float warships, float galleys) {
    return GetNavalMorale(country) *
           (warships * (country.GetNavalWarshipFire() + country.GetNavalWarshipShock()) +
            galleys * (country.GetNavalGalleyFire() + country.GetNavalGalleyShock()));
}

// --------------------------------------------------------------- CNavalUnit

CNavalUnit::~CNavalUnit() {
    m_cargo.ForEach([](CLandUnit* army) { army->m_carrier = nullptr; });
}

CDataBlock* CNavalUnit::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddContents(CUnit::Write());
    block->AddChild(new CDataAssignment(KW_WARSHIPS, new CFloatNode(m_strength[0])));
    block->AddChild(new CDataAssignment(KW_GALLEYS, new CFloatNode(m_strength[1])));
    block->AddChild(new CDataAssignment(KW_TRANSPORTS, new CFloatNode(m_strength[2])));
    if (GetMonthsAtSea() > 0)
        block->AddChild(new CDataAssignment(KW_PORT, portDate.Write()));
    CLinkedList<CLandUnit>::CListPosition position = nullptr;
    for (m_cargo.GetHeadPosition(position); position; CLinkedList<CLandUnit>::MoveNext(position))
        if (!position->removed && position->item)
            block->AddChild(new CDataAssignment(KW_LANDUNIT, position->item->Write()));
    return block;
}

bool CNavalUnit::ReadOwnField(CFieldReader& in) {
    const Token& value = in.value;
    size_t index = 0;
    switch (in.key.code) {
    case KW_WARSHIPS:
        index = 0;
        break;
    case KW_GALLEYS:
        index = 1;
        break;
    case KW_TRANSPORTS:
        index = 2;
        break;
    case KW_PORT:
        if (value.code == TOKEN_OPEN_BRACE)
            portDate.Read(in);
        return true;
    case KW_LANDUNIT: {
        if (value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            return true;
        }
        CCountry* owner = GetOwner();
        auto army = std::make_unique<CLandUnit>(owner);
        army->SetOwner(owner);
        army->SetIdleState();
        army->Read(in);
        // The owner's unit list owns its armies; an army without a country
        // has nobody to keep it.
        if (!owner)
            return true;
        CLandUnit* aboard = army.release();
        owner->AddUnit(aboard);
        LoadArmy(aboard);
        aboard->AddToOwnerTotals();
        return true;
    }
    default:
        return false;
    }
    if (value.code == TOKEN_NUMBER)
        m_strength[index] = TokenToFloat(value.text);
    return true;
}

void CNavalUnit::LoadArmy(CLandUnit* army) {
    if (!army || army->m_carrier == this)
        return;
    if (army->m_carrier)
        army->m_carrier->UnloadArmy(army);
    m_cargo.AddTail(army);
    army->m_carrier = this;
    // Aboard, the army's figure leaves the map.
    army->SetFigurePosition(kOffMap, kOffMap);
}

bool CNavalUnit::UnloadArmy(CLandUnit* army) {
    if (!army || army->m_carrier != this)
        return false;
    m_cargo.Remove(army);
    army->m_carrier = nullptr;
    return true;
}

int32_t CNavalUnit::GetMonthsAtSea() const {
    const CProvince* province = GetProvince(GetLocation());
    if (!province || !province->IsSea())
        return 0;
    const CDate today = Today();
    return (today.year - portDate.year) * 12 + today.month - portDate.month;
}

// ------------------------------------------------------ the fleet's rules

int32_t CNavalUnit::GetTransportCapacity() const {
    return 2 * Ceil(GetTransports()) + Ceil(GetGalleys()) + Ceil(GetWarships());
}

int32_t CNavalUnit::GetCargoLoad() const {
    int32_t load = 0;
    CLinkedList<CLandUnit>::CListPosition node = nullptr;
    for (m_cargo.GetHeadPosition(node); node; CLinkedList<CLandUnit>::MoveNext(node))
        if (!node->removed && node->item)
            load += node->item->GetTransportNeed();
    return load;
}

bool CNavalUnit::CanCarry(const std::vector<const CLandUnit*>& armies) const {
    int32_t need = 0;
    for (const CLandUnit* army : armies)
        if (army)
            need += army->GetTransportNeed();
    return need <= GetTransportCapacity() - GetCargoLoad();
}

bool CNavalUnit::CanUnloadTo(int32_t provinceId) const {
    const CProvince* target = GetProvince(provinceId);
    const CProvince* here = GetProvince(GetLocation());
    if (!target || !here || provinceId == 0 || target->IsSea() || !HasCargo() ||
        !here->IsNeighbour(provinceId))
        return false;
    const CCountry* owner = GetOwner();
    const uint32_t n = owner ? owner->GetNumber() : 0;
    if (owner && n < target->discoveredBy.size() && target->discoveredBy[n] != 0)
        return true;
    bool explorer = false;
    CLinkedList<CLandUnit>::CListPosition node = nullptr;
    for (m_cargo.GetHeadPosition(node); node; CLinkedList<CLandUnit>::MoveNext(node))
        explorer = explorer || (!node->removed && node->item && node->item->CanExplore());
    return explorer;
}

bool CNavalUnit::CanUnload() const {
    const CProvince* here = GetProvince(GetLocation());
    if (!IsPathEmpty() || !here)
        return false;
    for (int32_t i = 0; i < here->neighbourCount && i < here->GetNeighbourTotal(); ++i)
        if (CanUnloadTo(here->neighbours[static_cast<size_t>(i)].id))
            return true;
    return false;
}

float CNavalUnit::GetMovementFactor() const {
    if (Ceil(GetGalleys()) > 0)
        return 3.0f;
    const CCountry* owner = GetOwner();
    const int32_t level = owner ? owner->GetNavalTechLevel() : 0;
    return 3.0f + static_cast<float>(10 * level / 42);
}

void CNavalUnit::LandCargo() {
    std::vector<CLandUnit*> armies;
    m_cargo.ForEach([&armies](CLandUnit* army) {
        if (army)
            armies.push_back(army);
    });
    for (CLandUnit* army : armies)
        army->BoardFleet(GetLocation(), this);
}

void CNavalUnit::SetProvince(int32_t provinceId) {
    const CProvince* here = GetProvince(GetLocation());
    const CProvince* there = GetProvince(provinceId);
    const uint32_t number = GetId().number;
    if (!there || provinceId == 0) {
        DebugPrint("Error: Naval Unit #%u (%s) moved to no province (%d)!\n", number,
                   OwnerName(*this), provinceId);
        return;
    }
    if (here && GetLocation() != 0 && !here->IsSea() && !HasFortress(*here))
        DebugPrint("Error: Naval Unit #%u (%s) moved from a land province  (%d) without a port!\n",
                   number, OwnerName(*this), GetLocation());
    if (!there->IsSea() && !HasFortress(*there)) {
        DebugPrint("Error: Naval Unit #%u (%s) moved to a land province (%d) without a port!\n",
                   number, OwnerName(*this), provinceId);
        return;
    }
    if (here && GetLocation() != 0 && HasFortress(*here))
        portDate = Today();
    TakeProvince(provinceId);
    m_cargo.ForEach([provinceId](CLandUnit* army) {
        if (army)
            army->SetLocation(provinceId);
    });
    if (HasFortress(*there)) {
        for (size_t i = 0; i < m_strength.size(); ++i)
            m_strength[i] = static_cast<float>(Ceil(m_strength[i]));
        if (IsPathEmpty())
            LandCargo();
    }
    CheckArrival(provinceId);
}

bool CNavalUnit::IsBlockadingHostilePort() const {
    const CProvince* here = GetProvince(GetLocation());
    const CCountry* owner = GetOwner();
    if (!here || !owner || !IsCoastal(*here))
        return false;
    for (int32_t i = 0; i < here->neighbourCount && i < here->GetNeighbourTotal(); ++i) {
        const CProvince* neighbour = GetProvince(here->neighbours[static_cast<size_t>(i)].id);
        if (neighbour && neighbour->blockaded && neighbour->GetControllerNumber() >= 0 &&
            owner->IsHostileTo(neighbour->GetControllerNumber()))
            return true;
    }
    return false;
}

float CNavalUnit::GetAttritionRateIn(const CProvince& province) const {
    CCountry* owner = GetOwner();
    const int32_t size = GetSize();
    if (HasFortress(province) || size <= 0 || !owner)
        return 0.0f;
    int32_t floor = 1;
    int32_t v = g_provinceSupplyValue ? g_provinceSupplyValue(province, *owner, false) : 0;
    const CProvince* here = GetProvince(GetLocation());
    if (here && here->IsSea())
        v = TruncateToInt32(static_cast<float>(v) + owner->GetNavalTechValue36() * 2.0f *
                                                        static_cast<float>(GetMonthsAtSea()));
    if (const CLeader* commander = GetMovementCommander()) {
        if (commander->category == LEADER_EXPLORER) {
            v -= 2 * commander->manoeuvre;
            floor = 0;
        } else {
            v -= commander->manoeuvre;
        }
    }
    if (IsBlockadingHostilePort())
        v -= 3;
    if (IsPathEmpty())
        floor = 0;
    const int32_t cap = 100 / size;
    v = std::min(v, cap);
    if (v > 0 && v < cap / 10)
        v = cap / 10;
    if (v < floor)
        v = floor;
    return static_cast<float>(v) * 0.01f;
}

float CNavalUnit::GetAttritionRate() const {
    const CProvince* here = GetProvince(GetLocation());
    return here && GetLocation() != 0 ? GetAttritionRateIn(*here) : 0.0f;
}

float CNavalUnit::GetMonthlyAttrition() const {
    const float rate = GetAttritionRate();
    return rate > 0.0f ? static_cast<float>(GetSize()) * rate : 0.0f;
}

float CNavalUnit::GetMaintenance() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    const float upkeep = owner->m_navalMaintenance *
                         (static_cast<float>(owner->GetTransportPrice()) *
                              static_cast<float>(Ceil(GetTransports())) * 0.01f +
                          static_cast<float>(owner->GetGalleyPrice()) *
                              static_cast<float>(Ceil(GetGalleys())) * 0.001f +
                          static_cast<float>(owner->GetWarshipPrice()) *
                              static_cast<float>(Ceil(GetWarships())) * 0.001f) *
                         0.008333334f;
    return owner->IsAtWar() ? upkeep * 1.5f : upkeep;
}

int32_t CNavalUnit::GetCost() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0;
    return owner->GetWarshipPrice() * Ceil(GetWarships()) +
           owner->GetGalleyPrice() * Ceil(GetGalleys()) +
           owner->GetTransportPrice() * Ceil(GetTransports());
}

bool CNavalUnit::RegainMorale() {
    CCountry* owner = GetOwner();
    if (!owner)
        return false;
    const float aim = GetNavalMorale(*owner);
    const float before = morale;
    const float step = 0.3f * aim;
    morale = morale >= aim ? std::max(aim, morale - step) : std::min(aim, morale + step);
    RefreshFigure();
    return morale != before;
}

float CNavalUnit::GetFirePower() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return static_cast<float>(Ceil(GetWarships())) * owner->GetNavalWarshipFire() +
           static_cast<float>(Ceil(GetGalleys())) * owner->GetNavalGalleyFire();
}

float CNavalUnit::GetShockPower() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return static_cast<float>(Ceil(GetWarships())) * owner->GetNavalWarshipShock() +
           static_cast<float>(Ceil(GetGalleys())) * owner->GetNavalGalleyShock();
}

float CNavalUnit::GetPower() const {
    const CCountry* owner = GetOwner();
    if (!owner)
        return 0.0f;
    return (static_cast<float>(Ceil(GetWarships())) *
                (owner->GetNavalWarshipFire() + owner->GetNavalWarshipShock()) +
            static_cast<float>(Ceil(GetGalleys())) *
                (owner->GetNavalGalleyFire() + owner->GetNavalGalleyShock())) *
           morale;
}

bool CNavalUnit::RisksGalleysIn(const CProvince& province) const {
    if (Ceil(GetGalleys()) <= 0 || HasFortress(province) || IsCoastal(province))
        return false;
    return std::find(std::begin(kGalleySeas), std::end(kGalleySeas), province.region) ==
           std::end(kGalleySeas);
}

int32_t CNavalUnit::GetStatusBarFill(int32_t barWidth) const {
    if (barWidth <= 0)
        return 0;
    const int64_t fill = int64_t{GetSize()} * 100 / (2 * int64_t{barWidth});
    return static_cast<int32_t>(std::min<int64_t>(100, fill));
}

bool CNavalUnit::HandleCargoOrder(const COVEvent& event) {
    switch (event.GetType()) {
    case EVT_UNIT_UNLOADONARRIVAL:
        m_keepAboard = 0;
        return true;
    case EVT_UNIT_REMAINONBOARD:
        m_keepAboard = 1;
        return true;
    default:
        return false;
    }
}

bool CNavalUnit::CanRetreatTo(int32_t provinceId) const {
    const CCountry* owner = GetOwner();
    const CProvince* here = GetProvince(GetLocation());
    const CProvince* target = GetProvince(provinceId);
    if (!owner || !here || !target || provinceId == 0 || !here->IsNeighbour(provinceId))
        return false;
    const uint32_t n = owner->GetNumber();
    if (n >= target->discoveredBy.size() || target->discoveredBy[n] == 0)
        return false;
    if (target->IsSea())
        return true;
    const CCountry* controller = CountryOfNumber(target->GetControllerNumber());
    return HasFortress(*target) && controller && controller->HasAccessTo(n);
}

int32_t CNavalUnit::FindRetreatProvince() const {
    const CCountry* owner = GetOwner();
    const CProvince* here = GetProvince(GetLocation());
    if (!owner || !here)
        return 0;
    constexpr size_t kMaxCandidates = 50;
    std::vector<const CProvince*> candidates;
    for (int32_t i = 0; i < here->neighbourCount && i < here->GetNeighbourTotal() &&
                        candidates.size() < kMaxCandidates;
         ++i) {
        const int32_t id = here->neighbours[static_cast<size_t>(i)].id;
        if (CanRetreatTo(id))
            candidates.push_back(GetProvince(id));
    }
    if (candidates.empty())
        return 0;
    const auto distance = [](const MapPoint& a, const MapPoint& b) {
        const int64_t dx = int64_t{a.x} - b.x;
        const int64_t dy = int64_t{a.y} - b.y;
        return dx * dx + dy * dy;
    };
    // The home port: near, the owner's own, held and not besieged.
    const int32_t n = static_cast<int32_t>(owner->GetNumber());
    const CProvince* home = nullptr;
    int64_t homeScore = 0;
    CIntList::CListPosition node = nullptr;
    for (owner->m_ownedProvinces.GetHeadPosition(node); node; CIntList::MoveNext(node)) {
        const CProvince* port = node->removed ? nullptr : GetProvince(node->item);
        if (!port || !HasFortress(*port))
            continue;
        int64_t score = distance(port->unitPosition, here->unitPosition);
        if (port->GetOwnerNumber() != n)
            score += 1000000;
        if (port->GetControllerNumber() != n)
            score += 4000000;
        if (port->IsUnderSiege())
            score += 16000000;
        if (!home || score < homeScore) {
            home = port;
            homeScore = score;
        }
    }
    if (!home)
        return candidates[static_cast<size_t>(GameRand()) % candidates.size()]->GetNumber();
    const CProvince* best = candidates.front();
    for (const CProvince* candidate : candidates)
        if (distance(candidate->unitPosition, home->unitPosition) <
            distance(best->unitPosition, home->unitPosition))
            best = candidate;
    return best->GetNumber();
}

void CNavalUnit::DistributeTroops(int32_t count) {
    if (!GetOwner())
        return;
    for (CUnit* taker : DistributionTakers(*this)) {
        if (count <= 0)
            break;
        const int32_t warships = Ceil(GetWarships()) / count;
        const int32_t galleys = Ceil(GetGalleys()) / count;
        const int32_t transports = Ceil(GetTransports()) / count;
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_WARSHIPS, warships);
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_GALLEYS, galleys);
        SendTroopTransfer(*this, *taker, EVT_TRANSFER_TRANSPORTS, transports);
        --count;
    }
}
