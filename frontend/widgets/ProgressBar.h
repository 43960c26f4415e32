#pragma once
// CProgressBar: a horizontal bar filled from the left with a colour ramp
// from black to its end colour, with an optional two-pixel frame and the
// value written over it. Its owner places it and sets percent and value.
#include <cstdint>

#include "engine/Drawable.h"

class CImageBase;

class CProgressBar : public Drawable {
public:
    // At (0, 0), 15 pixels high, percent and value 0, frame and number
    // drawn, onto g_screen.
    CProgressBar(uint32_t maximumValue, uint32_t barWidth, uint32_t endRed, uint32_t endGreen,
                 uint32_t endBlue);

    // The bar covers the columns x .. x + width - 1 and the rows y .. y +
    // height - 1. With the frame flag the bar is cleared and framed one
    // pixel out in the dark colour and two pixels out in the light one.
    // While value, maximum and percent are all positive, the first width x
    // percent / 100 + 1 columns (percent held to 100) are filled over the
    // rows y .. y + height inclusive, their colours running the whole ramp
    // from black to the end colour (the fill reaches one column and one row
    // beyond the bar, over the frame's inner line). With the number
    // flag the value is written centred on top in white, shadowed.
    void Draw(int32_t param) override;

    CImageBase* destination = nullptr;
    uint32_t maximum = 0;
    uint32_t width = 0;
    int32_t percent = 0;
    int32_t value = 0;
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t height = 15;
    uint8_t drawFrame = 1;
    uint8_t drawNumber = 1;
    uint16_t frameDark = 0;
    uint16_t frameLight = 0;
};
