#include "world/ProvinceTable.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/File.h"
#include "engine/Format.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Goods.h"
#include "world/MapTables.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"
#include "world/TradingPost.h"

std::vector<MapPoint> g_straitPoints;

namespace {

std::string g_loadError;

constexpr int32_t kProvinceColumns = 51;

// The cells of one row, in column order. A row that ends (line feed or end
// of the file) before its last column is cut short: the cells after it are
// not read, so the next row is never taken for this one's.
class RowCells {
public:
    explicit RowCells(CCsvReader& reader) : m_reader(reader) {}

    bool Text(std::string& out) {
        char buffer[256] = {};
        if (!Begin())
            return false;
        const uint32_t cutBefore = m_reader.GetCutCells();
        const bool read = m_reader.ReadString(buffer, sizeof buffer);
        End(read);
        if (m_reader.GetCutCells() != cutBefore)
            m_cut = true;
        out = buffer;
        return true;
    }
    bool Int(int32_t& out) {
        if (!Begin())
            return false;
        End(m_reader.ReadInt(out));
        return true;
    }
    bool Float(float& out) {
        if (!Begin())
            return false;
        End(m_reader.ReadFloat(out));
        return true;
    }
    int32_t Column() const { return m_column; }
    bool Short() const { return m_short; }
    bool LineEnded() const { return m_ended; }
    bool AtEndOfFile() const { return m_endOfFile; }
    bool CellCut() const { return m_cut; }

private:
    bool Begin() {
        if (m_ended) {
            m_short = true;
            return false;
        }
        ++m_column;
        return true;
    }
    void End(bool read) {
        if (!read)
            m_endOfFile = true;
        m_ended = !read || m_reader.LastCellEndedLine();
    }

    CCsvReader& m_reader;
    int32_t m_column = 0;
    bool m_ended = false;
    bool m_short = false;
    bool m_endOfFile = false;
    bool m_cut = false;
};

int32_t ReligionOfWord(const std::string& word) {
    if (word == "reformed")
        return RELIGION_REFORMED;
    if (word == "protestant")
        return RELIGION_PROTESTANT;
    if (word == "catholic")
        return RELIGION_CATHOLIC;
    if (word == "orthodox")
        return RELIGION_ORTHODOX;
    if (word == "sunni")
        return RELIGION_SUNNI;
    if (word == "shiite")
        return RELIGION_SHIITE;
    return RELIGION_PAGAN;
}

MapPoint BoxCentre(const Rect& box) {
    return {static_cast<int32_t>((int64_t{box.left} + box.right) / 2),
            static_cast<int32_t>((int64_t{box.top} + box.bottom) / 2)};
}

// (0, 0) stands for the centre of the bounding box.
MapPoint PositionOrCentre(int32_t x, int32_t y, const Rect& box) {
    if (x == 0 && y == 0)
        return BoxCentre(box);
    return {x, y};
}

// An id from the table that must name a province record (0 = none).
int32_t CheckedId(int32_t value, const char* what, int32_t province, std::string& warnings) {
    if (IsProvinceLocation(value))
        return value;
    warnings += FormatText("Province %d: %s %d is no province, read as 0\n", province, what, value);
    return 0;
}

void Fail(const std::string& text) {
    g_loadError = text;
    AppendToLog(text);
}

void AddStraitLink(int32_t from, int32_t to) {
    CProvince* province = GetProvince(from);
    if (!province || !GetProvince(to))
        return;
    if (!province->IsNeighbour(to))
        province->AddNeighbour({to, kProvinceLinkStrait, 0});
}

} // namespace

