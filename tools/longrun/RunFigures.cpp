#include "tools/longrun/RunFigures.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ai/AIAgent.h"
#include "ai/AICountry.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/Country.h"
#include "country/War.h"
#include "military/combat/Combat.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "world/City.h"
#include "world/Province.h"

namespace longrun {

namespace {

template <class Item, class Function> void Walk(const TListBase<Item>& list, Function function) {
    typename TListBase<Item>::CListPosition node = nullptr;
    for (list.GetHeadPosition(node); node; TListBase<Item>::MoveNext(node))
        if (!node->removed)
            function(node->item);
}

void CountAgents(const CAIAgent* agent, PeriodFigures& figures) {
    if (!agent)
        return;
    ++figures.agents;
    figures.plans += agent->IsPlan();
    Walk(agent->GetChildren(), [&figures](CAIAgent* child) { CountAgents(child, figures); });
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

// The message types of the period, the most run first (ties by type).
std::vector<std::pair<uint32_t, MessageFigures>> ByCount(const PeriodFigures& figures) {
    std::vector<std::pair<uint32_t, MessageFigures>> types(figures.messagesRun.begin(),
                                                           figures.messagesRun.end());
    std::stable_sort(types.begin(), types.end(),
                     [](const auto& a, const auto& b) { return a.second.count > b.second.count; });
    return types;
}

double PerDay(double value, uint32_t days) {
    return days ? value / days : 0.0;
}

} // namespace

const char* MonthPartName(int part) {
    switch (part) {
    case kMonthWorld:
        return "world";
    case kMonthUnits:
        return "units";
    case kMonthCountries:
        return "countries";
    default:
        return "?";
    }
}

double PeriodFigures::AiTickSeconds() const {
    const auto found = messagesRun.find(EVT_AI_TICK);
    return found == messagesRun.end() ? 0.0 : found->second.seconds;
}

uint64_t ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoull(line.substr(6));
    return 0;
}

namespace {

uint64_t Key(const ObjectId& id) {
    return (uint64_t{id.type} << 32) | id.number;
}

template <class List> std::vector<uint64_t> SortedIds(const List& list) {
    std::vector<uint64_t> ids;
    for (const auto& item : list)
        if (item)
            ids.push_back(Key(item->id));
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The ids of the first list missing from the second (both sorted).
uint32_t CountMissing(const std::vector<uint64_t>& from, const std::vector<uint64_t>& in) {
    std::vector<uint64_t> missing;
    std::set_difference(from.begin(), from.end(), in.begin(), in.end(),
                        std::back_inserter(missing));
    return static_cast<uint32_t>(missing.size());
}

// The owner's number, 0 for land nobody holds.
int32_t OwnerOf(int32_t id) {
    const CProvince* province = GetProvince(id);
    return province ? std::max(province->GetOwnerNumber(), 0) : 0;
}

} // namespace

void WorldEventWatch::Start() {
    m_wars = SortedIds(g_wars);
    m_alliances = SortedIds(g_alliances);
    m_owners.assign(kLastProvinceId + 1, 0);
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
        m_owners[id] = OwnerOf(id);
}

void WorldEventWatch::NoteDay(PeriodFigures& figures) {
    if (m_owners.empty())
        Start();
    std::vector<uint64_t> wars = SortedIds(g_wars);
    figures.warsDeclared += CountMissing(wars, m_wars);
    figures.warsEnded += CountMissing(m_wars, wars);
    figures.mostWarsAtOnce = std::max(figures.mostWarsAtOnce, static_cast<uint32_t>(wars.size()));
    m_wars = std::move(wars);
    std::vector<uint64_t> alliances = SortedIds(g_alliances);
    figures.alliancesFormed += CountMissing(alliances, m_alliances);
    m_alliances = std::move(alliances);
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const int32_t owner = OwnerOf(id);
        if (owner != 0 && m_owners[id] == 0) {
            const CCity* city = GetProvince(id)->GetCity();
            figures.coloniesFounded += city && city->IsColony();
        }
        m_owners[id] = owner;
    }
}

void TakeWorldCensus(PeriodFigures& figures) {
    for (const CCountry* country : g_countries) {
        if (!country)
            continue;
        for (const auto* list : {&country->m_units, &country->m_unitsInDevelopment})
            Walk(*list, [&figures](CUnit* unit) {
                if (!unit)
                    return;
                ++(unit->IsFleet() ? figures.fleets : figures.armies);
                figures.leaders += unit->GetLeaders().GetCount();
            });
        if (const auto* ai = dynamic_cast<const CAICountry*>(country))
            CountAgents(ai->GetKing(), figures);
    }
    figures.wars = static_cast<uint32_t>(g_wars.size());
    figures.alliances = static_cast<uint32_t>(g_alliances.size());
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        const CCity* city = province ? province->GetCity() : nullptr;
        figures.colonies += city && city->IsColony();
        if (province && province->combats)
            figures.combats += static_cast<uint32_t>(province->combats->GetCount());
    }
    figures.residentKb = ResidentKb();
}

