#include "military/combat/Combat.h"

#include "data/GameFile.h"
#include "data/Keywords.h"

std::vector<std::unique_ptr<CKeptCombat>> g_combats;

CKeptCombat* ReadCombat(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE)
        return nullptr;
    auto combat = std::make_unique<CKeptCombat>();
    if (combat->Read(in) != FIELD_BLOCK_END)
        return nullptr;
    g_combats.push_back(std::move(combat));
    return g_combats.back().get();
}

CDataBlock* WriteCombat(const CKeptCombat& combat) {
    return combat.Write();
}

// ---------------------------------------------------------------------------
// The combats in saved games

namespace {

// A combat that does not read (not a block, or not whole) stops the file.
int32_t ReadCombatObject(CFieldReader& in) {
    return ReadCombat(in) ? FIELD_BLOCK_END : FIELD_ERROR;
}

// The combats in the order they began (the provinces do not list them yet).
void WriteCombatObjects(CGameFileOutput& out) {
    for (const auto& combat : g_combats)
        if (!out.Write(WriteCombat(*combat)))
            return;
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_COMBAT,
                           {&ReadCombatObject, &WriteCombatObjects, GameFileValue::AnyValue});
    return true;
}();

} // namespace