bool CProvince::InitFromCsvRow(CCsvReader& reader, std::string& error, std::string& warnings) {
    RowCells row(reader);
    const int32_t number = GetNumber();
    int32_t id = -1;
    if (!row.Int(id) || (row.AtEndOfFile() && row.LineEnded() && id == -1)) {
        error = FormatText("db\\province.csv ends before the row of province %d (1473 rows "
                           "expected)",
                           number);
        return false;
    }
    if (id != number) {
        error = FormatText("db\\province.csv: row %d holds the id %d", number, id);
        return false;
    }
    std::string religionWord, goodsWord, areaName, regionName, continentName, display;
    int32_t flag9 = 0, flag13 = 0, flag16 = 0;
    int32_t unitX = 0, unitY = 0, symbolX = 0, symbolY = 0;
    int32_t portX = 0, portY = 0, manuX = 0, manuY = 0, port = 0;
    std::array<int32_t, 12> decorations{};
    std::array<int32_t, 3> linked{};
    row.Text(name) && row.Text(windowKey) && row.Text(religionWord) && row.Int(column5) &&
        row.Int(climate) && row.Int(iceZone) && row.Int(stormZone) && row.Int(flag9) &&
        row.Int(manpower) && row.Int(tax) && row.Int(terrain) && row.Int(flag13) &&
        row.Int(goldValue) && row.Text(goodsWord) && row.Int(flag16) && row.Int(column17) &&
        row.Int(wilderness) && row.Int(natives) && row.Float(ferocity) && row.Float(efficiency) &&
        row.Int(negotiation) && row.Int(tolerance) && row.Int(unitX) && row.Int(unitY) &&
        row.Int(symbolX) && row.Int(symbolY) && row.Int(portX) && row.Int(portY) &&
        row.Int(manuX) && row.Int(manuY) && row.Int(port);
    for (int32_t& cell : decorations)
        if (!row.Int(cell))
            break;
    row.Text(areaName) && row.Text(regionName) && row.Text(continentName) && row.Text(display);
    for (int32_t& cell : linked)
        if (!row.Int(cell))
            break;
    if (row.Short() || row.Column() < kProvinceColumns) {
        error = FormatText("db\\province.csv: the row of province %d ends after column %d of %d",
                           number, row.Column(), kProvinceColumns);
        return false;
    }
    if (!row.LineEnded())
        reader.SkipLines(1); // cells beyond the last column
    if (row.CellCut())
        warnings += FormatText("Province %d: a text longer than 255 bytes was cut\n", number);

    religion = initialReligion = ReligionOfWord(religionWord);
    column9Flag = flag9 == 1;
    column13Flag = flag13 == 1;
    column16Flag = flag16 == 1;
    initialTax = tax;
    maxNatives = natives;

    const uint32_t goodsId = GetGoodsId(goodsWord);
    goods = g_goods.Get(goodsId);
    if (!goods)
        goods = g_goods.Get(GOODS_NOTHING);
    if (goodsId == GOODS_NOTHING && goodsWord != "NOTHING")
        warnings += FormatText("Province %d: unknown goods '%s'\n", number, goodsWord.c_str());
    if (!goods)
        DebugPrint("FATAL ERROR: Unknown goods '%s' in %s\n", goodsWord.c_str(), name.c_str());

    unitPosition = PositionOrCentre(unitX, unitY, box);
    symbolPosition = PositionOrCentre(symbolX, symbolY, box);
    symbolHome = symbolPosition;
    portPosition = {portX, portY};
    manufactoryPosition = {manuX, manuY};
    portSeaZone = CheckedId(port, "port sea zone", number, warnings);
    if (portSeaZone != 0 && portX == 0 && portY == 0)
        DebugPrint("Missing coordinates for port in %d (%s)  Seazone should be in %d\n", number,
                   name.c_str(), portSeaZone);

    landscapeSprites.clear();
    for (size_t i = 0; i < decorations.size(); i += 3)
        if (decorations[i] >= 0)
            landscapeSprites.push_back({decorations[i], decorations[i + 1], decorations[i + 2]});

    area = FindAreaByName(areaName.c_str());
    region = FindRegionByName(regionName.c_str());
    continent = FindContinentByName(continentName.c_str());
    AddProvinceToGroups(*this);
    displayName = display == "#N/A" ? name : display;
    for (size_t i = 0; i < linked.size(); ++i)
        linkedProvinces[i] = CheckedId(linked[i], "linked province", number, warnings);
    return true;
}

