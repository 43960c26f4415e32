#include "military/server/CombatServer.h"

#include "military/combat/Siege.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/Relations.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "military/combat/Battle.h"
#include "military/server/HostDispatcher.h"
#include "military/server/UnitServer.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/City.h"
#include "world/Province.h"

CCombatServer* g_combatServer = nullptr;

namespace {

constexpr int32_t kInterceptBonus = 125;
constexpr int32_t kBorderBonus = 25;
constexpr int32_t kBlockadeBonus = 50;

int32_t FortressLevelOf(const CProvince& province) {
    const CCity* city = province.GetCity();
    return city ? static_cast<int32_t>(city->GetFortress().level) : 0;
}

// The attackers are strong enough to cover the fortress; a combat that is
// not a siege never is.
bool CanCover(CCombat& combat) {
    const CSiegeCombat* siege = combat.GetSiege();
    return siege && siege->CanCover();
}

// The combats of the province in list order, by id (a combat the rules have
// not made, with no id, is left out).
std::vector<ObjectId> CombatIdsOf(const CProvince& province) {
    std::vector<ObjectId> ids;
    if (!province.combats)
        return ids;
    for (size_t i = 0; i < province.combats->GetCount(); ++i) {
        const ObjectId& id = province.combats->At(i)->GetId();
        if (!id.IsNull())
            ids.push_back(id);
    }
    return ids;
}

// The ids of the units standing in the province, in country order.
std::vector<ObjectId> UnitIdsIn(int32_t province) {
    CUnitList units;
    CollectProvinceUnits(province, units);
    std::vector<ObjectId> ids;
    units.ForEach([&ids](CUnit* unit) {
        if (unit)
            ids.push_back(unit->GetId());
    });
    return ids;
}

const char* UnitName(const CUnit& unit) {
    return unit.GetName().c_str();
}

// The siege of the province's city, null when none.
CCombat* SiegeOf(const CProvince& province) {
    const CCity* city = province.GetCity();
    return city && !city->GetSiegeId().IsNull() ? FindCombatById(city->GetSiegeId()) : nullptr;
}

// A besieger too weak to cover retreats from the fortress (province 0: the
// siege decides where).
bool MustGiveUpCover(CCombat& siege) {
    return siege.GetType() != kCombatSiegeAssault && !siege.Attackers().retreating &&
           !CanCover(siege);
}

} // namespace

CCombat* CurrentCombatOf(const CUnit& unit) {
    if (!unit.GetCombat().IsNull())
        return FindCombatById(unit.GetCombat());
    if (!unit.GetSiegeCombat().IsNull())
        return FindCombatById(unit.GetSiegeCombat());
    return nullptr;
}

CCombatServer::CCombatServer() {
    SetId(g_combatRequestsId);
}

int CCombatServer::HandleEvent(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_COMBAT_REMOVE_UNIT_3: {
        CCombat* combat = FindCombatById(payload.Get(CombatUnitFields::kCombat));
        CUnit* unit = FindUnitById(payload.Get(CombatUnitFields::kUnit));
        if (combat && unit)
            RemoveUnitFromCombats(*combat, *unit, payload.Get(CombatUnitFields::kAttacker));
        return kCombatServerHandled;
    }
    case EVT_COMBAT_ENDED:
        if (CCombat* combat = FindCombatById(payload.Get(COVCombatEvent::kCombat)))
            OnCombatEnded(*combat);
        return kCombatServerHandled;
    case EVT_SIEGE_ASSAULT:
        if (CCombat* combat = FindCombatById(payload.Get(COVCombatEvent::kCombat)))
            if (CSiegeCombat* siege = combat->GetSiege())
                siege->StartAssault();
        return kCombatServerHandled;
    case EVT_UNITMOVECANCEL:
        if (CUnit* unit = FindUnitById(payload.Get(UnitMoveCancelPayload::kUnit)))
            CheckUnitArrival(*unit, unit->GetLocation());
        return kCombatServerHandled;
    default:
        return 0;
    }
}

