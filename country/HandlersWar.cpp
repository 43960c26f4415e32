// The handlers of war: a war set up and declared, a country joining it,
// and what battles and sieges change (the war scores, the victory points,
// the controller of a province, the player's notices).
#include <algorithm>
#include <memory>
#include <optional>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryList.h"
#include "country/CountryRebels.h"
#include "country/HandlerSupport.h"
#include "country/Relations.h"
#include "country/SoundEffects.h"
#include "country/War.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Province.h"

using namespace handlers;

namespace {

constexpr uint32_t kBattleVictoryPoints = 2;

constexpr int32_t kNoticeDeclareWar = 39;
constexpr int32_t kNoticeDeclareWarOther = 84;
constexpr int32_t kNoticeJoinWarOther = 86;
constexpr int32_t kNoticeProvinceOccupied = 106;
constexpr int32_t kNoticeLandBattleLost = 107;
constexpr int32_t kNoticeLandBattleWon = 108;
constexpr int32_t kNoticeNavalBattleLost = 109;
constexpr int32_t kNoticeNavalBattleWon = 110;
constexpr int32_t kNoticeSiegeWon = 111;
constexpr int32_t kNoticeSiegeWonOther = 121;
constexpr int32_t kNoticeBattleWonOther = 122;

constexpr uint32_t kAINoticeWarDeclared = 19;
constexpr uint32_t kAINoticeControlChanged = 21;

constexpr int32_t kMaxWarScore = 7;
constexpr uint32_t kPirateCountry = 96;

// The war message's ids and countries; false (the message logged) when a
// country is no country number.
struct WarMessage {
    ObjectId war;
    ObjectId attackerSide;
    ObjectId defenderSide;
    uint32_t attacker = 0;
    uint32_t defender = 0;
};
bool ReadWarMessage(const COVEvent& event, WarMessage& message) {
    const COVEventData& payload = event.Payload();
    auto id = [&payload](size_t first) {
        return ObjectId(static_cast<uint16_t>(payload.Get(COVWarEvent::kAlliances[first])),
                        payload.Get(COVWarEvent::kAlliances[first + 1]));
    };
    message.war = id(0);
    message.attackerSide = id(2);
    message.defenderSide = id(4);
    message.attacker = payload.Get(COVWarEvent::kCountry);
    message.defender = payload.Get(COVWarEvent::kOther);
    if (!IsCountryNumber(message.attacker) || !IsCountryNumber(message.defender)) {
        DropMessage(event, "no country number");
        return false;
    }
    return true;
}

std::unique_ptr<COVWarEvent> WarEvent(uint32_t type, uint32_t receiver, const WarMessage& m) {
    return std::make_unique<COVWarEvent>(
        type, MakeCountryId(receiver),
        std::array<uint32_t, 8>{m.war.type, m.war.number, m.attackerSide.type,
                                m.attackerSide.number, m.defenderSide.type, m.defenderSide.number,
                                m.attacker, m.defender});
}

std::unique_ptr<CAlliance> NewWarSide(const ObjectId& id) {
    auto side = std::make_unique<CAlliance>();
    side->Init();
    side->id = id;
    side->type = ALLIANCE_WAR_SIDE;
    return side;
}

void NotifyAI(uint32_t kind, uint32_t a, uint32_t b) {
    if (IsHost() && g_countryAI.notifyListeners)
        g_countryAI.notifyListeners(kind, a, b);
}

// The country leaves every alliance (not a war side) it shares with n.
void LeaveAlliancesWith(CCountry& country, int64_t n) {
    std::vector<ObjectId> shared;
    for (const auto& alliance : g_alliances)
        if (alliance && alliance->HasMember(country.GetNumber()) && alliance->HasMember(n))
            shared.push_back(alliance->id);
    for (const ObjectId& id : shared)
        country.RemoveAllianceMember(id, country.GetNumber());
}

// What a country does on entering a war with the enemy: shared alliances
// left, the war state set, the block on war cleared, the enemy's loans
// written off.
void EnterWarWith(CCountry& country, uint32_t enemy) {
    LeaveAlliancesWith(country, enemy);
    country.SetAtWarWith(enemy);
    if (CRelation* relation = country.m_diplomacy.GetRelation(enemy))
        relation->warBlocked = 0;
    country.RemoveLoansFrom(enemy);
}

// The war between the two, its last change made today and a's score
// against b raised by the step, held within 0..7.
void AddWarScore(uint32_t a, uint32_t b, int32_t step) {
    const CCountry* country = CountryOfNumber(a);
    CWar* war = country ? country->m_diplomacy.FindWarWith(b) : nullptr;
    if (!war)
        return;
    war->endDate = GetGameDate();
    CWarScoreTable::Row* row = war->GetScoreRow(a);
    if (row && b < kCountrySlots)
        (*row)[b] = std::clamp((*row)[b] + step, 0, kMaxWarScore);
}

} // namespace

