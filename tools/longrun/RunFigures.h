#pragma once
// The figures of a long run, gathered per report period (a number of game
// years), printed as a table and written as JSON so that runs compare.
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace longrun {

// The parts of the month tick, timed where the month message reaches them.
enum MonthPart : int {
    kMonthWorld,     // the scenario, the map and the globals (provinces, trade)
    kMonthUnits,     // the host's servers (the units' monthly pass)
    kMonthCountries, // the countries, the computer players' monthly rules among them
    kMonthPartCount
};
const char* MonthPartName(int part);

struct MessageFigures {
    uint64_t count = 0;
    double seconds = 0.0;
};

struct PeriodFigures {
    int32_t firstYear = 0; // game year at the period's start
    int32_t lastYear = 0;  // game year at its end
    uint32_t days = 0;
    uint32_t months = 0;
    double wallSeconds = 0.0;
    double monthSeconds[kMonthPartCount] = {};
    double hashSeconds = 0.0;  // the monthly world-state hash
    double checkSeconds = 0.0; // the monthly checks
    uint64_t heapSizeSum = 0;  // the scheduler's size after each day, summed
    uint32_t heapSizeMax = 0;
    std::map<uint32_t, MessageFigures> messagesRun; // by type, from the scheduler
    uint64_t messagesSent = 0;
    uint64_t bytesSent = 0; // blocks as they would go on the wire
    uint64_t pathSearches = 0;
    double pathSeconds = 0.0;
    // The world at the period's end.
    uint32_t agents = 0;
    uint32_t plans = 0;
    uint32_t armies = 0;
    uint32_t fleets = 0;
    uint32_t leaders = 0;
    uint32_t combats = 0;
    uint32_t wars = 0;
    uint32_t alliances = 0;
    uint32_t colonies = 0;
    uint64_t residentKb = 0; // the process's resident memory
    // What happened in the period, seen day by day.
    uint32_t warsDeclared = 0;
    uint32_t warsEnded = 0; // by peace, or by the end of every participant
    uint32_t mostWarsAtOnce = 0;
    uint32_t alliancesFormed = 0; // military, royal marriages and vassalizations
    uint32_t coloniesFounded = 0; // unowned land that became a colony

    double DaysPerSecond() const { return wallSeconds > 0.0 ? days / wallSeconds : 0.0; }
    // The game's own speed: the wall time less the monthly hash and checks.
    double PlayDaysPerSecond() const {
        const double play = wallSeconds - hashSeconds - checkSeconds;
        return play > 0.0 ? days / play : 0.0;
    }
    double AiTickSeconds() const;
};

// Watches the world day by day for wars that begin and end, alliances that
// form and colonies that are founded, and counts them in the period.
class WorldEventWatch {
public:
    // Takes the world as it stands: nothing in it counts.
    void Start();
    // Counts what changed since the call before (or since Start).
    void NoteDay(PeriodFigures& figures);

private:
    std::vector<uint64_t> m_wars;      // the ids of the running wars, sorted
    std::vector<uint64_t> m_alliances; // the ids of the alliances, sorted
    std::vector<int32_t> m_owners;     // each province's owner, by id
};

// Fills the period's end figures from the running world.
void TakeWorldCensus(PeriodFigures& figures);

// The process's resident memory in kB (0 when unknown).
uint64_t ResidentKb();

struct RunSummary {
    std::string scenario;
    uint32_t seed = 0;
    int32_t yearsAsked = 0;
    bool loopback = false;
    std::string startDate;
    std::string endDate;
    uint32_t days = 0;
    uint32_t months = 0;
    double wallSeconds = 0.0;
    std::string endHash;
    std::string outcome; // "ok", "fault", "mismatch", "ended", "error"
    std::string report;  // the fault or mismatch report; empty when none
    std::vector<PeriodFigures> periods;
};

// The table of every period, and what the run cannot measure yet.
void PrintFigures(const RunSummary& summary, std::ostream& out);
// The same as one JSON object.
std::string FiguresJson(const RunSummary& summary);

} // namespace longrun
