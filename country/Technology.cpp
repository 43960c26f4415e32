#include "country/Technology.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "country/Country.h"
#include "country/CsvRows.h"
#include "country/StartupTables.h"
#include "country/TreatyFile.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/Saturate.h"
#include "engine/TextDatabase.h"
#include "platform/Files.h"
#include "world/City.h"
#include "world/Province.h"

CTechTable g_landTechTable("LTLEVEL");
CTechTable g_navalTechTable("NTLEVEL");
CTechTable g_infraTechTable("INFLEVEL");
CTechTable g_tradeTechTable("TRADELEVEL");
std::array<int32_t, 4> g_techGroupCounts{};

namespace {

// ---------------------------------------------------------------------------
// Reading the tables

float Percent(const std::vector<std::string>& cells, size_t column) {
    return static_cast<float>(ParseCsvInt(CsvCell(cells, column))) * 0.01f;
}

void FillLandRow(const std::vector<std::string>& c, CTechRow& row) {
    row.infantryFire = Percent(c, 3);
    row.cavalryFire = Percent(c, 4);
    row.artilleryFire = Percent(c, 5);
    row.infantryShock = Percent(c, 6);
    row.cavalryShock = Percent(c, 7);
    row.artilleryShock = Percent(c, 8);
    row.extraValue = ParseCsvFloat(CsvCell(c, 9));
    row.morale = ParseCsvFloat(CsvCell(c, 10));
    row.extraInt = ParseCsvInt(CsvCell(c, 11));
    row.costTerm = ParseCsvInt(CsvCell(c, 12));
}

void FillNavalRow(const std::vector<std::string>& c, CTechRow& row) {
    row.warshipFire = Percent(c, 3);
    row.warshipShock = Percent(c, 4);
    row.galleyFire = Percent(c, 5);
    row.galleyShock = Percent(c, 6);
    row.fleetStrength = ParseCsvFloat(CsvCell(c, 7));
    row.morale = ParseCsvFloat(CsvCell(c, 8));
    row.extraValue = ParseCsvFloat(CsvCell(c, 9));
    row.extraInt = ParseCsvInt(CsvCell(c, 10));
    row.costTerm = ParseCsvInt(CsvCell(c, 11));
}

void FillEfficiencyRow(const std::vector<std::string>& c, CTechRow& row) {
    row.efficiency = Percent(c, 3);
}

using FillRow = void (*)(const std::vector<std::string>&, CTechRow&);

// One table; false when the file is missing or holds fewer rows.
bool LoadTechTable(CTechTable& table, const char* path, uint32_t dataRows, FillRow fill) {
    std::vector<CTechRow> rows;
    bool complete = false;
    if (!platform::GameFileExists(path)) {
        // The reader shows the "excel file not found" box.
        CCsvReader missing(path);
    } else {
        CCsvReader reader(path);
        std::vector<std::string> cells;
        int32_t previousYear = 0;
        if (reader.SkipLines(1)) {
            while (rows.size() < dataRows && ReadCsvRow(reader, cells)) {
                CTechRow row;
                row.year = ParseCsvInt(CsvCell(cells, 2));
                // A year before the previous one costs nothing, never less.
                const int64_t step = (static_cast<int64_t>(row.year) - previousYear) * 300;
                row.stepCost = static_cast<int32_t>(std::clamp<int64_t>(step, 0, INT32_MAX));
                previousYear = row.year;
                fill(cells, row);
                rows.push_back(row);
            }
        }
        complete = rows.size() == dataRows;
        if (!complete)
            AppendToLog(FormatText("%s holds %zu of its %u rows", path, rows.size(), dataRows));
    }
    table.SetRows(std::move(rows));
    return complete;
}

// ---------------------------------------------------------------------------
// The stability tax table: levels -4..+5 are kept, -3..+3 used.

constexpr int32_t kLowestStoredStability = -4;
std::array<float, 10> g_stabilityTaxFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                               1.0f, 1.0f, 1.0f, 1.0f, 1.0f};

// ---------------------------------------------------------------------------
// The technology block

constexpr uint32_t kGroupKeywords[] = {KW_LATIN, KW_ORTHODOX, KW_MUSLIM, KW_EXOTIC};

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

} // namespace

// ---------------------------------------------------------------------------
// CTechTable

const CTechRow& CTechTable::Row(int32_t level) const {
    static const CTechRow kZeroRow;
    if (level < 0 || static_cast<size_t>(level) >= m_rows.size()) {
        DebugPrint("Array bounds violation.");
        return m_rows.empty() ? kZeroRow : m_rows.front();
    }
    return m_rows[static_cast<size_t>(level)];
}

