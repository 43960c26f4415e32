// The demo world's pictures of the widget toolkit, all drawn here:
//   gfx\interface\tb_* and tbsmall_* (the text buttons' left caps, centre
//   pieces and right caps for the states plain, over, down and dis) and
//   their palette gfx\palette\tb.bmp;
//   the scroll bars' arrows and knobs of the four looks (menu, small menu,
//   front end, year book), four frames each;
//   the drop-down list's closed and open backgrounds and arrow buttons;
//   the slider's knob and track, the radio button and the empty picture;
// and the texts the widgets show. 16-bit pictures are written as 24-bit
// files; pure green is transparent.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/PictureSheet.h"

namespace {

using demo::Rgb;

constexpr Rgb kKey{0, 255, 0};
constexpr int32_t kStates = 4; // plain, over, down, disabled

struct Canvas {
    Canvas(int32_t w, int32_t h, Rgb fill = kKey)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    void Set(int32_t x, int32_t y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * width + x] = colour;
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, Rgb colour) {
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                Set(x, y, colour);
    }
    std::vector<uint8_t> Bmp() const { return demo::MakeBmp24(width, height, pixels); }

    int32_t width;
    int32_t height;
    std::vector<Rgb> pixels;
};

// The body colour of a state: a warm bronze, lighter under the pointer,
// darker pressed, grey disabled.
Rgb StateColour(Rgb base, int32_t state) {
    switch (state) {
    case 1:
        return demo::Scaled(base, 5, 4);
    case 2:
        return demo::Scaled(base, 3, 4);
    case 3: {
        const uint8_t grey = static_cast<uint8_t>((base.r + base.g + base.b) / 3);
        return {grey, grey, grey};
    }
    default:
        return base;
    }
}

// A vertical shade of the colour: light at the top, dark at the bottom.
Rgb Shade(Rgb colour, int32_t y, int32_t height) {
    return demo::Scaled(colour, 140 - 60 * y / std::max(height - 1, 1), 100);
}

// Text buttons ------------------------------------------------------------------------

enum class Piece { Left, Centre, Right };

Canvas TextButtonPiece(Piece piece, int32_t state, int32_t width, int32_t height) {
    const Rgb body = StateColour({150, 112, 48}, state);
    const Rgb rim = demo::Scaled(body, 2, 5);
    Canvas canvas(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            // The caps round off the button: the outer corners stay clear.
            const int32_t edge = piece == Piece::Left    ? x
                                 : piece == Piece::Right ? width - 1 - x
                                                         : width;
            const int32_t corner = std::min(y, height - 1 - y);
            if (piece != Piece::Centre && edge + corner < 2)
                continue;
            const bool border = y == 0 || y == height - 1 ||
                                (piece != Piece::Centre && (edge == 0 || edge + corner == 2));
            canvas.Set(x, y, border ? rim : Shade(body, y, height));
        }
    return canvas;
}

bool WriteTextButtonSet(const std::filesystem::path& folder, const std::string& prefix,
                        int32_t capWidth, int32_t centreWidth, int32_t height) {
    static const char* const kStateNames[kStates] = {"plain", "over", "down", "dis"};
    bool ok = true;
    for (int32_t state = 0; state < kStates; ++state) {
        const std::string stem = prefix + "_" + kStateNames[state] + "_";
        ok = demo::WriteFile(folder / (stem + "l.bmp"),
                             TextButtonPiece(Piece::Left, state, capWidth, height).Bmp()) &&
             ok;
        ok = demo::WriteFile(folder / (stem + "c.bmp"),
                             TextButtonPiece(Piece::Centre, state, centreWidth, height).Bmp()) &&
             ok;
        ok = demo::WriteFile(folder / (stem + "r.bmp"),
                             TextButtonPiece(Piece::Right, state, capWidth, height).Bmp()) &&
             ok;
    }
    return ok;
}

bool WriteTextButtons(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "gfx" / "interface";
    bool ok = WriteTextButtonSet(folder, "tb", 6, 8, 24);
    ok = WriteTextButtonSet(folder, "tbsmall", 4, 6, 18) && ok;
    demo::ColourTable colours{};
    for (int i = 0; i < 256; ++i)
        colours[static_cast<size_t>(i)] = demo::Blend({40, 24, 8}, {250, 220, 150}, i, 255);
    return demo::WriteFile(game / "gfx" / "palette" / "tb.bmp", demo::PaletteSwatch(colours)) && ok;
}

