// The loading screen's bar picture, gfx\loadingbar.bmp, and the captions of
// the start-up stages. The picture is a bronze plate with rounded ends and
// a bevelled window through which the progress bar shows; the window and
// the corners are pure green (transparent).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/Maths.h"

namespace {

using demo::Rgb;

constexpr int32_t kWidth = 480;
constexpr int32_t kHeight = 60;
// The window over the progress bar (the bar lies at 40 pixels right of and
// 19 pixels below the picture's corner, 400 x 25).
constexpr int32_t kWindowLeft = 40;
constexpr int32_t kWindowTop = 19;
constexpr int32_t kWindowRight = 440;
constexpr int32_t kWindowBottom = 44;
constexpr int32_t kCornerRadius = 14;
constexpr Rgb kKey{0, 255, 0};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// Distance of the pixel's centre outside the rounded rectangle (negative
// inside).
double OutsideRounded(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                      int32_t bottom, double radius) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double cx = std::clamp(px, left + radius, right - radius);
    const double cy = std::clamp(py, top + radius, bottom - radius);
    return demo::maths::Hypot(px - cx, py - cy) - radius;
}

std::vector<uint8_t> MakeLoadingBar() {
    const Rgb plateTop{150, 110, 55};
    const Rgb plateLow{80, 55, 25};
    const Rgb rim{210, 170, 90};
    const Rgb rimShadow{50, 34, 15};
    const Rgb rivet{235, 200, 120};
    std::vector<Rgb> pixels(static_cast<size_t>(kWidth) * kHeight, kKey);
    auto at = [&pixels](int32_t x, int32_t y) -> Rgb& {
        return pixels[static_cast<size_t>(y) * kWidth + x];
    };

    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const double outside = OutsideRounded(x, y, 0, 0, kWidth, kHeight, kCornerRadius);
            if (outside > 0)
                continue;
            // A vertical sheen with a faint grain.
            Rgb colour = Mix(plateTop, plateLow, static_cast<double>(y) / (kHeight - 1));
            colour = Mix(colour, plateLow, ((x * 7 + y * 13) % 11) / 60.0);
            // The raised rim: light on the upper left, dark on the lower right.
            if (outside > -3)
                colour = y < kHeight / 2 ? rim : rimShadow;
            at(x, y) = colour;
        }

    // The window with a two-pixel bevel: shadowed above and left, lit below
    // and right, as if sunk into the plate.
    for (int32_t y = kWindowTop - 2; y < kWindowBottom + 2; ++y)
        for (int32_t x = kWindowLeft - 2; x < kWindowRight + 2; ++x) {
            const bool inside =
                x >= kWindowLeft && x < kWindowRight && y >= kWindowTop && y < kWindowBottom;
            if (inside)
                at(x, y) = kKey;
            else
                at(x, y) = (y < kWindowTop || x < kWindowLeft) ? rimShadow : rim;
        }

    // Rivets at both ends.
    for (int32_t cx : {20, kWidth - 21})
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = cx - 4; x <= cx + 4; ++x) {
                const double d = demo::maths::Hypot(x - cx, y - (kHeight / 2));
                if (d <= 3.5)
                    at(x, y) = d < 1.5 ? Rgb{255, 235, 170} : rivet;
                else if (d <= 4.5)
                    at(x, y) = rimShadow;
            }
    return demo::MakeBmp24(kWidth, kHeight, pixels);
}

bool WriteLoadingBar(const std::filesystem::path& game) {
    return demo::WriteFile(game / "gfx" / "loadingbar.bmp", MakeLoadingBar());
}

const demo::DemoWriter kLoadingBarWriter("gfx/loadingbar.bmp", &WriteLoadingBar);

// The captions of the start-up stages.
const demo::DemoText kStageTexts[] = {
    {"INIT_SOUND", "Loading sounds..."},
    {"INIT_INTERFACE", "Building the interface..."},
    {"INIT_GAMEMAP_SPRITES", "Loading the map..."},
    {"INIT_GLOBALS", "Preparing the world..."},
};

} // namespace
