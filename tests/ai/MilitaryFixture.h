#pragma once
// A small war theatre for the computer player's military: country 30 holds
// provinces 100 and 101 (one territory), country 31 holds 102 and 103 (one
// territory, 102 with a fortress) and 105 across the sea zone 104 (a
// territory of its own). 100-101-102-103 touch in a row; 101 and 105 lie
// on the sea zone 104. Both countries are run by the computer; the unit
// server runs the move orders.
#include <memory>
#include <vector>

#include "ai/military/MilitaryMinister.h"
#include "country/BuildingCosts.h"
#include "country/Technology.h"
#include "engine/GameState.h"
#include "military/server/HostDispatcher.h"
#include "military/server/UnitServer.h"
#include "military/units/NavalUnit.h"
#include "tests/ai/AIFixture.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Territory.h"

class MilitaryFixture : public AIFixture {
protected:
    static constexpr uint32_t kUs = 30;
    static constexpr uint32_t kThem = 31;

    void SetUp() override {
        AIFixture::SetUp();
        g_unitServer = new UnitServer;
        g_hostDispatcher = new CHostDispatcher;
        // A game runs: the units tell the computer player of their moves.
        m_wasRunning = g_gameState.isGameRunning;
        g_gameState.isGameRunning = [] { return true; };
        CTechRow row;
        row.infantryFire = row.infantryShock = 1.0f;
        row.cavalryFire = row.cavalryShock = 1.0f;
        row.artilleryFire = row.artilleryShock = 1.0f;
        row.warshipFire = row.warshipShock = 1.0f;
        row.galleyFire = row.galleyShock = 1.0f;
        row.morale = 2.0f;
        m_table.SetRows({row, row, row, row, row});
        us = &MakeCountry(kUs);
        them = &MakeCountry(kThem);
        for (CCountry* c : {static_cast<CCountry*>(us), static_cast<CCountry*>(them)}) {
            c->GetLandTech().table = &m_table;
            c->GetNavalTech().table = &m_table;
            g_buildingCostClasses[c->GetNumber()].fill(1);
            c->GetLandTech().SetLevel(3);
        }
        for (int32_t id : {100, 101, 102, 103, 105})
            Land(id);
        CProvince& zone = Land(104);
        zone.terrain = 5;
        zone.area = 139;
        Link(100, 101);
        Link(101, 102);
        Link(102, 103);
        Link(101, 104);
        Link(104, 105);
        P(101).coastal = P(105).coastal = 1;
        zone.coastalSeaZone = 1;
        for (int32_t id : {100, 101}) {
            Own(id, *us);
            // As the month's supply pass leaves them.
            P(id).supplyLevel = 1;
        }
        for (int32_t id : {102, 103, 105})
            Own(id, *them);
        P(102).SetCity(std::make_unique<CCity>());
        P(102).GetCity()->SetLocation(102);
        P(102).GetCity()->GetFortress().level = 2.0f;

        home = Territory({100, 101}, *us);
        front = Territory({102, 103}, *them);
        overseas = Territory({105}, *them);
        sea = std::make_unique<CSeaTerritory>();
        sea->AddProvince(&P(104));
        P(104).territory = sea.get();
        AddLink(*home, *front, 1);
        AddLink(*front, *home, 1);
        AddLink(*home, *sea, 1);
        AddLink(*sea, *home, 1);
        AddLink(*sea, *overseas, 1);
        AddLink(*overseas, *sea, 1);
    }

