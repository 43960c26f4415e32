// The senders of a country: each builds its message with the country's id
// as sender field or receiver and hands it to its posting function.
#include <algorithm>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "data/ScenarioHeader.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/Discovery.h"
#include "world/Province.h"

namespace {

// The running scenario is the tutorial.
bool IsTutorialGame() {
    return g_scenarioInfo && g_scenarioInfo->tutorial;
}

// The payload of a 20-byte-head message of the type's table size.
std::unique_ptr<COVDataEvent> Data(uint32_t type, const ObjectId& receiver) {
    return std::make_unique<COVDataEvent>(type, receiver);
}

// The colonist's and the trader's journey.
void SendJourney(const CCountry& country, uint32_t type, uint32_t province, const CDate& travelTime,
                 int chance, int colonisationCost) {
    const CDate today = GetGameDate();
    uint32_t success = 1;
    if (!IsTutorialGame() && GameRand() % 100 > chance) {
        success = 0;
        if (GameRand() % 100 < colonisationCost) {
            CDate attack = today.Plus(travelTime);
            attack.AddDays(2 + GameRand() % 4);
            PostRequestAt(std::make_unique<COVProvinceEvent>(EVT_REQUEST_NATIVE_ATTACK,
                                                             g_nativesRequestsId, province),
                          attack);
        }
    }
    auto event = std::make_unique<COVColonistEvent>(type, country.GetId(), country.GetNumber(),
                                                    province, success, 0);
    event->Payload().Set(COVColonistEvent::kArrival, today.Plus(travelTime));
    ExecuteAndSendEvent(std::move(event));
}

// The investment boost, of 200.
void SendBoost(const CCountry& country, uint32_t kind) {
    auto event = Data(EVT_REQ_BOOST_INVESTMENT, g_economyRequestsId);
    event->Payload().Set(BoostInvestmentPayload::kAmount, 200.0f);
    event->Payload().Set(BoostInvestmentPayload::kKind, kind);
    event->Payload().Set(BoostInvestmentPayload::kCountry, country.GetNumber());
    ExecuteRequest(std::move(event));
}

// A loan between the lender and the borrower.
std::unique_ptr<CLoanEvent> Loan(uint32_t type, const ObjectId& receiver, const ObjectId& lender,
                                 uint32_t amount, uint32_t interest, const CDate& date,
                                 uint32_t borrower) {
    return std::make_unique<CLoanEvent>(type, receiver, lender, amount, interest, date, borrower);
}

// A change of the treasury by the amount.
std::unique_ptr<COVDataEvent> Money(uint32_t type, const ObjectId& receiver, float amount,
                                    uint32_t kind) {
    auto event = Data(type, receiver);
    event->Payload().Set(MoneyPayload::kAmount, amount);
    event->Payload().Set(MoneyPayload::kKind, kind);
    return event;
}

// The alliance request: the country's number, a, b, the number again.
void SendAllianceRequest(const CCountry& country, uint32_t type, uint32_t a, uint32_t b) {
    auto event = std::make_unique<COVAllianceEvent>(type, g_diplomacyRequestsId);
    COVEventData& payload = event->Payload();
    payload.Set(COVAllianceEvent::kCountry, country.GetNumber());
    payload.Set(COVAllianceEvent::kFirst, a);
    payload.Set(COVAllianceEvent::kSecond, b);
    payload.Set(COVAllianceEvent::kExtraCountry, country.GetNumber());
    ExecuteRequest(std::move(event));
}

// Two numbers.
std::unique_ptr<COVDataEvent> Pair(uint32_t type, const ObjectId& receiver, uint32_t first,
                                   uint32_t second) {
    auto event = Data(type, receiver);
    event->Payload().Set(PairPayload::kFirst, first);
    event->Payload().Set(PairPayload::kSecond, second);
    return event;
}

// The alliance's honour: the country's number and the eight values.
std::unique_ptr<COVDataEvent> Honor(const CCountry& country, uint32_t type,
                                    const ObjectId& receiver,
                                    const std::array<uint32_t, 8>& values) {
    auto event = Data(type, receiver);
    event->Payload().Set(HonorAlliancePayload::kCountry, country.GetNumber());
    for (size_t i = 0; i < values.size(); ++i)
        event->Payload().Set(HonorAlliancePayload::kValues[i], values[i]);
    return event;
}

// An answer to a peace offer.
void SendPeaceAnswer(const CCountry& country, uint32_t type, uint32_t other,
                     const ObjectId& offer) {
    ExecuteRequest(std::make_unique<COVPeaceEvent>(type, g_diplomacyRequestsId, other, offer,
                                                   country.GetNumber()));
}

// The head of a new army or fleet, ordered today, with a new id.
void FillNewUnitHead(COVEventData& payload, const CCountry& country, uint32_t province,
                     const CDate& ready) {
    payload.Set(NewUnitHead::kProvince, province);
    payload.Set(NewUnitHead::kDate, GetGameDate());
    payload.Set(NewUnitHead::kUnit, NewObjectId());
    payload.Set(NewUnitHead::kReady, ready);
    payload.Set(NewUnitHead::kCountry, country.GetId());
}

void SendArmy(const CCountry& country, uint32_t type, uint32_t province, uint32_t infantry,
              uint32_t cavalry, uint32_t artillery, const CDate& ready) {
    auto event = std::make_unique<COVArmyEvent>(type, country.GetId());
    COVEventData& payload = event->Payload();
    FillNewUnitHead(payload, country, province, ready);
    payload.Set(COVArmyEvent::kInfantry, infantry);
    payload.Set(COVArmyEvent::kCavalry, cavalry);
    payload.Set(COVArmyEvent::kArtillery, artillery);
    ExecuteAndSendEvent(std::move(event));
}

void SendFleet(const CCountry& country, uint32_t type, uint32_t province, uint32_t warships,
               uint32_t galleys, uint32_t transports, const CDate& ready) {
    auto event = std::make_unique<COVFleetEvent>(type, country.GetId());
    COVEventData& payload = event->Payload();
    FillNewUnitHead(payload, country, province, ready);
    payload.Set(COVFleetEvent::kWarships, warships);
    payload.Set(COVFleetEvent::kGalleys, galleys);
    payload.Set(COVFleetEvent::kTransports, transports);
    ExecuteAndSendEvent(std::move(event));
}

// Exploration shared with the other country, the receiver.
void SendExploration(const CCountry& country, uint32_t type, uint32_t other) {
    auto event = Data(type, MakeCountryId(other));
    event->Payload().Set(ExplorationPayload::kCountry, country.GetNumber());
    event->Payload().Set(ExplorationPayload::kFlag, 1);
    PostAndSendEventNow(std::move(event));
}

void SendHeadOnly(const CCountry& country, uint32_t type, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(type, country.GetId()));
}

} // namespace

