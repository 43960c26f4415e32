#include "ai/diplomacy/Explorer.h"

#include <algorithm>

#include "ai/AIPlan.h"
#include "ai/diplomacy/ExplorationPlans.h"
#include "ai/king/King.h"
#include "ai/king/MerchantAgent.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "engine/Random.h"
#include "military/units/Leader.h"
#include "world/City.h"
#include "world/Goods.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kNoticeDiscovered = 16;
constexpr uint32_t kNoticeSettlement = 23;
constexpr uint32_t kNoticeLeader = 35;
// Land below this terrain code; this code is neither land nor sea.
constexpr int32_t kFirstNonLandTerrain = 5;
constexpr int32_t kIgnoredTerrain = 6;
constexpr int32_t kMaxTradingPostLevel = 5;
// The priorities the explorer gives its plans.
constexpr float kSeaPlanPriority = 25.0f;
constexpr float kLandPlanPriority = 52.0f;
constexpr float kNativePlanPriority = 51.0f;
// The country that sails only with its sea-exploration permission.
constexpr int32_t kRussia = 7;

bool Listed(const std::vector<int32_t>& list, int32_t id) {
    return std::find(list.begin(), list.end(), id) != list.end();
}

void Remove(std::vector<int32_t>& list, int32_t id) {
    std::erase(list, id);
}

void AddOnce(std::vector<int32_t>& list, int32_t id) {
    if (!Listed(list, id))
        list.push_back(id);
}

bool IsLand(const CProvince& province) {
    return province.terrain < kFirstNonLandTerrain;
}

} // namespace

int32_t CAIExplorer::Self() const {
    return country ? static_cast<int32_t>(country->GetNumber()) : -1;
}

void CAIExplorer::Start() {
    active = true;
    Subscribe(kNoticeSettlement, false);
    Subscribe(kNoticeLeader, false);
    Subscribe(kNoticeDiscovered, false);
    PostTimer(20 + GameRand() % 20, 0);
    if (!country)
        return;
    const int32_t self = Self();
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province || !province->discoveredBy[static_cast<size_t>(self)])
            continue;
        const int32_t owner = province->GetOwnerNumber();
        const bool open = owner < 0 && IsLand(*province);
        const bool growing = owner == self && province->GetCity() && province->CanColonise();
        if (open || growing)
            FileSettlementCandidate(id);
    }
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province)
            continue;
        if (!province->discoveredBy[static_cast<size_t>(self)]) {
            if (province->area == kSeaArea)
                m_sea.push_back(id);
        } else if (province->terrain != kIgnoredTerrain) {
            AddLandNeighbours(id);
        }
    }
    if (country->IsColonialNation()) {
        PlanExploreSeazone();
        PlanExploreProvince();
        PlanSettlement();
        PlanGenocide();
    }
}

void CAIExplorer::Stop() {
    Unsubscribe(kNoticeSettlement);
    Unsubscribe(kNoticeLeader);
    Unsubscribe(kNoticeDiscovered);
    CAIStandingAgent::Stop();
}

void CAIExplorer::AddLandNeighbours(int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!province)
        return;
    const auto self = static_cast<size_t>(Self());
    for (const ProvinceNeighbour& next : province->neighbours) {
        const CProvince* neighbour = GetProvince(next.id);
        if (neighbour && next.id >= kFirstProvinceId && IsLand(*neighbour) &&
            !neighbour->discoveredBy[self])
            AddOnce(m_land, next.id);
    }
}

int32_t CAIExplorer::CountPlans(int32_t type) const {
    int32_t count = 0;
    const_cast<CLinkedList<CAIAgent>&>(children).ForEach([&count, type](CAIAgent* child) {
        if (CAIPlan* plan = child ? child->AsPlan() : nullptr)
            if (plan->GetPlanType() == type)
                ++count;
    });
    return count;
}

int32_t CAIExplorer::CountSettlementPlans() const {
    int32_t count = 0;
    const_cast<CLinkedList<CAIAgent>&>(children).ForEach([&count](CAIAgent* child) {
        if (CAIPlan* plan = child ? child->AsPlan() : nullptr)
            if (plan->GetPlanType() == AIPLAN_SEND_COLONIST ||
                plan->GetPlanType() == AIPLAN_SEND_TRADER)
                ++count;
    });
    return count;
}

