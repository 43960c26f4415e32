// The senders of a country: each builds its message with the country's id
// as sender field or receiver and hands it to its posting function.
#include <memory>

#include "country/Country.h"
#include "data/ScenarioHeader.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"

namespace {

// The running scenario is the tutorial.
bool IsTutorialGame() {
    return g_scenarioInfo && g_scenarioInfo->tutorial;
}

// The payload of a 20-byte-head message of the type's table size.
std::unique_ptr<COVDataEvent> Data(uint32_t type, const ObjectId& receiver) {
    return std::make_unique<COVDataEvent>(type, receiver);
}

// The colonist's and the trader's journey. +20 the province, +28 the
// arrival date, +44 the country's number, +52 the success flag.
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
    event->Payload().SetDate(28, today.Plus(travelTime));
    ExecuteAndSendEvent(std::move(event));
}

// The investment boost: +20 f32 200.0, +24 the kind, +28 the number.
void SendBoost(const CCountry& country, uint32_t kind) {
    auto event = Data(EVT_REQ_BOOST_INVESTMENT, g_economyRequestsId);
    event->Payload().SetF32(20, 200.0f);
    event->Payload().SetU32(24, kind);
    event->Payload().SetU32(28, country.GetNumber());
    ExecuteRequest(std::move(event));
}

// A loan between the lender and the borrower: +28 the lender's id, +36 the
// amount, +40 the interest, +44 the date, +52 the borrower's number.
std::unique_ptr<CLoanEvent> Loan(uint32_t type, const ObjectId& receiver, const ObjectId& lender,
                                 uint32_t amount, uint32_t interest, const CDate& date,
                                 uint32_t borrower) {
    return std::make_unique<CLoanEvent>(type, receiver, lender, amount, interest, date, borrower);
}

// A change of the treasury by the amount: +20 f32 amount, +24 the kind.
std::unique_ptr<COVDataEvent> Money(uint32_t type, const ObjectId& receiver, float amount,
                                    uint32_t kind) {
    auto event = Data(type, receiver);
    event->Payload().SetF32(20, amount);
    event->Payload().SetU32(24, kind);
    return event;
}

// The alliance request: +20 the number, +24 a, +28 b, +32 the number again.
void SendAllianceRequest(const CCountry& country, uint32_t type, uint32_t a, uint32_t b) {
    auto event = std::make_unique<COVAllianceEvent>(type, g_diplomacyRequestsId);
    COVEventData& payload = event->Payload();
    payload.SetU32(20, country.GetNumber());
    payload.SetU32(24, a);
    payload.SetU32(28, b);
    payload.SetU32(32, country.GetNumber());
    ExecuteRequest(std::move(event));
}

// Two numbers: +20 first, +24 second.
std::unique_ptr<COVDataEvent> Pair(uint32_t type, const ObjectId& receiver, uint32_t first,
                                   uint32_t second) {
    auto event = Data(type, receiver);
    event->Payload().SetU32(20, first);
    event->Payload().SetU32(24, second);
    return event;
}

// The alliance's honour: +20 the number, +24 to +52 the eight values.
std::unique_ptr<COVDataEvent> Honor(const CCountry& country, uint32_t type,
                                    const ObjectId& receiver,
                                    const std::array<uint32_t, 8>& values) {
    auto event = Data(type, receiver);
    event->Payload().SetU32(20, country.GetNumber());
    for (size_t i = 0; i < values.size(); ++i)
        event->Payload().SetU32(24 + 4 * i, values[i]);
    return event;
}

// An answer to a peace offer: +20 the other country, +24 the offer's id,
// +32 the number.
void SendPeaceAnswer(const CCountry& country, uint32_t type, uint32_t other,
                     const ObjectId& offer) {
    auto event = std::make_unique<COVPeaceEvent>(type, g_diplomacyRequestsId, other, 0, 0,
                                                 country.GetNumber());
    event->Payload().SetId(24, offer);
    ExecuteRequest(std::move(event));
}

// The head of a new army or fleet: +20 the province, +28 today, +36 the
// new unit's id, +44 the date it is ready, +52 the country's id.
void FillNewUnitHead(COVEventData& payload, const CCountry& country, uint32_t province,
                     const CDate& ready) {
    payload.SetU32(20, province);
    payload.SetDate(28, GetGameDate());
    payload.SetId(36, NewObjectId());
    payload.SetDate(44, ready);
    payload.SetId(52, country.GetId());
}

