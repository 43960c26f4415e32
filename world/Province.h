#pragma once
// Provinces: one record per province id in one array that lives for the
// whole run. A record's id part (type 4) is what an id of a province resolves
// to; record n has the id {4, n}.
//
// The province block of a saved game, under the key "province", first field
// "id" (taken by the file reader):
//   { id = 12 date = { ... } nationalism = { ... } looted = no winter = no
//     storm = no whiteman = yes natives = 0 income = 5 wilderness = 0 tax = 5
//     ferocity = 2 efficiency = 1 negotiation = 0 tolerance = 0 max = 0
//     religion = catholic construction = { ... } }
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/TokenFile.h"
#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/ObjectId.h"
#include "engine/Pixel.h"
#include "net/Event.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/MapView.h"
#include "world/ProvinceControl.h"
#include "world/TradingPost.h"

class CCentreOfTrade;
class CCountry;
class CCsvReader;
class CDataBlock;
class CLandTerritory;
class CTerritory;
class CTradeGoods;

// Province ids run from 1 to 1472; record 0 exists but is no province.
constexpr int kProvinceSlots = 1473;
// After them come four pseudo-provinces whose colours draw the owner
// borders (1473 and 1474 shown, 1475 and 1476 dimmed; the tile decoder uses
// 1473 and 1475). Walks over every province stay at 0..1472.
constexpr int kProvinceRecords = 1477;
constexpr int32_t kFirstPseudoProvince = 1473;
// The area that holds the sea zones, and the one that holds the lakes.
constexpr int32_t kSeaArea = 139;
constexpr int32_t kLakeArea = 140;

// One link of a province to another: the other's id, the kind of crossing
// (kProvinceLinkStrait: a strait) and a further value.
struct ProvinceNeighbour {
    int32_t id = 0;
    int32_t kind = 0;
    int32_t extra = 0;
};
constexpr int32_t kProvinceLinkStrait = 1;
constexpr int32_t kFirstProvinceId = 1;
constexpr int32_t kLastProvinceId = 1472;
// Province types from this value on are sea zones (below: land).
constexpr int32_t kFirstSeaProvinceType = 5;

// Religions (the "religion" keyword of the block).
enum EReligion : int32_t {
    RELIGION_PROTESTANT = 0,
    RELIGION_REFORMED = 1,
    RELIGION_COUNTERREFORM = 2,
    RELIGION_CATHOLIC = 3,
    RELIGION_ORTHODOX = 4,
    RELIGION_SUNNI = 5,
    RELIGION_SHIITE = 6,
    RELIGION_PAGAN = 7,
};

// The fantasy setting (non-zero: on); while it is on every province gets a
// block in a saved game.
extern uint8_t g_fantasyMode;

class CAIAgent;

class CProvince : public CIdEntity, public CMessageReceiver {
public:
    CProvince() = default;
    ~CProvince() override;

    int32_t GetNumber() const { return static_cast<int32_t>(GetId().number); }

    // The block's fields after "id" up to and including its "}":
    // FIELD_BLOCK_END; FIELD_ERROR on a key it does not know or a field
    // without "="; FIELD_END_OF_FILE when the file ends inside the block. The
    // fields read before an error stay.
    int32_t Read(CFieldReader& in);
    // The province's block as a new node (count 0, owned by the caller).
    CDataBlock* Write() const;
    // Whether the province holds state beyond the province tables, so that
    // a saved game gets its block.
    bool HasSaveState() const;

    // The owning country, null when none.
    CCountry* GetOwner() const;
    CCountry* GetController() const;
    int32_t GetOwnerNumber() const { return m_owner; }
    int32_t GetControllerNumber() const { return m_controller; }
    // Makes the country (not null; null is ignored) the owner: Europeans
    // have reached the province, its id leaves the old owner's owned list
    // for the new owner's (appended unless there), a deathmatch counts it,
    // and on the host every country that knows the province is sent the
    // new owner's capital when it does not know it (world/ProvinceControl.cpp).
    void SetOwner(CCountry* country);
    // Makes the country (not null; null is ignored) the controller, moving
    // the id between the controlled lists in the same way and refreshing the
    // settlement's flag.
    void SetControllerField(CCountry* country);

