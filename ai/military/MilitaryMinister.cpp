#include "ai/military/MilitaryMinister.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "ai/AINotify.h"
#include "ai/king/King.h"
#include "ai/king/ResourceBroker.h"
#include "ai/military/AICombat.h"
#include "ai/military/Defence.h"
#include "ai/military/MilitaryQueries.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "engine/CriticalError.h"
#include "military/combat/Battle.h"
#include "military/units/LandUnit.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr uint32_t kNoticeArmyMoved = 0;
constexpr uint32_t kNoticeFleetMoved = 1;
constexpr uint32_t kNoticeBlockade = 15;
constexpr uint32_t kNoticePeace = 18;
constexpr uint32_t kNoticeWar = 19;
constexpr uint32_t kNoticeThreat = 20;
constexpr uint32_t kNoticeControl = 21;
constexpr uint32_t kNoticeOwner = 22;
constexpr uint32_t kNoticeSiege = 26;
constexpr uint32_t kNoticeRaised = 27;

CProvince* ProvinceById(int32_t id) {
    return id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
}

std::vector<CProvince*> ProvincesOf(const CTerritory* territory) {
    std::vector<CProvince*> provinces;
    if (territory)
        const_cast<CTerritory*>(territory)->GetProvinces().ForEach(
            [&provinces](CProvince* p) { provinces.push_back(p); });
    return provinces;
}

CAIMilitaryPlan* AsMilitaryPlan(CAIAgent* agent) {
    return dynamic_cast<CAIMilitaryPlan*>(agent);
}

float PlanPriority(const CAIPlan* plan) {
    return plan ? plan->GetRoot()->GetPriority() : 0.0f;
}

bool IsHostile(const CCountry* country, const CCountry* other) {
    return country && other && country->IsHostileTo(other->GetNumber());
}

} // namespace

// ---------------------------------------------------------------------------
// The common minister

CAIMilitaryMinister::~CAIMilitaryMinister() {
    DeletePrototypes();
    DeleteQueue();
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
}

void CAIMilitaryMinister::DeletePrototypes() {
    for (CAIMilitaryPlan*& plan : prototypes) {
        delete plan;
        plan = nullptr;
    }
}

void CAIMilitaryMinister::DeleteQueue() {
    for (CAIMilitaryPlan*& plan : queue) {
        delete plan;
        plan = nullptr;
    }
    queueCount = 0;
}

CAIMilitaryPlan* CAIMilitaryMinister::MakePrototype(int32_t kind) {
    CAIKing* king = GetKing();
    CAIMilitaryPlan* plan = nullptr;
    switch (kind) {
    case KIND_LANDATTACK:
        plan = new CAILandAttackPlan(king);
        break;
    case KIND_CONQUER:
        plan = new CAIConquerPlan(king);
        break;
    case KIND_DEFEND:
        plan = new CAIDefendPlan(king);
        break;
    case KIND_INVASION:
        plan = new CAIInvasionPlan(king);
        break;
    case KIND_BREAKBLOCKADE:
        plan = new CAIBreakBlockadePlan(king);
        break;
    case KIND_BLOCKADE:
        plan = new CAIBlockadePlan(king);
        break;
    case KIND_NAVALATTACK:
        plan = new CAINavalAttackPlan(king);
        break;
    default:
        return nullptr;
    }
    plan->Init(this);
    return plan;
}

bool CAIMilitaryMinister::IsOwnCountry(int32_t number) const {
    return country && number == CountryNumber(*country);
}

void CAIMilitaryMinister::StartMinister(CTerritory* territory) {
    m_territory = territory;
    maxPlans = 4;
    ChooseHomeProvince();
    CAIAgent::Start();
    const CProvince* first = territory ? FirstProvince(*territory) : nullptr;
    DebugPrint("%s starts a CAIMilitaryMinister for %s with %d plans.\n",
               country ? country->GetTag().c_str() : "", first ? first->name.c_str() : "",
               maxPlans);
    PostTimer(AIRandomDelay(10, 30), 1);
    Subscribe(kNoticePeace, false);
    Subscribe(kNoticeWar, false);
    Subscribe(kNoticeOwner, false);
}

