// The countries of the demo world: the display names of the three realms of
// "The Amber Coast" (their tags are the text keys; the other nations' names
// come with the full-world scenario) and "db\buildingcosts.csv", the cost
// class of each unit kind per country.
#include <string>

#include "tools/DemoWorld.h"
#include "tools/ScenarioPlacement.h"

namespace {

const demo::DemoText kCountryNames[] = {
    {"ENG", "Avaris"},
    {"FRA", "Brenmark"},
    {"HAB", "Zeluna"},
};

// Tag; infantry; cavalry; artillery; warships; galleys; transports. Avaris
// is a sea power, Brenmark a land power without a navy to speak of, Zeluna a
// small island realm that cannot cast guns.
const char kBuildingCosts[] = "TAG;INFANTRY;CAVALRY;ARTILLERY;WARSHIPS;GALLEYS;TRANSPORTS\r\n"
                              "ENG;B;C;C;A;B;A\r\n"
                              "FRA;A;A;B;D;0;C\r\n"
                              "HAB;C;D;0;C;A;B\r\n";

// The other nations of the full-world scenario: horse peoples of the east
// and south ride better, the far east and America cast no guns, sea powers
// build ships well and the landlocked poorly.
std::string NationCosts(const demo::NationPlan& plan) {
    const std::string group = plan.group;
    const bool exotic = group == "exotic";
    const char* cavalry = group == "muslim" || group == "orthodox" ? "A" : "B";
    const char* ships = plan.naval ? "B;B;B" : "D;0;D";
    return std::string(plan.tag) + ";B;" + cavalry + ";" + (exotic ? "0" : "C") + ";" + ships +
           "\r\n";
}

bool WriteBuildingCosts(const std::filesystem::path& game) {
    std::string text(kBuildingCosts);
    for (const demo::NationPlan& plan : demo::NationPlans())
        if (plan.name) // ENG, FRA and HAB have their rows above
            text += NationCosts(plan);
    text += "END;;;;;;\r\n";
    return demo::WriteFile(game / "db" / "buildingcosts.csv", text);
}

const demo::DemoWriter kBuildingCostsWriter("db/buildingcosts.csv", &WriteBuildingCosts);

} // namespace
