// The handlers of the alliances' outcome: an alliance made, an offer sent
// or answered, a member joining, leaving or banned, a vassal annexed, and
// a call to arms honoured or not.
#include <algorithm>
#include <memory>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "country/HandlerSupport.h"
#include "country/Relations.h"
#include "country/SoundEffects.h"
#include "country/War.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/GameNotices.h"
#include "world/MapView.h"

namespace handlers {

void DropMessage(const COVEvent& event, const char* reason) {
    DebugPrint("Country message %d dropped: %s\n", static_cast<int>(event.GetType()), reason);
}

CAlliance* FindAllianceByNumber(uint32_t number) {
    for (const auto& alliance : g_alliances)
        if (alliance && alliance->id.number == number)
            return alliance.get();
    return nullptr;
}

std::string NameOf(int64_t number) {
    const CCountry* country = CountryOfNumber(number);
    return country && country->GetName() ? country->GetName() : "";
}

std::string FormatCountryList(const std::vector<uint32_t>& list, int64_t a, int64_t b) {
    std::string text;
    for (uint32_t member : list) {
        if (member == a || member == b || !CountryOfNumber(member))
            continue;
        if (!text.empty())
            text += ", ";
        text += NameOf(member);
    }
    return text;
}

void RecolourMapNow() {
    RecolourMap(g_viewingCountry, g_mapMode);
}

} // namespace handlers

using namespace handlers;

namespace {

// The player's notices of the alliances.
constexpr int32_t kNoticeRoyalMarriageAccept = 51;
constexpr int32_t kNoticeRoyalMarriageReject = 52;
constexpr int32_t kNoticeMilitaryAccept = 54;
constexpr int32_t kNoticeMilitaryReject = 55;
constexpr int32_t kNoticeMilitaryInviteAccept = 57;
constexpr int32_t kNoticeVassalAccept = 66;
constexpr int32_t kNoticeVassalReject = 67;
constexpr int32_t kNoticeAnnexAccept = 68;
constexpr int32_t kNoticeAnnexReject = 69;
constexpr int32_t kNoticeAnnexAcceptOther = 74;
constexpr int32_t kNoticeVassalAcceptOther = 75;
constexpr int32_t kNoticeMilitaryInviteAcceptOther = 78;
constexpr int32_t kNoticeMilitaryBanOther = 80;
constexpr int32_t kNoticeMilitaryDishonorOther = 82;
constexpr int32_t kNoticeRoyalMarriageAcceptOther = 83;
constexpr int32_t kNoticeMilitaryDishonor = 88;
constexpr int32_t kNoticeWeDishonor = 89;
constexpr int32_t kNoticeMilitaryBreak = 90;
constexpr int32_t kNoticeRoyalMarriageBreak = 91;
constexpr int32_t kNoticeVassalBreak = 92;

// The alliance message's alliance and other country; false (the message
// logged) when the other country is no country number.
struct AllianceMessage {
    CAlliance* alliance = nullptr;
    uint32_t other = 0;
};
bool ReadAllianceMessage(const COVEvent& event, AllianceMessage& message) {
    const COVEventData& payload = event.Payload();
    const uint32_t other = payload.Get(COVAllianceEvent::kSecond);
    if (!IsCountryNumber(other)) {
        DropMessage(event, "no country number");
        return false;
    }
    message.other = other;
    message.alliance = FindAllianceByNumber(payload.Get(COVAllianceEvent::kFirst));
    return true;
}

bool Contains(const std::vector<uint32_t>& list, int64_t n) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

// The call to arms' values: the war's id at 2 and 3, the alliance's at 4
// and 5, the calling country at 7.
constexpr size_t kCallWar = 2;
constexpr size_t kCallAlliance = 4;
constexpr size_t kCallCaller = 7;

ObjectId CallId(const COVEvent& event, size_t first) {
    const COVEventData& payload = event.Payload();
    return ObjectId(static_cast<uint16_t>(payload.Get(HonorAlliancePayload::kValues[first])),
                    payload.Get(HonorAlliancePayload::kValues[first + 1]));
}

// The called-to-arms list of a call's message: the alliance, or the war
// side, that the call names.
CAlliance* CalledAlliance(const COVEvent& event) {
    const ObjectId id = CallId(event, kCallAlliance);
    if (CAlliance* alliance = FindAlliance(id))
        return alliance;
    for (const auto& war : g_wars) {
        if (war && war->attackers && war->attackers->id == id)
            return war->attackers.get();
        if (war && war->defenders && war->defenders->id == id)
            return war->defenders.get();
    }
    return nullptr;
}

CDate DateInYears(int32_t years) {
    CDate date = GetGameDate();
    date.AddYears(years);
    return date;
}

} // namespace