void CAIMilitaryMinister::Stop() {
    Unsubscribe(kNoticePeace);
    Unsubscribe(kNoticeWar);
    Unsubscribe(kNoticeOwner);
    DeletePrototypes();
    CAIStandingAgent::Stop();
}

void CAIMilitaryMinister::OnTimer(uint32_t value) {
    if (value == 0) {
        launchArmed = false;
        if (queueCount > 0)
            LaunchQueuedPlans();
        return;
    }
    // The units held are offered to the running plans again.
    std::vector<CUnit*> held;
    m_armies.ForEach([&held](CUnit* unit) { held.push_back(unit); });
    m_fleets.ForEach([&held](CUnit* unit) { held.push_back(unit); });
    for (CUnit* unit : held)
        if (unit->GetAIAgent() == this && IsUnitFree(*unit))
            OfferUnitToPlans(unit);
    PostTimer(AIRandomDelay(20, 20), 1);
}

bool CAIMilitaryMinister::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded)
        return false;
    if (OfferUnitToPlans(army))
        return true;
    RejectUnit(army);
    return false;
}

bool CAIMilitaryMinister::OfferFleet(CUnit* fleet) {
    return OfferArmy(fleet);
}

std::vector<CAIPlan*> CAIMilitaryMinister::RunningMilitaryPlans() const {
    std::vector<CAIPlan*> plans;
    const_cast<CLinkedList<CAIAgent>&>(children).ForEach([&plans](CAIAgent* child) {
        CAIMilitaryPlan* plan = AsMilitaryPlan(child);
        if (plan && plan->GetPlanType() != AIPLAN_DEFEND)
            plans.push_back(plan);
    });
    return plans;
}

CAIDefendPlan* CAIMilitaryMinister::RunningDefence() const {
    CAIDefendPlan* found = nullptr;
    const_cast<CLinkedList<CAIAgent>&>(children).ForEach([&found](CAIAgent* child) {
        if (!found)
            found = dynamic_cast<CAIDefendPlan*>(child);
    });
    return found;
}

bool CAIMilitaryMinister::QueuePlan(CAIMilitaryPlan* plan) {
    if (!plan)
        return false;
    const float p = PlanPriority(plan);
    int32_t place = queueCount;
    while (place > 0 && PlanPriority(queue[static_cast<size_t>(place - 1)]) < p) {
        queue[static_cast<size_t>(place)] = queue[static_cast<size_t>(place - 1)];
        --place;
    }
    if (place == kMinisterQueueLength)
        return false;
    queue[static_cast<size_t>(place)] = plan;
    if (CAIMilitaryPlan*& out = queue[kMinisterQueueLength]) {
        delete out;
        out = nullptr;
    } else {
        ++queueCount;
    }
    if (!launchArmed) {
        launchArmed = true;
        PostTimer(1, 0);
    }
    return true;
}

void CAIMilitaryMinister::LaunchQueuedPlans() {
    CAIPlan* weakest = nullptr;
    for (CAIPlan* plan : RunningMilitaryPlans())
        if (!weakest || PlanPriority(plan) < PlanPriority(weakest))
            weakest = plan;
    for (int32_t i = 0; i < queueCount; ++i) {
        CAIMilitaryPlan*& plan = queue[static_cast<size_t>(i)];
        if (!plan)
            continue;
        const bool full = static_cast<int32_t>(children.GetCount()) >= maxPlans;
        if (full && !(weakest && PlanPriority(weakest) < PlanPriority(plan)))
            break;
        CAIMilitaryPlan* launched = plan;
        plan = nullptr;
        AddChild(launched);
        launched->Start();
        if (full)
            break;
    }
    DeleteQueue();
    if (static_cast<int32_t>(children.GetCount()) > maxPlans && weakest &&
        children.Contains(weakest))
        weakest->Cancel();
}

