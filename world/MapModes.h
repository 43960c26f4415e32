#pragma once
// Map modes, colour scales and the shade table. Every province carries a
// colour index (mapColour: the scale number in bits 0..4, bit 5 while it is
// shown dimmed) and a shade level (0..31); the renderer turns them, with the
// light of each pixel, into a pixel through g_mapShadeTable.
//
// "map\colorscales.csv" (semicolon-separated): 26 blocks, one per scale in
// index order, each two lines that are skipped and then four lines, one per
// point: red; green; blue; position (a row 0..63, never falling within a
// scale). Each colour component c is stored as c x (c x 0.00234375 + 0.5) x
// 0.9, at most 255.
#include <array>
#include <cstdint>
#include <string>

class CProvince;

constexpr int32_t kColourScaleCount = 26;
constexpr int32_t kColourScalePoints = 4;

struct ColourScalePoint {
    double red = 0;
    double green = 0;
    double blue = 0;
    int32_t position = 0;
};
using ColourScale = std::array<ColourScalePoint, kColourScalePoints>;
using ColourScaleTable = std::array<ColourScale, kColourScaleCount>;

extern ColourScaleTable g_colourScales;
extern const char* const kColourScaleFile; // "map\\colorscales.csv"

// Reads the colour scales into the table (the palette name is not used).
// False, the table unchanged, when the file is missing, ends early or holds
// a position outside 0..64 or falling within a scale.
bool LoadColourScales(const std::string& paletteName, ColourScaleTable& table);

// 128 rows (brightness steps) x 64 columns: column c < 32 is scale c at full
// brightness, c + 32 the same at half brightness.
constexpr int32_t kShadeRows = 128;
constexpr int32_t kShadeColumns = 64;
extern std::array<std::array<uint16_t, kShadeColumns>, kShadeRows> g_mapShadeTable;

// Builds g_mapShadeTable from g_colourScales in the current pixel format
// and sets the map-redraw flag.
void BuildMapShadeTable();

// The map modes.
enum EMapMode : int32_t {
    MAPMODE_POLITICAL = 0,
    MAPMODE_TERRAIN = 1,
    MAPMODE_GOODS = 2,
    MAPMODE_INCOME = 3,
    MAPMODE_TRADE_CENTRES = 4,
    MAPMODE_DIPLOMACY = 5,
    MAPMODE_RELATIONS = 6,
    MAPMODE_RELIGION = 7,
    MAPMODE_MISSION = 8,
    MAPMODE_COLONISATION = 10,
};
constexpr int32_t kMapModeCount = 11;

// The current mode's flag word (kept when an illegal mode is chosen); bit
// 0x4000 makes the tile decoder draw owner borders.
extern uint32_t g_mapModeFlags;
constexpr uint32_t kMapModeBorders = 0x4000;
// The flag word of each mode (mode 9: none, the word is kept).
extern const std::array<uint32_t, kMapModeCount> kMapModeFlagWords;
// Borders compare the member-set flag (zoneFlag) instead of the owner.
extern uint8_t g_borderByMemberSet;
// Set by recolouring, selection, zoom and the shade table; the renderer
// redraws every cell and clears it.
extern uint8_t g_mapRedraw;

// Colour indices of the modes.
constexpr int32_t kColourLand = 2;
constexpr int32_t kColourSea = 23;
constexpr int32_t kColourWinter = 14;
constexpr int32_t kColourFriend = 1;
constexpr int32_t kColourFoe = 16;
constexpr int32_t kColourHighlight = 17;

// The political colour of a country number (fantasy: the alternative
// table).
int32_t PoliticalColour(int32_t countryNumber, bool fantasy);

// What the map modes ask of the countries, their diplomacy and the goods,
// which lie above the map or beside it; their owners fill these at start-up
// (see HACKING.md). A null entry answers as a game without that part: no
// player country, no member set, no goods, no income, no centres of trade,
// no relations or diplomacy (a country is only its own friend), no
// religion, no mission, nowhere to settle.
struct MapModeHooks {
    // The player's country number while the main game screen exists, else
    // 0.
    int32_t (*playerCountry)() = nullptr;
    // The province's member-set test.
    bool (*isZoneProvince)(const CProvince& province) = nullptr;
    // The trade goods id of the province, -1 for none.
    int32_t (*goodsOf)(const CProvince& province) = nullptr;
    int32_t (*yearlyIncome)(const CProvince& province) = nullptr;
    int32_t (*revoltRisk)(const CProvince& province) = nullptr;
    // The number of the centre of trade the province trades with (-1 for
    // none) and how many centres there are.
    int32_t (*centreOfTradeNumber)(const CProvince& province) = nullptr;
    int32_t (*centreOfTradeCount)() = nullptr;
    // Diplomacy colour and shade of a province of the owner seen by the
    // viewing country (owner and viewer differ and both exist): the rules of
    // war, alliances, overlords, casus belli and royal marriages.
    void (*diplomacy)(int32_t viewer, int32_t owner, int32_t& colour, int32_t& shade) = nullptr;
    // The viewing country's relation value toward the owner.
    int32_t (*relation)(int32_t viewer, int32_t owner) = nullptr;
    // A country's religion number, -1 for none.
    int32_t (*religionOf)(int32_t country) = nullptr;
    // Whether the viewing country's mission covers the province.
    bool (*inMission)(int32_t viewer, const CProvince& province) = nullptr;
    // Whether the viewing country may place a colonist, or a trading post,
    // in the province.
    bool (*mayPlaceColonist)(int32_t viewer, const CProvince& province) = nullptr;
    bool (*mayPlaceTradingPost)(int32_t viewer, const CProvince& province) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern MapModeHooks g_mapModeHooks;