void CCombatServer::CheckCombats(CCountry& country) {
    std::vector<ObjectId> invalid;
    auto gather = [&invalid](const ObjectId& id) {
        if (id.IsNull() || std::find(invalid.begin(), invalid.end(), id) != invalid.end())
            return;
        if (CCombat* combat = FindCombatById(id); combat && !combat->IsValid())
            invalid.push_back(id);
    };
    std::vector<ObjectId> units;
    country.m_units.ForEach([&](CUnit* unit) {
        if (!unit)
            return;
        units.push_back(unit->GetId());
        gather(unit->GetCombat());
        gather(unit->GetSiegeCombat());
    });
    country.m_ownedProvinces.ForEach([&gather](int32_t id) {
        if (const CProvince* province = GetProvince(id))
            if (const CCity* city = province->GetCity())
                gather(city->GetSiegeId());
    });
    // Each end may remove units and combats: everything is looked up again.
    for (const ObjectId& id : invalid)
        if (CCombat* combat = FindCombatById(id); combat && !combat->ended) {
            DebugPrint("Server: Invalid combat detected! (%s)\n", combat->GetName().c_str());
            combat->End();
        }
    for (const ObjectId& id : units) {
        CUnit* unit = FindUnitById(id);
        if (unit && unit->GetOwner() == &country && !unit->garrison && !unit->IsInCombat() &&
            !unit->IsRetreating())
            CheckUnitArrival(*unit, unit->GetLocation());
    }
}

void CCombatServer::CheckUnitArrival(CUnit& unit, int32_t provinceId) {
    CProvince* province = provinceId != 0 ? GetProvince(provinceId) : nullptr;
    if (!province)
        return;
    if (unit.IsInCombat()) {
        if (CCombat* combat = CurrentCombatOf(unit)) {
            DebugPrint("%s: Unit #%d (%s) moved from Prov %d to %d, but is still in combat!??\n",
                       combat->GetName().c_str(), static_cast<int>(unit.GetId().number),
                       UnitName(unit), unit.previousProvince, provinceId);
            RemoveUnitFromCombats(*combat, unit, unit.GetCombatSide());
        }
    }
    TryJoinCombat(*province, unit);
    if (!unit.IsInCombat())
        TryStartCombat(*province, unit);
    if (!unit.IsInCombat() && !unit.trespassing && FortressLevelOf(*province) == 0)
        province->PostControlChange(unit.GetOwner());
}

int32_t CCombatServer::TryJoinCombat(CProvince& province, CUnit& unit) {
    const std::vector<ObjectId> ids = CombatIdsOf(province);
    // First the combats where the unit's country already fights, then any.
    for (int pass = 0; pass < 2; ++pass)
        for (const ObjectId& id : ids) {
            CCombat* combat = FindCombatById(id);
            if (!combat || combat->ended ||
                (IsSiegeCombatKind(combat->GetType()) && unit.trespassing))
                continue;
            if (pass == 0 && !combat->Attackers().GetUnits().HasUnitOf(unit.GetOwner()) &&
                !combat->Defenders().GetUnits().HasUnitOf(unit.GetOwner()))
                continue;
            if (combat->AssignUnit(unit))
                return combat->GetType();
        }
    return 0;
}

int32_t CCombatServer::TryStartCombat(CProvince& province, CUnit& unit) {
    if (unit.IsInCombat())
        return 0;
    CUnitList units;
    CollectProvinceUnits(province.GetNumber(), units);
    CUnit* enemy = nullptr;
    int32_t kind = 0;
    CUnitList::CListPosition position = nullptr;
    for (units.GetHeadPosition(position); position; CUnitList::MoveNext(position)) {
        CUnit* other = position->item;
        if (position->removed || !other || other == &unit)
            continue;
        const int32_t type = UnitCombatType(*other);
        if (type != 0 && !IsSiegeCombatKind(type))
            continue;
        if (!unit.IsEnemyOf(*other))
            continue;
        if (!province.IsSea()) {
            kind = kCombatLand;
            enemy = other;
        } else if (IsNavalInterception(unit, *other)) {
            kind = kCombatNaval;
            enemy = other;
        }
        break;
    }
    if (enemy) {
        CreateCombat(province, kind, NewObjectId(), &unit, enemy);
        return kind;
    }
    const int32_t cover = CheckSiegeStart(province, unit);
    if (cover == kCombatSiegeCover)
        CreateCombat(province, kCombatSiegeCover, NewObjectId(), &unit, nullptr);
    return cover;
}

