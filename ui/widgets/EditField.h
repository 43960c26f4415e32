#pragma once
// CEditField: the one-line text input of the game (file names, the chat
// line, the set-up screens' fields). It keeps a text of at most a maximum
// length, a caret that blinks while the field has the focus, and the first
// character shown, so that the caret stays inside the field's width. Typed
// characters are inserted; the game's mapped keys move the caret, delete
// and submit. It can refuse the characters a file name cannot hold, or all
// but digits.
#include <cstdint>
#include <string>

#include "engine/Drawable.h"
#include "ui/widgets/InputReceiver.h"

class CFont;
class CImageBase;

class CEditField : public Drawable, public CInputReceiver {
public:
    // Key codes the field reads (characters arrive as themselves).
    static constexpr uint32_t kKeyLeft = 3;
    static constexpr uint32_t kKeyRight = 4;
    static constexpr uint32_t kKeyDelete = 7;
    static constexpr uint32_t kKeyBackspace = 8;
    static constexpr uint32_t kKeyCtrlEnter = 10;
    static constexpr uint32_t kKeyEnter = 13;
    static constexpr uint32_t kKeyHome = 16;
    static constexpr uint32_t kKeyEnd = 17;
    static constexpr int32_t kBlinkTicks = 10;
    static constexpr size_t kMaxShown = 127;

    // The initial text, when given, keeps at most maxLength characters.
    CEditField(int32_t x, int32_t y, int32_t width, int32_t maxLength, CFont* font,
               CImageBase* destination, const char* initialText);

    void SetPosition(int32_t x, int32_t y);
    // Empties the text, clears submitted, caret and first shown character 0.
    void Clear();
    // The text, cut to the maximum length; the caret and the first shown
    // character stay (held to the new text).
    void SetText(const std::string& text);
    // "%" and three digits d1 d2 d3: the colour RGB(d3 x 32, d2 x 32,
    // d1 x 32), the first digit blue as in the font markup; codes of
    // another length are ignored.
    void SetColourCode(const std::string& code);

    const std::string& GetText() const { return m_text; }
    int32_t GetCaret() const { return caret; }
    int32_t GetFirstShown() const { return firstShown; }
    int32_t GetMaxLength() const { return m_maxLength; }

    int HandleEvent(COVEvent& event) override;
    void HandleKey(COVEvent& event);
    void Draw(int32_t param) override;

    CImageBase* destination = nullptr;
    CFont* font = nullptr;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t caret = 0;
    int32_t capacity = 0;
    int32_t blinkCounter = 0;
    uint8_t focus = 1;
    uint8_t caretShown = 1;
    uint8_t submitted = 0;
    int32_t firstShown = 0;
    int32_t width = 0;
    uint8_t digitsOnly = 0;
    uint8_t shadowed = 0;
    uint8_t fileName = 0;
    uint16_t colour = 0xFFFF;

private:
    int32_t Glyph(char c) const;
    void Fit();
    void Insert(char c);

    std::string m_text;
    int32_t m_maxLength = 0;
};
