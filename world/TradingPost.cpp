#include "world/TradingPost.h"

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "world/Province.h"

int32_t CTradingPost::Read(CFieldReader& in) {
    const int32_t result = m_block.Read(in);
    const CDataNode* location = m_block.FindValue(KW_LOCATION);
    if (location && location->GetNodeType() == NODE_INT && location->GetInt() >= kFirstProvinceId &&
        location->GetInt() <= kLastProvinceId)
        m_location = location->GetInt();
    return result;
}

CDataBlock* CTradingPost::Write() const {
    return m_block.Write();
}