CAIPlan* CAIMilitaryMinister::FindPlanFor(const CProvince* province) {
    if (!province)
        return nullptr;
    for (CAIPlan* plan : RunningMilitaryPlans())
        if (static_cast<CAIMilitaryPlan*>(plan)->GetObjective() == province)
            return plan;
    for (int32_t i = 0; i < kMinisterQueueLength; ++i) {
        CAIMilitaryPlan* plan = queue[static_cast<size_t>(i)];
        const CProvince* objective = plan ? plan->GetObjective() : nullptr;
        if (objective && objective->GetNumber() == province->GetNumber())
            return plan;
    }
    return nullptr;
}

bool CAIMilitaryMinister::ProposePlans(int32_t kind, const CTemplateList<CProvince>& provinces,
                                       CProvince* excluded) {
    std::vector<CProvince*> list;
    std::set<int32_t> visited;
    const_cast<CTemplateList<CProvince>&>(provinces).ForEach([&](CProvince* p) {
        if (p && visited.insert(p->GetNumber()).second)
            list.push_back(p);
    });
    bool queued = false;
    for (CProvince* p : list) {
        if (kind == KIND_INVASION) {
            bool aimed = false;
            for (CAIPlan* plan : RunningMilitaryPlans())
                aimed = aimed || (plan->GetPlanType() == AIPLAN_INVASION &&
                                  static_cast<CAIMilitaryPlan*>(plan)->GetObjective() == p);
            if (aimed)
                continue;
        } else if (p == excluded || FindPlanFor(p)) {
            continue;
        }
        CAIMilitaryPlan* prototype = GetPrototype(kind);
        if (!prototype)
            continue;
        prototype->Evaluate(p, m_territory);
        if (prototype->GetPriority() < 0.0f)
            continue;
        if (excluded && excluded->IsNeighbour(p->GetNumber()))
            prototype->SetPriority(PlanPriority(prototype) + 5.0f);
        if (QueuePlan(prototype)) {
            prototypes[static_cast<size_t>(kind)] = MakePrototype(kind);
            queued = true;
        }
    }
    return queued;
}

bool CAIMilitaryMinister::ProposePlanFor(int32_t kind, CProvince* province) {
    if (!province || FindPlanFor(province))
        return false;
    CAIMilitaryPlan* prototype = GetPrototype(kind);
    if (!prototype)
        return false;
    prototype->Evaluate(province, m_territory);
    if (prototype->GetPriority() < 0.0f || !QueuePlan(prototype))
        return false;
    prototypes[static_cast<size_t>(kind)] = MakePrototype(kind);
    return true;
}

bool CAIMilitaryMinister::ProposeAttacksOnEnemies() {
    return false;
}

bool CAIMilitaryMinister::OfferUnitToPlans(CUnit* unit) {
    if (!unit || unit->HasExplorerLeader())
        return false;
    const CProvince* at = ProvinceById(unit->GetLocation());
    struct Entry {
        CAIPlan* plan;
        float distance;
    };
    std::vector<Entry> entries;
    for (CAIPlan* plan : RunningMilitaryPlans()) {
        if (entries.size() >= 100)
            break;
        if (!plan->IsActive() || plan->HasRejected(unit))
            continue;
        const CProvince* objective = static_cast<CAIMilitaryPlan*>(plan)->GetObjective();
        entries.push_back({plan, at && objective ? SquaredDistance(*at, *objective) : 0.0f});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.distance < b.distance; });
    for (const Entry& entry : entries) {
        const bool taken =
            unit->IsFleet() ? entry.plan->OfferFleet(unit) : entry.plan->OfferArmy(unit);
        if (taken)
            return true;
    }
    return false;
}

void CAIMilitaryMinister::OnPlanSucceeded(CAIAgent* child) {
    CAIPlan* plan = child ? child->AsPlan() : nullptr;
    const int32_t type = plan ? plan->GetPlanType() : -1;
    CAIMilitaryPlan* military = AsMilitaryPlan(child);
    CProvince* province = military ? military->GetObjective() : nullptr;
    ReleaseChild(child);
    if (active && plan)
        PlanEnded(type, province);
}

void CAIMilitaryMinister::OnPlanFailed(CAIAgent* child) {
    OnPlanSucceeded(child);
}

void CAIMilitaryMinister::OnPeace(int32_t a, int32_t b) {
    if (maxPlans > 0 && (IsOwnCountry(a) || IsOwnCountry(b)))
        PeaceMade();
}

