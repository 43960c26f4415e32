#include "ai/BuildingAgent.h"

#include <vector>

#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/king/King.h"
#include "ai/military/MilitaryMinister.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

namespace {

constexpr uint32_t kNoticePeace = 18;
constexpr uint32_t kNoticeWar = 19;
// A grant this close to the price pays for it.
constexpr float kPriceTolerance = 0.001f;

const char* CountryName(const CCountry* country) {
    return country ? country->GetName() : "";
}

const char* ProvinceName(const CProvince* province) {
    return province ? province->name.c_str() : "";
}

std::vector<CProvince*> ProvincesOf(const CTemplateList<CProvince>& list) {
    std::vector<CProvince*> provinces;
    const_cast<CTemplateList<CProvince>&>(list).ForEach([&provinces](CProvince* province) {
        if (province)
            provinces.push_back(province);
    });
    return provinces;
}

std::vector<CAIMilitaryMinister*> MinistersOf(const CLinkedList<CAIMilitaryMinister>& list) {
    std::vector<CAIMilitaryMinister*> ministers;
    const_cast<CLinkedList<CAIMilitaryMinister>&>(list).ForEach(
        [&ministers](CAIMilitaryMinister* minister) {
            if (minister && minister->GetTerritory())
                ministers.push_back(minister);
        });
    return ministers;
}

// The two lists of a territory, counted: its provinces and its links.
int32_t TerritoryEntries(const CTerritory& territory) {
    return static_cast<int32_t>(territory.GetProvinces().GetCount() +
                                territory.GetLinks().GetCount());
}

} // namespace

BuildingSiteFigures FiguresOfSite(const CProvince& province) {
    BuildingSiteFigures site;
    site.income = province.GetTotalIncome();
    site.tradesWithCentre = province.IsAssignedToCentreOfTrade();
    site.border = province.IsBorderProvince();
    site.barrackOrShipyard = province.HasBarrack() || province.HasShipyard();
    site.revoltRisk = province.GetRevoltRisk();
    site.citySize = province.GetCity() ? province.GetCity()->GetSizeLevel() : 0;
    return site;
}

float BuildingSiteScore(const BuildingSiteFigures& site, int32_t kind) {
    float score = site.income;
    if (site.tradesWithCentre)
        score += 5.0f;
    // A fortress is wanted on the border, the civil buildings away from it.
    if (site.border)
        score += kind == AIBUILD_FORTRESS ? 5.0f : -5.0f;
    if (site.barrackOrShipyard)
        score += 10.0f;
    if (kind == AIBUILD_COURTHOUSE)
        score += 3.0f * static_cast<float>(site.revoltRisk);
    else if (kind != AIBUILD_FORTRESS)
        score -= 3.0f * static_cast<float>(site.revoltRisk);
    score += 2.0f * static_cast<float>(6 - site.citySize);
    return score;
}

// ---------------------------------------------------------------------------
// The building agent

void CAIBuildingAgent::Start() {
    active = true;
    Subscribe(kNoticePeace, false);
    Subscribe(kNoticeWar, false);
    ChooseBuildingPlan();
}

void CAIBuildingAgent::Stop() {
    Unsubscribe(kNoticeWar);
    Unsubscribe(kNoticePeace);
    CAIStandingAgent::Stop();
}

void CAIBuildingAgent::OnTimer(uint32_t value) {
    (void)value;
    m_timerArmed = false;
    ChooseBuildingPlan();
}

void CAIBuildingAgent::OnPlanSucceeded(CAIAgent* child) {
    ReleaseChild(child);
    ChooseBuildingPlan();
}

void CAIBuildingAgent::OnPlanFailed(CAIAgent* child) {
    ReleaseChild(child);
    ChooseBuildingPlan();
}

void CAIBuildingAgent::OnPeace(int32_t a, int32_t b) {
    if (!country)
        return;
    const auto self = static_cast<int32_t>(country->GetNumber());
    if ((a == self || b == self) && !country->IsAtWar())
        ChooseBuildingPlan();
}

void CAIBuildingAgent::OnWar(int32_t a, int32_t b) {
    if (!country)
        return;
    const auto self = static_cast<int32_t>(country->GetNumber());
    if (a != self && b != self)
        return;
    // The plans given up here start no new choice: the next waits for peace.
    m_givingUp = true;
    while (!children.IsEmpty()) {
        CLinkedList<CAIAgent>::CListPosition position = nullptr;
        children.GetHeadPosition(position);
        CAIAgent* child = position ? position->item : nullptr;
        const uint32_t before = children.GetCount();
        if (child)
            child->Fail();
        // A child that stayed listed is let go here, so that the loop ends.
        if (children.GetCount() == before)
            ReleaseChild(child);
    }
    m_givingUp = false;
}

bool CAIBuildingAgent::TryKind(int32_t kind) {
    if (!owner)
        return false;
    auto* plan = new CAIBuildingPlan(owner, kind);
    plan->Init(this);
    plan->Evaluate();
    if (plan->GetPriority() < kAIPlanDropPriority) {
        delete plan;
        return false;
    }
    AddChild(plan);
    plan->Start();
    return true;
}

