#include "world/City.h"

#include <algorithm>
#include <cmath>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "world/Province.h"

namespace {

// The population a city "level" stands for: levels 1 to 6 are colonies of
// 200 to 700; from 100 on, the hundreds give the size of a city.
float PopulationOfLevel(float level) {
    if (level < 100.0f) {
        const float step = std::clamp(std::trunc(level - 1.0f), 0.0f, 5.0f);
        return 200.0f + 100.0f * step;
    }
    static constexpr float kSizes[] = {10000.0f, 20000.0f,  40000.0f,
                                       80000.0f, 200000.0f, 999999.0f};
    const float index = std::clamp(std::trunc(level / 100.0f), 1.0f, 6.0f);
    return kSizes[static_cast<size_t>(index) - 1];
}

// A number node's value as a float (0 for any other node).
float NumberOf(const CDataNode* node) {
    if (!node)
        return 0.0f;
    if (node->GetNodeType() == NODE_FLOAT)
        return node->GetFloat();
    return node->GetNodeType() == NODE_INT ? static_cast<float>(node->GetInt()) : 0.0f;
}

} // namespace

int32_t CCity::Read(CFieldReader& in) {
    const int32_t result = m_block.Read(in);
    if (const CDataNode* population = m_block.FindValue(KW_POPULATION))
        m_population = NumberOf(population);
    else if (const CDataNode* level = m_block.FindValue(KW_LEVEL))
        m_population = PopulationOfLevel(NumberOf(level));
    const CDataNode* capital = m_block.FindValue(KW_CAPITAL);
    if (capital && capital->GetKeywordId() == KW_YES)
        m_capital = 1;
    const CDataNode* location = m_block.FindValue(KW_LOCATION);
    if (location && location->GetNodeType() == NODE_INT && location->GetInt() >= kFirstProvinceId &&
        location->GetInt() <= kLastProvinceId)
        m_location = location->GetInt();
    return result;
}

CDataBlock* CCity::Write() const {
    CDataBlock* kept = m_block.Write();
    CDataBlock* block = new CDataBlock;
    // The kept entries, the capital mark as the city holds it now.
    for (uint32_t i = 0; i < kept->GetChildCount(); ++i) {
        CDataNode* child = kept->GetChild(i);
        if (child->IsAssignment() && child->GetKeywordId() == KW_CAPITAL)
            block->AddChild(
                new CDataAssignment(KW_CAPITAL, new CDataIdentifier(m_capital ? KW_YES : KW_NO)));
        else
            block->AddChild(child);
    }
    CDataNode::DeleteIfUnheld(kept);
    return block;
}
