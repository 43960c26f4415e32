#include "military/server/DiplomacyRequests.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <string>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/HandlerSupport.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/server/HostDispatcher.h"
#include "military/server/RequestSupport.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Discovery.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr const char* kServer = "DiplomacyRequests";

// A peace offer lists at most six provinces (its six province slots); a
// well-formed one at most three.
constexpr uint32_t kPeaceOfferProvinceSlots = 6;

const bool g_diplomacyRequestsRegistered = [] {
    g_hostServers[HOST_DIPLOMACY_REQUESTS] = HandleDiplomacyRequest;
    return true;
}();

// The date a country's next diplomat may leave: a month from today.
CDate NextDiplomatDate() {
    CDate next = CScenario::GetGameDate();
    next += CDate(0, 1, 0);
    return next;
}

CRelation* RelationOf(CCountry& country, uint32_t toward) {
    return country.m_diplomacy.GetRelation(toward);
}

// The message goes through the country's diplomat: the diplomat is used and
// the next may leave for n a month from today, then the message runs here
// and is sent.
void ThroughDiplomat(CCountry& country, uint32_t n, std::unique_ptr<COVEvent> event) {
    country.SendUseDiplomat(n, n);
    ExecuteAndSendEvent(std::move(event));
}

// An alliance execution for the receiver: the alliance's number, the
// country it names (at +28 and +32) and the sender of the request.
std::unique_ptr<COVEvent> AllianceMessage(uint32_t type, uint32_t receiver, uint32_t alliance,
                                          uint32_t country, uint32_t sender) {
    auto event = std::make_unique<COVAllianceEvent>(type, MakeCountryId(receiver));
    COVEventData& payload = event->Payload();
    payload.Set(COVAllianceEvent::kCountry, sender);
    payload.Set(COVAllianceEvent::kFirst, alliance);
    payload.Set(COVAllianceEvent::kSecond, country);
    payload.Set(COVAllianceEvent::kExtraCountry, country);
    return event;
}

// --- the requests of an alliance ---

struct AllianceRequest {
    CAlliance* alliance = nullptr;
    uint32_t number = 0; // the alliance's number as the request names it
    CCountry* sender = nullptr;
    CCountry* other = nullptr;
};

// The alliance and the two countries of the request; false (logged) when
// one of them does not exist.
bool ReadAllianceRequest(const COVEvent& event, AllianceRequest& request) {
    const COVEventData& payload = event.Payload();
    request.number = payload.Get(COVAllianceEvent::kFirst);
    request.sender = ExistingCountry(event, kServer, payload.Get(COVAllianceEvent::kExtraCountry));
    request.other = ExistingCountry(event, kServer, payload.Get(COVAllianceEvent::kSecond));
    if (!request.sender || !request.other)
        return false;
    request.alliance = handlers::FindAllianceByNumber(request.number);
    if (!request.alliance) {
        LogRefusedRequest(event, kServer,
                          ("no alliance " + std::to_string(request.number)).c_str());
        return false;
    }
    return true;
}

size_t Participants(const CAlliance& alliance) {
    return alliance.participants.size();
}

void DestroyAlliance(const AllianceRequest& r) {
    const uint32_t s = r.sender->GetNumber();
    if (r.alliance->GetLeader() != static_cast<int32_t>(s)) {
        DebugPrint("%s: only the leader destroys alliance %u\n", kServer, r.number);
        return;
    }
    ThroughDiplomat(*r.sender, s, AllianceMessage(EVT_EXEC_DESTROY_ALLIANCE, s, r.number, s, s));
}

// An offer or a request to join accepted: the country that is not yet a
// member joins, and the execution goes to the other, who proposed.
void JoinAlliance(const AllianceRequest& r) {
    const bool senderJoins = !r.alliance->HasMember(r.sender->GetNumber());
    CCountry& joining = senderJoins ? *r.sender : *r.other;
    CCountry& proposing = senderJoins ? *r.other : *r.sender;
    if (&joining == &proposing || !joining.CanJoinAlliance(*r.alliance)) {
        DebugPrint("%s: %u may not join alliance %u\n", kServer, joining.GetNumber(), r.number);
        return;
    }
    const uint32_t s = r.sender->GetNumber();
    ExecuteAndSendEvent(AllianceMessage(EVT_EXEC_JOIN_ALLIANCE, proposing.GetNumber(), r.number,
                                        joining.GetNumber(), s));
    ExecuteAndSendEvent(AllianceMessage(EVT_ALLIANCE_SUB_OFFER, proposing.GetNumber(), r.number,
                                        joining.GetNumber(), s));
}

