#pragma once
// The shared pictures of the text buttons, loaded at start-up: the sets
// "tb" (fonts of line height 15 and more) and "tbsmall", each a left cap, a
// repeated centre piece and a right cap for the four button states.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CSprite;

struct CTextButtonImageSet {
    // Slots: the centre pieces of plain, over, down, disabled (0-3), the
    // left caps (4-7), the right caps (8-11).
    static constexpr int32_t kCentre = 0;
    static constexpr int32_t kLeft = 4;
    static constexpr int32_t kRight = 8;
    std::array<std::unique_ptr<CSprite>, 12> pieces;

    CTextButtonImageSet();
    ~CTextButtonImageSet();
    CSprite* Centre(int32_t state) const {
        return pieces[static_cast<size_t>(kCentre + state)].get();
    }
    CSprite* Left(int32_t state) const { return pieces[static_cast<size_t>(kLeft + state)].get(); }
    CSprite* Right(int32_t state) const {
        return pieces[static_cast<size_t>(kRight + state)].get();
    }
    bool IsLoaded() const;
};

extern CTextButtonImageSet g_textButtonImages;
extern CTextButtonImageSet g_smallTextButtonImages;

// One piece: the picture of the file with the palette "tb.bmp", colour-keyed.
std::unique_ptr<CSprite> LoadTextButtonImage(const std::string& path);
// Clears the twelve pieces, then loads "gfx\interface\<prefix>_<state>_<c|l|r>.bmp"
// for the states plain, over, down and dis.
void LoadTextButtonImageSet(CTextButtonImageSet& set, const std::string& prefix);

// "tb" and "tbsmall"; true when every piece has a picture.
bool LoadTextButtonImages();
void FreeTextButtonImages();
