// The pictures under each unit's figure, drawn with the status-bar palette
// ("gfx\palette\statusbar.act": 0 and 1 black, then a ramp from green over
// yellow and red to dark red):
//   gfx\interface\statusbar.bmp, the fill-level bar, 44 x 7: a dark frame
//   around three rows of fill (rows 2 to 4 from column 2);
//   gfx\interface\profsmall.bmp, three small pictures of 10 x 7 side by
//   side: an explorer's compass, a conquistador's helmet, a cargo crate.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/PictureSheet.h"

namespace {

using demo::ColourTable;
using demo::Rgb;

constexpr int32_t kBarWidth = 44;
constexpr int32_t kBarHeight = 7;
constexpr int32_t kSmallWidth = 10;
constexpr int32_t kSmallHeight = 7;

// The status-bar palette's colours, for the pictures' own colour tables.
ColourTable StatusColours() {
    const std::vector<Rgb> stops = {{20, 90, 20}, {210, 200, 40}, {200, 40, 20}, {90, 10, 10}};
    ColourTable colours{};
    for (int i = 2; i < 256; ++i) {
        const double t = (i - 2) / 253.0 * static_cast<double>(stops.size() - 1);
        const size_t at = std::min(static_cast<size_t>(t), stops.size() - 2);
        const double f = t - static_cast<double>(at);
        auto channel = [f](uint8_t x, uint8_t y) {
            return static_cast<uint8_t>(std::lround(x + (y - x) * f));
        };
        const Rgb a = stops[at];
        const Rgb b = stops[at + 1];
        colours[static_cast<size_t>(i)] = {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
    }
    return colours;
}

// Ramp indices: the frame, a light and a dark mark.
constexpr uint8_t kFrame = 250;
constexpr uint8_t kEmpty = 255;
constexpr uint8_t kLight = 90;
constexpr uint8_t kDark = 200;

bool WriteUnitWidgets(const std::filesystem::path& game) {
    const ColourTable colours = StatusColours();
    const std::filesystem::path folder = game / "gfx" / "interface";

    demo::Sheet bar(kBarWidth, kBarHeight);
    bar.FillRect(0, 0, kBarWidth, kBarHeight, kFrame);
    bar.FillRect(2, 2, kBarWidth - 2, 5, kEmpty);
    bool ok = demo::WriteFile(folder / "statusbar.bmp", bar.Bmp(colours));

    demo::Sheet small(3 * kSmallWidth, kSmallHeight);
    // Explorer: a compass rose.
    small.FillDisc2(10, 7, 5, kLight);
    small.FillRect(4, 0, 6, kSmallHeight, kDark);
    small.FillRect(1, 3, 9, 4, kDark);
    // Conquistador: a crested helmet.
    const int32_t c = kSmallWidth;
    small.FillRect(c + 2, 3, c + 8, 6, kLight);
    small.FillRect(c + 1, 5, c + 9, 6, kDark);
    small.FillRect(c + 4, 0, c + 6, 3, kDark);
    // Cargo: a crate with its boards.
    const int32_t k = 2 * kSmallWidth;
    small.FillRect(k + 1, 1, k + 9, 7, kLight);
    small.FillRect(k + 1, 3, k + 9, 4, kDark);
    small.FillRect(k + 4, 1, k + 6, 7, kDark);
    ok = demo::WriteFile(folder / "profsmall.bmp", small.Bmp(colours)) && ok;
    return ok;
}

const demo::DemoWriter kUnitWidgetsWriter("gfx/interface/statusbar.bmp", &WriteUnitWidgets);

} // namespace