    // The settlements; the province owns them.
    CCity* GetCity() const { return m_city.get(); }
    CTradingPost* GetTradingPost() const { return m_tradingPost.get(); }
    // Takes the city (null: none), deleting the one it had (which leaves its
    // owner's list). A trading post the province had grows into the new
    // city: it leaves the owner's list, the city gains ten people a level of
    // the post, and the post is deleted.
    void SetCity(std::unique_ptr<CCity> city);
    void SetTradingPost(std::unique_ptr<CTradingPost> post);
    // Gives up the settlement without deleting it (null when none).
    std::unique_ptr<CCity> ReleaseCity() { return std::move(m_city); }
    std::unique_ptr<CTradingPost> ReleaseTradingPost() { return std::move(m_tradingPost); }

    // A combat is going on in the province.
    bool HasCombat() const;
    bool IsWinter() const { return winter != 0; }
    bool IsSea() const { return terrain >= kFirstSeaProvinceType; }

    // Inserts the link after the leading links (at neighbourCount) and
    // counts it as leading; then sets the coastal and strait flags it
    // implies.
    void AddNeighbour(const ProvinceNeighbour& link);
    // Overwrites link index (ignored outside the list) and sets the flags
    // as AddNeighbour does.
    void SetNeighbour(int32_t index, const ProvinceNeighbour& link);
    // Whether the id is among the leading links.
    bool IsNeighbour(int32_t id) const;
    // Forgets every link and the flags they set.
    void ClearNeighbours();
    int32_t GetNeighbourTotal() const { return static_cast<int32_t>(neighbours.size()); }

    CConstructionList& GetConstructions() { return m_constructions; }
    const CConstructionList& GetConstructions() const { return m_constructions; }

    CDate lootEndDate; // the date until which the province stays looted
    CDate nationalismDate;
    uint8_t looted = 0;
    uint8_t winter = 0;
    uint8_t storm = 0;
    uint8_t whiteman = 0;           // Europeans have reached the province
    uint8_t conquistadorTested = 0; // a conquistador has met the natives
    int32_t natives = 0;
    int32_t tax = 0;
    int32_t wilderness = 0;
    int32_t negotiation = 0;
    int32_t tolerance = 0;
    int32_t maxNatives = 0;
    float ferocity = 0.0f;
    float efficiency = 0.0f;
    int32_t religion = RELIGION_PROTESTANT;
    // What the province tables give at start-up.
    int32_t initialTax = 0;
    int32_t initialReligion = RELIGION_PROTESTANT;
    // 0 plains, 1 forest, 2 mountain, 3 desert, 4 marsh (land); 5 sea zone;
    // 6 and 8 further kinds that are not land.
    int32_t terrain = 0;
    int32_t area = 0;
    int32_t region = 0;
    int32_t continent = 0;
    // The links: the first neighbourCount are the leading ones (movement,
    // borders and blockades use those).
    std::vector<ProvinceNeighbour> neighbours;
    int32_t neighbourCount = 0;
    uint8_t hasStrait = 0;      // a link is a strait crossing
    uint8_t coastal = 0;        // land beside a sea zone
    uint8_t coastalSeaZone = 0; // a sea zone beside land
    // Per country number: 1 when that country has discovered the province.
    std::array<uint8_t, 99> discoveredBy{};
    // The path search's state; all zero outside a search.
    CProvince* searchParent = nullptr;
    float searchCost = 0.0f;
    float searchEstimate = 0.0f;
    uint8_t searchOpen = 0;
    uint8_t searchMark = 0;
    Rect box;                   // the bounding box on the map, in map pixels
    uint8_t newlyRevealed = 0;  // the player's country has just discovered it
    uint8_t shownNotDimmed = 0; // 0 while the province is drawn dimmed

