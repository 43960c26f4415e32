#pragma once
// Which provinces each country has discovered: the marks the province
// records hold (CProvince::discoveredBy).
#include <array>
#include <cstdint>
#include <vector>

// Marks the province discovered for the country; numbers or ids out of
// range are ignored. The local player's discoveries also reveal the
// province on the map (RevealProvince, world/MapRender.h).
void DiscoverProvince(uint32_t countryNumber, int32_t provinceId);
bool IsProvinceDiscovered(uint32_t countryNumber, int32_t provinceId);

// ---------------------------------------------------------------------------
// The game-wide firsts: which great discoveries and which first settlements
// in far parts of the world have already happened in the running game. The
// game-wide globals hold one table of each and save them inside their
// "globaldata" block under "discoveries" and "establishments".

class CDataBlock;
class CFieldReader;
class CProvince;

class Discoveries {
public:
    // "america", "asia", "quebec", "greatlake", "capehorn", "goodhope",
    // "hudsonbay", "alaska", "panama", "inlandchina", "amazones", "northam",
    // "india", "kamtchatska", "california", "pacific", "australia".
    static constexpr uint32_t kCount = 17;

    // The block after its "{" up to and including its "}": each key of the
    // list takes "yes" (set) or any other word (cleared); any other key is
    // reported ("Discoveries : Unexpected field") and passed over.
    // FIELD_BLOCK_END, or FIELD_END_OF_FILE when the file ends inside it.
    int32_t Read(CFieldReader& in);
    // Every flag as its keyword = yes or no, in the order above (a new
    // block, owned by the caller).
    CDataBlock* Write() const;

    std::array<uint8_t, kCount> flags{};

    // The provinces a country must know besides an area-90 province to win
    // "inlandchina" (empty: the area alone decides). Not saved.
    std::vector<int32_t> inlandChinaProvinces;
};

class Establishments {
public:
    // Slots 1..7: "colonyamerica", "colonyafrica", "colonysiberia",
    // "colonyoceania", "tpindia", "tpchina", "tpjapan". Slot 0 is the mark
    // Claim leaves when nothing was claimed; no file holds it.
    static constexpr uint32_t kSlots = 8;

    // The first free slot 1..7, in slot order, that the province qualifies
    // for: it is taken and answered; 0 when there is none (slot 0 is then
    // marked). The colony slots ask for a city, the others for a trading
    // post; America, Africa and Oceania by the province's continent (1, 5,
    // 4), Siberia, India, China and Japan by its region (13, 14, 15, 18).
    uint32_t Claim(const CProvince& province);

    // As Discoveries::Read and Write ("Establishments : Unexpected field").
    int32_t Read(CFieldReader& in);
    CDataBlock* Write() const;

    std::array<uint8_t, kSlots> flags{};
};
