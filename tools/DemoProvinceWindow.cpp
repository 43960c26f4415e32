// The pictures of the province window, all drawn here:
//   gfx\interface\piw\backgrounds\piwbg_plains.bmp, piwbg_forest1, piwbg_mountain,
//   piwbg_desert, piwbg_marsh, piwbg_winter and piwbg_loot (192 x 272), and
//   coast.bmp (192 x 48, laid over the bottom of a province with a port),
//   with their palette "piwbg_palette.bmp";
//   the buildings and marks of gfx\interface\piw\buildings\ that the layouts
//   place: house1.bmp ... house4.bmp (9 frames: 3 styles x 3 stages),
//   native.bmp (6), Fortutbyggd.bmp (7, fortress levels 0 to 6), tree1.bmp ...
//   tree15.bmp (2: summer and winter), blockade.bmp, siege.bmp, trading.bmp
//   (6), church.bmp, orthodoxchurches.bmp and muslimmosques.bmp (11), with
//   their palette "piw.bmp".
#include <array>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/PictureSheet.h"

namespace {

using demo::ColourTable;
using demo::Rgb;
using demo::Sheet;

// Backgrounds ------------------------------------------------------------------------

constexpr int32_t kBgWidth = 192;
constexpr int32_t kBgHeight = 272;
constexpr int32_t kCoastHeight = 48;

// piwbg_palette: from 16 on, bands of 16 shades (dark to light) of the
// grounds.
enum Ground : int32_t { kSky, kGrass, kWood, kRock, kSand, kBog, kSnow, kAsh, kWater, kBeach };
constexpr int32_t kShades = 16;

uint8_t GroundIndex(int32_t ground, int32_t shade) {
    return static_cast<uint8_t>(16 + ground * kShades + std::clamp(shade, 0, kShades - 1));
}

ColourTable BackgroundColours() {
    const Rgb dark[] = {{70, 110, 170}, {50, 90, 30},   {20, 50, 20},    {70, 68, 66},
                        {170, 130, 70}, {50, 60, 35},   {170, 180, 200}, {40, 32, 28},
                        {20, 50, 110},  {170, 150, 100}};
    const Rgb light[] = {{200, 225, 245}, {160, 200, 90}, {80, 130, 60},   {200, 200, 205},
                         {245, 225, 160}, {130, 150, 90}, {250, 250, 255}, {130, 110, 90},
                         {110, 170, 230}, {240, 225, 180}};
    ColourTable colours{};
    for (int32_t g = 0; g < 10; ++g)
        for (int32_t s = 0; s < kShades; ++s)
            colours[GroundIndex(g, s)] = demo::Blend(dark[g], light[g], s, kShades - 1);
    return colours;
}

// A triangle wave of period p between 0 and p / 2.
int32_t Tri(int32_t x, int32_t p) {
    const int32_t t = ((x % p) + p) % p;
    return t < p / 2 ? t : p - t;
}

struct Look {
    const char* name;
    Ground ground;
    Ground hills;
    int32_t roughness; // of the far hills
};

Sheet Background(const Look& look) {
    Sheet s(kBgWidth, kBgHeight);
    for (int32_t x = 0; x < kBgWidth; ++x) {
        // The far hills (peaks for a rough look) against the sky.
        const int32_t far = 60 - Tri(x * 2, 96) * look.roughness / 6 - Tri(x, 50) / 8;
        const int32_t near = 70 + Tri(x + 40, 160) / 6;
        for (int32_t y = 0; y < kBgHeight; ++y) {
            const uint32_t noise = demo::MixBits(static_cast<uint32_t>(y * kBgWidth + x)) % 3;
            uint8_t index;
            if (y < far)
                index = GroundIndex(kSky, 15 - y / 6);
            else if (y < near && look.roughness > 3 && y < far + 5)
                index = GroundIndex(kSnow, 12 + static_cast<int32_t>(noise)); // caps
            else if (y < near)
                index = GroundIndex(look.hills, 6 + (y - far) / 4 + static_cast<int32_t>(noise));
            else
                // The ground darkens towards the front.
                index =
                    GroundIndex(look.ground, 12 - (y - near) / 30 + static_cast<int32_t>(noise));
            s.Set(x, y, index);
        }
    }
    // The ground's own marks.
    for (int32_t i = 0; i < 40; ++i) {
        const uint32_t h = demo::HashText(look.name, static_cast<uint32_t>(i));
        const int32_t x = static_cast<int32_t>(h % kBgWidth);
        const int32_t y = 80 + static_cast<int32_t>((h >> 8) % (kBgHeight - 90));
        switch (look.ground) {
        case kBog: // pools
            s.FillDisc2(2 * x, 2 * y, 10, GroundIndex(kWater, 8));
            break;
        case kSand: // ripples
            s.Line(x, y, x + 10, y - 1, 1, GroundIndex(kSand, 5));
            break;
        case kAsh: // burnt patches and embers
            s.FillDisc2(2 * x, 2 * y, 12, GroundIndex(kAsh, 1));
            s.Set(x, y, GroundIndex(kSand, 14));
            break;
        case kSnow:
            s.Line(x, y, x + 6, y, 1, GroundIndex(kSnow, 8));
            break;
        default: // tufts
            s.Line(x, y, x + 1, y - 3, 1, GroundIndex(look.ground, 3));
            break;
        }
    }
    return s;
}

Sheet Coast() {
    Sheet s(kBgWidth, kCoastHeight);
    for (int32_t x = 0; x < kBgWidth; ++x) {
        const int32_t shore = 10 + Tri(x, 64) / 4;
        for (int32_t y = 0; y < kCoastHeight; ++y) {
            if (y < shore)
                s.Set(x, y, GroundIndex(kBeach, 12 - y / 3));
            else
                s.Set(x, y, GroundIndex(kWater, 10 - (y - shore) / 6));
        }
        // Foam along the shore and waves further out.
        s.Set(x, shore, GroundIndex(kSnow, 14));
        if (Tri(x + 7, 24) < 3)
            s.Set(x, 30 + Tri(x, 48) / 8, GroundIndex(kWater, 14));
    }
    return s;
}

bool WriteBackgrounds(const std::filesystem::path& game) {
    const ColourTable colours = BackgroundColours();
    const std::filesystem::path folder = game / "gfx" / "interface" / "piw" / "backgrounds";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "piwbg_palette.bmp",
                              demo::PaletteSwatch(colours));
    const Look looks[] = {
        {"piwbg_plains", kGrass, kGrass, 1},  {"piwbg_forest1", kWood, kWood, 2},
        {"piwbg_mountain", kGrass, kRock, 6}, {"piwbg_desert", kSand, kSand, 1},
        {"piwbg_marsh", kBog, kBog, 1},       {"piwbg_winter", kSnow, kSnow, 2},
        {"piwbg_loot", kAsh, kAsh, 2},
    };
    for (const Look& look : looks)
        ok = demo::WriteFile(folder / (std::string(look.name) + ".bmp"),
                             Background(look).Bmp(colours)) &&
             ok;
    ok = demo::WriteFile(folder / "coast.bmp", Coast().Bmp(colours)) && ok;
    return ok;
}