int CCountry::OnExecSetupWar(COVEvent& event) {
    WarMessage m;
    if (!ReadWarMessage(event, m))
        return EVENT_CONSUMED;
    if (!CountryOfNumber(m.attacker) || !CountryOfNumber(m.defender) ||
        m_diplomacy.IsAtWarWith(m.defender))
        return EVENT_CONSUMED;
    auto war = std::make_unique<CWar>();
    war->id = m.war;
    war->startDate = GetGameDate();
    war->endDate = GetGameDate();
    war->attackers = NewWarSide(m.attackerSide);
    war->defenders = NewWarSide(m.defenderSide);
    g_wars.push_back(std::move(war));
    AddAllianceMember(m.attackerSide, m.attacker);
    AddAllianceMember(m.defenderSide, m.defender);
    ExecuteEvent(WarEvent(EVT_WE_DECLARE_WAR, m.attacker, m));
    ExecuteEvent(WarEvent(EVT_THEY_DECLARE_WAR, m.defender, m));
    return EVENT_CONSUMED;
}

int CCountry::OnWeDeclareWar(COVEvent& event) {
    WarMessage m;
    if (!ReadWarMessage(event, m))
        return EVENT_CONSUMED;
    const uint32_t defender = m.defender;
    CCountry* enemy = CountryOfNumber(defender);

    if (IsDiplomaticPauseWith(defender)) {
        const int32_t s = static_cast<int32_t>(GetStability() - 2.0);
        DecreaseStability(5);
        if (IsHost())
            RevoltPass(-std::min(s, 0));
        for (uint32_t n = 0; n < kCountrySlots; ++n)
            if (n != m_number && CountryOfNumber(n) && m_figures.neighbour[n])
                ChangeRelationMutual(n, m_number, -50.0f);
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, -25.0f);
    }
    ChangeRelationMutual(m_number, defender, -100.0f);
    const int32_t overlord = m_diplomacy.GetOverlord();
    for (uint32_t n = 0; n < kCountrySlots; ++n) {
        if (n == m_number || !CountryOfNumber(n))
            continue;
        if (!m_diplomacy.GetDynasticAllianceWith(n).IsNull())
            ChangeRelationMutual(m_number, n, -25.0f);
        if (overlord == static_cast<int32_t>(n))
            ChangeRelationMutual(m_number, n, -100.0f);
    }
    CRelation* relation = m_diplomacy.GetRelation(defender);
    const bool claim = relation && (!relation->casusBelli.empty() || relation->claimHeld != 0);
    if (!claim) {
        DecreaseStability(2);
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, -5.0f);
        m_aggression += 3;
    } else {
        AddBaseVictoryPoints(kDiplomacyVictoryPoints, -3.0f);
        m_aggression += 1;
    }
    if (relation)
        relation->DropTemporaryCasusBelli();
    if (enemy && SharesFaithWith(*enemy))
        DecreaseStability(1);
    if (!m_diplomacy.GetDynasticAllianceWith(defender).IsNull())
        DecreaseStability(1);
    if (m_diplomacy.FindMilitaryAllianceWith(defender))
        DecreaseStability(2);
    if (m_diplomacy.IsOverlordOf(defender))
        DecreaseStability(3);

    EnterWarWith(*this, defender);
    SendRefreshWindows();
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnTheyDeclareWar(COVEvent& event) {
    WarMessage m;
    if (!ReadWarMessage(event, m))
        return EVENT_CONSUMED;
    const uint32_t attacker = m.attacker;
    CCountry* enemy = CountryOfNumber(attacker);
    PlayCountrySound(*this, SOUND_WAR_DECLARED);
    const double lift = enemy && enemy->m_major ? 0.2 : 0.1;
    SetStability(static_cast<int32_t>(GetStability() + lift));
    EnterWarWith(*this, attacker);
    SendRefreshWindows();
    RecolourMapNow();
    NotifyAI(kAINoticeWarDeclared, m_number, attacker);
    RefreshMilitaryState();
    if (enemy)
        enemy->RefreshMilitaryState();
    if (IsLocalHuman()) {
        // The words of the declaration, chosen by the war so that every
        // machine would choose the same.
        const std::string words = "MESS_BADWORDS" + std::to_string(m.war.number % 4 + 1);
        PostGameMessage1At(kNoticeDeclareWar, m_number, words, NameOf(attacker),
                           enemy ? enemy->GetCapitalId() : -1);
    } else {
        PostGameMessage2(kNoticeDeclareWarOther, m_number, NameOf(attacker), NameOf(attacker),
                         GetName());
    }
    return EVENT_CONSUMED;
}

