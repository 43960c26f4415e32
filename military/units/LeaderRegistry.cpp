#include "military/units/LeaderRegistry.h"

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "military/units/Leader.h"
#include "military/units/Monarch.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/Scenario.h"

std::unique_ptr<CLeaderRegistry> g_leaderRegistry;

namespace {

// Ids of type 6 resolve to the slots; a withdrawn leader id empties its slot.
const bool g_leaderSlotsRegistered = [] {
    g_idSlots.leaderSlot = [](uint32_t number) {
        return g_leaderRegistry ? g_leaderRegistry->GetSlot(number) : nullptr;
    };
    g_idSlots.clearLeaderSlot = [](uint32_t number) {
        if (g_leaderRegistry)
            g_leaderRegistry->ClearSlot(number);
    };
    return true;
}();

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// Whether the host still has to schedule the leader's start: not yet done,
// and its end date not yet come.
bool NeedsScheduling(const CLeader& leader) {
    return IsHost() && !leader.loadedActive && !Today().IsNotBefore(leader.endDate);
}

} // namespace

CIdEntity* CLeaderRegistry::GetSlot(uint32_t number) const {
    return number < kSlotCount ? m_slots[number] : nullptr;
}

void CLeaderRegistry::SetSlot(uint32_t number, CIdEntity* leader) {
    if (number < kSlotCount)
        m_slots[number] = leader;
}

void CLeaderRegistry::ClearSlot(uint32_t number) {
    SetSlot(number, nullptr);
}

void CLeaderRegistry::AddLeader(CLeader* leader) {
    if (!leader)
        return;
    // Only an id of type 6 gives its slot back when the leader goes.
    const ObjectId& id = leader->GetId();
    if (id.type == kLeaderIdType && !GetSlot(id.number))
        SetSlot(id.number, leader);
    if (!NeedsScheduling(*leader))
        return;
    auto arrival = std::make_unique<COVDataEvent>(EVT_ARRIVE_LEADER, g_leaderRequestsId);
    arrival->Payload().Set(LeaderArrivalPayload::kLeader, id);
    PostEventAt(std::move(arrival), leader->startDate);
    leader->loadedActive = 1;
}

void CLeaderRegistry::AddMonarch(CMonarch* monarch) {
    if (!monarch)
        return;
    CLeader& leader = monarch->GetLeader();
    if (leader.GetId().type == kLeaderIdType)
        SetSlot(leader.GetId().number, &leader);
    if (!leader.GetCountry() || !NeedsScheduling(leader))
        return;
    auto activation =
        std::make_unique<COVDataEvent>(EVT_ACTIVATE_MONARCH, leader.GetCountry()->GetId());
    activation->Payload().Set(MonarchActivationPayload::kLeader, leader.GetId());
    activation->Payload().Set(MonarchActivationPayload::kEvent2Start, monarch->event2start);
    PostEventAt(std::move(activation), leader.startDate);
    leader.loadedActive = 1;
}
