// The country's handlers of decided economic and diplomatic changes: the
// diplomat send dates, maintenance, gifts and relation changes, tolerance,
// the answers to loan offers, the investment in the trade and the
// infrastructure tracks, and the economy flags (closed trade, bank, stock
// exchange, gold lost). A message naming a country that does not exist is
// dropped with a trace line and changes nothing.
#include <algorithm>
#include <string>

#include "country/Country.h"
#include "country/CountryReligion.h"
#include "country/Ledger.h"
#include "country/PayloadChecks.h"
#include "country/RelationTexts.h"
#include "country/Relations.h"
#include "country/SoundEffects.h"
#include "engine/CriticalError.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Senders.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Province.h"

namespace {

constexpr int32_t kNoticeLoanAccepted = 48;   // "LOANSACCEPT"
constexpr int32_t kNoticeLoanRejected = 49;   // "LOANSREJECT"
constexpr int32_t kNoticeRelationChange = 95; // "RELCHANGE"

constexpr float kCityRightsInflation = 0.01f;
constexpr float kDestroyedTradingPostRelation = -20.0f;

// A gift is weighed against last month's income, at least this much.
constexpr float kLeastGiftIncome = 50.0f;

CCountry* ExistingOther(const CCountry& self, uint32_t number, const char* what) {
    CCountry* other = CountryOfNumber(number);
    if (!other || other == &self) {
        DebugPrint("%s: country %u of country %u dropped\n", what, number, self.GetNumber());
        return nullptr;
    }
    return other;
}

// The loan's answer, told to the human at this machine with the name of the
// country that answered.
void TellLoanAnswer(const CCountry& self, const COVEvent& event, int32_t notice) {
    if (!self.IsLocalHuman())
        return;
    const CCountry* other = CountryOfNumber(event.Payload().Get(PairPayload::kFirst));
    if (!other)
        return;
    PostGameMessage1At(notice, self.GetNumber(), other->GetName(), other->GetName(),
                       other->GetCapitalId());
}

std::string TextOf(const char* key) {
    return g_textDatabase.GetText(key);
}

} // namespace

const char* RelationActionText(uint32_t kind) {
    switch (kind) {
    case 25:
        return "RELCH_A_SGIFT";
    case 26:
        return "RELCH_A_PGIFT";
    case 27:
        return "RELCH_A_INT";
    case 28:
        return "RELCH_A_WARNING";
    case 29:
        return "RELCH_A_INSULT";
    default:
        return "RELCH_A_EXCO";
    }
}

const char* RelationChangeText(float delta) {
    struct Step {
        float below;
        const char* text;
    };
    static constexpr Step kSteps[] = {
        {-101.0f, "RELCH_DEC_5"}, {-51.0f, "RELCH_DEC_4"}, {-26.0f, "RELCH_DEC_3"},
        {-11.0f, "RELCH_DEC_2"},  {0.0f, "RELCH_DEC_1"},   {11.0f, "RELCH_INC_1"},
        {25.0f, "RELCH_INC_2"},   {51.0f, "RELCH_INC_3"},  {101.0f, "RELCH_INC_4"}};
    for (const Step& step : kSteps)
        if (delta < step.below)
            return step.text;
    return "RELCH_INC_5";
}

const char* RelationLevelText(float relation) {
    struct Step {
        float above;
        const char* text;
    };
    static constexpr Step kSteps[] = {{175.0f, "RELCH_R_0"},  {124.0f, "RELCH_R_1"},
                                      {76.0f, "RELCH_R_2"},   {-74.0f, "RELCH_R_3"},
                                      {-124.0f, "RELCH_R_4"}, {-174.0f, "RELCH_R_5"}};
    for (const Step& step : kSteps)
        if (relation > step.above)
            return step.text;
    return "RELCH_R_6";
}

int CCountry::OnSetSendDate(COVEvent& event) {
    const uint32_t number = event.Payload().Get(COVSendDateEvent::kValue);
    if (!IsPayloadCountry(number)) {
        DebugPrint("send date: country %u of country %u dropped\n", number, m_number);
        return EVENT_CONSUMED;
    }
    m_diplomaticDates[number] = event.Payload().Get(COVSendDateEvent::kDate);
    return EVENT_CONSUMED;
}

int CCountry::OnSetMaintenance(COVEvent& event) {
    const float land = event.Payload().Get(SetMaintenancePayload::kLand);
    const float naval = event.Payload().Get(SetMaintenancePayload::kNaval);
    if (!IsFigureWithin(land, kMaintenanceRange, "maintenance", m_number) ||
        !IsFigureWithin(naval, kMaintenanceRange, "maintenance", m_number))
        return EVENT_CONSUMED;
    m_landMaintenance = land;
    m_navalMaintenance = naval;
    return EVENT_CONSUMED;
}