int CCountry::OnJoinWar(COVEvent& event) {
    WarMessage m;
    if (!ReadWarMessage(event, m))
        return EVENT_CONSUMED;
    AddAllianceMember(m.attackerSide, m_number);
    CWar* war = FindWar(m.war);
    if (war && war->HasBothSides() &&
        (war->attackers->id == m.attackerSide || war->defenders->id == m.attackerSide)) {
        const bool attacking = war->attackers->id == m.attackerSide;
        CAlliance& joined = attacking ? *war->attackers : *war->defenders;
        CAlliance& opposing = attacking ? *war->defenders : *war->attackers;
        PostGameMessage2(kNoticeJoinWarOther, m_number, GetName(),
                         FormatCountryList(joined.participants, m_number),
                         FormatCountryList(opposing.participants, m_number));
        CWarScoreTable& table = attacking ? war->attackerScore : war->defenderScore;
        table.rows[m_number].fill(0);
        for (auto& row : table.rows)
            row[m_number] = 0;
        const std::vector<uint32_t> enemies = opposing.participants;
        for (uint32_t n : enemies) {
            CCountry* enemy = CountryOfNumber(n);
            if (!enemy)
                continue;
            EnterWarWith(*this, n);
            EnterWarWith(*enemy, m_number);
            NotifyAI(kAINoticeWarDeclared, m_number, n);
        }
        for (uint32_t n : joined.participants)
            if (CCountry* member = CountryOfNumber(n))
                member->RefreshMilitaryState();
    }
    SendRefreshWindows();
    RecolourMapNow();
    return EVENT_CONSUMED;
}

int CCountry::OnProvChangeControl(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVProvinceEvent::kProvince);
    CProvince* province = IsProvinceId(id) ? GetProvince(id) : nullptr;
    if (!province) {
        DropMessage(event, "no province");
        return EVENT_CONSUMED;
    }
    const int32_t old = province->GetControllerNumber();
    const CConstructionList& orders = province->GetConstructions();
    for (uint32_t i = 0; i < orders.GetCount(); ++i)
        SendCancelConstruction(orders.GetOrder(i).GetId().type, orders.GetOrder(i).GetId().number);
    if (IsBarredByDemarcationTreaty(static_cast<int32_t>(id))) {
        const int32_t owner = province->GetOwnerNumber();
        if (IsHost() && IsCountryNumber(owner)) {
            CDate expiry = GetGameDate();
            expiry.AddYears(1);
            auto cb = std::make_unique<COVDataEvent>(EVT_GIVECB,
                                                     MakeCountryId(static_cast<uint32_t>(owner)));
            cb->Payload().Set(CasusBelliPayload::kExpiry, expiry);
            cb->Payload().Set(CasusBelliPayload::kAgainst, GetId());
            cb->Payload().Set(CasusBelliPayload::kFlags[0], 1);
            cb->Payload().Set(CasusBelliPayload::kFlags[1], 0);
            ExecuteEvent(std::move(cb));
        }
        province->ChangeOwner(this);
    }
    if (IsCountryNumber(old))
        AddWarScore(m_number, static_cast<uint32_t>(old), 0);

    const int32_t ownerNumber = province->GetOwnerNumber();
    CCountry* owner = CountryOfNumber(ownerNumber);
    CCountry* controller = this;
    const bool occupied = ownerNumber != old;
    if (m_number == kRebelCountry && occupied) {
        controller = owner;
        const CCountry* former = CountryOfNumber(old);
        if (former && former->IsLocalHuman())
            PostGameMessage1At(kNoticeProvinceOccupied, static_cast<uint32_t>(old), province->name,
                               GetName(), static_cast<int32_t>(id));
    } else if (owner && owner != this && IsAlliedWith(ownerNumber) &&
               !m_diplomacy.IsAtWarWith(ownerNumber)) {
        controller = owner;
    }
    const CCountry* former = CountryOfNumber(old);
    if (former && former->IsLocalHuman() && m_number != kPirateCountry)
        PostGameMessage1At(kNoticeProvinceOccupied, static_cast<uint32_t>(old), province->name,
                           GetName(), static_cast<int32_t>(id));
    province->SetController(controller);

    // The capital taken: the conqueror learns what its owner had discovered.
    if (controller == this && owner && owner != this &&
        owner->GetCapitalId() == static_cast<int32_t>(id)) {
        for (int32_t p = 1; p <= 1472; ++p)
            if (IsProvinceDiscovered(static_cast<uint32_t>(ownerNumber), p) &&
                !IsProvinceDiscovered(m_number, p))
                DiscoverProvince(m_number, p);
    }
    if (IsCountryNumber(old))
        NotifyAI(kAINoticeControlChanged, static_cast<uint32_t>(old), id);
    return EVENT_CONSUMED;
}