void CCountry::SendColonist(uint32_t province, const CDate& travelTime, int chance,
                            int colonisationCost) {
    SendJourney(*this, EVT_SEND_COLONIST, province, travelTime, chance, colonisationCost);
}

void CCountry::SendTrader(uint32_t province, const CDate& travelTime, int chance,
                          int colonisationCost) {
    SendJourney(*this, EVT_SEND_TRADER, province, travelTime, chance, colonisationCost);
}

// The value is 1.
void CCountry::SendMerchant(uint32_t province, uint32_t centre, uint32_t cost,
                            const CDate& travelTime, int chance) {
    auto event = std::make_unique<COVMerchantEvent>(EVT_SEND_MERCHANT, GetId());
    COVEventData& payload = event->Payload();
    payload.Set(COVMerchantEvent::kCentre, centre);
    payload.Set(COVMerchantEvent::kCost, cost);
    payload.Set(COVMerchantEvent::kArrival, GetGameDate().Plus(travelTime));
    payload.Set(COVMerchantEvent::kCountry, GetId());
    payload.Set(COVMerchantEvent::kValue, 1);
    payload.Set(COVMerchantEvent::kProvince, ObjectId(kProvinceIdType, province));
    const bool success = IsTutorialGame() || RollPercent(chance) >= 2;
    payload.Set(COVMerchantEvent::kSuccess, success ? 1 : 0);
    ExecuteAndSendEvent(std::move(event));
}

