#include "military/Combat.h"

std::vector<std::unique_ptr<CCombat>> g_combats;

CCombat* ReadCombat(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE)
        return nullptr;
    auto combat = std::make_unique<CCombat>();
    if (combat->Read(in) != 0)
        return nullptr;
    g_combats.push_back(std::move(combat));
    return g_combats.back().get();
}

CDataBlock* WriteCombat(const CCombat& combat) {
    return combat.Write();
}
