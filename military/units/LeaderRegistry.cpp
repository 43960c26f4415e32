#include "military/units/LeaderRegistry.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "country/Country.h"
#include "country/CountryAI.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "military/units/Leader.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Scenario.h"

std::unique_ptr<CLeaderRegistry> g_leaderRegistry;

namespace {

// Ids of type 6 resolve to the slots; a withdrawn leader id empties its slot.
const bool g_leaderSlotsRegistered = [] {
    g_idSlots.leaderSlot = [](uint32_t number) {
        return g_leaderRegistry ? g_leaderRegistry->GetSlot(number) : nullptr;
    };
    g_idSlots.clearLeaderSlot = [](uint32_t number) {
        if (g_leaderRegistry)
            g_leaderRegistry->ClearSlot(number);
    };
    return true;
}();

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// Whether the host still has to schedule the leader's start: not yet done,
// and its end date not yet come.
bool NeedsScheduling(const CLeader& leader) {
    return IsHost() && !leader.loadedActive && !Today().IsNotBefore(leader.endDate);
}

// An end date of day and month 0 gets a random day and month.
void DrawEndDayAndMonth(CLeader& leader) {
    if (leader.endDate.day != 0 || leader.endDate.month != 0)
        return;
    leader.endDate.day = static_cast<uint8_t>(GameRand() % 30);
    leader.endDate.month = static_cast<uint8_t>(GameRand() % 12);
}

CUnit* FindUnit(const ObjectId& id) {
    return dynamic_cast<CUnit*>(ResolveId(id));
}

CLeader* FindLeader(const ObjectId& id) {
    return dynamic_cast<CLeader*>(ResolveId(id));
}

// Units of the country, in list order.
std::vector<CUnit*> UnitsOf(const CCountry& country) {
    std::vector<CUnit*> units;
    const_cast<CLinkedList<CUnit>&>(country.m_units).ForEach([&units](CUnit* unit) {
        if (unit)
            units.push_back(unit);
    });
    return units;
}

// The size a leader's placement weighs: an army's men and pieces, a
// fleet's ships, each strength rounded up.
float UnitSize(const CUnit& unit) {
    float size = 0.0f;
    for (int i = 0; i < 3; ++i)
        size += std::ceil(std::max(0.0f, unit.GetStrength(i)));
    return size;
}

// A land province the country controls with a city in it, or a sea zone.
bool TakesLeaderThere(const CProvince* province, uint32_t country) {
    if (!province || province->GetNumber() < kFirstProvinceId)
        return false;
    return province->IsSea() || (province->GetCity() &&
                                 province->GetControllerNumber() == static_cast<int32_t>(country));
}

bool ControlsCity(const CProvince* province, uint32_t country) {
    return province && !province->IsSea() && province->GetCity() &&
           province->GetControllerNumber() == static_cast<int32_t>(country);
}

bool HasFortress(const CProvince* province) {
    const CCity* city = province ? province->GetCity() : nullptr;
    return city && city->GetFortress().level >= 1.0f;
}

// For a fleet raised in the capital or without a fortress: the first
// coastal province of the owner, other than the capital, whose city has a
// fortress; 0 when none.
int32_t SubstituteFleetProvince(const CCountry& owner) {
    int32_t found = 0;
    const int32_t capital = owner.GetCapitalId();
    const_cast<CIntList&>(owner.m_ownedProvinces).ForEach([&](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (!found && id != capital && province && province->coastal && HasFortress(province))
            found = id;
    });
    return found;
}

ObjectId RaiseArmy(const CCountry& owner, int32_t province) {
    const ObjectId id = NewObjectId();
    auto event = std::make_unique<COVArmyEvent>(EVT_CREATE_ARMY, owner.GetId());
    COVEventData& payload = event->Payload();
    payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(province));
    payload.Set(NewUnitHead::kDate, Today());
    payload.Set(NewUnitHead::kUnit, id);
    payload.Set(NewUnitHead::kReady, Today());
    payload.Set(NewUnitHead::kCountry, owner.GetId());
    payload.Set(COVArmyEvent::kInfantry, 1000u);
    ExecuteAndSendEvent(std::move(event));
    return id;
}

ObjectId RaiseFleet(const CCountry& owner, int32_t province, uint32_t warships) {
    const ObjectId id = NewObjectId();
    auto event = std::make_unique<COVFleetEvent>(EVT_CREATE_FLEET, owner.GetId());
    COVEventData& payload = event->Payload();
    payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(province));
    payload.Set(NewUnitHead::kDate, Today());
    payload.Set(NewUnitHead::kUnit, id);
    payload.Set(NewUnitHead::kReady, Today());
    payload.Set(NewUnitHead::kCountry, owner.GetId());
    payload.Set(COVFleetEvent::kWarships, warships);
    ExecuteAndSendEvent(std::move(event));
    return id;
}

