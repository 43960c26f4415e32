#include "world/GlobalsHandler.h"

#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Receivers.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"

namespace {
CGlobalsHandler s_globalsHandler;
}

CMessageReceiver* g_globalsHandler = &s_globalsHandler;

void (*g_raiseReformationEvent)(int32_t randomNumber) = nullptr;

namespace {

// The globals take every broadcast message once the game has started.
const bool g_globalsHandlerRegistered =
    RegisterBroadcastReceiver(kSlotGlobals, &OfferToHolder<g_globalsHandler>);

bool CountryExists(int32_t number) {
    return g_provinceCountries.countryOfNumber &&
           g_provinceCountries.countryOfNumber(number) != nullptr;
}

bool AnyWar() {
    return g_globalsTreaties.warCount && g_globalsTreaties.warCount() > 0;
}

uint32_t AllianceCount() {
    return g_globalsTreaties.allianceCount ? g_globalsTreaties.allianceCount() : 0;
}

int32_t StateReligionOf(int32_t number) {
    return g_scenarioSteps.stateReligionOf ? g_scenarioSteps.stateReligionOf(number) : -1;
}

// Progress values by their number 1..5.
constexpr uint32_t kProtestant = 0;
constexpr uint32_t kReformed = 1;
constexpr uint32_t kThird = 2;
constexpr uint32_t kFourth = 3;
constexpr uint32_t kFifth = 4;

// Event flags.
constexpr uint32_t kFlagProtestant = 1;
constexpr uint32_t kFlagReformed = 2;
constexpr uint32_t kFlagCounterReform = 3;

// The provinces whose religion the yearly reformation event looks at, and
// the country whose state religion they are held against.
constexpr int32_t kFirstEventProvince = 240;
constexpr int32_t kLastEventProvince = 250;
constexpr int32_t kEventCountry = 1;

} // namespace

int CGlobalsHandler::HandleMessage(COVEvent& event) {
    return g_globals.HandleEvent(event);
}

// ---------------------------------------------------------------------------
// The periodic work of the game-wide globals

namespace {

void MonthlyProgress(CGlobals& globals) {
    const bool war = AnyWar();
    if (globals.EventFlag(kFlagCounterReform))
        globals.AddProgress(kFourth, war ? 0.25f : 0.01f);
    globals.AddProgress(kProtestant, war ? 0.25f : 0.01f);
    if (globals.EventFlag(kFlagReformed)) {
        int32_t reformed = 0;
        for (int32_t n = 0; n < static_cast<int32_t>(kCountrySlots); ++n) {
            const int32_t religion = CountryExists(n) ? StateReligionOf(n) : -1;
            if (religion == RELIGION_PROTESTANT || religion == RELIGION_REFORMED)
                ++reformed;
        }
        globals.AddProgress(kThird, 0.01f * static_cast<float>(1 + reformed));
    }
    if (CScenario::GetGameDate().year > 1620)
        globals.AddProgress(kFifth, static_cast<float>(AllianceCount() / 3 + 3) * 0.083333336f);
}

void YearlyProgress(CGlobals& globals) {
    if (CScenario::GetGameDate().year > 1500) {
        globals.AddProgress(kProtestant, 2.0f);
        if (globals.EventFlag(kFlagProtestant))
            globals.AddProgress(kReformed, 2.0f);
    }
    if (globals.EventFlag(kFlagReformed))
        globals.AddProgress(kThird, 4.0f);
    if (globals.EventFlag(kFlagCounterReform))
        globals.AddProgress(kFourth, 0.5f);

    // The host may raise the reformation's event when the provinces around
    // the first country do not hold its faith.
    if (!globals.EventFlag(kFlagReformed) || !CountryExists(kEventCountry) || !IsHost())
        return;
    const int32_t faith = StateReligionOf(kEventCountry);
    bool otherFaith = false;
    for (int32_t id = kFirstEventProvince; id <= kLastEventProvince; ++id)
        if (const CProvince* province = GetProvince(id); province && province->religion != faith)
            otherFaith = true;
    if (otherFaith && GameRand() % 100 < 5 && g_raiseReformationEvent)
        g_raiseReformationEvent(GameRand());
}

} // namespace

void CGlobals::CommonWork() {
    if (g_globalsCountries.countTechGroups)
        g_globalsCountries.countTechGroups();
    if (g_globalsCountries.clearGoodsCounters)
        g_globalsCountries.clearGoodsCounters();
    slaveTrade = false;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (const CCity* city = province.GetCity()) {
            // The city's figure: its population, whole.
            const int64_t total = cityTotal + static_cast<int64_t>(city->GetPopulation());
            cityTotal = total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
        }
        // The goods counters of the owners follow the provinces' trade goods,
        // which come with the goods table.
    }
    if (IsHost() && !CScenario::IsTutorial() && g_globalsTreaties.endStaleWars)
        g_globalsTreaties.endStaleWars();
    // A new emperor is elected on the host only; every machine learns the
    // result from the message the election sends.
    if (IsHost() && !g_fantasyMode && !CountryExists(static_cast<int32_t>(emperor)) &&
        g_globalsTreaties.electEmperor)
        g_globalsTreaties.electEmperor();
}

int CGlobals::HandleEvent(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
        MonthlyProgress(*this);
        CommonWork();
        break;
    case EVT_TIMER_YEAR:
        YearlyProgress(*this);
        break;
    case EVT_GAME_STARTED:
        CommonWork();
        break;
    default:
        break;
    }
    if (g_globalsTreaties.offerToAlliances)
        g_globalsTreaties.offerToAlliances(event);
    return EVENT_NOT_HANDLED;
}
