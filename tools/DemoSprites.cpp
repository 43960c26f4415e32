// The demo world's map pictures, all drawn here:
//   gfx\map\units\*.spr, the sprite definitions, whose file names carry their
//   keys ("c-eng.t-army.a-walk.d-e.spr"), with their 8-bit sprite sheets in
//   gfx\map\units\bmp\ and their palette gfx\palette\units.act: armies of two
//   cultures standing and walking four ways, a fleet, two cities, a fire
//   drawn as light, a siege tower and the travellers' wagon;
//   gfx\map\T-MAP_ARROWS.bmp, the route's arrow heads in 8 frames (n, ne, e,
//   se, s, sw, w, nw), 24 bits with pure green transparent;
//   gfx\map\landscape\Plains0.bmp ... Sea3.bmp, four tiles of each terrain
//   (the province table's decoration variants 0 to 3) in two frames each, with their palette
//   landscape_palette.bmp (in gfx\palette, where palettes are looked up, and beside the tiles).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/Maths.h"

namespace {

using demo::ColourTable;
using demo::Rgb;

// An 8-bit picture being drawn; index 0 is transparent, 1 the shadow.
struct Sheet {
    Sheet(int32_t w, int32_t h) : width(w), height(h), indices(static_cast<size_t>(w) * h, 0) {}

    void Set(int32_t x, int32_t y, uint8_t index) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            indices[static_cast<size_t>(y) * width + x] = index;
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t index) {
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                Set(x, y, index);
    }
    std::vector<uint8_t> Bmp(const ColourTable& colours) const {
        return demo::MakeBmp8(width, height, indices, colours);
    }

    int32_t width;
    int32_t height;
    std::vector<uint8_t> indices;
};

// The units' palette.
enum UnitColour : uint8_t {
    kShadow = 1,
    kBlack = 2,
    kWhite,
    kSkin,
    kRed,
    kDarkRed,
    kBlue,
    kDarkBlue,
    kWood,
    kDarkWood,
    kStone,
    kDarkStone,
    kSail,
    kGold,
    kRoof,
    kFirstFlame = 16, // 16..255: a ramp from dark red through yellow to white
};

ColourTable UnitColours() {
    ColourTable colours{};
    const Rgb named[] = {{0, 0, 0},       {0, 0, 0},       {20, 20, 20},   {245, 245, 235},
                         {230, 190, 150}, {200, 30, 30},   {120, 15, 15},  {40, 70, 200},
                         {20, 35, 110},   {140, 95, 50},   {85, 55, 25},   {160, 160, 155},
                         {95, 95, 95},    {235, 230, 210}, {230, 190, 40}, {170, 60, 40}};
    for (size_t i = 0; i < std::size(named); ++i)
        colours[i] = named[i];
    for (int i = kFirstFlame; i < 256; ++i) {
        const double t = (i - kFirstFlame) / 239.0;
        auto level = [](double v) { return static_cast<uint8_t>(255 * std::clamp(v, 0.0, 1.0)); };
        colours[static_cast<size_t>(i)] = {level(0.5 + t), level(t * 1.5 - 0.3), level(t * 2 - 1)};
    }
    return colours;
}

// Directions as the keys name them, with their way on the screen.
struct Way {
    const char* name;
    int32_t dx;
    int32_t dy;
};
const Way kWays[] = {{"n", 0, -1}, {"e", 1, 0}, {"s", 0, 1}, {"w", -1, 0}};

constexpr int32_t kArmyFrame = 16;
constexpr int32_t kArmyHeight = 20;

// A soldier with a flag; walking frames swing the legs and lean the flag the
// way he goes.
Sheet ArmySheet(uint8_t coat, uint8_t trim, int32_t frames, const Way* way) {
    Sheet sheet(kArmyFrame * frames, kArmyHeight);
    for (int32_t f = 0; f < frames; ++f) {
        const int32_t left = f * kArmyFrame;
        const int32_t swing = way ? (f % 2 ? 2 : -2) : 0;
        sheet.FillRect(left + 4, 18, left + 12, 20, kShadow);
        sheet.FillRect(left + 6, 3, left + 10, 7, kSkin);                              // head
        sheet.FillRect(left + 5, 7, left + 11, 13, coat);                              // coat
        sheet.FillRect(left + 5, 12, left + 11, 13, trim);                             // belt
        sheet.FillRect(left + 6 + swing / 2, 13, left + 8 + swing / 2, 18, kDarkBlue); // legs
        sheet.FillRect(left + 8 - swing / 2, 13, left + 10 - swing / 2, 18, kDarkBlue);
        sheet.FillRect(left + 12, 1, left + 13, 17, kDarkWood); // pole
        const int32_t lean = way ? way->dx : 0;
        sheet.FillRect(left + 13 + lean, 1, left + 16 + lean, 5, trim); // flag
        if (way && way->dy != 0)
            sheet.Set(left + 8, way->dy < 0 ? 2 : 19, kGold);
    }
    return sheet;
}