// The fleet province for an explorer, privateer or admiral: the province,
// or the owner's substitute when it is the capital or has no fortress; 0
// when neither takes a fleet.
int32_t FleetProvince(const CCountry& owner, int32_t province) {
    const CProvince* record = GetProvince(province);
    if (!record || province == owner.GetCapitalId() || !HasFortress(record)) {
        province = SubstituteFleetProvince(owner);
        record = GetProvince(province);
    }
    if (province < kFirstProvinceId || !record || !(HasFortress(record) || record->IsSea()))
        return 0;
    return province;
}

// The unit of the owner (fleets for an admiral, armies for the others)
// with the best size for another leader: size / (n x n + 1), n the
// leaders it has.
CUnit* BestUnitFor(const CLeader& leader, const CCountry& owner) {
    const bool fleets = leader.category == LEADER_ADMIRAL;
    CUnit* best = nullptr;
    float bestScore = 0.0f;
    for (CUnit* unit : UnitsOf(owner)) {
        if (unit->IsFleet() != fleets || unit->IsInDevelopment())
            continue;
        const float n = static_cast<float>(unit->GetLeaders().GetCount());
        const float score = UnitSize(*unit) / (n * n + 1.0f);
        if (score > bestScore) {
            bestScore = score;
            best = unit;
        }
    }
    return best;
}

} // namespace

int32_t FindArrivalProvince(const CLeader& leader, int32_t location) {
    const uint32_t owner = leader.GetCountryNumber();
    const CCountry* country = leader.GetCountry();
    const int32_t capital = country ? country->GetCapitalId() : 0;
    const CProvince* here = GetProvince(location);
    if (!here || location < kFirstProvinceId)
        return capital;
    if (TakesLeaderThere(here, owner))
        return location;
    for (int32_t i = 0; i < here->neighbourCount && i < here->GetNeighbourTotal(); ++i) {
        const int32_t id = here->neighbours[static_cast<size_t>(i)].id;
        if (ControlsCity(GetProvince(id), owner))
            return id;
    }
    if (here->area >= 0 && here->area < kAreaCount) {
        int32_t found = 0;
        g_areaProvinces[static_cast<size_t>(here->area)].ForEach([&](CProvince* province) {
            if (!found && ControlsCity(province, owner))
                found = province->GetNumber();
        });
        if (found)
            return found;
    }
    if (!country)
        return 0;
    MapPoint centre;
    GetProvinceCentre(centre, location);
    int64_t nearest = 12345678;
    int32_t found = 0;
    const_cast<CIntList&>(country->m_ownedProvinces).ForEach([&](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (!province || !province->GetCity() || province->IsSea())
            return;
        MapPoint other;
        GetProvinceCentre(other, id);
        const double dx = static_cast<double>(other.x) - centre.x;
        const double dy = static_cast<double>(other.y) - centre.y;
        const auto distance = static_cast<int64_t>(std::sqrt(dx * dx + dy * dy));
        if (distance < nearest) {
            nearest = distance;
            found = id;
        }
    });
    return found ? found : capital;
}

ObjectId PlaceArrivingLeader(CLeader& leader) {
    const CCountry* owner = leader.GetCountry();
    if (!owner)
        return g_nullId;
    const int32_t province =
        leader.location == 0 ? owner->GetCapitalId() : FindArrivalProvince(leader, leader.location);
    switch (leader.category) {
    case LEADER_CONQUISTADOR:
        if (province >= kFirstProvinceId)
            return RaiseArmy(*owner, province);
        return g_nullId;
    case LEADER_EXPLORER:
    case LEADER_PRIVATEER:
        if (const int32_t port = FleetProvince(*owner, province))
            return RaiseFleet(*owner, port, 3);
        break;
    default:
        break;
    }
    if (CUnit* unit = BestUnitFor(leader, *owner))
        return unit->GetId();
    if (leader.category == LEADER_ADMIRAL) {
        const int32_t port = FleetProvince(*owner, province);
        return port ? RaiseFleet(*owner, port, 1) : g_nullId;
    }
    return province >= kFirstProvinceId ? RaiseArmy(*owner, province) : g_nullId;
}

void SendActivateLeader(CLeader* leader, const ObjectId& unit) {
    if (!leader || !leader->GetCountry())
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_ACTIVATE_LEADER, leader->GetCountry()->GetId());
    event->Payload().Set(ActivateLeaderPayload::kUnit, unit);
    event->Payload().Set(ActivateLeaderPayload::kLeader, leader->GetId());
    ExecuteAndSendEvent(std::move(event));
}

CLeaderRegistry::CLeaderRegistry() = default;
CLeaderRegistry::~CLeaderRegistry() = default;

CRandomLeader* CLeaderRegistry::Keep(std::unique_ptr<CRandomLeader> leader) {
    m_randomLeaders.push_back(std::move(leader));
    return m_randomLeaders.back().get();
}