int32_t CTechTable::GetDataRows() const {
    return m_rows.empty() ? 0 : static_cast<int32_t>(m_rows.size()) - 1;
}

void CTechTable::SetRows(std::vector<CTechRow> dataRows) {
    m_rows = std::move(dataRows);
    CTechRow terminator;
    terminator.stepCost = kTechTerminatorCost;
    m_rows.push_back(terminator);
}

bool LoadLandNavalTables() {
    using T = CTechTable;
    bool complete =
        LoadTechTable(g_landTechTable, "db\\land.csv", T::kDataRows[TECH_LAND], FillLandRow);
    complete &=
        LoadTechTable(g_navalTechTable, "db\\naval.csv", T::kDataRows[TECH_NAVAL], FillNavalRow);
    complete &= LoadTechTable(g_infraTechTable, "db\\infra.csv", T::kDataRows[TECH_INFRA],
                              FillEfficiencyRow);
    complete &= LoadTechTable(g_tradeTechTable, "db\\trade.csv", T::kDataRows[TECH_TRADE],
                              FillEfficiencyRow);
    return complete;
}

void CountTechGroups() {
    g_techGroupCounts.fill(0);
    for (const CCountry* country : g_countries)
        if (country && country->m_technology.group < g_techGroupCounts.size())
            ++g_techGroupCounts[country->m_technology.group];
}

// ---------------------------------------------------------------------------
// Technology

const CTechRow& Technology::CurrentRow() const {
    static const CTechRow kZeroRow;
    return table ? table->Row(level) : kZeroRow;
}

int32_t Technology::GetHighestLevel() const {
    return table ? table->GetDataRows() : 0;
}

bool Technology::CanAdvance() const {
    return level < GetHighestLevel() - 1;
}

std::string Technology::GetLevelName(int32_t n) const {
    if (!table)
        return " ";
    return g_textDatabase.GetText(FormatText("%s_%d", table->GetPrefix(), n));
}

std::string Technology::GetNextLevelName() const {
    return CanAdvance() ? GetLevelName(level + 1) : std::string("---");
}

std::string Technology::GetImprovementText() const {
    if (!table)
        return " ";
    return g_textDatabase.GetText(FormatText("%s_IMPSTRING_%d", table->GetPrefix(), level));
}

float TechSizeFactor(int32_t cities, float yearlyTaxIncome) {
    float factor = 0.0f;
    if (cities <= 1)
        factor = 0.6f;
    else if (cities == 2)
        factor = 0.8f;
    else if (cities == 3)
        factor = 0.9f;
    else
        factor = static_cast<float>(cities) * 0.25f;
    if (yearlyTaxIncome < 100.0f && cities < 8)
        factor -= 0.1f;
    if (factor < 0.5f)
        factor = 0.5f;
    if (factor > 1.25f)
        factor = 1.25f + (factor - 1.25f) * 0.2f;
    if (factor > 2.0f)
        factor = 2.0f;
    return factor;
}

int32_t Technology::GetNextLevelCost() const {
    if (!table)
        return kTechTerminatorCost;
    // The price of the level bought next, whose row follows the current one.
    const CTechRow& next = table->Row(level + 1);
    const float modifier = owner ? owner->GetCostModifier() : 0.0f;
    float cost = static_cast<float>(next.stepCost) * (1.0f + modifier);
    if (next.year < Today().year && owner)
        cost *= TechSizeFactor(owner->CountNonColonyCities(), owner->GetYearlyTaxIncome());
    return TruncateToInt32(cost);
}

bool Technology::Invest(int32_t amount) {
    if (!CanAdvance())
        return false;
    value = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(value) + amount, 0, INT32_MAX));
    const int32_t cost = GetNextLevelCost();
    if (value < cost)
        return false;
    // A price below 0 (a cost modifier below -1) leaves more than was put in.
    value =
        static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(value) - cost, 0, INT32_MAX));
    Advance();
    return true;
}

void Technology::SetLevel(int32_t n) {
    level = std::max(std::min(n, GetHighestLevel()), 0);
}

CDataBlock* Technology::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_LEVEL, new CDataInt(level)));
    block->AddChild(new CDataAssignment(KW_VALUE, new CDataInt(value)));
    return block;
}

