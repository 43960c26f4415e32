// The country's monthly update: seventeen steps in a fixed order, from the
// scenario mission's progress to the technology freeze of the Aztecs and
// the Incas. Each step is an operation of its own; OnTimerMonth runs them.
#include <algorithm>
#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/MonthlyUpdate.h"
#include "country/Relations.h"
#include "engine/Config.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

CountryMonthHooks g_countryMonth;

namespace {

constexpr uint32_t kReligionProtestant = 0;
constexpr uint32_t kReligionCatholic = 3;
constexpr uint32_t kReligionSunni = 5;
constexpr uint32_t kReligionShiite = 6;
constexpr uint32_t kReligionPagan = 7;
constexpr uint32_t kAztecs = 65;
constexpr uint32_t kIncas = 66;
constexpr int32_t kMissionKinds = 11;

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

bool MissionsOptionOn() {
    return g_config && g_config->GetWord(ConfigOffset::kMissions) != 0;
}

} // namespace

int CCountry::OnTimerMonth(COVEvent& event) {
    MonthMissionProgress();
    MonthReligiousPressure();
    MonthManpowerAndUpkeep();
    MonthEnemyCapitals();
    MonthTax();
    MonthMissions();
    MonthVassalTribute();
    MonthBookTax();
    MonthWarSubsidy();
    MonthTradeIncome();
    MonthReceiversAndLedger(event);
    MonthBudgetAndCities(event);
    MonthAllianceWarmth();
    MonthRankingPlace();
    MonthRequestMissions();
    MonthAllianceAtWar();
    MonthTechnologyFreeze();
    // The strength figures that the computer player and the country lists'
    // sums read, from this month's figures.
    ComputeStrengthRatings();
    return EVENT_NOT_HANDLED;
}

// 1. The scenario mission's progress for the first two types and type 8.
void CCountry::MonthMissionProgress() {
    if (m_missionType < 2 || m_missionType == 8)
        UpdateMissionProgress(-1);
}

// 2. Unrest spreads the reformation: protestant and catholic countries
// below 0 stability push the two progress values.
void CCountry::MonthReligiousPressure() {
    if (GetStability() >= 0.0)
        return;
    if (m_religion.stateReligion == kReligionProtestant)
        g_globals.AddProgress(0, 0.1f);
    else if (m_religion.stateReligion == kReligionCatholic)
        g_globals.AddProgress(1, 0.08f);
}

// 3. The manpower limit, the upkeep of the forces, the timed modifiers'
// month.
void CCountry::MonthManpowerAndUpkeep() {
    ComputeManpowerLimit();
    PayMonthlyUpkeep();
    m_modifiers.MonthlyUpdate();
}

// 4. The capital of every enemy becomes known.
void CCountry::MonthEnemyCapitals() {
    for (CCountry* enemy : g_countries) {
        if (!enemy || enemy == this || !m_diplomacy.IsAtWarWith(enemy->GetNumber()))
            continue;
        const CProvince* capital = GetProvince(enemy->m_capital);
        if (!capital || capital->discoveredBy[m_number % kCountrySlots] != 0)
            continue;
        ExecuteEvent(std::make_unique<COVProvinceEvent>(EVT_DISCOVERPROVINCE, GetId(),
                                                        static_cast<uint32_t>(enemy->m_capital)));
    }
}

// 5. The month's tax, less the timed modifier of kind 1.
void CCountry::MonthTax() {
    m_monthTax = ComputeMonthlyTaxIncome() * (1.0f - m_modifiers.GetValue(1));
}

// 6. The local player's choice of a new mission.
void CCountry::MonthMissions() {
    if (IsLocalHuman() && MissionsOptionOn() && g_countryMonth.chooseMission)
        g_countryMonth.chooseMission(*this);
}

// 7. A vassal gives half its tax to its overlord.
void CCountry::MonthVassalTribute() {
    if (!m_diplomacy.IsVassal())
        return;
    m_monthTax *= 0.5f;
    if (CCountry* overlord = CountryOfNumber(m_diplomacy.GetOverlord()))
        overlord->BookLedgerEntry(INCOME_TAX, m_monthTax);
}

// 8. The doubled tax's months run down; the tax is booked.
void CCountry::MonthBookTax() {
    if (m_warTaxMonths > 0)
        --m_warTaxMonths;
    BookLedgerEntry(INCOME_TAX, m_monthTax);
}

// 9. A minor country at war gets a war chest and a man a month.
void CCountry::MonthWarSubsidy() {
    if (!IsAtWar() || m_major)
        return;
    const uint32_t religion = m_religion.stateReligion;
    const int32_t limit = religion == kReligionSunni || religion == kReligionShiite ? 100 : 200;
    if (m_figures.totalIncome < limit)
        BookLedgerEntry(INCOME_TAX,
                        static_cast<float>(limit - m_figures.totalIncome) / 12.0f + 5.0f);
    AddToCappedReserve(1.0f);
}

// 10. Trade and the centres of trade.
void CCountry::MonthTradeIncome() {
    float trade = 0.0f;
    m_ownedProvinces.ForEach([&trade](int32_t id) {
        if (const CProvince* province = GetProvince(id))
            trade += province->GetTradeValueFor();
    });
    BookLedgerEntry(INCOME_EXPORT_DUTIES, trade / 12.0f);
    float centres = 0.0f;
    const int32_t self = static_cast<int32_t>(m_number);
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (province.centreOfTrade && province.centreOfTrade->GetProvinceId() == id)
            centres += province.GetCotValueFor(self);
    }
    BookLedgerEntry(INCOME_HARBOUR_FEES, centres / 12.0f);
}

