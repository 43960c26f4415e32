// The demo world's pictures, palettes and fonts, all drawn here:
//   gfx\palette\palette.act, arrows.act, statusbar.act (256 RGB triples) and
//   blob.bmp, cred_backgroundpic_palette.bmp (8-bit pictures whose colour
//   tables are palettes);
//   the seven bitmap fonts of the start-up, rendered with FreeType from the
//   free EB Garamond and Liberation Sans fonts, and the coin picture shown
//   in place of "$";
//   the selection cursor, the placeholder picture, the logo and the town
//   shown while the game loads.
// 16-bit pictures are written as 24-bit files; pure green is transparent.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/Maths.h"

namespace {

using demo::ColourTable;
using demo::Rgb;

constexpr Rgb kKey{0, 255, 0};

// A 24-bit picture being drawn.
struct Canvas {
    Canvas(int32_t w, int32_t h, Rgb fill)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

    void Set(int32_t x, int32_t y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * width + x] = colour;
    }
    Rgb Get(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, Rgb colour) {
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                Set(x, y, colour);
    }
    // Mixes the colour in at the coverage 0..255.
    void Blend(int32_t x, int32_t y, Rgb colour, int32_t coverage) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        Rgb& p = pixels[static_cast<size_t>(y) * width + x];
        auto mix = [coverage](uint8_t a, uint8_t b) {
            return static_cast<uint8_t>((a * (255 - coverage) + b * coverage) / 255);
        };
        p = {mix(p.r, colour.r), mix(p.g, colour.g), mix(p.b, colour.b)};
    }
    std::vector<uint8_t> Bmp() const { return demo::MakeBmp24(width, height, pixels); }

    int32_t width;
    int32_t height;
    std::vector<Rgb> pixels;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// A fixed pseudo-random sequence for the pictures' small variations.