void CAIExplorer::OnTimer(uint32_t value) {
    (void)value;
    PostTimer(20 + GameRand() % 20, 0);
    if (!country)
        return;
    // Checking may end a plan (and start the next): walk a copy.
    std::vector<CAISettlementPlanBase*> plans;
    children.ForEach([&plans](CAIAgent* child) {
        if (auto* plan = dynamic_cast<CAISettlementPlanBase*>(child))
            plans.push_back(plan);
    });
    for (CAISettlementPlanBase* plan : plans)
        if (children.Contains(plan))
            plan->Check();
    const int32_t wanted = 1;
    if (!country->IsColonialNation() &&
        country->m_colonists + country->GetYearlyColonists() <= 1.0f)
        return;
    const int32_t settlement = CountSettlementPlans();
    const int32_t sea = CountPlans(AIPLAN_EXPLORE_SEAZONE);
    const int32_t land = CountPlans(AIPLAN_EXPLORE_PROVINCE);
    const int32_t natives = CountPlans(AIPLAN_GENOCIDE);
    if (settlement < wanted)
        PlanSettlement();
    if (sea < wanted)
        PlanExploreSeazone();
    if (land < std::min(static_cast<int32_t>(m_land.size()) / 5 + 1, 5))
        PlanExploreProvince();
    if (natives < 2 * wanted)
        PlanGenocide();
}

void CAIExplorer::OnExplorationRequest(int32_t who, int32_t category) {
    if (!country || who != Self())
        return;
    if (category == LEADER_EXPLORER)
        PlanExploreSeazone();
    else if (category == LEADER_CONQUISTADOR)
        PlanExploreProvince();
}

// The best candidate by the plan's rating (a later equal one wins) that no
// plan of the kind aims at and that is worth starting gets a plan.
template <class Plan> void CAIExplorer::PlanExploration(const IdList& candidates, float priority) {
    if (!country || !active || !owner)
        return;
    Plan trial(owner);
    std::vector<uint32_t> aimed;
    children.ForEach([&aimed, &trial](CAIAgent* child) {
        CAIPlan* plan = child ? child->AsPlan() : nullptr;
        if (plan && plan->GetPlanType() == trial.GetPlanType())
            aimed.push_back(static_cast<CAIExplorationPlan*>(plan)->GetGoal());
    });
    int32_t best = 0;
    float bestPriority = 0.0f;
    for (int32_t id : candidates) {
        if (std::find(aimed.begin(), aimed.end(), static_cast<uint32_t>(id)) != aimed.end())
            continue;
        trial.SetGoal(static_cast<uint32_t>(id));
        trial.Evaluate();
        if (trial.GetPriority() < kAIPlanDropPriority)
            continue;
        if (best == 0 || trial.GetPriority() >= bestPriority) {
            best = id;
            bestPriority = trial.GetPriority();
        }
    }
    if (best == 0)
        return;
    auto* plan = new Plan(owner);
    plan->SetGoal(this, static_cast<uint32_t>(best));
    plan->Evaluate();
    plan->SetPriority(priority);
    AddChild(plan);
    plan->Start();
}

void CAIExplorer::PlanExploreSeazone() {
    if (country && Self() == kRussia && !country->m_technology.NavalLevelAtLeast21())
        return;
    PlanExploration<CAIPlanExploreSeazone>(m_sea, kSeaPlanPriority);
}

void CAIExplorer::PlanExploreProvince() {
    PlanExploration<CAIPlanExploreProvince>(m_land, kLandPlanPriority);
}