// The facility ends two years on and has a new id.
void CCountry::SendBuildFacility(uint32_t province, uint32_t kind, uint32_t cost) {
    auto event = std::make_unique<COVFacilityEvent>(EVT_REQ_BUILD_FACILITY, g_economyRequestsId,
                                                    province, kind, cost, GetNumber());
    CDate end = GetGameDate();
    end.AddYears(2);
    event->Payload().Set(COVFacilityEvent::kEndDate, end);
    event->Payload().Set(COVFacilityEvent::kFacility, NewObjectId());
    ExecuteRequest(std::move(event));
}

void CCountry::SendBoostTrade() {
    SendBoost(*this, 0);
}
void CCountry::SendBoostInfrastructure() {
    SendBoost(*this, 1);
}
void CCountry::SendBoostStability() {
    SendBoost(*this, 2);
}
void CCountry::SendBoostLand() {
    SendBoost(*this, 3);
}
void CCountry::SendBoostNaval() {
    SendBoost(*this, 4);
}

void CCountry::SendExceptionalTaxes() {
    PostAndSendEventNow(std::make_unique<COVSimpleEvent>(EVT_EXCEPTIONAL_TAXES, GetId()));
}

// The request for the loan, then the lender's notice (the borrower, the
// amount).
void CCountry::SendAcceptLoan(uint32_t lender, uint32_t amount, uint32_t interest) {
    PostRequestNow(Loan(EVT_REQ_GETLOAN, g_economyRequestsId, MakeCountryId(lender), amount,
                        interest, GetGameDate(), GetNumber()));
    PostAndSendEventNow(Pair(EVT_ACCEPTLOANMSG, MakeCountryId(lender), GetNumber(), amount));
}

// The offered money goes back to the lender (kind 5), then its notice.
void CCountry::SendDeclineLoan(const ObjectId& lender, uint32_t amount) {
    PostAndSendEventNow(Money(EVT_GAINMONEY, lender, static_cast<float>(amount), 5));
    PostAndSendEventNow(Pair(EVT_DECLINELOANMSG, lender, GetNumber(), amount));
}

// A loan of the bank (the null lender).
void CCountry::SendRequestLoan(uint32_t amount, uint32_t interest) {
    ExecuteRequest(Loan(EVT_REQ_GETLOAN, g_economyRequestsId, g_nullId, amount, interest,
                        GetGameDate(), GetNumber()));
}

void CCountry::SendOfferLoan(uint32_t borrower, uint32_t amount, uint32_t interest) {
    PostAndSendEventNow(Loan(EVT_OFFERLOAN, MakeCountryId(borrower), GetId(), amount, interest,
                             GetGameDate(), borrower));
    PostAndSendEventNow(Money(EVT_LOSEMONEY, GetId(), static_cast<float>(amount), 0));
}

void CCountry::SendGift(uint32_t country, float amount) {
    auto gift = Data(EVT_SENDGIFT, MakeCountryId(country));
    gift->Payload().Set(GiftPayload::kAmount, amount);
    gift->Payload().Set(GiftPayload::kGiver, GetNumber());
    PostAndSendEventNow(std::move(gift));
    ExecuteAndSendEvent(Money(EVT_LOSEMONEY, GetId(), amount, 0));
}

void CCountry::SendPayLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                           const CDate& dueDate) {
    PostRequestNow(
        Loan(EVT_REQ_PAYLOAN, g_economyRequestsId, lender, amount, interest, dueDate, GetNumber()));
}

void CCountry::SendExtendLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                              const CDate& dueDate) {
    PostRequestNow(Loan(EVT_REQ_EXTENDLOAN, g_economyRequestsId, lender, amount, interest, dueDate,
                        GetNumber()));
}

void CCountry::SendCancelLoan(const ObjectId& lender, uint32_t amount, uint32_t interest,
                              const CDate& dueDate) {
    PostRequestNow(Loan(EVT_REQ_CANCELLOAN, g_economyRequestsId, lender, amount, interest, dueDate,
                        GetNumber()));
}

