#pragma once
// What the country's tick, year and game-start handlers ask of the layers
// above them: the missions, the random events, the monarchs, the player's
// screen and the money-mismatch box. The higher layers fill these once, by
// a static registration; an entry that is still null answers as a game
// without that part: nothing happens.
#include <cstdint>
#include <string>

#include "engine/ObjectId.h"

class CCountry;

struct CountryTickHooks {
    // missions: the mission of the id checks itself (each tick, on the
    // host); the mission of the id is activated (at game start).
    void (*updateMission)(CCountry& country, const ObjectId& mission) = nullptr;
    void (*activateMission)(CCountry& country, const ObjectId& mission) = nullptr;
    // military: a random monarch is made and installed for a country that
    // has none.
    void (*createRandomMonarch)(CCountry& country) = nullptr;
    // military: at game start every unit of the country recomputes its
    // strength; one with morale below 0.001 takes the country's naval
    // (fleets) or land (armies) morale, a fleet without a date today's.
    void (*startUnits)(CCountry& country) = nullptr;
    // events: the country's first random event is drawn.
    void (*rollRandomEvent)(uint32_t country) = nullptr;
    // the main game screen of the local player refreshes itself.
    void (*refreshScreen)(CCountry& country) = nullptr;
    // the player sees a message box with the text.
    void (*showMessageBox)(const std::string& text) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern CountryTickHooks g_countryTick;
