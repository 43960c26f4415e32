#include "country/Relations.h"

#include <algorithm>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/TreatyFile.h"
#include "country/War.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "world/Province.h"

std::array<std::array<float, kCountrySlots>, kCountrySlots> g_diplomaticMatrix{};

namespace {

float HeldInRange(float value) {
    return std::clamp(value, kMinRelationValue, kMaxRelationValue);
}

// The country's state religion (the province religion codes).
int32_t StateReligionOf(const CCountry& country) {
    return static_cast<int32_t>(country.m_religion.stateReligion);
}

// The country refuses trade with everyone.
bool HasClosedTrade(const CCountry& country) {
    return country.m_closedTrade != 0;
}

// Event flag 4 of the game server (the counter-reformation's truce). The
// game server's flags come with it; until then the flag is clear.
bool IsTruceFlagSet() {
    return false;
}

} // namespace

float StartingRelationValue(uint32_t owner, uint32_t other) {
    if (owner >= kCountrySlots || other >= kCountrySlots)
        return 0.0f;
    return HeldInRange(g_diplomaticMatrix[owner][other] * 20.0f);
}

// ---------------------------------------------------------------------------
// CCasusBelli

int32_t CCasusBelli::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_TYPE:
            if (in.value.code == KW_PERMANENT)
                temporary = 0;
            else if (in.value.code == KW_TEMPORARY)
                temporary = 1;
            else
                in.ReportError("illegal argument");
            break;
        case KW_EXPIRYDATE:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("no left curly");
                break;
            }
            if (ReadDateBlock(in, expiry) != FIELD_BLOCK_END)
                return FIELD_END_OF_FILE;
            break;
        default:
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CCasusBelli::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(
        new CDataAssignment(KW_TYPE, new CDataIdentifier(temporary ? KW_TEMPORARY : KW_PERMANENT)));
    block->AddChild(new CDataAssignment(KW_EXPIRYDATE, expiry.Write()));
    return block;
}

// ---------------------------------------------------------------------------
// CRelation

float CRelation::GetValue() const {
    return HeldInRange(value);
}

void CRelation::SetValue(float newValue) {
    value = HeldInRange(newValue);
}

int32_t CRelation::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_TAG: {
            tag = in.value.text;
            const int32_t number = FindCountryByTag(in.value.text);
            country = number > 0 && static_cast<uint32_t>(number) < kCountrySlots
                          ? static_cast<uint32_t>(number)
                          : 0;
            value = StartingRelationValue(owner, country);
            break;
        }
        case KW_CASUSBELLI: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            CCasusBelli entry;
            if (entry.Read(in) != FIELD_BLOCK_END)
                return FIELD_END_OF_FILE;
            casusBelli.push_back(entry);
            break;
        }
        case KW_VALUE:
            value = TokenToFloat(in.value.text);
            break;
        case KW_REFUSETRADE:
            if (ReadYesNo(in, "Illegal argument") == 1)
                refuseTrade = 1;
            break;
        default:
            in.ReportError("Relation : Unexpected field");
            PassOverValue(in);
            break;
        }
    }
}

CDataBlock* CRelation::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_TAG, ObjectId(kCountryObjectType, country).MakeNode()));
    block->AddChild(new CDataAssignment(KW_VALUE, new CFloatNode(value)));
    block->AddChild(new CDataAssignment(KW_REFUSETRADE, new CDataBool(refuseTrade != 0)));
    for (const CCasusBelli& entry : casusBelli)
        block->AddChild(new CDataAssignment(KW_CASUSBELLI, entry.Write()));
    return block;
}

bool CRelation::NeedsSaving() const {
    return refuseTrade != 0 || !casusBelli.empty() ||
           value != StartingRelationValue(owner, country);
}

void CRelation::DropTemporaryCasusBelli() {
    std::erase_if(casusBelli, [](const CCasusBelli& entry) { return entry.temporary != 0; });
}

bool CRelation::HasCasusBelli() {
    claimHeld = 0;
    const CCountry* other = CountryOfNumber(country);
    const CCountry* self = CountryOfNumber(owner);
    if (!other || !self)
        return false;
    if (country != owner) {
        bool held = false;
        const_cast<CIntList&>(self->m_nationalProvinces).ForEach([this, &held](int32_t id) {
            const CProvince* province = GetProvince(id);
            if (province && province->GetOwnerNumber() == static_cast<int32_t>(country))
                held = true;
        });
        if (held) {
            claimHeld = 1;
            return true;
        }
    }
    if (other->m_diplomacy.RefusesTradeWith(owner) && !HasClosedTrade(*other))
        return true;
    const int32_t mine = StateReligionOf(*self);
    const int32_t theirs = StateReligionOf(*other);
    if (mine == 2 && !IsTruceFlagSet() && (theirs == 0 || theirs == 1))
        return true;
    if (owner == 8 && (theirs == 5 || theirs == 6 || theirs == 7))
        return true;
    return (mine == 5 && theirs == 6) || (mine == 6 && theirs == 5);
}

