#include "ai/AIAgent.h"

#include <cmath>

#include "ai/AINotify.h"
#include "ai/AIPlan.h"
#include "ai/king/King.h"
#include "ai/king/ResourceBroker.h"
#include "country/Country.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/Province.h"
#include "world/Scenario.h"

COVAITickEvent::COVAITickEvent(const ObjectId& receiver, uint32_t value)
    : COVEvent(std::make_unique<COVEventData>(kSize)) {
    Payload().SetTypeId(EVT_AI_TICK);
    Payload().SetReceiver(receiver);
    Payload().Set(kValue, value);
}

// ---------------------------------------------------------------------------
// The listener

CAIEventListener::~CAIEventListener() {
    RemoveAIListenerEverywhere(this);
}

int CAIEventListener::HandleEvent(COVEvent& event) {
    if (event.GetType() != EVT_AI_TICK)
        return EVENT_NOT_HANDLED;
    if (IsActive() && event.Payload().Holds(COVAITickEvent::kValue))
        OnTimer(event.Payload().Get(COVAITickEvent::kValue));
    return EVENT_CONSUMED;
}

void CAIEventListener::PostTimer(int32_t days, uint32_t value) {
    CDate due = CScenario::GetGameDate();
    due.AddDays(days);
    PostEventAt(std::make_unique<COVAITickEvent>(GetId(), value), due);
}

void CAIEventListener::Subscribe(uint32_t type, bool atHead) {
    if (type >= kAIListenerTypes)
        return;
    CLinkedList<CAIEventListener>& list = g_aiListeners[type];
    if (list.Contains(this))
        return;
    if (atHead)
        list.AddHead(this);
    else
        list.AddTail(this);
}

void CAIEventListener::Unsubscribe(uint32_t type) {
    RemoveAIListener(this, type);
}

// ---------------------------------------------------------------------------
// The agent

int32_t AIRandomDelay(int32_t lo, int32_t spread) {
    const int32_t k =
        g_config ? static_cast<int32_t>(g_config->GetWord(ConfigOffset::kAggressiveness)) : 1;
    const int32_t low = std::max(lo - (k * lo) / 10, 1);
    const int32_t width = std::max(spread - (k * spread) / 10, 1);
    return low + GameRand() % width;
}

CAIAgent::CAIAgent(CCountry* owner) : country(owner) {}

CAIAgent::~CAIAgent() {
    if (m_dyingWith && CAIKing::IsLive(m_dyingWith))
        m_dyingWith->ForgetDying(this);
    // Children first: their destructors may still reach this agent.
    while (!children.IsEmpty()) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        children.GetHeadPosition(position);
        CAIAgent* child = position ? position->item : nullptr;
        children.RemoveNode(position);
        delete child;
    }
    ClearRejectedUnits();
    // Requests still filed lose their requester; the King sweeps them.
    for (CAIResourceRequest*& request : requests) {
        if (request)
            request->requester = nullptr;
        request = nullptr;
    }
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        if (g_provinces[static_cast<size_t>(id)].aiHolder == this)
            g_provinces[static_cast<size_t>(id)].aiHolder = nullptr;
}

void CAIAgent::DetachUnits(CLinkedList<CUnit>& units) {
    units.ForEach([this](CUnit* unit) {
        if (unit->aiAgent == this)
            unit->aiAgent = nullptr;
    });
    units.RemoveAll();
}

void CAIAgent::Init(CAIAgent* newParent) {
    parent = newParent;
    AssignMachineId();
}

void CAIAgent::Stop() {
    active = false;
    while (!children.IsEmpty()) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        children.GetHeadPosition(position);
        CAIAgent* child = position ? position->item : nullptr;
        if (!child) {
            children.RemoveNode(position);
            continue;
        }
        const uint32_t before = children.GetCount();
        if (child->IsActive())
            child->Fail();
        else
            ReleaseChild(child);
        // A child that did not leave the list is taken out here, so that
        // the loop ends.
        if (children.GetCount() == before && children.Contains(child)) {
            RemoveChild(child);
            child->Kill();
        }
    }
}

void CAIAgent::Succeed() {
    succeeded = true;
    Stop();
    if (parent)
        parent->OnPlanSucceeded(this);
}

