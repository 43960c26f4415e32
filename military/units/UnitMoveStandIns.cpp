// The two movement messages a unit takes in every state, in their least
// form: the path the host found replaces the unit's path, and a step puts
// the unit into the next province. The movement rules (province entry,
// discovery, boarding) grow from here.
#include "engine/CriticalError.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "world/Province.h"

namespace {

bool IsMapProvince(int64_t id) {
    return id != 0 && IsProvinceLocation(id);
}

} // namespace

int CUnit::OnMovePath(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint16_t count = payload.Get(COVUnitMovePathEvent::kCount);
    // A count the payload cannot hold is a broken message.
    if (COVUnitMovePathEvent::SizeFor(count) > payload.Size()) {
        DebugPrint("Unit #%d: path of %u steps in a payload of %zu bytes dropped\n",
                   static_cast<int>(GetId().number), count, payload.Size());
        return EVENT_CONSUMED;
    }
    CIntList provinces;
    for (size_t i = 0; i < count; ++i) {
        const uint16_t province = payload.Get(COVUnitMovePathEvent::kSteps[i]);
        if (!IsMapProvince(province)) {
            DebugPrint("Unit #%d: path with province %u dropped\n",
                       static_cast<int>(GetId().number), province);
            return EVENT_CONSUMED;
        }
        provinces.AddTail(province);
    }
    if (provinces.IsEmpty()) {
        CancelMovement();
        return EVENT_CONSUMED;
    }
    SetPath(payload.Get(COVUnitMovePathEvent::kValue) != 0 ? 1 : 0, provinces);
    return EVENT_CONSUMED;
}

int CUnit::OnUnitMove(COVEvent& event) {
    const uint16_t province = event.Payload().Get(UnitMovePayload::kProvince);
    if (!IsMapProvince(province)) {
        DebugPrint("Unit #%d: step into province %u dropped\n", static_cast<int>(GetId().number),
                   province);
        return EVENT_CONSUMED;
    }
    if (GetNextPathProvince() == province) {
        CIntList::CListPosition head = nullptr;
        m_path.GetHeadPosition(head);
        m_path.RemoveNode(head);
    }
    previousProvince = m_location;
    SetProvince(province);
    if (m_path.IsEmpty() && m_state == EState::Moving)
        m_state = EState::Idle;
    return EVENT_CONSUMED;
}
