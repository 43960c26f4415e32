#include "world/PathSearch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "engine/CriticalError.h"

CPathHeap g_pathHeap(kPathHeapCapacity);
std::array<double, kTerrainTypeCount> g_terrainCosts{};
PathSearchHooks g_pathSearchHooks;

// ---------------------------------------------------------------------------
// CPtrArray

CPtrArray::CPtrArray(int32_t capacity)
    : m_items(static_cast<size_t>(std::max<int32_t>(capacity, 0)) + 1, nullptr),
      m_capacity(std::max<int32_t>(capacity, 0)) {}

bool CPtrArray::IsBefore(const void*, const void*) const {
    return false;
}

void* CPtrArray::Get(int32_t slot) const {
    if (slot < 1 || slot > m_count)
        return nullptr;
    return m_items[static_cast<size_t>(slot)];
}

bool CPtrArray::Push(void* item) {
    if (m_count >= m_capacity)
        return false;
    size_t i = static_cast<size_t>(++m_count);
    while (i > 1 && IsBefore(item, m_items[i / 2])) {
        m_items[i] = m_items[i / 2];
        i /= 2;
    }
    m_items[i] = item;
    return true;
}

void* CPtrArray::PopFront() {
    if (m_count <= 0)
        return nullptr;
    void* front = m_items[1];
    void* last = m_items[static_cast<size_t>(m_count)];
    m_items[static_cast<size_t>(m_count)] = nullptr;
    const size_t count = static_cast<size_t>(--m_count);
    if (count == 0)
        return front;
    size_t i = 1;
    for (;;) {
        size_t child = 2 * i;
        if (child > count)
            break;
        if (child + 1 <= count && IsBefore(m_items[child + 1], m_items[child]))
            ++child;
        if (IsBefore(last, m_items[child]))
            break;
        m_items[i] = m_items[child];
        i = child;
    }
    m_items[i] = last;
    return front;
}

bool CPathHeap::IsBefore(const void* a, const void* b) const {
    return static_cast<const CProvince*>(a)->searchEstimate <
           static_cast<const CProvince*>(b)->searchEstimate;
}

void SetTerrainCosts(const std::array<double, kTerrainTypeCount>& costs) {
    g_terrainCosts = costs;
}

// ---------------------------------------------------------------------------
// Queries through the hooks

