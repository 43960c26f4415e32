#pragma once
// The hand-made outline of the demo world that the noise is laid over:
// where the continents' land masses lie (ellipses, later roughened by
// noise), the seas cut into them, the islands with the channels around
// them, and the points the regions are named around. Map pixels; the map is
// 18944 x 7296 and wraps east-west (the seam at x = 0 runs through the
// western ocean).
#include <array>
#include <cstdint>

namespace demo::design {

// Continent indices of world/WorldNames.h.
constexpr int32_t kAmerica = 1;
constexpr int32_t kEurope = 2;
constexpr int32_t kAsia = 3;
constexpr int32_t kOceania = 4;
constexpr int32_t kAfrica = 5;

struct Blob {
    int32_t continent; // 0: a sea cut into the land
    int32_t x, y, rx, ry;
};

inline constexpr std::array<Blob, 48> kBlobs = {{
    // America
    {kAmerica, 3300, 1500, 1500, 800},
    {kAmerica, 2500, 950, 900, 480},
    {kAmerica, 4300, 1300, 900, 700},
    {kAmerica, 3500, 2350, 1050, 620},
    {kAmerica, 3650, 3000, 480, 380},
    {kAmerica, 4050, 3380, 300, 220},
    {kAmerica, 4400, 3620, 230, 170},
    {kAmerica, 4750, 3850, 300, 200},
    {kAmerica, 5050, 4300, 800, 560},
    {kAmerica, 5350, 5000, 800, 780},
    {kAmerica, 5050, 5800, 460, 620},
    {kAmerica, 4900, 6400, 260, 380},
    // Europe
    {kEurope, 9600, 1850, 1100, 620},
    {kEurope, 10350, 1350, 750, 600},
    {kEurope, 9850, 800, 420, 480},
    {kEurope, 8800, 2350, 420, 320},
    {kEurope, 9700, 2550, 170, 340},
    {kEurope, 10300, 2480, 360, 300},
    {kEurope, 11000, 2250, 380, 300},
    {kEurope, 10950, 1650, 520, 420},
    // Africa
    {kAfrica, 10000, 3650, 1350, 520},
    {kAfrica, 10300, 4500, 1050, 800},
    {kAfrica, 10650, 5450, 620, 720},
    {kAfrica, 10750, 6100, 320, 320},
    // Asia
    {kAsia, 13500, 1700, 2800, 1100},
    {kAsia, 11600, 3000, 620, 420},
    {kAsia, 11250, 3380, 220, 170},
    {kAsia, 11950, 3400, 460, 480},
    {kAsia, 12750, 3250, 560, 650},
    {kAsia, 14500, 3150, 620, 600},
    {kAsia, 14900, 3900, 260, 520},
    {kAsia, 15500, 2300, 900, 700},
    {kAsia, 16250, 950, 400, 520},
    {kAsia, 15000, 1200, 900, 500},
    {kAsia, 11350, 2650, 380, 260},
    {kAsia, 12350, 2800, 520, 420},
    // Oceania
    {kOceania, 15900, 5500, 1100, 650},
    {kOceania, 15700, 4750, 520, 260},
    {kOceania, 16700, 5000, 380, 260},
    // Seas cut into the land
    {0, 3700, 900, 420, 260},   // the northern bay of America
    {0, 9950, 2900, 1250, 190}, // the inner sea between Europe and Africa
    {0, 10450, 1150, 260, 150}, // the gulf of the northern peninsula
    {0, 12300, 3650, 200, 260}, // the gulf between Arabia and India
    {0, 11350, 4000, 120, 330}, // the narrow sea east of Africa
    {0, 4300, 3050, 330, 180},  // the gulf of Central America
    {0, 13700, 3500, 260, 380}, // the bay east of India
    {0, 14950, 3000, 150, 160}, // the bay of the southern peninsula
    {0, 16100, 1750, 260, 300}, // the sea behind the eastern isles
}};

// Islands: land inside the ellipse, open water in a ring around it, so
// each lies across a narrow channel from the coast it belongs to.
struct Island {
    int32_t continent;
    int32_t x, y, rx, ry;
    int32_t ring; // width of the channel around it
};

inline constexpr std::array<Island, 6> kIslands = {{
    {kEurope, 8450, 1500, 240, 380, 150},  // the western isle
    {kEurope, 9300, 2800, 150, 100, 110},  // an inner-sea isle
    {kEurope, 10050, 2850, 160, 80, 100},  // another inner-sea isle
    {kEurope, 10700, 2900, 130, 70, 90},   // a third, near the eastern shore
    {kAmerica, 5000, 1950, 200, 160, 130}, // the north-eastern isle of America
    {kAsia, 16620, 2050, 170, 400, 110},   // the eastern isles of Asia
}};

// Regions are named around these points: a province takes the nearest
// point of its continent (land) or of the sea.
struct Anchor {
    const char* region;
    int32_t continent; // 0 for the sea regions
    int32_t x, y;
};

inline constexpr std::array<Anchor, 58> kAnchors = {{
    {"North America", kAmerica, 3200, 1300},
    {"Central America", kAmerica, 3800, 3150},
    {"Carribean", kAmerica, 4650, 3750},
    {"South America", kAmerica, 5250, 5100},
    {"British Isles", kEurope, 8450, 1500},
    {"Scandinavia", kEurope, 9850, 750},
    {"Eastern Europe", kEurope, 10500, 1500},
    {"HRE", kEurope, 9750, 1750},
    {"Central Europe", kEurope, 10100, 2150},
    {"Western Europe", kEurope, 8950, 2000},
    {"Southern Europe", kEurope, 9800, 2600},
    {"Caucasus", kEurope, 11100, 2300},
    {"Middle East", kAsia, 11800, 3100},
    {"Siberia", kAsia, 13500, 900},
    {"India", kAsia, 12750, 3350},
    {"China", kAsia, 15200, 2300},
    {"Indochina", kAsia, 14400, 3200},
    {"Indonesia", kAsia, 14900, 4000},
    {"Japan", kAsia, 16750, 2050},
    {"Australia", kOceania, 15800, 5600},
    {"Pacific", kOceania, 16800, 4900},
    {"North Africa", kAfrica, 10000, 3500},
    {"East Africa", kAfrica, 10900, 4900},
    {"West Africa", kAfrica, 9600, 4400},
    {"AlaskaSea", 0, 1700, 700},
    {"EPacificSea", 0, 1600, 2800},
    {"SWPacificSea", 0, 18000, 6000},
    {"SEPacificSea", 0, 2900, 5800},
    {"HudsonBaySea", 0, 3700, 900},
    {"ENACoastSea", 0, 5300, 2500},
    {"CarribeanSea", 0, 4500, 3100},
    {"WCAtlanticSea", 0, 6200, 3400},
    {"SWAtlanticSea", 0, 6700, 5900},
    {"NCAtlanticSea", 0, 6600, 2000},
    {"SEAtlanticSea", 0, 8900, 5700},
    {"ECAtlanticSea", 0, 8200, 4000},
    {"TagoSea", 0, 8100, 2700},
    {"NAtlanticSea", 0, 7000, 900},
    {"ArcticSeaSea", 0, 12500, 150},
    {"ScandinaviaSea", 0, 9100, 500},
    {"BiscaySea", 0, 8200, 2100},
    {"NorthSeaSea", 0, 9050, 1250},
    {"WMedSea", 0, 9300, 2950},
    {"EMedSea", 0, 10500, 2950},
    {"RedSeaSea", 0, 11350, 3950},
    {"GulfSea", 0, 12300, 3650},
    {"SWIndianSea", 0, 11900, 5900},
    {"NWIndianSea", 0, 12100, 4500},
    {"SEIndianSea", 0, 14100, 5800},
    {"NEIndianSea", 0, 13600, 4300},
    {"ThaiSea", 0, 14600, 4000},
    {"OceaniaSea", 0, 15300, 4400},
    {"BarrierReefSea", 0, 17300, 5400},
    {"WPacificSea", 0, 17600, 3800},
    {"ChinaSea", 0, 15700, 3300},
    {"JapanSea", 0, 16250, 1750},
    {"KamtchatkaSea", 0, 17300, 900},
    {"NWPacificSea", 0, 18300, 2300},
}};

// Where the lowlands lie, by a narrow water on the north-western coast.
inline constexpr Anchor kLowlands = {"HRE", kEurope, 9150, 1450};

// The open ocean far from every shore whose zones the game counts as the
// Pacific.
inline constexpr Anchor kPacificSea = {"Pacific", 0, 400, 4300};

// The areas of each land region, by name (world/WorldNames.h).
struct RegionAreas {
    const char* region;
    std::array<const char*, 21> areas; // null-terminated
};

inline constexpr std::array<RegionAreas, 24> kRegionAreas = {{
    {"North America",
     {"Alaska",  "Oregon",  "California", "Sonora",   "Nevada",       "Texas",    "Louisiane",
      "Georgia", "Florida", "Kansas",     "Illinois", "America",      "Ohio",     "Grand Lacs",
      "Plaines", "Maine",   "Quebec",     "Acadie",   "Newfoundland", "Labrador", "Hudson Bay"}},
    {"Central America", {"Azteca", "Costa Rica", "Panama"}},
    {"Carribean", {"Cuba", "Haiti", "Antilles"}},
    {"South America",
     {"Orenoque", "Ecuador", "Inca", "Chili", "Guiana", "Amazonia", "Belem", "Recife", "Bahia",
      "Rio", "La Plata", "Paraguay", "Patagonia", "Falklands"}},
    {"British Isles", {"Ireland", "Scotland", "England"}},
    {"Scandinavia", {"Sweden", "Norway", "Finland", "Denmark"}},
    {"Eastern Europe", {"Russia", "Baltic", "Poland", "Ukraine"}},
    {"HRE", {"Germany", "Low Countries"}},
    {"Central Europe", {"Danube"}},
    {"Western Europe", {"France", "Iberia"}},
    {"Southern Europe", {"Italy", "Balkans", "Mediterranean"}},
    {"Caucasus", {"Caucasus"}},
    {"Middle East", {"Anatolia", "Levant", "Nefud", "Aden", "Oman", "Persia", "Bahk"}},
    {"Siberia", {"Sibir", "Kazakhstan", "Omsk", "Jenisej", "Lena", "Baikal", "Amur", "Kamchatka"}},
    {"India",
     {"Lahore", "Punjab", "Delhi", "Gujarat", "Malabar", "Hyderabad", "Mahratti", "Oudh", "Bengal",
      "Orissa", "Carnatic", "Mysore", "Ceylon"}},
    {"China", {"Manchuria", "Korea", "Peking", "Shanghai", "Canton"}},
    {"Indochina", {"Annam", "Siam", "Malaya"}},
    {"Indonesia",
     {"Ajeh", "Sumatra", "Lucon", "Borneo", "Java", "Surabaya", "Celebes", "Amboina", "Ternate"}},
    {"Japan", {"Nippon", "Formosa"}},
    {"Australia", {"Papua", "Kanguru", "Botany", "Maori", "Tasmania"}},
    {"Pacific", {"Hawaii", "Polynesia", "Fiji"}},
    {"North Africa", {"Maghreb", "Egypt", "Sudan"}},
    {"East Africa",
     {"Ethiopia", "Sofala", "Tanganyika", "Mozambicque", "The Cape", "Madagascar", "The Mascarenes",
      "Seychelles"}},
    {"West Africa",
     {"Namibia", "Angola", "Congo", "Gabon", "Cameroon", "Ivory", "Gold", "Senegal", "Mauritania",
      "Cape Verde", "St Helena"}},
}};

// The land province ids of each continent, by ranges: the ids the game
// gives special rules fall where those rules make sense (the demarcation
// zones in America, Africa and the east, the strait pairs and the default
// capital in Europe, the southern land in Oceania, the northern bay's
// province in America).
struct IdRange {
    int32_t continent, first, last;
};

inline constexpr std::array<IdRange, 8> kLandIds = {{
    {kAmerica, 1, 280},
    {kEurope, 281, 480},
    {kAfrica, 481, 640},
    {kAsia, 641, 719},
    {kOceania, 720, 760},
    {kAsia, 761, 820},
    {kAmerica, 821, 840},
    {kAsia, 841, 960},
}};
constexpr int32_t kFirstSeaId = 961;

} // namespace demo::design
