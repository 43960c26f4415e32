// The two pictures of the minimap, drawn from the generated map: the known
// world (land by terrain, shaded by height; the sea; the ice) and the
// undiscovered world (plain parchment). The minimap shows one or the other
// per pixel, as the player's discoveries go.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/WorldMap.h"

namespace {

using demo::Rgb;

constexpr int32_t kWidth = 192;
constexpr int32_t kHeight = 74;

Rgb Shade(Rgb colour, int32_t percent) {
    auto scale = [&](uint8_t c) {
        return static_cast<uint8_t>(std::clamp(c * percent / 100, 0, 255));
    };
    return {scale(colour.r), scale(colour.g), scale(colour.b)};
}

// The colour of the world at a map point.
Rgb KnownColour(const demo::WorldMap& map, int32_t x, int32_t y) {
    const demo::WorldProvince& p = map.Province(map.ProvinceAt(x, y));
    static const Rgb kTerrain[9] = {{118, 150, 72},  {64, 110, 56}, {140, 124, 100},
                                    {206, 186, 120}, {92, 120, 96}, {46, 84, 150},
                                    {150, 130, 96},  {46, 84, 150}, {236, 240, 246}};
    if (p.kind == demo::ProvinceKind::kSea)
        return {46, 84, 150};
    if (p.kind == demo::ProvinceKind::kLake)
        return {70, 110, 180};
    const int32_t height = map.HeightAt(x, y);
    return Shade(kTerrain[p.terrain], 80 + height / 6);
}

bool WriteMinimaps(const std::filesystem::path& game) {
    const demo::WorldMap& map = demo::TheWorldMap();
    std::vector<Rgb> known;
    std::vector<Rgb> empty;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const int32_t mx = x * demo::kMapWidth / kWidth + demo::kMapWidth / kWidth / 2;
            const int32_t my = y * demo::kMapHeight / kHeight + demo::kMapHeight / kHeight / 2;
            known.push_back(KnownColour(map, mx, my));
            const int32_t grain = static_cast<int32_t>((x * 7 + y * 13) % 5);
            empty.push_back({static_cast<uint8_t>(222 - grain * 3),
                             static_cast<uint8_t>(204 - grain * 3),
                             static_cast<uint8_t>(160 - grain * 2)});
        }
    return demo::WriteFile(game / "gfx" / "map" / "minimapfull.bmp",
                           demo::MakeBmp24(kWidth, kHeight, known)) &&
           demo::WriteFile(game / "gfx" / "map" / "minimapempty.bmp",
                           demo::MakeBmp24(kWidth, kHeight, empty));
}

const demo::DemoWriter kMinimapWriter("gfx/map/minimap", &WriteMinimaps);

} // namespace
