#pragma once
// Trading posts: the settlement a country keeps in a province where it has
// no city, with a level of 0 to 6 that raises the province's trade. The
// province owns its trading post; the owner's list names it.
//
// The "tradingpost" block of a country:
//   tradingpost = { name = "Puerto" level = 2 location = 12 }
#include <cstdint>

#include "world/Settlement.h"

class CDataBlock;
class CFieldReader;

class CTradingPost : public CSettlement {
public:
    static constexpr float kMaxLevel = 6.0f;

    // Level 0, the trading-post symbol.
    CTradingPost();
    ~CTradingPost() override = default;
    CTradingPost(const CTradingPost&) = delete;
    CTradingPost& operator=(const CTradingPost&) = delete;

    // The "tradingpost" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END. "name" takes a string (other values are passed
    // over), "level" a number held to 0..6, "location" a province id
    // (SetLocation). Any other key is reported ("TradingPost : Unexpected
    // field"), the rest of the block is passed over and the answer is
    // FIELD_ERROR; FIELD_END_OF_FILE when the file ends inside the block.
    int32_t Read(CFieldReader& in) override;
    // The block as a new node (count 0, owned by the caller): name, the
    // level's whole part and the location.
    virtual CDataBlock* Write() const;

    // The province id the trading post stands in, 0 when none.
    int32_t GetLocation() const { return GetProvinceId(); }
    // Takes the province (1..1472; others leave none): the symbol stands at
    // the province's symbol point and the flag shows its controller. The
    // province takes the trading post from whoever made it
    // (CProvince::SetTradingPost).
    virtual void SetLocation(int32_t provinceId);

    // level x 0.1 + 0.4.
    float GetTradeFactor() const override { return level * 0.1f + 0.4f; }

    // Three console lines: the name, the level as a whole number and the
    // location.
    void Dump() const;

    float level = 0.0f;
};
