#include "tools/longrun/LongRun.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "ai/AICountry.h"
#include "country/Country.h"
#include "country/CountryTags.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "data/WorldStateHash.h"
#include "engine/Config.h"
#include "engine/GameState.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/StartupTables.h"
#include "net/ClockEvents.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Network.h"
#include "tools/longrun/WorldChecks.h"
#include "world/Globals.h"
#include "world/MapTables.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace longrun {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The special countries keep their own controller kinds.
constexpr uint32_t kPiratesCountry = 96;
constexpr uint32_t kNativesCountry = 97;
constexpr uint32_t kRebelsCountry = 98;
constexpr uint32_t kPiratesKind = 6;
constexpr uint32_t kNativesKind = 5;
constexpr uint32_t kRebelsKind = 4;

constexpr uint32_t kTimerPeriodMs = 15;
constexpr double kProgressEverySeconds = 0.5;

constexpr int32_t kNoMonth = -1;

int32_t MonthIndex(const CDate& date) {
    return date.year * 12 + date.month;
}

std::string DateText(const CDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month + 1,
                  date.GetDisplayDay());
    return text;
}

// ---------------------------------------------------------------- timing

// The period whose figures the timed receivers and the day loop add to.
PeriodFigures* g_period = nullptr;

// The month message is timed where it reaches each part of the game: the
// broadcast slots are wrapped for the run and given back after it.
std::array<MessageReceiverFunction, kBroadcastSlotCount> g_wrapped{};

template <BroadcastSlot slot, MonthPart part> int TimedSlot(COVEvent& event) {
    const MessageReceiverFunction receiver = g_wrapped[slot];
    if (!receiver)
        return EVENT_NOT_HANDLED;
    if (!g_period || event.GetType() != EVT_TIMER_MONTH)
        return receiver(event);
    const Clock::time_point start = Clock::now();
    const int answer = receiver(event);
    g_period->monthSeconds[part] += SecondsSince(start);
    return answer;
}

class TimedSlots {
public:
    TimedSlots() {
        Wrap<kSlotScenario, kMonthWorld>();
        Wrap<kSlotHostDispatcher, kMonthUnits>();
        Wrap<kSlotMap, kMonthWorld>();
        Wrap<kSlotGlobals, kMonthWorld>();
        Wrap<kSlotCountries, kMonthCountries>();
    }
    ~TimedSlots() {
        for (size_t slot = 0; slot < kBroadcastSlotCount; ++slot)
            if (m_wrapped[slot])
                g_broadcastReceivers[slot] = g_wrapped[slot];
        g_wrapped = {};
    }
    TimedSlots(const TimedSlots&) = delete;
    TimedSlots& operator=(const TimedSlots&) = delete;

private:
    template <BroadcastSlot slot, MonthPart part> void Wrap() {
        g_wrapped[slot] = g_broadcastReceivers[slot];
        g_broadcastReceivers[slot] = &TimedSlot<slot, part>;
        m_wrapped[slot] = true;
    }

    std::array<bool, kBroadcastSlotCount> m_wrapped{};
};

// Runs every due message as the scheduler does, timing each by its type.
void RunDueTimed(PeriodFigures& figures) {
    while (std::unique_ptr<COVEvent> event = g_scheduler.PopDue()) {
        const uint32_t type = event->GetType();
        const Clock::time_point start = Clock::now();
        ExecuteEvent(std::move(event));
        MessageFigures& run = figures.messagesRun[type];
        ++run.count;
        run.seconds += SecondsSince(start);
    }
}

// The frame's own work after its messages (alliances that lapse, loans and
// bankruptcy, missions brought up to date), timed under its message type.
void RunTickLoopTimed(PeriodFigures& figures) {
    const Clock::time_point start = Clock::now();
    RunTickLoop();
    MessageFigures& run = figures.messagesRun[EVT_TIMER_TICK_LOOP];
    ++run.count;
    run.seconds += SecondsSince(start);
}

