// The countries of the demo world: the display names of the three realms of
// "The Amber Coast" (their tags are the text keys).
#include "tools/DemoWorld.h"

namespace {

const demo::DemoText kCountryNames[] = {
    {"ENG", "Avaris"},
    {"FRA", "Brenmark"},
    {"HAB", "Zeluna"},
};

} // namespace