void CProvince::Release() {
    SetCity(nullptr);
    SetTradingPost(nullptr);
    m_constructions.Clear();
    combats.reset();
}

void CProvince::ResetForGame() {
    // The countries of the last game are gone: nothing to tell them.
    m_owner = m_controller = -1;
    Release();
    lootEndDate = nationalismDate = discoveryDate = spareDate = CDate();
    looted = winter = storm = stormMark = whiteman = blockaded = conquistadorTested = 0;
    discovered = knownToPlayer = newlyRevealed = 0;
    discoveredBy.fill(0);
    seenBy.fill(0);
    supplyLevel = piracy = borderWeight = 0;
    supplyMark = 0;
    territory = nullptr;
    centreOfTrade = nullptr;
    inTerritoryUpdate = territoryWalkMark = 0;
    goods = nullptr;
    searchParent = nullptr;
    searchCost = searchEstimate = 0.0f;
    searchOpen = searchMark = 0;
}

const std::string& GetProvinceLoadError() {
    return g_loadError;
}

void LoadStraits(const char* path) {
    for (const StraitPair& pair : kStraitPairs) {
        AddStraitLink(pair.a, pair.b);
        AddStraitLink(pair.b, pair.a);
    }
    g_straitPoints.clear();
    CCsvReader reader(path);
    if (!reader.IsOpen())
        return;
    for (;;) {
        int32_t x = 0;
        int32_t y = 0;
        // A cell read at the end of the file leaves its value: test both.
        const bool gotX = reader.ReadInt(x);
        if (!gotX || reader.LastCellEndedLine())
            return;
        if (!reader.ReadInt(y))
            return; // the file ends inside the row
        if (!reader.LastCellEndedLine())
            reader.SkipLines(1);
        g_straitPoints.push_back({x, y});
        if (x < 0 || y < 0)
            return;
    }
}

bool LoadProvinces() {
    g_loadError.clear();
    // The records point into the goods table: forget them before it changes.
    for (CProvince& province : g_provinces)
        province.goods = nullptr;
    g_goods.Clear();
    LoadGoods(g_goods);
    ClearAreaGroups();
    CCsvReader reader("db\\province.csv");
    if (!reader.IsOpen()) {
        Fail("db\\province.csv cannot be opened");
        return false;
    }
    reader.Rewind();
    reader.SkipLines(1);
    std::string warnings;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.ResetForGame();
        std::string error;
        if (!province.InitFromCsvRow(reader, error, warnings)) {
            if (!warnings.empty())
                AppendToLog(warnings);
            Fail(error);
            return false;
        }
    }
    if (!warnings.empty())
        AppendToLog(warnings);
    BuildAreaNeighbours();
    g_provinces[0].visible = 0;
    g_provinces[0].mapColour = 0;
    // The pseudo-provinces' border colours: shown (1473, 1474) and dimmed.
    constexpr struct {
        int32_t colour;
        uint8_t visible;
    } kPseudo[] = {{24, 1}, {25, 1}, {24, 0}, {25, 0}};
    for (size_t i = 0; i < std::size(kPseudo); ++i) {
        CProvince& pseudo = g_provinces[kFirstPseudoProvince + i];
        pseudo.mapColour = kPseudo[i].colour;
        pseudo.visible = kPseudo[i].visible;
    }
    // The neighbours are read again now that the province kinds are known,
    // so that the leading counts and the coastal flags follow them. The map
    // tables checked the file at start-up; a folder without it (a test of the
    // tables alone) keeps the lists as they are.
    if (FileExists(kAdjacencyFile))
        LoadAdjacency(kAdjacencyFile);
    LoadStraits("db\\straits.csv");
    return true;
}
