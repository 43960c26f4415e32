#include "world/Goods.h"

#include "world/Map.h"

#include <algorithm>

#include "engine/CsvReader.h"
#include "engine/TextDatabase.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "world/Province.h"

CGoodsTable g_goods;
GoodsCountryHooks g_goodsCountries;
GoodsCityHooks g_goodsCities;

namespace {

struct GoodsName {
    const char* keyword;
    uint32_t value;
};

constexpr GoodsName kGoodsIds[] = {
    {"CLO", GOODS_CLO},         {"GOLD", GOODS_GOLD},   {"COT", GOODS_COT},
    {"FISH", GOODS_FISH},       {"FURS", GOODS_FURS},   {"GRAI", GOODS_GRAI},
    {"IVOR", GOODS_IVOR},       {"METAL", GOODS_METAL}, {"MINERAL", GOODS_MINERAL},
    {"ORIENT", GOODS_ORIENT},   {"NAVS", GOODS_NAVS},   {"SALT", GOODS_SALT},
    {"SLAV", GOODS_SLAV},       {"SPIC", GOODS_SPIC},   {"SUG", GOODS_SUG},
    {"TOB", GOODS_TOB},         {"WINE", GOODS_WINE},   {"WOOL", GOODS_WOOL},
    {"NOTHING", GOODS_NOTHING},
};

constexpr GoodsName kGoodsFrames[] = {
    {"CLO", 1},     {"COT", 2},   {"ARTS", 3},  {"GOLD", 4},   {"FISH", 5},     {"FURS", 6},
    {"GRAI", 7},    {"INST", 8},  {"IVOR", 9},  {"METAL", 10}, {"MINERAL", 11}, {"NAVS", 12},
    {"ORIENT", 13}, {"SALT", 14}, {"SLAV", 15}, {"SPIC", 16},  {"SPIR", 17},    {"SUG", 18},
    {"TOB", 19},    {"WEAP", 20}, {"WINE", 21}, {"WOOL", 22},  {"NOTHING", 0},
};

template <size_t N> uint32_t Lookup(const GoodsName (&table)[N], std::string_view keyword) {
    for (const GoodsName& entry : table)
        if (keyword == entry.keyword)
            return entry.value;
    return 0;
}

std::string Text(const std::string& key) {
    const char* text = g_textDatabase.GetText(key);
    return text ? text : "";
}

float Hold(float value, float low, float high) {
    return std::min(std::max(value, low), high);
}

} // namespace

uint32_t GetGoodsId(std::string_view keyword) {
    return Lookup(kGoodsIds, keyword);
}

uint32_t GetGoodsFrame(std::string_view keyword) {
    return Lookup(kGoodsFrames, keyword);
}

CTradeGoods::CTradeGoods(std::string_view keyword, int32_t basePriceValue)
    : price(static_cast<float>(basePriceValue)), id(GetGoodsId(keyword)),
      frame(GetGoodsFrame(keyword)), name(keyword), nameText(Text(name)),
      descriptionText(Text(name + "DESC")), demandText(Text(name + "DEMAND")),
      basePrice(basePriceValue) {}

bool CGoodsTable::Load(std::string_view path) {
    CCsvReader reader(path);
    if (!reader.IsOpen())
        return false;
    reader.SkipLines(1);
    for (;;) {
        char keyword[256] = {};
        int32_t basePrice = 0;
        int32_t flagA = 0;
        int32_t flagB = 0;
        int32_t value = 0;
        const bool more = reader.ReadString(keyword, sizeof keyword);
        // A row cut short by its line end leaves the rest of its cells at 0
        // and the next row in place.
        bool rowGoesOn = more && !reader.LastCellEndedLine();
        for (int32_t* cell : {&basePrice, &flagA, &flagB, &value}) {
            if (!rowGoesOn)
                break;
            rowGoesOn = reader.ReadInt(*cell) && !reader.LastCellEndedLine();
        }
        if (rowGoesOn)
            reader.SkipLines(1); // cells beyond the fifth
        if (keyword[0]) {
            auto goods = std::make_unique<CTradeGoods>(keyword, basePrice);
            goods->flagA = flagA == 1;
            goods->flagB = flagB == 1;
            goods->value = value;
            m_slots[goods->id] = std::move(goods);
        }
        if (!more)
            return true;
    }
}

void CGoodsTable::Clear() {
    // No province keeps pointing at a record that goes.
    for (CProvince& province : g_provinces)
        for (const auto& slot : m_slots)
            if (slot && province.goods == slot.get())
                province.goods = nullptr;
    for (auto& slot : m_slots)
        slot.reset();
}

