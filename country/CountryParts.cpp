#include "country/CountryParts.h"

#include <algorithm>
#include <string_view>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "world/Areas.h"
#include "world/Province.h"

int32_t CLossesRecord::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        if (in.value.code != TOKEN_NUMBER)
            continue;
        const float number = TokenToFloat(in.value.text);
        switch (in.key.code) {
        case KW_WARSHIPS:
            warships = number;
            break;
        case KW_GALLEYS:
            galleys = number;
            break;
        case KW_TRANSPORTS:
            transports = number;
            break;
        case KW_INFANTRY:
            infantry = number;
            break;
        case KW_CAVALRY:
            cavalry = number;
            break;
        case KW_ARTILLERY:
            artillery = number;
            break;
        default:
            break;
        }
    }
}

CDataBlock* CLossesRecord::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_WARSHIPS, new CFloatNode(warships)));
    block->AddChild(new CDataAssignment(KW_GALLEYS, new CFloatNode(galleys)));
    block->AddChild(new CDataAssignment(KW_TRANSPORTS, new CFloatNode(transports)));
    block->AddChild(new CDataAssignment(KW_INFANTRY, new CFloatNode(infantry)));
    block->AddChild(new CDataAssignment(KW_CAVALRY, new CFloatNode(cavalry)));
    block->AddChild(new CDataAssignment(KW_ARTILLERY, new CFloatNode(artillery)));
    return block;
}

int32_t CBaseVP::Read(CFieldReader& in) {
    CTokenFile* file = in.GetTokenFile();
    uint32_t count = 0;
    return ReadListTokens(in, [this, file, &count](const Token& token) {
        if (token.code != TOKEN_NUMBER)
            ReportTokenError("basevp: Unexpected field", token.text, "", "", file->GetLine(),
                             file->GetFileName());
        else if (count >= kCategories)
            ReportTokenError("Too many values for basevp", token.text, "", "", file->GetLine(),
                             file->GetFileName());
        else
            values[count++] = TokenToFloat(token.text);
        return FIELD_READ;
    });
}

CDataBlock* CBaseVP::Write() const {
    auto* block = new CDataBlock;
    for (float value : values)
        block->AddChild(new CFloatNode(value));
    return block;
}

// ---------------------------------------------------------------------------
// The computer player's preferences

namespace {

// A whole decimal number, an optional "-" first; false for anything else
// (a fraction, an empty text, digits beyond the range).
bool ParseWholeNumber(const char* text, uint32_t& out) {
    if (!text || !*text)
        return false;
    const bool negative = *text == '-';
    const char* digits = negative ? text + 1 : text;
    if (!*digits)
        return false;
    uint64_t value = 0;
    for (const char* c = digits; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(*c - '0');
        if (value > 0xFFFFFFFFull)
            return false;
    }
    out = static_cast<uint32_t>(negative ? 0u - static_cast<uint32_t>(value)
                                         : static_cast<uint32_t>(value));
    return true;
}

// The names of the list up to its "}", each looked up; a name the table
// does not know is reported and passed over.
int32_t ReadNameList(CFieldReader& in, std::vector<int32_t>& list,
                     int32_t (*find)(const char* name), const char* first) {
    list.clear();
    CTokenFile* file = in.GetTokenFile();
    return ReadListTokens(in, [&](const Token& token) {
        const int32_t index = find(token.text);
        if (index == 0 && std::string_view(token.text) != first)
            ReportTokenError("ai-prefs : Unknown name", token.text, "", "", file->GetLine(),
                             file->GetFileName());
        else
            list.push_back(index);
        return FIELD_READ;
    });
}

} // namespace

int32_t CAIPrefs::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next(); // a stray "}"
            continue;
        }
        if (result != FIELD_READ)
            continue;
        uint32_t* weight = nullptr;
        switch (in.key.code) {
        case KW_TRADINGPOST:
            weight = &tradingpost;
            break;
        case KW_NEIGHBOUR:
            weight = &neighbour;
            break;
        case KW_ENEMIES:
            weight = &enemies;
            break;
        case KW_EXPANSION:
            weight = &expansion;
            break;
        case KW_TRADERS:
            weight = &traders;
            break;
        case KW_MONOPOLY:
            weight = &monopoly;
            break;
        case KW_WAR:
            weight = &war;
            break;
        case KW_CONTINENT:
        case KW_AREA:
        case KW_REGION: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("ai-prefs : A list in braces expected");
                continue;
            }
            int32_t listEnd = FIELD_END_OF_FILE;
            if (in.key.code == KW_CONTINENT)
                listEnd = ReadNameList(in, continents, &FindContinentByName, g_continentNames[0]);
            else if (in.key.code == KW_AREA)
                listEnd = ReadNameList(in, areas, &FindAreaByName, g_areaNames[0]);
            else
                listEnd = ReadNameList(in, regions, &FindRegionByName, g_regionNames[0]);
            if (listEnd == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            continue;
        }
        default:
            in.ReportError("ai-prefs : Unexpected field");
            return FIELD_ERROR;
        }
        uint32_t number = 0;
        if (in.value.code == TOKEN_NUMBER && ParseWholeNumber(in.value.text, number))
            *weight = number;
        else
            in.ReportError("ai-prefs : Not a whole number");
    }
}

float CAIPrefs::RateProvince(float value, const CProvince& province) const {
    auto listed = [](const std::vector<int32_t>& list, int32_t index) {
        return std::find(list.begin(), list.end(), index) != list.end();
    };
    if (listed(areas, province.area))
        value += 50.0f;
    if (listed(regions, province.region))
        value += 25.0f;
    if (listed(continents, province.continent))
        value += 10.0f;
    return value;
}
