#pragma once
// CListBox: a header line and a column of text rows, a fixed number of them
// at a time, with a vertical scroll bar (up and down buttons, a knob and a
// painted track) once there are more rows than fit. Rows scroll by the
// buttons, the knob, a click on the track or the wheel; a click or a double
// click selects a selectable row; the row under the pointer is highlighted.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Drawable.h"
#include "engine/ObjectId.h"

class CButton;
class CFont;
class CImageBase;

class CListBox : public Drawable {
public:
    // The layer of the display list the list box draws at.
    static constexpr int32_t kLayer = 8999;

    struct Row {
        uint32_t data = 0;
        ObjectId id;
        uint8_t done = 0;
        uint8_t selectable = 0;
        bool used = false; // a free row is reused by the next added one
        std::string text;
        std::string fullText;
    };

    // Registers the list box with the display list at kLayer. A null image
    // name gives no up or down button.
    CListBox(int32_t x, int32_t y, int32_t width, int32_t visibleRows, const std::string& header,
             CFont* headerFont, CFont* rowFont, const char* downImage, const char* upImage);
    ~CListBox() override;

    void SetDestination(CImageBase* image);
    // Copies the texts into the first free row or a new one at the end; a
    // null full text is the text itself.
    void AddRow(const std::string& text, uint32_t data, uint8_t selectable, ObjectId id,
                const char* fullText = nullptr);
    // Word-wraps the text into rows, each starting with the prefix (a colour
    // code such as "%777").
    void AddText(const std::string& text, const std::string& prefix);
    // One selectable row cut to the width less 30 pixels, with "..." only
    // when it was cut; the whole text is its full text.
    void AddTruncated(const std::string& text, uint32_t data, ObjectId id);

    // The selected row's data, or -1 when none is selected.
    int64_t GetSelectedData() const;
    // The selected row's full text, or null.
    const char* GetSelectedFullText() const;
    const Row* GetRow(int32_t index) const;
    int32_t GetRowCount() const { return rowCount; }

    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;

    CButton* UpButton() const { return m_up.get(); }
    CButton* DownButton() const { return m_down.get(); }
    CButton& Knob() const { return *m_knob; }
    CDrawableGroup& Children() { return m_children; }
    // The top of the track and its length, as the last event placed them.
    int32_t TrackTop() const;
    int32_t RowTop(int32_t visibleIndex) const;

    uint8_t centredHeader = 0;
    uint8_t centreOnDestination = 0;
    uint8_t doubleClicked = 0;
    int32_t y = 0;
    uint8_t scrolling = 0;
    int32_t scrollBarShiftX = 0;
    uint8_t visible = 1;
    int32_t width = 0;
    CImageBase* destination = nullptr;
    uint8_t drawingEnabled = 1;
    uint8_t centredRows = 1;
    uint8_t highlight = 1;
    uint8_t scrollBarActive = 0;
    std::string header;
    CFont* headerFont = nullptr;
    CFont* rowFont = nullptr;
    int32_t visibleRows = 0;
    int32_t firstVisibleRow = 0;
    int32_t rowCount = 0;
    int32_t selectedRow = -1;
    int32_t previousSelectedRow = -1;
    int32_t hoveredRow = -1;
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t scrollOffsetX = 0;
    int32_t scrollOffsetY = 0;
    int32_t rowHeight = 0;
    uint8_t knobDrag = 0;
    int32_t trackLength = 0;
    int32_t knobY = 0; // from the top of the knob's travel
    int32_t knobGrab = 0;
    std::string selectableCode = "%057";
    std::string chosenCode = "%777";
    std::string plainCode = "%333";
    std::string hoveredCode = "%777";
    uint8_t trackStyle = 0;

private:
    int32_t HeaderHeight() const;
    int32_t MaxFirstRow() const;
    // Places the buttons and the knob as the scroll state says.
    void PlaceScrollBar();
    int32_t UpY() const;
    int32_t KnobHalf() const;
    int32_t RowAt(int32_t pointX, int32_t pointY, bool selectableOnly) const;
    std::string RowShown(int32_t rowIndex) const;

    std::vector<Row> m_rows;
    std::unique_ptr<CButton> m_up;
    std::unique_ptr<CButton> m_down;
    std::unique_ptr<CButton> m_knob;
    CDrawableGroup m_children;
};