float CGoodsTable::DemandFactor(uint32_t id, const MarketCounts& c, float old) {
    float value = old;
    float ceiling = 1.5f;
    switch (id) {
    case GOODS_CLO:
        value = 0.5f + 0.01f * static_cast<float>(c.goodsManufactories + c.barracks);
        break;
    case GOODS_GOLD:
        value = 1.0f;
        break;
    case GOODS_COT:
        value = 0.5f + 0.01f * static_cast<float>(c.clothProducers + c.goodsManufactories);
        break;
    case GOODS_FISH:
    case GOODS_GRAI:
    case GOODS_SALT:
    case GOODS_WINE:
    case GOODS_WOOL:
        value = 0.25f + 0.01f * static_cast<float>(c.shipyards + c.barracks + c.manufactories);
        ceiling = 1.0f;
        break;
    case GOODS_FURS:
    case GOODS_IVOR:
    case GOODS_ORIENT:
    case GOODS_SPIC:
    case GOODS_TOB:
        value = 0.75f + 0.01f * static_cast<float>(c.courthouses + c.cityRights + c.shipyards +
                                                   c.barracks + c.manufactories);
        ceiling = 2.0f;
        break;
    case GOODS_METAL:
        value = 0.5f + 0.01f * static_cast<float>(c.weapons + c.barracks);
        break;
    case GOODS_MINERAL:
        value = 0.5f + 0.01f * static_cast<float>(c.weapons + c.shipyards);
        break;
    case GOODS_NAVS:
        value = 0.5f + 0.01f * static_cast<float>(c.navalEquipment + c.shipyards);
        break;
    case GOODS_SLAV:
        value = 0.02f * static_cast<float>(c.plantationProducers);
        ceiling = 2.0f;
        break;
    case GOODS_SUG:
        value = 1.0f + 0.01f * static_cast<float>(c.refineries);
        break;
    default:
        break;
    }
    return std::min(Hold(value, 0.01f, 2.0f), ceiling);
}

void CGoodsTable::UpdateMarket() {
    for (auto& goods : m_slots)
        if (goods) {
            goods->supplyFactor = 0.5f;
            goods->producers = 0;
        }
    MarketCounts counts;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        CTradeGoods* goods = province.goods;
        if (goods && (province.GetCity() || province.GetTradingPost()))
            goods->supplyFactor = Hold(goods->supplyFactor + 0.01f, 0.5f, 1.5f);
        if (!province.GetCity())
            continue;
        if (g_goodsCities.countCity)
            g_goodsCities.countCity(id, counts);
        if (!goods)
            continue;
        if (goods->id == GOODS_CLO)
            ++counts.clothProducers;
        if (goods->id == GOODS_COT || goods->id == GOODS_SUG || goods->id == GOODS_TOB)
            ++counts.plantationProducers;
        ++goods->producers;
    }
    for (auto& goods : m_slots) {
        if (!goods)
            continue;
        goods->demandFactor = DemandFactor(goods->id, counts, goods->demandFactor);
        goods->price = static_cast<float>(goods->basePrice) * (2.0f - goods->supplyFactor) *
                       goods->demandFactor;
    }
    if (g_goodsCountries.sumProduction)
        g_goodsCountries.sumProduction();
}

void CGoodsTable::AwardProduction() {
    const GoodsCountryHooks& hooks = g_goodsCountries;
    const ProvinceCountryHooks& countries = g_provinceCountries;
    if (!hooks.production || !hooks.addEconomyPoints || !countries.countryOfNumber)
        return;
    for (uint32_t id = 0; id < kGoodsSlots; ++id) {
        if (!m_slots[id])
            continue;
        CCountry* best = nullptr;
        float bestProduction = 0.0f;
        for (int32_t number = 0; number < 99; ++number) {
            CCountry* country = countries.countryOfNumber(number);
            if (!country)
                continue;
            const float production = hooks.production(*country, id);
            if (production > bestProduction) {
                bestProduction = production;
                best = country;
            }
        }
        if (best)
            hooks.addEconomyPoints(*best, 0.083333f);
    }
}

int CGoodsTable::HandleEvent(COVEvent& event) {
    const uint32_t type = event.GetType();
    if (type == EVT_TIMER_MONTH) {
        UpdateMarket();
        AwardProduction();
    } else if (type == EVT_GAME_STARTED) {
        UpdateMarket();
    }
    return 0;
}

bool LoadGoods(CGoodsTable& table) {
    return table.Load("db\\goods.csv");
}

int HandleGoodsMessage(COVEvent& event) {
    return g_goods.HandleEvent(event);
}

namespace {
// The map hands every message to the goods table first.
const bool g_goodsSeeMapMessages = [] {
    g_mapMessageHooks.goods = &HandleGoodsMessage;
    return true;
}();
} // namespace
