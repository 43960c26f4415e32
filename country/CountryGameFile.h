#pragma once
// The countries in scenarios and saved games: the "country" and "mission"
// objects of the file, and what a country in play adds to its nation's
// entry in the header. Country.cpp registers them with the file reader
// (data/GameFile.h) and the header (data/ScenarioHeader.h).
#include <cstdint>

#include "data/GameFile.h"
#include "data/ScenarioHeader.h"

// The "country" object after its "{": the first field "tag" names the
// country (made when it does not exist yet; an unknown tag is reported and
// the whole block passed over), which reads the rest of the block.
// FIELD_BLOCK_END;
// the opening field's end of file or error as it came; FIELD_ERROR after a
// first field that is not "tag" (the block is passed over) or when the
// country cannot be made.
int32_t ReadCountryObject(CFieldReader& in);

// The "mission" object after its "{": the first field "tag" names an
// existing country, which reads the scenario's mission for it.
// FIELD_BLOCK_END (a wrong first field or a country that does not exist is
// reported and the block passed over), or the opening field's end of file or
// error as it came.
int32_t ReadMissionObject(CFieldReader& in);

// Writes the countries in number order.
void WriteCountryObjects(CGameFileOutput& out);

// The running game's country of the number, as its nation's header entry
// shows it: its name with the player who holds it in a network session, its
// cities (colonies and towns counted again apart) and trading posts in the
// owned provinces that have an owner, and its treasury. Nothing without a
// country of the number.
void DescribeRunningCountry(uint32_t number, RunningCountry& out);
