// The country's standing toward the other countries: war, hostility,
// access, alliances, stability and the dates of the last peace.
#include "country/Country.h"
#include "country/Technology.h"
#include "net/Senders.h"

namespace {

bool IsOutlaw(int64_t n) {
    return n >= 96 && n <= 98;
}

} // namespace

bool CCountry::IsAtWar() const {
    return m_diplomacy.atWarWithAny != 0;
}

bool CCountry::IsHostileTo(int64_t n) const {
    if (n == GetNumber())
        return false;
    if (IsOutlaw(n) || IsOutlaw(GetNumber()))
        return true;
    return m_diplomacy.IsAtWarWith(n);
}

bool CCountry::HasAccessTo(int64_t n) const {
    return n == GetNumber() || IsCobelligerentWith(n) || m_diplomacy.IsOverlordOf(n);
}

bool CCountry::IsAlliedWith(int64_t n) const {
    return m_diplomacy.IsAlliedWith(n);
}

bool CCountry::IsCobelligerentWith(int64_t n) const {
    const CRelation* relation = m_diplomacy.GetRelation(n);
    return relation && relation->sameSide != 0;
}

double CCountry::GetStability() const {
    return m_technology.stability.GetLevel();
}

void CCountry::SetStability(int32_t level) {
    m_technology.stability.SetLevel(level);
}

void CCountry::EndWarWith(int64_t n) {
    CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation)
        return;
    m_warDates[static_cast<size_t>(n)] = GetGameDate();
    relation->atWar = 0;
    m_diplomacy.UpdateAtWarFlag();
}

void CCountry::SetAtWarWith(int64_t n) {
    CRelation* relation = m_diplomacy.GetRelation(n);
    if (!relation)
        return;
    relation->atWar = 1;
    m_diplomacy.UpdateAtWarFlag();
}

const CDate& CCountry::GetLastPeaceWith(int64_t n) const {
    static const CDate kNone;
    return n >= 0 && n < kCountrySlots ? m_warDates[static_cast<size_t>(n)] : kNone;
}
