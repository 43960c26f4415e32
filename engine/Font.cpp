#include "engine/Font.h"

#include <algorithm>
#include <limits>

#include "engine/CriticalError.h"
#include "engine/Image.h"
#include "engine/ImageAccess.h"
#include "engine/Sprite.h"
#include "platform/Files.h"

CStringDictionary<CFont> g_fonts;
uint64_t g_fontGlyphBytes = 0;

namespace {

constexpr unsigned char kSection = 0xA7; // the colour sign of the code page

bool IsLineBreak(unsigned char c) {
    return c == 10 || c == 13;
}

// A colour digit of the markup: (d - 48) x 32, held to a channel.
int32_t MarkupChannel(char digit) {
    return std::clamp((static_cast<unsigned char>(digit) - 48) * 32, 0, 255);
}

// The colour of "%" d1 d2 d3 at text[at + 1 ..]; the caller checked that
// the three characters are there.
uint16_t MarkupColour(std::string_view text, size_t at) {
    return CGraphicsBase::RgbToPixel(MarkupChannel(text[at + 3]), MarkupChannel(text[at + 2]),
                                     MarkupChannel(text[at + 1]));
}

// The characters a colour code starting at text[at] ("\xA7" or "%") takes.
size_t ColourCodeLength(std::string_view text, size_t at) {
    if (static_cast<unsigned char>(text[at]) == kSection && at + 1 < text.size() &&
        (text[at + 1] == 'Y' || text[at + 1] == 'W'))
        return 2;
    return 4;
}

// The decimal number at text[at] as "%d" reads it (blanks, a sign, digits,
// held to 32 bits); the characters taken, 0 when there is no number.
size_t ReadNumber(std::string_view text, size_t at, int32_t& value) {
    size_t i = at;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    size_t digits = i;
    int64_t number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number = std::min<int64_t>(number * 10 + (text[i] - '0'), int64_t{1} << 32);
        ++i;
    }
    if (i == digits)
        return 0;
    number = negative ? -number : number;
    value = static_cast<int32_t>(std::clamp<int64_t>(number, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
    return i - at;
}

Rect Intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

} // namespace

// CFontGlyph --------------------------------------------------------------------

void CFontGlyph::Encode(int32_t pitch, int32_t cellWidth, int32_t cellHeight,
                        const uint8_t* pixels) {
    codes.clear();
    int32_t inkWidth = 0;
    for (int32_t row = 0; row < cellHeight; ++row) {
        const uint8_t* line = pixels + static_cast<size_t>(row) * pitch;
        for (int32_t col = cellWidth - 1; col >= inkWidth; --col)
            if (line[col] < 255) {
                inkWidth = col + 1;
                break;
            }
    }
    if (inkWidth == 0) {
        width = 1;
        g_fontGlyphBytes += 8;
        return;
    }
    width = static_cast<uint16_t>(std::min(inkWidth, 0xFFFF));

    // A pixel continues the open run only when its value (255 read as 0)
    // equals the run's shade and the run holds fewer than 16 pixels.
    int32_t runShade = 0;
    int32_t runLength = 0;
    for (int32_t row = 0; row < cellHeight; ++row) {
        const uint8_t* line = pixels + static_cast<size_t>(row) * pitch;
        for (int32_t col = 0; col < width; ++col) {
            int32_t value = line[col] == 255 ? 0 : line[col];
            if (runLength > 0 && value == runShade && runLength < 16) {
                ++runLength;
                continue;
            }
            if (runLength > 0)
                codes.push_back(static_cast<uint8_t>((runLength - 1) << 4 | runShade));
            runShade = value & 15;
            runLength = 1;
        }
    }
    if (runLength > 0)
        codes.push_back(static_cast<uint8_t>((runLength - 1) << 4 | runShade));
    g_fontGlyphBytes += codes.size() + 8;
}

// CFont: loading ----------------------------------------------------------------

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::LoadFont(const std::string& name, int32_t height, const char* characters) {
    CBitmap picture;
    if (!platform::GameFileExists(name) || !picture.LoadBmp(name) || picture.bitsPerPixel != 8) {
        CriticalError("didnt find FONT : %s\n", name.c_str());
        return false;
    }
    for (auto& glyph : glyphs)
        glyph.reset();
    fileName = name;
    cellWidth = picture.width;
    cellHeight = std::max(height, 0);
    glyphs[' '] = std::make_unique<CFontGlyph>();
    glyphs[' ']->width = static_cast<uint16_t>(std::min(cellWidth / 6, 0xFFFF));

    std::string_view list;
    std::string allGlyphs;
    if (characters) {
        list = characters;
    } else {
        for (int c = 33; c <= 255; ++c)
            allGlyphs += static_cast<char>(c);
        list = allGlyphs;
    }
    const int64_t rowsPerCell = cellHeight;
    for (size_t k = 0; k < list.size(); ++k) {
        auto glyph = std::make_unique<CFontGlyph>();
        // Cells past the bottom of the picture are empty; a cell cut by it
        // has only its rows inside.
        int64_t top = static_cast<int64_t>(k) * rowsPerCell;
        int64_t rows = std::clamp<int64_t>(picture.height - top, 0, rowsPerCell);
        if (rows > 0)
            glyph->Encode(picture.pitch, picture.width, static_cast<int32_t>(rows),
                          picture.pixels + static_cast<size_t>(top) * picture.pitch);
        else
            glyph->Encode(picture.pitch, picture.width, 0, nullptr);
        glyphs[static_cast<unsigned char>(list[k])] = std::move(glyph);
    }
    g_fonts.Insert(fileName, this);
    return true;
}

bool CFont::SetPictureGlyph(const std::string& imageFile, unsigned char character) {
    auto sprite = std::make_unique<CSprite>(imageFile);
    sprite->MakeImagePrivate();
    if (!glyphs[character])
        glyphs[character] = std::make_unique<CFontGlyph>();
    glyphs[character]->width = static_cast<uint16_t>(std::clamp(sprite->GetWidth(), 0, 0xFFFF));
    bool hasPixels = sprite->image && sprite->image->pixels;
    pictureGlyphs[character] = std::move(sprite);
    return hasPixels;
}

// CFont: measuring ----------------------------------------------------------------

int32_t CFont::SpaceAdvance() const {
    return glyphs[' '] ? glyphs[' ']->width : cellWidth;
}

int32_t CFont::Advance(unsigned char c) const {
    if (c == ' ')
        return SpaceAdvance();
    return glyphs[c] ? glyphs[c]->width : cellWidth;
}

int32_t CFont::GetTextWidth(std::string_view text) const {
    int64_t width = 0;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == kSection || c == '%') {
            i += ColourCodeLength(text, i);
        } else if (IsLineBreak(c)) {
            ++i;
        } else if (c == '\\') {
            if (i + 1 < text.size() && text[i + 1] != 'n')
                width += Advance(static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            width += Advance(c);
            ++i;
        }
    }
    return static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
}

