#include "data/ScenarioHeader.h"

#include <cstdio>
#include <limits>
#include <string_view>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/WorldStateHash.h"
#include "engine/Config.h"
#include "platform/Files.h"

std::unique_ptr<ScenarioInfo> g_scenarioInfo;
constinit ScenarioHeaderHooks g_scenarioHeaderHooks;

namespace {

std::string CutText(const char* text, size_t size) {
    std::string result(text);
    if (result.size() >= size)
        result.resize(size - 1);
    return result;
}

// The bytes of the file up to its first zero byte; null when it cannot be
// opened.
std::unique_ptr<std::string> ReadTextFile(const std::string& path) {
    std::FILE* file = platform::OpenGameFile(path, "rb");
    if (!file)
        return nullptr;
    auto text = std::make_unique<std::string>();
    int c;
    while ((c = std::fgetc(file)) != EOF && c != 0)
        text->push_back(static_cast<char>(c));
    std::fclose(file);
    return text;
}

void AddEntry(CDataBlock& block, uint32_t keyword, CDataNode* value) {
    block.AddChild(new CDataAssignment(keyword, value));
}

// A field without "=" has been dropped: a "}" ends the block.
bool TakeClosingBrace(CFieldReader& in) {
    CTokenFile* file = in.GetTokenFile();
    if (file && file->Peek()->code == TOKEN_CLOSE_BRACE) {
        file->Next();
        return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// CSelectableNation

CSelectableNation::CSelectableNation(uint32_t number) : CNamedObject("Country"), m_number(number) {}

int32_t ReadMissionType(const char* text) {
    return TokenToIntInRange(text, std::numeric_limits<int32_t>::min() + 1,
                             std::numeric_limits<int32_t>::max()) -
           1;
}

int CSelectableNation::Read(CFieldReader& in) {
    conditionCount = 0;
    conditions.fill(0);
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result != FIELD_READ) {
            if (TakeClosingBrace(in))
                return FIELD_BLOCK_END;
            continue;
        }
        const Token& value = in.value;
        const bool isString = value.code == TOKEN_STRING;
        const bool isInt = value.code == TOKEN_NUMBER;
        switch (in.key.code) {
        case KW_DESC:
        case KW_SCENARIOTACTICS:
            if (isString)
                descriptionFile = CutText(value.text, kLongTextSize);
            break;
        case KW_PICTURE:
            if (isString)
                picture = CutText(value.text, kShortTextSize);
            break;
        case KW_COUNTRYTACTICS:
            if (isString)
                countryTactics = CutText(value.text, kLongTextSize);
            break;
        case KW_MISSIONCOUNTRY:
            if (isString)
                missionCountry = CutText(value.text, kLongTextSize);
            break;
        case KW_MISSIONTACTICS:
            if (isString)
                missionTactics = CutText(value.text, kLongTextSize);
            break;
        case KW_PLAYERNAME:
            if (isString)
                playerName = CutText(value.text, kShortTextSize);
            break;
        case KW_VPCONDITION:
            // Conditions past the seventh are dropped.
            if (isInt && conditionCount < kMaxConditions)
                conditions[conditionCount++] = TokenToInt(value.text);
            break;
        case KW_COUNTRYDIFFICULTY:
            countryDifficulty = TokenToInt(value.text);
            break;
        case KW_COUNTRYECONOMY:
            countryEconomy = TokenToInt(value.text);
            break;
        case KW_COUNTRYMILITARY:
            countryMilitary = TokenToInt(value.text);
            break;
        case KW_COUNTRYDIPLOMACY:
            countryDiplomacy = TokenToInt(value.text);
            break;
        case KW_MISSIONTYPE:
            if (isInt)
                nationMissionType = ReadMissionType(value.text);
            break;
        case KW_NUMCITIES:
            if (isInt)
                numCities = TokenToInt(value.text);
            break;
        case KW_NUMCOLONIES:
            if (isInt)
                numColonies = TokenToInt(value.text);
            break;
        case KW_NUMTRADINGPOSTS:
            if (isInt)
                numTradingPosts = TokenToInt(value.text);
            break;
        case KW_NUMGOLD:
            if (isInt)
                numGold = TokenToInt(value.text);
            break;
        default:
            in.ReportError("Selectable Nation : Unexpected field");
            return FIELD_ERROR;
        }
    }
}

CDataBlock* CSelectableNation::Write() const {
    auto* block = new CDataBlock;
    AddEntry(*block, KW_DESC, new CDataString(descriptionFile.c_str()));
    AddEntry(*block, KW_PICTURE, new CDataString(picture.c_str()));
    AddEntry(*block, KW_COUNTRYTACTICS, new CDataString(countryTactics.c_str()));
    AddEntry(*block, KW_MISSIONCOUNTRY, new CDataString(missionCountry.c_str()));
    AddEntry(*block, KW_MISSIONTACTICS, new CDataString(missionTactics.c_str()));
    RunningCountry running;
    if (g_scenarioHeaderHooks.describeRunningCountry)
        g_scenarioHeaderHooks.describeRunningCountry(GetNumber(), running);
    if (!running.playerName.empty())
        AddEntry(*block, KW_PLAYERNAME, new CDataString(running.playerName.c_str()));
    AddEntry(*block, KW_COUNTRYDIFFICULTY, new CDataInt(countryDifficulty));
    AddEntry(*block, KW_COUNTRYECONOMY, new CDataInt(countryEconomy));
    AddEntry(*block, KW_COUNTRYMILITARY, new CDataInt(countryMilitary));
    AddEntry(*block, KW_COUNTRYDIPLOMACY, new CDataInt(countryDiplomacy));
    AddEntry(*block, KW_MISSIONTYPE, new CDataInt(nationMissionType + 1));
    AddEntry(*block, KW_NUMCITIES, new CDataInt(running.cities));
    AddEntry(*block, KW_NUMCOLONIES, new CDataInt(running.colonies));
    AddEntry(*block, KW_NUMTRADINGPOSTS, new CDataInt(running.tradingPosts));
    AddEntry(*block, KW_NUMGOLD, new CDataInt(running.gold));
    return block;
}

const char* CSelectableNation::LoadDescription() {
    m_descriptionText = ReadTextFile(descriptionFile);
    return m_descriptionText ? m_descriptionText->c_str() : nullptr;
}

// ---------------------------------------------------------------------------
// ScenarioInfo

ScenarioInfo::ScenarioInfo() = default;

void ScenarioInfo::Clear() {
    for (auto& nation : nations)
        nation.reset();
    m_descriptionText.reset();
}

int ScenarioInfo::Read(CFieldReader& in) {
    tutorial = false;
    saved = false;
    gameType = -1;
    optionMode = 0;
    for (int32_t* option : {&aiAggressiveness, &difficulty, &gameSpeed, &fogOfWar, &randomEvents,
                            &historicalEvents, &conquerCapital, &missions, &baseVictoryPoints})
        *option = -1;
    secondText.clear();

    int32_t answer = FIELD_BLOCK_END;
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE) {
            answer = FIELD_END_OF_FILE;
            break;
        }
        if (result != FIELD_READ) {
            if (TakeClosingBrace(in))
                break;
            continue;
        }
        const Token& value = in.value;
        const bool isString = value.code == TOKEN_STRING;
        switch (in.key.code) {
        case KW_NAME:
            if (isString)
                name = CutText(value.text, kLongTextSize);
            break;
        case KW_DESC:
            if (isString)
                descriptionFile = CutText(value.text, kLongTextSize);
            break;
        case KW_PICTURE:
            if (isString)
                picture = CutText(value.text, kLongTextSize);
            break;
        case KW_OPTIONFILE:
        case KW_TUTORIALFILE:
            if (isString)
                optionFile = CutText(value.text, kShortTextSize);
            break;
        case KW_TUTORIAL:
            tutorial = value.code == KW_YES;
            break;
        case KW_GAMETYPE:
            gameType = TokenToInt(value.text);
            break;
        case KW_STARTYEAR:
            startYear = TokenToInt(value.text);
            break;
        case KW_ENDYEAR:
            endYear = TokenToInt(value.text);
            break;
        case KW_OPTIONMODE:
            optionMode = TokenToInt(value.text);
            break;
        case KW_SET_AI_AGGRESIVE:
            aiAggressiveness = TokenToInt(value.text);
            break;
        case KW_SET_DIFFICULTY:
            difficulty = TokenToInt(value.text);
            break;
        case KW_SET_GAMESPEED:
            gameSpeed = TokenToInt(value.text);
            break;
        case KW_SET_FOW:
            fogOfWar = TokenToInt(value.text);
            break;
        case KW_SET_RAND_EVENTS:
            randomEvents = TokenToInt(value.text);
            break;
        case KW_SET_HIST_EVENTS:
            historicalEvents = TokenToInt(value.text);
            break;
        case KW_SET_CONQ_CAPITAL:
            conquerCapital = TokenToInt(value.text);
            break;
        case KW_SET_MISSIONS:
            missions = TokenToInt(value.text);
            break;
        case KW_SET_BASEVP:
            baseVictoryPoints = TokenToInt(value.text);
            break;
        case KW_SAVED:
            saved = true;
            break;
        case KW_ID: {
            ObjectId id;
            if (value.code == TOKEN_OPEN_BRACE && id.Read(in) == FIELD_BLOCK_END)
                InitIdRegistries(id);
            else
                in.ReportError("ScenarioInfo : id");
            break;
        }
        default: {
            const int32_t number = g_scenarioHeaderHooks.findCountryByTag
                                       ? g_scenarioHeaderHooks.findCountryByTag(in.key.text)
                                       : 0;
            if (number <= 0) {
                in.ReportError("ScenarioInfo : Unexpected field");
                return FIELD_ERROR;
            }
            auto nation = std::make_unique<CSelectableNation>(static_cast<uint32_t>(number));
            nation->Read(in);
            // A tag given again replaces its entry and keeps its place in the
            // order.
            if (!nations[static_cast<size_t>(number)] && nationCount < kCountrySlots)
                nationOrder[nationCount++] = static_cast<uint32_t>(number);
            nations[static_cast<size_t>(number)] = std::move(nation);
            break;
        }
        }
    }
    if (!g_idObjectRegistry || !g_idEntityRegistry)
        InitIdRegistries(g_nullId);
    return answer;
}

