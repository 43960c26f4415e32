#pragma once
// The country's accounts: income and expenses by kind for this month, last
// month, this year and last year, with the month's and the year's closing,
// and the "ledger" block of scenarios and saved games.
#include <array>
#include <cstdint>

#include "data/TokenFile.h"

class CDataBlock;

// Income kinds.
enum EIncomeKind : uint32_t {
    INCOME_TAX = 0,
    INCOME_TRADE = 1,
    INCOME_PRODUCTION = 2,
    INCOME_PRODUCTION_FACTORY = 3,
    INCOME_GOLD = 4,
    INCOME_LOAN = 5,
    INCOME_GIFT = 6,
    INCOME_PEACE = 7,
    INCOME_DTAX = 8,
    INCOME_EXPORT_DUTIES = 9,
    INCOME_HARBOUR_FEES = 10,
    INCOME_KINDS = 11,
};

// Expense kinds.
enum EExpenseKind : uint32_t {
    EXPENSE_ARMY_MAINTENANCE = 0,
    EXPENSE_FLEET_MAINTENANCE = 1,
    EXPENSE_ARMY = 2,
    EXPENSE_FLEET = 3,
    EXPENSE_FORT = 4,
    EXPENSE_COLONIST = 5,
    EXPENSE_TRADER = 6,
    EXPENSE_MERCHANT = 7,
    EXPENSE_RESEARCH = 8,
    EXPENSE_STABILITY = 9,
    EXPENSE_PE = 10,
    EXPENSE_MANUFACTORY = 11,
    EXPENSE_LOAN = 12,
    EXPENSE_INTEREST = 13,
    EXPENSE_GIFT = 14,
    EXPENSE_KINDS = 15,
};

// The text key of an income or expense kind ("INCOMETAX", "EXPENSEAM" ...);
// "NONE" for any other number.
const char* GetIncomeKindKey(uint32_t kind);
const char* GetExpenseKindKey(uint32_t kind);
// The same keys' texts in the loaded language.
const char* GetIncomeKindText(uint32_t kind);
const char* GetExpenseKindText(uint32_t kind);

class CLedger {
public:
    using IncomeTable = std::array<float, INCOME_KINDS>;
    using ExpenseTable = std::array<float, EXPENSE_KINDS>;

    virtual ~CLedger() = default;

    // This month's and this year's value of the kind grow by the amount; a
    // kind outside the table books nothing.
    void BookIncome(uint32_t kind, float amount);
    void BookExpense(uint32_t kind, float amount);

    // Sums of this year's values.
    float GetTotalIncome() const;
    float GetTotalExpense() const;

    // This month's values become last month's (with their totals) and are
    // cleared.
    void CloseMonth();
    // This year's values become last year's (with their totals); then this
    // month's and this year's values are cleared.
    void CloseYear();

    // The block after its "{" up to and including its "}": the six tables
    // and the two last-month totals in any order; at the "}" the last-year
    // totals are recomputed from the last-year tables. FIELD_BLOCK_END;
    // FIELD_ERROR after an unknown key ("Ledger : Unexpected field", the rest
    // of the block passed over); FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // "income", "expense", "thismonthincome", "thismonthexpense",
    // "lastyearincome", "lastyearexpense", "lastmonthincome",
    // "lastmonthexpense" (last month's per-kind tables are not saved).
    CDataBlock* Write() const;

    IncomeTable lastMonthIncome{};
    ExpenseTable lastMonthExpense{};
    IncomeTable thisMonthIncome{};
    ExpenseTable thisMonthExpense{};
    IncomeTable lastYearIncome{};
    ExpenseTable lastYearExpense{};
    IncomeTable thisYearIncome{};
    ExpenseTable thisYearExpense{};
    float lastYearIncomeTotal = 0.0f;
    float lastYearExpenseTotal = 0.0f;
    float lastMonthIncomeTotal = 0.0f;
    float lastMonthExpenseTotal = 0.0f;
};