// A ship rocking on two frames.
Sheet NavySheet() {
    Sheet sheet(2 * 24, 20);
    for (int32_t f = 0; f < 2; ++f) {
        const int32_t left = f * 24;
        const int32_t rock = f;
        sheet.FillRect(left + 3, 14 + rock, left + 21, 18 + rock, kWood);
        sheet.FillRect(left + 5, 17 + rock, left + 19, 19, kDarkWood);
        sheet.FillRect(left + 11, 2, left + 12, 15, kDarkWood);
        sheet.FillRect(left + 6, 4 + rock, left + 11, 12, kSail);
        sheet.FillRect(left + 12, 5 - rock, left + 18, 12, kSail);
        sheet.FillRect(left + 12, 1, left + 16, 3, kRed);
    }
    return sheet;
}

// Houses under roofs round a church; a larger town at level 2.
Sheet CitySheet(int32_t level) {
    const int32_t size = 16 + 8 * level;
    Sheet sheet(size, size);
    sheet.FillRect(2, size - 3, size - 2, size, kShadow);
    for (int32_t i = 0; i < level + 2; ++i) {
        const int32_t x = 2 + i * 6;
        sheet.FillRect(x, size - 10, x + 5, size - 3, kStone);
        sheet.FillRect(x, size - 12, x + 5, size - 10, kRoof);
        sheet.Set(x + 2, size - 7, kGold);
    }
    sheet.FillRect(size - 7, size - 18, size - 4, size - 3, kDarkStone);
    sheet.Set(size - 6, size - 20, kGold);
    sheet.Set(size - 6, size - 19, kGold);
    return sheet;
}

// Flames for the light map: the index / 8 is the brightening, strongest in
// the middle; four flickering frames.
Sheet FireSheet() {
    constexpr int32_t kSize = 16;
    Sheet sheet(4 * kSize, kSize);
    for (int32_t f = 0; f < 4; ++f)
        for (int32_t y = 0; y < kSize; ++y)
            for (int32_t x = 0; x < kSize; ++x) {
                const double dx = (x - 7.5) / 6.0;
                const double dy = (y - 9.0 - (f % 2)) / (7.0 + f % 3);
                const double d = dx * dx + dy * dy;
                if (d < 1.0)
                    sheet.Set(f * kSize + x, y,
                              static_cast<uint8_t>(int{kFirstFlame} + (1.0 - d) * 239.0));
            }
    return sheet;
}

// A siege tower by a cannon puffing smoke on the second frame.
Sheet SiegeSheet() {
    Sheet sheet(2 * 20, 20);
    for (int32_t f = 0; f < 2; ++f) {
        const int32_t left = f * 20;
        sheet.FillRect(left + 2, 18, left + 18, 20, kShadow);
        sheet.FillRect(left + 3, 4, left + 9, 18, kWood);
        sheet.FillRect(left + 3, 2, left + 9, 4, kDarkWood);
        sheet.FillRect(left + 11, 14, left + 17, 16, kBlack);
        sheet.FillRect(left + 12, 16, left + 14, 18, kDarkWood);
        if (f == 1)
            sheet.FillRect(left + 15, 10, left + 19, 14, kStone);
    }
    return sheet;
}

// A travelling colonist's or trader's covered wagon drawn by a horse, going
// east; the wheels turn between the two frames.
Sheet WagonSheet() {
    Sheet sheet(2 * 24, 16);
    for (int32_t f = 0; f < 2; ++f) {
        const int32_t left = f * 24;
        sheet.FillRect(left + 2, 14, left + 23, 16, kShadow);
        sheet.FillRect(left + 2, 4, left + 13, 10, kSail);      // the cover
        sheet.FillRect(left + 2, 10, left + 13, 12, kWood);     // the bed
        sheet.FillRect(left + 13, 9, left + 16, 10, kDarkWood); // the shaft
        sheet.FillRect(left + 16, 6, left + 22, 10, kDarkWood); // the horse
        sheet.FillRect(left + 21, 4, left + 23, 7, kDarkWood);
        sheet.FillRect(left + 16 + f, 10, left + 17 + f, 14, kDarkWood);
        sheet.FillRect(left + 21 - f, 10, left + 22 - f, 14, kDarkWood);
        for (int32_t wheel : {4, 10}) {
            sheet.FillRect(left + wheel, 11, left + wheel + 3, 14, kBlack);
            sheet.Set(left + wheel + 1 + (f == 0 ? 0 : 1), 12, kWood);
        }
    }
    return sheet;
}

