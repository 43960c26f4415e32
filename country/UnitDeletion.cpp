// Deleting one of the country's units: the computer player is told, a
// fleet's cargo goes down with it, the unit leaves the country's lists and
// its province, a mark stays on the map, and the kill message deletes the
// object itself.
#include <memory>

#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryMilitary.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/GameNotices.h"
#include "world/Province.h"

CountryAIHooks g_countryAI;

std::unique_ptr<COVEvent> MakeUnitFinishEvent(const ObjectId& receiver, uint16_t first,
                                              uint16_t second, bool flag) {
    auto event = std::make_unique<COVDataEvent>(EVT_UNIT_FINISH, receiver);
    COVEventData& payload = event->Payload();
    payload.Set(UnitFinishPayload::kFirst, first);
    payload.Set(UnitFinishPayload::kSecond, second);
    payload.Set(UnitFinishPayload::kFlag, flag ? 1 : 0);
    return event;
}

void CCountry::DeleteUnit(const ObjectId& id) {
    if (!g_countryMilitary.findUnit)
        return;
    CUnit* unit = g_countryMilitary.findUnit(id);
    // Only a unit of this country: the kill message deletes the object, which
    // must then stand in no other country's list.
    if (!unit || (!m_units.Contains(unit) && !m_unitsInDevelopment.Contains(unit)))
        return;
    UnitFacts facts;
    if (g_countryMilitary.describeUnit)
        g_countryMilitary.describeUnit(*unit, facts);
    facts.id = id;

    if (auto told = facts.fleet ? g_countryAI.fleetDeleted : g_countryAI.armyDeleted)
        told(*unit);

    // The armies aboard go down with the fleet.
    for (CUnit* army : facts.cargo) {
        UnitFacts armyFacts;
        if (g_countryMilitary.describeUnit)
            g_countryMilitary.describeUnit(*army, armyFacts);
        CLossesRecord& losses = *GetLossRecord(LOSS_COMBAT);
        losses.infantry += static_cast<float>(armyFacts.troops[0]);
        losses.cavalry += static_cast<float>(armyFacts.troops[1]);
        losses.artillery += static_cast<float>(armyFacts.troops[2]);
        DeleteUnit(armyFacts.id);
    }

    m_units.Remove(unit);
    if (g_countryMilitary.releaseUnit)
        g_countryMilitary.releaseUnit(*unit);

    if (!facts.destroyed) {
        if (g_countryMilitary.leaveWreck)
            g_countryMilitary.leaveWreck(*unit);
        if (IsLocalHuman() && facts.strength < 1.0f) {
            const CProvince* province = GetProvince(facts.province);
            PostGameMessage1At(facts.fleet ? kNoticeNavyDestroyed : kNoticeArmyDestroyed, m_number,
                               province ? province->name : std::string(), facts.province,
                               facts.province);
        }
    }

    if (g_countryMilitary.retireUnit)
        g_countryMilitary.retireUnit(*unit);
    m_unitsInDevelopment.Remove(unit);

    DebugPrint("Unit #%d (%s) is about to be deleted!\n", static_cast<int>(id.number),
               facts.name.c_str());

    auto kill = std::make_unique<COVDataEvent>(EVT_KILL, id);
    kill->Payload().Set(KillPayload::kUnit, id);
    PostEventNow(std::move(kill));
}
