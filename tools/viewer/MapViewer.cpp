// The map viewer: draws pictures of the world map of a game folder (see
// MapPicture.h for how a pixel is made) as PNG files.
//
//   map_viewer <game folder> <output folder> [zoom left top width height]
//
// writes "world-map.png" (the whole map at zoom 4, 1184 x 456) and
// "opening-view.png" (the view the game opens on, at zoom 0), or, with the
// five numbers, "map-<zoom>-<left>-<top>.png": width x height pixels at that
// zoom from that map point.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "tools/viewer/MapPicture.h"
#include "tools/viewer/Png.h"

namespace {

bool Save(const std::filesystem::path& path, const viewer::RgbPicture& picture) {
    std::string error;
    if (!viewer::WritePng(path, picture, error)) {
        std::fprintf(stderr, "map_viewer: %s\n", error.c_str());
        return false;
    }
    std::printf("%s (%d x %d)\n", path.string().c_str(), picture.width, picture.height);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 8) {
        std::fprintf(stderr, "usage: map_viewer <game folder> <output folder> "
                             "[zoom left top width height]\n");
        return 2;
    }
    const std::filesystem::path output = std::filesystem::absolute(argv[2]);
    std::error_code ec;
    std::filesystem::create_directories(output, ec);
    std::filesystem::current_path(argv[1], ec);
    if (ec) {
        std::fprintf(stderr, "map_viewer: cannot enter %s\n", argv[1]);
        return 1;
    }
    platform::ForgetPathCache();
    std::string error;
    if (!viewer::LoadMapForPictures(error)) {
        std::fprintf(stderr, "map_viewer: %s\n", error.c_str());
        return 1;
    }
    if (argc == 8) {
        const int zoom = std::atoi(argv[3]);
        const int left = std::atoi(argv[4]);
        const int top = std::atoi(argv[5]);
        const int width = std::atoi(argv[6]);
        const int height = std::atoi(argv[7]);
        if (zoom < 0 || zoom > 4 || width <= 0 || height <= 0 || width > 20000 || height > 20000) {
            std::fprintf(stderr, "map_viewer: zoom 0..4 and a size of 1..20000 pixels\n");
            return 2;
        }
        const std::string name = "map-" + std::to_string(zoom) + "-" + std::to_string(left) + "-" +
                                 std::to_string(top) + ".png";
        return Save(output / name, viewer::DrawMap(zoom, left, top, width, height)) ? 0 : 1;
    }
    const bool saved = Save(output / "world-map.png", viewer::DrawWholeMap()) &&
                       Save(output / "opening-view.png", viewer::DrawOpeningView());
    return saved ? 0 : 1;
}
