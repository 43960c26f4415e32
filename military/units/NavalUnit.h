#pragma once
// Fleets: warships, galleys and transports; a fleet carries armies.
#include "military/units/LandUnit.h"
#include "military/units/Unit.h"

class CNavalUnit : public CUnit {
public:
    explicit CNavalUnit(CCountry* owner) : CUnit(owner) {}
    // Sets its cargo ashore (the armies stay with their owner).
    ~CNavalUnit() override;

    bool IsFleet() const override { return true; }
    // The common block with "warships", "galleys", "transports", "port"
    // while at sea for a month or more, and one "landunit" per army aboard.
    CDataBlock* Write() const override;

    // Takes the army aboard (cargo list, carrier link, off the map).
    void LoadArmy(CLandUnit* army);
    // Sets the army ashore; false when it is not aboard.
    bool UnloadArmy(CLandUnit* army);
    const CLinkedList<CLandUnit>& GetCargo() const { return m_cargo; }

    // 0 in a land province; else the calendar months from the port date to
    // today.
    int32_t GetMonthsAtSea() const;

    CDate portDate; // the date the fleet was last in port

protected:
    bool ReadOwnField(CFieldReader& in) override;

private:
    CLinkedList<CLandUnit> m_cargo;
};