void LeaveAlliance(const AllianceRequest& r) {
    const int32_t leader = r.alliance->GetLeader();
    CCountry* leading = CountryOfNumber(leader);
    if (Participants(*r.alliance) < 2 || !leading || !r.sender->CanLeaveAlliance(*r.alliance)) {
        DebugPrint("%s: %u may not leave alliance %u\n", kServer, r.sender->GetNumber(), r.number);
        return;
    }
    ThroughDiplomat(*leading, static_cast<uint32_t>(leader),
                    AllianceMessage(EVT_EXEC_LEAVE_ALLIANCE, r.sender->GetNumber(), r.number,
                                    r.other->GetNumber(), r.sender->GetNumber()));
}

// The sender invites the other country.
void InviteAlliance(const COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t invited = payload.Get(COVAllianceEvent::kSecond);
    const uint32_t inviting = payload.Get(COVAllianceEvent::kExtraCountry);
    SendDiscoverCountry(invited, inviting);
    AllianceRequest r;
    if (!ReadAllianceRequest(event, r))
        return;
    CAlliance& alliance = *r.alliance;
    if (alliance.type == ALLIANCE_DYNASTIC)
        if (const CRelation* relation = RelationOf(*r.other, inviting);
            relation && relation->dynastic)
            return;
    const bool small = Participants(alliance) < 2;
    if (Participants(alliance) >= 1 && r.other->CanJoinAlliance(alliance)) {
        if (CRelation* relation = RelationOf(*r.sender, invited))
            relation->offerPending = 1;
        ThroughDiplomat(
            *r.sender, invited,
            AllianceMessage(EVT_EXEC_INVITE_ALLIANCE, invited, r.number, inviting, inviting));
        ExecuteAndSendEvent(
            AllianceMessage(EVT_ALLIANCE_ADD_OFFER, invited, r.number, inviting, inviting));
    }
    if (small)
        ExecuteAndSendEvent(
            AllianceMessage(EVT_ALLIANCE_SUB_OFFER, invited, r.number, inviting, inviting));
}

// The sender asks the alliance's leader to let it in.
void AskJoinAlliance(const AllianceRequest& r) {
    const int32_t leader = r.alliance->GetLeader();
    CCountry* leading = CountryOfNumber(leader);
    CCountry& asking = *r.sender;
    if (!leading || !asking.CanJoinAlliance(*r.alliance)) {
        DebugPrint("%s: %u may not ask to join alliance %u\n", kServer, asking.GetNumber(),
                   r.number);
        return;
    }
    const auto l = static_cast<uint32_t>(leader);
    const uint32_t a = asking.GetNumber();
    SendDiscoverCountry(l, a);
    if (CRelation* relation = RelationOf(asking, l))
        relation->offerPending = 1;
    ThroughDiplomat(asking, l, AllianceMessage(EVT_EXEC_ASKJOIN_ALLIANCE, l, r.number, a, a));
    ExecuteAndSendEvent(AllianceMessage(EVT_ALLIANCE_ADD_OFFER, a, r.number, a, a));
}

// The sender bans the other country from the alliance.
void BanFromAlliance(const AllianceRequest& r) {
    const uint32_t s = r.sender->GetNumber();
    const uint32_t banned = r.other->GetNumber();
    if (Participants(*r.alliance) < 2 || !r.sender->CanCallAllyToArms(*r.alliance, banned)) {
        DebugPrint("%s: %u may not ban %u from alliance %u\n", kServer, s, banned, r.number);
        return;
    }
    ThroughDiplomat(*r.sender, s,
                    AllianceMessage(EVT_EXEC_BANNED_FROM_ALLIANCE, banned, r.number, s, s));
}

// The sender declines the other country's offer.
void DeclineAllianceOffer(const AllianceRequest& r) {
    const uint32_t s = r.sender->GetNumber();
    const uint32_t offering = r.other->GetNumber();
    if (!r.sender->CanJoinAlliance(*r.alliance)) {
        DebugPrint("%s: %u could not have joined alliance %u\n", kServer, s, r.number);
        return;
    }
    ExecuteAndSendEvent(AllianceMessage(EVT_EXEC_DECLINE_ALLIANCE_OFFER, offering, r.number, s, s));
    ExecuteAndSendEvent(AllianceMessage(EVT_ALLIANCE_SUB_OFFER, offering, r.number, s, s));
}

