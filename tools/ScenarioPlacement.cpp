// The placements of the demo scenarios' countries, computed from the world
// map: nothing here knows a province id, a grid row or a column.
#include "tools/ScenarioPlacement.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>

#include "tools/WorldMap.h"

namespace demo {

namespace {

// Land a country may hold: ordinary land, not the linked or waste kinds.
bool Holdable(const WorldProvince& p) {
    return p.kind == ProvinceKind::kLand;
}

int64_t DistanceSquared(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
}

int64_t DistanceSquared(const WorldProvince& a, const WorldProvince& b) {
    return DistanceSquared(a.insideX, a.insideY, b.insideX, b.insideY);
}

// A sea zone a fleet may lie in: the port's zone when it is open sea (a
// port on a lake keeps no fleet of the scenarios).
int32_t FleetZoneOf(const WorldProvince& land) {
    const WorldMap& map = TheWorldMap();
    if (land.portSeaZone <= 0 || land.portSeaZone > kLastProvince)
        return 0;
    return map.Province(land.portSeaZone).kind == ProvinceKind::kSea ? land.portSeaZone : 0;
}

// ---------------------------------------------------------------------------
// The Amber Coast

constexpr size_t kAmberLength = 5;

// Depth-first walk over holdable European land in neighbour (id) order,
// collecting the first simple path of five; with coastOnly every province of
// the path must have a port.
bool ExtendPath(std::vector<int32_t>& path, bool coastOnly) {
    if (path.size() == kAmberLength)
        return true;
    const WorldMap& map = TheWorldMap();
    for (int32_t next : map.Province(path.back()).neighbours) {
        if (next <= 0 || next > kLastProvince)
            continue;
        const WorldProvince& p = map.Province(next);
        if (!Holdable(p) || p.continent != kEurope || (coastOnly && FleetZoneOf(p) == 0))
            continue;
        if (std::find(path.begin(), path.end(), next) != path.end())
            continue;
        path.push_back(next);
        if (ExtendPath(path, coastOnly))
            return true;
        path.pop_back();
    }
    return false;
}

AmberCoastPlace ComputeAmberCoast() {
    const WorldMap& map = TheWorldMap();
    // A stretch of coast where all five have a port, else any five that
    // begin at a port.
    for (bool coastOnly : {true, false}) {
        for (const WorldProvince& p : map.Provinces()) {
            if (!Holdable(p) || p.continent != kEurope || FleetZoneOf(p) == 0)
                continue;
            std::vector<int32_t> path{p.id};
            if (ExtendPath(path, coastOnly))
                return {path, FleetZoneOf(p)};
        }
    }
    return {};
}

// ---------------------------------------------------------------------------
// The known world of 1492

// clang-format off
const NationPlan kNations[] = {
    // Western Europe
    {"POR", 5,  "catholic", "latin", "Portugal", "Lisboa", {kEurope, 0, 0}, 3, 80, 3, true},
    {"SPA", 8,  "catholic", "latin", "Castile", "Toledo", {kEurope, 0, 0}, 15, 82, 6, true},
    {"ENG", 1,  "catholic", "latin", nullptr, "London", {kEurope, 0, 0}, 18, 30, 4, true},
    {"SCO", 52, "catholic", "latin", "Scotland", "Edinburgh", {kEurope, 0, 0}, 15, 10, 2, true},
    {"FRA", 2,  "catholic", "latin", nullptr, "Paris", {kEurope, 0, 0}, 30, 55, 7, true},
    {"BUR", 89, "catholic", "latin", "Burgundy", "Dijon", {kEurope, 0, 0}, 40, 45, 3, false},
    {"KOL", 36, "catholic", "latin", "Cologne", "Koln", {kEurope, 0, 0}, 38, 36, 2, false},
    {"DAN", 25, "catholic", "latin", "Denmark", "Kobenhavn", {kEurope, 0, 0}, 45, 25, 3, true},
    {"SWE", 9,  "catholic", "latin", "Sweden", "Stockholm", {kEurope, 0, 0}, 55, 8, 5, true},
    // Central Europe and Italy
    {"HAB", 3,  "catholic", "latin", nullptr, "Wien", {kEurope, 0, 0}, 58, 55, 5, false},
    {"BAY", 19, "catholic", "latin", "Bavaria", "Munchen", {kEurope, 0, 0}, 48, 52, 2, false},
    {"BOH", 21, "catholic", "latin", "Bohemia", "Praha", {kEurope, 0, 0}, 55, 42, 3, false},
    {"SAV", 51, "catholic", "latin", "Savoy", "Torino", {kEurope, 0, 0}, 40, 65, 2, false},
    {"GEN", 26, "catholic", "latin", "Genoa", "Genova", {kEurope, 0, 0}, 44, 72, 2, true},
    {"VEN", 11, "catholic", "latin", "Venice", "Venezia", {kEurope, 0, 0}, 53, 66, 3, true},
    {"TOS", 57, "catholic", "latin", "Tuscany", "Firenze", {kEurope, 0, 0}, 47, 77, 2, false},
    {"PAP", 46, "catholic", "latin", "Papal States", "Roma", {kEurope, 0, 0}, 51, 82, 2, false},
    {"NAP", 78, "catholic", "latin", "Naples", "Napoli", {kEurope, 0, 0}, 56, 92, 3, true},
    {"KNI", 22, "catholic", "latin", "Knights of Saint John", "Rodos", {kEurope, 0, 0}, 78, 97, 1, true},
    // Eastern Europe
    {"POL", 13, "catholic", "orthodox", "Poland", "Krakow", {kEurope, 0, 0}, 66, 40, 6, false},
    {"HUN", 32, "catholic", "orthodox", "Hungary", "Buda", {kEurope, 0, 0}, 65, 62, 5, false},
    {"RUS", 7,  "orthodox", "orthodox", "Muscovy", "Moskva", {kEurope, 0, 0}, 88, 25, 8, false},
    {"MOL", 42, "orthodox", "orthodox", "Moldavia", "Suceava", {kEurope, 0, 0}, 76, 62, 2, false},
    {"WAL", 60, "orthodox", "orthodox", "Wallachia", "Targoviste", {kEurope, 0, 0}, 72, 73, 2, false},
    {"UKR", 68, "orthodox", "orthodox", "Ruthenia", "Kyiv", {kEurope, 0, 0}, 83, 50, 3, false},
    {"TUR", 10, "sunni", "muslim", "Ottoman Empire", "Istanbul", {kEurope, kAsia, 0}, 86, 86, 7, true},
    {"CRI", 23, "sunni", "muslim", "Crimea", "Bahcesaray", {kEurope, kAsia, 0}, 88, 68, 2, false},
    {"KAZ", 35, "sunni", "muslim", "Kazan", "Qazan", {kEurope, kAsia, 0}, 97, 15, 2, false},
    // North Africa
    {"MOR", 40, "sunni", "muslim", "Morocco", "Fes", {kAfrica, kAsia, kEurope}, 8, 8, 4, true},
    {"ALD", 15, "sunni", "muslim", "Algiers", "Dzayer", {kAfrica, kAsia, kEurope}, 28, 5, 2, true},
    {"TUN", 59, "sunni", "muslim", "Tunis", "Tunis", {kAfrica, kAsia, kEurope}, 45, 5, 2, true},
    {"TRI", 58, "sunni", "muslim", "Tripoli", "Tarabulus", {kAfrica, kAsia, kEurope}, 60, 8, 2, true},
    {"MAM", 39, "sunni", "muslim", "Mamluk Sultanate", "Cairo", {kAfrica, kAsia, kEurope}, 85, 10, 5, true},
    // The Middle East and India
    {"PER", 48, "shiite", "muslim", "Persia", "Tabriz", {kAsia, kEurope, 0}, 14, 40, 6, false},
    {"ARA", 16, "sunni", "muslim", "Arabia", "Makkah", {kAsia, kAfrica, 0}, 6, 68, 3, false},
    {"OMA", 45, "sunni", "muslim", "Oman", "Masqat", {kAsia, kAfrica, 0}, 18, 76, 2, true},
    {"MOG", 64, "sunni", "exotic", "Delhi", "Delhi", {kAsia, 0, 0}, 33, 58, 5, false},
    {"HYD", 33, "sunni", "muslim", "Bahmani", "Bidar", {kAsia, 0, 0}, 34, 78, 3, true},
    {"MYS", 43, "pagan", "muslim", "Vijayanagara", "Hampi", {kAsia, 0, 0}, 36, 92, 2, true},
    // The Far East
    {"CHI", 62, "pagan", "exotic", "Ming Empire", "Beijing", {kAsia, 0, 0}, 75, 42, 8, true},
    {"NIP", 63, "pagan", "exotic", "Japan", "Kyoto", {kAsia, kOceania, 0}, 96, 38, 3, true},
    // Africa south of the desert
    {"SUD", 55, "pagan", "exotic", "Songhai", "Gao", {kAfrica, kAsia, 0}, 30, 35, 4, false},
    {"BAN", 76, "pagan", "exotic", "Benin", "Edo", {kAfrica, kAsia, 0}, 40, 52, 2, true},
    // America
    {"OHI", 44, "pagan", "exotic", "Haudenosaunee", "Onondaga", {kAmerica, 0, 0}, 62, 22, 3, false},
    {"AZT", 65, "pagan", "exotic", "Aztec Empire", "Tenochtitlan", {kAmerica, 0, 0}, 30, 55, 5, false},
    {"INC", 66, "pagan", "exotic", "Inca Empire", "Cusco", {kAmerica, 0, 0}, 55, 85, 6, false},
};
// clang-format on

struct Box {
    int32_t left = std::numeric_limits<int32_t>::max();
    int32_t top = std::numeric_limits<int32_t>::max();
    int32_t right = std::numeric_limits<int32_t>::min();
    int32_t bottom = std::numeric_limits<int32_t>::min();
    bool Empty() const { return left > right; }
};

// The box around the inside points of a continent's holdable land.
Box ContinentBox(int32_t continent) {
    Box box;
    for (const WorldProvince& p : TheWorldMap().Provinces()) {
        if (!Holdable(p) || p.continent != continent)
            continue;
        box.left = std::min(box.left, p.insideX);
        box.right = std::max(box.right, p.insideX);
        box.top = std::min(box.top, p.insideY);
        box.bottom = std::max(box.bottom, p.insideY);
    }
    return box;
}

class Placer {
public:
    Placer() : m_owner(static_cast<size_t>(kLastProvince) + 1, 0) {}

