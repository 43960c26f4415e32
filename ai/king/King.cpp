#include "ai/king/King.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/AINotify.h"
#include "ai/AIPlan.h"
#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/king/ProvincePlan.h"
#include "ai/king/StandingAgents.h"
#include "ai/military/Defence.h"
#include "ai/military/MilitaryMinister.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "country/CountryReligion.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr uint32_t kNoticeWar = 19;
constexpr uint32_t kNoticePeace = 18;
constexpr uint32_t kNoticeOwnerChange = 22;

std::vector<CProvince*> OwnedProvinces(const CCountry& country) {
    std::vector<CProvince*> provinces;
    const_cast<CIntList&>(country.m_ownedProvinces).ForEach([&provinces](int32_t id) {
        if (id >= kFirstProvinceId && id <= kLastProvinceId)
            if (CProvince* province = GetProvince(id))
                provinces.push_back(province);
    });
    return provinces;
}

std::vector<CUnit*> UnitsOf(const CCountry& country) {
    std::vector<CUnit*> units;
    const_cast<CLinkedList<CUnit>&>(country.m_units).ForEach([&units](CUnit* unit) {
        if (unit)
            units.push_back(unit);
    });
    return units;
}

bool HasPort(const CProvince& province) {
    return province.portSeaZone != 0;
}

} // namespace

int32_t KingTickDelay(const CCountry& country) {
    int32_t delay = GameRand() % 20 + 20;
    if (country.m_major)
        delay /= 2;
    if (country.IsAtWar())
        delay /= 4;
    return std::max(delay, 2);
}

namespace {

// The Kings alive, in the order made.
std::vector<const CAIKing*>& LiveKings() {
    static std::vector<const CAIKing*> kings;
    return kings;
}

} // namespace

bool CAIKing::IsLive(const CAIKing* king) {
    const std::vector<const CAIKing*>& kings = LiveKings();
    return king && std::find(kings.begin(), kings.end(), king) != kings.end();
}

CAIKing::CAIKing(CCountry* owner) : CAIAgent(owner) {
    LiveKings().push_back(this);
}

CAIKing::~CAIKing() {
    // Nothing filed here may point at the agents about to go.
    for (uint32_t c = 0; c < kAIResourceCount; ++c) {
        m_queues[c].ForEach([c](CAIResourceRequest* request) {
            if (request->requester && request->requester->RequestSlot(c) == request)
                request->requester->RequestSlot(c) = nullptr;
            request->requester = nullptr;
        });
        m_holders[c].RemoveAll();
    }
    // Released agents whose kill has not run, then the children; each one
    // deleted takes itself (and its own children) off the dying list.
    while (!m_dying.IsEmpty()) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        m_dying.GetHeadPosition(position);
        CAIAgent* agent = position->item;
        m_dying.RemoveNode(position);
        delete agent;
    }
    while (!children.IsEmpty()) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        children.GetHeadPosition(position);
        CAIAgent* child = position ? position->item : nullptr;
        children.RemoveNode(position);
        delete child;
    }
    std::erase(LiveKings(), this);
    for (CLinkedList<CAIResourceRequest>& queue : m_queues) {
        queue.ForEach([](CAIResourceRequest* request) { delete request; });
        queue.RemoveAll();
    }
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
    m_generals.RemoveAll();
    m_admirals.RemoveAll();
}

int CAIKing::HandleEvent(COVEvent& event) {
    if (event.GetType() == EVT_TICK_RESOURCE) {
        const uint32_t category = event.Payload().Holds(kTickResourceCategory)
                                      ? event.Payload().Get(kTickResourceCategory)
                                      : kAIResourceCount;
        if (active && category < kAIResourceCount)
            ProcessCategory(category);
        return EVENT_CONSUMED;
    }
    if (event.GetType() == EVT_ADD_OWNERAREA) {
        if (active)
            RebalanceGenerals();
        return EVENT_CONSUMED;
    }
    return CAIAgent::HandleEvent(event);
}

// ---------------------------------------------------------------------------
// Start, stop, the tick

