#include "country/Ledger.h"

#include <numeric>
#include <span>

#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/TextDatabase.h"

namespace {

constexpr const char* kIncomeKeys[INCOME_KINDS] = {
    "INCOMETAX",  "INCOMETRADE",        "INCOMEPRODUCTION", "INCOMEPRODFAC",
    "INCOMEGOLD", "INCOMELOAN",         "INCOMEGIFT",       "INCOMESOW",
    "INCOMEDTAX", "INCOMEEXPORTDUTIES", "INCOMEHARBORFEES"};
constexpr const char* kExpenseKeys[EXPENSE_KINDS] = {
    "EXPENSEAM",  "EXPENSEFM",  "EXPENSEARMY", "EXPENSEFLEET",    "EXPENSEFORT",
    "EXPENSECOL", "EXPENSETRA", "EXPENSEMER",  "EXPENSERSR",      "EXPENSESTAB",
    "EXPENSEPE",  "EXPENSEMAN", "EXPENSELOAN", "EXPENSEINTEREST", "EXPENSEGIFT"};

float Sum(std::span<const float> values) {
    return std::accumulate(values.begin(), values.end(), 0.0f);
}

void ReportToken(CFieldReader& in, const char* context) {
    CTokenFile* file = in.GetTokenFile();
    ReportTokenError(context, file->Current().text, "", "", file->GetLine(), file->GetFileName());
}

// A table's numbers after its "{", up to and including its "}". A value past
// the table's end is reported once and dropped; any other token ends the
// table (reported, the rest of the list passed over).
int32_t ReadTable(CFieldReader& in, std::span<float> table) {
    size_t count = 0;
    bool toldTooMany = false;
    return ReadListTokens(in, [&](const Token& token) {
        if (token.code != TOKEN_NUMBER) {
            ReportToken(in, "ledger-table: Unexpected field");
            // The rest of the table (and a block the token opened) is passed over.
            if (token.code == TOKEN_OPEN_BRACE)
                SkipRestOfBlock(in);
            SkipRestOfBlock(in);
            return FIELD_BLOCK_END;
        }
        if (count >= table.size()) {
            if (!toldTooMany)
                ReportToken(in, "Too many values for ledger-table");
            toldTooMany = true;
            return FIELD_READ;
        }
        table[count++] = TokenToFloat(token.text);
        return FIELD_READ;
    });
}

CDataBlock* MakeTable(std::span<const float> values) {
    auto* block = new CDataBlock;
    for (float value : values)
        block->AddChild(new CFloatNode(value));
    return block;
}

} // namespace

const char* GetIncomeKindKey(uint32_t kind) {
    return kind < INCOME_KINDS ? kIncomeKeys[kind] : "NONE";
}

const char* GetExpenseKindKey(uint32_t kind) {
    return kind < EXPENSE_KINDS ? kExpenseKeys[kind] : "NONE";
}

const char* GetIncomeKindText(uint32_t kind) {
    return g_textDatabase.GetText(GetIncomeKindKey(kind));
}

const char* GetExpenseKindText(uint32_t kind) {
    return g_textDatabase.GetText(GetExpenseKindKey(kind));
}

void CLedger::BookIncome(uint32_t kind, float amount) {
    if (kind >= INCOME_KINDS)
        return;
    thisMonthIncome[kind] += amount;
    thisYearIncome[kind] += amount;
}

void CLedger::BookExpense(uint32_t kind, float amount) {
    if (kind >= EXPENSE_KINDS)
        return;
    thisMonthExpense[kind] += amount;
    thisYearExpense[kind] += amount;
}

float CLedger::GetTotalIncome() const {
    return Sum(thisYearIncome);
}

float CLedger::GetTotalExpense() const {
    return Sum(thisYearExpense);
}

void CLedger::CloseMonth() {
    lastMonthExpense = thisMonthExpense;
    lastMonthExpenseTotal = Sum(lastMonthExpense);
    thisMonthExpense.fill(0.0f);
    lastMonthIncome = thisMonthIncome;
    lastMonthIncomeTotal = Sum(lastMonthIncome);
    thisMonthIncome.fill(0.0f);
}

void CLedger::CloseYear() {
    lastYearIncome = thisYearIncome;
    lastYearIncomeTotal = Sum(lastYearIncome);
    lastYearExpense = thisYearExpense;
    lastYearExpenseTotal = Sum(lastYearExpense);
    thisMonthIncome.fill(0.0f);
    thisMonthExpense.fill(0.0f);
    thisYearIncome.fill(0.0f);
    thisYearExpense.fill(0.0f);
}

int32_t CLedger::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END)
            break;
        if (result != FIELD_READ)
            return result;
        std::span<float> table;
        float* total = nullptr;
        switch (in.key.code) {
        case KW_INCOME:
            table = thisYearIncome;
            break;
        case KW_EXPENSE:
            table = thisYearExpense;
            break;
        case KW_THISMONTHINCOME:
            table = thisMonthIncome;
            break;
        case KW_THISMONTHEXPENSE:
            table = thisMonthExpense;
            break;
        case KW_LASTYEARINCOME:
            table = lastYearIncome;
            break;
        case KW_LASTYEAREXPENSE:
            table = lastYearExpense;
            break;
        case KW_LASTMONTHINCOME:
            total = &lastMonthIncomeTotal;
            break;
        case KW_LASTMONTHEXPENSE:
            total = &lastMonthExpenseTotal;
            break;
        default:
            break;
        }
        const bool isTable = !table.empty() && in.value.code == TOKEN_OPEN_BRACE;
        const bool isTotal = total && in.value.code == TOKEN_NUMBER;
        if (isTable) {
            if (ReadTable(in, table) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
        } else if (isTotal) {
            *total = TokenToFloat(in.value.text);
        } else {
            in.ReportError("Ledger : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
    }
    lastYearIncomeTotal = Sum(lastYearIncome);
    lastYearExpenseTotal = Sum(lastYearExpense);
    return FIELD_BLOCK_END;
}

CDataBlock* CLedger::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_INCOME, MakeTable(thisYearIncome)));
    block->AddChild(new CDataAssignment(KW_EXPENSE, MakeTable(thisYearExpense)));
    block->AddChild(new CDataAssignment(KW_THISMONTHINCOME, MakeTable(thisMonthIncome)));
    block->AddChild(new CDataAssignment(KW_THISMONTHEXPENSE, MakeTable(thisMonthExpense)));
    block->AddChild(new CDataAssignment(KW_LASTYEARINCOME, MakeTable(lastYearIncome)));
    block->AddChild(new CDataAssignment(KW_LASTYEAREXPENSE, MakeTable(lastYearExpense)));
    block->AddChild(new CDataAssignment(KW_LASTMONTHINCOME, new CFloatNode(lastMonthIncomeTotal)));
    block->AddChild(
        new CDataAssignment(KW_LASTMONTHEXPENSE, new CFloatNode(lastMonthExpenseTotal)));
    return block;
}
