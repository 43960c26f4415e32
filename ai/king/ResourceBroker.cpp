#include "ai/king/ResourceBroker.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/AIPlan.h"
#include "ai/king/King.h"
#include "ai/king/ProvincePlan.h"
#include "country/Country.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/Territory.h"

bool CAIResourceRequest::IsSatisfied() const {
    if (amount > 0.000001f)
        return false;
    return category != AIRES_FLEETS || ships == 0;
}

namespace {

float PriorityOf(const CAIAgent* agent) {
    return agent ? agent->GetRequestPriority() : 0.0f;
}

// How two provinces' territories stand to each other: 0 the same (or
// either without one), 1 linked, 2 not linked.
int32_t TerritoryRelation(const CProvince& a, const CProvince& b) {
    if (!a.territory || !b.territory || a.territory == b.territory)
        return 0;
    return a.territory->FindLink(b.territory) ? 1 : 2;
}

struct Candidate {
    CUnit* unit;
    float score;
};

// The stable exchange sort by ascending score.
void SortCandidates(std::vector<Candidate>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score < b.score; });
}

constexpr size_t kMaxCandidates = 100;

} // namespace

// ---------------------------------------------------------------------------
// Pools

void CAIKing::ClampMoney() {
    float held = 0.0f;
    m_holders[AIRES_MONEY].ForEach([&held](CAIAgent* holder) {
        if (holder)
            held += holder->GetMoney();
    });
    const float treasury = country ? country->m_treasury : 0.0f;
    if (held + m_pools.money > treasury + 0.0001f)
        m_pools.money = treasury - held;
    if (held + m_pools.money < 0.0f && held + m_pools.money < treasury)
        m_pools.money = treasury - held;
}

float CAIKing::ClampToStock(float pool, float stock) const {
    return pool > stock + 0.0001f ? stock : pool;
}

void CAIKing::AddMoney(float amount) {
    m_pools.money += amount;
    ClampMoney();
    if (active && !m_queues[AIRES_MONEY].IsEmpty())
        PostResourceTick(AIRES_MONEY);
}

void CAIKing::TakeMoney(float amount) {
    m_pools.money -= amount;
    ClampMoney();
}

void CAIKing::AddManpower(float amount) {
    m_pools.manpower = ClampToStock(m_pools.manpower + amount, country ? country->m_manpower : 0);
    if (active && !m_queues[AIRES_MANPOWER].IsEmpty())
        PostResourceTick(AIRES_MANPOWER);
}

void CAIKing::AddColonists(float amount) {
    m_pools.colonists =
        ClampToStock(m_pools.colonists + amount, country ? country->m_colonists : 0);
    if (active && !m_queues[AIRES_COLONISTS].IsEmpty())
        PostResourceTick(AIRES_COLONISTS);
}

void CAIKing::AddDiplomats(float amount) {
    m_pools.diplomats =
        ClampToStock(m_pools.diplomats + amount, country ? country->m_diplomats : 0);
    if (active && !m_queues[AIRES_DIPLOMATS].IsEmpty())
        PostResourceTick(AIRES_DIPLOMATS);
}

void CAIKing::AddMerchants(float amount) {
    m_pools.merchants =
        ClampToStock(m_pools.merchants + amount, country ? country->m_merchants : 0);
    if (active && !m_queues[AIRES_MERCHANTS].IsEmpty())
        PostResourceTick(AIRES_MERCHANTS);
}

// ---------------------------------------------------------------------------
// Requests

void CAIKing::Enqueue(uint32_t category, CAIResourceRequest* request, bool post) {
    CLinkedList<CAIResourceRequest>& queue = m_queues[category];
    const float priority = PriorityOf(request->requester);
    CLinkedList<CAIResourceRequest>::CListPosition position = nullptr;
    queue.GetHeadPosition(position);
    while (position && (position->removed || PriorityOf(position->item->requester) >= priority))
        position = position->next;
    queue.InsertBefore(request, position);
    if (post)
        PostResourceTick(category);
}