namespace {

constexpr int32_t kSeaType = kFirstSeaProvinceType; // 5: the sea
constexpr int32_t kMapWrapWidth = 18944;
constexpr int32_t kMaxCountries = 99;
constexpr float kAiSeaFactor = 0.6666667f;

bool IsWater(const CProvince& p) {
    return p.terrain >= kFirstSeaProvinceType;
}
bool IsSeaZone(const CProvince& p) {
    return p.terrain == kSeaType;
}
bool IsNoProvince(const CProvince& p) {
    return p.GetNumber() == 0;
}
bool SameProvince(const CProvince& a, const CProvince& b) {
    return a.GetNumber() == b.GetNumber();
}

bool IsDiscoveredBy(const CProvince& p, int32_t country) {
    return country >= 0 && country < kMaxCountries &&
           p.discoveredBy[static_cast<size_t>(country)] != 0;
}

int32_t UnitCountry(const CUnit* unit) {
    return unit && g_pathSearchHooks.unitCountry ? g_pathSearchHooks.unitCountry(*unit) : -1;
}
bool UnitIsFleet(const CUnit& unit) {
    return g_pathSearchHooks.unitIsFleet && g_pathSearchHooks.unitIsFleet(unit);
}
float UnitSpeed(const CUnit& unit) {
    return g_pathSearchHooks.unitSpeed ? g_pathSearchHooks.unitSpeed(unit) : 1.0f;
}
float UnitCostFactor(const CUnit& unit) {
    return g_pathSearchHooks.unitPathCostFactor ? g_pathSearchHooks.unitPathCostFactor(unit) : 1.0f;
}
bool UnitCanEnter(const CUnit* unit, const CProvince& p) {
    return !unit || !g_pathSearchHooks.unitCanEnter || g_pathSearchHooks.unitCanEnter(*unit, p);
}
bool UnitCanExplore(const CUnit* unit) {
    return unit && g_pathSearchHooks.unitCanExplore && g_pathSearchHooks.unitCanExplore(*unit);
}
bool UnitTrespassing(const CUnit* unit) {
    return unit && g_pathSearchHooks.unitTrespassing && g_pathSearchHooks.unitTrespassing(*unit);
}
bool HasEnemyUnit(const CProvince& p, int32_t country) {
    return g_pathSearchHooks.provinceHasEnemyUnit &&
           g_pathSearchHooks.provinceHasEnemyUnit(p, country);
}
int32_t SymbolLevel(const CProvince& p) {
    return g_pathSearchHooks.provinceSymbolLevel ? g_pathSearchHooks.provinceSymbolLevel(p) : 0;
}
bool HasFortress(const CProvince& p) {
    return g_pathSearchHooks.provinceHasFortress && g_pathSearchHooks.provinceHasFortress(p);
}
// The fortress of `port` opens on the sea zone `sea`.
bool FortressOpensOn(const CProvince& port, const CProvince& sea) {
    return HasFortress(port) && g_pathSearchHooks.fortressSeaZone &&
           g_pathSearchHooks.fortressSeaZone(port) == sea.GetNumber();
}
bool UnderSiege(const CProvince& p) {
    return g_pathSearchHooks.provinceUnderSiege && g_pathSearchHooks.provinceUnderSiege(p);
}
bool CountryMayEnter(int32_t country, const CProvince& p) {
    return !g_pathSearchHooks.countryMayEnter || g_pathSearchHooks.countryMayEnter(country, p);
}
// The province has a controller hostile to the country.
bool HasHostileController(const CProvince& p, int32_t country) {
    const int32_t controller = p.GetControllerNumber();
    return controller >= 0 && g_pathSearchHooks.countryIsHostileTo &&
           g_pathSearchHooks.countryIsHostileTo(country, controller);
}
bool GrantsAccess(int32_t country, int32_t other) {
    if (country < 0)
        return false;
    if (!g_pathSearchHooks.countryGrantsAccess)
        return country == other;
    return g_pathSearchHooks.countryGrantsAccess(country, other);
}

// The cost of the province's type; `floor` and below count as 1.0.
double TerrainCost(const CProvince& p, double floor) {
    if (p.terrain < 0 || p.terrain >= kTerrainTypeCount)
        return 1.0;
    const double cost = g_terrainCosts[static_cast<size_t>(p.terrain)];
    return cost <= floor || !std::isfinite(cost) ? 1.0 : cost;
}

// Both are the same province or neither is a province: no search.
bool DifferentProvinces(const CProvince& start, const CProvince& goal) {
    return !SameProvince(start, goal) && !IsNoProvince(start) && !IsNoProvince(goal);
}

// The part of every enter rule that comes first: never back to where the
// route came from, never into no province.
bool NotBackNorNowhere(const CProvince& from, const CProvince& to) {
    return from.searchParent != &to && !IsNoProvince(to);
}

} // namespace

float BasePathStepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                       const ProvinceNeighbour& link) {
    double c = TerrainCost(to, 0.00001);
    if (link.kind == kProvinceLinkStrait)
        c += 0.5;
    if (from.IsWinter())
        c += 0.5;
    if (to.IsWinter())
        c += 0.5;
    if (unit && !IsDiscoveredBy(to, UnitCountry(unit)))
        c *= UnitCostFactor(*unit);
    return static_cast<float>(c);
}

float PathDistanceEstimate(const CProvince& province, const CProvince& goal) {
    MapPoint from;
    MapPoint to;
    GetProvinceCentre(from, province.GetNumber());
    GetProvinceCentre(to, goal.GetNumber());
    double x = from.x;
    const int64_t dx = int64_t{to.x} - from.x;
    if (dx >= 9473)
        x += kMapWrapWidth;
    else if (dx < -9472)
        x -= kMapWrapWidth;
    const double ddx = to.x - x;
    const double ddy = static_cast<double>(to.y) - from.y;
    const double distance = std::sqrt(ddx * ddx + ddy * ddy);
    return static_cast<float>(distance * (IsWater(province) ? 0.002 : 0.012));
}

// ---------------------------------------------------------------------------
// The strategies

bool CPathList::Compare(CProvince* const& a, CProvince* const& b) const {
    if (!a || !b)
        return a == b;
    return a->GetNumber() == b->GetNumber();
}

bool CPathList::IsGoal(const CUnit*, const CProvince& goal, const CProvince& province) {
    return SameProvince(goal, province);
}

