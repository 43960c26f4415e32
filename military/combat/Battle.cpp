#include "military/combat/Battle.h"

#include <algorithm>
#include <cstdio>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/Random.h"
#include "engine/Saturate.h"
#include "military/combat/CombatTables.h"
#include "military/combat/Siege.h"
#include "military/server/CombatServer.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/GameNotices.h"
#include "world/Province.h"
#include "world/ProvinceWork.h"

CombatAIHooks g_combatAI;

namespace {

constexpr float kBrokenMorale = 0.4f;
// A fallen leader's country counts 25 points and his rank in this category
// of its victory points.
constexpr uint32_t kFallenLeaderCategory = 2;
constexpr int32_t kFallenLeaderPoints = 25;

const char* SideName(bool attacker) {
    return attacker ? "Attacker" : "Defender";
}

std::unique_ptr<COVEvent> UnitMessage(uint32_t type, const CCombat& combat, const CUnit& unit,
                                      bool attackerFlag) {
    return MakeCombatUnitMessage(type, combat.GetId(), unit, attackerFlag);
}

// On the host the combat server takes the unit out of every combat of the
// province; without it only this combat lets it go.
void TakeOutOfCombats(CCombat& combat, CUnit& unit, bool attackerFlag) {
    if (g_combatServer)
        g_combatServer->RemoveUnitFromCombats(combat, unit, attackerFlag ? 1 : 0);
    else
        combat.OnUnitLeft(&unit);
}

} // namespace

std::unique_ptr<COVEvent> MakeCombatUnitMessage(uint32_t type, const ObjectId& combat,
                                                const CUnit& unit, bool attackerFlag) {
    auto event = std::make_unique<COVDataEvent>(type, combat);
    event->Payload().Set(CombatUnitFields::kCombat, combat);
    event->Payload().Set(CombatUnitFields::kUnit, unit.GetId());
    event->Payload().Set(CombatUnitFields::kAttacker, static_cast<uint8_t>(attackerFlag ? 1 : 0));
    return event;
}

CCombat* FindCombatById(const ObjectId& id) {
    return dynamic_cast<CCombat*>(FindObjectById(id));
}

// ---------------------------------------------------------------------------
// Sides

std::vector<CUnit*> CCombatSide::UnitsInOrder() const {
    std::vector<CUnit*> units;
    const_cast<CUnitList&>(m_units).ForEach([&units](CUnit* unit) {
        if (unit)
            units.push_back(unit);
    });
    return units;
}

CCombatSide* CCombatSide::GetOpponent() const {
    if (!combat)
        return nullptr;
    return attacker ? &combat->Defenders() : &combat->Attackers();
}

void CCombatSide::Join(CUnit* unit, bool attackerFlag) {
    if (attackerFlag != attacker)
        return;
    if (!unit) {
        CombatTrace("%s: a unit that no longer exists cannot join!\n",
                    combat ? combat->GetName().c_str() : "Combat");
        return;
    }
    if (combat)
        CombatTrace("%s: Unit #%d (%s) joined the %s!\n", combat->GetName().c_str(),
                    static_cast<int>(unit->GetId().number), unit->GetName().c_str(),
                    attacker ? "Attackers" : "Defenders");
    if (CCountry* owner = unit->GetOwner()) {
        if (std::find(countries.begin(), countries.end(), owner->GetNumber()) == countries.end())
            countries.push_back(owner->GetNumber());
    }
    if (CLeader* leader = unit->GetCommander()) {
        if (!commander || leader->rank < commander->rank)
            SetCommander(leader);
    }
    float size = 0.0f;
    for (CUnit* listed : UnitsInOrder())
        size += static_cast<float>(listed->GetSize());
    const float unitSize = static_cast<float>(unit->GetSize());
    if (size + unitSize > 0.0f)
        morale = (size * morale + unitSize * unit->morale) / (size + unitSize);
    joinedSize = SaturateToInt32(int64_t{joinedSize} + unit->GetCombatSize());
    m_units.AddTail(unit);
    if (combat)
        unit->CombatStarted(combat->GetId(), attacker ? 1 : 0, combat->GetType());
    if (retreating)
        unit->SetRetreating(retreatProvince);
    for (CUnit* other : UnitsInOrder())
        if (other != unit)
            other->Refresh();
}

void CCombatSide::RecomputeBonuses() {
    CCombatSide* opponent = GetOpponent();
    if (!opponent)
        return;
    if (commander && opponent->commander) {
        fireLeaderBonus = std::max(0, commander->GetFire() - opponent->commander->GetFire());
        shockLeaderBonus = std::max(0, commander->GetShock() - opponent->commander->GetShock());
        opponent->fireLeaderBonus =
            std::max(0, opponent->commander->GetFire() - commander->GetFire());
        opponent->shockLeaderBonus =
            std::max(0, opponent->commander->GetShock() - commander->GetShock());
    }
}

void CCombatSide::SetCommander(CLeader* leader) {
    commander = leader;
    if (leader && leader->GetCountry())
        commanderCountry = leader->GetCountry();
    RecomputeBonuses();
}

