#pragma once
// The scenario header: the "header" block of every scenario and saved game
// (name, description, picture, years, game type, start options, the id
// counters of the saving machines) and the countries a player may choose
// (CSelectableNation, one block per country under its tag). What the header
// takes from the running game (the countries' tags, the countries in play,
// the game type, the file being played) it asks through
// g_scenarioHeaderHooks.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "data/CountryNumbers.h"
#include "data/TokenFile.h"
#include "engine/NamedObject.h"
#include "engine/ObjectId.h"

// A "missiontype" value as the game keeps it: the file counts from 1, the
// game from 0; a number too small to shift is held at the lowest one.
int32_t ReadMissionType(const char* text);

class CDataBlock;

// Sizes of the text fields with their terminating zero; longer texts are
// cut.
constexpr uint32_t kLongTextSize = 8192;
constexpr uint32_t kShortTextSize = 256;

// Id types from 4712 up to this many counted by CollectHighestIdNumbers.
constexpr uint32_t kCollectedIdTypes = 4711;

// What the running game's country of a nation's number adds to the nation's
// block when the header is written.
struct RunningCountry {
    // "<country name> : <player name>"; empty when no player holds it.
    std::string playerName;
    int32_t cities = 0;
    int32_t colonies = 0; // cities that are colonies or towns
    int32_t tradingPosts = 0;
    int32_t gold = 0; // the treasury, truncated toward zero
};

// The header's questions to the running game. Each owner fills its entries
// by a static registration in the file that defines the state; a null entry
// answers as a program without that state: no country has a tag, no country
// is in play, game type 0, no file being played.
struct ScenarioHeaderHooks {
    // country: the number 1..98 of the country with the tag (any case), 0
    // when none.
    int32_t (*findCountryByTag)(const char* tag) = nullptr;
    // country: fills `out` from the running game's country of the number;
    // leaves it alone when there is none.
    void (*describeRunningCountry)(uint32_t number, RunningCountry& out) = nullptr;
    // world: the running game's type.
    int32_t (*gameType)() = nullptr;
    // world: the game path of the scenario or saved game being played.
    std::string (*scenarioFileName)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern ScenarioHeaderHooks g_scenarioHeaderHooks;

// A country a player may choose, as the header describes it: an entry of
// its own (object id {3, number}), not the country of the running game.
class CSelectableNation : public CNamedObject {
public:
    static constexpr uint32_t kMaxConditions = 7;

    explicit CSelectableNation(uint32_t number);

    uint32_t GetNumber() const { return m_number; }
    ObjectId GetId() const { return ObjectId(kCountryObjectType, m_number); }

    // The nation's block after its "{" up to and including its "}":
    // FIELD_BLOCK_END; FIELD_ERROR after a key it does not know ("Selectable
    // Nation : Unexpected field"); FIELD_END_OF_FILE when the file ends
    // inside it.
    int Read(CFieldReader& reader) override;
    // The nation's block, with the counts and gold of the running game's
    // country of the same number (new node, owned by the caller).
    CDataBlock* Write() const;
    // Reads the description file (bytes up to the first zero byte or the end
    // of the file) and answers the text; null when the file cannot be read.
    const char* LoadDescription();

    std::string descriptionFile; // "desc", "scenariotactics"
    std::string countryTactics;
    std::string missionTactics;
    std::string missionCountry;
    std::string picture;
    std::string playerName;
    std::array<int32_t, kMaxConditions> conditions{};
    uint32_t conditionCount = 0;
    int32_t countryDifficulty = 0;
    int32_t countryEconomy = 0;
    int32_t countryMilitary = 0;
    int32_t countryDiplomacy = 0;
    int32_t nationMissionType = 0; // counted from 0 (the file counts from 1)
    int32_t numCities = 0;
    int32_t numColonies = 0;
    int32_t numTradingPosts = 0;
    int32_t numGold = 0;

private:
    uint32_t m_number;
    std::unique_ptr<std::string> m_descriptionText;
};

class ScenarioInfo {
public:
    ScenarioInfo();
    virtual ~ScenarioInfo() = default;
    ScenarioInfo(const ScenarioInfo&) = delete;
    ScenarioInfo& operator=(const ScenarioInfo&) = delete;

    // The header's fields after its "{" up to and including its "}":
    // FIELD_BLOCK_END; FIELD_ERROR after a key that is no header keyword and
    // no country tag ("ScenarioInfo : Unexpected field"); FIELD_END_OF_FILE
    // when the file ends inside the block. The id registries exist
    // afterwards.
    virtual int Read(CFieldReader& reader);
    // The header block (new node, owned by the caller): the stored texts and
    // years, the current game type and settings, the id counters and the
    // nations.
    virtual CDataBlock* Write();
    virtual void NoOp1(int /*unused*/) {}

    // Deletes the nations and the description text.
    void Clear();
    // Clear, then reads the header of the file at the game path.
    void Load(const std::string& path);
    // Passes over fields up to the "header" and reads it.
    void FindHeader(CFieldReader& reader);
    // Reads the description file; null when it cannot be read.
    const char* LoadDescription();
    // Of the i-th nation in nation order (i below the nation count).
    const char* GetNationDescription(uint32_t index);
    const char* GetNationPicture(uint32_t index) const;

    std::array<uint32_t, kCountrySlots> nationOrder{};
    std::string descriptionFile;
    std::string picture;
    std::string name;
    std::string optionFile; // "optionfile", "tutorialfile"
    std::string secondText;
    bool tutorial = false;
    // Indexed by country number; null where the country is not selectable.
    std::array<std::unique_ptr<CSelectableNation>, kCountrySlots> nations;
    uint32_t nationCount = 0;
    int32_t startYear = 0;
    int32_t endYear = 0;
    bool saved = false;
    int32_t optionMode = 0;
    // Start options; -1 = not set by the file.
    int32_t aiAggressiveness = -1;
    int32_t difficulty = -1;
    int32_t gameSpeed = -1;
    int32_t fogOfWar = -1;
    int32_t randomEvents = -1;
    int32_t historicalEvents = -1;
    int32_t conquerCapital = -1;
    int32_t missions = -1;
    int32_t baseVictoryPoints = -1;
    int32_t gameType = 0;

private:
    std::unique_ptr<std::string> m_descriptionText;
};

// The current header; null when there is none.
extern std::unique_ptr<ScenarioInfo> g_scenarioInfo;

// Entry i: the highest number registered in either id registry under the
// type 4712 + i (0 when none). Types outside that range are passed over.
std::array<ObjectId, kCollectedIdTypes> CollectHighestIdNumbers();