// The alliance's leader declines the other country's request to join.
void DeclineAllianceJoin(const AllianceRequest& r) {
    const int32_t leader = r.alliance->GetLeader();
    if (leader < 0) {
        DebugPrint("%s: alliance %u has no leader to decline\n", kServer, r.number);
        return;
    }
    const uint32_t asking = r.other->GetNumber();
    const uint32_t s = r.sender->GetNumber();
    ExecuteAndSendEvent(AllianceMessage(EVT_EXEC_DECLINE_ALLIANCE_JOIN, asking, r.number,
                                        static_cast<uint32_t>(leader), s));
    ExecuteAndSendEvent(AllianceMessage(EVT_ALLIANCE_SUB_OFFER, asking, r.number, asking, s));
}

void HandleAllianceRequest(COVEvent& event) {
    if (event.GetType() == EVT_REQ_INVITE_ALLIANCE) {
        InviteAlliance(event);
        return;
    }
    AllianceRequest r;
    if (!ReadAllianceRequest(event, r))
        return;
    switch (event.GetType()) {
    case EVT_REQ_DESTROY_ALLIANCE:
        DestroyAlliance(r);
        break;
    case EVT_REQ_JOIN_ALLIANCE:
        JoinAlliance(r);
        break;
    case EVT_REQ_LEAVE_ALLIANCE:
        LeaveAlliance(r);
        break;
    case EVT_REQ_ASKJOIN_ALLIANCE:
        AskJoinAlliance(r);
        break;
    case EVT_REQ_BANNED_FROM_ALLIANCE:
        BanFromAlliance(r);
        break;
    case EVT_REQ_DECLINE_ALLIANCE_OFFER:
        DeclineAllianceOffer(r);
        break;
    case EVT_REQ_DECLINE_ALLIANCE_JOIN:
        DeclineAllianceJoin(r);
        break;
    default:
        break;
    }
}

// --- annexation ---

void HandleAnnexation(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CCountry* first = ExistingCountry(event, kServer, payload.Get(COVAnnexationEvent::kCountry));
    CCountry* second = ExistingCountry(event, kServer, payload.Get(COVAnnexationEvent::kOther));
    if (!first || !second)
        return;
    const uint32_t type = event.GetType();
    if (type != EVT_REQ_DECLINE_ANNEXATION && !first->CanAnnexVassal(second->GetNumber())) {
        DebugPrint("%s: %u may not annex %u\n", kServer, first->GetNumber(), second->GetNumber());
        return;
    }
    // The offer goes to the vassal; the answers to the offering country.
    const uint32_t receiver =
        type == EVT_REQ_OFFER_ANNEXATION ? second->GetNumber() : first->GetNumber();
    ExecuteAndSendEvent(CopyRequestAs(event,
                                      type + (EVT_EXEC_OFFER_ANNEXATION - EVT_REQ_OFFER_ANNEXATION),
                                      MakeCountryId(receiver)));
}

// --- peace ---

// An answer to a peace offer: the offering country (+20) must still be at
// war with the answering one (+32).
void HandlePeaceAnswer(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CCountry* offering = ExistingCountry(event, kServer, payload.Get(COVPeaceEvent::kOther));
    const uint32_t answering = payload.Get(COVPeaceEvent::kCountry);
    if (!offering)
        return;
    const ObjectId offer = payload.Get(COVPeaceEvent::kOffer);
    if (std::none_of(g_peaceOffers.begin(), g_peaceOffers.end(),
                     [&offer](const auto& held) { return held && held->id == offer; })) {
        LogRefusedRequest(event, kServer, "no such peace offer");
        return;
    }
    if (!offering->m_diplomacy.IsAtWarWith(answering)) {
        DebugPrint("%s: %u and %u are not at war; peace answer dropped\n", kServer,
                   offering->GetNumber(), answering);
        return;
    }
    const uint32_t type =
        event.GetType() == EVT_REQ_ACCEPT_PEACE ? EVT_EXEC_ACCEPT_PEACE : EVT_EXEC_DECLINE_PEACE;
    ExecuteAndSendEvent(
        std::make_unique<COVPeaceEvent>(type, offering->GetId(), offering->GetNumber(),
                                        payload.Get(COVPeaceEvent::kOffer), answering));
}

uint32_t Term(const COVEventData& payload, size_t index) {
    return payload.Get(COVPeaceOfferEvent::kTerms[index]);
}

