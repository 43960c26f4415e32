// The country's money, loan, stability, trade-refusal, relation and
// economy-flag handlers, driven through the country's message dispatch on
// the host: what each does to the country and the other countries, the
// notices it posts, and the messages with a bad loan, lender, country or
// kind that are dropped without a change.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/Loan.h"
#include "country/RelationTexts.h"
#include "country/Relations.h"
#include "engine/Date.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "tests/country/EconomyFixture.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Province.h"

namespace {

constexpr int32_t kAutoLoan = 12;
constexpr int32_t kManualLoan = 13;
constexpr int32_t kStabilityDrop = 16;
constexpr int32_t kStabilityRise = 17;
constexpr int32_t kTradeRefused = 29;
constexpr int32_t kOwnTradeRefusal = 31;
constexpr int32_t kLoanRepaid = 44;
constexpr int32_t kLoanDefaulted = 45;

std::vector<GameNotice> g_posted;

class MoneyHandlersTest : public test::EconomyTest {
protected:
    void SetUp() override {
        EconomyTest::SetUp();
        for (auto& row : g_diplomaticMatrix)
            row.fill(0.0f);
        m_notices = g_gameNotices;
        g_gameNotices.post = [](const GameNotice& notice) { g_posted.push_back(notice); };
        g_posted.clear();
    }
    void TearDown() override {
        g_gameNotices = m_notices;
        EconomyTest::TearDown();
    }

    static float RelationOf(uint32_t a, uint32_t b) {
        return CountryOfNumber(a)->m_diplomacy.GetRelation(b)->GetValue();
    }
    static std::unique_ptr<COVDataEvent> DataTo(const CCountry& country, uint32_t type) {
        return std::make_unique<COVDataEvent>(type, country.GetId());
    }
    // A loan message to the borrower; lender {0, 0} is the bank.
    static int Loan(CCountry& borrower, uint32_t type, const ObjectId& loan,
                    const ObjectId& lender = g_nullId, uint32_t amount = 100,
                    uint32_t interest = 10) {
        CLoanEvent event(type, borrower.GetId(), lender, amount, interest, CDate(1, 1, 1500),
                         borrower.GetNumber());
        event.Payload().Set(CLoanEvent::kLoan, loan);
        return borrower.HandleMessage(event);
    }
    static std::vector<int32_t> PostedKinds() {
        std::vector<int32_t> kinds;
        for (const GameNotice& notice : g_posted)
            kinds.push_back(notice.type);
        return kinds;
    }