int32_t CCombatServer::CheckSiegeStart(CProvince& province, CUnit& unit) {
    CCountry* owner = unit.GetOwner();
    if (province.combats || !unit.IsArmy() || unit.trespassing || !owner)
        return 0;
    if (!unit.IsPathEmpty() && unit.GetSize() >= kPassingArmySize)
        return 0;
    if (FortressLevelOf(province) < 1)
        return 0;
    const int32_t controller = province.GetControllerNumber();
    if (controller < 0 || controller == static_cast<int32_t>(owner->GetNumber()))
        return 0;
    if (owner->IsHostileTo(controller))
        return kCombatSiegeCover;
    if (!owner->IsBarredByDemarcationTreaty(province.GetNumber()))
        return 0;
    const CRelation* relation = owner->m_diplomacy.GetRelation(controller);
    return relation && relation->sameSide ? 0 : kCombatSiegeCover;
}

bool CCombatServer::IsNavalInterception(CUnit& mover, CUnit& other) {
    const CProvince* zone = GetProvince(mover.GetLocation());
    if (!zone)
        return false;
    const CCountry* moverOwner = mover.GetOwner();
    const CCountry* otherOwner = other.GetOwner();
    const bool bordersMover = moverOwner && zone->BordersCountry(*moverOwner);
    const bool bordersOther = otherOwner && zone->BordersCountry(*otherOwner);
    const int32_t homeBonus = zone->HasInterceptBonus() ? kInterceptBonus : kBorderBonus;
    int32_t chance = 0;
    if (!other.IsPathEmpty()) {
        chance = mover.GetSize();
        if (bordersOther)
            chance -= kBorderBonus;
        if (bordersMover)
            chance += homeBonus;
    } else if (mover.IsPathEmpty()) {
        return true;
    } else {
        const CLeader* otherCommander = other.GetCommander();
        const CLeader* moverCommander = mover.GetCommander();
        chance = mover.GetSize() + other.GetSize() +
                 2 * ((otherCommander ? otherCommander->manoeuvre : 0) -
                      (moverCommander ? moverCommander->manoeuvre : 0));
        if (other.IsFleet() && static_cast<const CNavalUnit&>(other).IsBlockadingHostilePort())
            chance += kBlockadeBonus;
        if (bordersOther)
            chance += homeBonus;
        if (bordersMover)
            chance -= kBorderBonus;
    }
    chance += GameRand() % 25;
    return GameRand() % 100 < chance;
}

void CCombatServer::CreateCombat(CProvince& province, int32_t kind, const ObjectId& id,
                                 CUnit* first, CUnit* second) {
    const CDate today = GetGameDate();
    ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_CREATE, province.GetId(),
                                                         static_cast<uint32_t>(kind), id, today));
    CCombat* combat = FindCombatById(id);
    if (combat) {
        if (first)
            combat->RequestJoinAttackers(first);
        if (second)
            combat->RequestJoinDefenders(second);
        const bool siege = IsSiegeCombatKind(kind);
        for (const ObjectId& unitId : UnitIdsIn(province.GetNumber())) {
            CUnit* unit = FindUnitById(unitId);
            // A unit stands in one battle and one siege at most.
            if (!unit || unit == first || unit == second ||
                !(siege ? unit->GetSiegeCombat() : unit->GetCombat()).IsNull())
                continue;
            combat->AssignUnit(*unit);
        }
    }
    ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_STARTED, id,
                                                         static_cast<uint32_t>(kind), id, today));
}

void CCombatServer::RemoveUnitFromCombats(CCombat& combat, CUnit& unit, uint8_t side) {
    const CProvince* province = GetProvince(combat.GetProvinceId());
    if (!province)
        return;
    for (const ObjectId& id : CombatIdsOf(*province))
        ExecuteAndSendEvent(MakeCombatUnitMessage(EVT_COMBAT_REMOVE_UNIT_3, id, unit, side != 0));
}

