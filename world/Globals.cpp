#include "world/Globals.h"

#include "data/GameFile.h"
#include "data/Keywords.h"
#include "world/GlobalsTreaties.h"

CGlobals g_globals;

GlobalsTreatyHooks g_globalsTreaties;

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
