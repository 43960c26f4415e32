#pragma once
// Bitmap fonts and text drawing.
//
// A font is read from an 8-bit BMP one glyph cell wide and N cells high;
// cell k (from the top) holds the k-th character of the font's character
// list, or, without a list, the characters 33 to 255 in order. Pixel value
// 255 is background; any other value is ink for the glyph's width, and its
// low four bits are the shade (0 draws nothing). Each glyph is packed into
// run codes, ((run length - 1) << 4) | shade, a run holding at most 16
// pixels of one shade and running on across row ends.
//
// Text markup (in the single-byte code page):
//   "%" d1 d2 d3  colour: blue (d1 - 48) x 32, green (d2 - 48) x 32, red
//                 (d3 - 48) x 32, each held to 0..255
//   "\xA7Y"       colour RGB(255, 189, 0); "\xA7W" white; "\xA7" with any
//                 other character acts as "%"
//   "|" number    the pen moves to that x (absolute pixels)
//   10 or 13      a new line (one following 10 or 13 belongs to it)
//   "\\n"         a new line; "\\" with another character draws that one
// Markup cut short by the end of the text ends the text.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Pixel.h"
#include "engine/StringMap.h"

class CImageBase;
class CSprite;

// One character: its run codes and its width in pixels. An empty glyph has
// no codes.
struct CFontGlyph {
    // Packs the cell (cellHeight rows of cellWidth pixels, pitch bytes
    // apart). The width is the last column holding a value below 255, plus
    // one; a cell without such a value is an empty glyph of width 1.
    void Encode(int32_t pitch, int32_t cellWidth, int32_t cellHeight, const uint8_t* pixels);

    std::vector<uint8_t> codes;
    uint16_t width = 0;
};

// Bytes of all glyph codes encoded so far, plus 8 a glyph.
extern uint64_t g_fontGlyphBytes;

class CFont : public CGraphicsBase {
public:
    CFont();
    ~CFont() override;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Reads the font picture: cellWidth = the picture's width, one glyph per
    // cell for each character of the list (or 33 to 255 without one), the
    // space an empty glyph of width cellWidth / 6. Cells that lie past the
    // bottom of the picture are empty glyphs. A file that cannot be opened,
    // or is not an 8-bit picture, shows "didnt find FONT : <name>" and
    // answers false; the font is then left as it was. On success the font
    // is entered into g_fonts under the file name, which then owns it.
    bool LoadFont(const std::string& name, int32_t height, const char* characters);

    // Puts the picture of the image file (a private copy) in place of the
    // character, which then advances by the picture's width. False when the
    // picture has no pixels.
    bool SetPictureGlyph(const std::string& imageFile, unsigned char character);

    // Draws the text with its markup at (x, y) in the colour; answers the x
    // after the last character. A glyph is drawn only when it lies wholly
    // inside the clip rectangle (held to the destination); the x advances
    // either way.
    int32_t DrawText(std::string_view text, int32_t startX, int32_t startY, const Rect& clip,
                     CImageBase* destination, uint16_t colour);
    // The width of the text laid out on one line.
    int32_t GetTextWidth(std::string_view text) const;
    // The number of lines of the text word-wrapped to the width: a word
    // that overflows a line holding a space moves to a new line, one that
    // fills a line alone breaks before the overflowing character. The last
    // line counts only while a word is open (0 for an empty text; a trailing
    // space or line break adds no line).
    int32_t CountWrappedLines(std::string_view text, int32_t width) const;

    // Each draws with DrawText, the left edge and shadow as named; without
    // a clip rectangle the whole destination clips. Centred: x - width / 2;
    // right: x - width.
    int32_t DrawTextLeft(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                         uint16_t colour, const Rect* clip = nullptr);
    int32_t DrawTextCentred(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                            uint16_t colour, const Rect* clip = nullptr);
    int32_t DrawTextRight(std::string_view text, int32_t x, int32_t y, CImageBase* destination,
                          uint16_t colour, const Rect* clip = nullptr);
    int32_t DrawTextLeftShadowed(std::string_view text, int32_t x, int32_t y,
                                 CImageBase* destination, uint16_t colour,
                                 const Rect* clip = nullptr);
    int32_t DrawTextCentredShadowed(std::string_view text, int32_t x, int32_t y,
                                    CImageBase* destination, uint16_t colour,
                                    const Rect* clip = nullptr);
    int32_t DrawTextRightShadowed(std::string_view text, int32_t x, int32_t y,
                                  CImageBase* destination, uint16_t colour,
                                  const Rect* clip = nullptr);

    const CFontGlyph* GetGlyph(unsigned char c) const { return glyphs[c].get(); }

    int32_t cellWidth = 0;
    std::array<std::unique_ptr<CFontGlyph>, 256> glyphs;
    std::string fileName;
    int32_t cellHeight = 0;
    std::array<std::unique_ptr<CSprite>, 256> pictureGlyphs;
    uint8_t shadow = 0;

private:
    int32_t Advance(unsigned char c) const;
    int32_t SpaceAdvance() const;
    void DrawGlyph(const CFontGlyph& glyph, int32_t x, int32_t y, CImageBase& destination,
                   uint16_t colour) const;
    int32_t Print(std::string_view text, int32_t left, int32_t y, CImageBase* destination,
                  uint16_t colour, const Rect* clip, bool withShadow);
};

// Every font loaded, by file name (compared without regard to case); owns
// them.
extern CStringDictionary<CFont> g_fonts;
