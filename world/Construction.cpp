#include "world/Construction.h"

#include <algorithm>

#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/MapModes.h"
#include "world/Province.h"

namespace {

// Bounds of a symbol's point as read: far beyond any map.
constexpr int32_t kPointLimit = 1000000;

// A kind's text key and the bar's offset from the order's point (the
// vertical one is added to half the symbol's height).
struct KindRow {
    int32_t kind;
    const char* textKey;
    int32_t barX;
    int32_t barY;
};

constexpr KindRow kKindRows[] = {
    {CONSTRUCTION_FORTRESS, "CONSTRUCTIONFORT", 3, -18},
    {CONSTRUCTION_ARMY, "CONSTRUCTIONARMY", 1, -25},
    {CONSTRUCTION_NAVY, "CONSTRUCTIONNAVY", 1, -10},
    {CONSTRUCTION_TRADING_POST, "CONSTRUCTIONTP", 4, -10},
    {CONSTRUCTION_COLONY, "CONSTRUCTIONCOLONY", 4, -16},
    {CONSTRUCTION_MANUFACTORY, "CONSTRUCTIONMAN", -3, -12},
    {CONSTRUCTION_SHIPYARD, "CONSTRUCTIONSHIPYARD", 1, -21},
    {CONSTRUCTION_NAVY_IN_SHIPYARD, "CONSTRUCTIONNAVY", 1, -21},
    {CONSTRUCTION_BARRACK, "CONSTRUCTIONBARRACK", 1, -25},
    {CONSTRUCTION_IMPROVEMENT, "CONSTRUCTIONIMPROVEMENT", 0, -16},
};

const KindRow* FindKindRow(int32_t kind) {
    for (const KindRow& row : kKindRows)
        if (row.kind == kind)
            return &row;
    return nullptr;
}

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

SpriteKey BuildKey(int32_t kind) {
    return SpriteKey{kSpriteKindBuild, kSpriteCultureNone, kind, kSpriteDirectionNone,
                     kSpriteLevelNone};
}

// The id as its block ({ type = 4712 id = 3 }).
CDataBlock* MakeIdBlock(const ObjectId& id) {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_TYPE, new CDataInt(id.type)));
    block->AddChild(new CDataAssignment(KW_ID, new CDataInt(static_cast<int32_t>(id.number))));
    return block;
}

// The country a "tag" value names: a tag, a number or a country's id block;
// 0 when none.
int32_t CountryOfValue(CFieldReader& in, int32_t& nested) {
    const Token& value = in.value;
    int32_t number = 0;
    if (value.code == TOKEN_OPEN_BRACE) {
        ObjectId id;
        nested = id.Read(in);
        if (id.type == kCountryObjectType)
            number = static_cast<int32_t>(id.number);
    } else if (value.code == TOKEN_NUMBER)
        number = TokenToInt(value.text);
    else if (g_scenarioHeaderHooks.findCountryByTag)
        number = g_scenarioHeaderHooks.findCountryByTag(value.text);
    return number > 0 && number < static_cast<int32_t>(kCountrySlots) ? number : 0;
}

// Posts the order's expiry, addressed to its province, for the date on this
// machine.
void PostExpiry(const ObjectId& order, int32_t provinceId, const CDate& date) {
    PostEventAt(std::make_unique<COVConstructionEvent>(
                    EVT_EXPIRE_CONSTRUCTION,
                    ObjectId(kProvinceIdType, static_cast<uint32_t>(provinceId)), order,
                    static_cast<uint32_t>(provinceId)),
                date);
}

} // namespace

// CConstructionOrder -----------------------------------------------------------------

CConstructionOrder::CConstructionOrder() : m_symbol(BuildKey(kSpriteActionNone)) {}

CConstructionOrder::CConstructionOrder(int32_t kind, int32_t flagsValue, const CDate& end,
                                       int32_t province, int32_t builder)
    : flags(flagsValue), startDate(Today()), endDate(end), country(builder), provinceId(province),
      m_symbol(BuildKey(kind)) {}