int32_t Technology::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END)
            return FIELD_BLOCK_END;
        if (result != FIELD_READ)
            return result;
        switch (in.key.code) {
        case KW_LEVEL:
            SetLevel(TokenToInt(in.value.text));
            break;
        case KW_VALUE:
            value = std::max(TokenToInt(in.value.text), 0);
            break;
        case KW_DATE:
            if (in.value.code != TOKEN_OPEN_BRACE)
                in.ReportError("No Left curly");
            else if (ReadDateBlock(in, date) == FIELD_END_OF_FILE)
                return FIELD_END_OF_FILE;
            break;
        default:
            in.ReportError("Technology : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
    }
}

// ---------------------------------------------------------------------------
// The stability track

int32_t ClampStability(int32_t value) {
    return std::clamp(value, -3, 3);
}

void CStabilityTrack::SetLevel(int32_t n) {
    level = ClampStability(n);
}

int32_t CStabilityTrack::GetNextLevelCost() const {
    return owner ? StabilityCost(*owner) : 0;
}

float GetStabilityTaxFactorOfLevel(int32_t level) {
    return g_stabilityTaxFactors[static_cast<size_t>(ClampStability(level) -
                                                     kLowestStoredStability)];
}

float GetStabilityTaxFactor(const Technology& stability) {
    return GetStabilityTaxFactorOfLevel(stability.level);
}

bool LoadStabilityTable() {
    g_stabilityTaxFactors.fill(1.0f);
    const char* path = "db\\tax_stab.csv";
    const bool exists = platform::GameFileExists(path);
    CCsvReader reader(path); // a missing file shows the "excel file not found" box
    if (!exists || !reader.SkipLines(1))
        return exists;
    std::vector<std::string> cells;
    for (int row = 0; row < 7 && ReadCsvRow(reader, cells); ++row) {
        const int32_t level = ClampStability(ParseCsvInt(CsvCell(cells, 1)));
        const int32_t percent = ParseCsvInt(CsvCell(cells, 2));
        g_stabilityTaxFactors[static_cast<size_t>(level - kLowestStoredStability)] =
            (static_cast<float>(percent) + 100.0f) * 0.01f;
    }
    return true;
}

// ---------------------------------------------------------------------------
// TechBase

TechBase::TechBase() {
    land.table = &g_landTechTable;
    naval.table = &g_navalTechTable;
    infra.table = &g_infraTechTable;
    trade.table = &g_tradeTechTable;
    stability.level = 3;
}

void TechBase::SetOwner(const CCountry* country) {
    owner = country;
    for (Technology* track : {static_cast<Technology*>(&land), static_cast<Technology*>(&naval),
                              static_cast<Technology*>(&infra), static_cast<Technology*>(&trade),
                              static_cast<Technology*>(&stability)})
        track->owner = country;
}

bool TechBase::LandLevelAtLeast11() const {
    return g_fantasyMode || land.level >= 11;
}

bool TechBase::NavalLevelAtLeast21() const {
    return g_fantasyMode || (owner && owner->GetNumber() == 5) || naval.level >= 21;
}

int32_t TechBase::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END)
            return FIELD_BLOCK_END;
        if (result != FIELD_READ)
            return result;
        Technology* track = nullptr;
        switch (in.key.code) {
        case KW_LAND:
            track = &land;
            break;
        case KW_NAVAL:
            track = &naval;
            break;
        case KW_TRADE:
            track = &trade;
            break;
        case KW_INFRA:
            track = &infra;
            break;
        case KW_STABILITY:
            track = &stability;
            break;
        case KW_GROUP: {
            const uint32_t* found =
                std::find(std::begin(kGroupKeywords), std::end(kGroupKeywords), in.value.code);
            if (found == std::end(kGroupKeywords))
                in.ReportError("Illegal tech group");
            else
                group = static_cast<uint32_t>(found - std::begin(kGroupKeywords));
            continue;
        }
        default:
            in.ReportError("TechBase : Unexpected field");
            PassOverRestOfBlock(in);
            return FIELD_ERROR;
        }
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            continue;
        }
        const int32_t read = track->Read(in);
        if (read == FIELD_END_OF_FILE)
            return read;
        if (read != FIELD_BLOCK_END) {
            // The track passed over its own rest; the rest of this block too.
            SkipRestOfBlock(in);
            return FIELD_ERROR;
        }
    }
}

CDataBlock* TechBase::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_LAND, land.Write()));
    block->AddChild(new CDataAssignment(KW_NAVAL, naval.Write()));
    block->AddChild(new CDataAssignment(KW_STABILITY, stability.Write()));
    block->AddChild(new CDataAssignment(KW_TRADE, trade.Write()));
    block->AddChild(new CDataAssignment(KW_INFRA, infra.Write()));
    block->AddChild(new CDataAssignment(KW_GROUP, new CDataIdentifier(kGroupKeywords[group % 4])));
    return block;
}
