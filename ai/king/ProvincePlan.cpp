#include "ai/king/ProvincePlan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "military/units/Unit.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

const char* CountryName(const CCountry* country) {
    return country ? country->GetName() : "";
}

} // namespace

void CAIProvincePlan::Kill() {
    DebugPrint("Post Kill for #%u (%s)!\n", GetId().number, GetName());
    CAIPlan::Kill();
}

void CAIProvincePlan::Start() {
    DebugPrint("%s has started Plan #%u (%s) for the province %s.\n", CountryName(country),
               GetId().number, GetName(), m_province ? m_province->name.c_str() : "");
    CAIPlan::Start();
}

void CAIProvincePlan::Finish() {
    DebugPrint("%s has finished Plan #%u (%s) for the province %s.\n", CountryName(country),
               GetId().number, GetName(), m_province ? m_province->name.c_str() : "");
    Succeed();
}

void CAIProvincePlan::Cancel() {
    DebugPrint("%s has canceled Plan #%u (%s) for the province %s.\n", CountryName(country),
               GetId().number, GetName(), m_province ? m_province->name.c_str() : "");
    CAIPlan::Cancel();
}

int32_t CAIProvincePlan::GetProvinceId() const {
    return m_province ? m_province->GetNumber() : 0;
}

void CAIProvincePlan::SetProvince(CProvince* province) {
    CAIPlan::Evaluate();
    m_province = province;
}

// ---------------------------------------------------------------------------
// The unit-building plan

CAIBuildPlan::CAIBuildPlan(CAIKing* owner, int32_t limitA, int32_t limitB, int32_t limitC)
    : CAIProvincePlan(owner), m_limits{limitA, limitB, limitC} {}

CAIBuildPlan::~CAIBuildPlan() {
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
    for (CTemplateList<CProvince>* list : {&m_places, &m_secondPlaces}) {
        list->ForEach([this](CProvince* province) {
            if (province->aiHolder == this)
                province->aiHolder = nullptr;
        });
        list->RemoveAll();
    }
    m_ordered.ForEach([this](ObjectId id) {
        if (auto* unit = dynamic_cast<CUnit*>(ResolveId(id)))
            if (unit->GetAIAgent() == this)
                unit->SetAIAgent(nullptr);
    });
}

namespace {

const char* NameOf(const CProvince* province) {
    return province ? province->name.c_str() : "";
}

const char* TagOf(const CCountry* country) {
    return country ? country->GetTag().c_str() : "";
}

// The unit the country has just put in development in the province: the
// last one there that the plan has not ordered yet.
CUnit* NewestInDevelopment(CCountry& country, int32_t province, CObjectIdList& known) {
    CUnit* found = nullptr;
    country.m_unitsInDevelopment.ForEach([&](CUnit* unit) {
        if (unit && unit->GetLocation() == province && !known.Contains(unit->GetId()))
            found = unit;
    });
    return found;
}

} // namespace

int32_t CAIBuildPlan::GetCapacity(const CProvince& province) const {
    // A province takes up to four regiments or squadrons at a time.
    return MayBuildIn(province.GetNumber()) ? 4 : 0;
}

bool CAIBuildPlan::NothingMoreWanted() const {
    for (size_t k = 0; k < 3; ++k)
        if (m_counts[k] >= m_limits[k])
            return false;
    return true;
}

void CAIBuildPlan::FinishIfDone() {
    if (active && m_ordered.IsEmpty() && NothingMoreWanted())
        Finish();
}

void CAIBuildPlan::Finish() {
    m_counts = {};
    CAIProvincePlan::Finish();
}

void CAIBuildPlan::Cancel() {
    m_counts = {};
    CAIProvincePlan::Cancel();
}

void CAIBuildPlan::Start() {
    CAIProvincePlan::Start();
    ChooseProvinces();
    const CAIPlan* asking = parent ? parent->AsPlan() : nullptr;
    DebugPrint("BuildPlan #%u of %s plans to build units (%d, %d, %d) for %s.\n", GetId().number,
               TagOf(country), m_counts[0], m_counts[1], m_counts[2],
               asking ? asking->GetName() : NameOf(m_province));
}

void CAIBuildPlan::Stop() {
    CAIProvincePlan::Stop();
    std::vector<CProvince*> building;
    m_secondPlaces.ForEach([&building](CProvince* p) { building.push_back(p); });
    for (CProvince* p : building)
        ReleasePlace(p);
    m_secondPlaces.RemoveAll();
    m_ordered.ForEach([this](ObjectId id) {
        if (auto* unit = dynamic_cast<CUnit*>(ResolveId(id)))
            if (unit->GetAIAgent() == this)
                unit->SetAIAgent(nullptr);
    });
}

void CAIBuildPlan::AddMoney(float amount) {
    m_money += amount;
    if (active)
        Step();
}

