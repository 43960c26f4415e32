#include "world/MapModes.h"

#include <algorithm>

#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/Pixel.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Province.h"

ColourScaleTable g_colourScales{};
const char* const kColourScaleFile = "map\\colorscales.csv";
std::array<std::array<uint16_t, kShadeColumns>, kShadeRows> g_mapShadeTable{};
uint32_t g_mapModeFlags = 0;
const std::array<uint32_t, kMapModeCount> kMapModeFlagWords = {
    0x443fc, 0x243ff, 0x800, 0x800, 0x2000, 0x5000, 0x5000, 0x14000, 0x4000, 0, 0xa0810};
uint8_t g_borderByMemberSet = 0;
uint8_t g_mapRedraw = 1;
MapModeHooks g_mapModeHooks;

namespace {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;

    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator-(const Rgb& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Rgb operator*(double f) const { return {r * f, g * f, b * f}; }
    Rgb operator/(double f) const { return {r / f, g / f, b / f}; }
};

Rgb ColourOf(const ColourScalePoint& point) {
    return {point.red, point.green, point.blue};
}

uint16_t ToPixel(const Rgb& c) {
    return CGraphicsBase::RgbToPixel(static_cast<int32_t>(c.r), static_cast<int32_t>(c.g),
                                     static_cast<int32_t>(c.b));
}

double AdjustComponent(double c) {
    return std::min(c * (c * 0.00234375 + 0.5) * 0.9, 255.0);
}

void SetColour(CProvince& province, int32_t colour) {
    province.mapColour = (province.mapColour & 32) | (colour & 31);
}

bool IsWaterKind(const CProvince& province) {
    return province.terrain == 5 || province.terrain == 6;
}

int32_t TerrainColour(const CProvince& province, bool& valid) {
    valid = true;
    if (province.terrain < kFirstSeaProvinceType && province.IsWinter())
        return kColourWinter;
    switch (province.terrain) {
    case 0:
        return 2;
    case 1:
        return 1;
    case 2:
        return 22;
    case 3:
        return 7;
    case 4:
        return 17;
    case 5:
    case 6:
        return kColourSea;
    case 8:
        return 0;
    default:
        valid = false;
        return 0;
    }
}

int32_t ReligionColour(int32_t religion) {
    static constexpr int32_t kColours[] = {3, 12, 14, 8, 19, 1, 17};
    return religion >= 0 && religion < 7 ? kColours[religion] : kColourLand;
}

int32_t RelationColour(int32_t relation) {
    if (relation >= 150)
        return 11;
    if (relation >= 76)
        return 17;
    if (relation >= -74)
        return 2;
    if (relation >= -148)
        return 16;
    return 21;
}

// Colour and shade of one province in the mode; false leaves the province
// as it is.
void ColourProvince(CProvince& province, int32_t mode, int32_t viewer, int32_t selectedGoods,
                    int32_t centreCount) {
    const MapModeHooks& hooks = g_mapModeHooks;
    const int32_t owner = province.GetOwnerNumber();
    const bool water = IsWaterKind(province);
    if (water && mode != MAPMODE_TERRAIN && mode != MAPMODE_RELATIONS) {
        SetColour(province, kColourSea);
        return;
    }
    switch (mode) {
    case MAPMODE_POLITICAL:
        SetColour(province, owner < 0 ? kColourLand : PoliticalColour(owner, g_fantasyMode != 0));
        break;
    case MAPMODE_TERRAIN: {
        bool valid = true;
        const int32_t colour = TerrainColour(province, valid);
        if (valid)
            SetColour(province, colour);
        else
            DebugPrint("Invalid terrain type!");
        break;
    }
    case MAPMODE_GOODS: {
        const int32_t goods = hooks.goodsOf ? hooks.goodsOf(province) : -1;
        SetColour(province,
                  selectedGoods >= 0 && goods == selectedGoods ? kColourHighlight : kColourLand);
        break;
    }
    case MAPMODE_INCOME: {
        const int32_t income = hooks.yearlyIncome ? hooks.yearlyIncome(province) : 0;
        SetColour(province, kColourHighlight);
        province.shade = (50 - std::clamp(income, 0, 50)) * 31 / 50;
        break;
    }
    case MAPMODE_TRADE_CENTRES: {
        const int32_t number = hooks.centreOfTradeNumber ? hooks.centreOfTradeNumber(province) : -1;
        if (number < 0) {
            SetColour(province, kColourLand);
            break;
        }
        static constexpr int32_t kColours[] = {1, 7, 16, 12};
        SetColour(province, kColours[number % 4]);
        province.shade = number * 31 / centreCount;
        break;
    }
    case MAPMODE_DIPLOMACY: {
        int32_t colour = kColourLand;
        int32_t shade = 0;
        if (owner >= 0 && owner == viewer)
            colour = kColourFriend;
        else if (owner >= 0 && hooks.diplomacy)
            hooks.diplomacy(viewer, owner, colour, shade);
        SetColour(province, colour);
        province.shade = shade;
        break;
    }
    case MAPMODE_RELATIONS:
        if (owner < 0)
            SetColour(province, water ? kColourSea : 0);
        else
            SetColour(province, RelationColour(hooks.relation ? hooks.relation(viewer, owner) : 0));
        break;
    case MAPMODE_RELIGION:
        if (owner < 0) {
            SetColour(province, kColourLand);
            break;
        }
        province.shade = 16 - std::min(2 * (hooks.revoltRisk ? hooks.revoltRisk(province) : 0), 16);
        SetColour(province, ReligionColour(hooks.religionOf ? hooks.religionOf(owner) : -1));
        break;
    case MAPMODE_MISSION:
        SetColour(province, kColourLand);
        if (hooks.inMission && hooks.inMission(viewer, province)) {
            SetColour(province, kColourFriend);
            province.shade = 5;
        }
        break;
    case MAPMODE_COLONISATION:
        SetColour(province, kColourLand);
        if ((hooks.mayPlaceColonist && hooks.mayPlaceColonist(viewer, province)) ||
            (hooks.mayPlaceTradingPost && hooks.mayPlaceTradingPost(viewer, province))) {
            SetColour(province, kColourHighlight);
            province.shade = province.GetCity() ? 0 : (province.GetTradingPost() ? 15 : 31);
        }
        break;
    default:
        break;
    }
}

} // namespace

