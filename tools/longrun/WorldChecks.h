#pragma once
// The checks a long run makes every game month: the rules that hold the
// world together whatever the players do. Each check walks the live objects
// in their own order (country numbers, list order, province ids), never by
// address, so two runs report the same first fault.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace longrun {

struct WorldFault {
    int rule = 0;        // the numbered rule broken (1..7)
    std::string what;    // what is wrong
    std::string where;   // the province, country or list where it was seen
    std::string objects; // the objects concerned, by name and id
};

// The rules, in their order:
// 1. every unit is in exactly one place (its owner's list of units or of
//    units being raised, or a fleet's cargo with its carrier set and no
//    province but its carrier's), it names that owner, and the id registry holds exactly the units
//    the lists hold;
// 2. the troops a country keeps outside its units are not negative (the
//    army and fleet totals are sums over the units, reckoned when asked);
// 3. treasury, stocks, strengths and morale are numbers, not negative where
//    the game forbids it, and a King's money pool plus what its holders hold
//    stays within the treasury;
// 4. a leader is on at most one unit, and that unit names it; a combat's
//    sides list only live units that name it (as their battle or their
//    siege), and a unit's combat exists and lists it;
// 5. (host) a moving unit not in battle has exactly one pending move step,
//    no unit has more; consecutive provinces of a path are neighbours; no
//    fleet stands in a land province without a fortress;
// 6. a unit held by a computer player's agent is in that agent's lists and
//    every unit in an agent's lists names the agent; every province's
//    responsible agent is alive; a diplomacy minister runs at most three
//    plans;
// 7. a province's natives do not exceed its maximum; a province has a
//    controller only when it has an owner.
//
// host: this machine decides (the scheduler's pending steps are checked).
// Answers every fault found, the first rule's first.
std::vector<WorldFault> CheckWorld(bool host);

// Rule 4's "an ended combat is gone within a day", noted once a day after
// the day's messages: a combat that had ended at the last note and is still
// in its province is a fault.
class EndedCombatWatch {
public:
    std::vector<WorldFault> NoteDay();

private:
    std::set<std::pair<uint16_t, uint32_t>> m_ended; // the ids of the ended combats seen
};

// One line: "rule n: what; where; objects".
std::string DescribeFault(const WorldFault& fault);

} // namespace longrun
