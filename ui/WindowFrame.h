#pragma once
// CWindowFrame: the nine tile pictures a popup window's frame is made of,
// of tile size 16 or 8. Start-up makes one set of each size.
#include <array>
#include <cstdint>
#include <memory>

class CSprite;

class CWindowFrame {
public:
    // The pieces, in this order.
    enum Piece {
        kBottom,
        kBottomLeft,
        kBottomRight,
        kCentre,
        kLeft,
        kRight,
        kTop,
        kTopLeft,
        kTopRight,
        kPieceCount
    };

    // Loads "gfx\interface\win_*.bmp" (16) or "gfx\interface\win8_*.bmp"
    // (8), each with the palette "dialogue.act". Any other size makes a set
    // without pieces (IsValid false).
    explicit CWindowFrame(int32_t tileSize);
    ~CWindowFrame();
    CWindowFrame(const CWindowFrame&) = delete;
    CWindowFrame& operator=(const CWindowFrame&) = delete;

    bool IsValid() const { return tile == 16 || tile == 8; }
    // The piece, or null when the set has none.
    CSprite* Get(Piece piece) const { return pieces[piece].get(); }

    int32_t tile = 0;
    std::array<std::unique_ptr<CSprite>, kPieceCount> pieces;
};

// The two sets; null before start-up made them and after shutdown.
extern CWindowFrame* g_windowFrame16;
extern CWindowFrame* g_windowFrame8;
