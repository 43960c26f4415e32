// The country's handlers of game events and missions, lost battles and
// sieges, the change of religion, the improvements and the cancelling of
// constructions, white peace, merged wars and the creation of a peace
// offer. A message naming a country, a province, a war or a construction
// that does not exist changes nothing (a trace line tells).
#include <algorithm>
#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryMilitary.h"
#include "country/CountryMissions.h"
#include "country/CountryReligion.h"
#include "country/HandlerSupport.h"
#include "country/Ledger.h"
#include "country/PayloadChecks.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/SoundEffects.h"
#include "country/War.h"
#include "engine/CriticalError.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/GameNotices.h"
#include "world/Province.h"

using namespace handlers;

CountryMissionHooks g_countryMissions;

namespace {

constexpr int32_t kNoticeRandomEvent = 4;      // "RANEVENT"
constexpr int32_t kNoticeHistoricalEvent = 6;  // "HISTEVENT"
constexpr int32_t kNoticeWhitePeaceUs = 96;    // "WHITEPEACEUS"
constexpr int32_t kNoticeWhitePeaceOther = 97; // "WHITEPEACEOTHER"
constexpr int32_t kNoticeOtherReligion = 133;  // "OTHERRELIGION"
constexpr int32_t kNoticeOwnReligion = 134;    // "WERELIGION"

constexpr uint32_t kBattleVictoryPoints = 2;
constexpr uint32_t kMissionVictoryPoints = 6;

// The computer player's notification kind of a change of religion.
constexpr uint32_t kAINoticeReligionChanged = 25;

constexpr int32_t kMaxWarScore = 7;

constexpr int32_t kReligionChangeStability = 5;
constexpr int32_t kReligionChangeRevoltBonus = 5;
constexpr int32_t kReligionChangeYears = 10;
constexpr float kFormerFaithRelation = -100.0f;
constexpr float kNewFaithRelation = 50.0f;
// A catholic country turning protestant takes this much for each province.
constexpr float kReformationGiftPerProvince = 25.0f;

void NotifyAI(uint32_t kind, uint32_t a, uint32_t b) {
    if (IsHost() && g_countryAI.notifyListeners)
        g_countryAI.notifyListeners(kind, a, b);
}

std::string Text(const char* key) {
    return g_textDatabase.GetText(key);
}

// The one of the listed countries that is played at this machine; -1 for
// none.
int64_t LocalHumanAmong(const std::vector<uint32_t>& list) {
    for (uint32_t n : list)
        if (const CCountry* country = CountryOfNumber(n); country && country->IsLocalHuman())
            return n;
    return -1;
}

// The country played at this machine; null for none.
const CCountry* LocalHumanCountry() {
    for (CCountry* country : g_countries)
        if (country && country->IsLocalHuman())
            return country;
    return nullptr;
}

} // namespace

// --- game events ---

void CCountry::ArchiveGameEvent(const ObjectId& event, const CDate& date) {
    m_archivedEvents.AddTail(DatedId{date, event});
}

int CCountry::OnExecuteEvent(COVEvent& event) {
    const ObjectId id = event.Payload().Get(ExecuteEventPayload::kEvent);
    GameEventFacts facts;
    if (!g_countryMissions.findGameEvent || !g_countryMissions.findGameEvent(id, facts))
        return EVENT_NOT_HANDLED;
    if (facts.kind != kGameEventRandom && facts.kind != kGameEventHistorical)
        return EVENT_NOT_HANDLED;
    if (IsLocalHuman())
        PostGameMessage2(facts.kind == kGameEventRandom ? kNoticeRandomEvent
                                                        : kNoticeHistoricalEvent,
                         m_number, facts.name, facts.text, facts.value);
    ArchiveGameEvent(id, event.GetDueDate());
    return EVENT_NOT_HANDLED;
}

// --- missions ---

void CCountry::RequestNewMission(int32_t kind) {
    auto request = std::make_unique<COVDataEvent>(EVT_REQUEST_NEW_MISSION, GetId());
    request->Payload().Set(RequestMissionPayload::kKind, kind);
    PostRequestNow(std::move(request));
}

int CCountry::OnMissionActivated(COVEvent& event) {
    const ObjectId id = event.Payload().Get(MissionPayload::kMission);
    MissionFacts facts;
    if (!g_countryMissions.findMission || !g_countryMissions.findMission(id, facts)) {
        DropMessage(event, "no mission");
        return EVENT_CONSUMED;
    }
    if (g_countryMissions.setDeadline)
        g_countryMissions.setDeadline(id, GetGameDate().Plus(facts.duration));
    AddActiveMission(id);
    return EVENT_CONSUMED;
}