    GameNoticeHooks m_notices;
};

const ObjectId kLoanA{20, 1};
const ObjectId kLoanB{20, 2};
const ObjectId kLoanC{20, 3};

TEST_F(MoneyHandlersTest, BankLoanPaysOutRaisesInflationAndIsAnnouncedByTheTreasuryLeft) {
    struct Case {
        float treasury;
        uint32_t amount;
        int32_t notice;
    };
    for (const Case& c : {Case{-150.0f, 100, kAutoLoan}, Case{-99.5f, 100, kAutoLoan},
                          Case{-99.0f, 100, kManualLoan}, Case{0.0f, 100, kManualLoan}}) {
        CCountry& country = Make(3);
        g_countryController[3] = 1;
        country.m_treasury = c.treasury;
        g_posted.clear();
        EXPECT_EQ(Loan(country, EVT_EXEC_GETLOAN, kLoanA, g_nullId, c.amount), EVENT_CONSUMED);
        ASSERT_EQ(country.m_loans.size(), 1u);
        const CLoan& loan = *country.m_loans[0];
        EXPECT_EQ(loan.GetId(), kLoanA);
        EXPECT_TRUE(loan.IsBankLoan());
        EXPECT_EQ(loan.amount, 100);
        EXPECT_EQ(loan.interest, 10);
        EXPECT_EQ(loan.expiryDate, CDate(1, 1, 1500));
        EXPECT_FLOAT_EQ(country.m_treasury, c.treasury + 100.0f);
        EXPECT_FLOAT_EQ(country.m_inflation, 0.01f);
        EXPECT_EQ(PostedKinds(), std::vector<int32_t>{c.notice}) << c.treasury;
        DeleteAllCountries();
    }
}

TEST_F(MoneyHandlersTest, LoanFromACountryAddsNoInflationAndBadLoansAreDropped) {
    CCountry& country = Make(3);
    Make(5);
    EXPECT_EQ(Loan(country, EVT_EXEC_GETLOAN, kLoanA, MakeCountryId(5)), EVENT_CONSUMED);
    ASSERT_EQ(country.m_loans.size(), 1u);
    EXPECT_EQ(country.m_loans[0]->lender, MakeCountryId(5));
    EXPECT_FLOAT_EQ(country.m_inflation, 0.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 100.0f);

    struct Bad {
        const char* what;
        ObjectId loan;
        ObjectId lender;
        uint32_t amount;
        uint32_t interest;
    };
    for (const Bad& bad :
         {Bad{"lender without a country", kLoanB, MakeCountryId(77), 100, 10},
          Bad{"itself as lender", kLoanB, MakeCountryId(3), 100, 10},
          Bad{"lender not a country", kLoanB, ObjectId{9, 5}, 100, 10},
          Bad{"id already held", kLoanA, g_nullId, 100, 10},
          Bad{"null id", g_nullId, g_nullId, 100, 10}, Bad{"no amount", kLoanB, g_nullId, 0, 10},
          Bad{"interest too high", kLoanB, g_nullId, 100, 1001}}) {
        EXPECT_EQ(Loan(country, EVT_EXEC_GETLOAN, bad.loan, bad.lender, bad.amount, bad.interest),
                  EVENT_CONSUMED);
        EXPECT_EQ(country.m_loans.size(), 1u) << bad.what;
        EXPECT_FLOAT_EQ(country.m_treasury, 100.0f) << bad.what;
        EXPECT_FLOAT_EQ(country.m_inflation, 0.0f) << bad.what;
    }
}

TEST_F(MoneyHandlersTest, RepaidLoanIsChargedAndTheLendingCountryPaidAndTold) {
    CCountry& country = Make(3);
    CCountry& lender = Make(5);
    g_countryController[5] = 1;
    Loan(country, EVT_EXEC_GETLOAN, kLoanA, MakeCountryId(5), 120);
    Loan(country, EVT_EXEC_GETLOAN, kLoanB, g_nullId, 40);
    g_posted.clear();

    Loan(country, EVT_EXEC_PAYLOAN, kLoanA);
    ASSERT_EQ(country.m_loans.size(), 1u);
    EXPECT_EQ(country.m_loans[0]->GetId(), kLoanB);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_LOAN], 120.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 40.0f);
    EXPECT_FLOAT_EQ(lender.m_ledger.thisMonthIncome[INCOME_LOAN], 120.0f);
    EXPECT_FLOAT_EQ(lender.m_treasury, 120.0f);
    ASSERT_EQ(g_posted.size(), 1u);
    EXPECT_EQ(g_posted[0].type, kLoanRepaid);
    EXPECT_EQ(g_posted[0].country, 5u);
    ASSERT_GE(g_posted[0].values.size(), 2u);
    EXPECT_EQ(g_posted[0].values[1].text, "120");

    // The bank is paid by nobody's ledger.
    Loan(country, EVT_EXEC_PAYLOAN, kLoanB);
    EXPECT_TRUE(country.m_loans.empty());
    EXPECT_FLOAT_EQ(lender.m_ledger.thisMonthIncome[INCOME_LOAN], 120.0f);
}

TEST_F(MoneyHandlersTest, DefaultOnACountryLoanGivesTheLenderACasusBelliAndCostsRelations) {
    CCountry& country = Make(3);
    CCountry& lender = Make(5);
    g_countryController[5] = 1;
    country.SetStability(1);
    Loan(country, EVT_EXEC_GETLOAN, kLoanA, MakeCountryId(5));
    ChangeRelationMutual(3, 5, 40.0f);

    Loan(country, EVT_EXEC_CANCELLOAN, kLoanA);
    EXPECT_TRUE(country.m_loans.empty());
    EXPECT_EQ(country.m_cancelledLoans, 1);
    EXPECT_EQ(country.GetStability(), 0.0);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), 15.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), 15.0f);
    const auto& claims = lender.m_diplomacy.GetRelation(3)->casusBelli;
    ASSERT_EQ(claims.size(), 1u);
    CDate inAYear = GetGameDate();
    inAYear.AddYears(1);
    EXPECT_EQ(claims[0].expiry, inAYear);
    EXPECT_EQ(claims[0].temporary, 1);
    ASSERT_EQ(g_posted.size(), 1u);
    EXPECT_EQ(g_posted[0].type, kLoanDefaulted);
    EXPECT_EQ(g_posted[0].country, 5u);
}