// ---------------------------------------------------------------------------
// CCountryDiplomacy

void CCountryDiplomacy::Init(uint32_t ownerNumber) {
    m_owner = ownerNumber;
    for (uint32_t number = 0; number < kCountrySlots; ++number) {
        CRelation& relation = relations[number];
        relation.owner = ownerNumber;
        relation.country = number;
        relation.value = StartingRelationValue(ownerNumber, number);
    }
}

CRelation* CCountryDiplomacy::GetRelation(int64_t number) {
    return number >= 0 && number < kCountrySlots ? &relations[static_cast<size_t>(number)]
                                                 : nullptr;
}

const CRelation* CCountryDiplomacy::GetRelation(int64_t number) const {
    return number >= 0 && number < kCountrySlots ? &relations[static_cast<size_t>(number)]
                                                 : nullptr;
}

int32_t CCountryDiplomacy::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        if (in.key.code != KW_RELATION) {
            in.ReportError("Diplomacy : Unexpected field");
            PassOverValue(in);
            continue;
        }
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            continue;
        }
        CRelation fresh;
        fresh.owner = m_owner;
        if (fresh.Read(in) != FIELD_BLOCK_END)
            return FIELD_END_OF_FILE;
        if (fresh.country == 0) {
            // Country 0 has no relations of its own: a tag that names no
            // country drops the block.
            CTokenFile* file = in.GetTokenFile();
            ReportTokenError("Relation : Illegal tag", fresh.tag.c_str(), "", "", file->GetLine(),
                             file->GetFileName());
            continue;
        }
        CRelation& relation = relations[fresh.country];
        relation.tag = fresh.tag;
        relation.refuseTrade = fresh.refuseTrade;
        relation.value = fresh.value;
        relation.casusBelli = fresh.casusBelli;
        relation.owner = m_owner;
        relation.country = fresh.country;
    }
}

CDataBlock* CCountryDiplomacy::Write() const {
    auto* block = new CDataBlock;
    for (uint32_t number = 1; number < kCountrySlots; ++number) {
        const CRelation& relation = relations[number];
        if (CountryOfNumber(number) && relation.NeedsSaving())
            block->AddChild(new CDataAssignment(KW_RELATION, relation.Write()));
    }
    return block;
}

int CCountryDiplomacy::HandleEvent(COVEvent& event) {
    const uint32_t type = event.GetType();
    if (type == EVT_GAME_STARTED)
        UpdateAtWarFlag();
    if (type == EVT_GAME_STARTED || type == EVT_TIMER_MONTH) {
        const CDate today = GetGameDate();
        for (CRelation& relation : relations) {
            // A permanent claim has no expiry: only temporary ones run out.
            std::erase_if(relation.casusBelli, [&today](const CCasusBelli& entry) {
                return entry.temporary != 0 && today.IsNotBefore(entry.expiry);
            });
            relation.hasCasusBelli = relation.HasCasusBelli() ? 1 : 0;
        }
    }
    return EVENT_NOT_HANDLED;
}

bool CCountryDiplomacy::HasPendingOffer(int64_t n) const {
    const CRelation* relation = GetRelation(n);
    return relation && relation->offerPending;
}

bool CCountryDiplomacy::IsAtWarWith(int64_t n) const {
    const CRelation* relation = GetRelation(n);
    return relation && relation->atWar;
}

bool CCountryDiplomacy::IsWarBlocked(int64_t n) const {
    const CRelation* relation = GetRelation(n);
    return relation && relation->warBlocked;
}

bool CCountryDiplomacy::RefusesTradeWith(int64_t n) const {
    const CCountry* self = CountryOfNumber(m_owner);
    if (self && HasClosedTrade(*self) && n != m_owner)
        return true;
    const CRelation* relation = GetRelation(n);
    return relation && relation->refuseTrade;
}

bool CCountryDiplomacy::IsTradeRefusedBy(int64_t n) const {
    const CCountry* other = CountryOfNumber(n);
    return other && other->m_diplomacy.RefusesTradeWith(m_owner);
}

