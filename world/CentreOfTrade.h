#pragma once
// Centres of trade and the trade calculator that holds them. Until the
// trade rules take a centre apart, its saved block is kept as it was read.
#include <array>
#include <cstdint>
#include <memory>

#include "data/KeptBlock.h"

class CCentreOfTrade : public CKeptBlock {};

class CCotCalc {
public:
    static constexpr uint32_t kSlotCount = 58;

    // Takes the centre into the next free slot; a centre beyond the last
    // slot is refused (reported; false, and it is deleted).
    bool AddCentreOfTrade(std::unique_ptr<CCentreOfTrade> centre);
    // Deletes every centre.
    void Clear();

    uint32_t GetCount() const { return m_count; }
    // The centre of a slot below the count.
    CCentreOfTrade* GetSlot(uint32_t slot) const { return m_slots[slot].get(); }

private:
    uint32_t m_count = 0;
    std::array<std::unique_ptr<CCentreOfTrade>, kSlotCount> m_slots;
};

extern CCotCalc g_cotCalc;
