#pragma once
// Path search over the province graph. Every route on the map comes from
// one best-first search, FindPath, which asks a strategy object what may be
// entered, what a step costs and how far the goal still is; the strategy is
// also the list that receives the found route. Beside it, the number of days
// a unit takes for one step between neighbouring provinces.
//
// The search keeps its state in the provinces' search fields (searchParent,
// searchCost, searchEstimate, searchOpen, searchMark) and in the one open
// set g_pathHeap; all of it is zero/empty between searches, so searches
// never nest or overlap (a nested call is refused).
#include <array>
#include <cstdint>
#include <vector>

#include "engine/LinkedList.h"
#include "world/Province.h"

class CUnit; // an army or fleet (military); the world only hands it on

// ---------------------------------------------------------------------------
// The open set: an array of pointers used as a min-heap in slots
// 1..count (slot 0 stays empty). The only virtual operation is the element
// order.
class CPtrArray {
public:
    // Room for capacity items (capacity + 1 slots); count 0.
    explicit CPtrArray(int32_t capacity);
    virtual ~CPtrArray() = default;
    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;

    // Whether a goes before b in the heap; the plain array orders nothing.
    virtual bool IsBefore(const void* a, const void* b) const;

    int32_t GetCount() const { return m_count; }
    int32_t GetCapacity() const { return m_capacity; }
    // Forgets the items from slot count + 1 on (a count above the present
    // one changes nothing).
    void SetCount(int32_t count) { m_count = count < 0 ? 0 : (count < m_count ? count : m_count); }
    // Slot i (1..count); null outside.
    void* Get(int32_t slot) const;

    // Puts the item at the new last slot and moves it up while it goes
    // strictly before its parent slot (i / 2). False when full.
    bool Push(void* item);
    // Takes slot 1 out: the last item moves into the gap and goes down
    // while a child goes before it (the right child is taken only when it
    // goes strictly before the left one). Null when empty.
    void* PopFront();

private:
    std::vector<void*> m_items;
    int32_t m_count = 0;
    int32_t m_capacity = 0;
};

// The heap of the path search: provinces ordered by searchEstimate, the
// strictly smaller first.
class CPathHeap : public CPtrArray {
public:
    explicit CPathHeap(int32_t capacity) : CPtrArray(capacity) {}
    bool IsBefore(const void* a, const void* b) const override;
};

// Room for every province id 1..1472 and one more.
constexpr int32_t kPathHeapCapacity = 1473;
extern CPathHeap g_pathHeap;

// ---------------------------------------------------------------------------
// The movement cost of each province type (terrain 0..9), read from the
// terrain types table by its loader (military). A value of 0.00001 or less
// counts as 1.0 in the search, 0.0001 or less in the step time; a type
// outside the table counts as 1.0.
constexpr int32_t kTerrainTypeCount = 10;
extern std::array<double, kTerrainTypeCount> g_terrainCosts;
void SetTerrainCosts(const std::array<double, kTerrainTypeCount>& costs);

// ---------------------------------------------------------------------------
// What the search asks of units, countries and the parts of a province the
// world does not hold itself. The military fills the entries once, by a
// static registration; a null entry answers as a game without that layer
// (the answers are given per entry). The search calls an entry with a unit
// only when it has one.
struct PathSearchHooks {
    // The unit's owner country number (-1 without one; null: -1).
    int32_t (*unitCountry)(const CUnit& unit) = nullptr;
    // A fleet (null: an army).
    bool (*unitIsFleet)(const CUnit& unit) = nullptr;
    // The unit's speed (null: 1.0).
    float (*unitSpeed)(const CUnit& unit) = nullptr;
    // CUnit::GetPathCostFactor, the factor of an undiscovered province
    // (null: 1.0).
    float (*unitPathCostFactor)(const CUnit& unit) = nullptr;
    // CUnit::CanEnterProvince (null: true).
    bool (*unitCanEnter)(const CUnit& unit, const CProvince& province) = nullptr;
    // CUnit::CanExplore (null: false).
    bool (*unitCanExplore)(const CUnit& unit) = nullptr;
    // The unit's trespass flag (null: false).
    bool (*unitTrespassing)(const CUnit& unit) = nullptr;

    // CProvince::HasEnemyUnit: a unit of a country hostile to the country
    // stands there (null: false).
    bool (*provinceHasEnemyUnit)(const CProvince& province, int32_t country) = nullptr;
    // The level of the province's map symbol, 0 when none (null: 0).
    int32_t (*provinceSymbolLevel)(const CProvince& province) = nullptr;
    // The province has a fortress (null: false), and the sea zone its
    // fortress opens on (0: none; null: 0).
    bool (*provinceHasFortress)(const CProvince& province) = nullptr;
    int32_t (*fortressSeaZone)(const CProvince& province) = nullptr;
    // CProvince::IsUnderSiege (null: false).
    bool (*provinceUnderSiege)(const CProvince& province) = nullptr;

