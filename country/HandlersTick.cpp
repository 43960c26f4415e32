// The country's tick, year and game-start handlers, the budget shares and
// investment boosts, the money check, and the small bookkeeping handlers of
// renaming, facilities and fortresses.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/CountryTick.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "country/MonthlyUpdate.h"
#include "country/PayloadChecks.h"
#include "data/CountryNumbers.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/MapModes.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"
#include "world/Scenario.h"

CountryTickHooks g_countryTick;

namespace {

constexpr int32_t kNoticeBankrupt = 11;
constexpr int32_t kNoticeBankruptOther = 37;
constexpr float kBankruptcyPopulationFloor = 700.0f;
constexpr int32_t kMissionKinds = 11;

bool OptionOn(size_t word) {
    return g_config && g_config->GetWord(word) != 0;
}

// A province id a message may name: 1..1472.
bool IsProvinceId(int64_t id) {
    return IsPayloadProvince(id);
}

} // namespace

int CCountry::OnTimerTickLoop(COVEvent&) {
    const CDate today = CScenario::GetGameDate();
    if (!IsAtWar())
        m_lastPeace = today;
    else
        m_warDate = today;

    if (IsHost() && g_countryTick.updateMission) {
        for (const ObjectId& mission : m_activeMissionIds)
            if (mission != g_nullId && FindObjectById(mission))
                g_countryTick.updateMission(*this, mission);
    }

    if (!(m_treasury < 0.0f) || !IsOrdinaryCountry(m_number))
        return EVENT_NOT_HANDLED;
    YearlyAndBankruptcyHook();
    if (CanTakeLoan()) {
        if (IsHost())
            SendRequestLoan();
        return EVENT_NOT_HANDLED;
    }
    GoBankrupt();
    return EVENT_NOT_HANDLED;
}

void CCountry::GoBankrupt() {
    if (IsLocalHuman())
        PostGameMessage0(kNoticeBankrupt, m_number);
    else
        PostGameMessage1(kNoticeBankruptOther, m_number, GetName(), GetName());
    m_lastBankruptcy = CScenario::GetGameDate();
    m_cities.ForEach([](CCity* city) {
        if (city && !city->IsColony())
            city->SetPopulation(std::max(city->GetPopulation() * 0.9f, kBankruptcyPopulationFloor));
    });
    DecreaseStability(3);
    for (Technology* track :
         {&m_technology.land, &m_technology.naval, &m_technology.infra, &m_technology.trade,
          static_cast<Technology*>(&m_technology.stability)})
        track->value = 0;
    m_inflation *= 0.5f;
    std::erase_if(m_loans,
                  [](const std::unique_ptr<CLoan>& loan) { return loan && loan->IsBankLoan(); });
    m_treasury = 0.0f;
    m_extendedLoans = 0;
    if (IsHost())
        RevoltPass(0);
}

int CCountry::OnTimerYear(COVEvent& event) {
    g_mapRedraw = 1;
    const auto& income = m_ledger.thisYearIncome;
    const float total =
        income[INCOME_TAX] + income[INCOME_TRADE] + income[INCOME_PRODUCTION] + income[INCOME_GOLD];
    if (total > 0.0f) {
        const float goldShare = income[INCOME_GOLD] / total;
        if (goldShare > 0.33f)
            m_inflation += goldShare * 0.01f;
    }
    if (GameRand() % 100 < 4 * GetMonarchAdm() + 4)
        YearlyAndBankruptcyHook();
    if (m_inflation < 0.0f)
        m_inflation = 0.0f;
    SetPeriodBase();
    // Every tenth year one change of religion is forgiven.
    if (CScenario::GetGameDate().year % 10 == 0 && m_religiousChanges > 0)
        --m_religiousChanges;
    PassToSubObjects(event);
    return EVENT_NOT_HANDLED;
}