bool CAIBuildingAgent::ChooseBuildingPlan() {
    if (!active || !country || !children.IsEmpty() || country->IsAtWar() || m_givingUp)
        return false;
    const int32_t r1 = GameRand() % 100;
    const float modifier = country->GetCostModifier();
    if (r1 < 50) {
        if (modifier > 0.2f && TryKind(AIBUILD_CITYRIGHTS))
            return true;
        if (TryKind(AIBUILD_FORTRESS))
            return true;
    }
    if (modifier > 0.4f && TryKind(AIBUILD_CITYRIGHTS))
        return true;
    const int32_t r2 = GameRand() % 100;
    if ((r2 < 5 && TryKind(AIBUILD_BAILIFF)) || (r2 < 10 && TryKind(AIBUILD_COURTHOUSE)) ||
        (r2 < 15 && TryKind(AIBUILD_CITYRIGHTS)) || (r2 < 60 && TryKind(AIBUILD_FORTRESS)) ||
        (r2 < 75 && TryKind(AIBUILD_SHIPYARD)))
        return true;
    for (int32_t kind : {AIBUILD_BARRACK, AIBUILD_FORTRESS, AIBUILD_COURTHOUSE, AIBUILD_CITYRIGHTS,
                         AIBUILD_BAILIFF})
        if (TryKind(kind))
            return true;
    PostTimer(GameRand() % 100 + 100, 0);
    m_timerArmed = true;
    return false;
}

// ---------------------------------------------------------------------------
// The building plans

int32_t CAIBuildingPlan::GetPlanType() const {
    switch (m_kind) {
    case AIBUILD_FORTRESS:
        return AIPLAN_BUILD_FORTRESS;
    case AIBUILD_SHIPYARD:
        return AIPLAN_BUILD_SHIPYARD;
    case AIBUILD_BARRACK:
        return AIPLAN_BUILD_BARRACK;
    case AIBUILD_COURTHOUSE:
        return AIPLAN_BUILD_COURTHOUSE;
    case AIBUILD_CITYRIGHTS:
        return AIPLAN_BUILD_CITYRIGHTS;
    default:
        return AIPLAN_BUILD_BAILIFF;
    }
}

const char* CAIBuildingPlan::Word() const {
    switch (m_kind) {
    case AIBUILD_FORTRESS:
        return "fortress";
    case AIBUILD_SHIPYARD:
        return "shipyard";
    case AIBUILD_BARRACK:
        return "conscription center";
    case AIBUILD_COURTHOUSE:
        return "Courthouse";
    case AIBUILD_CITYRIGHTS:
        return "CityRights";
    default:
        return "bailiff";
    }
}

CAIPlan* CAIBuildingPlan::Clone() {
    return new CAIBuildingPlan(owner, m_kind);
}

float CAIBuildingPlan::Price() const {
    if (!country)
        return 0.0f;
    switch (m_kind) {
    case AIBUILD_FORTRESS:
        return static_cast<float>(country->GetFortressCost(GetProvinceId()));
    case AIBUILD_SHIPYARD:
        return static_cast<float>(country->GetShipyardCost());
    case AIBUILD_BARRACK:
        return static_cast<float>(country->GetConscriptionCenterCost());
    case AIBUILD_COURTHOUSE:
        return static_cast<float>(country->GetCourthouseCost());
    default:
        return static_cast<float>(country->GetBailiffCost());
    }
}

bool CAIBuildingPlan::TechnologyAllows() const {
    if (!country)
        return false;
    const TechBase& tech = country->m_technology;
    switch (m_kind) {
    case AIBUILD_FORTRESS:
        return true;
    case AIBUILD_SHIPYARD:
        return tech.AllowsShipyard();
    case AIBUILD_BARRACK:
        return tech.AllowsConscriptionCenter();
    case AIBUILD_COURTHOUSE:
        return tech.AllowsCourthouse();
    case AIBUILD_CITYRIGHTS:
        return tech.AllowsCityRights();
    default:
        return tech.AllowsBailiff();
    }
}

bool CAIBuildingPlan::MayBuildIn(int32_t province) const {
    if (!country)
        return false;
    return m_kind == AIBUILD_FORTRESS ? country->CanBuildFortress(province)
                                      : country->CanBuildImprovement(province, m_kind);
}