void CCombatSide::ReplaceCommander(CLeader* leader) {
    if (commander && leader && commander->rank <= leader->rank)
        return;
    SetCommander(leader);
}

namespace {

// The commander of the lowest rank among the units (the first on ties).
CLeader* BestCommander(const std::vector<CUnit*>& units) {
    CLeader* best = nullptr;
    for (CUnit* unit : units)
        if (CLeader* leader = unit->GetCommander())
            if (!best || leader->rank < best->rank)
                best = leader;
    return best;
}

// The unit's commander once the fallen leader is gone: its listed leader of
// the lowest rank other than him, else its built-in leader.
CLeader* CommanderWithout(CUnit& unit, const CLeader& fallen) {
    CLeader* commander = unit.GetCommander();
    if (commander != &fallen)
        return commander;
    CLeader* best = nullptr;
    const_cast<CLinkedList<CLeader>&>(unit.GetLeaders()).ForEach([&best, &fallen](CLeader* leader) {
        if (leader && leader != &fallen && (!best || leader->rank < best->rank))
            best = leader;
    });
    return best ? best : &unit.GetDefaultLeader();
}

} // namespace

bool CCombatSide::RemoveIfPresent(CUnit* unit) {
    if (!unit || !m_units.Contains(unit))
        return false;
    m_units.Remove(unit);
    if (combat) {
        CombatTrace("%s: Found unit #%d (%s)! Removed it.\n", combat->GetName().c_str(),
                    static_cast<int>(unit->GetId().number), unit->GetName().c_str());
        unit->CombatEnded(combat->GetId());
    }
    if (m_units.IsEmpty()) {
        finished = true;
        commander = nullptr;
    } else if (commander && commander->GetUnit() == unit) {
        SetCommander(BestCommander(UnitsInOrder()));
    }
    return true;
}

void CCombatSide::RollDie() {
    die = GameRand() % 10;
}

void CCombatSide::ComputeLosses(bool firePhase) {
    menLoss = 0.0f;
    moraleLoss = 0.0f;
    const CCombatSide* dealer = GetOpponent();
    if (!dealer || !g_combatTables)
        return;
    const float strength = firePhase ? dealer->GetFireStrength() : dealer->GetShockStrength();
    const int32_t row = firePhase ? dealer->fireCode : dealer->shockCode;
    const int32_t column =
        dealer->die + (firePhase ? dealer->GetFireModifier() : dealer->GetShockModifier());
    if (strength > 0.0f && row != kNoLossCode && dealer->morale > kBrokenMorale)
        g_combatTables->Losses(row, column, strength, menLoss, moraleLoss);
}

void CCombatSide::ApplyLosses(float men, float moraleLost) {
    const std::vector<CUnit*> units = UnitsInOrder();
    float total = 0.0f;
    for (CUnit* unit : units)
        total += unit->GetTotalStrength();
    // Without strength left on the side there is nothing to share out.
    if (total > 0.0f && men > 0.0f) {
        for (CUnit* unit : units) {
            const float share = unit->GetTotalStrength() * (men / total);
            if (share > 0.0f)
                SufferLosses(*unit, share);
            if (unit->GetTotalStrength() <= 0.0f && combat) {
                CombatTrace("%s: Unit #%d (%s) is killed in action!\n", combat->GetName().c_str(),
                            static_cast<int>(unit->GetId().number), unit->GetName().c_str());
                if (IsHost())
                    RemoveUnit(*unit);
            }
        }
    }
    bool godMode = false;
    for (CUnit* unit : UnitsInOrder())
        godMode = godMode || unit->OwnerHalvesLosses();
    const CCombatSide* opponent = GetOpponent();
    if (finished || retreating || (opponent && opponent->retreating))
        return;
    float loss = moraleLost;
    if (godMode && (GetFireStrength() != 0.0f || GetShockStrength() != 0.0f)) {
        loss *= 0.5f;
        if (morale - loss < 0.9f)
            loss = std::max(0.0f, morale - 0.9f);
    }
    morale -= loss;
    if (morale > 0.0f) {
        m_units.SetMoraleAll(morale);
        return;
    }
    morale = kBrokenMorale;
    m_units.SetMoraleAll(kBrokenMorale);
    CombatTrace("%s: %s morale broken!\n", combat ? combat->GetName().c_str() : "Combat",
                attacker ? "Attacker's" : "Defender's");
    if (IsHost() && !(opponent && opponent->finished))
        RequestRetreat(0);
}

void CCombatSide::SufferLosses(CUnit& unit, float share) {
    if (!unit.GetOwner())
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_UNITLOSSES, unit.GetOwner()->GetId());
    event->Payload().Set(UnitLossesPayload::kUnit, unit.GetId());
    event->Payload().Set(UnitLossesPayload::kAmount, share);
    event->Payload().Set(UnitLossesPayload::kCause, static_cast<uint8_t>(LOSS_BATTLE));
    ExecuteEvent(std::move(event));
}

bool CCombatSide::DestroyUnit(CUnit& unit) {
    if (CCountry* owner = unit.GetOwner())
        owner->DeleteUnit(unit.GetId());
    return true;
}