float CPathList::Estimate(const CUnit*, const CProvince& province, const CProvince& goal) {
    return PathDistanceEstimate(province, goal);
}

void CPathList::Visit(CProvince&) {}

std::vector<int32_t> CPathList::GetIds() const {
    std::vector<int32_t> ids;
    CListPosition node = nullptr;
    GetHeadPosition(node);
    for (; node; MoveNext(node))
        if (!node->removed && node->item)
            ids.push_back(node->item->GetNumber());
    return ids;
}

bool CRouteBasePath::Begin(const CUnit*, const CProvince& start, const CProvince& goal) {
    return DifferentProvinces(start, goal);
}

bool CRouteBasePath::CanEnter(const CUnit*, const CProvince&, const CProvince& from,
                              const CProvince& to, const ProvinceNeighbour&) {
    return NotBackNorNowhere(from, to);
}

float CRouteBasePath::StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                               const ProvinceNeighbour& link) {
    return BasePathStepCost(unit, from, to, link);
}

bool CKnownRoutePath::Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) {
    return CRouteBasePath::Begin(unit, start, goal) && IsDiscoveredBy(goal, country);
}

bool CKnownRoutePath::CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                               const CProvince& to, const ProvinceNeighbour& link) {
    return CRouteBasePath::CanEnter(unit, goal, from, to, link) && IsDiscoveredBy(to, country);
}

float CKnownRoutePath::StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                                const ProvinceNeighbour& link) {
    const float c = BasePathStepCost(unit, from, to, link);
    return IsWater(from) && IsWater(to) ? c : c * 10.0f;
}

bool CArmyPath::Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) {
    if (!DifferentProvinces(start, goal))
        return false;
    // A coastal sea zone is a goal too: the army boards a fleet there.
    if (goal.coastal || goal.coastalSeaZone)
        return true;
    if (IsWater(goal))
        return false;
    if (!IsDiscoveredBy(goal, UnitCountry(unit)))
        return true;
    return UnitCanEnter(unit, goal);
}

bool CArmyPath::CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                         const CProvince& to, const ProvinceNeighbour&) {
    if (!NotBackNorNowhere(from, to))
        return false;
    if (SameProvince(to, goal))
        return true;
    if (IsWater(to))
        return false;
    if (!IsDiscoveredBy(to, UnitCountry(unit)))
        return true;
    return UnitCanEnter(unit, to);
}

float CArmyPath::StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                          const ProvinceNeighbour& link) {
    float c = BasePathStepCost(unit, from, to, link);
    if (HasEnemyUnit(to, UnitCountry(unit)) || SymbolLevel(to) >= 1)
        c += 3.0f;
    return c;
}

bool CFleetPath::Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) {
    return DifferentProvinces(start, goal) && UnitCanEnter(unit, goal);
}

bool CFleetPath::CanEnter(const CUnit* unit, const CProvince&, const CProvince& from,
                          const CProvince& to, const ProvinceNeighbour&) {
    if (!NotBackNorNowhere(from, to))
        return false;
    if (HasFortress(from) && HasFortress(to))
        return false;
    if (!UnitCanEnter(unit, to))
        return false;
    if (IsSeaZone(from) && IsSeaZone(to))
        return true;
    return FortressOpensOn(from, to) || FortressOpensOn(to, from);
}

float CFleetPath::StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                           const ProvinceNeighbour& link) {
    const float c = BasePathStepCost(unit, from, to, link);
    if (HasEnemyUnit(to, UnitCountry(unit)))
        return c + 3.0f;
    return to.coastal ? c : c + 1.0f;
}

bool CAIArmyPlanPath::Begin(const CUnit* unit, const CProvince& start, const CProvince& goal) {
    if (!DifferentProvinces(start, goal) || IsWater(goal))
        return false;
    const int32_t country = UnitCountry(unit);
    if (!IsDiscoveredBy(goal, country) && !UnitCanExplore(unit))
        return false;
    return CountryMayEnter(country, goal);
}