TEST_F(MoneyHandlersTest, DefaultOnABankLoanCostsStabilityOnly) {
    CCountry& country = Make(3);
    CCountry& other = Make(5);
    country.SetStability(-3);
    Loan(country, EVT_EXEC_GETLOAN, kLoanA);
    Loan(country, EVT_EXEC_CANCELLOAN, kLoanA);
    EXPECT_TRUE(country.m_loans.empty());
    EXPECT_EQ(country.m_cancelledLoans, 1);
    EXPECT_EQ(country.GetStability(), -3.0); // held at the bottom
    EXPECT_FLOAT_EQ(RelationOf(3, 5), 0.0f);
    EXPECT_TRUE(other.m_diplomacy.GetRelation(3)->casusBelli.empty());
}

TEST_F(MoneyHandlersTest, ExtendingOneLoanRaisesTheInterestOfEveryBankLoan) {
    CCountry& country = Make(3);
    Make(5);
    Loan(country, EVT_EXEC_GETLOAN, kLoanA, g_nullId, 100, 10);
    Loan(country, EVT_EXEC_GETLOAN, kLoanB, g_nullId, 100, 20);
    Loan(country, EVT_EXEC_GETLOAN, kLoanC, MakeCountryId(5), 100, 7);
    country.m_loans[0]->reminderSent = true;

    Loan(country, EVT_EXEC_EXTENDLOAN, kLoanA);
    EXPECT_EQ(country.m_loans[0]->expiryDate, CDate(1, 1, 1505));
    EXPECT_FALSE(country.m_loans[0]->reminderSent);
    EXPECT_EQ(country.m_loans[1]->expiryDate, CDate(1, 1, 1500));
    EXPECT_EQ(country.m_loans[0]->interest, 13);
    EXPECT_EQ(country.m_loans[1]->interest, 23);
    EXPECT_EQ(country.m_loans[2]->interest, 7);
}

TEST_F(MoneyHandlersTest, LoanMessagesNamingNoLoanChangeNothing) {
    CCountry& country = Make(3);
    country.SetStability(1);
    Loan(country, EVT_EXEC_GETLOAN, kLoanA);
    const float treasury = country.m_treasury;
    for (uint32_t type : {EVT_EXEC_PAYLOAN, EVT_EXEC_CANCELLOAN, EVT_EXEC_EXTENDLOAN}) {
        EXPECT_EQ(Loan(country, type, kLoanB), EVENT_CONSUMED);
        ASSERT_EQ(country.m_loans.size(), 1u) << type;
        EXPECT_EQ(country.m_loans[0]->interest, 10) << type;
        EXPECT_EQ(country.m_loans[0]->expiryDate, CDate(1, 1, 1500)) << type;
    }
    EXPECT_FLOAT_EQ(country.m_treasury, treasury);
    EXPECT_EQ(country.GetStability(), 1.0);
    EXPECT_EQ(country.m_cancelledLoans, 0);
}

TEST_F(MoneyHandlersTest, MoneyMessagesBookTheirKindAndDropAKindOutsideTheTable) {
    CCountry& country = Make(3);
    auto gain = DataTo(country, EVT_GAINMONEY);
    gain->Payload().Set(MoneyPayload::kAmount, 30.0f);
    gain->Payload().Set(MoneyPayload::kKind, uint32_t{INCOME_GIFT});
    country.HandleMessage(*gain);
    auto lose = DataTo(country, EVT_LOSEMONEY);
    lose->Payload().Set(MoneyPayload::kAmount, 12.0f);
    lose->Payload().Set(MoneyPayload::kKind, uint32_t{EXPENSE_GIFT});
    country.HandleMessage(*lose);
    EXPECT_FLOAT_EQ(country.m_treasury, 18.0f);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthIncome[INCOME_GIFT], 30.0f);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_GIFT], 12.0f);

    gain->Payload().Set(MoneyPayload::kKind, uint32_t{INCOME_KINDS});
    lose->Payload().Set(MoneyPayload::kKind, uint32_t{0xFFFFFFFF});
    EXPECT_EQ(country.HandleMessage(*gain), EVENT_CONSUMED);
    EXPECT_EQ(country.HandleMessage(*lose), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_treasury, 18.0f);
}