void CAIKing::Start() {
    if (!country)
        return;
    for (CUnit* unit : UnitsOf(*country)) {
        if (unit->IsFleet())
            OfferFleet(unit);
        else
            OfferArmy(unit);
    }
    for (CProvince* province : OwnedProvinces(*country)) {
        if (!m_provinces.Contains(province))
            m_provinces.AddTail(province);
        province->aiHolder = this;
    }
    AddMoney(country->m_treasury);
    AddMerchants(country->m_merchants);
    AddManpower(country->m_manpower);
    AddColonists(country->m_colonists);
    AddDiplomats(country->m_diplomats);
    CAIAgent::Start();

    auto addStanding = [this](CAIAgent* agent) {
        agent->Init(this);
        AddChild(agent);
        agent->Start();
        return agent;
    };
    addStanding(new CAIMerchantAgent(this));
    m_diplomacyMinister = new CAIDiplomacyMinister(this);
    addStanding(m_diplomacyMinister);
    addStanding(new CAIExplorer(this));
    addStanding(new CAIBuildingAgent(this));
    for (uint32_t number = 0; number < m_relationAgents.size(); ++number) {
        if (!IsOrdinaryCountry(number))
            continue;
        auto* agent = new CAIRelationAgent(this, number);
        agent->Init(m_diplomacyMinister);
        AddChild(agent);
        m_relationAgents[number] = agent;
    }
    for (CAIRelationAgent* agent : m_relationAgents)
        if (agent)
            agent->Start();
    ChooseManufactory();

    std::vector<CLandTerritory*> territories;
    country->m_territories.ForEach(
        [&territories](CLandTerritory* territory) { territories.push_back(territory); });
    for (CLandTerritory* territory : territories) {
        if (active) {
            CreateGeneral(territory);
            PostAddOwnerArea();
        }
        territory->GetLinks().ForEach([this](CTerritoryLink* link) {
            if (link && link->territory && link->territory->GetKind() == TERRITORY_SEA)
                CreateAdmiral(link->territory);
        });
    }
    Subscribe(kNoticeWar, false);
    Subscribe(kNoticePeace, false);
    Subscribe(kNoticeOwnerChange, false);
    ScheduleTick();
}

void CAIKing::Stop() {
    Unsubscribe(kNoticeWar);
    Unsubscribe(kNoticePeace);
    Unsubscribe(kNoticeOwnerChange);
    CAIAgent::Stop();
    m_generals.RemoveAll();
    m_admirals.RemoveAll();
    m_relationAgents.fill(nullptr);
    m_diplomacyMinister = nullptr;
    if (country)
        for (CUnit* unit : UnitsOf(*country))
            unit->SetAIAgent(nullptr);
    m_armies.RemoveAll();
    m_fleets.RemoveAll();
    m_pools = AIPools{};
}

void CAIKing::NoteDying(CAIAgent* agent) {
    if (agent && agent != this && !m_dying.Contains(agent))
        m_dying.AddTail(agent);
}

void CAIKing::ScheduleTick() {
    if (country)
        PostTimer(KingTickDelay(*country), 0);
}

void CAIKing::PostAddOwnerArea() {
    ExecuteEvent(std::make_unique<COVSimpleEvent>(EVT_ADD_OWNERAREA, GetId()));
}

void CAIKing::OnTimer(uint32_t) {
    if (active && country) {
        ++m_ticks;
        AllocateBudget();
        ChooseManufactory();
        ComputeForceGoals();
        PlanFleetBuilding();
        PlanArmyBuilding();
        SetReligiousTolerance();
        std::vector<int32_t> supply;
        const_cast<CIntList&>(country->m_controlledProvinces).ForEach([&supply](int32_t id) {
            supply.push_back(id);
        });
        for (int32_t id : supply) {
            const CProvince* province = GetProvince(id);
            if (province &&
                province->GetOwnerNumber() != static_cast<int32_t>(country->GetNumber()) &&
                country->CanDestroyTradingPost(id))
                SendDestroyTradingPost(static_cast<uint32_t>(id));
        }
        DisbandOrAbandon();
        for (uint32_t c = 0; c < kAIResourceCount; ++c)
            if (!m_queues[c].IsEmpty())
                PostResourceTick(c);
    }
    ScheduleTick();
}

// ---------------------------------------------------------------------------
// Force goals and building

