#include "ui/widgets/TextItem.h"

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/Image.h"

int32_t GlyphWidth(const CFont& font, unsigned char c) {
    const CFontGlyph* glyph = font.GetGlyph(c);
    return glyph ? glyph->width : font.cellWidth;
}

CTextItem::CTextItem() : destination(g_screen.get()) {}

int CTextItem::HandleEvent(COVEvent& /*event*/) {
    return DRAWABLE_NOT_TAKEN;
}

void CTextItem::Draw(int32_t /*param*/) {}

bool CTextItem::HitTest(int32_t pointX, int32_t pointY) const {
    return pointX > x && pointX < x + GetWidth() && pointY > y && pointY < y + GetHeight();
}

CTextLabel::CTextLabel(CFont* fontValue, const std::string& text, int32_t maxWidthValue,
                       uint16_t colourValue, uint8_t centredValue)
    : font(fontValue), maxWidth(maxWidthValue), centred(centredValue) {
    colour = colourValue;
    m_full = text.substr(0, kMaxText);
    const bool tooLong = text.size() > kMaxText;
    if (!font || (!tooLong && font->GetTextWidth(m_full) <= maxWidth)) {
        m_shown = m_full;
        return;
    }
    int32_t room = maxWidth - 3 * GlyphWidth(*font, '.');
    if (room < 1) {
        m_shown = "...";
        return;
    }
    // The last character copied may reach past the room; room is left for
    // the dots within the 255 characters.
    for (size_t i = 0; i < m_full.size() && room > 0 && m_shown.size() < kMaxText - 3; ++i) {
        m_shown += m_full[i];
        room -= GlyphWidth(*font, static_cast<unsigned char>(m_full[i]));
    }
    m_shown += "...";
}

int32_t CTextLabel::GetHeight() const {
    return font ? font->cellHeight : 0;
}

void CTextLabel::Draw(int32_t /*param*/) {
    if (!font || !destination)
        return;
    if (centred)
        font->DrawTextCentredShadowed(m_shown, x + maxWidth / 2, y, destination, colour);
    else
        font->DrawTextLeftShadowed(m_shown, x, y, destination, colour);
}

CTextLink::CTextLink(CFont* fontValue, const std::string& text, int32_t maxWidthValue,
                     int32_t commandIdValue, ObjectId objectIdValue)
    : CTextLabel(fontValue, text, maxWidthValue, 0, 0), commandId(commandIdValue),
      objectId(objectIdValue) {}

void CTextLink::Draw(int32_t /*param*/) {
    if (!font || !destination)
        return;
    uint16_t pixel = RgbToPixel(255, 198, 0);
    if (!enabled)
        pixel = RgbToPixel(127, 127, 127);
    else if (highlight)
        pixel = RgbToPixel(255, 255, 255);
    font->DrawTextLeftShadowed(GetShownText(), x, y, destination, pixel);
}

CLineItem::CLineItem(int32_t width, int32_t height, uint16_t colourValue)
    : m_width(width), m_height(height) {
    colour = colourValue;
}

void CLineItem::Draw(int32_t /*param*/) {
    auto* target = dynamic_cast<CImage*>(destination);
    if (!target)
        return;
    target->penColour = colour;
    const int32_t middle = y + GetHeight() / 2;
    target->DrawLine(x, middle, x + GetWidth(), middle);
}