TEST_F(MoneyHandlersTest, StabilityMessagesMoveOneLevelWithinTheRangeAndTellThePlayer) {
    CCountry& country = Make(3);
    g_countryController[3] = 1;
    country.SetStability(2);
    COVSimpleEvent up(EVT_INCREASE_STABILITY, country.GetId());
    COVSimpleEvent down(EVT_DECREASE_STABILITY, country.GetId());
    country.HandleMessage(up);
    EXPECT_EQ(country.GetStability(), 3.0);
    country.HandleMessage(up);
    EXPECT_EQ(country.GetStability(), 3.0);
    country.HandleMessage(down);
    EXPECT_EQ(country.GetStability(), 2.0);
    EXPECT_EQ(PostedKinds(),
              (std::vector<int32_t>{kStabilityRise, kStabilityRise, kStabilityDrop}));

    COVSimpleEvent taxes(EVT_EXCEPTIONAL_TAXES, country.GetId());
    country.HandleMessage(taxes);
    EXPECT_EQ(country.m_warTaxMonths, 6);
    EXPECT_EQ(country.GetStability(), 1.0);
}

TEST_F(MoneyHandlersTest, RefusingTradeCostsRelationsWithTheOtherAndItsFellowBelievers) {
    CCountry& country = Make(3);
    CCountry& other = Make(5);
    CCountry& sameFaith = Make(6);
    CCountry& counterReformed = Make(7);
    CCountry& otherFaith = Make(8);
    g_countryController[5] = 1;
    other.m_religion.stateReligion = 3;           // catholic
    sameFaith.m_religion.stateReligion = 3;       // catholic
    counterReformed.m_religion.stateReligion = 2; // counts as catholic
    otherFaith.m_religion.stateReligion = 0;      // protestant
    country.m_religion.stateReligion = 3;
    country.SetStability(1);

    auto refuse = DataTo(country, EVT_EXEC_REFUSETRADE);
    refuse->Payload().Set(TradeRefusalPayload::kCountry, 3u);
    refuse->Payload().Set(TradeRefusalPayload::kOther, 5u);
    country.HandleMessage(*refuse);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), -25.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), -25.0f);
    EXPECT_FLOAT_EQ(RelationOf(3, 6), -10.0f);
    EXPECT_FLOAT_EQ(RelationOf(6, 3), -10.0f);
    EXPECT_FLOAT_EQ(RelationOf(3, 7), -10.0f);
    EXPECT_FLOAT_EQ(RelationOf(3, 8), 0.0f);
    EXPECT_TRUE(country.m_diplomacy.RefusesTradeWith(5));
    EXPECT_EQ(country.GetStability(), 0.0);
    ASSERT_EQ(g_posted.size(), 1u);
    EXPECT_EQ(g_posted[0].type, kTradeRefused);
    EXPECT_EQ(g_posted[0].country, 5u);

    auto allow = DataTo(country, EVT_EXEC_UNREFUSETRADE);
    allow->Payload().Set(TradeRefusalPayload::kCountry, 3u);
    allow->Payload().Set(TradeRefusalPayload::kOther, 5u);
    country.HandleMessage(*allow);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), -10.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), -10.0f);
    EXPECT_FALSE(country.m_diplomacy.RefusesTradeWith(5));
}

TEST_F(MoneyHandlersTest, OwnRefusalIsToldToItsPlayerAndAtWarKeepsStability) {
    CCountry& country = Make(3);
    Make(5);
    g_countryController[3] = 1;
    country.SetStability(1);
    country.m_diplomacy.GetRelation(5)->atWar = 1;
    auto refuse = DataTo(country, EVT_EXEC_REFUSETRADE);
    refuse->Payload().Set(TradeRefusalPayload::kOther, 5u);
    country.HandleMessage(*refuse);
    EXPECT_EQ(country.GetStability(), 1.0);
    EXPECT_EQ(PostedKinds(), std::vector<int32_t>{kOwnTradeRefusal});
}