int CCountry::OnGameStarted(COVEvent& event) {
    if (!m_monarch && g_countryTick.createRandomMonarch)
        g_countryTick.createRandomMonarch(*this);
    RecomputeCapital();
    if (IsLocalHuman() && g_countryTick.refreshScreen)
        g_countryTick.refreshScreen(*this);
    RecountProvinces();
    ClearNetStartPending();
    g_mapRedraw = 1;
    if (g_countryTick.startUnits)
        g_countryTick.startUnits(*this);
    if (g_countryMilitary.updateTrespassFlags)
        g_countryMilitary.updateTrespassFlags(*this);
    m_monthlyTaxIncome = ComputeMonthlyTaxIncome();
    PassToSubObjects(event);
    UpdateCountrySupply(*this);
    SetAIPersonalityFile();
    const bool major = m_major != 0;
    if (major && OptionOn(ConfigOffset::kRandomEvents) && !CScenario::IsTutorial() &&
        g_countryTick.rollRandomEvent)
        g_countryTick.rollRandomEvent(m_number);
    CountLeaderKinds();
    SetPeriodBase();
    if (IsHost() && major && OptionOn(ConfigOffset::kMissions) && g_countryMonth.hasMission &&
        g_countryMonth.requestNewMission) {
        for (int32_t kind = 0; kind < kMissionKinds; ++kind)
            if (!g_countryMonth.hasMission(*this, kind))
                g_countryMonth.requestNewMission(*this, kind);
    }
    if (g_countryTick.activateMission) {
        for (const ObjectId& mission : m_activeMissionIds)
            if (mission != g_nullId && FindObjectById(mission))
                g_countryTick.activateMission(*this, mission);
    }
    ComputeManpowerLimit();
    return EVENT_NOT_HANDLED;
}

int CCountry::OnInvestmentChange(COVEvent& event) {
    const auto& payload = event.Payload();
    auto share = [&payload](size_t index) {
        const float value = payload.Get(InvestmentSharesPayload::kShares[index]);
        return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
    };
    m_navalShare = share(0);
    m_landShare = share(1);
    m_teShare = share(2);
    m_peShare = share(3);
    m_stabilityShare = share(4);
    m_treasuryShare = share(5);
    return EVENT_CONSUMED;
}

int CCountry::OnExecBoostInvestment(COVEvent& event) {
    const auto& payload = event.Payload();
    const float amount = payload.Get(BoostInvestmentPayload::kAmount);
    const uint32_t track = payload.Get(BoostInvestmentPayload::kKind);
    if (track > 4)
        return EVENT_CONSUMED;
    if (!IsFigureWithin(amount, kPaymentRange, "boost", m_number))
        return EVENT_CONSUMED;
    static constexpr uint32_t kExpenseOfTrack[] = {EXPENSE_PE, EXPENSE_PE, EXPENSE_STABILITY,
                                                   EXPENSE_RESEARCH, EXPENSE_RESEARCH};
    SpendMoney(kExpenseOfTrack[track], amount);
    const auto invest = static_cast<int32_t>(amount * 0.5f);
    CDate nextYear = CScenario::GetGameDate();
    nextYear.AddYears(1);
    switch (track) {
    case 0:
        AdvanceTradeTech(invest);
        m_technology.trade.date = nextYear;
        break;
    case 1:
        AdvanceInfraTech(invest);
        m_technology.infra.date = nextYear;
        break;
    case 2:
        m_technology.stability.Invest(invest);
        m_technology.stability.date = nextYear;
        break;
    case 3:
        AdvanceLandTech(invest);
        m_technology.land.date = nextYear;
        break;
    default:
        AdvanceNavalTech(invest);
        m_technology.naval.date = nextYear;
        break;
    }
    return EVENT_CONSUMED;
}

int CCountry::OnCheckEcoData(COVEvent& event) {
    const auto amount = static_cast<int32_t>(event.Payload().Get(COVTimerDateEvent::kCount));
    const bool same = std::isfinite(m_treasury) && std::fabs(m_treasury) < 2.0e9f &&
                      static_cast<int32_t>(m_treasury) == amount;
    if (!same && g_countryTick.showMessageBox)
        g_countryTick.showMessageBox(std::string(GetName()) + " has a potential money mismatch\n");
    return EVENT_CONSUMED;
}