namespace {

// The battle or siege message: the province, the score flag and the losing
// countries; false (logged) for a province outside the map or a list that
// the payload does not hold.
struct BattleMessage {
    CProvince* province = nullptr;
    int32_t provinceId = 0;
    bool scores = false;
    std::vector<uint32_t> losers;
};
bool ReadBattleMessage(const COVEvent& event, BattleMessage& message) {
    const COVEventData& payload = event.Payload();
    // The province, the count of losers and each loser, in the ranges every
    // received message is held to.
    if (const std::optional<PayloadFault> fault = CheckPayloadRoles(payload)) {
        DropMessage(event, DescribePayloadFault(*fault).c_str());
        return false;
    }
    const uint32_t id = payload.Get(COVCountedEvent::kFirstValue);
    message.province = GetProvince(id);
    if (!message.province) {
        DropMessage(event, "no province");
        return false;
    }
    message.provinceId = static_cast<int32_t>(id);
    message.scores = (payload.Get(COVCountedEvent::kSecondValue) & 0xFFFF) != 0;
    const uint16_t count = payload.Get(COVCountedEvent::kCount);
    for (uint16_t i = 0; i < count; ++i)
        message.losers.push_back(payload.Get(COVCountedEvent::kEntries[i]));
    return true;
}

} // namespace

int CCountry::OnProvBattleWon(COVEvent& event) {
    BattleMessage m;
    if (!ReadBattleMessage(event, m))
        return EVENT_CONSUMED;
    const bool sea = m.province->IsSea();
    for (uint32_t loser : m.losers) {
        if (IsHost() && GameRand() % 100 < 10 && sea && IsOrdinaryCountry(loser))
            SendStealExploration(loser);
        const CCountry* lost = CountryOfNumber(loser);
        if (lost && lost->IsLocalHuman())
            PostGameMessage1At(sea ? kNoticeNavalBattleLost : kNoticeLandBattleLost, loser,
                               m.province->name, GetName(), m.provinceId);
        AddWarScore(m_number, loser, m.scores ? 1 : 0);
    }
    AddBaseVictoryPoints(kBattleVictoryPoints, m.scores ? 4.0f : 0.5f);
    if (!m.losers.empty()) {
        const std::string first = NameOf(m.losers.front());
        if (IsLocalHuman()) {
            PlaySoundEffect(sea ? SOUND_NAVAL_BATTLE_WON : SOUND_LAND_BATTLE_WON);
            PostGameMessage1(sea ? kNoticeNavalBattleWon : kNoticeLandBattleWon, m_number, first,
                             first);
        } else
            PostGameMessage2(kNoticeBattleWonOther, m_number, GetName(), GetName(), first);
    }
    return EVENT_CONSUMED;
}