void CAIBuildPlan::AddPlace(CProvince* province) {
    if (!province)
        return;
    if (!m_places.Contains(province))
        m_places.AddTail(province);
    std::array<int32_t, 3> regiments{};
    for (size_t k = 0; k < 3; ++k)
        regiments[k] =
            m_limits[k] > 0 ? std::max(0, (m_limits[k] / 2 + m_counts[k]) / m_limits[k]) : 0;
    int32_t cap = GetCapacity(*province);
    std::array<int32_t, 3> take{};
    for (size_t k = 0; k < 3; ++k) {
        take[k] = std::min(regiments[k], cap);
        cap -= take[k];
    }
    if (GetPlanType() == AIPLAN_BUILDARMY && take != std::array<int32_t, 3>{})
        take[0] += std::max(cap, 0);
    if (take == std::array<int32_t, 3>{}) {
        DebugPrint("BuildPlan #%u of %s can't build anything  in %s, and gives it back to the "
                   "King.\n",
                   GetId().number, TagOf(country), NameOf(province));
        ReleasePlace(province);
        if (!NothingMoreWanted())
            ChooseProvinces();
        else
            FinishIfDone();
        return;
    }
    for (size_t k = 0; k < 3; ++k)
        m_current[k] = take[k] * m_limits[k];
    const float cost = GetPrice(m_current[0], m_current[1], m_current[2]);
    m_requested += cost;
    if (owner)
        owner->RequestMoney(this, cost);
    const CAIPlan* asking = parent ? parent->AsPlan() : nullptr;
    DebugPrint("BuildPlan #%u of %s wants to build a Unit (%d, %d, %d) in %s for Plan #%u (%s), "
               "and requests %0.2f ducats.\n",
               GetId().number, TagOf(country), m_current[0], m_current[1], m_current[2],
               NameOf(province), asking ? asking->GetId().number : 0,
               asking ? asking->GetName() : "", static_cast<double>(cost));
}

void CAIBuildPlan::Step() {
    if (NothingMoreWanted()) {
        if (active)
            Finish();
        return;
    }
    CProvince* p = nullptr;
    m_places.ForEach([&p](CProvince* candidate) {
        if (!p)
            p = candidate;
    });
    if (!p || m_money + 0.01f < m_requested)
        return;
    float cost = GetPrice(m_current[0], m_current[1], m_current[2]);
    if (m_requested + 0.01f < cost) {
        const float more = cost - m_requested;
        m_requested += more;
        if (owner)
            owner->RequestMoney(this, more);
        return;
    }
    int32_t spare = GetCapacity(*p);
    for (size_t k = 0; k < 3; ++k)
        if (m_limits[k] > 0)
            spare -= m_current[k] / m_limits[k];
    const float regiment = GetPrice(m_limits[0], 0, 0);
    if (m_money - cost > 1.0f && spare > 0 && regiment > 0.0f) {
        const int32_t k = std::min(static_cast<int32_t>((m_money - cost) / regiment), spare);
        cost += static_cast<float>(k) * regiment;
        m_current[0] += k * m_limits[0];
    }
    m_places.Remove(p);
    m_requested = 0.0f;
    bool small = true;
    for (size_t k = 0; k < 3; ++k)
        small = small && m_current[k] < m_limits[k];
    CAIKing* king = owner && CAIKing::IsLive(owner) ? owner : nullptr;
    if (small || !MayBuildIn(p->GetNumber())) {
        DebugPrint("BuildPlan #%u of %s avoids building a Unit (%d, %d, %d) in %s.\n",
                   GetId().number, TagOf(country), m_current[0], m_current[1], m_current[2],
                   NameOf(p));
        ReleasePlace(p);
        if (king && m_money > 0.0f)
            GiveMoney(king, m_money);
    } else {
        if (king && m_money - cost > 0.0f)
            GiveMoney(king, m_money - cost);
        // The order spends the rest from the treasury.
        m_money = 0.0f;
        OrderUnits(p->GetNumber(), m_current[0], m_current[1], m_current[2]);
        CUnit* unit = country ? NewestInDevelopment(*country, p->GetNumber(), m_ordered) : nullptr;
        const ObjectId id = unit ? unit->GetId() : NewObjectId();
        if (unit)
            unit->SetAIAgent(this);
        DebugPrint("BuildPlan #%u of %s starts building Unit #%u (%d, %d, %d) in %s.\n",
                   GetId().number, TagOf(country), id.number, m_current[0], m_current[1],
                   m_current[2], NameOf(p));
        if (!m_secondPlaces.Contains(p))
            m_secondPlaces.AddTail(p);
        m_ordered.AddTail(id);
        // Over-production of one arm counts toward the next by power.
        auto carry = [this](size_t from, size_t to) {
            m_counts[from] -= m_current[from];
            if (m_counts[from] < 0) {
                if (m_powerPerMan[to] > 0.0f)
                    m_current[to] -= static_cast<int32_t>(static_cast<float>(m_counts[from]) *
                                                          m_powerPerMan[from] / m_powerPerMan[to]);
                m_counts[from] = 0;
            }
        };
        carry(2, 1);
        carry(1, 0);
        m_counts[0] = std::max(0, m_counts[0] - m_current[0]);
    }
    m_current = {};
    if (NothingMoreWanted())
        FinishIfDone();
    else
        ChooseProvinces();
}