uint32_t Hash(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

// FreeType ----------------------------------------------------------------------

const char* const kGaramond = "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf";
const char* const kGaramondBold = "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Bold.otf";
const char* const kSans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

class FontFace {
public:
    explicit FontFace(const char* path) {
        if (FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
            return;
        }
        if (FT_New_Face(m_library, path, 0, &m_face) != 0) {
            m_face = nullptr;
            std::fprintf(stderr, "make_demo_world: cannot open the font %s\n", path);
        }
    }
    ~FontFace() {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face Get() const { return m_face; }

    // The largest pixel size whose ascent and descent fit the height; answers
    // the ascent (the baseline's row).
    int32_t FitHeight(int32_t height) {
        for (int32_t size = height; size > 3; --size) {
            FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(size));
            int32_t ascent = static_cast<int32_t>((m_face->size->metrics.ascender + 63) >> 6);
            int32_t descent = static_cast<int32_t>((-m_face->size->metrics.descender + 63) >> 6);
            if (ascent + descent <= height)
                return ascent;
        }
        return height;
    }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// Draws the text with its baseline at y, starting at x; answers the pen's x
// at the end. Without a canvas it only measures.
int32_t RenderText(FT_Face face, const std::string& text, int32_t x, int32_t y, Canvas* canvas,
                   Rgb colour) {
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        if (canvas)
            for (uint32_t row = 0; row < slot->bitmap.rows; ++row)
                for (uint32_t col = 0; col < slot->bitmap.width; ++col)
                    canvas->Blend(x + slot->bitmap_left + static_cast<int32_t>(col),
                                  y - slot->bitmap_top + static_cast<int32_t>(row), colour,
                                  slot->bitmap.buffer[row * slot->bitmap.pitch + col]);
        x += static_cast<int32_t>(slot->advance.x >> 6);
    }
    return x;
}

// Fonts -------------------------------------------------------------------------------

struct FontSpec {
    const char* file;
    const char* face;
    int32_t cellHeight;
};

const FontSpec kFonts[] = {
    {"garamond14.bmp", kGaramond, 14},
    {"garamond14bold.bmp", kGaramondBold, 14},
    {"garamond24bold.bmp", kGaramondBold, 24},
    {"arial10.bmp", kSans, 10},
    {"garamond20bold.bmp", kGaramondBold, 20},
    {"garamond18bold.bmp", kGaramondBold, 18},
    {"arial8.bmp", kSans, 8},
};

constexpr int kFirstCharacter = 33;
constexpr int kCellCount = 256 - kFirstCharacter;
constexpr uint8_t kBackground = 255;
constexpr uint8_t kAdvanceMark = 0; // counts for the width, draws nothing
constexpr int kInkThreshold = 100;
constexpr int32_t kMonoHeight = 10;

// One rendered character: its coverage bitmap placed in the cell.
struct CellGlyph {
    int32_t left = 0;
    int32_t top = 0; // row of the bitmap's top in the cell
    int32_t advance = 0;
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage;
};

// The font picture: one cell wide, a cell per character 33..255 (Latin-1;
// 128 to 159 stay empty). Ink pixels hold their shade 1..15, the advance
// is marked on the top row, the rest is background.
std::vector<uint8_t> MakeFontPicture(const FontSpec& layout) {
    FontFace face(layout.face);
    if (!face.Get())
        return {};
    const int32_t baseline = face.FitHeight(layout.cellHeight);
    std::vector<CellGlyph> cells(kCellCount);
    int32_t cellWidth = 1;
    for (int k = 0; k < kCellCount; ++k) {
        int c = kFirstCharacter + k;
        if (c >= 128 && c < 160)
            continue;
        // The smallest sizes read better hinted to whole pixels.
        const FT_Int32 flags = layout.cellHeight <= kMonoHeight
                                   ? FT_LOAD_RENDER | FT_LOAD_TARGET_MONO
                                   : FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT;
        if (FT_Load_Char(face.Get(), static_cast<FT_ULong>(c), flags) != 0)
            continue;
        const FT_GlyphSlot slot = face.Get()->glyph;
        CellGlyph& cell = cells[static_cast<size_t>(k)];
        cell.left = std::max(slot->bitmap_left, 0);
        cell.top = baseline - slot->bitmap_top;
        cell.width = static_cast<int32_t>(slot->bitmap.width);
        cell.rows = static_cast<int32_t>(slot->bitmap.rows);
        cell.advance = std::max(static_cast<int32_t>(slot->advance.x >> 6), cell.left + 1);
        const bool mono = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
        for (int32_t row = 0; row < cell.rows; ++row) {
            const uint8_t* line = slot->bitmap.buffer + row * slot->bitmap.pitch;
            for (int32_t col = 0; col < cell.width; ++col)
                cell.coverage.push_back(mono ? ((line[col / 8] >> (7 - col % 8)) & 1) * 255
                                             : line[col]);
        }
        cellWidth = std::max({cellWidth, cell.advance, cell.left + cell.width});
    }

    const int32_t height = layout.cellHeight * kCellCount;
    std::vector<uint8_t> indices(static_cast<size_t>(cellWidth) * height, kBackground);
    for (int k = 0; k < kCellCount; ++k) {
        const CellGlyph& cell = cells[static_cast<size_t>(k)];
        const int32_t cellTop = k * layout.cellHeight;
        bool inked = false;
        for (int32_t row = 0; row < cell.rows; ++row) {
            int32_t y = cell.top + row;
            if (y < 0 || y >= layout.cellHeight)
                continue;
            for (int32_t col = 0; col < cell.width; ++col) {
                int32_t value = cell.coverage[static_cast<size_t>(row) * cell.width + col];
                if (value < kInkThreshold)
                    continue;
                indices[static_cast<size_t>(cellTop + y) * cellWidth + cell.left + col] =
                    static_cast<uint8_t>(1 + value * 14 / 255);
                inked = true;
            }
        }
        uint8_t& mark = indices[static_cast<size_t>(cellTop) * cellWidth + cell.advance - 1];
        if (inked && cell.advance > 0 && mark == kBackground)
            mark = kAdvanceMark;
    }

    ColourTable colours;
    for (int i = 0; i < 256; ++i) {
        uint8_t level = static_cast<uint8_t>(255 - (i & 15) * 17);
        colours[static_cast<size_t>(i)] = {level, level, level};
    }
    colours[kAdvanceMark] = {230, 230, 230};
    colours[kBackground] = {255, 255, 255};
    return demo::MakeBmp8(cellWidth, height, indices, colours);
}

bool WriteFonts(const std::filesystem::path& game) {
    bool ok = true;
    for (const FontSpec& layout : kFonts) {
        std::vector<uint8_t> picture = MakeFontPicture(layout);
        ok = !picture.empty() && demo::WriteFile(game / "gfx" / "fonts" / layout.file, picture) &&
             ok;
    }
    return ok;
}

// A gold coin on the transparent colour.
bool WriteCoin(const std::filesystem::path& game) {
    constexpr int32_t kSize = 12;
    Canvas coin(kSize, kSize, kKey);
    const double centre = (kSize - 1) / 2.0;
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x) {
            double d = demo::maths::Hypot(x - centre, y - centre);
            if (d > kSize / 2.0 - 0.3)
                continue;
            Rgb colour = d > kSize / 2.0 - 1.5 ? Rgb{150, 100, 20} : Rgb{230, 180, 50};
            if (x + y < kSize - 3 && d < kSize / 2.0 - 2.5)
                colour = {255, 225, 120};
            coin.Set(x, y, colour);
        }
    // A stamped mark in the middle.
    coin.FillRect(5, 4, 7, 8, {170, 120, 30});
    return demo::WriteFile(game / "gfx" / "fonts" / "additional" / "coin.bmp", coin.Bmp());
}

