#include "country/CountryDefinition.h"

#include "data/Keywords.h"

namespace {

const bool g_definitionReaderRegistered = [] {
    g_readCountryDefinition = &ReadCountryDefinition;
    return true;
}();

// Passes over the value of a key the record does not take: a whole block
// (or list) when it opens with "{", nested blocks included. FIELD_END_OF_FILE
// when the file ends in it.
int32_t SkipValue(CFieldReader& in) {
    if (in.value.code != TOKEN_OPEN_BRACE)
        return FIELD_BLOCK_END;
    CTokenFile& file = *in.GetTokenFile();
    for (uint32_t depth = 1; depth > 0;) {
        if (file.Next() != 1)
            return FIELD_END_OF_FILE;
        if (file.Current().code == TOKEN_OPEN_BRACE)
            ++depth;
        else if (file.Current().code == TOKEN_CLOSE_BRACE)
            --depth;
    }
    return FIELD_BLOCK_END;
}

int32_t ReadList(CFieldReader& in, CIntList& list) {
    if (in.value.code != TOKEN_OPEN_BRACE) {
        in.ReportError("No Left curly");
        return FIELD_BLOCK_END;
    }
    return in.ReadIntList(list);
}

} // namespace

int32_t ReadCountryDefinition(CFieldReader& in, CCountryDefinition& record) {
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next(); // the "}"
            return FIELD_BLOCK_END;
        }
        if (result != FIELD_READ)
            continue; // a key without "=" was taken and reported
        int32_t answer = FIELD_BLOCK_END;
        switch (in.key.code) {
        case KW_DATE:
        case KW_EXPIRYDATE: {
            CDate& date = in.key.code == KW_DATE ? record.date : record.expiryDate;
            if (in.value.code != TOKEN_OPEN_BRACE)
                in.ReportError("No Left curly");
            else
                answer = date.Read(in);
            break;
        }
        case KW_MINIMUM:
            answer = ReadList(in, record.minimum);
            break;
        case KW_EXTRA:
            answer = ReadList(in, record.extra);
            break;
        case KW_CAPITAL:
            if (in.value.code == TOKEN_NUMBER)
                record.capital = TokenToInt(in.value.text);
            break;
        case KW_GROUP:
            switch (in.value.code) {
            case KW_LATIN:
                record.group = 0;
                break;
            case KW_ORTHODOX:
                record.group = 1;
                break;
            case KW_MUSLIM:
                record.group = 2;
                break;
            case KW_EXOTIC:
                record.group = 3;
                break;
            default:
                in.ReportError("Illegal tech group");
                break;
            }
            break;
        default:
            answer = SkipValue(in);
            break;
        }
        if (answer == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
    }
}