void CAIKing::ComputeForceGoals() {
    const std::vector<CProvince*> owned = OwnedProvinces(*country);
    const auto provinces = static_cast<int32_t>(owned.size());
    m_goals[0] = provinces * 1000;
    m_goals[1] = country->MayRaiseCavalry() ? 4000 : 0;
    (void)country->MayRaiseArtillery();
    m_goals[2] = 0;
    const auto admirals = static_cast<int32_t>(m_admirals.GetCount());
    m_goals[5] = 2 * admirals * (country->IsColonialNation() ? 2 : 1);

    // The countries that border this one, by the province recount.
    const int32_t shipyards = country->m_figures.shipyards;
    std::array<bool, kCountrySlots> rivals{};
    for (size_t n = 0; n < rivals.size(); ++n)
        rivals[n] = country->m_figures.neighbour[n] != 0 && n != country->GetNumber();
    // The four sea powers always watch one another.
    static constexpr uint32_t kSeaPowers[] = {1, 2, 4, 8};
    if (std::find(std::begin(kSeaPowers), std::end(kSeaPowers), country->GetNumber()) !=
        std::end(kSeaPowers))
        for (uint32_t power : kSeaPowers)
            if (power != country->GetNumber())
                rivals[power] = true;

    int32_t naval = 2 * admirals + 2 * shipyards;
    float strongest = 0.0f;
    for (size_t n = 0; n < rivals.size(); ++n)
        if (rivals[n] && g_countries[n])
            strongest = std::max(strongest, static_cast<float>(g_countries[n]->GetWarshipCount() +
                                                               g_countries[n]->GetGalleyCount()));
    if (static_cast<float>(naval) < strongest)
        naval = static_cast<int32_t>(strongest);
    m_goals[3] = naval;
    m_goals[4] = 0;
    static constexpr uint32_t kGalleyPowers[] = {10, 11, 22, 26};
    if (std::find(std::begin(kGalleyPowers), std::end(kGalleyPowers), country->GetNumber()) !=
        std::end(kGalleyPowers)) {
        m_goals[4] = 2 * naval;
        m_goals[3] = naval / 2;
    }
    const float upkeep =
        country->GetWarshipUpkeep() + country->GetGalleyUpkeep() + country->GetTransportUpkeep();
    if (country->m_monthlyTaxIncome * 0.33333334f < upkeep)
        m_goals[3] = m_goals[4] = m_goals[5] = 0;
}

void CAIKing::PlanArmyBuilding() {
    if (!country->IsAtWar() || m_armyPlan)
        return;
    const int32_t need = std::max(0, m_goals[0] - country->GetInfantryCount()) +
                         std::max(0, m_goals[1] - country->GetCavalryCount()) +
                         std::max(0, m_goals[2] - country->GetArtilleryCount());
    if (need <= 0)
        return;
    auto* plan = new CAIBuildArmyPlan(this, 1000, 1000, 10);
    plan->Init(this);
    plan->SetWanted(static_cast<float>(need));
    plan->SetProvince(country->GetCapital());
    plan->SetPriority(65.0f);
    AddChild(plan);
    plan->Start();
    m_armyPlan = plan;
}

void CAIKing::PlanFleetBuilding() {
    const int32_t w = std::clamp(m_goals[3] - country->GetWarshipCount(), 0, 10);
    const int32_t g = std::clamp(m_goals[4] - country->GetGalleyCount(), 0, 10);
    const int32_t t = std::clamp(m_goals[5] - country->GetTransportCount(), 0, 10);
    if (m_fleetPlan) {
        m_fleetPlan->Update(w, g, t);
        return;
    }
    if (w < 1 && g < 1 && t < 1)
        return;
    auto* plan = new CAIBuildFleetPlan(this, 1000, 1000, 10);
    plan->Init(this);
    plan->SetProvince(country->GetCapital());
    plan->SetPriority(10.0f);
    m_fleetPlan = plan;
    AddChild(plan);
    plan->Start();
    plan->Update(w, g, t);
}

