// Map drawing over an 800 x 600 screen: 400 map sprites of encoded 8-bit
// frames drawn through the map view, and a route of 12 points with its
// shadow, ramps and arrow heads, each against a memcpy of the screen's bytes
// as the baseline. Runs in the demo world (the placeholder picture and the
// arrow heads).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/Display.h"
#include "engine/Palette.h"
#include "tests/TestSupport.h"
#include "ui/map/RouteArrows.h"
#include "world/MapView.h"
#include "world/map/MapSprite.h"

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kSprites = 400;

// The screen, a 4-frame 24 x 24 sheet shared by every sprite, the sprites
// spread over the view, and a route across it.
struct Scene {
    test::InFolder game{test::DemoWorldDir()};
    CPalette palette{"bench"};
    std::vector<std::unique_ptr<SpriteWorld>> sprites;
    std::unique_ptr<CRouteArrows> route;
    std::vector<uint8_t> from =
        std::vector<uint8_t>(static_cast<size_t>(kWidth) * kHeight * 2, 0x5A);
    std::vector<uint8_t> to = std::vector<uint8_t>(from.size());

    Scene() {
        SetPixelFormat(kPixelFormat565);
        g_screen = std::make_unique<CImage>(kWidth, kHeight, 16, kImageMemory);
        g_screen->Fill(0x1234);
        g_mapViewRect = {0, 0, kWidth, kHeight};
        SetViewCentre(5000, 3000);
        for (int i = 0; i < 256; ++i)
            palette.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i * 3), 0};
        palette.BuildPixelTables();
        for (int32_t n = 0; n < kSprites; ++n) {
            auto sprite = std::make_unique<SpriteWorld>();
            if (n == 0) {
                sprite->CreateImage(96, 24, 8);
                for (int32_t y = 0; y < 24; ++y)
                    for (int32_t x = 0; x < 96; ++x)
                        sprite->image->pixels[y * sprite->image->pitch + x] = static_cast<uint8_t>(
                            (x % 24 - 12) * (x % 24 - 12) + (y - 12) * (y - 12) < 100
                                ? 2 + x * 7 + y
                                : 0);
                sprite->SetPalette(&palette);
                sprite->SetFrameCount(4);
                sprite->BuildImageFrames();
            } else {
                sprite->ShareImage(*sprites.front());
                sprite->SetFrameCount(4);
            }
            sprite->SetPosition(5000 - kWidth / 2 + (n * 97) % kWidth,
                                3000 - kHeight / 2 + (n * 61) % kHeight);
            sprites.push_back(std::move(sprite));
        }
        route = std::make_unique<CRouteArrows>(nullptr);
        for (int32_t p = 0; p < 12; ++p)
            route->AddPoint(4700 + p * 55, 2800 + (p % 3) * 60, 0);
        LoadMapArrows();
        route->BuildCurve();
        route->Show(false);
    }
    ~Scene() {
        sprites.clear();
        FreeMapArrows();
    }
};

Scene& Data() {
    static Scene scene;
    return scene;
}

void BM_Memcpy800x600(benchmark::State& state) {
    Scene& s = Data();
    for (auto _ : state) {
        std::memcpy(s.to.data(), s.from.data(), s.from.size());
        benchmark::DoNotOptimize(s.to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * 2);
}
BENCHMARK(BM_Memcpy800x600);

void BM_MapSprites400(benchmark::State& state) {
    Scene& s = Data();
    for (auto _ : state) {
        for (auto& sprite : s.sprites)
            sprite->Draw(0);
        benchmark::DoNotOptimize(g_screen->pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSprites);
}
BENCHMARK(BM_MapSprites400);

void BM_Route12Points(benchmark::State& state) {
    Scene& s = Data();
    for (auto _ : state) {
        s.route->Draw(0);
        benchmark::DoNotOptimize(g_screen->pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Route12Points);

} // namespace
