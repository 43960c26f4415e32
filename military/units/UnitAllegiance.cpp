// What the countries' rebels and annexations ask of units: their facts,
// their change of owner and the losses they report.
#include <memory>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "military/units/Leader.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"

void CUnit::SendLosses(float amount, uint8_t cause) {
    if (!(amount > 0.0f) || !m_owner)
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_UNITLOSSES, m_owner->GetId());
    event->Payload().Set(UnitLossesPayload::kUnit, GetId());
    event->Payload().Set(UnitLossesPayload::kAmount, amount);
    event->Payload().Set(UnitLossesPayload::kCause, cause);
    ExecuteAndSendEvent(std::move(event));
}

bool CUnit::IsEnemyOf(const CUnit& other) const {
    if (trespassing || other.trespassing || &other == this || m_owner == other.m_owner)
        return false;
    // A unit's current combat: its battle, else its siege. Units in two
    // different battles do not fight each other; a siege is no bar.
    if (!m_combat.IsNull() && !other.m_combat.IsNull() && !(m_combat == other.m_combat))
        return false;
    if (IsRetreating() || other.IsRetreating() || IsFleet() != other.IsFleet())
        return false;
    if (!m_owner || !other.m_owner || m_owner->IsCobelligerentWith(other.m_owner->GetNumber()))
        return false;
    if (m_owner->IsBarredByDemarcationTreaty(m_location) ||
        other.m_owner->IsBarredByDemarcationTreaty(m_location))
        return true;
    return m_owner->IsHostileTo(other.m_owner->GetNumber());
}

namespace {

// The unit's leaders follow it to its new owner.
void SetUnitOwner(CUnit& unit, CCountry& country) {
    unit.SetOwner(&country);
    const_cast<CLinkedList<CLeader>&>(unit.GetLeaders()).ForEach([&country](CLeader* leader) {
        if (leader)
            leader->SetCountry(&country);
    });
}

const bool g_registered = [] {
    g_countryMilitary.setUnitOwner = SetUnitOwner;
    g_countryMilitary.sendUnitLosses = [](CUnit& unit, float amount, uint8_t cause) {
        unit.SendLosses(amount, cause);
    };
    return true;
}();

} // namespace
