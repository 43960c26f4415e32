#include "world/CentreOfTrade.h"

#include "engine/CriticalError.h"

CCotCalc g_cotCalc;

bool CCotCalc::AddCentreOfTrade(std::unique_ptr<CCentreOfTrade> centre) {
    if (m_count >= kSlotCount) {
        CriticalError("Too many centres of trade (at most %u)", kSlotCount);
        return false;
    }
    m_slots[m_count++] = std::move(centre);
    return true;
}

void CCotCalc::Clear() {
    for (auto& slot : m_slots)
        slot.reset();
    m_count = 0;
}
