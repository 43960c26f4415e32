// The demo scenario "The Amber Coast": a header with three selectable
// nations, the game-wide globals, three countries with their cities on five
// adjoining provinces of a European coast (found on the world map, see
// tools/ScenarioPlacement.h), a handful of provinces (kept in an included
// file), a fleet carrying an army in the sea zone of the first one's port,
// leaders, a monarch, a marching army and a regiment still being raised;
// beside it the computer-player file and the monarch and leader history
// files of one country.
#include <cstdio>
#include <string>
#include <utility>

#include "tools/DemoWorld.h"
#include "tools/ScenarioPlacement.h"

namespace {

const char kScenario[] = R"(# The Amber Coast: three small realms around the Ambersea.
header = {
    name = "The Amber Coast"
    desc = "scenarios\amber_coast.txt"
    picture = "gfx\scenarios\amber_coast.bmp"
    startyear = 1560
    endyear = 1620
    gametype = 0
    ENG = {
        desc = "scenarios\amber_coast_avr.txt"
        picture = "gfx\scenarios\shield_avr.bmp"
        countrytactics = "Hold the straits with your fleet."
        countrydifficulty = 2
        countryeconomy = 3
        countrymilitary = 2
        countrydiplomacy = 1
        missiontype = 1
    }
    FRA = {
        desc = "scenarios\amber_coast_brn.txt"
        picture = "gfx\scenarios\shield_brn.bmp"
        countrytactics = "Raise regiments and march on the coast."
        countrydifficulty = 3
        countryeconomy = 1
        countrymilitary = 3
        countrydiplomacy = 2
        missiontype = 2
    }
}

globaldata = {
    startdate = { year = 1560 month = march day = 0 }
    enddate = { year = 1620 month = december day = 29 }
}

include = "scenarios\amber_coast_provinces.inc"

country = {
    tag = ENG
    ai = "default.ai"
    treasury = 250
    manpower = 12.5
    vp = 20
    colonists = 2
    diplomats = 3
    merchants = 2
    landpercentage = 0.3
    navalpercentage = 0.3
    tepercentage = 0.1
    pepercentage = 0.1
    knownprovinces = { @SEA@ @E1@ @E2@ @F1@ @H1@ @H2@ }
    ownedprovinces = { @E1@ @E2@ }
    controlledprovinces = { @E1@ @E2@ }
    nationalprovinces = { @E1@ @E2@ }
    city = {
        name = "Avaris"
        location = @E1@
        population = 12000
        capital = yes
        fortress = { level = 2 }
    }
    city = {
        name = "Dunmere"
        location = @E2@
        population = 3500
    }
    monarch = {
        name = "Queen Ysolde the Steadfast"
        startdate = { year = 1551 month = june day = 4 }
        deathdate = { year = 1589 month = october day = 11 }
        ADM = 7
        DIP = 6
        MIL = 4
    }
    navalunit = {
        name = "Ambersea Squadron"
        location = @SEA@
        morale = 1.0
        warships = 6
        galleys = 0
        transports = 8
        leader = {
            name = "Admiral Corvin Hale"
            category = admiral
            rank = 1
            fire = 3
            shock = 2
            siege = 0
            movement = 4
            startdate = { year = 1555 month = january day = 0 }
            deathdate = { year = 1590 month = january day = 0 }
        }
        landunit = {
            name = "Marines of Avaris"
            location = @SEA@
            morale = 1.0
            infantry = 3000
            cavalry = 500
            artillery = 0
        }
    }
    landunit = {
        name = "Army of the Dunes"
        location = @E1@
        morale = 0.9
        infantry = 8000
        cavalry = 2000
        artillery = 10
        leader = {
            name = "Marshal Edda Vosk"
            category = general
            rank = 1
            fire = 2
            shock = 4
            siege = 1
            movement = 3
            startdate = { year = 1552 month = may day = 0 }
            deathdate = { year = 1585 month = may day = 0 }
        }
        movetime = 6
        movement = { @E2@ @F1@ }
    }
}

country = {
    tag = FRA
    ai = "default.ai"
    treasury = 180
    vp = 15
    colonists = 1
    diplomats = 2
    merchants = 1
    knownprovinces = { @E2@ @F1@ @H1@ }
    ownedprovinces = { @F1@ }
    controlledprovinces = { @F1@ }
    nationalprovinces = { @F1@ }
    city = {
        name = "Brenmark"
        location = @F1@
        population = 8000
        capital = yes
        fortress = { level = 3 }
    }
    landunit = {
        name = "Brenmark Pikes"
        location = @F1@
        morale = 1.0
        infantry = 5000
        cavalry = 1000
        artillery = 4
    }
    landunit = {
        name = "Brenmark Levy"
        location = @F1@
        date = { year = 1560 month = may day = 14 }
        development = yes
        morale = 0.5
        infantry = 2000
        cavalry = 0
        artillery = 0
    }
}

country = {
    tag = HAB
    treasury = 90
    vp = 5
    knownprovinces = { @H1@ @H2@ }
    ownedprovinces = { @H1@ @H2@ }
    controlledprovinces = { @H1@ @H2@ }
    nationalprovinces = { @H1@ }
    city = {
        name = "Zeluna"
        location = @H2@
        population = 2400
        capital = yes
    }
    city = {
        name = "Reedholm"
        location = @H1@
        population = 400
    }
}

mission = {
    tag = HAB
    missiontype = 2
    missionname = "The Reed Islands"
    missionareaname = "Ambersea shore"
    missionarea = { @H1@ @H2@ }
    missionpercentage = 50
}
)";