int32_t PoliticalColour(int32_t countryNumber, bool fantasy) {
    if (fantasy) {
        switch (countryNumber) {
        case 39:
            return 8;
        case 44:
            return 11;
        case 62:
            return 12;
        case 64:
            return 19;
        case 66:
            return 14;
        case 68:
            return 17;
        case 70:
            return 16;
        case 72:
            return 7;
        default:
            return 18;
        }
    }
    static const std::array<int8_t, 99> kTable = [] {
        std::array<int8_t, 99> table{};
        table.fill(18);
        const int8_t first[] = {0, 16, 12, 14, 22, 11, 8, 19, 7, 3, 1, 17, 18, 13};
        for (int i = 1; i <= 13; ++i)
            table[static_cast<size_t>(i)] = first[i];
        for (int n : {14, 21, 23, 24, 27, 29, 49, 53, 70, 71, 90})
            table[static_cast<size_t>(n)] = 15;
        for (int n : {16, 18, 28, 31, 32, 41, 44, 45, 47, 54, 57, 59, 65, 91})
            table[static_cast<size_t>(n)] = 6;
        for (int n : {17, 20, 35, 40, 43, 50, 51, 55, 60, 62, 66, 69, 74, 86, 87})
            table[static_cast<size_t>(n)] = 10;
        for (int n : {19, 25, 36, 38, 42, 48, 58, 63, 67, 68, 78, 93})
            table[static_cast<size_t>(n)] = 5;
        for (int n : {22, 33, 39, 46, 61, 75, 77, 88})
            table[static_cast<size_t>(n)] = 4;
        return table;
    }();
    return countryNumber >= 0 && countryNumber < 99 ? kTable[static_cast<size_t>(countryNumber)]
                                                    : 18;
}

bool LoadColourScales(const std::string&, ColourScaleTable& table) {
    CCsvReader reader(kColourScaleFile);
    if (!reader.IsOpen())
        return false; // the reader has shown its box
    auto refuse = [](const char* what) {
        CriticalError(" Bad map file %s: %s! ", kColourScaleFile, what);
        return false;
    };
    ColourScaleTable read{};
    for (ColourScale& scale : read) {
        if (!reader.SkipLines(2))
            return refuse("it ends early");
        for (ColourScalePoint& point : scale) {
            double c[3] = {};
            for (double& component : c)
                if (!reader.ReadDouble(component))
                    return refuse("it ends early");
            if (!reader.ReadInt(point.position))
                return refuse("it ends early");
            if (!reader.LastCellEndedLine())
                reader.SkipLines(1);
            point.red = AdjustComponent(c[0]);
            point.green = AdjustComponent(c[1]);
            point.blue = AdjustComponent(c[2]);
        }
        for (size_t k = 0; k < scale.size(); ++k)
            if (scale[k].position < 0 || scale[k].position > 64 ||
                (k > 0 && scale[k].position < scale[k - 1].position))
                return refuse("a colour scale position is out of order");
    }
    table = read;
    return true;
}

