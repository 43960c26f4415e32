#include "world/Province.h"

#include <algorithm>
#include <limits>

#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/ProvinceControl.h"
#include "world/Scenario.h"

uint8_t g_fantasyMode = 0;

std::array<CProvince, kProvinceRecords> g_provinces;

ProvinceCountryHooks g_provinceCountries;

namespace {

// The whole-number figures of a province are read within these bounds, so
// that the rules that shift, double or square them (the natives' raid
// chance squares the tolerance, the supply text multiplies the tax, the
// colonists' cost scales the natives) stay within 32 bits.
constexpr int32_t kFigureLimit = 10000;
constexpr int32_t kNativesLimit = 1000000;

int32_t ReadFigure(const char* text, int32_t limit) {
    return TokenToIntInRange(text, -limit, limit);
}

// Record n answers to the id {4, n}.
const bool g_provincesNumbered = [] {
    for (size_t i = 0; i < g_provinces.size(); ++i)
        g_provinces[i].SetId({kProvinceIdType, static_cast<uint32_t>(i)});
    return true;
}();

// Ids of type 4 resolve to the records.
const bool g_provinceIdsRegistered = [] {
    g_idSlots.province = [](uint32_t number) -> CIdEntity* {
        return GetProvince(static_cast<int64_t>(number));
    };
    return true;
}();

// The religion keywords in religion order.
constexpr uint32_t kReligionKeywords[] = {KW_PROTESTANT, KW_REFORMED, KW_COUNTERREFORM, KW_CATHOLIC,
                                          KW_ORTHODOX,   KW_SUNNI,    KW_SHIITE,        KW_PAGAN};
constexpr int32_t kReligionCount = 8;

CCountry* CountryOfNumber(int32_t number) {
    return g_provinceCountries.countryOfNumber ? g_provinceCountries.countryOfNumber(number)
                                               : nullptr;
}

// "yes" sets the flag, "no" leaves it; anything else is reported. True when
// the flag was set.
bool ReadFlag(CFieldReader& in, uint8_t& flag) {
    if (in.value.code == KW_YES) {
        flag = 1;
        return true;
    }
    if (in.value.code != KW_NO)
        in.ReportError("Illegal Argument");
    return false;
}

// Truncated toward zero, held within the integer range (0 for NaN).
int32_t TruncateToInt(float value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0f)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace

CProvince::~CProvince() = default;

CProvince* GetProvince(int64_t id) {
    if (id < 0 || id >= kProvinceSlots)
        return nullptr;
    return &g_provinces[static_cast<size_t>(id)];
}

CCountry* CProvince::GetOwner() const {
    return CountryOfNumber(m_owner);
}

CCountry* CProvince::GetController() const {
    return CountryOfNumber(m_controller);
}

bool CProvince::HasSaveState() const {
    return g_fantasyMode || looted || IsWinter() || storm || whiteman || natives != maxNatives ||
           tax != initialTax || religion != initialReligion || !m_constructions.IsEmpty() ||
           nationalismDate.year > 0;
}

CDataBlock* CProvince::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, new CDataInt(GetNumber())));
    block->AddChild(new CDataAssignment(KW_DATE, lootEndDate.Write()));
    block->AddChild(new CDataAssignment(KW_NATIONALISM, nationalismDate.Write()));
    block->AddChild(new CDataAssignment(KW_LOOTED, new CDataBool(looted != 0)));
    block->AddChild(new CDataAssignment(KW_WINTER, new CDataBool(winter != 0)));
    block->AddChild(new CDataAssignment(KW_STORM, new CDataBool(storm != 0)));
    block->AddChild(new CDataAssignment(KW_WHITEMAN, new CDataBool(whiteman != 0)));
    block->AddChild(new CDataAssignment(KW_NATIVES, new CDataInt(natives)));
    block->AddChild(new CDataAssignment(KW_INCOME, new CDataInt(tax)));
    block->AddChild(new CDataAssignment(KW_WILDERNESS, new CDataInt(wilderness)));
    block->AddChild(new CDataAssignment(KW_TAX, new CDataInt(tax)));
    block->AddChild(new CDataAssignment(KW_FEROCITY, new CDataInt(TruncateToInt(ferocity))));
    block->AddChild(new CDataAssignment(KW_EFFICIENCY, new CDataInt(TruncateToInt(efficiency))));
    block->AddChild(new CDataAssignment(KW_NEGOTIATION, new CDataInt(negotiation)));
    block->AddChild(new CDataAssignment(KW_TOLERANCE, new CDataInt(tolerance)));
    block->AddChild(new CDataAssignment(KW_MAX, new CDataInt(maxNatives)));
    if (religion >= 0 && religion < kReligionCount)
        block->AddChild(new CDataAssignment(
            KW_RELIGION, new CDataIdentifier(kReligionKeywords[static_cast<size_t>(religion)])));
    for (uint32_t i = 0; i < m_constructions.GetCount(); ++i)
        block->AddChild(new CDataAssignment(KW_CONSTRUCTION, m_constructions.GetOrder(i).Write()));
    return block;
}