int32_t CConstructionOrder::Read(CFieldReader& in) {
    ObjectId id;
    MapPoint point;
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_ERROR)
            continue; // a key without "=": reported, the next field follows
        if (result == FIELD_END_OF_FILE)
            return result;
        if (result == FIELD_BLOCK_END)
            break;
        const Token& value = in.value;
        const bool block = value.code == TOKEN_OPEN_BRACE;
        int32_t nested = FIELD_BLOCK_END;
        switch (in.key.code) {
        case KW_ID:
            if (block)
                nested = id.Read(in);
            break;
        case KW_ACTION:
            m_symbol.SetAction(TokenToInt(value.text));
            break;
        case KW_PROVINCE:
            provinceId = TokenToInt(value.text);
            break;
        case KW_FLAGS:
            flags = TokenToInt(value.text);
            break;
        case KW_STARTDATE:
            if (block)
                nested = startDate.Read(in);
            break;
        case KW_ENDDATE:
            if (block)
                nested = endDate.Read(in);
            if (nested != FIELD_END_OF_FILE)
                PostExpiry(id, provinceId, endDate);
            break;
        // The symbol's bar is placed at an offset from the point and hit-tested
        // around it: a damaged file's point is held where that stays in range.
        case KW_X:
            point.x = TokenToIntInRange(value.text, -kPointLimit, kPointLimit);
            break;
        case KW_Y:
            point.y = TokenToIntInRange(value.text, -kPointLimit, kPointLimit);
            break;
        case KW_TAG:
            country = CountryOfValue(in, nested);
            break;
        default:
            in.ReportError("construction: Unexpected field");
            if (block)
                SkipRestOfBlock(in); // the nested block
            SkipRestOfBlock(in);
            return FIELD_ERROR;
        }
        if (nested == FIELD_END_OF_FILE)
            return nested;
    }
    if (id.IsNull()) {
        SetId(NewSharedObjectId());
    } else {
        NoteSharedObjectId(id);
        SetId(id);
    }
    Place(point.x, point.y);
    return FIELD_BLOCK_END;
}

CDataBlock* CConstructionOrder::Write() const {
    auto* block = new CDataBlock;
    auto add = [block](uint32_t keyword, CDataNode* value) {
        block->AddChild(new CDataAssignment(keyword, value));
    };
    add(KW_ID, MakeIdBlock(GetId()));
    add(KW_ACTION, new CDataInt(GetKind()));
    add(KW_PROVINCE, new CDataInt(provinceId));
    add(KW_FLAGS, new CDataInt(flags));
    add(KW_STARTDATE, startDate.Write());
    add(KW_ENDDATE, endDate.Write());
    add(KW_X, new CDataInt(GetPoint().x));
    add(KW_Y, new CDataInt(GetPoint().y));
    // A country by its tag; none as 0.
    if (country > 0)
        add(KW_TAG,
            new CDataObjectId(ObjectId(kCountryObjectType, static_cast<uint32_t>(country))));
    else
        add(KW_TAG, new CDataInt(0));
    return block;
}

void CConstructionOrder::Place(int32_t x, int32_t y) {
    m_symbol.PlaceAt(x, y);
    m_symbol.Show();
    const KindRow* row = FindKindRow(GetKind());
    CMapSprite* sprite = m_symbol.GetSprite();
    const int32_t halfHeight = sprite ? sprite->GetSprite().GetHeight() / 2 : 0;
    barPosition = {x + (row ? row->barX : 0), y + halfHeight + (row ? row->barY : 0)};
}

bool CConstructionOrder::HitTest(int32_t x, int32_t y) const {
    if (x >= barPosition.x && x < barPosition.x + kBarWidth && y >= barPosition.y &&
        y < barPosition.y + kBarHeight)
        return true;
    CMapSprite* sprite = m_symbol.GetSprite();
    return sprite && sprite->HitTest(x, y);
}

std::string CConstructionOrder::GetHoverText(int32_t x, int32_t y) const {
    return HitTest(x, y) ? GetHoverText() : std::string();
}

std::string CConstructionOrder::GetHoverText() const {
    const KindRow* row = FindKindRow(GetKind());
    std::string text = row ? g_textDatabase.GetText(row->textKey) : "";
    const CDate today = Today();
    int32_t months = 0;
    if (endDate.IsAfter(today))
        months =
            (endDate.GetDayCount() - today.GetDayCount()) / static_cast<int32_t>(kDaysPerMonth);
    if (months > 0)
        text += FormatDataText(g_textDatabase.GetText("CONSTRUCTIONREMAIN"), {months});
    else
        text += g_textDatabase.GetText("CONSTRUCTIONREMAIN2");
    return text;
}

