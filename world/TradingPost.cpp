#include "world/TradingPost.h"

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "world/Province.h"

namespace {
constexpr int32_t kSpriteKindTradingPost = 5;
} // namespace

CTradingPost::CTradingPost()
    : CSettlement(SpriteKey{kSpriteKindTradingPost, kSpriteCultureNone, kSpriteActionNone,
                            kSpriteDirectionNone, kSpriteLevelNone}) {}

int32_t CTradingPost::Read(CFieldReader& in) {
    const int32_t result = m_block.Read(in);
    // SetProvinceId takes only the ids of provinces.
    const CDataNode* location = m_block.FindValue(KW_LOCATION);
    if (location && location->GetNodeType() == NODE_INT)
        SetProvinceId(location->GetInt());
    return result;
}

CDataBlock* CTradingPost::Write() const {
    return m_block.Write();
}