bool CAIBuildPlan::OnUnitBuilt(CUnit& unit) {
    if (!m_ordered.Contains(unit.GetId()))
        return true;
    CProvince* at = ::GetProvince(unit.GetLocation());
    DebugPrint("BuildPlan #%u of %s builds %s #%u in %s.\n", GetId().number, TagOf(country),
               unit.IsFleet() ? "Fleet" : "Army", unit.GetId().number, NameOf(at));
    m_ordered.Remove(unit.GetId());
    if (at && m_secondPlaces.Contains(at)) {
        m_secondPlaces.Remove(at);
        ReleasePlace(at);
    }
    if (unit.GetAIAgent() == this)
        unit.SetAIAgent(nullptr);
    bool taken = false;
    if (parent && parent != this)
        taken = unit.IsFleet() ? parent->OfferFleet(&unit) : parent->OfferArmy(&unit);
    if (!taken && owner && CAIKing::IsLive(owner) && parent != owner)
        HandOverUnit(owner, &unit);
    FinishIfDone();
    return true;
}

void CAIBuildPlan::OnConstructionCancelled(CUnit& unit) {
    if (!m_ordered.Contains(unit.GetId()))
        return;
    CProvince* at = ::GetProvince(unit.GetLocation());
    DebugPrint("BuildPlan #%u of %s cancelled construction of Unit #%u in %s.\n", GetId().number,
               TagOf(country), unit.GetId().number, NameOf(at));
    m_ordered.Remove(unit.GetId());
    if (unit.GetAIAgent() == this)
        unit.SetAIAgent(nullptr);
    if (at && m_secondPlaces.Contains(at)) {
        m_secondPlaces.Remove(at);
        ReleasePlace(at);
    }
    if (m_places.IsEmpty()) {
        if (NothingMoreWanted())
            FinishIfDone();
        else
            ChooseProvinces();
    }
}

void CAIBuildPlan::UnitReceived(CUnit& unit) {
    if (unit.IsFleet()) {
        for (int i = 0; i < 3; ++i)
            m_counts[static_cast<size_t>(i)] +=
                static_cast<int32_t>(std::ceil(unit.GetStrength(i)));
    } else {
        m_counts[0] += unit.GetRoundedInfantry();
        m_counts[1] += unit.GetRoundedCavalry();
        m_counts[2] += unit.GetRoundedArtillery();
    }
    Replan();
}

float CAIBuildArmyPlan::GetPrice(int32_t a, int32_t b, int32_t c) const {
    return country ? country->GetLandRecruitCost(static_cast<float>(a), static_cast<float>(b),
                                                 static_cast<float>(c))
                   : 0.0f;
}

bool CAIBuildArmyPlan::MayBuildIn(int32_t province) const {
    return country && country->CanRecruitLandUnits(province, 0, 0, 0);
}

void CAIBuildArmyPlan::OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) {
    if (country)
        country->SendBuildArmy(static_cast<uint32_t>(province), static_cast<uint32_t>(a),
                               static_cast<uint32_t>(b), static_cast<uint32_t>(c),
                               CScenario::GetGameDate());
}

void CAIBuildArmyPlan::AskForPlace() {
    if (owner)
        owner->RequestRecruitProvince(this, m_province);
}

void CAIBuildArmyPlan::ReleasePlace(CProvince* province) {
    m_places.Remove(province);
    CAIKing* king = owner && CAIKing::IsLive(owner) ? owner : nullptr;
    if (province && province->aiHolder == this) {
        if (king)
            GiveProvince(king, province);
        else
            province->aiHolder = nullptr;
    }
}

void CAIBuildArmyPlan::Start() {
    if (m_counts == std::array<int32_t, 3>{} && m_wanted > 0.0f)
        Evaluate(m_wanted, 0.0f, 0, 0, 1.0f, 1.0f, m_province);
    CAIBuildPlan::Start();
}

