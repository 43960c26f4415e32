// The scenario's start-up and shutdown, the world check after a file is
// read, and the reset before a saved game is loaded.
#include <algorithm>
#include <cstring>
#include <memory>

#include "data/CycleCounter.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/ScenarioHeader.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "engine/DisplayList.h"
#include "engine/Drawable.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Pixel.h"
#include "engine/Random.h"
#include "engine/Sprite.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "platform/ScriptedInput.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/Goods.h"
#include "world/Map.h"
#include "world/MapDisplay.h"
#include "world/MapRender.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"
#include "world/Territory.h"

ScenarioStepHooks g_scenarioSteps;

namespace {

// The end year of a standard game when the set-up chose none.
constexpr int32_t kDefaultEndYear = 1792;

void ShowLoading(int32_t percent, const char* key) {
    if (g_scenarioSteps.loadingProgress)
        g_scenarioSteps.loadingProgress(percent, key);
}

void Step(void (*step)()) {
    if (step)
        step();
}

// The tag of a country number for a finding.
const char* TagText(int32_t number) {
    const char* tag = g_scenarioSteps.countryTag ? g_scenarioSteps.countryTag(number) : nullptr;
    return tag ? tag : "";
}

void ClearCountryTable() {
    Step(g_scenarioSteps.clearCountryTable);
}

// The centres of trade of the previous game go.
void ReplaceTradeCalculator() {
    g_cotCalc.Clear();
    DebugPrint("newed cotcalc process\n");
}

// Every province forgets who discovered it (only once the map exists).
void ForgetDiscoveries() {
    if (!g_map)
        return;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.newlyRevealed = 0;
        province.discoveredBy.fill(0);
    }
}

// The text key of the briefing for the game type.
const char* BriefingKey(int32_t gameType) {
    switch (gameType) {
    case 1:
        return "VICTORYGAME";
    case 2:
        return "DEATHMATCH";
    case 3:
        return "SCENARIOMISS";
    default:
        return "STANDARDGAME";
    }
}

// Reads the file into the world; false when it could not be opened or a
// structural error stopped the reader.
// The map shows what the country played at this machine (the first with
// the local player's mark) has discovered; the rest lies under the fog.
void RevealLocalPlayersDiscoveries() {
    constexpr uint32_t kLocalPlayerMark = 1;
    if (!g_sessionCountries.mark)
        return;
    for (uint32_t number = 0; number < kNetCountrySlots; ++number)
        if (g_sessionCountries.mark(number) == kLocalPlayerMark) {
            ResetFog(number);
            return;
        }
}

bool ReadScenarioFile(const std::string& name) {
    CFieldReader in;
    in.Open(name, "r");
    if (!in.IsOpen()) {
        CriticalError("Could not open the scenario file %s", name.c_str());
        return false;
    }
    const int32_t result = ReadGameFile(in);
    ValidateScenario();
    in.Close();
    if (result == FIELD_ERROR) {
        CriticalError("The scenario file %s could not be read to its end", name.c_str());
        return false;
    }
    return true;
}

} // namespace

CScenario::CScenario() = default;

CScenario::CScenario(const std::string& file, uint32_t seedValue) : seed(seedValue) {
    reloadRequested = saveRequested = stopDrawing = 0;
    SetFileName(file);
    Init();
}

CScenario::~CScenario() {
    if (m_started)
        Shutdown();
}

uint32_t CScenario::SetFileName(const std::string& name) {
    fileName = name.substr(0, 255);
    return static_cast<uint32_t>(fileName.size() + 1);
}

bool CScenario::IsTutorial() {
    return g_scenarioInfo && g_scenarioInfo->tutorial;
}

CDate CScenario::GetGameDate() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

CDate GetScenarioEndDate() {
    return g_globals.endDate;
}

bool CScenario::Init() {
    waitingForStart = 1;
    InitIdRegistries(g_nullId);
    ShowLoading(22, "INIT_PROVINCES");
    gameEnded = gameStarted = 0;
    m_sprite = std::make_unique<CSprite>();
    CGraphicsBase::SetDefaultPalette("palette.act");
    ReplaceTradeCalculator();
    ClearCountryTable();
    ForgetDiscoveries();
    ClearCountryTable();
    Step(g_scenarioSteps.createHostServers);
    g_globals.ClearGameServerValues();
    if (!LoadProvinces())
        CriticalError("%s", GetProvinceLoadError().c_str());

    ShowLoading(44, "INIT_SCENARIO");
    CCycleCounter timer;
    timer.Start();
    Step(g_scenarioSteps.replaceMessageLog);
    ReadScenarioFile(fileName);
    Step(g_scenarioSteps.rebuildDiplomaticStatus);
    ScheduleGameEnd();
    g_cotCalc.AssignAllProvinces();
    AddMapToDisplayList();
    Step(g_scenarioSteps.loadMapArrows);
    if (g_scenarioSteps.createCountryIfMissing)
        for (uint32_t number : {98u, 96u, 97u})
            g_scenarioSteps.createCountryIfMissing(number);
    BuildTerritories();
    RevealLocalPlayersDiscoveries();
    StartGameMessage();
    FantasyStart();

    ShowLoading(88, "INIT_SCRIPT");
    Step(g_scenarioSteps.loadingDone);
    Step(g_scenarioSteps.resetEventDates);
    if (g_scenarioSteps.showBriefing)
        g_scenarioSteps.showBriefing(BriefingKey(g_gameType));
    g_gameStarted = 1;
    m_started = true;
    platform::Trace("scenario started " + fileName + (IsGameRunning() ? " running" : ""));
    return true;
}

