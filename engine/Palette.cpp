#include "engine/Palette.h"

#include "engine/Bmp.h"
#include "engine/CriticalError.h"
#include "engine/File.h"
#include "engine/Pixel.h"

CStringDictionary<CPalette> g_palettes;
CPalette* g_defaultPalette = nullptr;

namespace {

uint32_t Twice(uint16_t pixel) {
    return static_cast<uint32_t>(pixel) << 16 | pixel;
}

bool EndsWith(const std::string& text, const char* ending) {
    size_t length = std::char_traits<char>::length(ending);
    return text.size() >= length && text.compare(text.size() - length, length, ending) == 0;
}

} // namespace

bool CPalette::LoadPalette(const std::string& paletteName) {
    std::string path = "gfx\\palette\\" + paletteName;
    bool loaded = false;
    if (EndsWith(paletteName, ".bmp"))
        loaded = LoadFromBmp(path);
    else if (EndsWith(paletteName, ".act"))
        loaded = LoadAct(path);
    BuildPixelTables();
    FindBasicColours();
    return loaded;
}

bool CPalette::LoadFromBmp(const std::string& path) {
    uint8_t table[1024];
    if (ReadBmpPalette(path, table) == 0) {
        CriticalError("Palette '%s' not found!", path.c_str());
        return false;
    }
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {table[i * 4 + 2], table[i * 4 + 1], table[i * 4], table[i * 4 + 3]};
    return true;
}

bool CPalette::LoadAct(const std::string& path) {
    uint8_t triples[768];
    CFile file(path);
    if (file.IsFailed() || !file.Read(triples, sizeof triples))
        return false;
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {triples[i * 3], triples[i * 3 + 1], triples[i * 3 + 2], 0};
    return true;
}

void CPalette::BuildPixelTables() {
    for (size_t i = 0; i < colours.size(); ++i) {
        int32_t r = colours[i].red;
        int32_t g = colours[i].green;
        int32_t b = colours[i].blue;
        normalPixels[i] = Twice(CGraphicsBase::RgbToPixel(r, g, b));
        halfPixels[i] = Twice(CGraphicsBase::RgbToPixel(r >> 1, g >> 1, b >> 1));
        brightPixels[i] = Twice(CGraphicsBase::RgbToPixel(r * 3 / 2, g * 3 / 2, b * 3 / 2));
    }
}

uint8_t CPalette::FindNearestColour(int32_t r, int32_t g, int32_t b) const {
    uint8_t best = 1;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 1; i < colours.size(); ++i) {
        int64_t dr = colours[i].red - r;
        int64_t dg = colours[i].green - g;
        int64_t db = colours[i].blue - b;
        int64_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}

void CPalette::FindBasicColours() {
    basicColours[0] = 0;
    basicColours[1] = FindNearestColour(0, 0, 0);
    basicColours[2] = FindNearestColour(255, 255, 255);
    basicColours[3] = FindNearestColour(255, 0, 0);
    basicColours[4] = FindNearestColour(0, 255, 0);
    basicColours[5] = FindNearestColour(0, 0, 255);
}

const std::array<uint32_t, 256>& CPalette::GetPixelTable(int32_t table) const {
    switch (table) {
    case kPaletteHalf:
        return halfPixels;
    case kPaletteBright:
        return brightPixels;
    default:
        return normalPixels;
    }
}

CPalette* GetPalette(const std::string& name) {
    if (CPalette* palette = g_palettes.Find(name))
        return palette;
    auto* palette = new CPalette(name);
    palette->LoadPalette(name);
    if (!g_palettes.Insert(name, palette)) {
        // The empty name is not kept: the palette would have no owner.
        delete palette;
        return nullptr;
    }
    return palette;
}

void RebuildPalettePixels() {
    g_palettes.ForEach([](CPalette* palette) { palette->BuildPixelTables(); });
}