// Buildings ------------------------------------------------------------------------

// piw.bmp: 0 transparent, 1 shadow, 2 outline; named colours with a lit
// shade at +1 and a dark one at +2.
enum PiwColour : uint8_t {
    kShadow = 1,
    kOutline = 2,
    kStone = 4,
    kWall = 8,
    kRoof = 12,
    kThatch = 16,
    kWoodColour = 20,
    kLeaf = 24,
    kPine = 28,
    kSnowColour = 32,
    kGold = 36,
    kRed = 40,
    kBlue = 44,
    kHide = 48,
    kGreen = 52,
    kIron = 56,
    kSail = 60,
};

ColourTable PiwColours() {
    ColourTable colours{};
    colours[kShadow] = {24, 20, 16};
    colours[kOutline] = {18, 14, 10};
    const std::pair<PiwColour, Rgb> named[] = {
        {kStone, {150, 146, 136}}, {kWall, {226, 214, 186}},       {kRoof, {168, 62, 40}},
        {kThatch, {196, 160, 80}}, {kWoodColour, {116, 78, 42}},   {kLeaf, {60, 130, 50}},
        {kPine, {30, 84, 50}},     {kSnowColour, {240, 244, 250}}, {kGold, {228, 186, 54}},
        {kRed, {186, 30, 34}},     {kBlue, {40, 72, 170}},         {kHide, {200, 170, 120}},
        {kGreen, {40, 140, 70}},   {kIron, {70, 72, 80}},          {kSail, {236, 232, 214}},
    };
    for (const auto& [index, c] : named) {
        colours[index] = c;
        colours[index + 1] = demo::Blend(c, {255, 255, 255}, 1, 3);
        colours[index + 2] = demo::Scaled(c, 2, 3);
    }
    return colours;
}