// The diplomat leaves; the next one may go a month from today.
void CCountry::SendUseDiplomat(uint32_t, uint32_t value) {
    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(EVT_USE_DIPLOMAT, GetId()));
    CDate next = GetGameDate();
    next += CDate(0, 1, 0);
    ExecuteAndSendEvent(
        std::make_unique<COVSendDateEvent>(EVT_SET_SEND_DATE, GetId(), value, next));
}

// In the offer the country field names this country (the offering one); in
// the answers it names the offering country and the other field this one.
void CCountry::SendOfferAnnexation(uint32_t other) {
    ExecuteRequest(std::make_unique<COVAnnexationEvent>(EVT_REQ_OFFER_ANNEXATION,
                                                        g_diplomacyRequestsId, GetNumber(), other));
}

void CCountry::SendAcceptAnnexation(uint32_t offering) {
    ExecuteRequest(std::make_unique<COVAnnexationEvent>(
        EVT_REQ_SET_ANNEXATION, g_diplomacyRequestsId, offering, GetNumber()));
}

void CCountry::SendDeclineAnnexation(uint32_t offering) {
    ExecuteRequest(std::make_unique<COVAnnexationEvent>(
        EVT_REQ_DECLINE_ANNEXATION, g_diplomacyRequestsId, offering, GetNumber()));
}

// The new alliance, made today; then the invited country is invited to it
// (the alliance named by the number of its id).
void CCountry::SendCreateAlliance(uint32_t kind, uint32_t invited) {
    const ObjectId alliance = NewObjectId();
    ExecuteAndSendEvent(std::make_unique<COVCreateAllianceEvent>(EVT_CREATE_ALLIANCE, GetId(),
                                                                 alliance.type, alliance.number,
                                                                 GetNumber(), GetGameDate(), kind));
    SendInviteAlliance(alliance.number, invited);
}

void CCountry::SendAskJoinAlliance(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_ASKJOIN_ALLIANCE, a, b);
}
void CCountry::SendInviteAlliance(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_INVITE_ALLIANCE, a, b);
}
void CCountry::SendLeaveAlliance(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_LEAVE_ALLIANCE, a, b);
}
void CCountry::SendBannedFromAlliance(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_BANNED_FROM_ALLIANCE, a, b);
}
void CCountry::SendAcceptAllianceOffer(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_JOIN_ALLIANCE, a, b);
}
void CCountry::SendAcceptAllianceJoin(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_JOIN_ALLIANCE, a, b);
}
void CCountry::SendDeclineAllianceOffer(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_DECLINE_ALLIANCE_OFFER, a, b);
}
void CCountry::SendDeclineAllianceJoin(uint32_t a, uint32_t b) {
    SendAllianceRequest(*this, EVT_REQ_DECLINE_ALLIANCE_JOIN, a, b);
}

// The amount follows from the kind.
void CCountry::SendRelationRequest(uint32_t kind, uint32_t other) {
    float amount = 0.0f;
    if (kind == 25)
        amount = 250.0f;
    else if (kind == 26)
        amount = 100.0f;
    else if (kind == 27)
        amount = 25.0f;
    auto event = Data(EVT_REQ_RELATION, g_diplomacyRequestsId);
    COVEventData& payload = event->Payload();
    payload.Set(RelationRequestPayload::kValue, 0);
    payload.Set(RelationRequestPayload::kAmount, amount);
    payload.Set(RelationRequestPayload::kKind, kind);
    payload.Set(RelationRequestPayload::kCountry, GetNumber());
    payload.Set(RelationRequestPayload::kOther, other);
    ExecuteRequest(std::move(event));
}

// Three null alliance ids, the country's number, the other country.
void CCountry::SendSetupWar(uint32_t other) {
    ExecuteRequest(std::make_unique<COVWarEvent>(
        EVT_REQ_SETUP_WAR, g_diplomacyRequestsId,
        std::array<uint32_t, 8>{0, 0, 0, 0, 0, 0, GetNumber(), other}));
}

