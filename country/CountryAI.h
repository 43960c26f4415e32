#pragma once
// What a country tells the computer player and the player at this machine.
// The computer player and the notices lie above the countries; they fill
// these entries once, by a static registration. A null entry answers as a
// game without them: nobody is told.
#include <cstdint>

class CUnit;

struct CountryAIHooks {
    // ai: an army or a fleet of a country is about to be deleted.
    void (*armyDeleted)(CUnit& army) = nullptr;
    void (*fleetDeleted)(CUnit& fleet) = nullptr;
    // ai, on the host: the listeners of the notification kind are called
    // with the two countries.
    void (*notifyListeners)(uint32_t kind, uint32_t a, uint32_t b) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern CountryAIHooks g_countryAI;

// The notification kind of a separate peace.
constexpr uint32_t kAINoticeSeparatePeace = 18;

struct CountryNoticeHooks {
    // dialogs: the player's notice of the kind about the country, naming the
    // province (its name and a link to it), when the kind is switched on.
    void (*postAt)(uint32_t kind, uint32_t country, const char* provinceName,
                   int32_t province) = nullptr;
};

extern CountryNoticeHooks g_countryNotices;

// The notices of a unit lost with all its men or ships.
constexpr uint32_t kNoticeArmyDestroyed = 123; // "ARMYDESTROY"
constexpr uint32_t kNoticeNavyDestroyed = 124; // "NAVYDESTROY"