// Palettes ----------------------------------------------------------------------------

// The default palette: 0 transparent, 1 shadow, a 6 x 6 x 6 colour cube
// from 2 on, then a grey ramp.
ColourTable DefaultColours() {
    ColourTable colours{};
    int i = 2;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours[static_cast<size_t>(i++)] = {static_cast<uint8_t>(r * 51),
                                                     static_cast<uint8_t>(g * 51),
                                                     static_cast<uint8_t>(b * 51)};
    for (int k = 0; i < 256; ++i, ++k) {
        uint8_t level = static_cast<uint8_t>(k * 255 / 37);
        colours[static_cast<size_t>(i)] = {level, level, level};
    }
    return colours;
}

// 0 and 1 black, then a ramp through the given colours.
ColourTable Ramp(const std::vector<Rgb>& stops) {
    ColourTable colours{};
    for (int i = 2; i < 256; ++i) {
        double t = (i - 2) / 253.0 * static_cast<double>(stops.size() - 1);
        size_t at = std::min(static_cast<size_t>(t), stops.size() - 2);
        colours[static_cast<size_t>(i)] =
            Mix(stops[at], stops[at + 1], t - static_cast<double>(at));
    }
    return colours;
}

// A 16 x 16 picture showing its 256 colours.
std::vector<uint8_t> Swatch(const ColourTable& colours) {
    std::vector<uint8_t> indices(256);
    for (int i = 0; i < 256; ++i)
        indices[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    return demo::MakeBmp8(16, 16, indices, colours);
}

bool WritePalettes(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "gfx" / "palette";
    bool ok = demo::WriteFile(folder / "palette.act", demo::MakeAct(DefaultColours()));
    ok = demo::WriteFile(
             folder / "arrows.act",
             demo::MakeAct(Ramp({{60, 0, 0}, {200, 30, 20}, {250, 200, 40}, {255, 255, 220}}))) &&
         ok;
    ok = demo::WriteFile(
             folder / "statusbar.act",
             demo::MakeAct(Ramp({{20, 90, 20}, {210, 200, 40}, {200, 40, 20}, {90, 10, 10}}))) &&
         ok;
    ok = demo::WriteFile(folder / "blob.bmp",
                         Swatch(Ramp({{10, 20, 60}, {60, 120, 200}, {230, 240, 255}}))) &&
         ok;
    ok = demo::WriteFile(folder / "cred_backgroundpic_palette.bmp",
                         Swatch(Ramp({{30, 20, 10}, {140, 100, 60}, {240, 220, 180}}))) &&
         ok;
    return ok;
}

// Pictures ----------------------------------------------------------------------------

// The arrow pointer: white with a black outline, the tip at (0, 0).
bool WriteCursor(const std::filesystem::path& game) {
    constexpr int32_t kSize = 32;
    const double shape[][2] = {{0, 0}, {0, 21}, {5, 16}, {9, 25}, {12, 24}, {8, 15}, {15, 15}};
    const int corners = static_cast<int>(std::size(shape));
    auto inside = [&](double px, double py) {
        bool in = false;
        for (int i = 0, j = corners - 1; i < corners; j = i++) {
            double xi = shape[i][0], yi = shape[i][1], xj = shape[j][0], yj = shape[j][1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    };
    Canvas cursor(kSize, kSize, kKey);
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x)
            if (inside(x + 0.5, y + 0.5))
                cursor.Set(x, y, {255, 255, 255});
    Canvas outlined = cursor;
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x) {
            if (cursor.Get(x, y).r != 255)
                continue; // only the shape's own pixels become its outline
            bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                int32_t nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && cursor.Get(nx, ny).r == 0)
                    edge = true;
            }
            if (edge)
                outlined.Set(x, y, {0, 0, 0});
        }
    return demo::WriteFile(game / "gfx" / "interface" / "cursor_select.bmp", outlined.Bmp());
}