    // CCountry::MayEnterProvince (null: true).
    bool (*countryMayEnter)(int32_t country, const CProvince& province) = nullptr;
    // CCountry::IsHostileTo: country is hostile to other (null: false).
    bool (*countryIsHostileTo)(int32_t country, int32_t other) = nullptr;
    // CCountry::HasAccessTo: the country grants other access (null: only
    // to itself).
    bool (*countryGrantsAccess)(int32_t country, int32_t other) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern PathSearchHooks g_pathSearchHooks;

// ---------------------------------------------------------------------------
// A strategy: the list that receives the route, with the rules of one kind
// of traveller. The context is the moving unit or null.
class CPathList : public CLinkedList<CProvince> {
public:
    ~CPathList() override = default;

    // Provinces match by id.
    bool Compare(CProvince* const& a, CProvince* const& b) const override;

    // May a search start at all.
    virtual bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) = 0;
    // May the route step from `from` into its neighbour `to` over the link.
    virtual bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                          const CProvince& to, const ProvinceNeighbour& link) = 0;
    // Has the route arrived (the ids are the same).
    virtual bool IsGoal(const CUnit* unit, const CProvince& goal, const CProvince& province);
    virtual float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                           const ProvinceNeighbour& link) = 0;
    // The remaining cost guessed (the distance estimate).
    virtual float Estimate(const CUnit* unit, const CProvince& province, const CProvince& goal);
    // Told when a province gets a new searchParent, and for the start.
    virtual void Visit(CProvince& province);

    // The provinces of the route, first after the start to the goal.
    std::vector<int32_t> GetIds() const;
};

// The common base of the two route strategies of travellers: any two
// different provinces; the base cost.
class CRouteBasePath : public CPathList {
public:
    bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) override;
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
    float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour& link) override;
};

// Any route: a traveller's second try.
class CAnyRoutePath : public CRouteBasePath {};

// A known route: only provinces the strategy's country has discovered; a
// step is ten times dearer unless both ends are water.
class CKnownRoutePath : public CRouteBasePath {
public:
    explicit CKnownRoutePath(int32_t country = 0) : country(country) {}
    bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) override;
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
    float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour& link) override;

    int32_t country;
};

// An army's route (unit reachability and the unit server).
class CArmyPath : public CPathList {
public:
    bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) override;
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
    float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour& link) override;
};

// A fleet's route: between sea zones, and into a province only where its
// fortress opens on the sea zone.
class CFleetPath : public CPathList {
public:
    bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) override;
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
    float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour& link) override;
};

// The computer player's land planning: carries the search mark along
// routes that went through the sea area.
class CAIArmyPlanPath : public CPathList {
public:
    bool Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) override;
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
    float StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                   const ProvinceNeighbour& link) override;
    float Estimate(const CUnit* unit, const CProvince& province, const CProvince& goal) override;
    void Visit(CProvince& province) override;
};

// The computer player's fleet: as a fleet, avoiding enemy units short of
// the goal.
class CAIFleetPath : public CFleetPath {
public:
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
};

// The computer player's army: as an army, with its own enter rule.
class CAIArmyPath : public CArmyPath {
public:
    bool CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                  const CProvince& to, const ProvinceNeighbour& link) override;
};

// ---------------------------------------------------------------------------
// Searches a route from start to goal (province records); true when one was
// found, which then stands in the strategy's list (the start not included).
// False, with the list empty, when the strategy refuses to begin, the goal
// cannot be reached, or a search is already running. Every search field it
// touched is zero again when it returns.
bool FindPath(CPathList& strategy, const CUnit* unit, CProvince& start, CProvince& goal);

// The searches FindPath has run and the time they took (the long runs'
// figures read them); nothing here resets them.
struct PathSearchFigures {
    uint64_t searches = 0;
    uint64_t nanoseconds = 0;
};
extern PathSearchFigures g_pathSearchFigures;

// The base step cost the strategies share, and the distance estimate.
float BasePathStepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                       const ProvinceNeighbour& link);
float PathDistanceEstimate(const CProvince& province, const CProvince& goal);

// Days the unit takes to step from `from` to `to`: 30 when `to` is not
// among from's leading links.
int32_t UnitStepDays(const CUnit& unit, const CProvince& from, const CProvince& to);