    // --- the province table ("db\\province.csv") and the per-game state ---

    // Reads the next row of the province table (51 columns) into the record.
    // False, with the reason in error, when the row is not this province's
    // (column 1 differs from the record's number), ends before its last
    // column or the table ends before it; the cells read before stay.
    // Linked ids and the port's sea zone outside 0..1472 are reported (in
    // warnings) and read as 0; so is an unknown goods keyword, which gives
    // the goods record of slot 0.
    bool InitFromCsvRow(CCsvReader& reader, std::string& error, std::string& warnings);
    // Forgets what a game left in the record before the table is read
    // again: owner and controller, settlements, constructions, the dated
    // states, discovery, territory and the goods record.
    void ResetForGame();
    // Lets go of the settlements and the construction orders (the end of a
    // game).
    void Release();

    std::string name;        // column 2
    std::string windowKey;   // column 3: the province window's key
    std::string displayName; // column 48 ("#N/A" there: the name)
    int32_t column5 = 0;
    int32_t climate = 0;   // winter class: 0, 5, 7, 8; other values never have winter
    int32_t iceZone = 0;   // non-zero: freezes in winter
    int32_t stormZone = 0; // non-zero: storms can strike
    uint8_t column9Flag = 0;
    int32_t manpower = 0;
    uint8_t column13Flag = 0;
    int32_t goldValue = 0;        // yearly yield of a gold province
    CTradeGoods* goods = nullptr; // the goods table's record (not owned)
    uint8_t column16Flag = 0;
    int32_t column17 = 0; // trade rating bonus of a continent-2 province
    MapPoint unitPosition;
    MapPoint symbolPosition;
    MapPoint symbolHome; // symbolPosition as loaded
    MapPoint portPosition;
    MapPoint manufactoryPosition;
    int32_t portSeaZone = 0; // the sea zone of the port, 0 = no port
    // Terrain decorations of the map (x, y, picture variant), up to four.
    struct LandscapeDecoration {
        int32_t x = 0;
        int32_t y = 0;
        int32_t variant = 0;
    };
    std::vector<LandscapeDecoration> landscapeSprites;
    std::array<int32_t, 3> linkedProvinces{}; // discovered together with this one (0 = none)
    int32_t shade = 15;                       // map shade level 0..31
    int32_t mapColour = 0;                    // low 5 bits the colour; +32 while dimmed
    uint8_t visible = 0;                      // colour shown (1) or dimmed (0)
    int32_t zoneFlag = 0; // the member-set flag the map modes recompute (world/MapModes.h)
    int32_t supplyLevel = 0;
    int32_t piracy = 0;
    int32_t borderWeight = 0;
    uint8_t stormMark = 0;
    uint8_t blockaded = 0;
    uint8_t discovered = 0; // some country has discovered the province
    CDate discoveryDate;    // the first discovery by any country
    CDate spareDate;
    uint8_t knownToPlayer = 0;
    std::array<uint8_t, 99> seenBy{}; // kept by the units
    // The territory the province belongs to, null when none (not owned).
    CTerritory* territory = nullptr;
    // Set only while the province is taken out of its territory.
    uint8_t inTerritoryUpdate = 0;
    // Marks the provinces a territory split may walk through; the split
    // clears the marks it used.
    uint8_t territoryWalkMark = 0;

    // --- the computer player (ai/) ---
    // The agent responsible for the province, null when none; the computer
    // player sets and clears it.
    CAIAgent* aiHolder = nullptr;
    // --- end of the computer player ---

    // The port of the province's city, null when none.
    CPort* GetPort() const { return m_city ? m_city->GetPort() : nullptr; }