// The placeholder: a framed magenta and black checkerboard with a cross.
bool WriteDummy(const std::filesystem::path& game) {
    constexpr int32_t kSize = 16;
    Canvas dummy(kSize, kSize, {0, 0, 0});
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x) {
            Rgb colour = ((x / 4 + y / 4) % 2) ? Rgb{200, 0, 200} : Rgb{40, 0, 40};
            if (x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1 || x == y ||
                x + y == kSize - 1)
                colour = {255, 255, 255};
            dummy.Set(x, y, colour);
        }
    return demo::WriteFile(game / "gfx" / "dummy.bmp", dummy.Bmp());
}

// Centres the text on x; answers false when the face is missing.
bool CentredText(Canvas& canvas, const char* facePath, int32_t size, const std::string& text,
                 int32_t x, int32_t baseline, Rgb colour) {
    FontFace face(facePath);
    if (!face.Get())
        return false;
    FT_Set_Pixel_Sizes(face.Get(), 0, static_cast<FT_UInt>(size));
    int32_t width = RenderText(face.Get(), text, 0, 0, nullptr, colour);
    RenderText(face.Get(), text, x - width / 2, baseline, &canvas, colour);
    return true;
}

// The logo on black: the game's name in gold between two rules.
bool WriteLogo(const std::filesystem::path& game) {
    Canvas logo(640, 480, {0, 0, 0});
    const Rgb gold{212, 170, 60};
    logo.FillRect(170, 180, 470, 182, gold);
    logo.FillRect(170, 292, 470, 294, gold);
    for (int32_t i = 0; i < 9; ++i) {
        logo.FillRect(318 - i, 172 + i, 322 + i, 173 + i, gold);
        logo.FillRect(318 - i, 301 - i, 322 + i, 302 - i, gold);
    }
    bool ok = CentredText(logo, kGaramondBold, 72, "ORVANDEL", 320, 262, gold);
    ok = CentredText(logo, kGaramond, 20, "a demo world", 320, 340, {170, 150, 110}) && ok;
    return ok && demo::WriteFile(game / "gfx" / "blacklogonov.bmp", logo.Bmp());
}