void CAIAgent::Fail() {
    failed = true;
    Stop();
    if (parent)
        parent->OnPlanFailed(this);
    else
        Kill();
}

void CAIAgent::AddChild(CAIAgent* agent) {
    if (agent)
        children.AddTail(agent);
}

void CAIAgent::RemoveChild(CAIAgent* agent) {
    children.Remove(agent);
}

void CAIAgent::ReleaseChild(CAIAgent* child) {
    RemoveChild(child);
    if (child && child->parent == this)
        child->Kill();
}

void CAIAgent::Kill() {
    CAIKing* king = GetKing();
    if (king && king != this)
        king->ReleaseAll(this);
    if (king && king != this && king->IsActive()) {
        for (uint32_t category :
             {AIRES_MONEY, AIRES_MANPOWER, AIRES_MERCHANTS, AIRES_COLONISTS, AIRES_DIPLOMATS}) {
            const float held = GetResource(category);
            if (held != 0.0f)
                king->AddResource(category, held);
        }
    }
    if (king && king != this) {
        if (CUnitList* armies = GetArmies()) {
            while (!armies->IsEmpty()) {
                CUnitList::CListPosition position = nullptr;
                armies->GetHeadPosition(position);
                CUnit* unit = position->item;
                armies->RemoveNode(position);
                if (unit->aiAgent == this)
                    unit->aiAgent = nullptr;
                HandOverUnit(king, unit);
            }
        }
        if (CUnitList* fleets = GetFleets()) {
            while (!fleets->IsEmpty()) {
                CUnitList::CListPosition position = nullptr;
                fleets->GetHeadPosition(position);
                CUnit* unit = position->item;
                fleets->RemoveNode(position);
                if (unit->aiAgent == this)
                    unit->aiAgent = nullptr;
                HandOverUnit(king, unit);
            }
        }
        if (CTemplateList<CProvince>* provinces = GetProvinces()) {
            std::vector<CProvince*> held;
            provinces->ForEach([&held](CProvince* p) { held.push_back(p); });
            for (CProvince* p : held)
                GiveProvince(king, p);
        }
        if (CTemplateList<CProvince>* zones = GetSeaZones()) {
            std::vector<CProvince*> held;
            zones->ForEach([&held](CProvince* p) { held.push_back(p); });
            for (CProvince* p : held)
                GiveSeaZone(king, p);
        }
    }
    ClearRejectedUnits();
    if (king && king != this) {
        king->NoteDying(this);
        m_dyingWith = king;
    }
    auto kill = std::make_unique<COVDataEvent>(EVT_KILL, GetId());
    kill->Payload().Set(KillPayload::kUnit, GetId());
    kill->SetSendFlag(0);
    kill->SetLocalFlag(1);
    PostEventNow(std::move(kill));
}

int CAIAgent::HandleEvent(COVEvent& event) {
    if (event.GetType() == EVT_KILL) {
        DebugPrint("Shouldn't get here! This is done in COVEvent Router instead!\n");
        const ObjectId target = event.Payload().Holds(KillPayload::kUnit)
                                    ? event.Payload().Get(KillPayload::kUnit)
                                    : g_nullId;
        if (CIdEntity* object = target.IsNull() ? nullptr : ResolveId(target))
            delete object;
        else
            DebugPrint("The King of %s can't find its peon #%u to kill it!\n",
                       country ? country->GetName() : "", target.number);
        return EVENT_CONSUMED;
    }
    const int answer = CAIEventListener::HandleEvent(event);
    if (answer == EVENT_NOT_HANDLED)
        DebugPrint("CAIAgent doesn't recognize the event \"%s\"!\n",
                   GetEventTypeName(event.GetType()).c_str());
    return answer;
}

float CAIAgent::GetResource(uint32_t category) const {
    switch (category) {
    case AIRES_MONEY:
        return GetMoney();
    case AIRES_MANPOWER:
        return GetManpower();
    case AIRES_COLONISTS:
        return GetColonists();
    case AIRES_DIPLOMATS:
        return GetDiplomats();
    case AIRES_MERCHANTS:
        return GetMerchants();
    default:
        return 0.0f;
    }
}