int32_t CFont::CountWrappedLines(std::string_view text, int32_t width) const {
    int32_t count = 0;
    int64_t lineWidth = 0;
    int64_t wordWidth = 0;
    bool wordOpen = false;
    bool lineHasSpace = false;
    auto endLine = [&] {
        ++count;
        wordOpen = false;
        wordWidth = 0;
        lineWidth = 0;
        lineHasSpace = false;
    };
    auto addCharacter = [&](unsigned char c) {
        int32_t advance = Advance(c);
        lineWidth += advance;
        wordWidth += advance;
        wordOpen = true;
        if (lineWidth <= width)
            return;
        if (!lineHasSpace)
            wordWidth = advance; // the word breaks before this character
        lineWidth = wordWidth;
        ++count;
        lineHasSpace = false;
    };
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == kSection || c == '%') {
            i += ColourCodeLength(text, i);
        } else if (IsLineBreak(c)) {
            endLine();
            ++i;
        } else if (c == '\\') {
            if (i + 1 < text.size() && text[i + 1] == 'n')
                endLine();
            else if (i + 1 < text.size())
                addCharacter(static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else if (c == ' ') {
            wordOpen = false;
            wordWidth = 0;
            lineWidth += SpaceAdvance();
            lineHasSpace = true;
            ++i;
        } else {
            addCharacter(c);
            ++i;
        }
    }
    // The last line counts only while a word is open: a text that ends in a
    // space or a line break adds no line.
    return wordOpen ? count + 1 : count;
}

// CFont: drawing ----------------------------------------------------------------

void CFont::DrawGlyph(const CFontGlyph& glyph, int32_t x, int32_t y, CImageBase& destination,
                      uint16_t colour) const {
    CPixelAccess access(destination);
    const PixelView& view = access.view;
    const int32_t width = glyph.width;
    if (!view.pixels || width <= 0)
        return;
    const bool wide = destination.bytesPerPixel == 2;
    const bool withShadow = shadow != 0;
    int32_t col = 0;
    int32_t row = 0;
    for (uint8_t code : glyph.codes) {
        int32_t run = (code >> 4) + 1;
        int32_t shade = code & 15;
        if (shade == 0) {
            col += run;
            row += col / width;
            col %= width;
        } else {
            for (; run > 0; --run) {
                if (row >= cellHeight)
                    return;
                // The caller placed the glyph wholly inside the picture.
                int32_t px = x + col;
                int32_t py = y + row;
                uint8_t* at = access.Row(py);
                if (wide)
                    StorePixel(at + px * 2, colour);
                else
                    at[px] = static_cast<uint8_t>(shade);
                if (withShadow && px + 1 < view.width && py + 1 < view.height) {
                    uint8_t* below = access.Row(py + 1);
                    if (wide)
                        StorePixel(below + (px + 1) * 2, 0);
                    else
                        below[px + 1] = 0;
                }
                if (++col == width) {
                    col = 0;
                    ++row;
                }
            }
        }
        if (row >= cellHeight)
            return;
    }
}

