#pragma once
// Palettes: 256 colours and, for the 8-bit blitters, three ready tables of
// 16-bit pixels in the current pixel format (normal, half brightness, one and
// a half times brightness). Palettes are loaded by name from "gfx\palette"
// and kept, one per name, in g_palettes.
#include <array>
#include <cstdint>
#include <string>

#include "engine/StringMap.h"

struct PaletteColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused = 0;
};

// Which pixel table an image is drawn with.
constexpr int32_t kPaletteNormal = 0;
constexpr int32_t kPaletteHalf = 1;
constexpr int32_t kPaletteBright = 2;

class CPalette {
public:
    explicit CPalette(std::string paletteName = std::string()) : name(std::move(paletteName)) {}
    virtual ~CPalette() = default;

    // Loads "gfx\palette\<name>" by the name's last four characters,
    // compared exactly: ".bmp" reads a BMP's colour table, ".act" 256 raw
    // RGB triples; any other ending reads nothing. The pixel tables and the
    // basic colours are built in every case. True when the colours were
    // read; the colours stay as they were when the file is missing, short
    // or of another kind.
    bool LoadPalette(const std::string& paletteName);
    // The colour table of a BMP file; a failure shows "Palette '%s' not
    // found!" with the path.
    bool LoadFromBmp(const std::string& path);
    // 768 bytes, red, green and blue per colour; all of them or nothing.
    bool LoadAct(const std::string& path);

    void BuildPixelTables();
    // The index 1..255 nearest to the colour (squared distance); the lower
    // index on a tie.
    uint8_t FindNearestColour(int32_t r, int32_t g, int32_t b) const;
    // basicColours: 0, then the indices nearest to black, white, red, green
    // and blue.
    void FindBasicColours();

    // The pixel table by its number (kPaletteNormal, kPaletteHalf,
    // kPaletteBright; any other number gives the normal one). Each entry
    // holds its pixel in both halves.
    const std::array<uint32_t, 256>& GetPixelTable(int32_t table) const;

    std::string name;
    std::array<PaletteColour, 256> colours{};
    std::array<uint32_t, 256> normalPixels{};
    std::array<uint32_t, 256> halfPixels{};
    std::array<uint32_t, 256> brightPixels{};
    std::array<uint8_t, 6> basicColours{};
};

// Every palette loaded, by name (compared without regard to case); owns them.
extern CStringDictionary<CPalette> g_palettes;
// The palette new images take; set by the start-up code.
extern CPalette* g_defaultPalette;

// The palette of that name, loaded and entered on first use.
CPalette* GetPalette(const std::string& name);

// Rebuilds the pixel tables of every palette of g_palettes (after a change
// of pixel format).
void RebuildPalettePixels();