int CCountry::OnCreateAlliance(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    auto alliance = std::make_unique<CAlliance>();
    alliance->Init();
    alliance->id =
        ObjectId(static_cast<uint16_t>(payload.Get(COVCreateAllianceEvent::kAllianceType)),
                 payload.Get(COVCreateAllianceEvent::kAllianceNumber));
    alliance->type = payload.Get(COVCreateAllianceEvent::kKind);
    const ObjectId id = alliance->id;
    const uint32_t type = alliance->type;
    alliance->expiryDate = DateInYears(type == ALLIANCE_DYNASTIC        ? 25
                                       : type == ALLIANCE_VASSALIZATION ? 350
                                                                        : 10);
    alliance->pendingOffers = 1;
    g_alliances.push_back(std::move(alliance));
    AddAllianceMember(id, m_number);
    return EVENT_CONSUMED;
}

int CCountry::OnAllianceAddOffer(COVEvent& event) {
    AllianceMessage message;
    if (ReadAllianceMessage(event, message) && message.alliance)
        ++message.alliance->pendingOffers;
    return EVENT_CONSUMED;
}

int CCountry::OnAllianceSubOffer(COVEvent& event) {
    AllianceMessage message;
    if (ReadAllianceMessage(event, message) && message.alliance)
        --message.alliance->pendingOffers;
    return EVENT_CONSUMED;
}

