#include "ui/WindowFrame.h"

#include <string>

#include "engine/Palette.h"
#include "engine/Sprite.h"

CWindowFrame* g_windowFrame16 = nullptr;
CWindowFrame* g_windowFrame8 = nullptr;

CWindowFrame::CWindowFrame(int32_t tileSize) : tile(tileSize) {
    if (!IsValid())
        return;
    static const char* const kSuffixes[kPieceCount] = {"b",  "bl", "br", "c", "cl",
                                                       "cr", "t",  "tl", "tr"};
    const std::string stem = tileSize == 16 ? "gfx\\interface\\win_" : "gfx\\interface\\win8_";
    CPalette* palette = GetPalette("dialogue.act");
    for (int32_t i = 0; i < kPieceCount; ++i) {
        pieces[i] = std::make_unique<CSprite>(stem + kSuffixes[i] + ".bmp");
        if (palette)
            pieces[i]->SetPalette(palette);
    }
}

CWindowFrame::~CWindowFrame() = default;