void CAIKing::PostResourceTick(uint32_t category) {
    if (category >= kAIResourceCount || m_pending[category])
        return;
    m_pending[category] = true;
    auto tick = std::make_unique<COVDataEvent>(EVT_TICK_RESOURCE, GetId());
    tick->Payload().Set(kTickResourceCategory, category);
    CDate due = CScenario::GetGameDate();
    due.AddDays(1);
    PostEventAt(std::move(tick), due);
}

void CAIKing::AddHolder(uint32_t category, CAIAgent* agent) {
    CLinkedList<CAIAgent>& holders = m_holders[category];
    if (!agent || holders.Contains(agent))
        return;
    const float priority = PriorityOf(agent);
    CLinkedList<CAIAgent>::CListPosition position = nullptr;
    holders.GetHeadPosition(position);
    while (position &&
           (position->removed || !position->item || PriorityOf(position->item) <= priority))
        position = position->next;
    holders.InsertBefore(agent, position);
}

namespace {

CAIResourceRequest* EnsureRequest(CAIAgent* requester, uint32_t category, bool& made) {
    CAIResourceRequest*& slot = requester->RequestSlot(category);
    made = slot == nullptr;
    if (made)
        slot = new CAIResourceRequest(category, requester);
    return slot;
}

} // namespace

void CAIKing::RequestMoney(CAIAgent* requester, float amount) {
    if (!requester)
        return;
    const bool post = !(m_pools.money < amount && m_holders[AIRES_MONEY].IsEmpty());
    bool made = false;
    CAIResourceRequest* request = EnsureRequest(requester, AIRES_MONEY, made);
    if (made)
        Enqueue(AIRES_MONEY, request, post);
    request->SetAmount(request->amount + amount);
}

namespace {

// The four plain requests of the pools after money.
void RequestPool(CAIKing& king, CAIAgent* requester, uint32_t category, float amount) {
    if (!requester)
        return;
    const bool post = amount <= king.GetResource(category);
    bool made = false;
    CAIResourceRequest* request = EnsureRequest(requester, category, made);
    if (made)
        king.Enqueue(category, request, post);
    request->SetAmount(request->amount + amount);
}

} // namespace

void CAIKing::RequestManpower(CAIAgent* requester, float amount) {
    RequestPool(*this, requester, AIRES_MANPOWER, amount);
}

void CAIKing::RequestColonists(CAIAgent* requester, float amount) {
    RequestPool(*this, requester, AIRES_COLONISTS, amount);
}

void CAIKing::RequestDiplomats(CAIAgent* requester, float amount) {
    RequestPool(*this, requester, AIRES_DIPLOMATS, amount);
}

void CAIKing::RequestMerchants(CAIAgent* requester, float amount) {
    RequestPool(*this, requester, AIRES_MERCHANTS, amount);
}

void CAIKing::RequestArmies(CAIAgent* requester, float strength, int32_t first, int32_t second,
                            CProvince* destination, int32_t kind) {
    if (!requester)
        return;
    bool made = false;
    CAIResourceRequest* request = EnsureRequest(requester, AIRES_ARMIES, made);
    if (made) {
        request->SetAmount(strength);
        request->first = first;
        request->second = second;
        request->destination = destination;
        request->kind = kind;
    } else {
        request->SetAmount(request->amount + strength);
    }
    if (made)
        Enqueue(AIRES_ARMIES, request, true);
    else
        PostResourceTick(AIRES_ARMIES);
}

void CAIKing::RequestFleets(CAIAgent* requester, float strength, int32_t ships,
                            CProvince* destination, int32_t kind) {
    if (!requester)
        return;
    bool made = false;
    CAIResourceRequest* request = EnsureRequest(requester, AIRES_FLEETS, made);
    if (made) {
        request->SetAmount(strength);
        request->ships = std::max(ships, 0);
        request->destination = destination;
        request->kind = kind;
        Enqueue(AIRES_FLEETS, request, true);
    } else {
        request->SetAmount(request->amount + strength);
        request->ships += std::max(ships, 0);
        PostResourceTick(AIRES_FLEETS);
    }
}

namespace {

void RequestPlace(CAIKing& king, CAIAgent* requester, uint32_t category, CProvince* destination) {
    if (!requester)
        return;
    bool made = false;
    CAIResourceRequest* request = EnsureRequest(requester, category, made);
    if (made)
        king.Enqueue(category, request, true);
    request->SetAmount(request->amount + 1.0f);
    request->destination = destination;
}

} // namespace

