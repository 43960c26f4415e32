#pragma once
// Reading helpers shared by the treaty blocks (alliances, relations, wars,
// peace offers).
#include <cstdint>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/ObjectId.h"

class CDataBlock;

// The id (resp. date) block whose "{" has been taken, up to and including
// its "}". A block with a field it does not take is reported by its reader
// and passed over whole. FIELD_BLOCK_END, or FIELD_END_OF_FILE.
int32_t ReadObjectIdBlock(CFieldReader& in, ObjectId& id);
int32_t ReadDateBlock(CFieldReader& in, CDate& date);

// After a field whose key was not taken: its value's block (when the value
// opened one) and the rest of the enclosing block, up to and including its
// "}", are passed over.
void PassOverRestOfBlock(CFieldReader& in);
// The value block of the current field, when the value opened one.
void PassOverValue(CFieldReader& in);

// The id as its block ({ type = 4712 id = 9 }), whatever its type (a
// country's id would otherwise print as its tag).
CDataBlock* MakeIdBlock(const ObjectId& id);

// A block of the countries' tags ({ ENG FRA }).
CDataBlock* MakeTagList(const std::vector<uint32_t>& countries);

// The country a tag token (a string) names; 0 after reporting the token with
// the context when it names no country (or is no string).
uint32_t CountryOfTagToken(CFieldReader& in, const Token& token, const char* context);

// A yes/no field: 1 for "yes", 0 for "no"; -1 for another word (reported
// with the context).
int32_t ReadYesNo(CFieldReader& in, const char* context);
