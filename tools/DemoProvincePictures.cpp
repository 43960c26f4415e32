// The pictures a province loads and the layouts of its window, all drawn
// here:
//   gfx\interface\religions.bmp, the eight religions' signs in 8 frames
//   (24 bits, pure green transparent);
//   gfx\map\landscape\storm_strip.bmp, a storm in 8 frames with its palette
//   "storm_strip_palette.bmp", and ice_strip.bmp, drifting floes in 8 frames
//   drawn in the colours of "landscape_palette.bmp";
//   gfx\interface\piw\buildings\resource.bmp, one frame per goods id (0 none,
//   1 CLO ... 18 WOOL), with its palette "resource.bmp";
//   gfx\interface\piw\<key>.txt, where the province window of each window key
//   places its symbols;
//   the natives' and the loot's map symbols: sprite definitions in
//   gfx\map\units (warriors "c-<culture>.t-army.a-stand", villages
//   "c-<culture>.t-city", the loot "t-loot") with their sheets and the palette
//   natives.act.
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

// Religion signs -------------------------------------------------------------------

constexpr Rgb kKey{0, 255, 0};
constexpr int32_t kSign = 16;

// A 24-bit picture being drawn.
struct Canvas {
    Canvas(int32_t w, int32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kKey) {}
    void Set(int32_t x, int32_t y, Rgb c) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * width + x] = c;
    }
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, Rgb c) {
        for (int32_t y = t; y < b; ++y)
            for (int32_t x = l; x < r; ++x)
                Set(x, y, c);
    }
    // Disc around (cx2 / 2, cy2 / 2) of the radius r2 / 2 (half pixels).
    void Disc2(int32_t cx2, int32_t cy2, int32_t r2, Rgb c) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const int32_t dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
                if (dx * dx + dy * dy <= r2 * r2)
                    Set(x, y, c);
            }
    }
    int32_t width;
    int32_t height;
    std::vector<Rgb> pixels;
};

// Religions by code: 0 protestant, 1 reformed, 2 counter-reformed catholic,
// 3 catholic, 4 orthodox, 5 sunni, 6 shiite, 7 pagan. Each a round plate of
// its colour with its sign.
void DrawSign(Canvas& c, int32_t religion) {
    const int32_t l = religion * kSign;
    const Rgb plates[] = {{40, 70, 160},  {30, 30, 36},  {110, 30, 120}, {170, 24, 30},
                          {200, 160, 40}, {20, 120, 50}, {10, 80, 60},   {110, 70, 30}};
    const Rgb white{245, 240, 225};
    const Rgb gold{240, 200, 60};
    const Rgb rim{20, 16, 12};
    c.Disc2(2 * l + kSign, kSign, kSign, rim);
    c.Disc2(2 * l + kSign, kSign, kSign - 2, plates[religion]);
    switch (religion) {
    case 0: // a plain cross
        c.FillRect(l + 7, 3, l + 9, 13, white);
        c.FillRect(l + 4, 6, l + 12, 8, white);
        break;
    case 1: // a cross within a ring
        c.Disc2(2 * l + kSign, kSign, 9, white);
        c.Disc2(2 * l + kSign, kSign, 7, plates[religion]);
        c.FillRect(l + 7, 3, l + 9, 13, white);
        c.FillRect(l + 4, 7, l + 12, 9, white);
        break;
    case 2: // a golden cross with rays
        c.FillRect(l + 7, 3, l + 9, 13, gold);
        c.FillRect(l + 4, 6, l + 12, 8, gold);
        for (const auto& [x, y] : {std::pair{4, 3}, {11, 3}, {4, 10}, {11, 10}})
            c.Set(l + x, y, gold);
        break;
    case 3: // a golden cross
        c.FillRect(l + 7, 3, l + 9, 13, gold);
        c.FillRect(l + 5, 5, l + 11, 7, gold);
        break;
    case 4: // a cross of three bars, the lowest slanting
        c.FillRect(l + 7, 2, l + 9, 14, rim);
        c.FillRect(l + 6, 4, l + 10, 5, rim);
        c.FillRect(l + 4, 6, l + 12, 8, rim);
        for (int32_t i = 0; i < 5; ++i)
            c.Set(l + 5 + i, 11 - i / 2, rim);
        break;
    case 5: // a crescent
    case 6: // a crescent and a star
        c.Disc2(2 * l + 14, 16, 10, white);
        c.Disc2(2 * l + 17, 15, 9, plates[religion]);
        if (religion == 6) {
            c.FillRect(l + 10, 7, l + 13, 8, white);
            c.FillRect(l + 11, 6, l + 12, 9, white);
        }
        break;
    default: // a sun
        c.Disc2(2 * l + kSign, kSign, 7, gold);
        for (const auto& [x, y] :
             {std::pair{7, 2}, {7, 12}, {2, 7}, {12, 7}, {4, 4}, {11, 4}, {4, 11}, {11, 11}})
            c.FillRect(l + x, y, l + x + 2, y + 2, gold);
        break;
    }
}