int32_t CProvince::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_RELIGION: {
            int32_t found = -1;
            for (int32_t i = 0; i < kReligionCount; ++i)
                if (value.code == kReligionKeywords[i])
                    found = i;
            if (found >= 0)
                religion = found;
            else
                in.ReportError("Unknown religion");
            break;
        }
        case KW_DATE:
        case KW_NATIONALISM:
            if (value.code == TOKEN_OPEN_BRACE)
                (in.key.code == KW_DATE ? lootEndDate : nationalismDate).Read(in);
            break;
        case KW_INCOME:
        case KW_TAX:
            tax = ReadFigure(value.text, kFigureLimit);
            break;
        case KW_NATIVES:
            natives = ReadFigure(value.text, kNativesLimit);
            break;
        case KW_WILDERNESS:
            wilderness = ReadFigure(value.text, kFigureLimit);
            break;
        case KW_NEGOTIATION:
            negotiation = ReadFigure(value.text, kFigureLimit);
            break;
        case KW_TOLERANCE:
            tolerance = ReadFigure(value.text, kFigureLimit);
            break;
        case KW_MAX:
            maxNatives = ReadFigure(value.text, kNativesLimit);
            break;
        case KW_FEROCITY:
            ferocity = static_cast<float>(TokenToInt(value.text));
            break;
        case KW_EFFICIENCY:
            efficiency = static_cast<float>(TokenToInt(value.text));
            break;
        case KW_WINTER:
            ReadFlag(in, winter);
            break;
        case KW_STORM:
            ReadFlag(in, storm);
            break;
        case KW_WHITEMAN:
            ReadFlag(in, whiteman);
            break;
        case KW_LOOTED:
            // The recovery waits for the looted-until date read before.
            if (ReadFlag(in, looted) && IsHost())
                PostEventAtAndSend(std::make_unique<COVSimpleEvent>(EVT_UNLOOT_PROVINCE, GetId()),
                                   lootEndDate);
            break;
        case KW_CONSTRUCTION:
            if (value.code == TOKEN_OPEN_BRACE) {
                auto order = std::make_unique<CConstructionOrder>();
                order->Read(in);
                m_constructions.AddOrder(std::move(order));
            }
            break;
        default:
            in.ReportError("Province : Unexpected field");
            return FIELD_ERROR;
        }
    }
}

// ---------------------------------------------------------------------------
// The provinces in scenarios and saved games

namespace {

// The "province" object after its "{": the first field "id" names the
// province, which reads the rest of the block. A first field that is not
// "id" (FIELD_ERROR), an id that is no number or no province
// (FIELD_BLOCK_END, reported) pass over the block.
int32_t ReadProvinceObject(CFieldReader& in) {
    int32_t answer = FIELD_BLOCK_END;
    if (!ReadOpeningField(in, KW_ID, "id HAS to be first in province", FIELD_ERROR, answer))
        return answer;
    if (in.value.code != TOKEN_NUMBER) {
        SkipRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    int32_t id = TokenToInt(in.value.text);
    if (id < 0 || id > kLastProvinceId) {
        in.ReportError("illegal province id");
        SkipRestOfBlock(in);
        return FIELD_BLOCK_END;
    }
    GetProvince(id)->Read(in);
    return FIELD_BLOCK_END;
}

// The file goes on after every province block, whatever its reader answered.
int32_t ReadProvinceAndGoOn(CFieldReader& in) {
    ReadProvinceObject(in);
    return FIELD_BLOCK_END;
}

// The provinces with state to save, in id order.
void WriteProvinceObjects(CGameFileOutput& out) {
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (province->HasSaveState() && !out.Write(province->Write()))
            return;
    }
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(
        KW_PROVINCE, {&ReadProvinceAndGoOn, &WriteProvinceObjects, GameFileValue::QuietBlock});
    return true;
}();

} // namespace

void CProvince::AddNeighbour(const ProvinceNeighbour& link) {
    const int32_t at =
        neighbourCount < 0 ? 0 : std::min<int32_t>(neighbourCount, GetNeighbourTotal());
    neighbours.insert(neighbours.begin() + at, link);
    neighbourCount = at + 1;
    SetNeighbour(at, link);
}

void CProvince::SetNeighbour(int32_t index, const ProvinceNeighbour& link) {
    if (index < 0 || index >= GetNeighbourTotal())
        return;
    neighbours[static_cast<size_t>(index)] = link;
    const CProvince* other = GetProvince(link.id);
    if (other && terrain < kFirstSeaProvinceType && other->terrain == kFirstSeaProvinceType)
        coastal = 1;
    if (other && area == kSeaArea && other->terrain < kFirstSeaProvinceType)
        coastalSeaZone = 1;
    if (link.kind == kProvinceLinkStrait)
        hasStrait = 1;
}

bool CProvince::IsNeighbour(int32_t id) const {
    const int32_t count = std::min<int32_t>(neighbourCount, GetNeighbourTotal());
    for (int32_t i = 0; i < count; ++i)
        if (neighbours[static_cast<size_t>(i)].id == id)
            return true;
    return false;
}

void CProvince::ClearNeighbours() {
    neighbours.clear();
    neighbourCount = 0;
    hasStrait = coastal = coastalSeaZone = 0;
}
