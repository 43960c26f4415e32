#pragma once
// Single lines of text on screen. CTextItem is their common base;
// CTextLabel one line in a bitmap font and a colour, cut with "..." when it
// is wider than its room; CTextLink a label with a command id and an object
// id, which its owner turns into an action; CLineItem a horizontal rule.
#include <cstdint>
#include <string>

#include "engine/Drawable.h"
#include "engine/ObjectId.h"

class CFont;
class CImageBase;

// The width of the font's glyph for the character, or the font's default
// width when it has none.
int32_t GlyphWidth(const CFont& font, unsigned char c);

class CTextItem : public Drawable {
public:
    // x = y = 0, destination g_screen, not highlighted.
    CTextItem();

    int HandleEvent(COVEvent& event) override; // not taken
    void Draw(int32_t param) override;         // nothing
    virtual int32_t GetHeight() const { return 0; }
    virtual int32_t GetWidth() const { return 0; }
    virtual void SetHighlight(int32_t /*ignored*/) { highlight = 1; }
    virtual void ClearHighlight() { highlight = 0; }
    virtual bool IsHighlighted() const { return highlight != 0; }
    // Strictly inside the item's rectangle on all four sides.
    virtual bool HitTest(int32_t pointX, int32_t pointY) const;
    // Whether a list may take the item as its choice.
    virtual bool IsSelectable() const { return false; }
    virtual void SetPosition(int32_t newX, int32_t newY) {
        x = newX;
        y = newY;
    }

    uint16_t colour = 0;
    int32_t x = 0;
    int32_t y = 0;
    CImageBase* destination = nullptr;
    uint8_t highlight = 0;
};

class CTextLabel : public CTextItem {
public:
    // Texts hold at most this many characters.
    static constexpr size_t kMaxText = 255;

    // Keeps the text (its first 255 characters) and computes the shown
    // text: the text when it fits the room and was not cut, else as much of
    // it as fits followed by "...".
    CTextLabel(CFont* font, const std::string& text, int32_t maxWidth, uint16_t colour,
               uint8_t centred);

    void Draw(int32_t param) override;
    int32_t GetHeight() const override; // the font's line height
    int32_t GetWidth() const override { return maxWidth; }

    const std::string& GetShownText() const { return m_shown; }
    const std::string& GetFullText() const { return m_full; }

    CFont* font = nullptr;
    int32_t maxWidth = 0;
    uint8_t centred = 0;

private:
    std::string m_shown;
    std::string m_full;
};

class CTextLink : public CTextLabel {
public:
    // A left-aligned label of colour 0 with the command and object id; the
    // creator sets enabled.
    CTextLink(CFont* font, const std::string& text, int32_t maxWidth, int32_t commandId,
              ObjectId objectId);

    // Grey when disabled, else white while highlighted, else gold.
    void Draw(int32_t param) override;
    // A link that carries an id is a choice a list can take (the drop-down
    // list's games); other items are plain lines.
    bool IsSelectable() const override { return hasId; }

    int32_t commandId = 0;
    ObjectId objectId;
    uint8_t enabled = 1;
    uint8_t hasId = 0; // set by the lists that add items with an id
};

// A horizontal rule at the item's middle height, from x to x + width, in
// the item's colour.
class CLineItem : public CTextItem {
public:
    CLineItem(int32_t width, int32_t height, uint16_t colour);
    void Draw(int32_t param) override;
    int32_t GetHeight() const override { return m_height; }
    int32_t GetWidth() const override { return m_width; }

private:
    int32_t m_width;
    int32_t m_height;
};
