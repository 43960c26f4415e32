#pragma once
// The leader registry: one slot per leader number, where every historical
// leader and every monarch of the running game can be found by the number
// of its id (type 6).
#include <array>
#include <cstdint>
#include <memory>

class CIdEntity;

class CLeaderRegistry {
public:
    static constexpr uint32_t kSlotCount = 5000;

    // The id part in the slot of a leader number; null when the slot is
    // empty or the number is out of range.
    CIdEntity* GetSlot(uint32_t number) const;
    // Fills a slot; a number out of range is ignored.
    void SetSlot(uint32_t number, CIdEntity* leader);
    // Empties a slot; a number out of range is ignored.
    void ClearSlot(uint32_t number);

private:
    std::array<CIdEntity*, kSlotCount> m_slots{};
};

// Made when a scenario is set up, deleted when it ends; null in between.
extern std::unique_ptr<CLeaderRegistry> g_leaderRegistry;
