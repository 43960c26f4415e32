// The ledger's bookings and its block, loans with their interest, reminder
// and block, and the price of a new loan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "country/Country.h"
#include "country/Ledger.h"
#include "country/Loan.h"
#include "data/Keywords.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "tests/country/EconomyFixture.h"

namespace {

using LedgerTest = test::EconomyTest;

TEST_F(LedgerTest, IncomeOfEachKindGoesToTheMonthsIncomeOrTheTreasury) {
    struct Case {
        uint32_t kind;
        bool ordinary; // into this month's running income, else the treasury
    };
    const Case cases[] = {{0, true},  {1, true},  {4, true}, {5, false}, {6, false},
                          {7, false}, {8, false}, {9, true}, {10, true}};
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(1);
        country.m_treasury = 50.0f;
        country.m_income = 10.0f;
        country.BookLedgerEntry(c.kind, 4.0f);
        EXPECT_FLOAT_EQ(country.m_income, c.ordinary ? 14.0f : 10.0f) << c.kind;
        EXPECT_FLOAT_EQ(country.m_treasury, c.ordinary ? 50.0f : 54.0f) << c.kind;
        EXPECT_FLOAT_EQ(country.m_ledger.thisMonthIncome[c.kind], 4.0f) << c.kind;
        EXPECT_FLOAT_EQ(country.m_ledger.thisYearIncome[c.kind], 4.0f) << c.kind;
        EXPECT_FLOAT_EQ(country.m_ledger.GetTotalIncome(), 4.0f) << c.kind;
    }
}

TEST_F(LedgerTest, MaintenanceTakesWhatTheTreasuryLacksFromTheMonthsIncome) {
    struct Case {
        uint32_t kind;
        float treasury, income, amount;
        float treasuryAfter, incomeAfter;
    };
    const Case cases[] = {
        {0, 10.0f, 30.0f, 25.0f, 0.0f, 15.0f},   // 15 short: from the income, 10 paid
        {1, 10.0f, 5.0f, 25.0f, -10.0f, 0.0f},   // the income covers only 5
        {0, 40.0f, 30.0f, 25.0f, 15.0f, 30.0f},  // enough in the treasury
        {2, 10.0f, 30.0f, 25.0f, -15.0f, 30.0f}, // other kinds: the treasury alone
        {13, 0.0f, 30.0f, 10.0f, -10.0f, 30.0f},
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(1);
        country.m_treasury = c.treasury;
        country.m_income = c.income;
        country.SpendMoney(c.kind, c.amount);
        EXPECT_FLOAT_EQ(country.m_treasury, c.treasuryAfter) << c.kind << " " << c.amount;
        EXPECT_FLOAT_EQ(country.m_income, c.incomeAfter) << c.kind << " " << c.amount;
        EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[c.kind], c.amount);
        EXPECT_FLOAT_EQ(country.m_ledger.GetTotalExpense(), c.amount);
    }
}

TEST_F(LedgerTest, ClosingTheMonthAndTheYearMovesTheTables) {
    CLedger ledger;
    ledger.BookIncome(INCOME_TAX, 10.0f);
    ledger.BookIncome(INCOME_GOLD, 5.0f);
    ledger.BookExpense(EXPENSE_INTEREST, 3.0f);
    ledger.BookIncome(INCOME_KINDS, 99.0f);   // no such kind
    ledger.BookExpense(EXPENSE_KINDS, 99.0f); // no such kind
    ledger.CloseMonth();
    EXPECT_FLOAT_EQ(ledger.lastMonthIncomeTotal, 15.0f);
    EXPECT_FLOAT_EQ(ledger.lastMonthExpenseTotal, 3.0f);
    EXPECT_FLOAT_EQ(ledger.lastMonthIncome[INCOME_GOLD], 5.0f);
    EXPECT_FLOAT_EQ(ledger.thisMonthIncome[INCOME_TAX], 0.0f);
    EXPECT_FLOAT_EQ(ledger.thisYearIncome[INCOME_TAX], 10.0f);

    ledger.BookIncome(INCOME_TAX, 2.0f);
    ledger.CloseYear();
    EXPECT_FLOAT_EQ(ledger.lastYearIncomeTotal, 17.0f);
    EXPECT_FLOAT_EQ(ledger.lastYearExpenseTotal, 3.0f);
    EXPECT_FLOAT_EQ(ledger.lastYearIncome[INCOME_TAX], 12.0f);
    EXPECT_FLOAT_EQ(ledger.GetTotalIncome(), 0.0f);
    EXPECT_FLOAT_EQ(ledger.thisMonthIncome[INCOME_TAX], 0.0f);
    // Last month's figures stay until the next month closes.
    EXPECT_FLOAT_EQ(ledger.lastMonthIncomeTotal, 15.0f);
}

