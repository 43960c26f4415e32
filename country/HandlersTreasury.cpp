// The country's handlers of money, loans, stability, inflation, the
// reigning monarch's values and name, casus belli and trade refusals.
// Every machine runs them; the revolt roll runs on the host only. A
// message naming a country, a loan or a lender that does not exist is
// dropped with a trace line and changes nothing.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryMilitary.h"
#include "country/CountryReligion.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "country/PayloadChecks.h"
#include "country/Relations.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/GameNotices.h"

namespace {

constexpr int32_t kNoticeAutoLoan = 12;        // "AUTOLOAN"
constexpr int32_t kNoticeManualLoan = 13;      // "MANULOAN"
constexpr int32_t kNoticeStabilityDrop = 16;   // "STABDROP"
constexpr int32_t kNoticeStabilityRise = 17;   // "STABINCREASE"
constexpr int32_t kNoticeTradeRefused = 29;    // "TRADEREFUSAL"
constexpr int32_t kNoticeTradeAllowed = 30;    // "TRADEALLOW"
constexpr int32_t kNoticeOwnTradeRefusal = 31; // "OWNTRADEREFUSAL"
constexpr int32_t kNoticeOwnTradeAllow = 32;   // "OWNTRADEALLOW"
constexpr int32_t kNoticeLoanRepaid = 44;      // "LOANSREPAY"
constexpr int32_t kNoticeLoanDefaulted = 45;   // "LOANSNOREPAY"

constexpr uint32_t kAINoticeTradeRefused = 17;
constexpr uint32_t kAINoticeCasusBelli = 28;

constexpr int32_t kExceptionalTaxMonths = 6;
constexpr float kBankLoanInflation = 0.01f;
constexpr int32_t kExtensionYears = 5;
constexpr int32_t kExtensionInterest = 3;

// The lender of a loan message: the null id stands for the bank.
ObjectId LenderOf(const ObjectId& lender) {
    return lender == g_nullId ? g_bankId : lender;
}

// The country another country's message names, null (with a trace line)
// when the number names none or names the receiver itself.
CCountry* OtherCountry(const CCountry& self, uint32_t number, const char* what) {
    CCountry* other = CountryOfNumber(number);
    if (!other || other == &self) {
        DebugPrint("%s: country %u of country %u dropped\n", what, number, self.GetNumber());
        return nullptr;
    }
    return other;
}

std::string AmountText(int32_t amount) {
    return std::to_string(amount);
}

void TellComputerPlayers(uint32_t kind, uint32_t a, uint32_t b) {
    if (g_countryAI.notifyListeners)
        g_countryAI.notifyListeners(kind, a, b);
}

using LoanList = std::vector<std::unique_ptr<CLoan>>;

LoanList::iterator FindLoan(LoanList& loans, const ObjectId& id) {
    return std::find_if(loans.begin(), loans.end(), [&id](const std::unique_ptr<CLoan>& loan) {
        return loan && loan->GetId() == id;
    });
}

} // namespace

