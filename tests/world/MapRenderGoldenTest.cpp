// The generated world's map view drawn at zoom 0, 2 and 4 against pictures
// kept beside the test (16-bit pixels in the format named by the file, RGB565
// when none is named, row by row, low byte first). ORV_UPDATE_GOLDEN=1
// writes them anew from what is drawn. The fog covers what the player has
// not discovered, and only that.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/Pixel.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "world/Map.h"
#include "world/MapModes.h"
#include "world/MapRender.h"
#include "world/MapTables.h"
#include "world/MapView.h"
#include "world/Minimap.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kWidth = 128;
constexpr int32_t kHeight = 96;

fs::path GoldenPath(const std::string& name) {
    return fs::path(ORV_WORLD_TEST_DIR) / "golden" / name;
}

std::vector<uint8_t> Bytes(const std::vector<uint16_t>& pixels) {
    std::vector<uint8_t> out;
    for (uint16_t p : pixels) {
        out.push_back(static_cast<uint8_t>(p));
        out.push_back(static_cast<uint8_t>(p >> 8));
    }
    return out;
}

class MapRenderGoldenTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_format = g_pixelFormat;
        SetPixelFormat(kPixelFormat565);
        test::InFolder game{test::DemoWorldDir()};
        ASSERT_TRUE(m_map.Load());
        ASSERT_TRUE(LoadProvinces());
        RecolourMap(0, MAPMODE_TERRAIN);
        BuildMapShadeTable();
        // The player knows every province below id 700: the rest lies in
        // the fog.
        ResetFog(0);
        for (int32_t id = 1; id < 700; ++id)
            RevealProvince(0, id);
        SetViewRect(0, 0, kWidth, kHeight);
        delete g_mapImage;
        g_mapImage = new CImage(kWidth, kHeight, 16, kImageMemory);
        g_dirtyColumns = kWidth / 32;
        g_dirtyRows = kHeight / 32;
        g_dirtyCells.assign(static_cast<size_t>(g_dirtyColumns) * g_dirtyRows, 1);
        g_screen = std::make_unique<CImage>(kWidth, kHeight, 16, kImageMemory);
    }
    void TearDown() override {
        FreeMapData();
        g_screen.reset();
        for (int32_t id = 0; id < kProvinceRecords; ++id)
            g_provinces[static_cast<size_t>(id)].knownToPlayer = 0;
        g_incGrid.ResetFog();
        g_zoomShift = 0;
        SetViewRect(0, 0, 800, 600);
        SetViewCentre(0, 0);
        SetPixelFormat(m_format);
    }

    void CheckAgainstGolden(const std::string& name) {
        g_mapRedraw = 1;
        m_map.Draw(0);
        m_map.Draw(2);
        const std::vector<uint8_t> drawn = Bytes(imagetest::Pixels16(*g_screen));
        const fs::path path = GoldenPath(name);
        const char* update = std::getenv("ORV_UPDATE_GOLDEN");
        if (update && std::string(update) == "1") {
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(drawn.data()),
                       static_cast<std::streamsize>(drawn.size()));
            return;
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path << " is missing; ORV_UPDATE_GOLDEN=1 writes it";
        const std::vector<uint8_t> golden{std::istreambuf_iterator<char>(in), {}};
        ASSERT_EQ(golden.size(), drawn.size());
        size_t differ = 0;
        for (size_t i = 0; i < golden.size(); ++i)
            differ += golden[i] != drawn[i];
        EXPECT_EQ(differ, 0u) << name << " (ORV_UPDATE_GOLDEN=1 rewrites it)";
    }

    // Draws in the pixel format from now on.
    static void UseFormat(int32_t format) {
        SetPixelFormat(format);
        BuildMapShadeTable();
    }

    // The whole view drawn afresh, pixel by pixel.
    std::vector<uint16_t> DrawView() {
        g_mapRedraw = 1;
        m_map.Draw(0);
        m_map.Draw(2);
        return imagetest::Pixels16(*g_screen);
    }

    // The parchment of the fog: the lowest row of the shade table.
    static std::set<uint16_t> Parchment() {
        const auto& row = g_mapShadeTable[4];
        return std::set<uint16_t>(row.begin(), row.end());
    }

    CMap m_map;
    int32_t m_format = kPixelFormat565;
};

TEST_F(MapRenderGoldenTest, ViewAtZoomZeroAndFour) {
    g_zoomShift = 0;
    SetViewCentre(9000, 2600);
    CheckAgainstGolden("map_view_zoom0.bin");
    g_zoomShift = 4;
    SetViewCentre(9472, 3648);
    CheckAgainstGolden("map_view_zoom4.bin");
}

TEST_F(MapRenderGoldenTest, ViewAtZoomZeroAndTwoInBothPixelFormats) {
    const struct {
        int32_t format;
        int32_t shift;
        const char* golden;
    } kCases[] = {
        {kPixelFormat565, 0, "map_view_zoom0.bin"},
        {kPixelFormat555, 0, "map_view_zoom0_555.bin"},
        {kPixelFormat565, 2, "map_view_zoom2.bin"},
        {kPixelFormat555, 2, "map_view_zoom2_555.bin"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.golden);
        UseFormat(c.format);
        g_zoomShift = c.shift;
        SetViewCentre(9000, 2600);
        CheckAgainstGolden(c.golden);
    }
}

TEST_F(MapRenderGoldenTest, RevealedProvincesAreClearAndTheRestIsFog) {
    for (int32_t format : {kPixelFormat565, kPixelFormat555}) {
        SCOPED_TRACE(format);
        UseFormat(format);
        const std::set<uint16_t> parchment = Parchment();
        for (int32_t shift : {0, 2}) {
            SCOPED_TRACE(shift);
            g_zoomShift = shift;
            SetViewCentre(9000, 2600);
            // Nothing discovered: parchment wherever the view looks.
            ResetFog(0);
            for (uint16_t pixel : DrawView())
                ASSERT_TRUE(parchment.count(pixel)) << pixel;
            // Everything discovered: no parchment anywhere.
            for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id)
                RevealProvince(0, id);
            for (uint16_t pixel : DrawView())
                ASSERT_FALSE(parchment.count(pixel)) << pixel;
        }
    }
}

} // namespace