TEST_F(LedgerTest, KindKeysAndNone) {
    EXPECT_STREQ(GetIncomeKindKey(0), "INCOMETAX");
    EXPECT_STREQ(GetIncomeKindKey(10), "INCOMEHARBORFEES");
    EXPECT_STREQ(GetIncomeKindKey(11), "NONE");
    EXPECT_STREQ(GetExpenseKindKey(13), "EXPENSEINTEREST");
    EXPECT_STREQ(GetExpenseKindKey(14), "EXPENSEGIFT");
    EXPECT_STREQ(GetExpenseKindKey(15), "NONE");
}

TEST_F(LedgerTest, TheBlockRoundTripsAndLastMonthsKindsAreNotSaved) {
    CLedger ledger;
    ledger.BookIncome(INCOME_TRADE, 7.5f);
    ledger.BookExpense(EXPENSE_FORT, 2.25f);
    ledger.CloseMonth();
    ledger.BookIncome(INCOME_TAX, 1.5f);
    ledger.lastYearIncome[INCOME_GIFT] = 4.0f;
    ledger.lastYearExpense[EXPENSE_GIFT] = 6.0f;
    const std::string first = Print(KW_LEDGER, ledger.Write());

    CLedger again;
    reader.Close();
    OpenBlock(first);
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(again.thisYearIncome[INCOME_TRADE], 7.5f);
    EXPECT_FLOAT_EQ(again.thisMonthIncome[INCOME_TAX], 1.5f);
    EXPECT_FLOAT_EQ(again.lastMonthIncomeTotal, 7.5f);
    EXPECT_FLOAT_EQ(again.lastMonthExpenseTotal, 2.25f);
    EXPECT_FLOAT_EQ(again.lastMonthIncome[INCOME_TRADE], 0.0f); // not saved
    EXPECT_FLOAT_EQ(again.lastYearIncomeTotal, 4.0f);           // recomputed
    EXPECT_FLOAT_EQ(again.lastYearExpenseTotal, 6.0f);
    EXPECT_EQ(Print(KW_LEDGER, again.Write()), first);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(LedgerTest, BadTablesAreReportedAndKeepWhatWasRead) {
    struct Case {
        const char* block;
        int32_t result;
        const char* message;
        float firstTax, lastValue; // income[0], income[10]
    };
    const Case cases[] = {
        {"ledger = { income = { 1 2 3 4 5 6 7 8 9 10 11 12 } expense = { 3 } }", FIELD_BLOCK_END,
         "Too many values for ledger-table", 1.0f, 11.0f},
        {"ledger = { income = { 1, 2, yes 4 } expense = { 3 } }", FIELD_BLOCK_END,
         "ledger-table: Unexpected field", 1.0f, 0.0f},
        {"ledger = { income = { 5 } month = 3 }", FIELD_ERROR, "Ledger : Unexpected field", 5.0f,
         0.0f},
        {"ledger = { income = 5 }", FIELD_ERROR, "Ledger : Unexpected field", 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        boxes.texts.clear();
        CLedger ledger;
        EXPECT_EQ(ReadBlock(ledger, std::string(c.block) + " after = 1\n"), c.result) << c.block;
        EXPECT_TRUE(BoxShown(c.message)) << c.block;
        EXPECT_FLOAT_EQ(ledger.thisYearIncome[0], c.firstTax) << c.block;
        EXPECT_FLOAT_EQ(ledger.thisYearIncome[10], c.lastValue) << c.block;
        // The whole block was taken: the field after it comes next.
        ASSERT_EQ(reader.ReadField(), FIELD_READ) << c.block;
        EXPECT_STREQ(reader.key.text, "after") << c.block;
    }
}

// ---------------------------------------------------------------------------
// Loans

// A country that records the messages no handler takes.
class RecordingCountry : public CCountry {
public:
    using CCountry::CCountry;
    int OnUnhandledMessage(COVEvent& event) override {
        received.push_back(event.GetType());
        return EVENT_CONSUMED;
    }
    std::vector<uint32_t> received;
};

class LoanTest : public test::EconomyTest {
protected:
    RecordingCountry& MakeRecording(uint32_t number) {
        auto country = std::make_unique<RecordingCountry>(number);
        RecordingCountry* made = country.get();
        AddCountry(std::move(country));
        return *made;
    }

    static std::unique_ptr<COVEvent> Month() {
        return std::make_unique<COVSimpleEvent>(EVT_TIMER_MONTH, g_broadcastId);
    }
};

TEST_F(LoanTest, TheMonthChargesInterestAndACountryLenderEarnsIt) {
    struct Case {
        ObjectId lender;
        int32_t amount, interest;
        float charge;
        bool lenderEarns;
    };
    const Case cases[] = {{ObjectId(3, 2), 1000, 12, 10.0f, true},
                          {g_bankId, 1000, 12, 10.0f, false},
                          {ObjectId(3, 2), 600, 5, 2.5f, true}};
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& borrower = Make(1);
        CCountry& lender = Make(2);
        borrower.m_treasury = 100.0f;
        CLoan loan(borrower.GetId());
        loan.lender = c.lender;
        loan.amount = c.amount;
        loan.interest = c.interest;
        loan.expiryDate = CDate(0, 0, 1700);
        auto month = Month();
        loan.HandleMessage(*month);
        EXPECT_FLOAT_EQ(borrower.m_treasury, 100.0f - c.charge) << c.amount;
        EXPECT_FLOAT_EQ(borrower.m_ledger.thisMonthExpense[EXPENSE_INTEREST], c.charge);
        EXPECT_FLOAT_EQ(lender.m_treasury, c.lenderEarns ? c.charge : 0.0f);
        EXPECT_FLOAT_EQ(lender.m_ledger.thisMonthIncome[INCOME_LOAN],
                        c.lenderEarns ? c.charge : 0.0f);
    }
}

TEST_F(LoanTest, TheReminderGoesOutOnceOnOrAfterTheExpiryDate) {
    RecordingCountry& borrower = MakeRecording(1);
    Make(2);
    CLoan loan(borrower.GetId());
    loan.SetId(ObjectId(4712, 30));
    loan.lender = ObjectId(3, 2);
    loan.amount = 100;
    loan.interest = 6;
    loan.expiryDate = kToday;
    loan.expiryDate.AddDays(1);
    auto month = Month();
    loan.HandleMessage(*month); // the day before
    EXPECT_TRUE(borrower.received.empty());

    g_gameTimer->currentDate = loan.expiryDate;
    for (int i = 0; i < 3; ++i) {
        auto again = Month();
        loan.HandleMessage(*again);
    }
    EXPECT_EQ(borrower.received, std::vector<uint32_t>{EVT_ASKEXTENDLOAN});
    EXPECT_TRUE(loan.reminderSent);
}

TEST_F(LoanTest, TheBlockRoundTripsForTheBankAndForACountry) {
    for (const char* text :
         {"loan = { id = { type = 4712 id = 7 } tag = bank interest = 8 amount = 500 "
          "expirydate = { year = 1610 month = march day = 2 } }",
          "loan = { id = { type = 4712 id = 8 } tag = FRA interest = 1000 amount = 1 "
          "expirydate = { year = 1605 } }"}) {
        CLoan loan(ObjectId(3, 1));
        ASSERT_EQ(ReadBlock(loan, text), FIELD_BLOCK_END) << text;
        EXPECT_TRUE(loan.IsValid()) << text;
        EXPECT_EQ(FindObjectById(loan.GetId()), &loan) << text;
        const std::string first = Print(KW_LOAN, loan.Write());
        CLoan again(ObjectId(3, 1));
        reader.Close();
        OpenBlock(first);
        ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
        EXPECT_EQ(again.lender, loan.lender);
        EXPECT_EQ(again.expiryDate, loan.expiryDate);
        EXPECT_EQ(Print(KW_LOAN, again.Write()), first);
    }
    EXPECT_TRUE(boxes.texts.empty());
}

// A loan that breaks its rules used to be kept after the report; its
// interest was then booked for country 0. It is dropped now.
TEST_F(LoanTest, ABrokenLoanIsReportedAndDropped) {
    struct Case {
        const char* loan;
        const char* message;
    };
    const Case cases[] = {
        {"loan = { tag = FRA amount = 0 interest = 5 }", "amount cant be below 1 $"},
        {"loan = { tag = bank amount = 100 interest = 2000 }", "interest cant be below 1"},
        {"loan = { tag = bank amount = 100 interest = 0 }", "interest cant be below 1"},
        {"loan = { amount = 100 interest = 5 }", "Must specify an owner of a loan"},
        {"loan = { tag = XYZ amount = 100 interest = 5 }", "Must specify an owner of a loan"},
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        boxes.texts.clear();
        CCountry& country = Make(1);
        Make(2);
        country.m_treasury = 100.0f;
        EXPECT_EQ(Read(country, std::string(c.loan) + " badboy = 3 }"), FIELD_BLOCK_END) << c.loan;
        EXPECT_TRUE(BoxShown(c.message)) << c.loan;
        EXPECT_TRUE(country.m_loans.empty()) << c.loan;
        EXPECT_EQ(country.m_badBoy, 3) << c.loan; // the country block goes on
    }
    // A sound loan in the same block is kept.
    DeleteAllCountries();
    CCountry& country = Make(1);
    ASSERT_EQ(Read(country, "loan = { tag = bank amount = 100 interest = 5 } }"), FIELD_BLOCK_END);
    EXPECT_EQ(country.m_loans.size(), 1u);
    EXPECT_EQ(country.CountLoans(), 1);
}

TEST_F(LoanTest, TheInterestOfANewLoanFollowsTheCountrysStanding) {
    struct Case {
        uint32_t number;
        int32_t stability, cancelled, extended, bankLoans;
        float treasury;
        CDate bankruptcy;
        bool stock;
        int32_t interest;
    };
    const CDate longAgo(0, 0, 1500);
    const CDate recent(0, 0, 1597); // five years end in 1602
    const Case cases[] = {
        {2, 3, 0, 0, 0, 0.0f, longAgo, false, 7},     // 10 - 3
        {2, -3, 1, 1, 2, 0.0f, longAgo, false, 23},   // 13 + 3 + 3 + 4
        {2, 0, 0, 0, 0, 1000.5f, longAgo, false, 9},  // 10 - trunc(1000.5) x 0.001
        {1, 3, 0, 0, 0, 0.0f, longAgo, false, 5},     // ENG: 7 - 3 = 4, at least 5
        {4, 0, 0, 0, 0, 0.0f, longAgo, false, 7},     // HOL
        {2, 0, 0, 0, 0, 0.0f, recent, false, 35},     // bankrupt within five years
        {2, 0, 0, 0, 0, 0.0f, recent, true, 17},      // halved
        {2, 3, 0, 0, 0, 50000.0f, longAgo, false, 5}, // rich: at least 5
        {2, 3, 0, 0, 0, 50000.0f, longAgo, true, 2},  // at least 5, then halved
        {2, 0, 0, 0, 0, 1.0e25f, longAgo, false, 5},  // beyond any treasury: held
        {2, 0, 0, 0, 0, -1.0e25f, longAgo, false, 1000000},
    };
    for (const Case& c : cases) {
        DeleteAllCountries();
        CCountry& country = Make(c.number);
        country.m_technology.stability.SetLevel(c.stability);
        country.m_cancelledLoans = c.cancelled;
        country.m_extendedLoans = c.extended;
        country.m_treasury = c.treasury;
        country.m_lastBankruptcy = c.bankruptcy;
        country.m_stock = c.stock ? 1 : 0;
        for (int32_t i = 0; i < c.bankLoans; ++i) {
            country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
            country.m_loans.back()->lender = g_bankId;
        }
        // A loan from a country does not count.
        country.m_loans.push_back(std::make_unique<CLoan>(country.GetId()));
        country.m_loans.back()->lender = ObjectId(3, 3);
        EXPECT_EQ(country.GetLoanInterest(), c.interest)
            << c.number << " stability " << c.stability << " treasury " << c.treasury;
    }
}

} // namespace