void PrintFigures(const RunSummary& summary, std::ostream& out) {
    out << "Long run: " << summary.scenario << ", seed " << summary.seed << ", "
        << summary.startDate << " to " << summary.endDate << " (" << summary.days << " days, "
        << summary.months << " months checked) in " << Fixed(summary.wallSeconds, 1)
        << " s: " << Fixed(summary.wallSeconds > 0 ? summary.days / summary.wallSeconds : 0.0, 0)
        << " days/s" << (summary.loopback ? ", host and client over the loopback network" : "")
        << "\n";
    for (const PeriodFigures& period : summary.periods) {
        out << "\n"
            << period.firstYear << "-" << period.lastYear << ": " << period.days << " days in "
            << Fixed(period.wallSeconds, 2) << " s, " << Fixed(period.DaysPerSecond(), 0)
            << " days/s (" << Fixed(period.PlayDaysPerSecond(), 0)
            << " without the monthly hash and checks)\n";
        out << "  month tick (s):";
        for (int part = 0; part < kMonthPartCount; ++part)
            out << " " << MonthPartName(part) << " " << Fixed(period.monthSeconds[part], 3);
        out << "; computer players' timers " << Fixed(period.AiTickSeconds(), 3)
            << "; natives not measured (they do not act yet)\n";
        out << "  monthly hash " << Fixed(period.hashSeconds, 3) << " s, checks "
            << Fixed(period.checkSeconds, 3) << " s\n";
        out << "  scheduler: " << Fixed(PerDay(double(period.heapSizeSum), period.days), 1)
            << " messages waiting on average, " << period.heapSizeMax << " at most\n";
        out << "  sent per day: " << Fixed(PerDay(double(period.messagesSent), period.days), 1)
            << " messages, " << Fixed(PerDay(double(period.bytesSent), period.days), 0)
            << " bytes\n";
        out << "  path searches: " << period.pathSearches << " in " << Fixed(period.pathSeconds, 3)
            << " s\n";
        out << "  run per day:";
        int shown = 0;
        for (const auto& [type, figures] : ByCount(period)) {
            if (shown++ == 8)
                break;
            out << " " << GetEventTypeName(type) << " "
                << Fixed(PerDay(double(figures.count), period.days), 2) << " ("
                << Fixed(figures.seconds, 3) << " s)";
        }
        out << "\n";
        out << "  at the end: " << period.agents << " agents, " << period.plans << " plans, "
            << period.armies << " armies, " << period.fleets << " fleets, " << period.leaders
            << " leaders, " << period.combats << " combats, " << period.wars << " wars, "
            << period.alliances << " alliances, " << period.colonies << " colonies, "
            << period.residentKb << " kB resident\n";
        out << "  in the period: " << period.warsDeclared << " wars declared, " << period.warsEnded
            << " ended, at most " << period.mostWarsAtOnce << " at once; " << period.alliancesFormed
            << " alliances formed; " << period.coloniesFounded << " colonies founded\n";
    }
    out << "\nFinal world-state hash " << summary.endHash << "; outcome: " << summary.outcome
        << "\n";
    if (!summary.report.empty())
        out << summary.report << "\n";
}

