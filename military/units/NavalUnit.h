#pragma once
// Fleets: warships, galleys and transports; a fleet carries armies.
#include <vector>

#include "military/units/LandUnit.h"
#include "military/units/Unit.h"

class COVEvent;

// The computer player's estimate of a fleet: naval morale x the warships and
// galleys weighted by their fire and shock factors.
float EstimateFleetPower(CCountry& country, float warships, float galleys);

class CNavalUnit : public CUnit {
public:
    explicit CNavalUnit(CCountry* owner) : CUnit(owner) { UpdateFigureCulture(); }
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

    // --- the fleet's rules (military/units/NavalUnit.cpp) ---
    float GetWarships() const { return m_strength[0]; }
    float GetGalleys() const { return m_strength[1]; }
    float GetTransports() const { return m_strength[2]; }
    // Regiments of space: 2 x transports + galleys + warships, each ship
    // counting whole.
    int32_t GetTransportCapacity() const;
    // The transport need of the armies aboard.
    int32_t GetCargoLoad() const;
    bool HasCargo() const { return !m_cargo.IsEmpty(); }
    // The armies of the list fit into the space left.
    bool CanCarry(const std::vector<const CLandUnit*>& armies) const;
    // The fleet can set an army it carries ashore there: a discovered (or,
    // for an army that may explore, any) land province beside the fleet.
    bool CanUnloadTo(int32_t province) const;
    // No path and a neighbour to unload to.
    bool CanUnload() const;
    // 3.0 with galleys; else 3.0 + 10 x the naval level / 42 (whole).
    float GetMovementFactor() const override;
    // A land province without a port is refused (the fleet stays and a
    // line is traced); entering a port rounds the ships up and, with no
    // path left, lands the armies aboard; leaving one starts the time at
    // sea. The armies aboard go with the fleet.
    void SetProvince(int32_t province) override;
    // The monthly attrition in the province, as a fraction: nothing in
    // port; the supply, worsened by the months at sea, less the
    // commander's skill and a blockade kept, capped by the fleet's size.
    float GetAttritionRateIn(const CProvince& province) const override;
    float GetAttritionRate() const override;
    // The ships one month's attrition takes (0 when the rate is not above
    // 0).
    float GetMonthlyAttrition() const override;
    // The month's upkeep at the owner's prices and naval maintenance, half
    // as much again at war.
    float GetMaintenance() const override;
    int32_t GetCost() const;
    // Morale moves 30 % of the owner's naval morale toward it; true when it
    // changed.
    bool RegainMorale();
    float GetFirePower() const;
    float GetShockPower() const;
    float GetPower() const;
    // A discovered leading neighbour: any sea zone, a port whose controller
    // gives the owner access.
    bool CanRetreatTo(int32_t province) const override;
    // The neighbour nearest the best home port (the owner's own, held,
    // unbesieged ports first); without a port a random one.
    int32_t FindRetreatProvince() const override;
    void DistributeTroops(int32_t count) override;
    // The fleet lies off a blockaded port of a country hostile to its
    // owner.
    bool IsBlockadingHostilePort() const;
    // Galleys risk the open sea here: the fleet has galleys and the
    // province is no port, no coastal water and none of the inner seas
    // (regions 40, 43 and 44).
    bool RisksGalleysIn(const CProvince& province) const;
    // The fill of the status bar, 0..100, for a bar of the width in pixels
    // (2 ships a pixel); 0 for a bar without width.
    int32_t GetStatusBarFill(int32_t barWidth) const;
    // "_COVEVT_UNIT_UNLOADONARRIVAL_" clears the flag,
    // "_COVEVT_UNIT_REMAINONBOARD_" sets it: true for those two.
    bool HandleCargoOrder(const COVEvent& event);
    bool KeepsArmiesAboard() const { return m_keepAboard != 0; }
    // --- end of the fleet's rules ---

protected:
    bool ReadOwnField(CFieldReader& in) override;

private:
    // Every army aboard goes ashore into the fleet's port.
    void LandCargo();

    CLinkedList<CLandUnit> m_cargo;
    uint8_t m_keepAboard = 1;
};
