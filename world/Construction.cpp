#include "world/Construction.h"

#include "engine/Date.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/Province.h"

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

void ScheduleExpireConstruction(uint32_t country, uint32_t kind, uint32_t province,
                                const CDate& endDate, std::unique_ptr<CConstructionOrder> order) {
    // Kinds 7 and 13 also clear a flag of the province's record, once the
    // province carries it.
    if (CProvince* record = GetProvince(province); record && order)
        record->GetConstructions().AddOrder(std::move(order));
    PostEventAt(std::make_unique<COVConstructionEvent>(
                    EVT_EXPIRE_CONSTRUCTION, MakeCountryId(country), kind, province, country),
                endDate);
}
