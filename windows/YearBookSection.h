#pragma once
// The "eyr" object of a saved game: the year-book pages that a game keeps,
// each under its own key, in a fixed order. The year book registers the
// object with the file reader (YearBook.cpp).
#include <cstdint>

#include "data/DataTree.h"
#include "data/TokenFile.h"

// A new block of the saved pages (count 0, owned by the caller).
CDataBlock* WriteYearBookSection();

// Builds the year book's pages afresh, then reads the section after its "{"
// up to and including its "}": FIELD_BLOCK_END, FIELD_END_OF_FILE at the end
// of the file, FIELD_ERROR after an unknown page key ("unknown EYR page") or a
// field without "=".
int32_t ReadYearBookSection(CFieldReader& in);
