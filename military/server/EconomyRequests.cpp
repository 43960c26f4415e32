#include "military/server/EconomyRequests.h"

#include <memory>
#include <string>
#include <utility>

#include "country/Country.h"
#include "country/Loan.h"
#include "engine/CriticalError.h"
#include "military/server/HostDispatcher.h"
#include "military/server/RequestSupport.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"

namespace {

const bool g_economyRequestsRegistered = [] {
    g_hostServers[HOST_ECONOMY_REQUESTS] = HandleEconomyRequest;
    return true;
}();

// The request's payload under the execution type, run at once and sent to
// the country: every byte copied, the due date zero.
void ExecuteCopy(const COVEvent& request, uint32_t type, uint32_t country) {
    ExecuteAndSendEvent(CopyRequestAs(request, type, MakeCountryId(country)));
}

// The requests carried out as they came, each with its execution type.
constexpr std::pair<uint32_t, uint32_t> kCopiedRequests[] = {
    {EVT_REQ_BUILD_FACILITY, EVT_EXEC_BUILD_FACILITY},
    {EVT_REQ_START_EXPANDING_FORTRESS, EVT_EXEC_START_EXPANDING_FORTRESS},
    {EVT_REQUEST_INVESTMENT_CHANGE, EVT_INVESTMENT_CHANGE},
    {EVT_REQUEST_SET_MAINTENANCE, EVT_SET_MAINTENANCE},
    {EVT_REQ_CHANGE_TOLERANCE, EVT_EXEC_CHANGE_TOLERANCE},
    {EVT_REQ_CHANGE_RELIGION, EVT_EXEC_CHANGE_RELIGION},
    {EVT_REQ_START_BUILD_IMPROVEMENT, EVT_EXEC_START_BUILD_IMPROVEMENT},
};

// A loan request for a loan that exists: the execution message takes the
// loan's own id, lender, amount, interest and expiry.
void ExecuteLoanMessage(const COVEvent& request, uint32_t type, uint32_t borrower) {
    const ObjectId id = request.Payload().Get(CLoanEvent::kLoan);
    const CLoan* loan = dynamic_cast<const CLoan*>(FindObjectById(id));
    if (!loan) {
        DebugPrint("EconomyRequests: request %u for a loan {%u, %u} that does not exist\n",
                   request.GetType(), id.type, id.number);
        return;
    }
    auto event = std::make_unique<CLoanEvent>(
        type, MakeCountryId(borrower), loan->lender, static_cast<uint32_t>(loan->amount),
        static_cast<uint32_t>(loan->interest), loan->expiryDate, borrower);
    event->Payload().Set(CLoanEvent::kLoan, loan->GetId());
    ExecuteAndSendEvent(std::move(event));
}

// The boost of the kind the country may make now; a kind without a track
// passes.
bool MayBoost(const CCountry& country, uint32_t kind) {
    switch (kind) {
    case 0:
        return country.CanBoostTrade();
    case 1:
        return country.CanBoostInfrastructure();
    case 2:
        return country.CanBoostStability();
    case 3:
        return country.CanBoostLand();
    case 4:
        return country.CanBoostNaval();
    default:
        return true;
    }
}

// The field naming the requesting country of each request type; null for
// the types that are not economy requests.
const PayloadField<uint32_t>* CountryFieldOf(uint32_t type) {
    switch (type) {
    case EVT_REQ_GETLOAN:
    case EVT_REQ_CANCELLOAN:
    case EVT_REQ_PAYLOAN:
    case EVT_REQ_EXTENDLOAN:
        return &CLoanEvent::kBorrower;
    case EVT_REQ_BUILD_FACILITY:
        return &COVFacilityEvent::kCountry;
    case EVT_REQ_BOOST_INVESTMENT:
        return &BoostInvestmentPayload::kCountry;
    case EVT_REQ_START_EXPANDING_FORTRESS:
        return &COVFortressEvent::kCountry;
    case EVT_REQUEST_INVESTMENT_CHANGE:
        return &InvestmentChangePayload::kCountry;
    case EVT_REQUEST_SET_MAINTENANCE:
        return &MaintenancePayload::kCountry;
    case EVT_REQ_CHANGE_TOLERANCE:
        return &TolerancePayload::kCountry;
    case EVT_REQ_CHANGE_RELIGION:
        return &PairPayload::kFirst;
    case EVT_REQ_START_BUILD_IMPROVEMENT:
        return &COVImprovementEvent::kCountry;
    default:
        return nullptr;
    }
}

} // namespace

int HandleEconomyRequest(COVEvent& event) {
    if (!IsHost())
        return 0;
    const uint32_t type = event.GetType();
    const PayloadField<uint32_t>* countryField = CountryFieldOf(type);
    if (!countryField || !IsSoundRequest(event, "EconomyRequests"))
        return 0;
    const COVEventData& payload = event.Payload();
    if (!payload.Holds(*countryField)) {
        LogRefusedRequest(event, "EconomyRequests", "no country");
        return 0;
    }
    const uint32_t number = payload.Get(*countryField);
    CCountry* country = ExistingCountry(event, "EconomyRequests", number);
    if (!country)
        return 0;
    switch (type) {
    case EVT_REQ_GETLOAN: {
        // The new loan's id is the host's to give.
        auto loan = CopyRequestAs(event, EVT_EXEC_GETLOAN, country->GetId());
        loan->Payload().Set(CLoanEvent::kLoan, NewObjectId());
        ExecuteAndSendEvent(std::move(loan));
        return 0;
    }
    case EVT_REQ_CANCELLOAN:
    case EVT_REQ_PAYLOAN:
    case EVT_REQ_EXTENDLOAN:
        // 96..98 become 100..102.
        ExecuteLoanMessage(event, type + (EVT_EXEC_CANCELLOAN - EVT_REQ_CANCELLOAN), number);
        return 0;
    case EVT_REQ_BOOST_INVESTMENT: {
        const uint32_t kind = payload.Get(BoostInvestmentPayload::kKind);
        if (!MayBoost(*country, kind)) {
            DebugPrint("EconomyRequests: boost %u of country %u not allowed now\n", kind, number);
            return 0;
        }
        ExecuteCopy(event, EVT_EXEC_BOOST_INVESTMENT, number);
        return 0;
    }
    default:
        for (const auto& [request, execution] : kCopiedRequests)
            if (type == request)
                ExecuteCopy(event, execution, number);
        return 0;
    }
}
