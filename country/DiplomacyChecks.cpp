// The checks a country answers before a diplomat is sent, a treaty offered,
// a war declared or a peace proposed, and its questions of faith toward
// other countries. Every operation here reads the world and changes
// nothing.
#include <algorithm>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "engine/Config.h"
#include "net/Senders.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

// History flags of the game: 1 protestant allowed, 2 reformed allowed, 3
// counter-reformation, 4 religious peace (also the end of the demarcation
// treaty).
constexpr uint32_t kFlagProtestant = 1;
constexpr uint32_t kFlagReformed = 2;
constexpr uint32_t kFlagCounterReformation = 3;
constexpr uint32_t kFlagReligiousPeace = 4;

constexpr uint32_t kTurkey = 10;
constexpr int32_t kPauseMonths = 61;
constexpr float kMinDiplomats = 0.99f;
constexpr float kMinRelationForVassal = 190.0f;
constexpr int32_t kAnnexationScore = 7;
constexpr int32_t kConversionScore = 5;
constexpr int32_t kVassalYearsBeforeAnnexation = 10;

bool HistoryFlag(uint32_t n) {
    return g_globals.EventFlag(n);
}

bool IsFantasy() {
    return g_fantasyMode != 0;
}

uint32_t ReligionOf(const CCountry& country) {
    return country.m_religion.stateReligion;
}

bool IsChristian(uint32_t religion) {
    return religion <= RELIGION_ORTHODOX;
}

bool IsMuslim(uint32_t religion) {
    return religion == RELIGION_SUNNI || religion == RELIGION_SHIITE;
}

bool IsReformation(uint32_t religion) {
    return religion == RELIGION_PROTESTANT || religion == RELIGION_REFORMED;
}

bool IsCatholicFaith(uint32_t religion) {
    return religion == RELIGION_CATHOLIC || religion == RELIGION_COUNTERREFORM;
}

// Either of the pair is a and the other b.
template <class A, class B> bool EitherWay(uint32_t x, uint32_t y, A a, B b) {
    return (a(x) && b(y)) || (a(y) && b(x));
}

bool Holds(const std::vector<uint32_t>& list, int64_t n) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

// A country of the number that exists.
const CCountry* Existing(int64_t n) {
    return CountryOfNumber(n);
}

} // namespace

// --- diplomats and diplomatic actions ---

bool CCountry::CanSendDiplomat(int64_t n) const {
    if (m_diplomats < kMinDiplomats)
        return false;
    const CCountry* other = IsOrdinaryCountry(n) ? Existing(n) : nullptr;
    if (!other)
        return false;
    const CProvince* otherCapital = other->GetCapital();
    if (!otherCapital || !otherCapital->discoveredBy[m_number] || n == m_number)
        return false;
    if (m_diplomaticDates[static_cast<size_t>(n)].IsAfter(GetGameDate()))
        return false;
    if (ReligionOf(*this) != RELIGION_PAGAN || IsFantasy())
        return true;
    const CProvince* ownCapital = GetCapital();
    return ownCapital && ownCapital->continent == otherCapital->continent;
}

bool CCountry::CanTakeDiplomaticAction(int32_t action, int64_t n) const {
    float needed = 0.0f;
    if (action == 25)
        needed = 250.0f;
    else if (action == 26)
        needed = 100.0f;
    else if (action == 27)
        needed = 25.0f;
    return m_treasury >= needed && CanSendDiplomat(n);
}