bool WriteReligions(const std::filesystem::path& game) {
    Canvas canvas(8 * kSign, kSign);
    for (int32_t r = 0; r < 8; ++r)
        DrawSign(canvas, r);
    return demo::WriteFile(game / "gfx" / "interface" / "religions.bmp",
                           demo::MakeBmp24(canvas.width, canvas.height, canvas.pixels));
}

// Storm and ice --------------------------------------------------------------------

constexpr int32_t kStripFrames = 8;
constexpr int32_t kStripWidth = 48;
constexpr int32_t kStripHeight = 32;

// The storm palette: 0 transparent, 1 shadow, 2..63 clouds from dark to light,
// 64..79 rain, 80..95 lightning.
constexpr int32_t kCloud = 2;
constexpr int32_t kRain = 64;
constexpr int32_t kBolt = 80;

ColourTable StormColours() {
    ColourTable colours{};
    colours[1] = {20, 20, 28};
    for (int32_t i = 0; i < 62; ++i)
        colours[static_cast<size_t>(kCloud + i)] =
            demo::Blend({40, 42, 52}, {170, 172, 182}, i, 61);
    for (int32_t i = 0; i < 16; ++i)
        colours[static_cast<size_t>(kRain + i)] =
            demo::Blend({70, 90, 130}, {150, 180, 220}, i, 15);
    for (int32_t i = 0; i < 16; ++i)
        colours[static_cast<size_t>(kBolt + i)] =
            demo::Blend({240, 220, 90}, {255, 255, 240}, i, 15);
    return colours;
}

// Dark clouds rolling east, rain falling from them and a stroke of lightning
// in two of the eight frames.
Sheet StormSheet() {
    Sheet sheet(kStripFrames * kStripWidth, kStripHeight);
    const std::array<std::array<int32_t, 3>, 5> puffs = {
        {{10, 9, 8}, {20, 7, 9}, {30, 8, 8}, {39, 10, 7}, {24, 12, 9}}};
    for (int32_t f = 0; f < kStripFrames; ++f) {
        const int32_t left = f * kStripWidth;
        const int32_t drift = f / 2;
        // Rain first, the clouds over it.
        for (int32_t i = 0; i < 14; ++i) {
            const int32_t x = 6 + i * 3 + (i % 3);
            const int32_t y = 14 + (i * 5 + f * 3) % 14;
            sheet.Line(left + x, y, left + x - 1, y + 3, 1,
                       static_cast<uint8_t>(kRain + (i * 5) % 16));
        }
        for (int32_t y = 0; y < kStripHeight; ++y)
            for (int32_t x = 0; x < kStripWidth; ++x) {
                int32_t best = -1;
                for (const auto& [px, py, r] : puffs) {
                    const int32_t dx = x - (px + drift), dy = y - py;
                    const int32_t inside = (r * r - dx * dx - dy * dy) * 61 / (r * r);
                    if (r * r - dx * dx - dy * dy >= 0 && inside > best)
                        best = inside;
                }
                if (best >= 0) {
                    // Lighter towards the top of each puff.
                    const int32_t shade = std::clamp(best / 2 + (14 - y) * 2, 0, 61);
                    sheet.Set(left + x, y, static_cast<uint8_t>(kCloud + shade));
                }
            }
        if (f == 3 || f == 4) {
            const int32_t points[][2] = {{26, 14}, {22, 20}, {27, 21}, {21, 30}};
            for (int32_t i = 0; i + 1 < 4; ++i)
                sheet.Line(left + points[i][0], points[i][1], left + points[i + 1][0],
                           points[i + 1][1], f == 3 ? 2 : 1, static_cast<uint8_t>(kBolt + 8 + f));
        }
    }
    return sheet;
}

