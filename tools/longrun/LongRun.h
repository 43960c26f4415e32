#pragma once
// Whole games with only computer players, headless, as fast as the machine
// allows. The game folder is the current directory (as for the game). Every
// nation is given to the computer (the pirates, natives and rebels keep
// their own kinds), the scenario starts with no front end, window or sound,
// and the host's clock is driven a day at a time with no waiting. Every game
// month the world-state hash is taken and the world is checked
// (tools/longrun/WorldChecks.h); the first fault stops the run with a
// report and a saved game of that moment.
//
// In loopback mode a host and one client share the process over the
// loopback network: the host plays the run while its messages wait in the
// client's queue, then the world starts afresh as the client, which follows
// the messages and must hold the host's hash at every month.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/longrun/RunFigures.h"

namespace longrun {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFault = 1; // a broken rule or a client that differs
inline constexpr int kExitError = 2; // the run could not start

struct Options {
    std::string scenario = "scenarios\\world_1492.ovg";
    uint32_t seed = 0;
    int32_t years = 100;
    int32_t reportStep = 10; // game years per report period
    std::string json;        // the JSON figures' file; empty: none
    bool loopback = false;
    bool progress = false; // a progress line on the error stream
    // The saved game written at a fault, in the game folder.
    std::string faultSave = "longrun_fault.ovg";
};

struct Result {
    int exitCode = kExitOk;
    // The host's world-state hash at the start and at every month checked.
    std::vector<uint64_t> monthlyHashes;
    RunSummary summary;
};

// Runs the game; the report goes to out, errors and the progress line to err.
Result RunLongGame(const Options& options, std::ostream& out, std::ostream& err);

// Where two saved games first differ: the top-level object and the blocks
// around the first differing line, with both lines. Empty when equal.
std::string FirstDifference(const std::string& host, const std::string& client);

} // namespace longrun
