#include "military/LeaderRegistry.h"

std::unique_ptr<CLeaderRegistry> g_leaderRegistry;

CIdEntity* CLeaderRegistry::GetSlot(uint32_t number) const {
    return number < kSlotCount ? m_slots[number] : nullptr;
}

void CLeaderRegistry::SetSlot(uint32_t number, CIdEntity* leader) {
    if (number < kSlotCount)
        m_slots[number] = leader;
}

void CLeaderRegistry::ClearSlot(uint32_t number) { SetSlot(number, nullptr); }
