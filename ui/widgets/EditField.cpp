#include "ui/widgets/EditField.h"

#include <algorithm>
#include <cstring>

#include "engine/Font.h"
#include "engine/Image.h"
#include "ui/widgets/TextItem.h"
#include "ui/widgets/WidgetEvents.h"

CEditField::CEditField(int32_t x, int32_t y, int32_t widthValue, int32_t maxLength,
                       CFont* fontValue, CImageBase* destinationValue, const char* initialText)
    : destination(destinationValue), font(fontValue), width(widthValue),
      m_maxLength(std::max(maxLength, 0)) {
    capacity = m_maxLength + 2;
    SetPosition(x, y);
    if (initialText)
        m_text.assign(initialText, strnlen(initialText, static_cast<size_t>(m_maxLength)));
}

void CEditField::SetPosition(int32_t x, int32_t y) {
    left = x;
    top = y;
    bottom = y + (font ? font->cellHeight : 0);
    right = x + width;
}

void CEditField::Clear() {
    m_text.clear();
    submitted = 0;
    firstShown = 0;
    caret = 0;
}

void CEditField::SetText(const std::string& text) {
    m_text = text.substr(0, static_cast<size_t>(m_maxLength));
    const size_t end = m_text.find('\0');
    if (end != std::string::npos)
        m_text.resize(end);
    const int32_t length = static_cast<int32_t>(m_text.size());
    caret = std::min(caret, length);
    firstShown = std::min(firstShown, caret);
}

void CEditField::SetColourCode(const std::string& code) {
    if (code.size() != 4)
        return;
    auto level = [&code](size_t i) { return (static_cast<unsigned char>(code[i]) & 15) * 32; };
    colour = RgbToPixel(level(3), level(2), level(1));
}

int32_t CEditField::Glyph(char c) const {
    return font ? GlyphWidth(*font, static_cast<unsigned char>(c)) : 0;
}

void CEditField::Fit() {
    const int32_t room = right - left;
    for (;;) {
        int32_t sum = 0;
        for (int32_t i = firstShown; i < caret && i < static_cast<int32_t>(m_text.size()); ++i)
            sum += Glyph(m_text[static_cast<size_t>(i)]) + 1;
        if (sum <= room || firstShown >= caret)
            return;
        ++firstShown;
    }
}

void CEditField::Insert(char c) {
    if (fileName && std::strchr(",./:;\\", c))
        return;
    if (digitsOnly && (c < '0' || c > '9'))
        return;
    if (static_cast<int32_t>(m_text.size()) >= m_maxLength || caret >= m_maxLength)
        return;
    m_text.insert(static_cast<size_t>(caret), 1, c);
    ++caret;
    Fit();
}

int CEditField::HandleEvent(COVEvent& event) {
    switch (widget::Kind(event)) {
    case widget::kLeftUp: {
        const int32_t px = widget::PointerX(event);
        const int32_t py = widget::PointerY(event);
        if (left < px && px < right && top < py && py < bottom) {
            blinkCounter = 0;
            focus = 1;
            caretShown = 1;
        } else {
            focus = 0;
            caretShown = 0;
        }
        return DRAWABLE_TAKEN;
    }
    case widget::kKey:
        if (!focus)
            return DRAWABLE_NOT_TAKEN;
        HandleKey(event);
        return DRAWABLE_TAKEN;
    case widget::kAnimationTick:
        if (focus && ++blinkCounter >= kBlinkTicks) {
            blinkCounter = 0;
            caretShown = caretShown ? 0 : 1;
        }
        return DRAWABLE_NOT_TAKEN;
    default:
        return DRAWABLE_NOT_TAKEN;
    }
}

void CEditField::HandleKey(COVEvent& event) {
    const uint32_t code = widget::KeyCode(event);
    const bool character = widget::IsTypedCharacter(event);
    const int32_t length = static_cast<int32_t>(m_text.size());
    switch (code) {
    case 1:
    case 2:
    case 5:
    case 14:
    case 18:
    case 27:
    case 37: // "%" would start a colour code
        return;
    case kKeyLeft:
        if (caret > 0)
            --caret;
        if (caret < firstShown)
            firstShown = caret;
        return;
    case kKeyRight:
        firstShown = 0;
        if (caret < length)
            ++caret;
        Fit();
        return;
    case kKeyDelete:
        if (caret < length)
            m_text.erase(static_cast<size_t>(caret), 1);
        return;
    case kKeyBackspace:
        if (caret == 0)
            return;
        --caret;
        if (caret < length)
            m_text.erase(static_cast<size_t>(caret), 1);
        if (caret <= firstShown)
            firstShown = caret;
        return;
    case kKeyCtrlEnter:
    case kKeyEnter:
        if (caret != 0)
            submitted = 1;
        return;
    case kKeyHome:
        caret = 0;
        firstShown = 0;
        return;
    case kKeyEnd:
        caret = length;
        firstShown = 0;
        Fit();
        return;
    default:
        // Only typed, printable characters: a mapped key (F1 is 255, Shift+F1
        // 256, Pause 19) or a control character never becomes text.
        if (character && code >= 32 && code != 127)
            Insert(static_cast<char>(code));
        return;
    }
}

void CEditField::Draw(int32_t /*param*/) {
    if (!font || !destination)
        return;
    const int32_t room = right - left;
    const int32_t length = static_cast<int32_t>(m_text.size());
    std::string shown;
    int32_t sum = 0;
    for (int32_t i = firstShown; i < length && i < capacity && shown.size() < kMaxShown; ++i) {
        sum += Glyph(m_text[static_cast<size_t>(i)]);
        if (sum >= room)
            break;
        shown += m_text[static_cast<size_t>(i)];
    }
    if (shadowed)
        font->DrawTextLeftShadowed(shown, left, top, destination, colour);
    else
        font->DrawTextLeft(shown, left, top, destination, colour);

    int32_t offset = 0;
    for (int32_t i = firstShown; i < caret && i - firstShown < static_cast<int32_t>(shown.size());
         ++i) {
        offset += Glyph(m_text[static_cast<size_t>(i)]);
        if (offset >= room)
            break;
    }
    if (!focus || !caretShown || !destination->pixels || destination->bytesPerPixel != 2)
        return;
    for (int32_t row = top; row <= bottom - 3; ++row) {
        if (row < 0 || row >= destination->height)
            continue;
        for (int32_t column : {left + offset, left + offset + 1})
            if (column >= 0 && column < destination->width)
                StorePixel(destination->pixels + static_cast<size_t>(row) * destination->pitch +
                               static_cast<size_t>(column) * 2,
                           0xFFFF);
    }
}