// Counts what the frame would send (each block padded to 4 bytes), then
// sends it when a session is active.
void FlushSendCounted(PeriodFigures& figures) {
    g_scheduler.ForEachSend([&figures](const COVEvent& event) {
        ++figures.messagesSent;
        const size_t block = COVNetEvent::kBlockHeadSize + event.GetPayloadSize();
        figures.bytesSent += (block + 3) / 4 * 4;
    });
    g_scheduler.FlushSend();
}

// ---------------------------------------------------------------- the game

// Error boxes are the game's report of something gone wrong: kept and
// answered Ignore, so that the run can name them.
class BoxWatch {
public:
    BoxWatch() {
        m_previous =
            platform::SetBoxHandler([this](const std::string& caption, const std::string& text) {
                texts.push_back(caption.empty() ? text : caption + ": " + text);
                return platform::BoxAnswer::Ignore;
            });
    }
    ~BoxWatch() { platform::SetBoxHandler(m_previous); }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    std::vector<std::string> texts;

private:
    platform::BoxHandler m_previous;
};

// One machine's game of the scenario, from its start to its end.
class Game {
public:
    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game() { Stop(); }

    // Starts the scenario as the main loop does, every nation on the
    // computer; false with the reason when it could not.
    bool Start(const Options& options, CNetSession* session, std::string& error) {
        Stop();
        m_started = true;
        BuildKeywordIndex();
        SetCountryTagSource(FindCountryTagOfNumber);
        platform::ForgetPathCache();
        std::string path = options.scenario;
        if (!platform::GameFileExists(path)) {
            error = "the scenario \"" + path + "\" is not in the game folder";
            return false;
        }
        if (!LoadCombatTables()) {
            error = "the combat tables in db\\Combat could not be read";
            return false;
        }
        if (!LoadAdjacency(kAdjacencyFile)) {
            error = std::string("the map's neighbour table \"") + kAdjacencyFile +
                    "\" could not be read";
            return false;
        }
        g_netSession = session;
        g_countryController.fill(0);
        g_countryController[kPiratesCountry] = kPiratesKind;
        g_countryController[kNativesCountry] = kNativesKind;
        g_countryController[kRebelsCountry] = kRebelsKind;
        g_gameType = 0;
        // The settings of a fresh installation, whatever this machine's
        // settings file says, so that runs compare everywhere.
        g_config = std::make_unique<CConfig>();
        g_config->FillDefaults();
        g_gameTimer = std::make_unique<CGameTimer>(kTimerPeriodMs);
        g_scheduler.Clear();
        g_globals.Init();
        g_scenario = std::make_unique<CScenario>(path, options.seed);
        if (g_gameStarted != 1) {
            error = "the scenario \"" + path + "\" did not start";
            return false;
        }
        // The scenario seeds the generator only for a fantasy world; the run
        // seeds it itself, so that the seed reaches the rolls before the
        // provinces' weather first seeds it from the date.
        GameSrand(options.seed);
        g_gameTimer->SetDate(g_globals.startDate);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
        return CheckComputerPlayerFiles(error);
    }

    void Stop() {
        if (!m_started)
            return;
        m_started = false;
        g_scenario.reset();
        g_globals.Shutdown();
        g_scheduler.Clear();
        g_gameTimer.reset();
        g_config.reset();
        g_countryController.fill(0);
        g_netSession = nullptr;
        for (CProvince& province : g_provinces)
            province.ClearNeighbours();
        SetCountryTagSource(nullptr);
    }

private:
    // Each computer player reads its file at its creation; a missing one
    // would leave it without its preferences. One error names each file.
    static bool CheckComputerPlayerFiles(std::string& error) {
        std::map<std::string, int> missing;
        for (const CCountry* country : g_countries) {
            if (!dynamic_cast<const CAICountry*>(country) || country->m_aiFile.empty())
                continue;
            const std::string path = "ai\\" + country->m_aiFile;
            if (!platform::GameFileExists(path))
                ++missing[path];
        }
        if (missing.empty())
            return true;
        for (const auto& [path, countries] : missing) {
            if (!error.empty())
                error += "; ";
            error += "the computer player's file \"" + path + "\" is missing (" +
                     std::to_string(countries) +
                     (countries == 1 ? " country reads" : " countries read") + " it)";
        }
        return false;
    }

