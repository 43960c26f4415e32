// The collapse of a country: its wars end, its provinces go back under its
// own control or to their occupiers, and its faith may turn.
#include <algorithm>
#include <memory>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryRebels.h"
#include "country/CountryReligion.h"
#include "country/HandlerSupport.h"
#include "country/Relations.h"
#include "country/War.h"
#include "net/EventTypes.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

using namespace handlers;

namespace {

constexpr int32_t kNoticeBrokenUs = 100;
constexpr int32_t kNoticeBrokenOther = 101;

constexpr uint32_t kProtestant = 0;
constexpr uint32_t kReformed = 1;
constexpr uint32_t kCounterReformed = 2;
constexpr uint32_t kCatholic = 3;

} // namespace

int CCountry::OnCountryBroken(COVEvent&) {
    if (IsLocalHuman())
        PostGameMessage1(kNoticeBrokenUs, m_number, GetName(), GetName());
    else
        PostGameMessage1(kNoticeBrokenOther, m_number, GetName(), GetName());

    std::vector<uint32_t> touched{m_number};
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (n != m_number && m_diplomacy.IsAtWarWith(n)) {
            touched.push_back(n);
            if (CRelation* relation = m_diplomacy.GetRelation(n))
                relation->refuseTrade = 0;
        }

    // Out of every war: peace with each country of the other side; a war
    // with a side left empty is over.
    for (auto& war : g_wars) {
        if (!war || !war->HasBothSides())
            continue;
        const bool attacker = war->attackers->HasMember(m_number);
        if (!attacker && !war->defenders->HasMember(m_number))
            continue;
        CAlliance& own = attacker ? *war->attackers : *war->defenders;
        const CAlliance& other = attacker ? *war->defenders : *war->attackers;
        std::erase_if(own.participants, [this](uint32_t n) { return n == m_number; });
        for (uint32_t n : other.participants)
            if (CCountry* enemy = CountryOfNumber(n)) {
                EndWarWith(n);
                enemy->EndWarWith(m_number);
            }
    }
    std::erase_if(g_wars, [](const std::unique_ptr<CWar>& war) {
        return war && war->HasBothSides() &&
               (war->attackers->participants.empty() || war->defenders->participants.empty());
    });

    const int32_t self = static_cast<int32_t>(m_number);
    std::vector<int32_t> owned;
    m_ownedProvinces.ForEach([&owned](int32_t id) { owned.push_back(id); });
    for (int32_t id : owned) {
        CProvince* province = GetProvince(id);
        if (!province)
            continue;
        const int32_t controller = province->GetControllerNumber();
        if (controller == static_cast<int32_t>(kRebelCountry) || id == GetCapitalId()) {
            province->SetController(this);
        } else if (controller != self && IsOrdinaryCountry(controller)) {
            if (CCountry* occupier = CountryOfNumber(controller))
                province->ChangeOwner(occupier);
        }
    }
    std::vector<int32_t> controlled;
    m_controlledProvinces.ForEach([&controlled](int32_t id) { controlled.push_back(id); });
    for (int32_t id : controlled) {
        CProvince* province = GetProvince(id);
        if (province && province->GetOwnerNumber() != self)
            province->SetController(CountryOfNumber(province->GetOwnerNumber()));
    }

    AddRankScore(-100.0f);
    if (g_globals.EventFlag(1) && !g_globals.EventFlag(4)) {
        const uint32_t religion = m_religion.stateReligion;
        uint32_t turned = religion;
        if (religion == kProtestant || religion == kReformed)
            turned = kCatholic;
        else if (religion == kCounterReformed || religion == kCatholic)
            turned = kProtestant;
        if (turned != religion) {
            m_religion = GetDefaultTolerances(turned);
            m_religion.stateReligion = turned;
        }
    }
    SetStability(3);
    RebuildDiplomaticStatus();
    for (uint32_t n : touched)
        if (CCountry* country = CountryOfNumber(n))
            country->RefreshMilitaryState();
    return EVENT_CONSUMED;
}