void BuildMapShadeTable() {
    for (size_t s = 0; s < static_cast<size_t>(kColourScaleCount); ++s) {
        const ColourScale& scale = g_colourScales[s];
        const size_t half = s + 32;
        auto put = [&](int32_t row, const Rgb& full, const Rgb& dim) {
            g_mapShadeTable[static_cast<size_t>(row)][s] = ToPixel(full);
            g_mapShadeTable[static_cast<size_t>(row)][half] = ToPixel(dim);
        };
        for (size_t k = 0; k + 1 < scale.size(); ++k) {
            const int32_t from = scale[k].position;
            const int32_t to = scale[k + 1].position;
            if (to <= from)
                continue;
            Rgb c = ColourOf(scale[k]);
            const Rgb step = (ColourOf(scale[k + 1]) - c) / (to - from);
            for (int32_t row = 32 + from; row < 32 + to; ++row) {
                c = c + step;
                put(row, c, c * 0.5);
            }
        }
        Rgb paper{226, 220, 180};
        for (int32_t row = 0; row < 4; ++row) {
            put(row, paper, paper);
            paper = paper + Rgb{7.25, 6.25, 10.0};
        }
        const Rgb light{255, 245, 220};
        const Rgb toFull = (ColourOf(scale[0]) - light) / 28;
        const Rgb toHalf = (ColourOf(scale[0]) * 0.5 - light) / 28;
        Rgb full = light;
        Rgb dim = light;
        for (int32_t row = 4; row < 32; ++row) {
            put(row, full, dim);
            full = full + toFull;
            dim = dim + toHalf;
        }
        Rgb dark = ColourOf(scale[3]);
        const Rgb toGrey = (Rgb{50, 50, 50} - dark) / 32;
        for (int32_t row = 96; row < 128; ++row) {
            put(row, dark, dark * 0.5);
            dark = dark + toGrey;
        }
    }
    g_mapRedraw = 1;
}

void RecolourMap(int32_t country, int32_t mapMode) {
    const MapModeHooks& hooks = g_mapModeHooks;
    if (country < 1 && hooks.playerCountry) {
        const int32_t player = hooks.playerCountry();
        if (player > 0)
            country = player;
    }
    g_mapMode = mapMode;
    g_viewingCountry = country;
    g_borderByMemberSet = 0;
    g_mapRedraw = 1;
    g_idGrid.cacheInvalid = 1; // border entries resolve by the mode
    for (int32_t id = 0; id < kMapTableProvinces; ++id) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.shade = 15;
        province.zoneFlag = hooks.isZoneProvince && hooks.isZoneProvince(province) ? 1 : 0;
    }
    if (mapMode < 0 || mapMode >= kMapModeCount || mapMode == 9) {
        DebugPrint("Illegal color code!");
    } else {
        g_mapModeFlags = kMapModeFlagWords[static_cast<size_t>(mapMode)];
        if (mapMode == MAPMODE_RELIGION)
            g_borderByMemberSet = 1;
        const bool fromZero = mapMode == MAPMODE_TERRAIN || mapMode == MAPMODE_GOODS ||
                              mapMode == MAPMODE_INCOME || mapMode == MAPMODE_RELATIONS;
        int32_t selectedGoods = -1;
        const CProvince* selected = GetProvince(g_selectedProvince);
        if (selected && g_selectedProvince > 0 && hooks.goodsOf)
            selectedGoods = hooks.goodsOf(*selected);
        const int32_t centres =
            std::max(1, hooks.centreOfTradeCount ? hooks.centreOfTradeCount() : 0);
        for (int32_t id = fromZero ? 0 : 1; id < kMapTableProvinces; ++id)
            ColourProvince(g_provinces[static_cast<size_t>(id)], mapMode, country, selectedGoods,
                           centres);
    }
    if (mapMode != MAPMODE_TRADE_CENTRES && g_selectedProvince > 0 &&
        g_selectedProvince < kMapTableProvinces) {
        CProvince& selected = g_provinces[static_cast<size_t>(g_selectedProvince)];
        selected.shade = std::max(selected.shade - 16, 0);
    }
}
