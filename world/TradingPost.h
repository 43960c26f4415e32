#pragma once
// Trading posts. The province owns its trading post; the block is kept as it
// was read and written back.
#include <cstdint>

#include "data/KeptBlock.h"

class CDataBlock;
class CFieldReader;

class CTradingPost {
public:
    CTradingPost() = default;
    virtual ~CTradingPost() = default;
    CTradingPost(const CTradingPost&) = delete;
    CTradingPost& operator=(const CTradingPost&) = delete;

    // The "tradingpost" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END, or FIELD_ERROR after an error (FIELD_END_OF_FILE when
    // the file ends inside it).
    virtual int32_t Read(CFieldReader& in);
    // The block as a new node (count 0, owned by the caller).
    virtual CDataBlock* Write() const;

    // The province id the block named ("location"), 0 when none.
    int32_t GetLocation() const { return m_location; }

private:
    CKeptBlock m_block;
    int32_t m_location = 0;
};
