#pragma once
// The leader registry: one slot per leader number, where every historical
// leader and every monarch of the running game can be found by the number
// of its id (type 6). On the host it schedules the arrival of the leaders
// and the accession of the monarchs it is given, their replacement at their
// end dates, and answers the leader requests ({2, 5}).
//
// Random leaders and monarchs take their names from per-country lists read
// from "db\leaders\randomleaders.csv" (country tag; name).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ObjectId.h"
#include "military/units/NameLists.h"

class CCountry;
class CIdEntity;
class CLeader;
class COVEvent;
class CMonarch;
class CRandomLeader;
class CUnit;

class CLeaderRegistry {
public:
    static constexpr uint32_t kSlotCount = 5000;

    CLeaderRegistry();
    ~CLeaderRegistry();
    CLeaderRegistry(const CLeaderRegistry&) = delete;
    CLeaderRegistry& operator=(const CLeaderRegistry&) = delete;

    // The id part in the slot of a leader number; null when the slot is
    // empty or the number is out of range.
    CIdEntity* GetSlot(uint32_t number) const;
    // Fills a slot; a number out of range is ignored.
    void SetSlot(uint32_t number, CIdEntity* leader);
    // Empties a slot; a number out of range is ignored.
    void ClearSlot(uint32_t number);

    // A leader with an id of type 6 fills the slot of its number when it is
    // empty (a second leader of a taken number is neither entered nor
    // scheduled). On the host, unless the leader was loaded active or its
    // end date has come, its arrival ("_COVEVT_ARRIVE_LEADER_" to the leader
    // requests, its id at +20) is posted for its start date and it is marked
    // loaded active; an end date of day and month 0 then gets a random day
    // and month. Every leader so added also gets its replacement request
    // ("_COVEVT_REQUEST_REPLACEMENT_LEADER_") posted for its end date. The
    // registry does not own the leader.
    void AddLeader(CLeader* leader);
    // A monarch with an id of type 6 takes the slot of its number. On the
    // host, unless it was loaded active or its end date has come, its
    // accession ("_COVEVT_ACTIVATE_MONARCH_" to its country: +20 its id, +28
    // event2start) is posted for its start date and it is marked loaded
    // active. The registry does not own the monarch.
    void AddMonarch(CMonarch* monarch);

    // The leader requests, on the host only (other types and a client do
    // nothing): 167 removes the leader from its country ("_COVEVT_KILL_LEADER_"),
    // 168 makes a random leader for a unit without one, 170 places an
    // arriving leader with a unit, 173 makes a random successor for the
    // reigning monarch it names. Ids that name nothing drop the request.
    // Answers 0.
    int HandleEvent(COVEvent& event);

    // Keeps a random leader the registry made until the registry goes.
    CRandomLeader* Keep(std::unique_ptr<CRandomLeader> leader);

private:
    std::array<CIdEntity*, kSlotCount> m_slots{};
    std::vector<std::unique_ptr<CRandomLeader>> m_randomLeaders;
};

// The leader (null: nothing) takes command in the unit:
// "_COVEVT_ACTIVATE_LEADER_" to its country, run at once and sent.
void SendActivateLeader(CLeader* leader, const ObjectId& unit);
// The unit that takes the arriving leader, raised for it when need be (see
// LeaderRegistry.cpp); the null id when none.
ObjectId PlaceArrivingLeader(CLeader& leader);
// The province an arriving leader of the location joins: the location
// itself when it is a sea zone or a city the owner controls, else such a
// neighbour, else such a province of its area, else the owner's city
// nearest to it, else the owner's capital (0 when none).
int32_t FindArrivalProvince(const CLeader& leader, int32_t location);

// --- random leaders and monarchs (military/units/RandomLeaders.cpp) ---
// The random leader names of each country number (0..98).
extern std::array<CGrowArray<std::string>, 99> g_randomLeaderNames;
// Reads "db\leaders\randomleaders.csv": per line a country tag and a name,
// appended to the tag's list (a full list drops the name with a trace
// line; an unknown tag or an empty name is reported and skipped). False
// when the file cannot be read.
bool LoadRandomLeaderNames();
// A name of the country's list: item (seed mod count), a seed of 0 drawing
// one with GameRand; the country's display name when its list is empty.
std::string GetRandomLeaderName(uint32_t country, int32_t seed);
// On the host: a new random leader of the country (null when the country
// does not exist) with a random name, a new id, the category (-1: an
// admiral for a fleet, else a general), the country's default abilities;
// "_COVEVT_CREATE_LEADER_" tells the other machines. The registry keeps it.
CRandomLeader* CreateRandomLeader(uint32_t country, const ObjectId& unit, int32_t category);
// On the host: a random monarch succeeds the country's monarch. Its reign
// (end day and month drawn first when they are 0) is complete before
// "_COVEVT_CREATE_MONARCH_" tells the other machines; its replacement
// request is posted for its end date.
CMonarch* CreateRandomMonarch(CCountry& country);
// --- end of random leaders and monarchs ---

// Made when a scenario is set up, deleted when it ends; null in between.
extern std::unique_ptr<CLeaderRegistry> g_leaderRegistry;
