#include "world/ProvinceSpriteList.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/StringMap.h"

namespace {

struct SymbolName {
    const char* name;
    uint8_t kind;
    int32_t helpCode;
};

const SymbolName kSymbols[] = {
    {"fort", kPiwFort, 22},
    {"church", kPiwChurch, 63},
    {"port", kPiwPort, 26},
    {"barracks", kPiwBarracks, 25},
    {"bank", kPiwBank, 89},
    {"embassy", kPiwEmbassy, 90},
    {"merchant", kPiwMerchant, 91},
    {"resource", kPiwResource, 24},
    {"blockade", kPiwBlockade, kPiwNoHelp},
    {"house1", kPiwHouse1, kPiwNoHelp},
    {"house2", kPiwHouse, kPiwNoHelp},
    {"house3", kPiwHouse, kPiwNoHelp},
    {"house4", kPiwHouse, kPiwNoHelp},
    {"siege", kPiwSiege, kPiwNoHelp},
    {"trading", kPiwTrading, kPiwNoHelp},
    {"FortUtbyggd", kPiwFortExtension, kPiwNoHelp},
    {"native", kPiwNative, kPiwNoHelp},
};

// Keywords of the format that name symbols; every other keyword is not a
// symbol's name.
bool IsSymbolKeyword(uint32_t code) {
    return code == KW_BANK || code == KW_MERCHANT || code == KW_PORT || code == KW_SIEGE;
}

// Passes over the rest of a block whose "{" has been taken, up to and
// including its "}".
void SkipBlock(CFieldReader& reader) {
    CTokenFile* file = reader.GetTokenFile();
    for (int32_t depth = 1; file && depth > 0 && file->Next() != 0;) {
        if (file->Current().code == TOKEN_OPEN_BRACE)
            ++depth;
        else if (file->Current().code == TOKEN_CLOSE_BRACE)
            --depth;
    }
}

// The fields of a point block whose "{" has been taken, up to its "}".
void ReadPoint(CFieldReader& reader, int32_t& x, int32_t& y) {
    while (reader.ReadBlockField() == FIELD_READ) {
        if (reader.key.code == KW_X)
            x = TokenToInt(reader.value.text);
        else if (reader.key.code == KW_Y)
            y = TokenToInt(reader.value.text);
        else if (reader.value.code == TOKEN_OPEN_BRACE)
            SkipBlock(reader);
    }
}

bool SameWord(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

int32_t PlusHeld(int32_t value, int32_t add) {
    const int64_t sum = int64_t{value} + add;
    if (sum > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

// The tree number of a "tree%d" key: the number when it is 1..15, else 1.
int32_t TreeNumber(const char* key) {
    const int32_t n = std::strncmp(key, "tree", 4) == 0 ? TokenToInt(key + 4) : 0;
    return n >= 1 && n <= kPiwTreeCount ? n : 1;
}

CStringDictionary<CProvinceSpriteList>& Layouts() {
    static CStringDictionary<CProvinceSpriteList> layouts;
    return layouts;
}

} // namespace

int32_t CProvinceSpriteList::Read(CFieldReader& reader) {
    for (;;) {
        const int32_t answer = reader.ReadField();
        if (answer == FIELD_BLOCK_END || answer == FIELD_END_OF_FILE)
            break;
        if (answer != FIELD_READ)
            continue; // reported by the reader; its tokens are taken
        const uint32_t keyCode = reader.key.code;
        if (keyCode != TOKEN_STRING && !IsSymbolKeyword(keyCode)) {
            if (reader.value.code == TOKEN_OPEN_BRACE)
                SkipBlock(reader);
            continue;
        }
        if (reader.value.code != TOKEN_OPEN_BRACE) {
            reader.ReportError("No left Curly");
            continue;
        }
        ProvinceSpriteEntry entry;
        const char* key = reader.key.text;
        const SymbolName* symbol = nullptr;
        // Keywords are words of any case; plain words match exactly.
        for (const SymbolName& s : kSymbols)
            if (keyCode == TOKEN_STRING ? std::strcmp(s.name, key) == 0 : SameWord(s.name, key))
                symbol = &s;
        if (symbol) {
            entry.kind = symbol->kind;
            entry.helpCode = symbol->helpCode;
        } else if (std::strncmp(key, "tre", 3) == 0) {
            entry.treeNumber = TreeNumber(key);
        } else {
            reader.ReportError("unknown sprite");
        }
        int32_t x = 0;
        int32_t y = 0;
        ReadPoint(reader, x, y);
        entry.x = PlusHeld(x, 4);
        entry.y = y;
        m_entries.push_back(entry);
    }
    if (CTokenFile* file = reader.GetTokenFile())
        file->Next();
    return 0;
}

CProvinceSpriteList* GetProvinceSpriteList(const std::string& windowKey) {
    if (windowKey.empty())
        return nullptr;
    if (CProvinceSpriteList* kept = Layouts().Get(windowKey))
        return kept;
    auto list = std::make_unique<CProvinceSpriteList>();
    CFieldReader reader;
    reader.Open("gfx\\interface\\piw\\" + windowKey + ".txt", "r");
    if (reader.IsOpen())
        list->Read(reader);
    reader.Close();
    CProvinceSpriteList* made = list.release();
    Layouts().Insert(windowKey, made);
    return made;
}

void FreeProvinceSpriteLists() {
    Layouts().RemoveAll();
}