// A town at dusk: a sky, hills, houses with lit windows and a church.
bool WriteTown(const std::filesystem::path& game) {
    constexpr int32_t kWidth = 800;
    constexpr int32_t kHeight = 600;
    Canvas town(kWidth, kHeight, {0, 0, 0});
    const Rgb skyTop{30, 40, 90};
    const Rgb skyLow{240, 150, 80};
    for (int32_t y = 0; y < kHeight; ++y)
        town.FillRect(0, y, kWidth, y + 1, Mix(skyTop, skyLow, y / 420.0 > 1 ? 1 : y / 420.0));
    for (int32_t x = 0; x < kWidth; ++x) {
        int32_t far = 380 + static_cast<int32_t>(25 * demo::maths::Sin(x / 90.0) +
                                                 12 * demo::maths::Sin(x / 37.0));
        town.FillRect(x, far, x + 1, kHeight, {90, 70, 90});
        int32_t near = 450 + static_cast<int32_t>(15 * demo::maths::Sin(x / 140.0 + 1.0));
        town.FillRect(x, near, x + 1, kHeight, {40, 50, 40});
    }
    const Rgb wall{45, 35, 40};
    const Rgb roof{30, 22, 28};
    const Rgb lit{250, 210, 110};
    uint32_t seed = 1;
    int32_t left = 40;
    while (left < 760) {
        uint32_t r = Hash(seed++);
        int32_t w = 40 + static_cast<int32_t>(r % 50);
        int32_t h = 50 + static_cast<int32_t>((r >> 8) % 70);
        int32_t base = 500;
        town.FillRect(left, base - h, left + w, base + 100, wall);
        for (int32_t i = 0; i <= w / 2 + 6; ++i)
            town.FillRect(left + w / 2 - i, base - h - (w / 2 + 6) + i, left + w / 2 + i,
                          base - h - (w / 2 + 6) + i + 1, roof);
        for (int32_t wy = base - h + 12; wy < base - 10; wy += 22)
            for (int32_t wx = left + 8; wx + 8 < left + w; wx += 16)
                if (Hash(seed++) % 3 != 0)
                    town.FillRect(wx, wy, wx + 6, wy + 9, lit);
        left += w + 4 + static_cast<int32_t>((r >> 16) % 20);
    }
    // The church: a tower with a spire and a lit rose window.
    town.FillRect(380, 300, 430, 510, wall);
    for (int32_t i = 0; i < 120; ++i)
        town.FillRect(405 - i * 25 / 120, 180 + i, 405 + i * 25 / 120 + 1, 181 + i, roof);
    town.FillRect(404, 160, 406, 182, roof);
    town.FillRect(397, 168, 413, 170, roof);
    for (int32_t y = 330; y < 350; ++y)
        for (int32_t x = 395; x < 415; ++x)
            if (demo::maths::Hypot(x - 404.5, y - 339.5) < 9)
                town.Set(x, y, lit);
    return demo::WriteFile(game / "gfx" / "town.bmp", town.Bmp());
}

const demo::DemoWriter kFontWriter("gfx/fonts", &WriteFonts);
const demo::DemoWriter kCoinWriter("gfx/fonts/additional/coin.bmp", &WriteCoin);
const demo::DemoWriter kPaletteWriter("gfx/palette", &WritePalettes);
const demo::DemoWriter kCursorWriter("gfx/interface/cursor_select.bmp", &WriteCursor);
const demo::DemoWriter kDummyWriter("gfx/dummy.bmp", &WriteDummy);
const demo::DemoWriter kLogoWriter("gfx/blacklogonov.bmp", &WriteLogo);
const demo::DemoWriter kTownWriter("gfx/town.bmp", &WriteTown);

} // namespace
