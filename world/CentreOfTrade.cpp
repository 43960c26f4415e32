#include "world/CentreOfTrade.h"

#include "data/GameFile.h"
#include "data/Keywords.h"
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

// ---------------------------------------------------------------------------
// The centres of trade in scenarios and saved games

namespace {

// A "cot" block that read whole takes the next free slot.
int32_t ReadCentreOfTrade(CFieldReader& in) {
    auto centre = std::make_unique<CCentreOfTrade>();
    if (centre->Read(in) == FIELD_BLOCK_END)
        g_cotCalc.AddCentreOfTrade(std::move(centre));
    return FIELD_BLOCK_END;
}

// The centres in slot order.
void WriteCentresOfTrade(CGameFileOutput& out) {
    for (uint32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot)
        if (!out.Write(g_cotCalc.GetSlot(slot)->Write()))
            return;
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_COT, {&ReadCentreOfTrade, &WriteCentresOfTrade});
    return true;
}();

} // namespace