const char kProvinces[] = R"(# The provinces of the Amber Coast.
province = {
    id = @E1@
    natives = 0
    income = 8
    religion = catholic
    whiteman = yes
}
province = {
    id = @E2@
    natives = 0
    income = 5
    religion = catholic
    whiteman = yes
}
province = {
    id = @F1@
    natives = 0
    income = 6
    religion = protestant
    whiteman = yes
    winter = yes
}
province = {
    id = @H1@
    natives = 300
    max = 800
    income = 3
    religion = pagan
    ferocity = 2
    efficiency = 1
}
province = {
    id = @H2@
    natives = 0
    income = 2
    religion = pagan
    whiteman = yes
}
)";

// The computer player's personalities: seven weights and the continents,
// regions and areas a country of that temper favours.
const char kAiPrefs[] = R"(# The computer player's default temper: a steady
# landholder that trades where it can and fights where it must.
tradingpost = 30
neighbour = 25
enemies = 15
expansion = 20
traders = 25
monopoly = 10
war = 15
continent = { Europe }
region = { }
area = { }
)";

const char kTraderPrefs[] = R"(# A merchant republic: ports, trading posts and
# monopolies over the seas before any conquest.
tradingpost = 60
neighbour = 10
enemies = 10
expansion = 15
traders = 55
monopoly = 45
war = 5
continent = { Asia America Africa }
region = { Indonesia Carribean "Indochina" }
area = { }
)";

const char kMonarchs[] = R"(# The rulers of Brenmark.
historicalmonarch = {
    name = "Duke Oswin the Tall"
    startdate = { year = 1548 month = february day = 2 }
    deathdate = { year = 1571 month = august day = 20 }
    ADM = 5
    DIP = 4
    MIL = 6
}
historicalmonarch = {
    name = "Duchess Maren"
    startdate = { year = 1571 month = august day = 21 }
    deathdate = { year = 1602 month = april day = 1 }
    ADM = 6
    DIP = 7
    MIL = 3
}
)";

const char kLeaders[] = R"(# The captains of Brenmark.
historicalleader = {
    name = "Captain Ulric Dorn"
    category = general
    rank = 2
    fire = 2
    shock = 3
    siege = 2
    movement = 3
    startdate = { year = 1563 month = april day = 0 }
    deathdate = { year = 1580 month = april day = 0 }
}
)";

// The text with each place mark replaced by the province it stands for.
std::string PlaceProvinces(const char* text) {
    const demo::AmberCoastPlace& place = demo::AmberCoastPlacement();
    const std::pair<const char*, int32_t> marks[] = {
        {"@SEA@", place.seaZone},     {"@E1@", place.provinces[0]}, {"@E2@", place.provinces[1]},
        {"@F1@", place.provinces[2]}, {"@H1@", place.provinces[3]}, {"@H2@", place.provinces[4]}};
    std::string out(text);
    for (const auto& [mark, id] : marks) {
        const std::string number = std::to_string(id);
        for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at))
            out.replace(at, std::string(mark).size(), number);
    }
    return out;
}

bool WriteScenario(const std::filesystem::path& game) {
    const demo::AmberCoastPlace& place = demo::AmberCoastPlacement();
    if (place.provinces.size() != 5 || place.seaZone == 0) {
        std::fprintf(stderr, "make_demo_world: no stretch of European coast for the Amber Coast\n");
        return false;
    }
    return demo::WriteFile(game / "scenarios" / "amber_coast.ovg", PlaceProvinces(kScenario)) &&
           demo::WriteFile(game / "scenarios" / "amber_coast_provinces.inc",
                           PlaceProvinces(kProvinces));
}

bool WriteAiFile(const std::filesystem::path& game) {
    return demo::WriteFile(game / "ai" / "default.ai", std::string(kAiPrefs)) &&
           demo::WriteFile(game / "ai" / "holland.ai", std::string(kTraderPrefs));
}

bool WriteHistory(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "monarchs" / "monarchs.brn", std::string(kMonarchs)) &&
           demo::WriteFile(game / "db" / "leaders" / "leaders.brn", std::string(kLeaders));
}

const demo::DemoWriter kScenarioWriter("scenarios/amber_coast.ovg", &WriteScenario);
const demo::DemoWriter kAiWriter("ai/default.ai", &WriteAiFile);
const demo::DemoWriter kHistoryWriter("db/monarchs/monarchs.brn", &WriteHistory);

} // namespace
