#pragma once
// Countries, units and a few provinces of the province table for the tests
// of the movement rules, armies and fleets. The provinces used are put back
// as they were found.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/ObjectId.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "world/City.h"
#include "world/Province.h"

namespace test {

class UnitMovementTest : public ::testing::Test {
protected:
    static constexpr int32_t kPlayer = 1;
    static constexpr int32_t kNeutral = 2;
    static constexpr int32_t kPirates = 96;

    void SetUp() override {
        InitIdRegistries(g_nullId);
        for (int32_t n : {kPlayer, kNeutral, kPirates})
            AddCountry(std::make_unique<CCountry>(n));
    }
    void TearDown() override {
        DeleteAllCountries();
        for (int32_t id : m_used) {
            CProvince& p = *GetProvince(id);
            p.ResetForGame();
            p.ClearNeighbours();
            p.discoveredBy = {};
            p.discovered = 0;
            p.terrain = p.climate = p.area = p.region = p.portSeaZone = 0;
            p.winter = p.blockaded = p.coastal = p.coastalSeaZone = 0;
        }
        CUnit::s_coastalDiscoveryFailures = 0;
        FreeIdRegistries();
    }

    static CCountry& Country(int32_t n) { return *CountryOfNumber(n); }

    // A province of the kind (0 plains ... 5 sea), known to the player.
    CProvince& Province(int32_t id, int32_t terrain, bool discovered = true) {
        m_used.push_back(id);
        CProvince& p = *GetProvince(id);
        p.terrain = terrain;
        p.discoveredBy[kPlayer] = discovered ? 1 : 0;
        p.discovered = discovered ? 1 : 0;
        return p;
    }
    static void Link(CProvince& a, CProvince& b) {
        a.AddNeighbour({b.GetNumber(), 0, 0});
        b.AddNeighbour({a.GetNumber(), 0, 0});
    }
    static void Own(CProvince& p, int32_t country) {
        p.SetOwner(&Country(country));
        p.SetControllerField(&Country(country));
    }
    // A city of the fortress level; with a sea zone, its port opens on it.
    static void Fortify(CProvince& p, float level, int32_t seaZone = 0) {
        p.portSeaZone = seaZone;
        p.SetCity(std::make_unique<CCity>());
        p.GetCity()->SetLocation(p.GetNumber());
        p.GetCity()->GetFortress().level = level;
    }

    template <class T>
    static T& Unit(int32_t province, std::initializer_list<float> strengths,
                   int32_t country = kPlayer) {
        CCountry& owner = Country(country);
        auto* unit = new T(&owner);
        unit->AssignNewId();
        unit->SetLocation(province);
        int index = 0;
        for (float s : strengths)
            unit->SetStrength(index++, s);
        owner.AddUnit(unit);
        return *unit;
    }
    // Artillery, cavalry, infantry.
    static CLandUnit& Army(int32_t province, float infantry, float cavalry = 0.0f,
                           float artillery = 0.0f, int32_t country = kPlayer) {
        return Unit<CLandUnit>(province, {artillery, cavalry, infantry}, country);
    }
    static CNavalUnit& Fleet(int32_t province, float warships, float galleys = 0.0f,
                             float transports = 0.0f, int32_t country = kPlayer) {
        return Unit<CNavalUnit>(province, {warships, galleys, transports}, country);
    }
    CLeader& Leader(int32_t category, int32_t manoeuvre, int32_t rank = 1) {
        m_leaders.push_back(std::make_unique<CLeader>());
        CLeader& leader = *m_leaders.back();
        leader.category = category;
        leader.manoeuvre = manoeuvre;
        leader.rank = rank;
        return leader;
    }
    // Gives the unit the path (none for an empty list).
    static void GivePath(CUnit& unit, std::initializer_list<int32_t> ids) {
        CIntList path;
        for (int32_t id : ids)
            path.AddTail(id);
        unit.SetPath(1, path);
    }

private:
    std::vector<int32_t> m_used;
    // The units take them by pointer; the countries' units go first.
    std::vector<std::unique_ptr<CLeader>> m_leaders;
};

} // namespace test