TEST_F(MoneyHandlersTest, MessagesNamingNoOtherCountryAreDropped) {
    CCountry& country = Make(3);
    country.SetStability(1);
    for (uint32_t other : {3u, 4u, 99u, 0xFFFFFFFFu}) {
        auto refuse = DataTo(country, EVT_EXEC_REFUSETRADE);
        refuse->Payload().Set(TradeRefusalPayload::kOther, other);
        EXPECT_EQ(country.HandleMessage(*refuse), EVENT_CONSUMED);
        auto gift = DataTo(country, EVT_SENDGIFT);
        gift->Payload().Set(GiftPayload::kAmount, 100.0f);
        gift->Payload().Set(GiftPayload::kGiver, other);
        country.HandleMessage(*gift);
        auto relation = DataTo(country, EVT_EXEC_RELATION);
        relation->Payload().Set(ExecRelationPayload::kAmount, 10.0f);
        relation->Payload().Set(ExecRelationPayload::kOther, other);
        country.HandleMessage(*relation);
        auto sendDate = std::make_unique<COVSendDateEvent>(EVT_SET_SEND_DATE, country.GetId(),
                                                           other, CDate(1, 1, 1600));
        country.HandleMessage(*sendDate);
    }
    EXPECT_EQ(country.GetStability(), 1.0);
    EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
    EXPECT_FALSE(country.m_diplomacy.RefusesTradeWith(3));
    EXPECT_EQ(country.m_diplomaticDates[3], CDate(1, 1, 1600));
}

TEST_F(MoneyHandlersTest, GiftRaisesBothRelationsByItsShareOfLastMonthsIncome) {
    struct Case {
        float income;
        float change;
    };
    for (const Case& c : {Case{20.0f, 2.0f}, Case{50.0f, 2.0f}, Case{400.0f, 0.25f}}) {
        CCountry& country = Make(3);
        Make(5);
        country.m_ledger.lastMonthIncomeTotal = c.income;
        auto gift = DataTo(country, EVT_SENDGIFT);
        gift->Payload().Set(GiftPayload::kAmount, 100.0f);
        gift->Payload().Set(GiftPayload::kGiver, 5u);
        country.HandleMessage(*gift);
        EXPECT_FLOAT_EQ(RelationOf(3, 5), c.change) << c.income;
        EXPECT_FLOAT_EQ(RelationOf(5, 3), c.change) << c.income;
        EXPECT_FLOAT_EQ(country.m_ledger.thisMonthIncome[INCOME_GIFT], 100.0f);
        EXPECT_FLOAT_EQ(country.m_treasury, 100.0f);
        DeleteAllCountries();
    }
}

TEST_F(MoneyHandlersTest, RelationChangePaysTheGiftAndSetsBothRelationsHeldInRange) {
    CCountry& country = Make(3);
    CCountry& other = Make(5);
    g_countryController[3] = 1;
    ChangeRelationMutual(3, 5, 180.0f);
    auto relation = DataTo(country, EVT_EXEC_RELATION);
    relation->Payload().Set(ExecRelationPayload::kChange, 50.0f);
    relation->Payload().Set(ExecRelationPayload::kAmount, 30.0f);
    relation->Payload().Set(ExecRelationPayload::kKind, 25u);
    relation->Payload().Set(ExecRelationPayload::kCountry, 3u);
    relation->Payload().Set(ExecRelationPayload::kOther, 5u);
    country.HandleMessage(*relation);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), 200.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), 200.0f);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthExpense[EXPENSE_GIFT], 30.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, -30.0f);
    EXPECT_FLOAT_EQ(other.m_ledger.thisMonthIncome[INCOME_GIFT], 30.0f);
    EXPECT_FLOAT_EQ(other.m_treasury, 30.0f);
    ASSERT_EQ(g_posted.size(), 1u);
    EXPECT_EQ(g_posted[0].type, 95);
    EXPECT_EQ(g_posted[0].values.size(), 5u);

    // No money and no notice for an amount of -1 or less.
    relation->Payload().Set(ExecRelationPayload::kChange, -300.0f);
    relation->Payload().Set(ExecRelationPayload::kAmount, -1.0f);
    country.HandleMessage(*relation);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), -100.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), -100.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, -30.0f);
    EXPECT_EQ(g_posted.size(), 1u);
}

