#include "ai/military/Defence.h"

#include <algorithm>
#include <vector>

#include "ai/king/King.h"
#include "ai/military/MilitaryQueries.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "country/CountryReligion.h"
#include "engine/CriticalError.h"
#include "world/Province.h"
#include "world/ProvinceDistance.h"
#include "world/Territory.h"

namespace {

const char* Tag(const CCountry* country) {
    return country ? country->GetTag().c_str() : "";
}

std::vector<CProvince*> ProvincesOf(CTerritory* territory) {
    std::vector<CProvince*> provinces;
    if (territory)
        territory->GetProvinces().ForEach([&provinces](CProvince* p) { provinces.push_back(p); });
    return provinces;
}

bool AllHeld(const CTerritory& territory) {
    return HeldProvinceCount(territory) == ProvinceCount(territory);
}

} // namespace

// ---------------------------------------------------------------------------
// Defence

CAIDefendPlan::~CAIDefendPlan() {
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        if (g_provinces[static_cast<size_t>(id)].aiHolder == this)
            g_provinces[static_cast<size_t>(id)].aiHolder = nullptr;
}

void CAIDefendPlan::ComputeDefencePower() {
    if (!country) {
        defencePower = 0.0f;
        return;
    }
    const float morale = country->GetLandMorale();
    defencePower = morale > 0.0f ? std::max(threat, 5000.0f) / morale : std::max(threat, 5000.0f);
    const float budget = country->GetYearlyTaxIncome() * budgetFactor * 10000.0f;
    if (budget < defencePower)
        defencePower = budget;
}

void CAIDefendPlan::Evaluate(CProvince* province, CTerritory* defended) {
    territory = defended;
    objective = province;
    ScanThreat();
    ComputeDefencePower();
    priority = 1.0f;
    priority = territory && AllHeld(*territory) ? 5.0f : 20.0f;
}

void CAIDefendPlan::ScanThreat() {
    threat = 0.0f;
    if (!territory || !country)
        return;
    std::vector<CTerritory*> neighbours;
    territory->GetLinks().ForEach([&neighbours](CTerritoryLink* link) {
        if (link && link->territory)
            neighbours.push_back(link->territory);
    });
    const uint32_t self = country->GetNumber();
    for (CTerritory* next : neighbours) {
        CCountry* other = next->GetOwner();
        if (!other || other == country)
            continue;
        const uint32_t o = other->GetNumber();
        if (other->m_diplomacy.IsOverlordOf(self) || country->m_diplomacy.IsOverlordOf(o))
            continue;
        float p = 0.0f;
        other->m_units.ForEach([&p](CUnit* unit) {
            if (unit && !unit->IsFleet())
                p += UnitPower(*unit);
        });
        float w = 0.0f;
        if (const CRelation* toward = country->m_diplomacy.GetRelation(o)) {
            if (toward->military) {
                w = p;
                p *= 0.1f;
            } else if (toward->dynastic) {
                p *= 0.5f;
            }
        }
        if (!IsDifferentReligion(country->m_religion.stateReligion,
                                 other->m_religion.stateReligion))
            p *= 0.75f;
        if (CRelation* back = other->m_diplomacy.GetRelation(self)) {
            if (back->GetValue() < 0.0f)
                p *= 1.5f;
            else if (back->hasCasusBelli || !back->casusBelli.empty())
                p *= 1.25f;
        }
        threat += p - 0.5f * w;
    }
    threat *= 0.1f;
    if (AllHeld(*territory))
        threat *= 0.1f;
}

void CAIDefendPlan::Start() {
    CAIPlan::Start();
    PostTimer(AIRandomDelay(1, 2), 1);
}

void CAIDefendPlan::OnTimer(uint32_t) {
    if (country && !country->IsAtWar()) {
        ScanThreat();
        ComputeDefencePower();
        PlanGarrisons();
    }
    PostTimer(AIRandomDelay(120, 120), 1);
}

void CAIDefendPlan::CancelGarrisons() {
    std::vector<CAIAgent*> running;
    children.ForEach([&running](CAIAgent* child) {
        if (child && child->IsActive())
            running.push_back(child);
    });
    for (CAIAgent* child : running)
        if (children.Contains(child))
            child->Cancel();
}

void CAIDefendPlan::PlanGarrisons() {
    CancelGarrisons();
    if (!active || !territory)
        return;
    CAIGarrisonPlan scratch(owner);
    struct Choice {
        CProvince* province;
        float priority;
    };
    std::vector<Choice> chosen;
    float total = 0.0f;
    CProvince* best = nullptr;
    float bestPriority = 0.0f;
    for (CProvince* p : ProvincesOf(territory)) {
        if (p->GetNumber() == 0)
            continue;
        scratch.Evaluate(p, territory);
        const float value = scratch.GetPriority();
        if (value > 5.0f) {
            chosen.push_back({p, value});
            total += value;
        }
        if (!best || value > bestPriority || p->IsCapital()) {
            if (!best || !best->IsCapital()) {
                best = p;
                bestPriority = value;
            }
        }
    }
    if (chosen.empty() && best) {
        chosen.push_back({best, bestPriority});
        total = bestPriority;
    }
    if (chosen.empty() && objective) {
        scratch.Evaluate(objective, territory);
        chosen.push_back({objective, scratch.GetPriority()});
        total = scratch.GetPriority() + 1.0f;
    }
    for (const Choice& choice : chosen) {
        auto* garrison = new CAIGarrisonPlan(owner);
        garrison->Init(this);
        garrison->Evaluate(choice.province, territory);
        AddChild(garrison);
        float power = total != 0.0f ? choice.priority * defencePower / total : 0.0f;
        if (country)
            power = std::min(power, static_cast<float>(ProvinceWorth(*choice.province, *country)));
        garrison->StartGarrison(power);
    }
}

