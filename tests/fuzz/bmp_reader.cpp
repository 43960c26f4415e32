// Fuzz target: arbitrary bytes as a BMP file, loaded into memory and onto a
// surface, drawn onto a small screen at a zoom (framed too, for 8-bit
// pictures), and read for its colour table.
#include <cstddef>
#include <cstdint>

#include "engine/Bmp.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// A grey-ramp palette is the default palette while fuzzing.
struct GreyPalette {
    CPalette palette;
    GreyPalette() {
        for (int i = 0; i < 256; ++i)
            palette.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                  static_cast<uint8_t>(255 - i), 0};
        palette.BuildPixelTables();
        g_defaultPalette = &palette;
    }
    ~GreyPalette() { g_defaultPalette = nullptr; }
};

// Pictures up to this many pixels are also encoded into frames.
constexpr int64_t kMaxFramedPixels = 1 << 18;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GreyPalette greyPalette;
    fuzz::InScratchFolder folder;
    folder.WriteFile("picture.bmp", data, size);
    uint8_t choice = size > 0 ? data[size - 1] : 0;
    CImage screen(64, 48, 16, kImageMemory);
    screen.SetOrigin(choice % 64, choice % 48);

    CImage image("picture.bmp", kPlaceMemory, false);
    image.zoomShift = choice % 5;
    image.DrawWhole(-3, 5, &screen);
    Rect clip{2, 2, 40, 30};
    image.Draw(10, -4, 1, 1, image.width - 1, image.height + 5, &clip, &screen, nullptr);
    image.IsTransparentAt(image.width / 2, image.height / 2);
    if (image.bitsPerPixel == 8 && int64_t{image.width} * image.height <= kMaxFramedPixels &&
        image.BuildFrameTable(1 + choice % 3)) {
        for (int32_t kind : {kImageMemory, kImageLightMap, kImageTranslucent, kImageDarkMap}) {
            image.kind = kind;
            image.Draw(0, 0, 0, 0, image.width, image.height, nullptr, &screen, nullptr);
        }
    }

    CImage onSurface("picture.bmp", kPlaceSurface, false);
    CSurface display(64, 48);
    CImage front(64, 48, 16, kImageFront);
    front.SetSurface(&display);
    onSurface.DrawWhole(4, 4, &front);
    onSurface.DrawWhole(4, 4, &screen);

    uint8_t table[1024];
    ReadBmpPalette("picture.bmp", table);
    return 0;
}