void CAIKing::SetReligiousTolerance() {
    std::array<float, 8> t{};
    std::array<float, 8> income{};
    float total = 0.0f;
    for (CProvince* province : OwnedProvinces(*country)) {
        const int32_t religion = province->GetReligion();
        if (religion < 0 || religion > 7)
            continue;
        const float tax = province->GetTaxIncome();
        income[static_cast<size_t>(religion)] += tax;
        total += tax;
    }
    float s = 0.0f;
    float r = 0.0f;
    for (uint32_t rel = 0; rel < 8; ++rel) {
        if (!IsReligionAvailable(rel) || total == 0.0f)
            continue;
        if (income[rel] < 1.0f) {
            t[rel] = -10.0f;
            r += 10.0f;
        } else {
            t[rel] = std::trunc(income[rel] * 10.0f / total);
            s += t[rel];
        }
    }
    s = std::max(s, 1.0f);
    if (r <= s || total == 0.0f) {
        t[country->m_religion.stateReligion % 8] = 10.0f;
    } else {
        float q = r - s;
        for (uint32_t rel = 0; rel < 8; ++rel) {
            if (!IsReligionAvailable(rel) || income[rel] <= 0.999f || t[rel] >= 10.0f ||
                std::trunc(t[rel] / s) == 0.0f)
                continue;
            float k = std::trunc(q * t[rel] / s);
            if (t[rel] + k > 10.0f)
                k = std::trunc(10.0f - t[rel]);
            t[rel] += k;
            r -= k;
        }
        q = r - s;
        for (uint32_t rel = 0; rel < 8 && q >= 1.0f; ++rel) {
            if (!IsReligionAvailable(rel) || income[rel] <= 0.999f || t[rel] >= 10.0f)
                continue;
            q = std::trunc(q - (10.0f - t[rel]));
            t[rel] = 10.0f;
        }
    }
    for (uint32_t rel = 0; rel < 8; ++rel) {
        if (std::trunc(t[rel]) != std::trunc(country->m_religion.GetTolerance(rel))) {
            country->SendChangeTolerance(t);
            return;
        }
    }
}