void CAIMilitaryMinister::OnWar(int32_t a, int32_t b) {
    if (maxPlans > 0 && (IsOwnCountry(a) || IsOwnCountry(b))) {
        WarBegun();
        ProposeAttacksOnEnemies();
        ProposeAreaPlans();
    }
}

void CAIMilitaryMinister::OnProvinceOwnerChanged(int32_t, int32_t id) {
    const CProvince* province = ProvinceById(id);
    if (!province || !country)
        return;
    if (province == homeProvince || province->GetOwner() == country)
        ChooseHomeProvince();
}

void CAIMilitaryMinister::ReportEnemyUnit(CUnit& unit) {
    if (unit.GetAIAgent() == this) {
        MergeInto(&unit);
        return;
    }
    CProvince* at = ProvinceById(unit.GetLocation());
    if (maxPlans == 0 || !at || !m_territory || at->territory != m_territory || !country)
        return;
    const float value = EvaluateThreat(*at);
    if (value < 0.1f)
        return;
    const CCountry* enemy = unit.GetOwner();
    const int32_t enemyNumber = enemy ? CountryNumber(*enemy) : 0;
    NotifyAIListeners4(kNoticeThreat, &CAIEventListener::OnThreatReport, CountryNumber(*country),
                       enemyNumber, at->GetNumber(), static_cast<int32_t>(value));
    if (IsHostile(country, enemy))
        ProposeAttack(at);
}

// ---------------------------------------------------------------------------
// The General

void CAIGeneral::StartWithPlans(CTerritory* territory) {
    for (int32_t kind : {KIND_LANDATTACK, KIND_CONQUER, KIND_DEFEND, KIND_INVASION})
        prototypes[static_cast<size_t>(kind)] = MakePrototype(kind);
    StartMinister(territory);
    Subscribe(kNoticeArmyMoved, false);
    Subscribe(kNoticeControl, false);
    Subscribe(kNoticeRaised, false);
    Subscribe(kNoticeSiege, false);
    auto* defence = new CAIDefendPlan(GetKing());
    defence->Init(this);
    defence->Evaluate(territory ? FirstProvince(*territory) : nullptr, territory);
    AddChild(defence);
    defence->Start();
}

void CAIGeneral::Stop() {
    Unsubscribe(kNoticeControl);
    Unsubscribe(kNoticeArmyMoved);
    Unsubscribe(kNoticeRaised);
    Unsubscribe(kNoticeSiege);
    CAIMilitaryMinister::Stop();
}

void CAIGeneral::OnTimer(uint32_t value) {
    if (value != 0)
        CheckInvasion();
    CAIMilitaryMinister::OnTimer(value);
}

void CAIGeneral::ReactInTerritory(int32_t id, bool attackToo) {
    CProvince* province = ProvinceById(id);
    if (!province || !m_territory || province->territory != m_territory)
        return;
    if (ProposePlanFor(KIND_CONQUER, province))
        return;
    if (attackToo)
        ProposePlanFor(KIND_LANDATTACK, province);
    ProposePlanFor(KIND_INVASION, province);
}

void CAIGeneral::OnProvinceControlChanged(int32_t, int32_t province) {
    ReactInTerritory(province, false);
}

void CAIGeneral::OnSiegeStarted(CCombat* siege) {
    if (siege)
        ReactInTerritory(siege->GetProvinceId(), true);
}

void CAIGeneral::OnUnitRaised(int32_t province) {
    ReactInTerritory(province, true);
}

float CAIGeneral::EvaluateThreat(const CProvince& province) {
    if (!country)
        return 0.0f;
    const ProvinceStrength sum = SumUnitStrength(province, *country);
    const float s = std::min(1.0f, sum.hostile * 0.0001f + sum.access * 0.00005f);
    float closeness;
    if (province.GetOwner() == country) {
        closeness = 1.0f;
    } else if (province.SuppliesCountry(*country)) {
        closeness = 0.9f;
    } else {
        float d = 400.0f;
        for (CProvince* p : ProvincesOf(m_territory))
            d = std::min(d, std::sqrt(SquaredDistance(province, *p)));
        closeness = std::max(0.0f, 1.0f - 0.0025f * d);
    }
    return 0.6f * s + 0.4f * closeness;
}