    bool m_started = false;
};

// ---------------------------------------------------------------- the run

struct FaultReport {
    bool found = false;
    std::string text;
};

class Runner {
public:
    Runner(const Options& options, std::ostream& out, std::ostream& err)
        : m_options(options), m_out(out), m_err(err) {}

    Result Run() {
        Result result;
        RunSummary& summary = result.summary;
        summary.scenario = m_options.scenario;
        summary.seed = m_options.seed;
        summary.yearsAsked = m_options.years;
        summary.loopback = m_options.loopback;

        if (m_options.years < 1 || m_options.reportStep < 1) {
            return Error(result, "the years and the report step must be at least 1");
        }

        BoxWatch boxes;
        m_boxes = &boxes;
        TimedSlots timed;
        std::unique_ptr<platform::net::LoopbackHub> hub;
        std::unique_ptr<CNetSession> host;
        std::unique_ptr<CNetSession> client;
        if (m_options.loopback) {
            hub = std::make_unique<platform::net::LoopbackHub>();
            std::string error;
            if (!MakeSessions(*hub, host, client, error))
                return Error(result, error);
        }

        Game game;
        std::string error;
        if (!game.Start(m_options, host.get(), error) || !BoxesToError(error))
            return Error(result, error);

        const Clock::time_point start = Clock::now();
        summary.startDate = DateText(g_gameTimer->GetDate());
        m_worldEvents.Start();
        const uint64_t startHash = WorldStateHash();
        result.monthlyHashes.push_back(startHash);
        const FaultReport fault = PlayHost(result, m_options.years * 12, true);
        summary.endDate = DateText(g_gameTimer->GetDate());
        summary.endHash = WorldStateHashText(result.monthlyHashes.back());
        summary.wallSeconds = SecondsSince(start);
        if (fault.found) {
            summary.outcome = "fault";
            summary.report = fault.text;
            result.exitCode = kExitFault;
        } else if (m_ended) {
            summary.outcome = "ended";
            summary.report = "the game ended on " + summary.endDate;
        } else {
            summary.outcome = "ok";
        }
        if (m_options.progress)
            m_err << "\n";

        if (!fault.found && m_options.loopback) {
            game.Stop();
            const FaultReport difference = FollowAsClient(result, game, *host, *client);
            if (difference.found) {
                summary.outcome = "mismatch";
                summary.report = difference.text;
                result.exitCode = kExitFault;
            }
        }
        game.Stop();
        m_boxes = nullptr;
        Finish(result);
        return result;
    }

private:
    Result& Error(Result& result, const std::string& text) {
        result.exitCode = kExitError;
        result.summary.outcome = "error";
        result.summary.report = text;
        m_err << "orvandel-longrun: " << text << "\n";
        return result;
    }

    bool BoxesToError(std::string& error) {
        if (m_boxes->texts.empty())
            return true;
        error = "the game reported: " + m_boxes->texts.front();
        return false;
    }

    void Finish(Result& result) {
        PrintFigures(result.summary, m_out);
        if (m_options.json.empty())
            return;
        std::ofstream json(m_options.json, std::ios::binary);
        json << FiguresJson(result.summary);
        if (!json)
            m_err << "orvandel-longrun: could not write \"" << m_options.json << "\"\n";
    }

    static bool MakeSessions(platform::net::LoopbackHub& hub, std::unique_ptr<CNetSession>& host,
                             std::unique_ptr<CNetSession>& client, std::string& error) {
        // No time-outs and no flood limit: the client reads the whole run's
        // messages at once.
        platform::net::NetConfig config;
        config.port = 0;
        config.floodMessages = 0;
        config.floodBytes = 0;
        config.clock = [] { return uint64_t{0}; };
        auto hostNetwork = hub.CreateNetwork(config);
        auto clientNetwork = hub.CreateNetwork(config);
        platform::net::SessionDesc desc;
        desc.name = "Long run";
        desc.maxPlayers = 2;
        if (!hostNetwork->Host(desc, "Host") ||
            clientNetwork->Join("127.0.0.1:" + std::to_string(hostNetwork->Port()), 0, "Client") !=
                platform::net::JoinResult::Joined) {
            error = "the loopback network could not connect a host and a client";
            return false;
        }
        host = MakeSession(std::move(hostNetwork), true);
        client = MakeSession(std::move(clientNetwork), false);
        return true;
    }