// A peace offer to another country: it is made on every machine with the
// money held to what the payer has, the offering country's diplomat leaves,
// and the other country and the owners of the provinces asked for hear of
// it.
void HandlePeaceOffer(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    if (!payload.Holds(COVPeaceOfferEvent::kTerms[PeaceOfferTerms::kReligion])) {
        LogRefusedRequest(event, kServer, "short peace offer");
        return;
    }
    CCountry* offering = ExistingCountry(event, kServer, payload.Get(COVPeaceEvent::kCountry));
    CCountry* other = ExistingCountry(event, kServer, Term(payload, PeaceOfferTerms::kTo));
    if (!offering || !other)
        return;
    const uint32_t count = Term(payload, PeaceOfferTerms::kProvinceCount);
    if (count > kPeaceOfferProvinceSlots) {
        LogRefusedRequest(event, kServer, ("province count " + std::to_string(count)).c_str());
        return;
    }
    float money = std::bit_cast<float>(Term(payload, PeaceOfferTerms::kCash));
    if (!std::isfinite(money)) {
        LogRefusedRequest(event, kServer, "money not a number");
        return;
    }
    const bool demanding = Term(payload, PeaceOfferTerms::kDemanding) != 0;
    if (money > 0.0f) {
        // What the payer holds, and nothing from a payer in debt.
        const CCountry& payer = demanding ? *other : *offering;
        money = std::min(money, std::max(payer.m_treasury, 0.0f));
    }
    const uint32_t a = offering->GetNumber();
    const uint32_t b = other->GetNumber();
    const ObjectId offer = payload.Get(COVPeaceEvent::kOffer);

    auto made = CopyRequestAs(event, EVT_EXEC_CREATE_PEACE_OFFER, offering->GetId());
    made->Payload().Set(COVPeaceOfferEvent::kTerms[PeaceOfferTerms::kCash],
                        std::bit_cast<uint32_t>(money));
    ExecuteAndSendEvent(std::move(made));
    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(EVT_USE_DIPLOMAT, offering->GetId()));
    const CDate next = NextDiplomatDate();
    const auto tell = [&](uint32_t country) {
        PostAndSendEventNow(std::make_unique<COVPeaceEvent>(EVT_OFFER_PEACE, MakeCountryId(country),
                                                            country, offer, a));
        PostAndSendEventNow(std::make_unique<COVSendDateEvent>(EVT_SET_SEND_DATE, offering->GetId(),
                                                               country, next));
    };
    tell(b);
    if (!demanding)
        return;
    // The owners of the provinces asked for, but the other country, hear of
    // it too; a slot beyond the province ids or without an owner is passed.
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t id = Term(payload, PeaceOfferTerms::kProvinces + i);
        const CProvince* province = IsPayloadProvince(id) ? GetProvince(id) : nullptr;
        const CCountry* owner = province ? province->GetOwner() : nullptr;
        if (!owner) {
            DebugPrint("%s: peace offer province %u without an owner passed\n", kServer, id);
            continue;
        }
        if (owner->GetNumber() != b)
            tell(owner->GetNumber());
    }
}

// A separate peace between an attacker and a defender of a war: the war is
// split, the six new ids given here.
void HandleSeparatePeace(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const ObjectId warId = payload.Get(SeparatePeaceRequestPayload::kWar);
    const uint32_t a = payload.Get(SeparatePeaceRequestPayload::kAttacker);
    const uint32_t b = payload.Get(SeparatePeaceRequestPayload::kDefender);
    const CWar* war = FindWar(warId);
    if (!war || !war->HasBothSides()) {
        LogRefusedRequest(event, kServer, "no war");
        return;
    }
    if (!war->attackers->HasMember(a) || !war->defenders->HasMember(b)) {
        DebugPrint("%s: %u and %u are not on the two sides of the war\n", kServer, a, b);
        return;
    }
    std::array<ObjectId, 6> ids;
    for (ObjectId& id : ids)
        id = NewObjectId();
    auto split = std::make_unique<COVDataEvent>(EVT_UNNAMED_218, MakeCountryId(a));
    COVEventData& out = split->Payload();
    out.Set(SplitWarPayload::kWar, warId);
    out.Set(SplitWarPayload::kFirstWar, ids[0]);
    out.Set(SplitWarPayload::kFirstAttackers, ids[3]);
    out.Set(SplitWarPayload::kFirstDefenders, ids[1]);
    out.Set(SplitWarPayload::kSecondWar, ids[4]);
    out.Set(SplitWarPayload::kSecondAttackers, ids[2]);
    out.Set(SplitWarPayload::kSecondDefenders, ids[5]);
    out.Set(SplitWarPayload::kFirstCountry, a);
    out.Set(SplitWarPayload::kSecondCountry, b);
    ExecuteAndSendEvent(std::move(split));
}