bool CAIArmyPlanPath::CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                               const CProvince& to, const ProvinceNeighbour&) {
    if (!NotBackNorNowhere(from, to) || to.area == kLakeArea)
        return false;
    if (SameProvince(to, goal))
        return true;
    if (!IsDiscoveredBy(to, UnitCountry(unit)) && (IsWater(to) || !UnitCanExplore(unit)))
        return false;
    if (from.searchMark && !IsWater(from) && to.area == kSeaArea)
        return false;
    if (!UnitCanEnter(unit, to))
        return false;
    if (HasEnemyUnit(to, UnitCountry(unit)))
        return false;
    return SymbolLevel(to) < 1;
}

float CAIArmyPlanPath::StepCost(const CUnit* unit, const CProvince& from, const CProvince& to,
                                const ProvinceNeighbour& link) {
    const float c = BasePathStepCost(unit, from, to, link);
    if (IsSeaZone(to))
        return c * kAiSeaFactor;
    if (HasHostileController(to, UnitCountry(unit)))
        return c * 3.0f;
    return c;
}

float CAIArmyPlanPath::Estimate(const CUnit* unit, const CProvince& province,
                                const CProvince& goal) {
    const float h = PathDistanceEstimate(province, goal);
    if (IsSeaZone(province))
        return h * kAiSeaFactor;
    if (province.searchMark || IsWater(province))
        return h;
    return HasHostileController(province, UnitCountry(unit)) ? h * 5.0f : h * 0.1f;
}

void CAIArmyPlanPath::Visit(CProvince& province) {
    if (province.area == kSeaArea || (province.searchParent && province.searchParent->searchMark))
        province.searchMark = 1;
}

bool CAIFleetPath::CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                            const CProvince& to, const ProvinceNeighbour& link) {
    return CFleetPath::CanEnter(unit, goal, from, to, link) &&
           (SameProvince(to, goal) || !HasEnemyUnit(to, UnitCountry(unit)));
}

bool CAIArmyPath::CanEnter(const CUnit* unit, const CProvince& goal, const CProvince& from,
                           const CProvince& to, const ProvinceNeighbour&) {
    if (!NotBackNorNowhere(from, to))
        return false;
    const bool isGoal = SameProvince(to, goal);
    if (!isGoal) {
        if (IsWater(to))
            return false;
        if (IsDiscoveredBy(to, UnitCountry(unit)) && !UnitCanEnter(unit, to))
            return false;
    }
    if (isGoal || UnitTrespassing(unit))
        return true;
    if (HasEnemyUnit(to, UnitCountry(unit)))
        return false;
    return SymbolLevel(to) < 1;
}

// ---------------------------------------------------------------------------
// The search

namespace {

// Whether each province record has been reached by the running search, and
// the records reached, in order, so that exactly those are cleared. A
// separate mark (rather than searchEstimate above 0.0001) keeps a province
// reached at no cost from counting as new again, which would let parent
// links run in a circle.
std::array<uint8_t, kProvinceSlots> g_reached{};
std::array<CProvince*, kProvinceSlots> g_touched{};
size_t g_touchedCount = 0;
bool g_searching = false;

bool IsRecord(const CProvince& p) {
    const int32_t n = p.GetNumber();
    return n >= 0 && n < kProvinceSlots && &g_provinces[static_cast<size_t>(n)] == &p;
}

void MarkReached(CProvince& p) {
    const size_t n = static_cast<size_t>(p.GetNumber());
    if (g_reached[n])
        return;
    g_reached[n] = 1;
    g_touched[g_touchedCount++] = &p;
}

// Every province reached gets its five search fields cleared; the open set
// is emptied.
void ClearSearch() {
    for (size_t i = 0; i < g_touchedCount; ++i) {
        CProvince& p = *g_touched[i];
        p.searchParent = nullptr;
        p.searchCost = 0.0f;
        p.searchEstimate = 0.0f;
        p.searchOpen = 0;
        p.searchMark = 0;
        g_reached[static_cast<size_t>(p.GetNumber())] = 0;
        g_touched[i] = nullptr;
    }
    g_touchedCount = 0;
    g_pathHeap.SetCount(0);
}

bool OpenProvince(CProvince& p) {
    if (!g_pathHeap.Push(&p)) {
        DebugPrint("FindPath: open set full\n");
        return false;
    }
    p.searchOpen = 1;
    return true;
}

} // namespace

