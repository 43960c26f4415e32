// Fuzz target: arbitrary bytes as a file of the text format. The bytes are
// tokenized to the end (every token written back through the token writer),
// then read again as nested blocks with the field reader, its list readers
// and the date block.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "data/TextOutput.h"
#include "data/TokenFile.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Check;

bool ValidCode(uint32_t code) {
    return code == TOKEN_EQUALS || code == TOKEN_OPEN_BRACE || code == TOKEN_CLOSE_BRACE ||
           code == TOKEN_OPEN_PAREN || code == TOKEN_CLOSE_PAREN || code == TOKEN_COMMA ||
           IsKeywordCode(code) || code == TOKEN_NUMBER || code == TOKEN_STRING;
}

// Reads fields up to the block's "}" as the object readers do, handing each
// nested block to a reader chosen by its key.
int32_t ReadBlock(CFieldReader& in, int depth) {
    for (;;) {
        int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return result;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next();
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ || in.value.code != TOKEN_OPEN_BRACE)
            continue;
        int32_t nested = FIELD_BLOCK_END;
        switch (in.key.code) {
        case KW_DATE:
        case KW_STARTDATE: {
            CDate date;
            nested = date.Read(in);
            Check(date.day >= 0 && date.day < 30);
            break;
        }
        case KW_VALUES: {
            CIntList list;
            nested = in.ReadIntList(list);
            break;
        }
        case KW_MODIFIERS: {
            CFloatList list;
            nested = in.ReadFloatList(list);
            break;
        }
        case KW_NATIONS: {
            CIntList list;
            nested = in.ReadTagList(
                list, [](const char* tag) { return std::strcmp(tag, "ENG") == 0 ? 1 : 0; });
            break;
        }
        case KW_ARCHIVEDGAMEEVENTS: {
            CDatedIdList list;
            nested = in.ReadDatedIdList(7, list);
            break;
        }
        default:
            // Deep nesting is read flat so the stack stays small.
            nested = depth < 64 ? ReadBlock(in, depth + 1) : FIELD_BLOCK_END;
            break;
        }
        if (nested == FIELD_END_OF_FILE)
            return nested;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool indexed = (BuildKeywordIndex(), true);
    (void)indexed;
    fuzz::InScratchFolder folder;
    folder.WriteFile("input.ovg", data, size);

    CFieldReader in;
    CFieldReader out;
    in.Open("input.ovg", "r");
    out.Open("output.ovg", "w");
    CTokenFile* file = in.GetTokenFile();
    while (file->Next() == 1) {
        const Token& token = file->Current();
        Check(ValidCode(token.code));
        Check(std::memchr(token.text, '\0', Token::TEXT_SIZE) != nullptr);
        Check(out.WriteToken(token) == FIELD_WRITTEN);
    }
    Check(file->Peek()->code == TOKEN_EOF);
    Check(file->Next() == 0);

    in.Open("input.ovg", "r");
    while (ReadBlock(in, 0) != FIELD_END_OF_FILE) {
    }
    return 0;
}
