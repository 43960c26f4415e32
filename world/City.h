#pragma once
// Cities. A province holds at most one settlement, a city or a trading post;
// the province owns it. The city carries the population and the size levels
// that follow from it, the five improvements and the one being built, the
// manufactory and the one being built, the capital mark, the fortress, the
// port of a coastal province and the siege attached to it.
//
// The "city" block of a country:
//   city = { name = "Avranche" population = 6500.000000 location = 12
//            shipyard = yes barrack = no bailiff = no cityrights = yes
//            courthouse = no fortress = { ... } capital = yes
//            manufactory = weapons construction = weapons
//            running = barrack dateCompleted = { year = 1602 ... } }
// A scenario may give "level" (1..6: colonies of 200..700; 100..699: the
// hundreds give a city of 10000 and up) in place of "population".
#include <array>
#include <cstdint>
#include <memory>

#include "engine/Date.h"
#include "engine/ObjectId.h"
#include "world/Fortress.h"
#include "world/Settlement.h"

class CDataBlock;
class CFieldReader;
class COVEvent;

// What the city reads of a siege combat, which lies above the world.
struct CitySiegeState {
    bool hasCommander = false; // the attacking side has a commander
    int32_t mode = 0;          // 3 cover, 4 siege, 5 assault
    int32_t count = 0;
    int32_t progress = 0; // 0..12
};

// military/ fills the entry once, by a static registration. Null: no
// combat is a siege, so no city is ever under siege.
struct CitySiegeHooks {
    // Fills the state of the combat when it is a siege; false otherwise.
    bool (*stateOf)(CIdObject& combat, CitySiegeState& out) = nullptr;
};

// Constant-initialised (null) before any registration runs.
extern CitySiegeHooks g_citySiege;

class CCity : public CSettlement {
public:
    enum EImprovement : int32_t {
        IMPROVEMENT_SHIPYARD = 0,
        IMPROVEMENT_BARRACK = 1,
        IMPROVEMENT_BAILIFF = 2,
        IMPROVEMENT_CITYRIGHTS = 3,
        IMPROVEMENT_COURTHOUSE = 4,
    };
    static constexpr int32_t kImprovementCount = 5;

    enum EManufactory : int32_t {
        MANUFACTORY_NONE = 0,
        MANUFACTORY_LUXURY = 1,
        MANUFACTORY_WEAPONS = 2,
        MANUFACTORY_NAVAL_EQUIPMENT = 3,
        MANUFACTORY_REFINERY = 4,
        MANUFACTORY_GOODS = 5,
    };

    static constexpr float kMaxPopulation = 999999.0f;
    // The population a city block without "population" or "level" gets: the
    // smallest colony.
    static constexpr float kDefaultPopulation = 200.0f;

    // No improvements, no manufactory, not the capital, fortress level 6,
    // a population of 0 with its levels.
    CCity();
    ~CCity() override;

    // The "city" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END; FIELD_ERROR on a key it does not know ("City :
    // Unexpected Field") or a field without "=", FIELD_END_OF_FILE when the
    // file ends inside it. Values it cannot use are reported and reading goes
    // on. A block without "population" or "level" is reported and gets
    // kDefaultPopulation; a level outside the tables is reported and held to
    // them; a location outside 1..1472 is reported and leaves none. After the
    // block, on the host, the owner (the country being read, else the
    // province's owner) gets the completion messages of the works under way.
    int32_t Read(CFieldReader& in) override;
    // The block as a new node (count 0, owned by the caller).
    virtual CDataBlock* Write() const;
    // Type 209 (the city-state message) sets population, fortress level and
    // manufactory: EVENT_CONSUMED. Every message goes first to the fire
    // overlay's animation.
    int HandleMessage(COVEvent& event) override;

    // The province id the city stands in, 0 when none.
    int32_t GetLocation() const { return GetProvinceId(); }
    // Takes the province (1..1472; others leave none): places the overlays,
    // the siege bar and the flag, makes the port for a province with a port
    // sea zone and chooses the main symbol. The province's owner of the city
    // is whoever holds it (CProvince::SetCity).
    virtual void SetLocation(int32_t provinceId);