bool CAIGeneral::ProposeAttacksOnEnemies() {
    if (!country)
        return false;
    std::set<int32_t> visited;
    bool queued = false;
    for (CCountry* enemy : g_countries) {
        if (!enemy || !country->IsHostileTo(enemy->GetNumber()))
            continue;
        std::vector<CUnit*> armies;
        enemy->m_units.ForEach([&armies](CUnit* unit) {
            if (unit && !unit->IsFleet() && unit->GetLocation() != 0 && !UnitCarrier(*unit))
                armies.push_back(unit);
        });
        for (CUnit* army : armies) {
            CProvince* at = ProvinceById(army->GetLocation());
            if (!at || !visited.insert(at->GetNumber()).second)
                continue;
            if (!m_territory || at->territory != m_territory || FindPlanFor(at))
                continue;
            CAIMilitaryPlan* prototype = GetPrototype(KIND_LANDATTACK);
            if (!prototype)
                continue;
            prototype->Evaluate(at, m_territory);
            if (prototype->GetPriority() >= 0.0f && QueuePlan(prototype)) {
                prototypes[KIND_LANDATTACK] = MakePrototype(KIND_LANDATTACK);
                queued = true;
            }
        }
    }
    return queued;
}

bool CAIGeneral::ProposeAttack(CProvince* province) {
    if (!province || province->IsSea())
        return false;
    return ProposePlanFor(KIND_LANDATTACK, province);
}

bool CAIGeneral::ProposeConquest(CProvince* province) {
    if (!province || province->IsSea())
        return false;
    return ProposePlanFor(KIND_CONQUER, province);
}

bool CAIGeneral::ProposeAreaPlans() {
    bool queued = false;
    if (m_territory)
        queued = ProposePlans(KIND_CONQUER, m_territory->GetProvinces(), nullptr);
    const bool further = ProposeTerritoryConquests(m_territory);
    return queued || further;
}

void CAIGeneral::PeaceMade() {
    if (!country || country->IsAtWar())
        return;
    if (CAIDefendPlan* defence = RunningDefence())
        defence->PlanGarrisons();
}

void CAIGeneral::WarBegun() {
    if (CAIDefendPlan* defence = RunningDefence())
        defence->CancelGarrisons();
}

void CAIGeneral::PlanEnded(int32_t type, CProvince* province) {
    if (!province || !province->GetOwner())
        return;
    bool queued = false;
    if (type == AIPLAN_LANDATTACK) {
        queued = ProposePlanFor(KIND_CONQUER, province);
    } else if (type == AIPLAN_CONQUER) {
        if (IsHostile(province->GetOwner(), country) && province->territory)
            queued = ProposePlans(KIND_CONQUER, province->territory->GetProvinces(), province);
    } else {
        if (type == AIPLAN_INVASION)
            CheckInvasion();
        return;
    }
    if (!queued) {
        ProposeAttacksOnEnemies();
        ProposeAreaPlans();
    }
}

bool CAIGeneral::ProposeTerritoryConquests(CTerritory* start) {
    if (!start || !country)
        return false;
    std::vector<CTerritory*> marked;
    auto mark = [&marked](CTerritory* t) {
        t->visitMark = 1;
        marked.push_back(t);
    };
    auto linked = [](CTerritory* t) {
        std::vector<CTerritory*> out;
        t->GetLinks().ForEach([&out](CTerritoryLink* link) {
            if (link && link->territory)
                out.push_back(link->territory);
        });
        return out;
    };
    auto hostile = [this](const CTerritory* t) { return IsHostile(country, t->GetOwner()); };
    auto propose = [this](CTerritory* t) {
        return ProposePlans(KIND_CONQUER, t->GetProvinces(), nullptr);
    };
    for (CTerritory* t : linked(start))
        if (t->GetKind() == TERRITORY_LAND && !t->visitMark && hostile(t) && propose(t))
            mark(t);
    bool result = false;
    std::vector<CTerritory*> work{start};
    if (!start->visitMark)
        mark(start);
    for (size_t next = 0; next < work.size() && !result; ++next) {
        CTerritory* t = work[next];
        if (hostile(t) && !t->HoldsCapital() && propose(t)) {
            result = true;
            break;
        }
        for (CTerritory* n : linked(t)) {
            if (n->visitMark || n->GetKind() != TERRITORY_LAND)
                continue;
            mark(n);
            const CCountry* holder = n->GetOwner();
            if (!holder || !(holder == country || hostile(n) ||
                             country->IsCobelligerentWith(holder->GetNumber())))
                continue;
            if (n->HoldsCapital()) {
                if (propose(n)) {
                    result = true;
                    break;
                }
            } else {
                work.push_back(n);
            }
        }
    }
    for (CTerritory* t : marked)
        t->visitMark = 0;
    return result;
}