namespace {

// The first alliance of the type holding both countries, null when none.
CAlliance* FindAllianceOfType(uint32_t type, int64_t a, int64_t b) {
    for (const auto& alliance : g_alliances)
        if (alliance->type == type && alliance->HasMember(a) && alliance->HasMember(b))
            return alliance.get();
    return nullptr;
}

// A vassalization led by the overlord that holds the vassal.
bool Overlords(int64_t overlord, int64_t vassal) {
    if (overlord == vassal)
        return false;
    for (const auto& alliance : g_alliances)
        if (alliance->type == ALLIANCE_VASSALIZATION && alliance->HasMember(vassal) &&
            alliance->GetLeader() == overlord)
            return true;
    return false;
}

} // namespace

bool CCountryDiplomacy::IsAlliedWith(int64_t n) const {
    const CRelation* relation = GetRelation(n);
    if (!relation)
        return false;
    if (relation->dynastic || relation->military || relation->sameSide)
        return true;
    return Overlords(m_owner, n) || Overlords(n, m_owner);
}

ObjectId CCountryDiplomacy::GetDynasticAllianceWith(int64_t n) const {
    const CAlliance* alliance = FindAllianceOfType(ALLIANCE_DYNASTIC, m_owner, n);
    return alliance ? alliance->id : g_nullId;
}

ObjectId CCountryDiplomacy::GetVassalizationWith(int64_t n) const {
    const CAlliance* alliance = FindAllianceOfType(ALLIANCE_VASSALIZATION, m_owner, n);
    return alliance ? alliance->id : g_nullId;
}

CAlliance* CCountryDiplomacy::FindMilitaryAllianceWith(int64_t n) const {
    return FindAllianceOfType(ALLIANCE_MILITARY, m_owner, n);
}

ObjectId CCountryDiplomacy::GetMilitaryAllianceId() const {
    const CAlliance* alliance = FindAllianceOfType(ALLIANCE_MILITARY, m_owner, m_owner);
    return alliance ? alliance->id : g_nullId;
}

bool CCountryDiplomacy::IsInMilitaryAlliance() const {
    return FindAllianceOfType(ALLIANCE_MILITARY, m_owner, m_owner) != nullptr;
}

bool CCountryDiplomacy::IsOverlordOf(int64_t n) const {
    return Overlords(m_owner, n);
}

bool CCountryDiplomacy::IsVassal() const {
    return GetOverlord() >= 0;
}

int32_t CCountryDiplomacy::GetOverlord() const {
    for (const auto& alliance : g_alliances)
        if (alliance->type == ALLIANCE_VASSALIZATION && alliance->HasMember(m_owner) &&
            alliance->GetLeader() != static_cast<int32_t>(m_owner))
            return alliance->GetLeader();
    return -1;
}

CWar* CCountryDiplomacy::FindWarWith(int64_t n) const {
    for (const auto& war : g_wars)
        if ((war->IsAttacker(m_owner) && war->IsDefender(n)) ||
            (war->IsDefender(m_owner) && war->IsAttacker(n)))
            return war.get();
    return nullptr;
}

ObjectId CCountryDiplomacy::GetWarIdWith(int64_t n) const {
    const CWar* war = FindWarWith(n);
    return war ? war->id : g_nullId;
}

bool CCountryDiplomacy::HasCasusBelliAgainst(int64_t n) {
    CRelation* relation = GetRelation(n);
    return relation && relation->HasCasusBelli();
}

CDate CCountryDiplomacy::GetCasusBelliExpiry(int64_t n) const {
    CDate earliest(1, 0, 9999);
    const CRelation* relation = GetRelation(n);
    if (!relation)
        return earliest;
    for (const CCasusBelli& entry : relation->casusBelli)
        if (entry.temporary && earliest.IsAfter(entry.expiry))
            earliest = entry.expiry;
    return earliest;
}

void CCountryDiplomacy::BreakDynasticAlliancesWith(int64_t n) {
    std::erase_if(g_alliances, [this, n](const std::unique_ptr<CAlliance>& alliance) {
        return alliance->type == ALLIANCE_DYNASTIC && alliance->HasMember(m_owner) &&
               alliance->HasMember(n);
    });
    RebuildDiplomaticStatus();
}

void CCountryDiplomacy::UpdateAtWarFlag() {
    atWarWithAny = 0;
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        if (CountryOfNumber(number) && relations[number].atWar)
            atWarWithAny = 1;
}

