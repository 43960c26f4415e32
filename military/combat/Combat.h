#pragma once
// Combats under way. Until the combat rules take a combat apart, its saved
// block is kept as it was read.
#include <memory>
#include <vector>

#include "data/KeptBlock.h"

class CKeptCombat : public CKeptBlock {};

// The combats under way, in the order they were made; the list owns them.
extern std::vector<std::unique_ptr<CKeptCombat>> g_combats;

// Rebuilds a combat from the "combat" object's value (its "=" and value
// read; the value must be "{"): the new combat is filed in g_combats and
// answered; null when the block did not read whole.
CKeptCombat* ReadCombat(CFieldReader& in);

// A new data-tree node of the combat (owned by the caller).
CDataBlock* WriteCombat(const CKeptCombat& combat);
