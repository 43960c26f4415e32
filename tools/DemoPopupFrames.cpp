// The frames of the popup windows, drawn here:
//   gfx\interface\win_{b,bl,br,c,cl,cr,t,tl,tr}.bmp (16 x 16 tiles) and
//   gfx\interface\win8_*.bmp (8 x 8 tiles): 8-bit pictures over the
//   palette gfx\palette\dialogue.act: a gold rim with a dark bevel around a
//   dark walnut field;
//   gfx\palette\dialogue.act itself;
//   gfx\interface\btn_saveload.bmp: the file browser's button face, four
//   frames of 100 x 28 (plain, over, down, disabled), labelled by the game.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"

namespace {

using demo::ColourTable;
using demo::Rgb;

// Palette indices (0 and 1 are the transparent and shadow indices of the
// game's 8-bit pictures and stay unused).
constexpr uint8_t kSeeThrough = 2; // RGB(35, 35, 35): the game shows through, darkened
constexpr uint8_t kRimDark = 3;
constexpr uint8_t kRimMid = 4;
constexpr uint8_t kRimLight = 5;
constexpr uint8_t kBevel = 6;
constexpr uint8_t kFieldFirst = 16; // 16 shades of the field
constexpr uint8_t kFieldCount = 16;

ColourTable DialoguePalette() {
    ColourTable colours{};
    colours[kSeeThrough] = {35, 35, 35};
    colours[kRimDark] = {120, 84, 24};
    colours[kRimMid] = {196, 150, 52};
    colours[kRimLight] = {246, 214, 120};
    colours[kBevel] = {22, 14, 8};
    for (uint8_t i = 0; i < kFieldCount; ++i)
        colours[kFieldFirst + i] = {static_cast<uint8_t>(48 + i * 2), static_cast<uint8_t>(32 + i),
                                    static_cast<uint8_t>(22 + i / 2)};
    for (int i = kFieldFirst + kFieldCount; i < 256; ++i)
        colours[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 2),
                                           static_cast<uint8_t>(i / 4)};
    return colours;
}

uint32_t Mix(uint32_t value) {
    value ^= value >> 15;
    value *= 0x2C1B3C6Du;
    value ^= value >> 12;
    value *= 0x297A2D39u;
    value ^= value >> 15;
    return value;
}

// The walnut field: shades varying with the position on the window, so
// that tiles join without seams.
uint8_t Field(int32_t x, int32_t y) {
    uint32_t grain = Mix(static_cast<uint32_t>(y * 7 + (x / 3) * 131));
    return static_cast<uint8_t>(kFieldFirst + (grain % 5) + ((x + y / 2) % 11 == 0 ? 3 : 0));
}

// One tile: which sides carry the rim (left, top, right, bottom).
std::vector<uint8_t> Tile(int32_t size, bool left, bool top, bool right, bool bottom) {
    const int32_t rim = size / 4; // 4 pixels on 16, 2 on 8
    std::vector<uint8_t> pixels(static_cast<size_t>(size * size));
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            // Distance into the rim from the nearest outer side that has one.
            int32_t depth = size;
            if (left)
                depth = std::min(depth, x);
            if (top)
                depth = std::min(depth, y);
            if (right)
                depth = std::min(depth, size - 1 - x);
            if (bottom)
                depth = std::min(depth, size - 1 - y);
            uint8_t colour;
            if (depth < rim) {
                colour = depth == 0 ? kRimDark : depth == rim - 1 ? kRimLight : kRimMid;
            } else if (depth == rim) {
                colour = kBevel;
            } else {
                colour = Field(x, y);
            }
            pixels[static_cast<size_t>(y * size + x)] = colour;
        }
    return pixels;
}

bool WriteFrames(const std::filesystem::path& game) {
    const ColourTable palette = DialoguePalette();
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "dialogue.act", demo::MakeAct(palette));
    struct Piece {
        const char* suffix;
        bool left, top, right, bottom;
    } pieces[] = {
        {"b", false, false, false, true},  {"bl", true, false, false, true},
        {"br", false, false, true, true},  {"c", false, false, false, false},
        {"cl", true, false, false, false}, {"cr", false, false, true, false},
        {"t", false, true, false, false},  {"tl", true, true, false, false},
        {"tr", false, true, true, false},
    };
    for (int32_t size : {16, 8})
        for (const Piece& p : pieces) {
            const std::string name = std::string(size == 16 ? "win_" : "win8_") + p.suffix + ".bmp";
            ok = demo::WriteFile(game / "gfx" / "interface" / name,
                                 demo::MakeBmp8(size, size,
                                                Tile(size, p.left, p.top, p.right, p.bottom),
                                                palette)) &&
                 ok;
        }
    return ok;
}

// A bevelled bronze plate; lighter over, sunk down, grey disabled.
bool WriteSaveLoadButton(const std::filesystem::path& game) {
    constexpr int32_t kW = 100;
    constexpr int32_t kH = 28;
    std::vector<Rgb> pixels(static_cast<size_t>(4 * kW * kH));
    for (int32_t frame = 0; frame < 4; ++frame) {
        const Rgb base = frame == 3   ? Rgb{110, 110, 110}
                         : frame == 1 ? Rgb{176, 128, 64}
                                      : Rgb{136, 94, 44};
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x) {
                const bool lit = x < 2 || y < 2;
                const bool dark = x >= kW - 2 || y >= kH - 2;
                double f = 1.0;
                if (lit)
                    f = frame == 2 ? 0.55 : 1.45;
                else if (dark)
                    f = frame == 2 ? 1.45 : 0.55;
                auto ch = [f](uint8_t v) {
                    const double c = v * f;
                    return static_cast<uint8_t>(c > 255 ? 255 : c);
                };
                pixels[static_cast<size_t>(y * 4 * kW + frame * kW + x)] = {ch(base.r), ch(base.g),
                                                                            ch(base.b)};
            }
    }
    return demo::WriteFile(game / "gfx" / "interface" / "btn_saveload.bmp",
                           demo::MakeBmp24(4 * kW, kH, pixels));
}

const demo::DemoWriter kFrameWriter("gfx/interface/win_", &WriteFrames);
const demo::DemoWriter kSaveLoadWriter("gfx/interface/btn_saveload.bmp", &WriteSaveLoadButton);

} // namespace
