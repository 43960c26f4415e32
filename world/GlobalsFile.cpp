// The "globaldata" block of scenario and saved-game files.
#include "data/Keywords.h"
#include "world/Globals.h"

namespace {

// A date from the data tree of its block ({ year = .. month = .. day = .. });
// the parts it does not hold stay as they are.
void DateFromTree(CDataNode* node, CDate& date) {
    CDataBlock* block = node ? node->AsBlock() : nullptr;
    if (!block)
        return;
    for (uint32_t i = 0; i < block->GetChildCount(); ++i) {
        CDataNode* entry = block->GetChild(i);
        CDataNode* value = entry && entry->IsAssignment() ? entry->GetValue() : nullptr;
        if (!value)
            continue;
        switch (entry->GetKeywordId()) {
        case KW_YEAR:
            date.year = static_cast<int16_t>(value->GetInt());
            break;
        case KW_MONTH:
            if (value->GetKeywordId() >= KW_JANUARY && value->GetKeywordId() <= KW_DECEMBER)
                date.month = static_cast<int8_t>(value->GetKeywordId() - KW_JANUARY);
            break;
        case KW_DAY: {
            int32_t day = value->GetInt();
            date.day = static_cast<int8_t>(day < 0 ? 0 : (day > 29 ? 29 : day));
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

int32_t CGlobals::Read(CFieldReader& in) {
    int32_t result = savedBlock.Read(in);
    DateFromTree(savedBlock.FindValue(KW_STARTDATE), startDate);
    DateFromTree(savedBlock.FindValue(KW_ENDDATE), endDate);
    return result;
}

CDataBlock* CGlobals::Write() const {
    return savedBlock.Write();
}