int CCountry::OnExecJoinAlliance(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message))
        return EVENT_CONSUMED;
    CAlliance* alliance = message.alliance;
    const uint32_t other = message.other;
    if (!alliance) {
        RecolourMapNow();
        return EVENT_CONSUMED;
    }
    const ObjectId id = alliance->id;
    AddAllianceMember(id, other);
    PlayCountrySound(*this, SOUND_AGREEMENT);
    const std::string otherName = NameOf(other);
    float relation = 0.0f;
    switch (alliance->type) {
    case ALLIANCE_DYNASTIC:
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, 2.0f);
        if (IsLocalHuman())
            PostGameMessage1(kNoticeRoyalMarriageAccept, m_number, otherName, otherName);
        else
            PostGameMessage2(kNoticeRoyalMarriageAcceptOther, m_number, otherName, otherName,
                             GetName());
        relation = 15.0f;
        break;
    case ALLIANCE_VASSALIZATION:
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, 20.0f);
        if (IsLocalHuman())
            PostGameMessage1(kNoticeVassalAccept, m_number, otherName, otherName);
        else
            PostGameMessage2(kNoticeVassalAcceptOther, m_number, otherName, otherName, GetName());
        relation = 50.0f;
        break;
    case ALLIANCE_MILITARY: {
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, 5.0f);
        const std::string members = FormatCountryList(alliance->participants, m_number, other);
        if (IsLocalHuman()) {
            if (alliance->participants.size() == 2)
                PostGameMessage1(kNoticeMilitaryAccept, m_number, otherName, otherName);
            else
                PostGameMessage2(kNoticeMilitaryInviteAccept, m_number, otherName, otherName,
                                 members);
        } else {
            PostGameMessage2(kNoticeMilitaryInviteAcceptOther, m_number, otherName, otherName,
                             members);
        }
        relation = 20.0f;
        break;
    }
    default:
        break;
    }

    if (alliance->type == ALLIANCE_VASSALIZATION) {
        // The vassal keeps no marriage with its overlord, and leaves the
        // military alliances without the overlord and the marriages with
        // members the overlord has no marriage with.
        m_diplomacy.BreakDynasticAlliancesWith(other);
        CCountry* vassal = CountryOfNumber(other);
        std::vector<uint32_t> leave;
        for (const auto& held : g_alliances) {
            if (!held || !Contains(held->participants, other))
                continue;
            bool leaves = false;
            if (held->type == ALLIANCE_MILITARY)
                leaves = !Contains(held->participants, m_number);
            else if (held->type == ALLIANCE_DYNASTIC)
                for (uint32_t member : held->participants)
                    if (member != other && member != m_number &&
                        m_diplomacy.GetDynasticAllianceWith(member).IsNull())
                        leaves = true;
            if (leaves)
                leave.push_back(held->id.number);
        }
        if (vassal)
            for (uint32_t number : leave)
                vassal->SendLeaveAlliance(number, m_number);
    }

    SendRefreshWindows();
    if (relation != 0.0f)
        ChangeRelationMutual(m_number, other, relation);
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnExecLeaveAlliance(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message) || !message.alliance)
        return EVENT_CONSUMED;
    CAlliance* alliance = message.alliance;
    const uint32_t other = message.other;
    const bool wasLeader = alliance->GetLeader() == static_cast<int32_t>(m_number);
    PlayCountrySoundAmong(alliance->participants, SOUND_ALLIANCE_BROKEN);
    std::erase_if(alliance->participants, [this](uint32_t member) { return member == m_number; });

    if (!alliance->participants.empty()) {
        if (wasLeader)
            alliance->ElectLeader();
        const std::string members = FormatCountryList(alliance->participants);
        switch (alliance->type) {
        case ALLIANCE_DYNASTIC:
            AddBaseVictoryPoints(kDiplomacyVictoryPoints, -5.0f);
            DecreaseStability(1);
            ChangeRelationMutual(m_number, other, -45.0f);
            PostGameMessage2(kNoticeRoyalMarriageBreak, m_number, GetName(), GetName(), members);
            break;
        case ALLIANCE_VASSALIZATION: {
            AddBaseVictoryPoints(kDiplomacyVictoryPoints, -5.0f);
            PostGameMessage2(kNoticeVassalBreak, m_number, GetName(), GetName(), members);
            ChangeRelationMutual(m_number, other, -150.0f);
            DecreaseStability(3);
            const CCountry* overlord = CountryOfNumber(other);
            for (uint32_t n = 0; overlord && n < kCountrySlots; ++n) {
                const CCountry* third = CountryOfNumber(n);
                if (!third || n == m_number || n == other)
                    continue;
                if (third->m_religion.stateReligion == overlord->m_religion.stateReligion)
                    ChangeRelationMutual(n, m_number, -50.0f);
            }
            break;
        }
        case ALLIANCE_MILITARY: {
            DecreaseStability(1);
            ChangeRelationMutual(m_number, other, -100.0f);
            AddBaseVictoryPoints(kDiplomacyVictoryPoints, -5.0f);
            CCountryList remaining;
            for (uint32_t member : alliance->participants)
                remaining.AddTail(member);
            SendGiveCasusBelli(remaining, m_number);
            PostGameMessage2(kNoticeMilitaryBreak, m_number, GetName(), GetName(), members);
            break;
        }
        default:
            break;
        }
    }
    RebuildDiplomaticStatus();
    SendRefreshWindows();
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnExecBannedFromAlliance(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message) || !message.alliance)
        return EVENT_CONSUMED;
    CAlliance* alliance = message.alliance;
    const uint32_t other = message.other;
    ChangeRelationMutual(m_number, other, -50.0f);
    const int32_t leader = alliance->GetLeader();
    if (leader >= 0)
        PostGameMessage2(kNoticeMilitaryBanOther, static_cast<uint32_t>(leader), GetName(),
                         GetName(), NameOf(other));
    std::erase_if(alliance->participants, [this](uint32_t member) { return member == m_number; });
    for (uint32_t member : alliance->participants)
        if (member != other)
            ChangeRelationMutual(other, member, -10.0f);
    if (CCountry* banning = CountryOfNumber(other))
        if (CRelation* relation = banning->m_diplomacy.GetRelation(m_number))
            relation->DropTemporaryCasusBelli();
    RebuildDiplomaticStatus();
    RecolourMapNow();
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnExecDeclineAllianceOffer(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message) || !message.alliance)
        return EVENT_CONSUMED;
    const uint32_t other = message.other;
    const std::string otherName = NameOf(other);
    PlayCountrySound(*this, SOUND_REFUSAL);
    int32_t notice = -1;
    float relation = 0.0f;
    switch (message.alliance->type) {
    case ALLIANCE_DYNASTIC:
        relation = -5.0f;
        notice = kNoticeRoyalMarriageReject;
        break;
    case ALLIANCE_VASSALIZATION:
        relation = -30.0f;
        notice = kNoticeVassalReject;
        break;
    case ALLIANCE_MILITARY:
        relation = -10.0f;
        notice = kNoticeMilitaryReject;
        break;
    default:
        return EVENT_CONSUMED;
    }
    ChangeRelationMutual(m_number, other, relation);
    if (IsLocalHuman())
        PostGameMessage1(notice, m_number, otherName, otherName);
    return EVENT_CONSUMED;
}