TEST_F(MoneyHandlersTest, RelationNoticeTextsFollowTheirBounds) {
    struct Change {
        float delta;
        const char* text;
    };
    for (const Change& c : {Change{-102.0f, "RELCH_DEC_5"}, Change{-101.0f, "RELCH_DEC_4"},
                            Change{-26.0f, "RELCH_DEC_2"}, Change{-0.5f, "RELCH_DEC_1"},
                            Change{0.0f, "RELCH_INC_1"}, Change{24.9f, "RELCH_INC_2"},
                            Change{25.0f, "RELCH_INC_3"}, Change{101.0f, "RELCH_INC_5"}})
        EXPECT_STREQ(RelationChangeText(c.delta), c.text) << c.delta;
    struct Level {
        float relation;
        const char* text;
    };
    for (const Level& l :
         {Level{176.0f, "RELCH_R_0"}, Level{175.0f, "RELCH_R_1"}, Level{0.0f, "RELCH_R_3"},
          Level{-74.0f, "RELCH_R_4"}, Level{-174.0f, "RELCH_R_6"}, Level{-173.0f, "RELCH_R_5"}})
        EXPECT_STREQ(RelationLevelText(l.relation), l.text) << l.relation;
    EXPECT_STREQ(RelationActionText(29), "RELCH_A_INSULT");
    EXPECT_STREQ(RelationActionText(30), "RELCH_A_EXCO");
}

TEST_F(MoneyHandlersTest, EconomyFlagsToggleOrSetAndValuesAreTaken) {
    CCountry& country = Make(3);
    auto simple = [&country](uint32_t type) {
        COVSimpleEvent event(type, country.GetId());
        return country.HandleMessage(event);
    };
    EXPECT_EQ(simple(EVT_TRADE_RESTRICTIONS), EVENT_CONSUMED);
    EXPECT_EQ(country.m_closedTrade, 1);
    simple(EVT_TRADE_RESTRICTIONS);
    EXPECT_EQ(country.m_closedTrade, 0);
    simple(EVT_GOLD_LOST);
    EXPECT_EQ(country.m_goldLost, 1);
    simple(EVT_GOLD_LOST);
    EXPECT_EQ(country.m_goldLost, 0);
    simple(EVT_CREATE_BANK);
    simple(EVT_CREATE_STOCK);
    EXPECT_EQ(country.m_bank, 1);
    EXPECT_EQ(country.m_stock, 1);

    auto inflation = DataTo(country, EVT_INFLATION);
    inflation->Payload().Set(InflationPayload::kChange, -0.005f);
    country.m_inflation = 0.02f;
    country.HandleMessage(*inflation);
    EXPECT_FLOAT_EQ(country.m_inflation, 0.015f);

    auto maintenance = DataTo(country, EVT_SET_MAINTENANCE);
    maintenance->Payload().Set(SetMaintenancePayload::kLand, 0.5f);
    maintenance->Payload().Set(SetMaintenancePayload::kNaval, 0.25f);
    country.HandleMessage(*maintenance);
    EXPECT_FLOAT_EQ(country.m_landMaintenance, 0.5f);
    EXPECT_FLOAT_EQ(country.m_navalMaintenance, 0.25f);

    auto tolerance = DataTo(country, EVT_EXEC_CHANGE_TOLERANCE);
    const int8_t values[] = {-4, -2, 9, 10, 2, -6, -128, 127};
    for (size_t i = 0; i < 8; ++i)
        tolerance->Payload().Set(SetTolerancePayload::kValues[i], static_cast<uint8_t>(values[i]));
    country.HandleMessage(*tolerance);
    EXPECT_EQ(country.m_religion.tolerance,
              (std::array<float, 8>{-4.0f, -2.0f, 10.0f, 10.0f, 2.0f, -6.0f, -128.0f, 127.0f}));

    Make(5);
    COVSendDateEvent sendDate(EVT_SET_SEND_DATE, country.GetId(), 5, CDate(1, 2, 1600));
    country.HandleMessage(sendDate);
    EXPECT_EQ(country.m_diplomaticDates[5], CDate(1, 2, 1600));
}

