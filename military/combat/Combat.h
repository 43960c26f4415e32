#pragma once
// The "combat" blocks of saved games: each running combat with its id, kind,
// province, start date, the two sides' morale and units, and for a siege
// the garrison's strength and the state of the siege:
//
//   combat = { id = { type = 4 id = 17 } type = siege province = 345
//              date = { year = 1560 month = march day = 1 }
//              morale = { 2.5 3.0 } attackers = { id = { type = 4 id = 9 } }
//              fortress = { infantry = 10000 cavalry = 0 artillery = 20 }
//              siege_p = 3 siege_d = 0.3 siege_breaches = 1 }
//
// Land and naval battles list "defenders" where a siege has its fortress.
// The combats are written province by province, each province's in its
// list order, so that the same game always saves the same bytes.
#include "data/TokenFile.h"

class CCombat;
class CDataBlock;

// Reads one combat block (its "{" taken as the value) and starts the combat
// again in its province: on the host the units rejoin and the combat gets a
// new start. Null when the block is bad (an unknown key, a malformed value,
// no such province, an id that is taken: the rest of the block is passed
// over) or when a side came back without units (the combat is dropped).
CCombat* ReadCombat(CFieldReader& in);

// A new data-tree node of the combat's block (owned by the caller).
CDataBlock* WriteCombat(CCombat& combat);

// Deletes every combat of every province (the end of a game).
void DeleteAllCombats();
