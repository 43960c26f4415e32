#pragma once
// The military standing agents: a General for every own land territory (an
// overseas General for a territory of an enemy across the sea) and an
// Admiral for every sea territory linked to one. Each holds the units the
// King hands it. Their plans (defence, conquest, transports) come with
// their own parts; here they exist, hold their territory and their units.
#include <array>
#include <memory>

#include "ai/AIAgent.h"
#include "military/units/UnitList.h"

class CTerritory;

class CAIMilitaryMinister : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    ~CAIMilitaryMinister() override;

    void SetTerritory(CTerritory* territory) { m_territory = territory; }
    CTerritory* GetTerritory() const { return m_territory; }
    virtual bool IsGeneral() const { return false; }
    virtual bool IsAdmiral() const { return false; }
    // The minister refuses a unit it rejected before.
    bool Refuses(CUnit* unit) { return HasRejected(unit); }

    CUnitList* GetArmies() override { return &m_armies; }
    CUnitList* GetFleets() override { return &m_fleets; }
    bool OfferArmy(CUnit* army) override;
    bool OfferFleet(CUnit* fleet) override;

    // Slots for the minister's plans and objects (seven and eleven).
    std::array<std::unique_ptr<CAIAgent>, 7> firstSlots;
    std::array<std::unique_ptr<CAIAgent>, 11> secondSlots;

protected:
    CTerritory* m_territory = nullptr;
    CUnitList m_armies;
    CUnitList m_fleets;
};

class CAIGeneral : public CAIMilitaryMinister {
public:
    using CAIMilitaryMinister::CAIMilitaryMinister;
    const char* GetName() const override { return "General"; }
    bool IsGeneral() const override { return true; }
};

class CAIOverseasGeneral : public CAIGeneral {
public:
    using CAIGeneral::CAIGeneral;
};

class CAIAdmiral : public CAIMilitaryMinister {
public:
    using CAIMilitaryMinister::CAIMilitaryMinister;
    const char* GetName() const override { return "Admiral"; }
    bool IsAdmiral() const override { return true; }
};