// The landscape palette (written with the landscape tiles) holds six bands of
// 40 shades from index 2, dark to light: plains, forest, mountain, desert,
// marsh, sea. The ice takes the mountain's light greys and the sea's light
// blues.
constexpr int32_t kLandscapeShades = 40;
constexpr uint8_t LandscapeIndex(int32_t band, int32_t shade) {
    return static_cast<uint8_t>(2 + band * kLandscapeShades + shade);
}

// Floes drifting on open water, with glints moving over them.
Sheet IceSheet() {
    Sheet sheet(kStripFrames * kStripWidth, kStripHeight);
    const std::array<std::array<int32_t, 4>, 6> floes = {{{8, 8, 7, 4},
                                                          {24, 6, 9, 4},
                                                          {38, 10, 6, 5},
                                                          {14, 20, 8, 5},
                                                          {30, 22, 9, 4},
                                                          {42, 25, 4, 3}}};
    for (int32_t f = 0; f < kStripFrames; ++f) {
        const int32_t left = f * kStripWidth;
        const int32_t drift = (f % 4 == 3) ? 1 : 0;
        for (size_t n = 0; n < floes.size(); ++n) {
            const auto& [cx, cy, rx, ry] = floes[n];
            for (int32_t y = cy - ry; y <= cy + ry; ++y)
                for (int32_t x = cx - rx; x <= cx + rx; ++x) {
                    const int32_t dx = x - cx, dy = y - cy;
                    // A rough edge: the rim moves in and out with the angle.
                    const int32_t rough = static_cast<int32_t>(
                        demo::MixBits(static_cast<uint32_t>(n * 977 + (x + 64) * 31 + y)) % 3);
                    if (dx * dx * ry * ry + dy * dy * rx * rx >
                        (rx * ry) * (rx * ry) - rough * rx * ry)
                        continue;
                    const int32_t shade = y < cy ? 36 : 30; // lit above, shaded below
                    sheet.Set(left + x + drift, y, LandscapeIndex(2, shade));
                }
            // The water's edge under the floe.
            for (int32_t x = cx - rx + 1; x < cx + rx; ++x)
                if (sheet.Get(left + x + drift, cy + ry + 1) == 0)
                    sheet.Set(left + x + drift, cy + ry + 1, LandscapeIndex(5, 34));
            const int32_t glint = (f + static_cast<int32_t>(n) * 3) % kStripFrames;
            if (glint < 2)
                sheet.Set(left + cx - rx / 2 + glint + drift, cy - ry / 2, LandscapeIndex(2, 39));
        }
    }
    return sheet;
}

bool WriteStrips(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "gfx" / "map" / "landscape";
    const ColourTable storm = StormColours();
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "storm_strip_palette.bmp",
                              demo::PaletteSwatch(storm));
    ok = demo::WriteFile(folder / "storm_strip.bmp", StormSheet().Bmp(storm)) && ok;
    // The ice's pixels are indices into the landscape palette; the colour
    // table written here is only what viewers show.
    ColourTable ice{};
    for (int32_t shade = 0; shade < kLandscapeShades; ++shade) {
        ice[LandscapeIndex(2, shade)] = demo::Blend({70, 65, 60}, {230, 230, 235}, shade, 39);
        ice[LandscapeIndex(5, shade)] = demo::Blend({10, 30, 90}, {90, 150, 220}, shade, 39);
    }
    ok = demo::WriteFile(folder / "ice_strip.bmp", IceSheet().Bmp(ice)) && ok;
    return ok;
}

// Trade goods ----------------------------------------------------------------------

constexpr int32_t kGoodsFrames = 19; // goods ids 0 (none) .. 18
constexpr int32_t kIcon = 24;

