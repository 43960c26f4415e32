// The "globaldata" block of scenario and saved-game files.
#include <algorithm>
#include <cstring>

#include "data/DataTree.h"
#include "data/KeptBlock.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

// Passes over the rest of a block whose "{" has been taken. The answer of
// the block reader: FIELD_BLOCK_END, FIELD_ERROR or FIELD_END_OF_FILE.
int32_t SkipBlock(CFieldReader& in) {
    CKeptBlock dropped;
    return dropped.Read(in);
}

// A date block of the globals after its "{" up to and including its "}".
// Unlike the plain date reader it goes on after a key it does not know, and
// a day outside 0..29 is reported ("Globals : Illegal day") and held within
// the month (45 becomes 29), as every date of the game is.
int32_t ReadScenarioDate(CFieldReader& in, CDate& date) {
    for (;;) {
        // A field without "=" is reported and its tokens dropped.
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        if (value.code == TOKEN_OPEN_BRACE) {
            in.ReportError("Date : Unexpected field");
            const int32_t skipped = SkipBlock(in);
            if (skipped != FIELD_BLOCK_END)
                return skipped;
            continue;
        }
        switch (in.key.code) {
        case KW_YEAR: {
            const int32_t year = TokenToInt(value.text);
            date.year = static_cast<int16_t>(std::clamp<int32_t>(year, INT16_MIN, INT16_MAX));
            break;
        }
        case KW_MONTH:
            if (value.code >= KW_JANUARY && value.code <= KW_DECEMBER)
                date.month = static_cast<int8_t>(value.code - KW_JANUARY);
            else
                in.ReportError("Unknown month");
            break;
        case KW_DAY: {
            const int32_t day = TokenToInt(value.text);
            const int32_t lastDay = static_cast<int32_t>(kDaysPerMonth) - 1;
            if (day < 0 || day > lastDay)
                in.ReportError("Globals : Illegal day");
            date.day = static_cast<int8_t>(std::clamp(day, 0, lastDay));
            break;
        }
        default:
            in.ReportError("Date : Unexpected field");
            break;
        }
    }
}

// The country number of an "emperor" value: a tag, a number or an id block.
// -1 when it names no country (reported).
int32_t ReadCountryValue(CFieldReader& in, int32_t& nested) {
    const Token& value = in.value;
    int32_t number = 0;
    if (value.code == TOKEN_OPEN_BRACE) {
        ObjectId id;
        nested = id.Read(in);
        if (nested != FIELD_BLOCK_END)
            return -1;
        number = id.type == kCountryObjectType ? static_cast<int32_t>(id.number) : 0;
    } else if (value.code == TOKEN_NUMBER) {
        number = TokenToInt(value.text);
    } else if (g_scenarioHeaderHooks.findCountryByTag) {
        number = g_scenarioHeaderHooks.findCountryByTag(value.text);
    }
    if (number <= 0 || number >= static_cast<int32_t>(kCountrySlots)) {
        in.ReportError("Globals : Unknown country");
        return -1;
    }
    return number;
}

} // namespace