void CAIAgent::AddResource(uint32_t category, float amount) {
    switch (category) {
    case AIRES_MONEY:
        return AddMoney(amount);
    case AIRES_MANPOWER:
        return AddManpower(amount);
    case AIRES_COLONISTS:
        return AddColonists(amount);
    case AIRES_DIPLOMATS:
        return AddDiplomats(amount);
    case AIRES_MERCHANTS:
        return AddMerchants(amount);
    default:
        return;
    }
}

void CAIAgent::TakeResource(uint32_t category, float amount) {
    switch (category) {
    case AIRES_MONEY:
        return TakeMoney(amount);
    case AIRES_MANPOWER:
        return TakeManpower(amount);
    case AIRES_COLONISTS:
        return TakeColonists(amount);
    case AIRES_DIPLOMATS:
        return TakeDiplomats(amount);
    case AIRES_MERCHANTS:
        return TakeMerchants(amount);
    default:
        return;
    }
}

// ---------------------------------------------------------------------------
// Units

namespace {

void DescribeUnit(const CUnit& unit, int32_t out[3]) {
    if (unit.IsFleet()) {
        for (int i = 0; i < 3; ++i)
            out[i] = static_cast<int32_t>(std::ceil(unit.GetStrength(i)));
    } else {
        out[0] = unit.GetRoundedInfantry();
        out[1] = unit.GetRoundedCavalry();
        out[2] = unit.GetRoundedArtillery();
    }
}

const char* CountryName(const CCountry* country) {
    return country ? country->GetName() : "";
}

} // namespace

void CAIAgent::RejectUnit(CUnit* unit) {
    if (!unit)
        return;
    int32_t s[3];
    DescribeUnit(*unit, s);
    if (!unit->IsRetreating() && IsUnitFree(*unit)) {
        DebugPrint("Agent #%u (%s) of %s rejects %s #%u (%d,%d,%d)!\n", GetId().number, GetName(),
                   CountryName(country), unit->IsFleet() ? "Fleet" : "Army", unit->GetId().number,
                   s[0], s[1], s[2]);
        AddRejectedUnit(unit);
        unit->aiRejectedBy.push_back(this);
    } else {
        BounceUnit(unit);
    }
}

void CAIAgent::BounceUnit(CUnit* unit) {
    if (!unit)
        return;
    int32_t s[3];
    DescribeUnit(*unit, s);
    DebugPrint("Agent #%u (%s) of %s bounces %s #%u (%d,%d,%d)!\n", GetId().number, GetName(),
               CountryName(country), unit->IsFleet() ? "Fleet" : "Army", unit->GetId().number, s[0],
               s[1], s[2]);
}

void CAIAgent::ClearRejectedUnits() {
    rejectedUnits.ForEach([this](CUnit* unit) { std::erase(unit->aiRejectedBy, this); });
    rejectedUnits.RemoveAll();
}

bool CAIAgent::HasRejected(CUnit* unit) {
    return rejectedUnits.Contains(unit);
}

void CAIAgent::ForgetRejectedUnit(CUnit* unit) {
    rejectedUnits.Remove(unit);
}

void CAIAgent::AddRejectedUnit(CUnit* unit) {
    rejectedUnits.AddHead(unit);
}

void CAIAgent::RemoveArmy(CUnit* army) {
    if (CUnitList* armies = GetArmies())
        armies->Remove(army);
}

void CAIAgent::RemoveFleet(CUnit* fleet) {
    if (CUnitList* fleets = GetFleets())
        fleets->Remove(fleet);
}

void CAIAgent::AddProvince(CProvince* province) {
    if (CTemplateList<CProvince>* provinces = GetProvinces())
        provinces->AddTail(province);
}

bool CAIAgent::RemoveProvince(CProvince* province) {
    CTemplateList<CProvince>* provinces = GetProvinces();
    return provinces && provinces->Remove(province);
}

void CAIAgent::AddSeaZone(CProvince* zone) {
    if (CTemplateList<CProvince>* zones = GetSeaZones())
        zones->AddTail(zone);
}

bool CAIAgent::RemoveSeaZone(CProvince* zone) {
    CTemplateList<CProvince>* zones = GetSeaZones();
    return zones && zones->Remove(zone);
}