void CAIExplorer::PlanGenocide() {
    if (!country || !active || !owner)
        return;
    for (int32_t id : m_natives) {
        const CProvince* province = GetProvince(id);
        if (province && province->natives > 0)
            m_weighted.Add(id, std::max(1, 100 - province->natives));
    }
    int32_t chosen = 0;
    if (m_weighted.GetTotal() > 0) {
        int32_t rest = GameRand() % m_weighted.GetTotal();
        m_weighted.ForEach([&rest, &chosen](int32_t province, int32_t weight) {
            if (chosen != 0)
                return;
            rest -= weight;
            if (rest < 0)
                chosen = province;
        });
    }
    m_weighted.RemoveAll();
    if (chosen == 0)
        return;
    auto* plan = new CAIPlanGenocide(owner);
    plan->SetGoal(this, static_cast<uint32_t>(chosen));
    plan->Evaluate();
    // Natives out of reach are not worth an army.
    if (plan->GetPriority() < kAIPlanDropPriority) {
        delete plan;
        return;
    }
    plan->SetPriority(kNativePlanPriority);
    AddChild(plan);
    plan->Start();
}

void CAIExplorer::OnPlanEnded(CAIAgent* child) {
    CAIPlan* plan = child ? child->AsPlan() : nullptr;
    const bool settlement = plan && (plan->GetPlanType() == AIPLAN_SEND_COLONIST ||
                                     plan->GetPlanType() == AIPLAN_SEND_TRADER);
    ReleaseChild(child);
    if (settlement && active)
        PlanSettlement();
}

void CAIExplorer::OnSettlementChanged(int32_t owner, int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || !province || id < kFirstProvinceId)
        return;
    const int32_t self = Self();
    const CCity* city = province->GetCity();
    const bool ownerOther = province->GetOwnerNumber() >= 0 && province->GetOwnerNumber() != self;
    const bool grownUp = province->GetOwnerNumber() == self && city && !city->IsColony();
    if (ownerOther || grownUp) {
        for (IdList* list : {&m_colonies, &m_traders, &m_colonists, &m_tradingPosts, &m_natives})
            Remove(*list, id);
        return;
    }
    (void)owner;
    if (province->GetOwnerNumber() == self) {
        if (Listed(m_colonies, id) || Listed(m_tradingPosts, id))
            return;
        Remove(m_traders, id);
        Remove(m_colonists, id);
        const int32_t level = province->GetTradingPostLevel();
        if (level > 0 && level < kMaxTradingPostLevel)
            AddOnce(m_traders, id);
        else if (city && province->CanColonise())
            AddOnce(m_colonists, id);
        else if (level <= 0 && !city)
            AddOnce(GameRand() % 100 < static_cast<int32_t>(country->m_aiPrefs.tradingpost)
                        ? m_traders
                        : m_colonists,
                    id);
        return;
    }
    if (province->discoveredBy[static_cast<size_t>(self)])
        FileSettlementCandidate(id);
}

void CAIExplorer::OnProvinceDiscovered(int32_t who, int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || who != Self() || !province || id < kFirstProvinceId)
        return;
    if (province->terrain == kIgnoredTerrain)
        return;
    if (IsLand(*province)) {
        if (province->GetOwnerNumber() < 0)
            FileSettlementCandidate(id);
        Remove(m_land, id);
    } else if (country->m_technology.naval.level >= 13) {
        Remove(m_sea, id);
    }
    AddLandNeighbours(id);
}

void CAIExplorer::FileSettlementCandidate(int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || !province)
        return;
    if (Listed(m_colonies, id) || Listed(m_traders, id) || Listed(m_colonists, id) ||
        Listed(m_tradingPosts, id))
        return;
    if (province->natives > 4 && country->MayPlaceTradingPost(id))
        AddOnce(m_natives, id);
    if (country->m_aiPrefs.RateProvince(0.0f, *province) > 0.0f)
        m_colonies.push_back(id);
    else
        m_tradingPosts.push_back(id);
}