// A house of the width with walls, a pitched roof of the colour, a door and
// a window; its ground line at bottom.
void House(Sheet& s, int32_t left, int32_t bottom, int32_t width, uint8_t roof) {
    const int32_t wallTop = bottom - width * 2 / 3;
    s.FillRect(left + 1, bottom - 1, left + width + 2, bottom + 1, kShadow);
    s.FillRect(left, wallTop, left + width, bottom, kWall);
    s.FillRect(left + width - 2, wallTop, left + width, bottom, kWall + 2);
    // The roof widens from its ridge down to the eaves.
    for (int32_t r = 0; r <= width / 2; ++r)
        s.FillRect(left + width / 2 - r - 1, wallTop - width / 2 + r,
                   left + (width + 1) / 2 + r + 1, wallTop - width / 2 + r + 1,
                   r < 2 ? static_cast<uint8_t>(roof + 1) : roof);
    s.FillRect(left + width / 2 - 1, bottom - 4, left + width / 2 + 1, bottom, kWoodColour);
    if (width >= 8)
        s.FillRect(left + 2, wallTop + 2, left + 4, wallTop + 4, kBlue + 1);
}

void Finish(Sheet& s, int32_t frames) {
    const int32_t w = s.width / frames;
    for (int32_t f = 0; f < frames; ++f)
        s.Outline(f * w, w, kOutline);
}

// Three styles (roof colours) in three stages (one, two, three houses).
Sheet Houses(int32_t number) {
    constexpr int32_t kSize = 32;
    Sheet s(9 * kSize, kSize);
    const uint8_t roofs[] = {kRoof, kThatch, kStone};
    for (int32_t style = 0; style < 3; ++style)
        for (int32_t stage = 0; stage < 3; ++stage) {
            const int32_t l = (style * 3 + stage) * kSize;
            const uint8_t roof = roofs[(style + number) % 3];
            House(s, l + 9, 28, 10 + number, roof);
            if (stage >= 1)
                House(s, l + 2, 30, 8, roof);
            if (stage >= 2)
                House(s, l + 20, 30, 9, roofs[(style + number + 1) % 3]);
        }
    Finish(s, 9);
    return s;
}

// Tents round a fire, more of them frame by frame.
Sheet NativeCamp() {
    constexpr int32_t kSize = 32;
    Sheet s(6 * kSize, kSize);
    const std::array<std::pair<int32_t, int32_t>, 6> places = {
        {{13, 24}, {4, 27}, {22, 27}, {8, 18}, {19, 18}, {13, 30}}};
    for (int32_t f = 0; f < 6; ++f)
        for (int32_t t = 0; t <= f; ++t) {
            const auto [x, y] = places[static_cast<size_t>(t)];
            for (int32_t r = 0; r < 9; ++r)
                s.FillRect(f * kSize + x + 3 - r / 2, y - 9 + r, f * kSize + x + 4 + r / 2,
                           y - 8 + r, r == 0 ? kWoodColour : kHide);
            s.FillRect(f * kSize + x + 3, y - 3, f * kSize + x + 5, y, kWoodColour + 2);
        }
    Finish(s, 6);
    return s;
}