void CAIGeneral::ChooseHomeProvince() {
    homeProvince = nullptr;
    float best = 0.0f;
    for (CProvince* p : ProvincesOf(m_territory)) {
        if (!country || p->GetController() != country)
            continue;
        float score = 2.0f * static_cast<float>(CitySize(*p)) + p->GetTotalIncome();
        if (p->coastal)
            score -= 4.0f;
        if (p->IsBorderProvince())
            score -= 10.0f;
        if (p->HasBarrack())
            score += 10.0f;
        if (!homeProvince || score > best) {
            homeProvince = p;
            best = score;
        }
    }
}

int32_t CAIGeneral::GetObjectiveStatus(const CProvince& objective) const {
    if (!country || objective.GetOwner() != country)
        return 0;
    for (const ProvinceNeighbour& link : objective.neighbours) {
        const CProvince* next = ProvinceById(link.id);
        if (next && (next->IsSea() || next->GetOwner() != country))
            return 2;
    }
    return 3;
}

// ---------------------------------------------------------------------------
// The overseas General

void CAIOverseasGeneral::StartWithPlans(CTerritory* territory) {
    CAIGeneral::StartWithPlans(territory);
    CheckInvasion();
}

void CAIOverseasGeneral::OnTimer(uint32_t value) {
    CAIGeneral::OnTimer(value);
}

bool CAIOverseasGeneral::CheckInvasion() {
    const std::vector<CProvince*> provinces = ProvincesOf(m_territory);
    if (provinces.empty() || !country)
        return false;
    int32_t lost = 0;
    for (CProvince* p : provinces)
        if (p->GetController() != country || p->IsUnderSiege())
            ++lost;
    if (static_cast<float>(lost) / static_cast<float>(provinces.size()) <= 0.25f)
        return false;
    return ProposePlans(KIND_INVASION, m_territory->GetProvinces(), nullptr);
}

void CAIOverseasGeneral::OnProvinceOwnerChanged(int32_t oldOwner, int32_t province) {
    if (!active)
        return;
    if (!m_territory || m_territory->GetProvinces().IsEmpty()) {
        Cancel();
        return;
    }
    CAIGeneral::OnProvinceOwnerChanged(oldOwner, province);
}

void CAIOverseasGeneral::OnPeace(int32_t a, int32_t b) {
    if (!active)
        return;
    const bool empty = !m_territory || m_territory->GetProvinces().IsEmpty();
    if (!IsOwnCountry(a) && !IsOwnCountry(b)) {
        if (empty)
            Cancel();
        return;
    }
    const CCountry* holder = m_territory ? m_territory->GetOwner() : nullptr;
    if (!empty && holder && (CountryNumber(*holder) == a || CountryNumber(*holder) == b))
        Succeed();
}

// ---------------------------------------------------------------------------
// The Admiral

void CAIAdmiral::StartWithPlans(CTerritory* territory) {
    for (int32_t kind : {KIND_BREAKBLOCKADE, KIND_BLOCKADE, KIND_NAVALATTACK})
        prototypes[static_cast<size_t>(kind)] = MakePrototype(kind);
    StartMinister(territory);
    Subscribe(kNoticeFleetMoved, false);
    Subscribe(kNoticeBlockade, false);
}