int32_t CGlobals::Read(CFieldReader& in) {
    for (;;) {
        // A field without "=" is reported and its tokens dropped.
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        const bool block = value.code == TOKEN_OPEN_BRACE;
        // The answer of a nested block's reader.
        int32_t nested = FIELD_BLOCK_END;
        switch (in.key.code) {
        case KW_STARTDATE:
        case KW_ENDDATE:
            if (!block)
                in.ReportError("No Left Curly");
            else
                nested = ReadScenarioDate(in, in.key.code == KW_STARTDATE ? startDate : endDate);
            break;
        case KW_NAME:
        case KW_DESC:
            if (block) {
                in.ReportError("Globals : Unexpected field");
                nested = SkipBlock(in);
            } else if (in.key.code == KW_NAME) {
                name = value.text;
            }
            break;
        case KW_EMPEROR: {
            const int32_t number = ReadCountryValue(in, nested);
            if (number > 0)
                emperor = static_cast<uint32_t>(number);
            break;
        }
        case KW_DUTCH:
            if (value.code == KW_YES)
                dutch = true;
            else if (value.code != KW_NO)
                in.ReportError("Illegal Argument");
            if (block)
                nested = SkipBlock(in);
            break;
        case KW_PROTESTANT:
        case KW_REFORMED:
            if (block) {
                in.ReportError("Globals : Unexpected field");
                nested = SkipBlock(in);
            } else {
                SetProgress(in.key.code == KW_PROTESTANT ? 0 : 1, TokenToFloat(value.text));
            }
            break;
        case KW_PROGRESS: {
            if (!block) {
                in.ReportError("Global progress - No left curly brace");
                break;
            }
            CFloatList values;
            nested = in.ReadFloatList(values);
            uint32_t index = 0;
            values.ForEach([this, &index](float v) { SetProgress(index++, v); });
            if (index > kProgressValues)
                in.ReportError("Global progress - Too many values");
            break;
        }
        case KW_FLAGS: {
            if (!block) {
                in.ReportError("Global flags - No left curly brace");
                break;
            }
            CIntList numbers;
            nested = in.ReadIntList(numbers);
            eventFlags.fill(false);
            bool illegal = false;
            numbers.ForEach([this, &illegal](int32_t n) {
                if (n >= 0 && n < static_cast<int32_t>(kEventFlags))
                    eventFlags[static_cast<size_t>(n)] = true;
                else
                    illegal = true;
            });
            if (illegal)
                in.ReportError("Global flags - Illegal flag");
            break;
        }
        case KW_DISCOVERIES:
        case KW_ESTABLISHMENTS:
            if (!block)
                in.ReportError("No Left Curly");
            else
                nested =
                    in.key.code == KW_DISCOVERIES ? discoveries.Read(in) : establishments.Read(in);
            break;
        case KW_ALLIANCE:
        case KW_WAR: {
            if (!block) {
                in.ReportError("No Left Curly");
                break;
            }
            auto* reader = in.key.code == KW_ALLIANCE ? g_globalsTreaties.readAlliance
                                                      : g_globalsTreaties.readWar;
            nested = reader ? reader(in) : SkipBlock(in);
            break;
        }
        default:
            in.ReportError("Globals : Unexpected field");
            if (block)
                nested = SkipBlock(in);
            break;
        }
        // A nested block that did not end at its "}" leaves the reader inside
        // it: the block cannot be read on.
        if (nested == FIELD_END_OF_FILE || nested == FIELD_ERROR)
            return nested;
    }
}

CDataBlock* CGlobals::Write() const {
    CDataBlock* block = new CDataBlock();
    // The start date of a saved game is the day it was saved.
    const CDate start = g_gameTimer ? CScenario::GetGameDate() : startDate;
    block->AddChild(new CDataAssignment(KW_STARTDATE, start.Write()));
    block->AddChild(new CDataAssignment(KW_ENDDATE, endDate.Write()));
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(name.c_str())));
    if (g_fantasyMode)
        block->AddChild(new CDataAssignment(KW_DESC, new CDataString("fantasy")));
    block->AddChild(
        new CDataAssignment(KW_EMPEROR, new CDataObjectId(ObjectId(kCountryObjectType, emperor))));
    block->AddChild(new CDataAssignment(KW_DISCOVERIES, discoveries.Write()));
    block->AddChild(new CDataAssignment(KW_ESTABLISHMENTS, establishments.Write()));
    if (g_globalsTreaties.writeAlliances)
        g_globalsTreaties.writeAlliances(*block);
    if (g_globalsTreaties.writeWars)
        g_globalsTreaties.writeWars(*block);
    CDataBlock* flags = new CDataBlock();
    for (uint32_t n = 0; n < kEventFlags; ++n)
        if (eventFlags[n])
            flags->AddChild(new CDataInt(static_cast<int32_t>(n)));
    block->AddChild(new CDataAssignment(KW_FLAGS, flags));
    CDataBlock* values = new CDataBlock();
    for (float value : progress)
        values->AddChild(new CFloatNode(value));
    block->AddChild(new CDataAssignment(KW_PROGRESS, values));
    return block;
}
