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

// The owner learns of the province (run here only: every machine runs the
// step).
void Discover(const CUnit& unit, int32_t province) {
    const CCountry* owner = unit.GetOwner();
    const CProvince* record = GetProvince(province);
    if (!owner || !record || owner->GetNumber() >= kCountrySlots ||
        record->discoveredBy[owner->GetNumber()])
        return;
    ExecuteEvent(std::make_unique<COVProvinceEvent>(EVT_DISCOVERPROVINCE, owner->GetId(),
                                                    static_cast<uint32_t>(province)));
}

} // namespace

int32_t CUnit::GetFinalDestination() const {
    int32_t last = m_location;
    CIntList::CListPosition position = nullptr;
    for (m_path.GetHeadPosition(position); position; CIntList::MoveNext(position))
        if (!position->removed)
            last = position->item;
    return last;
}

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
    case EVT_UNITMOVEPATH: {
        auto& pathEvent = static_cast<COVUnitMovePathEvent&>(event);
        if (!pathEvent.CountFits()) {
            DebugPrint("Unit #%d: path message with %d steps in %d bytes dropped\n",
                       static_cast<int>(GetId().number),
                       payload.Holds(COVUnitMovePathEvent::kCount) ? pathEvent.GetCount() : -1,
                       static_cast<int>(payload.Size()));
            return EVENT_NOT_HANDLED;
        }
        std::vector<int32_t> steps;
        for (size_t i = 0; i < pathEvent.GetCount(); ++i) {
            const int32_t step = pathEvent.GetStep(i);
            if (!IsProvinceId(step)) {
                DebugPrint("Unit #%d: path message with province %d dropped\n",
                           static_cast<int>(GetId().number), step);
                return EVENT_NOT_HANDLED;
            }
            steps.push_back(step);
        }
        if (pathEvent.GetValue() != 0)
            m_path.RemoveAll();
        for (int32_t step : steps)
            m_path.AddTail(step);
        DebugPrint("New move path size: %d in Unit #%d.\n", static_cast<int>(m_path.GetCount()),
                   static_cast<int>(GetId().number));
        if (!m_path.IsEmpty())
            m_state = EState::Moving;
        return EVENT_CONSUMED;
    }
    case EVT_UNITMOVE: {
        const int32_t province = payload.Get(UnitMovePayload::kProvince);
        if (!IsProvinceId(province)) {
            DebugPrint("Unit #%d: move to province %d dropped\n", static_cast<int>(GetId().number),
                       province);
            return EVENT_NOT_HANDLED;
        }
        DebugPrint("Unit #%d moved to Prov%d\n", static_cast<int>(GetId().number), province);
        Discover(*this, province);
        if (GetNextPathProvince() == province) {
            CIntList::CListPosition first = nullptr;
            m_path.GetHeadPosition(first);
            m_path.RemoveNode(first);
        } else {
            DebugPrint("Unit #%d moved, but didn't have a path!?",
                       static_cast<int>(GetId().number));
        }
        if (m_path.IsEmpty()) {
            m_state = EState::Idle;
            m_retreating = 0;
        }
        if (IsArmy()) {
            auto& army = static_cast<CLandUnit&>(*this);
            const CProvince* record = GetProvince(province);
            if (record->IsSea()) {
                // Aboard the fleet named in the message.
                auto* fleet =
                    dynamic_cast<CNavalUnit*>(FindUnitById(payload.Get(UnitMovePayload::kCarrier)));
                army.BoardFleet(province, fleet);
                if (fleet)
                    SetLocation(0);
                return EVENT_CONSUMED;
            }
            army.BoardFleet(province, nullptr);
            return EVENT_CONSUMED;
        }
        SetLocation(province);
        return EVENT_CONSUMED;
    }
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
