#pragma once
// Trading posts. The province owns its trading post; the block is kept as it
// was read and written back.
#include <cstdint>

#include "data/KeptBlock.h"
#include "world/Settlement.h"

class CDataBlock;
class CFieldReader;

class CTradingPost : public CSettlement {
public:
    CTradingPost();
    ~CTradingPost() override = default;
    CTradingPost(const CTradingPost&) = delete;
    CTradingPost& operator=(const CTradingPost&) = delete;

    // The "tradingpost" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END, or FIELD_ERROR after an error (FIELD_END_OF_FILE when
    // the file ends inside it).
    int32_t Read(CFieldReader& in) override;
    // The block as a new node (count 0, owned by the caller).
    virtual CDataBlock* Write() const;

    // The province id the block named ("location"), 0 when none (also for
    // an id outside 1..1472).
    int32_t GetLocation() const { return GetProvinceId(); }

private:
    CKeptBlock m_block;
};