static bool SearchPath(CPathList& strategy, const CUnit* unit, CProvince& start, CProvince& goal) {
    strategy.RemoveAll();
    if (g_searching) {
        DebugPrint("FindPath: called during a search\n");
        return false;
    }
    if (!IsRecord(start) || !IsRecord(goal))
        return false;
    if (!strategy.Begin(unit, start, goal))
        return false;
    g_searching = true;

    MarkReached(start);
    start.searchParent = nullptr;
    strategy.Visit(start);
    start.searchCost = 0.0f;
    start.searchEstimate = strategy.Estimate(unit, start, goal);
    bool found = false;
    bool open = OpenProvince(start);
    while (open && g_pathHeap.GetCount() > 0) {
        CProvince& current = *static_cast<CProvince*>(g_pathHeap.PopFront());
        current.searchOpen = 0;
        if (strategy.IsGoal(unit, goal, current)) {
            found = true;
            break;
        }
        const int32_t links =
            std::clamp<int32_t>(current.neighbourCount, 0, current.GetNeighbourTotal());
        for (int32_t i = 0; i < links && open; ++i) {
            const ProvinceNeighbour link = current.neighbours[static_cast<size_t>(i)];
            CProvince* to = GetProvince(link.id);
            if (!to || !strategy.CanEnter(unit, goal, current, *to, link))
                continue;
            float step = strategy.StepCost(unit, current, *to, link);
            if (!(step >= 0.0f)) // a negative or undefined cost would let routes run in circles
                step = 0.0f;
            const float cost = step + current.searchCost;
            const bool reached = g_reached[static_cast<size_t>(to->GetNumber())] != 0;
            if (reached && !(to->searchCost > cost))
                continue;
            MarkReached(*to);
            to->searchParent = &current;
            strategy.Visit(*to);
            to->searchCost = cost;
            to->searchEstimate = cost + strategy.Estimate(unit, *to, goal);
            if (!to->searchOpen)
                open = OpenProvince(*to);
        }
    }

    if (found) {
        // From the goal back along the parents; the start has none. The
        // walk is bounded by the number of records.
        int32_t steps = 0;
        for (CProvince* p = &goal; p && p->searchParent && steps < kProvinceSlots;
             p = p->searchParent, ++steps)
            strategy.AddHead(p);
    }
    ClearSearch();
    g_searching = false;
    return found;
}

int32_t UnitStepDays(const CUnit& unit, const CProvince& from, const CProvince& to) {
    const ProvinceNeighbour* link = nullptr;
    const int32_t links = std::clamp<int32_t>(from.neighbourCount, 0, from.GetNeighbourTotal());
    for (int32_t i = 0; i < links && !link; ++i)
        if (from.neighbours[static_cast<size_t>(i)].id == to.GetNumber())
            link = &from.neighbours[static_cast<size_t>(i)];
    if (!link)
        return 30;
    const double speed = UnitSpeed(unit);
    if (!(speed > 0.0) || !std::isfinite(speed)) {
        DebugPrint("UnitStepDays: a unit without a positive speed\n");
        return 30;
    }
    // Days beyond the integer range are held to it.
    const auto days = [](double value) {
        if (!(value > 0.0))
            return int32_t{0};
        if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
            return std::numeric_limits<int32_t>::max();
        return static_cast<int32_t>(value);
    };
    const bool fleet = UnitIsFleet(unit);
    if (fleet && IsSeaZone(from) != IsSeaZone(to))
        return days(15.0 / speed);

    double c = TerrainCost(to, 0.0001);
    if (link->kind == kProvinceLinkStrait)
        c += 0.5;
    if (to.continent == 5 || to.region == 0)
        c *= 2.0;
    const int32_t country = UnitCountry(&unit);
    if (!IsDiscoveredBy(to, country))
        c *= UnitCostFactor(unit);
    if (!fleet && IsWater(from) != IsWater(to)) {
        const CProvince* port = HasFortress(from) ? &from : (HasFortress(to) ? &to : nullptr);
        if (port && GrantsAccess(port->GetControllerNumber(), country) && !UnderSiege(*port))
            c *= 0.5;
    }
    return days(c * 30.0 / speed);
}

PathSearchFigures g_pathSearchFigures;

bool FindPath(CPathList& strategy, const CUnit* unit, CProvince& start, CProvince& goal) {
    const auto began = std::chrono::steady_clock::now();
    const bool found = SearchPath(strategy, unit, start, goal);
    ++g_pathSearchFigures.searches;
    g_pathSearchFigures.nanoseconds +=
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now() - began)
                                  .count());
    return found;
}