namespace {

bool HasFirst(const CAlliance& side, uint32_t country) {
    return side.GetLeader() == static_cast<int32_t>(country);
}

bool Holds(const std::vector<uint32_t>& list, uint32_t country) {
    return std::find(list.begin(), list.end(), country) != list.end();
}

} // namespace

bool CCountryDiplomacy::HasPeaceOffer(const CAlliance& a, const CAlliance& b, const ObjectId& war) {
    for (const auto& offer : g_peaceOffers)
        if (offer->war == war && !offer->separateFrom && !offer->separateTo &&
            ((HasFirst(a, offer->from) && HasFirst(b, offer->to)) ||
             (HasFirst(b, offer->from) && HasFirst(a, offer->to))))
            return true;
    return false;
}

bool CCountryDiplomacy::HasSeparatePeaceOffer(const std::vector<uint32_t>& list, const CAlliance& b,
                                              const ObjectId& war) {
    for (const auto& offer : g_peaceOffers) {
        if (offer->war != war)
            continue;
        if (offer->separateFrom && !offer->separateTo && Holds(list, offer->from) &&
            HasFirst(b, offer->to))
            return true;
        if (offer->separateTo && !offer->separateFrom && Holds(list, offer->to) &&
            HasFirst(b, offer->from))
            return true;
    }
    return false;
}

bool CCountryDiplomacy::HasMutualSeparatePeaceOffer(const std::vector<uint32_t>& a,
                                                    const std::vector<uint32_t>& b,
                                                    const ObjectId& war) {
    for (const auto& offer : g_peaceOffers)
        if (offer->war == war && offer->separateFrom && offer->separateTo &&
            ((Holds(a, offer->from) && Holds(b, offer->to)) ||
             (Holds(b, offer->from) && Holds(a, offer->to))))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// The derived status

namespace {

// The relation of a toward b when both countries exist.
CRelation* ExistingRelation(uint32_t a, uint32_t b) {
    CCountry* country = CountryOfNumber(a);
    return country && CountryOfNumber(b) ? country->m_diplomacy.GetRelation(b) : nullptr;
}

// Sets the flag both ways between two different existing countries.
void SetBothWays(uint32_t a, uint32_t b, uint8_t CRelation::*flag) {
    if (a == b)
        return;
    CRelation* ab = ExistingRelation(a, b);
    CRelation* ba = ExistingRelation(b, a);
    if (ab && ba) {
        ab->*flag = 1;
        ba->*flag = 1;
    }
}

void SetAmong(const std::vector<uint32_t>& members, uint8_t CRelation::*flag) {
    for (uint32_t a : members)
        for (uint32_t b : members)
            SetBothWays(a, b, flag);
}

} // namespace

void RebuildDiplomaticStatus() {
    for (uint32_t number = 0; number < kCountrySlots; ++number)
        if (CCountry* country = CountryOfNumber(number))
            for (CRelation& relation : country->m_diplomacy.relations) {
                relation.dynastic = 0;
                relation.military = 0;
                relation.sameSide = 0;
                relation.peacePending = 0;
            }
    for (const auto& alliance : g_alliances) {
        if (alliance->type == ALLIANCE_DYNASTIC)
            SetAmong(alliance->participants, &CRelation::dynastic);
        else if (alliance->type == ALLIANCE_MILITARY)
            SetAmong(alliance->participants, &CRelation::military);
    }
    static const std::vector<uint32_t> kNobody;
    for (const auto& war : g_wars) {
        const std::vector<uint32_t>& attackers =
            war->attackers ? war->attackers->participants : kNobody;
        const std::vector<uint32_t>& defenders =
            war->defenders ? war->defenders->participants : kNobody;
        SetAmong(attackers, &CRelation::sameSide);
        for (uint32_t a : attackers)
            for (uint32_t d : defenders)
                SetBothWays(a, d, &CRelation::atWar);
        SetAmong(defenders, &CRelation::sameSide);
    }
    for (const auto& offer : g_peaceOffers)
        SetBothWays(offer->from, offer->to, &CRelation::peacePending);
}

void ChangeRelationMutual(uint32_t a, uint32_t b, float amount) {
    if (a == b)
        return;
    CRelation* ab = ExistingRelation(a, b);
    CRelation* ba = ExistingRelation(b, a);
    if (!ab || !ba)
        return;
    ab->SetValue(ab->GetValue() + amount);
    ba->value = ab->value;
}