bool CCombatSide::HasUnitInTwoCombats() const {
    for (const CUnit* unit : UnitsInOrder())
        if (!unit->GetCombat().IsNull() && !unit->GetSiegeCombat().IsNull())
            return true;
    return false;
}

void CCombatSide::RequestRetreat(int32_t province) {
    if (!IsHost() || !combat)
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_COMBAT_RETREAT, combat->GetId());
    event->Payload().Set(CombatRetreatPayload::kCombat, combat->GetId());
    event->Payload().Set(CombatRetreatPayload::kProvince, province);
    event->Payload().Set(CombatRetreatPayload::kAttacker, static_cast<uint8_t>(attacker ? 1 : 0));
    ExecuteAndSendEvent(std::move(event));
}

void CCombatSide::BeginRetreat(int32_t province) {
    const std::string name = combat ? combat->GetName() : "Combat";
    CombatTrace("%s: %s retreats to Prov %d!\n", name.c_str(), SideName(attacker), province);
    if (retreating) {
        CombatTrace("%s: Got a retreat request to Prov %d, but we're already retreating to %d!\n",
                    name.c_str(), province, retreatProvince);
        CombatTrace("%s: I'll just change to the new one!\n", name.c_str());
    }
    retreating = true;
    retreatProvince = province;
    const CCombatSide* opponent = GetOpponent();
    const int32_t type = combat ? combat->GetType() : 0;
    if (IsHost() && combat &&
        (type == kCombatLand || type == kCombatNaval || type == kCombatSiegeAssault) && commander &&
        opponent && opponent->commander && commander->manoeuvre < opponent->commander->manoeuvre)
        combat->SendResult(
            static_cast<float>(opponent->commander->manoeuvre - commander->manoeuvre) * menLoss,
            0.0f, attacker);
    for (CUnit* unit : UnitsInOrder())
        if (!unit->IsRetreating())
            unit->SetRetreating(province);
}

void CCombatSide::RemoveUnit(CUnit& unit) {
    if (!combat)
        return;
    const bool keep = IsSiegeCombatKind(combat->GetType()) && !attacker;
    TakeOutOfCombats(*combat, unit, attacker);
    if (!keep)
        ExecuteAndSendEvent(UnitMessage(EVT_COMBAT_REMOVE_UNIT_2, *combat, unit, attacker));
}

void CCombatSide::RetreatNow() {
    if (!IsHost())
        return;
    for (CUnit* unit : UnitsInOrder()) {
        int32_t to = retreatProvince;
        if (!unit->CanRetreatTo(to))
            to = unit->FindRetreatProvince();
        if (to == 0) {
            RemoveUnit(*unit);
            continue;
        }
        if (combat)
            TakeOutOfCombats(*combat, *unit, attacker);
        auto event = std::make_unique<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId);
        event->Payload().Set(MoveDestinationPayload::kUnit, unit->GetId());
        event->Payload().Set(MoveDestinationPayload::kDestination, static_cast<uint16_t>(to));
        event->Payload().Set(MoveDestinationPayload::kReplace, static_cast<uint8_t>(1));
        ExecuteEvent(std::move(event));
    }
    finished = true;
}

void CCombatSide::DestroyAllUnits() {
    if (!IsHost())
        return;
    // One pass over a copy: a destruction that leaves the unit listed does
    // not make the loop run for ever.
    for (CUnit* unit : UnitsInOrder())
        if (m_units.Contains(unit))
            RemoveUnit(*unit);
    m_units.RemoveAll();
}

void CCombatSide::OnCommanderKilled(const CLeader& leader) {
    if (!commander || commander->GetId() != leader.GetId())
        return;
    CombatTrace("%s: %s leader killed!\n", combat ? combat->GetName().c_str() : "Combat",
                attacker ? "Attacker's" : "Defender's");
    // The fallen leader still stands in his unit's list until his country
    // removes him: he must not be chosen again.
    CLeader* best = nullptr;
    for (CUnit* unit : UnitsInOrder())
        if (CLeader* candidate = CommanderWithout(*unit, leader))
            if (!best || candidate->rank < best->rank)
                best = candidate;
    commander = nullptr;
    SetCommander(best);
}

void CCombatSide::RollLeaderDeath() {
    if (!IsHost() || !combat)
        return;
    const int32_t roll = GameRand();
    if (roll % 100 != 17 || !commander || !commander->IsHistorical())
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_KILL_LEADER, combat->GetId());
    event->Payload().Set(LeaderArrivalPayload::kLeader, commander->GetId());
    ExecuteAndSendEvent(std::move(event));
}

void CCombatSide::OnLeaderKilled(const CLeader& leader) {
    if (!IsHost())
        return;
    const CCountry* country = leader.GetCountry();
    if (!country || !m_units.HasUnitOf(country))
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_REQUEST_REPLACEMENT_LEADER, g_leaderRequestsId);
    event->Payload().Set(ReplacementLeaderPayload::kCountry, country->GetNumber());
    event->Payload().Set(ReplacementLeaderPayload::kUnit,
                         leader.GetUnit() ? leader.GetUnit()->GetId() : ObjectId());
    event->Payload().Set(ReplacementLeaderPayload::kLeader, leader.GetId());
    PostEventNow(std::move(event));
}