namespace {

// A mission ended: its reward (or penalty) counts, it leaves the slots, the
// host asks for a new one of the kind, and it is deleted on every machine.
void EndMission(CCountry& country, const COVEvent& event, bool completed) {
    const ObjectId id = event.Payload().Get(MissionPayload::kMission);
    MissionFacts facts;
    if (!g_countryMissions.findMission || !g_countryMissions.findMission(id, facts)) {
        DropMessage(event, "no mission");
        return;
    }
    country.AddBaseVictoryPoints(kMissionVictoryPoints, completed ? facts.reward : -facts.penalty);
    country.RemoveActiveMission(id);
    if (IsHost() && facts.kind >= 0 && facts.kind < kMissionKinds)
        country.RequestNewMission(facts.kind);
    if (g_countryMissions.deleteMission)
        g_countryMissions.deleteMission(id);
}

} // namespace

int CCountry::OnMissionCompleted(COVEvent& event) {
    EndMission(*this, event, true);
    return EVENT_CONSUMED;
}

int CCountry::OnMissionFailed(COVEvent& event) {
    EndMission(*this, event, false);
    return EVENT_CONSUMED;
}

int CCountry::OnRequestNewMission(COVEvent& event) {
    const int32_t kind = event.Payload().Get(RequestMissionPayload::kKind);
    if (kind < 0 || kind >= kMissionKinds) {
        DropMessage(event, "no mission kind");
        return EVENT_CONSUMED;
    }
    MissionValues values;
    if (!g_countryMissions.requestMission || !g_countryMissions.requestMission(*this, kind, values))
        return EVENT_CONSUMED;
    auto taken = std::make_unique<COVDataEvent>(EVT_UNNAMED_191, GetId());
    COVEventData& payload = taken->Payload();
    payload.Set(MissionTakenPayload::kKind, values.kind);
    for (size_t i = 0; i < values.goals.size(); ++i)
        payload.Set(MissionTakenPayload::kGoals[i], values.goals[i]);
    payload.Set(MissionTakenPayload::kDate, values.date);
    payload.Set(MissionTakenPayload::kMission, values.id);
    payload.Set(MissionTakenPayload::kCountry, m_number);
    PostAndSendEventNow(std::move(taken));
    return EVENT_CONSUMED;
}

int CCountry::OnMessage191(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    MissionValues values;
    values.kind = payload.Get(MissionTakenPayload::kKind);
    for (size_t i = 0; i < values.goals.size(); ++i)
        values.goals[i] = payload.Get(MissionTakenPayload::kGoals[i]);
    values.date = payload.Get(MissionTakenPayload::kDate);
    values.id = payload.Get(MissionTakenPayload::kMission);
    if (values.kind < 0 || values.kind >= kMissionKinds || values.id.IsNull()) {
        DropMessage(event, "no mission");
        return EVENT_CONSUMED;
    }
    if (g_countryMissions.takeMission)
        g_countryMissions.takeMission(*this, values);
    AddDatedEntry(m_archivedMissions, values.id);
    return EVENT_CONSUMED;
}

// --- lost battles and sieges ---

namespace {

// The province of a battle message; null, with a trace line, for an id
// outside the map.
CProvince* BattleProvince(const COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVCountedEvent::kFirstValue);
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    if (!province)
        DropMessage(event, "no province");
    return province;
}

} // namespace

int CCountry::OnProvBattleLost(COVEvent& event) {
    const CProvince* province = BattleProvince(event);
    if (!province)
        return EVENT_CONSUMED;
    const bool scores = (event.Payload().Get(COVCountedEvent::kSecondValue) & 0xFFFF) != 0;
    AddBaseVictoryPoints(kBattleVictoryPoints, scores ? -3.0f : -0.5f);
    PlayCountrySound(*this, province->IsSea() ? SOUND_NAVAL_BATTLE_LOST : SOUND_LAND_BATTLE_LOST);
    return EVENT_CONSUMED;
}

int CCountry::OnProvSiegeLost(COVEvent& event) {
    const CProvince* province = BattleProvince(event);
    if (!province)
        return EVENT_CONSUMED;
    const CCity* city = province->GetCity();
    AddBaseVictoryPoints(kBattleVictoryPoints,
                         -(static_cast<float>(city ? city->GetSizeLevel() : 0) + 1.0f));
    return EVENT_CONSUMED;
}

