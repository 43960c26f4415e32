#include "country/DiplomaticQueries.h"

#include "country/Country.h"
#include "country/Relations.h"
#include "world/MapModes.h"
#include "world/PathSearch.h"

namespace {

// The three numbers every country is hostile to: pirates, natives, rebels.
constexpr int64_t kFirstOutlaw = 96;
constexpr int64_t kLastOutlaw = 98;

bool IsOutlaw(int64_t n) {
    return n >= kFirstOutlaw && n <= kLastOutlaw;
}

const CRelation* RelationOf(int64_t country, int64_t n) {
    const CCountry* self = CountryOfNumber(country);
    return self ? self->m_diplomacy.GetRelation(n) : nullptr;
}

// A casus belli of the relation: the claim on a held province (permanent)
// or an entry of the list.
bool HoldsCasusBelli(const CRelation* relation) {
    return relation && (relation->claimHeld || !relation->casusBelli.empty());
}

const bool g_registered = [] {
    g_pathSearchHooks.countryIsHostileTo = [](int32_t country, int32_t other) {
        return CountryIsHostileTo(country, other);
    };
    g_pathSearchHooks.countryGrantsAccess = [](int32_t country, int32_t other) {
        return CountryHasAccessTo(country, other);
    };
    g_mapModeHooks.diplomacy = [](int32_t viewer, int32_t owner, int32_t& colour, int32_t& shade) {
        DiplomacyColourOf(viewer, owner, colour, shade);
    };
    g_mapModeHooks.relation = [](int32_t viewer, int32_t owner) -> int32_t {
        const CRelation* relation = RelationOf(viewer, owner);
        return relation ? static_cast<int32_t>(relation->GetValue()) : 0;
    };
    return true;
}();

} // namespace

bool CountryIsHostileTo(int64_t country, int64_t n) {
    if (const CCountry* self = CountryOfNumber(country))
        return self->IsHostileTo(n);
    return country != n && (IsOutlaw(country) || IsOutlaw(n));
}

bool CountryHasAccessTo(int64_t country, int64_t n) {
    if (const CCountry* self = CountryOfNumber(country))
        return self->HasAccessTo(n);
    return country == n && country >= 0 && country < kCountrySlots;
}

void DiplomacyColourOf(int64_t viewer, int64_t owner, int32_t& colour, int32_t& shade) {
    colour = kColourLand;
    shade = 0;
    const CCountry* self = CountryOfNumber(viewer);
    if (!self || owner < 0)
        return;
    if (viewer == owner) {
        colour = kColourFriend;
        return;
    }
    const CCountryDiplomacy& diplomacy = self->m_diplomacy;
    const CRelation* toward = diplomacy.GetRelation(owner);
    const CRelation* from = RelationOf(owner, viewer);
    const CCountry* other = CountryOfNumber(owner);
    struct Rule {
        bool holds;
        int32_t colour;
        int32_t shade;
    };
    const Rule rules[] = {
        {diplomacy.IsAtWarWith(owner), kColourFoe, 0},
        {toward && toward->sameSide, kColourFriend, 6},
        {diplomacy.IsOverlordOf(owner) || (other && other->m_diplomacy.IsOverlordOf(viewer)),
         kColourFriend, 12},
        {HoldsCasusBelli(from), kColourFoe, 12},
        {toward && toward->military, kColourFriend, 18},
        {HoldsCasusBelli(toward), kColourFoe, 18},
        {toward && toward->dynastic, kColourFriend, 24},
    };
    for (const Rule& rule : rules)
        if (rule.holds) {
            colour = rule.colour;
            shade = rule.shade;
            return;
        }
}
