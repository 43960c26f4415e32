// The movement messages as every machine carries them out: the path a unit
// is given, its steps, the end of its movement and a jump into a province.
#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Session.h"
#include "world/Province.h"

namespace {

bool IsProvinceId(int64_t id) {
    return id >= kFirstProvinceId && id <= kLastProvinceId;
}

} // namespace

void CUnit::CancelMovement() {
    DebugPrint("Unit #%d (%s) cancels all movement!!!\n", static_cast<int>(GetId().number),
               m_name.c_str());
    if (IsHost())
        ClearPendingMoveStep(*this);
    m_retreating = 0;
    m_path.RemoveAll();
    m_state = EState::Idle;
}

int CUnit::HandleMessage(COVEvent& event) {
    COVEventData& payload = event.Payload();
    switch (event.GetType()) {
    case EVT_UNITMOVEPATH:
        return OnMovePath(event) ? EVENT_CONSUMED : EVENT_NOT_HANDLED;
    case EVT_UNITMOVE:
        OnUnitMove(event);
        return EVENT_CONSUMED;
    case EVT_UNITMOVECANCEL:
        DebugPrint("Start MoveCancelEvent in unit %d\n", static_cast<int>(GetId().number));
        CancelMovement();
        DebugPrint("Finish MoveCancelEvent in unit %d\n", static_cast<int>(GetId().number));
        return EVENT_CONSUMED;
    case EVT_SET_IN_PROVINCE: {
        const int64_t province = payload.Get(COVProvinceEvent::kProvince);
        if (!IsProvinceId(province)) {
            DebugPrint("Unit #%d: set in province %d dropped\n", static_cast<int>(GetId().number),
                       static_cast<int>(province));
            return EVENT_NOT_HANDLED;
        }
        CancelMovement();
        if (IsArmy())
            static_cast<CLandUnit&>(*this).BoardFleet(static_cast<int32_t>(province), nullptr);
        else
            SetLocation(static_cast<int32_t>(province));
        return EVENT_CONSUMED;
    }
    default:
        return EVENT_NOT_HANDLED;
    }
}
