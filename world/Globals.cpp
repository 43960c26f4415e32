#include "world/Globals.h"

#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "world/GlobalsTreaties.h"
#include "world/Scenario.h"

CGlobals g_globals;

GlobalsTreatyHooks g_globalsTreaties;
GlobalsCountryHooks g_globalsCountries;

CGlobals::CGlobals() = default;
CGlobals::~CGlobals() = default;
CGlobals::CGlobals(CGlobals&&) noexcept = default;
CGlobals& CGlobals::operator=(CGlobals&&) noexcept = default;

void CGlobals::SetProgress(uint32_t index, float value) {
    if (index < kProgressValues)
        progress[index] = value > kMaxProgress ? kMaxProgress : value;
}

const CCountryDefinition* CGlobals::RevoltDefinition(uint32_t number) const {
    if (!revoltDefs || number >= kCountrySlots)
        return nullptr;
    return &(*revoltDefs)[number];
}

float CYearTable::GetValue(uint32_t countryIndex) const {
    return GetValueInYear(CScenario::GetGameDate().year, countryIndex);
}

// ---------------------------------------------------------------------------
// The "globaldata" object of scenarios and saved games (GlobalsFile.cpp)

namespace {

int32_t ReadGlobalsObject(CFieldReader& in) {
    return g_globals.Read(in);
}

void WriteGlobalsObject(CGameFileOutput& out) {
    out.Write(g_globals.Write());
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_GLOBALDATA, {&ReadGlobalsObject, &WriteGlobalsObject});
    return true;
}();

} // namespace
