#include "country/Loan.h"

#include <memory>

#include "country/Country.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

} // namespace

CLoan::CLoan(const ObjectId& borrowerId) : borrower(borrowerId) {}

bool CLoan::IsValid() const {
    const bool lenderKnown = IsBankLoan() || (lender.type == kCountryObjectType &&
                                              lender.number > 0 && lender.number < kCountrySlots);
    return amount >= 1 && interest >= 1 && interest <= 1000 && lenderKnown;
}

int CLoan::HandleMessage(COVEvent& event) {
    if (event.GetType() == EVT_TIMER_MONTH) {
        const float charge =
            static_cast<float>(amount) * static_cast<float>(interest) * (1.0f / 1200.0f);
        if (CCountry* debtor = FindCountryById(borrower))
            debtor->SpendMoney(EXPENSE_INTEREST, charge);
        // The bank keeps its interest; a loan without a lender pays no one.
        if (!IsBankLoan() && lender.number > 0)
            if (CCountry* creditor = FindCountryById(lender))
                creditor->BookLedgerEntry(INCOME_LOAN, charge);
    }
    const CDate today = Today();
    if (!reminderSent && today.IsNotBefore(expiryDate)) {
        auto reminder = std::make_unique<CLoanEvent>(
            EVT_ASKEXTENDLOAN, borrower, lender, static_cast<uint32_t>(amount),
            static_cast<uint32_t>(interest), today, borrower.number);
        reminder->Payload().Set(CLoanEvent::kLoan, GetId());
        reminderSent = true;
        ExecuteEvent(std::move(reminder));
    }
    return EVENT_NOT_HANDLED;
}

int32_t CLoan::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END)
            break;
        if (result == FIELD_END_OF_FILE)
            return result;
        if (result != FIELD_READ)
            continue;
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_AMOUNT:
            amount = TokenToInt(value.text);
            if (amount < 1)
                in.ReportError("amount cant be below 1 $");
            break;
        case KW_INTEREST:
            interest = TokenToInt(value.text);
            if (interest < 1 || interest > 1000)
                in.ReportError("interest cant be below 1 or > 1000 \n");
            break;
        case KW_ID: {
            ObjectId id;
            if (value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            if (ReadObjectIdBlock(in, id) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            SetId(id);
            break;
        }
        case KW_TAG:
            if (value.code == KW_BANK) {
                lender = g_bankId;
            } else {
                const int32_t number = FindCountryByTag(value.text);
                if (number > 0 && number < static_cast<int32_t>(kCountrySlots))
                    lender = ObjectId(kCountryObjectType, static_cast<uint32_t>(number));
                else
                    in.ReportError("unknown tag");
            }
            break;
        case KW_EXPIRYDATE:
            if (value.code != TOKEN_OPEN_BRACE)
                in.ReportError("No left curly");
            else if (ReadDateBlock(in, expiryDate) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            break;
        default:
            in.ReportError("Loan : Unexpected field");
            PassOverValue(in);
            break;
        }
    }
    if (lender == kNoLender)
        in.ReportError("Must specify an owner of a loan \n");
    return FIELD_BLOCK_END;
}

CDataBlock* CLoan::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, MakeIdBlock(GetId())));
    if (IsBankLoan())
        block->AddChild(new CDataAssignment(KW_TAG, new CDataIdentifier(KW_BANK)));
    else
        block->AddChild(new CDataAssignment(KW_TAG, lender.MakeNode()));
    block->AddChild(new CDataAssignment(KW_INTEREST, new CDataInt(interest)));
    block->AddChild(new CDataAssignment(KW_AMOUNT, new CDataInt(amount)));
    block->AddChild(new CDataAssignment(KW_EXPIRYDATE, expiryDate.Write()));
    return block;
}