void CAIKing::RequestRecruitProvince(CAIAgent* requester, CProvince* destination) {
    RequestPlace(*this, requester, AIRES_RECRUIT_PROVINCE, destination);
}

void CAIKing::RequestShipyardPort(CAIAgent* requester, CProvince* destination) {
    RequestPlace(*this, requester, AIRES_SHIPYARD_PORT, destination);
}

void CAIKing::ReleaseAll(CAIAgent* agent) {
    if (!agent)
        return;
    for (uint32_t c = 0; c < kAIResourceCount; ++c) {
        CLinkedList<CAIAgent>& holders = m_holders[c];
        if (CLinkedList<CAIAgent>::Node* node = holders.Find(agent)) {
            if (m_holderWalk)
                node->item = nullptr;
            else
                holders.RemoveNode(node);
        }
        CAIResourceRequest*& slot = agent->RequestSlot(c);
        if (slot) {
            slot->Clear();
            slot->requester = nullptr;
            slot = nullptr;
        }
    }
}

// ---------------------------------------------------------------------------
// Serving a category

void CAIKing::ProcessCategory(uint32_t category) {
    if (category >= kAIResourceCount)
        return;
    m_pending[category] = false;
    CLinkedList<CAIResourceRequest>& queue = m_queues[category];
    CLinkedList<CAIResourceRequest>::CListPosition position = nullptr;
    queue.GetHeadPosition(position);
    while (position) {
        CAIResourceRequest* request = position->item;
        if (!position->removed && request && request->requester && !request->IsSatisfied()) {
            if (category == AIRES_ARMIES)
                GrantArmies(*request);
            else if (category == AIRES_FLEETS)
                GrantFleets(*request);
            else
                GrantFrom(this, *request);
            if (!request->IsUnitRequest() && request->requester && !request->IsSatisfied()) {
                const float wanted = PriorityOf(request->requester);
                m_holderWalk = true;
                CLinkedList<CAIAgent>& holders = m_holders[category];
                CLinkedList<CAIAgent>::CListPosition holder = nullptr;
                holders.GetHeadPosition(holder);
                while (holder && request->requester && !request->IsSatisfied()) {
                    CAIAgent* giver = holder->item;
                    if (!holder->removed && giver) {
                        if (PriorityOf(giver) + kAITakeMargin >= wanted)
                            break;
                        if (giver != request->requester)
                            GrantFrom(giver, *request);
                    }
                    holder = holder->next;
                }
                m_holderWalk = false;
                CLinkedList<CAIAgent>::CListPosition sweep = nullptr;
                holders.GetHeadPosition(sweep);
                while (sweep) {
                    CLinkedList<CAIAgent>::CListPosition next = sweep->next;
                    if (!sweep->item)
                        holders.RemoveNode(sweep);
                    sweep = next;
                }
            }
        }
        position = position->next;
    }

    queue.GetHeadPosition(position);
    while (position) {
        CLinkedList<CAIResourceRequest>::CListPosition next = position->next;
        CAIResourceRequest* request = position->item;
        if (request && (!request->requester || request->IsSatisfied())) {
            if (request->requester && request->requester->RequestSlot(category) == request)
                request->requester->RequestSlot(category) = nullptr;
            queue.RemoveNode(position);
            delete request;
        }
        position = next;
    }

    if (category == AIRES_ARMIES) {
        std::vector<CUnit*> armies;
        m_armies.ForEach([&armies](CUnit* unit) { armies.push_back(unit); });
        for (CUnit* unit : armies)
            if (m_armies.Contains(unit))
                AssignArmyToGeneral(unit);
    } else if (category == AIRES_FLEETS) {
        std::vector<CUnit*> fleets;
        m_fleets.ForEach([&fleets](CUnit* unit) { fleets.push_back(unit); });
        for (CUnit* unit : fleets)
            if (m_fleets.Contains(unit))
                AssignFleetToAdmiral(unit);
    }
}