// Scroll bars -------------------------------------------------------------------------

enum class Glyph { Up, Down, Knob, Left, Right, Radio, Empty };

// Four frames side by side, each w x h, the glyph drawn on a framed body.
Canvas Strip(Glyph glyph, int32_t w, int32_t h, Rgb base) {
    Canvas canvas(kStates * w, h);
    for (int32_t state = 0; state < kStates; ++state) {
        const int32_t x0 = state * w;
        const Rgb body = StateColour(base, state);
        const Rgb rim = demo::Scaled(body, 2, 5);
        const Rgb ink = state == 3 ? Rgb{70, 70, 70} : Rgb{250, 235, 190};
        const int32_t press = state == 2 ? 1 : 0;
        if (glyph == Glyph::Empty)
            continue;
        if (glyph == Glyph::Radio) {
            // A ring; filled when pressed.
            const int32_t r2 = std::min(w, h) - 1;
            for (int32_t y = 0; y < h; ++y)
                for (int32_t x = 0; x < w; ++x) {
                    const int32_t dx = 2 * x + 1 - w;
                    const int32_t dy = 2 * y + 1 - h;
                    const int32_t d = dx * dx + dy * dy;
                    if (d > r2 * r2)
                        continue;
                    const bool ring = d > (r2 - 3) * (r2 - 3);
                    const bool dot = d <= (r2 / 2) * (r2 / 2);
                    canvas.Set(x0 + x, y,
                               ring ? rim : (dot && state == 2 ? ink : Shade(body, y, h)));
                }
            continue;
        }
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                canvas.Set(x0 + x, y, border ? rim : Shade(body, y, h));
            }
        const int32_t cx = x0 + w / 2;
        const int32_t cy = h / 2 + press;
        const int32_t size = std::max(std::min(w, h) / 2 - 2, 1);
        switch (glyph) {
        case Glyph::Up:
        case Glyph::Down:
            for (int32_t row = 0; row <= size; ++row) {
                const int32_t y = glyph == Glyph::Up ? cy - size / 2 + row : cy + size / 2 - row;
                canvas.FillRect(cx - row, y, cx + row + (w % 2), y + 1, ink);
            }
            break;
        case Glyph::Left:
        case Glyph::Right:
            for (int32_t col = 0; col <= size; ++col) {
                const int32_t x = glyph == Glyph::Left ? cx - size / 2 + col : cx + size / 2 - col;
                canvas.FillRect(x, cy - col, x + 1, cy + col + (h % 2), ink);
            }
            break;
        case Glyph::Knob:
            // Three grip lines across the middle.
            for (int32_t line = -1; line <= 1; ++line)
                canvas.FillRect(x0 + 3, cy + 3 * line, x0 + w - 3, cy + 3 * line + 1, ink);
            break;
        default:
            break;
        }
    }
    return canvas;
}

struct ScrollLook {
    std::filesystem::path folder;
    const char* up;
    const char* down;
    const char* knob;
    int32_t width;
    int32_t arrowHeight;
    int32_t knobHeight;
    Rgb base;
};

bool WriteScrollBars(const std::filesystem::path& game) {
    const std::filesystem::path gfx = game / "gfx" / "interface";
    const ScrollLook looks[] = {
        {gfx / "menu",
         "scrollbar_top.bmp",
         "scrollbar_bottom.bmp",
         "scrollbar_bar.bmp",
         12,
         12,
         20,
         {170, 130, 40}},
        {gfx / "menu",
         "scrollbar_small_upp.bmp",
         "scrollbar_small_ner.bmp",
         "scrollbar_small_bar.bmp",
         9,
         9,
         14,
         {160, 125, 30}},
        {gfx / "frontend",
         "scrollbar_top.bmp",
         "scrollbar_bottom.bmp",
         "scrollbar_bar.bmp",
         12,
         12,
         20,
         {150, 130, 80}},
        {gfx / "eyr",
         "scrollbar_dark_pilupp.bmp",
         "scrollbar_dark_pilner.bmp",
         "scrollbar_dark_knapp.bmp",
         12,
         12,
         20,
         {100, 90, 76}},
    };
    bool ok = true;
    for (const ScrollLook& look : looks) {
        ok = demo::WriteFile(look.folder / look.up,
                             Strip(Glyph::Up, look.width, look.arrowHeight, look.base).Bmp()) &&
             ok;
        ok = demo::WriteFile(look.folder / look.down,
                             Strip(Glyph::Down, look.width, look.arrowHeight, look.base).Bmp()) &&
             ok;
        ok = demo::WriteFile(look.folder / look.knob,
                             Strip(Glyph::Knob, look.width, look.knobHeight, look.base).Bmp()) &&
             ok;
    }
    return ok;
}