    // --- the economy (world/ProvinceEconomy.cpp) ---
    // Amounts are floats; to truncate is to convert toward zero.
    // The tax value (a whole number).
    float GetTaxIncome() const;
    // The city's production of a month (0 without a city).
    float GetMonthlyProduction() const;
    // The manufactory's yield: 0, 6 or 12.
    float GetManufactoryIncome() const;
    // The trade value for the owner while the owner controls the province.
    float GetTradeValueFor() const;
    // The centre-of-trade value for the country: 3 x the centre's total when
    // the centre stands here, the country controls the province and its
    // city is not besieged.
    float GetCotValueFor(int32_t country) const;
    // The province's yearly income.
    float GetTotalIncome() const;
    // The settlement's trade value after piracy (at least 0).
    float GetTradingPostValue() const;
    // The country's share of the province's trade; its trade volume of the
    // province's goods grows by the settlement's part.
    float GetTradeShare(int32_t country) const;
    // The rating for the centres of trade (-1: no settled land province).
    float GetTradeValue() const;
    // The value score for the computer player and the province window.
    float GetScore() const;
    // The province window's income lines, delayed incomes and trade share.
    std::string GetIncomeLineKey() const;
    std::string GetDelayedIncomeKey() const;
    std::string GetTradeShareKey() const;
    // Recomputes piracy: the pirate ships off the port.
    void UpdatePiracy();
    // UpdatePiracy of every leading neighbour of this coastal sea zone.
    void UpdateNeighbourPiracy();
    // Recomputes the blockade of the port; true when it changed (the
    // computer player is told).
    bool UpdateBlockade();

    // --- centres of trade ---
    // The centre the province trades with, null when none (the trade
    // calculator owns it); a centre's seat points to that centre.
    CCentreOfTrade* centreOfTrade = nullptr;

    // --- control, ownership, discovery and combats (world/ProvinceControl.cpp) ---
    // The full change of owner (not null; null is ignored): the settlements
    // move to the new owner's lists (a capital city loses its mark and the
    // old owner chooses its capital again), SetOwner, the old owner's hold
    // passes to the new owner (blockade and both countries' supply follow),
    // the flag, the nationalism date, the territories, the units' trespass
    // flags and the computer player. A sea zone or lake has no owner: it is
    // left as it is, with a trace line.
    void ChangeOwner(CCountry* country);
    // The change of controller (not null; null and the present controller
    // are ignored): SetControllerField, then the blockade and the supply of
    // the old controller and of the new one.
    void SetController(CCountry* country);
    // The country's units have taken the land province: executes and sends
    // the control-change message to the country, or to the owner when the
    // country is its ally and not hostile to it. Nothing unless the country
    // is hostile to the controller (or barred by the demarcation treaty).
    void PostControlChange(CCountry* country);
    // The province becomes empty: it leaves its owner's and controller's
    // lists and its territory, the fleets in port put to sea, the city and
    // the trading post are deleted, owner, controller and centre of trade
    // are cleared, the computer player is told and the blockade recomputed.
    void Abandon();
    // Discovery by the country of the number (0..98; others are ignored),
    // spreading to the linked provinces of kind 6 it has not discovered.
    void Discover(int32_t country);
    // Starts a combat of the kind (1..5) with its start date and answers it
    // (the province owns it); null for another kind. Sieges go to the tail
    // of the list, other combats to its head.
    CProvinceCombat* StartCombat(const CDate& date, int32_t kind, int32_t argument);
    // Deletes the combat of the id; the list goes when it empties.
    void RemoveCombat(const ObjectId& combatId);
    // The combats going on here; null while there are none.
    std::unique_ptr<CCombatList> combats;
    // --- end of control ---

