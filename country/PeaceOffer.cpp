#include "country/PeaceOffer.h"
#include "engine/Saturate.h"

#include <algorithm>
#include <cmath>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "world/Province.h"

std::vector<std::unique_ptr<CPeaceOffer>> g_peaceOffers;

namespace {

// Reports the token's text with the context.
void ReportToken(CFieldReader& in, const char* context, const Token& token) {
    CTokenFile* file = in.GetTokenFile();
    ReportTokenError(context, token.text, "", "", file->GetLine(), file->GetFileName());
}

enum class ListItem { Province, Tag };

// The list after its "{", up to and including its "}", into the entries:
// FIELD_BLOCK_END with the count; FIELD_ERROR after a bad item or a fourth
// one (reported; the rest of the list passed over); FIELD_END_OF_FILE.
int32_t ReadOfferList(CFieldReader& in, ListItem kind,
                      std::array<uint32_t, kMaxPeaceProvinces>& entries, uint32_t& count) {
    count = 0;
    return ReadListTokens(in, [&in, kind, &entries, &count](const Token& token) {
        uint32_t item = 0;
        if (kind == ListItem::Province) {
            const int32_t id = token.code == TOKEN_NUMBER ? TokenToInt(token.text) : 0;
            if (id < 1 || id > kLastProvinceId) {
                ReportToken(in, "Illegal province id", token);
                SkipRestOfBlock(in);
                return FIELD_ERROR;
            }
            item = static_cast<uint32_t>(id);
        } else {
            item = CountryOfTagToken(in, token, "Illegal tag");
            if (item == 0) {
                SkipRestOfBlock(in);
                return FIELD_ERROR;
            }
        }
        if (count >= kMaxPeaceProvinces) {
            ReportToken(in, "Peace : Too many provinces", token);
            SkipRestOfBlock(in);
            return FIELD_ERROR;
        }
        entries[count++] = item;
        return FIELD_READ;
    });
}

} // namespace

int32_t CPeaceOffer::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_BLOCK_END)
            break;
        if (result != FIELD_READ)
            return result;
        const bool block = in.value.code == TOKEN_OPEN_BRACE;
        int32_t read = FIELD_BLOCK_END;
        uint8_t* flag = nullptr;
        switch (in.key.code) {
        case KW_WAR:
            if (!block) {
                in.ReportError("No left curly");
                break;
            }
            read = ReadObjectIdBlock(in, war);
            break;
        case KW_FROM:
        case KW_TO: {
            const uint32_t country = CountryOfTagToken(in, in.value, "Illegal tag");
            if (country == 0) {
                PassOverRestOfBlock(in);
                return FIELD_ERROR;
            }
            (in.key.code == KW_FROM ? from : to) = country;
            break;
        }
        case KW_VALUE:
            // Negated and set against the cost when the offer is weighed.
            value = TokenToIntInRange(in.value.text, -CPeaceOffer::kValueLimit,
                                      CPeaceOffer::kValueLimit);
            break;
        case KW_NUMBEROFCOLONIES:
            colonies = TokenToInt(in.value.text);
            break;
        case KW_CASH:
            // A part of it becomes a whole number when the offer is weighed.
            cash = std::clamp(TokenToFloat(in.value.text), -CPeaceOffer::kCashLimit,
                              CPeaceOffer::kCashLimit);
            break;
        case KW_PROVINCES:
        case KW_NEWOWNERS: {
            if (!block) {
                in.ReportError("No left curly");
                break;
            }
            const bool provinceList = in.key.code == KW_PROVINCES;
            uint32_t count = 0;
            read = ReadOfferList(in, provinceList ? ListItem::Province : ListItem::Tag,
                                 provinceList ? provinces : newOwners, count);
            if (read == FIELD_ERROR) {
                SkipRestOfBlock(in);
                return FIELD_ERROR;
            }
            if (provinceList)
                provinceCount = count;
            break;
        }
        case KW_DEMANDING:
            flag = &demanding;
            break;
        case KW_SEPERATEFROM:
            flag = &separateFrom;
            break;
        case KW_SEPERATETO:
            flag = &separateTo;
            break;
        case KW_ISBETTER:
            flag = &isBetter;
            break;
        case KW_ANNEXATION:
            flag = &annexation;
            break;
        case KW_RELIGION:
            flag = &religion;
            break;
        default:
            in.ReportError("Peace : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
        if (flag && ReadYesNo(in, "Illegal argument") == 1)
            *flag = 1;
        if (read != FIELD_BLOCK_END)
            return FIELD_END_OF_FILE;
    }
    if (id.IsNull())
        id = NewTreatyId();
    return FIELD_BLOCK_END;
}

CDataBlock* CPeaceOffer::Write() const {
    auto* block = new CDataBlock;
    auto add = [block](uint32_t key, CDataNode* node) {
        block->AddChild(new CDataAssignment(key, node));
    };
    add(KW_WAR, MakeIdBlock(war));
    // A country that was never given (0) has no tag to write.
    if (from != 0)
        add(KW_FROM, ObjectId(kCountryObjectType, from).MakeNode());
    if (to != 0)
        add(KW_TO, ObjectId(kCountryObjectType, to).MakeNode());
    add(KW_CASH, new CFloatNode(cash));
    const uint32_t count = provinceCount < kMaxPeaceProvinces ? provinceCount : kMaxPeaceProvinces;
    auto* ids = new CDataBlock;
    auto* owners = new CDataBlock;
    for (uint32_t i = 0; i < count; ++i)
        ids->AddChild(new CDataInt(static_cast<int32_t>(provinces[i])));
    // The new owners given, in their places; a list read shorter than the
    // provinces stays as short.
    for (uint32_t i = 0; i < count && newOwners[i] != 0; ++i)
        owners->AddChild(ObjectId(kCountryObjectType, newOwners[i]).MakeNode());
    add(KW_PROVINCES, ids);
    add(KW_NEWOWNERS, owners);
    add(KW_NUMBEROFCOLONIES, new CDataInt(colonies));
    add(KW_VALUE, new CDataInt(value));
    add(KW_DEMANDING, new CDataBool(demanding != 0));
    add(KW_SEPERATEFROM, new CDataBool(separateFrom != 0));
    add(KW_SEPERATETO, new CDataBool(separateTo != 0));
    add(KW_ISBETTER, new CDataBool(isBetter != 0));
    add(KW_ANNEXATION, new CDataBool(annexation != 0));
    add(KW_RELIGION, new CDataBool(religion != 0));
    return block;
}

bool CPeaceOffer::IsAcceptable() const {
    if (annexation || religion)
        return false;
    const int32_t cost = 2 * static_cast<int32_t>(provinceCount) + TruncateToInt32(0.004f * cash);
    if (demanding != 1)
        return cost - 4 >= -value;
    return value - cost >= 4;
}

// ---------------------------------------------------------------------------
// The peace offers in scenarios and saved games

namespace {

int32_t ReadPeaceOffer(CFieldReader& in) {
    auto offer = std::make_unique<CPeaceOffer>();
    const int32_t result = offer->Read(in);
    if (result == FIELD_BLOCK_END)
        g_peaceOffers.push_back(std::move(offer));
    return result == FIELD_END_OF_FILE ? FIELD_END_OF_FILE : FIELD_BLOCK_END;
}

void WritePeaceOffers(CGameFileOutput& out) {
    for (const auto& offer : g_peaceOffers)
        if (!out.Write(offer->Write()))
            return;
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_PEACE, {&ReadPeaceOffer, &WritePeaceOffers});
    return true;
}();

} // namespace