    // Stores the population held to 0..999999 and recomputes the levels and
    // the trade factor (a value above the top counts as the top).
    void SetPopulation(float value);
    float GetPopulation() const { return m_population; }
    int32_t GetSizeLevel() const { return m_sizeLevel; }
    int32_t GetColonyLevel() const { return m_colonyLevel; }
    int32_t GetTownLevel() const { return m_townLevel; }
    // Below 700; from 700 up to below 5000; from 5000 up.
    bool IsColony() const override { return m_population < 700.0f; }
    virtual bool IsTown() const { return m_population >= 700.0f && m_population < 5000.0f; }
    bool IsLargeCity() const override { return m_population >= 5000.0f; }
    // Large city: size level + 9; town: town level + 6; colony: colony level.
    int32_t GetSizeRank() const;
    float GetTradeFactor() const override { return m_tradeFactor; }

    bool IsCapital() const { return m_capital != 0; }
    // Marks the city as the capital and makes its province the owner's
    // capital (only the mark without an owner).
    void MakeCapital();
    void ClearCapital() { m_capital = 0; }

    void StartManufactory(int32_t type) { manufactoryBuilding = type; }
    // The manufactory under construction is finished: its symbol shows, the
    // owner recounts its province figures.
    void FinishManufactory();
    bool CanBuildManufactory() const {
        return manufactory == MANUFACTORY_NONE && manufactoryBuilding == MANUFACTORY_NONE;
    }
    void RemoveManufactory() { manufactory = manufactoryBuilding = MANUFACTORY_NONE; }

    bool HasImprovement(int32_t kind) const {
        return kind >= 0 && kind < kImprovementCount && improvements[static_cast<size_t>(kind)];
    }

    // Attaches the siege combat of the id (when there is one) / detaches it.
    void SetSiege(const ObjectId& combatId);
    void ClearSiege() { m_siege = g_nullId; }
    const ObjectId& GetSiegeId() const { return m_siege; }
    // A siege is attached and its attacking side has a commander.
    bool IsUnderSiege() const;

    // The periodic refresh: the main symbol, the capital mark again, and
    // while under siege the siege bar and the fire overlay.
    void UpdateStatus();
    // Chooses the main symbol's culture, kind, level and action.
    void UpdateSprite();
    // The manufactory overlay shows the manufactory (none: unchanged).
    void UpdateManufactorySprite();

    CPort* GetPort() const { return m_port.get(); }
    CFortress& GetFortress() { return m_fortress; }
    const CFortress& GetFortress() const { return m_fortress; }

    // The overlays the province draws.
    const CSettlementSymbol& GetFireSymbol() const { return m_fire; }
    const CSettlementSymbol& GetManufactorySymbol() const { return m_manufactorySymbol; }
    const CSettlementSymbol& GetBarrackSymbol() const { return m_barrack; }
    const CSettlementSymbol& GetStabilitySymbol() const { return m_stability; }
    const CSettlementSymbol& GetSiegeTowerSymbol() const { return m_siegeTower; }
    // The siege bar: where it stands, its fill (0..100) and colour (0..4).
    MapPoint siegeBarPosition;
    int32_t siegeBarFill = 100;
    int32_t siegeBarColour = 0;

    int32_t manufactory = MANUFACTORY_NONE;
    int32_t manufactoryBuilding = MANUFACTORY_NONE;
    CDate manufactoryDate; // when the manufactory under construction is set up
    int32_t improvementBuilding = IMPROVEMENT_SHIPYARD;
    CDate dateCompleted; // when the improvement under construction is done
    std::array<uint8_t, kImprovementCount> improvements{};

private:
    // Recomputes the three levels and the trade factor from the population.
    void UpdateSizeLevels();

    uint8_t m_capital = 0;
    ObjectId m_siege;
    std::unique_ptr<CPort> m_port;
    CFortress m_fortress;
    CSettlementSymbol m_fire;
    CSettlementSymbol m_manufactorySymbol;
    CSettlementSymbol m_barrack;
    CSettlementSymbol m_stability;
    CSettlementSymbol m_siegeTower;
    int32_t m_sizeLevel = 6;
    int32_t m_colonyLevel = 6;
    int32_t m_townLevel = 3;
    float m_tradeFactor = 0.0f;
    float m_population = 0.0f;
};

// The population a city "level" stands for, held to the level tables;
// *outside is set when the level lay outside them (or was no number).
float PopulationOfCityLevel(float level, bool* outside);