// Walls round the fort, higher and with more towers by level; level 0 is
// empty.
Sheet FortExtension() {
    constexpr int32_t kSize = 48;
    Sheet s(7 * kSize, kSize);
    for (int32_t level = 1; level <= 6; ++level) {
        const int32_t l = level * kSize;
        const int32_t top = 36 - level * 2;
        s.FillRect(l + 4, top, l + 44, 44, kStone);
        s.FillRect(l + 4, 42, l + 44, 44, kStone + 2);
        for (int32_t x = 4; x < 44; x += 4)
            s.FillRect(l + x, top - 2, l + x + 2, top, kStone + 1);
        const int32_t towers = 2 + level / 2;
        for (int32_t t = 0; t < towers; ++t) {
            const int32_t x = 2 + t * 40 / (towers - 1) - (t == towers - 1 ? 6 : 0);
            s.FillRect(l + x, top - 6, l + x + 6, 44, kStone + 1);
            s.FillRect(l + x, top - 8, l + x + 2, top - 6, kStone);
            s.FillRect(l + x + 4, top - 8, l + x + 6, top - 6, kStone);
        }
        s.FillRect(l + 21, 36, l + 27, 44, kWoodColour + 2);
    }
    Finish(s, 7);
    return s;
}

// Fifteen trees: broadleaves, pines and palms of a few sizes; the second frame
// in winter.
Sheet Tree(int32_t number) {
    constexpr int32_t kW = 20;
    constexpr int32_t kH = 28;
    Sheet s(2 * kW, kH);
    const int32_t kind = (number - 1) % 3;
    const int32_t size = 6 + (number - 1) / 3; // 6 .. 10
    for (int32_t f = 0; f < 2; ++f) {
        const int32_t l = f * kW;
        s.FillRect(l + 7, kH - 2, l + 14, kH, kShadow);
        s.FillRect(l + 9, kH - 2 - size, l + 11, kH - 1, kWoodColour);
        if (kind == 0) { // broadleaf: a round crown, bare in winter
            if (f == 0)
                s.FillDisc2(2 * l + 20, 2 * (kH - 2 - size), size * 2, kLeaf);
            else
                for (const int32_t dx : {-4, 0, 4})
                    s.Line(l + 10, kH - 2 - size, l + 10 + dx, kH - 4 - size * 2, 1, kWoodColour);
        } else if (kind == 1) { // pine: stacked tiers, snow on them in winter
            for (int32_t r = 0; r < size * 2; ++r) {
                const int32_t half = 1 + (r % (size / 2 + 2)) + r / 4;
                const uint8_t c = f == 1 && r % (size / 2 + 2) == 0 ? kSnowColour : kPine;
                s.FillRect(l + 10 - half, kH - 2 - size * 2 - 2 + r, l + 10 + half,
                           kH - 1 - size * 2 - 2 + r, c);
            }
        } else { // palm: a bent trunk and fronds
            s.Line(l + 10, kH - 2, l + 12, kH - 2 - size * 2, 2, kWoodColour);
            for (const auto& [dx, dy] : {std::pair{-6, 3}, {6, 3}, {-5, -2}, {5, -2}})
                s.Line(l + 12, kH - 2 - size * 2, l + 12 + dx, kH - 2 - size * 2 + dy, 1,
                       f == 0 ? kLeaf : kLeaf + 2);
        }
    }
    Finish(s, 2);
    return s;
}

// Warships lying before the port.
Sheet Blockade() {
    Sheet s(40, 24);
    for (const int32_t x : {2, 20}) {
        s.FillRect(x + 1, 17, x + 17, 21, kWoodColour);
        s.FillRect(x + 3, 21, x + 15, 23, kWoodColour + 2);
        s.FillRect(x + 8, 4, x + 9, 17, kWoodColour + 2);
        s.FillRect(x + 3, 6, x + 8, 15, kSail);
        s.FillRect(x + 9, 7, x + 14, 15, kSail);
        s.FillRect(x + 9, 2, x + 13, 4, kRed);
    }
    Finish(s, 1);
    return s;
}

// A cannon firing beside a tent.
Sheet Siege() {
    Sheet s(40, 24);
    s.FillRect(4, 20, 36, 22, kShadow);
    s.Line(14, 16, 26, 12, 2, kIron);
    s.FillDisc2(28, 38, 7, kWoodColour);
    s.FillDisc2(36, 38, 7, kWoodColour);
    s.FillDisc2(60, 22, 9, kSnowColour + 2);
    s.FillDisc2(66, 18, 7, kSnowColour);
    for (int32_t r = 0; r < 10; ++r)
        s.FillRect(6 - r / 2, 10 + r, 7 + r / 2, 11 + r, kSail);
    Finish(s, 1);
    return s;
}