// --- religion ---

int CCountry::OnExecChangeReligion(COVEvent& event) {
    const uint32_t religion = event.Payload().Get(ChangeReligionPayload::kReligion);
    if (religion >= kReligionCount) {
        DropMessage(event, "no religion");
        return EVENT_CONSUMED;
    }
    const uint32_t current = m_religion.stateReligion;
    m_changedReligion = 1;
    m_religionChangeDate = GetGameDate();
    m_religionChangeDate.AddYears(kReligionChangeYears);

    const bool counterReformation =
        religion == RELIGION_COUNTERREFORM || current == RELIGION_COUNTERREFORM;
    if (!counterReformation) {
        DecreaseStability(kReligionChangeStability);
        ++m_religiousChanges;
        for (CCountry* other : g_countries) {
            if (!other || other == this)
                continue;
            const uint32_t faith = other->m_religion.stateReligion;
            if (!IsDifferentReligion(faith, current))
                ChangeRelationMutual(m_number, other->GetNumber(), kFormerFaithRelation);
            else if (faith == religion)
                ChangeRelationMutual(m_number, other->GetNumber(), kNewFaithRelation);
        }
        std::vector<uint32_t> leave;
        for (const auto& alliance : g_alliances) {
            if (!alliance || !alliance->HasMember(m_number))
                continue;
            for (uint32_t member : alliance->participants) {
                const CCountry* other = CountryOfNumber(member);
                if (other && other != this &&
                    !IsDifferentReligion(other->m_religion.stateReligion, current)) {
                    leave.push_back(alliance->id.number);
                    break;
                }
            }
        }
        // Every machine carries the change out; the host alone asks to leave.
        if (IsHost())
            for (uint32_t alliance : leave)
                SendLeaveAlliance(alliance, m_number);
    }

    if (current == RELIGION_CATHOLIC && religion == RELIGION_PROTESTANT)
        BookLedgerEntry(INCOME_GIFT, kReformationGiftPerProvince *
                                         static_cast<float>(m_ownedProvinces.GetCount()));

    const std::string newName = GetReligionDisplayName(religion);
    if (IsLocalHuman()) {
        PostGameMessage2(kNoticeOwnReligion, m_number, GetReligionDisplayName(current), newName,
                         Text(religion == RELIGION_PROTESTANT ? "DECREASE" : "INCREASE"));
    } else {
        const CCountry* player = LocalHumanCountry();
        const uint32_t playerFaith = player ? player->m_religion.stateReligion : kReligionCount;
        const char* stance = playerFaith == religion  ? "OTHERFRIEND"
                             : playerFaith == current ? "OTHERHERETIC"
                                                      : "OTHERNEUTRAL";
        PostGameMessage2(kNoticeOtherReligion, m_number, GetName(), newName, Text(stance));
    }

    m_religion = GetDefaultTolerances(religion);

    NotifyAI(kAINoticeReligionChanged, m_number, religion);
    if (IsHost() && religion != RELIGION_COUNTERREFORM)
        RevoltPass(kReligionChangeRevoltBonus);
    RebuildDiplomaticStatus();
    return EVENT_CONSUMED;
}

// --- improvements and constructions ---

namespace {

struct ImprovementRow {
    int32_t months;
    int32_t (CCountry::*price)() const;
    int32_t construction;
};

// By improvement kind (CCity::EImprovement).
constexpr ImprovementRow kImprovements[] = {
    {36, &CCountry::GetShipyardCost, CONSTRUCTION_SHIPYARD},
    {12, &CCountry::GetConscriptionCenterCost, CONSTRUCTION_BARRACK},
    {12, &CCountry::GetBailiffCost, CONSTRUCTION_IMPROVEMENT},
    {1, &CCountry::GetBailiffCost, CONSTRUCTION_IMPROVEMENT},
    {24, &CCountry::GetCourthouseCost, CONSTRUCTION_IMPROVEMENT},
};
static_assert(std::size(kImprovements) == static_cast<size_t>(CCity::kImprovementCount));

} // namespace

