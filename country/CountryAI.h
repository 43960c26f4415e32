#pragma once
// What a country tells the computer player. The computer player lies above
// the countries; it fills these entries once, by a static registration. A
// null entry answers as a game without it: nobody is told.
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
// The notification kind of a leader arrived in a country's service (the
// country and the leader's category).
constexpr uint32_t kAINoticeLeaderArrived = 35;

// The notices of a unit lost with all its men or ships.
constexpr int32_t kNoticeArmyDestroyed = 123; // "ARMYDESTROY"
constexpr int32_t kNoticeNavyDestroyed = 124; // "NAVYDESTROY"
