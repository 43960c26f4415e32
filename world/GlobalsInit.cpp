// The game-wide globals at start-up and shutdown, and the tables they load
// once from the db folder.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "data/KeptBlock.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

// The cells of a table one by one. A last cell that the file ends in without
// a line end still counts (its line is then over too).
class CellReader {
public:
    explicit CellReader(CCsvReader& csv) : m_csv(csv) {}

    // The next cell; false only at the end of the file with nothing left.
    bool Next(std::string& cell) {
        if (m_atEnd) {
            cell.clear();
            m_endedLine = true;
            return false;
        }
        char buffer[256];
        const bool more = m_csv.ReadString(buffer, sizeof buffer);
        cell = buffer;
        // A spreadsheet may leave blanks around a cell.
        while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\t'))
            cell.pop_back();
        size_t first = cell.find_first_not_of(" \t");
        cell.erase(0, first == std::string::npos ? cell.size() : first);
        m_endedLine = m_csv.LastCellEndedLine();
        if (!more) {
            m_atEnd = true;
            m_endedLine = true;
            return !cell.empty();
        }
        return true;
    }
    // The last cell ended its line (or the file).
    bool EndedLine() const { return m_endedLine; }
    bool AtEnd() const { return m_atEnd; }
    // Reads the rest of the current line; true when a cell of it held
    // anything.
    bool SkipRestOfLine() {
        bool anything = false;
        std::string cell;
        while (!m_endedLine && Next(cell))
            anything = anything || !cell.empty();
        return anything;
    }

private:
    CCsvReader& m_csv;
    bool m_endedLine = false;
    bool m_atEnd = false;
};