void CCombatSide::OnCombatEnded() {
    commander = nullptr;
    for (CUnit* unit : UnitsInOrder())
        if (combat)
            unit->CombatEnded(combat->GetId());
    m_units.RemoveAll();
}

void CCombatSide::OnVictory() {
    if (!IsHost())
        return;
    countries.clear();
    for (CUnit* unit : UnitsInOrder())
        if (CCountry* owner = unit->GetOwner())
            if (std::find(countries.begin(), countries.end(), owner->GetNumber()) ==
                countries.end())
                countries.push_back(owner->GetNumber());
}

int32_t CCombatSide::LandGroup() const {
    const CCountry* leading = m_units.GetStrongestCountry();
    return leading ? ClampTechGroup(leading->GetLandTechCostColumn()) : 0;
}

int32_t CCombatSide::NavalGroup() const {
    const CCountry* leading = m_units.GetStrongestCountry();
    return leading ? ClampTechGroup(leading->GetNavalTechCostColumn()) : 0;
}

// --- land side ---

void CLandCombatSide::SetOpponent(CCombatSide& opponent) {
    terrainModifier = 0;
    cavalrySuperiority = 0;
    auto* other = dynamic_cast<CLandCombatSide*>(&opponent);
    const int32_t otherGroup = other ? other->LandGroup() : 0;
    if (g_combatTables) {
        fireCode = g_combatTables->Code(CODES_LAND_FIRE, LandGroup(), otherGroup);
        shockCode = g_combatTables->Code(CODES_LAND_SHOCK, LandGroup(), otherGroup);
    } else {
        fireCode = shockCode = kNoLossCode;
    }
    const CProvince* province = combat ? &combat->GetProvince() : nullptr;
    const int32_t terrain = province ? province->terrain : 0;
    if (terrain == 2) {
        if (attacker)
            terrainModifier = -1;
        return;
    }
    if (terrain != 1 && terrain != 4 &&
        opponent.GetUnits().TotalCavalry() * 2 < GetUnits().TotalCavalry())
        cavalrySuperiority = 1;
}

float CLandCombatSide::GetFireStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* army = dynamic_cast<CLandUnit*>(unit))
            sum += army->GetFirePower();
    return sum;
}

float CLandCombatSide::GetShockStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* army = dynamic_cast<CLandUnit*>(unit))
            sum += army->GetShockPower();
    return sum;
}

int32_t CLandCombatSide::GetFireModifier() const {
    return fireLeaderBonus + (attacker ? terrainModifier : 0);
}

int32_t CLandCombatSide::GetShockModifier() const {
    return cavalrySuperiority + (attacker ? terrainModifier : 0) + shockLeaderBonus;
}

// --- naval side ---

void CNavalCombatSide::SetOpponent(CCombatSide& opponent) {
    homeWaters = 0;
    if (combat && commanderCountry) {
        CProvince& zone = combat->GetProvince();
        for (const ProvinceNeighbour& link : zone.neighbours)
            if (const CProvince* p = ::GetProvince(link.id))
                if (p->GetOwner() == commanderCountry)
                    homeWaters = 1;
    }
    auto* other = dynamic_cast<CNavalCombatSide*>(&opponent);
    const int32_t otherGroup = other ? other->NavalGroup() : 0;
    if (g_combatTables) {
        fireCode = g_combatTables->Code(CODES_NAVAL_FIRE, NavalGroup(), otherGroup);
        shockCode = g_combatTables->Code(CODES_NAVAL_SHOCK, NavalGroup(), otherGroup);
    } else {
        fireCode = shockCode = kNoLossCode;
    }
}

float CNavalCombatSide::GetFireStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* fleet = dynamic_cast<CNavalUnit*>(unit))
            sum += fleet->GetFirePower();
    return sum;
}

float CNavalCombatSide::GetShockStrength() const {
    float sum = 0.0f;
    for (CUnit* unit : UnitsInOrder())
        if (auto* fleet = dynamic_cast<CNavalUnit*>(unit))
            sum += fleet->GetShockPower();
    return sum;
}

// ---------------------------------------------------------------------------
// The combat

CCombat::CCombat(CProvince& province, int32_t type, std::unique_ptr<CCombatSide> attackers,
                 std::unique_ptr<CCombatSide> defenders)
    : CProvinceCombat(type, 0), m_province(&province), m_provinceId(province.GetNumber()),
      m_attackers(std::move(attackers)), m_defenders(std::move(defenders)) {
    m_attackers->combat = this;
    m_defenders->combat = this;
}

CCombat::~CCombat() = default;

std::string CCombat::GetName() const {
    char text[256];
    std::snprintf(text, sizeof text, "%s %d in Prov%d", started ? GetClassName() : "Combat",
                  static_cast<int>(GetId().number), static_cast<int>(m_provinceId));
    return text;
}

bool CCombat::HasFirePhase() const {
    return m_attackers->GetFireStrength() > 0.1f || m_defenders->GetFireStrength() > 0.1f;
}