int CCountry::OnExecDeclineAllianceJoin(COVEvent& event) {
    AllianceMessage message;
    if (ReadAllianceMessage(event, message) && IsLocalHuman()) {
        PlaySoundEffect(SOUND_REFUSAL);
        PostGameMessage1(kNoticeMilitaryReject, m_number, NameOf(message.other),
                         NameOf(message.other));
    }
    return EVENT_CONSUMED;
}

int CCountry::OnExecInviteAlliance(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message))
        return EVENT_CONSUMED;
    if (CCountry* other = CountryOfNumber(message.other))
        if (CRelation* relation = other->m_diplomacy.GetRelation(m_number))
            relation->offerPending = 0;
    return EVENT_CONSUMED;
}

int CCountry::OnExecDestroyAlliance(COVEvent& event) {
    AllianceMessage message;
    if (!ReadAllianceMessage(event, message) || !message.alliance)
        return EVENT_CONSUMED;
    const CAlliance* gone = message.alliance;
    std::erase_if(g_alliances,
                  [gone](const std::unique_ptr<CAlliance>& held) { return held.get() == gone; });
    RebuildDiplomaticStatus();
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnExecSetAnnexation(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t annexed = payload.Get(COVAnnexationEvent::kOther);
    if (!IsCountryNumber(annexed) || annexed == m_number) {
        DropMessage(event, "no annexed country");
        return EVENT_CONSUMED;
    }
    AddBaseVictoryPoints(kDiplomacyVictoryPoints, 20.0f);
    PlayCountrySound(*this, SOUND_AGREEMENT);
    const std::string annexedName = NameOf(annexed);
    if (IsLocalHuman())
        PostGameMessage1(kNoticeAnnexAccept, m_number, annexedName, annexedName);
    else
        PostGameMessage2(kNoticeAnnexAcceptOther, m_number, GetName(), GetName(), annexedName);

    const CCountry* absorbed = CountryOfNumber(annexed);
    for (uint32_t n = 0; absorbed && n < kCountrySlots; ++n) {
        CCountry* third = CountryOfNumber(n);
        if (!third || n == m_number || n == annexed)
            continue;
        const CRelation* toward = third->m_diplomacy.GetRelation(annexed);
        const float value = toward ? toward->GetValue() : 0.0f;
        if (value > 150.0f)
            ChangeRelationMutual(m_number, n, -100.0f);
        else if (value > 100.0f)
            ChangeRelationMutual(m_number, n, -50.0f);
        else if (value > 50.0f)
            ChangeRelationMutual(m_number, n, -25.0f);
        if (absorbed->m_figures.neighbour[n])
            ChangeRelationMutual(m_number, n, -40.0f);
        else if (m_figures.neighbour[n])
            ChangeRelationMutual(m_number, n, -25.0f);
    }
    Annex(annexed);
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnExecDeclineAnnexation(COVEvent& event) {
    const uint32_t other = event.Payload().Get(COVAnnexationEvent::kOther);
    if (!IsCountryNumber(other)) {
        DropMessage(event, "no country number");
        return EVENT_CONSUMED;
    }
    if (IsLocalHuman()) {
        PlaySoundEffect(SOUND_REFUSAL);
        PostGameMessage1(kNoticeAnnexReject, m_number, NameOf(other), NameOf(other));
    }
    ChangeRelationMutual(m_number, other, -50.0f);
    return EVENT_CONSUMED;
}

int CCountry::OnRequestHonorAlliance(COVEvent& event) {
    if (CAlliance* alliance = CalledAlliance(event))
        if (!Contains(alliance->candidates, m_number))
            alliance->candidates.push_back(m_number);
    return EVENT_CONSUMED;
}

int CCountry::OnExecHonorAlliance(COVEvent& event) {
    if (CAlliance* alliance = CalledAlliance(event))
        std::erase_if(alliance->candidates, [this](uint32_t n) { return n == m_number; });
    // The war is joined on the side of the calling country.
    const uint32_t caller = event.Payload().Get(HonorAlliancePayload::kValues[kCallCaller]);
    CWar* war = FindWar(CallId(event, kCallWar));
    if (war && war->HasBothSides() && IsCountryNumber(caller)) {
        const bool attacker = war->IsAttacker(caller);
        const CAlliance& side = attacker ? *war->attackers : *war->defenders;
        const CAlliance& enemySide = attacker ? *war->defenders : *war->attackers;
        const int32_t enemy = enemySide.GetLeader();
        if (enemy >= 0)
            if (CRelation* relation = m_diplomacy.GetRelation(enemy))
                relation->warBlocked = 0;
        ExecuteEvent(std::make_unique<COVWarEvent>(
            EVT_JOIN_WAR, GetId(),
            std::array<uint32_t, 8>{war->id.type, war->id.number, side.id.type, side.id.number,
                                    enemySide.id.type, enemySide.id.number, m_number,
                                    static_cast<uint32_t>(enemy < 0 ? 0 : enemy)}));
    }
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnExecDishonorAlliance(COVEvent& event) {
    const uint32_t ally = event.Payload().Get(HonorAlliancePayload::kValues[kCallCaller]);
    if (!IsCountryNumber(ally)) {
        DropMessage(event, "no calling country");
        return EVENT_CONSUMED;
    }
    CDate expiry = GetGameDate();
    expiry.AddMonths(6);
    auto cb = std::make_unique<COVDataEvent>(EVT_GIVECB, MakeCountryId(ally));
    cb->Payload().Set(CasusBelliPayload::kExpiry, expiry);
    cb->Payload().Set(CasusBelliPayload::kAgainst, GetId());
    cb->Payload().Set(CasusBelliPayload::kFlags[0], 1);
    cb->Payload().Set(CasusBelliPayload::kFlags[1], 0);
    ExecuteEvent(std::move(cb));
    m_aggression += 2;

    CAlliance* alliance = CalledAlliance(event);
    if (alliance) {
        PlayCountrySoundAmong(alliance->participants, SOUND_ALLIANCE_BROKEN);
        std::erase_if(alliance->candidates, [this](uint32_t n) { return n == m_number; });
        const std::string members = FormatCountryList(alliance->participants);
        if (IsLocalHuman())
            PostGameMessage1(kNoticeWeDishonor, m_number, members, members);
        else
            PostGameMessage2(kNoticeMilitaryDishonorOther, m_number, GetName(), GetName(), members);
        (void)kNoticeMilitaryDishonor;
    }
    DecreaseStability(1);
    if (alliance)
        RemoveAllianceMember(alliance->id, m_number);
    RecolourMapNow();
    return EVENT_CONSUMED;
}
