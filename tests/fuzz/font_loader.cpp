// Fuzz target: a font picture from arbitrary bytes, loaded and used.
// Input: byte 0 the cell height (0..31, bit 7: load with a short character
// list), byte 1 the length n of a text (0..63), n bytes of text, then the
// bytes of the picture file. The text and a few fixed ones with markup cut
// short are measured, counted and drawn onto 16- and 8-bit pictures.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Font.h"
#include "engine/Image.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    fuzz::InScratchFolder folder;
    const int32_t cellHeight = data[0] & 31;
    const bool withList = (data[0] & 0x80) != 0;
    const size_t textSize = std::min<size_t>(data[1] & 63, size - 2);
    const std::string text(reinterpret_cast<const char*>(data + 2), textSize);
    folder.WriteFile("gfx/fonts/fuzz.bmp", data + 2 + textSize, size - 2 - textSize);

    auto* font = new CFont;
    if (!font->LoadFont("gfx\\fonts\\fuzz.bmp", cellHeight, withList ? "A%|\xA7\\\n n" : nullptr)) {
        delete font;
        return 0;
    }
    fuzz::Check(g_fonts.Get("gfx\\fonts\\fuzz.bmp") == font);
    CImage wide(64, 32, 16, kImageMemory);
    CImage narrow(64, 32, 8, kImageMemory);
    const Rect clip{-8, 2, 60, 40};
    for (std::string_view sample :
         {std::string_view(text), std::string_view("A%07"), std::string_view("B\xA7"),
          std::string_view("|99999999999A\\"), std::string_view("%//0x |12y\\nz")}) {
        font->GetTextWidth(sample);
        font->CountWrappedLines(sample, 1 + cellHeight);
        font->DrawText(sample, 3, 1, clip, &wide, 0xFFFF);
        font->DrawTextCentredShadowed(sample, 30, 5, &wide, 0x1234);
        font->DrawTextRightShadowed(sample, 60, 20, &narrow, 0, &clip);
    }
    g_fonts.DeleteAll();
    return 0;
}