int CCountry::OnExecStartBuildImprovement(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t kind = payload.Get(COVImprovementEvent::kKind);
    const uint32_t id = payload.Get(COVImprovementEvent::kProvince);
    if (kind >= std::size(kImprovements)) {
        DropMessage(event, "no improvement kind");
        return EVENT_CONSUMED;
    }
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    CCity* city = province ? province->GetCity() : nullptr;
    if (!city) {
        DropMessage(event, "no city");
        return EVENT_CONSUMED;
    }
    const ImprovementRow& row = kImprovements[kind];
    CDate end = GetGameDate();
    end.AddMonths(row.months);
    SpendMoney(EXPENSE_MANUFACTORY, static_cast<float>((this->*row.price)()));
    ScheduleExpireConstruction(m_number, static_cast<uint32_t>(row.construction), id, end);
    city->improvementBuilding = static_cast<int32_t>(kind);
    city->dateCompleted = end;
    if (IsHost())
        PostEventAtAndSend(std::make_unique<COVImprovementEvent>(
                               EVT_FINISH_BUILD_IMPROVEMENT, GetId(),
                               std::array<uint32_t, 5>{id, kind, 0u, 0u, m_number}),
                           end);
    return EVENT_CONSUMED;
}

namespace {

// The message type whose waiting messages a cancelled construction of the
// kind takes back; 0 for a kind that has none.
uint32_t CancelledTypeOf(int32_t kind) {
    switch (kind) {
    case CONSTRUCTION_FORTRESS:
        return EVT_EXPAND_FORTRESS;
    case CONSTRUCTION_ARMY:
    case CONSTRUCTION_NAVY:
    case CONSTRUCTION_NAVY_IN_SHIPYARD:
    case CONSTRUCTION_TRADING_POST:
        return EVT_SEND_TRADER;
    case CONSTRUCTION_COLONY:
        return EVT_SEND_COLONIST;
    case CONSTRUCTION_MANUFACTORY:
        return EVT_BUILD_FACILITY;
    case CONSTRUCTION_SHIPYARD:
    case CONSTRUCTION_BARRACK:
    case CONSTRUCTION_IMPROVEMENT:
        return EVT_FINISH_BUILD_IMPROVEMENT;
    default:
        return 0;
    }
}

// The province a waiting message of the type names.
uint32_t ProvinceOfMessage(const COVEvent& event) {
    const COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_EXPAND_FORTRESS:
        return payload.Get(COVFortressEvent::kProvince);
    case EVT_SEND_TRADER:
    case EVT_SEND_COLONIST:
        return payload.Get(COVColonistEvent::kProvince);
    case EVT_BUILD_FACILITY:
        return payload.Get(COVProvinceEvent::kProvince);
    case EVT_FINISH_BUILD_IMPROVEMENT:
        return payload.Get(COVImprovementEvent::kProvince);
    default:
        return 0;
    }
}

// The units of the country's second list that stand in the province are
// marked removed, taken off the list and deleted; on the host the computer
// player hears of each first.
void RemoveUnitsBeingBuilt(CCountry& country, int32_t province) {
    const auto& military = g_countryMilitary;
    if (!military.describeUnit)
        return;
    std::vector<CUnit*> gone;
    std::vector<bool> fleets;
    country.m_unitsInDevelopment.ForEach([&](CUnit* unit) {
        if (!unit)
            return;
        UnitFacts facts;
        military.describeUnit(*unit, facts);
        if (facts.province == province) {
            gone.push_back(unit);
            fleets.push_back(facts.fleet);
        }
    });
    for (size_t i = 0; i < gone.size(); ++i) {
        CUnit& unit = *gone[i];
        if (IsHost()) {
            if (fleets[i] && g_countryAI.fleetDeleted)
                g_countryAI.fleetDeleted(unit);
            else if (!fleets[i] && g_countryAI.armyDeleted)
                g_countryAI.armyDeleted(unit);
        }
        if (military.retireUnit)
            military.retireUnit(unit);
        country.m_unitsInDevelopment.Remove(&unit);
    }
    if (!gone.empty() && military.deleteUnits)
        military.deleteUnits(gone);
}

} // namespace

