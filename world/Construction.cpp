#include "world/Construction.h"

int32_t CConstructionOrder::Read(CFieldReader& in) {
    return m_block.Read(in);
}

CDataBlock* CConstructionOrder::Write() const {
    return m_block.Write();
}

void CConstructionList::AddOrder(std::unique_ptr<CConstructionOrder> order) {
    if (order)
        m_orders.push_back(std::move(order));
}
