#pragma once
// What a country's month asks of the layers above it: the missions, the
// base victory points, the alliance's monthly work, the budget window and
// the player's notices. The higher layers fill these once, by a static
// registration; an entry that is still null answers as a game without that
// part: nothing happens.
#include <cstdint>

#include "engine/Date.h"

class CAlliance;
class CCountry;

// The notice kind of a colony that died out.
constexpr int32_t kNoticeColonyDied = 117;

struct CountryMonthHooks {
    // missions: the choice of a new mission among those offered to the
    // local player (the missions option on), with its "MISSNEW" notice.
    void (*chooseMission)(CCountry& country) = nullptr;
    // missions: whether the country holds a mission of the kind (0..10),
    // active or offered, and the request of a new one of the kind.
    bool (*hasMission)(const CCountry& country, int32_t kind) = nullptr;
    void (*requestNewMission)(CCountry& country, int32_t kind) = nullptr;
    // computer player: the base victory points' monthly step.
    void (*victoryPointsMonth)(CCountry& country) = nullptr;
    // the alliance's monthly work while a member is at war, for the date.
    void (*allianceMonth)(CAlliance& alliance, const CDate& date) = nullptr;
    // the budget window: the stability slider's value goes to the treasury
    // slider and the stability slider becomes 0.
    void (*stabilitySliderToTreasury)() = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern CountryMonthHooks g_countryMonth;
