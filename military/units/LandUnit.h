#pragma once
// Armies: infantry, cavalry and artillery; an army may stand aboard a fleet.
#include <functional>
#include <vector>

#include "military/units/Unit.h"

class CProvince;

// A regiment is 1000 infantry, 1000 cavalry or 10 pieces of artillery; a
// part of a regiment counts whole, and each strength is rounded up first.
int32_t GetTransportNeed(float infantry, float cavalry, float artillery);

// The supply value of the province for the country, which lowers the
// attrition of the country's units there (the siege flag: asked for an army
// besieged in it). The province side of the rules fills it; null answers 0.
extern int32_t (*g_provinceSupplyValue)(const CProvince& province, CCountry& country, bool siege);

// The country's morale of its land (naval) level: what a new unit gets and
// what recovery aims at.
float GetLandMorale(CCountry& country);
float GetNavalMorale(CCountry& country);

// Calls f with each unit of every country that stands in the province
// (armies aboard a fleet included), country by country in list order.
void ForEachUnitIn(int32_t province, const std::function<void(CUnit&)>& f);

// Runs here and sends the transfer of the amount of one kind of troops or
// ships (the message type) from one unit to another of the same owner.
void SendTroopTransfer(const CUnit& from, const CUnit& to, uint32_t type, int32_t amount);
// The units that take a share of the giver's troops or ships when it is
// spread (host only; none while a combat runs where it stands): the others
// of its kind and owner standing still there, on land, without an
// explorer, in list order.
std::vector<CUnit*> DistributionTakers(const CUnit& giver);

// The computer player's estimate of an army: land morale x the troops
// weighted by their fire and shock factors.
float EstimateArmyPower(CCountry& country, float infantry, float cavalry, float artillery);

class CLandUnit : public CUnit {
public:
    explicit CLandUnit(CCountry* owner) : CUnit(owner) { UpdateFigureCulture(); }
    // Leaves the fleet that carries it.
    ~CLandUnit() override;

    bool IsFleet() const override { return false; }
    // The common block with "infantry", "cavalry", "artillery" added.
    CDataBlock* Write() const override;
    void PlaceAtLocation() override { BoardFleet(GetLocation(), nullptr); }

    // With a fleet, an army on land goes aboard it (standing in no
    // province), an army aboard goes ashore into the province. Without a
    // fleet the army stands in the province. The province left becomes the
    // previous province.
    void BoardFleet(int32_t province, CNavalUnit* fleet);
    // The fleet that carries the army, null on land.
    CNavalUnit* GetCarrier() const { return m_carrier; }

    // Adds the three strengths, each raised to the next whole number, to the
    // owner's troop totals (a total is held at 0 or more).
    void AddToOwnerTotals() const;

    // --- the army's rules (military/units/LandUnit.cpp) ---
    float GetInfantry() const { return m_strength[2]; }
    float GetCavalry() const { return m_strength[1]; }
    float GetArtillery() const { return m_strength[0]; }
    // The regiments of transport space the army needs aboard a fleet.
    int32_t GetTransportNeed() const;
    // 1.5 with artillery, else 2.0 with infantry, else 3.0.
    float GetMovementFactor() const override;
    // The monthly attrition in the province, as a fraction: the armies
    // crowding it, winter, a harsh climate, less the commander's skill and
    // the supply, held to the province's cap; at least one part in the
    // army's size, and at least 1 % while moving unless a conquistador
    // commands.
    float GetAttritionRateIn(const CProvince& province) const override;
    // Where the army stands; aboard, its fleet's rate.
    float GetAttritionRate() const override;
    // The men one month's attrition takes (0 when the rate is not above 0).
    float GetMonthlyAttrition() const override;
    // The month's upkeep at the owner's prices and land maintenance, half
    // as much again at war.
    float GetMaintenance() const override;
    // What raising the army costs at the owner's prices.
    int32_t GetCost() const;
    // Morale moves 30 % of the aim toward it (the owner's land morale, 1.0
    // while trespassing); true when it changed.
    bool RegainMorale();
    // Combat power: fire and shock (cavalry and artillery weakened by the
    // terrain), and both at the unit's morale.
    float GetFirePower() const;
    float GetShockPower() const;
    float GetPower() const;
    // The computer player's weighing: shock in full and fire by the fire
    // weight, the cavalry's shock by its own weight, at the unit's morale.
    float EstimatePowerWeighted(float cavalryShockWeight, float fireWeight) const;
    // The infantry's and artillery's fire (the artillery's halved in a
    // marsh) and shock, for the combat.
    float GetInfantryArtilleryFire() const;
    float GetInfantryArtilleryShock() const;
    // A leading neighbour the owner has discovered and may enter, with room
    // on the owner's fleets in a sea area; besides, land held by a country
    // that gives access or is hostile, or a city besieged by a friend. A
    // commander's manoeuvre may skip the owner's questions. Never for the
    // natives and the rebels.
    bool CanRetreatTo(int32_t province) const override;
    // The neighbour of the best score: empty friendly land first, then the
    // owner's fleets with room at sea, then land held by weaker enemies.
    int32_t FindRetreatProvince() const override;
    void DistributeTroops(int32_t count) override;
    // --- end of the army's rules ---

protected:
    bool ReadOwnField(CFieldReader& in) override;

private:
    friend class CNavalUnit;
    CNavalUnit* m_carrier = nullptr;
};
