// The map viewer's two pictures of the demo world, drawn again and compared
// pixel by pixel with the committed ones: the whole map at zoom 4 (the
// picture in README.md) and the opening view at zoom 0. A change of the
// world generator, the tile decoder, the map modes or the shade table shows
// here. With ORV_UPDATE_GOLDEN=1 in the environment the pictures are
// written over the committed ones instead (after a deliberate change of the
// generated world).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/TestSupport.h"
#include "tools/viewer/MapPicture.h"
#include "tools/viewer/Png.h"

namespace {

namespace fs = std::filesystem;

bool UpdateGoldens() {
    const char* value = std::getenv("ORV_UPDATE_GOLDEN");
    return value && std::string(value) == "1";
}

class MapPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir();
        const fs::path world = test::DemoWorldDir();
        fs::copy(world / "map", s_dir->Path() / "map", fs::copy_options::recursive);
        fs::copy(world / "db", s_dir->Path() / "db", fs::copy_options::recursive);
        test::InFolder inFolder(s_dir->Path());
        s_loaded = viewer::LoadMapForPictures(s_error);
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_loaded) << s_error; }

    // Compares the picture with the golden file (or writes it there).
    static void Compare(const viewer::RgbPicture& picture, const fs::path& golden) {
        std::string error;
        if (UpdateGoldens()) {
            fs::create_directories(golden.parent_path());
            ASSERT_TRUE(viewer::WritePng(golden, picture, error)) << error;
            std::printf("wrote %s\n", golden.string().c_str());
            return;
        }
        viewer::RgbPicture expected;
        ASSERT_TRUE(viewer::ReadPng(golden, expected, error))
            << golden << ": " << error << " (ORV_UPDATE_GOLDEN=1 writes it)";
        ASSERT_EQ(picture.width, expected.width);
        ASSERT_EQ(picture.height, expected.height);
        size_t differing = 0;
        size_t first = picture.rgb.size();
        for (size_t i = 0; i < picture.rgb.size(); i += 3)
            if (picture.rgb[i] != expected.rgb[i] || picture.rgb[i + 1] != expected.rgb[i + 1] ||
                picture.rgb[i + 2] != expected.rgb[i + 2]) {
                first = std::min(first, i / 3);
                ++differing;
            }
        EXPECT_EQ(differing, 0u)
            << golden << ": the first differing pixel is at "
            << first % static_cast<size_t>(picture.width) << ","
            << first / static_cast<size_t>(picture.width)
            << " (after a deliberate change of the world, ORV_UPDATE_GOLDEN=1 rewrites the "
               "picture)";
    }

    static test::TempDir* s_dir;
    static bool s_loaded;
    static std::string s_error;
};

test::TempDir* MapPicture::s_dir = nullptr;
bool MapPicture::s_loaded = false;
std::string MapPicture::s_error;

TEST_F(MapPicture, WholeMapAtZoomFourMatchesTheReadmePicture) {
    const viewer::RgbPicture picture = viewer::DrawWholeMap();
    EXPECT_EQ(picture.width, 1184);
    EXPECT_EQ(picture.height, 456);
    Compare(picture, fs::path(ORV_SOURCE_DIR) / "docs" / "world-map.png");
}

TEST_F(MapPicture, OpeningViewAtZoomZeroMatchesItsGolden) {
    const viewer::RgbPicture picture = viewer::DrawOpeningView();
    EXPECT_EQ(picture.width, 576);
    EXPECT_EQ(picture.height, 608);
    Compare(picture, fs::path(ORV_SOURCE_DIR) / "tests" / "world" / "checks" / "golden" /
                         "opening-view.png");
}

// The PNG files round-trip: a picture with every byte value in each channel
// comes back the same.
TEST(MapPicturePng, WrittenPictureReadsBackUnchanged) {
    test::TempDir dir;
    viewer::RgbPicture picture(257, 3);
    for (size_t i = 0; i < picture.rgb.size(); ++i)
        picture.rgb[i] = static_cast<uint8_t>(i * 7 + i / 771);
    std::string error;
    ASSERT_TRUE(viewer::WritePng(dir.Path() / "a.png", picture, error)) << error;
    viewer::RgbPicture read;
    ASSERT_TRUE(viewer::ReadPng(dir.Path() / "a.png", read, error)) << error;
    EXPECT_EQ(read.width, 257);
    EXPECT_EQ(read.height, 3);
    EXPECT_EQ(read.rgb, picture.rgb);
    // A damaged file is refused, not read as a picture.
    dir.WriteFile("b.png", dir.ReadFile("a.png").substr(0, 60));
    EXPECT_FALSE(viewer::ReadPng(dir.Path() / "b.png", read, error));
}

} // namespace
