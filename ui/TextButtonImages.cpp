#include "ui/TextButtonImages.h"

#include "engine/Palette.h"
#include "engine/Sprite.h"

CTextButtonImageSet g_textButtonImages;
CTextButtonImageSet g_smallTextButtonImages;

CTextButtonImageSet::CTextButtonImageSet() = default;
CTextButtonImageSet::~CTextButtonImageSet() = default;

bool CTextButtonImageSet::IsLoaded() const {
    for (const auto& piece : pieces)
        if (!piece || !piece->image || piece->image->width <= 0)
            return false;
    return true;
}

std::unique_ptr<CSprite> LoadTextButtonImage(const std::string& path) {
    auto sprite = std::make_unique<CSprite>(path);
    if (CPalette* palette = GetPalette("tb.bmp"))
        sprite->SetPalette(palette);
    if (sprite->image)
        sprite->image->hasColourKey = 1;
    return sprite;
}

void LoadTextButtonImageSet(CTextButtonImageSet& set, const std::string& prefix) {
    for (auto& piece : set.pieces)
        piece.reset();
    static const char* const kStates[] = {"plain", "over", "down", "dis"};
    for (int32_t state = 0; state < 4; ++state) {
        const std::string stem = "gfx\\interface\\" + prefix + "_" + kStates[state] + "_";
        set.pieces[static_cast<size_t>(CTextButtonImageSet::kCentre + state)] =
            LoadTextButtonImage(stem + "c.bmp");
        set.pieces[static_cast<size_t>(CTextButtonImageSet::kLeft + state)] =
            LoadTextButtonImage(stem + "l.bmp");
        set.pieces[static_cast<size_t>(CTextButtonImageSet::kRight + state)] =
            LoadTextButtonImage(stem + "r.bmp");
    }
}

bool LoadTextButtonImages() {
    LoadTextButtonImageSet(g_textButtonImages, "tb");
    LoadTextButtonImageSet(g_smallTextButtonImages, "tbsmall");
    return g_textButtonImages.IsLoaded() && g_smallTextButtonImages.IsLoaded();
}

void FreeTextButtonImages() {
    for (auto& piece : g_textButtonImages.pieces)
        piece.reset();
    for (auto& piece : g_smallTextButtonImages.pieces)
        piece.reset();
}