    std::vector<PlacedNation> Place() {
        std::vector<PlacedNation> placed;
        for (const NationPlan& plan : kNations) {
            PlacedNation nation;
            nation.plan = &plan;
            if (const int32_t capital = ChooseCapital(plan)) {
                nation.provinces.push_back(capital);
                m_owner[static_cast<size_t>(capital)] = plan.number;
            }
            placed.push_back(nation);
        }
        // The nations grow in turns, one province each a round, each toward
        // the land nearest its capital.
        for (bool grew = true; grew;) {
            grew = false;
            for (PlacedNation& nation : placed) {
                if (nation.provinces.empty() ||
                    static_cast<int32_t>(nation.provinces.size()) >= nation.plan->size)
                    continue;
                if (const int32_t next = NextProvince(nation)) {
                    nation.provinces.push_back(next);
                    m_owner[static_cast<size_t>(next)] = nation.plan->number;
                    grew = true;
                }
            }
        }
        const WorldMap& map = TheWorldMap();
        for (PlacedNation& nation : placed)
            for (int32_t id : nation.provinces)
                if (!nation.fleetZone)
                    nation.fleetZone = FleetZoneOf(map.Province(id));
        return placed;
    }

    const std::vector<int32_t>& Owners() const { return m_owner; }

private:
    bool Taken(int32_t id) const { return m_owner[static_cast<size_t>(id)] != 0; }

