#pragma once
// Scenario and saved-game files (".ovg"): a sequence of top-level objects,
// each a keyword, "=" and (almost always) a block. The reader hands each
// block to the reader of the object it describes; the writer asks each
// object for its data tree and prints the trees in a fixed order:
// "header", "globaldata", the provinces with state to save, the centres of
// trade ("cot"), the countries 0 to 98, "eyr", then, outside multiplayer
// games only, "interface" and the travellers ("mecenat"), and last the
// combats. "mission" and "include" occur in hand-made scenarios only.
#include <cstdint>
#include <string>

#include "data/TokenFile.h"

// "include" nests at most this many files deep.
constexpr int32_t kMaxIncludeDepth = 16;

// Reads top-level objects until the end of the file: 0 when the file was
// read to its end, -2 when a structural error stopped it (the world is then
// half read and must not be started).
int32_t ReadGameFile(CFieldReader& in);

// Reads and dispatches one top-level object: 0 go on; -1 the end of the
// file; -2 a structural error. The front end reads just a file's first
// object, its header, through it.
int32_t ReadTopLevelObject(CFieldReader& in);

// The two dispatch steps that find their object by the block's first field
// ("tag", "id"); the "{" has been taken.
int32_t ReadCountryObject(CFieldReader& in);
int32_t ReadProvinceObject(CFieldReader& in);

// Writes the whole game through a reader opened with mode "w": 0, or -2 at
// the first failed write (the file is then incomplete).
int32_t WriteGameFile(CFieldReader& out);

// Saves the game to the game path: the file is written beside the target
// under a temporary name and put in the target's place only when every byte
// was written, so that a failed save keeps the previous file. 0, or -2
// after a failure (reported).
int32_t SaveGameFile(const std::string& path);
