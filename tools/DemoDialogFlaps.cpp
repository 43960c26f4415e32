// The flaps of the popup dialogs, drawn here: a ribbon that hangs below the
// shield near each top corner of a dialog, one colour for each frame style
// of the notices: gfx\map\shields\shield_flarp_<style>.bmp (60 x 24, 8-bit,
// index 0 transparent) over the palette gfx\palette\palette_medal.bmp.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"

namespace {

using demo::ColourTable;
using demo::Rgb;

constexpr int32_t kWidth = 60;
constexpr int32_t kHeight = 24;
constexpr int32_t kShades = 4;

struct Style {
    const char* name;
    Rgb colour;
};

constexpr Style kStyles[] = {
    {"dip", {60, 90, 170}},  {"mon", {150, 40, 120}}, {"mis", {40, 130, 70}},
    {"fin", {200, 160, 40}}, {"tra", {40, 140, 150}}, {"mil", {170, 40, 30}},
    {"col", {120, 90, 50}},
};

// 0 transparent, 1 shadow, 2 the gold edge; from 8 on four shades a style.
ColourTable MedalPalette() {
    ColourTable colours{};
    colours[2] = {230, 190, 80};
    for (size_t s = 0; s < std::size(kStyles); ++s)
        for (int32_t shade = 0; shade < kShades; ++shade) {
            const Rgb c = kStyles[s].colour;
            const double f = 0.6 + 0.2 * shade;
            auto ch = [f](uint8_t v) {
                const double x = v * f;
                return static_cast<uint8_t>(x > 255 ? 255 : x);
            };
            colours[8 + s * kShades + static_cast<size_t>(shade)] = {ch(c.r), ch(c.g), ch(c.b)};
        }
    return colours;
}

// A ribbon with forked ends, shaded across its width like a fold.
std::vector<uint8_t> Flap(size_t style) {
    std::vector<uint8_t> pixels(kWidth * kHeight, 0);
    for (int32_t y = 4; y < kHeight - 4; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const int32_t edge = std::abs(y - kHeight / 2);
            // The forks: a notch cut into both ends.
            if ((x < 6 && x < 6 - (7 - edge)) ||
                (x >= kWidth - 6 && kWidth - 1 - x < 6 - (7 - edge)))
                continue;
            uint8_t index;
            if (y == 4 || y == kHeight - 5)
                index = 2;
            else
                index = static_cast<uint8_t>(
                    8 + style * kShades +
                    static_cast<size_t>((x / 15 + (y < kHeight / 2)) % kShades));
            pixels[static_cast<size_t>(y * kWidth + x)] = index;
        }
    return pixels;
}

bool WriteFlaps(const std::filesystem::path& game) {
    const ColourTable palette = MedalPalette();
    std::vector<uint8_t> swatch(256);
    for (int i = 0; i < 256; ++i)
        swatch[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "palette_medal.bmp",
                              demo::MakeBmp8(16, 16, swatch, palette));
    for (size_t s = 0; s < std::size(kStyles); ++s)
        ok = demo::WriteFile(game / "gfx" / "map" / "shields" /
                                 (std::string("shield_flarp_") + kStyles[s].name + ".bmp"),
                             demo::MakeBmp8(kWidth, kHeight, Flap(s), palette)) &&
             ok;
    return ok;
}

const demo::DemoWriter kFlapWriter("gfx/map/shields/shield_flarp_", &WriteFlaps);

} // namespace