// atoi: blanks, an optional sign, digits; held within the 32-bit range.
int32_t CellToInt(const std::string& cell) {
    size_t i = 0;
    bool negative = false;
    if (i < cell.size() && (cell[i] == '-' || cell[i] == '+'))
        negative = cell[i++] == '-';
    constexpr int64_t kLimit = int64_t{1} << 32;
    int64_t value = 0;
    for (; i < cell.size() && cell[i] >= '0' && cell[i] <= '9'; ++i) {
        value = value * 10 + (cell[i] - '0');
        if (value > kLimit)
            value = kLimit;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool SameTextNoCase(const std::string& a, const char* b) {
    const size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// A problem of a table: one line in log.txt.
void ReportTable(const char* path, const std::string& what, uint32_t& reports) {
    AppendToLog(std::string(path) + ": " + what);
    ++reports;
}

// A tag no country has: counted and traced, but kept out of log.txt, since
// the program loads the tables before any scenario has named its countries.
void ReportUnknownTag(const char* path, const std::string& tag, uint32_t& reports) {
    DebugPrint("%s: unknown tag '%s', its column is left out\n", path, tag.c_str());
    ++reports;
}

// The country number 1..98 of a tag; 0 when no country has it.
int32_t CountryOfTag(const std::string& tag) {
    if (!g_scenarioHeaderHooks.findCountryByTag)
        return 0;
    const int32_t number = g_scenarioHeaderHooks.findCountryByTag(tag.c_str());
    return number > 0 && number < static_cast<int32_t>(kCountrySlots) ? number : 0;
}

// The period of a year: 0 before 1520 ... 6 from 1760 on.
uint32_t PeriodOfYear(int32_t year) {
    static constexpr int32_t kPeriodEnds[] = {1520, 1560, 1615, 1665, 1700, 1760};
    uint32_t period = 0;
    while (period < std::size(kPeriodEnds) && year >= kPeriodEnds[period])
        ++period;
    return period;
}

} // namespace

// ---------------------------------------------------------------------------
// The yearly figures

uint32_t CYearTable::RowOfYear(int32_t year) {
    return PeriodOfYear(year);
}

float CYearTable::Get(uint32_t row, uint32_t countryIndex) const {
    if (row >= kRows || countryIndex >= kCountries)
        return 0.0f;
    return m_values[row * kRowSize + countryIndex + 1];
}

void CYearTable::Set(uint32_t row, uint32_t countryIndex, float value) {
    if (row < kRows && countryIndex < kCountries)
        m_values[row * kRowSize + countryIndex + 1] = value;
}

float CYearTable::GetValueInYear(int32_t year, uint32_t countryIndex) const {
    return Get(RowOfYear(year), countryIndex);
}

uint32_t CYearTable::Load(const char* path) {
    uint32_t reports = 0;
    CCsvReader csv(path);
    if (!csv.IsOpen())
        return 1; // the reader has shown its box
    CellReader cells(csv);
    std::string cell;
    // The title row, then the first cell of the header row.
    csv.SkipLines(1);
    if (!cells.Next(cell))
        return reports;

    // A column's country; kAll for "MIN", -1 for a tag no country has.
    constexpr int32_t kAll = -2;
    std::vector<int32_t> columns;
    bool ended = false;
    while (!cells.EndedLine()) {
        if (!cells.Next(cell))
            break;
        if (cell == "END") {
            ended = true;
            break;
        }
        if (cell.empty() && cells.EndedLine())
            break;
        int32_t country = SameTextNoCase(cell, "MIN") ? kAll : CountryOfTag(cell);
        if (country == 0) {
            ReportUnknownTag(path, cell, reports);
            country = -1;
        }
        columns.push_back(country);
    }
    if (!ended)
        ReportTable(path, "the header row has no END", reports);
    cells.SkipRestOfLine();

    uint32_t row = 0;
    while (cells.Next(cell)) {
        if (cell.empty() && cells.EndedLine())
            continue; // an empty line
        if (row >= kRows) {
            ReportTable(path, "rows beyond the table's " + std::to_string(kRows) + " are left out",
                        reports);
            break;
        }
        // The first cell is the row's year, not kept.
        for (int32_t country : columns) {
            if (cells.EndedLine() || !cells.Next(cell))
                break; // a short row: the rest stays 0
            const float value = static_cast<float>(CellToInt(cell)) * 0.01f;
            if (country == kAll) {
                for (uint32_t c = 0; c < kCountries; ++c)
                    Set(row, c, value);
            } else if (country > 0) {
                Set(row, static_cast<uint32_t>(country), value);
            }
        }
        if (cells.SkipRestOfLine())
            ReportTable(path, "row " + std::to_string(row + 1) + " has cells beyond its columns",
                        reports);
        ++row;
    }
    return reports;
}

// ---------------------------------------------------------------------------
// The revolt table

int32_t CRevoltTable::Get(uint32_t country, uint32_t period, uint32_t slot) const {
    if (country >= kCountries || period >= kPeriods || slot >= kSlots)
        return 0;
    return m_values[(country * kPeriods + period) * kSlots + slot];
}

void CRevoltTable::Clear() {
    std::fill(m_values.begin(), m_values.end(), 0);
}

uint32_t CRevoltTable::Load(const char* path) {
    Clear();
    uint32_t reports = 0;
    CCsvReader csv(path);
    if (!csv.IsOpen())
        return 1;
    CellReader cells(csv);
    std::string cell;
    // Two cells, then (tag, cell) pairs up to "END".
    for (int i = 0; i < 2; ++i) {
        if (!cells.Next(cell) || cells.EndedLine()) {
            ReportTable(path, "the header row is too short", reports);
            return reports;
        }
    }
    std::vector<int32_t> columns;
    bool ended = false;
    while (!cells.EndedLine() && cells.Next(cell)) {
        if (cell == "END") {
            ended = true;
            break;
        }
        if (cell.empty() && cells.EndedLine())
            break;
        const int32_t country = CountryOfTag(cell);
        if (country == 0)
            ReportUnknownTag(path, cell, reports);
        columns.push_back(country);
        if (!cells.EndedLine())
            cells.Next(cell); // the pair's second cell
    }
    if (!ended)
        ReportTable(path, "the header row has no END", reports);
    cells.SkipRestOfLine();

    uint32_t slot = 1;
    while (cells.Next(cell)) {
        if (cell == "END")
            break;
        if (cell.empty() && cells.EndedLine())
            continue;
        if (slot >= kSlots) {
            ReportTable(path,
                        "rows beyond the table's " + std::to_string(kSlots - 1) + " are left out",
                        reports);
            break;
        }
        const uint32_t period = PeriodOfYear(CellToInt(cell));
        if (!cells.EndedLine())
            cells.Next(cell); // the integer after the year, not used
        for (int32_t country : columns) {
            // The pair's first cell (not used), then the value.
            if (cells.EndedLine() || !cells.Next(cell) || cells.EndedLine() || !cells.Next(cell))
                break; // a short row: the rest stays 0
            if (country > 0)
                m_values[(static_cast<uint32_t>(country) * kPeriods + period) * kSlots + slot] =
                    CellToInt(cell);
        }
        if (cells.SkipRestOfLine())
            ReportTable(path, "row " + std::to_string(slot) + " has cells beyond its columns",
                        reports);
        ++slot;
    }
    return reports;
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

namespace {

// "db\revolt.txt": tag = { definition } pairs up to the word "END"; every
// province of a definition gets the tag's country as its revolt country.
void LoadRevoltDefinitions(std::array<CCountryDefinition, kCountrySlots>& defs) {
    constexpr const char* kPath = "db\\revolt.txt";
    CFieldReader in;
    in.Open(kPath, "r");
    if (!in.IsOpen())
        return;
    for (;;) {
        CTokenFile* file = in.GetTokenFile();
        const Token* next = file->Peek();
        if (next->code == TOKEN_EOF)
            break;
        if (next->code == TOKEN_STRING && std::strcmp(next->text, "END") == 0) {
            file->Next();
            break;
        }
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            break;
        if (result == FIELD_BLOCK_END) {
            file->Next(); // a stray "}"
            continue;
        }
        if (result != FIELD_READ)
            continue;
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No Left Curly");
            continue;
        }
        // A tag no country has is left out (traced): the tags may not all be
        // known yet when the program starts.
        const int32_t country = CountryOfTag(in.key.text);
        if (country == 0)
            DebugPrint("%s: unknown tag '%s', its definition is left out\n", kPath, in.key.text);
        int32_t blockResult;
        if (country > 0 && g_readCountryDefinition) {
            CCountryDefinition& record = defs[static_cast<size_t>(country)];
            blockResult = g_readCountryDefinition(in, record);
            for (CIntList* list : {&record.minimum, &record.extra}) {
                list->ForEach([country](int32_t id) {
                    if (CProvince* province = GetProvince(id); province && id > 0)
                        province->revoltCountry = country;
                });
            }
        } else {
            CKeptBlock dropped;
            blockResult = dropped.Read(in);
        }
        if (blockResult == FIELD_END_OF_FILE)
            break;
    }
}

} // namespace

void CGlobals::Init() {
    // (The technology base part and the map sprite come with their owners.)
    cityTotal = 0;
    slaveTrade = false;
    discoveries = Discoveries();
    establishments = Establishments();
    revoltTable.Load("db\\revolt.csv");
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    revoltDefs = std::make_unique<std::array<CCountryDefinition, kCountrySlots>>();
    LoadRevoltDefinitions(*revoltDefs);
    colonistTable.Load("db\\colonists.csv");
    traderTable.Load("db\\traders.csv");
    if (g_globalsCountries.loadTechnologyTables)
        g_globalsCountries.loadTechnologyTables();
    emperor = kDefaultEmperor;
    dutch = false;
    dutchSecond = false;
    initialised = true;
}

void CGlobals::Shutdown() {
    revoltDefs.reset();
    g_scenarioInfo.reset();
    initialised = false;
}