void CCombat::OnUnitJoined(CUnit* unit, bool attackerFlag) {
    if (!unit) {
        CombatTrace("%s: a unit that no longer exists cannot join!\n", GetName().c_str());
        return;
    }
    largestUnit = std::max(largestUnit, unit->GetCombatSize());
    m_attackers->Join(unit, attackerFlag);
    m_defenders->Join(unit, attackerFlag);
}

void CCombat::OnUnitDestroyed(CUnit* unit, bool attackerFlag) {
    if (unit)
        (attackerFlag ? *m_attackers : *m_defenders).DestroyUnit(*unit);
}

bool CCombat::OnUnitLeft(CUnit* unit) {
    const bool fromAttackers = m_attackers->RemoveIfPresent(unit);
    const bool held = m_defenders->RemoveIfPresent(unit) || fromAttackers;
    if (held && IsHost() && !busy && !ended && started && IsOver())
        End();
    return held;
}

bool AllFight(const CCombatSide& side, const CUnit& unit) {
    const std::vector<CUnit*> units = side.UnitsInOrder();
    if (units.empty())
        return false;
    for (const CUnit* listed : units) {
        const CCountry* a = listed->GetOwner();
        const CCountry* b = unit.GetOwner();
        if (!a || !b || !a->IsHostileTo(b->GetNumber()))
            return false;
    }
    return true;
}

namespace {

bool Hostile(uint32_t a, uint32_t b) {
    const CCountry* country = CountryOfNumber(static_cast<int32_t>(a));
    return country && country->IsHostileTo(b);
}

// No country of the own list is hostile to one of its members, and each
// member is hostile to some country of the other list.
bool SideHoldsTogether(const std::vector<uint32_t>& own, const std::vector<uint32_t>& other) {
    for (uint32_t x : own) {
        if (std::any_of(own.begin(), own.end(), [x](uint32_t y) { return Hostile(y, x); }))
            return false;
        if (std::none_of(other.begin(), other.end(), [x](uint32_t y) { return Hostile(y, x); }))
            return false;
    }
    return true;
}

} // namespace

bool CCombat::IsValid() const {
    if (!SideHoldsTogether(m_attackers->countries, m_defenders->countries) ||
        !SideHoldsTogether(m_defenders->countries, m_attackers->countries))
        return false;
    if (!IsSiegeCombatKind(GetType()))
        return true;
    const int32_t controller = m_province->GetControllerNumber();
    for (const CUnit* unit : m_attackers->UnitsInOrder())
        if (unit->trespassing ||
            (unit->GetOwner() && static_cast<int32_t>(unit->GetOwner()->GetNumber()) == controller))
            return false;
    return true;
}

bool CCombat::AssignUnit(CUnit& unit) {
    const bool a = AllFight(*m_attackers, unit);
    const bool d = AllFight(*m_defenders, unit);
    if (d && !a) {
        RequestJoinAttackers(&unit);
        return true;
    }
    if (a && !d) {
        RequestJoinDefenders(&unit);
        return true;
    }
    return false;
}

void CCombat::RequestJoin(CUnit* unit, bool attackerFlag) {
    if (!unit) {
        CombatTrace("%s: a unit that no longer exists is not asked to join!\n", GetName().c_str());
        return;
    }
    if (unit->dying)
        return;
    ExecuteAndSendEvent(UnitMessage(EVT_COMBAT_REMOVE_UNIT, *this, *unit, attackerFlag));
}

void CCombat::RequestJoinAttackers(CUnit* unit) {
    RequestJoin(unit, true);
}

void CCombat::RequestJoinDefenders(CUnit* unit) {
    RequestJoin(unit, false);
}

void CCombat::SendResult(float men, float moraleLoss, bool attackerFlag) {
    auto event = std::make_unique<COVDataEvent>(EVT_COMBAT_RESULT, GetId());
    event->Payload().Set(CombatResultPayload::kCombat, GetId());
    event->Payload().Set(CombatResultPayload::kFire, static_cast<uint32_t>(firePhase ? 1 : 0));
    event->Payload().Set(CombatResultPayload::kMen, men);
    event->Payload().Set(CombatResultPayload::kMorale, moraleLoss);
    event->Payload().Set(CombatResultPayload::kAttacker,
                         static_cast<uint8_t>(attackerFlag ? 1 : 0));
    ExecuteAndSendEvent(std::move(event));
}

void CCombat::ApplyResult(bool fire, float men, float moraleLoss, bool attackerFlag) {
    if (fire != firePhase) {
        CombatTrace("Should only get here on a client!?");
        StartPhase(fire);
    }
    CCombatSide& side = attackerFlag ? *m_attackers : *m_defenders;
    CombatTrace("%s: %s %s losses - men %f, morale %f\n", GetName().c_str(), SideName(attackerFlag),
                fire ? "FIRE" : "SHOCK", static_cast<double>(men), static_cast<double>(moraleLoss));
    side.ApplyLosses(men, moraleLoss);
    CombatTrace("%s: %s current - men %f, morale %f\n", GetName().c_str(), SideName(attackerFlag),
                static_cast<double>(side.GetUnits().TotalStrengthSum()),
                static_cast<double>(side.morale));
}

