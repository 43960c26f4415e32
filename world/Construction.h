#pragma once
// Construction orders under way in a province, and the province's list of
// them. An order's block is kept as it was read and written back.
#include <cstdint>
#include <memory>
#include <vector>

#include "data/KeptBlock.h"

class CDataBlock;
class CDate;
class CFieldReader;

class CConstructionOrder {
public:
    // Ready to be read.
    CConstructionOrder() = default;
    virtual ~CConstructionOrder() = default;
    CConstructionOrder(const CConstructionOrder&) = delete;
    CConstructionOrder& operator=(const CConstructionOrder&) = delete;

    // The "construction" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END, or FIELD_ERROR after an error (FIELD_END_OF_FILE when
    // the file ends inside it).
    virtual int32_t Read(CFieldReader& in);
    // The block as a new node (count 0, owned by the caller).
    virtual CDataBlock* Write() const;

private:
    CKeptBlock m_block;
};

// The orders of one province in list order; the list owns them.
class CConstructionList {
public:
    // Appends the order at the tail.
    void AddOrder(std::unique_ptr<CConstructionOrder> order);
    uint32_t GetCount() const { return static_cast<uint32_t>(m_orders.size()); }
    bool IsEmpty() const { return m_orders.empty(); }
    const CConstructionOrder& GetOrder(uint32_t index) const { return *m_orders.at(index); }
    void Clear() { m_orders.clear(); }

private:
    std::vector<std::unique_ptr<CConstructionOrder>> m_orders;
};

// A construction of the country in the province: the order joins the
// province's construction list, then its expiry is posted for its end date,
// addressed to the country (+20 the kind, +24 the province, +28 the
// country's number).
void ScheduleExpireConstruction(uint32_t country, uint32_t kind, uint32_t province,
                                const CDate& endDate, std::unique_ptr<CConstructionOrder> order);