int CLeaderRegistry::HandleEvent(COVEvent& event) {
    if (!IsHost())
        return 0;
    const COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_REQUEST_REPLACEMENT_LEADER: {
        const ObjectId id = payload.Get(ReplacementLeaderPayload::kLeader);
        const CCountry* country = CountryOfNumber(payload.Get(ReplacementLeaderPayload::kCountry));
        if (!FindLeader(id) || !country) {
            DebugPrint("LeaderRegistry: replacement of unknown leader %u dropped\n", id.number);
            return 0;
        }
        auto kill = std::make_unique<COVDataEvent>(EVT_KILL_LEADER, country->GetId());
        kill->Payload().Set(LeaderArrivalPayload::kLeader, id);
        ExecuteAndSendEvent(std::move(kill));
        return 0;
    }
    case EVT_REQUEST_NEW_LEADER: {
        const ObjectId unitId = payload.Get(NewLeaderRequestPayload::kUnit);
        const CUnit* unit = FindUnit(unitId);
        const uint32_t country = payload.Get(NewLeaderRequestPayload::kCountry);
        // Only for a unit of the country that asks, and one without a leader.
        if (!unit || !unit->GetOwner() || unit->GetOwner()->GetNumber() != country ||
            !unit->GetLeaders().IsEmpty())
            return 0;
        SendActivateLeader(
            CreateRandomLeader(payload.Get(NewLeaderRequestPayload::kCountry), unitId, -1), unitId);
        return 0;
    }
    case EVT_ARRIVE_LEADER: {
        CLeader* leader = FindLeader(payload.Get(LeaderArrivalPayload::kLeader));
        CCountry* country = leader ? CountryOfNumber(leader->GetCountryNumber()) : nullptr;
        if (!leader || !country)
            return 0;
        leader->SetCountry(country);
        const ObjectId unit = PlaceArrivingLeader(*leader);
        if (unit.IsNull())
            return 0;
        const auto category = static_cast<uint32_t>(leader->category);
        SendActivateLeader(leader, unit);
        // The computer player may send the new leader out exploring.
        if (IsHost() && g_countryAI.notifyListeners)
            g_countryAI.notifyListeners(kAINoticeLeaderArrived, country->GetNumber(), category);
        return 0;
    }
    case EVT_REQUEST_REPLACEMENT_MONARCH: {
        CCountry* country = CountryOfNumber(payload.Get(ReplacementMonarchPayload::kCountry));
        if (!country || !country->m_monarch ||
            !(country->m_monarch->GetId() == payload.Get(ReplacementMonarchPayload::kMonarch)))
            return 0;
        CreateRandomMonarch(*country);
        return 0;
    }
    default:
        return 0;
    }
}

CIdEntity* CLeaderRegistry::GetSlot(uint32_t number) const {
    return number < kSlotCount ? m_slots[number] : nullptr;
}

void CLeaderRegistry::SetSlot(uint32_t number, CIdEntity* leader) {
    if (number < kSlotCount)
        m_slots[number] = leader;
}

void CLeaderRegistry::ClearSlot(uint32_t number) {
    SetSlot(number, nullptr);
}

void CLeaderRegistry::AddLeader(CLeader* leader) {
    if (!leader)
        return;
    // Only an id of type 6 gives its slot back when the leader goes.
    const ObjectId& id = leader->GetId();
    if (id.type == kLeaderIdType) {
        if (GetSlot(id.number) == leader)
            return; // added before: scheduled then
        if (GetSlot(id.number)) {
            DebugPrint("LeaderRegistry: leader number %u is taken, the second is not added\n",
                       id.number);
            return;
        }
        SetSlot(id.number, leader);
    }
    if (!IsHost())
        return;
    if (NeedsScheduling(*leader)) {
        auto arrival = std::make_unique<COVDataEvent>(EVT_ARRIVE_LEADER, g_leaderRequestsId);
        arrival->Payload().Set(LeaderArrivalPayload::kLeader, id);
        PostEventAt(std::move(arrival), leader->startDate);
        leader->loadedActive = 1;
        DrawEndDayAndMonth(*leader);
    }
    auto replacement =
        std::make_unique<COVDataEvent>(EVT_REQUEST_REPLACEMENT_LEADER, g_leaderRequestsId);
    replacement->Payload().Set(ReplacementLeaderPayload::kCountry, leader->GetCountryNumber());
    replacement->Payload().Set(ReplacementLeaderPayload::kLeader, id);
    PostEventAt(std::move(replacement), leader->endDate);
}

void CLeaderRegistry::AddMonarch(CMonarch* monarch) {
    if (!monarch)
        return;
    CLeader& leader = monarch->GetLeader();
    if (leader.GetId().type == kLeaderIdType)
        SetSlot(leader.GetId().number, &leader);
    if (!leader.GetCountry() || !NeedsScheduling(leader))
        return;
    auto activation =
        std::make_unique<COVDataEvent>(EVT_ACTIVATE_MONARCH, leader.GetCountry()->GetId());
    activation->Payload().Set(MonarchActivationPayload::kLeader, leader.GetId());
    activation->Payload().Set(MonarchActivationPayload::kEvent2Start, monarch->event2start);
    PostEventAt(std::move(activation), leader.startDate);
    leader.loadedActive = 1;
}
