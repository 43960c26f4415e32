// The unit's messages: the two it takes in every state and the three state
// handlers (idle, moving, in combat) for the rest; stopping, standing in a
// province and the combats it takes part in.
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "military/server/CombatServer.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Session.h"
#include "world/GameNotices.h"
#include "world/Province.h"

namespace {

// The player's notices of a unit at the end of its way.
constexpr int32_t kNoticeArmyArrived = 125;
constexpr int32_t kNoticeFleetArrived = 126;

constexpr int32_t kCoverMode = 3;
constexpr int32_t kAssaultMode = 5;

bool IsSiegeMode(int32_t mode) {
    return mode >= kCoverMode && mode <= kAssaultMode;
}

int32_t OwnerNumber(const CUnit& unit) {
    return unit.GetOwner() ? static_cast<int32_t>(unit.GetOwner()->GetNumber()) : -1;
}

int Dropped(const CUnit& unit, const char* format, const COVEvent& event) {
    DebugPrint(format, OwnerNumber(unit), static_cast<int>(unit.GetId().number),
               GetEventTypeName(event).c_str());
    return EVENT_NOT_HANDLED;
}

int CancelOnMessage(CUnit& unit) {
    const int number = static_cast<int>(unit.GetId().number);
    DebugPrint("Start MoveCancelEvent in unit %d\n", number);
    unit.CancelMovement();
    DebugPrint("Finish MoveCancelEvent in unit %d\n", number);
    return EVENT_CONSUMED;
}

// Message 55: a jump into a province; an army stands there on land (or
// aboard a fleet in a sea zone).
int SetInProvince(CUnit& unit, const COVEvent& event) {
    const int64_t province = event.Payload().Get(COVProvinceEvent::kProvince);
    if (province < kFirstProvinceId || province > kLastProvinceId) {
        DebugPrint("Unit #%d: set in province %d dropped\n", static_cast<int>(unit.GetId().number),
                   static_cast<int>(province));
        return EVENT_NOT_HANDLED;
    }
    unit.CancelMovement();
    if (unit.IsArmy())
        static_cast<CLandUnit&>(unit).BoardFleet(static_cast<int32_t>(province), nullptr);
    else {
        unit.SetLocation(static_cast<int32_t>(province));
        unit.SetMapPlacement(PLACEMENT_STANDING);
    }
    return EVENT_CONSUMED;
}

int StepInto(CUnit& unit, COVEvent& event) {
    unit.OnUnitMove(event);
    return EVENT_CONSUMED;
}

int TakePath(CUnit& unit, COVEvent& event) {
    return unit.OnMovePath(event) ? EVENT_CONSUMED : EVENT_NOT_HANDLED;
}

int TakeLosses(CUnit& unit, const COVEvent& event) {
    unit.ApplyLosses(event.Payload().Get(UnitLossesPayload::kAmount),
                     event.Payload().Get(UnitLossesPayload::kCause));
    return EVENT_CONSUMED;
}

} // namespace

int CUnit::HandleEvent(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_SET_RETREAT_MORALE:
        morale = event.Payload().Get(UnitMoralePayload::kMorale);
        Refresh();
        return EVENT_CONSUMED;
    case EVT_UNIT_FINISH:
        if (dying)
            return EVENT_CONSUMED;
        if (m_owner && m_owner->m_unitsInDevelopment.Remove(this)) {
            if (!m_owner->m_units.Contains(this))
                m_owner->m_units.AddTail(this);
            if (IsArmy())
                static_cast<CLandUnit*>(this)->AddToOwnerTotals();
        }
        m_development = 0;
        SetProvince(m_location);
        SetIdleState();
        if (IsHost() && g_combatServer)
            g_combatServer->CheckUnitArrival(*this, m_location);
        // The computer player takes the finished unit on the host and hears
        // that it took the field.
        if (IsHost() && !dying) {
            if (g_unitCreatedAI)
                g_unitCreatedAI(*this);
            NotifyAI(UNIT_NOTICE_MOVED);
        }
        return EVENT_CONSUMED;
    default:
        break;
    }
    switch (m_state) {
    case EState::Moving:
        return MoveUpdate(event);
    case EState::Combat:
        return CombatUpdate(event);
    case EState::Idle:
    default:
        return GenericUpdate(event);
    }
}

int CUnit::GenericUpdate(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_UNITMOVE:
        return StepInto(*this, event);
    case EVT_UNITMOVECANCEL:
        return CancelOnMessage(*this);
    case EVT_UNITMOVEPATH:
        return TakePath(*this, event);
    case EVT_UNITLOSSES:
        return TakeLosses(*this, event);
    case EVT_SET_IN_PROVINCE:
        return SetInProvince(*this, event);
    default:
        return Dropped(*this, "unknown event sent to unit in genericupdate cid %d uid %d (%s)\n",
                       event);
    }
}

int CUnit::MoveUpdate(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_UNITMOVE:
        return StepInto(*this, event);
    case EVT_UNITMOVECANCEL:
        return CancelOnMessage(*this);
    case EVT_UNITMOVEPATH:
        return TakePath(*this, event);
    case EVT_SET_IN_PROVINCE:
        return SetInProvince(*this, event);
    default:
        // A moving unit takes no losses message.
        return Dropped(*this, "unknown event sent to unit in moveupdate state cid %d uid %d (%s)\n",
                       event);
    }
}