void CCombat::OnRetreat(int32_t province, bool attackerFlag) {
    CCombatSide& side = attackerFlag ? *m_attackers : *m_defenders;
    CCombatSide& pursuer = attackerFlag ? *m_defenders : *m_attackers;
    const bool wasRetreating = side.retreating;
    const bool pursuerRetreating = pursuer.retreating;
    side.BeginRetreat(province);
    CombatTrace("%s: %s begins the pursuit!\n", GetName().c_str(), SideName(!attackerFlag));
    if (!IsHost())
        return;
    if (wasRetreating)
        CombatTrace("%s: No extra retreat stuff to do...\n", GetName().c_str());
    else if (pursuerRetreating)
        CombatTrace("%s: A bug? The pursuer was also retreating! Do nothing then...\n",
                    GetName().c_str());
    else
        side.RetreatNow();
}

void CCombat::OnLeaderKilled(const CLeader& leader) {
    m_attackers->OnCommanderKilled(leader);
    m_defenders->OnCommanderKilled(leader);
    for (CCombatSide* side : {m_attackers.get(), m_defenders.get()})
        if (!side->commander) {
            side->fireLeaderBonus = 0;
            side->shockLeaderBonus = 0;
        }
    m_attackers->RecomputeBonuses();
}

void CCombat::RollLeaderDeaths() {
    m_attackers->RollLeaderDeath();
    m_defenders->RollLeaderDeath();
}

void CCombat::OnKillLeader(const ObjectId& leaderId) {
    CLeader* leader = FindLeaderById(leaderId);
    if (!leader) {
        CombatTrace("%s: no leader under the id, kill dropped\n", GetName().c_str());
        return;
    }
    if (CCountry* country = leader->GetCountry())
        country->AddBaseVictoryPoints(kFallenLeaderCategory,
                                      static_cast<float>(kFallenLeaderPoints + leader->rank));
    m_attackers->OnLeaderKilled(*leader);
    m_defenders->OnLeaderKilled(*leader);
    OnLeaderKilled(*leader);
}

void CCombat::Init() {
    m_attackers->OnInit();
    m_defenders->OnInit();
    m_attackers->SetOpponent(*m_defenders);
    m_defenders->SetOpponent(*m_attackers);
    CombatTrace("%s INIT: Attackers morale %f, Defender's morale %f\n", GetName().c_str(),
                static_cast<double>(m_attackers->morale), static_cast<double>(m_defenders->morale));
    StartPhase(HasFirePhase());
}

void CCombat::StartPhase(bool fire) {
    phaseDay = 0;
    firePhase = fire;
    m_attackers->RollDie();
    m_defenders->RollDie();
    m_attackers->ComputeLosses(fire);
    m_defenders->ComputeLosses(fire);
}

void CCombat::OnStarted() {
    started = true;
    CombatTrace("%s: CombatStarted!\n", GetName().c_str());
    Init();
    if (IsHost()) {
        if (IsOver())
            End();
        else
            ScheduleNextPhase();
    }
    NoticeBattle();
}

CCountry* LocalPlayerOn(const CCombatSide& side) {
    for (CUnit* unit : side.UnitsInOrder())
        if (CCountry* owner = unit->GetOwner(); owner && owner->IsLocalHuman())
            return owner;
    return nullptr;
}

std::string CommanderCountryName(const CCombatSide& side) {
    return side.commanderCountry ? side.commanderCountry->GetName() : std::string();
}

void CCombat::NoticeBattle() {
    if (!IsGameRunning())
        return;
    CCountry* attacking = LocalPlayerOn(*m_attackers);
    CCountry* defending = LocalPlayerOn(*m_defenders);
    if ((attacking != nullptr) == (defending != nullptr))
        return;
    const bool land = m_province->terrain < kFirstSeaProvinceType;
    const std::string& place = m_province->name;
    if (defending) {
        const std::string enemy = CommanderCountryName(*m_attackers);
        PostGameMessage2At(land ? kNoticeLandBattleTheyAttack : kNoticeSeaBattleTheyAttack,
                           defending->GetNumber(), enemy, enemy, place, m_provinceId);
    } else {
        PostGameMessage1At(land ? kNoticeLandBattleWeAttack : kNoticeSeaBattleWeAttack,
                           attacking->GetNumber(), place, place, m_provinceId);
    }
}

void CCombat::ScheduleNextPhase() {
    CDate due = GetGameDate();
    due.AddDays(1);
    PostEventAt(std::make_unique<COVCombatEvent>(EVT_COMBAT_PHASE, GetId(),
                                                 static_cast<uint32_t>(GetType()), GetId(), due),
                due);
}