int32_t CConstructionOrder::ComputeProgress() const {
    const int64_t start = startDate.GetDayCount();
    const int64_t span = int64_t{endDate.GetDayCount()} - start;
    // An order due the day it was made is complete.
    if (span <= 0)
        return 100;
    const int64_t percent = (int64_t{Today().GetDayCount()} - start) * 100 / span;
    return static_cast<int32_t>(std::clamp<int64_t>(percent, 0, 100));
}

int CConstructionOrder::HandleMessage(COVEvent& event) {
    if (event.GetType() == EVT_TIMER_TICK_LOOP) {
        const int32_t percent = ComputeProgress();
        if (percent != progress) {
            barFill = percent;
            progress = percent;
        }
    }
    return m_symbol.HandleEvent(event);
}

void CConstructionOrder::Draw(int32_t param) {
    m_symbol.Draw(param);
}

// CConstructionList ------------------------------------------------------------------

CConstructionOrder* CConstructionList::AddOrder(int32_t kind, int32_t x, int32_t y, int32_t flags,
                                                const CDate& endDate, int32_t provinceId,
                                                int32_t country) {
    auto order = std::make_unique<CConstructionOrder>(kind, flags, endDate, provinceId, country);
    // Every machine places the order on its own handling of the same
    // message: the id is one that all of them make alike.
    order->SetId(NewSharedObjectId());
    order->Place(x, y);
    CConstructionOrder* made = order.get();
    const bool above = kind == CONSTRUCTION_NAVY || kind == CONSTRUCTION_SHIPYARD ||
                       kind == CONSTRUCTION_NAVY_IN_SHIPYARD;
    m_orders.insert(above ? m_orders.end() : m_orders.begin(), std::move(order));
    return made;
}

void CConstructionList::AddOrder(std::unique_ptr<CConstructionOrder> order) {
    if (order)
        m_orders.push_back(std::move(order));
}

CConstructionOrder* CConstructionList::FindOrder(const ObjectId& id) const {
    for (const auto& order : m_orders)
        if (order->GetId() == id)
            return order.get();
    return nullptr;
}

std::unique_ptr<CConstructionOrder> CConstructionList::RemoveOrder(const ObjectId& id) {
    for (auto it = m_orders.begin(); it != m_orders.end(); ++it)
        if ((*it)->GetId() == id) {
            std::unique_ptr<CConstructionOrder> order = std::move(*it);
            m_orders.erase(it);
            return order;
        }
    return nullptr;
}

void CConstructionList::Draw(int32_t param) {
    for (const auto& order : m_orders)
        if ((static_cast<uint32_t>(order->flags) & g_mapModeFlags) != 0)
            order->Draw(param);
}

void CConstructionList::Broadcast(COVEvent& event) {
    for (const auto& order : m_orders)
        order->HandleMessage(event);
}

bool CConstructionList::HasColonyOrder() const {
    return std::any_of(m_orders.begin(), m_orders.end(), [](const auto& order) {
        return order->GetKind() == CONSTRUCTION_TRADING_POST ||
               order->GetKind() == CONSTRUCTION_COLONY;
    });
}

std::string CConstructionList::GetHoverText(int32_t x, int32_t y) const {
    for (const auto& order : m_orders)
        if (std::string text = order->GetHoverText(x, y); !text.empty())
            return text;
    return {};
}

CConstructionOrder* ScheduleExpireConstruction(uint32_t country, uint32_t kind, uint32_t province,
                                               const CDate& endDate, int32_t flags) {
    CProvince* record = province >= kFirstProvinceId && province <= kLastProvinceId
                            ? GetProvince(province)
                            : nullptr;
    if (!record)
        return nullptr;
    // Kinds 7 and 13 also hide the port's symbol until the expiry, once the
    // port carries that flag.
    CConstructionOrder* order = record->GetConstructions().AddOrder(
        static_cast<int32_t>(kind), record->symbolPosition.x, record->symbolPosition.y, flags,
        endDate, static_cast<int32_t>(province), static_cast<int32_t>(country));
    PostExpiry(order->GetId(), static_cast<int32_t>(province), endDate);
    return order;
}
