#pragma once
// CTextArea: a text of many lines in a fixed rectangle. The text is
// word-wrapped into one label per line; the lines show from the first
// visible one downward, and while they do not fit a scroll bar stands to the
// right of the rectangle: an up arrow above its top edge, a down arrow below
// its bottom edge and a knob on a painted track between them. Lines may be
// links; a click on a line records it as the clicked line, which the owner
// reads.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Drawable.h"
#include "engine/ObjectId.h"
#include "ui/widgets/InputReceiver.h"

class CButton;
class CFont;
class CImageBase;
class CTextItem;

class CTextArea : public Drawable, public CInputReceiver {
public:
    // The look of the scroll bar: the track's five colours (the fifth not
    // drawn when it is pure green) and the track's place.
    struct ScrollbarLook {
        std::array<uint16_t, 5> colours{};
        int32_t trackX = 0;
        int32_t trackY = 0;
        int32_t trackLength = 0;
    };

    // style: 1 small menu, 2 front end, 3 year book, any other the menu.
    CTextArea(int32_t width, int32_t height, int32_t style);
    ~CTextArea() override;

    // SetTextColoured with the area's colour.
    void SetText(const std::string& text);
    // Keeps the colour, wraps the text and appends its lines (the lines
    // there stay: owners Clear first to replace a text); the first line
    // becomes the first visible one.
    void SetTextColoured(const std::string& text, uint16_t newColour);
    // A label of the area's font, width, colour and alignment; nothing for
    // an empty text.
    void AddLine(const std::string& text);
    // A link of the area's font and width.
    void AddLink(const std::string& text, int32_t commandId, uint8_t enabled, ObjectId objectId);
    // Appends an item of the owner's (the area owns it from then on).
    void AddItem(std::unique_ptr<CTextItem> item);
    // Deletes every line.
    void Clear();
    size_t GetLineCount() const { return m_lines.size(); }
    CTextItem* GetLine(size_t index) const;

    virtual void OnLineClicked(CTextItem* line) { clickedLine = line; }
    virtual void SetPosition(int32_t newX, int32_t newY);
    // The arrows and the knob against the right edge R.
    void PlaceScrollbar(int32_t right);
    void MoveScrollbarBy(int32_t dx);
    void SetDestination(CImageBase* image);

    void ScrollToTop() { m_firstVisible = m_lines.empty() ? -1 : 0; }
    void ScrollUp();
    void ScrollDown();
    bool CanScrollUp() const;
    bool CanScrollDown() const;
    bool IsScrollbarShown() const { return CanScrollUp() || CanScrollDown(); }
    int32_t GetContentHeight() const;
    float GetScrollFraction() const;
    bool ContainsPoint(int32_t pointX, int32_t pointY) const;
    // The first visible line; null without lines.
    CTextItem* GetFirstVisible() const;
    int32_t GetFirstVisibleIndex() const { return m_firstVisible; }

    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;

    CButton& UpArrow() const { return *m_up; }
    CButton& DownArrow() const { return *m_down; }
    CButton& Knob() const { return *m_knob; }
    const ScrollbarLook& Look() const { return m_look; }

    CTextItem* clickedLine = nullptr;
    int32_t height = 0;
    int32_t width = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t scrollbarRight = 0;
    CImageBase* destination = nullptr;
    CFont* font = nullptr;
    uint16_t colour = 0;
    uint8_t centred = 0;
    uint8_t clearClickedOnRelease = 1;
    int32_t lineOffset = 0;
    uint8_t dragging = 0;
    int32_t dragOffset = 0;

private:
    int32_t LineHeight(size_t index) const;
    // The index of the line that holds the pixel offset from the top of the
    // text (0 the first line).
    int32_t LineAtOffset(int32_t offset) const;
    void PlaceKnobByFraction();
    void PaintTrack();
    int HandleScrollbar(COVEvent& event, uint32_t kind, int32_t px, int32_t py);

    std::vector<std::unique_ptr<CTextItem>> m_lines;
    int32_t m_firstVisible = -1;
    std::unique_ptr<CButton> m_up;
    std::unique_ptr<CButton> m_down;
    std::unique_ptr<CButton> m_knob;
    ScrollbarLook m_look;
};
