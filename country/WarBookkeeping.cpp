// The bookkeeping of treaties and wars: members joining and leaving an
// alliance or a side of a war, occupied provinces going back to their
// owners, and a country leaving a war by a separate peace.
#include <algorithm>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryList.h"
#include "country/Relations.h"
#include "country/War.h"
#include "net/Senders.h"
#include "world/Province.h"

namespace {

// An alliance of g_alliances or a side of a war in g_wars.
CAlliance* FindAllianceOrSide(const ObjectId& id) {
    if (CAlliance* alliance = FindAlliance(id))
        return alliance;
    for (const auto& war : g_wars) {
        if (war->attackers && war->attackers->id == id)
            return war->attackers.get();
        if (war->defenders && war->defenders->id == id)
            return war->defenders.get();
    }
    return nullptr;
}

// Both countries record today's peace with each other.
void EndWarBetween(CCountry& a, CCountry& b) {
    a.EndWarWith(b.GetNumber());
    b.EndWarWith(a.GetNumber());
}

} // namespace

void CCountry::AddAllianceMember(const ObjectId& allianceId, int64_t n) {
    CAlliance* alliance = FindAllianceOrSide(allianceId);
    if (!alliance)
        return;
    if (CountryOfNumber(n) && !alliance->HasMember(n))
        alliance->participants.push_back(static_cast<uint32_t>(n));
    RebuildDiplomaticStatus();
    SendRefreshWindows();
}

void CCountry::RemoveAllianceMember(const ObjectId& allianceId, int64_t n) {
    CAlliance* alliance = FindAllianceOrSide(allianceId);
    if (!alliance)
        return;
    std::erase_if(alliance->participants, [n](uint32_t member) { return member == n; });
    SendRefreshWindows();
    RebuildDiplomaticStatus();
}

void ReturnOccupiedProvinces(CCountry& occupier, CCountry& owner) {
    if (owner.m_annexed || &occupier == &owner)
        return;
    // Giving a province back takes it off the list being read: collect first.
    std::vector<int32_t> returned;
    occupier.m_controlledProvinces.ForEach([&](int32_t id) {
        const CProvince* province = GetProvince(id);
        if (province && province->GetOwnerNumber() == static_cast<int32_t>(owner.GetNumber()))
            returned.push_back(id);
    });
    for (int32_t id : returned)
        GetProvince(id)->SetControllerField(&owner);
}

void CCountry::MakeSeparatePeace(CWar& war) {
    const bool attacker = war.attackers && war.attackers->HasMember(m_number);
    const bool defender = !attacker && war.defenders && war.defenders->HasMember(m_number);
    if (!attacker && !defender)
        return;
    CAlliance& side = attacker ? *war.attackers : *war.defenders;
    CAlliance* enemies = attacker ? war.defenders.get() : war.attackers.get();
    CWarScoreTable& enemyScores = attacker ? war.defenderScore : war.attackerScore;

    if (enemies) {
        // A copy: the notices below may reach code that changes the side.
        const std::vector<uint32_t> enemyList = enemies->participants;
        for (uint32_t e : enemyList) {
            CCountry* enemy = CountryOfNumber(e);
            if (!enemy)
                continue;
            EndWarBetween(*this, *enemy);
            enemyScores.rows[e][m_number] = 0;
            ReturnOccupiedProvinces(*this, *enemy);
            ReturnOccupiedProvinces(*enemy, *this);
            if (g_countryAI.notifyListeners)
                g_countryAI.notifyListeners(kAINoticeSeparatePeace, m_number, e);
        }
    }

    const bool led = side.GetLeader() == static_cast<int32_t>(m_number);
    std::erase_if(side.participants, [this](uint32_t member) { return member == m_number; });
    if (led)
        side.ElectLeader();
    CCountryList remaining;
    for (uint32_t member : side.participants)
        remaining.AddTail(member);
    SendGiveCasusBelli(remaining, m_number);
}