void CCombat::OnPhase() {
    if (++phaseDay >= 5) {
        RollLeaderDeaths();
        StartPhase(firePhase ? false : HasFirePhase());
    }
    const bool fire = firePhase;
    SendResult(m_attackers->menLoss, m_attackers->moraleLoss, true);
    if (!IsOver())
        SendResult(m_defenders->menLoss, m_defenders->moraleLoss, false);
    if (!fire && !(m_attackers->menLoss > 0.0f) && !(m_attackers->moraleLoss > 0.0f) &&
        m_attackers->morale <= kBrokenMorale && IsHost() && !m_defenders->finished)
        m_attackers->RequestRetreat(0);
    if (m_province->continent == 2 && !IsSiegeCombatKind(GetType())) {
        const int32_t a =
            m_attackers->GetUnits().TotalInfantry() + m_attackers->GetUnits().TotalCavalry();
        const int32_t d =
            m_defenders->GetUnits().TotalInfantry() + m_defenders->GetUnits().TotalCavalry();
        if (d < a / 10 && !m_defenders->finished && !m_defenders->retreating)
            m_defenders->RequestRetreat(0);
        if (a < d / 10 && !m_attackers->finished && !m_attackers->retreating)
            m_attackers->RequestRetreat(0);
    }
    if (IsOver()) {
        CombatTrace("%s: Phase 1 finishes the combat.\n", GetName().c_str());
        End();
    } else {
        ScheduleNextPhase();
    }
}

void CCombat::SetDecisive(const CCombatSide& winner, const CCombatSide& loser) {
    const int32_t w0 = winner.joinedSize;
    const int32_t l0 = loser.joinedSize;
    const int32_t w1 = winner.GetUnits().TotalCombatSize();
    const int32_t l1 = loser.GetUnits().TotalCombatSize();
    decisive = w0 >= 10000 && l0 >= 10000 &&
               (w0 - w1) < static_cast<int32_t>(static_cast<float>(l0 - l1) * 0.5f) &&
               (l0 - l1) >= static_cast<int32_t>(static_cast<float>(l0) * 0.666f);
}

void CCombat::End() {
    if (ended)
        return;
    if (!m_attackers->finished && m_defenders->finished) {
        CombatTrace("%s: Attacker won!\n", GetName().c_str());
        m_attackers->OnVictory();
        SetDecisive(*m_attackers, *m_defenders);
    } else if (!m_defenders->finished && m_attackers->finished) {
        CombatTrace("%s: Defender won!\n", GetName().c_str());
        m_defenders->OnVictory();
        SetDecisive(*m_defenders, *m_attackers);
    } else {
        CombatTrace("%s: The battle ended in a draw!\n", GetName().c_str());
    }
    const ObjectId id = GetId();
    const auto type = static_cast<uint32_t>(GetType());
    ExecuteAndSendEvent(
        std::make_unique<COVCombatEvent>(EVT_COMBAT_ENDED, id, type, id, GetGameDate()));
    ReportResult();
    PostEventNow(std::make_unique<COVCombatEvent>(EVT_COMBAT_ENDED, g_combatRequestsId, type, id,
                                                  GetGameDate()));
}

void CCombat::ReportResult() {
    if (!IsHost())
        return;
    CCombatSide& winner =
        (!m_attackers->finished && m_defenders->finished) ? *m_attackers : *m_defenders;
    CCombatSide& loser = &winner == m_attackers.get() ? *m_defenders : *m_attackers;
    const bool draw = !(!winner.finished && loser.finished);
    const bool siege = IsSiegeCombatKind(GetType());
    if (m_province->terrain < kFirstSeaProvinceType && !draw &&
        (GetType() != kCombatLand || !m_province->GetCity()) && winner.commanderCountry)
        m_province->PostControlChange(winner.commanderCountry);
    bool first = true;
    const uint32_t wonType = siege ? EVT_PROVSIEGEWON : EVT_PROVBATTLEWON;
    const uint32_t lostType = siege ? EVT_PROVSIEGELOST : EVT_PROVBATTLELOST;
    const bool tell = !draw && !(siege && m_attackers->finished);
    for (uint32_t country : winner.countries) {
        if (tell) {
            std::vector<uint32_t> entries(loser.countries.begin(), loser.countries.end());
            auto event =
                std::make_unique<COVProvinceBattleEvent>(wonType, ObjectId(3, country), entries);
            event->Payload().Set(COVCountedEvent::kFirstValue, static_cast<uint32_t>(m_provinceId));
            event->Payload().Set(COVCountedEvent::kSecondValue, static_cast<uint32_t>(decisive));
            ExecuteAndSendEvent(std::move(event));
        }
        if (g_combatAI.notifyCombat)
            g_combatAI.notifyCombat(country, *this, draw ? 2 : 0, first);
        first = false;
    }
    for (uint32_t country : loser.countries) {
        if (tell) {
            auto event = std::make_unique<COVProvinceBattleEvent>(lostType, ObjectId(3, country),
                                                                  std::vector<uint32_t>{});
            event->Payload().Set(COVCountedEvent::kFirstValue, static_cast<uint32_t>(m_provinceId));
            event->Payload().Set(COVCountedEvent::kSecondValue, static_cast<uint32_t>(decisive));
            ExecuteAndSendEvent(std::move(event));
        }
        if (g_combatAI.notifyCombat)
            g_combatAI.notifyCombat(country, *this, draw ? 2 : 1, false);
    }
}