// The trading post's stockade and store, larger by level.
Sheet TradingPost() {
    constexpr int32_t kSize = 40;
    Sheet s(6 * kSize, kSize);
    for (int32_t level = 0; level < 6; ++level) {
        const int32_t l = level * kSize;
        const int32_t width = 14 + level * 4;
        const int32_t left = (kSize - width) / 2;
        House(s, l + left + 2, 34, width - 4, kWoodColour + 1);
        for (int32_t x = left; x < left + width; x += 3)
            s.FillRect(l + x, 30, l + x + 2, 38, kWoodColour);
        s.FillRect(l + left, 26, l + left + 1, 38, kWoodColour + 2);
        s.FillRect(l + left + 1, 26, l + left + 5, 29, kBlue);
    }
    Finish(s, 6);
    return s;
}

// A house of worship, larger by frame (11 stages); its look by faith.
enum Faith { kWestern, kOrthodox, kMuslim };

Sheet Worship(Faith faith) {
    constexpr int32_t kSize = 40;
    Sheet s(11 * kSize, kSize);
    for (int32_t stage = 0; stage < 11; ++stage) {
        const int32_t l = stage * kSize;
        const int32_t width = 12 + stage;
        const int32_t left = (kSize - width) / 2;
        const int32_t top = 26 - stage;
        s.FillRect(l + left + 1, 38, l + left + width + 2, 40, kShadow);
        s.FillRect(l + left, top, l + left + width, 38, faith == kMuslim ? kWall + 1 : kStone + 1);
        s.FillRect(l + left + width / 2 - 2, 32, l + left + width / 2 + 2, 38, kWoodColour);
        switch (faith) {
        case kWestern: // a spire with a cross
            for (int32_t r = 0; r < 12; ++r)
                s.FillRect(l + left + 3 - r / 4, top - 12 + r, l + left + 4 + r / 4, top - 11 + r,
                           kRoof);
            s.FillRect(l + left + 3, top - 16, l + left + 4, top - 12, kGold);
            s.FillRect(l + left + 2, top - 15, l + left + 5, top - 14, kGold);
            break;
        case kOrthodox: // onion domes
            for (const int32_t dx : {3, width / 2, width - 4}) {
                s.FillDisc2(2 * (l + left + dx) + 1, 2 * (top - 3), 6, kBlue + 1);
                s.FillRect(l + left + dx, top - 9, l + left + dx + 1, top - 5, kGold);
            }
            break;
        case kMuslim: // a dome and a minaret
            s.FillDisc2(2 * (l + left) + width, 2 * top, width - 2, kGreen);
            s.FillRect(l + left + width + 1, top - 10, l + left + width + 4, 38, kWall);
            s.FillRect(l + left + width + 1, top - 12, l + left + width + 4, top - 10, kGreen);
            break;
        }
    }
    Finish(s, 11);
    return s;
}

bool WriteBuildings(const std::filesystem::path& game) {
    const ColourTable colours = PiwColours();
    const std::filesystem::path folder = game / "gfx" / "interface" / "piw" / "buildings";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "piw.bmp", demo::PaletteSwatch(colours));
    auto write = [&](const std::string& name, const Sheet& sheet) {
        ok = demo::WriteFile(folder / name, sheet.Bmp(colours)) && ok;
    };
    for (int32_t n = 1; n <= 4; ++n)
        write("house" + std::to_string(n) + ".bmp", Houses(n));
    for (int32_t n = 1; n <= 15; ++n)
        write("tree" + std::to_string(n) + ".bmp", Tree(n));
    write("native.bmp", NativeCamp());
    write("Fortutbyggd.bmp", FortExtension());
    write("blockade.bmp", Blockade());
    write("siege.bmp", Siege());
    write("trading.bmp", TradingPost());
    write("church.bmp", Worship(kWestern));
    write("orthodoxchurches.bmp", Worship(kOrthodox));
    write("muslimmosques.bmp", Worship(kMuslim));
    return ok;
}

const demo::DemoWriter kBackgroundWriter("gfx/interface/piw/backgrounds", &WriteBackgrounds);
const demo::DemoWriter kBuildingWriter("gfx/interface/piw/buildings", &WriteBuildings);

} // namespace
