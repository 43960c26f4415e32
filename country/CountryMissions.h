#pragma once
// What the country's event and mission handlers ask of the game events and
// the missions. Both are game-dialog objects, which lie above the
// countries; they fill these entries once, by a static registration. An
// entry that is still null answers as a game without missions and events:
// no mission and no event is found, nothing is requested, taken or
// deleted.
#include <array>
#include <cstdint>
#include <string>

#include "engine/Date.h"
#include "engine/ObjectId.h"

class CCountry;

// The mission kinds run from 0 to 10.
constexpr int32_t kMissionKinds = 11;

// What the handlers read of a mission.
struct MissionFacts {
    int32_t kind = 0;
    CDate duration; // a span of days, months and years
    float reward = 0.0f;
    float penalty = 0.0f;
};

// A mission's values as the type-191 message carries them.
struct MissionValues {
    int32_t kind = 0;
    std::array<uint32_t, 3> goals{};
    CDate date;
    ObjectId id;
};

// What the handlers read of a game event.
struct GameEventFacts {
    int32_t kind = 0; // 1 random, 2 historical
    std::string name;
    std::string text;
    std::string value;
};

// The game event kinds that the player is told of.
constexpr int32_t kGameEventRandom = 1;
constexpr int32_t kGameEventHistorical = 2;

struct CountryMissionHooks {
    // missions: the mission of the id; false when there is none.
    bool (*findMission)(const ObjectId& id, MissionFacts& facts) = nullptr;
    // missions: the mission of the id runs until the date.
    void (*setDeadline)(const ObjectId& id, const CDate& deadline) = nullptr;
    // missions: the mission table's new mission of the kind for the
    // country; true and its values when it gives an active one (the table's
    // own object is its to delete).
    bool (*requestMission)(CCountry& country, int32_t kind, MissionValues& values) = nullptr;
    // missions: the country's mission object takes the values; each mission
    // of the country's archived missions of the same kind is told.
    void (*takeMission)(CCountry& country, const MissionValues& values) = nullptr;
    // missions: the mission of the id is deleted.
    void (*deleteMission)(const ObjectId& id) = nullptr;
    // events: the game event of the id; false when there is none.
    bool (*findGameEvent)(const ObjectId& id, GameEventFacts& facts) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern CountryMissionHooks g_countryMissions;