struct Definition {
    std::string file;   // the .spr file's name, holding its key
    std::string bitmap; // the sheet's name
    Sheet sheet;
    int32_t frames;
    int32_t originX;
    int32_t originY;
    int32_t speed;
    bool isStatic = false;
    int32_t transparency = 0;
    int32_t opacity = 0;
};

std::string SprText(const Definition& d) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "# %s\nsprite = {\n    bitmap = \"%s\"\n    frames = %d\n    speed = %d\n"
                  "    origin = { x = %d y = %d }\n    palette = \"units.act\"\n    static = %s\n",
                  d.file.c_str(), d.bitmap.c_str(), d.frames, d.speed, d.originX, d.originY,
                  d.isStatic ? "yes" : "no");
    std::string out = text;
    if (d.transparency != 0) {
        std::snprintf(text, sizeof text, "    transparency = %d\n    opacity = %d\n",
                      d.transparency, d.opacity);
        out += text;
    }
    return out + "}\n";
}

bool WriteUnitSprites(const std::filesystem::path& game) {
    std::vector<Definition> definitions;
    const struct {
        const char* culture;
        uint8_t coat;
        uint8_t trim;
    } cultures[] = {{"eng", kRed, kWhite}, {"fra", kBlue, kWhite}};
    for (const auto& culture : cultures) {
        const std::string prefix = std::string("c-") + culture.culture + ".t-army.";
        definitions.push_back({prefix + "a-stand.spr",
                               std::string("army_") + culture.culture + "_stand.bmp",
                               ArmySheet(culture.coat, culture.trim, 1, nullptr), 1, 8, 18, 25});
        for (const Way& way : kWays)
            definitions.push_back(
                {prefix + "a-walk.d-" + way.name + ".spr",
                 std::string("army_") + culture.culture + "_walk_" + way.name + ".bmp",
                 ArmySheet(culture.coat, culture.trim, 4, &way), 4, 8, 18, 12});
    }
    definitions.push_back({"t-navy.a-stand.spr", "navy.bmp", NavySheet(), 2, 12, 17, 40});
    definitions.push_back({"t-city.l-1.spr", "city1.bmp", CitySheet(1), 1, 12, 21, 0, true});
    definitions.push_back({"t-city.l-2.spr", "city2.bmp", CitySheet(2), 1, 16, 29, 0, true});
    definitions.push_back({"t-fire.spr", "fire.bmp", FireSheet(), 4, 8, 12, 6, false, 1, 0});
    definitions.push_back({"t-siege.a-siegetower.spr", "siege.bmp", SiegeSheet(), 2, 10, 18, 30});
    definitions.push_back({"t-mec.a-wagon.d-e.l-1.spr", "wagon.bmp", WagonSheet(), 2, 12, 14, 20});

    const ColourTable colours = UnitColours();
    const std::filesystem::path units = game / "gfx" / "map" / "units";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "units.act", demo::MakeAct(colours));
    for (const Definition& d : definitions) {
        ok = demo::WriteFile(units / d.file, SprText(d)) && ok;
        ok = demo::WriteFile(units / "bmp" / d.bitmap, d.sheet.Bmp(colours)) && ok;
    }
    return ok;
}

// Arrow heads: a yellow triangle outlined in black, one frame per direction,
// turning clockwise from north.
bool WriteArrows(const std::filesystem::path& game) {
    constexpr int32_t kSize = 16;
    std::vector<Rgb> pixels(static_cast<size_t>(8 * kSize) * kSize, Rgb{0, 255, 0});
    for (int32_t d = 0; d < 8; ++d) {
        const double angle = d * 3.14159265358979 / 4.0;
        const double ux = demo::maths::Sin(angle),
                     uy = -demo::maths::Cos(angle); // the way it points
        for (int32_t y = 0; y < kSize; ++y)
            for (int32_t x = 0; x < kSize; ++x) {
                const double px = x + 0.5 - kSize / 2.0, py = y + 0.5 - kSize / 2.0;
                const double along = px * ux + py * uy; // -6 (base) .. 6 (tip)
                const double across = px * -uy + py * ux;
                const double halfWidth = (6.0 - along) * 0.5;
                if (along < -5.0 || along > 6.0 || std::abs(across) > halfWidth)
                    continue;
                const bool edge = along < -4.0 || std::abs(across) > halfWidth - 1.2;
                pixels[static_cast<size_t>(y) * 8 * kSize + d * kSize + x] =
                    edge ? Rgb{30, 20, 10} : Rgb{250, 215, 60};
            }
    }
    return demo::WriteFile(game / "gfx" / "map" / "T-MAP_ARROWS.bmp",
                           demo::MakeBmp24(8 * kSize, kSize, pixels));
}

