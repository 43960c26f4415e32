#include "ai/king/ProvincePlan.h"

#include <cmath>

#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
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

bool CAIBuildArmyPlan::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded)
        return false;
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

bool CAIBuildFleetPlan::OfferFleet(CUnit* fleet) {
    if (!fleet || failed || succeeded)
        return false;
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