// --- war and calls to arms ---

void HandleSetupWar(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CCountry* declaring = ExistingCountry(event, kServer, payload.Get(COVWarEvent::kCountry));
    CCountry* declared = ExistingCountry(event, kServer, payload.Get(COVWarEvent::kOther));
    if (!declaring || !declared)
        return;
    const uint32_t a = declaring->GetNumber();
    const uint32_t b = declared->GetNumber();
    if (!declaring->CanDeclareWarOn(b)) {
        DebugPrint("%s: %u may not declare war on %u\n", kServer, a, b);
        return;
    }
    if (CRelation* relation = RelationOf(*declaring, b))
        relation->warBlocked = 1;
    const ObjectId attackers = NewObjectId();
    const ObjectId defenders = NewObjectId();
    const ObjectId war = NewObjectId();
    ThroughDiplomat(
        *declaring, b,
        std::make_unique<COVWarEvent>(EVT_EXEC_SETUP_WAR, declaring->GetId(),
                                      std::array<uint32_t, 8>{war.type, war.number, attackers.type,
                                                              attackers.number, defenders.type,
                                                              defenders.number, a, b}));
}

// The answer to a call to arms against the country of the war concerned
// (+48), which the answering country must not be at war with yet.
void HandleCallAnswer(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CCountry* answering =
        ExistingCountry(event, kServer, payload.Get(HonorAlliancePayload::kCountry));
    const uint32_t enemy = payload.Get(HonorAlliancePayload::kValues[6]);
    if (!answering)
        return;
    if (!IsPayloadCountry(enemy)) {
        LogRefusedRequest(event, kServer, ("enemy " + std::to_string(enemy)).c_str());
        return;
    }
    if (answering->m_diplomacy.IsAtWarWith(enemy)) {
        DebugPrint("%s: %u is already at war with %u\n", kServer, answering->GetNumber(), enemy);
        return;
    }
    if (CRelation* relation = RelationOf(*answering, enemy))
        relation->warBlocked = 1;
    const uint32_t type = event.GetType() == EVT_REQ_HONOR_ALLIANCE ? EVT_EXEC_HONOR_ALLIANCE
                                                                    : EVT_EXEC_DISHONOR_ALLIANCE;
    ExecuteAndSendEvent(CopyRequestAs(event, type, answering->GetId()));
}

// --- trade and relations ---

void HandleTradeRefusal(COVEvent& event) {
    CCountry* refusing = ExistingCountry(event, kServer, event.Payload().Get(PairPayload::kFirst));
    if (!refusing)
        return;
    const uint32_t type =
        event.GetType() == EVT_REQ_REFUSETRADE ? EVT_EXEC_REFUSETRADE : EVT_EXEC_UNREFUSETRADE;
    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(EVT_USE_DIPLOMAT, refusing->GetId()));
    ExecuteAndSendEvent(CopyRequestAs(event, type, refusing->GetId()));
}

// The change a diplomat's mission of the kind brings before the rolls.
float RelationBase(uint32_t kind) {
    switch (kind) {
    case 25:
        return 100.0f;
    case 26:
        return 50.0f;
    case 27:
        return 10.0f;
    case 28:
        return -10.0f;
    case 29:
        return -50.0f;
    case 30:
        return -100.0f;
    default:
        return 0.0f;
    }
}