void CCombatServer::CheckAttrition(CUnit& unit) {
    if (unit.GetSize() != 0) {
        CCombat* siege =
            unit.GetSiegeCombat().IsNull() ? nullptr : FindCombatById(unit.GetSiegeCombat());
        if (siege && IsSiegeCombatKind(siege->GetType()) && MustGiveUpCover(*siege)) {
            DebugPrint("Server: Attacker in %s suffers too much attrition. Can't cover!\n",
                       siege->GetName().c_str());
            siege->Attackers().RequestRetreat(0);
        }
        return;
    }
    DebugPrint("Server: Unit #%d is killed by attrition!\n", static_cast<int>(unit.GetId().number));
    if (CCombat* combat = CurrentCombatOf(unit))
        RemoveUnitFromCombats(*combat, unit, unit.GetCombatSide());
    CCountry* owner = unit.GetOwner();
    if (!owner)
        return;
    auto deletion = std::make_unique<COVDataEvent>(EVT_UNITDELETE, owner->GetId());
    deletion->Payload().Set(UnitRequestPayload::kUnit, unit.GetId());
    ExecuteAndSendEvent(std::move(deletion));
}

void CCombatServer::OnCombatEnded(CCombat& combat) {
    DebugPrint("Server: %s will now be deleted!\n", combat.GetName().c_str());
    CProvince& province = combat.GetProvince();
    const ObjectId id = combat.GetId();
    ExecuteAndSendEvent(std::make_unique<COVCombatEvent>(EVT_COMBAT_DELETE, province.GetId(),
                                                         static_cast<uint32_t>(combat.GetType()),
                                                         id, GetGameDate()));
    // The combat is gone; its units look for another one.
    for (const ObjectId& unitId : UnitIdsIn(province.GetNumber())) {
        CUnit* unit = FindUnitById(unitId);
        if (!unit || unit->IsInCombat() || unit->IsRetreating())
            continue;
        TryJoinCombat(province, *unit);
        if (!unit->IsInCombat() && !unit->IsRetreating())
            TryStartCombat(province, *unit);
    }
    if (!province.IsUnderSiege())
        return;
    CCombat* siege = SiegeOf(province);
    if (siege && MustGiveUpCover(*siege) && !siege->Attackers().HasUnitInTwoCombats()) {
        DebugPrint("Server: Attacker in %s suffered too much casualties in a previous battle. "
                   "Can't cover!\n",
                   siege->GetName().c_str());
        siege->Attackers().RequestRetreat(0);
    }
}

// ---------------------------------------------------------------------------
// The seams the dispatcher, the countries, the unit server and the unit lists
// call through.

namespace {

int32_t CombatTypeOf(const CUnit& unit) {
    const CCombat* combat = CurrentCombatOf(unit);
    return combat ? combat->GetType() : 0;
}

const bool g_combatServerRegistered = [] {
    g_hostServers[HOST_COMBAT_SERVER] = [](COVEvent& event) {
        return g_combatServer ? g_combatServer->HandleEvent(event) : 0;
    };
    g_countryMilitary.checkCombats = [](CCountry& country) {
        if (g_combatServer)
            g_combatServer->CheckCombats(country);
    };
    g_unitServerHooks.checkAttrition = [](CUnit& unit) {
        if (g_combatServer)
            g_combatServer->CheckAttrition(unit);
    };
    g_unitServerHooks.removeFromCombats = [](CUnit& unit) {
        if (CCombat* combat = CurrentCombatOf(unit); combat && g_combatServer)
            g_combatServer->RemoveUnitFromCombats(*combat, unit, unit.GetCombatSide());
    };
    g_unitServerHooks.requestRetreat = [](CUnit& unit, int32_t province) {
        if (CCombat* combat = CurrentCombatOf(unit))
            (unit.GetCombatSide() ? combat->Attackers() : combat->Defenders())
                .RequestRetreat(province);
    };
    g_unitStateHooks.combatType = &CombatTypeOf;
    return true;
}();

} // namespace