    // Free land with no held land beside it.
    bool HasRoom(const WorldProvince& p) const {
        if (Taken(p.id))
            return false;
        for (int32_t n : p.neighbours)
            if (n > 0 && n <= kLastProvince && Taken(n))
                return false;
        return true;
    }

    // The free province nearest the plan's point in the first continent that
    // has one: with room around it first, a port first for a sea power.
    int32_t ChooseCapital(const NationPlan& plan) const {
        const WorldMap& map = TheWorldMap();
        for (int32_t continent : plan.continents) {
            if (continent == 0)
                continue;
            const Box box = ContinentBox(continent);
            if (box.Empty())
                continue;
            const int64_t x =
                box.left + static_cast<int64_t>(box.right - box.left) * plan.hintX / 100;
            const int64_t y =
                box.top + static_cast<int64_t>(box.bottom - box.top) * plan.hintY / 100;
            for (int pass = 0; pass < 3; ++pass) {
                const bool needRoom = pass < 2;
                const bool needPort = pass == 0 && plan.naval;
                if (pass == 0 && !plan.naval)
                    continue;
                int32_t best = 0;
                int64_t bestDistance = 0;
                for (const WorldProvince& p : map.Provinces()) {
                    if (!Holdable(p) || p.continent != continent || Taken(p.id))
                        continue;
                    if ((needRoom && !HasRoom(p)) || (needPort && FleetZoneOf(p) == 0))
                        continue;
                    const int64_t d = DistanceSquared(p.insideX, p.insideY, x, y);
                    if (best == 0 || d < bestDistance) {
                        best = p.id;
                        bestDistance = d;
                    }
                }
                if (best)
                    return best;
            }
        }
        return 0;
    }