void CCountry::SendHonorAlliance(const std::array<uint32_t, 8>& values) {
    ExecuteRequest(Honor(*this, EVT_REQ_HONOR_ALLIANCE, g_diplomacyRequestsId, values));
}

void CCountry::SendDishonorAlliance(const std::array<uint32_t, 8>& values) {
    ExecuteRequest(Honor(*this, EVT_REQ_DISHONOR_ALLIANCE, g_diplomacyRequestsId, values));
}

void CCountry::SendRequestHonorAlliance(uint32_t ally, const std::array<uint32_t, 8>& values) {
    PostAndSendEventNow(Honor(*this, EVT_REQUEST_HONOR_ALLIANCE, MakeCountryId(ally), values));
}

// The offer, with a new id, and its sixteen terms.
void CCountry::SendCreatePeaceOffer(uint32_t other, const std::array<uint32_t, 16>& terms) {
    auto event =
        std::make_unique<COVPeaceOfferEvent>(EVT_REQ_CREATE_PEACE_OFFER, g_diplomacyRequestsId);
    COVEventData& payload = event->Payload();
    payload.Set(COVPeaceEvent::kOther, other);
    payload.Set(COVPeaceEvent::kOffer, NewObjectId());
    payload.Set(COVPeaceEvent::kCountry, GetNumber());
    for (size_t i = 0; i < terms.size(); ++i)
        payload.Set(COVPeaceOfferEvent::kTerms[i], terms[i]);
    ExecuteRequest(std::move(event));
}

void CCountry::SendAcceptPeace(uint32_t other, const ObjectId& offer) {
    SendPeaceAnswer(*this, EVT_REQ_ACCEPT_PEACE, other, offer);
}

void CCountry::SendDeclinePeace(uint32_t other, const ObjectId& offer) {
    SendPeaceAnswer(*this, EVT_REQ_DECLINE_PEACE, other, offer);
}

// Each target's combat, today.
void CCountry::SendSiegeAssault(const std::vector<SiegeTarget>& targets) {
    for (const SiegeTarget& target : targets)
        PostRequestNow(std::make_unique<COVCombatEvent>(EVT_SIEGE_ASSAULT, g_combatRequestsId,
                                                        target.combatType, target.combat,
                                                        GetGameDate()));
}

void CCountry::SendRequestNativeAttack(uint32_t province) {
    PostRequestNow(std::make_unique<COVProvinceEvent>(EVT_REQUEST_NATIVE_ATTACK,
                                                      g_nativesRequestsId, province));
}

// The new works get a new id.
void CCountry::SendStartExpandingFortress(uint32_t province) {
    const ObjectId works = NewObjectId();
    ExecuteRequest(std::make_unique<COVFortressEvent>(EVT_REQ_START_EXPANDING_FORTRESS,
                                                      g_economyRequestsId, province, works.type,
                                                      works.number, GetNumber()));
}

void CCountry::SendBuildArmy(uint32_t province, uint32_t infantry, uint32_t cavalry,
                             uint32_t artillery, const CDate& ready) {
    SendArmy(*this, EVT_BUILD_ARMY, province, infantry, cavalry, artillery, ready);
}

void CCountry::SendCreateArmy(uint32_t province, uint32_t infantry, uint32_t cavalry,
                              uint32_t artillery, const CDate& ready) {
    SendArmy(*this, EVT_CREATE_ARMY, province, infantry, cavalry, artillery, ready);
}

void CCountry::SendBuildFleet(uint32_t province, uint32_t warships, uint32_t galleys,
                              uint32_t transports, const CDate& ready) {
    SendFleet(*this, EVT_BUILD_FLEET, province, warships, galleys, transports, ready);
}

void CCountry::SendCreateFleet(uint32_t province, uint32_t warships, uint32_t galleys,
                               uint32_t transports, const CDate& ready) {
    SendFleet(*this, EVT_CREATE_FLEET, province, warships, galleys, transports, ready);
}

void CCountry::SendRefuseTrade(uint32_t other) {
    ExecuteRequest(Pair(EVT_REQ_REFUSETRADE, g_diplomacyRequestsId, GetNumber(), other));
}