    // Two observers: every country stays with the computer.
    static std::unique_ptr<CNetSession> MakeSession(std::unique_ptr<platform::net::Network> network,
                                                    bool host) {
        auto session = std::make_unique<CNetSession>(std::move(network));
        session->m_active = 1;
        session->m_isHost = host ? 1 : 0;
        session->m_slotCount = 2;
        for (uint32_t i = 0; i < 2; ++i) {
            NetSlot& slot = session->GetSlot(i);
            slot.playerId = i + 1;
            slot.name = i == 0 ? "Host" : "Client";
            slot.country = -1;
            slot.ready = slot.started = slot.present = 1;
        }
        session->m_localSlot = host ? 0 : 1;
        session->m_localPlayerId = session->GetNetwork()->LocalPlayer();
        return session;
    }

    void OpenPeriod(Result& result) {
        result.summary.periods.emplace_back();
        m_period = &result.summary.periods.back();
        m_period->firstYear = g_gameTimer->GetDate().year;
        m_periodStart = Clock::now();
        m_pathSearches = g_pathSearchFigures;
        g_period = m_period;
    }

    void ClosePeriod() {
        if (!m_period)
            return;
        m_period->lastYear = g_gameTimer->GetDate().year;
        m_period->wallSeconds = SecondsSince(m_periodStart);
        m_period->pathSearches = g_pathSearchFigures.searches - m_pathSearches.searches;
        m_period->pathSeconds =
            double(g_pathSearchFigures.nanoseconds - m_pathSearches.nanoseconds) * 1e-9;
        TakeWorldCensus(*m_period);
        m_period = nullptr;
        g_period = nullptr;
    }