std::string FiguresJson(const RunSummary& summary) {
    std::ostringstream out;
    out << "{\n  \"scenario\": " << JsonText(summary.scenario) << ",\n  \"seed\": " << summary.seed
        << ",\n  \"years\": " << summary.yearsAsked
        << ",\n  \"loopback\": " << (summary.loopback ? "true" : "false")
        << ",\n  \"start\": " << JsonText(summary.startDate)
        << ",\n  \"end\": " << JsonText(summary.endDate) << ",\n  \"days\": " << summary.days
        << ",\n  \"months\": " << summary.months
        << ",\n  \"wall_seconds\": " << Fixed(summary.wallSeconds, 3)
        << ",\n  \"end_hash\": " << JsonText(summary.endHash)
        << ",\n  \"outcome\": " << JsonText(summary.outcome)
        << ",\n  \"report\": " << JsonText(summary.report) << ",\n  \"periods\": [";
    for (size_t i = 0; i < summary.periods.size(); ++i) {
        const PeriodFigures& p = summary.periods[i];
        out << (i ? "," : "") << "\n    {\"first_year\": " << p.firstYear
            << ", \"last_year\": " << p.lastYear << ", \"days\": " << p.days
            << ", \"months\": " << p.months << ", \"wall_seconds\": " << Fixed(p.wallSeconds, 4)
            << ", \"days_per_second\": " << Fixed(p.DaysPerSecond(), 1)
            << ", \"play_days_per_second\": " << Fixed(p.PlayDaysPerSecond(), 1)
            << ",\n     \"month_tick_seconds\": {";
        for (int part = 0; part < kMonthPartCount; ++part)
            out << (part ? ", " : "") << "\"" << MonthPartName(part)
                << "\": " << Fixed(p.monthSeconds[part], 4);
        out << ", \"computer_players_timers\": " << Fixed(p.AiTickSeconds(), 4)
            << ", \"natives\": null}"
            << ",\n     \"hash_seconds\": " << Fixed(p.hashSeconds, 4)
            << ", \"check_seconds\": " << Fixed(p.checkSeconds, 4)
            << ",\n     \"scheduler_size_mean\": "
            << Fixed(PerDay(double(p.heapSizeSum), p.days), 2)
            << ", \"scheduler_size_max\": " << p.heapSizeMax
            << ",\n     \"sent_messages_per_day\": "
            << Fixed(PerDay(double(p.messagesSent), p.days), 3)
            << ", \"sent_bytes_per_day\": " << Fixed(PerDay(double(p.bytesSent), p.days), 1)
            << ",\n     \"path_searches\": " << p.pathSearches
            << ", \"path_seconds\": " << Fixed(p.pathSeconds, 4)
            << ",\n     \"messages_run_per_day\": {";
        bool first = true;
        for (const auto& [type, figures] : ByCount(p)) {
            out << (first ? "" : ", ") << JsonText(GetEventTypeName(type))
                << ": {\"per_day\": " << Fixed(PerDay(double(figures.count), p.days), 4)
                << ", \"seconds\": " << Fixed(figures.seconds, 4) << "}";
            first = false;
        }
        out << "},\n     \"agents\": " << p.agents << ", \"plans\": " << p.plans
            << ", \"armies\": " << p.armies << ", \"fleets\": " << p.fleets
            << ", \"leaders\": " << p.leaders << ", \"combats\": " << p.combats
            << ", \"wars\": " << p.wars << ", \"alliances\": " << p.alliances
            << ", \"colonies\": " << p.colonies << ", \"resident_kb\": " << p.residentKb
            << ",\n     \"wars_declared\": " << p.warsDeclared
            << ", \"wars_ended\": " << p.warsEnded
            << ", \"most_wars_at_once\": " << p.mostWarsAtOnce
            << ", \"alliances_formed\": " << p.alliancesFormed
            << ", \"colonies_founded\": " << p.coloniesFounded << "}";
    }
    out << "\n  ]\n}\n";
    return out.str();
}

} // namespace longrun