// The resource palette: 0 transparent, 1 shadow, 2 outline; named colours
// with a lit shade at +1 and a dark one at +2.
enum GoodsColour : uint8_t {
    kGoodsShadow = 1,
    kGoodsOutline = 2,
    kRed = 4,
    kGold = 8,
    kWhite = 12,
    kBrown = 16,
    kGreen = 20,
    kBlue = 24,
    kGrey = 28,
    kCream = 32,
    kPurple = 36,
    kSteel = 40,
    kTan = 44,
};

ColourTable GoodsColours() {
    ColourTable colours{};
    colours[kGoodsShadow] = {30, 24, 18};
    colours[kGoodsOutline] = {20, 16, 12};
    const std::pair<GoodsColour, Rgb> named[] = {
        {kRed, {180, 36, 36}},    {kGold, {226, 184, 52}},   {kWhite, {236, 236, 230}},
        {kBrown, {118, 76, 38}},  {kGreen, {60, 130, 50}},   {kBlue, {50, 90, 170}},
        {kGrey, {120, 120, 124}}, {kCream, {232, 220, 180}}, {kPurple, {100, 40, 110}},
        {kSteel, {90, 100, 116}}, {kTan, {196, 150, 96}},
    };
    for (const auto& [index, c] : named) {
        colours[index] = c;
        colours[index + 1] = demo::Blend(c, {255, 255, 255}, 1, 3);
        colours[index + 2] = demo::Scaled(c, 2, 3);
    }
    return colours;
}

void Icon(Sheet& s, int32_t id) {
    const int32_t l = id * kIcon;
    auto rect = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t c) {
        s.FillRect(l + x0, y0, l + x1, y1, c);
    };
    auto disc = [&](int32_t cx2, int32_t cy2, int32_t r2, uint8_t c) {
        s.FillDisc2(2 * l + cx2, cy2, r2, c);
    };
    auto line = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t t, uint8_t c) {
        s.Line(l + x0, y0, l + x1, y1, t, c);
    };
    switch (id) {
    case 1: // CLO: a bolt of cloth
        rect(4, 8, 20, 18, kRed);
        rect(4, 8, 20, 10, kRed + 1);
        disc(40, 26, 10, kRed + 2);
        for (int32_t x = 6; x < 18; x += 4)
            rect(x, 10, x + 1, 18, kGold);
        break;
    case 2: // GOLD: ingots
        rect(4, 14, 12, 19, kGold);
        rect(12, 14, 20, 19, kGold + 2);
        rect(8, 9, 16, 14, kGold + 1);
        break;
    case 3: // COT: bolls on a stalk
        line(12, 20, 12, 10, 1, kBrown);
        disc(16, 16, 8, kWhite);
        disc(32, 14, 8, kWhite + 1);
        disc(24, 24, 7, kWhite);
        break;
    case 4: // FISH
        disc(22, 24, 14, kSteel + 1);
        line(18, 12, 21, 8, 2, kSteel);
        line(18, 12, 21, 16, 2, kSteel);
        s.Set(l + 7, 11, kGoodsOutline);
        break;
    case 5: // FURS: a pelt
        rect(7, 6, 17, 18, kBrown);
        rect(4, 6, 7, 9, kBrown + 2);
        rect(17, 6, 20, 9, kBrown + 2);
        rect(4, 16, 7, 19, kBrown + 2);
        rect(17, 16, 20, 19, kBrown + 2);
        rect(11, 18, 13, 22, kBrown + 2);
        break;
    case 6: // GRAI: a sheaf
        for (int32_t i = -2; i <= 2; ++i)
            line(12, 20, 12 + i * 3, 5, 1, kGold);
        rect(9, 13, 15, 15, kBrown);
        break;
    case 7: // IVOR: a tusk
        for (int32_t i = 0; i < 14; ++i)
            rect(5 + i, 16 - (i * i) / 20, 7 + i, 19 - (i * i) / 16, kCream);
        break;
    case 8: // METAL: bars
        rect(4, 15, 20, 19, kGrey);
        rect(6, 11, 18, 15, kGrey + 1);
        rect(8, 7, 16, 11, kGrey + 2);
        break;
    case 9: // MINERAL: rocks
        disc(16, 30, 10, kSteel);
        disc(30, 28, 12, kGrey);
        disc(24, 20, 8, kSteel + 1);
        break;
    case 10: // ORIENT: a vase
        disc(24, 28, 14, kWhite);
        rect(10, 4, 14, 9, kWhite);
        rect(9, 4, 15, 5, kBlue);
        rect(6, 13, 18, 15, kBlue);
        disc(24, 28, 4, kBlue);
        break;
    case 11: // NAVS: an anchor
        line(12, 4, 12, 19, 2, kSteel);
        rect(8, 7, 17, 9, kSteel);
        line(5, 14, 12, 20, 2, kSteel);
        line(19, 14, 12, 20, 2, kSteel);
        break;
    case 12: // SALT: a heap
        for (int32_t y = 8; y < 19; ++y)
            rect(12 - (y - 7), y, 12 + (y - 7), y + 1, y < 11 ? kWhite + 1 : kWhite);
        break;
    case 13: // SLAV: chain links
        for (int32_t i = 0; i < 3; ++i) {
            disc(10 + i * 10, 24, 8, kGrey);
            disc(10 + i * 10, 24, 4, 0);
        }
        break;
    case 14: // SPIC: a sack
        disc(24, 30, 14, kTan);
        rect(9, 5, 15, 9, kTan + 2);
        disc(24, 16, 5, kRed);
        break;
    case 15: // SUG: a sugar loaf in blue paper
        for (int32_t y = 4; y < 20; ++y)
            rect(12 - (y - 3) / 3, y, 12 + (y - 3) / 3 + 1, y + 1, y > 13 ? kBlue : kWhite);
        break;
    case 16: // TOB: a leaf
        for (int32_t y = 4; y < 21; ++y) {
            const int32_t half = (y - 4) * (21 - y) / 12;
            rect(12 - half, y, 13 + half, y + 1, kGreen);
        }
        line(12, 4, 12, 20, 1, kBrown);
        break;
    case 17: // WINE: grapes
        for (const auto& [x, y] : {std::pair{18, 14},
                                   {30, 14},
                                   {24, 22},
                                   {12, 22},
                                   {36, 22},
                                   {18, 30},
                                   {30, 30},
                                   {24, 38}})
            disc(x, y, 6, kPurple);
        line(12, 3, 12, 6, 1, kGreen);
        break;
    case 18: // WOOL: a fleece
        for (const auto& [x, y] : {std::pair{14, 22}, {24, 18}, {34, 22}, {18, 30}, {30, 30}})
            disc(x, y, 9, kCream);
        break;
    default: // 0: none
        break;
    }
}