    // The host's clock runs a day at a time until the months have passed;
    // with check, every month is hashed and checked.
    FaultReport PlayHost(Result& result, int32_t months, bool check) {
        if (months <= 0)
            return {};
        const int32_t first = MonthIndex(g_gameTimer->GetDate());
        int32_t checked = first;
        Clock::time_point lastProgress = Clock::now();
        uint32_t progressDays = 0;
        if (check)
            OpenPeriod(result);
        PeriodFigures scratch;
        while (true) {
            const int32_t month = MonthIndex(g_gameTimer->GetDate());
            if (month != checked) {
                checked = month;
                if (check) {
                    ++m_period->months;
                    ++result.summary.months;
                    FaultReport fault = CheckMonth(result, *m_period);
                    if (fault.found) {
                        ClosePeriod();
                        return fault;
                    }
                }
                if (month - first >= months)
                    break;
                if (check && (month - first) % (m_options.reportStep * 12) == 0) {
                    ClosePeriod();
                    OpenPeriod(result);
                }
            }
            if (!IsGameRunning() || (g_scenario && g_scenario->gameEnded)) {
                m_ended = true;
                break;
            }
            // (A new period may have opened above.)
            PeriodFigures& figures = m_period ? *m_period : scratch;
            const CDate before = g_gameTimer->GetDate();
            PostAndSendEventNow(
                std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 1));
            RunDueTimed(figures);
            const uint32_t waiting = g_scheduler.GetCount();
            figures.heapSizeSum += waiting;
            figures.heapSizeMax = std::max(figures.heapSizeMax, waiting);
            FlushSendCounted(figures);
            RunTickLoopTimed(figures);
            if (check) {
                const Clock::time_point start = Clock::now();
                const std::vector<WorldFault> ended = m_endedCombats.NoteDay();
                figures.checkSeconds += SecondsSince(start);
                if (!ended.empty()) {
                    ClosePeriod();
                    return ReportFault({true, DescribeFault(ended.front())}, WorldStateHash());
                }
            }
            m_worldEvents.NoteDay(figures);
            ++figures.days;
            if (check)
                ++result.summary.days;
            if (g_gameTimer->GetDate().GetDayCount() == before.GetDayCount()) {
                // The calendar's last day.
                m_ended = true;
                break;
            }
            if (m_options.progress && ++progressDays % 16 == 0 &&
                SecondsSince(lastProgress) >= kProgressEverySeconds) {
                m_err << "\r" << DateText(g_gameTimer->GetDate()) << "  "
                      << static_cast<int>(progressDays / SecondsSince(lastProgress)) << " days/s   "
                      << std::flush;
                lastProgress = Clock::now();
                progressDays = 0;
            }
        }
        if (check)
            ClosePeriod();
        return {};
    }

    FaultReport CheckMonth(Result& result, PeriodFigures& figures) {
        Clock::time_point start = Clock::now();
        std::string text;
        WriteGameToMemory(text);
        const uint64_t hash = Fnv1a64(text);
        result.monthlyHashes.push_back(hash);
        figures.hashSeconds += SecondsSince(start);

        start = Clock::now();
        FaultReport fault;
        if (!m_boxes->texts.empty()) {
            fault.found = true;
            fault.text = "the game reported: " + m_boxes->texts.front();
        } else {
            const std::vector<WorldFault> faults = CheckWorld(IsHost());
            if (!faults.empty()) {
                fault.found = true;
                fault.text = DescribeFault(faults.front());
                if (faults.size() > 1)
                    fault.text += " (and " + std::to_string(faults.size() - 1) + " more)";
            }
        }
        figures.checkSeconds += SecondsSince(start);
        if (!fault.found)
            return fault;
        return ReportFault(fault, hash);
    }

    // The fault with its date and hash, on the error stream, and the game
    // of that moment saved.
    FaultReport ReportFault(FaultReport fault, uint64_t hash) {
        fault.text = "Fault on " + DateText(g_gameTimer->GetDate()) + ", world-state hash " +
                     WorldStateHashText(hash) + ": " + fault.text;
        if (SaveGameFile(m_options.faultSave) == FIELD_WRITTEN)
            fault.text += "\nThe game of that moment is saved as \"" + m_options.faultSave + "\".";
        m_err << (m_options.progress ? "\n" : "") << "orvandel-longrun: " << fault.text << "\n";
        return fault;
    }

    // The world starts afresh as the client and follows every message the
    // host sent; before each day message that opens a new month its hash
    // must be the host's of the same moment.
    FaultReport FollowAsClient(Result& result, Game& game, CNetSession& host, CNetSession& client) {
        std::string error;
        if (!game.Start(m_options, &client, error))
            return {true, "the client could not start: " + error};
        size_t next = 0;
        auto compare = [&]() -> FaultReport {
            const uint64_t hash = WorldStateHash();
            if (next >= result.monthlyHashes.size())
                return {true, "the client reached more months than the host (" +
                                  std::to_string(next) + ")"};
            const size_t month = next++;
            if (hash == result.monthlyHashes[month])
                return {};
            return Mismatch(result, game, host, client, month, hash);
        };
        // The start is compared before the first day message too: by then
        // the client has what the host did while it started.
        FaultReport difference;
        int32_t checked = kNoMonth;
        // The host runs the frame's tick after each day's messages: the
        // client runs it where the next day begins, and after the last.
        bool dayRun = false;
        platform::net::Message message;
        while (client.GetNetwork()->Receive(message)) {
            if (message.kind == platform::net::MessageKind::Data && IsDayMessage(message)) {
                if (dayRun)
                    RunTickLoop();
                dayRun = true;
                if (MonthIndex(g_gameTimer->GetDate()) != checked) {
                    checked = MonthIndex(g_gameTimer->GetDate());
                    difference = compare();
                    if (difference.found)
                        return difference;
                }
            }
            client.HandleNetworkMessage(message);
            g_scheduler.RunDue();
            g_scheduler.FlushSend();
        }
        if (dayRun)
            RunTickLoop();
        if (MonthIndex(g_gameTimer->GetDate()) != checked) {
            difference = compare();
            if (difference.found)
                return difference;
        }
        if (next != result.monthlyHashes.size())
            return {true, "the client followed " + std::to_string(next) + " months of the host's " +
                              std::to_string(result.monthlyHashes.size())};
        m_out << "Loopback: the client held the host's world-state hash at all " << next
              << " checks.\n";
        return {};
    }

    static bool IsDayMessage(const platform::net::Message& message) {
        const std::unique_ptr<COVNetEvent> wrapper =
            COVNetEvent::FromBlock(message.data.data(), message.data.size());
        return wrapper && wrapper->GetType() == EVT_TIMER_DATE;
    }

    // The client's world differs from the host's at the check: both saved
    // games are kept (the host's by playing it again to that moment) and
    // the first object whose saved state differs is named.
    FaultReport Mismatch(Result& result, Game& game, CNetSession& host, CNetSession& client,
                         size_t month, uint64_t clientHash) {
        const std::string date = DateText(g_gameTimer->GetDate());
        std::string clientText;
        WriteGameToMemory(clientText);
        std::ofstream("longrun_client.ovg", std::ios::binary) << clientText;
        (void)client;
        std::string hostText;
        std::string error;
        game.Stop();
        if (game.Start(m_options, &host, error)) {
            PlayHost(result, static_cast<int32_t>(month), false);
            WriteGameToMemory(hostText);
            std::ofstream("longrun_host.ovg", std::ios::binary) << hostText;
        }
        std::string text = "The client differs from the host on " + date + " (check " +
                           std::to_string(month) + "): host " +
                           WorldStateHashText(result.monthlyHashes[month]) + ", client " +
                           WorldStateHashText(clientHash) + ".";
        if (!hostText.empty())
            text += "\n" + FirstDifference(hostText, clientText);
        text += "\nSaved games: \"longrun_host.ovg\" and \"longrun_client.ovg\".";
        m_err << "orvandel-longrun: " << text << "\n";
        return {true, text};
    }

    const Options& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    BoxWatch* m_boxes = nullptr;
    PeriodFigures* m_period = nullptr;
    EndedCombatWatch m_endedCombats;
    WorldEventWatch m_worldEvents;
    Clock::time_point m_periodStart;
    PathSearchFigures m_pathSearches;
    bool m_ended = false;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Trimmed(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    const size_t last = line.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
}

} // namespace

