#pragma once
// Monarchs: the monarch's abilities and the leader part every monarch has
// (a monarch may lead troops). CMonarch is a monarch made during play or by
// a scenario (its leader part a CRandomLeader), CHistoricalMonarch one of
// history (a CHistoricalLeader). The monarch's id is its leader part's id.
//
// The monarch block is the leader block with "ADM", "DIP" and "MIL" added;
// it also reads "event2start" and "scheduled".
#include <cstdint>
#include <memory>

#include "engine/ObjectId.h"
#include "military/units/Leader.h"

class CDataBlock;
class CFieldReader;

class CMonarch {
public:
    CMonarch();
    virtual ~CMonarch();
    CMonarch(const CMonarch&) = delete;
    CMonarch& operator=(const CMonarch&) = delete;

    virtual bool IsHistorical() const { return false; }

    CLeader& GetLeader() { return *m_leader; }
    const CLeader& GetLeader() const { return *m_leader; }
    const ObjectId& GetId() const { return m_leader->GetId(); }

    // The loaded-active mark of the leader part (the block's "scheduled").
    bool IsLoadedActive() const { return m_leader->loadedActive != 0; }
    void SetLoadedActive(bool active) { m_leader->loadedActive = active ? 1 : 0; }

    // The leader part's block with "ADM", "DIP", "MIL" appended (new node,
    // owned by the caller). "event2start" and "scheduled" are not written.
    CDataBlock* Write() const;
    // Reads a monarch block whose "{" has been taken, up to and including
    // its "}": FIELD_BLOCK_END; FIELD_ERROR after a key it does not know;
    // FIELD_END_OF_FILE when the file ends inside the block.
    int32_t Read(CFieldReader& in);

    // The reign starts today and lasts 5 to 44 whole years.
    void SetRandomReign();

    int32_t event2start = 0; // the historical event that starts with the reign
    int32_t mil = 0;
    int32_t dip = 0;
    int32_t adm = 0;

protected:
    explicit CMonarch(std::unique_ptr<CLeader> leader);

private:
    std::unique_ptr<CLeader> m_leader;
};

class CHistoricalMonarch : public CMonarch {
public:
    CHistoricalMonarch();
    bool IsHistorical() const override { return true; }
};