// A new army: +20 the province, +28 today, +36 the new unit's id, +44 the
// date it is ready, +52 the country's id, +60 infantry, +64 cavalry,
// +68 artillery; +80 (the leader) stays null.
void SendArmy(const CCountry& country, uint32_t type, uint32_t province, uint32_t infantry,
              uint32_t cavalry, uint32_t artillery, const CDate& ready) {
    auto event = std::make_unique<COVArmyEvent>(type, country.GetId());
    COVEventData& payload = event->Payload();
    FillNewUnitHead(payload, country, province, ready);
    payload.SetU32(60, infantry);
    payload.SetU32(64, cavalry);
    payload.SetU32(68, artillery);
    ExecuteAndSendEvent(std::move(event));
}

// A new fleet: as the army up to +52, then +60 warships, +64 galleys,
// +76 transports; +68 (the leader) stays null.
void SendFleet(const CCountry& country, uint32_t type, uint32_t province, uint32_t warships,
               uint32_t galleys, uint32_t transports, const CDate& ready) {
    auto event = std::make_unique<COVFleetEvent>(type, country.GetId());
    COVEventData& payload = event->Payload();
    FillNewUnitHead(payload, country, province, ready);
    payload.SetU32(60, warships);
    payload.SetU32(64, galleys);
    payload.SetU32(76, transports);
    ExecuteAndSendEvent(std::move(event));
}