std::array<ObjectId, kCollectedIdTypes> CollectHighestIdNumbers() {
    std::array<ObjectId, kCollectedIdTypes> highest;
    for (uint32_t i = 0; i < kCollectedIdTypes; ++i)
        highest[i] = ObjectId(static_cast<uint16_t>(kFirstPlayerIdType + i), 0);
    auto raise = [&highest](const ObjectId& id) {
        const uint32_t index = static_cast<uint32_t>(id.type) - kFirstPlayerIdType;
        if (id.type < kFirstPlayerIdType || index >= kCollectedIdTypes)
            return; // not a player's type
        ObjectId& entry = highest[index];
        if (id.number > entry.number)
            entry.number = id.number;
    };
    if (g_idEntityRegistry)
        g_idEntityRegistry->ForEach([&raise](const CIdEntity* object) { raise(object->GetId()); });
    if (g_idObjectRegistry)
        g_idObjectRegistry->ForEach([&raise](const CIdObject* object) { raise(object->GetId()); });
    return highest;
}

CDataBlock* ScenarioInfo::Write() {
    auto* block = new CDataBlock;
    AddEntry(*block, KW_NAME, new CDataString(name.c_str()));
    AddEntry(*block, KW_DESC, new CDataString(descriptionFile.c_str()));
    AddEntry(*block, KW_PICTURE, new CDataString(picture.c_str()));
    AddEntry(*block, KW_TUTORIAL, new CDataBool(tutorial));
    AddEntry(*block, KW_STARTYEAR, new CDataInt(startYear));
    AddEntry(*block, KW_ENDYEAR, new CDataInt(endYear));
    AddEntry(*block, KW_GAMETYPE,
             new CDataInt(g_scenarioHeaderHooks.gameType ? g_scenarioHeaderHooks.gameType() : 0));
    AddEntry(*block, KW_SAVED, new CDataBool(true));
    AddEntry(*block, KW_OPTIONMODE, new CDataInt(optionMode));
    const std::pair<uint32_t, size_t> settings[] = {
        {KW_SET_AI_AGGRESIVE, ConfigOffset::kAggressiveness},
        {KW_SET_DIFFICULTY, ConfigOffset::kDifficulty},
        {KW_SET_GAMESPEED, ConfigOffset::kGameSpeed},
        {KW_SET_FOW, ConfigOffset::kFogOfWar},
        {KW_SET_RAND_EVENTS, ConfigOffset::kRandomEvents},
        {KW_SET_HIST_EVENTS, ConfigOffset::kHistoricalEvents},
        {KW_SET_CONQ_CAPITAL, ConfigOffset::kConquerCapitals},
        {KW_SET_MISSIONS, ConfigOffset::kMissions},
        {KW_SET_BASEVP, ConfigOffset::kBaseVictoryPoints}};
    for (const auto& [keyword, offset] : settings)
        AddEntry(*block, keyword,
                 new CDataInt(g_config ? static_cast<int32_t>(g_config->GetWord(offset)) : 0));
    const std::string playing = g_scenarioHeaderHooks.scenarioFileName
                                    ? g_scenarioHeaderHooks.scenarioFileName()
                                    : std::string();
    optionFile = CutText((playing + ".cfg").c_str(), kShortTextSize);
    AddEntry(*block, KW_OPTIONFILE, new CDataString(optionFile.c_str()));
    // Where each machine's numbering goes on after a load. Each machine
    // counts what it holds itself (the host also what only it keeps, such
    // as the random leaders it made), so the shared world leaves them out.
    if (!WritingSharedStateOnly())
        for (const ObjectId& id : CollectHighestIdNumbers())
            if (id.number != 0)
                AddEntry(*block, KW_ID, id.MakeNode());
    for (uint32_t i = 0; i < nationCount; ++i) {
        const CSelectableNation* nation = nations[nationOrder[i]].get();
        if (nation)
            block->AddChild(new CDataAssignment(
                ObjectId(kCountryObjectType, nationOrder[i]).MakeNode(), nation->Write()));
    }
    return block;
}

void ScenarioInfo::Load(const std::string& path) {
    Clear();
    nationCount = 0;
    CFieldReader reader;
    reader.Open(path, "r");
    FindHeader(reader);
    reader.Close();
}

void ScenarioInfo::FindHeader(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            return;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next();
            continue;
        }
        if (result != FIELD_READ || in.key.code != KW_HEADER)
            continue;
        if (in.value.code == TOKEN_OPEN_BRACE)
            Read(in);
        else
            in.ReportError("No left curly");
        return;
    }
}

const char* ScenarioInfo::LoadDescription() {
    m_descriptionText = ReadTextFile(descriptionFile);
    return m_descriptionText ? m_descriptionText->c_str() : nullptr;
}

const char* ScenarioInfo::GetNationDescription(uint32_t index) {
    CSelectableNation* nation = index < nationCount ? nations[nationOrder[index]].get() : nullptr;
    return nation ? nation->LoadDescription() : nullptr;
}

const char* ScenarioInfo::GetNationPicture(uint32_t index) const {
    const CSelectableNation* nation =
        index < nationCount ? nations[nationOrder[index]].get() : nullptr;
    return nation ? nation->picture.c_str() : nullptr;
}
