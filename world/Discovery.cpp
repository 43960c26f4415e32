#include "world/Discovery.h"

#include <array>
#include <tuple>

#include "data/DataTree.h"
#include "data/KeptBlock.h"
#include "data/Keywords.h"
#include "net/Session.h"
#include "world/MapRender.h"
#include "world/Province.h"

namespace {

// g_countryController's mark of a country played at this machine.
constexpr uint32_t kLocalPlayerMark = 1;

// The discovery marks live in the province records (CProvince::discoveredBy).
CProvince* DiscoverableProvince(uint32_t countryNumber, int32_t provinceId) {
    if (countryNumber >= std::tuple_size_v<decltype(CProvince::discoveredBy)> ||
        provinceId < kFirstProvinceId || provinceId > kLastProvinceId)
        return nullptr;
    return GetProvince(provinceId);
}

} // namespace

void DiscoverProvince(uint32_t countryNumber, int32_t provinceId) {
    CProvince* province = DiscoverableProvince(countryNumber, provinceId);
    if (!province)
        return;
    province->discoveredBy[countryNumber] = 1;
    // The local player's discoveries lift the fog on the map.
    if (g_sessionCountries.mark && g_sessionCountries.mark(countryNumber) == kLocalPlayerMark)
        RevealProvince(countryNumber, provinceId);
}

bool IsProvinceDiscovered(uint32_t countryNumber, int32_t provinceId) {
    const CProvince* province = DiscoverableProvince(countryNumber, provinceId);
    return province && province->discoveredBy[countryNumber] != 0;
}

// ---------------------------------------------------------------------------
// Discoveries and establishments

namespace {

constexpr std::array<uint32_t, Discoveries::kCount> kDiscoveryKeywords = {
    KW_AMERICA,   KW_ASIA,        KW_QUEBEC,     KW_GREATLAKE,   KW_CAPEHORN, KW_GOODHOPE,
    KW_HUDSONBAY, KW_ALASKA,      KW_PANAMA,     KW_INLANDCHINA, KW_AMAZONES, KW_NORTHAM,
    KW_INDIA,     KW_KAMTCHATSKA, KW_CALIFORNIA, KW_PACIFIC,     KW_AUSTRALIA};

// Slot 0 has no keyword.
constexpr std::array<uint32_t, Establishments::kSlots> kEstablishmentKeywords = {
    0,          KW_COLONYAMERICA, KW_COLONYAFRICA, KW_COLONYSIBERIA, KW_COLONYOCEANIA,
    KW_TPINDIA, KW_TPCHINA,       KW_TPJAPAN};

// Reads a block of yes/no flags named by the keywords (0: no key) after its
// "{" up to and including its "}".
template <size_t N>
int32_t ReadFlagBlock(CFieldReader& in, const std::array<uint32_t, N>& keywords,
                      std::array<uint8_t, N>& flags, const char* unexpected) {
    for (;;) {
        // A field without "=" is reported and its tokens dropped.
        const int32_t result = in.ReadBlockField();
        if (result != FIELD_READ)
            return result;
        size_t found = N;
        for (size_t i = 0; i < N; ++i)
            if (keywords[i] != 0 && in.key.code == keywords[i])
                found = i;
        if (in.value.code == TOKEN_OPEN_BRACE) {
            // A block where a word belongs: passed over whole.
            in.ReportError(unexpected);
            CKeptBlock dropped;
            const int32_t skipped = dropped.Read(in);
            if (skipped != FIELD_BLOCK_END)
                return skipped == FIELD_END_OF_FILE ? FIELD_END_OF_FILE : FIELD_ERROR;
            continue;
        }
        if (found == N) {
            in.ReportError(unexpected);
            continue;
        }
        flags[found] = in.value.code == KW_YES ? 1 : 0;
    }
}

template <size_t N>
CDataBlock* WriteFlagBlock(const std::array<uint32_t, N>& keywords,
                           const std::array<uint8_t, N>& flags) {
    CDataBlock* block = new CDataBlock();
    for (size_t i = 0; i < N; ++i)
        if (keywords[i] != 0)
            block->AddChild(new CDataAssignment(keywords[i], new CDataBool(flags[i] != 0)));
    return block;
}

bool HasCity(const CProvince& province) {
    return province.GetCity() != nullptr;
}

bool HasTradingPost(const CProvince& province) {
    return province.GetTradingPost() != nullptr;
}

} // namespace

int32_t Discoveries::Read(CFieldReader& in) {
    return ReadFlagBlock(in, kDiscoveryKeywords, flags, "Discoveries : Unexpected field");
}

CDataBlock* Discoveries::Write() const {
    return WriteFlagBlock(kDiscoveryKeywords, flags);
}

int32_t Establishments::Read(CFieldReader& in) {
    return ReadFlagBlock(in, kEstablishmentKeywords, flags, "Establishments : Unexpected field");
}

CDataBlock* Establishments::Write() const {
    return WriteFlagBlock(kEstablishmentKeywords, flags);
}

uint32_t Establishments::Claim(const CProvince& province) {
    const bool qualifies[kSlots] = {
        false,
        HasCity(province) && province.continent == 1,
        HasCity(province) && province.continent == 5,
        HasCity(province) && province.region == 13,
        HasCity(province) && province.continent == 4,
        HasTradingPost(province) && province.region == 14,
        HasTradingPost(province) && province.region == 15,
        HasTradingPost(province) && province.region == 18,
    };
    for (uint32_t slot = 1; slot < kSlots; ++slot) {
        if (!flags[slot] && qualifies[slot]) {
            flags[slot] = 1;
            return slot;
        }
    }
    flags[0] = 1;
    return 0;
}