void CCountry::SendUnrefuseTrade(uint32_t other) {
    ExecuteRequest(Pair(EVT_REQ_UNREFUSETRADE, g_diplomacyRequestsId, GetNumber(), other));
}

// The values go in argument order, except that the first two change places.
void CCountry::SendInvestmentChange(const std::array<uint32_t, 6>& values) {
    auto event = Data(EVT_REQUEST_INVESTMENT_CHANGE, g_economyRequestsId);
    COVEventData& payload = event->Payload();
    payload.Set(InvestmentChangePayload::kCountry, GetNumber());
    payload.Set(InvestmentChangePayload::kValues[0], values[1]);
    payload.Set(InvestmentChangePayload::kValues[1], values[0]);
    for (size_t i = 2; i < values.size(); ++i)
        payload.Set(InvestmentChangePayload::kValues[i], values[i]);
    PostRequestNow(std::move(event));
}

void CCountry::SendSetMaintenance(uint32_t a, uint32_t b) {
    auto event = Data(EVT_REQUEST_SET_MAINTENANCE, g_economyRequestsId);
    event->Payload().Set(MaintenancePayload::kCountry, GetNumber());
    event->Payload().Set(MaintenancePayload::kFirst, a);
    event->Payload().Set(MaintenancePayload::kSecond, b);
    PostRequestNow(std::move(event));
}

void CCountry::SendAskShareExploration(uint32_t other) {
    SendExploration(*this, EVT_ASK_SHARE_EXPLORATION, other);
}
void CCountry::SendAcceptShareExploration(uint32_t other) {
    SendExploration(*this, EVT_ACCEPT_SHARE_EXPLORATION, other);
}
void CCountry::SendDeclineShareExploration(uint32_t other) {
    SendExploration(*this, EVT_DECLINE_SHARE_EXPLORATION, other);
}

// To itself: the country whose maps are stolen.
void CCountry::SendStealExploration(uint32_t other) {
    PostAndSendEventNow(Pair(EVT_STEAL_EXPLORATION, GetId(), other, 0));
}

// The country field names the inviting country.
void CCountry::SendInviteToWarPact(uint32_t a, uint32_t b, uint32_t invited) {
    auto event = std::make_unique<COVWarPactEvent>(EVT_INVITE_TO_WARPACT, MakeCountryId(invited));
    event->Payload().Set(COVWarPactEvent::kFirst, a);
    event->Payload().Set(COVWarPactEvent::kSecond, b);
    event->Payload().Set(COVWarPactEvent::kCountry, GetNumber());
    PostAndSendEventNow(std::move(event));
}

void CCountry::SendMergeWar(uint32_t receiver, const std::array<uint32_t, 5>& values) {
    PostAndSendEventNow(
        std::make_unique<COVMergeWarEvent>(EVT_MERGE_WAR, MakeCountryId(receiver), values));
}

void CCountry::SendGodMode(int enable) {
    SendHeadOnly(*this, enable ? EVT_ENABLE_GODMODE : EVT_DISABLE_GODMODE, 1);
}

void CCountry::SendGetColonist(uint32_t count) {
    SendHeadOnly(*this, EVT_GET_COLONIST, count);
}
void CCountry::SendGetDiplomat(uint32_t count) {
    SendHeadOnly(*this, EVT_GET_DIPLOMAT, count);
}
void CCountry::SendGetMerchant(uint32_t count) {
    SendHeadOnly(*this, EVT_GET_MERCHANT, count);
}

// One byte per value, truncated toward zero.
void CCountry::SendChangeTolerance(const std::array<float, 8>& values) {
    auto event = Data(EVT_REQ_CHANGE_TOLERANCE, g_economyRequestsId);
    event->Payload().Set(TolerancePayload::kCountry, GetNumber());
    for (size_t i = 0; i < values.size(); ++i)
        event->Payload().Set(TolerancePayload::kValues[i],
                             static_cast<uint8_t>(TruncateToInt(values[i])));
    ExecuteRequest(std::move(event));
}