int CCountry::OnCancelConstruction(COVEvent& event) {
    const ObjectId id = event.Payload().Get(CancelConstructionPayload::kOrder);
    const auto* order = dynamic_cast<const CConstructionOrder*>(FindObjectById(id));
    if (!order || !IsProvinceId(order->provinceId)) {
        DropMessage(event, "no construction");
        return EVENT_CONSUMED;
    }
    const int32_t kind = order->GetKind();
    const uint32_t province = static_cast<uint32_t>(order->provinceId);
    if (const uint32_t type = CancelledTypeOf(kind))
        g_scheduler.RemoveEvents(type, GetId(), [type, province](COVEvent* waiting) {
            return waiting && waiting->GetType() == type && ProvinceOfMessage(*waiting) == province;
        });
    CCity* city = GetProvince(province) ? GetProvince(province)->GetCity() : nullptr;
    switch (kind) {
    case CONSTRUCTION_FORTRESS:
        if (city)
            city->GetFortress().increase = 0;
        break;
    case CONSTRUCTION_ARMY:
    case CONSTRUCTION_NAVY:
    case CONSTRUCTION_NAVY_IN_SHIPYARD:
        RemoveUnitsBeingBuilt(*this, static_cast<int32_t>(province));
        break;
    case CONSTRUCTION_MANUFACTORY:
        if (city)
            city->RemoveManufactory();
        break;
    default:
        break;
    }
    ExecuteEvent(std::make_unique<COVConstructionEvent>(
        EVT_EXPIRE_CONSTRUCTION, ObjectId(kProvinceIdType, province), id, province));
    return EVENT_CONSUMED;
}

// --- wars and peace ---

