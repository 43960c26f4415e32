#pragma once
// The leader registry: one slot per leader number, where every historical
// leader and every monarch of the running game can be found by the number
// of its id (type 6). On the host it schedules the arrival of the leaders
// and the accession of the monarchs it is given.
#include <array>
#include <cstdint>
#include <memory>

class CIdEntity;
class CLeader;
class CMonarch;

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

    // A leader with an id of type 6 fills the slot of its number when it is
    // empty. On the host, unless the leader was loaded active or its end
    // date has come, its arrival ("_COVEVT_ARRIVE_LEADER_" to the leader
    // requests, its id at +20) is posted for its start date and it is marked
    // loaded active. The registry does not own the leader.
    void AddLeader(CLeader* leader);
    // A monarch with an id of type 6 takes the slot of its number. On the
    // host, unless it was loaded active or its end date has come, its
    // accession ("_COVEVT_ACTIVATE_MONARCH_" to its country: +20 its id, +28
    // event2start) is posted for its start date and it is marked loaded
    // active. The registry does not own the monarch.
    void AddMonarch(CMonarch* monarch);

private:
    std::array<CIdEntity*, kSlotCount> m_slots{};
};

// Made when a scenario is set up, deleted when it ends; null in between.
extern std::unique_ptr<CLeaderRegistry> g_leaderRegistry;