// ---------------------------------------------------------------------------
// Garrisons

CAIGarrisonPlan::~CAIGarrisonPlan() {
    DetachUnits(m_armies);
}

void CAIGarrisonPlan::Evaluate(CProvince* province, CTerritory* territory) {
    objective = province;
    priority = -1.0f;
    if (!province || !country)
        return;
    const int32_t count = territory ? ProvinceCount(*territory) : 0;
    float v = static_cast<float>(CitySize(*province)) * 0.5f + static_cast<float>(count / 2);
    const int32_t worth = ProvinceWorth(*province, *country);
    for (int32_t limit : {5, 10, 20, 30})
        if (worth < limit)
            v *= 0.85f;
    // The country a war is being prepared against, and its allies.
    const uint32_t goal = owner && CAIKing::IsLive(owner) ? owner->GetWarGoal() : 0;
    const CCountry* enemy = goal < kCountrySlots ? g_countries[goal] : nullptr;
    if (goal != 0 && enemy) {
        if (province->BordersOwner(*enemy)) {
            v += 100.0f;
        } else if (enemy->m_diplomacy.IsInMilitaryAlliance()) {
            for (const CCountry* member : g_countries)
                if (member && member != enemy && member != country &&
                    enemy->m_diplomacy.FindMilitaryAllianceWith(member->GetNumber()) &&
                    province->BordersOwner(*member)) {
                    v += 50.0f;
                    break;
                }
        }
    }
    DebugPrint("%s considers a garrison in %s at %.2f power\n", Tag(country),
               province->name.c_str(), static_cast<double>(v));
    priority = v;
}

void CAIGarrisonPlan::StartGarrison(float wanted) {
    CAIPlan::Start();
    if (owner)
        owner->RequestArmies(this, wanted, 1, 1, objective, 0);
    power = wanted;
    DebugPrint("%s starts a garrison in %s with %.2f power\n", Tag(country),
               objective ? objective->name.c_str() : "", static_cast<double>(wanted));
    PostTimer(AIRandomDelay(10, 30), 1);
}

void CAIGarrisonPlan::OnTimer(uint32_t) {
    if (country && country->IsAtWar()) {
        Fail();
        return;
    }
    PostTimer(AIRandomDelay(60, 120), 1);
}

void CAIGarrisonPlan::Fail() {
    DebugPrint("%s has canceled Plan #%u (%s) for the province %s.\n",
               country ? country->GetName() : "", GetId().number, GetName(),
               objective ? objective->name.c_str() : "");
    CAIPlan::Fail();
}

void CAIGarrisonPlan::OnArmyMoved(CUnit& army) {
    if (army.GetAIAgent() == this)
        MergeInto(&army);
}

bool CAIGarrisonPlan::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded || !objective)
        return false;
    CAIAgent* holder = army->GetAIAgent();
    CAIPlan* holdingPlan = holder ? holder->AsPlan() : nullptr;
    if (holdingPlan && holdingPlan->GetPlanType() == AIPLAN_TRANSPORT) {
        AcceptUnit(army);
        return true;
    }
    if (TakeAndSendUnit(army, objective, 0) || TransportUnitTo(army, objective))
        return true;
    RejectUnit(army);
    return false;
}

// ---------------------------------------------------------------------------
// Invasions

void CAIInvasionPlan::Evaluate(CProvince* province, CTerritory*) {
    objective = province;
    if (!province || !country || !province->coastal || province->GetController() == country) {
        priority = -1.0f;
        return;
    }
    priority = 1.0f;
    const int32_t self = CountryNumber(*country);
    float v =
        province->GetTotalIncome() / 12.0f + static_cast<float>(6 - CitySize(*province)) * 5.0f;
    if (province->IsCapital())
        v += 5.0f;
    if (province->IsInOwnProvinceSet(self))
        v += 10.0f;
    if (province->BordersCountry(*country))
        v = (v + 25.0f) * 2.0f;
    for (const ProvinceNeighbour& link : province->neighbours) {
        const CProvince* next = GetProvince(link.id);
        if (next && next != province && next->BordersCountry(*country)) {
            v += 100.0f;
            break;
        }
    }
    const int32_t supply = ProvinceWorth(*province, *country);
    for (int32_t limit : {5, 10, 20, 30})
        if (supply < limit)
            v *= 0.95f;
    v -= 5.0f * ProvinceDistance(country->GetCapitalId(), province->GetNumber());
    v = std::max(v, -30.0f);
    priority = v + 35.0f;
}

bool CAIInvasionPlan::IsDone() {
    if (!objective || !country)
        return true;
    const CCountry* controller = objective->GetController();
    if (!controller || !country->MayEnterProvince(objective->GetNumber()))
        return true;
    if (objective->IsUnderSiege())
        return false;
    return (objective->GetOwner() == country && controller == country) ||
           !controller->IsHostileTo(country->GetNumber());
}

bool CAIInvasionPlan::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded || !objective)
        return false;
    if (army->GetLocation() == objective->GetNumber()) {
        AcceptUnit(army);
        return true;
    }
    if (TransportUnitTo(army, objective)) {
        DebugPrint("%s sends an invasion to %s(%d)\n", Tag(country), objective->name.c_str(),
                   objective->GetNumber());
        return true;
    }
    DebugPrint("%s cancelled an invasion to %s(%d)\n", Tag(country), objective->name.c_str(),
               objective->GetNumber());
    RejectUnit(army);
    RequestReinforcements();
    return false;
}
