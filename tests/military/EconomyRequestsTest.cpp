// The host's economy requests: each request becomes its execution message
// for the country with the request's fields, the loans take their fields
// from the loan held, and malformed requests are refused.
#include "military/server/EconomyRequests.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "country/Loan.h"
#include "military/server/HostDispatcher.h"
#include "tests/military/RequestServersFixture.h"

namespace {

class EconomyRequestsTest : public test::RequestServersTest {
protected:
    void SetUp() override {
        RequestServersTest::SetUp();
        Able(1);
    }

    // The request of the type for the country, its bytes after the head
    // filled with a pattern and the country field set.
    static std::unique_ptr<COVEvent> Request(uint32_t type, uint32_t country) {
        std::unique_ptr<COVEvent> event;
        if (type == EVT_REQ_BUILD_FACILITY)
            event = std::make_unique<COVFacilityEvent>(type, g_economyRequestsId, 5, 2, 300, 0);
        else
            event = std::make_unique<COVDataEvent>(type, g_economyRequestsId);
        COVEventData& payload = event->Payload();
        for (size_t offset = EVENT_HEAD_SIZE; offset + 4 <= payload.Size(); offset += 4)
            payload.SetU32(offset, 0x01000000u + static_cast<uint32_t>(offset));
        switch (type) {
        case EVT_REQ_BUILD_FACILITY:
            payload.Set(COVFacilityEvent::kProvince, 5);
            payload.Set(COVFacilityEvent::kCountry, country);
            break;
        case EVT_REQ_BOOST_INVESTMENT:
            payload.Set(BoostInvestmentPayload::kAmount, 200.0f);
            payload.Set(BoostInvestmentPayload::kKind, 5);
            payload.Set(BoostInvestmentPayload::kCountry, country);
            break;
        case EVT_REQ_START_EXPANDING_FORTRESS:
            payload.Set(COVFortressEvent::kProvince, 5);
            payload.Set(COVFortressEvent::kCountry, country);
            break;
        case EVT_REQ_START_BUILD_IMPROVEMENT:
            payload.Set(COVImprovementEvent::kProvince, 5);
            payload.Set(COVImprovementEvent::kKind, 1);
            payload.Set(COVImprovementEvent::kCountry, country);
            break;
        case EVT_REQUEST_SET_MAINTENANCE:
            payload.Set(MaintenancePayload::kCountry, country);
            payload.SetF32(24, 0.5f);
            payload.SetF32(28, 0.75f);
            break;
        case EVT_REQUEST_INVESTMENT_CHANGE:
            payload.Set(InvestmentChangePayload::kCountry, country);
            for (size_t i = 0; i < 6; ++i)
                payload.SetF32(24 + 4 * i, 0.1f);
            break;
        default:
            // The tolerance and religion requests: the country first.
            payload.SetU32(20, country);
            break;
        }
        return event;
    }
};

TEST_F(EconomyRequestsTest, EachRequestBecomesItsExecutionWithTheRequestsFields) {
    struct Case {
        uint32_t request;
        uint32_t execution;
    };
    const Case cases[] = {
        {EVT_REQ_BUILD_FACILITY, EVT_EXEC_BUILD_FACILITY},
        {EVT_REQ_BOOST_INVESTMENT, EVT_EXEC_BOOST_INVESTMENT},
        {EVT_REQ_START_EXPANDING_FORTRESS, EVT_EXEC_START_EXPANDING_FORTRESS},
        {EVT_REQUEST_INVESTMENT_CHANGE, EVT_INVESTMENT_CHANGE},
        {EVT_REQUEST_SET_MAINTENANCE, EVT_SET_MAINTENANCE},
        {EVT_REQ_CHANGE_TOLERANCE, EVT_EXEC_CHANGE_TOLERANCE},
        {EVT_REQ_CHANGE_RELIGION, EVT_EXEC_CHANGE_RELIGION},
        {EVT_REQ_START_BUILD_IMPROVEMENT, EVT_EXEC_START_BUILD_IMPROVEMENT},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<COVEvent> request = Request(c.request, 1);
        EXPECT_EQ(HandleEconomyRequest(*request), 0);
        const auto sent = TakeSent();
        // First the execution; the country's handler may send more of its own.
        ASSERT_FALSE(sent.empty()) << c.request;
        const COVEvent& made = *sent[0];
        EXPECT_EQ(made.GetType(), c.execution);
        EXPECT_EQ(made.GetReceiver(), ObjectId(3, 1)) << c.request;
        EXPECT_EQ(made.GetDueDate(), CDate()) << c.request;
        // Every field after the head is the request's.
        ASSERT_EQ(made.Payload().Size(), request->Payload().Size()) << c.request;
        EXPECT_EQ(std::memcmp(made.Payload().Bytes() + EVENT_HEAD_SIZE,
                              request->Payload().Bytes() + EVENT_HEAD_SIZE,
                              request->Payload().Size() - EVENT_HEAD_SIZE),
                  0)
            << c.request;
    }
    // The maintenance reached the country here too.
    EXPECT_FLOAT_EQ(CountryOfNumber(1)->m_landMaintenance, 0.5f);
    EXPECT_FLOAT_EQ(CountryOfNumber(1)->m_navalMaintenance, 0.75f);
}

TEST_F(EconomyRequestsTest, ABoostOfATrackIsCheckedAndAnotherKindPasses) {
    CCountry& country = *CountryOfNumber(1);
    country.m_treasury = 100.0f; // below the 200 a boost needs
    for (uint32_t kind = 0; kind <= 5; ++kind) {
        auto request = Request(EVT_REQ_BOOST_INVESTMENT, 1);
        request->Payload().Set(BoostInvestmentPayload::kKind, kind);
        HandleEconomyRequest(*request);
        EXPECT_EQ(Types(TakeSent()), kind == 5 ? std::vector<uint32_t>{EVT_EXEC_BOOST_INVESTMENT}
                                               : std::vector<uint32_t>{})
            << kind;
    }
}

TEST_F(EconomyRequestsTest, ALoanIsMadeWithANewIdAndAnsweredFromTheLoanHeld) {
    CCountry& borrower = *CountryOfNumber(1);
    Able(2);
    const float before = borrower.m_treasury;
    CLoanEvent ask(EVT_REQ_GETLOAN, g_economyRequestsId, ObjectId(3, 2), 300, 7, CDate(1, 1, 1610),
                   1);
    ask.Payload().Set(CLoanEvent::kLoan, ObjectId(3, 2)); // not the loan's id
    HandleEconomyRequest(ask);
    auto sent = TakeSent();
    ASSERT_EQ(Types(sent), std::vector<uint32_t>{EVT_EXEC_GETLOAN});
    const COVEventData& made = sent[0]->Payload();
    const ObjectId loanId = made.Get(CLoanEvent::kLoan);
    EXPECT_FALSE(loanId.IsNull());
    EXPECT_NE(loanId, ObjectId(3, 2));
    EXPECT_EQ(made.Get(CLoanEvent::kLender), ObjectId(3, 2));
    EXPECT_EQ(made.Get(CLoanEvent::kAmount), 300u);
    EXPECT_EQ(made.Get(CLoanEvent::kInterest), 7u);
    EXPECT_EQ(made.Get(CLoanEvent::kDate), CDate(1, 1, 1610));
    EXPECT_EQ(made.Get(CLoanEvent::kBorrower), 1u);
    ASSERT_EQ(borrower.m_loans.size(), 1u);
    EXPECT_FLOAT_EQ(borrower.m_treasury, before + 300.0f);

    // Paying: the amount, interest and expiry are the loan's, not the
    // request's.
    CLoanEvent pay(EVT_REQ_PAYLOAN, g_economyRequestsId, ObjectId(3, 2), 1, 1, CDate(), 1);
    pay.Payload().Set(CLoanEvent::kLoan, loanId);
    HandleEconomyRequest(pay);
    sent = TakeSent();
    ASSERT_EQ(Types(sent), std::vector<uint32_t>{EVT_EXEC_PAYLOAN});
    EXPECT_EQ(sent[0]->Payload().Get(CLoanEvent::kLoan), loanId);
    EXPECT_EQ(sent[0]->Payload().Get(CLoanEvent::kAmount), 300u);
    EXPECT_EQ(sent[0]->Payload().Get(CLoanEvent::kInterest), 7u);
    EXPECT_EQ(sent[0]->Payload().Get(CLoanEvent::kDate), CDate(1, 1, 1610));
    EXPECT_TRUE(borrower.m_loans.empty());

    // The loan is gone: cancelling, paying or extending it does nothing.
    for (uint32_t type : {EVT_REQ_CANCELLOAN, EVT_REQ_PAYLOAN, EVT_REQ_EXTENDLOAN}) {
        pay.Payload().SetTypeId(type);
        HandleEconomyRequest(pay);
        EXPECT_TRUE(TakeSent().empty()) << type;
    }
}

TEST_F(EconomyRequestsTest, MalformedRequestsAreRefused) {
    struct Case {
        const char* what;
        std::unique_ptr<COVEvent> request;
    };
    std::vector<Case> cases;
    cases.push_back({"country above 98", Request(EVT_REQUEST_SET_MAINTENANCE, 120)});
    cases.push_back({"country without a country", Request(EVT_REQ_CHANGE_RELIGION, 7)});
    cases.push_back({"boost for no country", Request(EVT_REQ_BOOST_INVESTMENT, 99)});
    auto fortress = Request(EVT_REQ_START_EXPANDING_FORTRESS, 1);
    fortress->Payload().Set(COVFortressEvent::kProvince, 1473);
    cases.push_back({"province out of range", std::move(fortress)});
    cases.push_back(
        {"loan for country 200", std::make_unique<CLoanEvent>(EVT_REQ_GETLOAN, g_economyRequestsId,
                                                              g_bankId, 100, 5, CDate(), 200)});
    // A peer's facility request is only sure to hold 44 bytes: no country.
    cases.push_back({"short facility request",
                     std::make_unique<COVDataEvent>(EVT_REQ_BUILD_FACILITY, g_economyRequestsId)});
    for (Case& c : cases) {
        EXPECT_EQ(HandleEconomyRequest(*c.request), 0) << c.what;
        EXPECT_TRUE(TakeSent().empty()) << c.what;
    }
}

TEST_F(EconomyRequestsTest, OnlyTheHostCarriesRequestsOutAndTheDispatcherReachesIt) {
    BecomeClient();
    HandleEconomyRequest(*Request(EVT_REQUEST_SET_MAINTENANCE, 1));
    EXPECT_TRUE(TakeSent().empty());
    g_netSession = nullptr;
    CHostDispatcher dispatcher;
    dispatcher.DispatchHostRequest(*Request(EVT_REQUEST_SET_MAINTENANCE, 1));
    EXPECT_EQ(Types(TakeSent()), std::vector<uint32_t>{EVT_SET_MAINTENANCE});
}

} // namespace