float CAIExplorer::RateProvince(int32_t id) const {
    const CProvince* province = GetProvince(id);
    if (!country || !province)
        return 0.0f;
    const CAIPrefs& prefs = country->m_aiPrefs;
    const float price = province->goods ? province->goods->price : 0.0f;
    float v = 2.0f * price + 2.0f * static_cast<float>(province->tax) + 250.0f;
    const int32_t self = Self();
    bool ownNeighbour = false;
    bool otherNeighbour = false;
    for (const ProvinceNeighbour& next : province->neighbours) {
        const CProvince* neighbour = GetProvince(next.id);
        if (!neighbour || next.id < kFirstProvinceId)
            continue;
        ownNeighbour = ownNeighbour || neighbour->GetOwnerNumber() == self;
        otherNeighbour = otherNeighbour ||
                         (neighbour->GetOwnerNumber() >= 0 && neighbour->GetOwnerNumber() != self);
    }
    if (ownNeighbour)
        v += static_cast<float>(prefs.neighbour);
    else if (prefs.neighbour > 90)
        v -= static_cast<float>(prefs.neighbour);
    if (otherNeighbour)
        v += static_cast<float>(prefs.enemies);
    v -= 3.0f * province->ferocity;
    const bool pending = province->GetConstructions().HasColonyOrder();
    if (province->natives <= 0 && !pending)
        return v;
    if (province->natives >= 5)
        return 0.0f;
    return v / static_cast<float>(std::max(province->natives, 0) + 1);
}

bool CAIExplorer::PrefersColonist(int32_t id) const {
    const CProvince* province = GetProvince(id);
    if (!country || !province)
        return false;
    if (!country->m_technology.AllowsTradingPosts() || province->GetCity())
        return true;
    if (country->IsAtWar())
        return false;
    if (GameRand() % 100 < static_cast<int32_t>(country->m_aiPrefs.tradingpost))
        return false;
    if (country->GetColonisationChance(id) < country->GetTraderChance(id))
        return false;
    return 5.0f * country->GetTraderCost(id) >= country->GetColonistCost(id);
}

int32_t CAIExplorer::BestSite(const IdList& list, bool trader) const {
    if (!country)
        return 0;
    int32_t best = 0;
    float bestValue = 0.0f;
    for (int32_t id : list) {
        const bool allowed =
            trader ? country->MayPlaceTradingPost(id) : country->MayPlaceColonist(id);
        if (!allowed)
            continue;
        const float cost = trader ? country->GetTraderCost(id) : country->GetColonistCost(id);
        const float value = RateProvince(id) - cost;
        if (best == 0 || value > bestValue) {
            best = id;
            bestValue = value;
        }
    }
    return best;
}

int32_t CAIExplorer::BestColonySite() const {
    return BestSite(m_colonies, false);
}

int32_t CAIExplorer::BestTradingPostSite() const {
    return BestSite(m_tradingPosts, true);
}

int32_t CAIExplorer::BestColonistSite() const {
    return BestSite(m_colonists, false);
}

int32_t CAIExplorer::BestTraderSite() const {
    return BestSite(m_traders, true);
}

void CAIExplorer::StartSettlementPlan(int32_t province, bool trader) {
    if (province == 0 || !owner)
        return;
    CAISendColonistPlan* plan =
        trader ? new CAISendTraderPlan(owner) : new CAISendColonistPlan(owner);
    plan->SetUp(this, province);
    AddChild(plan);
    plan->Start();
}

void CAIExplorer::PlanSettlement() {
    if (!country || !active)
        return;
    const auto traders = static_cast<int32_t>(m_traders.size());
    const auto colonists = static_cast<int32_t>(m_colonists.size());
    if (traders + colonists == 0 && m_colonies.empty() && m_tradingPosts.empty())
        return;
    const int32_t h = std::max(1, static_cast<int32_t>(country->m_aiPrefs.expansion) / 2);
    const bool growOwn = traders + colonists > GameRand() % h + h;
    if ((growOwn || (m_colonies.empty() && m_tradingPosts.empty())) && traders + colonists > 0) {
        if (GameRand() % (traders + colonists) < traders)
            StartSettlementPlan(BestTraderSite(), true);
        else
            StartSettlementPlan(BestColonistSite(), false);
        return;
    }
    if (!m_colonies.empty()) {
        const int32_t site = BestColonySite();
        StartSettlementPlan(site, site != 0 && !PrefersColonist(site));
    } else {
        const int32_t site = BestTradingPostSite();
        StartSettlementPlan(site, site != 0 && !PrefersColonist(site));
    }
}