Result RunLongGame(const Options& options, std::ostream& out, std::ostream& err) {
    return Runner(options, out, err).Run();
}

std::string FirstDifference(const std::string& host, const std::string& client) {
    const std::vector<std::string> a = SplitLines(host);
    const std::vector<std::string> b = SplitLines(client);
    size_t line = 0;
    while (line < a.size() && line < b.size() && a[line] == b[line])
        ++line;
    if (line == a.size() && line == b.size())
        return {};
    // The blocks open at that line, outermost first, each with the first
    // naming line inside it (tag, name or id) seen before the difference.
    struct Open {
        std::string head;
        std::string naming;
    };
    std::vector<Open> open;
    for (size_t i = 0; i < line && i < a.size(); ++i) {
        const std::string text = Trimmed(a[i]);
        if (!text.empty() && text.back() == '{') {
            open.push_back({text.substr(0, text.size() - 1), {}});
            continue;
        }
        if (text == "}") {
            if (!open.empty())
                open.pop_back();
            continue;
        }
        if (!open.empty() && open.back().naming.empty() &&
            (text.rfind("tag", 0) == 0 || text.rfind("name", 0) == 0 || text.rfind("id", 0) == 0))
            open.back().naming = text;
    }
    std::string where;
    for (const Open& block : open) {
        if (!where.empty())
            where += " > ";
        where += Trimmed(block.head);
        if (!block.naming.empty())
            where += " (" + block.naming + ")";
    }
    std::string text = "First difference at line " + std::to_string(line + 1) + ", in " +
                       (where.empty() ? std::string("the top level") : where) + ":\n  host:   " +
                       (line < a.size() ? Trimmed(a[line]) : std::string("(end)")) +
                       "\n  client: " + (line < b.size() ? Trimmed(b[line]) : std::string("(end)"));
    return text;
}

} // namespace longrun