bool WriteResources(const std::filesystem::path& game) {
    const ColourTable colours = GoodsColours();
    Sheet sheet(kGoodsFrames * kIcon, kIcon);
    for (int32_t id = 1; id < kGoodsFrames; ++id) {
        Icon(sheet, id);
        sheet.Outline(id * kIcon, kIcon, kGoodsOutline);
    }
    bool ok =
        demo::WriteFile(game / "gfx" / "palette" / "resource.bmp", demo::PaletteSwatch(colours));
    ok = demo::WriteFile(game / "gfx" / "interface" / "piw" / "buildings" / "resource.bmp",
                         sheet.Bmp(colours)) &&
         ok;
    return ok;
}

// Province window layouts ----------------------------------------------------------

// Where each window key's picture (about 192 x 256, the coast along its
// bottom) places its symbols. Each terrain has its own arrangement and trees.
struct Place {
    const char* name;
    int32_t x;
    int32_t y;
};

std::vector<Place> Layout(const std::string& key) {
    if (key == "sea")
        return {{"blockade", 88, 236}};
    // The buildings stand alike on every land picture, shifted with the
    // ground; houses, trees and the natives differ.
    const int32_t up = key == "mountain" ? -12 : (key == "marsh" ? 8 : 0);
    std::vector<Place> places = {
        {"fort", 96, 70 + up},       {"FortUtbyggd", 96, 70 + up},
        {"siege", 132, 92 + up},     {"church", 48, 118 + up},
        {"trading", 48, 118 + up},   {"barracks", 140, 138 + up},
        {"bank", 30, 168 + up},      {"embassy", 82, 172 + up},
        {"merchant", 134, 176 + up}, {"resource", 150, 40 + up},
        {"port", 60, 226},           {"blockade", 132, 238},
        {"house1", 88, 128 + up},    {"house2", 110, 150 + up},
        {"house3", 60, 150 + up},    {"house4", 100, 196 + up},
        {"native", 24, 56 + up},
    };
    struct Trees {
        const char* key;
        int32_t count;
    };
    const Trees trees[] = {
        {"plains", 4}, {"forest", 12}, {"mountain", 3}, {"desert", 1}, {"marsh", 5}};
    int32_t count = 0;
    for (const Trees& t : trees)
        if (key == t.key)
            count = t.count;
    static const char* const kTreeNames[] = {"tree1",  "tree2",  "tree3",  "tree4",  "tree5",
                                             "tree6",  "tree7",  "tree8",  "tree9",  "tree10",
                                             "tree11", "tree12", "tree13", "tree14", "tree15"};
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t h = demo::HashText(key.c_str(), static_cast<uint32_t>(i));
        // Along the picture's edges and the back, clear of the buildings.
        const int32_t x = 8 + static_cast<int32_t>(h % 176);
        const int32_t y = i % 2 ? 20 + static_cast<int32_t>((h >> 8) % 30)
                                : 196 + static_cast<int32_t>((h >> 8) % 16);
        places.push_back({kTreeNames[(h >> 16) % 15], x, y + up});
    }
    return places;
}