int CCountry::OnProvSiegeWon(COVEvent& event) {
    BattleMessage m;
    if (!ReadBattleMessage(event, m))
        return EVENT_CONSUMED;
    if (!m.losers.empty()) {
        const std::string first = NameOf(m.losers.front());
        if (IsLocalHuman())
            PostGameMessage2(kNoticeSiegeWon, m_number, m.province->name, m.province->name, first);
        else
            PostGameMessage3At(kNoticeSiegeWonOther, m_number, GetName(), GetName(),
                               m.province->name, first, m.provinceId);
    }
    for (uint32_t loser : m.losers)
        AddWarScore(m_number, loser, 1);
    const CCity* city = m.province->GetCity();
    AddBaseVictoryPoints(kBattleVictoryPoints,
                         static_cast<float>((city ? city->GetSizeLevel() : 0) + 1));
    return EVENT_CONSUMED;
}

namespace {

// Takes the country out of the side; the side elects a new leader when the
// country led it.
void LeaveSide(CAlliance& side, uint32_t n) {
    const bool led = side.GetLeader() == static_cast<int32_t>(n);
    std::erase_if(side.participants, [n](uint32_t member) { return member == n; });
    if (led)
        side.ElectLeader();
}

// A new war of the lone attacker against the members, dated today, with
// the scores between them taken from the old war (the attacker's row in
// `ownTable`, the members' rows in `otherTable`).
void MakeSplitWar(const ObjectId& id, const ObjectId& attackersId, const ObjectId& defendersId,
                  uint32_t attacker, const std::vector<uint32_t>& members,
                  const CWarScoreTable& ownTable, const CWarScoreTable& otherTable) {
    auto war = std::make_unique<CWar>();
    war->id = id;
    war->startDate = GetGameDate();
    war->endDate = GetGameDate();
    war->attackers = NewWarSide(attackersId);
    war->defenders = NewWarSide(defendersId);
    war->attackers->participants.push_back(attacker);
    for (uint32_t n : members) {
        war->defenders->participants.push_back(n);
        war->attackerScore.rows[attacker][n] =
            std::clamp(ownTable.rows[attacker][n], 0, kMaxWarScore);
        war->defenderScore.rows[n][attacker] =
            std::clamp(otherTable.rows[n][attacker], 0, kMaxWarScore);
    }
    g_wars.push_back(std::move(war));
}

} // namespace

int CCountry::OnMessage218(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t first = payload.Get(SplitWarPayload::kFirstCountry);
    const uint32_t second = payload.Get(SplitWarPayload::kSecondCountry);
    if (!IsCountryNumber(first) || !IsCountryNumber(second)) {
        DropMessage(event, "no country number");
        return EVENT_CONSUMED;
    }
    CWar* war = FindWar(payload.Get(SplitWarPayload::kWar));
    if (!war || !war->HasBothSides())
        return EVENT_CONSUMED;
    const uint32_t b = war->IsAttacker(first) ? first : second;
    const uint32_t a = b == first ? second : first;
    CCountry* defender = CountryOfNumber(a);
    CCountry* attacker = CountryOfNumber(b);
    if (defender && attacker) {
        defender->EndWarWith(b);
        attacker->EndWarWith(a);
        NotifyAI(kAINoticeSeparatePeace, a, b);
    }
    LeaveSide(*war->attackers, b);
    LeaveSide(*war->defenders, a);
    CCountryList attackersLeft;
    CCountryList defendersLeft;
    for (uint32_t n : war->attackers->participants)
        attackersLeft.AddTail(n);
    for (uint32_t n : war->defenders->participants)
        defendersLeft.AddTail(n);
    SendGiveCasusBelli(attackersLeft, b);
    SendGiveCasusBelli(defendersLeft, a);

    // The tables and lists are copied first: the new wars grow g_wars.
    const std::vector<uint32_t> attackers = war->attackers->participants;
    const std::vector<uint32_t> defenders = war->defenders->participants;
    const CWarScoreTable attackerScore = war->attackerScore;
    const CWarScoreTable defenderScore = war->defenderScore;
    MakeSplitWar(
        payload.Get(SplitWarPayload::kFirstWar), payload.Get(SplitWarPayload::kFirstAttackers),
        payload.Get(SplitWarPayload::kFirstDefenders), b, defenders, attackerScore, defenderScore);
    MakeSplitWar(
        payload.Get(SplitWarPayload::kSecondWar), payload.Get(SplitWarPayload::kSecondAttackers),
        payload.Get(SplitWarPayload::kSecondDefenders), a, attackers, defenderScore, attackerScore);
    RebuildDiplomaticStatus();
    SendRefreshWindows();
    return EVENT_CONSUMED;
}
