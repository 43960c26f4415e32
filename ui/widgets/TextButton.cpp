#include "ui/widgets/TextButton.h"

#include <algorithm>

#include "engine/Font.h"
#include "ui/TextButtonImages.h"

namespace {

constexpr int32_t kStateCount = 4;

int32_t PieceCount(CFont& font, const std::string& text, int32_t centreWidth) {
    return font.GetTextWidth(text) / centreWidth + 1;
}

void DrawPiece(CSprite* piece, int32_t x, CImageBase* destination) {
    if (!piece || !piece->image)
        return;
    CImageBase* previous = piece->GetDestination();
    const SpritePoint at = piece->GetPosition();
    const Rect clip = piece->clip;
    piece->SetDestination(destination);
    piece->SetClipRect(0, 0, destination->width, destination->height);
    piece->SetPosition(x, 0);
    piece->Draw(0);
    piece->SetPosition(at.x, at.y);
    piece->SetClipRectFrom(clip);
    if (previous)
        piece->SetDestination(previous);
}

} // namespace

CTextButton::CTextButton() : CButton() {
    if (image)
        image->hasColourKey = 1;
}

CTextButton::CTextButton(const std::string& text, CFont* font, int32_t fixedWidth) : CButton() {
    RenderFrames(text, font, fixedWidth);
}

void CTextButton::RenderFrames(const std::string& text, CFont* font, int32_t fixedWidth,
                               const char* secondText) {
    ReleaseImage();
    m_label = text.substr(0, 255);
    if (!font)
        return;
    const CTextButtonImageSet& set =
        font->cellHeight >= 15 ? g_textButtonImages : g_smallTextButtonImages;
    CSprite* plainCentre = set.Centre(0);
    CSprite* plainLeft = set.Left(0);
    if (!plainCentre || !plainLeft || plainCentre->GetWidth() <= 0)
        return;
    const int32_t centreWidth = plainCentre->GetWidth();
    const int32_t leftWidth = plainLeft->GetWidth();
    const int32_t sides = 2 * leftWidth;

    int32_t count = 0;
    int32_t frameWidth = 0;
    if (fixedWidth == 0) {
        count = PieceCount(*font, m_label, centreWidth);
        if (secondText)
            count = std::max(count, PieceCount(*font, secondText, centreWidth));
        frameWidth = centreWidth * count + sides;
    } else {
        frameWidth = fixedWidth;
        count = (fixedWidth - sides) / centreWidth;
        while (centreWidth * count + sides < fixedWidth)
            ++count;
    }
    const int32_t height = plainCentre->GetHeight();
    CreateImage(kStateCount * frameWidth, height, 16);
    if (!image || image->width <= 0)
        return;
    image->ClearToColourKey();
    ResetState();
    SetFrameCount(kStateCount);

    const int32_t textWidth = font->GetTextWidth(m_label);
    const int32_t cy = height / 2 - font->cellHeight / 2;
    for (int32_t s = 0; s < kStateCount; ++s) {
        const int32_t x0 = s * frameWidth;
        DrawPiece(set.Left(s), x0, image);
        for (int32_t i = 0; i < count; ++i)
            DrawPiece(set.Centre(s), x0 + leftWidth + i * centreWidth, image);
        DrawPiece(set.Right(s), x0 + leftWidth + count * centreWidth, image);

        const int32_t cx = x0 + frameWidth / 2 - textWidth / 2;
        switch (s) {
        case 0:
            font->DrawTextLeft("%000" + m_label, cx + 1, cy + 1, image, 0xFFFF);
            font->DrawTextLeft(m_label, cx, cy, image, 0xFFFF);
            break;
        case 1:
            font->DrawTextLeft("%000" + m_label, cx + 1, cy + 1, image, 0xFFFF);
            font->DrawTextLeft("%077" + m_label, cx, cy, image, 0xFFFF);
            break;
        case 2:
            if (secondText) {
                const std::string second = std::string(secondText).substr(0, 255);
                const int32_t secondX = x0 + frameWidth / 2 - font->GetTextWidth(second) / 2;
                font->DrawTextLeft("%077" + second, secondX, cy, image, 0xFFFF);
            } else {
                font->DrawTextLeft("%077" + m_label, cx + 1, cy + 1, image, 0xFFFF);
            }
            break;
        default:
            font->DrawTextLeft("%333" + m_label, cx, cy, image, 0xFFFF);
            break;
        }
    }
    image->hasColourKey = 1;
}