    // --- supply and attrition (world/ProvinceSupply.cpp) ---
    // The supply levels around the province for the country.
    void UpdateSupply(CCountry& country);
    // The province supplies the country's units: a sea zone always; else
    // it or a leading neighbour has a level of 1 or more and lets the
    // country's supply pass.
    bool SuppliesCountry(CCountry& country) const;
    // A leading neighbour has a level above 0 and lets the supply pass.
    bool NeighbourSupplies(CCountry& country) const;
    // The attrition in percent for the country's units here (fleet: a
    // fleet's).
    int32_t GetAttrition(CCountry& country, bool fleet) const;
    // A leading neighbour is owned and controlled by the country.
    bool BordersCountry(const CCountry& country) const;
    // A leading neighbour has an owner, and the owner or its controller is
    // the country.
    bool BordersOwner(const CCountry& country) const;
    // The province window's supply and attrition texts.
    std::string DescribeSupply(CCountry& country) const;
    std::string DescribeAttrition(CCountry& country, bool fleet) const;
    // Marks the provinces a supply count has visited; cleared by the count.
    uint8_t supplyMark = 0;
    // --- end of supply ---

    // --- revolt risk (world/ProvinceRevoltRisk.cpp) ---
    // The risk of a revolt in the province, 0 and up.
    int32_t GetRevoltRisk() const;
    // The province window's lines of the risk, one per term that applies.
    std::string DescribeRevoltRisk() const;
    // The extra risk of the Dutch provinces while their revolt is due, at
    // least 1 (0 without an owner or in the fantasy setting).
    int32_t GetDutchRevoltRisk() const;
    // --- end of revolt risk ---

    // --- units standing in the province (world/ProvinceUnits.cpp) ---
    // A unit of a class other than 6, 7 and 13 stands in the province
    // (through g_provinceEconomy.unitsIn; none without it). Buildings are
    // refused while one does.
    bool HasOrdinaryUnit() const;
    // --- end of units ---

    // --- messages (world/ProvinceMessages.cpp) ---
    // The province's messages: EVENT_CONSUMED for the province changes that
    // say so, the city's answer for the city-state message, else
    // EVENT_NOT_HANDLED.
    int HandleMessage(COVEvent& event) override;
    // --- end of messages ---

    // --- monthly work and weather (world/ProvinceMonthly.cpp) ---
    // The month: weather, the natives' raid (host), the trade shares of the
    // province's centre of trade and the production, booked for countries.
    void MonthlyUpdate();
    // Winter and storm of the month, drawn from a generator seeded with the
    // date, the id and the old winter alone.
    void UpdateWeather();
    // The weight of the province as a border for the computer player.
    void UpdateBorderWeight();
    // The chance in 1000 of a natives' raid this month (0 and below: none).
    int32_t GetNativesRaidChance() const;
    int32_t stormFrame = 0; // frame 0..7 of the storm strip
    int32_t iceFrame = 0;   // frame 0..7 of the ice strip
    // --- end of monthly work ---

    // --- queries (world/ProvinceQueries.cpp) ---
    // The city, else the trading post, else null.
    CSettlement* GetSettlement() const;
    // The religion, with protestant and reformed read as catholic until
    // the event flags 1 and 2 allow them.
    int32_t GetReligion() const;
    CTradeGoods* GetGoods() const { return goods; }
    bool HasShipyard() const;
    bool HasBarrack() const;
    bool HasBailiff() const;
    bool HasCityRights() const;
    bool HasCourthouse() const;
    float GetPopulation() const;
    int32_t GetFortressLevel() const;
    int32_t GetManufactoryType() const;
    bool IsCapital() const;
    int32_t GetTradingPostLevel() const;
    bool IsUnderSiege() const;
    bool CanColonise() const;
    int32_t GetColonisationCost() const;
    float GetManpower() const;
    bool HasUnits() const;
    bool IsBorderProvince() const;
    bool IsInOwnProvinceSet(int32_t country) const;
    bool IsAssignedToCentreOfTrade() const { return centreOfTrade != nullptr; }
    bool HasEnemyUnit(int32_t country) const;
    bool HasHostileCity(int32_t country) const;
    int32_t GetLandWeight() const;
    int32_t GetNavalWeight() const;
    bool IsDutchProvince() const;
    bool HasInterceptBonus() const;
    bool IsZoneProvince() const;
    bool IsInSpanishZone() const;
    bool IsInPortugueseZone() const;
    // The map colouring's setters: shade held to 0..31; the dimmed bit (32)
    // of the colour follows visible.
    void SetShade(int32_t level);
    void AddShade(int32_t delta);
    void SetColourVisible(uint8_t flag);
    void SetMapColour(int32_t index);
    // --- end of queries ---