void CScenario::ScheduleGameEnd() {
    if (IsSessionActive() && !IsSessionHost())
        return;
    CDate end = GetScenarioEndDate();
    if (g_gameType != 1 && g_gameType != 2 && g_gameType != 3) {
        const int32_t year =
            g_scenarioSteps.standardEndYear ? g_scenarioSteps.standardEndYear() : kDefaultEndYear;
        end.year = static_cast<int16_t>(year);
    }
    PostEventAt(std::make_unique<COVSimpleEvent>(EVT_GAME_END, g_broadcastId), end);
}

void CScenario::StartGameMessage() {
    if (g_netSessionHolder && IsSessionActive()) {
        SetNetStartPending();
        return;
    }
    PostEventNow(std::make_unique<COVSimpleEvent>(EVT_GAME_STARTED, g_broadcastId));
    if (g_netSessionHolder)
        ClearNetStartPending();
}

void CScenario::FantasyStart() {
    if (!g_fantasyMode)
        return;
    GameSrand(seed);
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.wilderness = province.tax = province.negotiation = province.tolerance =
            province.maxNatives = 0;
        province.ferocity = province.efficiency = 0.0f;
        if (province.terrain == 5 || province.terrain == 6)
            continue;
        const int32_t owner = province.GetOwnerNumber();
        const CCity* city = province.GetCity();
        if (city && g_scenarioSteps.capitalOf && owner >= 0 &&
            g_scenarioSteps.capitalOf(owner) == id) {
            province.tax = 15;
            continue;
        }
        province.wilderness = GameRand() % 10;
        province.tax = 6 + GameRand() % 8;
        province.tax += GameRand() % 8;
        province.ferocity = static_cast<float>(GameRand() % 3 + 1);
        province.efficiency = 1.0f;
        province.negotiation = GameRand() % 9 + 1;
        province.tolerance = GameRand() % 9 + 1;
        province.maxNatives = GameRand() % 50;
        province.maxNatives += GameRand() % 50;
    }
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        const int32_t owner = province.GetOwnerNumber();
        if (province.GetCity() && province.religion == RELIGION_PAGAN && owner >= 0 &&
            g_scenarioSteps.stateReligionOf) {
            const int32_t religion = g_scenarioSteps.stateReligionOf(owner);
            if (religion >= 0)
                province.religion = religion;
        }
    }
}

bool CScenario::Shutdown() {
    if (g_gameTimer) {
        g_gameTimer->running = false;
        g_gameTimer->gameTicks = 0;
        g_gameTimer->interrupts = 0;
    }
    g_gameStarted = 0;
    Step(g_scenarioSteps.freeMapArrows);
    Step(g_scenarioSteps.releaseCountries);
    Step(g_scenarioSteps.clearAIListeners);
    FreeTerritories();
    m_sprite.reset();
    for (int32_t id = 0; id < kProvinceSlots; ++id)
        g_provinces[static_cast<size_t>(id)].Release();
    g_goods.Clear();
    Step(g_scenarioSteps.deleteServersBeforeScheduler);
    g_cotCalc.Clear();
    g_scheduler.Clear();
    Step(g_scenarioSteps.deleteServersAfterScheduler);
    RemoveMapFromDisplayList();
    Step(g_globalsTreaties.clearAll);
    if (platform::TraceOn()) {
        const uint32_t ids = (g_idEntityRegistry ? g_idEntityRegistry->GetCount() : 0) +
                             (g_idObjectRegistry ? g_idObjectRegistry->GetCount() : 0);
        const uint32_t treaties =
            (g_globalsTreaties.allianceCount ? g_globalsTreaties.allianceCount() : 0) +
            (g_globalsTreaties.warCount ? g_globalsTreaties.warCount() : 0);
        platform::Trace("scenario shut down, ids left " + std::to_string(ids) + ", treaties " +
                        std::to_string(treaties));
    }
    ReleaseGlobalTrees();
    FreeIdRegistries();
    m_started = false;
    return true;
}

int32_t ValidateScenario() {
    int32_t findings = 0;
    auto report = [&findings](const std::string& text) {
        DebugPrint("%s\n", text.c_str());
        AppendToLog(text);
        ++findings;
    };
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        const int32_t owner = province.GetOwnerNumber();
        const int32_t controller = province.GetControllerNumber();
        const char* ownerTag = owner >= 0 ? TagText(owner) : "";
        if (owner >= 0 && !province.GetCity() && !province.GetTradingPost())
            report(FormatText("Province %d is specififed as owned by %s but without a settlement",
                              id, ownerTag));
        if (owner >= 0 && controller < 0)
            report(FormatText(
                "Province %d is specififed as owned by %s but nobody is specified as controller",
                id, ownerTag));
        if (controller >= 0 && owner < 0)
            report(FormatText(
                "Province %d is specififed as controlled by %s but nobody is specified as owner",
                id, TagText(controller)));
        if (province.GetCity() && !province.GetCity()->IsColony()) {
            province.natives = 0;
            province.maxNatives = 0;
        }
    }
    for (int32_t slot = 0; slot < g_cotCalc.GetCount(); ++slot) {
        const CCentreOfTrade* centre = g_cotCalc.GetSlot(slot);
        const CProvince* seat = centre ? GetProvince(centre->GetProvinceId()) : nullptr;
        if (centre && (!seat || seat->GetOwnerNumber() < 0))
            report(FormatText("COT specified at %d but no owner of province",
                              centre->GetProvinceId()));
    }
    if (findings > 0)
        CriticalError("Scenario files had errors (see log.txt)");
    return findings;
}

void ResetWorldForLoad() {
    ReplaceTradeCalculator();
    ClearCountryTable();
    ForgetDiscoveries();
}
