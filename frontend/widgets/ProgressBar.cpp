#include "frontend/widgets/ProgressBar.h"

#include <algorithm>
#include <string>

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/ImageAccess.h"

namespace {

const char* const kNumberFont = "gfx\\fonts\\garamond14bold.bmp";
constexpr uint16_t kNumberColour = 0xFFFF;

// Fills the rectangle (right and bottom just outside), cut to the picture.
void FillRect(CImageBase& image, int64_t left, int64_t top, int64_t right, int64_t bottom,
              uint16_t colour) {
    if (image.bytesPerPixel != 2)
        return;
    CPixelAccess access(image);
    const PixelView& view = access.view;
    if (!view.pixels)
        return;
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, view.width);
    bottom = std::min<int64_t>(bottom, view.height);
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* line = access.Row(static_cast<int32_t>(row));
        for (int64_t column = left; column < right; ++column)
            StorePixel(line + column * 2, colour);
    }
}

// A one-pixel outline just inside the rectangle.
void OutlineRect(CImageBase& image, int64_t left, int64_t top, int64_t right, int64_t bottom,
                 uint16_t colour) {
    FillRect(image, left, top, right, top + 1, colour);
    FillRect(image, left, bottom - 1, right, bottom, colour);
    FillRect(image, left, top, left + 1, bottom, colour);
    FillRect(image, right - 1, top, right, bottom, colour);
}

} // namespace

CProgressBar::CProgressBar(uint32_t maximumValue, uint32_t barWidth, uint32_t endRed,
                           uint32_t endGreen, uint32_t endBlue)
    : destination(g_screen.get()), maximum(maximumValue), width(barWidth), red(endRed),
      green(endGreen), blue(endBlue), frameDark(RgbToPixel(65, 48, 23)),
      frameLight(RgbToPixel(172, 132, 69)) {}

void CProgressBar::Draw(int32_t /*param*/) {
    if (!destination)
        return;
    CImageBase& image = *destination;
    const int64_t left = x;
    const int64_t top = y;
    const int64_t right = left + width;
    const int64_t bottom = top + height;

    if (drawFrame) {
        FillRect(image, left, top, right, bottom, 0);
        OutlineRect(image, left - 1, top - 1, right + 1, bottom + 1, frameDark);
        OutlineRect(image, left - 2, top - 2, right + 2, bottom + 2, frameLight);
    }

    if (value > 0 && maximum != 0 && percent > 0) {
        // The ramp position p (16.16 fixed point, in bar pixels) starts at 0
        // and advances 100 / percent pixels a column while its integer part
        // is at most the width, so width x percent / 100 + 1 columns are
        // filled and the whole ramp from black to the end colour fits into
        // them. Each column runs from the top row to the bottom row
        // inclusive. A percent above 100 fills as 100 does.
        const int64_t shown = std::min(percent, 100);
        const int64_t step = (int64_t{100} << 16) / shown;
        const int64_t endRed = std::min<uint32_t>(red, 255);
        const int64_t endGreen = std::min<uint32_t>(green, 255);
        const int64_t endBlue = std::min<uint32_t>(blue, 255);
        const int64_t last = static_cast<int64_t>(width);
        int64_t p = 0;
        for (int64_t column = 0; (p >> 16) <= last && left + column < image.width;
             ++column, p += step) {
            const int64_t at = p >> 16;
            const uint16_t colour = width == 0
                                        ? 0
                                        : RgbToPixel(static_cast<int32_t>(endRed * at / last),
                                                     static_cast<int32_t>(endGreen * at / last),
                                                     static_cast<int32_t>(endBlue * at / last));
            FillRect(image, left + column, top, left + column + 1, bottom + 1, colour);
        }
    }

    if (drawNumber) {
        if (CFont* font = g_fonts.Get(kNumberFont))
            font->DrawTextCentredShadowed(
                std::to_string(value), static_cast<int32_t>(left + width / 2),
                static_cast<int32_t>(top + 1), destination, kNumberColour);
    }
}