// The landscape: six bands of 40 colours from index 2, one per terrain,
// dark to light.
constexpr int32_t kTerrainShades = 40;
const char* const kTerrains[] = {"Plains", "Forest", "Mountain", "Desert", "Marsh", "Sea"};

ColourTable LandscapeColours() {
    const Rgb dark[] = {{60, 100, 30},  {15, 50, 15}, {70, 65, 60},
                        {170, 130, 70}, {50, 60, 35}, {10, 30, 90}};
    const Rgb light[] = {{150, 200, 80},  {70, 130, 50},  {230, 230, 235},
                         {245, 225, 160}, {130, 150, 90}, {90, 150, 220}};
    ColourTable colours{};
    for (int32_t t = 0; t < 6; ++t)
        for (int32_t i = 0; i < kTerrainShades; ++i) {
            const double k = i / (kTerrainShades - 1.0);
            auto mix = [k](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * k); };
            colours[static_cast<size_t>(2 + t * kTerrainShades + i)] = {
                mix(dark[t].r, light[t].r), mix(dark[t].g, light[t].g), mix(dark[t].b, light[t].b)};
        }
    return colours;
}

// The shade (0..39) of a tile's pixel; the second frame is the same ground
// in another light.
int32_t TileShade(int32_t terrain, int32_t variant, int32_t frame, int32_t x, int32_t y) {
    const uint32_t seed =
        static_cast<uint32_t>((x * 7 + y * 13 + variant * 31) * 2654435761u) >> 28;
    int32_t shade = 14 + static_cast<int32_t>(seed % 6);
    switch (terrain) {
    case 1: // trees
        if (((x + variant * 5) % 8 - 4) * ((x + variant * 5) % 8 - 4) +
                ((y + 3) % 8 - 4) * ((y + 3) % 8 - 4) <
            7)
            shade = 6 + (y % 8);
        break;
    case 2: // peaks
        if (std::abs(x - 16 - variant * 4) < (y - 4) / 2 + 1 && y > 4)
            shade = y < 14 ? 36 : 8 + y / 2;
        break;
    case 3: // dunes
        shade = 16 + static_cast<int32_t>(8 * demo::maths::Sin((x + y * 0.5 + variant * 9) / 4.0));
        break;
    case 5: // waves
        shade = 14 + static_cast<int32_t>(6 * demo::maths::Sin((x + variant * 7) / 3.0 + y));
        break;
    default:
        break;
    }
    shade += frame ? 6 : 0;
    return shade < 0 ? 0 : (shade > kTerrainShades - 1 ? kTerrainShades - 1 : shade);
}

constexpr int32_t kLandscapeVariants = 4;

bool WriteLandscape(const std::filesystem::path& game) {
    constexpr int32_t kTile = 32;
    const ColourTable colours = LandscapeColours();
    const std::filesystem::path folder = game / "gfx" / "map" / "landscape";
    std::vector<uint8_t> swatch(256);
    for (int i = 0; i < 256; ++i)
        swatch[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    const std::vector<uint8_t> palette = demo::MakeBmp8(16, 16, swatch, colours);
    bool ok = demo::WriteFile(folder / "landscape_palette.bmp", palette);
    ok = demo::WriteFile(game / "gfx" / "palette" / "landscape_palette.bmp", palette) && ok;
    for (int32_t terrain = 0; terrain < 6; ++terrain)
        for (int32_t variant = 0; variant < kLandscapeVariants; ++variant) {
            Sheet tile(2 * kTile, kTile);
            for (int32_t frame = 0; frame < 2; ++frame)
                for (int32_t y = 0; y < kTile; ++y)
                    for (int32_t x = 0; x < kTile; ++x)
                        tile.Set(frame * kTile + x, y,
                                 static_cast<uint8_t>(2 + terrain * kTerrainShades +
                                                      TileShade(terrain, variant, frame, x, y)));
            ok = demo::WriteFile(
                     folder / (std::string(kTerrains[terrain]) + std::to_string(variant) + ".bmp"),
                     tile.Bmp(colours)) &&
                 ok;
        }
    return ok;
}

const demo::DemoWriter kUnitSpriteWriter("gfx/map/units", &WriteUnitSprites);
const demo::DemoWriter kArrowWriter("gfx/map/T-MAP_ARROWS.bmp", &WriteArrows);
const demo::DemoWriter kLandscapeWriter("gfx/map/landscape", &WriteLandscape);
// The hover text of a traveller's wagon.
const demo::DemoText kTravellerText("MECENATROLLOVER", "A colonist or trader on the way.");

} // namespace
