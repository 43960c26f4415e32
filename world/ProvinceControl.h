#pragma once
// Who owns and who controls a province, and what follows from a change: the
// countries' province and settlement lists, the territories, the blockade and
// the supply; the conquering country's control-change request; abandoning a
// province; discovery by a country; and the combats going on in a province.
// The operations are CProvince's (world/Province.h); what they ask of the
// countries, the units, the combats and the computer player, which lie above
// the world, goes through the hooks below.
#include <cstdint>
#include <memory>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"

class CCity;
class CCountry;
class CProvince;
class CTradingPost;

// The kinds of combat a province starts: a field battle, a naval battle and
// the three kinds of siege (cover, siege, assault).
constexpr int32_t kCombatLand = 1;
constexpr int32_t kCombatNaval = 2;
constexpr int32_t kCombatSiegeCover = 3;
constexpr int32_t kCombatSiegeSiege = 4;
constexpr int32_t kCombatSiegeAssault = 5;
constexpr bool IsSiegeCombatKind(int32_t kind) {
    return kind >= kCombatSiegeCover && kind <= kCombatSiegeAssault;
}

// What the province keeps of a combat going on in it: its kind and its start
// date. The combat rules (military/) make their combats from this base; the
// object is registered under its id while it lives.
class CProvinceCombat : public CIdObject {
public:
    CProvinceCombat(int32_t kind, int32_t argument) : m_kind(kind), m_argument(argument) {}
    ~CProvinceCombat() override = default;

    int32_t GetKind() const { return m_kind; }
    int32_t GetArgument() const { return m_argument; }
    CDate startDate;

protected:
    // A siege changes its kind as it goes from cover to siege to assault.
    void SetKind(int32_t kind) { m_kind = kind; }

private:
    int32_t m_kind;
    int32_t m_argument;
};

// The combats going on in one province; the list owns them. Sieges stand at
// the tail, other combats are put at the head.
class CCombatList {
public:
    void AddHead(std::unique_ptr<CProvinceCombat> combat);
    void AddTail(std::unique_ptr<CProvinceCombat> combat);
    // The combat registered under the id, null when the list has none.
    CProvinceCombat* Find(const ObjectId& id) const;
    // Deletes the combat of the id; false when the list has none.
    bool Remove(const ObjectId& id);
    bool IsEmpty() const { return m_items.empty(); }
    size_t GetCount() const { return m_items.size(); }
    CProvinceCombat* At(size_t index) const { return m_items.at(index).get(); }

private:
    std::vector<std::unique_ptr<CProvinceCombat>> m_items;
};

// The province kind discovered together with the province that links to it.
constexpr int32_t kLinkedDiscoveryTerrain = 6;

// Recomputes the supply of every province the country owns and controls
// (world/ProvinceSupply.cpp): the levels of its controlled provinces are
// cleared first.
void UpdateCountrySupply(CCountry& country);

// The notices to the computer player about provinces (NotifyProvinceAI).
constexpr int32_t kAINoticeDiscovery = 16;
constexpr int32_t kAINoticeOwnerChange = 22;
constexpr int32_t kAINoticeAbandoned = 23;

// Filled once by the layers that know the answers, by a static registration
// in their own file. A null entry answers as noted: as a game without that
// layer.
struct ProvinceControlHooks {
    // --- countries (country/) ---
    // The standing of one country number toward another (null: not
    // hostile, not allied, not on the same side; access only to itself).
    bool (*isHostileTo)(int32_t country, int32_t other) = nullptr;
    bool (*hasAccessTo)(int32_t country, int32_t other) = nullptr;
    bool (*isAlliedWith)(int32_t country, int32_t other) = nullptr;
    bool (*isCobelligerentWith)(int32_t country, int32_t other) = nullptr;
    // The demarcation treaty bars the country from the province (null: no).
    bool (*isBarredByDemarcation)(int32_t country, int32_t province) = nullptr;
    // The land and naval technology levels (null: 0).
    int32_t (*landLevelOf)(int32_t country) = nullptr;
    int32_t (*navalLevelOf)(int32_t country) = nullptr;
    // The country's list of known province ids (null: none).
    CIntList* (*knownProvinces)(CCountry& country) = nullptr;
    // The settlement joins the country's city or trading-post list unless
    // there (null: nothing).
    void (*joinCity)(CCountry& country, CCity* city) = nullptr;
    void (*joinTradingPost)(CCountry& country, CTradingPost* post) = nullptr;
    // The country chooses its capital again (null: nothing).
    void (*recomputeCapital)(CCountry& country) = nullptr;
    // Adds to the deathmatch counter of owned provinces (null: nothing).
    void (*addOwnedCount)(CCountry& country, int32_t delta) = nullptr;

    // --- units and combats (military/) ---
    // Refreshes the trespass flags of the units in the province (null:
    // nothing).
    void (*updateTrespassFlags)(CProvince& province) = nullptr;
    // Moves every fleet in the province's port to the port's sea zone and
    // out of the port (null: no fleets).
    void (*moveFleetsOutOfPort)(CProvince& province) = nullptr;
    // Makes a combat of the kind (1..5) for the province (null: a plain
    // record of the kind).
    std::unique_ptr<CProvinceCombat> (*makeCombat)(CProvince& province, int32_t kind,
                                                   int32_t argument) = nullptr;
    // The country number of the commander of the siege of the province's
    // city; -1 without a siege or without a commander (null: -1).
    int32_t (*siegeCommanderCountry)(const CProvince& province) = nullptr;

    // --- the computer player (host only) ---
    // Tells the listeners of the kind about the province and the country
    // concerned: the old owner (kinds 22 and 23), the discoverer (kind 16)
    // (null: nobody).
    void (*notifyAI)(int32_t kind, CCountry* country, CProvince& province) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern ProvinceControlHooks g_provinceControl;