int CCountry::OnRenameObject(COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId id = payload.Get(RenameObjectPayload::kObject);
    // The payload's text is cut at its field; SetName cuts at the name's.
    const std::string name = payload.Get(RenameObjectPayload::kName);
    if (id.type == kProvinceIdType) {
        CProvince* province = IsProvinceId(id.number) ? GetProvince(id.number) : nullptr;
        CSettlement* settlement = province ? province->GetSettlement() : nullptr;
        if (!settlement) {
            DebugPrint("rename: province %u has no settlement, ignored\n", id.number);
            return EVENT_CONSUMED;
        }
        settlement->SetName(name.c_str());
        return EVENT_CONSUMED;
    }
    if (auto* named = dynamic_cast<CNamedObject*>(FindObjectById(id)))
        named->SetName(name.c_str());
    return EVENT_CONSUMED;
}

int CCountry::OnBuildFacility(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVProvinceEvent::kProvince);
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    CCity* city = province ? province->GetCity() : nullptr;
    if (!city) {
        DebugPrint("build facility: province %u has no city, ignored\n", id);
        return EVENT_CONSUMED;
    }
    city->FinishManufactory();
    RecountProvinces();
    return EVENT_CONSUMED;
}

int CCountry::OnExecStartExpandingFortress(COVEvent& event) {
    const auto& payload = event.Payload();
    const uint32_t id = payload.Get(COVFortressEvent::kProvince);
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    CCity* city = province ? province->GetCity() : nullptr;
    if (!city) {
        DebugPrint("expand fortress: province %u has no city, ignored\n", id);
        return EVENT_CONSUMED;
    }
    CDate done = event.GetDueDate();
    if (done.year == 0)
        done = CScenario::GetGameDate();
    done.AddMonths(12);
    province->GetConstructions().AddOrder(CONSTRUCTION_FORTRESS, province->symbolPosition.x,
                                          province->symbolPosition.y, 1, done,
                                          static_cast<int32_t>(id), static_cast<int32_t>(m_number));
    SpendMoney(EXPENSE_FORT, static_cast<float>(GetFortressCost(static_cast<int32_t>(id))));
    CFortress& fortress = city->GetFortress();
    fortress.increase = 1;
    fortress.date = done;
    if (IsHost())
        PostEventAtAndSend(
            std::make_unique<COVFortressEvent>(EVT_EXPAND_FORTRESS, GetId(), id, 0u, 0u, m_number),
            done);
    return EVENT_CONSUMED;
}

int CCountry::OnExpandFortress(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVFortressEvent::kProvince);
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    CCity* city = province ? province->GetCity() : nullptr;
    if (!city)
        return EVENT_CONSUMED;
    CFortress& fortress = city->GetFortress();
    fortress.level = std::min(fortress.level + 1.0f, kMaxFortressLevel);
    fortress.increase = 0;
    return EVENT_CONSUMED;
}

int CCountry::OnDisbandUnit(COVEvent& event) {
    const ObjectId id = event.Payload().Get(UnitRequestPayload::kUnit);
    const CountryMilitaryHooks& m = g_countryMilitary;
    CUnit* unit = m.findUnit ? m.findUnit(id) : nullptr;
    // Only a unit of this country hands its troops back.
    if (!unit || (!m_units.Contains(unit) && !m_unitsInDevelopment.Contains(unit)))
        return EVENT_CONSUMED;
    if (m.describeUnit && m.unitStrength) {
        UnitFacts facts;
        m.describeUnit(*unit, facts);
        // A fleet's strengths are warships, galleys, transports; an army's
        // artillery, cavalry, infantry.
        static constexpr std::array<size_t, 3> kFleetClass = {UNIT_WARSHIPS, UNIT_GALLEYS,
                                                              UNIT_TRANSPORTS};
        static constexpr std::array<size_t, 3> kArmyClass = {UNIT_ARTILLERY, UNIT_CAVALRY,
                                                             UNIT_INFANTRY};
        for (int32_t i = 0; i < 3; ++i) {
            const size_t kept = (facts.fleet ? kFleetClass : kArmyClass)[static_cast<size_t>(i)];
            m_keptUnits[kept] += static_cast<int32_t>(std::ceil(m.unitStrength(*unit, i)));
        }
    }
    DeleteUnit(id);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnUnitDelete(COVEvent& event) {
    DeleteUnit(event.Payload().Get(UnitRequestPayload::kUnit));
    return EVENT_NOT_HANDLED;
}