void CAIKing::DisbandOrAbandon() {
    bool coastal = false;
    for (CProvince* province : OwnedProvinces(*country))
        coastal = coastal || HasPort(*province);
    const float yearlyTax = country->m_monthlyTaxIncome * 12.0f;
    const bool atWar = country->IsAtWar();
    for (CUnit* unit : UnitsOf(*country)) {
        const bool moving = !unit->IsPathEmpty();
        bool disband = unit->trespassing && !moving;
        disband = disband || (!coastal && !moving && unit->IsFleet());
        if (!disband && unit->IsFleet() && !atWar) {
            // The fleet's share of each class's upkeep; a class without ships
            // costs nothing.
            auto share = [](float ships, float classUpkeep, int32_t classCount) {
                return classCount > 0
                           ? std::ceil(ships) * classUpkeep / static_cast<float>(classCount)
                           : 0.0f;
            };
            const float upkeep =
                share(unit->GetStrength(0), country->GetWarshipUpkeep(),
                      country->GetWarshipCount()) +
                share(unit->GetStrength(1), country->GetGalleyUpkeep(), country->GetGalleyCount()) +
                share(unit->GetStrength(2), country->GetTransportUpkeep(),
                      country->GetTransportCount());
            disband = upkeep > yearlyTax;
        }
        if (disband) {
            SendDisbandUnit(unit->GetId());
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Units, provinces and notifications

bool CAIKing::OfferArmy(CUnit* army) {
    if (!army)
        return false;
    AcceptUnit(army);
    if (!m_armies.Contains(army))
        m_armies.AddTail(army);
    army->SetAIAgent(this);
    if (active)
        PostResourceTick(AIRES_ARMIES);
    return true;
}

bool CAIKing::OfferFleet(CUnit* fleet) {
    if (!fleet)
        return false;
    if (FleetCargoLoad(*fleet) > 0)
        DebugPrint("The King of %s received a fleet (#%u) with troop onboard!\n",
                   country ? country->GetName() : "", fleet->GetId().number);
    AcceptUnit(fleet);
    if (!m_fleets.Contains(fleet))
        m_fleets.AddTail(fleet);
    fleet->SetAIAgent(this);
    if (active)
        PostResourceTick(AIRES_FLEETS);
    return true;
}

bool CAIKing::IsResponsibleFor(const CProvince& province) const {
    return province.aiHolder == this;
}

void CAIKing::OnArmyFree(CUnit& army) {
    if (army.GetAIAgent() == this && IsUnitFree(army)) {
        AcceptUnit(&army);
        PostResourceTick(AIRES_ARMIES);
    }
}

void CAIKing::OnFleetFree(CUnit& fleet) {
    if (fleet.GetAIAgent() == this && IsUnitFree(fleet)) {
        AcceptUnit(&fleet);
        PostResourceTick(AIRES_FLEETS);
    }
}

void CAIKing::QueuePlacesOf(CProvince& province) {
    const auto self = static_cast<int32_t>(country->GetNumber());
    if (province.IsUnderSiege() || province.GetControllerNumber() != self ||
        country->GetProvinceManpower(province.GetNumber()) <= 0)
        return;
    if (!m_queues[AIRES_RECRUIT_PROVINCE].IsEmpty())
        PostResourceTick(AIRES_RECRUIT_PROVINCE);
    if (HasPort(province))
        PostResourceTick(AIRES_SHIPYARD_PORT);
}

void CAIKing::OnProvinceOwnerChanged(int32_t, int32_t id) {
    if (!active || !country)
        return;
    CProvince* province =
        id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
    if (!province)
        return;
    if (province->GetOwnerNumber() == static_cast<int32_t>(country->GetNumber())) {
        if (!m_provinces.Contains(province))
            m_provinces.AddTail(province);
        province->aiHolder = this;
        QueuePlacesOf(*province);
    } else {
        m_provinces.Remove(province);
        if (province->aiHolder == this)
            province->aiHolder = nullptr;
    }
}

void CAIKing::OnBlockade(int32_t id, int32_t flag) {
    CProvince* province =
        id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
    if (flag == 0 && province && !m_queues[AIRES_SHIPYARD_PORT].IsEmpty() && active &&
        province->aiHolder == this)
        QueuePlacesOf(*province);
}

void CAIKing::OnPeace(int32_t a, int32_t b) {
    const auto self = static_cast<int32_t>(country->GetNumber());
    if ((a == self || b == self) && !country->IsAtWar())
        PostAddOwnerArea();
}

void CAIKing::OnWar(int32_t a, int32_t b) {
    const auto self = static_cast<int32_t>(country->GetNumber());
    if (a != self && b != self)
        return;
    // Overseas Generals come with the colonial base the countries do not
    // keep yet; nothing to plan without it.
}

// ---------------------------------------------------------------------------
// Generals and Admirals

void CAIKing::CreateGeneral(CTerritory* territory) {
    if (!territory)
        return;
    bool exists = false;
    m_generals.ForEach([&](CAIMilitaryMinister* general) {
        exists = exists || general->GetTerritory() == territory;
    });
    if (exists)
        return;
    auto* general = new CAIGeneral(this);
    general->Init(this);
    AddChild(general);
    if (territory->HoldsCapital())
        m_generals.AddHead(general);
    else
        m_generals.AddTail(general);
    general->StartWithPlans(territory);
}

void CAIKing::CreateAdmiral(CTerritory* sea) {
    if (!sea || FindAdmiral(sea))
        return;
    auto* admiral = new CAIAdmiral(this);
    admiral->Init(this);
    AddChild(admiral);
    bool linkedToCapital = false;
    if (const CProvince* capital = country ? country->GetCapital() : nullptr)
        if (capital->territory && capital->territory->FindLink(sea))
            linkedToCapital = true;
    if (linkedToCapital)
        m_admirals.AddHead(admiral);
    else
        m_admirals.AddTail(admiral);
    admiral->StartWithPlans(sea);
}

CAIMilitaryMinister* CAIKing::FindAdmiral(const CTerritory* sea) const {
    CAIMilitaryMinister* found = nullptr;
    const_cast<CLinkedList<CAIMilitaryMinister>&>(m_admirals)
        .ForEach([&](CAIMilitaryMinister* admiral) {
            if (!found && admiral->GetTerritory() == sea)
                found = admiral;
        });
    return found;
}

void CAIKing::KillGeneral(const CTerritory* territory) {
    for (;;) {
        CAIMilitaryMinister* found = nullptr;
        m_generals.ForEach([&](CAIMilitaryMinister* general) {
            if (!found && general->GetTerritory() == territory)
                found = general;
        });
        if (!found)
            return;
        m_generals.Remove(found);
        RemoveChild(found);
        found->SetTerritory(nullptr);
        found->Kill();
    }
}

void CAIKing::KillAdmiral(const CTerritory* sea) {
    if (CAIMilitaryMinister* admiral = FindAdmiral(sea)) {
        m_admirals.Remove(admiral);
        RemoveChild(admiral);
        admiral->SetTerritory(nullptr);
        admiral->Kill();
    }
}

void CAIKing::AssignArmyToGeneral(CUnit* unit) {
    if (!unit || unit->GetLocation() == 0 || !IsUnitFree(*unit))
        return;
    const CProvince* at = GetProvince(unit->GetLocation());
    if (!at)
        return;
    CAIMilitaryMinister* best = nullptr;
    float bestScore = 0.0f;
    bool taken = false;
    m_generals.ForEach([&](CAIMilitaryMinister* general) {
        if (taken || general->Refuses(unit))
            return;
        CTerritory* territory = general->GetTerritory();
        if (territory && at->territory == territory) {
            best = general;
            taken = true;
            return;
        }
        float score;
        if (!at->territory || !territory || !territory->FindLink(at->territory)) {
            const CProvince* first = nullptr;
            if (territory)
                territory->GetProvinces().ForEach([&first](CProvince* p) {
                    if (!first)
                        first = p;
                });
            score = first ? SquaredDistance(*at, *first) : (best ? bestScore + 1.0f : 1.0f);
        } else {
            score = territory->HoldsCapital() ? 0.0f : 1.0f;
        }
        if (!best || score < bestScore) {
            best = general;
            bestScore = score;
        }
    });
    if (best)
        best->OfferArmy(unit);
}

void CAIKing::AssignFleetToAdmiral(CUnit* unit) {
    if (!unit || unit->GetLocation() == 0 || !IsUnitFree(*unit))
        return;
    const CProvince* at = GetProvince(unit->GetLocation());
    if (at && !at->IsSea())
        at = at->portSeaZone ? GetProvince(at->portSeaZone) : nullptr;
    if (!at)
        return;
    CAIMilitaryMinister* best = nullptr;
    float bestScore = 0.0f;
    bool taken = false;
    bool first = true;
    m_admirals.ForEach([&](CAIMilitaryMinister* admiral) {
        const bool isFirst = first;
        first = false;
        if (taken || admiral->Refuses(unit))
            return;
        CTerritory* sea = admiral->GetTerritory();
        if (sea && at->territory == sea) {
            best = admiral;
            taken = true;
            return;
        }
        float score;
        if (sea && at->territory && sea->FindLink(at->territory)) {
            score = isFirst ? 0.0f : 1.0f;
        } else {
            const CProvince* firstZone = nullptr;
            if (sea)
                sea->GetProvinces().ForEach([&firstZone](CProvince* p) {
                    if (!firstZone)
                        firstZone = p;
                });
            score = firstZone ? SquaredDistance(*at, *firstZone) : bestScore + 1.0f;
        }
        if (!best || score < bestScore) {
            best = admiral;
            bestScore = score;
        }
    });
    if (best)
        best->OfferFleet(unit);
}

void CAIKing::RebalanceGenerals() {
    if (!country || country->IsAtWar())
        return;
    std::vector<CAIDefendPlan*> plans;
    m_generals.ForEach([&plans](CAIMilitaryMinister* general) {
        CAIDefendPlan* found = nullptr;
        const_cast<CLinkedList<CAIAgent>&>(general->GetChildren())
            .ForEach([&found](CAIAgent* child) {
                if (!found)
                    found = dynamic_cast<CAIDefendPlan*>(child);
            });
        if (found)
            plans.push_back(found);
    });
    float total = 0.0f;
    for (const CAIDefendPlan* plan : plans)
        total += plan->GetPriority();
    if (total < 0.1f)
        total = 1.0f;
    for (CAIDefendPlan* plan : plans)
        plan->SetBudgetFactor(plan->GetPriority() * 0.25f / total);
}

void CAIKing::ReactToSiege(CProvince& province) {
    if (active && province.aiHolder == this)
        QueuePlacesOf(province);
}

// ---------------------------------------------------------------------------
// Children ending

void CAIKing::ChildEnded(CAIAgent* child) {
    if (child) {
        if (auto* minister = dynamic_cast<CAIMilitaryMinister*>(child)) {
            m_generals.Remove(minister);
            m_admirals.Remove(minister);
        } else if (CAIPlan* plan = child->AsPlan()) {
            const int32_t type = plan->GetPlanType();
            if (type == AIPLAN_BUILDFLEET && plan == m_fleetPlan) {
                m_fleetPlan = nullptr;
            } else if (m_armyPlan &&
                       (plan == m_armyPlan || plan->IsHigherPriority(*m_armyPlan) == 0.0f)) {
                m_armyPlan = nullptr;
            }
            if (type == AIPLAN_BOOST_STABILITY)
                m_stabilityBoostRunning = false;
            if (type >= AIPLAN_BOOST_TRADE && type <= AIPLAN_BOOST_NAVALTECH)
                m_otherBoostRunning = false;
        }
    }
    ReleaseChild(child);
}