int CCountry::OnWhitePeace(COVEvent& event) {
    CWar* war = FindWar(event.Payload().Get(WhitePeacePayload::kWar));
    if (!war || !war->HasBothSides()) {
        DropMessage(event, "no war");
        return EVENT_CONSUMED;
    }
    const std::vector<uint32_t> attackers = war->attackers->participants;
    const std::vector<uint32_t> defenders = war->defenders->participants;
    const bool playerDefends = LocalHumanAmong(defenders) >= 0;
    const bool playerFights = playerDefends || LocalHumanAmong(attackers) >= 0;
    const std::string first = FormatCountryList(playerDefends ? defenders : attackers);
    const std::string second = FormatCountryList(playerDefends ? attackers : defenders);
    PostGameMessage2(playerFights ? kNoticeWhitePeaceUs : kNoticeWhitePeaceOther, m_number, first,
                     first, second);

    for (uint32_t a : attackers) {
        for (uint32_t d : defenders) {
            CCountry* attacker = CountryOfNumber(a);
            CCountry* defender = CountryOfNumber(d);
            if (!attacker || !defender || attacker == defender)
                continue;
            attacker->EndWarWith(d);
            defender->EndWarWith(a);
            ReturnOccupiedProvinces(*attacker, *defender);
            ReturnOccupiedProvinces(*defender, *attacker);
            NotifyAI(kAINoticeSeparatePeace, a, d);
        }
    }
    std::erase_if(g_wars, [war](const std::unique_ptr<CWar>& held) { return held.get() == war; });
    RebuildDiplomaticStatus();
    // Both sides' combats, blockades and supply follow the peace.
    for (const std::vector<uint32_t>* side : {&attackers, &defenders})
        for (uint32_t n : *side)
            if (CCountry* country = CountryOfNumber(n)) {
                country->RefreshMilitaryState();
                PlayCountrySound(*country, SOUND_PEACE);
            }
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

namespace {

// The merge message's five values: the war joined (type, number), the war
// whose side joins it (type, number), and a country of that side.
enum MergeValue : size_t {
    kMergeIntoType = 0,
    kMergeIntoNumber = 1,
    kMergeFromType = 2,
    kMergeFromNumber = 3,
    kMergeCountry = 4,
};

CWar* WarOfValues(const COVEventData& payload, size_t type, size_t number) {
    const uint32_t idType = payload.Get(COVMergeWarEvent::kValues[type]);
    if (idType > 0xFFFF)
        return nullptr;
    return FindWar(
        ObjectId(static_cast<uint16_t>(idType), payload.Get(COVMergeWarEvent::kValues[number])));
}

} // namespace

int CCountry::OnMergeWar(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    CWar* into = WarOfValues(payload, kMergeIntoType, kMergeIntoNumber);
    CWar* from = WarOfValues(payload, kMergeFromType, kMergeFromNumber);
    const uint32_t named = payload.Get(COVMergeWarEvent::kValues[kMergeCountry]);
    if (!into || !from || into == from || !into->HasBothSides() || !from->HasBothSides() ||
        !IsCountryNumber(named)) {
        DropMessage(event, "no wars to merge");
        return EVENT_CONSUMED;
    }
    const bool attacking = from->attackers->HasMember(named);
    if (!attacking && !from->defenders->HasMember(named)) {
        DropMessage(event, "country not in the war");
        return EVENT_CONSUMED;
    }
    const CAlliance& joining = attacking ? *from->attackers : *from->defenders;
    CAlliance& side = attacking ? *into->attackers : *into->defenders;
    const CAlliance& opposing = attacking ? *into->defenders : *into->attackers;
    const CWarScoreTable& oldScores = attacking ? from->attackerScore : from->defenderScore;
    CWarScoreTable& scores = attacking ? into->attackerScore : into->defenderScore;
    const ObjectId sideId = side.id;
    const std::vector<uint32_t> members = joining.participants;
    for (uint32_t n : members) {
        if (n >= kCountrySlots || !CountryOfNumber(n) || side.HasMember(n) || opposing.HasMember(n))
            continue;
        for (uint32_t column = 0; column < kCountrySlots; ++column)
            scores.rows[n][column] = std::clamp(oldScores.rows[n][column], 0, kMaxWarScore);
        AddAllianceMember(sideId, n);
    }
    return EVENT_CONSUMED;
}

int CCountry::OnExecCreatePeaceOffer(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    if (!payload.Holds(COVPeaceOfferEvent::kTerms[PeaceOfferTerms::kReligion])) {
        DropMessage(event, "short peace offer");
        return EVENT_CONSUMED;
    }
    const auto term = [&payload](size_t index) {
        return payload.Get(COVPeaceOfferEvent::kTerms[index]);
    };
    auto offer = std::make_unique<CPeaceOffer>();
    offer->id = payload.Get(COVPeaceEvent::kOffer);
    offer->from = payload.Get(COVPeaceEvent::kCountry);
    offer->to = term(PeaceOfferTerms::kTo);
    offer->provinceCount = term(PeaceOfferTerms::kProvinceCount);
    const uint32_t warType = term(PeaceOfferTerms::kWarType);
    const bool known = std::any_of(g_peaceOffers.begin(), g_peaceOffers.end(),
                                   [&offer](const auto& held) { return held->id == offer->id; });
    if (offer->id.IsNull() || known || warType > 0xFFFF || !IsCountryNumber(offer->from) ||
        !IsCountryNumber(offer->to) || offer->provinceCount > kMaxPeaceProvinces) {
        DropMessage(event, "bad peace offer");
        return EVENT_CONSUMED;
    }
    offer->war = ObjectId(static_cast<uint16_t>(warType), term(PeaceOfferTerms::kWarNumber));
    for (uint32_t i = 0; i < offer->provinceCount; ++i) {
        offer->provinces[i] = term(PeaceOfferTerms::kProvinces + i);
        offer->newOwners[i] = term(PeaceOfferTerms::kNewOwners + i);
        if (!IsProvinceId(offer->provinces[i]) || !IsCountryNumber(offer->newOwners[i])) {
            DropMessage(event, "bad peace offer province");
            return EVENT_CONSUMED;
        }
    }
    offer->cash = std::bit_cast<float>(term(PeaceOfferTerms::kCash));
    if (!IsFigureWithin(offer->cash, kAnyFiniteFigure, "peace offer", m_number))
        return EVENT_CONSUMED;
    offer->demanding = term(PeaceOfferTerms::kDemanding) ? 1 : 0;
    offer->colonies = static_cast<int32_t>(term(PeaceOfferTerms::kColonies));
    // A peer's value and cash are held as a file's are (std::abs and the
    // acceptance test would overflow at the ends of the range).
    offer->cash = std::clamp(offer->cash, -CPeaceOffer::kCashLimit, CPeaceOffer::kCashLimit);
    offer->value = std::clamp(static_cast<int32_t>(term(PeaceOfferTerms::kValue)),
                              -CPeaceOffer::kValueLimit, CPeaceOffer::kValueLimit);
    const uint32_t flags = term(PeaceOfferTerms::kFlags);
    offer->separateFrom = (flags & 0xFF) ? 1 : 0;
    offer->separateTo = ((flags >> 8) & 0xFF) ? 1 : 0;
    offer->isBetter = ((flags >> 16) & 0xFF) ? 1 : 0;
    offer->annexation = ((flags >> 24) & 0xFF) ? 1 : 0;
    offer->religion = term(PeaceOfferTerms::kReligion) ? 1 : 0;
    g_peaceOffers.push_back(std::move(offer));
    RebuildDiplomaticStatus();
    return EVENT_CONSUMED;
}