bool CCountry::CanDeclareWarOn(int64_t n) const {
    if (n == 0 || n == 96 || n == 97 || n == 98)
        return false;
    const CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation || relation->military)
        return false;
    if (GetStability() < -2.0 || n == m_number || relation->atWar || relation->warBlocked ||
        relation->sameSide)
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanRefuseTrade(int64_t n) const {
    if (n == m_number || m_diplomacy.RefusesTradeWith(n))
        return false;
    if (!m_technology.TradeLevelAtLeast4() || m_closedTrade || IsDiplomaticPauseWith(n))
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanAllowTrade(int64_t n) const {
    const CRelation* relation = m_diplomacy.GetRelation(n);
    if (n == m_number || !relation || !relation->refuseTrade || m_closedTrade)
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanProposeDynasticAlliance(int64_t n) const {
    const CCountry* other = IsOrdinaryCountry(n) ? Existing(n) : nullptr;
    if (!other || m_diplomacy.IsAtWarWith(n) || other->m_diplomacy.IsVassal())
        return false;
    const uint32_t mine = ReligionOf(*this);
    const uint32_t theirs = ReligionOf(*other);
    if (!HistoryFlag(kFlagReligiousPeace) &&
        EitherWay(mine, theirs, IsReformation, IsCatholicFaith))
        return false;
    if (EitherWay(mine, theirs, IsMuslim, IsChristian))
        return false;
    if ((mine == RELIGION_PAGAN || theirs == RELIGION_PAGAN) && mine != theirs)
        return false;
    if (IsMuslim(mine) && IsMuslim(theirs) && mine != theirs)
        return false;
    const CRelation* relation = m_diplomacy.GetRelation(n);
    if (relation->dynastic || !m_diplomacy.GetDynasticAllianceWith(n).IsNull())
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanOfferVassalization(int64_t n) const {
    const CCountry* other = IsOrdinaryCountry(n) ? Existing(n) : nullptr;
    if (!other || other->m_major || other->IsAtWar() || other->m_diplomacy.IsVassal())
        return false;
    const CRelation* relation = m_diplomacy.GetRelation(n);
    if (relation->offerPending)
        return false;
    if (!relation->dynastic && m_diplomacy.GetDynasticAllianceWith(n).IsNull())
        return false;
    if (relation->GetValue() < kMinRelationForVassal ||
        m_figures.totalIncome < other->m_figures.totalIncome)
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanAnnexVassal(int64_t n) const {
    const CCountry* other = IsOrdinaryCountry(n) ? Existing(n) : nullptr;
    if (!other || other->m_major || other->IsAtWar())
        return false;
    if (!m_figures.neighbour[static_cast<size_t>(n)])
        return false;
    if (m_diplomacy.GetRelation(n)->GetValue() < kMinRelationForVassal ||
        !m_diplomacy.IsOverlordOf(n))
        return false;
    if (other->m_diplomacy.IsVassal() &&
        other->m_diplomacy.GetOverlord() != static_cast<int32_t>(m_number))
        return false;
    if (const CAlliance* vassalization = FindAlliance(m_diplomacy.GetVassalizationWith(n))) {
        CDate allowed = vassalization->startDate;
        allowed.AddYears(kVassalYearsBeforeAnnexation);
        if (!GetGameDate().IsNotBefore(allowed))
            return false;
    }
    return CanSendDiplomat(n);
}

// --- alliances ---

bool CCountry::CanInviteToAlliance(int64_t n) const {
    if (!IsOrdinaryCountry(n) || m_diplomacy.IsInMilitaryAlliance())
        return false;
    const CCountry* other = Existing(n);
    if (!other || other->m_diplomacy.IsInMilitaryAlliance() || m_diplomacy.IsAtWarWith(n))
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanInviteIntoAlliance(const CAlliance& alliance, int64_t n) const {
    if (alliance.GetLeader() != static_cast<int32_t>(m_number))
        return false;
    const CCountry* other = Existing(n);
    if (!other || other->m_diplomacy.IsInMilitaryAlliance() || Holds(alliance.participants, n))
        return false;
    if (other->m_diplomacy.IsVassal() &&
        other->m_diplomacy.GetOverlord() != static_cast<int32_t>(m_number))
        return false;
    for (uint32_t member : alliance.participants)
        if (m_diplomacy.IsAtWarWith(member))
            return false;
    return CanSendDiplomat(n);
}

namespace {

bool IsOwnMilitaryAlliance(const CAlliance& alliance, uint32_t country) {
    return !alliance.participants.empty() && alliance.participants.front() == country &&
           alliance.type == ALLIANCE_MILITARY;
}

} // namespace

bool CCountry::CanInviteIntoOwnAlliance(int64_t n) const {
    if (m_diplomacy.IsAtWarWith(n) || !CanSendDiplomat(n))
        return false;
    for (const auto& alliance : g_alliances)
        if (IsOwnMilitaryAlliance(*alliance, m_number) && !Holds(alliance->participants, n))
            return true;
    return false;
}

bool CCountry::CanInviteToAnyOwnAlliance(int64_t n) const {
    if (!CanInviteIntoOwnAlliance(n))
        return false;
    for (const auto& alliance : g_alliances)
        if (IsOwnMilitaryAlliance(*alliance, m_number) && CanInviteIntoAlliance(*alliance, n))
            return true;
    return false;
}

bool CCountry::CanJoinAlliance(const CAlliance& alliance) const {
    if (alliance.type == ALLIANCE_MILITARY && m_diplomacy.IsInMilitaryAlliance())
        return false;
    if (Holds(alliance.participants, m_number))
        return false;
    const int32_t leader = alliance.GetLeader();
    const CCountry* head = IsOrdinaryCountry(leader) ? Existing(leader) : nullptr;
    if (!head)
        return false;
    if (m_diplomacy.IsVassal() && m_diplomacy.GetOverlord() != leader)
        return false;
    const CProvince* capital = head->GetCapital();
    if (!capital || !capital->discoveredBy[m_number] || leader == static_cast<int32_t>(m_number))
        return false;
    for (uint32_t member : alliance.participants)
        if (m_diplomacy.IsAtWarWith(member))
            return false;
    return true;
}

bool CCountry::CanLeaveAlliance(const CAlliance& alliance) const {
    if (IsAtWar() || !Holds(alliance.participants, m_number) || !alliance.candidates.empty())
        return false;
    return !(alliance.alwaysValid && alliance.participants.size() < 2 &&
             alliance.GetLeader() == static_cast<int32_t>(m_number));
}

bool CCountry::CanCallAllyToArms(const CAlliance& alliance, int64_t n) const {
    if (!Holds(alliance.participants, n) || alliance.GetLeader() != static_cast<int32_t>(m_number))
        return false;
    const CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation || (!relation->warBlocked && relation->hasCasusBelli))
        return false;
    if (relation->sameSide)
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::CanPetitionAllianceLeader(int64_t n) const {
    const CAlliance* alliance = FindAlliance(m_diplomacy.GetMilitaryAllianceId());
    if (!alliance || !Holds(alliance->participants, m_number) || alliance->GetLeader() != n ||
        !alliance->candidates.empty())
        return false;
    return CanSendDiplomat(n);
}

// --- wars and peace ---

bool CCountry::CanAskToJoinWar(const ObjectId& warId, int64_t n) const {
    if (m_diplomacy.IsAtWarWith(n))
        return false;
    const CWar* war = FindWar(warId);
    if (!war || war->IsAttacker(n) || war->IsDefender(n))
        return false;
    const CAlliance* otherSide = nullptr;
    if (war->IsAttacker(m_number))
        otherSide = war->defenders.get();
    else if (war->IsDefender(m_number))
        otherSide = war->attackers.get();
    else
        return false;
    const CCountry* other = Existing(n);
    if (other && otherSide) {
        for (uint32_t member : otherSide->participants) {
            const CRelation* relation = other->m_diplomacy.GetRelation(member);
            if (relation && (relation->dynastic || relation->military || relation->sameSide))
                return false;
        }
    }
    return CanSendDiplomat(n);
}

bool CCountry::EvaluatePeaceWith(int64_t n) const {
    if (!m_diplomacy.IsAtWarWith(n))
        return false;
    const CWar* war = m_diplomacy.FindWarWith(n);
    if (!war || !war->attackers || !war->defenders)
        return false;
    const bool enemyAttacks = war->IsAttacker(n);
    const CAlliance& ownSide = enemyAttacks ? *war->defenders : *war->attackers;
    const CAlliance& enemySide = enemyAttacks ? *war->attackers : *war->defenders;
    return EvaluatePeaceTerms(m_number, n, ownSide, enemySide, war->id);
}

bool CCountry::EvaluatePeaceTerms(uint32_t own, int64_t n, const CAlliance& ownSide,
                                  const CAlliance& enemySide, const ObjectId& war) const {
    for (const auto& offer : g_peaceOffers) {
        if (offer->war != war)
            continue;
        if ((offer->from == own && offer->to == n) || (offer->from == n && offer->to == own))
            return false;
    }
    if (CCountryDiplomacy::HasPeaceOffer(ownSide, enemySide, war))
        return false;
    return CanSendDiplomat(n);
}

bool CCountry::MayOfferPeaceTo(int64_t n) const {
    for (const auto& offer : g_peaceOffers)
        if (offer->from == m_number && offer->to == n)
            return false;
    return true;
}

namespace {

// The war between the country and n, with both sides; null when none.
const CWar* WarBetween(const CCountry& country, int64_t n) {
    const CWar* war = country.m_diplomacy.FindWarWith(n);
    return war && war->attackers && war->defenders ? war : nullptr;
}

} // namespace

bool CCountry::CanDemandAnnexation(int64_t n) const {
    if (!g_config || g_config->GetWord(ConfigOffset::kConquerCapitals) == 0)
        return false;
    const CCountry* other = Existing(n);
    if (!other || !m_diplomacy.IsAtWarWith(n) || other->m_major)
        return false;
    const CWar* war = WarBetween(*this, n);
    if (!war)
        return false;
    const int32_t self = static_cast<int32_t>(m_number);
    if (war->attackers->GetLeader() != self && war->defenders->GetLeader() != self)
        return false;
    return war->GetWarScore(m_number, m_number, static_cast<uint32_t>(n)) >= kAnnexationScore;
}

bool CCountry::CanDemandConversion(int64_t n) const {
    if (!m_diplomacy.IsAtWarWith(n))
        return false;
    const CCountry* other = Existing(n);
    const CWar* war = other ? WarBetween(*this, n) : nullptr;
    if (!war || war->GetWarScore(m_number, m_number, static_cast<uint32_t>(n)) < kConversionScore)
        return false;
    const uint32_t theirs = ReligionOf(*other);
    if (m_number == kTurkey && theirs == RELIGION_SHIITE)
        return true;
    return ReligionOf(*this) == RELIGION_COUNTERREFORM && IsReformation(theirs);
}

// --- relations and faith ---

bool CCountry::IsDiplomaticPauseWith(int64_t n) const {
    if (n == m_number)
        return false;
    const int32_t days = GetGameDate().GetDayCount() - GetLastPeaceWith(n).GetDayCount();
    // Months of 30 days, years of twelve.
    return days / 30 < kPauseMonths;
}

bool CCountry::IsReligiousEnemyOf(const CCountry& other) const {
    const uint32_t mine = ReligionOf(*this);
    const uint32_t theirs = ReligionOf(other);
    if (mine == RELIGION_PAGAN || theirs == RELIGION_PAGAN)
        return true;
    if (!HistoryFlag(kFlagReligiousPeace) &&
        EitherWay(
            mine, theirs, [](uint32_t r) { return r == RELIGION_PROTESTANT; }, IsCatholicFaith))
        return true;
    if (GetGameDate().year < 1700 && EitherWay(mine, theirs, IsChristian, IsMuslim))
        return true;
    return IsMuslim(mine) && IsMuslim(theirs) && mine != theirs;
}

bool CCountry::SharesFaithWith(const CCountry& other) const {
    const uint32_t mine = ReligionOf(*this);
    return mine == ReligionOf(other) && (GetGameDate().year < 1615 || !IsChristian(mine));
}

bool CCountry::CanChangeReligionTo(uint32_t religion) const {
    if (religion > RELIGION_PAGAN)
        return false;
    const uint32_t current = ReligionOf(*this);
    if (religion == current)
        return true;
    switch (current) {
    case RELIGION_PROTESTANT:
        return religion == RELIGION_CATHOLIC ||
               (religion == RELIGION_REFORMED && HistoryFlag(kFlagReformed));
    case RELIGION_REFORMED:
        return religion == RELIGION_PROTESTANT;
    case RELIGION_COUNTERREFORM:
        return religion == RELIGION_CATHOLIC && !HistoryFlag(kFlagReligiousPeace);
    case RELIGION_CATHOLIC:
        if (IsFantasy())
            return religion == RELIGION_PROTESTANT || religion == RELIGION_PAGAN;
        return (religion == RELIGION_PROTESTANT && HistoryFlag(kFlagProtestant)) ||
               (religion == RELIGION_COUNTERREFORM && HistoryFlag(kFlagCounterReformation));
    case RELIGION_ORTHODOX:
        return IsFantasy() && (religion == RELIGION_CATHOLIC || religion == RELIGION_PAGAN);
    case RELIGION_SUNNI:
        return IsFantasy() && (religion == RELIGION_SHIITE || religion == RELIGION_PAGAN);
    case RELIGION_SHIITE:
        return IsFantasy() && (religion == RELIGION_SUNNI || religion == RELIGION_PAGAN);
    case RELIGION_PAGAN:
        return IsFantasy() && (religion == RELIGION_ORTHODOX || religion == RELIGION_SUNNI);
    default:
        return false;
    }
}

// --- entering provinces ---

namespace {

constexpr uint32_t kSpain = 8;
constexpr uint32_t kPortugal = 5;
// History flag 0: the demarcation treaty is recorded.
constexpr uint32_t kFlagDemarcation = 0;

bool TreatyHolds() {
    return HistoryFlag(kFlagDemarcation) && !HistoryFlag(kFlagReligiousPeace);
}

// The country is Spain in the Spanish zone or Portugal in the Portuguese.
bool InOwnTreatyZone(uint32_t country, const CProvince& province) {
    return (country == kSpain && province.IsInSpanishZone()) ||
           (country == kPortugal && province.IsInPortugueseZone());
}

// The owner is catholic and not in a military alliance with the country.
bool IsUnalliedCatholic(const CCountry& country, const CCountry& owner) {
    const CRelation* relation = country.m_diplomacy.GetRelation(owner.GetNumber());
    return IsCatholicFaith(ReligionOf(owner)) && relation && !relation->military;
}

// A province of a member of the empire, which the emperor may enter while
// at war.
bool IsImperialProvince(const CProvince& province) {
    const CCountry* owner = CountryOfNumber(province.GetOwnerNumber());
    return owner && owner->IsHREMember();
}

} // namespace

bool CCountry::MayEnterProvince(int32_t province) const {
    const CProvince* target = province >= kFirstProvinceId && province <= kLastProvinceId
                                  ? GetProvince(province)
                                  : nullptr;
    if (!target)
        return false;
    const CCountry* owner = CountryOfNumber(target->GetOwnerNumber());
    if (!owner)
        return true;
    if (TreatyHolds() && InOwnTreatyZone(m_number, *target) && IsUnalliedCatholic(*this, *owner))
        return true;
    const int32_t self = static_cast<int32_t>(m_number);
    const int64_t ownerNumber = owner->GetNumber();
    if (target->GetOwnerNumber() == self || target->GetControllerNumber() == self)
        return true;
    if (IsHostileTo(ownerNumber) || IsCobelligerentWith(ownerNumber))
        return true;
    if (IsAtWar() && IsEmperor() && IsImperialProvince(*target))
        return true;
    return m_diplomacy.IsOverlordOf(ownerNumber);
}

bool CCountry::IsBarredByDemarcationTreaty(int32_t province) const {
    const CProvince* target = province >= kFirstProvinceId && province <= kLastProvinceId
                                  ? GetProvince(province)
                                  : nullptr;
    if (!target || !TreatyHolds() || !InOwnTreatyZone(m_number, *target))
        return false;
    const CCountry* owner = CountryOfNumber(target->GetOwnerNumber());
    return !owner || IsUnalliedCatholic(*this, *owner);
}