int CCountry::OnExceptionalTaxes(COVEvent&) {
    m_warTaxMonths = kExceptionalTaxMonths;
    DecreaseStability(1);
    if (IsHost())
        RevoltPass(0);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnGainMoney(COVEvent& event) {
    const uint32_t kind = event.Payload().Get(MoneyPayload::kKind);
    if (kind >= INCOME_KINDS) {
        DebugPrint("gain money: income kind %u of country %u dropped\n", kind, m_number);
        return EVENT_CONSUMED;
    }
    const float amount = event.Payload().Get(MoneyPayload::kAmount);
    if (!IsFigureWithin(amount, kMoneyRange, "gain money", m_number))
        return EVENT_CONSUMED;
    BookLedgerEntry(kind, amount);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnLoseMoney(COVEvent& event) {
    const uint32_t kind = event.Payload().Get(MoneyPayload::kKind);
    if (kind >= EXPENSE_KINDS) {
        DebugPrint("lose money: expense kind %u of country %u dropped\n", kind, m_number);
        return EVENT_CONSUMED;
    }
    const float amount = event.Payload().Get(MoneyPayload::kAmount);
    if (!IsFigureWithin(amount, kMoneyRange, "lose money", m_number))
        return EVENT_CONSUMED;
    SpendMoney(kind, amount);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnExecGetLoan(COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId id = payload.Get(CLoanEvent::kLoan);
    if (!IsFigureWithin(payload.Get(CLoanEvent::kAmount), kPaymentRange, "get loan", m_number))
        return EVENT_CONSUMED;
    auto loan = std::make_unique<CLoan>(GetId());
    loan->interest = static_cast<int32_t>(payload.Get(CLoanEvent::kInterest));
    loan->expiryDate = payload.Get(CLoanEvent::kDate);
    loan->amount = static_cast<int32_t>(payload.Get(CLoanEvent::kAmount));
    loan->lender = LenderOf(payload.Get(CLoanEvent::kLender));
    // A loan needs an id of its own, a sound amount and interest, and a
    // lender that is the bank or another existing country.
    const bool lenderExists =
        loan->IsBankLoan() || (FindCountryById(loan->lender) && loan->lender != GetId());
    if (id == g_nullId || FindLoan(m_loans, id) != m_loans.end() || !loan->IsValid() ||
        !lenderExists) {
        DebugPrint("get loan: loan {%u, %u} from {%u, %u} of country %u dropped\n", id.type,
                   id.number, loan->lender.type, loan->lender.number, m_number);
        return EVENT_CONSUMED;
    }
    loan->SetId(id);
    AddToTreasury(static_cast<float>(loan->amount));
    const bool bankLoan = loan->IsBankLoan();
    m_loans.push_back(std::move(loan));
    if (bankLoan) {
        ChangeInflation(kBankLoanInflation);
        if (IsLocalHuman())
            PostGameMessage0(m_treasury < 1.0f ? kNoticeAutoLoan : kNoticeManualLoan, m_number);
    }
    return EVENT_CONSUMED;
}

int CCountry::OnExecPayLoan(COVEvent& event) {
    const auto found = FindLoan(m_loans, event.Payload().Get(CLoanEvent::kLoan));
    if (found == m_loans.end()) {
        DebugPrint("ERROR: recieved a payloan event for an loan we dont have ..\n");
        return EVENT_CONSUMED;
    }
    const CLoan& loan = **found;
    SpendMoney(EXPENSE_LOAN, static_cast<float>(loan.amount));
    if (!loan.IsBankLoan()) {
        if (CCountry* lender = FindCountryById(loan.lender)) {
            lender->BookLedgerEntry(INCOME_LOAN, static_cast<float>(loan.amount));
            if (lender->IsLocalHuman())
                PostGameMessage1At(kNoticeLoanRepaid, lender->GetNumber(), GetName(),
                                   AmountText(loan.amount), GetCapitalId());
        }
    }
    m_loans.erase(found);
    return EVENT_CONSUMED;
}

int CCountry::OnExecCancelLoan(COVEvent& event) {
    const auto found = FindLoan(m_loans, event.Payload().Get(CLoanEvent::kLoan));
    if (found == m_loans.end()) {
        DebugPrint("ERROR: recieved a cancelloan event for an loan we dont have ..\n");
        return EVENT_CONSUMED;
    }
    const CLoan& loan = **found;
    ++m_cancelledLoans;
    DecreaseStability(1);
    if (!loan.IsBankLoan()) {
        if (CCountry* lender = FindCountryById(loan.lender)) {
            // The lender gains a casus belli against this country for a year.
            CDate expiry = GetGameDate();
            expiry.AddYears(1);
            auto claim = std::make_unique<COVDataEvent>(EVT_GIVECB, lender->GetId());
            claim->Payload().Set(CasusBelliPayload::kExpiry, expiry);
            claim->Payload().Set(CasusBelliPayload::kAgainst, GetId());
            claim->Payload().Set(CasusBelliPayload::kFlags[0], uint8_t{1});
            claim->Payload().Set(CasusBelliPayload::kFlags[1], uint8_t{0});
            ExecuteEvent(std::move(claim));
            ChangeRelationMutual(m_number, lender->GetNumber(), -25.0f);
            if (lender->IsLocalHuman())
                PostGameMessage1At(kNoticeLoanDefaulted, lender->GetNumber(), GetName(),
                                   AmountText(loan.amount), GetCapitalId());
        }
    }
    m_loans.erase(found);
    return EVENT_CONSUMED;
}

int CCountry::OnExecExtendLoan(COVEvent& event) {
    const auto found = FindLoan(m_loans, event.Payload().Get(CLoanEvent::kLoan));
    if (found == m_loans.end()) {
        DebugPrint("extend loan: no loan of the id in country %u\n", m_number);
        return EVENT_CONSUMED;
    }
    (*found)->expiryDate.AddYears(kExtensionYears);
    (*found)->reminderSent = false;
    for (const auto& loan : m_loans)
        if (loan && loan->IsBankLoan())
            loan->interest += kExtensionInterest;
    return EVENT_CONSUMED;
}

int CCountry::OnIncreaseStability(COVEvent&) {
    if (IsLocalHuman())
        PostGameMessage0(kNoticeStabilityRise, m_number);
    IncreaseStability(1);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnDecreaseStability(COVEvent&) {
    if (IsLocalHuman())
        PostGameMessage0(kNoticeStabilityDrop, m_number);
    DecreaseStability(1);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnGiveCB(COVEvent& event) {
    const auto& payload = event.Payload();
    const ObjectId against = payload.Get(CasusBelliPayload::kAgainst);
    if (against == GetId())
        return EVENT_CONSUMED;
    CCountry* other = FindCountryById(against);
    CRelation* relation = other ? m_diplomacy.GetRelation(other->GetNumber()) : nullptr;
    if (!relation) {
        DebugPrint("give casus belli: {%u, %u} of country %u dropped\n", against.type,
                   against.number, m_number);
        return EVENT_CONSUMED;
    }
    CCasusBelli claim;
    claim.expiry = payload.Get(CasusBelliPayload::kExpiry);
    claim.temporary = payload.Get(CasusBelliPayload::kFlags[0]);
    relation->casusBelli.push_back(claim);
    SendRefreshWindows();
    TellComputerPlayers(kAINoticeCasusBelli, m_number, other->GetNumber());
    return EVENT_CONSUMED;
}

int CCountry::OnSetMonarchValues(COVEvent& event) {
    const auto& payload = event.Payload();
    const int32_t adm = payload.Get(MonarchValuesPayload::kAdm);
    const int32_t dip = payload.Get(MonarchValuesPayload::kDip);
    const int32_t mil = payload.Get(MonarchValuesPayload::kMil);
    for (int32_t value : {adm, dip, mil})
        if (!IsFigureWithin(value, kRulerValueRange, "monarch values", m_number))
            return EVENT_CONSUMED;
    if (m_monarch && g_countryMilitary.setMonarchValues)
        g_countryMilitary.setMonarchValues(*m_monarch, adm, dip, mil);
    return EVENT_CONSUMED;
}

int CCountry::OnInflation(COVEvent& event) {
    const float change = event.Payload().Get(InflationPayload::kChange);
    if (IsFigureWithin(change, kInflationChangeRange, "inflation", m_number))
        ChangeInflation(change);
    return EVENT_CONSUMED;
}

int CCountry::OnMessage210(COVEvent& event) {
    if (m_monarch && g_countryMilitary.setMonarchName)
        g_countryMilitary.setMonarchName(*m_monarch,
                                         event.Payload().Get(MonarchNamePayload::kName));
    return EVENT_CONSUMED;
}

int CCountry::OnExecRefuseTrade(COVEvent& event) {
    const uint32_t number = event.Payload().Get(TradeRefusalPayload::kOther);
    CCountry* other = OtherCountry(*this, number, "refuse trade");
    if (!other)
        return EVENT_CONSUMED;
    if (IsLocalHuman())
        PostGameMessage1At(kNoticeOwnTradeRefusal, m_number, other->GetName(), other->GetName(),
                           other->GetCapitalId());
    else if (other->IsLocalHuman())
        PostGameMessage1At(kNoticeTradeRefused, number, GetName(), GetName(), GetCapitalId());

    ChangeRelationMutual(m_number, number, -25.0f);
    // The other's fellow believers take it ill too.
    const uint32_t faith = other->m_religion.stateReligion;
    for (CCountry* third : g_countries)
        if (third && third != this && third != other &&
            !IsDifferentReligion(third->m_religion.stateReligion, faith))
            ChangeRelationMutual(m_number, third->GetNumber(), -10.0f);

    if (CRelation* relation = m_diplomacy.GetRelation(number))
        relation->refuseTrade = 1;
    if (!m_diplomacy.IsAtWarWith(number))
        DecreaseStability(1);
    TellComputerPlayers(kAINoticeTradeRefused, m_number, number);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnExecUnrefuseTrade(COVEvent& event) {
    const uint32_t number = event.Payload().Get(TradeRefusalPayload::kOther);
    CCountry* other = OtherCountry(*this, number, "allow trade");
    if (!other)
        return EVENT_CONSUMED;
    if (IsLocalHuman())
        PostGameMessage1At(kNoticeOwnTradeAllow, m_number, other->GetName(), other->GetName(),
                           other->GetCapitalId());
    else if (other->IsLocalHuman())
        PostGameMessage1At(kNoticeTradeAllowed, number, GetName(), GetName(), GetCapitalId());
    ChangeRelationMutual(m_number, number, 15.0f);
    if (CRelation* relation = m_diplomacy.GetRelation(number))
        relation->refuseTrade = 0;
    SendRefreshWindows();
    return EVENT_CONSUMED;
}
