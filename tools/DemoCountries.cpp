// The countries of the demo world: the display names of the three realms of
// "The Amber Coast" (their tags are the text keys) and "db\buildingcosts.csv",
// the cost class of each unit kind per country.
#include "tools/DemoWorld.h"

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
                              "HAB;C;D;0;C;A;B\r\n"
                              "END;;;;;;\r\n";

bool WriteBuildingCosts(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "buildingcosts.csv", std::string(kBuildingCosts));
}

const demo::DemoWriter kBuildingCostsWriter("db/buildingcosts.csv", &WriteBuildingCosts);

} // namespace