// The drop-down list ------------------------------------------------------------------

// A framed panel: a dark rim, a lighter bevel and a shaded body.
Canvas Panel(int32_t w, int32_t h, Rgb body) {
    Canvas canvas(w, h, body);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const bool rim = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool bevel = x == 1 || y == 1;
            canvas.Set(x, y,
                       rim     ? demo::Scaled(body, 1, 3)
                       : bevel ? demo::Scaled(body, 3, 2)
                               : demo::Scaled(body, 100 - 10 * y / h, 100));
        }
    return canvas;
}

bool WriteDropdown(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "gfx" / "interface" / "frontend";
    const Rgb body{70, 56, 36};
    Canvas closed = Panel(150, 28, body);
    Canvas open = Panel(150, 130, body);
    // The open list's well below the box.
    Canvas well = Panel(136, 100, demo::Scaled(body, 2, 3));
    for (int32_t y = 0; y < well.height; ++y)
        for (int32_t x = 0; x < well.width; ++x)
            open.Set(6 + x, 24 + y, well.pixels[static_cast<size_t>(y) * well.width + x]);
    bool ok = demo::WriteFile(folder / "bg_dropdown_1.bmp", closed.Bmp());
    ok = demo::WriteFile(folder / "bg_dropdown_2.bmp", open.Bmp()) && ok;
    ok = demo::WriteFile(folder / "btn_dropdown_1.bmp",
                         Strip(Glyph::Down, 14, 20, {170, 130, 40}).Bmp()) &&
         ok;
    ok = demo::WriteFile(folder / "btn_dropdown_2.bmp",
                         Strip(Glyph::Up, 14, 20, {170, 130, 40}).Bmp()) &&
         ok;
    return ok;
}

// Sliders and radio buttons -----------------------------------------------------------

bool WriteSliderParts(const std::filesystem::path& game) {
    const std::filesystem::path gfx = game / "gfx";
    bool ok = demo::WriteFile(gfx / "interface" / "button area" / "btn_slider.bmp",
                              Strip(Glyph::Knob, 10, 16, {190, 150, 60}).Bmp());
    // The track: a groove with notches every tenth.
    Canvas track(100, 8);
    track.FillRect(0, 2, 100, 6, {60, 44, 20});
    track.FillRect(0, 3, 100, 5, {120, 96, 50});
    for (int32_t x = 0; x <= 100; x += 10)
        track.FillRect(std::min(x, 99), 0, std::min(x, 99) + 1, 8, {60, 44, 20});
    ok = demo::WriteFile(gfx / "interface" / "sprite_slider.bmp", track.Bmp()) && ok;
    ok = demo::WriteFile(gfx / "settings" / "btn_radio.bmp",
                         Strip(Glyph::Radio, 16, 16, {170, 140, 70}).Bmp()) &&
         ok;
    ok = demo::WriteFile(gfx / "empty.bmp", Strip(Glyph::Empty, 8, 8, {0, 0, 0}).Bmp()) && ok;
    return ok;
}

const demo::DemoWriter kTextButtonWriter("gfx/interface/tb", &WriteTextButtons);
const demo::DemoWriter kScrollBarWriter("gfx/interface/scrollbars", &WriteScrollBars);
const demo::DemoWriter kDropdownWriter("gfx/interface/frontend/dropdown", &WriteDropdown);
const demo::DemoWriter kSliderWriter("gfx/interface/sliders", &WriteSliderParts);

const demo::DemoText kWidgetTexts[] = {
    {"DROPDOWN_NO_SELECTION", "No game chosen"},
};

} // namespace