TEST_F(MoneyHandlersTest, AmountsThatAreNoNumberAreDropped) {
    CCountry& country = Make(3);
    Make(5);
    country.m_inflation = 0.02f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf}) {
        auto gain = DataTo(country, EVT_GAINMONEY);
        gain->Payload().Set(MoneyPayload::kAmount, bad);
        country.HandleMessage(*gain);
        auto lose = DataTo(country, EVT_LOSEMONEY);
        lose->Payload().Set(MoneyPayload::kAmount, bad);
        country.HandleMessage(*lose);
        auto inflation = DataTo(country, EVT_INFLATION);
        inflation->Payload().Set(InflationPayload::kChange, bad);
        country.HandleMessage(*inflation);
        auto maintenance = DataTo(country, EVT_SET_MAINTENANCE);
        maintenance->Payload().Set(SetMaintenancePayload::kLand, bad);
        country.HandleMessage(*maintenance);
        auto gift = DataTo(country, EVT_SENDGIFT);
        gift->Payload().Set(GiftPayload::kAmount, bad);
        gift->Payload().Set(GiftPayload::kGiver, 5u);
        country.HandleMessage(*gift);
        auto relation = DataTo(country, EVT_EXEC_RELATION);
        relation->Payload().Set(ExecRelationPayload::kChange, bad);
        relation->Payload().Set(ExecRelationPayload::kOther, 5u);
        country.HandleMessage(*relation);
        for (uint32_t type : {EVT_CHANGE_TE, EVT_CHANGE_PE}) {
            auto investment = DataTo(country, type);
            investment->Payload().Set(TrackInvestmentPayload::kAmount, bad);
            country.HandleMessage(*investment);
        }
    }
    EXPECT_FLOAT_EQ(country.m_treasury, 0.0f);
    EXPECT_FLOAT_EQ(country.m_inflation, 0.02f);
    EXPECT_FLOAT_EQ(country.m_landMaintenance, 1.0f);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), 0.0f);
    EXPECT_FLOAT_EQ(country.m_ledger.thisMonthIncome[INCOME_TAX], 0.0f);
}

// A city in a province owned and controlled by the country.
CCity& PlaceCity(CCountry& country, int32_t id) {
    CProvince& province = *GetProvince(id);
    province.ResetForGame();
    province.SetOwner(&country);
    province.SetControllerField(&country);
    auto city = std::make_unique<CCity>();
    city->SetProvinceId(id);
    CCity& placed = *city;
    province.SetCity(std::move(city));
    country.m_cities.AddTail(&placed);
    return placed;
}

TEST_F(MoneyHandlersTest, FinishedImprovementIsSetAndCityRightsLowerInflationToZero) {
    CCountry& country = Make(3);
    CCity& city = PlaceCity(country, 600);
    country.m_inflation = 0.005f;
    auto finish = [&country](uint32_t province, uint32_t kind) {
        COVImprovementEvent event(EVT_FINISH_BUILD_IMPROVEMENT, country.GetId(),
                                  {province, kind, 0, 0, 3});
        return country.HandleMessage(event);
    };
    EXPECT_EQ(finish(600, CCity::IMPROVEMENT_CITYRIGHTS), EVENT_CONSUMED);
    EXPECT_TRUE(city.HasImprovement(CCity::IMPROVEMENT_CITYRIGHTS));
    EXPECT_FLOAT_EQ(country.m_inflation, 0.0f);
    country.m_inflation = 0.5f;
    finish(600, CCity::IMPROVEMENT_SHIPYARD);
    EXPECT_TRUE(city.HasImprovement(CCity::IMPROVEMENT_SHIPYARD));
    EXPECT_FLOAT_EQ(country.m_inflation, 0.5f);
    // A kind outside the five, a province without a city or outside the map.
    EXPECT_EQ(finish(600, 5), EVENT_CONSUMED);
    EXPECT_EQ(finish(601, CCity::IMPROVEMENT_COURTHOUSE), EVENT_CONSUMED);
    EXPECT_EQ(finish(5000, CCity::IMPROVEMENT_COURTHOUSE), EVENT_CONSUMED);
    EXPECT_FALSE(city.HasImprovement(CCity::IMPROVEMENT_COURTHOUSE));
    country.m_cities.Remove(&city);
    GetProvince(600)->ResetForGame();
}

TEST_F(MoneyHandlersTest, DestroyedTradingPostCostsRelationsWithTheControllerAndClearsTheProvince) {
    CCountry& country = Make(3);
    CCountry& holder = Make(5);
    PlaceCity(holder, 600);
    COVProvinceEvent destroy(EVT_EXEC_DESTROY_TPOST, country.GetId(), 600);
    EXPECT_EQ(country.HandleMessage(destroy), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(RelationOf(3, 5), -20.0f);
    EXPECT_FLOAT_EQ(RelationOf(5, 3), -20.0f);
    EXPECT_EQ(GetProvince(600)->GetCity(), nullptr);
    EXPECT_NE(GetProvince(600)->GetControllerNumber(), 5);
    GetProvince(600)->ResetForGame();
}

} // namespace
