// The real program, started on the known world of 1492, shows the map: the
// map view right of the sidebar (from x = 224) and the minimap at (32, 504)
// are drawn over what the loading screen left. A screenshot of the running
// game, shrunk, is compared with a small golden picture (ORV_UPDATE_GOLDENS
// set in the environment writes it anew). Until the main game screen exists
// nothing centres the view on the player's country, so the view shows the
// map's first corner, still undiscovered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "tests/e2e/ProgramRun.h"

namespace {

constexpr int kShrink = 8;

TEST(ProgramMapScreen, TheKnownWorldShowsTheMap) {
    e2e::ProgramRun run;
    ASSERT_EQ(run.Run({"3 play scenarios\\world_1492 8 0", "INIT_SCRIPT screenshot loading.bmp",
                       "40 screenshot map.bmp", "41 close"}),
              0)
        << run.Stderr();
    ASSERT_GE(run.IndexOf("scenario started scenarios\\world_1492.ovg running"), 0) << run.Stderr();
    const e2e::Picture shot = e2e::ReadPicture(run.PathOf("map.bmp").string());
    ASSERT_EQ(shot.width, 800) << run.Stderr();
    ASSERT_EQ(shot.height, 600);

    // The view covers the loading screen: one colour from x = 224 on, where
    // the loading screen has its sky, towers and bar.
    const e2e::Picture loading = e2e::ReadPicture(run.PathOf("loading.bmp").string());
    ASSERT_EQ(loading.width, 800) << run.Stderr();
    std::set<uint32_t> viewColours;
    std::set<uint32_t> loadingColours;
    auto colour = [](const uint8_t* p) {
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    };
    for (int y = 0; y < 600; ++y)
        for (int x = 224; x < 800; ++x) {
            viewColours.insert(colour(shot.At(x, y)));
            loadingColours.insert(colour(loading.At(x, y)));
        }
    EXPECT_LE(viewColours.size(), 4u);
    EXPECT_GE(loadingColours.size(), 50u);

    const e2e::Picture small = e2e::CropAndShrink(shot, 0, 0, 800, 600, kShrink);
    const std::string golden = std::string(ORV_GOLDEN_DIR) + "/map_world_1492.bmp";
    if (std::getenv("ORV_UPDATE_GOLDENS"))
        e2e::WritePicture(golden, small);
    const e2e::Picture expected = e2e::ReadPicture(golden);
    ASSERT_EQ(expected.width, small.width) << golden;
    ASSERT_EQ(expected.height, small.height);
    int worst = 0;
    for (size_t i = 0; i < small.rgb.size(); ++i)
        worst = std::max(worst, std::abs(int(small.rgb[i]) - int(expected.rgb[i])));
    EXPECT_LE(worst, 8);
}

} // namespace
