#include "world/TradingPost.h"

#include <algorithm>

#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScriptFile.h"
#include "world/Province.h"

namespace {
constexpr int32_t kSpriteKindTradingPost = 5;
} // namespace

CTradingPost::CTradingPost()
    : CSettlement(SpriteKey{kSpriteKindTradingPost, kSpriteCultureNone, kSpriteActionNone,
                            kSpriteDirectionNone, kSpriteLevelNone}) {}

int32_t CTradingPost::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_ERROR)
            continue; // a key without "=": reported, the next field follows
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_NAME:
            if (value.code == TOKEN_STRING)
                SetName(value.text);
            break;
        case KW_LEVEL:
            level = std::clamp(TokenToFloat(value.text), 0.0f, kMaxLevel);
            break;
        case KW_LOCATION:
            SetLocation(TokenToInt(value.text));
            break;
        default:
            in.ReportError("TradingPost : Unexpected field");
            if (value.code == TOKEN_OPEN_BRACE)
                SkipRestOfBlock(in); // the nested block
            SkipRestOfBlock(in);
            return FIELD_ERROR;
        }
    }
}

CDataBlock* CTradingPost::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(GetName())));
    block->AddChild(new CDataAssignment(KW_LEVEL, new CDataInt(static_cast<int32_t>(level))));
    block->AddChild(new CDataAssignment(KW_LOCATION, new CDataInt(GetProvinceId())));
    return block;
}

void CTradingPost::SetLocation(int32_t provinceId) {
    SetProvinceId(provinceId);
    const CProvince* province = GetProvince();
    if (!province)
        return;
    m_symbol.PlaceAt(province->symbolPosition.x, province->symbolPosition.y);
    m_symbol.Show();
    UpdateFlag();
}

void CTradingPost::Dump() const {
    ConsolePrint("%%BLUE TradePost %%WHITE %s\n", GetName());
    ConsolePrint("Level %%GREEN %d\n", static_cast<int32_t>(level));
    ConsolePrint("Location %%GREEN %d\n", GetProvinceId());
}
