// The full-world scenario "The Known World 1492": every nation of the
// placement (tools/ScenarioPlacement.h) with its provinces, a city in each
// (a fortress at the capital and on the borders, a port on the coasts), an
// army at home, a fleet in the port's sea zone of the sea powers, a few
// monarchs and leaders, some alliances and one war; the pirates with a fleet
// at sea and the rebels without land. Land nobody holds keeps the natives of
// the province table. Beside it, the display names of the nations.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/DemoWorld.h"
#include "tools/ScenarioPlacement.h"
#include "tools/WorldMap.h"

namespace {

using demo::PlacedNation;

constexpr int32_t kStartYear = 1492;

// The display names of the nations (ENG, FRA and HAB have theirs in
// DemoCountries.cpp).
const bool kNationNamesRegistered = [] {
    for (const demo::NationPlan& plan : demo::NationPlans())
        if (plan.name)
            demo::DemoText(plan.tag, plan.name);
    return true;
}();

std::string Date(int32_t year, const char* month, int32_t day) {
    return "{ year = " + std::to_string(year) + " month = " + month +
           " day = " + std::to_string(day) + " }";
}

std::string IdList(const std::vector<int32_t>& ids) {
    std::string text = "{";
    for (int32_t id : ids)
        text += " " + std::to_string(id);
    return text + " }";
}

std::vector<const PlacedNation*> Placed() {
    std::vector<const PlacedNation*> out;
    for (const PlacedNation& nation : demo::WorldPlacement())
        if (!nation.provinces.empty())
            out.push_back(&nation);
    return out;
}

const PlacedNation* Nation(const char* tag) {
    const PlacedNation* nation = demo::PlacedNationOf(tag);
    return nation && !nation->provinces.empty() ? nation : nullptr;
}

bool Holds(const PlacedNation& nation, int32_t id) {
    return std::find(nation.provinces.begin(), nation.provinces.end(), id) !=
           nation.provinces.end();
}

// A province with land of the nation beside it.
bool Borders(int32_t id, const PlacedNation& other) {
    for (int32_t n : demo::TheWorldMap().Province(id).neighbours)
        if (Holds(other, n))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// Treaties

// An alliance lapses the day after its expiry date: the treaties of 1488 run
// into the game's first years (a marriage for longer).
struct AllianceSpec {
    const char* type;
    const char* name;
    std::vector<const char*> tags;
    int32_t expiryYear;
};

const AllianceSpec kAlliances[] = {
    {"militaryalliance", "The Iberian Compact", {"SPA", "POR"}, 1498},
    {"militaryalliance", "The Old Alliance", {"FRA", "SCO"}, 1498},
    {"dynasticalliance", "The Crown Marriage", {"HAB", "BUR"}, 1513},
    {"militaryalliance", "The Holy League", {"PAP", "VEN", "NAP"}, 1498},
    {"militaryalliance", "The Northern Union", {"DAN", "SWE"}, 1498},
};

bool Allied(const char* a, const char* b) {
    for (const AllianceSpec& alliance : kAlliances) {
        const auto has = [&alliance](const char* tag) {
            return std::any_of(alliance.tags.begin(), alliance.tags.end(),
                               [tag](const char* t) { return std::string(t) == tag; });
        };
        if (has(a) && has(b))
            return true;
    }
    return false;
}

// Two nations whose lands touch.
bool BordersNation(const PlacedNation& a, const PlacedNation& b) {
    for (int32_t id : a.provinces)
        if (Borders(id, b))
            return true;
    return false;
}

// Old claims: the claimant counts a border province of the holder among
// its national provinces (the holder's capital and last province excepted),
// for each of these pairs whose lands touch.
struct ClaimSpec {
    const char* claimant;
    const char* holder;
};

const ClaimSpec kClaims[] = {{"FRA", "BUR"}, {"TUR", "HUN"}, {"RUS", "UKR"}, {"HAB", "BOH"},
                             {"POL", "MOL"}, {"SPA", "MOR"}, {"PER", "ARA"}, {"MOG", "HYD"},
                             {"CHI", "BAN"}, {"MAM", "ARA"}, {"SWE", "DAN"}, {"INC", "AZT"}};

// The provinces the nation claims beyond its own land.
std::vector<int32_t> ClaimedProvinces(const PlacedNation& nation) {
    std::vector<int32_t> claimed;
    for (const ClaimSpec& claim : kClaims) {
        if (std::string(claim.claimant) != nation.plan->tag)
            continue;
        const PlacedNation* holder = Nation(claim.holder);
        if (!holder)
            continue;
        for (size_t i = 1; i + 1 < holder->provinces.size(); ++i)
            if (Borders(holder->provinces[i], nation)) {
                claimed.push_back(holder->provinces[i]);
                break;
            }
    }
    return claimed;
}

// The war of the scenario: the first pair of these whose lands touch (else
// the first pair placed at all); the attacker holds a border province of
// the defender when they touch.
struct WarPlan {
    const PlacedNation* attacker = nullptr;
    const PlacedNation* defender = nullptr;
    int32_t occupied = 0;
};

WarPlan ChooseWar() {
    static const std::pair<const char*, const char*> kPairs[] = {
        {"TUR", "HUN"}, {"TUR", "VEN"}, {"TUR", "WAL"}, {"FRA", "BUR"}, {"POL", "RUS"},
        {"SPA", "FRA"}, {"ENG", "FRA"}, {"MAM", "TUR"}, {"AZT", "INC"}, {"CHI", "NIP"}};
    WarPlan first;
    for (const auto& [a, b] : kPairs) {
        const PlacedNation* attacker = Nation(a);
        const PlacedNation* defender = Nation(b);
        if (!attacker || !defender || Allied(a, b))
            continue;
        if (!first.attacker)
            first = {attacker, defender, 0};
        // Not the capital: a border province that is not the defender's last.
        for (size_t i = 1; i < defender->provinces.size(); ++i) {
            const int32_t id = defender->provinces[i];
            if (Borders(id, *attacker))
                return {attacker, defender, id};
        }
    }
    return first;
}

const WarPlan& TheWar() {
    static const WarPlan war = ChooseWar();
    return war;
}

// ---------------------------------------------------------------------------
// People: monarchs and leaders (invented names)

struct MonarchSpec {
    const char* tag;
    const char* name;
    int32_t born, dies, adm, dip, mil;
};

const MonarchSpec kMonarchs[] = {
    {"SPA", "Queen Aldonza the Wise", 1474, 1504, 8, 7, 6},
    {"POR", "King Tristao the Navigator", 1481, 1495, 7, 6, 4},
    {"ENG", "King Edric the Careful", 1485, 1509, 8, 5, 5},
    {"FRA", "King Lothaire the Young", 1483, 1498, 5, 4, 7},
    {"HAB", "Emperor Leopold the Patient", 1440, 1493, 4, 6, 3},
    {"TUR", "Sultan Bayram the Just", 1481, 1512, 6, 5, 6},
    {"RUS", "Grand Prince Vsevolod the Great", 1462, 1505, 8, 6, 7},
    {"VEN", "Doge Marin Contarelli", 1486, 1501, 6, 8, 4},
    {"CHI", "Emperor Hongshan", 1487, 1505, 7, 6, 4},
};

struct LeaderSpec {
    const char* tag;
    const char* name;
    const char* category; // general or admiral
    int32_t fire, shock, siege, movement;
};

const LeaderSpec kLeaders[] = {
    {"SPA", "Captain-General Rodrigo Alvaran", "general", 3, 4, 2, 3},
    {"TUR", "Pasha Davud Karacan", "general", 4, 3, 3, 3},
    {"FRA", "Marshal Gaspard de Loury", "general", 2, 4, 1, 4},
    {"ENG", "Admiral Hugh Blackmore", "admiral", 3, 2, 0, 4},
    {"POR", "Admiral Nuno Avelar", "admiral", 2, 3, 0, 5},
    {"RUS", "Voivode Daniil Sheremov", "general", 2, 3, 1, 3},
};

const LeaderSpec* LeaderOf(const char* tag, const char* category) {
    for (const LeaderSpec& leader : kLeaders)
        if (std::string(leader.tag) == tag && std::string(leader.category) == category)
            return &leader;
    return nullptr;
}

std::string LeaderBlock(const LeaderSpec& leader, const std::string& indent) {
    return indent + "leader = {\r\n" + indent + "    name = \"" + leader.name + "\"\r\n" + indent +
           "    category = " + leader.category + "\r\n" + indent + "    rank = 1\r\n" + indent +
           "    fire = " + std::to_string(leader.fire) + "\r\n" + indent +
           "    shock = " + std::to_string(leader.shock) + "\r\n" + indent +
           "    siege = " + std::to_string(leader.siege) + "\r\n" + indent +
           "    movement = " + std::to_string(leader.movement) + "\r\n" + indent +
           "    startdate = " + Date(1485, "january", 0) + "\r\n" + indent +
           "    deathdate = " + Date(1515, "january", 0) + "\r\n" + indent + "}\r\n";
}

// ---------------------------------------------------------------------------
// The blocks

// The size class of a nation: 0 small, 1 middling, 2 great.
int32_t SizeClass(const PlacedNation& nation) {
    const int32_t size = nation.plan->size;
    return size >= 6 ? 2 : (size >= 3 ? 1 : 0);
}

std::string HeaderBlock() {
    std::string text = "header = {\r\n"
                       "    name = \"The Known World 1492\"\r\n"
                       "    desc = \"scenarios\\world_1492.txt\"\r\n"
                       "    startyear = 1492\r\n"
                       "    endyear = 1792\r\n"
                       "    gametype = 0\r\n";
    // Every nation of three provinces or more may be chosen, by a human or
    // left to the computer.
    for (const PlacedNation* nation : Placed()) {
        if (nation->plan->size < 3)
            continue;
        const int32_t size = SizeClass(*nation);
        const int32_t difficulty = 3 - size;
        text += std::string("    ") + nation->plan->tag + " = {\r\n";
        text += std::string("        countrytactics = \"Hold ") + nation->plan->capital +
                " and grow from it.\"\r\n";
        text += "        countrydifficulty = " + std::to_string(difficulty) + "\r\n";
        text += "        countryeconomy = " + std::to_string(1 + size) + "\r\n";
        text +=
            "        countrymilitary = " + std::to_string(1 + (nation->plan->number % 3)) + "\r\n";
        text +=
            "        countrydiplomacy = " + std::to_string(1 + (nation->plan->number % 2)) + "\r\n";
        text += "    }\r\n";
    }
    return text + "}\r\n\r\n";
}

std::string GlobalBlock() {
    std::string text = "globaldata = {\r\n";
    text += "    startdate = " + Date(kStartYear, "january", 0) + "\r\n";
    text += "    enddate = " + Date(1792, "december", 29) + "\r\n";
    if (Nation("HAB"))
        text += "    emperor = HAB\r\n";
    for (const AllianceSpec& alliance : kAlliances) {
        std::string tags;
        for (const char* tag : alliance.tags)
            if (Nation(tag))
                tags += std::string(" ") + tag;
        if (std::count(tags.begin(), tags.end(), ' ') < 2)
            continue; // an alliance needs two members on the map
        text += std::string("    alliance = {\r\n        type = ") + alliance.type +
                "\r\n        name = \"" + alliance.name + "\"\r\n        participant = {" + tags +
                " }\r\n        startdate = " + Date(1488, "may", 1) +
                "\r\n        expirydate = " + Date(alliance.expiryYear, "may", 1) + "\r\n    }\r\n";
    }
    const WarPlan& war = TheWar();
    if (war.attacker) {
        text += "    war = {\r\n";
        text += "        date = " + Date(1491, "september", 14) + "\r\n";
        text += "        enddate = " + Date(1497, "september", 14) + "\r\n";
        text += std::string("        attackers = { type = war participant = { ") +
                war.attacker->plan->tag + " } }\r\n";
        text += std::string("        defenders = { type = war participant = { ") +
                war.defender->plan->tag + " } }\r\n";
        text += "    }\r\n";
    }
    return text + "}\r\n\r\n";
}

// A city's population: the capital by the nation's size, the others from
// the province id (1,500 to 7,400).
int32_t Population(const PlacedNation& nation, int32_t id) {
    if (id == nation.Capital())
        return 8000 + 12000 * SizeClass(nation);
    return 1500 + (id * 37 % 60) * 100;
}

int32_t FortressLevel(const PlacedNation& nation, int32_t id) {
    if (id == nation.Capital())
        return 2 + SizeClass(nation);
    const demo::WorldMap& map = demo::TheWorldMap();
    for (int32_t n : map.Province(id).neighbours) {
        const int32_t owner = demo::PlacedOwnerOf(n);
        if (owner != 0 && owner != nation.plan->number)
            return 1; // a border
    }
    return 0;
}

// A nation knows its own land, the land beside it, and the whole land of
// each nation it borders (their capitals among it, so that its envoys find
// them).
std::vector<int32_t> KnownProvinces(const PlacedNation& nation) {
    std::vector<int32_t> known;
    for (int32_t id : nation.provinces) {
        known.push_back(id);
        for (int32_t n : demo::TheWorldMap().Province(id).neighbours)
            if (n > 0 && n <= demo::kLastProvince)
                known.push_back(n);
    }
    for (const PlacedNation* other : Placed())
        if (other != &nation && BordersNation(nation, *other))
            known.insert(known.end(), other->provinces.begin(), other->provinces.end());
    std::sort(known.begin(), known.end());
    known.erase(std::unique(known.begin(), known.end()), known.end());
    return known;
}

std::string CountryBlock(const PlacedNation& nation) {
    const demo::NationPlan& plan = *nation.plan;
    const WarPlan& war = TheWar();
    const int32_t size = SizeClass(nation);
    std::vector<int32_t> controlled;
    for (int32_t id : nation.provinces)
        if (id != war.occupied)
            controlled.push_back(id);
    if (&nation == war.attacker && war.occupied)
        controlled.push_back(war.occupied);

    std::string text = "country = {\r\n";
    text += std::string("    tag = ") + plan.tag + "\r\n";
    text += "    ai = \"default.ai\"\r\n";
    text += "    treasury = " + std::to_string(60 + 90 * size + plan.number % 7 * 10) + "\r\n";
    text += "    manpower = " + std::to_string(4 + 6 * size) + "\r\n";
    text += "    colonists = " + std::to_string(plan.naval ? 1 + size / 2 : 0) + "\r\n";
    text += "    diplomats = " + std::to_string(1 + size) + "\r\n";
    text += "    merchants = " + std::to_string(1 + size) + "\r\n";
    text += std::string("    religion = { type = ") + plan.religion + " }\r\n";
    text += "    knownprovinces = " + IdList(KnownProvinces(nation)) + "\r\n";
    text += "    ownedprovinces = " + IdList(nation.provinces) + "\r\n";
    text += "    controlledprovinces = " + IdList(controlled) + "\r\n";
    std::vector<int32_t> national = nation.provinces;
    for (int32_t id : ClaimedProvinces(nation))
        national.push_back(id);
    text += "    nationalprovinces = " + IdList(national) + "\r\n";

    // Friends and enemies.
    std::string relations;
    for (const AllianceSpec& alliance : kAlliances) {
        if (std::none_of(alliance.tags.begin(), alliance.tags.end(),
                         [&plan](const char* t) { return std::string(t) == plan.tag; }))
            continue;
        for (const char* tag : alliance.tags)
            if (std::string(tag) != plan.tag && Nation(tag))
                relations +=
                    std::string("        relation = { tag = ") + tag + " value = 100 }\r\n";
    }
    const PlacedNation* enemy =
        &nation == war.attacker ? war.defender : (&nation == war.defender ? war.attacker : nullptr);
    if (enemy)
        relations +=
            std::string("        relation = { tag = ") + enemy->plan->tag + " value = -150 }\r\n";
    if (!relations.empty())
        text += "    diplomacy = {\r\n" + relations + "    }\r\n";

    for (int32_t id : nation.provinces) {
        text += "    city = {\r\n";
        if (id == nation.Capital())
            text += std::string("        name = \"") + plan.capital + "\"\r\n";
        text += "        location = " + std::to_string(id) + "\r\n";
        text += "        population = " + std::to_string(Population(nation, id)) + "\r\n";
        if (id == nation.Capital())
            text += "        capital = yes\r\n";
        text +=
            "        fortress = { level = " + std::to_string(FortressLevel(nation, id)) + " }\r\n";
        text += "    }\r\n";
    }

    for (const MonarchSpec& monarch : kMonarchs) {
        if (std::string(monarch.tag) != plan.tag)
            continue;
        text += std::string("    monarch = {\r\n        name = \"") + monarch.name + "\"\r\n";
        text += "        startdate = " + Date(monarch.born, "march", 3) + "\r\n";
        text += "        deathdate = " + Date(monarch.dies, "october", 20) + "\r\n";
        text += "        ADM = " + std::to_string(monarch.adm) + "\r\n";
        text += "        DIP = " + std::to_string(monarch.dip) + "\r\n";
        text += "        MIL = " + std::to_string(monarch.mil) + "\r\n    }\r\n";
    }

    // The home army at the capital; a great power keeps a second one at its
    // last province; the attacker of the war holds the province it took.
    const auto army = [&](const std::string& name, int32_t location, int32_t infantry,
                          int32_t cavalry, int32_t artillery, const LeaderSpec* leader) {
        std::string block = "    landunit = {\r\n        name = \"" + name + "\"\r\n";
        block += "        location = " + std::to_string(location) + "\r\n";
        block += "        morale = 1.0\r\n";
        block += "        infantry = " + std::to_string(infantry) + "\r\n";
        block += "        cavalry = " + std::to_string(cavalry) + "\r\n";
        block += "        artillery = " + std::to_string(artillery) + "\r\n";
        if (leader)
            block += LeaderBlock(*leader, "        ");
        return block + "    }\r\n";
    };
    text += army(std::string("Army of ") + plan.capital, nation.Capital(), 3000 + 3000 * size,
                 1000 + 1000 * size, size == 2 ? 10 : 0, LeaderOf(plan.tag, "general"));
    if (size == 2 && nation.provinces.size() > 1)
        text += army(std::string("Guard of ") + plan.capital, nation.provinces.back(), 4000, 1000,
                     0, nullptr);
    if (&nation == war.attacker && war.occupied)
        text +=
            army(std::string("Vanguard of ") + plan.capital, war.occupied, 6000, 2000, 4, nullptr);

    if (plan.naval && nation.fleetZone) {
        const bool galleys = plan.religion == std::string("sunni") || plan.number == 11 ||
                             plan.number == 26 || plan.number == 78 || plan.number == 22;
        text += std::string("    navalunit = {\r\n        name = \"Fleet of ") + plan.capital +
                "\"\r\n";
        text += "        location = " + std::to_string(nation.fleetZone) + "\r\n";
        text += "        morale = 1.0\r\n";
        text += "        warships = " + std::to_string(galleys ? 2 : 3 + 3 * size) + "\r\n";
        text += "        galleys = " + std::to_string(galleys ? 4 + 3 * size : 0) + "\r\n";
        text += "        transports = " + std::to_string(2 + 2 * size) + "\r\n";
        if (const LeaderSpec* admiral = LeaderOf(plan.tag, "admiral"))
            text += LeaderBlock(*admiral, "        ");
        text += "    }\r\n";
    }
    return text + "}\r\n\r\n";
}

// The pirates keep a fleet in the first sea zone (by id) that some land has
// its port in and no nation keeps its own fleet in.
int32_t PirateSeaZone() {
    const demo::WorldMap& map = demo::TheWorldMap();
    std::vector<bool> port(static_cast<size_t>(demo::kLastProvince) + 1, false);
    for (const demo::WorldProvince& p : map.Provinces())
        if (p.IsLand() && p.portSeaZone > 0 && p.portSeaZone <= demo::kLastProvince)
            port[static_cast<size_t>(p.portSeaZone)] = true;
    for (const PlacedNation* nation : Placed())
        if (nation->fleetZone)
            port[static_cast<size_t>(nation->fleetZone)] = false;
    for (const demo::WorldProvince& p : map.Provinces())
        if (p.kind == demo::ProvinceKind::kSea && port[static_cast<size_t>(p.id)])
            return p.id;
    return 0;
}

std::string OutlawBlocks() {
    std::string text = "country = {\r\n    tag = PIR\r\n    treasury = 0\r\n";
    if (const int32_t zone = PirateSeaZone())
        text += "    navalunit = {\r\n        name = \"The Corsair Fleet\"\r\n"
                "        location = " +
                std::to_string(zone) +
                "\r\n        morale = 1.0\r\n        warships = 2\r\n        galleys = 3\r\n"
                "        transports = 0\r\n    }\r\n";
    text += "}\r\n\r\ncountry = {\r\n    tag = REB\r\n    treasury = 0\r\n}\r\n";
    return text;
}

bool WriteWorldScenario(const std::filesystem::path& game) {
    const std::vector<const PlacedNation*> placed = Placed();
    if (placed.size() < 40) {
        std::fprintf(stderr, "make_demo_world: only %zu nations found land for 1492\n",
                     placed.size());
        return false;
    }
    std::string text = "# The Known World 1492: every nation of the world on the map.\r\n";
    text += HeaderBlock();
    text += GlobalBlock();
    for (const PlacedNation* nation : placed)
        text += CountryBlock(*nation);
    text += OutlawBlocks();
    const std::string description =
        "The year is 1492. Kingdoms, empires and city states share the known world; the seas "
        "beyond it wait for the first to sail them.\r\n";
    return demo::WriteFile(game / "scenarios" / "world_1492.ovg", text) &&
           demo::WriteFile(game / "scenarios" / "world_1492.txt", description);
}

const demo::DemoWriter kWorldScenarioWriter("scenarios/world_1492.ovg", &WriteWorldScenario);

} // namespace