    // The free land of the capital's continent beside the nation that lies
    // nearest its capital.
    int32_t NextProvince(const PlacedNation& nation) const {
        const WorldMap& map = TheWorldMap();
        const WorldProvince& capital = map.Province(nation.Capital());
        int32_t best = 0;
        int64_t bestDistance = 0;
        for (int32_t held : nation.provinces) {
            for (int32_t n : map.Province(held).neighbours) {
                if (n <= 0 || n > kLastProvince || Taken(n))
                    continue;
                const WorldProvince& p = map.Province(n);
                if (!Holdable(p) || p.continent != capital.continent)
                    continue;
                const int64_t d = DistanceSquared(p, capital);
                if (best == 0 || d < bestDistance || (d == bestDistance && n < best)) {
                    best = n;
                    bestDistance = d;
                }
            }
        }
        return best;
    }

    std::vector<int32_t> m_owner;
};

struct WorldPlacementData {
    std::vector<PlacedNation> nations;
    std::vector<int32_t> owners;
};

const WorldPlacementData& World() {
    static const WorldPlacementData data = [] {
        Placer placer;
        WorldPlacementData made;
        made.nations = placer.Place();
        made.owners = placer.Owners();
        return made;
    }();
    return data;
}

} // namespace

const std::vector<NationPlan>& NationPlans() {
    static const std::vector<NationPlan> plans(std::begin(kNations), std::end(kNations));
    return plans;
}

const AmberCoastPlace& AmberCoastPlacement() {
    static const AmberCoastPlace place = ComputeAmberCoast();
    return place;
}

const std::vector<PlacedNation>& WorldPlacement() {
    return World().nations;
}

const PlacedNation* PlacedNationOf(const std::string& tag) {
    for (const PlacedNation& nation : World().nations)
        if (tag == nation.plan->tag)
            return &nation;
    return nullptr;
}

int32_t PlacedOwnerOf(int32_t province) {
    const std::vector<int32_t>& owners = World().owners;
    if (province < 0 || province >= static_cast<int32_t>(owners.size()))
        return 0;
    return owners[static_cast<size_t>(province)];
}

} // namespace demo