void CAIAdmiral::Stop() {
    Unsubscribe(kNoticeBlockade);
    Unsubscribe(kNoticeFleetMoved);
    CAIMilitaryMinister::Stop();
}

void CAIAdmiral::OnFleetMoved(CUnit& fleet) {
    if (fleet.GetAIAgent() == this && homeProvince &&
        fleet.GetFinalDestination() != homeProvince->GetNumber())
        MoveUnitToProvince(&fleet, homeProvince, 0);
    ReportEnemyUnit(fleet);
}

void CAIAdmiral::OnBlockade(int32_t id, int32_t value) {
    const CProvince* province = ProvinceById(id);
    if (!province || !country || province->GetOwner() != country)
        return;
    CProvince* zone = ProvinceById(province->portSeaZone);
    if (!zone)
        return;
    if (value != 0) {
        ProposePlanFor(KIND_BREAKBLOCKADE, zone);
        return;
    }
    for (CAIPlan* plan : RunningMilitaryPlans())
        if (plan->GetPlanType() == AIPLAN_BREAKBLOCKADE && plan->IsActive() &&
            static_cast<CAIMilitaryPlan*>(plan)->GetObjective() == zone) {
            plan->Cancel();
            return;
        }
}

float CAIAdmiral::EvaluateThreat(const CProvince& province) {
    if (!country)
        return 0.0f;
    const ProvinceStrength sum = SumUnitStrength(province, *country);
    return std::min(1.0f, sum.hostile / 30.0f + sum.access / 60.0f);
}

bool CAIAdmiral::ProposeAttacksOnEnemies() {
    if (!country || !country->IsAtWar() || !m_territory)
        return false;
    return ProposePlans(KIND_NAVALATTACK, m_territory->GetProvinces(), nullptr);
}

bool CAIAdmiral::ProposeAttack(CProvince* province) {
    return ProposePlanFor(KIND_NAVALATTACK, province);
}

bool CAIAdmiral::ProposeConquest(CProvince* province) {
    return ProposePlanFor(KIND_BLOCKADE, province);
}

bool CAIAdmiral::ProposeAreaPlans() {
    if (!country || !country->IsAtWar() || !m_territory)
        return false;
    return ProposePlans(KIND_BLOCKADE, m_territory->GetProvinces(), nullptr);
}

void CAIAdmiral::PlanEnded(int32_t type, CProvince* province) {
    if (!province || !province->GetOwner())
        return;
    if (type == AIPLAN_BREAKBLOCKADE) {
        ProposeAttacksOnEnemies();
        ProposeAreaPlans();
    } else if (type == AIPLAN_BLOCKADE) {
        const bool queued = ProposePlanFor(KIND_BLOCKADE, province);
        if (!queued || m_failedEnd) {
            ProposeAttacksOnEnemies();
            ProposeAreaPlans();
        }
    }
}

void CAIAdmiral::ChooseHomeProvince() {
    homeProvince = nullptr;
    if (!m_territory || !country)
        return;
    float best = 0.0f;
    std::vector<CTerritory*> lands;
    m_territory->GetLinks().ForEach([&](CTerritoryLink* link) {
        if (link && link->territory && link->territory->GetKind() == TERRITORY_LAND &&
            !link->territory->GetProvinces().IsEmpty() && link->territory->GetOwner() == country)
            lands.push_back(link->territory);
    });
    const int32_t self = CountryNumber(*country);
    for (CTerritory* land : lands) {
        for (CProvince* p : ProvincesOf(land)) {
            const CProvince* zone = ProvinceById(p->portSeaZone);
            if (CitySize(*p) < 1 || p->GetController() != country || !zone ||
                zone->territory != m_territory)
                continue;
            float score = 2.0f * static_cast<float>(CitySize(*p)) + p->GetTotalIncome();
            if (p->IsBorderProvince())
                score -= 10.0f;
            if (p->HasShipyard())
                score += 10.0f;
            if (p->HasEnemyUnit(self))
                score -= 10.0f;
            if (!homeProvince || score > best) {
                homeProvince = p;
                best = score;
            }
        }
    }
}