int CUnit::CombatUpdate(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_UNITMOVE:
        return StepInto(*this, event);
    case EVT_UNITMOVEPATH:
        return TakePath(*this, event);
    case EVT_UNITLOSSES:
        return TakeLosses(*this, event);
    case EVT_SET_IN_PROVINCE:
        return SetInProvince(*this, event);
    default:
        // A unit in combat does not cancel its movement on request.
        return Dropped(*this, "unknown event sent to unit in combatupdate cid %d uid %d (%s)\n",
                       event);
    }
}

void CUnit::SetProvince(int32_t province) {
    TakeProvince(province);
    CheckArrival(province);
}

void CUnit::TakeProvince(int32_t province) {
    SetLocation(province);
    SetMapPlacement(m_path.IsEmpty() ? PLACEMENT_STANDING : PLACEMENT_MOVING);
    // The player hears of his own unit's arrival at the end of its way.
    if (m_path.IsEmpty() && previousProvince != 0 && previousProvince != province && m_owner &&
        m_owner->IsLocalHuman())
        if (const CProvince* there = GetProvince(province))
            PostGameMessage1At(IsFleet() ? kNoticeFleetArrived : kNoticeArmyArrived,
                               m_owner->GetNumber(), m_name, there->name, province);
    if (IsHost() && IsGameRunning() && province != previousProvince && !isNew && !dying)
        NotifyAI(UNIT_NOTICE_MOVED);
}

void CUnit::CheckArrival(int32_t province) {
    if (province != previousProvince && !isNew && IsHost() && g_combatServer)
        g_combatServer->CheckUnitArrival(*this, province);
}

void CUnit::CancelMovement() {
    DebugPrint("Unit #%d (%s) cancels all movement!!!\n", static_cast<int>(GetId().number),
               m_name.c_str());
    if (IsHost())
        ClearPendingMoveStep(*this);
    if (m_retreating)
        RestoreFlag();
    const bool hadPath = !m_path.IsEmpty();
    m_retreatProvince = 0;
    StandStill();
    SetMapPlacement(PLACEMENT_STANDING);
    m_path.RemoveAll();
    m_state = IsInCombat() ? EState::Combat : EState::Idle;
    if (hadPath && m_location != 0 && IsHost()) {
        DebugPrint("Notify AI that Unit #%d has stopped!", static_cast<int>(GetId().number));
        NotifyAI(UNIT_NOTICE_STOPPED);
    }
    if (hadPath && m_location != 0 && IsHost() && !IsInCombat() && g_combatServer)
        g_combatServer->CheckUnitArrival(*this, m_location);
}

uint8_t CUnit::GetCombatSide() const {
    if (!m_combat.IsNull())
        return m_combatSide;
    if (!m_siegeCombat.IsNull())
        return m_siegeSide;
    return 0;
}

void CUnit::CombatStarted(const ObjectId& combat, uint8_t side, int32_t mode) {
    DebugPrint("Combat: Unit #%d (%s) got CombatStarted!\n", static_cast<int>(GetId().number),
               m_owner ? m_owner->GetTag().c_str() : "");
    if (m_retreating)
        RestoreFlag();
    const bool wasInCombat = IsInCombat();
    if (!combat.IsNull()) {
        if (IsSiegeMode(mode)) {
            m_siegeCombat = combat;
            m_siegeSide = side;
            m_siegeMode = mode;
        } else {
            m_combat = combat;
            m_combatSide = side;
            m_combatMode = mode;
        }
    }
    CancelMovement();
    SetMapPlacement(side != 0 ? PLACEMENT_ATTACKER : PLACEMENT_DEFENDER);
    ShowCombatPose(mode);
    m_state = IsInCombat() ? EState::Combat : EState::Idle;
    if (!wasInCombat && IsInCombat())
        NotifyAI(UNIT_NOTICE_COMBAT_STARTED);
}

void CUnit::CombatEnded(const ObjectId& combat) {
    DebugPrint("Combat: Unit #%d (%s) got CombatEnded!\n", static_cast<int>(GetId().number),
               m_owner ? m_owner->GetTag().c_str() : "");
    bool left = false;
    if (!combat.IsNull() && m_combat == combat) {
        m_combat = ObjectId();
        m_combatSide = 0;
        m_combatMode = 0;
        left = true;
    } else if (!combat.IsNull() && m_siegeCombat == combat) {
        m_siegeCombat = ObjectId();
        m_siegeSide = 0;
        m_siegeMode = 0;
        left = true;
    }
    if (!IsInCombat()) {
        m_state = EState::Idle;
        if (m_path.IsEmpty()) {
            StandStill();
            SetMapPlacement(PLACEMENT_STANDING);
        } else {
            FaceNextStep();
            SetMapPlacement(PLACEMENT_MOVING);
        }
    } else {
        // Still in the other combat: the figure keeps to its side there.
        const bool inField = !m_combat.IsNull();
        const uint8_t side = inField ? m_combatSide : m_siegeSide;
        const int32_t mode = inField ? m_combatMode : m_siegeMode;
        SetMapPlacement(side != 0 ? PLACEMENT_ATTACKER : PLACEMENT_DEFENDER);
        if (!m_path.IsEmpty()) {
            FaceNextStep();
            SetMapPlacement(PLACEMENT_MOVING);
        } else if (IsSiegeMode(mode)) {
            StandStill();
        } else {
            SetFigurePose(FIGURE_FIRE, side != 0 ? kFigureFacingRight : kFigureFacingLeft);
        }
    }
    Refresh();
    // Only a unit that left its last combat tells the computer player.
    if (left && !IsInCombat())
        NotifyAI(UNIT_NOTICE_COMBAT_ENDED);
}
