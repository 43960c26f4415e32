#pragma once
// The fortress of a city and the port symbol of a city on the coast.
//
// The "fortress" block inside a city's block:
//   fortress = { level = 4.000000 date = { year = 1602 month = march day = 1 }
//                increase = yes }
#include <cstdint>

#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/ObjectId.h"
#include "world/Settlement.h"

class CDataBlock;
class CFieldReader;

// Fortress levels run from 0 to 6; a new city starts with the top one.
constexpr float kMaxFortressLevel = 6.0f;

// The level held to 0..6.
float CapFortressLevel(float level);

class CFortress {
public:
    CFortress() = default;
    virtual ~CFortress() = default;

    // Writes level (float), date (date block) and increase (yes/no), in this
    // order, as a new block (count 0, owned by the caller).
    virtual CDataBlock* Write() const;
    // The block after its "{" up to and including its "}": FIELD_BLOCK_END;
    // FIELD_ERROR on a key it does not know ("Fortress : Unexpected field") or
    // a field without "="; FIELD_END_OF_FILE when the file ends inside it.
    // "level" takes the whole part of the number, capped at 6 (a negative one
    // is reported and read as 0); a value that is no number is ignored.
    virtual int32_t Read(CFieldReader& in);

    float level = kMaxFortressLevel;
    uint8_t increase = 0; // 1 while an expansion is under way
    CDate date;           // when the expansion completes
};

// The port symbol of a city whose province has a port sea zone, with the
// fleets lying in port. The list holds the fleets, not owns them.
class CPort {
public:
    // Symbol levels: some fleet lies in port, or none.
    static constexpr int32_t kLevelFleets = 1;
    static constexpr int32_t kLevelEmpty = 2;
    // Symbol actions and the shipyard kind.
    static constexpr int32_t kActionBlockade = 11;
    static constexpr int32_t kKindShipyard = 8;

    CPort();
    ~CPort();
    CPort(const CPort&) = delete;
    CPort& operator=(const CPort&) = delete;

    // Binds the port to the province: its id, its sea zone (portSeaZone) and
    // the symbol at its portPosition. An id outside 1..1472 binds nothing.
    void Attach(int32_t provinceId);

    // The first fleet in an empty port switches the symbol to level 1; the
    // fleet is appended (once).
    void AddUnit(CIdEntity* fleet);
    // The fleet leaves; when the port is then empty the level becomes 2.
    void RemoveUnit(CIdEntity* fleet);
    bool HasFleet(CIdEntity* fleet) const { return m_fleets.Contains(fleet); }
    uint32_t GetFleetCount() const { return m_fleets.GetCount(); }

    // Action 11 while the province is blockaded (else 27); the shipyard kind
    // once the city has a shipyard; drawn while visible, dimmed once when
    // dimNext is set.
    void Draw(int32_t param);
    // Draw without drawing: the symbol takes the province's state.
    void UpdateState();

    int32_t GetSeaZone() const { return m_seaZone; }
    int32_t GetProvinceId() const { return m_provinceId; }
    const CSettlementSymbol& GetSymbol() const { return m_symbol; }

    uint8_t dimNext = 0; // the next drawing uses the dimmed colour table
    uint8_t visible = 1; // the symbol is drawn

private:
    CLinkedList<CIdEntity> m_fleets;
    int32_t m_seaZone = 0;
    int32_t m_provinceId = 0;
    CSettlementSymbol m_symbol;
};