    void TearDown() override {
        DeleteAllCountries();
        for (int32_t id : m_used) {
            CProvince& p = P(id);
            p.ResetForGame();
            p.ClearNeighbours();
            p.discoveredBy = {};
            p.discovered = 0;
            p.terrain = p.area = 0;
            p.coastal = p.coastalSeaZone = 0;
            p.territory = nullptr;
            p.supplyLevel = 0;
            p.aiHolder = nullptr;
        }
        for (CTerritory* t :
             {static_cast<CTerritory*>(home), static_cast<CTerritory*>(front),
              static_cast<CTerritory*>(overseas), static_cast<CTerritory*>(sea.get())})
            t->Detach();
        for (auto* t : {home, front, overseas})
            delete t;
        sea.reset();
        delete g_unitServer;
        g_unitServer = nullptr;
        delete g_hostDispatcher;
        g_hostDispatcher = nullptr;
        g_gameState.isGameRunning = m_wasRunning;
        AIFixture::TearDown();
    }

    static CProvince& P(int32_t id) { return *GetProvince(id); }
    static CLinkedList<CAIAgent>& Children(const CAIAgent* agent) {
        return const_cast<CLinkedList<CAIAgent>&>(agent->GetChildren());
    }

    CProvince& Land(int32_t id) {
        m_used.push_back(id);
        CProvince& p = P(id);
        p.terrain = 0;
        // Natives left by another test would bar the way.
        p.natives = 0;
        p.discovered = 1;
        p.discoveredBy[kUs] = p.discoveredBy[kThem] = 1;
        return p;
    }
    static void Link(int32_t a, int32_t b) {
        P(a).AddNeighbour({b, 0, 0});
        P(b).AddNeighbour({a, 0, 0});
    }
    static void Own(int32_t id, CCountry& c) {
        P(id).SetOwner(&c);
        P(id).SetControllerField(&c);
        c.m_ownedProvinces.AddTail(id);
        c.m_controlledProvinces.AddTail(id);
    }
    CLandTerritory* Territory(std::initializer_list<int32_t> ids, CCountry& owner) {
        auto* t = new CLandTerritory;
        for (int32_t id : ids) {
            t->AddProvince(&P(id));
            P(id).territory = t;
        }
        owner.AddTerritory(t);
        return t;
    }

    CLandUnit& Army(int32_t province, float infantry, CCountry& owner) {
        auto* unit = new CLandUnit(&owner);
        unit->AssignNewId();
        unit->SetLocation(province);
        unit->SetStrength(2, infantry);
        unit->morale = 2.0f;
        owner.AddUnit(unit);
        return *unit;
    }
    CNavalUnit& Fleet(int32_t province, float warships, float galleys, float transports,
                      CCountry& owner) {
        auto* unit = new CNavalUnit(&owner);
        unit->AssignNewId();
        unit->SetLocation(province);
        unit->SetStrength(0, warships);
        unit->SetStrength(1, galleys);
        unit->SetStrength(2, transports);
        owner.AddUnit(unit);
        return *unit;
    }

    void DeclareWar() {
        us->SetAtWarWith(kThem);
        them->SetAtWarWith(kUs);
        NotifyAIListeners(19, &CAIEventListener::OnWar, static_cast<int32_t>(kUs),
                          static_cast<int32_t>(kThem));
    }
    void MakePeace() {
        us->EndWarWith(kThem);
        them->EndWarWith(kUs);
        NotifyAIListeners(18, &CAIEventListener::OnPeace, static_cast<int32_t>(kUs),
                          static_cast<int32_t>(kThem));
    }

    CAIGeneral& HomeGeneral() {
        CAIGeneral* found = nullptr;
        const_cast<CLinkedList<CAIMilitaryMinister>&>(us->GetKing()->GetGenerals())
            .ForEach([&](CAIMilitaryMinister* g) {
                if (g->GetTerritory() == home)
                    found = static_cast<CAIGeneral*>(g);
            });
        EXPECT_NE(found, nullptr);
        return *found;
    }

    CAICountry* us = nullptr;
    CAICountry* them = nullptr;
    CLandTerritory* home = nullptr;
    CLandTerritory* front = nullptr;
    CLandTerritory* overseas = nullptr;
    std::unique_ptr<CSeaTerritory> sea;

private:
    CTechTable m_table{"LTLEVEL"};
    std::vector<int32_t> m_used;
    bool (*m_wasRunning)() = nullptr;
};