// Exploration shared with the other country: receiver the other country,
// +20 the number, +24 u8 1.
void SendExploration(const CCountry& country, uint32_t type, uint32_t other) {
    auto event = Data(type, MakeCountryId(other));
    event->Payload().SetU32(20, country.GetNumber());
    event->Payload().SetU8(24, 1);
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

// +20 the centre's number, +24 the cost, +28 the arrival date, +36 the
// country's id, +44 1, +52 the province's id, +60 the success flag.
void CCountry::SendMerchant(uint32_t province, uint32_t centre, uint32_t cost,
                            const CDate& travelTime, int chance) {
    auto event = std::make_unique<COVMerchantEvent>(EVT_SEND_MERCHANT, GetId());
    COVEventData& payload = event->Payload();
    payload.SetU32(COVMerchantEvent::kOfsCentre, centre);
    payload.SetU32(COVMerchantEvent::kOfsCost, cost);
    payload.SetDate(COVMerchantEvent::kOfsArrival, GetGameDate().Plus(travelTime));
    payload.SetId(COVMerchantEvent::kOfsFirstId, GetId());
    payload.SetU32(COVMerchantEvent::kOfsValue, 1);
    payload.SetId(COVMerchantEvent::kOfsSecondId, ObjectId(kProvinceIdType, province));
    const bool success = IsTutorialGame() || RollPercent(chance) >= 2;
    payload.SetU8(COVMerchantEvent::kOfsSuccess, success ? 1 : 0);
    ExecuteAndSendEvent(std::move(event));
}

// +20 the province, +28 the end date two years on, +36 the new facility's
// id, +48 the kind, +52 the cost, +56 the country's number.
void CCountry::SendBuildFacility(uint32_t province, uint32_t kind, uint32_t cost) {
    auto event = std::make_unique<COVFacilityEvent>(EVT_REQ_BUILD_FACILITY, g_economyRequestsId,
                                                    province, kind, cost, GetNumber());
    CDate end = GetGameDate();
    end.AddYears(2);
    event->Payload().SetDate(28, end);
    event->Payload().SetId(36, NewObjectId());
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

// The request for the loan, then the lender's notice (+20 the borrower,
// +24 the amount).
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
    gift->Payload().SetF32(20, amount);
    gift->Payload().SetU32(24, GetNumber());
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

// In the offer +20 names this country (the offering one); in the answers
// +20 names the offering country and +24 this one.
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

// +24 the new alliance's id (type and number), +32 the number, +40 today,
// +48 the kind; then the invited country is invited to it (the alliance
// named by the number of its id).
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

// +20 0, +24 f32 the amount of the kind, +28 the kind, +32 the number,
// +36 the other country.
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
    payload.SetU32(20, 0);
    payload.SetF32(24, amount);
    payload.SetU32(28, kind);
    payload.SetU32(32, GetNumber());
    payload.SetU32(36, other);
    ExecuteRequest(std::move(event));
}

// +20, +28, +36 three null alliance ids, +44 the number, +48 the other.
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

// The 100-byte offer: +20 the other country, +24 the new offer's id, +32 the
// number (so far as COVPeaceEvent reads it), +36 to +96 the sixteen terms.
void CCountry::SendCreatePeaceOffer(uint32_t other, const std::array<uint32_t, 16>& terms) {
    auto event =
        std::make_unique<COVPeaceOfferEvent>(EVT_REQ_CREATE_PEACE_OFFER, g_diplomacyRequestsId);
    COVEventData& payload = event->Payload();
    payload.SetU32(20, other);
    payload.SetId(24, NewObjectId());
    payload.SetU32(32, GetNumber());
    for (size_t i = 0; i < terms.size(); ++i)
        payload.SetU32(36 + 4 * i, terms[i]);
    ExecuteRequest(std::move(event));
}

void CCountry::SendAcceptPeace(uint32_t other, const ObjectId& offer) {
    SendPeaceAnswer(*this, EVT_REQ_ACCEPT_PEACE, other, offer);
}

void CCountry::SendDeclinePeace(uint32_t other, const ObjectId& offer) {
    SendPeaceAnswer(*this, EVT_REQ_DECLINE_PEACE, other, offer);
}

// +20 the combat's type, +24 its id, +32 today.
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

// +20 the province, +24 the new works' id (type and number), +32 the number.
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

// +20 the number, +24 the second value, +28 the first, +32 to +44 the third
// to the sixth.
void CCountry::SendInvestmentChange(const std::array<uint32_t, 6>& values) {
    auto event = Data(EVT_REQUEST_INVESTMENT_CHANGE, g_economyRequestsId);
    COVEventData& payload = event->Payload();
    payload.SetU32(20, GetNumber());
    payload.SetU32(24, values[1]);
    payload.SetU32(28, values[0]);
    for (size_t i = 2; i < values.size(); ++i)
        payload.SetU32(24 + 4 * i, values[i]);
    PostRequestNow(std::move(event));
}

void CCountry::SendSetMaintenance(uint32_t a, uint32_t b) {
    auto event = Pair(EVT_REQUEST_SET_MAINTENANCE, g_economyRequestsId, GetNumber(), a);
    event->Payload().SetU32(28, b);
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

// To itself: +20 the country whose maps are stolen.
void CCountry::SendStealExploration(uint32_t other) {
    PostAndSendEventNow(Pair(EVT_STEAL_EXPLORATION, GetId(), other, 0));
}

// +24 a, +28 b, +32 the inviting country's number.
void CCountry::SendInviteToWarPact(uint32_t a, uint32_t b, uint32_t invited) {
    auto event = std::make_unique<COVWarPactEvent>(EVT_INVITE_TO_WARPACT, MakeCountryId(invited));
    event->Payload().SetU32(24, a);
    event->Payload().SetU32(28, b);
    event->Payload().SetU32(32, GetNumber());
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

// +20 the number, +24 to +31 one byte per value, truncated toward zero.
void CCountry::SendChangeTolerance(const std::array<float, 8>& values) {
    auto event = Data(EVT_REQ_CHANGE_TOLERANCE, g_economyRequestsId);
    event->Payload().SetU32(20, GetNumber());
    for (size_t i = 0; i < values.size(); ++i)
        event->Payload().SetU8(24 + i, static_cast<uint8_t>(TruncateToInt(values[i])));
    ExecuteRequest(std::move(event));
}

void CCountry::SendChangeReligion(uint32_t religion) {
    ExecuteRequest(Pair(EVT_REQ_CHANGE_RELIGION, g_economyRequestsId, GetNumber(), religion));
}

void CCountry::SendCancelConstruction(uint32_t a, uint32_t b) {
    ExecuteAndSendEvent(Pair(EVT_REQUEST_CANCEL_CONSTRUCTION, g_unitRequestsId, a, b));
}

// +20 the province, +24 the kind, +28 the new improvement's id (type and
// number), +36 the number.
void CCountry::SendStartBuildImprovement(uint32_t province, uint32_t kind) {
    const ObjectId improvement = NewObjectId();
    PostRequestNow(std::make_unique<COVImprovementEvent>(
        EVT_REQ_START_BUILD_IMPROVEMENT, g_economyRequestsId,
        std::array<uint32_t, 5>{province, kind, improvement.type, improvement.number,
                                GetNumber()}));
}
