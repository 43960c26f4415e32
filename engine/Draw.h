#pragma once
// The blend tables of the drawing effects, indexed [channel][level] with a
// 5-bit channel 0..31 and a level 0..31:
//   g_shadeTable  c + l - c x l / 32, c lightened toward white by l / 32;
//   g_scaleTable  c x l / 32, c scaled by l / 32.
// The primitives themselves are operations of the images (engine/Image.h).
#include <array>
#include <cstdint>

using BlendTable = std::array<std::array<uint8_t, 32>, 32>;

extern BlendTable g_shadeTable;
extern BlendTable g_scaleTable;

// Fills both tables (also done once when the program starts).
void BuildShadeTables();

// A pixel with every channel lightened through g_shadeTable (green of RGB565
// by its top five bits).
uint16_t ShadePixel(uint16_t pixel, int32_t level, int32_t format);