void CAIKing::GrantFrom(CAIAgent* giver, CAIResourceRequest& request) {
    if (request.category == AIRES_RECRUIT_PROVINCE || request.category == AIRES_SHIPYARD_PORT)
        return GrantProvince(giver, request);
    const float x = std::min(request.amount, giver->GetResource(request.category));
    if (x <= 0.0f)
        return;
    request.SetAmount(request.amount - x);
    giver->GiveResource(request.category, request.requester, x);
    if (giver->IsActive() && giver->IsPlan()) {
        switch (request.category) {
        case AIRES_MONEY:
            RequestMoney(giver, x);
            break;
        default:
            RequestPool(*this, giver, request.category, x);
            break;
        }
    }
}

void CAIKing::GrantProvince(CAIAgent* giver, CAIResourceRequest& request) {
    CTemplateList<CProvince>* list = giver->GetProvinces();
    if (!list || !country)
        return;
    const bool recruit = request.category == AIRES_RECRUIT_PROVINCE;
    const auto self = static_cast<int32_t>(country->GetNumber());
    CProvince* best = nullptr;
    float bestScore = 0.0f;
    list->ForEach([&](CProvince* province) {
        if (!province || province->aiHolder != giver)
            return;
        const int32_t id = province->GetNumber();
        float score = request.destination ? SquaredDistance(*request.destination, *province) : 0;
        const int32_t relation =
            request.destination ? TerritoryRelation(*request.destination, *province) : 0;
        if (recruit) {
            if (!country->CanRecruitLandUnits(id, 0, 0, 0))
                return;
            if (province->HasEnemyUnit(self))
                score += 250000.0f;
            score += relation == 1 ? 40000.0f : relation == 2 ? 4000000.0f : 0.0f;
        } else {
            if (!country->CanBuildShips(id, 0, 0, 0) || province->HasEnemyUnit(self))
                return;
            if (province->HasShipyard())
                score -= 9000000.0f;
            if (province->blockaded)
                score += 9000000.0f;
            if (relation != 0)
                score += 1000000.0f;
        }
        if (!best || score < bestScore) {
            best = province;
            bestScore = score;
        }
    });
    if (!best)
        return;
    request.Clear();
    if (recruit)
        giver->GiveProvince(request.requester, best);
    else
        giver->GiveSeaZone(request.requester, best);
    if (giver != this && giver->IsActive() && giver->IsPlan()) {
        if (recruit)
            RequestRecruitProvince(giver, best);
        else
            RequestShipyardPort(giver, best);
    }
}

namespace {

// The plan that holds the unit, when its holder is one.
CAIPlan* HoldingPlan(const CUnit& unit) {
    CAIAgent* agent = unit.GetAIAgent();
    return agent ? agent->AsPlan() : nullptr;
}

} // namespace

void CAIKing::GrantArmies(CAIResourceRequest& request) {
    CAIAgent* requester = request.requester;
    if (!requester || !country)
        return;
    const float limit = PriorityOf(requester) - 1.0f;
    const bool exploring = request.kind == 2 || request.kind == 3;
    std::vector<Candidate> candidates;
    country->m_units.ForEach([&](CUnit* unit) {
        if (candidates.size() >= kMaxCandidates || unit->IsFleet() ||
            unit->GetAIAgent() == requester || unit->GetLocation() == 0 || !IsUnitFree(*unit))
            return;
        if (exploring ? !unit->CanExplore() : unit->HasExplorerLeader())
            return;
        if (const CAIPlan* plan = HoldingPlan(*unit))
            if (plan->GetPlanType() == AIPLAN_TRANSPORT || plan->GetRequestPriority() > limit)
                return;
        if (requester->HasRejected(unit))
            return;
        const CProvince* at = GetProvince(unit->GetLocation());
        if (!at)
            return;
        float score = request.destination ? SquaredDistance(*request.destination, *at) : 0.0f;
        const int32_t relation =
            request.destination ? TerritoryRelation(*request.destination, *at) : 0;
        score += relation == 2 ? 1000000.0f : relation == 1 ? 250000.0f : 0.0f;
        if (unit->GetAIAgent())
            score += 10000.0f;
        candidates.push_back({unit, score});
    });
    SortCandidates(candidates);
    for (const Candidate& candidate : candidates) {
        if (!request.requester || request.IsSatisfied() || !requester->IsActive())
            break;
        CUnit* unit = candidate.unit;
        const int32_t infantry = unit->GetRoundedInfantry();
        const int32_t cavalry = unit->GetRoundedCavalry();
        const int32_t artillery = unit->GetRoundedArtillery();
        if (!requester->OfferArmy(unit))
            continue;
        request.SetAmount(request.amount - EstimateArmyPower(*country, static_cast<float>(infantry),
                                                             static_cast<float>(cavalry),
                                                             static_cast<float>(artillery)));
        request.granted[0] += infantry;
        request.granted[1] += cavalry;
        request.granted[2] += artillery;
        if (request.amount < 0.5f)
            request.Clear();
    }
    if (request.requester && !request.IsSatisfied() && !request.buildPlanAsked && !exploring) {
        request.buildPlanAsked = true;
        auto* plan = new CAIBuildArmyPlan(this, 1000, 1000, 10);
        plan->Init(requester);
        plan->SetProvince(request.destination);
        plan->SetWanted(request.amount);
        requester->AddChild(plan);
        plan->Start();
    }
}