const char* const kWindowKeys[] = {"plains", "forest", "mountain", "desert", "marsh", "sea"};

bool WriteWindowLayouts(const std::filesystem::path& game) {
    bool ok = true;
    for (const char* key : kWindowKeys) {
        std::string text = "# Symbols of the province window \"" + std::string(key) + "\"\n";
        for (const Place& p : Layout(key))
            text += std::string(p.name) + " = { x = " + std::to_string(p.x) +
                    " y = " + std::to_string(p.y) + " }\n";
        ok = demo::WriteFile(game / "gfx" / "interface" / "piw" / (std::string(key) + ".txt"),
                             text) &&
             ok;
    }
    return ok;
}

// Natives and loot on the map ------------------------------------------------------

// The palette natives.act: 0 transparent, 1 shadow, then named colours.
enum NativeColour : uint8_t {
    kNShadow = 1,
    kNSkin = 2,
    kNDark = 3,
    kNWood = 4,
    kNHide = 5,
    kNHideDark = 6,
    kNFlame = 7,
    kNFlameLight = 8,
    kNSmoke = 9,
    kNAsh = 10,
    kNFirstTrim = 16, // one per native culture
};

// The native cultures by their sprite key names, with the colour of their
// feathers, cloth and roofs.
struct NativeCulture {
    const char* name;
    Rgb trim;
};
const NativeCulture kNativeCultures[] = {{"azt", {30, 150, 120}}, {"hin", {220, 120, 30}},
                                         {"chi", {190, 40, 40}},  {"ind", {40, 90, 200}},
                                         {"zul", {230, 200, 60}}, {"mus", {40, 140, 60}}};

ColourTable NativeColours() {
    ColourTable colours{};
    const Rgb named[] = {{0, 0, 0},      {20, 16, 12},    {170, 110, 70}, {40, 28, 20},
                         {110, 76, 40},  {200, 170, 120}, {140, 110, 70}, {230, 110, 20},
                         {250, 210, 80}, {110, 110, 110}, {70, 64, 60}};
    for (size_t i = 0; i < std::size(named); ++i)
        colours[i] = named[i];
    for (size_t i = 0; i < std::size(kNativeCultures); ++i)
        colours[kNFirstTrim + i] = kNativeCultures[i].trim;
    return colours;
}

// A warrior with a spear and a feather.
Sheet WarriorSheet(uint8_t trim) {
    Sheet s(16, 20);
    s.FillRect(4, 18, 12, 20, kNShadow);
    s.FillRect(6, 3, 10, 7, kNSkin);
    s.FillRect(7, 0, 9, 3, trim);
    s.FillRect(5, 7, 11, 13, kNSkin);
    s.FillRect(5, 11, 11, 14, trim);
    s.FillRect(6, 14, 8, 18, kNSkin);
    s.FillRect(8, 14, 10, 18, kNSkin);
    s.Line(12, 1, 12, 18, 1, kNWood);
    s.FillRect(11, 0, 14, 2, kNAsh);
    return s;
}