CProvince* CAIBuildingPlan::FindBestProvince() const {
    if (!country || !owner)
        return nullptr;
    CProvince* best = nullptr;
    float bestScore = 0.0f;
    auto consider = [&best, &bestScore](CProvince* province, float score) {
        if (!best || score > bestScore) {
            best = province;
            bestScore = score;
        }
    };
    switch (m_kind) {
    case AIBUILD_BAILIFF:
    case AIBUILD_COURTHOUSE:
    case AIBUILD_CITYRIGHTS:
        for (int32_t id : IdsOf(country->m_ownedProvinces))
            if (CProvince* province = ::GetProvince(id); province && MayBuildIn(id))
                consider(province, BuildingSiteScore(FiguresOfSite(*province), m_kind));
        break;
    case AIBUILD_FORTRESS:
        for (CAIMilitaryMinister* general : MinistersOf(owner->GetGenerals()))
            for (CProvince* province : ProvincesOf(general->GetTerritory()->GetProvinces()))
                if (MayBuildIn(province->GetNumber()))
                    consider(province, BuildingSiteScore(FiguresOfSite(*province), m_kind));
        break;
    case AIBUILD_BARRACK:
        // A General's home province: the first of its territory where the
        // conscription center may be built.
        for (CAIMilitaryMinister* general : MinistersOf(owner->GetGenerals())) {
            CTerritory& territory = *general->GetTerritory();
            for (CProvince* home : ProvincesOf(territory.GetProvinces())) {
                if (!MayBuildIn(home->GetNumber()))
                    continue;
                float score = static_cast<float>(TerritoryEntries(territory));
                if (territory.HoldsCapital())
                    score += 10.0f;
                if (country->GetProvinceManpower(home->GetNumber()) < 10)
                    score -= 5.0f;
                consider(home, score);
                break;
            }
        }
        break;
    case AIBUILD_SHIPYARD: {
        // An Admiral's home port: the first own province whose port opens
        // on its sea where the shipyard may be built.
        const CProvince* capital = country->GetCapital();
        const CTerritory* capitalTerritory = capital ? capital->territory : nullptr;
        const std::vector<int32_t> owned = IdsOf(country->m_ownedProvinces);
        for (CAIMilitaryMinister* admiral : MinistersOf(owner->GetAdmirals())) {
            CTerritory& sea = *admiral->GetTerritory();
            const std::vector<CProvince*> zones = ProvincesOf(sea.GetProvinces());
            for (int32_t id : owned) {
                CProvince* home = ::GetProvince(id);
                if (!home || home->portSeaZone == 0 || !MayBuildIn(id))
                    continue;
                bool opensOnSea = false;
                for (const CProvince* zone : zones)
                    opensOnSea = opensOnSea || zone->GetNumber() == home->portSeaZone;
                if (!opensOnSea)
                    continue;
                float score = static_cast<float>(TerritoryEntries(sea));
                if (capitalTerritory && sea.FindLink(capitalTerritory))
                    score += 10.0f;
                if (country->GetProvinceManpower(id) < 10)
                    score -= 5.0f;
                consider(home, score);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    return best;
}

void CAIBuildingPlan::Evaluate() {
    CProvince* province = TechnologyAllows() ? FindBestProvince() : nullptr;
    if (!province) {
        priority = -1.0f;
        return;
    }
    SetProvince(province);
    priority = 10.0f;
    if (m_kind == AIBUILD_BAILIFF &&
        province->GetReligion() != static_cast<int32_t>(country->m_religion.stateReligion))
        priority = -1.0f;
}

void CAIBuildingPlan::Start() {
    const float price = Price();
    if (m_kind == AIBUILD_BAILIFF)
        DebugPrint("%s wants to build bailiff in %s.(%.2f$)\n", CountryName(country),
                   ProvinceName(m_province), static_cast<double>(price));
    else
        DebugPrint("%s wants to build %s in %s.\n", CountryName(country), Word(),
                   ProvinceName(m_province));
    CAIProvincePlan::Start();
    m_cost += price;
    if (CAIKing::IsLive(owner))
        owner->RequestMoney(this, price);
}

void CAIBuildingPlan::AddMoney(float amount) {
    m_money += amount;
    Begin();
}

void CAIBuildingPlan::TakeMoney(float amount) {
    m_money -= amount;
    if (active && amount > 0.0f && CAIKing::IsLive(owner))
        owner->RequestMoney(this, amount);
}

void CAIBuildingPlan::Begin() {
    if (!active || m_money < m_cost - kPriceTolerance)
        return;
    if (!m_province || !MayBuildIn(m_province->GetNumber()))
        m_province = FindBestProvince();
    if (!m_province) {
        Fail();
        return;
    }
    const auto id = static_cast<uint32_t>(m_province->GetNumber());
    if (m_kind == AIBUILD_BAILIFF)
        DebugPrint("%s starts building bailiff in %s. (%.2f$)\n", CountryName(country),
                   ProvinceName(m_province), static_cast<double>(m_cost));
    else
        DebugPrint("%s starts building %s in %s.\n", CountryName(country), Word(),
                   ProvinceName(m_province));
    if (m_kind == AIBUILD_FORTRESS)
        country->SendStartExpandingFortress(id);
    else
        country->SendStartBuildImprovement(id, static_cast<uint32_t>(m_kind));
    // The request pays from the treasury: what was granted is spent.
    m_money = 0.0f;
    Succeed();
}
