#pragma once
// Trade goods: one record per good, loaded from "db\goods.csv" when the
// provinces are loaded. Every land province produces one good. Each month
// and at game start the table recomputes the goods' supply and demand
// factors and prices over all provinces; each month the country that leads
// the production of a good earns economic victory points.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CCountry;
class COVEvent;

// Goods ids; every keyword not listed is 0 ("NOTHING").
enum EGoodsId : uint32_t {
    GOODS_NOTHING = 0,
    GOODS_CLO = 1,
    GOODS_GOLD = 2,
    GOODS_COT = 3,
    GOODS_FISH = 4,
    GOODS_FURS = 5,
    GOODS_GRAI = 6,
    GOODS_IVOR = 7,
    GOODS_METAL = 8,
    GOODS_MINERAL = 9,
    GOODS_ORIENT = 10,
    GOODS_NAVS = 11,
    GOODS_SALT = 12,
    GOODS_SLAV = 13,
    GOODS_SPIC = 14,
    GOODS_SUG = 15,
    GOODS_TOB = 16,
    GOODS_WINE = 17,
    GOODS_WOOL = 18,
};
constexpr uint32_t kGoodsSlots = 19;

// The goods id of a keyword (exact, case-sensitive); 0 for any other word.
uint32_t GetGoodsId(std::string_view keyword);
// The frame of the resource picture that shows the good of the keyword; 0
// for a word without one.
uint32_t GetGoodsFrame(std::string_view keyword);

class CTradeGoods {
public:
    CTradeGoods(std::string_view keyword, int32_t basePriceValue);

    float price = 0.0f; // the current price, starting at the base price
    uint32_t id = 0;
    uint32_t frame = 0;
    std::string name;            // the keyword
    std::string nameText;        // texts of the keys <name>, <name>DESC, <name>DEMAND
    std::string descriptionText; //
    std::string demandText;      //
    int32_t basePrice = 0;
    float supplyFactor = 0.0f;
    float demandFactor = 0.0f;
    uint32_t producers = 0;
    uint8_t flagA = 0;
    uint8_t flagB = 0;
    int32_t value = 0;
};

// What the market update counts over the provinces with a city.
struct MarketCounts {
    int32_t barracks = 0;
    int32_t shipyards = 0;
    int32_t courthouses = 0;
    int32_t cityRights = 0;
    int32_t manufactories = 0;
    // Manufactories by kind: weapons (2), naval equipment (3), refinery (4),
    // goods (5).
    int32_t weapons = 0;
    int32_t navalEquipment = 0;
    int32_t refineries = 0;
    int32_t goodsManufactories = 0;
    int32_t clothProducers = 0;      // provinces whose good is "CLO"
    int32_t plantationProducers = 0; // ... "COT", "SUG" or "TOB"
};

// What the goods table asks of the countries (they lie above the world):
// filled by the country layer at start-up. A null entry answers as a game
// without countries: nobody produces, nobody earns points.
struct GoodsCountryHooks {
    // The country's production figure for the goods id.
    float (*production)(const CCountry& country, uint32_t goodsId) = nullptr;
    // Adds economic victory points to the country.
    void (*addEconomyPoints)(CCountry& country, float points) = nullptr;
    // Every existing country sums its goods production again.
    void (*sumProduction)() = nullptr;
};
extern GoodsCountryHooks g_goodsCountries;

// The settlement and city figures of the market update, per province: a
// city's improvements and manufactory. Filled by the owner of those figures;
// a null entry counts nothing.
struct GoodsCityHooks {
    void (*countCity)(int32_t provinceId, MarketCounts& counts) = nullptr;
};
extern GoodsCityHooks g_goodsCities;

// The 19 slots indexed by goods id; a slot the file leaves empty is null.
class CGoodsTable {
public:
    // Reads the table (game path); false when the file cannot be opened.
    // The first row is a header; each further row: keyword, base price,
    // flag A, flag B, value. A row with an empty keyword is skipped; a later
    // row for the same id replaces an earlier one.
    bool Load(std::string_view path);
    // Deletes every record; the provinces that pointed at one point at none.
    void Clear();

    CTradeGoods* Get(uint32_t id) const { return id < kGoodsSlots ? m_slots[id].get() : nullptr; }

    // Supply and demand factors and prices over all provinces.
    void UpdateMarket();
    // The leader of each good's production earns its points.
    void AwardProduction();
    // TIMER_MONTH: the market update, then the awards; GAME_STARTED: the
    // market update. Answers 0.
    int HandleEvent(COVEvent& event);

    // The demand factor of a good from the counts (held within 0.01..2.0,
    // then lowered to the good's ceiling); slot 0 keeps the old value.
    static float DemandFactor(uint32_t id, const MarketCounts& counts, float old);

private:
    std::array<std::unique_ptr<CTradeGoods>, kGoodsSlots> m_slots;
};

extern CGoodsTable g_goods;

// Loads "db\goods.csv" into the table.
bool LoadGoods(CGoodsTable& table);

// The map hands every message to the goods table first: this is its entry.
int HandleGoodsMessage(COVEvent& event);