void CCountry::SendChangeReligion(uint32_t religion) {
    ExecuteRequest(Pair(EVT_REQ_CHANGE_RELIGION, g_economyRequestsId, GetNumber(), religion));
}

void CCountry::SendCancelConstruction(uint32_t a, uint32_t b) {
    ExecuteAndSendEvent(Pair(EVT_REQUEST_CANCEL_CONSTRUCTION, g_unitRequestsId, a, b));
}

// The new improvement gets a new id.
void CCountry::SendStartBuildImprovement(uint32_t province, uint32_t kind) {
    const ObjectId improvement = NewObjectId();
    PostRequestNow(std::make_unique<COVImprovementEvent>(
        EVT_REQ_START_BUILD_IMPROVEMENT, g_economyRequestsId,
        std::array<uint32_t, 5>{province, kind, improvement.type, improvement.number,
                                GetNumber()}));
}

// ---------------------------------------------------------------------------
// Senders with the country's own figures

namespace {

// The province's colonisation cost (the natives' roll), 0 for no province.
int ColonisationCostOf(uint32_t province) {
    const CProvince* record = province >= 1 ? GetProvince(province) : nullptr;
    return record ? record->GetColonisationCost() : 0;
}

} // namespace

void CCountry::SendColonist(uint32_t province) {
    const auto id = static_cast<int32_t>(province);
    if (!CanSendColonist(id))
        return;
    SendColonist(province, GetColonistTravelTime(id), GetColonisationChance(id),
                 ColonisationCostOf(province));
}

void CCountry::SendTrader(uint32_t province) {
    const auto id = static_cast<int32_t>(province);
    if (!CanSendTrader(id))
        return;
    SendTrader(province, GetTraderTravelTime(id), GetTraderChance(id),
               ColonisationCostOf(province));
}

int32_t CCountry::GetMerchantSuccessChance() const {
    return GetMerchantChance(GetTradeEfficiency(), static_cast<float>(GetStability()),
                             GetMonarchAdm());
}

void CCountry::SendMerchant(uint32_t province) {
    const auto id = static_cast<int32_t>(province);
    if (!CanSendMerchant(id))
        return;
    const CProvince* record = GetProvince(province);
    if (!record || !record->centreOfTrade)
        return;
    const uint32_t centre = static_cast<uint32_t>(record->centreOfTrade->GetProvinceId());
    const uint32_t cost = static_cast<uint32_t>(std::max(GetMerchantCost(id), 0));
    SendMerchant(province, centre, cost, GetCapitalDistanceSpan(id), GetMerchantSuccessChance());
}

void CCountry::SendRequestLoan() {
    SendRequestLoan(static_cast<uint32_t>(std::max(GetLoanAmount(), 0.0f)),
                    static_cast<uint32_t>(std::max(GetLoanInterest(), 0)));
}

void CCountry::SendSiegeAssault(const CLinkedList<CUnit>& units) {
    if (!g_countryMilitary.unitSiegeCombat)
        return;
    std::vector<SiegeTarget> targets;
    CLinkedList<CUnit>::CListPosition node = nullptr;
    units.GetHeadPosition(node);
    for (; node; CLinkedList<CUnit>::MoveNext(node)) {
        SiegeTarget target{};
        if (!node->removed && node->item &&
            g_countryMilitary.unitSiegeCombat(*node->item, target.combatType, target.combat))
            targets.push_back(target);
    }
    SendSiegeAssault(targets);
}

void CCountry::LeaveVassalization(int64_t n) {
    const ObjectId alliance = m_diplomacy.GetVassalizationWith(n);
    if (!alliance.IsNull())
        SendLeaveAlliance(alliance.number, GetNumber());
}

void CCountry::LeaveDynasticAlliance(int64_t n) {
    const ObjectId alliance = m_diplomacy.GetDynasticAllianceWith(n);
    if (!alliance.IsNull())
        SendLeaveAlliance(alliance.number, GetNumber());
}

void CCountry::DiscoverProvinceFor(int32_t province) {
    DiscoverProvince(GetNumber(), province);
}

bool IsHostForCountry(int64_t /*country*/) {
    return IsHost();
}