int32_t CFont::DrawText(std::string_view text, int32_t startX, int32_t startY, const Rect& clip,
                        CImageBase* destination, uint16_t colour) {
    if (!destination)
        return startX;
    Rect bounds;
    {
        CPixelAccess access(*destination);
        bounds = Intersect(clip, {0, 0, access.view.width, access.view.height});
    }
    // The pen runs in 64 bits: tab stops and long texts cannot overflow it.
    int64_t x = startX;
    int64_t y = startY;
    auto drawCharacter = [&](unsigned char c) {
        const CFontGlyph& glyph = *glyphs[c];
        if (pictureGlyphs[c]) {
            if (x >= std::numeric_limits<int32_t>::min() &&
                x <= std::numeric_limits<int32_t>::max() &&
                y >= std::numeric_limits<int32_t>::min() &&
                y <= std::numeric_limits<int32_t>::max()) {
                CSprite& picture = *pictureGlyphs[c];
                picture.SetDestination(destination);
                picture.SetClipRectFrom(bounds);
                picture.SetPosition(static_cast<int32_t>(x), static_cast<int32_t>(y));
                picture.Draw(0);
            }
        } else if (x >= bounds.left && x + glyph.width <= bounds.right && y >= bounds.top &&
                   y <= int64_t{bounds.bottom} - cellHeight) {
            DrawGlyph(glyph, static_cast<int32_t>(x), static_cast<int32_t>(y), *destination,
                      colour);
        }
        x += glyph.width;
    };
    auto newLine = [&] {
        x = startX;
        y += cellHeight;
    };

    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!glyphs[c]) {
            ++i;
            continue;
        }
        if (c == kSection && i + 1 < n && (text[i + 1] == 'Y' || text[i + 1] == 'W')) {
            colour = text[i + 1] == 'Y' ? RgbToPixel(255, 189, 0) : RgbToPixel(255, 255, 255);
            i += 2;
        } else if (c == kSection || c == '%') {
            if (n - i < 4)
                break; // a colour code cut short ends the text
            colour = MarkupColour(text, i);
            i += 4;
        } else if (c == '|') {
            int32_t column = 0;
            size_t taken = ReadNumber(text, i + 1, column);
            if (taken > 0)
                x = column;
            i += 1 + taken;
        } else if (c == ' ') {
            x += SpaceAdvance();
            ++i;
        } else if (IsLineBreak(c)) {
            newLine();
            ++i;
            if (i < n && IsLineBreak(static_cast<unsigned char>(text[i])))
                ++i;
        } else if (c == '\\') {
            if (i + 1 >= n)
                break;
            unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (next == 'n')
                newLine();
            else if (glyphs[next])
                drawCharacter(next);
            i += 2;
        } else {
            drawCharacter(c);
            ++i;
        }
    }
    return static_cast<int32_t>(std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t CFont::Print(std::string_view text, int32_t left, int32_t y, CImageBase* destination,
                     uint16_t colour, const Rect* clip, bool withShadow) {
    if (!destination)
        return left;
    shadow = withShadow ? 1 : 0;
    Rect whole{0, 0, destination->width, destination->height};
    return DrawText(text, left, y, clip ? *clip : whole, destination, colour);
}

int32_t CFont::DrawTextLeft(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                            uint16_t colour, const Rect* clip) {
    return Print(text, x, y, destination, colour, clip, false);
}

int32_t CFont::DrawTextCentred(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                               uint16_t colour, const Rect* clip) {
    return Print(text, x - GetTextWidth(text) / 2, y, destination, colour, clip, false);
}

int32_t CFont::DrawTextRight(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                             uint16_t colour, const Rect* clip) {
    return Print(text, x - GetTextWidth(text), y, destination, colour, clip, false);
}

int32_t CFont::DrawTextLeftShadowed(std::string_view text, int32_t x, int32_t y,
                                    CImageBase* destination, uint16_t colour, const Rect* clip) {
    return Print(text, x, y, destination, colour, clip, true);
}

int32_t CFont::DrawTextCentredShadowed(std::string_view text, int32_t x, int32_t y,
                                       CImageBase* destination, uint16_t colour, const Rect* clip) {
    return Print(text, x - GetTextWidth(text) / 2, y, destination, colour, clip, true);
}

int32_t CFont::DrawTextRightShadowed(std::string_view text, int32_t x, int32_t y,
                                     CImageBase* destination, uint16_t colour, const Rect* clip) {
    return Print(text, x - GetTextWidth(text), y, destination, colour, clip, true);
}