// Huts under hide roofs round a fire.
Sheet VillageSheet(uint8_t trim) {
    Sheet s(24, 24);
    s.FillRect(2, 21, 22, 24, kNShadow);
    for (const auto& [x, y] : {std::pair{3, 10}, {13, 8}, {8, 15}}) {
        for (int32_t r = 0; r < 7; ++r)
            s.FillRect(x + 4 - r / 2 - 1, y + r, x + 4 + r / 2 + 1, y + r + 1, kNHide);
        s.FillRect(x + 1, y + 7, x + 8, y + 9, kNHideDark);
        s.FillRect(x + 3, y + 7, x + 5, y + 9, kNDark);
        s.Set(x + 4, y - 1, trim);
    }
    return s;
}

// A burnt house with flames and smoke, flickering over two frames.
Sheet LootSheet() {
    Sheet s(2 * 20, 20);
    for (int32_t f = 0; f < 2; ++f) {
        const int32_t l = f * 20;
        s.FillRect(l + 3, 18, l + 17, 20, kNShadow);
        s.FillRect(l + 4, 10, l + 15, 18, kNAsh);
        s.FillRect(l + 7, 13, l + 10, 18, kNDark);
        s.Line(l + 4, 10, l + 9, 6, 1, kNDark);
        for (int32_t i = 0; i < 4; ++i) {
            const int32_t x = l + 5 + i * 3;
            const int32_t top = 4 + (i + f) % 2 * 2;
            s.FillRect(x, top, x + 2, 11, kNFlame);
            s.Set(x, top + 2, kNFlameLight);
        }
        s.FillDisc2(2 * l + 26 + f * 2, 4, 4, kNSmoke);
    }
    return s;
}

struct SpriteFile {
    std::string file;
    std::string bitmap;
    Sheet sheet;
    int32_t frames;
    int32_t originX;
    int32_t originY;
    int32_t speed;
    bool isStatic;
};

bool WriteNativeSprites(const std::filesystem::path& game) {
    std::vector<SpriteFile> sprites;
    for (size_t i = 0; i < std::size(kNativeCultures); ++i) {
        const std::string name = kNativeCultures[i].name;
        const uint8_t trim = static_cast<uint8_t>(kNFirstTrim + i);
        sprites.push_back({"c-" + name + ".t-army.a-stand.spr", "natives_" + name + "_warrior.bmp",
                           WarriorSheet(trim), 1, 8, 18, 25, true});
        sprites.push_back({"c-" + name + ".t-city.spr", "natives_" + name + "_village.bmp",
                           VillageSheet(trim), 1, 12, 21, 0, true});
    }
    sprites.push_back({"t-loot.spr", "loot.bmp", LootSheet(), 2, 10, 18, 20, false});
    const ColourTable colours = NativeColours();
    const std::filesystem::path units = game / "gfx" / "map" / "units";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "natives.act", demo::MakeAct(colours));
    for (const SpriteFile& s : sprites) {
        const std::string text =
            "# " + s.file + "\nsprite = {\n    bitmap = \"" + s.bitmap +
            "\"\n    frames = " + std::to_string(s.frames) +
            "\n    speed = " + std::to_string(s.speed) +
            "\n    origin = { x = " + std::to_string(s.originX) +
            " y = " + std::to_string(s.originY) +
            " }\n    palette = \"natives.act\"\n    static = " + (s.isStatic ? "yes" : "no") +
            "\n}\n";
        ok = demo::WriteFile(units / s.file, text) && ok;
        ok = demo::WriteFile(units / "bmp" / s.bitmap, s.sheet.Bmp(colours)) && ok;
    }
    return ok;
}

const demo::DemoWriter kReligionWriter("gfx/interface/religions.bmp", &WriteReligions);
const demo::DemoWriter kStripWriter("gfx/map/landscape/strips", &WriteStrips);
const demo::DemoWriter kResourceWriter("gfx/interface/piw/buildings/resource.bmp", &WriteResources);
const demo::DemoWriter kLayoutWriter("gfx/interface/piw", &WriteWindowLayouts);
const demo::DemoWriter kNativesWriter("gfx/map/units/natives", &WriteNativeSprites);

} // namespace