void CAIAgent::HandOverUnit(CAIAgent* receiver, CUnit* unit) {
    if (!receiver || !unit)
        return;
    if (unit->IsFleet())
        receiver->OfferFleet(unit);
    else
        receiver->OfferArmy(unit);
}

void CAIAgent::HandOverUnits(CAIAgent* receiver, CUnitList& units) {
    if (!receiver)
        return;
    std::vector<CUnit*> list;
    units.ForEach([&list](CUnit* unit) { list.push_back(unit); });
    for (CUnit* unit : list) {
        const bool taken = unit->IsFleet() ? receiver->OfferFleet(unit) : receiver->OfferArmy(unit);
        if (!taken)
            return;
    }
}

void CAIAgent::AcceptUnit(CUnit* unit) {
    if (!unit)
        return;
    CAIAgent* previous = unit->aiAgent;
    int32_t s[3];
    DescribeUnit(*unit, s);
    DebugPrint("Agent #%u (%s) of %s accepts %s #%u (%d,%d,%d) from Agent #%u (%s).\n",
               GetId().number, GetName(), CountryName(country), unit->IsFleet() ? "Fleet" : "Army",
               unit->GetId().number, s[0], s[1], s[2], previous ? previous->GetId().number : 0,
               previous ? previous->GetName() : "NONE");
    if (previous && previous != this) {
        if (unit->IsFleet())
            previous->RemoveFleet(unit);
        else
            previous->RemoveArmy(unit);
        unit->aiAgent = nullptr;
    }
    if (failed || succeeded)
        return;
    CUnitList* list = unit->IsFleet() ? GetFleets() : GetArmies();
    if (!list)
        return;
    unit->SetAIAgent(this);
    if (!list->Contains(unit))
        list->AddHead(unit);
}

void CAIAgent::GiveResource(uint32_t category, CAIAgent* receiver, float amount) {
    if (!receiver)
        return;
    if (category == AIRES_MONEY && receiver->IsPlan())
        if (CAIKing* king = GetKing())
            king->AddHolder(AIRES_MONEY, receiver);
    TakeResource(category, amount);
    receiver->AddResource(category, amount);
}

void CAIAgent::GiveMoney(CAIAgent* receiver, float amount) {
    GiveResource(AIRES_MONEY, receiver, amount);
}
void CAIAgent::GiveManpower(CAIAgent* receiver, float amount) {
    GiveResource(AIRES_MANPOWER, receiver, amount);
}
void CAIAgent::GiveColonists(CAIAgent* receiver, float amount) {
    GiveResource(AIRES_COLONISTS, receiver, amount);
}
void CAIAgent::GiveDiplomats(CAIAgent* receiver, float amount) {
    GiveResource(AIRES_DIPLOMATS, receiver, amount);
}
void CAIAgent::GiveMerchants(CAIAgent* receiver, float amount) {
    GiveResource(AIRES_MERCHANTS, receiver, amount);
}

void CAIAgent::GiveProvince(CAIAgent* receiver, CProvince* province) {
    if (!receiver || !province)
        return;
    RemoveProvince(province);
    province->aiHolder = receiver;
    receiver->AddProvince(province);
    CTemplateList<CProvince>* held = receiver->GetProvinces();
    if (receiver->IsPlan() && held && held->Contains(province))
        if (CAIKing* king = GetKing())
            king->AddHolder(AIRES_RECRUIT_PROVINCE, receiver);
}

void CAIAgent::GiveSeaZone(CAIAgent* receiver, CProvince* zone) {
    if (!receiver || !zone)
        return;
    RemoveSeaZone(zone);
    zone->aiHolder = receiver;
    receiver->AddSeaZone(zone);
    CTemplateList<CProvince>* held = receiver->GetSeaZones();
    if (receiver->IsPlan() && held && held->Contains(zone))
        if (CAIKing* king = GetKing())
            king->AddHolder(AIRES_SHIPYARD_PORT, receiver);
}

bool CAIAgent::IsUnitFree(const CUnit& unit) {
    if (unit.IsRetreating())
        return false;
    const int32_t combat = UnitCombatType(unit);
    return combat == 0 || combat == 3 || combat == 4;
}

CAIStandingAgent::CAIStandingAgent(CAIKing* king)
    : CAIAgent(king ? king->GetCountry() : nullptr), owner(king) {}