int CCountry::OnSendGift(COVEvent& event) {
    const uint32_t giver = event.Payload().Get(GiftPayload::kGiver);
    if (!ExistingOther(*this, giver, "gift"))
        return EVENT_CONSUMED;
    const float amount = event.Payload().Get(GiftPayload::kAmount);
    if (!IsFigureWithin(amount, kMoneyRange, "gift", m_number))
        return EVENT_CONSUMED;
    BookLedgerEntry(INCOME_GIFT, amount);
    ChangeRelationMutual(m_number, giver,
                         amount / std::max(m_ledger.lastMonthIncomeTotal, kLeastGiftIncome));
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnExecChangeTolerance(COVEvent& event) {
    for (uint32_t religion = 0; religion < kReligionCount; ++religion)
        m_religion.tolerance[religion] = static_cast<float>(
            static_cast<int8_t>(event.Payload().Get(SetTolerancePayload::kValues[religion])));
    m_religion.SyncCounterReformed();
    return EVENT_CONSUMED;
}

int CCountry::OnAcceptLoanMsg(COVEvent& event) {
    TellLoanAnswer(*this, event, kNoticeLoanAccepted);
    return EVENT_CONSUMED;
}

int CCountry::OnDeclineLoanMsg(COVEvent& event) {
    TellLoanAnswer(*this, event, kNoticeLoanRejected);
    return EVENT_CONSUMED;
}

int CCountry::OnChangePE(COVEvent& event) {
    const float amount = event.Payload().Get(TrackInvestmentPayload::kAmount);
    if (IsFigureWithin(amount, kMoneyRange, "infrastructure investment", m_number))
        AdvanceInfraTech(TruncateToInt(amount));
    return EVENT_CONSUMED;
}

int CCountry::OnChangeTE(COVEvent& event) {
    const float amount = event.Payload().Get(TrackInvestmentPayload::kAmount);
    if (IsFigureWithin(amount, kMoneyRange, "trade investment", m_number))
        AdvanceTradeTech(TruncateToInt(amount));
    return EVENT_CONSUMED;
}

int CCountry::OnTradeRestrictions(COVEvent&) {
    m_closedTrade = m_closedTrade ? 0 : 1;
    return EVENT_CONSUMED;
}

int CCountry::OnCreateBank(COVEvent&) {
    m_bank = 1;
    return EVENT_CONSUMED;
}

int CCountry::OnCreateStock(COVEvent&) {
    m_stock = 1;
    return EVENT_CONSUMED;
}

int CCountry::OnGoldLost(COVEvent&) {
    m_goldLost = m_goldLost ? 0 : 1;
    return EVENT_CONSUMED;
}

int CCountry::OnRemoveManufactory(COVEvent& event) {
    const CProvince* province = GetProvince(event.Payload().Get(COVProvinceEvent::kProvince));
    if (CCity* city = province ? province->GetCity() : nullptr)
        city->RemoveManufactory();
    return EVENT_CONSUMED;
}

int CCountry::OnExecRelation(COVEvent& event) {
    const auto& payload = event.Payload();
    const uint32_t number = payload.Get(ExecRelationPayload::kOther);
    CCountry* other = ExistingOther(*this, number, "relation");
    if (!other)
        return EVENT_CONSUMED;
    const float delta = payload.Get(ExecRelationPayload::kChange);
    const float amount = payload.Get(ExecRelationPayload::kAmount);
    // The relation itself is held to -200..200 where it is set.
    if (!IsFigureWithin(delta, kAnyFiniteFigure, "relation", m_number) ||
        !IsFigureWithin(amount, kMoneyRange, "relation", m_number))
        return EVENT_CONSUMED;
    if (amount > 0.0f) {
        SpendMoney(EXPENSE_GIFT, amount);
        other->BookLedgerEntry(INCOME_GIFT, amount);
    }
    ChangeRelationMutual(m_number, number, delta);
    if (IsLocalHuman() && amount > -1.0f) {
        const CRelation* relation = m_diplomacy.GetRelation(number);
        const float value = relation ? relation->GetValue() : 0.0f;
        PostGameMessage4At(kNoticeRelationChange, m_number, other->GetName(),
                           TextOf(RelationActionText(payload.Get(ExecRelationPayload::kKind))),
                           TextOf(RelationChangeText(delta)), other->GetName(),
                           TextOf(RelationLevelText(value)), other->GetCapitalId());
    }
    return EVENT_CONSUMED;
}

int CCountry::OnCreateCot(COVEvent& event) {
    const uint32_t province = event.Payload().Get(CreateCotPayload::kProvince);
    if (!GetProvince(province) || province == 0) {
        DebugPrint("create centre of trade: province %u of country %u dropped\n", province,
                   m_number);
        return EVENT_CONSUMED;
    }
    g_cotCalc.CreateCentreOfTrade(static_cast<int32_t>(province));
    return EVENT_CONSUMED;
}

int CCountry::OnFinishBuildImprovement(COVEvent& event) {
    const uint32_t kind = event.Payload().Get(COVImprovementEvent::kKind);
    const CProvince* province = GetProvince(event.Payload().Get(COVImprovementEvent::kProvince));
    CCity* city = province ? province->GetCity() : nullptr;
    if (!city || kind >= static_cast<uint32_t>(CCity::kImprovementCount)) {
        DebugPrint("finish improvement: kind %u of country %u dropped\n", kind, m_number);
        return EVENT_CONSUMED;
    }
    PlayCountrySound(*this, SOUND_IMPROVEMENT_BUILT);
    city->improvements[kind] = 1;
    if (kind == CCity::IMPROVEMENT_CITYRIGHTS)
        m_inflation = std::max(m_inflation - kCityRightsInflation, 0.0f);
    return EVENT_CONSUMED;
}

int CCountry::OnExecDestroyTPost(COVEvent& event) {
    CProvince* province = GetProvince(event.Payload().Get(COVProvinceEvent::kProvince));
    if (!province || province->GetNumber() == 0) {
        DebugPrint("destroy trading post: province of country %u dropped\n", m_number);
        return EVENT_CONSUMED;
    }
    const int32_t controller = province->GetControllerNumber();
    if (controller >= 0)
        ChangeRelationMutual(m_number, static_cast<uint32_t>(controller),
                             kDestroyedTradingPostRelation);
    province->Abandon();
    return EVENT_CONSUMED;
}