void CAIKing::GrantFleets(CAIResourceRequest& request) {
    CAIAgent* requester = request.requester;
    if (!requester || !country)
        return;
    const float limit = PriorityOf(requester) - 1.0f;
    std::vector<Candidate> candidates;
    country->m_units.ForEach([&](CUnit* unit) {
        if (candidates.size() >= kMaxCandidates || !unit->IsFleet() ||
            unit->GetAIAgent() == requester || unit->GetLocation() == 0 || !IsUnitFree(*unit) ||
            FleetCargoLoad(*unit) > 0)
            return;
        if (request.ships <= 0 && unit->GetStrength(0) + unit->GetStrength(1) < 0.1f)
            return;
        if (const CAIPlan* plan = HoldingPlan(*unit))
            if (plan->GetPlanType() == AIPLAN_TRANSPORT || plan->GetRequestPriority() > limit)
                return;
        if (requester->HasRejected(unit))
            return;
        const CProvince* at = GetProvince(unit->GetLocation());
        if (at && !at->IsSea() && at->portSeaZone)
            at = GetProvince(at->portSeaZone);
        if (!at)
            return;
        float score = request.destination ? SquaredDistance(*request.destination, *at) : 0.0f;
        const int32_t relation =
            request.destination ? TerritoryRelation(*request.destination, *at) : 0;
        score += relation == 2 ? 64000000.0f : relation == 1 ? 9000000.0f : 0.0f;
        if (unit->GetAIAgent())
            score += 250000.0f;
        candidates.push_back({unit, score});
    });
    SortCandidates(candidates);
    for (const Candidate& candidate : candidates) {
        if (!request.requester || request.IsSatisfied() || !requester->IsActive())
            break;
        CUnit* unit = candidate.unit;
        const auto warships = static_cast<int32_t>(std::ceil(unit->GetStrength(0)));
        const auto galleys = static_cast<int32_t>(std::ceil(unit->GetStrength(1)));
        const auto transports = static_cast<int32_t>(std::ceil(unit->GetStrength(2)));
        if (!requester->OfferFleet(unit))
            continue;
        request.SetAmount(request.amount - EstimateFleetPower(*country,
                                                              static_cast<float>(warships),
                                                              static_cast<float>(galleys)));
        if (request.amount < 0.9f)
            request.amount = 0.0f;
        request.ships = std::max(0, request.ships - (galleys + 2 * transports + warships));
        request.granted[0] += warships;
        request.granted[1] += galleys;
        request.granted[2] += transports;
    }
}

float SquaredDistance(const CProvince& a, const CProvince& b) {
    float dx = static_cast<float>(a.unitPosition.x - b.unitPosition.x);
    if (dx > 9472.0f)
        dx -= 18944.0f;
    else if (dx < -9472.0f)
        dx += 18944.0f;
    const float dy = static_cast<float>(a.unitPosition.y - b.unitPosition.y);
    return dx * dx + dy * dy;
}