// 11. The units hear of the month, the leaders are counted, the ledger's
// month closes.
void CCountry::MonthReceiversAndLedger(COVEvent& event) {
    if (const auto unitMessage = g_countryMilitary.unitMessage) {
        std::vector<CUnit*> units;
        m_units.ForEach([&units](CUnit* unit) { units.push_back(unit); });
        for (CUnit* unit : units)
            if (unit && m_units.Contains(unit) && unitMessage(*unit, event) != EVENT_NOT_HANDLED)
                break;
    }
    CountLeaderKinds();
    m_ledger.CloseMonth();
}

// 12. Research and the budget, inflation, the cities, the pools, the
// relations, the sub-objects, the revolts and the period base.
void CCountry::MonthBudgetAndCities(COVEvent& event) {
    m_monthlyTaxIncome = m_income;
    DistributeMonthlyIncome();
    m_inflation += m_treasuryShare * 0.0008333333f;
    UpdateCities();
    AccrueMonthlyDiplomats();
    AccrueMonthlyColonists();
    AccrueMonthlyMerchants();
    if (g_countryMonth.victoryPointsMonth)
        g_countryMonth.victoryPointsMonth(*this);
    MonthRelationDrift();
    PassToSubObjects(event);
    if (IsHost())
        RevoltPass(0);
    SetPeriodBase();
}

void CCountry::MonthRelationDrift() {
    const uint32_t self = m_number % kCountrySlots;
    for (CCountry* other : g_countries) {
        if (!other || other == this)
            continue;
        const uint32_t n = other->GetNumber() % kCountrySlots;
        float drift = 0.0f;
        if (m_figures.neighbour[n] != 0 || other->m_figures.totalIncome > 200) {
            const Technology* mine[] = {&m_technology.land, &m_technology.naval,
                                        &m_technology.trade, &m_technology.infra};
            const Technology* theirs[] = {&other->m_technology.land, &other->m_technology.naval,
                                          &other->m_technology.trade, &other->m_technology.infra};
            for (size_t i = 0; i < 4; ++i)
                if (mine[i]->GetLevel() > theirs[i]->GetLevel())
                    drift -= static_cast<float>(mine[i]->GetLevel() - theirs[i]->GetLevel());
            drift /= 12.0f;
        }
        const CProvince* capital = GetProvince(other->m_capital);
        const uint32_t religion = other->m_religion.stateReligion;
        if (capital && capital->discoveredBy[self] != 0 && religion != kReligionPagan)
            drift += m_religion.GetTolerance(religion) * 0.025f;
        const CRelation* relation = m_diplomacy.GetRelation(n);
        if (relation && relation->GetValue() < StartingRelationValue(self, n))
            drift = 0.0f;
        else
            drift = std::clamp(drift, -0.25f, 0.05f);
        ChangeRelationMutual(self, n, drift);
    }
}

// 13. The leader of a military alliance warms toward its members.
void CCountry::MonthAllianceWarmth() {
    CAlliance* alliance = FindAlliance(m_diplomacy.GetMilitaryAllianceId());
    if (!alliance || alliance->GetLeader() != static_cast<int32_t>(m_number))
        return;
    const std::vector<uint32_t> participants = alliance->participants;
    for (uint32_t p : participants) {
        CCountry* member = CountryOfNumber(p);
        CRelation* toward = m_diplomacy.GetRelation(p);
        if (!member || member == this || !toward)
            continue;
        const float value = toward->GetValue();
        const float add = value < StartingRelationValue(m_number, p) ? 0.5f : 0.1f;
        if (value < kMaxRelationValue)
            toward->SetValue(value + add);
        if (CRelation* back = member->m_diplomacy.GetRelation(m_number))
            back->SetValue(toward->GetValue());
    }
}

// 14. The ranking place among the existing countries.
void CCountry::MonthRankingPlace() {
    int32_t place = 1;
    for (const CCountry* other : g_countries) {
        if (!other || other == this)
            continue;
        if (g_gameType == 2) {
            place += other->m_rankFigure > m_rankFigure ? 1 : 0;
            place += other->m_rankProgress > m_rankProgress ? 1 : 0;
        } else if (g_gameType == 3) {
            place += other->m_rankProgress > m_rankProgress ? 1 : 0;
        } else {
            place += other->m_rankScore > m_rankScore ? 1 : 0;
        }
    }
    m_rankPlace = place;
}

// 15. A major country played by a human asks for a mission of every kind
// it lacks.
void CCountry::MonthRequestMissions() {
    if (!IsHost() || !m_major || IsComputerControlled())
        return;
    if (!g_countryMonth.hasMission || !g_countryMonth.requestNewMission)
        return;
    for (int32_t kind = 0; kind < kMissionKinds; ++kind)
        if (!g_countryMonth.hasMission(*this, kind))
            g_countryMonth.requestNewMission(*this, kind);
}

// 16. At war, the military alliance's monthly work, ten days ahead.
void CCountry::MonthAllianceAtWar() {
    if (!IsAtWar() || !g_countryMonth.allianceMonth)
        return;
    CAlliance* alliance = FindAlliance(m_diplomacy.GetMilitaryAllianceId());
    if (!alliance)
        return;
    g_countryMonth.allianceMonth(*alliance, Today().Plus(CDate(10, 0, 0)));
}

// 17. The Aztecs and the Incas stay without technology outside the fantasy
// setting.
void CCountry::MonthTechnologyFreeze() {
    if (g_fantasyMode || (m_number != kAztecs && m_number != kIncas))
        return;
    m_technology.land.SetLevel(0);
    m_technology.naval.SetLevel(0);
    m_technology.infra.SetLevel(0);
    m_technology.trade.SetLevel(0);
}
