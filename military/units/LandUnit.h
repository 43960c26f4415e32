#pragma once
// Armies: infantry, cavalry and artillery; an army may stand aboard a fleet.
#include "military/units/Unit.h"

class CLandUnit : public CUnit {
public:
    explicit CLandUnit(CCountry* owner) : CUnit(owner) {}
    // Leaves the fleet that carries it.
    ~CLandUnit() override;

    bool IsFleet() const override { return false; }
    // The common block with "infantry", "cavalry", "artillery" added.
    CDataBlock* Write() const override;
    void PlaceAtLocation() override { BoardFleet(GetLocation(), nullptr); }

    // With a fleet: goes aboard it. Without one: stands in the province on
    // land.
    void BoardFleet(int32_t province, CNavalUnit* fleet);
    // The fleet that carries the army, null on land.
    CNavalUnit* GetCarrier() const { return m_carrier; }

    // Adds the three strengths, each raised to the next whole number, to the
    // owner's troop totals (a total is held at 0 or more).
    void AddToOwnerTotals() const;

protected:
    bool ReadOwnField(CFieldReader& in) override;

private:
    friend class CNavalUnit;
    CNavalUnit* m_carrier = nullptr;
};