    // --- map symbols (world/ProvinceSymbols.cpp) ---
    // The natives' symbol: below 1 hidden and no natives; else natives =
    // min(n, maxNatives) and the symbol shows them.
    void SetMapSymbolLevel(int32_t n);
    // The symbols the map options ask for, dimmed while not visible;
    // nothing unless the player knows the province.
    void DrawMapSymbols(int32_t layer);
    // The drawing at the province's centre: the centre-of-trade label, the
    // siege and the port with its fleets and units.
    void Draw(int32_t param);
    // Deletes the combats and the construction orders and forgets the units
    // (which are not deleted).
    void Reset();
    // The map symbols of the natives and of a looted province.
    CSettlementSymbol nativesSprite{SpriteKey{}};
    CSettlementSymbol lootSprite{SpriteKey{}};
    // --- end of map symbols ---

    // --- the game-wide globals' revolt definitions ---
    // The country that would rise in the province ("db\revolt.txt"), 0 none.
    int32_t revoltCountry = 0;

private:
    int32_t m_owner = -1; // country number, -1 when none
    int32_t m_controller = -1;
    std::unique_ptr<CCity> m_city;
    std::unique_ptr<CTradingPost> m_tradingPost;
    CConstructionList m_constructions;
};

extern std::array<CProvince, kProvinceRecords> g_provinces;

// What a province asks of the countries that own and control it. The
// countries lie above the provinces: country/Country.cpp fills these once,
// by a static registration. An entry that is still null answers as a game
// without countries: no country of any number, so no owner, no controller
// and no list for a province to leave or join.
struct ProvinceCountryHooks {
    // The country of the number, null when the number has none.
    CCountry* (*countryOfNumber)(int32_t number) = nullptr;
    // The country's number.
    int32_t (*numberOf)(const CCountry& country) = nullptr;
    // The country's list of owned province ids (controlled: of controlled
    // province ids).
    CIntList* (*provinceList)(CCountry& country, bool controlled) = nullptr;
    // Takes the settlement off the country's city or trading-post list.
    void (*forgetCity)(CCountry& country, CCity* city) = nullptr;
    void (*forgetTradingPost)(CCountry& country, CTradingPost* post) = nullptr;

    // --- territories ---
    // The country's list of land territories (it does not own them); the
    // territory code adds and removes them.
    CTemplateList<CLandTerritory>* (*territoryList)(CCountry& country) = nullptr;
    // The country's capital province id.
    int32_t (*capitalOf)(const CCountry& country) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern ProvinceCountryHooks g_provinceCountries;

// The record of a province id; null for an id outside 0..1472.
CProvince* GetProvince(int64_t id);
// The same (world/ProvinceQueries.cpp).
CProvince* LookupProvince(int64_t id);

// The centre of the province's bounding box; id -1 counts as 1, an id
// outside 0..1472 gives (0, 0).
inline void GetProvinceCentre(MapPoint& out, int64_t provinceId) {
    const CProvince* province = GetProvince(provinceId == -1 ? 1 : provinceId);
    out = {};
    if (province) {
        out.x = static_cast<int32_t>((int64_t{province->box.left} + province->box.right) / 2);
        out.y = static_cast<int32_t>((int64_t{province->box.top} + province->box.bottom) / 2);
    }
}

// True for 0..1472, the values a unit or leader location may hold (0: none).
constexpr bool IsProvinceLocation(int64_t id) {
    return id >= 0 && id <= kLastProvinceId;
}
