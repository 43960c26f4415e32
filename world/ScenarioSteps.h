#pragma once
// The steps of a scenario's start-up and shutdown that belong to the layers
// above the world: the countries, the host's servers, the screens. The
// scenario runs every step in its fixed order; the owner of each step fills
// its entry once, by a static registration. An entry that is still null is
// a step with nothing to do (a program without that layer).
#include <cstdint>
#include <string>

struct ScenarioStepHooks {
    // The loading screen: made on the first call, its progress (0..100) and
    // the caption of the text key set and drawn; closed by loadingDone.
    void (*loadingProgress)(int32_t percent, const char* captionKey) = nullptr;
    void (*loadingDone)() = nullptr;
    // Empties the country table (before a scenario is read).
    void (*clearCountryTable)() = nullptr;
    // Makes the host's request dispatcher and servers and the console, in
    // their order.
    void (*createHostServers)() = nullptr;
    // Deletes the host's servers in their order: the first part before the
    // scheduler is emptied, the second after it.
    void (*deleteServersBeforeScheduler)() = nullptr;
    void (*deleteServersAfterScheduler)() = nullptr;
    // Replaces the message log window with a new, empty one.
    void (*replaceMessageLog)() = nullptr;
    // Derives the countries' relation flags from the treaties.
    void (*rebuildDiplomaticStatus)() = nullptr;
    // Makes the country of the number when the file did not.
    void (*createCountryIfMissing)(uint32_t number) = nullptr;
    // The number of the first country played by the human at this machine
    // (controller kind 1), -1 when none.
    int32_t (*localPlayerCountry)() = nullptr;
    // The tag of the country number (for reports), null when none.
    const char* (*countryTag)(int32_t number) = nullptr;
    // The state religion of the country of the number, -1 when none.
    int32_t (*stateReligionOf)(int32_t number) = nullptr;
    // The country of the number's capital province id, 0 when none.
    int32_t (*capitalOf)(int32_t number) = nullptr;
    // The route arrows' picture.
    void (*loadMapArrows)() = nullptr;
    void (*freeMapArrows)() = nullptr;
    // Resets the dates of the historical events.
    void (*resetEventDates)() = nullptr;
    // The briefing popup for the player's country, its texts from the key.
    void (*showBriefing)(const char* gameTypeKey) = nullptr;
    // Every country releases its game state (shutdown).
    void (*releaseCountries)() = nullptr;
    // The computer player forgets its listeners (shutdown).
    void (*clearAIListeners)() = nullptr;
    // Tells the player at this machine (a failed save).
    void (*tellPlayer)(const std::string& text) = nullptr;
    // The chosen end year of a standard game (1792 unless the set-up
    // changed it).
    int32_t (*standardEndYear)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern ScenarioStepHooks g_scenarioSteps;