int CCombat::HandleMessage(COVEvent& event) {
    const auto& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_COMBAT_REMOVE_UNIT:
    case EVT_COMBAT_REMOVE_UNIT_2:
    case EVT_COMBAT_REMOVE_UNIT_3: {
        CUnit* unit = FindUnitById(payload.Get(CombatUnitFields::kUnit));
        const bool attackerFlag = payload.Get(CombatUnitFields::kAttacker) != 0;
        if (!unit) {
            CombatTrace("%s: no unit under the id, message dropped\n", GetName().c_str());
            return EVENT_NOT_HANDLED;
        }
        if (event.GetType() == EVT_COMBAT_REMOVE_UNIT)
            OnUnitJoined(unit, attackerFlag);
        else if (event.GetType() == EVT_COMBAT_REMOVE_UNIT_3)
            OnUnitLeft(unit);
        else
            OnUnitDestroyed(unit, attackerFlag);
        return EVENT_NOT_HANDLED;
    }
    case EVT_COMBAT_PHASE:
        if (ended)
            return EVENT_NOT_HANDLED;
        busy = true;
        OnPhase();
        busy = false;
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_STARTED:
        busy = true;
        OnStarted();
        busy = false;
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_ENDED:
        ended = true;
        m_attackers->OnCombatEnded();
        m_defenders->OnCombatEnded();
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_RETREAT:
        OnRetreat(payload.Get(CombatRetreatPayload::kProvince),
                  payload.Get(CombatRetreatPayload::kAttacker) != 0);
        return EVENT_NOT_HANDLED;
    case EVT_KILL_LEADER:
        OnKillLeader(payload.Get(LeaderArrivalPayload::kLeader));
        return EVENT_NOT_HANDLED;
    case EVT_COMBAT_RESULT: {
        if (ended)
            return EVENT_NOT_HANDLED;
        const bool saved = busy;
        busy = true;
        ApplyResult(payload.Get(CombatResultPayload::kFire) != 0,
                    payload.Get(CombatResultPayload::kMen),
                    payload.Get(CombatResultPayload::kMorale),
                    payload.Get(CombatResultPayload::kAttacker) != 0);
        busy = saved;
        return EVENT_NOT_HANDLED;
    }
    default:
        return EVENT_NOT_HANDLED;
    }
}

CLandCombat::CLandCombat(CProvince& province)
    : CCombat(province, kCombatLand, std::make_unique<CLandCombatSide>(true),
              std::make_unique<CLandCombatSide>(false)) {}

CNavalCombat::CNavalCombat(CProvince& province)
    : CCombat(province, kCombatNaval, std::make_unique<CNavalCombatSide>(true),
              std::make_unique<CNavalCombatSide>(false)) {}

// ---------------------------------------------------------------------------
// The province makes and deletes its combats through these.

namespace {

// The id the create message names, for the combat the province makes next.
ObjectId g_nextCombatId;

std::unique_ptr<CProvinceCombat> MakeCombat(CProvince& province, int32_t kind, int32_t) {
    std::unique_ptr<CCombat> combat;
    if (kind == kCombatLand)
        combat = std::make_unique<CLandCombat>(province);
    else if (kind == kCombatNaval)
        combat = std::make_unique<CNavalCombat>(province);
    else if (IsSiegeCombatKind(kind))
        combat = std::make_unique<CSiegeCombat>(province, kind);
    else
        return nullptr;
    // The siege's garrison message names the siege: its id comes first.
    if (!g_nextCombatId.IsNull())
        combat->SetId(g_nextCombatId);
    else
        combat->AssignNewId();
    if (CSiegeCombat* siege = combat->GetSiege())
        siege->OnMade();
    return combat;
}

const bool g_registered = [] {
    g_provinceControl.makeCombat = &MakeCombat;
    g_provinceWork.startCombat = [](CProvince& province, const CDate& date, int32_t kind,
                                    const ObjectId& id) {
        if (!id.IsNull() && FindObjectById(id)) {
            CombatTrace("Combat: the id %d is taken, no combat made\n",
                        static_cast<int>(id.number));
            return;
        }
        g_nextCombatId = id;
        province.StartCombat(date, kind, 0);
        g_nextCombatId = ObjectId();
    };
    // A unit that its country deletes leaves every combat of its province
    // that still lists it before its object goes, so that no side keeps a
    // freed unit (the servers take it out first when they delete it).
    g_countryMilitary.retireUnit = [](CUnit& unit) {
        const CProvince* province = GetProvince(unit.GetLocation());
        if (!province || !province->combats)
            return;
        std::vector<ObjectId> ids;
        for (size_t i = 0; i < province->combats->GetCount(); ++i)
            ids.push_back(province->combats->At(i)->GetId());
        for (const ObjectId& id : ids)
            if (CCombat* combat = FindCombatById(id))
                combat->OnUnitLeft(&unit);
    };
    g_provinceWork.deleteCombat = [](CProvince& province, const ObjectId& id) {
        // A phase still queued for the combat must not reach a later object.
        g_scheduler.RemoveEvents(EVT_COMBAT_PHASE, id, [](COVEvent*) { return true; });
        province.RemoveCombat(id);
    };
    return true;
}();

} // namespace
