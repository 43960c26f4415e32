#include "data/DateBlock.h"

#include "data/DataTree.h"
#include "data/Keywords.h"

int32_t CDate::Read(CFieldReader& in) {
    for (;;) {
        int32_t result = in.ReadField();
        if (result == FIELD_READ) {
            const Token& value = in.value;
            switch (in.key.code) {
            case KW_YEAR:
                if (value.code == TOKEN_NUMBER)
                    year = static_cast<int16_t>(TokenToInt(value.text));
                break;
            case KW_MONTH:
                if (value.code >= KW_JANUARY && value.code <= KW_DECEMBER)
                    month = static_cast<int8_t>(value.code - KW_JANUARY);
                else
                    in.ReportError("Unknown month");
                break;
            case KW_DAY: {
                if (value.code == TOKEN_NUMBER)
                    day = static_cast<int8_t>(static_cast<uint8_t>(TokenToInt(value.text)));
                // Held within the month, the day taken as a signed byte.
                if (day >= static_cast<int8_t>(kDaysPerMonth))
                    day = static_cast<int8_t>(kDaysPerMonth - 1);
                else if (day < 0)
                    day = 0;
                break;
            }
            default:
                in.ReportError("Date : Unexpected field");
                return FIELD_ERROR;
            }
            continue;
        }
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        CTokenFile* file = in.GetTokenFile();
        if (file && file->Peek()->code == TOKEN_CLOSE_BRACE) {
            file->Next();
            return FIELD_BLOCK_END;
        }
        // A field without "=": its tokens are dropped and the block read on.
    }
}

CDataBlock* CDate::Write() const {
    uint32_t monthKeyword = KW_JANUARY;
    if (month >= 0 && month < static_cast<int8_t>(kMonthsPerYear))
        monthKeyword = KW_JANUARY + static_cast<uint32_t>(month);
    CDataBlock* block = new CDataBlock();
    block->AddChild(new CDataAssignment(KW_YEAR, new CDataInt(year)));
    block->AddChild(new CDataAssignment(KW_MONTH, new CDataIdentifier(monthKeyword)));
    block->AddChild(new CDataAssignment(KW_DAY, new CDataInt(day)));
    return block;
}