void CAIBuildArmyPlan::Evaluate(float power, float, int32_t cavalryPresent,
                                int32_t artilleryPresent, float fireWeight, float shockWeight,
                                CProvince* province) {
    CAIPlan::Evaluate();
    m_province = province;
    m_counts = {};
    if (!country) {
        priority = -1.0f;
        return;
    }
    const float infantryPower =
        country->GetLandInfantryShock() + country->GetLandInfantryFire() * fireWeight;
    const float cavalryPower =
        country->GetLandCavalryFire() * fireWeight + country->GetLandCavalryShock() * shockWeight;
    const float artilleryPower = country->GetLandArtilleryShock() +
                                 country->GetLandArtilleryFire() * fireWeight * shockWeight;
    m_powerPerMan = {infantryPower, cavalryPower, artilleryPower};
    auto nearest = [](int32_t x, int32_t step) { return x > 0 ? (x + step / 2) / step * step : 0; };
    int32_t cavalry = 0;
    if (country->MayRaiseCavalry())
        cavalry = nearest(static_cast<int32_t>(power * (shockWeight > 1.1f ? 0.6f : 0.25f)) -
                              cavalryPresent,
                          1000);
    int32_t artillery = 0;
    if (country->MayRaiseArtillery()) {
        int32_t x = artilleryPower > 0.0f ? static_cast<int32_t>(power * 0.1f / artilleryPower) : 0;
        if (province && province->HasHostileCity(static_cast<int32_t>(country->GetNumber())))
            x += 10 * province->GetFortressLevel();
        artillery = nearest(x - artilleryPresent, 10);
    }
    if (country->GetCavalryCount() > country->GetInfantryCount() / 4)
        cavalry = 0;
    if (country->GetArtilleryCount() > country->GetInfantryCount() / 1000)
        artillery = 0;
    int32_t infantry = 0;
    if (infantryPower > 0.0f)
        infantry =
            nearest(static_cast<int32_t>((power - static_cast<float>(cavalry) * cavalryPower -
                                          static_cast<float>(artillery) * artilleryPower) /
                                         infantryPower),
                    1000);
    // Infantry, cavalry, artillery.
    m_counts = {infantry, cavalry, artillery};
    if (infantry == 0 && cavalry == 0 && artillery == 0)
        priority = -1.0f;
}

bool CAIBuildArmyPlan::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded)
        return false;
    if (m_ordered.Contains(army->GetId()))
        return OnUnitBuilt(*army);
    AcceptUnit(army);
    UnitReceived(*army);
    return true;
}

float CAIBuildFleetPlan::GetPrice(int32_t a, int32_t b, int32_t c) const {
    return country ? country->GetNavalRecruitCost(static_cast<float>(a), static_cast<float>(b),
                                                  static_cast<float>(c))
                   : 0.0f;
}

bool CAIBuildFleetPlan::MayBuildIn(int32_t province) const {
    return country && country->CanBuildShips(province, 0, 0, 0);
}

void CAIBuildFleetPlan::OrderUnits(int32_t province, int32_t a, int32_t b, int32_t c) {
    if (country)
        country->SendBuildFleet(static_cast<uint32_t>(province), static_cast<uint32_t>(a),
                                static_cast<uint32_t>(b), static_cast<uint32_t>(c),
                                CScenario::GetGameDate());
}

void CAIBuildFleetPlan::AskForPlace() {
    if (owner)
        owner->RequestShipyardPort(this, m_province);
}

void CAIBuildFleetPlan::ReleasePlace(CProvince* province) {
    m_places.Remove(province);
    CAIKing* king = owner && CAIKing::IsLive(owner) ? owner : nullptr;
    if (province && province->aiHolder == this) {
        if (king)
            GiveSeaZone(king, province);
        else
            province->aiHolder = nullptr;
    }
}

bool CAIBuildFleetPlan::OfferFleet(CUnit* fleet) {
    if (!fleet || failed || succeeded)
        return false;
    if (m_ordered.Contains(fleet->GetId()))
        return OnUnitBuilt(*fleet);
    AcceptUnit(fleet);
    UnitReceived(*fleet);
    return true;
}

void CAIBuildFleetPlan::Update(int32_t warships, int32_t galleys, int32_t transports) {
    m_counts = {warships, galleys, transports};
    if (country) {
        m_warshipFactor = country->GetNavalWarshipFire() + country->GetNavalWarshipShock();
        m_galleyFactor = country->GetNavalGalleyFire() + country->GetNavalGalleyShock();
    }
    m_thirdFactor = 0.0f;
    m_ordered.ForEach([this](ObjectId id) {
        const auto* unit = dynamic_cast<const CUnit*>(ResolveId(id));
        if (!unit || !unit->IsFleet())
            return;
        for (int i = 0; i < 3; ++i)
            m_counts[static_cast<size_t>(i)] -=
                static_cast<int32_t>(std::ceil(unit->GetStrength(i)));
    });
    for (int32_t& count : m_counts)
        count = std::max(count, 0);
    if (m_counts[0] == 0 && m_counts[1] == 0 && m_counts[2] == 0) {
        priority = -1.0f;
        if (active)
            Finish();
    }
}