void HandleRelation(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CCountry* acting =
        ExistingCountry(event, kServer, payload.Get(RelationRequestPayload::kCountry));
    CCountry* other = ExistingCountry(event, kServer, payload.Get(RelationRequestPayload::kOther));
    if (!acting || !other)
        return;
    const uint32_t a = acting->GetNumber();
    const uint32_t o = other->GetNumber();
    SendDiscoverCountry(o, a);
    const uint32_t kind = payload.Get(RelationRequestPayload::kKind);
    const int32_t d = acting->GetMonarchDip() - 1 + GameRand() % 3;
    const int32_t r = GameRand() % 100;
    const float change =
        static_cast<float>(r) * static_cast<float>(d) * RelationBase(kind) * 0.0033f;

    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(EVT_USE_DIPLOMAT, acting->GetId()));
    ExecuteAndSendEvent(std::make_unique<COVSendDateEvent>(EVT_SET_SEND_DATE, acting->GetId(), o,
                                                           NextDiplomatDate()));
    auto relation = std::make_unique<COVDataEvent>(EVT_EXEC_RELATION, acting->GetId());
    COVEventData& out = relation->Payload();
    out.Set(ExecRelationPayload::kChange, change);
    out.Set(ExecRelationPayload::kAmount, payload.Get(RelationRequestPayload::kAmount));
    out.Set(ExecRelationPayload::kKind, kind);
    out.Set(ExecRelationPayload::kCountry, a);
    out.Set(ExecRelationPayload::kOther, o);
    ExecuteAndSendEvent(std::move(relation));
}

} // namespace

void SendDiscoverCountry(uint32_t a, uint32_t b) {
    const CCountry* learning = CountryOfNumber(a);
    const CCountry* learnt = CountryOfNumber(b);
    if (!learning || !learnt)
        return;
    const int32_t capital = learnt->GetCapitalId();
    if (!IsPayloadProvince(capital) || !GetProvince(capital) || IsProvinceDiscovered(a, capital))
        return;
    auto country = std::make_unique<COVDataEvent>(EVT_DISCOVERCOUNTRY, learning->GetId());
    country->Payload().Set(ExplorationPayload::kCountry, b);
    country->Payload().Set(ExplorationPayload::kFlag, uint8_t{1});
    ExecuteAndSendEvent(std::move(country));
    ExecuteAndSendEvent(std::make_unique<COVProvinceEvent>(EVT_DISCOVERPROVINCE, learning->GetId(),
                                                           static_cast<uint32_t>(capital)));
}

int HandleDiplomacyRequest(COVEvent& event) {
    if (!IsHost())
        return 0;
    switch (event.GetType()) {
    case EVT_REQ_OFFER_ANNEXATION:
    case EVT_REQ_SET_ANNEXATION:
    case EVT_REQ_DECLINE_ANNEXATION:
    case EVT_REQ_DESTROY_ALLIANCE:
    case EVT_REQ_JOIN_ALLIANCE:
    case EVT_REQ_LEAVE_ALLIANCE:
    case EVT_REQ_INVITE_ALLIANCE:
    case EVT_REQ_ASKJOIN_ALLIANCE:
    case EVT_REQ_BANNED_FROM_ALLIANCE:
    case EVT_REQ_DECLINE_ALLIANCE_OFFER:
    case EVT_REQ_DECLINE_ALLIANCE_JOIN:
    case EVT_REQ_ACCEPT_PEACE:
    case EVT_REQ_DECLINE_PEACE:
    case EVT_REQ_CREATE_PEACE_OFFER:
    case EVT_REQ_SETUP_WAR:
    case EVT_REQ_DISHONOR_ALLIANCE:
    case EVT_REQ_HONOR_ALLIANCE:
    case EVT_REQ_REFUSETRADE:
    case EVT_REQ_UNREFUSETRADE:
    case EVT_UNNAMED_217:
    case EVT_REQ_RELATION:
        break;
    default:
        return 0;
    }
    if (!IsSoundRequest(event, kServer))
        return 0;
    switch (event.GetType()) {
    case EVT_REQ_OFFER_ANNEXATION:
    case EVT_REQ_SET_ANNEXATION:
    case EVT_REQ_DECLINE_ANNEXATION:
        HandleAnnexation(event);
        break;
    case EVT_REQ_ACCEPT_PEACE:
    case EVT_REQ_DECLINE_PEACE:
        HandlePeaceAnswer(event);
        break;
    case EVT_REQ_CREATE_PEACE_OFFER:
        HandlePeaceOffer(event);
        break;
    case EVT_REQ_SETUP_WAR:
        HandleSetupWar(event);
        break;
    case EVT_REQ_DISHONOR_ALLIANCE:
    case EVT_REQ_HONOR_ALLIANCE:
        HandleCallAnswer(event);
        break;
    case EVT_REQ_REFUSETRADE:
    case EVT_REQ_UNREFUSETRADE:
        HandleTradeRefusal(event);
        break;
    case EVT_UNNAMED_217:
        HandleSeparatePeace(event);
        break;
    case EVT_REQ_RELATION:
        HandleRelation(event);
        break;
    default:
        HandleAllianceRequest(event);
        break;
    }
    return 0;
}
